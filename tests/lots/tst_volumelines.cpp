#include "sql.h"
#include "testdb.h"
#include "pagedquerymodel.h"
#include "volumelines.h"

#include <QSqlQuery>
#include <QTest>

using namespace ravelin;

class TestVolumeLines : public QObject
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
    int count(const QString &sql, std::initializer_list<QVariant> values = {}) { return value(sql, values).toInt(); }

    // The values of `column` over the rows a statement gives.
    QStringList column(const Result<BoundQuery> &statement, const QString &name)
    {
        if (!statement) return {QStringLiteral("refused: ") + statement.error().message};
        auto query = runBoundQuery(m_db, *statement);
        if (!query) return {QStringLiteral("failed: ") + query.error().fullText()};
        QStringList values;
        while (query->next()) values << query->value(name).toString();
        return values;
    }
    // The same over a paged list, read to its end a row at a time (a page per row).
    QStringList column(const Result<PagedQuery> &statement, const QString &name)
    {
        if (!statement) return {QStringLiteral("refused: ") + statement.error().message};
        PagedQueryModel model;
        model.setPageSize(1);
        if (Status s = model.setQuery(m_db, *statement, PagedQueryModel::Count::Now); !s)
            return {QStringLiteral("failed: ") + s.error().fullText()};
        while (model.canFetchMore()) model.fetchMore();
        if (model.lastError()) return {QStringLiteral("failed: ") + model.lastError()->fullText()};
        QStringList values;
        for (int row = 0; row < model.rowCount(); ++row) values << model.record(row).value(name).toString();
        if (model.totalCount() != model.rowCount())
            values << QStringLiteral("count %1").arg(model.totalCount().value_or(-1));
        return values;
    }

    int volumeLine(int nLot, const QString &essence, const QString &qualite, const QString &unite, double qte,
                   const QVariant &livree = QVariant(), double qteLivree = 0)
    {
        QSqlQuery q(m_db);
        q.prepare(
            QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
                           "qte, qte_defaut, qte_livree, qte_livree_defaut, livree) "
                           "values (?, 1, 'VOLUME', ?, ?, ?, 'm3', ?, ?, ?, ?, ?)"));
        for (const QVariant &v : QVariantList{nLot, essence, qualite, unite, qte, qte, qteLivree, qteLivree, livree})
            q.addBindValue(v);
        if (!q.exec()) qWarning() << q.lastError().text();
        return q.lastInsertId().toInt();
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        run(QStringLiteral("insert into classe (classe, dia_mini, dia_maxi) values "
                           "('3a', 30, 35), ('3b', 35, 40), ('4', 40, 50), ('5', 50, 60)"));
    }

    void init()
    {
        for (const char *table : {"coupe", "grume", "liste_grume_cde", "cde"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
    }

    void logVolumes_data()
    {
        QTest::addColumn<QVariant>("diameter");
        QTest::addColumn<QVariant>("length");
        QTest::addColumn<QVariant>("bark");
        QTest::addColumn<QVariant>("overBark");
        QTest::addColumn<QVariant>("underBark");
        QTest::newRow("40 cm, 10 m, 10 %")
            << QVariant(40.0) << QVariant(10.0) << QVariant(10.0) << QVariant(1.257) << QVariant(1.131);
        QTest::newRow("bark share 0 typed")
            << QVariant(40.0) << QVariant(10.0) << QVariant(0.0) << QVariant(1.257) << QVariant(1.257);
        QTest::newRow("no bark share: under bark not computed")
            << QVariant(40.0) << QVariant(10.0) << QVariant() << QVariant(1.257) << QVariant();
        QTest::newRow("decimal diameter")
            << QVariant(40.5) << QVariant(4.5) << QVariant(12.0) << QVariant(0.580) << QVariant(0.510);
        QTest::newRow("no length") << QVariant(40.0) << QVariant() << QVariant(10.0) << QVariant() << QVariant();
        QTest::newRow("no diameter") << QVariant() << QVariant(10.0) << QVariant(10.0) << QVariant() << QVariant();
    }
    void logVolumes()
    {
        QFETCH(QVariant, diameter);
        QFETCH(QVariant, length);
        QFETCH(QVariant, bark);
        QFETCH(QVariant, overBark);
        QFETCH(QVariant, underBark);
        const auto opt = [](const QVariant &v) {
            return v.isValid() ? std::optional<double>(v.toDouble()) : std::nullopt;
        };
        const LogVolume v = logVolume(opt(diameter), opt(length), opt(bark));
        QCOMPARE(v.overBark.has_value(), overBark.isValid());
        QCOMPARE(v.underBark.has_value(), underBark.isValid());
        if (v.overBark) QCOMPARE(*v.overBark, overBark.toDouble());
        if (v.underBark) QCOMPARE(*v.underBark, underBark.toDouble());
    }

    void diameterClasses_data()
    {
        QTest::addColumn<double>("diameter");
        QTest::addColumn<QString>("classe");
        QTest::newRow("inside") << 37.0 << "3b";
        QTest::newRow("on a shared limit: the lower class") << 40.0 << "3b";
        QTest::newRow("decimal diameter") << 40.5 << "4";
        QTest::newRow("first limit") << 30.0 << "3a";
        QTest::newRow("last limit") << 60.0 << "5";
        QTest::newRow("no class") << 12.0 << "(none)";
    }
    void diameterClasses()
    {
        QFETCH(double, diameter);
        QFETCH(QString, classe);
        auto found = diameterClass(m_db, diameter);
        QVERIFY(found);
        QCOMPARE(found->value_or(QStringLiteral("(none)")), classe);
    }

    void logsWrittenAndTotalled()
    {
        run(QStringLiteral("insert into coupe (n_lot, indice_lot, lieu) values (7, 1, 'Ussel')"));
        LogRecord log = newLog(7, 1, QStringLiteral("Ussel"), QDate(2026, 3, 9));
        log.nGrume = QStringLiteral("12");
        log.essence = QStringLiteral("Chêne");
        log.classe = QStringLiteral("4");
        log.diametre = 40.0;
        log.longueur = 10.0;
        log.pourcentEcorce = 10.0;
        log.m3SurEcorce = 1.257;
        log.m3 = 1.131;
        auto inc = insertLog(m_db, log);
        QVERIFY2(inc, qPrintable(inc.ok() ? QString() : inc.error().fullText()));
        auto read = loadLog(m_db, *inc);
        QVERIFY(read);
        QCOMPARE(read->nGrume, QStringLiteral("12"));
        QCOMPARE(read->m3.toDouble(), 1.131);
        QCOMPARE(read->dateLieu, QDate(2026, 3, 9));
        QVERIFY(read->qualite.isEmpty());
        QCOMPARE(value(QStringLiteral("select stock from grume where inc=?"), {*inc}).toString(), QString());
        QCOMPARE(value(QStringLiteral("select descriptif from grume where inc=?"), {*inc}).toString(),
                 QStringLiteral("GRUME"));

        LogRecord second = log;
        second.nGrume = QStringLiteral("13");
        second.m3 = 2.0;
        auto inc2 = insertLog(m_db, second);
        QVERIFY(inc2);
        run(QStringLiteral("update grume set livree='OUI' where inc=?"), {*inc2});
        volumeLine(7, QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"), 50);

        auto totals = updateLotLogTotals(m_db, 7, 1);
        QVERIFY(totals);
        QCOMPARE(totals->total, 3.131);
        QCOMPARE(totals->delivered, 2.0);
        QCOMPARE(value(QStringLiteral("select total_grume from coupe where n_lot=7")).toDouble(), 3.131);
        QCOMPARE(value(QStringLiteral("select total_grume_livre from coupe where n_lot=7")).toDouble(), 2.0);

        const LogRecord asRead = *read;
        read->m3 = 1.5;
        read->qualite = QStringLiteral("B");
        QVERIFY(updateLog(m_db, asRead, *read));
        QCOMPARE(value(QStringLiteral("select m3 from grume where inc=?"), {*inc}).toDouble(), 1.5);

        // What is left per class: the undelivered log under its class, the volume line under none.
        auto slices = availableVolumeByClass(m_db, 7);
        QVERIFY(slices);
        QMap<QString, double> byClass;
        for (const ClassVolume &s : *slices) byClass.insert(s.classe, s.volume);
        QCOMPARE(byClass.value(QStringLiteral("4")), 1.5);
        QVERIFY(byClass.contains(QString()));
        QCOMPARE(byClass.size(), 2);
    }

    void deletingEveryLogKeepsTheVolumeLines()
    {
        run(QStringLiteral(
            "insert into grume (N_lot, descriptif, n_grume) values (8, 'GRUME', '1'), (8, 'GRUME', '2'), "
            "(9, 'GRUME', '1')"));
        const int line = volumeLine(8, QStringLiteral("Hêtre"), QStringLiteral("A"), QStringLiteral("m3"), 10);
        auto removed = deleteLotLogs(m_db, 8);
        QVERIFY(removed);
        QCOMPARE(*removed, 2);
        QCOMPARE(count(QStringLiteral("select count(*) from grume where inc=?"), {line}), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from grume where N_lot=9")), 1);
        // The single delete only takes logs.
        QVERIFY(deleteLog(m_db, line));
        QCOMPARE(count(QStringLiteral("select count(*) from grume where inc=?"), {line}), 1);
    }

    void inquiry_data()
    {
        QTest::addColumn<QString>("logNumber");
        QTest::addColumn<QString>("lotNumber");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QStringList>("logs");
        QTest::newRow("no criterion, available only") << ""
                                                      << "" << true << QStringList{"1", "3", "12"};
        QTest::newRow("no criterion, all") << ""
                                           << "" << false << QStringList{"1", "2", "3", "12"};
        QTest::newRow("log number") << "12"
                                    << "" << false << QStringList{"12"};
        QTest::newRow("log number compared as a number") << "012"
                                                         << "" << false << QStringList{"12"};
        QTest::newRow("lot number") << ""
                                    << "21" << false << QStringList{"3", "12"};
        QTest::newRow("both") << "3"
                              << "21" << true << QStringList{"3"};
        QTest::newRow("log number with a decimal comma") << "12,5"
                                                         << "" << true << QStringList{"refused: Saisie incorrecte"};
        QTest::newRow("lot number not a number") << ""
                                                 << "2x" << true << QStringList{"refused: Saisie incorrecte"};
    }
    void inquiry()
    {
        QFETCH(QString, logNumber);
        QFETCH(QString, lotNumber);
        QFETCH(bool, available);
        QFETCH(QStringList, logs);
        run(QStringLiteral("insert into grume (N_lot, descriptif, n_grume, inc_cde) values "
                           "(20, 'GRUME', '1', NULL), (20, 'GRUME', '2', 5), (21, 'GRUME', '3', NULL), "
                           "(21, 'GRUME', '12', NULL), (21, 'GRUME', NULL, NULL), (21, 'VOLUME', '4', NULL)"));
        LogInquiry inquiry;
        inquiry.logNumber = logNumber;
        inquiry.lotNumber = lotNumber;
        inquiry.availableOnly = available;
        QStringList found = column(logInquiryQuery(inquiry), QStringLiteral("n_grume"));
        std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
        QCOMPARE(found, logs);
    }

    void panelsOfTheSelectedLog()
    {
        run(QStringLiteral("insert into coupe (n_lot, lieu, adresse, cp, type_achat) values (20, 'Ussel', 'Le Bois', "
                           "'19200', 'ABATTUE')"));
        run(QStringLiteral(
            "insert into cde (inc, client, type_cde, facturee) values (5, 'Scierie Durand', 'SCIERIE', 'NON')"));
        auto lot = lotSummary(m_db, 20);
        QVERIFY(lot);
        QCOMPARE(lot->value(QStringLiteral("adresse")).toString(), QStringLiteral("Le Bois"));
        QCOMPARE(lot->value(QStringLiteral("type_achat")).toString(), QStringLiteral("ABATTUE"));
        auto order = orderSummary(m_db, 5);
        QVERIFY(order);
        QCOMPARE(order->value(QStringLiteral("client")).toString(), QStringLiteral("Scierie Durand"));
        auto none = orderSummary(m_db, 6);
        QVERIFY(none);
        QVERIFY(none->isEmpty());
    }

    void picker_data()
    {
        QTest::addColumn<QString>("species");
        QTest::addColumn<QString>("lots");
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("sort");
        QTest::addColumn<QStringList>("rows"); // n_lot:essence:unite
        const int bySpecies = int(VolumeLineSort::Species), byLot = int(VolumeLineSort::LotNumber);
        QTest::newRow("everything available, by species")
            << ""
            << ""
            << "" << bySpecies
            << QStringList{"11:Chêne:m3", "11:Chêne:T", "20:Douglas:m3", "10:Hêtre:m3", "12:Hêtre:m3"};
        QTest::newRow("11+10+20") << ""
                                  << "11+10+20"
                                  << "" << byLot
                                  << QStringList{"20:Douglas:m3", "11:Chêne:m3", "11:Chêne:T", "10:Hêtre:m3"};
        QTest::newRow("one lot") << ""
                                 << "11"
                                 << "" << bySpecies << QStringList{"11:Chêne:m3", "11:Chêne:T"};
        QTest::newRow("spaces and a trailing +") << ""
                                                 << " 12 + "
                                                 << "" << bySpecies << QStringList{"12:Hêtre:m3"};
        QTest::newRow("species contains") << "êtr"
                                          << ""
                                          << "" << byLot << QStringList{"12:Hêtre:m3", "10:Hêtre:m3"};
        QTest::newRow("place contains") << ""
                                        << ""
                                        << "eym" << bySpecies << QStringList{"20:Douglas:m3"};
        QTest::newRow("lot not a number") << ""
                                          << "11+x"
                                          << "" << bySpecies << QStringList{"refused: Saisie incorrecte"};
    }
    void picker()
    {
        QFETCH(QString, species);
        QFETCH(QString, lots);
        QFETCH(QString, place);
        QFETCH(int, sort);
        QFETCH(QStringList, rows);
        run(QStringLiteral("insert into coupe (n_lot, lieu) values (10, 'Ussel'), (11, 'Tulle'), (12, 'Ussel'), "
                           "(20, 'Meymac'), (30, 'Ussel')"));
        volumeLine(10, QStringLiteral("Hêtre"), QStringLiteral("A"), QStringLiteral("m3"), 10);
        volumeLine(11, QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"), 20);
        volumeLine(11, QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("T"), 8);
        volumeLine(12, QStringLiteral("Hêtre"), QStringLiteral("A"), QStringLiteral("m3"), 5);
        volumeLine(20, QStringLiteral("Douglas"), QStringLiteral("A"), QStringLiteral("m3"), 30);
        volumeLine(30, QStringLiteral("Hêtre"), QStringLiteral("A"), QStringLiteral("m3"), 30, QStringLiteral("OUI"));
        run(QStringLiteral(
            "insert into grume (N_lot, descriptif, essence, qualite, qte) values (10, 'GRUME', 'Hêtre', 'A', 1)"));

        VolumeLineSearch search;
        search.species = species;
        search.lots = lots;
        search.place = place;
        search.sort = VolumeLineSort(sort);
        auto statement = volumeLinePickerQuery(search);
        QStringList found;
        if (!statement) {
            found << QStringLiteral("refused: ") + statement.error().message;
        } else {
            auto query = runBoundQuery(m_db, *statement);
            QVERIFY2(query, qPrintable(query.ok() ? QString() : query.error().fullText()));
            while (query->next())
                found << query->value(QStringLiteral("n_lot")).toString() + QLatin1Char(':') +
                             query->value(QStringLiteral("essence")).toString() + QLatin1Char(':') +
                             query->value(QStringLiteral("unite")).toString();
        }
        if (search.sort == VolumeLineSort::LotNumber) {
            // the lots in descending order, the lines of one lot in any order
            QStringList lotsFound, lotsWanted;
            for (const QString &r : found) lotsFound << r.section(QLatin1Char(':'), 0, 0);
            for (const QString &r : rows) lotsWanted << r.section(QLatin1Char(':'), 0, 0);
            QCOMPARE(lotsFound, lotsWanted);
            found.sort();
            rows.sort();
        } else if (search.sort == VolumeLineSort::Species) {
            // one species and quality may come from several lines: their order among themselves is free
            std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
                return a.section(QLatin1Char(':'), 1) + a < b.section(QLatin1Char(':'), 1) + b;
            });
            std::sort(rows.begin(), rows.end(), [](const QString &a, const QString &b) {
                return a.section(QLatin1Char(':'), 1) + a < b.section(QLatin1Char(':'), 1) + b;
            });
        }
        QCOMPARE(found, rows);
    }

    void pickerRowIsOneVolumeLine()
    {
        run(QStringLiteral("insert into coupe (n_lot, lieu, adresse, cp) values (11, 'Tulle', 'La Croix', '19000')"));
        const int m3Line =
            volumeLine(11, QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"), 20.4, QVariant(), 5.25);
        const int tLine = volumeLine(11, QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("T"), 8);
        VolumeLineSearch search;
        search.lots = QStringLiteral("11");
        auto query = runBoundQuery(m_db, *volumeLinePickerQuery(search));
        QVERIFY(query);
        QMap<int, VolumeLineChoice> byInc;
        while (query->next()) {
            const VolumeLineChoice c = volumeLineChoice(query->record());
            byInc.insert(c.inc, c);
        }
        QCOMPARE(byInc.keys(), (QList<int>{m3Line, tLine}));
        const VolumeLineChoice &c = byInc[m3Line];
        QCOMPARE(c.nLot, 11);
        QCOMPARE(c.unite, QStringLiteral("m3"));
        QCOMPARE(c.uniteDefaut, QStringLiteral("m3"));
        QCOMPARE(c.lieu, QStringLiteral("Tulle"));
        QCOMPARE(c.cp, QStringLiteral("19000"));
        QCOMPARE(c.m3, 20.0);
        QCOMPARE(c.a0, 5.25);
        QCOMPARE(c.a1, 15.15);
        QCOMPARE(c.d11, 15.15);
        QCOMPARE(byInc[tLine].unite, QStringLiteral("T"));
    }

    void detailList()
    {
        volumeLine(11, QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"), 20, QVariant(), 5);
        volumeLine(11, QStringLiteral("Hêtre"), QStringLiteral("A"), QStringLiteral("m3"), 8);
        volumeLine(12, QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"), 3);
        volumeLine(12, QStringLiteral("Chêne"), QStringLiteral("A"), QStringLiteral("m3"), 4, QStringLiteral("OUI"));
        AvailableLinesFilter filter;
        filter.essence = QStringLiteral("Chêne");
        QCOMPARE(column(availableLinesDetailQuery(filter), QStringLiteral("dispo")), (QStringList{"3", "15"}));
        filter.nLot = QStringLiteral("11");
        QCOMPARE(column(availableLinesDetailQuery(filter), QStringLiteral("N_lot")), QStringList{"11"});
    }
};

QTEST_GUILESS_MAIN(TestVolumeLines)
#include "tst_volumelines.moc"
