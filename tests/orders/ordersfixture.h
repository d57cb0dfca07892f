#pragma once

#include "appfixture.h"
#include "modalscript.h"

namespace ravelin::test {

// The shared fixture of the order tests: empty order, log and stock tables, a species with its
// unit coefficients, and a few rows made in one line.
class OrdersFixture : public AppFixture
{
public:
    void clearTables()
    {
        for (const char *table :
             {"cde", "liste_grume_cde", "liste_action_cde", "grume", "coupe", "stock_buche", "essence", "livraison"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("update increment set num_bl=500"));
        // Hêtre: 1 m3 is worth 1.6 stere
        run(QStringLiteral("insert into essence (essence, m3, T, Stere) values ('Hêtre', 1, 0.8, 1.6)"));
        dialogs.clear();
    }

    void insertOrder(int inc, const QString &unit = QStringLiteral("m3"),
                     const QString &type = QStringLiteral("SCIERIE"), const QVariant &facturee = QStringLiteral("NON"),
                     const QString &date = QStringLiteral("2026-03-02"))
    {
        run(QStringLiteral("insert into cde (inc, creation, type_cde, client, date_cde, date_souhaitee, unite_defaut, "
                           "unite_liv, facturee, livree) values (?, 0, ?, 'Scierie Martin', ?, ?, 'm3', ?, ?, 'NON')"),
            {inc, type, date, date, unit, facturee});
    }

    // A lot with one volume line of Hêtre in m3; gives the line's inc.
    int insertLot(int nLot, double qte = 100)
    {
        run(QStringLiteral(
                "insert into coupe (n_lot, indice_lot, coupe_fini, groupe_essence) values (?, 1, 'NON', 'NON')"),
            {nLot});
        run(QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
                           "qte, qte_defaut) values (?, 1, 'VOLUME', 'Hêtre', 'A', 'm3', 'm3', ?, ?)"),
            {nLot, qte, qte});
        return value(QStringLiteral("select max(inc) from grume")).toInt();
    }

    // A firewood stock of Hêtre counted in steres; gives its inc.
    int insertStock(double steres, double m3)
    {
        run(QStringLiteral("insert into stock_buche (destination, essence, qualite, n_lot, id, unite_stock, "
                           "unite_defaut, qte_theorique_restante, qte_defaut, qte_inventaire) values "
                           "('Dépôt Nord', 'Hêtre', 'Bûche', '12', 7, 'Stere', 'm3', ?, ?, 0)"),
            {steres, m3});
        return value(QStringLiteral("select max(inc) from stock_buche")).toInt();
    }

    int insertLog(int nLot, const QString &number, double m3, const QString &classe = QStringLiteral("A"))
    {
        run(QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, n_grume, essence, qualite, classe, m3) "
                           "values (?, 1, 'GRUME', ?, 'Chêne', 'B', ?, ?)"),
            {nLot, number, classe, m3});
        return value(QStringLiteral("select max(inc) from grume")).toInt();
    }
};

} // namespace ravelin::test
