#pragma once

#include "analysisrunner.h"
#include "appfixture.h"

#include <QDate>

namespace ravelin::test {

// A test database emptied of what the analyses read, and the writes their cases need.
class AnalysesFixture : public AppFixture
{
public:
    void clearTables()
    {
        for (const char *table :
             {"livraison", "liste_action_liv", "coupe", "cde", "liste_grume_cde", "liste_action_cde", "transfert",
              "liste_action_transfert", "intervention", "intervenant_possible", "proprietaire", "proprietaire_essence"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        dialogs.clear();
    }

    // Runs a computation's steps on this connection, in turn.
    bool runSteps(const QList<AnalysisRunner::Step> &steps)
    {
        for (const auto &step : steps)
            if (Status s = step(db); !s) {
                qWarning() << s.error().fullText();
                return false;
            }
        return true;
    }

    void order(int inc, const QVariant &client, const QString &type, double amount, double quantity,
               const QString &when, const QString &invoiced = QStringLiteral("NON"))
    {
        run(QStringLiteral("insert into cde (inc, client, type_cde, prix_vente, qte_defaut_totale, date_cde, facturee, "
                           "unite_liv, qte_liv_totale) values (?, ?, ?, ?, ?, ?, ?, 'm3', ?)"),
            {inc, client, type, amount, quantity, when, invoiced, quantity});
    }

    void delivery(int inc, const QString &operation, const QString &destination, double amount, double quantity,
                  double moisture, const QString &when, const QString &invoiced = QStringLiteral("NON"))
    {
        run(QStringLiteral("insert into livraison (inc, operation, destination, prix_total, qte_defaut_totale, "
                           "qte_liv_totale, humidite, date_livraison, facturee, unite, prix_tonne, essence, qualite) "
                           "values (?, ?, ?, ?, ?, ?, ?, ?, ?, 'TONNE', 60, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS')"),
            {inc, operation, destination, amount, quantity, quantity, moisture, when, invoiced});
    }

    void contractor(const QString &societe, const QString &family)
    {
        run(QStringLiteral("insert into intervenant_possible (societe, famille_intervenant) values (?, ?)"),
            {societe, family});
    }

    // An action on an order, a transfer or a delivery (`table` liste_action_cde, ..._transfert, ..._liv).
    void action(const QString &table, const QString &link, int parent, const QString &name, double quantity,
                const QString &unit, double cost, const QString &day, const QVariant &lot = QVariant(),
                const QVariant &roadTime = QVariant())
    {
        run(QStringLiteral("insert into ") + table + QStringLiteral(" (") + link +
                QStringLiteral(", I_nom, type1, i_date, qte_action, unite_action, i_cout, fac_fournisseur, n_lot, "
                               "temps_route) values (?, ?, 'TRANSPORT', ?, ?, ?, ?, 'NON', ?, ?)"),
            {parent, name, day, quantity, unit, cost, lot, roadTime});
    }
    // ETF Combe: lot work 12.5 T, 250 €. Transports Vallon, twice in the directory: an order
    // action 30 m3 150 €, a transfer action 12.5 T 100 € (typed lot, road time), a delivery action
    // 25 T 200 € on 31 March. An action of a company the directory lacks, 999 €.
    void contractorCase()
    {
        contractor(QStringLiteral("ETF Combe"), QStringLiteral("ABATTAGE"));
        contractor(QStringLiteral("Transports Vallon"), QStringLiteral("TRANSPORT"));
        contractor(QStringLiteral("Transports Vallon"), QStringLiteral("TRANSPORT"));
        run(QStringLiteral("insert into coupe (n_lot, lieu) values (2601, 'Bois de l''Abbaye')"));
        run(QStringLiteral(
            "insert into intervention (N_lot, I_nom, type1, i_date, qte_action, unite_action, i_cout, "
            "fac_fournisseur) values (2601, 'ETF Combe', 'ABATTAGE', '2026-03-01', 12.5, 'T', 250, 'NON')"));
        order(601, QStringLiteral("Scierie"), QStringLiteral("GRUME"), 1000, 30, QStringLiteral("2026-03-05 10:00:00"));
        run(QStringLiteral("insert into transfert (inc, depart, destination) values (71, 'Lot 2601', 'Parc bûches')"));
        delivery(701, QStringLiteral("VENTE"), QStringLiteral("Chaufferie"), 500, 25, 30,
                 QStringLiteral("2026-03-31 17:30:00"));
        action(QStringLiteral("liste_action_cde"), QStringLiteral("inc_cde"), 601, QStringLiteral("Transports Vallon"),
               30, QStringLiteral("m3"), 150, QStringLiteral("2026-03-05"), QStringLiteral(""));
        action(QStringLiteral("liste_action_transfert"), QStringLiteral("inc_transfert"), 71,
               QStringLiteral("Transports Vallon"), 12.5, QStringLiteral("T"), 100, QStringLiteral("2026-03-10"),
               QStringLiteral("2601/B"), QStringLiteral("01:15:00"));
        action(QStringLiteral("liste_action_liv"), QStringLiteral("inc_cde"), 701, QStringLiteral("Transports Vallon"),
               25, QStringLiteral("T"), 200, QStringLiteral("2026-03-31"));
        action(QStringLiteral("liste_action_liv"), QStringLiteral("inc_cde"), 701, QStringLiteral("Inconnu SARL"), 1,
               QStringLiteral("T"), 999, QStringLiteral("2026-03-31"));
    }
};

} // namespace ravelin::test
