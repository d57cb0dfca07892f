#include "appfixture.h"
#include "deliverylisttab.h"
#include "listgrid.h"
#include "lotlisttab.h"
#include "modalscript.h"
#include "ordertab.h"
#include "ui_deliverylisttab.h"
#include "ui_lotlisttab.h"
#include "ui_ordertab.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>

using namespace ravelin;

// The demo company a new installation starts with, read by the main tabs as a user first sees
// them: every list fills without an error, and the order and delivery editors open on it and
// leave it as it was when cancelled. With RAVELIN_SCREENSHOTS set to a folder, each screen is
// saved there as a picture.
class TestDemoData : public QObject
{
    Q_OBJECT
    test::AppFixture f;

    void picture(QWidget &screen, const QString &name)
    {
        const QString folder = qEnvironmentVariable("RAVELIN_SCREENSHOTS");
        if (folder.isEmpty()) return;
        QDir().mkpath(folder);
        screen.resize(1400, 850);
        screen.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    }

    // A fingerprint of a table, to tell that nothing was written.
    QString fingerprint(const QString &table)
    {
        QSqlQuery q(f.db);
        if (!q.exec(QStringLiteral("checksum table ") + table) || !q.next()) return q.lastError().text();
        return q.value(1).toString();
    }

    void noError()
    {
        for (const auto &shown : f.dialogs.shown())
            QVERIFY2(shown.caption != QLatin1String("Erreur"), qPrintable(shown.text));
    }

private slots:
    void initTestCase()
    {
        f.db = test::createTestDatabase(QStringLiteral("tst_demodata"), true);
        f.context.db = f.db;
        f.context.dialogs = &f.dialogs;
        f.context.rights = Rights({}, QStringLiteral("Technicien"));
        auto settings = loadSettings(f.db);
        QVERIFY(settings);
        f.context.settings = *settings;
    }
    void init() { f.dialogs.clear(); }

    void lotsTab()
    {
        LotListTab tab(f.context);
        tab.search();
        QVERIFY(tab.list()->rowCount() > 0);
        noError();
        picture(tab, QStringLiteral("coupes"));
    }

    void ordersTabAndEditor()
    {
        OrderTab tab(f.context);
        tab.search();
        QVERIFY(tab.list()->rowCount() > 0);
        tab.ui()->radio_histo->click();
        QVERIFY(tab.list()->rowCount() > 0);
        picture(tab, QStringLiteral("commandes"));
        const QString orders = fingerprint(QStringLiteral("cde"));
        const QString lines = fingerprint(QStringLiteral("liste_grume_cde"));
        test::ModalScript screens;
        screens.then([&](QDialog &editor) {
            picture(editor, QStringLiteral("commande"));
            return int(QDialog::Rejected);
        });
        tab.ui()->BtnModifier->click();
        QCOMPARE(screens.shown(), QStringList{QStringLiteral("detail_cde")});
        noError();
        QCOMPARE(fingerprint(QStringLiteral("cde")), orders);
        QCOMPARE(fingerprint(QStringLiteral("liste_grume_cde")), lines);
    }

    void deliveriesTabAndEditor()
    {
        DeliveryListTab tab(f.context);
        tab.ui()->radio_histo->click();
        QVERIFY(tab.list()->rowCount() > 0);
        picture(tab, QStringLiteral("livraisons"));
        const QString deliveries = fingerprint(QStringLiteral("livraison"));
        const QString actions = fingerprint(QStringLiteral("liste_action_liv"));
        test::ModalScript screens;
        screens.then([&](QDialog &editor) {
            picture(editor, QStringLiteral("livraison"));
            return int(QDialog::Rejected);
        });
        tab.ui()->BtnModifier->click();
        QCOMPARE(screens.shown(), QStringList{QStringLiteral("detail_livraison")});
        noError();
        QCOMPARE(fingerprint(QStringLiteral("livraison")), deliveries);
        QCOMPARE(fingerprint(QStringLiteral("liste_action_liv")), actions);
    }
};

QTEST_MAIN(TestDemoData)
#include "tst_demodata.moc"
