#include "appfixture.h"
#include "contractordirectorytab.h"
#include "deliverylisttab.h"
#include "gridmodel.h"
#include "gridtexts.h"
#include "listgrid.h"
#include "loginquirydialog.h"
#include "lotlisttab.h"
#include "lotlogsdialog.h"
#include "placesearchdialog.h"
#include "referencelistdialog.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

#include <functional>
#include <memory>

using namespace ravelin;

namespace {

// The export's progress, never stopped by the user.
struct QuietProgress : ExportProgressView
{
    bool advance(qint64, qint64) override { return true; }
};

QAction *actionNamed(const QList<QAction *> &actions, const QString &text)
{
    for (QAction *action : actions)
        if (action->text() == text) return action;
    return nullptr;
}

// A screen opened and searched as the user opens it, and the grid of it under test.
struct Opened
{
    std::unique_ptr<QWidget> screen;
    QTableView *view = nullptr;
};

} // namespace

// Every list of the program is declared, and so offers the same things on every screen:
// "Exporter…" (context menu and Ctrl+E) writing the whole list with the columns as the screen
// shows them, the user's column order and widths kept from one opening of the screen to the next,
// and "Rétablir les colonnes" going back to the screen's own layout.
class TestDeclaredLists : public QObject
{
    Q_OBJECT
    test::AppFixture f;
    QTemporaryDir m_folder;
    ExportProgressFactory m_previousProgress;

