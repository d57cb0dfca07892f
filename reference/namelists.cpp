#include "namelists.h"

#include "statements.h"

namespace ravelin {

Result<QStringList> speciesNames(QSqlDatabase db)
{
    return selectTexts(db, QStringLiteral("select essence from essence order by essence"));
}

Result<QStringList> qualityNames(QSqlDatabase db)
{
    return selectTexts(db, QStringLiteral("select qualite from qualite order by qualite"));
}

Result<QStringList> buyerNames(QSqlDatabase db)
{
    return selectTexts(db, QStringLiteral("select acheteur from acheteur order by acheteur"));
}

Result<QStringList> workFamilies(QSqlDatabase db)
{
    return selectTexts(
        db, QStringLiteral("select famille_intervenant from famille_intervenant order by famille_intervenant"));
}

Result<QStringList> contractorFamilies(QSqlDatabase db)
{
    return selectTexts(db, QStringLiteral("select famille_intervenant from famille_intervenant "
                                          "where famille_intervenant<>'6-TERMINE' order by famille_intervenant"));
}

} // namespace ravelin
