#include "appcontext.h"
#include "databaseworker.h"
#include "gridmodel.h"
#include "gridtexts.h"
#include "listgrid.h"
#include "scripteddialogs.h"
#include "sql.h"
#include "testdb.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace ravelin;

namespace {

// Stops the export once `cancelAt` rows are written, and records what the user would have seen.
struct ScriptedProgress : ExportProgressView
{
    qint64 cancelAt;
    QList<qint64> *seen;
    ScriptedProgress(qint64 at, QList<qint64> *rows) : cancelAt(at), seen(rows) {}
    bool advance(qint64 rows, qint64) override
    {
        *seen << rows;
        return cancelAt < 0 || rows < cancelAt;
    }
};

} // namespace

// The declared list grid over a real table of 500 logs: the columns as declared, the selected
// row kept across searches while it is listed, the counter after the first page (counted on the
// worker), the wheel, rows of a DataTable, export of the whole list, and the user's columns
// remembered from one screen to the next.
class TestListGrid : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;
    QTemporaryDir m_folder;
    QList<qint64> m_progress;

    ListDeclaration declaration(QLabel *counter = nullptr, bool wheel = false) const
    {
        ListDeclaration d;
        d.screen = QStringLiteral("essai_grumes");
        d.key = QStringLiteral("inc");
        d.counter = counter;
        d.counterFormat = QStringLiteral("( nb %1 )");
        d.wheelSteps = wheel;
        d.pageSize = 20;
        d.columns = {
            {QStringLiteral("n_grume"), QStringLiteral("N° grume"), QString(), 80},
            {QStringLiteral("essence"), QStringLiteral("Essence"), QString(), 110},
            {QStringLiteral("m3"),
             QStringLiteral("Volume"),
             QStringLiteral("#,##0.00"),
             70,
             {},
             [](const ListGrid &grid, int row) {
                 return grid.raw(row, QStringLiteral("m3")).toDouble() > 400 ? rgb(QStringLiteral("FFA4A4")) : QColor();
             },
             true},
            {QStringLiteral("jour"), QStringLiteral("Date"), QString(), 90, Qt::AlignHCenter},
        };
        d.rowColour = [](const ListGrid &grid, int row) {
            return grid.raw(row, QStringLiteral("livree")).toString() == QLatin1String("OUI")
                       ? rgb(QStringLiteral("00FF00"))
                       : QColor();
        };
        return d;
    }
    static PagedQuery logs(const QString &where = QString(), const QVariantList &values = {})
    {
        PagedQuery q;
        q.columns = QStringLiteral("inc, n_grume, essence, m3, jour, livree");
        q.from = QStringLiteral("grid_logs");
        q.where = where;
        q.values = values;
        q.descending = true;
        return q;
    }
    QString shown(const QTableView &view, int row, const QString &column) const
    {
        auto *grid = static_cast<GridModel *>(view.model());
        return grid->index(row, grid->column(column)).data().toString();
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_folder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.filePath(QStringLiteral("config")));
        m_db = test::createTestDatabase();
        m_context.db = m_db;
        m_context.dialogs = &m_dialogs;
        m_context.rights.setUser(QStringLiteral("paul"));
        QVERIFY(execute(m_db, QStringLiteral("create table grid_logs (inc int not null auto_increment primary key, "
                                             "n_grume int, essence varchar(40), m3 double, jour date, livree "
                                             "varchar(3))")));
        // log n: number 1000 + n, oak or beech, n m3, a day of 2026, every tenth delivered
        QStringList rows;
        for (int n = 1; n <= 500; ++n)
            rows << QStringLiteral("(%1, '%2', %3, '%4', %5)")
                        .arg(1000 + n)
                        .arg(n % 2 ? QStringLiteral("Chêne") : QStringLiteral("Hêtre"))
                        .arg(n + 0.5)
                        .arg(QDate(2026, 1, 1).addDays(n).toString(Qt::ISODate))
                        .arg(n % 10 == 0 ? QStringLiteral("'OUI'") : QStringLiteral("NULL"));
        QVERIFY(execute(m_db, QStringLiteral("insert into grid_logs (n_grume, essence, m3, jour, livree) values ") +
                                  rows.join(QLatin1Char(','))));
    }
    void init()
    {
        m_dialogs.clear();
        m_progress.clear();
        QSettings(QStringLiteral("Ravelin")).remove(QStringLiteral("listes"));
    }

    void declaredColumnsAndFormats()
    {
        QTableView view;
        ListGrid grid(m_context, &view, declaration());
        QVERIFY(grid.setQuery(m_db, logs()));
        // the declared columns only, in their order, with their captions and widths
        QCOMPARE(test::headerTexts(view), (QStringList{"N° grume", "Essence", "Volume", "Date"}));
        QCOMPARE(view.columnWidth(grid.model()->column(QStringLiteral("essence"))), 110);
        QCOMPARE(grid.rowCount(), 20); // a page
        // the last log first: 500.5 m3, delivered
        QCOMPARE(shown(view, 0, QStringLiteral("m3")), QStringLiteral("500,50"));
        QCOMPARE(shown(view, 0, QStringLiteral("jour")), QDate(2026, 1, 1).addDays(500).toString("dd/MM/yyyy"));
        QCOMPARE(shown(view, 0, QStringLiteral("essence")), QStringLiteral("Hêtre"));
        QCOMPARE(grid.raw(0, QStringLiteral("m3")).toDouble(), 500.5);
        QCOMPARE(grid.currentRow(), 0);
        QCOMPARE(grid.currentKey().toInt(), 500);
        const auto at = [&](int row, const char *column, int role) {
            return grid.model()->index(row, grid.model()->column(QLatin1String(column))).data(role);
        };
        QCOMPARE(at(0, "jour", Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignHCenter | Qt::AlignVCenter);
        QCOMPARE(at(0, "m3", Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignRight | Qt::AlignVCenter);
        // the cell rule over the row's colour; a row without either has none
        QCOMPARE(at(0, "m3", Qt::BackgroundRole).value<QColor>(), rgb(QStringLiteral("FFA4A4")));
        QCOMPARE(at(0, "essence", Qt::BackgroundRole).value<QColor>(), rgb(QStringLiteral("00FF00")));
        QVERIFY(!at(1, "essence", Qt::BackgroundRole).isValid());
        // every list offers the same actions
        QCOMPARE(view.contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(view.actions().contains(grid.exportAction()));
        QVERIFY(view.horizontalHeader()->actions().contains(grid.resetColumnsAction()));
        QCOMPARE(grid.exportAction()->text(), QStringLiteral("Exporter…"));
        QCOMPARE(grid.exportAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(grid.resetColumnsAction()->text(), QStringLiteral("Rétablir les colonnes"));
    }

    // The first page shows with "…"; the count and the sum arrive from the worker; a count made
    // stale by a new search never shows.
    void counterAfterTheFirstPage()
    {
        QTableView view;
        QLabel counter;
        ListGrid grid(m_context, &view, declaration(&counter));
        QSignalSpy counted(&grid, &ListGrid::counted);
        QVERIFY(grid.setQuery(m_db, logs(QStringLiteral("essence = ?"), {QStringLiteral("Chêne")})));
        QVERIFY(grid.setQuery(m_db, logs()));
        QCOMPARE(counter.text(), QStringLiteral("( nb … )"));
        QCOMPARE(grid.rowCount(), 20);
        QTRY_COMPARE(counter.text(), QStringLiteral("( nb 500 )"));
        QTest::qWait(50);
        QCOMPARE(counted.count(), 1);
        QCOMPARE(counted.first().first().toLongLong(), 500);
        QCOMPARE(grid.sum(QStringLiteral("m3")).toDouble(), 500 * 501 / 2 + 250.0);

        // a list held in one page is counted as it is read
        QVERIFY(grid.setQuery(m_db, logs(QStringLiteral("n_grume <= ?"), {1005})));
        QCOMPARE(counter.text(), QStringLiteral("( nb 5 )"));
        QCOMPARE(grid.sum(QStringLiteral("m3")).toDouble(), 17.5);
    }

    // The worker's connection is opened for the first list longer than a page, and kept.
    void aShortListOpensNoConnection()
    {
        QTableView view;
        ListGrid grid(m_context, &view, declaration());
        QVERIFY(grid.setQuery(m_db, logs(QStringLiteral("n_grume <= ?"), {1005})));
        QVERIFY(!grid.findChild<DatabaseWorker *>());
        QVERIFY(grid.setQuery(m_db, logs()));
        DatabaseWorker *worker = grid.findChild<DatabaseWorker *>();
        QVERIFY(worker);
        QTRY_COMPARE(grid.totalCount().value_or(-1), 500);
        QVERIFY(grid.setQuery(m_db, logs(QStringLiteral("inc > ?"), {1})));
        QCOMPARE(grid.findChildren<DatabaseWorker *>(), QList<DatabaseWorker *>{worker});
        QTRY_COMPARE(grid.totalCount().value_or(-1), 499);
    }

    void selectionAcrossSearches_data()
    {
        QTest::addColumn<int>("selected"); // the log's inc
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("expectedKey"); // the current log after the search
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("first page, still listed") << 495 << "essence = 'Hêtre' or inc = 495" << 495 << 3;
        QTest::newRow("deep down, still listed") << 120 << "inc <= 300" << 120 << 180;
        QTest::newRow("no longer listed: the first row") << 120 << "inc > 300" << 500 << 0;
        QTest::newRow("reload") << 7 << QString() << 7 << 493;
    }
    void selectionAcrossSearches()
    {
        QFETCH(int, selected);
        QFETCH(QString, where);
        QFETCH(int, expectedKey);
        QFETCH(int, expectedRow);
        QTableView view;
        ListGrid grid(m_context, &view, declaration());
        QVERIFY(grid.setQuery(m_db, logs()));
        QSignalSpy changed(&grid, &ListGrid::currentRowChanged);
        QVERIFY(grid.selectKey(selected));
        QCOMPARE(grid.currentKey().toInt(), selected);
        QCOMPARE(changed.count(), 1);
        QVERIFY(where.isEmpty() ? grid.reload() : grid.setQuery(m_db, logs(where)));
        // a row beyond the first page is found on the worker: the first row meanwhile
        QVERIFY(grid.currentRow() == 0 || grid.currentRow() == expectedRow);
        QTRY_COMPARE(grid.currentKey().toInt(), expectedKey);
        QCOMPARE(grid.currentRow(), expectedRow);
        QCOMPARE(changed.last().first().toInt(), expectedRow);
        QVERIFY(!grid.selectKey(100000));
        QCOMPARE(grid.currentKey().toInt(), expectedKey);
        QVERIFY(m_dialogs.shown().isEmpty());
    }

    // The user moves while the kept row is looked for deep down: the user's row stays.
    void selectionMovedMeanwhile()
    {
        QTableView view;
        ListGrid grid(m_context, &view, declaration());
        QVERIFY(grid.setQuery(m_db, logs()));
        QVERIFY(grid.selectKey(7));
        QVERIFY(grid.reload());
        grid.selectRow(2);
        const auto workers = grid.findChildren<DatabaseWorker *>();
        QCOMPARE(workers.size(), 1);
        QTRY_VERIFY(!workers.first()->isBusy());
        QCoreApplication::processEvents();
        QCOMPARE(grid.currentRow(), 2);
        // the rows read down to it stay read
        QVERIFY(grid.rowCount() > 400);
    }

    void emptyList()
    {
        QTableView view;
        QLabel counter;
        ListGrid grid(m_context, &view, declaration(&counter));
        QVERIFY(grid.setQuery(m_db, logs()));
        QSignalSpy changed(&grid, &ListGrid::currentRowChanged);
        QVERIFY(grid.setQuery(m_db, logs(QStringLiteral("inc < 0"))));
        QCOMPARE(grid.currentRow(), -1);
        QVERIFY(grid.currentKey().isNull());
        QCOMPARE(changed.last().first().toInt(), -1);
        QCOMPARE(counter.text(), QStringLiteral("( nb 0 )"));
        // a failing statement keeps what was shown
        QVERIFY(!grid.setQuery(m_db, logs(QStringLiteral("no_such_column = 1"))));
        QCOMPARE(counter.text(), QStringLiteral("( nb 0 )"));
    }

    void wheelSteps_data()
    {
        QTest::addColumn<bool>("declared");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("towards the user: next row") << true << -120 << 3;
        QTest::newRow("away: previous row") << true << 120 << 1;
        QTest::newRow("not declared: the row stays") << false << -120 << 2;
    }
    void wheelSteps()
    {
        QFETCH(bool, declared);
        QFETCH(int, angle);
        QFETCH(int, expectedRow);
        QTableView view;
        ListGrid grid(m_context, &view, declaration(nullptr, declared));
        QVERIFY(grid.setQuery(m_db, logs()));
        grid.selectRow(2);
        QWheelEvent wheel(QPointF(5, 5), view.viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
        QCOMPARE(grid.currentRow(), expectedRow);
    }

    // Rows an operation computed: the same columns, formats, counter, selection and sums.
    void rowsOfATable()
    {
        QTableView view;
        QLabel counter;
        ListGrid grid(m_context, &view, declaration(&counter));
        DataTable table({QStringLiteral("inc"), QStringLiteral("N_GRUME"), QStringLiteral("essence"),
                         QStringLiteral("m3"), QStringLiteral("jour"), QStringLiteral("livree")});
        table.addRow({1, 7001, QStringLiteral("Douglas"), 1234.5, QDate(2026, 3, 1), QStringLiteral("OUI")});
        table.addRow({2, 7002, QStringLiteral("Épicéa"), 2.25, QDate(2026, 3, 2)});
        table.addRow({3, 7003, QStringLiteral("Chêne"), QVariant(), QVariant()});
        grid.setTable(table);
        QCOMPARE(test::headerTexts(view), (QStringList{"N° grume", "Essence", "Volume", "Date"}));
        QCOMPARE(shown(view, 0, QStringLiteral("m3")), QStringLiteral("1 234,50"));
        QCOMPARE(shown(view, 1, QStringLiteral("jour")), QStringLiteral("02/03/2026"));
        QCOMPARE(counter.text(), QStringLiteral("( nb 3 )"));
        QCOMPARE(grid.sum(QStringLiteral("m3")).toDouble(), 1236.75);
        QVERIFY(!grid.pagedModel());
        QVERIFY(grid.selectKey(2));
        table.addRow({4, 7004, QStringLiteral("Hêtre"), 1.0, QVariant()});
        grid.setTable(table);
        QCOMPARE(grid.currentRow(), 1);
        QCOMPARE(grid.rowCount(), 4);
        // and back to a statement
        QVERIFY(grid.setQuery(m_db, logs()));
        QVERIFY(grid.pagedModel());
        QTRY_COMPARE(counter.text(), QStringLiteral("( nb 500 )"));
    }

    // "Exporter…" writes the whole list as filtered, in the columns' order on screen; a cancel
    // leaves no file.
    void exportTheWholeList_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<bool>("written");
        QTest::newRow("CSV") << "grumes.csv" << -1 << true;
        QTest::newRow("XLSX") << "grumes.xlsx" << -1 << true;
        QTest::newRow("cancelled") << "grumes.csv" << 100 << false;
        QTest::newRow("no file chosen") << QString() << -1 << false;
    }
    void exportTheWholeList()
    {
        QFETCH(QString, name);
        QFETCH(int, cancelAt);
        QFETCH(bool, written);
        QTemporaryDir folder;
        const QString file = name.isEmpty() ? QString() : folder.filePath(name);
        QTableView view;
        ListGrid grid(m_context, &view, declaration());
        grid.setExportPageSize(50);
        const ExportProgressFactory previous = setExportProgressFactory([this, cancelAt](QWidget *) {
            return std::unique_ptr<ExportProgressView>(new ScriptedProgress(cancelAt, &m_progress));
        });
        QVERIFY(grid.setQuery(m_db, logs(QStringLiteral("inc <= ?"), {400})));
        // the user put the volume first
        QHeaderView *header = view.horizontalHeader();
        header->moveSection(header->visualIndex(grid.model()->column(QStringLiteral("m3"))), 0);
        m_dialogs.answer(file);
        grid.exportAction()->trigger();
        setExportProgressFactory(previous);

        QCOMPARE(m_dialogs.shown().first().kind, QStringLiteral("saveFile"));
        QCOMPARE(m_dialogs.shown().first().caption, QStringLiteral("Exporter la liste"));
        QCOMPARE(QFileInfo::exists(file), written);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), written ? 1 : 0);
        if (cancelAt > 0) QCOMPARE(m_progress, (QList<qint64>{50, 100}));
        if (!written) return;
        QCOMPARE(m_progress.last(), 400); // every page, not only those on screen
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("400 lignes exportées dans %1.").arg(file));
        if (name.endsWith(QLatin1String(".csv"))) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(f.readAll().mid(3)).split(QStringLiteral("\r\n"));
            QCOMPARE(lines.at(0), QStringLiteral("Volume;N° grume;Essence;Date"));
            QCOMPARE(lines.at(1),
                     QStringLiteral("400,50;1400;Hêtre;") + QDate(2026, 1, 1).addDays(400).toString("dd/MM/yyyy"));
            QCOMPARE(lines.at(400), QStringLiteral("1,50;1001;Chêne;") + QDate(2026, 1, 2).toString("dd/MM/yyyy"));
        }
    }

    void ctrlEExports()
    {
        QTableView view;
        ListGrid grid(m_context, &view, declaration());
        QVERIFY(grid.setQuery(m_db, logs()));
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        view.setFocus();
        m_dialogs.answer(QString()); // the user closes the chooser
        QTest::keyClick(&view, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(m_dialogs.shown().size(), 1);
        QCOMPARE(m_dialogs.shown().first().kind, QStringLiteral("saveFile"));
    }

    // Widths and order follow the user from one opening of the screen to the next (and are
    // his alone); "Rétablir les colonnes" goes back to the screen's own layout.
    void rememberedColumns()
    {
        {
            QTableView view;
            ListGrid grid(m_context, &view, declaration());
            QVERIFY(grid.setQuery(m_db, logs()));
            QHeaderView *header = view.horizontalHeader();
            header->moveSection(header->visualIndex(grid.model()->column(QStringLiteral("jour"))), 0);
            header->resizeSection(grid.model()->column(QStringLiteral("essence")), 222);
            // a new search keeps them
            QVERIFY(grid.setQuery(m_db, logs(QStringLiteral("inc > ?"), {10})));
            QCOMPARE(test::headerTexts(view), (QStringList{"Date", "N° grume", "Essence", "Volume"}));
            QCOMPARE(view.columnWidth(grid.model()->column(QStringLiteral("essence"))), 222);
        }
        const auto opened = [&](const QString &user, QStringList &captions, int &width) {
            m_context.rights.setUser(user);
            QTableView view;
            ListGrid grid(m_context, &view, declaration());
            if (!grid.setQuery(m_db, logs())) return;
            captions = test::headerTexts(view);
            width = view.columnWidth(grid.model()->column(QStringLiteral("essence")));
        };
        QStringList captions;
        int width = 0;
        opened(QStringLiteral("paul"), captions, width); // the next time the screen opens
        QCOMPARE(captions, (QStringList{"Date", "N° grume", "Essence", "Volume"}));
        QCOMPARE(width, 222);
        opened(QStringLiteral("marie"), captions, width);
        QCOMPARE(captions, (QStringList{"N° grume", "Essence", "Volume", "Date"}));
        QCOMPARE(width, 110);

        m_context.rights.setUser(QStringLiteral("paul"));
        {
            QTableView view;
            ListGrid grid(m_context, &view, declaration());
            QVERIFY(grid.setQuery(m_db, logs()));
            grid.resetColumnsAction()->trigger();
            QCOMPARE(test::headerTexts(view), (QStringList{"N° grume", "Essence", "Volume", "Date"}));
            QCOMPARE(view.columnWidth(grid.model()->column(QStringLiteral("essence"))), 110);
        }
        opened(QStringLiteral("paul"), captions, width);
        QCOMPARE(captions, (QStringList{"N° grume", "Essence", "Volume", "Date"}));
        QCOMPARE(width, 110);
    }
};

QTEST_MAIN(TestListGrid)
#include "tst_listgrid.moc"
