#pragma once

#include "appfixture.h"
#include "modalscript.h"
#include "transfers.h"

namespace ravelin::test {

// The shared fixture of the stock tests: empty stock, transfer, lot and order tables, the species
// "Chêne" (1 m3 = 0.8 T = 1.5 stere), default unit m3, two firewood zones and a chip zone.
class StocksFixture : public AppFixture
{
public:
    void clearTables()
    {
        for (const char *table : {"transfert", "liste_grume_transfert", "liste_action_transfert", "stock_buche", "cde",
                                  "liste_grume_cde", "grume", "coupe", "essence", "livraison", "destination"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("insert into essence (essence, m3, T, Stere) values ('Chêne', 1, 0.8, 1.5)"));
        for (const char *zone : {"Parc Nord", "Parc Sud"})
            run(QStringLiteral("insert into destination (client, destination, stockage) values ('Nous', ?, 'BUCHE')"),
                {QString::fromUtf8(zone)});
        run(QStringLiteral("insert into destination (client, destination, stockage, tonnage_maxi) values ('Nous', "
                           "'Plateforme', 'OUI', 0)"));
        dialogs.clear();
    }

    // A transfer written as the opening dialog leaves it; gives its number.
    int transfer(const QString &type, const QString &depart, const QString &destination = QStringLiteral("Parc Nord"),
                 const QString &typeDestination = QStringLiteral("STOCK"))
    {
        auto inc = createTransfer(db, NewTransfer{type, depart, destination, typeDestination, QStringLiteral("m3")});
        if (!inc) qWarning() << inc.error().fullText();
        return inc ? *inc : 0;
    }

    // A line depositing `qte` of Chêne in `unit`, taking the same quantity from its origin.
    static TransferLine deposit(double qte, const QString &unit = QStringLiteral("m3"))
    {
        TransferLine line;
        line.essence = QStringLiteral("Chêne");
        line.qualite = QStringLiteral("Bûche");
        line.qualiteDestination = QStringLiteral("Bûche 50");
        line.uniteConso = unit;
        line.qteConso = qte;
        line.uniteLiv = unit;
        line.qteLiv = qte;
        return line;
    }

    int addLine(int incTransfert, const TransferLine &line)
    {
        auto added = addTransferLine(db, incTransfert, line);
        if (!added) qWarning() << added.error().fullText();
        return added ? added->inc : 0;
    }

    // A firewood stock row of Chêne; gives its inc.
    int insertStock(const QString &zone, double qte, const QString &unit, double defaut,
                    const QString &nLot = QString())
    {
        run(QStringLiteral("insert into stock_buche (destination, essence, qualite, n_lot, id, unite_stock, "
                           "unite_defaut, qte_theorique_restante, qte_defaut, qte_inventaire) values (?, 'Chêne', "
                           "'Bûche', ?, 7, ?, 'm3', ?, ?, 0)"),
            {zone, nLot.isEmpty() ? QVariant() : QVariant(nLot), unit, qte, defaut});
        return value(QStringLiteral("select max(inc) from stock_buche")).toInt();
    }

    // A lot with one volume line of Chêne in m3; gives the line's inc.
    int insertLot(int nLot, double qte = 100)
    {
        run(QStringLiteral(
                "insert into coupe (n_lot, indice_lot, coupe_fini, groupe_essence) values (?, 1, 'NON', 'NON')"),
            {nLot});
        run(QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
                           "qte, qte_defaut) values (?, 1, 'VOLUME', 'Chêne', 'A', 'm3', 'm3', ?, ?)"),
            {nLot, qte, qte});
        return value(QStringLiteral("select max(inc) from grume")).toInt();
    }

    double stock(int inc, const char *column)
    {
        return value(QStringLiteral("select %1 from stock_buche where inc=?").arg(QLatin1String(column)), {inc})
            .toDouble();
    }
    double stockOf(const QString &zone, const char *column)
    {
        return value(QStringLiteral("select sum(%1) from stock_buche where destination=?").arg(QLatin1String(column)),
                     {zone})
            .toDouble();
    }
    int stockRows() { return count(QStringLiteral("select count(*) from stock_buche")); }
};

} // namespace ravelin::test
