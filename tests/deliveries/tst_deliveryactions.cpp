#include "deliveriesfixture.h"

#include "actionentrydialog.h"
#include "deliverycoststab.h"
#include "deliveryeditor.h"
#include "deliverylisttab.h"
#include "deliverystore.h"
#include "listgrid.h"
#include "ui_actionentrydialog.h"
#include "ui_deliveryeditor.h"

#include <QComboBox>
#include <QLineEdit>

using namespace ravelin;

namespace {

// A choice in a drop-down as the user makes it (the screen reacts to the activation).
void choose(QComboBox *box, const QString &text)
{
    box->setCurrentText(text);
    emit box->activated(box->currentIndex());
}

} // namespace

// The contractor costs of a delivery: its three groups, the action screen, the road distance and
// time, and what the main list's cost panel shows of them.
class TestDeliveryActions : public QObject
{
    Q_OBJECT
    test::DeliveriesFixture f;

    QSqlRecord row(int inc)
    {
        auto read = loadDelivery(f.db, inc);
        return read ? *read : QSqlRecord();
    }

private slots:
    void initTestCase() { f.open(); }
    void init()
    {
        f.clearTables();
        f.signInAsMaster();
        f.run(QStringLiteral(
            "insert into intervenant_possible (num_intervenant_possible, societe, famille_intervenant, "
            "cout_tonne, cout_stere, cout_heure) values (1, 'Broyage Dubois', 'BROYAGE', 6, 4, 90), "
            "(2, 'Transports Roche', 'TRANSPORT', 8, 5, 70), (3, 'Scierie Lenoir', 'ABATTAGE', 3, 2, 1)"));
        f.insertDelivery({{QStringLiteral("inc"), 7},
                          {QStringLiteral("operation"), QStringLiteral("VENTE")},
                          {QStringLiteral("tonnage"), 24.5},
                          {QStringLiteral("n_lot"), 31},
                          {QStringLiteral("facturee"), QStringLiteral("NON")}});
    }

    void chippingLineFromTheCompanysRate()
    {
        DeliveryEditor editor(f.context, row(7));
        test::ModalScript screens;
        screens.then([](QDialog &d) {
            auto &screen = static_cast<ActionEntryDialog &>(d);
            Ui::liste_intervention_action *ui = screen.ui();
            choose(ui->I_nom, QStringLiteral("Broyage Dubois"));
            choose(ui->unite_action, QStringLiteral("Tonne"));
            ui->BtnOK->click();
            return d.result();
        });
        editor.ui()->BtnCreerBroyage->click();
        QCOMPARE(screens.shown(), QStringList{QStringLiteral("liste_intervention_liv")});
        QCOMPARE(f.value(QStringLiteral("select i_cout from liste_action_liv where inc_cde=7")).toDouble(), 147.0);
        QCOMPARE(f.value(QStringLiteral("select n_lot from liste_action_liv where inc_cde=7")).toInt(), 31);
        QCOMPARE(f.value(QStringLiteral("select type1 from liste_action_liv where inc_cde=7")).toString(),
                 QStringLiteral("BROYAGE"));
        QCOMPARE(editor.costsTab()->grid(ActionKind::Chipping)->rowCount(), 1);
        // written at once: the editor's Cancel leaves it
        editor.reject();
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_liv")), 1);
    }

