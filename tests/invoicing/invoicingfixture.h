#pragma once

#include "appfixture.h"
#include "modalscript.h"

#include <QDate>

namespace ravelin::test {

// The invoicing tests' company: one customer place with its rate and terms, orders with their
// priced lines, chip deliveries, and the invoice tables emptied.
class InvoicingFixture : public AppFixture
{
public:
    int rate20 = 0, rate10 = 0, rate55 = 0, rate0 = 0;
    int endOfMonth = 0, net45 = 0;

    void clearTables()
    {
        for (const char *table : {"facture_entete", "facture_corps", "facture_corps_detail", "cde", "liste_grume_cde",
                                  "livraison", "destination", "liste_tva", "liste_reglement"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("update increment set num_facture=100, num_bl=1000"));
        run(QStringLiteral("insert into liste_tva (tva) values (20), (10), (5.5), (0)"));
        rate20 = value(QStringLiteral("select inc from liste_tva where tva=20")).toInt();
        rate10 = value(QStringLiteral("select inc from liste_tva where tva=10")).toInt();
        rate55 = value(QStringLiteral("select inc from liste_tva where tva=5.5")).toInt();
        rate0 = value(QStringLiteral("select inc from liste_tva where tva=0")).toInt();
        run(QStringLiteral("insert into liste_reglement (reglement, nb_jour, fin_mois, jour_apres) values "
                           "('Virement 30 jours fin de mois le 10', 30, 'FIN de MOIS', 10), "
                           "('Chèque 45 jours net', 45, 'NET', 0)"));
        endOfMonth = value(QStringLiteral("select inc from liste_reglement where nb_jour=30")).toInt();
        net45 = value(QStringLiteral("select inc from liste_reglement where nb_jour=45")).toInt();
        run(QStringLiteral("insert into destination (client, destination, stockage, adresse, cp, ville, pays, "
                           "client_fac, adresse_fac, cp_fac, ville_fac, pays_fac, tva_intra, inc_tva, "
                           "inc_reglement, unite) values ('Bois SA', 'Scierie du Lac', 'NON', '1 rue du Lac', "
                           "'58230', 'Montsauche', 'France', 'Bois SA siège', '2 place Centrale', '58000', "
                           "'Nevers', 'France', 'FR123', ?, ?, 'TONNE'), ('Chaleur SARL', 'Chaufferie Nord', "
                           "'NON', '', '58140', 'Lormes', 'France', 'Chaleur SARL', '', '58140', 'Lormes', "
                           "'France', '', ?, ?, 'MWH')"),
            {rate20, endOfMonth, rate10, net45});
        dialogs.clear();
    }

    // An order of the place with its priced lines (descriptif, quantity, unit price each); its
    // price is the sum of the lines.
    void insertOrder(int inc, const QString &place, const QList<std::tuple<QString, double, double>> &lines,
                     const QString &date = QStringLiteral("2026-03-02 09:00:00"),
                     const QString &facturee = QStringLiteral("NON"))
    {
        double total = 0;
        for (const auto &[descriptif, qte, prix] : lines) {
            total += qte * prix;
            run(QStringLiteral("insert into liste_grume_cde (inc_cde, descriptif, essence, qualite, qte_liv, "
                               "unite_liv, prix_unit, prix_total, n_lot) values (?, ?, 'Chêne', 'A', ?, 'm3', ?, ?, "
                               "'2601')"),
                {inc, descriptif, qte, prix, qte * prix});
        }
        run(QStringLiteral("insert into cde (inc, creation, type_cde, client, destination, date_cde, unite_liv, "
                           "qte_liv_totale, qte_defaut_totale, prix_vente, livree, facturee) values (?, 0, 'VENTE', "
                           "'Bois SA', ?, ?, 'm3', 10, 10, ?, 'OUI', ?)"),
            {inc, place, date, total, facturee});
    }

    // A chip delivery of the place sold by `unite` ("TONNE" or "MWH").
    void insertDelivery(int inc, const QString &place, const QString &operation, double tonnes, double price,
                        const QString &unite = QStringLiteral("TONNE"),
                        const QString &date = QStringLiteral("2026-03-05 10:00:00"))
    {
        run(QStringLiteral("insert into livraison (inc, creation, operation, date_livraison, destination, essence, "
                           "qualite, unite_liv, tonnage, qte_liv_totale, qte_defaut_totale, qte_pefc, humidite, mwh, "
                           "unite, prix_tonne, prix_mwh, total_mwh, prix_total, n_lot, facturee) values (?, 0, ?, ?, "
                           "?, 'BOIS ENERGIE', 'PLAQUETTE', 'T', ?, ?, ?, ?, 35, ?, ?, ?, ?, ?, ?, 2604, 'NON')"),
            {inc, operation, date, place, tonnes, tonnes, tonnes, tonnes * 0.624, tonnes * 3, unite,
             unite == QLatin1String("TONNE") ? price : 0, unite == QLatin1String("MWH") ? price : 0, tonnes * 3 * price,
             unite == QLatin1String("MWH") ? tonnes * 3 * price : tonnes * price});
    }

    QString flag(const QString &table, int inc)
    {
        return value(QStringLiteral("select concat(facturee, '/', coalesce(num_facture, '-')) from ") + table +
                         QStringLiteral(" where inc=?"),
                     {inc})
            .toString();
    }
};

} // namespace ravelin::test
