#include "analysesfixture.h"

#include "contractorcosts.h"
#include "customerdeliveries.h"
#include "otheranalyses.h"
#include "statements.h"
#include "testdb.h"

#include <QTest>

using namespace ravelin;

namespace {

const QDate start(2026, 3, 1);
const QDate end(2026, 3, 31);

QVariant cell(const DataTable &t, const QString &keyColumn, const QVariant &key, const QString &column)
{
    for (int r = 0; r < t.rowCount(); ++r)
        if (t.value(r, keyColumn) == key) return t.value(r, column);
    return QStringLiteral("<absent>");
}

} // namespace

// The computations of the analyses on a real server: what is summed, grouped, listed and settled.
class TestAnalyses : public QObject
{
    Q_OBJECT
    test::AnalysesFixture f;

    DataTable sales(SalesGrouping grouping, bool invoiced)
    {
        SalesFilter filter{start, end, grouping, invoiced};
        if (!f.runSteps(salesSteps(filter))) return {};
        auto rows = readSalesSummary(f.db);
        if (!rows) qWarning() << rows.error().fullText();
        return rows ? *rows : DataTable();
    }

    ContractorCosts costs(const QString &family = QString(), bool withZero = false)
    {
        ContractorCostFilter filter{start, end, family, withZero};
        if (!f.runSteps(contractorCostSteps(filter))) return {};
        auto read = readContractorCosts(f.db, filter);
        if (!read) qWarning() << read.error().fullText();
        return read ? *read : ContractorCosts();
    }

private slots:
    void initTestCase() { f.open(); }
    void init() { f.clearTables(); }

    void salesPerCustomerAndInvoiced()
    {
        const QString etang = QStringLiteral("Scierie de l'Étang");
        f.order(501, etang, QStringLiteral("GRUME"), 1200, 10, QStringLiteral("2026-03-01 00:00:00"));
        f.order(502, etang, QStringLiteral("GRUME"), 800, 5, QStringLiteral("2026-03-12 08:00:00"),
                QStringLiteral("OUI"));
        f.delivery(503, QStringLiteral("VENTE"), etang, 1500, 25, 30, QStringLiteral("2026-03-31 17:30:00"));
        f.delivery(504, QStringLiteral("TRAVAIL"), etang, 400, 4, 20, QStringLiteral("2026-03-15 08:00:00"));
        f.delivery(505, QStringLiteral("PREVISION"), etang, 400, 4, 20, QStringLiteral("2026-03-15 08:00:00"));
        f.delivery(506, QStringLiteral("VENTE"), etang, 900, 9, 20, QStringLiteral("2026-04-01 00:00:00"));

        const DataTable open = sales(SalesGrouping::Customer, false);
        QCOMPARE(open.rowCount(), 1);
        QCOMPARE(open.value(0, QStringLiteral("nom")).toString(), etang);
        QCOMPARE(open.value(0, QStringLiteral("t1")).toDouble(), 2700.0);
        QCOMPARE(open.value(0, QStringLiteral("t2")).toDouble(), 35.0);
        QCOMPARE(open.value(0, QStringLiteral("moy_qte")).toDouble(), 17.5);
        QCOMPARE(open.value(0, QStringLiteral("moy_humidite")).toDouble(), 15.0);
        QCOMPARE(open.value(0, QStringLiteral("nb")).toInt(), 2);

        const DataTable all = sales(SalesGrouping::Customer, true);
        QCOMPARE(all.value(0, QStringLiteral("t1")).toDouble(), 3500.0);
        QCOMPARE(all.value(0, QStringLiteral("t2")).toDouble(), 40.0);
        QCOMPARE(all.value(0, QStringLiteral("nb")).toInt(), 3);

        // the detail lists exactly what was summed
        auto detail = readSalesDetail(f.db, {start, end, SalesGrouping::Customer, false}, etang, QStringLiteral("m3"));
        QVERIFY2(detail, qPrintable(detail.ok() ? QString() : detail.error().fullText()));
        QCOMPARE(detail->rowCount(), 2);
        QCOMPARE(detail->value(0, QStringLiteral("inc")).toInt(), 501);
        QCOMPARE(detail->value(1, QStringLiteral("u3")).toString(), QStringLiteral("PLAQUETTE"));
    }

