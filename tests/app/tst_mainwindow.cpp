#include "appcontext.h"
#include "mainwindow.h"
#include "maintab.h"
#include "modal.h"
#include "scripteddialogs.h"
#include "signindialog.h"
#include "sql.h"
#include "testdb.h"
#include "ui_mainwindow.h"
#include "ui_signindialog.h"

#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSqlField>
#include <QTest>
#include <QTimer>

using namespace ravelin;

namespace {

struct CountingTab : MainTab
{
    int searches = 0;
    int refreshes = 0;
    void search() override { ++searches; }
    void refresh() override { ++refreshes; }
    bool searched() const override { return searches > 0; }
};

// Signs in with `password` when the sign-in screen comes up.
ModalRunner typePassword(const QString &password)
{
    return [password](QDialog &d) {
        auto *signIn = qobject_cast<SignInDialog *>(&d);
        if (!signIn) return int(QDialog::Rejected);
        if (password.isNull()) {
            signIn->reject();
        } else {
            signIn->ui()->Edit_mot_passe->setText(password);
            signIn->ui()->BtnOK->click();
        }
        return signIn->result();
    };
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    test::ScriptedDialogs m_dialogs;

    std::unique_ptr<AppContext> context()
    {
        auto c = std::make_unique<AppContext>();
        c->db = m_db;
        c->dialogs = &m_dialogs;
        QSqlRecord settings;
        settings.append(QSqlField(QStringLiteral("nom"), QMetaType(QMetaType::QString)));
        settings.setValue(QStringLiteral("nom"), QStringLiteral("Bois du Morvan"));
        c->settings = settings;
        return c;
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase(QStringLiteral("tst_mainwindow"));
        QVERIFY(execute(
            m_db,
            QStringLiteral("insert into mot_passe (Utilisateur, Mot_passe) values ('Alice', 'a'), ('Paul', 'p')")));
        QVERIFY(execute(m_db, QStringLiteral("insert into detail_mot_passe (Utilisateur, Page, Autorisation) values "
                                             "('Alice', 'General', '1'), ('Alice', 'Parametrage', '0'), "
                                             "('Paul', 'Parametrage', '1'), ('Paul', 'General', '0')")));
        // Bruno reads the analyses
        QVERIFY(execute(m_db, QStringLiteral("insert into mot_passe (Utilisateur, Mot_passe) values ('Bruno', 'b')")));
        QVERIFY(execute(m_db, QStringLiteral("insert into detail_mot_passe (Utilisateur, Page, Autorisation) values "
                                             "('Bruno', 'General', '1'), ('Bruno', 'Analyse', '1')")));
    }
    void init() { m_dialogs.clear(); }
    void cleanup() { setModalRunner({}); }

    void frame()
    {
        auto c = context();
        MainWindow w(*c);
        QCOMPARE(w.objectName(), QStringLiteral("Main"));
        QTabWidget *tabs = w.ui()->PageControl1;
        QCOMPARE(tabs->count(), 4);
        const QStringList captions{QStringLiteral("Coupe de Bois"), QStringLiteral("Livraison Grumes"),
                                   QStringLiteral("Livraisons Plaqu. Forest"), QStringLiteral("Intervenants")};
        for (int i = 0; i < 4; ++i) QCOMPARE(tabs->tabText(i), captions[i]);
        QCOMPARE(tabs->currentWidget(), w.ui()->Tab_detail);
        QCOMPARE(w.statusPanel(1)->text(), QStringLiteral("Version 8.0b (3)"));
        QCOMPARE(w.statusPanel(4)->text(), QStringLiteral("Bois du Morvan"));
        QCOMPARE(w.statusPanel(3)->width(), 300);
        QCOMPARE(w.statusPanel(5)->width(), 50);

        auto band = [&] { return w.ui()->Panel_haut->palette().color(QPalette::Window).name().toUpper(); };
        QCOMPARE(band(), QStringLiteral("#0080C0"));
        tabs->setCurrentIndex(1);
        QCOMPARE(band(), QStringLiteral("#808080"));
        tabs->setCurrentIndex(2);
        QCOMPARE(band(), QStringLiteral("#808080")); // unchanged on the chips tab
        tabs->setCurrentIndex(3);
        QCOMPARE(band(), QStringLiteral("#949494"));

        // Every menu entry exists; those whose screen is not there yet are disabled.
        QVERIFY(w.menuAction(QStringLiteral("Paramètres Logiciel"))->isEnabled());
        QVERIFY(w.menuAction(QStringLiteral("&Gestion des mots de passes"))->isEnabled());
        QVERIFY(w.menuAction(QStringLiteral("&Quitter"))->isEnabled());
        for (const QString &entry : {QStringLiteral("Analyse CVO"), QStringLiteral("Planning transport Plaquette")})
            QCOMPARE(w.menuAction(entry)->isEnabled(), w.installedEntries().contains(entry));
        QVERIFY(w.menuAction(QStringLiteral("Info n° Grumes")));
        QCOMPARE(w.menuBar()->actions().size(), 7);
        QCOMPARE(w.menuBar()->actions().first()->text(), QStringLiteral("&Fichier"));
    }

    void titleScrollsAndComesBack()
    {
        auto c = context();
        MainWindow w(*c);
        const QString first = w.titleText();
        QCOMPARE(first, QStringLiteral("Ravelin - version 8.0b (3)"));
        w.tickTitle();
        QCOMPARE(w.windowTitle(), first);
        QCOMPARE(w.titleText(), first.mid(1) + first.left(1));
        for (int i = 1; i < first.size(); ++i) w.tickTitle();
        QCOMPARE(w.titleText(), first);
        QVERIFY(w.ui()->Label_heure->text().contains(QString::number(QDate::currentDate().year())));
    }

    void signInThenSearchOnce()
    {
        auto c = context();
        MainWindow w(*c);
        CountingTab lots, orders;
        w.setTabContent(MainWindow::LotsTab, new QWidget, &lots);
        w.setTabContent(MainWindow::OrdersTab, new QWidget, &orders);

        // Before sign-in a tab shown does not search.
        w.ui()->PageControl1->setCurrentIndex(1);
        w.ui()->PageControl1->setCurrentIndex(0);
        QCOMPARE(orders.searches, 0);

        setModalRunner(typePassword(QStringLiteral("a")));
        w.firstActivation();
        QVERIFY(!w.ended());
        QVERIFY(w.started());
        QCOMPARE(w.statusPanel(3)->text(), QStringLiteral("Alice"));
        QCOMPARE(lots.searches, 1);
        QVERIFY(w.titleTimer()->isActive());
        QCOMPARE(w.titleTimer()->interval(), 100);
        QVERIFY(w.postitTimer()->isActive());
        QCOMPARE(w.postitTimer()->interval(), 1000);
        QVERIFY(w.chartTimer()->isSingleShot());
        QCOMPARE(w.chartTimer()->interval(), 50);

        // A second activation does not sign in again.
        setModalRunner([](QDialog &) {
            QTest::qFail("sign-in shown twice", __FILE__, __LINE__);
            return 0;
        });
        w.firstActivation();

        w.ui()->PageControl1->setCurrentIndex(1);
        QCOMPARE(orders.searches, 1);
        w.ui()->PageControl1->setCurrentIndex(0);
        w.ui()->PageControl1->setCurrentIndex(1);
        QCOMPARE(orders.searches, 1);
        QCOMPARE(orders.refreshes, 1);
        QCOMPARE(lots.refreshes, 1);

        // Alice does not hold "Parametrage": the settings screen does not open.
        bool opened = false;
        setModalRunner([&](QDialog &) {
            opened = true;
            return 0;
        });
        m_dialogs.answer(true);
        w.menuAction(QStringLiteral("Paramètres Logiciel"))->trigger();
        QVERIFY(!opened);
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Accés non autorisé"));
        QCOMPARE(m_dialogs.lastCaption(), QStringLiteral("Sécurité"));
    }

    // Each analysis opens its screen from its menu entry for a user holding "Analyse"; a user
    // without it is refused.
    void analysesOpenFromTheirMenu_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("screen");
        QTest::newRow("customers") << "Analyse livraisons CLIENTS ( date à date )"
                                   << "graphique_tonnage";
        QTest::newRow("contractors") << "Analyse Coûts INTERVENANTS ( date à date )"
                                     << "graphique_fournisseur";
        QTest::newRow("cvo") << "Analyse CVO"
                             << "analyse_cvo";
        QTest::newRow("pefc") << "Analyse % PEFC dans les COUPES de BOIS"
                              << "analyse_PEFC_coupe";
        QTest::newRow("weighing places") << "Analyse Lieu de pesage ( date à date )"
                                         << "Graphique_lieu_pesage";
    }
    void analysesOpenFromTheirMenu()
    {
        QFETCH(QString, caption);
        QFETCH(QString, screen);
        for (const auto &[password, allowed] : {std::pair{QStringLiteral("b"), true}, {QStringLiteral("a"), false}}) {
            m_dialogs.clear();
            auto c = context();
            MainWindow w(*c);
            setModalRunner(typePassword(password));
            w.firstActivation();
            QStringList opened;
            setModalRunner([&](QDialog &d) {
                opened << d.objectName();
                return int(QDialog::Rejected);
            });
            if (!allowed) m_dialogs.answer(true); // the refusal's box
            w.menuAction(caption)->trigger();
            if (allowed) {
                QCOMPARE(opened, QStringList{screen});
                QVERIFY(m_dialogs.shown().isEmpty());
            } else {
                QVERIFY(opened.isEmpty());
                QCOMPARE(m_dialogs.lastText(), QStringLiteral("Accés non autorisé"));
                QCOMPARE(m_dialogs.lastCaption(), QStringLiteral("Sécurité"));
            }
        }
    }

