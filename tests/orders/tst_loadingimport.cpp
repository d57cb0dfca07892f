#include "ordersfixture.h"

#include "databaseworker.h"
#include "loadingimport.h"
#include "orderlogsdialog.h"
#include "textimportdialog.h"
#include "ui_orderlogsdialog.h"
#include "ui_textimportdialog.h"

#include <QStringListModel>
#include <QTemporaryDir>

using namespace ravelin;

// Import_chargement_grume: a loader's list of logs read, previewed and recorded on an order.
class TestLoadingImport : public QObject
{
    Q_OBJECT
    test::OrdersFixture f;
    QTemporaryDir m_dir;
    QDateTime m_now = QDateTime(QDate(2026, 12, 11), QTime(8, 30));

    QString writeFile(const QByteArray &bytes, const QString &name = QStringLiteral("chargement.txt"))
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) qWarning() << path;
        file.write(bytes);
        return path;
    }

    // A free log of lot `nLot` with its diameter, volume, class, place and stock.
    int freeLog(int nLot, const QString &number, const QVariant &diameter, double m3 = 0.3712)
    {
        f.run(QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, n_grume, essence, classe, lieu, "
                             "date_creation, date_lieu, stock, diametre, longueur, m3) values "
                             "(?, 1, 'GRUME', ?, 'Chêne', '3b', 'Ussel', '2026-03-01', '2026-04-01', 'Parc', ?, 5, ?)"),
              {nLot, number, diameter, m3});
        return f.value(QStringLiteral("select max(inc) from grume")).toInt();
    }

    Result<LoadingImportDone> importList(int order, const QByteArray &bytes, QSqlDatabase db = {})
    {
        return importLoadingList(db.isValid() ? db : f.db, order, QStringLiteral("A"), parseLoadingList(bytes), {},
                                 m_now);
    }
    int loaded(int order)
    {
        return f.count(QStringLiteral("select count(*) from liste_grume_cde where inc_cde=?"), {order});
    }
    // "number:found|new" per loaded row of the order, in the order written
    QStringList loadedRows(int order)
    {
        QStringList rows;
        auto read =
            select(f.db, QStringLiteral("select n_grume, inc_grume from liste_grume_cde where inc_cde=? order by inc"),
                   {order});
        if (read)
            for (const QSqlRecord &r : *read)
                rows << r.value(0).toString() +
                            (r.value(1).isNull() ? QStringLiteral(":new") : QStringLiteral(":found"));
        return rows;
    }

    // Plays the import icon of grume_cde: the import screen opens `path`, "Importer" is pressed and
    // the import waited for; `answers` follow the file chosen.
    void importThroughScreens(OrderLogsDialog &logs, const QString &path, const QVariantList &answers = {},
                              QStringList *preview = nullptr, QString *label = nullptr, QString *quality = nullptr)
    {
        test::ModalScript screens;
        screens.then([&](QDialog &d) {
            auto &screen = static_cast<TextImportDialog &>(d);
            f.dialogs.answer(path);
            f.dialogs.answers(answers);
            screen.ui()->BtnOuvrir->click();
            (void)QTest::qWaitFor([&] { return !screen.isBusy(); }, 30000);
            if (preview) *preview = static_cast<QStringListModel *>(screen.ui()->Liste_grumes->model())->stringList();
            if (label) *label = screen.ui()->Label_qte->text();
            if (quality) *quality = screen.ui()->Qualite->currentText();
            screen.ui()->BtnImporter->click();
            (void)QTest::qWaitFor([&] { return !screen.isBusy(); }, 30000);
            return screen.result();
        });
        logs.ui()->BtnImport->click();
        QCOMPARE(screens.shown(), QStringList{QStringLiteral("Import_chargement_grume")});
    }

