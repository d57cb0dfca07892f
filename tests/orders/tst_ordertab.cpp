#include "ordersfixture.h"

#include "actionentrydialog.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "neworderdialog.h"
#include "ordereditor.h"
#include "orderlogsdialog.h"
#include "ordertab.h"
#include "productlinedialog.h"
#include "orderstore.h"
#include "ui_actionentrydialog.h"
#include "ui_neworderdialog.h"
#include "ui_ordereditor.h"
#include "ui_orderlogsdialog.h"
#include "ui_ordertab.h"
#include "ui_productlinedialog.h"

using namespace ravelin;

// The orders tab "Livraison Grumes" and the order editor, driven as a user would.
class TestOrderTab : public QObject
{
    Q_OBJECT
    test::OrdersFixture f;

    QList<int> listed(OrderTab &tab)
    {
        QList<int> orders;
        for (int row = 0; row < tab.list()->rowCount(); ++row)
            orders << tab.list()->raw(row, QStringLiteral("inc")).toInt();
        return orders;
    }
    int rowOf(OrderTab &tab, int inc) { return int(listed(tab).indexOf(inc)); }

private slots:
    void initTestCase() { f.open(); }
    void init()
    {
        f.clearTables();
        f.signInAsMaster();
    }

    void filtersAndInvoicedBox()
    {
        f.insertOrder(1);
        f.insertOrder(2, QStringLiteral("m3"), QStringLiteral("EXPORT"), QVariant());
        f.insertOrder(3, QStringLiteral("m3"), QStringLiteral("SCIERIE"), QStringLiteral("OUI"));
        OrderTab tab(f.context);
        tab.search();
        QCOMPARE(listed(tab), (QList<int>{2, 1}));
        tab.ui()->radio_histo->setChecked(true);
        QCOMPARE(listed(tab), (QList<int>{3, 2, 1}));
        QTRY_COMPARE(tab.ui()->Label_nb->text(), QStringLiteral("( nb : 3 )"));
        QTRY_COMPARE(tab.ui()->Label_total_prix->text(), QStringLiteral("( Total PRIX : 0 € )"));

        tab.ui()->type_cde->setText(QStringLiteral("EXP"));
        tab.ui()->recherche->click();
        QCOMPARE(listed(tab), (QList<int>{2}));

        // a quote in the client filter: refused, the list stays as it was
        tab.ui()->client->setText(QStringLiteral("l'"));
        tab.ui()->recherche->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Saisie incorrecte, pas de \" ' \" "));
        QCOMPARE(listed(tab), (QList<int>{2}));
    }

    void sundayAndInvoicedColours()
    {
        f.insertOrder(1, QStringLiteral("m3"), QStringLiteral("SCIERIE"), QStringLiteral("NON"),
                      QStringLiteral("2026-03-01")); // a Sunday
        f.insertOrder(2, QStringLiteral("m3"), QStringLiteral("SCIERIE"), QStringLiteral("OUI"),
                      QStringLiteral("2026-03-08")); // a Sunday, invoiced
        OrderTab tab(f.context);
        tab.ui()->radio_histo->setChecked(true);
        const QColor pink = rgb(QStringLiteral("FFA4A4"));
        const QColor lime = rgb(QStringLiteral("00FF00"));
        QCOMPARE(tab.cellBackground(rowOf(tab, 1), QStringLiteral("type_cde")), QColor());
        tab.ui()->tri_date->setChecked(true);
        QCOMPARE(tab.cellBackground(rowOf(tab, 1), QStringLiteral("type_cde")), pink);
        QCOMPARE(tab.cellBackground(rowOf(tab, 1), QStringLiteral("client")), QColor());
        QCOMPARE(tab.cellBackground(rowOf(tab, 2), QStringLiteral("type_cde")), lime);
        const int typeColumn = tab.grid()->column(QStringLiteral("type_cde"));
        QCOMPARE(tab.grid()->index(rowOf(tab, 1), typeColumn).data(Qt::BackgroundRole).value<QColor>(), pink);
    }

    void deletion()
    {
        f.insertOrder(1);
        f.run(QStringLiteral("insert into liste_action_cde (inc_cde, i_cout) values (1, 5)"));
        OrderTab tab(f.context);
        tab.search();
        QVERIFY(tab.selectOrder(1));
        // "supprimer" in lower case confirms nothing
        f.dialogs.answers({true, QStringLiteral("supprimer")});
        tab.ui()->BtnSupprimer->click();
        QCOMPARE(f.count(QStringLiteral("select count(*) from cde")), 1);
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        tab.ui()->BtnSupprimer->click();
        QCOMPARE(f.count(QStringLiteral("select count(*) from cde")), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_cde")), 0);
        QVERIFY(listed(tab).isEmpty());
    }

    void createFillAndReopen()
    {
        test::ModalScript script;
        OrderTab tab(f.context);
        tab.search();
        script.then([](QDialog &d) {
            auto &dialog = static_cast<NewOrderDialog &>(d);
            dialog.ui()->BtnOK->click(); // no type yet
            dialog.ui()->type_cde->setCurrentText(QStringLiteral("PARTICULIER"));
            dialog.ui()->BtnOK->click();
            return dialog.result();
        });
        QString shownNumber;
        QString customerCaption;
        script.then([&](QDialog &d) {
            auto &editor = static_cast<OrderEditor &>(d);
            shownNumber = editor.ui()->inc->text();
            customerCaption = editor.ui()->Label_client->text();
            editor.ui()->BtnOK->click(); // no customer yet
            editor.ui()->client->setText(QStringLiteral("Jean Dupont"));
            editor.ui()->n_cde_client->setText(QStringLiteral("A12"));
            editor.ui()->BtnCreerProduit->click(); // a line from elsewhere, through detail_volume_cde
            return editor.result();
        });
        script.then([](QDialog &d) {
            auto &line = static_cast<ProductLineDialog &>(d);
            line.ui()->choix_autre->setChecked(true);
            line.ui()->essence->setCurrentText(QStringLiteral("Hêtre"));
            line.ui()->qte_liv->setText(QStringLiteral("2,5"));
            line.ui()->prix_unit->setText(QStringLiteral("40"));
            if (line.ui()->prix_total->text() != QStringLiteral("100,00")) return int(QDialog::Rejected);
            line.ui()->BtnOK->click();
            return line.result();
        });
        tab.ui()->BtnCreer->click();
        QCOMPARE(shownNumber, QStringLiteral("501"));
        QCOMPARE(customerCaption, QStringLiteral("Client"));
        QCOMPARE(script.shown(), (QStringList{QStringLiteral("ouverture_cde"), QStringLiteral("detail_cde"),
                                              QStringLiteral("detail_volume_cde")}));
        QVERIFY(f.dialogs.texts().contains(QStringLiteral("Vous devez saisir un type de commande")));
        QVERIFY(f.dialogs.texts().contains(QStringLiteral("Vous devez saisir un client")));
        // the editor was cancelled: the line and the totals stay, the header does not
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_cde where inc_cde=501")), 1);
        QCOMPARE(f.value(QStringLiteral("select prix_vente from cde where inc=501")).toDouble(), 100.0);
        QCOMPARE(f.value(QStringLiteral("select qte_liv_totale from cde where inc=501")).toDouble(), 2.5);
        QVERIFY(f.value(QStringLiteral("select client from cde where inc=501")).toString().isEmpty());
        QCOMPARE(tab.currentInc().value_or(0), 501);

        // opened again: the header is written on "OK"
        script.then([](QDialog &d) {
            auto &editor = static_cast<OrderEditor &>(d);
            editor.ui()->client->setText(QStringLiteral("Jean Dupont"));
            editor.ui()->livree->setCurrentText(QStringLiteral("OUI"));
            editor.ui()->BtnOK->click();
            return editor.result();
        });
        tab.ui()->BtnModifier->click();
        QCOMPARE(f.value(QStringLiteral("select client from cde where inc=501")).toString(),
                 QStringLiteral("Jean Dupont"));
        QCOMPARE(f.value(QStringLiteral("select livree from cde where inc=501")).toString(), QStringLiteral("OUI"));
        QCOMPARE(f.value(QStringLiteral("select facturee from cde where inc=501")).toString(), QStringLiteral("NON"));
        QTRY_COMPARE(tab.lines()->rowCount(), 1);
    }

    void invoicedMeanwhile()
    {
        f.insertOrder(1);
        test::ModalScript script;
        OrderTab tab(f.context);
        tab.search();
        script.then([this](QDialog &d) {
            auto &editor = static_cast<OrderEditor &>(d);
            // invoiced on another workstation while the editor is open
            f.run(QStringLiteral("update cde set facturee='OUI', num_facture=9 where inc=1"));
            editor.ui()->corps_cde->setPlainText(QStringLiteral("texte"));
            editor.ui()->BtnCreerProduit->click();
            editor.ui()->BtnOK->click();
            return int(QDialog::Rejected);
        });
        tab.ui()->BtnModifier->click();
        QVERIFY(
            f.dialogs.texts().contains(QStringLiteral("Livraison facturée, impossible de rajouter des livraisons")));
        QVERIFY(
            f.dialogs.texts().contains(QStringLiteral("Livraison facturée, impossible de modifier cette livraison")));
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_grume_cde")), 0);
        QVERIFY(f.value(QStringLiteral("select corps_cde from cde where inc=1")).toString().isEmpty());
        QCOMPARE(f.count(QStringLiteral("select num_facture from cde where inc=1")), 9);
        QCOMPARE(script.pending(), 0); // the line dialog never opened
    }

    void originSwitchClearsTheOther()
    {
        ProductLine fromStock;
        fromStock.origin = originStock();
        fromStock.essence = QStringLiteral("Hêtre");
        fromStock.nLot = QStringLiteral("12");
        fromStock.stockBuche = QStringLiteral("Dépôt Nord");
        fromStock.incStockBuche = 4;
        ProductLineDialog dialog(f.context, fromStock, QStringLiteral("m3"), QStringLiteral("m3"), false);
        QVERIFY(dialog.ui()->choix_stock->isChecked());
        QCOMPARE(dialog.ui()->stock_buche->palette().color(QPalette::Base), rgb(QStringLiteral("00FF00")));
        QCOMPARE(dialog.ui()->coupe_bois->palette().color(QPalette::Base), rgb(QStringLiteral("C0C0C0")));
        QVERIFY(!dialog.ui()->BtnCoupe->isVisibleTo(&dialog));
        dialog.ui()->choix_coupe->setChecked(true);
        QVERIFY(dialog.line().stockBuche.isEmpty());
        QVERIFY(dialog.line().nLot.isEmpty());
        QVERIFY(dialog.line().incStockBuche.isNull());
        QVERIFY(dialog.ui()->stock_buche->text().isEmpty());
        QVERIFY(dialog.ui()->BtnCoupe->isVisibleTo(&dialog));
        // a quantity that is not a number
        dialog.ui()->qte_liv->setText(QStringLiteral("dix"));
        dialog.ui()->prix_unit->setText(QStringLiteral("3"));
        QCOMPARE(dialog.ui()->prix_total->text(), QStringLiteral("0,00"));
        dialog.ui()->BtnOK->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Saisie incorrecte"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void actionsWithTheirRatesAndTotal()
    {
        f.run(QStringLiteral("delete from intervenant_possible"));
        f.run(QStringLiteral("insert into intervenant_possible (societe, famille_intervenant, cout_stere) values "
                             "('Transports Dubois', 'TRANSPORT', 12), ('Personne', 'RIEN', 99)"));
        f.insertOrder(1);
        f.run(QStringLiteral("insert into liste_grume_cde (inc_cde, descriptif, n_lot, id, qte_liv, qte_defaut, "
                             "prix_total) values (1, 'VOLUME', '12', 3, 2.5, 2.5, 25)"));
        f.run(QStringLiteral("update cde set qte_liv_totale=2.5 where inc=1"));
        test::ModalScript script;
        OrderEditor editor(f.context, *loadOrder(f.db, 1), false);
        QStringList offered;
        QString lot;
        QString quantity;
        QString stereRate;
        script.then([&](QDialog &d) {
            auto &dialog = static_cast<ActionEntryDialog &>(d);
            for (int i = 0; i < dialog.ui()->I_nom->count(); ++i) offered << dialog.ui()->I_nom->itemText(i);
            lot = dialog.ui()->n_lot->text();
            quantity = dialog.ui()->qte_action->text();
            dialog.ui()->I_nom->setCurrentText(QStringLiteral("Transports Dubois"));
            dialog.ui()->unite_action->setCurrentText(QStringLiteral("Stere"));
            dialog.takeUnitPrice();
            stereRate = dialog.ui()->prix_unit_action->text();
            // a flat rate keeps the price typed
            dialog.ui()->unite_action->setCurrentText(QStringLiteral("Forfait"));
            dialog.ui()->prix_unit_action->setText(QStringLiteral("3,333"));
            dialog.takeUnitPrice();
            dialog.ui()->BtnOK->click();
            return dialog.result();
        });
        editor.ui()->BtnCreerAction->click();
        QCOMPARE(script.shown(), QStringList{QStringLiteral("liste_intervention_cde")});
        QCOMPARE(offered, QStringList{QStringLiteral("Transports Dubois")});
        QCOMPARE(lot, QStringLiteral("12"));
        QCOMPARE(quantity, QStringLiteral("2,5"));
        QCOMPARE(stereRate, QStringLiteral("12"));
        QCOMPARE(f.value(QStringLiteral("select i_cout from liste_action_cde")).toDouble(), 8.3325);
        QCOMPARE(f.value(QStringLiteral("select id from liste_action_cde")).toInt(), 3);
        QCOMPARE(f.value(QStringLiteral("select total_cout_action from cde where inc=1")).toDouble(), 8.3325);
        QCOMPARE(editor.actions()->rowCount(), 1);

        // "Modifier": another workstation's change to the type stays; the quantity typed here
        // gives the cost and the total
        f.run(QStringLiteral("update liste_action_cde set type1='AUTRE'"));
        script.then([&](QDialog &d) {
            auto &dialog = static_cast<ActionEntryDialog &>(d);
            dialog.ui()->qte_action->setText(QStringLiteral("4"));
            dialog.ui()->BtnOK->click();
            return dialog.result();
        });
        editor.ui()->BtnModifierAction->click();
        QCOMPARE(f.value(QStringLiteral("select type1 from liste_action_cde")).toString(), QStringLiteral("AUTRE"));
        QCOMPARE(f.value(QStringLiteral("select i_cout from liste_action_cde")).toDouble(), 13.332);
        QCOMPARE(f.value(QStringLiteral("select total_cout_action from cde where inc=1")).toDouble(), 13.332);

        // the price changed meanwhile: the cost would no longer agree with its factors, refused,
        // the screen stays open with the input
        f.run(QStringLiteral("update liste_action_cde set prix_unit_action=5, i_cout=20"));
        bool stillOpen = false;
        script.then([&](QDialog &d) {
            auto &dialog = static_cast<ActionEntryDialog &>(d);
            dialog.ui()->qte_action->setText(QStringLiteral("6"));
            dialog.ui()->BtnOK->click();
            stillOpen = dialog.result() != QDialog::Accepted && dialog.ui()->qte_action->text() == QStringLiteral("6");
            return int(QDialog::Rejected);
        });
        editor.ui()->BtnModifierAction->click();
        QVERIFY(stillOpen);
        QVERIFY2(f.dialogs.texts().join(QLatin1Char('|')).contains(QStringLiteral("modifié sur un autre poste")),
                 qPrintable(f.dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(f.value(QStringLiteral("select qte_action from liste_action_cde")).toDouble(), 4.0);

        // the last action removed: the total is 0
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        editor.ui()->BtnSupprimerAction->click();
        QCOMPARE(f.count(QStringLiteral("select count(*) from liste_action_cde")), 0);
        QCOMPARE(f.value(QStringLiteral("select total_cout_action from cde where inc=1")).toDouble(), 0.0);
        QCOMPARE(editor.ui()->total_cout_action->text(), QStringLiteral("0,00"));
    }

    void logsAttachedAndReleased()
    {
        f.insertOrder(1);
        f.insertLot(12);
        const int log = f.insertLog(12, QStringLiteral("7"), 1.25, QStringLiteral("B"));
        f.run(QStringLiteral("update grume set inc_cde=1, livree='OUI' where inc=?"), {log});
        f.run(QStringLiteral(
            "insert into liste_grume_cde (inc_cde, descriptif, classe, m3) values (1, 'GRUME', 'B', 1.25)"));
        OrderLogsDialog logs(f.context, 1, false);
        QCOMPARE(logs.list()->rowCount(), 1);
        QCOMPARE(logs.ui()->nombre->text(), QStringLiteral("1"));
        // release with "Tous": every log of the order
        logs.ui()->Tous->setChecked(true);
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        logs.ui()->BtnSupprimer->click();
        QCOMPARE(logs.list()->rowCount(), 0);
        QVERIFY(f.value(QStringLiteral("select inc_cde from grume where inc=?"), {log}).isNull());
        QCOMPARE(logs.ui()->nombre->text(), QStringLiteral("0"));

        OrderLogsDialog closed(f.context, 1, true);
        QVERIFY(!closed.ui()->BtnSelectionner->isEnabled());
        QVERIFY(!closed.ui()->Tous->isEnabled());
    }
};

QTEST_MAIN(TestOrderTab)
#include "tst_ordertab.moc"