    // The work tables belong to the connection that computed them: two instances of the program
    // on one workstation never read each other's.
    void workTablesAreTheConnectionsOwn()
    {
        QVERIFY(f.runSteps(salesSteps({start, end, SalesGrouping::Customer, false})));
        QVERIFY(f.runSteps(contractorCostSteps({start, end, QString(), false})));
        QSqlDatabase other = test::openAnotherConnection(f.db.databaseName(), QStringLiteral("autre_instance"));
        for (const QString &table : {salesWorkTable(), contractorWorkTable()}) {
            QVERIFY(scalar(f.db, QStringLiteral("select count(*) from ") + table));
            QVERIFY(!scalar(other, QStringLiteral("select count(*) from ") + table));
        }
    }

    void salesPerKindAndLargeAmounts()
    {
        f.order(511, QVariant(), QStringLiteral("BUCHE"), 300, 3, QStringLiteral("2026-03-02 09:00:00"));
        f.order(512, QStringLiteral("Menuiserie Roux"), QStringLiteral("GRUME"), 150000.07, 100,
                QStringLiteral("2026-03-03 09:00:00"));
        const DataTable kinds = sales(SalesGrouping::Kind, false);
        QCOMPARE(cell(kinds, QStringLiteral("nom"), QStringLiteral("BUCHE"), QStringLiteral("t1")).toDouble(), 300.0);
        QCOMPARE(cell(kinds, QStringLiteral("nom"), QStringLiteral("GRUME"), QStringLiteral("t1")).toDouble(),
                 150000.07);
        const DataTable customers = sales(SalesGrouping::Customer, false);
        QCOMPARE(customers.rowCount(), 1);
        QCOMPARE(customers.value(0, QStringLiteral("t1")).toDouble(), 150000.07);
    }

    void orderLinesOfTheDetail()
    {
        f.order(521, QStringLiteral("Scierie"), QStringLiteral("GRUME"), 1200, 10,
                QStringLiteral("2026-03-02 09:00:00"));
        f.run(QStringLiteral("insert into liste_grume_cde (inc_cde, descriptif, qte_liv, prix_total) values "
                             "(521, 'VOLUME', 5, 600), (521, 'GRUME1', 5, 600), (521, 'GRUME', 1, 99)"));
        auto lines = readPricedLines(f.db, QStringLiteral("GRUME"), 521);
        QVERIFY(lines);
        QCOMPARE(lines->rowCount(), 2);
        auto all = readAllPricedLines(f.db, {start, end, SalesGrouping::Customer, false}, QStringLiteral("Scierie"));
        QVERIFY(all);
        double sum = 0;
        for (int r = 0; r < all->rowCount(); ++r) sum += all->value(r, QStringLiteral("prix_total")).toDouble();
        QCOMPARE(sum, 1200.0);
    }

    void contractorTotals()
    {
        f.contractorCase();
        const ContractorCosts all = costs();
        QCOMPARE(all.contractors.rowCount(), 2);
        QCOMPARE(cell(all.contractors, QStringLiteral("societe"), QStringLiteral("ETF Combe"), QStringLiteral("total"))
                     .toDouble(),
                 250.0);
        QCOMPARE(cell(all.contractors, QStringLiteral("societe"), QStringLiteral("Transports Vallon"),
                      QStringLiteral("total"))
                     .toDouble(),
                 450.0);
        QCOMPARE(all.total, 700.0);

        const ContractorCosts trans = costs(QStringLiteral("trans"));
        QCOMPARE(trans.contractors.rowCount(), 1);
        QCOMPARE(trans.families.rowCount(), 1);
        QCOMPARE(trans.families.value(0, QStringLiteral("total")).toDouble(), 450.0);

        auto detail = readContractorDetail(f.db, QStringLiteral("Transports Vallon"));
        QVERIFY(detail);
        QCOMPARE(detail->actions.rowCount(), 3);
        QCOMPARE(detail->quantities, QStringLiteral("30,00 m3 + 37,50 T"));
        QCOMPARE(detail->cost, 450.0);
        // the transfer's typed lot and its road time are kept as they are
        QCOMPARE(
            cell(detail->actions, QStringLiteral("type"), transferActionKind(), QStringLiteral("n_lot")).toString(),
            QStringLiteral("2601/B"));
        QCOMPARE(cell(detail->actions, QStringLiteral("type"), transferActionKind(), QStringLiteral("temps_route"))
                     .toString(),
                 QStringLiteral("01:15:00"));
    }

