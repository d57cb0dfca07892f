#include "invoicingfixture.h"

#include "invoicecreation.h"
#include "invoicestore.h"
#include "pagedquerymodel.h"

using namespace ravelin;

// Invoices written from a place's orders and deliveries, credit notes and the invoice list, on
// the database.
class TestInvoiceOperations : public QObject
{
    Q_OBJECT
    test::InvoicingFixture f;

    // Ticks the rows of the place and gives what the validation screen would hand over.
    InvoiceToWrite prepared(const QString &place, const QList<int> &ticked, int vat, int mode,
                            const QDate &date = QDate(2026, 3, 20))
    {
        InvoiceToWrite w;
        auto rows = placeRows(f.db, place, QStringLiteral("m3"));
        if (!rows) qWarning() << rows.error().fullText();
        for (int inc : ticked)
            if (auto total = toggleRow(f.db, inc); !total) qWarning() << total.error().fullText();
        auto sales = selectedSales(f.db);
        if (sales) w.sales = *sales;
        auto customer = invoiceCustomer(f.db, place, QString());
        if (customer) w.customer = *customer;
        w.date = date;
        w.vatInc = vat;
        w.vatRate = f.value(QStringLiteral("select tva from liste_tva where inc=?"), {vat}).toDouble();
        w.modeInc = mode;
        w.due = date.addDays(30);
        return w;
    }

    int invoice(const QString &place, const QList<int> &ticked, const QDate &date = QDate(2026, 3, 20))
    {
        auto written = writeInvoice(f.db, prepared(place, ticked, f.rate20, f.endOfMonth, date));
        if (!written) qWarning() << written.error().fullText();
        return written ? written->number : 0;
    }

    QList<int> listed(const InvoiceSearch &search)
    {
        auto statement = invoiceListQuery(search);
        if (!statement) return {-1};
        PagedQueryModel model;
        if (!model.setQuery(f.db, *statement, PagedQueryModel::Count::Never)) return {-2};
        (void)model.fetchAll();
        QList<int> numbers;
        for (int r = 0; r < model.rowCount(); ++r)
            numbers << model.record(r).value(QStringLiteral("num_facture")).toInt();
        return numbers;
    }

private slots:
    void initTestCase() { f.open(); }
    void init() { f.clearTables(); }

