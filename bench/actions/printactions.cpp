// The rows of the printed sales documents and the transport planning (reports/documents/): the
// delivery note of the biggest order, the longest invoice written as PDF and as its e-invoice, and
// the planning of the busiest week, for every carrier and for the busiest one, with its printout.
#include "actionhelpers.h"
#include "benchaction.h"

#include "deliverynote.h"
#include "facturx.h"
#include "invoicedocument.h"
#include "reportpainter.h"
#include "transportplanning.h"

#include <QTemporaryDir>

namespace ravelin::bench {

namespace {

QString outputFile(const QString &name)
{
    static QTemporaryDir folder;
    return folder.filePath(name);
}

PlanningPeriod busiestWeek(BenchContext &ctx)
{
    const QDate start = QDate::fromString(ctx.parameter(QStringLiteral("planning_week")), Qt::ISODate);
    return {start, start.addDays(6)};
}

ActionResult deliveryNotePdf(BenchContext &ctx)
{
    auto sets = readDeliveryNote(ctx.db, ctx.intParameter(QStringLiteral("biggest_order")), logsOrigin());
    if (!sets) return failed(sets.error());
    auto document = layoutDeliveryNote(deliveryNoteData(*sets));
    if (!document) return failed(document.error());
    if (Status s = writeReportPdf(*document, outputFile(deliveryNotePdfName())); !s) return failed(s.error());
    ActionResult r;
    r.rows = sets->lines.rowCount();
    return r;
}

ActionResult invoicePdf(BenchContext &ctx)
{
    auto sets = readInvoice(ctx.db, ctx.intParameter(QStringLiteral("longest_invoice")));
    if (!sets) return failed(sets.error());
    auto document = layoutInvoice(invoiceData(*sets));
    if (!document) return failed(document.error());
    if (Status s = writeReportPdf(*document, outputFile(QStringLiteral("facture.pdf"))); !s) return failed(s.error());
    ActionResult r;
    r.rows = sets->lines.rowCount();
    return r;
}

// The same invoice as its e-invoice: the pages painted as PDF/A, its XML built and attached.
ActionResult invoiceEInvoice(BenchContext &ctx)
{
    auto sets = readInvoice(ctx.db, ctx.intParameter(QStringLiteral("longest_invoice")));
    if (!sets) return failed(sets.error());
    auto document = layoutInvoice(invoiceData(*sets));
    if (!document) return failed(document.error());
    if (Status s = writeFacturXInvoice(*sets, *document, outputFile(facturXPdfName(*sets))); !s)
        return failed(s.error());
    ActionResult r;
    r.rows = sets->lines.rowCount();
    return r;
}

ActionFunction planning(bool oneCarrier, bool printed)
{
    return [oneCarrier, printed](BenchContext &ctx) {
        std::optional<QString> carrier;
        if (oneCarrier) carrier = ctx.parameter(QStringLiteral("planning_carrier"));
        auto rows = rebuildPlanning(ctx.db, busiestWeek(ctx), carrier);
        if (!rows) return failed(rows.error());
        if (printed) {
            auto document = layoutPlanning(planningData(*rows, QStringLiteral("Bench"), busiestWeek(ctx)));
            if (!document) return failed(document.error());
            if (Status s = writeReportPdf(*document, outputFile(QStringLiteral("planning.pdf"))); !s)
                return failed(s.error());
        }
        ActionResult r;
        r.rows = rows->rowCount();
        return r;
    };
}

const QString kPending = QStringLiteral("(facturee IS NULL OR facturee<>'OUI') AND (qte_defaut_totale<=0 OR "
                                        "qte_defaut_totale IS NULL)");

} // namespace

BenchSection printSection()
{
    BenchSection s;
    s.parameters = {
        {QStringLiteral("longest_invoice"),
         QStringLiteral("SELECT inc_facture FROM facture_corps_detail GROUP BY inc_facture ORDER BY COUNT(*) DESC, "
                        "inc_facture LIMIT 1")},
        // the Monday of the week holding the most deliveries still to make
        {QStringLiteral("planning_week"),
         QStringLiteral("SELECT DATE(date_livraison) - INTERVAL WEEKDAY(date_livraison) DAY FROM livraison WHERE ") +
             kPending + QStringLiteral(" GROUP BY 1 ORDER BY COUNT(*) DESC, 1 LIMIT 1")},
        {QStringLiteral("planning_carrier"),
         QStringLiteral("SELECT transporteur_prevu FROM livraison WHERE ") + kPending +
             QStringLiteral(" AND transporteur_prevu<>'' AND date_livraison>={planning_week} AND date_livraison<"
                            "{planning_week} + INTERVAL 7 DAY GROUP BY 1 ORDER BY COUNT(*) DESC, 1 LIMIT 1")},
    };
    const QString week = QStringLiteral(" AND date_livraison>={planning_week} AND date_livraison<{planning_week} + "
                                        "INTERVAL 7 DAY");
    s.actions = {
        {QStringLiteral("Impression : BL de la plus grosse commande (PDF)"), deliveryNotePdf,
         QStringLiteral("select A.inc, A.date_cde, A.client, B.adresse, B.tva_intra from cde A left join destination B "
                        "on B.destination=A.destination where A.inc={biggest_order}; select inc, date_cde, destination "
                        "from cde where inc={biggest_order}; select * from liste_grume_cde where "
                        "inc_cde={biggest_order} order by inc; select * from perso")},
        {QStringLiteral("Impression : facture la plus longue (PDF)"), invoicePdf,
         QStringLiteral("select * from facture_entete where num_facture={longest_invoice}; select * from "
                        "facture_corps where inc_facture={longest_invoice}; select * from facture_corps_detail where "
                        "inc_facture={longest_invoice}; select * from perso")},
        {QStringLiteral("Impression : facture électronique de la facture la plus longue (PDF/A-3)"), invoiceEInvoice,
         QStringLiteral("select * from facture_entete where num_facture={longest_invoice}; select * from "
                        "facture_corps where inc_facture={longest_invoice}; select * from facture_corps_detail where "
                        "inc_facture={longest_invoice}; select * from perso")},
        {QStringLiteral("Planning : semaine chargée, tous les transporteurs"), planning(false, false),
         QStringLiteral("select transporteur_prevu, date_livraison, depart, destination from livraison where ") +
             kPending + week + QStringLiteral(" order by date_livraison, destination")},
        {QStringLiteral("Planning : semaine chargée, transporteur le plus chargé"), planning(true, false),
         QStringLiteral("select transporteur_prevu, date_livraison, depart, destination from livraison where ") +
             kPending + week +
             QStringLiteral(" and transporteur_prevu={planning_carrier} order by date_livraison, destination")},
        {QStringLiteral("Planning : impression de la semaine (PDF)"), planning(false, true),
         QStringLiteral("select transporteur_prevu, date_livraison, depart, destination from livraison where ") +
             kPending + week + QStringLiteral(" order by date_livraison, destination")},
    };
    return s;
}

} // namespace ravelin::bench