    // The statements of a computation, its detail and its settling do not grow with the actions.
    void statementsDoNotGrowWithTheData()
    {
        f.contractorCase();
        auto statements = [&] {
            const qint64 before =
                f.value(QStringLiteral("select variable_value from information_schema.session_status where "
                                       "variable_name='QUESTIONS'"))
                    .toLongLong();
            (void)costs();
            (void)readContractorDetail(f.db, QStringLiteral("Transports Vallon"));
            (void)settleContractorActions(f.db, QStringLiteral("Transports Vallon"));
            return f.value(QStringLiteral("select variable_value from information_schema.session_status where "
                                          "variable_name='QUESTIONS'"))
                       .toLongLong() -
                   before;
        };
        const qint64 few = statements();
        for (int i = 0; i < 300; ++i)
            f.action(QStringLiteral("liste_action_liv"), QStringLiteral("inc_cde"), 701,
                     QStringLiteral("Transports Vallon"), 1, QStringLiteral("T"), 5, QStringLiteral("2026-03-20"));
        QCOMPARE(statements(), few);
    }

    void zeroCostContractorOnlyWhenAsked()
    {
        f.contractorCase();
        // 40 characters, an apostrophe: kept whole
        const QString name = QStringLiteral("Débardages de l'Yonne et de la Cure SARL");
        QCOMPARE(name.size(), 40);
        f.contractor(name, QStringLiteral("DEBARDAGE"));
        f.action(QStringLiteral("liste_action_liv"), QStringLiteral("inc_cde"), 701, name, 3, QStringLiteral("T"), 0,
                 QStringLiteral("2026-03-20"));
        QCOMPARE(costs().contractors.rowCount(), 2);
        const ContractorCosts withZero = costs(QString(), true);
        QCOMPARE(withZero.contractors.rowCount(), 3);
        QCOMPARE(cell(withZero.contractors, QStringLiteral("societe"), name, QStringLiteral("total")).toDouble(), 0.0);
        auto detail = readContractorDetail(f.db, name);
        QVERIFY(detail);
        QVERIFY(detail->actions.isEmpty());
    }

    void settlingEveryTable()
    {
        f.contractorCase();
        (void)costs();
        QVERIFY(settleContractorActions(f.db, QStringLiteral("Transports Vallon")));
        for (const char *table : {"liste_action_cde", "liste_action_transfert", "liste_action_liv"})
            QCOMPARE(f.count(QStringLiteral("select count(*) from ") + QLatin1String(table) +
                             QStringLiteral(" where I_nom='Transports Vallon' and fac_fournisseur='OUI'")),
                     1);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_liv where fac_fournisseur='OUI'")), 1);
        auto detail = readContractorDetail(f.db, QStringLiteral("Transports Vallon"));
        QVERIFY(detail);
        for (int r = 0; r < detail->actions.rowCount(); ++r)
            QCOMPARE(detail->actions.value(r, QStringLiteral("fac_fournisseur")).toString(), QStringLiteral("OUI"));
    }