    void transportLineWithoutLotAndACompanyRequired()
    {
        DeliveryEditor editor(f.context, row(7));
        QString priceBeforeFlatRate, priceAfterFlatRate;
        test::ModalScript screens;
        screens.then([&](QDialog &d) {
            auto &screen = static_cast<ActionEntryDialog &>(d);
            Ui::liste_intervention_action *ui = screen.ui();
            ui->I_nom->setCurrentIndex(-1);
            ui->BtnOK->click(); // no company: refused, the screen stays
            choose(ui->I_nom, QStringLiteral("Transports Roche"));
            choose(ui->unite_action, QStringLiteral("Tonne"));
            priceBeforeFlatRate = ui->prix_unit_action->text();
            choose(ui->unite_action, QStringLiteral("Forfait")); // keeps the price
            priceAfterFlatRate = ui->prix_unit_action->text();
            ui->prix_unit_action->setText(QStringLiteral("300"));
            ui->qte_action->setText(QStringLiteral("1"));
            ui->BtnOK->click();
            return d.result();
        });
        editor.ui()->BtnCreerTransport->click();
        QCOMPARE(priceBeforeFlatRate, QStringLiteral("8"));
        QCOMPARE(priceAfterFlatRate, priceBeforeFlatRate);
        QVERIFY(f.dialogs.texts().contains(QStringLiteral("Vous devez selectionner une société")));
        QCOMPARE(f.value(QStringLiteral("select i_cout from liste_action_liv where inc_cde=7")).toDouble(), 300.0);
        QVERIFY(f.value(QStringLiteral("select n_lot from liste_action_liv where inc_cde=7")).isNull());

        // road distance and time of the line
        ListGrid *transport = editor.costsTab()->grid(ActionKind::Transport);
        transport->selectRow(0);
        for (const QVariant &typed : {QVariant(QStringLiteral("12,5")), QVariant()}) {
            f.dialogs.answer(typed);
            editor.ui()->BtnKm->click();
            QCOMPARE(f.dialogs.lastText(), QStringLiteral("Valeur incorrecte !"));
        }
        f.dialogs.answer(QStringLiteral("125"));
        editor.ui()->BtnKm->click();
        QCOMPARE(f.count(QStringLiteral("select km_route from liste_action_liv where inc_cde=7")), 125);
        f.dialogs.answer(QStringLiteral("01:25:10"));
        editor.ui()->BtnTemps->click();
        QCOMPARE(f.value(QStringLiteral("select temps_route from liste_action_liv where inc_cde=7")).toTime(),
                 QTime(1, 25, 10));
        QCOMPARE(transport->raw(0, QStringLiteral("temps_route")).toTime(), QTime(1, 25, 10));
    }

    void purchaseRetypedLeavesItsGroupNotThePanel()
    {
        DeliveryEditor editor(f.context, row(7));
        test::ModalScript screens;
        screens.then([](QDialog &d) {
            auto &screen = static_cast<ActionEntryDialog &>(d);
            Ui::liste_intervention_action *ui = screen.ui();
            choose(ui->I_nom, QStringLiteral("Scierie Lenoir"));
            choose(ui->type1, QStringLiteral("ABATTAGE"));
            choose(ui->unite_action, QStringLiteral("Stere"));
            ui->BtnOK->click();
            return d.result();
        });
        editor.ui()->BtnCreerAchat->click();
        QCOMPARE(f.value(QStringLiteral("select prix_unit_action from liste_action_liv where inc_cde=7")).toDouble(),
                 2.0);
        QCOMPARE(editor.costsTab()->grid(ActionKind::Purchase)->rowCount(), 0);
        DeliveryListTab tab(f.context);
        tab.search();
        tab.loadCosts();
        QCOMPARE(tab.costs()->rowCount(), 1);
        QCOMPARE(tab.costs()->raw(0, QStringLiteral("type1")).toString(), QStringLiteral("ABATTAGE"));
    }

    void deleteAndInvoicedMeanwhile()
    {
        f.run(QStringLiteral(
            "insert into liste_action_liv (inc_cde, type1, I_nom, i_cout) values (7, 'BROYAGE', 'Broyage "
            "Dubois', 10)"));
        DeliveryEditor editor(f.context, row(7));
        editor.costsTab()->grid(ActionKind::Chipping)->selectRow(0);
        // invoiced on another workstation while the editor is open
        f.run(QStringLiteral("update livraison set facturee='OUI', num_facture=12 where inc=7"));
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        editor.ui()->BtnSupprimerBroyage->click();
        QCOMPARE(f.dialogs.lastText(), invoicedMeanwhileMessage());
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_liv")), 1);
        f.run(QStringLiteral("update livraison set facturee='NON', num_facture=null where inc=7"));
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        editor.ui()->BtnSupprimerBroyage->click();
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_liv")), 0);
        QCOMPARE(editor.costsTab()->grid(ActionKind::Chipping)->rowCount(), 0);
        editor.ui()->BtnSupprimerBroyage->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Il n'y a pas d'enregistrement"));
    }
};

QTEST_MAIN(TestDeliveryActions)
#include "tst_deliveryactions.moc"
