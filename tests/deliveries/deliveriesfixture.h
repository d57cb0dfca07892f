#pragma once

#include "appfixture.h"
#include "modalscript.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantMap>

namespace ravelin::test {

// The shared fixture of the delivery tests: emptying the tables a delivery touches, writing
// deliveries and the rows around them.
class DeliveriesFixture : public AppFixture
{
public:
    void clearTables()
    {
        for (const char *table :
             {"livraison", "liste_action_liv", "coupe", "grume", "cde", "destination", "intervenant_possible"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("update increment set num_bl=500"));
        dialogs.clear();
    }

    // A delivery row with these columns (inc required).
    void insertDelivery(const QVariantMap &values)
    {
        QStringList columns;
        QStringList marks;
        QSqlQuery q(db);
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            columns << it.key();
            marks << QStringLiteral("?");
        }
        q.prepare(QStringLiteral("insert into livraison (creation, %1) values (0, %2)")
                      .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        for (const QVariant &v : values) q.addBindValue(v);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }

    int insertLotLine(int nLot, const QString &lieu, const QString &essence, const QString &unite, double qte)
    {
        run(QStringLiteral("insert into coupe (n_lot, lieu, cp, coupe_fini) values (?, ?, '19200', 'NON')"),
            {nLot, lieu});
        QSqlQuery q(db);
        q.prepare(
            QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, "
                           "unite_defaut, qte, qte_defaut, lieu) values (?, 1, 'VOLUME', ?, 'A', ?, ?, ?, ?, ?)"));
        for (const QVariant &v : QVariantList{nLot, essence, unite, unite, qte, qte, lieu}) q.addBindValue(v);
        if (!q.exec()) qWarning() << q.lastError().text();
        return q.lastInsertId().toInt();
    }
};

} // namespace ravelin::test
