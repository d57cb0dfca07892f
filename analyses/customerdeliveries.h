#pragma once

#include "analysisrunner.h"
#include "datatable.h"
#include "result.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// Sales between two dates, summed per customer or per kind of sale: the log and firewood orders
// (cde) and the chip sales (livraison, operations VENTE, VENTE sur ACHAT and TRANSPORT), by default
// only what is not invoiced yet. Each order or delivery counted is a row of the temporary work
// table workTableName("D"); the detail of a name lists exactly the rows summed under it.

enum class SalesGrouping { Customer, Kind };

struct SalesFilter
{
    QDate start;
    QDate end; // the whole day included
    SalesGrouping grouping = SalesGrouping::Customer;
    bool invoiced = false; // "Inclure les livraisons facturées"
};

QString salesWorkTable();

// Drop, create, the orders, the deliveries.
QList<AnalysisRunner::Step> salesSteps(const SalesFilter &filter);
// nom, t1, t2, moy_qte, moy_humidite, nb, moy_nom; by name.
Result<DataTable> readSalesSummary(QSqlDatabase db);

// The orders and deliveries summed under `nom` (null for the orders without a customer or kind),
// by date: inc, client, u2, u3 ("GRUME" or "PLAQUETTE"), date_cde, type_cde, Ville_liv,
// pays_liv, qte_defaut_totale, N_cde_client, prix_vente, livree, unite_liv, qte_liv_totale,
// unite_vente, mwh, prix_mwh, prix_tonne, u1 (the default unit).
Result<DataTable> readSalesDetail(QSqlDatabase db, const SalesFilter &filter, const QVariant &nom,
                                  const QString &defaultUnit);

// The priced lines of one order (its VOLUME and GRUME1 lines) or delivery: source, essence,
// qualite, qte_liv, unite_liv, prix_unit, prix_total, n_lot, humidite, total_MWH.
Result<DataTable> readPricedLines(QSqlDatabase db, const QString &u3, int inc);
// The priced lines of every row of the detail of `nom`, in one statement, inc_parent and u3 naming
// the row.
Result<DataTable> readAllPricedLines(QSqlDatabase db, const SalesFilter &filter, const QVariant &nom);

bool soldByMwh(const QString &saleUnit);

} // namespace ravelin
