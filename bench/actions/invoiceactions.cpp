// The rows of invoicing (invoicing/): the invoice list over sixty days and twenty years with its
// filters and sorts, its delivery notes, the customer summary and a place's rows of the selection
// screen, an order's priced lines, the validation screen, an invoice of the busiest place with
// every row ticked, and a credit note of the biggest invoice. The writes are undone before the
// next run.
#include "actionhelpers.h"
#include "benchaction.h"

#include "invoicecreation.h"
#include "invoicecreationdialog.h"
#include "invoicelistdialog.h"
#include "invoicestore.h"
#include "invoicevalidationdialog.h"
#include "listgrid.h"
#include "masterdetail.h"
#include "sql.h"
#include "ui_invoicelistdialog.h"
#include "workstation.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>

namespace ravelin::bench {

namespace {

// The invoice list, opened once per company and shown; each row sets its filters first.
InvoiceListDialog *invoiceList(BenchContext &ctx)
{
    return ctx.object<InvoiceListDialog>(QStringLiteral("invoice list"), [&ctx] {
        auto *screen = new InvoiceListDialog(ctx.app);
        screen->resize(1250, 700);
        screen->show();
        return screen;
    });
}

struct InvoiceFilters
{
    QString client, number;
    const char *sort = "tri_num";
    bool twentyYears = false;
};

ActionFunction setInvoiceFilters(InvoiceFilters (*filters)(BenchContext &))
{
    return [filters](BenchContext &ctx) {
        InvoiceListDialog *screen = invoiceList(ctx);
        const InvoiceFilters f = filters(ctx);
        auto *ui = screen->ui();
        // a list without the document selected before: a new sort would otherwise read its rows down to it
        ui->num_facture->setText(QStringLiteral("0"));
        screen->search();
        ui->client->setText(f.client);
        ui->num_facture->setText(f.number);
        ui->date_debut->setDate(f.twentyYears ? QDate(2000, 1, 1) : QDate::currentDate().addDays(-60));
        ui->date_fin->setDate(QDate::currentDate());
        if (auto *radio = screen->findChild<QRadioButton *>(QLatin1String(f.sort))) radio->setChecked(true);
        ActionResult r;
        r.pending = deferredWork(screen);
        return r;
    };
}

ActionResult searchInvoices(BenchContext &ctx)
{
    InvoiceListDialog *screen = invoiceList(ctx);
    screen->search();
    ActionResult r = shownList(screen, screen->invoices()->rowCount(), {}, {}, screen->invoices()->view());
    r.pending = deferredWork(screen, [screen] { return screen->notesReload()->pending(); });
    return r;
}

ActionResult searchInvoicesCounted(BenchContext &ctx)
{
    InvoiceListDialog *screen = invoiceList(ctx);
    screen->search();
    paintScreen(screen, screen->invoices()->view());
    ActionResult r;
    r.error = waitForCount(screen->invoices()->pagedModel(), screen, screen->ui()->Label_total_ttc);
    r.rows = screen->invoices()->totalCount().value_or(-1);
    r.pending = deferredWork(screen, [screen] { return screen->notesReload()->pending(); });
    return r;
}

// Gives back what the last invoice or credit note the benchmark wrote changed: its rows deleted,
// the sales it flagged (or released) as they were, the counter set back.
Status undoDocument(BenchContext &ctx, const QString &parameter)
{
    const int number = ctx.intParameter(parameter);
    if (number <= 0) return {};
    const int source = ctx.intParameter(parameter + QStringLiteral("_source"));
    ctx.parameters.remove(parameter);
    return inTransaction(ctx.db, [&]() -> Status {
        for (const char *statement :
             {"delete from facture_entete where num_facture=?", "delete from facture_corps where inc_facture=?",
              "delete from facture_corps_detail where inc_facture=?"})
            if (auto done = execute(ctx.db, QLatin1String(statement), {number}); !done) return done.error();
        if (source > 0) {
            // a credit note: the credited invoice's sales carry its number again
            for (const auto &[table, kind] : {std::pair{"cde", "GRUME"}, std::pair{"livraison", "PLAQUETTE"}})
                if (auto done = execute(ctx.db,
                                        QStringLiteral("update %1 A join facture_corps B on B.inc_liv=A.inc set "
                                                       "A.facturee='OUI', A.num_facture=? where B.inc_facture=? and "
                                                       "B.type1=? and A.facturee='NON'")
                                            .arg(QLatin1String(table)),
                                        {source, source, QLatin1String(kind)});
                    !done)
                    return done.error();
        } else {
            for (const char *table : {"cde", "livraison"})
                if (auto done = execute(ctx.db,
                                        QStringLiteral("update %1 set facturee='NON', num_facture=null where "
                                                       "num_facture=?")
                                            .arg(QLatin1String(table)),
                                        {number});
                    !done)
                    return done.error();
        }
        auto back = execute(ctx.db, QStringLiteral("update increment set num_facture=? where num_facture=?"),
                            {number - 1, number});
        if (!back) return back.error();
        return {};
    });
}

// Held by the run's result: the harness releases it once the run is measured, which undoes the
// document the run wrote, so that every run starts from the generated company.
struct UndoWrite
{
    BenchContext *ctx;
    QString parameter;
    ~UndoWrite()
    {
        if (Status s = undoDocument(*ctx, parameter); !s) qWarning("%s", qPrintable(s.error().fullText()));
    }
};

// Untimed: the busiest place's rows built and every one ticked, as the user leaves the selection.
ActionResult tickBusiestPlace(BenchContext &ctx)
{
    if (Status s = undoDocument(ctx, QStringLiteral("bench_invoice")); !s) return failed(s.error());
    auto rows = placeRows(ctx.db, ctx.parameter(QStringLiteral("busiest_place")), ctx.app.defaultUnit());
    if (!rows) return failed(rows.error());
    if (auto ticked = execute(ctx.db, QStringLiteral("update ") + workTableName(QStringLiteral("Fac2")) +
                                          QStringLiteral(" set sel='OUI'"));
        !ticked)
        return failed(ticked.error());
    ActionResult r;
    r.rows = rows->rowCount();
    return r;
}

QDate invoiceDate(BenchContext &ctx)
{
    const QDate today = QDate::currentDate();
    auto latest = latestInvoiceDate(ctx.db);
    return latest && latest->isValid() && *latest > today ? *latest : today;
}

const QString kListColumns = QStringLiteral(
    "inc,num_facture,type_fac,client,ville,date_fac,montant_ht,'€' as n0,montant_ttc,'€' as n1,echeance,"
    "(select B.tva from liste_tva B where B.inc=facture_entete.inc_tva) as tva,(select C.reglement from "
    "liste_reglement C where C.inc=facture_entete.inc_reglement) as reglement,montant_tva,destination,inc_tva,"
    "inc_reglement");

// The first page as the list reads it: the page's keys from the sort's index, then their rows.
QString invoicePageSql(const QString &from, const QString &extra = QString(),
                       const QString &order = QStringLiteral("num_facture desc,inc desc"),
                       const QString &index = QStringLiteral("idx_facture_entete_number_page"))
{
    return QStringLiteral("select ") + kListColumns +
           QStringLiteral(" from facture_entete join (select inc as page_key from facture_entete force index (") +
           index + QStringLiteral(") where (date_fac>=") + from + QStringLiteral(" and date_fac<=curdate()") + extra +
           QStringLiteral(") order by ") + order + QStringLiteral(" limit 201) page on inc = page.page_key order by ") +
           order;
}

QString invoiceCountSql(const QString &from)
{
    return QStringLiteral("select count(*), sum(montant_ht), sum(montant_ttc) from facture_entete where (date_fac>=") +
           from + QStringLiteral(" and date_fac<=curdate())");
}

const QString kSixtyDays = QStringLiteral("curdate() - interval 60 day");
const QString kTwentyYears = QStringLiteral("'2000-01-01'");
const QString kSales = QStringLiteral("operation in ('VENTE','TRANSPORT','VENTE sur ACHAT')");

} // namespace

BenchSection invoiceSection()
{
    BenchSection s;
    s.parameters = {
        // the place with the most sales to invoice
        {QStringLiteral("busiest_place"),
         QStringLiteral("SELECT destination FROM (SELECT destination FROM cde WHERE facturee='NON' AND prix_vente>0 "
                        "UNION ALL SELECT destination FROM livraison WHERE facturee='NON' AND prix_total>0 AND "
                        "qte_liv_totale>0 AND ") +
             kSales + QStringLiteral(") t GROUP BY destination ORDER BY COUNT(*) DESC, destination LIMIT 1")},
        {QStringLiteral("biggest_order"),
         QStringLiteral("SELECT inc_cde FROM liste_grume_cde WHERE descriptif IN ('VOLUME','GRUME1') GROUP BY "
                        "inc_cde ORDER BY COUNT(*) DESC, inc_cde LIMIT 1")},
        // the invoice with the most delivery notes whose sales still carry its number
        {QStringLiteral("biggest_invoice"),
         QStringLiteral("SELECT c.inc_facture FROM facture_corps c JOIN facture_entete e ON "
                        "e.num_facture=c.inc_facture AND e.type_fac='FACTURE' JOIN livraison l ON l.inc=c.inc_liv "
                        "AND l.num_facture=c.inc_facture GROUP BY c.inc_facture ORDER BY COUNT(*) DESC, "
                        "c.inc_facture LIMIT 1")},
        {QStringLiteral("invoice_client"),
         QStringLiteral("SELECT LEFT(client, 5) FROM facture_entete WHERE num_facture={biggest_invoice}")},
    };
    s.actions = {
        {QStringLiteral("Factures : liste ouverte (60 jours)"),
         [](BenchContext &ctx) {
             auto screen = std::make_shared<InvoiceListDialog>(ctx.app);
             return shownList(screen.get(), screen->invoices()->rowCount(), screen);
         },
         invoicePageSql(kSixtyDays)},
        {QStringLiteral("Factures : vingt ans, premier écran"), searchInvoices, invoicePageSql(kTwentyYears), QString(),
         setInvoiceFilters([](BenchContext &) {
             InvoiceFilters f;
             f.twentyYears = true;
             return f;
         })},
        {QStringLiteral("Factures : vingt ans, compte et totaux affichés"), searchInvoicesCounted,
         invoicePageSql(kTwentyYears) + QStringLiteral("; ") + invoiceCountSql(kTwentyYears), QString(),
         setInvoiceFilters([](BenchContext &) {
             InvoiceFilters f;
             f.twentyYears = true;
             return f;
         })},
        {QStringLiteral("Factures : vingt ans, filtre Client"), searchInvoices,
         invoicePageSql(kTwentyYears, QStringLiteral(" and client like concat('%', {invoice_client}, '%')")), QString(),
         setInvoiceFilters([](BenchContext &ctx) {
             InvoiceFilters f;
             f.twentyYears = true;
             f.client = ctx.parameter(QStringLiteral("invoice_client"));
             return f;
         })},
        {QStringLiteral("Factures : vingt ans, filtre N° facture"), searchInvoices,
         invoicePageSql(kTwentyYears, QStringLiteral(" and num_facture={biggest_invoice}")), QString(),
         setInvoiceFilters([](BenchContext &ctx) {
             InvoiceFilters f;
             f.twentyYears = true;
             f.number = ctx.parameter(QStringLiteral("biggest_invoice"));
             return f;
         })},
        {QStringLiteral("Factures : vingt ans, trié par date"), searchInvoices,
         invoicePageSql(kTwentyYears, QString(), QStringLiteral("date_fac desc,inc"),
                        QStringLiteral("idx_facture_entete_date_page")),
         QString(), setInvoiceFilters([](BenchContext &) {
             InvoiceFilters f;
             f.twentyYears = true;
             f.sort = "tri_date";
             return f;
         })},
        {QStringLiteral("Factures : vingt ans, trié par client"), searchInvoices,
         invoicePageSql(kTwentyYears, QString(), QStringLiteral("client,date_fac,inc desc"),
                        QStringLiteral("idx_facture_entete_client_page")),
         QString(), setInvoiceFilters([](BenchContext &) {
             InvoiceFilters f;
             f.twentyYears = true;
             f.sort = "tri_client";
             return f;
         })},
        {QStringLiteral("Factures : bons de livraison de la facture"),
         [](BenchContext &ctx) {
             InvoiceListDialog *screen = invoiceList(ctx);
             screen->reloadNotes();
             paintScreen(screen, screen->deliveryNotes()->view());
             ActionResult r;
             r.rows = screen->deliveryNotes()->rowCount();
             return r;
         },
         QStringLiteral("select inc_facture,type1,inc_liv,date_liv,type_liv,destination,unite_vente,total_ht from "
                        "facture_corps where inc_facture={biggest_invoice} order by date_liv,inc_liv"),
         QString(),
         [](BenchContext &ctx) {
             InvoiceListDialog *screen = invoiceList(ctx);
             setInvoiceFilters([](BenchContext &c) {
                 InvoiceFilters f;
                 f.twentyYears = true;
                 f.number = c.parameter(QStringLiteral("biggest_invoice"));
                 return f;
             })(ctx);
             screen->search();
             ActionResult r;
             r.pending = deferredWork(screen, [screen] { return screen->notesReload()->pending(); });
             return r;
         }},
        {QStringLiteral("Créer facture : récapitulatif des clients"),
         [](BenchContext &ctx) {
             auto screen = std::make_shared<InvoiceCreationDialog>(ctx.app);
             screen->searchCustomers();
             // the summary comes from the screen's worker: the row ends once its places are shown
             QElapsedTimer waited;
             waited.start();
             while (screen->searching() && waited.elapsed() < 120000)
                 QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
             return shownList(screen.get(), screen->customers()->rowCount(), screen);
         },
         QStringLiteral("select round(A.prix_vente,2),A.client,A.destination,round(A.qte_defaut_totale,2),0 from cde "
                        "A where A.facturee='NON' and A.prix_vente>0 and A.client is not null; select "
                        "round(A.prix_total,2),B.client,A.destination,round(A.qte_defaut_totale,2),A.humidite from "
                        "livraison A join destination B on B.destination=A.destination where A.facturee='NON' and "
                        "A.qte_defaut_totale>0 and A.prix_total>0 and A.destination<>'' and A.") +
             kSales},
        {QStringLiteral("Créer facture : lignes du lieu le plus chargé"),
         [](BenchContext &ctx) {
             auto rows = placeRows(ctx.db, ctx.parameter(QStringLiteral("busiest_place")), ctx.app.defaultUnit());
             if (!rows) return failed(rows.error());
             ActionResult r;
             r.rows = rows->rowCount();
             return r;
         },
         QStringLiteral("select inc,destination,date_cde,type_cde,prix_vente,unite_liv from cde where facturee='NON' "
                        "and destination={busiest_place} and prix_vente>0; select inc,destination,date_livraison,"
                        "operation,prix_total,unite from livraison where facturee='NON' and "
                        "destination={busiest_place} and qte_liv_totale>0 and prix_total>0 and ") +
             kSales},
        {QStringLiteral("Créer facture : lignes de prix de la plus grosse commande"),
         [](BenchContext &ctx) {
             auto lines = pricedLines(ctx.db, QStringLiteral("GRUME"),
                                      ctx.intParameter(QStringLiteral("biggest_order")), QString());
             if (!lines) return failed(lines.error());
             ActionResult r;
             r.rows = lines->rowCount();
             return r;
         },
         QStringLiteral("select inc,essence,qualite,qte_liv,unite_liv,prix_unit,prix_total,n_lot from liste_grume_cde "
                        "where inc_cde={biggest_order} and descriptif in ('VOLUME','GRUME1') order by inc")},
        {QStringLiteral("validation_facture ouverte (lieu le plus chargé, tout coché)"),
         [](BenchContext &ctx) {
             auto customer = invoiceCustomer(ctx.db, ctx.parameter(QStringLiteral("busiest_place")), QString());
             if (!customer) return failed(customer.error());
             auto sales = selectedSalesWithLines(ctx.db);
             if (!sales) return failed(sales.error());
             qint64 total = 0;
             for (const SaleWithLines &sale : *sales) total += toCents(sale.amount);
             auto screen = std::make_shared<InvoiceValidationDialog>(ctx.app, *customer, QStringLiteral("FACTURE n°1"),
                                                                     total, QDate::currentDate(), *sales);
             screen->resize(1000, 680);
             ActionResult r = shownList(screen.get(), sales->size(), screen);
             return r;
         },
         QStringLiteral("select * from destination where destination={busiest_place}; select * from liste_tva; "
                        "select * from liste_reglement"),
         QString(), tickBusiestPlace},
        {QStringLiteral("Créer facture : facturer le lieu le plus chargé, tout coché"),
         [](BenchContext &ctx) {
             InvoiceToWrite invoice;
             auto customer = invoiceCustomer(ctx.db, ctx.parameter(QStringLiteral("busiest_place")), QString());
             if (!customer) return failed(customer.error());
             auto sales = selectedSales(ctx.db);
             if (!sales) return failed(sales.error());
             invoice.customer = *customer;
             invoice.sales = *sales;
             invoice.date = invoiceDate(ctx);
             invoice.due = invoice.date.addDays(30);
             invoice.vatInc = customer->values.value(QStringLiteral("inc_tva")).toInt();
             invoice.vatRate = 20;
             invoice.modeInc = customer->values.value(QStringLiteral("inc_reglement")).toInt();
             auto written = writeInvoice(ctx.db, invoice);
             if (!written) return failed(written.error());
             ctx.parameters.insert(QStringLiteral("bench_invoice"), QString::number(written->number));
             ActionResult r;
             r.keep = std::make_shared<UndoWrite>(&ctx, QStringLiteral("bench_invoice"));
             r.rows = sales->size();
             return r;
         },
         QStringLiteral("select max(date_fac) from facture_entete; select inc,facturee,prix_vente from cde where "
                        "destination={busiest_place} and facturee='NON'; select inc,facturee,prix_total from "
                        "livraison where destination={busiest_place} and facturee='NON'"),
         QString(), tickBusiestPlace},
        {QStringLiteral("Factures : avoir de la plus grosse facture"),
         [](BenchContext &ctx) {
             const int invoice = ctx.intParameter(QStringLiteral("biggest_invoice"));
             auto credit = createCreditNote(ctx.db, invoice, QDate::currentDate());
             if (!credit) return failed(credit.error());
             ctx.parameters.insert(QStringLiteral("bench_credit"), QString::number(*credit));
             ctx.parameters.insert(QStringLiteral("bench_credit_source"), QString::number(invoice));
             ActionResult r;
             r.keep = std::make_shared<UndoWrite>(&ctx, QStringLiteral("bench_credit"));
             r.rows = 1;
             return r;
         },
         QStringLiteral("select * from facture_entete where num_facture={biggest_invoice}; select * from "
                        "facture_corps where inc_facture={biggest_invoice}; select * from facture_corps_detail "
                        "where inc_facture={biggest_invoice}"),
         QString(),
         [](BenchContext &ctx) {
             for (const char *written : {"bench_invoice", "bench_credit"})
                 if (Status s = undoDocument(ctx, QLatin1String(written)); !s) return failed(s.error());
             return ActionResult{};
         }},
    };
    return s;
}

} // namespace ravelin::bench