    void onlyPricedSalesAreOffered()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 10, 40}});
        f.insertOrder(1002, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 10, 0}}); // priced 0
        f.insertOrder(1003, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 5, 40}},
                      QStringLiteral("2026-03-01 08:00:00"), QStringLiteral("OUI")); // invoiced
        f.insertDelivery(1004, QStringLiteral("Scierie du Lac"), QStringLiteral("VENTE"), 12, 50);
        f.insertDelivery(1005, QStringLiteral("Scierie du Lac"), QStringLiteral("PREVISION"), 12, 50);
        f.insertDelivery(1006, QStringLiteral("Scierie du Lac"), QStringLiteral("ACHAT"), 12, 50);
        f.insertOrder(1007, QStringLiteral("Chaufferie Nord"), {{QStringLiteral("VOLUME"), 1, 0}}); // priced 0

        auto summary = customerSummary(f.db, QString());
        QVERIFY(summary);
        QCOMPARE(summary->rowCount(), 1); // the place whose only order is priced 0 is not listed
        QCOMPARE(summary->value(0, QStringLiteral("destination")).toString(), QStringLiteral("Scierie du Lac"));
        QCOMPARE(summary->value(0, QStringLiteral("t1")).toDouble(), 1000.0);
        QCOMPARE(summary->value(0, QStringLiteral("nb")).toInt(), 2);
        QCOMPARE(customerSummary(f.db, QStringLiteral("chaleur"))->rowCount(), 0);

        auto rows = placeRows(f.db, QStringLiteral("Scierie du Lac"), QStringLiteral("m3"));
        QVERIFY(rows);
        QList<int> incs;
        for (int r = 0; r < rows->rowCount(); ++r) incs << rows->value(r, QStringLiteral("inc")).toInt();
        QCOMPARE(incs, (QList<int>{1001, 1004}));
        QCOMPARE(rows->value(1, QStringLiteral("u3")).toString(), QStringLiteral("PLAQUETTE"));
        QCOMPARE(rows->value(0, QStringLiteral("sel")).toString(), QStringLiteral("NON"));
    }

    void tickingTwiceUnticks()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 10, 40}});
        f.insertDelivery(1002, QStringLiteral("Scierie du Lac"), QStringLiteral("VENTE"), 12, 50);
        QVERIFY(placeRows(f.db, QStringLiteral("Scierie du Lac"), QStringLiteral("m3")));
        QCOMPARE(*toggleRow(f.db, 1001), qint64(40000));
        QCOMPARE(*toggleRow(f.db, 1002), qint64(100000));
        QCOMPARE(*toggleRow(f.db, 1001), qint64(60000));
        QCOMPARE(selectedSales(f.db)->size(), 1);
    }

    void invoiceOfOrdersAndDeliveries()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"),
                      {{QStringLiteral("VOLUME"), 10, 40},
                       {QStringLiteral("VOLUME"), 2.5, 80},
                       {QStringLiteral("GRUME1"), 3, 100}});
        f.insertDelivery(1002, QStringLiteral("Chaufferie Nord"), QStringLiteral("VENTE"), 10, 30,
                         QStringLiteral("MWH"));
        f.insertDelivery(1003, QStringLiteral("Scierie du Lac"), QStringLiteral("VENTE"), 12, 50);
        f.insertOrder(1004, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 1, 10}});

        const int number = invoice(QStringLiteral("Scierie du Lac"), {1001, 1003});
        QCOMPARE(number, 101);
        QCOMPARE(f.count(QStringLiteral("select num_facture from increment")), 101);
        // one body per sale, one detail per priced line, the detail summing to the order's price
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_corps where inc_facture=101")), 2);
        QCOMPARE(f.count(QStringLiteral(
                     "select count(*) from facture_corps_detail where inc_facture=101 and inc_corps=1001")),
                 3);
        QCOMPARE(
            f.value(QStringLiteral("select sum(prix_total) from facture_corps_detail where inc_corps=1001")).toDouble(),
            f.value(QStringLiteral("select prix_vente from cde where inc=1001")).toDouble());
        QCOMPARE(f.value(QStringLiteral("select concat(origine,' ',qte_liv,' ',unite_liv,' ',prix_unit,' ',pefc) from "
                                        "facture_corps_detail where inc_corps=1003"))
                     .toString(),
                 QStringLiteral("PLAQUETTE 12 TONNE 50 62"));
        // the header: the place's customer, the amounts to the cent
        QCOMPARE(
            f.value(QStringLiteral("select concat_ws('|',type_fac,date_fac,client,client_fac,ville_fac,tva_intra,"
                                   "montant_ht,montant_tva,montant_ttc) from facture_entete where num_facture=101"))
                .toString(),
            QStringLiteral("FACTURE|2026-03-20|Bois SA|Bois SA siège|Nevers|FR123|1500|300|1800"));
        QCOMPARE(f.flag(QStringLiteral("cde"), 1001), QStringLiteral("OUI/101"));
        QCOMPARE(f.flag(QStringLiteral("livraison"), 1003), QStringLiteral("OUI/101"));
        QCOMPARE(f.flag(QStringLiteral("cde"), 1004), QStringLiteral("NON/-")); // left unticked

        // a delivery by the MWh: one detail with its energy, moisture and price per MWh
        QCOMPARE(invoice(QStringLiteral("Chaufferie Nord"), {1002}), 102);
        QCOMPARE(f.value(QStringLiteral("select concat(qte_liv,' ',unite_liv,' ',prix_unit,' ',humidite,' ',total_mwh) "
                                        "from facture_corps_detail where inc_facture=102"))
                     .toString(),
                 QStringLiteral("30 MWH 30 35 900"));
    }

    void editedCustomerReachesThePrintedAddress()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 10, 40}});
        InvoiceToWrite w = prepared(QStringLiteral("Scierie du Lac"), {1001}, f.rate20, f.endOfMonth);
        w.edited.insert(QStringLiteral("ville"), QStringLiteral("Château-Chinon"));
        QVERIFY(writeInvoice(f.db, w));
        QCOMPARE(
            f.value(QStringLiteral("select concat(ville,'|',ville_fac,'|',cp_fac) from facture_entete")).toString(),
            QStringLiteral("Château-Chinon|Château-Chinon|58000"));
    }

    void refusedInvoicesLeaveNothing()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 10, 40}});
        QCOMPARE(invoice(QStringLiteral("Scierie du Lac"), {1001}, QDate(2026, 3, 20)), 101);
        f.insertOrder(1002, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 1, 40}});

        // a day before the latest invoice
        auto early = writeInvoice(
            f.db, prepared(QStringLiteral("Scierie du Lac"), {1002}, f.rate20, f.net45, QDate(2026, 3, 19)));
        QVERIFY(!early);
        QCOMPARE(
            early.error().message,
            QStringLiteral("Date de facture IMPOSSIBLE car infèrieure à la dernière date de facture du 20/03/2026"));

        // invoiced on another workstation, or repriced, since the selection
        InvoiceToWrite stale = prepared(QStringLiteral("Scierie du Lac"), {1002}, f.rate20, f.net45);
        f.run(QStringLiteral("update cde set prix_vente=41 where inc=1002"));
        auto repriced = writeInvoice(f.db, stale);
        QVERIFY(!repriced);
        QVERIFY(repriced.error().message.contains(QStringLiteral("BL n° 1002")));
        f.run(QStringLiteral("update cde set prix_vente=40, facturee='OUI', num_facture=555 where inc=1002"));
        auto twice = writeInvoice(f.db, stale);
        QVERIFY(!twice);
        QCOMPARE(twice.error().message,
                 QStringLiteral("Le BL n° 1002 a déjà été facturé (facture n° 555) : la facture n'est pas créée."));

        // nothing written, no number consumed
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_entete")), 1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_corps")), 1);
        QCOMPARE(f.count(QStringLiteral("select num_facture from increment")), 101);
    }

    void usedNumbersArePassedOver()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 10, 40}});
        f.run(QStringLiteral("insert into facture_entete (num_facture, type_fac, date_fac) values (101, 'FACTURE', "
                             "'2026-01-01'), (102, 'FACTURE', '2026-01-01')"));
        QCOMPARE(invoice(QStringLiteral("Scierie du Lac"), {1001}), 103);
        QCOMPARE(f.count(QStringLiteral("select num_facture from increment")), 103);
    }

    void creditNote()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 8, 50}});
        f.insertDelivery(1002, QStringLiteral("Scierie du Lac"), QStringLiteral("VENTE"), 12, 50);
        const int number = invoice(QStringLiteral("Scierie du Lac"), {1001, 1002});
        QCOMPARE(number, 101);

        auto credit = createCreditNote(f.db, number, QDate(2026, 4, 2));
        QVERIFY2(credit, qPrintable(credit.ok() ? QString() : credit.error().fullText()));
        QCOMPARE(*credit, 102);
        QCOMPARE(f.value(QStringLiteral("select concat_ws('|',type_fac,date_fac,echeance,client,inc_tva,montant_ht,"
                                        "montant_tva,montant_ttc,facture_origine) from facture_entete where "
                                        "num_facture=102"))
                     .toString(),
                 QStringLiteral("AVOIR|2026-04-02|2026-04-02|Bois SA|%1|-1000|-200|-1200|101").arg(f.rate20));
        QCOMPARE(f.value(QStringLiteral("select concat_ws('|',qte_liv,unite_liv,prix_unit,prix_total) from "
                                        "facture_corps_detail where inc_facture=102 and inc_corps=1002"))
                     .toString(),
                 QStringLiteral("-12|TONNE|50|-600"));
        QCOMPARE(f.value(QStringLiteral("select sum(total_ht) from facture_corps where inc_facture=102")).toDouble(),
                 -1000.0);
        // the sales are offered again, and the next invoice follows the credit note
        QCOMPARE(f.flag(QStringLiteral("cde"), 1001), QStringLiteral("NON/-"));
        QCOMPARE(f.flag(QStringLiteral("livraison"), 1002), QStringLiteral("NON/-"));
        QCOMPARE(placeRows(f.db, QStringLiteral("Scierie du Lac"), QStringLiteral("m3"))->rowCount(), 2);

        // a credit note is never credited, an invoice only once
        auto ofCredit = createCreditNote(f.db, 102, QDate(2026, 4, 2));
        QVERIFY(!ofCredit);
        QCOMPARE(ofCredit.error().message, alreadyCreditNoteMessage());
        auto again = createCreditNote(f.db, 101, QDate(2026, 4, 2));
        QVERIFY(!again);
        QCOMPARE(again.error().message, alreadyCreditedMessage());
        QCOMPARE(f.count(QStringLiteral("select num_facture from increment")), 102);

        QCOMPARE(invoice(QStringLiteral("Scierie du Lac"), {1001, 1002}, QDate(2026, 4, 2)), 103);
        // the first invoice's credit note does not release what the new invoice holds
        QVERIFY(!createCreditNote(f.db, 101, QDate(2026, 4, 2)));
        QCOMPARE(f.flag(QStringLiteral("cde"), 1001), QStringLiteral("OUI/103"));
    }

    void list()
    {
        f.run(QStringLiteral("insert into facture_entete (num_facture, type_fac, date_fac, client, inc_tva, "
                             "inc_reglement, montant_ht) values (101, 'FACTURE', '2026-03-01', 'Bois SA', ?, ?, 10), "
                             "(102, 'FACTURE', '2026-03-02', 'Chaleur SARL', ?, ?, 20), (103, 'AVOIR', '2026-03-03', "
                             "'Bois SA', ?, ?, -10), (12, 'FACTURE', '2025-01-01', 'Bois SA', ?, ?, 5)"),
              {f.rate20, f.endOfMonth, f.rate10, f.net45, f.rate20, f.endOfMonth, f.rate20, f.endOfMonth});
        InvoiceSearch s;
        s.from = QDate(2026, 3, 1);
        s.to = QDate(2026, 3, 31);
        QCOMPARE(listed(s), (QList<int>{103, 102, 101}));
        s.sort = InvoiceSort::Date;
        QCOMPARE(listed(s), (QList<int>{103, 102, 101}));
        s.sort = InvoiceSort::Client;
        QCOMPARE(listed(s), (QList<int>{101, 103, 102}));
        s.client = QStringLiteral("chaleur");
        QCOMPARE(listed(s), (QList<int>{102}));
        s.client.clear();
        s.number = QStringLiteral("102");
        QCOMPARE(listed(s), (QList<int>{102}));
        s.number = QStringLiteral("12"); // outside the dates
        QCOMPARE(listed(s), QList<int>{});
        s.number = QStringLiteral("12a");
        auto refused = invoiceListQuery(s);
        QVERIFY(!refused);
        QCOMPARE(refused.error().message, QStringLiteral("Saisie incorrecte"));
        // a deleted rate keeps its documents listed
        s.number.clear();
        f.run(QStringLiteral("delete from liste_tva where inc=?"), {f.rate10});
        QCOMPARE(listed(s).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestInvoiceOperations)
#include "tst_invoiceoperations.moc"
