#include "appcontext.h"
#include "costprice.h"
#include "costpricetab.h"
#include "scripteddialogs.h"
#include "sql.h"
#include "testdb.h"
#include "ui_costpricetab.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace ravelin;

class TestCostPrice : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;

    void run(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto done = execute(m_db, sql, values);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
    }
    QVariant value(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto v = scalar(m_db, sql, values);
        if (!v) qWarning() << v.error().fullText();
        return v ? *v : QVariant();
    }
    int volumeLine(int nLot, double qte, const QVariant &finPied, const QVariant &finAbattage, double qteLivree,
                   double qteDefaut, double qteLivreeDefaut)
    {
        QSqlQuery q(m_db);
        q.prepare(
            QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
                           "qte, fin_pied, fin_abattage, qte_livree, qte_defaut, qte_livree_defaut) "
                           "values (?, 1, 'VOLUME', 'Chêne', 'A', 'm3', 'm3', ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &v : QVariantList{nLot, qte, finPied, finAbattage, qteLivree, qteDefaut, qteLivreeDefaut})
            q.addBindValue(v);
        if (!q.exec()) qWarning() << q.lastError().text();
        return q.lastInsertId().toInt();
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        m_context.db = m_db;
        m_context.dialogs = &m_dialogs;
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("update perso set unite_defaut = 'T'")));
        QVERIFY(q.exec(QStringLiteral("select * from perso")));
        QVERIFY(q.next());
        m_context.settings = q.record();
    }

    void init()
    {
        m_dialogs.clear();
        for (const char *table : {"coupe", "grume", "intervention", "livraison", "liste_action_liv", "liste_action_cde",
                                  "liste_grume_cde", "liste_action_transfert"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral(
            "insert into coupe (n_lot, indice_lot, groupe_essence, coupe_fini, prix_achat, abattage_cout, "
            "debardage_cout, remise_etat_cout) values (40, 1, 'NON', 'NON', 12000, 500, NULL, 25)"));
    }

    void woodStateRules_data()
    {
        QTest::addColumn<double>("qte");
        QTest::addColumn<QVariant>("finPied");
        QTest::addColumn<QVariant>("finAbattage");
        QTest::addColumn<double>("delivered");
        QTest::addColumn<QList<double>>("expected"); // standing, felled, skidded
        QTest::newRow("felled and skidded")
            << 100.0 << QVariant(60) << QVariant(25) << 10.0 << QList<double>{40, 35, 15};
        QTest::newRow("more skidded than felled")
            << 100.0 << QVariant(20) << QVariant(50) << 10.0 << QList<double>{80, 0, 40};
        QTest::newRow("more gone than skidded")
            << 100.0 << QVariant(100) << QVariant(10) << 30.0 << QList<double>{0, 90, -20};
        QTest::newRow("empty percentages") << 100.0 << QVariant() << QVariant() << 0.0 << QList<double>{100, 0, 0};
        QTest::newRow("rounded") << 33.333 << QVariant(50) << QVariant(25) << 0.0 << QList<double>{16.67, 8.33, 8.33};
    }
    void woodStateRules()
    {
        QFETCH(double, qte);
        QFETCH(QVariant, finPied);
        QFETCH(QVariant, finAbattage);
        QFETCH(double, delivered);
        QFETCH(QList<double>, expected);
        const auto opt = [](const QVariant &v) {
            return v.isValid() ? std::optional<double>(v.toDouble()) : std::nullopt;
        };
        const WoodState w = woodState(qte, opt(finPied), opt(finAbattage), delivered);
        QCOMPARE(w.surPied, expected[0]);
        QCOMPARE(w.abattage, expected[1]);
        QCOMPARE(w.debardage, expected[2]);

        // The same through the database, empty percentages written as 0.
        const int line = volumeLine(40, qte, finPied, finAbattage, delivered, qte, delivered);
        const auto totals = computeWoodState(m_db, 40);
        QVERIFY2(totals, qPrintable(totals.ok() ? QString() : totals.error().fullText()));
        QCOMPARE(value(QStringLiteral("select sur_pied from grume where inc = ?"), {line}).toDouble(), expected[0]);
        QCOMPARE(value(QStringLiteral("select abattage from grume where inc = ?"), {line}).toDouble(), expected[1]);
        QCOMPARE(value(QStringLiteral("select debardage from grume where inc = ?"), {line}).toDouble(), expected[2]);
        QVERIFY(!value(QStringLiteral("select fin_pied from grume where inc = ?"), {line}).isNull());
        QVERIFY(!value(QStringLiteral("select fin_abattage from grume where inc = ?"), {line}).isNull());
    }

    void lotTotals()
    {
        volumeLine(40, 100, 100, 50, 40, 80, 32.0004);
        volumeLine(40, 10, 0, 0, 0, 12.5, 0);
        run(QStringLiteral("insert into grume (N_lot, descriptif, m3) values (40, 'GRUME', 3)"));
        const auto totals = computeWoodState(m_db, 40);
        QVERIFY(totals);
        QCOMPARE(totals->total, 92.5);
        QCOMPARE(totals->delivered, 32.0);
        QCOMPARE(totals->available, 60.5);
        // Written at once: the estimation and the cost total (purchase + deposit + other lot costs).
        QCOMPARE(value(QStringLiteral("select estimation from coupe where n_lot = 40")).toDouble(), 92.5);
        QCOMPARE(value(QStringLiteral("select cout_total from coupe where n_lot = 40")).toDouble(), 12525.0);
        const auto read = readLotTotals(m_db, 40);
        QVERIFY(read);
        QCOMPARE(read->total, 92.5);
        // A lot without lines.
        run(QStringLiteral("delete from grume"));
        const auto none = updateLotTotals(m_db, 40);
        QVERIFY(none);
        QCOMPARE(none->total, 0.0);
        QCOMPARE(value(QStringLiteral("select estimation from coupe where n_lot = 40")).toDouble(), 0.0);
    }

    void figures_data()
    {
        QTest::addColumn<double>("costs");
        QTest::addColumn<double>("sales");
        QTest::addColumn<double>("sold");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QVariant>("percent");
        QTest::addColumn<QVariant>("costPrice");
        QTest::addColumn<QVariant>("marginPerUnit");
        QTest::newRow("sold with a margin")
            << 12000.0 << 15000.0 << 600.0 << 3000.0 << QVariant(20.0) << QVariant(20.0) << QVariant(5.0);
        QTest::newRow("sold at a loss") << 12000.0 << 10000.0 << 500.0 << -2000.0 << QVariant(-20.0) << QVariant(24.0)
                                        << QVariant(-4.0);
        QTest::newRow("nothing sold") << 12000.0 << 0.0 << 0.0 << -12000.0 << QVariant() << QVariant() << QVariant();
        QTest::newRow("sold for nothing")
            << 100.0 << 0.0 << 10.0 << -100.0 << QVariant() << QVariant(10.0) << QVariant(-10.0);
    }
    void figures()
    {
        QFETCH(double, costs);
        QFETCH(double, sales);
        QFETCH(double, sold);
        QFETCH(double, margin);
        QFETCH(QVariant, percent);
        QFETCH(QVariant, costPrice);
        QFETCH(QVariant, marginPerUnit);
        CostPriceSums sums;
        sums.achat = costs;
        sums.venteGrume = sales;
        sums.qteGrume = sold;
        const CostPrice p = ravelin::costPrice(sums);
        QCOMPARE(p.totalCouts, costs);
        QCOMPARE(p.marge, margin);
        QCOMPARE(p.margePourcent.has_value(), percent.isValid());
        if (percent.isValid()) QCOMPARE(*p.margePourcent, percent.toDouble());
        QCOMPARE(p.prixRevient.has_value(), costPrice.isValid());
        if (costPrice.isValid()) QCOMPARE(*p.prixRevient, costPrice.toDouble());
        QCOMPARE(p.margeParUnite.has_value(), marginPerUnit.isValid());
        if (marginPerUnit.isValid()) QCOMPARE(*p.margeParUnite, marginPerUnit.toDouble());
    }

    void sumsOfTheLot()
    {
        run(QStringLiteral("insert into intervention (N_lot, type1, qte_action, prix_unit_action, i_cout) values "
                           "(40, 'ABATTAGE', 120, 8.5, 1), (40, 'ABATTAGE', 10, 2, 1), (40, 'DEBARDAGE', 100, 3, 1), "
                           "(40, 'BROYAGE', 2, 50, 1), (40, 'TRANSPORT', 1, 25, 1), (41, 'ABATTAGE', 1000, 1, 1)"));
        run(QStringLiteral("insert into livraison (inc, creation, n_lot, prix_total, qte_defaut_totale) values "
                           "(1, 0, 40, 2000, 50), (2, 0, 40, 1000, 30), (3, 0, 41, 99999, 99)"));
        run(QStringLiteral("insert into liste_action_liv (inc_cde, i_cout) values (1, 150), (2, 50), (3, 7777)"));
        run(QStringLiteral("insert into liste_action_cde (n_lot, i_cout) values ('40', 300), ('41', 8888)"));
        run(QStringLiteral("insert into liste_grume_cde (n_lot, prix_total, qte_defaut) values ('40', 9000, 200), "
                           "('40', 3000, 120), ('41', 1, 1)"));
        run(QStringLiteral("insert into liste_action_transfert (n_lot, i_cout) values ('40', 100)"));
        const auto read = readCostPrice(m_db, 40);
        QVERIFY2(read, qPrintable(read.ok() ? QString() : read.error().fullText()));
        const CostPrice &p = *read;
        QCOMPARE(p.sums.achat, 12000.0);
        QCOMPARE(p.sums.abattage, 1040.0);
        QCOMPARE(p.sums.debardage, 300.0);
        QCOMPARE(p.sums.autre, 125.0);
        QCOMPARE(p.totalCoupe, 13465.0);
        QCOMPARE(p.sums.ventePlaquette, 3000.0);
        QCOMPARE(p.sums.qtePlaquette, 80.0);
        QCOMPARE(p.sums.livraisonPlaquette, 200.0);
        QCOMPARE(p.sums.livraisonGrume, 300.0);
        QCOMPARE(p.sums.venteGrume, 12000.0);
        QCOMPARE(p.sums.qteGrume, 320.0);
        QCOMPARE(p.sums.transfert, 100.0);
        QCOMPARE(p.totalCouts, 14065.0);
        QCOMPARE(p.totalVentes, 15000.0);
        QCOMPARE(p.totalQte, 400.0);
        QCOMPARE(p.marge, 935.0);
    }

    void tab()
    {
        CostPriceTab tab(m_context, 40);
        auto *ui = tab.ui();
        QCOMPARE(ui->Label_marge_unite->text(), QStringLiteral("Marge / T"));
        QCOMPARE(ui->Unite_Prix_revient->text(), QStringLiteral("€ / T"));
        // Nothing sold: the costs show, the divisions leave their boxes as they were.
        ui->Marge_pourcent->setText(QStringLiteral("avant"));
        ui->Prix_revient->setText(QStringLiteral("avant"));
        ui->Marge_unite->setText(QStringLiteral("avant"));
        tab.refresh();
        QCOMPARE(ui->Cout_achat->text(), QStringLiteral("12000,00"));
        QCOMPARE(ui->Total_couts->text(), QStringLiteral("12000,00"));
        QCOMPARE(ui->Total_marge->text(), QStringLiteral("-12000,00"));
        QVERIFY(ui->Total_marge->styleSheet().contains(QStringLiteral("#FF0000")));
        QCOMPARE(ui->Marge_pourcent->text(), QStringLiteral("avant"));
        QCOMPARE(ui->Prix_revient->text(), QStringLiteral("avant"));
        QCOMPARE(ui->Marge_unite->text(), QStringLiteral("avant"));

        // 12000 of costs, 15000 of sales for 600 units.
        run(QStringLiteral("insert into liste_grume_cde (n_lot, prix_total, qte_defaut) values ('40', 15000, 600)"));
        tab.refresh();
        QCOMPARE(ui->Total_ventes->text(), QStringLiteral("15000,00"));
        QCOMPARE(ui->Total_qte_vendue->text(), QStringLiteral("600,00"));
        QCOMPARE(ui->Total_marge->text(), QStringLiteral("3000,00"));
        QVERIFY(ui->Total_marge->styleSheet().contains(QStringLiteral("#000000")));
        QCOMPARE(ui->Marge_pourcent->text(), QStringLiteral("20"));
        QCOMPARE(ui->Prix_revient->text(), QStringLiteral("20,00"));
        QCOMPARE(ui->Marge_unite->text(), QStringLiteral("5,00"));
        QVERIFY(m_dialogs.shown().isEmpty());
        // Nothing is written.
        QVERIFY(value(QStringLiteral("select cout_total from coupe where n_lot = 40")).isNull());
    }
};

QTEST_MAIN(TestCostPrice)
#include "tst_costprice.moc"
