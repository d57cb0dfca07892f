#include "lotsfixture.h"

#include "gridmodel.h"
#include "logimport.h"
#include "logimportdialog.h"
#include "lotlogimport.h"
#include "lotlogsdialog.h"
#include "ui_lotlogsdialog.h"
#include "ui_textimportdialog.h"

#include <QRandomGenerator>
#include <QStringListModel>
#include <QTemporaryDir>

#include <cmath>

using namespace ravelin;

// import1: a measuring device's log list read, previewed and added to a lot.
class TestLogImport : public QObject
{
    Q_OBJECT
    test::LotsFixture f;
    QTemporaryDir m_dir;

    QString writeFile(const QByteArray &bytes, const QString &name = QStringLiteral("liste.txt"))
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) qWarning() << path;
        file.write(bytes);
        return path;
    }

    // A file of `count` short-layout lines numbered from `first`, 40 cm × 10 m.
    static QByteArray logLines(int first, int count)
    {
        QByteArray bytes;
        for (int n = first; n < first + count; ++n) bytes += QByteArray::number(n) + ";a;CH;10;b;40;c\r\n";
        return bytes;
    }

    // Plays "Importer" of grume_coupe: import1 opens `path` and presses "Importer"; `answers`
    // follow the file chosen.
    void importThroughScreens(LotLogsDialog &logs, const QString &path, QStringList *preview = nullptr,
                              QString *label = nullptr, const QVariantList &answers = {})
    {
        bool qualityShown = true;
        test::ModalScript screens;
        screens.then([&](QDialog &d) {
            auto &import = static_cast<TextImportDialog &>(d);
            f.dialogs.answer(path);
            f.dialogs.answers(answers);
            import.ui()->BtnOuvrir->click();
            (void)QTest::qWaitFor([&] { return !import.isBusy(); }, 30000);
            qualityShown = import.ui()->Zone_qualite->isVisibleTo(&import);
            if (preview) *preview = static_cast<QStringListModel *>(import.ui()->Liste_grumes->model())->stringList();
            import.ui()->BtnImporter->click();
            (void)QTest::qWaitFor([&] { return !import.isBusy(); }, 30000);
            if (label) *label = import.ui()->Label_qte->text();
            return import.result();
        });
        logs.ui()->BtnImporter->click();
        QCOMPARE(screens.pending(), 0);
        QVERIFY(!qualityShown); // the log import has no quality
    }

    int lotLogs() { return f.count(QStringLiteral("select count(*) from grume where N_lot=7 and descriptif='GRUME'")); }

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
        f.run(QStringLiteral("drop trigger if exists grume_refuse"));
        f.run(QStringLiteral("insert into classe (classe, dia_mini, dia_maxi) values ('3b', 35, 40), ('4', 40, 50)"));
        f.run(QStringLiteral("delete from essence"));
        f.run(QStringLiteral("insert into essence (essence, code) values ('Chêne', 'CH'), ('Frêne', 'FRÊ')"));
        f.run(QStringLiteral("insert into coupe (n_lot, indice_lot, lieu) values (7, 1, 'Ussel')"));
    }

    void fileLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("logs"); // "line:number:code:length:diameter"
        QTest::addColumn<QString>("error");
        QTest::newRow("short layout, decimal comma")
            << QByteArray("12;a;CH;4,5;b;40;c") << QStringList{"1:12:CH:4.5:40"} << QString();
        QTest::newRow("long layout: one more field before the code")
            << QByteArray("13;a;Parcelle 12 bis du bois;FR ;3.5;b;30;commentaire long") << QStringList{"1:13:FR:3.5:30"}
            << QString();
        QTest::newRow("short, heading and unnumbered lines ignored; LF, CR and CR LF")
            << QByteArray("N°;x;CH;4;b;40\n12;ab\r14;a;CH;2;b;30;\r\n\r\nxx;a;CH;2;b;30;\n15;a;CH;3;b;20")
            << QStringList{"3:14:CH:2:30", "6:15:CH:3:20"} << QString();
        QTest::newRow("length not a number names its line")
            << QByteArray("1;a;CH;2;b;30\n2;a;CH;2;b;30\n3;a;CH;4,5m;b;30\n4;a;CH;abc;b;30")
            << QStringList{"1:1:CH:2:30", "2:2:CH:2:30", "3:3:CH:-:30", "4:4:CH:-:30"}
            << QStringLiteral("Ligne 3 : longueur « 4,5m » incorrecte. Aucune grume importée.");
        QTest::newRow("diameter missing") << QByteArray("1;a;CH;2;b") << QStringList{"1:1:CH:2:-"}
                                          << QStringLiteral("Ligne 1 : diamètre absent. Aucune grume importée.");
        QTest::newRow("negative diameter")
            << QByteArray("1;a;CH;2;b;-30") << QStringList{"1:1:CH:2:-30"}
            << QStringLiteral("Ligne 1 : diamètre « -30 » incorrect. Aucune grume importée.");
        QTest::newRow("exponent and NaN are not numbers")
            << QByteArray("1;a;CH;1e400;b;30\n2;a;CH;2;b;NaN") << QStringList{"1:1:CH:-:30", "2:2:CH:2:-"}
            << QStringLiteral("Ligne 1 : longueur « 1e400 » incorrecte. Aucune grume importée.");
    }
    void fileLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, logs);
        QFETCH(QString, error);
        const TextFile contents = parseLogFile(bytes);
        QStringList read;
        const auto measure = [](std::optional<double> v) { return v ? QString::number(*v) : QStringLiteral("-"); };
        for (const FileLog &log : contents.logs)
            read << QStringLiteral("%1:%2:%3:%4:%5")
                        .arg(log.line)
                        .arg(log.number, log.species, measure(log.length), measure(log.diameter));
        QCOMPARE(read, logs);
        QCOMPARE(contents.error ? contents.error->message : QString(), error);
    }

    void encodingsGiveTheSameLines()
    {
        const QString text = QStringLiteral("1;a;FRÊ;4,5;b;40;€ œ\r\n2;a;CH;3;b;30;\r\n");
        const QByteArray latin = QByteArray("1;a;FR\xCA;4,5;b;40;\x80 \x9C\r\n2;a;CH;3;b;30;\r\n");
        QByteArray utf16 = QByteArray("\xFF\xFE");
        for (const QChar c : text) utf16 += QByteArray(1, char(c.unicode() & 0xFF)) + char(c.unicode() >> 8);
        const QByteArray utf8Bom = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        for (const QByteArray &bytes : {text.toUtf8(), utf8Bom, latin, utf16}) QCOMPARE(decodeText(bytes), text);
        QCOMPARE(parseLogFile(latin).logs.first().species, QStringLiteral("FRÊ"));
    }

    void importFromTheLogList()
    {
        f.run(QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, n_grume, m3, livree) "
                             "values (7, 1, 'GRUME', '1', 2, 'OUI')"));
        LotLogsDialog logs(f.context, 7, 1, QStringLiteral("Ussel"), 2, 2);
        QVERIFY(logs.ui()->BtnImporter->isEnabled());
        // species codes matched as the server compares them; an unknown code is the species
        const QString path = writeFile("N° grume;;;;;;\r\n12;a;ch;4,5;b;40;c\r\n13;a;XY;10;b;40;\r\n");
        QStringList preview;
        QString label;
        importThroughScreens(logs, path, &preview, &label);
        QCOMPARE(f.dialogs.shown().first().kind, QStringLiteral("openFile"));
        QCOMPARE(f.dialogs.shown().first().text, f.context.applicationFolder);
        QCOMPARE(preview, (QStringList{"N° 12 - ch - Long : 4,5 - dia : 40", "N° 13 - XY - Long : 10 - dia : 40"}));
        QCOMPARE(label, QStringLiteral("( Qte = 2     total :1,82 m3 )"));
        const auto row = [&](const QString &n, const QString &column) {
            return f.value(QStringLiteral("select %1 from grume where n_grume=? and N_lot=7").arg(column), {n});
        };
        QCOMPARE(row("12", "essence").toString(), QStringLiteral("Chêne"));
        QCOMPARE(row("12", "m3").toDouble(), 0.565);
        QCOMPARE(row("12", "classe").toString(), QStringLiteral("3b"));
        QCOMPARE(row("13", "essence").toString(), QStringLiteral("XY"));
        QCOMPARE(row("13", "m3").toDouble(), 1.257);
        QCOMPARE(row("13", "lieu").toString(), QStringLiteral("Ussel"));
        QCOMPARE(row("13", "date_lieu").toDate(), QDate::currentDate());
        QVERIFY(row("13", "qualite").isNull());
        // the list, its totals and the lot's follow
        QCOMPARE(logs.logs()->rowCount(), 3);
        QCOMPARE(logs.ui()->Volume_total->text(), QStringLiteral("3,82"));
        QCOMPARE(logs.ui()->Grumes_dispo->text(), QStringLiteral("1,82"));
        QCOMPARE(f.value(QStringLiteral("select total_grume from coupe where n_lot=7")).toDouble(), 3.822);

        // the same file again: asked, "Non" writes nothing, "Oui" writes it
        f.dialogs.clear();
        f.dialogs.answer(false);
        {
            test::ModalScript screens;
            screens.then([&](QDialog &d) {
                auto &import = static_cast<TextImportDialog &>(d);
                import.load(path);
                (void)QTest::qWaitFor([&] { return !import.isBusy(); }, 30000);
                import.ui()->BtnImporter->click();
                (void)QTest::qWaitFor([&] { return !import.isBusy(); }, 30000);
                import.ui()->BtnFermer->click();
                return import.result();
            });
            logs.ui()->BtnImporter->click();
        }
        QCOMPARE(f.dialogs.lastText(),
                 QStringLiteral("2 grume(s) de ce fichier existent déjà dans la coupe. Importer quand même ?"));
        QCOMPARE(lotLogs(), 3);
        importThroughScreens(logs, path, nullptr, nullptr, {true});
        QCOMPARE(lotLogs(), 5);
    }

    void refusedFilesWriteNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("a length that is not a number")
            << QByteArray("1;a;CH;2;b;30\n2;a;CH;2;b;30\n3;a;CH;abc;b;30\n")
            << QStringLiteral("Ligne 3 : longueur « abc » incorrecte. Aucune grume importée.");
        QTest::newRow("nothing to import") << QByteArray("N°;a;b\n") << QStringLiteral("Pas de ligne à importer !!!");
    }
    void refusedFilesWriteNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        TextImportDialog import(f.context, logImportSteps(7, 1));
        import.load(writeFile(bytes));
        (void)QTest::qWaitFor([&] { return !import.isBusy(); }, 30000);
        import.ui()->BtnImporter->click();
        (void)QTest::qWaitFor([&] { return !import.isBusy(); }, 30000);
        QCOMPARE(f.dialogs.lastText(), message);
        QCOMPARE(lotLogs(), 0);
        QVERIFY(import.result() != QDialog::Accepted);
    }

    void missingFileAndGoneLot()
    {
        TextImportDialog import(f.context, logImportSteps(7, 1));
        import.load(m_dir.filePath(QStringLiteral("absent.txt")));
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Fichier innexistant."));
        import.load(writeFile(logLines(1, 3)));
        (void)QTest::qWaitFor([&] { return !import.isBusy(); }, 30000);
        f.run(QStringLiteral("delete from coupe where n_lot=7"));
        import.ui()->BtnImporter->click();
        (void)QTest::qWaitFor([&] { return !import.isBusy(); }, 30000);
        QCOMPARE(f.dialogs.lastText(), importLotGoneMessage());
        QCOMPARE(lotLogs(), 0);
    }

    void failingBatchWritesNothing()
    {
        // the server refuses a log of the second batch: the first stays unwritten too
        f.run(QStringLiteral("create trigger grume_refuse before insert on grume for each row "
                             "begin if new.n_grume = '1500' then signal sqlstate '45000' set message_text = 'refus'; "
                             "end if; end"));
        const TextFile contents = parseLogFile(logLines(1, logImportBatch + 600));
        QVERIFY(!contents.error);
        QList<int> progress;
        auto done = importLogs(f.db, 7, 1, contents, QDate::currentDate(), [&](int n) { progress << n; });
        QVERIFY(!done);
        QCOMPARE(progress, QList<int>{logImportBatch});
        QCOMPARE(lotLogs(), 0);
        QVERIFY(f.value(QStringLiteral("select total_grume from coupe where n_lot=7")).isNull());
        f.run(QStringLiteral("drop trigger grume_refuse"));
    }

    // Random and mutated files: never a crash, finite measures for every log of a file taken
    // whole, errors naming a line of the file.
    void seededMutations()
    {
        QRandomGenerator random(20261211);
        const QList<QByteArray> pieces{"12;a;CH;4,5;b;40;c",
                                       "1e400",
                                       "NaN",
                                       ";",
                                       "\r",
                                       "\n",
                                       "\r\n",
                                       "\xC3",
                                       "\xFF\xFE",
                                       "\xEF\xBB\xBF",
                                       "-",
                                       ",",
                                       ".",
                                       "N°",
                                       "  ",
                                       "999999999999999999999",
                                       QByteArray(2000, '7'),
                                       QByteArray(100 * 1024, 'x')};
        for (int round = 0; round < 400; ++round) {
            QByteArray bytes;
            const int parts = random.bounded(1, 30);
            for (int i = 0; i < parts; ++i) {
                if (random.bounded(4) == 0) bytes += char(random.bounded(256));
                else bytes += pieces[random.bounded(int(pieces.size()))];
            }
            const TextFile contents = parseLogFile(bytes);
            const int lines = int(splitLines(decodeText(bytes)).size());
            if (contents.error) {
                QVERIFY(contents.error->line >= 1 && contents.error->line <= lines);
                continue;
            }
            for (const FileLog &log : contents.logs) {
                QVERIFY(log.line >= 1 && log.line <= lines);
                QVERIFY(log.length && std::isfinite(*log.length) && *log.length >= 0);
                QVERIFY(log.diameter && std::isfinite(*log.diameter) && *log.diameter >= 0);
                QVERIFY(std::isfinite(previewVolume(log)));
            }
        }
    }
};

QTEST_MAIN(TestLogImport)
#include "tst_logimport.moc"