    Opened open(const QString &screen)
    {
        Opened o;
        const auto grid = [&o](const char *name) { return o.screen->findChild<QTableView *>(QLatin1String(name)); };
        if (screen == QLatin1String("Coupe de Bois")) {
            auto *tab = new LotListTab(f.context);
            o.screen.reset(tab);
            tab->search();
            o.view = grid("Grille_dossier1");
        } else if (screen == QLatin1String("Livraisons Plaqu. Forest")) {
            auto *tab = new DeliveryListTab(f.context);
            o.screen.reset(tab);
            tab->search();
            o.view = grid("Grille_livraison");
        } else if (screen == QLatin1String("info_grume")) {
            o.screen.reset(new LogInquiryDialog(f.context)); // searches as it opens
            o.view = grid("Grille_grumes");
        } else if (screen == QLatin1String("grume_coupe")) {
            o.screen.reset(new LotLogsDialog(f.context, 11, 1, QStringLiteral("Ussel"), 3.5, 0));
            o.view = grid("Grille_grumes");
        } else if (screen == QLatin1String("chercher_destination")) {
            auto *picker = new PlaceSearchDialog(f.context);
            o.screen.reset(picker);
            picker->search();
            o.view = grid("Grille_destination");
        } else if (screen.startsWith(QLatin1String("Intervenants"))) {
            auto *tab = new ContractorDirectoryTab(f.context);
            o.screen.reset(tab);
            tab->search();
            tab->locateContractor(1);
            tab->loadContacts();
            tab->showActions();
            o.view = grid(screen.endsWith(QLatin1String("contacts"))  ? "Grille_contact"
                          : screen.endsWith(QLatin1String("actions")) ? "Grille_actions"
                                                                      : "Grille_intervenant");
        } else {
            for (ReferenceTable table : referenceTables()) {
                if (referenceTable(table).listScreen != screen) continue;
                auto *list = new ReferenceListDialog(f.context, table);
                o.screen.reset(list);
                list->reload();
                o.view = grid("Grille");
            }
        }
        return o;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_folder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.filePath(QStringLiteral("config")));
        f.open();
        m_previousProgress =
            setExportProgressFactory([](QWidget *) { return std::unique_ptr<ExportProgressView>(new QuietProgress); });
        f.run(QStringLiteral("insert into coupe (n_lot, lieu, coupe_fini, estimation) values (11, 'Ussel', 'NON', "
                             "12.5), (12, 'Tulle', 'NON', 3)"));
        f.run(QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, n_grume, essence, m3) values "
                             "(11, 1, 'GRUME', '1', 'Chêne', 1.5), (11, 1, 'GRUME', '2', 'Hêtre', 2), "
                             "(12, 1, 'GRUME', '3', 'Chêne', 0.75)"));
        f.run(QStringLiteral("insert into destination (client, destination, stockage, cp, ville) values "
                             "('Dupont', 'Chaufferie A', 'NON', '71400', 'Autun'), "
                             "('Zone', 'Plateforme P', 'OUI', '58230', 'Montsauche')"));
        f.run(QStringLiteral("insert into intervenant_possible (num_intervenant_possible, societe, "
                             "famille_intervenant, cout_tonne) values (1, 'Abattage Martin', 'ABATTAGE', 9.5), "
                             "(2, 'Camions Perrin', 'TRANSPORT', 8)"));
        f.run(QStringLiteral("insert into livraison (inc, creation, operation, date_livraison, tonnage, facturee) "
                             "values (1, 0, 'VENTE', '2026-01-05 08:00:00', 12.5, 'NON')"));
        f.run(QStringLiteral("insert into contact (num_contact, num_intervenant_possible, civilite, Nom, prenom) "
                             "values (1, 1, 'M.', 'Martin', 'Paul'), (2, 1, 'Mme', 'Martin', 'Anne')"));
        f.run(QStringLiteral("insert into intervention (I_nom, type1, i_date, qte_action, unite_action, i_cout, "
                             "fac_fournisseur) values ('Abattage Martin', 'ABATTAGE', ?, 12, 'm3', 90, 'OUI')"),
              {QDate::currentDate().addDays(-3)});
    }
    void cleanupTestCase() { setExportProgressFactory(m_previousProgress); }
    void init()
    {
        f.dialogs.clear();
        QSettings(QStringLiteral("Ravelin")).remove(QStringLiteral("listes"));
    }

    void everyListOffersExportAndItsColumns_data()
    {
        QTest::addColumn<QString>("screen");
        for (const char *screen :
             {"Coupe de Bois", "Livraisons Plaqu. Forest", "info_grume", "grume_coupe", "chercher_destination",
              "Intervenants", "Intervenants : contacts", "Intervenants : actions"})
            QTest::newRow(screen) << QString::fromUtf8(screen);
        for (ReferenceTable table : referenceTables())
            QTest::newRow(qPrintable(referenceTable(table).listScreen)) << referenceTable(table).listScreen;
    }
    void everyListOffersExportAndItsColumns()
    {
        QFETCH(QString, screen);
        Opened opened = open(screen);
        QVERIFY(opened.view);
        QTableView *view = opened.view;
        auto *list = view->findChild<ListGrid *>();
        QVERIFY(list);
        QVERIFY2(f.dialogs.shown().isEmpty(), qPrintable(f.dialogs.texts().join(QLatin1Char('|'))));

        // The same two actions in the grid's context menu and in its header's.
        QAction *exporting = actionNamed(view->actions(), QStringLiteral("Exporter…"));
        QAction *reset = actionNamed(view->actions(), QStringLiteral("Rétablir les colonnes"));
        QVERIFY(exporting);
        QVERIFY(reset);
        QCOMPARE(exporting->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(view->contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(view->horizontalHeader()->actions().contains(exporting));
        QVERIFY(view->horizontalHeader()->actions().contains(reset));
        QCOMPARE(view->horizontalHeader()->contextMenuPolicy(), Qt::ActionsContextMenu);

        // "Exporter…" writes the whole list, its columns as the screen shows them.
        const QStringList declared = test::headerTexts(*view);
        QVERIFY(!declared.isEmpty());
        QTRY_VERIFY(list->totalCount().has_value());
        const qint64 rows = *list->totalCount();
        const QString file = m_folder.filePath(QStringLiteral("liste.csv"));
        f.dialogs.answer(file);
        exporting->trigger();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("%1 lignes exportées dans %2.").arg(rows).arg(file));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(written.readAll().mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.first(), declared.join(QLatin1Char(';')));
        QCOMPARE(lines.size() - 2, rows); // and the line end of the last row
        written.close();
        QFile::remove(file);

        // The user puts the last column first and widens it: so it is at the next opening.
        QHeaderView *header = view->horizontalHeader();
        const int lastShown = header->logicalIndex(int(declared.size()) - 1);
        header->moveSection(header->visualIndex(lastShown), 0);
        const bool widened = declared.size() > 1;
        if (widened) header->resizeSection(lastShown, 177);
        const QStringList moved = test::headerTexts(*view);
        opened = open(screen);
        QCOMPARE(test::headerTexts(*opened.view), moved);
        if (widened) QCOMPARE(opened.view->columnWidth(lastShown), 177);

        // "Rétablir les colonnes" gives the screen's own layout back, from then on.
        actionNamed(opened.view->actions(), QStringLiteral("Rétablir les colonnes"))->trigger();
        QCOMPARE(test::headerTexts(*opened.view), declared);
        opened = open(screen);
        QCOMPARE(test::headerTexts(*opened.view), declared);
        if (widened) QVERIFY(opened.view->columnWidth(lastShown) != 177);
    }
};

QTEST_MAIN(TestDeclaredLists)
#include "tst_declaredlists.moc"