    void withoutGeneralTheProgramEnds_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("user without General") << "p";
        QTest::newRow("cancelled sign-in") << QString();
    }
    void withoutGeneralTheProgramEnds()
    {
        QFETCH(QString, password);
        auto c = context();
        MainWindow w(*c);
        QSignalSpy ended(&w, &MainWindow::endRequested);
        setModalRunner(typePassword(password));
        m_dialogs.answer(true);
        w.firstActivation();
        QVERIFY(w.ended());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Accés non autorisé"));
        QVERIFY(!w.titleTimer()->isActive());
        if (password.isNull()) QCOMPARE(w.statusPanel(3)->text(), QStringLiteral("Utilisateur inconnu"));
    }

    void masterUserOpensSettings()
    {
        auto c = context();
        MainWindow w(*c);
        setModalRunner(typePassword(QStringLiteral("vuzq")));
        w.firstActivation();
        QCOMPARE(w.statusPanel(3)->text(), QStringLiteral("Technicien"));
        QString opened;
        setModalRunner([&](QDialog &d) {
            opened = d.objectName();
            return 0;
        });
        w.menuAction(QStringLiteral("Paramètres Logiciel"))->trigger();
        QCOMPARE(opened, QStringLiteral("parametrage"));
        w.menuAction(QStringLiteral("&Gestion des mots de passes"))->trigger();
        QCOMPARE(opened, QStringLiteral("Liste_mot_passe"));
        QVERIFY(m_dialogs.shown().isEmpty());
    }

    // Every entry a screen was wired to opens it for the master user: a screen (closed at once), or
    // a message for those that only tell something. None fails on the way.
    void everyInstalledEntryOpens()
    {
        auto c = context();
        MainWindow w(*c);
        setModalRunner(typePassword(QStringLiteral("vuzq")));
        w.firstActivation();
        QStringList entries = w.installedEntries();
        QVERIFY(entries.size() >= 12);
        entries.removeAll(QStringLiteral("&Quitter"));
        for (const QString &caption : entries) {
            m_dialogs.clear();
            QStringList screens;
            setModalRunner([&](QDialog &d) {
                screens << d.objectName();
                return int(QDialog::Rejected);
            });
            w.trigger(caption);
            const bool told = !m_dialogs.shown().isEmpty();
            QVERIFY2(!screens.isEmpty() || told, qPrintable(caption + QStringLiteral(": nothing opened")));
            for (const auto &shown : m_dialogs.shown())
                QVERIFY2(shown.caption != QLatin1String("Erreur"),
                         qPrintable(caption + QStringLiteral(": ") + shown.text));
        }
        QVERIFY(!w.ended());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
