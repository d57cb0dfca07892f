#pragma once

#include "appfixture.h"
#include "modalscript.h"

#include <QSqlError>
#include <QSqlQuery>

namespace ravelin::test {

// The shared fixture with what the lot tests add: emptying the lot tables, inserting volume lines.
class LotsFixture : public AppFixture
{
public:
    void clearTables()
    {
        for (const char *table : {"coupe", "grume", "intervention", "proprietaire", "proprietaire_essence",
                                  "liste_grume_cde", "livraison", "liste_grume_transfert", "cde", "classe"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("update increment set n_lot=100"));
        dialogs.clear();
    }

    int insertVolumeLine(int nLot, const QString &essence, double qte, const QVariant &finPied = QVariant(),
                         const QVariant &finAbattage = QVariant(), double qteLivree = 0)
    {
        QSqlQuery q(db);
        q.prepare(
            QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
                           "qte, qte_defaut, qte_livree, qte_livree_defaut, fin_pied, fin_abattage) "
                           "values (?, 1, 'VOLUME', ?, 'A', 'm3', 'm3', ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &v : QVariantList{nLot, essence, qte, qte, qteLivree, qteLivree, finPied, finAbattage})
            q.addBindValue(v);
        if (!q.exec()) qWarning() << q.lastError().text();
        return q.lastInsertId().toInt();
    }
};

} // namespace ravelin::test
