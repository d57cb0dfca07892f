#include "formats.h"
#include "lotrecompute.h"
#include "sql.h"
#include "testdb.h"

#include <QSqlQuery>
#include <QTest>

using namespace ravelin;

class TestLotRecompute : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;

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
    void lot(int nLot, const QString &grouping)
    {
        run(QStringLiteral("insert into coupe (n_lot, indice_lot, groupe_essence, coupe_fini, lieu, type_achat) "
                           "values (?, 1, ?, 'NON', 'Ussel', 'SUR PIEDS')"),
            {nLot, grouping});
    }
    void ownerLine(int nLot, const QString &nom, const QString &essence, const QString &qualite, const QString &unite,
                   const QVariant &qteReel)
    {
        run(QStringLiteral(
                "insert into proprietaire_essence (N_lot, indice_lot, nom, essence, qualite, unite, unite_defaut, "
                "qte, qte_reel, qte_defaut) values (?, 1, ?, ?, ?, ?, 'm3', ?, ?, ?)"),
            {nLot, nom, essence, qualite, unite, qteReel, qteReel, qteReel});
    }
    int volumeLine(int nLot, const QString &essence, double qte, const QString &unite = QStringLiteral("m3"),
                   const QVariant &finPied = QVariant(), const QVariant &finAbattage = QVariant())
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral(
            "insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
            "qte, qte_defaut, fin_pied, fin_abattage) values (?, 1, 'VOLUME', ?, 'A', ?, 'm3', ?, ?, ?, ?)"));
        for (const QVariant &v : QVariantList{nLot, essence, unite, qte, qte, finPied, finAbattage}) q.addBindValue(v);
        if (!q.exec()) qWarning() << q.lastError().text();
        return q.lastInsertId().toInt();
    }
    // Sums in the default unit, as orders, deliveries and transfers store them.
    void soldFromLot(int nLot, int id, double qte, const QString &depart = QStringLiteral("COUPE"))
    {
        run(QStringLiteral("insert into liste_grume_cde (n_lot, id, descriptif, choix_depart, qte_defaut) "
                           "values (?, ?, 'VOLUME', ?, ?)"),
            {QString::number(nLot), id, depart, qte});
    }
    void chips(int inc, int nLot, int id, double qte)
    {
        run(QStringLiteral(
                "insert into livraison (inc, creation, n_lot, id, qte_defaut_totale) values (?, 0, ?, ?, ?)"),
            {inc, nLot, id, qte});
    }
    void transferred(int nLot, int id, double qte)
    {
        run(QStringLiteral("insert into liste_grume_transfert (type_transfert, depart, id, qte_defaut) "
                           "values ('COUPE', ?, ?, ?)"),
            {QString::number(nLot), id, qte});
    }
    int questions()
    {
        QSqlQuery q(m_db);
        q.exec(QStringLiteral("show session status like 'Questions'"));
        q.next();
        return q.value(1).toInt();
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        QVERIFY(m_db.isOpen());
    }

    void init()
    {
        for (const char *table : {"coupe", "grume", "proprietaire", "proprietaire_essence", "liste_grume_cde",
                                  "livraison", "liste_grume_transfert", "intervention", "essence"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("update perso set unite_defaut = 'm3'"));
        run(QStringLiteral(
            "insert into essence (essence, m3, T, Stere) values ('Chêne', 1, 0.8, 1.5), ('Hêtre', 1, 0.9, 1.4)"));
    }

    void rebuild_data()
    {
        QTest::addColumn<QString>("grouping");
        QTest::addColumn<QVariantList>("rows"); // owner, quantity, all Chêne / A / m3
        QTest::addColumn<double>("expected");
        QTest::newRow("grouped") << "OUI" << QVariantList{"Martin", 10.0, "Durand", 10.0} << 20.0;
        QTest::newRow("not grouped") << "NON" << QVariantList{"Martin", 10.0, "Durand", 10.0} << 10.0;
        QTest::newRow("not grouped, last owner by name wins")
            << "NON" << QVariantList{"Bernard", 7.0, "Alain", 12.0} << 7.0;
        QTest::newRow("not grouped, read order does not matter")
            << "NON" << QVariantList{"Alain", 12.0, "Bernard", 7.0} << 7.0;
        QTest::newRow("not grouped, a zero line does not win")
            << "NON" << QVariantList{"Alain", 12.0, "Zoé", 0.0} << 12.0;
        QTest::newRow("grouped, names compared as the database does")
            << "OUI" << QVariantList{"Martin", 4.0, "Durand", 6.5} << 10.5;
    }
    void rebuild()
    {
        QFETCH(QString, grouping);
        QFETCH(QVariantList, rows);
        QFETCH(double, expected);
        lot(12, grouping);
        for (int i = 0; i < rows.size(); i += 2)
            ownerLine(12, rows[i].toString(),
                      i == 2 && QString(QTest::currentDataTag()).contains("compared") ? QStringLiteral("CHENE ")
                                                                                      : QStringLiteral("Chêne"),
                      QStringLiteral("A"), QStringLiteral("m3"), rows[i + 1]);
        const Status done = recomputeLot(m_db, 12, Rebuild::Yes);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 12 and descriptif = 'VOLUME'")).toInt(),
                 1);
        QCOMPARE(value(QStringLiteral("select qte from grume where N_lot = 12")).toDouble(), expected);
        QCOMPARE(value(QStringLiteral("select qte_defaut from grume where N_lot = 12")).toDouble(), expected);
        QCOMPARE(value(QStringLiteral("select tonne from grume where N_lot = 12")).toDouble(), round2(expected * 0.8));
        QCOMPARE(value(QStringLiteral("select stere from grume where N_lot = 12")).toDouble(), round2(expected * 1.5));
        QCOMPARE(value(QStringLiteral("select lieu from grume where N_lot = 12")).toString(), QStringLiteral("Ussel"));
        QCOMPARE(value(QStringLiteral("select unite_defaut from grume where N_lot = 12")).toString(),
                 QStringLiteral("m3"));
        QCOMPARE(value(QStringLiteral("select date_creation from grume where N_lot = 12")).toDate(),
                 QDate::currentDate());
        // A second run finds the line again instead of adding one.
        QVERIFY(recomputeLot(m_db, 12, Rebuild::Yes));
        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 12")).toInt(), 1);
    }

    void rebuildConvertsFromTheLineUnit()
    {
        lot(5, QStringLiteral("NON"));
        ownerLine(5, QStringLiteral("Martin"), QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("T"), 10.0);
        QVERIFY(recomputeLot(m_db, 5, Rebuild::Yes));
        QCOMPARE(value(QStringLiteral("select qte from grume where N_lot = 5")).toDouble(), 10.0);
        QCOMPARE(value(QStringLiteral("select unite from grume where N_lot = 5")).toString(), QStringLiteral("T"));
        QCOMPARE(value(QStringLiteral("select m3 from grume where N_lot = 5")).toDouble(), 12.5);
        QCOMPARE(value(QStringLiteral("select qte_defaut from grume where N_lot = 5")).toDouble(), 12.5);
        QCOMPARE(value(QStringLiteral("select stere from grume where N_lot = 5")).toDouble(), 18.75);
    }

    void zeroLinesGo()
    {
        lot(7, QStringLiteral("NON"));
        ownerLine(7, QStringLiteral("Martin"), QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"),
                  10.0);
        ownerLine(7, QStringLiteral("Martin"), QStringLiteral("Hêtre"), QStringLiteral("A"), QStringLiteral("m3"), 4.0);
        QVERIFY(recomputeLot(m_db, 7, Rebuild::Yes));
        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 7")).toInt(), 2);
        run(QStringLiteral(
            "update proprietaire_essence set qte = 0, qte_reel = 0, qte_defaut = 0 where essence = 'Hêtre'"));
        QVERIFY(recomputeLot(m_db, 7, Rebuild::Yes));
        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 7")).toInt(), 1);
        QCOMPARE(value(QStringLiteral("select essence from grume where N_lot = 7")).toString(),
                 QStringLiteral("Chêne"));
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire_essence where N_lot = 7")).toInt(), 1);
    }

    void referencedZeroLineIsKept_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::newRow("order line") << "insert into liste_grume_cde (n_lot, id, descriptif, choix_depart, qte_defaut) "
                                       "values ('8', %1, 'VOLUME', 'COUPE', 0)";
        QTest::newRow("chip delivery")
            << "insert into livraison (inc, creation, n_lot, id, qte_defaut_totale) values (900, 0, 8, %1, 0)";
        QTest::newRow("transfer line") << "insert into liste_grume_transfert (type_transfert, depart, id, qte_defaut) "
                                          "values ('COUPE', '8', %1, 0)";
        QTest::newRow("work row")
            << "insert into intervention (N_lot, id, type1, i_cout) values (8, %1, 'ABATTAGE', 100)";
    }
    void referencedZeroLineIsKept()
    {
        QFETCH(QString, reference);
        lot(8, QStringLiteral("NON"));
        ownerLine(8, QStringLiteral("Martin"), QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"),
                  10.0);
        QVERIFY(recomputeLot(m_db, 8, Rebuild::Yes));
        const int line = value(QStringLiteral("select inc from grume where N_lot = 8")).toInt();
        run(reference.arg(line));
        run(QStringLiteral("update proprietaire_essence set qte = 0, qte_reel = 0, qte_defaut = 0"));
        QVERIFY(recomputeLot(m_db, 8, Rebuild::Yes));
        QCOMPARE(value(QStringLiteral("select count(*) from grume where inc = ?"), {line}).toInt(), 1);
        QCOMPARE(value(QStringLiteral("select qte from grume where inc = ?"), {line}).toDouble(), 0.0);
        // The owner's line at zero goes all the same.
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire_essence where N_lot = 8")).toInt(), 0);
    }

    void missingLot()
    {
        const Status done = recomputeLot(m_db, 404, Rebuild::Yes);
        QVERIFY(!done);
        QCOMPARE(done.error().message, QStringLiteral(" Coupe \"404\" inexistante"));
        // Without the rebuild there is nothing to do and nothing to report.
        QVERIFY(recomputeLot(m_db, 404, Rebuild::No));
    }

    void lineSums_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("c");
        QTest::addColumn<double>("d");
        QTest::addColumn<QVariant>("finPied");
        QTest::addColumn<QVariant>("finAbattage");
        QTest::addColumn<QList<double>>("expected");
        // qte_livree, broyage_reel, volume_livre, volume_livre_stock, volume_transfert, sur_pied, abattage, debardage
        QTest::newRow("all roads") << 10.0 << 5.0 << 30.0 << 12.0 << QVariant(100) << QVariant(80)
                                   << QList<double>{45, 5, 10, 12, 18, 0, 20, 35};
        QTest::newRow("more sold from stock than moved there")
            << 0.0 << 0.0 << 5.0 << 8.0 << QVariant(100) << QVariant(100) << QList<double>{5, 0, 0, 8, 0, 0, 0, 92};
        QTest::newRow("empty percentages count as 0")
            << 0.0 << 0.0 << 0.0 << 0.0 << QVariant() << QVariant() << QList<double>{0, 0, 0, 0, 0, 100, 0, 0};
        QTest::newRow("more skidded than felled")
            << 0.0 << 0.0 << 0.0 << 0.0 << QVariant(20) << QVariant(50) << QList<double>{0, 0, 0, 0, 0, 80, 0, 50};
    }
    void lineSums()
    {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, c);
        QFETCH(double, d);
        QFETCH(QVariant, finPied);
        QFETCH(QVariant, finAbattage);
        QFETCH(QList<double>, expected);
        lot(20, QStringLiteral("NON"));
        const int line = volumeLine(20, QStringLiteral("Chêne"), 100, QStringLiteral("m3"), finPied, finAbattage);
        const int other = volumeLine(20, QStringLiteral("Hêtre"), 50);
        if (a != 0) {
            soldFromLot(20, line, a - 4);
            soldFromLot(20, line, 4);
        }
        if (b != 0) chips(1, 20, line, b);
        if (c != 0) transferred(20, line, c);
        if (d != 0) soldFromLot(20, line, d, QStringLiteral("STOCK"));
        // Another lot's rows with the same line number and the other line's rows count for nothing here.
        soldFromLot(21, line, 1000);
        soldFromLot(20, other, 3);
        const Status done = recomputeLot(m_db, 20);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
        QSqlQuery q(m_db);
        QVERIFY(q.exec(
            QStringLiteral("select qte_livree, broyage_reel, volume_livre, volume_livre_stock, volume_transfert, "
                           "sur_pied, abattage, debardage, qte_livree_defaut, fin_pied, fin_abattage "
                           "from grume where inc = %1")
                .arg(line)));
        QVERIFY(q.next());
        for (int i = 0; i < expected.size(); ++i) QCOMPARE(q.value(i).toDouble(), expected[i]);
        QCOMPARE(q.value(8).toDouble(), expected[0]);
        QVERIFY(!q.value(9).isNull());
        QVERIFY(!q.value(10).isNull());
        // The other line starts from 0: nothing of the first one carries over.
        QCOMPARE(value(QStringLiteral("select qte_livree from grume where inc = ?"), {other}).toDouble(), 3.0);
        QCOMPARE(value(QStringLiteral("select broyage_reel from grume where inc = ?"), {other}).toDouble(), 0.0);
    }

    void sumsAreConvertedIntoTheLineUnit()
    {
        lot(30, QStringLiteral("NON"));
        const int line = volumeLine(30, QStringLiteral("Chêne"), 100, QStringLiteral("T"), 100, 100);
        run(QStringLiteral("update grume set qte_defaut = 125 where inc = ?"), {line});
        soldFromLot(30, line, 12.5); // m3
        QVERIFY(recomputeLot(m_db, 30));
        QCOMPARE(value(QStringLiteral("select volume_livre from grume where inc = ?"), {line}).toDouble(), 10.0);
        QCOMPARE(value(QStringLiteral("select qte_livree from grume where inc = ?"), {line}).toDouble(), 10.0);
        QCOMPARE(value(QStringLiteral("select qte_livree_defaut from grume where inc = ?"), {line}).toDouble(), 12.5);
        QCOMPARE(value(QStringLiteral("select debardage from grume where inc = ?"), {line}).toDouble(), 90.0);
    }

    void statementsDoNotGrowWithTheSources()
    {
        lot(40, QStringLiteral("OUI"));
        lot(41, QStringLiteral("OUI"));
        for (int n : {40, 41}) {
            ownerLine(n, QStringLiteral("Martin"), QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"),
                      100.0);
            ownerLine(n, QStringLiteral("Martin"), QStringLiteral("Hêtre"), QStringLiteral("A"), QStringLiteral("T"),
                      80.0);
            QVERIFY(recomputeLot(m_db, n, Rebuild::Yes));
        }
        const auto linesOf = [&](int n) {
            QList<int> lines;
            QSqlQuery q(m_db);
            q.exec(QStringLiteral("select inc from grume where N_lot = %1").arg(n));
            while (q.next()) lines << q.value(0).toInt();
            return lines;
        };
        int chipInc = 100;
        for (int line : linesOf(40)) {
            soldFromLot(40, line, 1);
            chips(chipInc++, 40, line, 1);
        }
        for (int line : linesOf(41))
            for (int i = 0; i < 60; ++i) {
                soldFromLot(41, line, 0.5);
                soldFromLot(41, line, 0.25, QStringLiteral("STOCK"));
                chips(chipInc++, 41, line, 0.1);
                transferred(41, line, 0.5);
            }
        const auto count = [&](int n, Rebuild rebuild) {
            const int before = questions();
            const Status done = recomputeLot(m_db, n, rebuild);
            if (!done) qWarning() << done.error().fullText();
            return questions() - before;
        };
        QCOMPARE(count(41, Rebuild::No), count(40, Rebuild::No));
        QCOMPARE(count(41, Rebuild::Yes), count(40, Rebuild::Yes));
        const int sent = count(41, Rebuild::Yes);
        QVERIFY2(sent >= 5 && sent <= 14, qPrintable(QString::number(sent)));
        QCOMPARE(value(QStringLiteral("select sum(qte_livree_defaut) from grume where N_lot = 41")).toDouble(),
                 round2(2 * 60 * (0.5 + 0.1 + 0.5)));
    }

    void lotIsLockedForTheRun()
    {
        lot(50, QStringLiteral("NON"));
        ownerLine(50, QStringLiteral("Martin"), QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"),
                  10.0);
        QSqlDatabase other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("second"));
        QVERIFY(other.isOpen());
        {
            QSqlQuery q(other);
            QVERIFY(q.exec(QStringLiteral("set session innodb_lock_wait_timeout = 1")));
            QVERIFY(other.transaction());
            QVERIFY(q.exec(QStringLiteral("select * from coupe where n_lot = 50 for update")));
        }
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("set session innodb_lock_wait_timeout = 1")));
        const Status blocked = recomputeLot(m_db, 50, Rebuild::Yes);
        QVERIFY(!blocked);
        QCOMPARE(blocked.error().nativeCode, 1205);
        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 50")).toInt(), 0);
        other.rollback();
        QVERIFY(recomputeLot(m_db, 50, Rebuild::Yes));
        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 50")).toInt(), 1);
        QVERIFY(q.exec(QStringLiteral("set session innodb_lock_wait_timeout = 15")));
    }

    void progressText()
    {
        lot(60, QStringLiteral("NON"));
        QStringList seen;
        const auto previous = setRecomputeProgressHandler([&](const QString &t) { seen << t; });
        QVERIFY(recomputeLot(m_db, QVariant(QStringLiteral(" 60 "))));
        QVERIFY(recomputeLot(m_db, QVariant(QString())));
        QVERIFY(recomputeLot(m_db, QVariant(QStringLiteral("abc"))));
        QVERIFY(recomputeLot(m_db, QVariant(0)));
        QVERIFY(!recomputeLot(m_db, 61, Rebuild::Yes));
        setRecomputeProgressHandler(previous);
        QCOMPARE(seen, QStringList({QStringLiteral("Mise à jour Coupe de bois n° 60 en cours ..."), QString(),
                                    QStringLiteral("Mise à jour Coupe de bois n° 61 en cours ..."), QString()}));
    }

    void severalLots()
    {
        lot(70, QStringLiteral("NON"));
        lot(71, QStringLiteral("NON"));
        const int a = volumeLine(70, QStringLiteral("Chêne"), 10);
        const int b = volumeLine(71, QStringLiteral("Chêne"), 10);
        soldFromLot(70, a, 2);
        soldFromLot(71, b, 3);
        QVERIFY(recomputeLots(m_db, {71, 70, 71, 0}));
        QCOMPARE(value(QStringLiteral("select qte_livree from grume where inc = ?"), {a}).toDouble(), 2.0);
        QCOMPARE(value(QStringLiteral("select qte_livree from grume where inc = ?"), {b}).toDouble(), 3.0);
    }

    void chartData()
    {
        lot(80, QStringLiteral("NON"));
        run(QStringLiteral("update coupe set commentaire = 'Accès par la piste\nAttention pente' where n_lot = 80"));
        const int line = volumeLine(80, QStringLiteral("Chêne"), 100, QStringLiteral("m3"), 60.7, 25);
        soldFromLot(80, line, 10);
        QVERIFY(recomputeLot(m_db, 80));
        const auto progress = readLotProgress(m_db, 80);
        QVERIFY(progress);
        QCOMPARE(progress->lines.size(), 1);
        const ProgressLine &l = progress->lines.first();
        QCOMPARE(l.essence, QStringLiteral("Chêne"));
        QCOMPARE(l.qte, 100.0);
        QCOMPARE(l.qteLivree, 10.0);
        QCOMPARE(l.available, 90.0);
        QCOMPARE(l.finPied, 60);
        QCOMPARE(l.finAbattage, 25);
        QCOMPARE(l.surPied, 39.3);
        QCOMPARE(progress->commentaire, QStringLiteral("Accès par la piste\nAttention pente"));
    }
};

QTEST_MAIN(TestLotRecompute)
#include "tst_lotrecompute.moc"
