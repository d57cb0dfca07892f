#pragma once

#include "datatable.h"
#include "reportdata.h"
#include "reportdocument.h"
#include "result.h"

#include <QSqlDatabase>
#include <QString>

namespace ravelin {

// The delivery note ("Bon de Livraison", imp_bl, A4 portrait) of one order of logs or firewood
// (origin "GRUME") or of one chip delivery ("PLAQUETTE"). Orders and chip deliveries share one
// number counter, so the number names exactly one of them.

inline QString deliveryNoteTemplateName()
{
    return QStringLiteral("delivery_note");
}
inline QString logsOrigin()
{
    return QStringLiteral("GRUME");
}
inline QString chipsOrigin()
{
    return QStringLiteral("PLAQUETTE");
}

// Where the note is written by "PDF", in the working folder.
inline QString deliveryNotePdfName()
{
    return QStringLiteral("report.pdf");
}

struct DeliveryNoteSets
{
    DataTable header;  // entete: num_facture, date_fac, client and the place's address
    DataTable body;    // corps: the order or delivery itself (inc_liv)
    DataTable lines;   // lignes: its lines, linked to the body by inc_facture = inc_liv
    DataTable company; // perso
};

// Reads the four sets in one transaction. A place that no longer exists leaves the customer
// empty; the lines still print.
Result<DeliveryNoteSets> readDeliveryNote(QSqlDatabase db, int number, const QString &origin);

ReportData deliveryNoteData(const DeliveryNoteSets &sets);
Result<ReportDocument> layoutDeliveryNote(const ReportData &data);

} // namespace ravelin
