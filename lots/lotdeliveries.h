#pragma once

#include "datatable.h"
#include "reportdata.h"
#include "reportdocument.h"
#include "result.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <optional>

namespace ravelin {

// The list of deliveries of a cutting lot ("Liste des LIVRAISONS réalisées sur le lot", A4
// landscape), printed from the lot editor.

inline QString lotDeliveriesTemplateName()
{
    return QStringLiteral("lot_deliveries");
}

struct DatePeriod
{
    QDate start;
    QDate end;
};

// Everything delivered or transferred from the lot `nLot`, ordered by date: its order lines
// ("LIVRAISON"), its chip deliveries ("PLAQUETTE") and its transfers to stock ("TRANSFERT").
// Columns: n0 ("€"), inc_cde, type_cde, date_creation, descriptif, essence, qualite, m3, n_lot,
// lieu, qte_liv, qte_defaut, unite_liv, unite_defaut, prix_unit, prix_total, stock, ticket,
// lettre_voiture. With a period, only the rows dated within it (both dates included), as printed.
Result<DataTable> readLotDeliveries(QSqlDatabase db, const QVariant &nLot,
                                    const std::optional<DatePeriod> &period = std::nullopt);

// The list's data: the data set "livraisons" and the values "n_lot", "lieu" and "adresse" of the
// lot as the editor holds it.
ReportData lotDeliveriesData(const DataTable &deliveries, const QVariant &nLot, const QString &lieu,
                             const QString &adresse);

Result<ReportDocument> layoutLotDeliveries(const ReportData &data);

} // namespace ravelin
