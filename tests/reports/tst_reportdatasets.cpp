// The data sets of the first two documents read from the database, and a chart fed by a query.

#include "chartwidget.h"
#include "contractoractions.h"
#include "contractors.h"
#include "lotdeliveries.h"
#include "pagedquerymodel.h"
#include "sql.h"
#include "testdb.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTest>

using namespace ravelin;

Q_DECLARE_METATYPE(std::optional<ravelin::DatePeriod>)

class TestReportDatasets : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;

    void run(const QString &sql)
    {
        auto done = execute(m_db, sql);
        QVERIFY2(done.ok(), qPrintable(done.error().fullText()));
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        QVERIFY(m_db.isOpen());

        // Actions of "SARL Martin" in March 2024 in the four action tables, around others that
        // must stay out: another contractor, a longer name, no quantity, outside the period.
        run("insert into liste_action_cde (I_nom, type1, i_date, qte_action, unite_action, i_cout, n_lot, "
            "Indice_lot, fac_fournisseur) values "
            "('SARL Martin', 'TRANSPORT', '2024-03-10', 12.6, 'T', 150.5, '201', 1, 'NON'),"
            "('SARL Martin', 'TRANSPORT', '2024-02-29', 3, 'T', 99, '201', 1, 'NON'),"
            "('SARL Martin', 'TRANSPORT', '2024-03-12', null, 'T', 99, '201', 1, 'NON'),"
            "('Autre SA', 'TRANSPORT', '2024-03-12', 4, 'T', 99, '201', 1, 'NON'),"
            "('SARL Martin Fils', 'TRANSPORT', '2024-03-12', 4, 'T', 99, '201', 1, 'NON')");
        run("insert into liste_action_liv (I_nom, type1, i_date, qte_action, unite_action, i_cout, n_lot, "
            "Indice_lot, fac_fournisseur) values "
            "('SARL Martin', 'BROYAGE', '2024-03-01', 30, 'MWH', 300, 202, 1, 'OUI')");
        run("insert into liste_action_transfert (I_nom, type1, i_date, qte_action, unite_action, i_cout, "
            "n_lot, Indice_lot, fac_fournisseur) values "
            "('SARL Martin', 'CHARGEMENT', '2024-03-31', 5.4, 'm3', 45.25, '204', 1, null)");
        run("insert into intervention (I_nom, type1, i_date, qte_action, unite_action, i_cout, N_lot, "
            "indice_lot, fac_fournisseur) values "
            "('SARL Martin', 'ABATTAGE', '2024-03-20', 8, 'm3', 1000, 203, 2, 'NON'),"
            "('SARL Martin', 'ABATTAGE', '2024-04-01', 8, 'm3', 1000, 203, 2, 'NON')");

        // What left lot 1042: order lines (product lines and grouped logs only), a chip delivery
        // and a transfer to stock; plus rows of other lots and kinds that must stay out.
        run("insert into liste_grume_cde (inc_cde, descriptif, date_creation, essence, qualite, qte_liv, "
            "qte_defaut, unite_liv, unite_defaut, n_lot, lieu) values "
            "(11, 'VOLUME', '2024-02-05 10:00:00', 'Chêne', 'A', 10, 10, 'm3', 'm3', '1042', 'Scierie'),"
            "(11, 'GRUME1', '2024-01-15 00:00:00', 'Chêne', 'B', 2.5, 2.5, 'm3', 'm3', '1042', 'Scierie'),"
            "(11, 'GRUME', '2024-02-06 00:00:00', 'Chêne', 'B', 1, 1, 'm3', 'm3', '1042', 'Scierie'),"
            "(12, 'VOLUME', '2024-02-07 00:00:00', 'Hêtre', 'A', 7, 7, 'm3', 'm3', '999', 'Scierie')");
        run("insert into livraison (inc, date_livraison, n_lot, essence, qualite, qte_liv_totale, "
            "qte_defaut_totale, unite_liv, unite_defaut, destination, ticket, lettre_voiture, prix_total) "
            "values "
            "(500, '2024-03-01 08:00:00', 1042, 'Plaquette', 'Sèche', 20, 25.25, 'T', 'm3', 'Chaufferie', "
            "'T-1', 'LV-9', 1200)");
        run("insert into liste_grume_transfert (inc_transfert, descriptif, date_creation, essence, qualite, "
            "qte_liv, qte_defaut, unite_liv, unite_defaut, depart, destination, type_transfert, n_lot) "
            "values "
            "(7, 'VOLUME', '2024-02-20 00:00:00', 'Chêne', 'C', 4, 4, 'm3', 'm3', '1042', 'Parc A', 'COUPE', "
            "'1042'),"
            "(8, 'VOLUME', '2024-02-21 00:00:00', 'Chêne', 'C', 9, 9, 'm3', 'm3', '1042', 'Parc B', 'STOCK', "
            "'1042')");
    }

    void contractorActionsAreReadMostRecentFirst()
    {
        // the list the contractors tab shows, read whole as its printout reads it
        PagedReader list(m_db, contractorActions(QStringLiteral("SARL Martin"), QDate(2024, 3, 1), QDate(2024, 3, 31)));
        auto page = list.next();
        QVERIFY2(page.ok(), qPrintable(page.error().fullText()));
        QStringList columns;
        for (int c = 0; c < list.fields().count(); ++c) columns << list.fields().fieldName(c);
        DataTable actions(columns);
        for (const QVector<QVariant> &row : *page) actions.addRow(QVariantList(row.cbegin(), row.cend()));
        QCOMPARE(actions.columns(),
                 QStringList({"fac_fournisseur", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "inc"}));
        QCOMPARE(actions.rowCount(), 4);
        const QStringList kinds = {"TRANSFERT", "COUPE", "LIV. GRUME", "LIV. PLAQUETTE"};
        const QList<QDate> dates = {QDate(2024, 3, 31), QDate(2024, 3, 20), QDate(2024, 3, 10), QDate(2024, 3, 1)};
        const QList<int> quantities = {5, 8, 13, 30}; // converted to whole numbers by the database
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(actions.value(r, "a").toString(), kinds[r]);
            QCOMPARE(actions.value(r, "b").toString(), QStringLiteral("SARL Martin"));
            QCOMPARE(actions.value(r, "e").toDate(), dates[r]);
            QCOMPARE(actions.value(r, "f").toInt(), quantities[r]);
        }

        ReportData data =
            contractorActionsData(actions, QStringLiteral("SARL Martin"), QDate(2024, 3, 1), QDate(2024, 3, 31));
        data.setPrintDate(QDateTime(QDate(2024, 4, 2), QTime(9, 0)));
        auto document = layoutContractorActions(data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        QCOMPARE(document->pageCount(), 1);
        const QStringList texts = document->texts(0);
        QCOMPARE(texts.mid(0, 5), QStringList({"SARL Martin", "02/04/2024", "ACTIONS INTERVENANTS",
                                               "Du : vendredi 01 mars 2024", "Au : dimanche 31 mars 2024"}));
        QCOMPARE(document->textsNamed("operation"), QStringList({"CHARGEMENT", "ABATTAGE", "TRANSPORT", "BROYAGE"}));
        QCOMPARE(document->textsNamed("lot"), QStringList({"204", "203", "201", "202"}));
        QCOMPARE(document->textsNamed("date"), QStringList({"31/03/2024", "20/03/2024", "10/03/2024", "01/03/2024"}));
        QCOMPARE(document->textsNamed("unite"), QStringList({"m3", "m3", "T", "MWH"}));
        QCOMPARE(document->textsNamed("cout"), QStringList({"45,25 €", "1 000,00 €", "150,50 €", "300,00 €"}));
        QCOMPARE(document->textsNamed("nombre"), QStringList{"4"});
        QCOMPARE(document->textsNamed("total"), QStringList{"1 495,75 €"});
    }

    void gridRowsBecomeADataSet()
    {
        QSqlQueryModel model;
        model.setQuery(
            QStringLiteral("select essence, qte_defaut from liste_grume_cde where n_lot='1042' order by inc"), m_db);
        QVERIFY(!model.lastError().isValid());
        const DataTable table = DataTable::fromQueryModel(model);
        QCOMPARE(table.columns(), QStringList({"essence", "qte_defaut"}));
        QCOMPARE(table.rowCount(), 3);
        QCOMPARE(table.value(1, "QTE_DEFAUT").toDouble(), 2.5);
    }

    void lotDeliveriesAreReadByDate_data()
    {
        QTest::addColumn<std::optional<DatePeriod>>("period");
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<QStringList>("quantities");
        QTest::addColumn<QString>("total");

        QTest::newRow("every delivery") << std::optional<DatePeriod>()
                                        << QStringList{"LIVRAISON", "LIVRAISON", "TRANSFERT", "PLAQUETTE"}
                                        << QStringList{"2,50", "10,00", "4,00", "25,25"} << "41,75";
        QTest::newRow("February") << std::optional<DatePeriod>(DatePeriod{QDate(2024, 2, 1), QDate(2024, 2, 29)})
                                  << QStringList{"LIVRAISON", "TRANSFERT"} << QStringList{"10,00", "4,00"} << "14,00";
    }

    void lotDeliveriesAreReadByDate()
    {
        QFETCH(std::optional<DatePeriod>, period);
        QFETCH(QStringList, kinds);
        QFETCH(QStringList, quantities);
        QFETCH(QString, total);

        auto deliveries = readLotDeliveries(m_db, 1042, period);
        QVERIFY2(deliveries.ok(), qPrintable(deliveries.error().fullText()));
        QCOMPARE(deliveries->rowCount(), kinds.size());

        ReportData data =
            lotDeliveriesData(*deliveries, 1042, QStringLiteral("Saint-Agrève"), QStringLiteral("Les Sagnes"));
        auto document = layoutLotDeliveries(data);
        QVERIFY2(document.ok(), qPrintable(document.error().message));
        QCOMPARE(document->textsNamed("type"), kinds);
        QCOMPARE(document->textsNamed("quantite"), quantities);
        QCOMPARE(document->textsNamed("nombre"), QStringList{QString::number(kinds.size())});
        QCOMPARE(document->textsNamed("total"), QStringList{total});
        QCOMPARE(document->textsNamed("titre"), QStringList{"Liste des LIVRAISONS réalisées sur le lot 1042"});
        QCOMPARE(document->textsNamed("lieu"), QStringList{"Saint-Agrève ( Les Sagnes )"});
        if (!period) {
            QCOMPARE(document->textsNamed("ticket").last(), QStringLiteral("T-1"));
            QCOMPARE(document->textsNamed("lettre_voiture").last(), QStringLiteral("LV-9"));
        }
    }

    void chartIsFedByAQuery()
    {
        QSqlQuery query(m_db);
        QVERIFY(exec(query, QStringLiteral("select essence, sum(qte_defaut) as total from liste_grume_cde "
                                           "group by essence order by essence")));
        ChartWidget chart;
        ChartOptions options;
        options.kind = ChartKind::Bar;
        options.marks = ChartMarks::Value;
        chart.setOptions(options);
        const Status filled = chart.setQuery(query, QStringLiteral("essence"), QStringLiteral("total"));
        QVERIFY2(filled.ok(), qPrintable(filled.error().fullText()));
        QCOMPARE(chart.points(), QList<ChartPoint>({{"Chêne", 13.5}, {"Hêtre", 7}}));

        QVERIFY(exec(query, QStringLiteral("select essence from liste_grume_cde")));
        const Status missing = chart.setQuery(query, QStringLiteral("essence"), QStringLiteral("total"));
        QVERIFY(!missing.ok());
        QVERIFY(missing.error().message.contains(QStringLiteral("« total »")));
        QCOMPARE(chart.points().size(), 2); // left as it was
    }
};

QTEST_MAIN(TestReportDatasets)
#include "tst_reportdatasets.moc"
