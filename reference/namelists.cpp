#include "namelists.h"

#include "sql.h"

#include <QSqlQuery>

namespace ravelin {

namespace {

Result<QStringList> names(QSqlDatabase db, const QString &sql, const char *where)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, {}, where); !s) return s.error();
    QStringList list;
    while (q.next()) list << q.value(0).toString();
    return list;
}

} // namespace

Result<QStringList> speciesNames(QSqlDatabase db)
{
    return names(db, QStringLiteral("select essence from essence order by essence"), "speciesNames");
}

Result<QStringList> qualityNames(QSqlDatabase db)
{
    return names(db, QStringLiteral("select qualite from qualite order by qualite"), "qualityNames");
}

Result<QStringList> buyerNames(QSqlDatabase db)
{
    return names(db, QStringLiteral("select acheteur from acheteur order by acheteur"), "buyerNames");
}

Result<QStringList> workFamilies(QSqlDatabase db)
{
    return names(db, QStringLiteral("select famille_intervenant from famille_intervenant order by famille_intervenant"),
                 "workFamilies");
}

Result<QStringList> contractorFamilies(QSqlDatabase db)
{
    return names(db,
                 QStringLiteral("select famille_intervenant from famille_intervenant "
                                "where famille_intervenant<>'6-TERMINE' order by famille_intervenant"),
                 "contractorFamilies");
}

} // namespace ravelin