private slots:
    void initTestCase()
    {
        f.open();
        QVERIFY(m_dir.isValid());
        f.context.applicationFolder = m_dir.path() + QLatin1Char('/');
    }
    void init()
    {
        f.clearTables();
        f.run(QStringLiteral("drop trigger if exists liste_refuse"));
        f.run(QStringLiteral("drop trigger if exists coupe_refuse"));
        f.run(QStringLiteral("delete from classe"));
        f.run(
            QStringLiteral("insert into classe (classe, dia_mini, dia_maxi) values ('3b', 30, 39.99), ('4', 40, 50)"));
        f.run(QStringLiteral("delete from qualite"));
        f.run(QStringLiteral("insert into qualite (qualite) values ('A'), ('B')"));
        f.insertOrder(1);
        f.insertOrder(2);
        for (int lot : {7, 8})
            f.run(QStringLiteral("insert into coupe (n_lot, indice_lot, total_grume, total_grume_livre) "
                                 "values (?, 1, 99, 99)"),
                  {lot});
    }

    void fileLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("logs"); // "line:number:species:length:diameter"
        QTest::addColumn<QString>("error");
        QTest::newRow("species, number, unused, length, diameter, final ;")
            << QByteArray("sp;12;x;4,5;32;") << QStringList{"1:12:sp:4.5:32"} << QString();
        QTest::newRow("four ;, a number 12a, a heading: ignored")
            << QByteArray("sp;12;x;4,5;32\nsp;12a;x;4,5;32;\nEssence;N°;;Long;Dia;\nsp; 13 ;x; 2.5 ; 30 ;;")
            << QStringList{"4:13:sp:2.5:30"} << QString();
        QTest::newRow("a number of ten digits is not a log")
            << QByteArray("sp;1234567890;x;4;32;\nsp;123456789;x;4;32;") << QStringList{"2:123456789:sp:4:32"}
            << QString();
        QTest::newRow("length 4,5m on line 3")
            << QByteArray("sp;1;x;2;30;\nsp;2;x;2;30;\nsp;3;x;4,5m;30;\n")
            << QStringList{"1:1:sp:2:30", "2:2:sp:2:30", "3:3:sp:-:30"}
            << QStringLiteral("Ligne 3 : longueur « 4,5m » incorrecte. Aucune grume importée.");
        QTest::newRow("a species of 101 characters")
            << QByteArray("sp;1;x;2;30;\n") + QByteArray(101, 'e') + ";2;x;2;30;" << QStringList{"1:1:sp:2:30"}
            << QStringLiteral("Ligne 2 : essence « eeeeeeeeeeeeeeeeeeeeeeeeeeeee… » trop longue. Aucune grume "
                              "importée.");
    }
    void fileLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, logs);
        QFETCH(QString, error);
        const TextFile file = parseLoadingList(bytes);
        QStringList read;
        const auto measure = [](std::optional<double> v) { return v ? QString::number(*v) : QStringLiteral("-"); };
        for (const FileLog &log : file.logs)
            read << QStringLiteral("%1:%2:%3:%4:%5")
                        .arg(log.line)
                        .arg(log.number, log.species, measure(log.length), measure(log.diameter));
        QCOMPARE(read, logs);
        QCOMPARE(file.error ? file.error->message : QString(), error);
        if (!error.isEmpty()) {
            QVERIFY(!importList(1, bytes));
            QCOMPARE(loaded(1), 0);
        }
    }

    void encodingsAndLocalesReadTheSame()
    {
        const QString text = QStringLiteral("Chêne;12;x;4,5;32;\r\nFrêne;13;x;3.5;30,5;\r\n");
        QByteArray utf16("\xFF\xFE");
        for (const QChar c : text) utf16 += QByteArray(1, char(c.unicode() & 0xFF)) + char(c.unicode() >> 8);
        const QByteArray windows("Ch\xEAne;12;x;4,5;32;\r\nFr\xEAne;13;x;3.5;30,5;\r\n");
        const auto rows = [](const QByteArray &bytes) {
            QStringList read;
            for (const FileLog &log : parseLoadingList(bytes).logs)
                read << log.species + QLatin1Char(':') + QString::number(*log.length) + QLatin1Char(':') +
                            QString::number(*log.diameter);
            return read;
        };
        const QStringList expected{"Chêne:4.5:32", "Frêne:3.5:30.5"};
        for (const QByteArray &bytes : {QByteArray("\xEF\xBB\xBF") + text.toUtf8(), utf16, windows})
            QCOMPARE(rows(bytes), expected);
        const QLocale before;
        QLocale::setDefault(QLocale::c());
        const QStringList inC = rows(windows);
        QLocale::setDefault(before);
        QCOMPARE(inC, expected);
    }

    void foundLogIsCopiedAndMarked()
    {
        const int log = freeLog(7, QStringLiteral("12"), 32, 0.3712);
        auto done = importList(1, "Hêtre;12;x;4,5;32;");
        QVERIFY2(done, done ? "" : qPrintable(done.error().fullText()));
        QCOMPARE(done->found, 1);
        QCOMPARE(done->notFound, 0);
        QCOMPARE(loadingImportMessage(*done), QStringLiteral("0 grumes non existantes dans le stock de Grume !!!"));
        auto row = select(f.db, QStringLiteral("select * from liste_grume_cde where inc_cde=1"));
        QVERIFY(row && row->size() == 1);
        const QSqlRecord r = row->first();
        const auto is = [&](const char *column) { return r.value(QLatin1String(column)); };
        QCOMPARE(is("inc_grume").toInt(), log);
        QCOMPARE(is("descriptif").toString(), QStringLiteral("GRUME"));
        QCOMPARE(is("essence").toString(), QStringLiteral("Chêne")); // the lot's, not the file's
        QCOMPARE(is("classe").toString(), QStringLiteral("3b"));
        QCOMPARE(is("lieu").toString(), QStringLiteral("Ussel"));
        QCOMPARE(is("stock").toString(), QStringLiteral("Parc"));
        QCOMPARE(is("n_lot").toString(), QStringLiteral("7"));
        QCOMPARE(is("indice_lot").toInt(), 1);
        QCOMPARE(is("date_lieu").toDate(), QDate(2026, 4, 1));
        QCOMPARE(is("m3").toDouble(), 0.3712);
        QCOMPARE(is("diametre").toDouble(), 32.0);
        QCOMPARE(is("longueur").toDouble(), 4.5);
        QCOMPARE(is("qualite").toString(), QStringLiteral("A"));
        QCOMPARE(f.value(QStringLiteral("select livree from grume where inc=?"), {log}).toString(),
                 QStringLiteral("OUI"));
        QCOMPARE(f.value(QStringLiteral("select m3_livre from grume where inc=?"), {log}).toDouble(), 0.37);
        QVERIFY(f.value(QStringLiteral("select inc_cde from grume where inc=?"), {log}).isNull());
        // lot 7's totals only
        QCOMPARE(f.value(QStringLiteral("select total_grume_livre from coupe where n_lot=7")).toDouble(), 0.371);
        QCOMPARE(f.value(QStringLiteral("select total_grume from coupe where n_lot=8")).toDouble(), 99.0);
    }

    void matching_data()
    {
        QTest::addColumn<QVariantList>("stored"); // free logs numbered 12, by diameter
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("message");
        const QString none = QStringLiteral("0 grumes non existantes dans le stock de Grume !!!");
        QTest::newRow("stored 40.304, file 40,304")
            << QVariantList{40.304} << QByteArray("sp;12;x;4;40,304;") << QStringList{"12:found"} << none;
        QTest::newRow("stored with float noise, file 40,3")
            << QVariantList{40.300000000000004} << QByteArray("sp;12;x;4;40,3;") << QStringList{"12:found"} << none;
        QTest::newRow("another diameter is not the log")
            << QVariantList{41.0} << QByteArray("sp;12;x;4;40;") << QStringList{"12:new"}
            << QStringLiteral("1 grumes non existantes dans le stock de Grume !!!");
        QTest::newRow("two free logs fit: nothing written, line named")
            << QVariantList{32.0, 32.0} << QByteArray("sp;13;x;4;30;\nsp;12;x;4;32;\n") << QStringList{"13:new"}
            << QStringLiteral("1 grumes non existantes dans le stock de Grume !!!\n1 ligne(s) non importée(s) : "
                              "plusieurs grumes disponibles correspondent (lignes 2).");
        QTest::newRow("the same line twice: found, then not found")
            << QVariantList{32.0} << QByteArray("sp;12;x;4;32;\nsp;12;x;4;32;\n") << QStringList{"12:found", "12:new"}
            << QStringLiteral("1 grumes non existantes dans le stock de Grume !!!");
    }
    void matching()
    {
        QFETCH(QVariantList, stored);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        for (const QVariant &d : stored) freeLog(7, QStringLiteral("12"), d);
        auto done = importList(1, bytes);
        QVERIFY2(done, done ? "" : qPrintable(done.error().fullText()));
        QCOMPARE(loadedRows(1), rows);
        QCOMPARE(loadingImportMessage(*done), message);
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where livree='OUI'")),
                 int(rows.count(QStringLiteral("12:found"))));
    }

    void unknownLogFromTheFile()
    {
        QVERIFY(importList(1, "Douglas;77;x;10;40;"));
        auto row = select(f.db, QStringLiteral("select * from liste_grume_cde where inc_cde=1"));
        QVERIFY(row && row->size() == 1);
        const QSqlRecord r = row->first();
        QCOMPARE(r.value(QStringLiteral("essence")).toString(), QStringLiteral("Douglas"));
        QCOMPARE(r.value(QStringLiteral("classe")).toString(), QStringLiteral("4"));
        QCOMPARE(r.value(QStringLiteral("m3")).toDouble(), 1.26);
        QCOMPARE(r.value(QStringLiteral("descriptif")).toString(), QStringLiteral("GRUME"));
        QCOMPARE(r.value(QStringLiteral("date_creation")).toDateTime(), m_now);
        QVERIFY(r.value(QStringLiteral("inc_grume")).isNull());
    }

    // The screen from the order's logs: the file chosen in the application folder, previewed with
    // the qualities, the question on the same file twice.
    void importFromTheOrderLogs()
    {
        freeLog(7, QStringLiteral("12"), 32);
        OrderLogsDialog logs(f.context, 1, false);
        QVERIFY(logs.ui()->BtnImport->isEnabled());
        const QString path = writeFile("Essence;N°;;Long;Dia;\r\nCh\xEAne;12;x;4,5;32;\r\n");
        QStringList preview;
        QString label;
        QString quality;
        importThroughScreens(logs, path, {}, &preview, &label, &quality);
        QCOMPARE(f.dialogs.shown().first().kind, QStringLiteral("openFile"));
        QCOMPARE(f.dialogs.shown().first().text, f.context.applicationFolder);
        QCOMPARE(preview, QStringList{"N° 12 - Chêne - Long : 4,5 - dia : 32"});
        QCOMPARE(label, QStringLiteral("( Qte = 1     total :0,36 m3 )"));
        QCOMPARE(quality, QStringLiteral("A"));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("0 grumes non existantes dans le stock de Grume !!!"));
        QCOMPARE(loadedRows(1), QStringList{"12:found"});
        QCOMPARE(f.value(QStringLiteral("select qualite from liste_grume_cde where inc_cde=1")).toString(),
                 QStringLiteral("A"));

        // the same file again: asked; "Non" writes nothing, "Oui" records it as not found
        f.dialogs.clear();
        importThroughScreens(logs, path, {false});
        QCOMPARE(
            f.dialogs.lastText(),
            QStringLiteral("1 grume(s) de ce fichier sont déjà chargées sur cette commande. Importer quand même ?"));
        QCOMPARE(loaded(1), 1);
        importThroughScreens(logs, path, {true});
        QCOMPARE(loadedRows(1), (QStringList{"12:found", "12:new"}));

        // a missing file
        f.dialogs.clear();
        test::ModalScript screens;
        bool qualityShown = false;
        int qualitiesLeft = -1;
        screens.then([&](QDialog &d) {
            auto &screen = static_cast<TextImportDialog &>(d);
            qualityShown = screen.ui()->Zone_qualite->isVisibleTo(&screen);
            screen.ui()->BtnVider->click();
            qualitiesLeft = screen.ui()->Qualite->count();
            screen.load(m_dir.filePath(QStringLiteral("absent.txt")));
            screen.ui()->BtnFermer->click();
            return screen.result();
        });
        logs.ui()->BtnImport->click();
        QVERIFY(qualityShown);
        QCOMPARE(qualitiesLeft, 0);
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Fichier innexistant."));
    }

    void invoicedOrders()
    {
        freeLog(7, QStringLiteral("12"), 32);
        // the icon is locked on an invoiced order
        f.insertOrder(3, QStringLiteral("m3"), QStringLiteral("SCIERIE"), QStringLiteral("OUI"));
        OrderLogsDialog closed(f.context, 3, true);
        QVERIFY(!closed.ui()->BtnImport->isEnabled());
        // invoiced on another workstation meanwhile: refused, nothing written
        QSqlDatabase other = test::openAnotherConnection(f.db.databaseName(), QStringLiteral("other"));
        QVERIFY(execute(other, QStringLiteral("update cde set facturee='OUI' where inc=2")));
        auto done = importList(2, "sp;12;x;4;32;");
        QVERIFY(!done);
        QCOMPARE(done.error().message, invoicedImportRefusal());
        QCOMPARE(loaded(2), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where livree='OUI'")), 0);
    }

    // One list imported into two orders at once from two workstations: each log is taken once.
    void twoOrdersAtOnce()
    {
        QByteArray bytes;
        for (int n = 1; n <= 600; ++n) {
            freeLog(n % 2 ? 7 : 8, QString::number(n), 30);
            bytes += "sp;" + QByteArray::number(n) + ";x;4;30;\n";
        }
        const TextFile file = parseLoadingList(bytes);
        DatabaseWorker first(f.db);
        DatabaseWorker second(test::openAnotherConnection(f.db.databaseName(), QStringLiteral("second")));
        std::optional<Result<LoadingImportDone>> a, b;
        const auto job = [&file, this](int order) {
            return [&file, order, this](QSqlDatabase db) {
                return importLoadingList(db, order, QStringLiteral("A"), file, {}, m_now);
            };
        };
        first.run(job(1), [&](Result<LoadingImportDone> r) { a = std::move(r); });
        second.run(job(2), [&](Result<LoadingImportDone> r) { b = std::move(r); });
        QTRY_VERIFY_WITH_TIMEOUT(a && b, 30000);
        QVERIFY2(*a && *b,
                 qPrintable((*a ? QString() : a->error().fullText()) + (*b ? QString() : b->error().fullText())));
        QCOMPARE((*a)->found + (*b)->found, 600);
        QCOMPARE((*a)->notFound + (*b)->notFound, 600);
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where livree='OUI'")), 600);
        QCOMPARE(f.count(QStringLiteral("select count(distinct inc_grume) from liste_grume_cde")), 600);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_cde where inc_grume is not null")), 600);
    }

    void failuresWriteNothing_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("insert batch 2") << QStringLiteral(
            "create trigger liste_refuse before insert on liste_grume_cde for each row begin if "
            "new.n_grume = '700' then signal sqlstate '45000' set message_text = 'refus'; end if; end");
        QTest::newRow("a lot's totals") << QStringLiteral(
            "create trigger coupe_refuse before update on coupe for each row begin if new.n_lot = 8 "
            "then signal sqlstate '45000' set message_text = 'refus'; end if; end");
    }
    void failuresWriteNothing()
    {
        QFETCH(QString, trigger);
        QByteArray bytes;
        for (int n = 1; n <= loadingImportBatch + 300; ++n) {
            if (n % 100 == 0) freeLog(n % 200 ? 7 : 8, QString::number(n), 30);
            bytes += "sp;" + QByteArray::number(n) + ";x;4;30;\n";
        }
        f.run(trigger);
        QList<int> progress;
        auto done = importLoadingList(f.db, 1, QStringLiteral("A"), parseLoadingList(bytes),
                                      [&](int d, int) { progress << d; });
        QVERIFY(!done);
        QVERIFY(!progress.isEmpty());
        QCOMPARE(loaded(1), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where livree='OUI'")), 0);
        QCOMPARE(f.value(QStringLiteral("select total_grume from coupe where n_lot=7")).toDouble(), 99.0);
    }
};

QTEST_MAIN(TestLoadingImport)
#include "tst_loadingimport.moc"