    void settlingOneRowAndARowDeletedElsewhere()
    {
        f.contractorCase();
        (void)costs();
        const int lotWork = f.value(QStringLiteral("select inc from intervention")).toInt();
        QVERIFY(settleContractorActions(f.db, QStringLiteral("ETF Combe"), ActionRef{lotWorkKind(), lotWork}));
        QCOMPARE(f.value(QStringLiteral("select fac_fournisseur from intervention")).toString(), QStringLiteral("OUI"));

        f.run(QStringLiteral("delete from liste_action_transfert"));
        const Status refused = settleContractorActions(f.db, QStringLiteral("Transports Vallon"));
        QVERIFY(!refused);
        QVERIFY(refused.error().is(ErrorKind::NotFound));
        QVERIFY2(refused.error().message.contains(QStringLiteral("TRANSFERT")), qPrintable(refused.error().message));
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_cde where fac_fournisseur='OUI'")), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_liv where fac_fournisseur='OUI'")), 0);
    }

    void cvoLots()
    {
        f.run(QStringLiteral(
            "insert into coupe (n_lot, nom, cvo, date_achat) values "
            "(1, 'Bois de l''Abbaye', 120.40, '2026-03-01'), (2, 'Bois de l''Abbaye', 80.70, '2026-03-31'), "
            "(3, 'Bois de l''Abbaye', 0, '2026-03-10'), (4, 'Bois de l''Abbaye', null, '2026-03-10'), "
            "(5, 'Forêt Durand', 50, '2026-03-10')"));
        auto lots = readCvo(f.db, cvoQuery(start, end, QStringLiteral("l'abb")));
        QVERIFY(lots);
        QCOMPARE(lots->rowCount(), 2);
        QCOMPARE(lots->value(0, QStringLiteral("N_lot")).toInt(), 1);
    }

    void weighingPlaces()
    {
        const QString yonne = QStringLiteral("Bascule de l'Yonne");
        for (int i = 0; i < 5; ++i)
            f.delivery(540 + i, i == 0 ? QStringLiteral("PREVISION") : QStringLiteral("VENTE"), QStringLiteral("X"), 10,
                       1, 0, i == 1 ? QStringLiteral("2026-03-31 17:30:00") : QStringLiteral("2026-03-10 08:00:00"));
        f.run(QStringLiteral("update livraison set lieu_pesage=? where inc in (540, 541, 542)"), {yonne});
        f.run(QStringLiteral("update livraison set lieu_pesage='' where inc=543"));
        auto places = readWeighingPlaces(f.db, start, end);
        QVERIFY(places);
        QCOMPARE(places->rowCount(), 2);
        QCOMPARE(places->value(0, QStringLiteral("lieu_pesage")).toString(), QString());
        QCOMPARE(places->value(0, QStringLiteral("nb")).toInt(), 1);
        QCOMPARE(places->value(1, QStringLiteral("nb")).toInt(), 3);
        const PagedQuery q = weighingPlaceDeliveriesQuery(yonne, start, end);
        QCOMPARE(f.count(QStringLiteral("select count(*) from ") + q.from + QStringLiteral(" where ") + q.where,
                         {q.values[0], q.values[1], q.values[2]}),
                 3);
    }

    void pefcShare_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("shown");
        // today 15/11/2026: column 0 is December 2025
        QTest::newRow("heading") << 0 << 0 << QStringLiteral("déc. 25");
        QTest::newRow("dec bought") << 2 << 0 << QStringLiteral("100,00");
        QTest::newRow("dec pefc bought") << 3 << 0 << QStringLiteral("40,00");
        QTest::newRow("dec share") << 4 << 0 << QStringLiteral("40%");
        QTest::newRow("dec theoretical") << 11 << 0 << QStringLiteral("12,00");
        QTest::newRow("dec sold share") << 13 << 0 << QStringLiteral("33%");
        QTest::newRow("dec credit") << 14 << 0 << QStringLiteral("30,00");
        QTest::newRow("jan bought") << 2 << 1 << QStringLiteral("0");
        QTest::newRow("jan theoretical") << 11 << 1 << QStringLiteral("8,00");
        QTest::newRow("jan credit") << 14 << 1 << QStringLiteral("-15,00");
        QTest::newRow("jan cumulated credit") << 15 << 1 << QStringLiteral("15,00");
        QTest::newRow("feb share") << 4 << 2 << QStringLiteral("0%");
        QTest::newRow("feb sliding share") << 8 << 2 << QStringLiteral("27%");
    }
    void pefcShare()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, shown);
        f.run(QStringLiteral("insert into coupe (n_lot) values (10), (11)"));
        f.run(QStringLiteral("insert into proprietaire (N_lot, nom, pefc, date_achat) values "
                             "(10, 'Durand', 'PEFC-10', '2025-12-01'), (10, 'Martin', '', '2025-12-20'), "
                             "(11, 'Roux', null, '2026-02-03')"));
        f.run(QStringLiteral("insert into proprietaire_essence (N_lot, nom, m3_reel) values "
                             "(10, 'Durand', 40), (10, 'Martin', 60), (11, 'Roux', 50)"));
        f.run(
            QStringLiteral("insert into livraison (inc, operation, qte_defaut_totale, qte_defaut_pefc, date_livraison) "
                           "values (1, 'VENTE', 30, 10, '2025-12-10 10:00:00'), "
                           "(2, 'PREVISION', 20, 15, '2026-01-10 10:00:00')"));
        const QDate today(2026, 11, 15);
        auto months = readPefcMonths(f.db, pefcPeriod(today));
        QVERIFY(months);
        const PefcTable table = pefcTable(*months, today);
        QCOMPARE(table.cells[row][column], shown);
    }

    void pefcWithoutPurchases()
    {
        const QDate today(2026, 11, 15);
        PefcMonths none;
        none.sales = DataTable({QStringLiteral("total_m3"), QStringLiteral("total_m3_pefc"),
                                QStringLiteral("pourcent_pefc"), QStringLiteral("y1"), QStringLiteral("m1")});
        none.sales.addRow({30, 10, 33.33, 2025, 12});
        const PefcTable table = pefcTable(none, today);
        QCOMPARE(table.cells[8][0], QStringLiteral("0"));
        QCOMPARE(table.cells[11][0], QStringLiteral("0"));
        QCOMPARE(table.cells[10][0], QStringLiteral("30,00"));
    }
};

QTEST_GUILESS_MAIN(TestAnalyses)
#include "tst_analyses.moc"
