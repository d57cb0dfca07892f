#include "stocksfixture.h"

#include "chartwidget.h"
#include "chipstockdialog.h"
#include "gridmodel.h"
#include "gridtexts.h"
#include "listgrid.h"
#include "newtransferdialog.h"
#include "productsdialog.h"
#include "reportpreview.h"
#include "stocklistdialog.h"
#include "transfereditor.h"
#include "transferlinedialog.h"
#include "transferlistdialog.h"
#include "volumelinepicker.h"
#include "ui_chipstockdialog.h"
#include "ui_newtransferdialog.h"
#include "ui_productsdialog.h"
#include "ui_stocklistdialog.h"
#include "ui_transfereditor.h"
#include "ui_transferlinedialog.h"
#include "ui_transferlistdialog.h"
#include "ui_zoneeditordialog.h"
#include "ui_zonelistdialog.h"
#include "ui_volumelinepicker.h"
#include "ui_zonepickerdialog.h"
#include "zoneeditordialog.h"
#include "zonelistdialog.h"
#include "zonepickerdialog.h"

using namespace ravelin;

// The stock list, the zone screens and a transfer made from its list, driven as a user would.
class TestStockScreens : public QObject
{
    Q_OBJECT
    test::StocksFixture f;
    test::ModalScript m_script;

    static QStringList column(ListGrid *grid, const char *name)
    {
        QStringList values;
        const int c = grid->model()->column(QLatin1String(name));
        for (int row = 0; row < grid->rowCount(); ++row)
            values << grid->model()->index(row, c).data(Qt::DisplayRole).toString();
        return values;
    }

    static void choose(QComboBox *combo, const QString &text)
    {
        combo->setCurrentIndex(combo->findText(text));
        QVERIFY2(combo->currentIndex() >= 0, qPrintable(text));
    }

private slots:
    void initTestCase() { f.open(); }
    void init()
    {
        f.clearTables();
        m_script.clear();
        f.run(QStringLiteral("delete from qualite"));
        f.run(QStringLiteral("insert into qualite (qualite) values ('Bûche'), ('Bûche 50')"));
    }
    void cleanup() { QCOMPARE(m_script.pending(), 0); }

    void stockListInventoryAndRemoval()
    {
        const int north = f.insertStock(QStringLiteral("Parc Nord"), 30, QStringLiteral("Stere"), 20);
        f.insertStock(QStringLiteral("Parc Sud"), 0, QStringLiteral("m3"), 0);
        StockListDialog list(f.context);
        QCOMPARE(list.list()->rowCount(), 0); // no zone yet: nothing listed
        list.setInventoryShown(true);
        list.setZoneFilter(allZones());
        QCOMPARE(column(list.list(), "destination"),
                 (QStringList{QStringLiteral("Parc Nord"), QStringLiteral("Parc Sud")}));
        QCOMPARE(column(list.list(), "qte_theorique_restante"),
                 (QStringList{QStringLiteral("30,00"), QStringLiteral("0,00")}));
        QTRY_COMPARE(list.ui()->Label_nb->text(), QStringLiteral("(nb : 2)"));
        QTRY_COMPARE(list.ui()->total->text(), QStringLiteral("20,00 m3"));

        // an inventory in steres: the quantity and its value in m3
        list.list()->selectKey(north);
        f.dialogs.answers({true, QStringLiteral("12,5")});
        list.ui()->BtnInventaire->click();
        QCOMPARE(column(list.list(), "qte_theorique_restante").first(), QStringLiteral("12,50"));
        QCOMPARE(f.stock(north, "qte_defaut"), 8.33);
        f.dialogs.answers({true, QStringLiteral("abc")});
        list.ui()->BtnInventaire->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Quantité incorrecte !"));

        // a stock above zero stays; an empty one goes once "SUPPRIMER" is typed
        list.ui()->BtnSupprimer->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Stock supérieur à zéro, impossible de le supprimer"));
        list.list()->selectRow(1);
        f.dialogs.answers({QStringLiteral("SUPPRIMER")});
        list.ui()->BtnSupprimer->click();
        QCOMPARE(column(list.list(), "destination"), QStringList{QStringLiteral("Parc Nord")});

        // one zone, by the hidden filter
        list.setZoneFilter(QStringLiteral("Parc Sud"));
        QCOMPARE(list.list()->rowCount(), 0);
        QCOMPARE(f.dialogs.pendingAnswers(), 0);
    }

    void stockPickerAndZonePicker()
    {
        f.insertStock(QStringLiteral("Parc Nord"), 30, QStringLiteral("Stere"), 20, QStringLiteral("12"));
        const int south = f.insertStock(QStringLiteral("Parc Sud"), 5, QStringLiteral("m3"), 5);
        m_script.then([](QDialog &d) {
            auto &list = static_cast<StockListDialog &>(d);
            list.list()->selectRow(1);
            list.ui()->BtnOK->click();
            return d.result();
        });
        const auto chosen = pickFirewoodStock(f.context, nullptr, allZones());
        QVERIFY(chosen);
        QCOMPARE(chosen->inc.toInt(), south);
        QCOMPARE(chosen->destination, QStringLiteral("Parc Sud"));

        m_script.then([](QDialog &d) {
            auto &picker = static_cast<ZonePickerDialog &>(d);
            picker.ui()->tri_numero->setChecked(true); // newest first
            picker.list()->selectRow(0);
            picker.ui()->BtnOK->click();
            return d.result();
        });
        QCOMPARE(pickFirewoodZone(f.context), std::optional<QString>(QStringLiteral("Parc Sud")));
    }

    void transferMadeFromItsList()
    {
        TransferListDialog list(f.context);
        // the opening dialog: from elsewhere, typed, into a firewood zone chosen in the picker
        m_script.then([this](QDialog &d) {
            auto &opening = static_cast<NewTransferDialog &>(d);
            opening.ui()->BtnOK->click();
            [&] { QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous devez saisir une destination")); }();
            opening.ui()->choix_autre->setChecked(true);
            [&] { QVERIFY(!opening.ui()->depart->isReadOnly()); }();
            opening.ui()->depart->setText(QStringLiteral("Scierie L'Isle"));
            opening.ui()->BtnStockBois->click();
            opening.ui()->BtnOK->click();
            return d.result();
        });
        m_script.then([](QDialog &d) {
            auto &picker = static_cast<ZonePickerDialog &>(d);
            picker.list()->selectRow(1);
            picker.ui()->BtnOK->click();
            return d.result();
        });
        // the editor: one line added, then OK
        m_script.then([this](QDialog &d) {
            auto &editor = static_cast<TransferEditor &>(d);
            [&] { QCOMPARE(editor.ui()->destination->text(), QStringLiteral("Parc Sud")); }();
            editor.ui()->BtnCreerLigne->click();
            [&] {
                QCOMPARE(editor.lines()->rowCount(), 1);
                QCOMPARE(editor.ui()->grume_livree->text(), QStringLiteral("4,00 m3"));
            }();
            editor.ui()->corps_cde->setPlainText(QStringLiteral("camion du lundi"));
            editor.ui()->BtnOK->click();
            return d.result();
        });
        m_script.then([this](QDialog &d) {
            auto &line = static_cast<TransferLineDialog &>(d);
            [&] {
                QVERIFY(line.ui()->liste_essence->isVisibleTo(&line));
                QVERIFY(line.ui()->unite_conso->isEnabled());
            }();
            choose(line.ui()->liste_essence, QStringLiteral("Chêne"));
            choose(line.ui()->liste_qualite, QStringLiteral("Bûche"));
            choose(line.ui()->qualite_destination, QStringLiteral("Bûche 50"));
            choose(line.ui()->unite_conso, QStringLiteral("Stere"));
            choose(line.ui()->unite_liv, QStringLiteral("m3"));
            line.ui()->qte_liv->setText(QStringLiteral("4"));
            line.ui()->BtnCalcul->click();
            [&] { QCOMPARE(line.ui()->qte_conso->text(), QStringLiteral("6")); }();
            line.ui()->BtnOK->click();
            return d.result();
        });
        list.ui()->BtnCreer->click();
        QCOMPARE(m_script.shown(),
                 (QStringList{QStringLiteral("ouverture_transfert"), QStringLiteral("liste_stock_buche"),
                              QStringLiteral("detail_transfert"), QStringLiteral("detail_volume_transfert")}));
        QCOMPARE(f.stockOf(QStringLiteral("Parc Sud"), "qte_theorique_restante"), 4.0);
        QCOMPARE(f.value(QStringLiteral("select qte_conso from liste_grume_transfert")).toDouble(), 6.0);
        QCOMPARE(f.value(QStringLiteral("select corps_cde from transfert")).toString(),
                 QStringLiteral("camion du lundi"));

        // listed in red (from elsewhere), its line in the panel
        QCOMPARE(column(list.list(), "depart"), QStringList{QStringLiteral("Scierie L'Isle")});
        QCOMPARE(list.list()->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0xFF, 0, 0));
        QTRY_COMPARE(list.lines()->rowCount(), 1);
        QCOMPARE(column(list.lines(), "qualite_destination"), QStringList{QStringLiteral("Bûche 50")});

        // deleted: the stock given back
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        list.ui()->BtnSupprimer->click();
        QCOMPARE(list.list()->rowCount(), 0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Sud"), "qte_theorique_restante"), 0.0);
    }

    void linesFromALotAndFromAStock()
    {
        const int volumeLine = f.insertLot(12, 100);
        f.insertLot(13, 50);
        const int fromLot = f.transfer(transferFromLot(), QStringLiteral("12"), QStringLiteral("Parc Nord"));
        TransferEditor editor(f.context, fromLot);
        QVERIFY(editor.loaded());
        m_script.then([this](QDialog &d) {
            auto &line = static_cast<TransferLineDialog &>(d);
            [&] {
                QVERIFY(line.ui()->BtnCoupe->isVisibleTo(&line));
                QVERIFY(!line.ui()->BtnStock->isVisibleTo(&line));
                QVERIFY(!line.ui()->unite_conso->isEnabled());
            }();
            line.ui()->BtnOK->click();
            [&] { QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous devez saisir une ESSENCE")); }();
            line.ui()->BtnCoupe->click();
            choose(line.ui()->liste_qualite, QStringLiteral("Bûche"));
            choose(line.ui()->qualite_destination, QStringLiteral("Bûche 50"));
            choose(line.ui()->unite_liv, QStringLiteral("Stere"));
            line.ui()->qte_liv->setText(QStringLiteral("15"));
            line.ui()->BtnCalcul->click();
            line.ui()->BtnOK->click();
            return d.result();
        });
        // the lot picker shows the transfer's lot only, and keeps it so
        m_script.then([](QDialog &d) {
            auto &picker = static_cast<VolumeLinePicker &>(d);
            [&] {
                QCOMPARE(picker.ui()->N_coupe->text(), QStringLiteral("12"));
                QVERIFY(picker.ui()->N_coupe->isReadOnly());
                QCOMPARE(picker.lines()->rowCount(), 1);
            }();
            picker.ui()->BtnOK->click();
            return d.result();
        });
        editor.ui()->BtnCreerLigne->click();
        QCOMPARE(editor.lines()->rowCount(), 1);
        QCOMPARE(f.value(QStringLiteral("select id from liste_grume_transfert")).toInt(), volumeLine);
        QCOMPARE(f.value(QStringLiteral("select n_lot from liste_grume_transfert")).toString(), QStringLiteral("12"));
        QCOMPARE(f.value(QStringLiteral("select qte_conso from liste_grume_transfert")).toDouble(), 10.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 15.0);

        // changed: only the quantities are open; the stock follows the difference
        m_script.then([](QDialog &d) {
            auto &line = static_cast<TransferLineDialog &>(d);
            [&] {
                QVERIFY(!line.ui()->BtnCoupe->isVisibleTo(&line));
                QVERIFY(!line.ui()->unite_liv->isEnabled());
                QVERIFY(!line.ui()->qualite_destination->isEnabled());
            }();
            line.ui()->qte_liv->setText(QStringLiteral("12"));
            line.ui()->BtnCalcul->click();
            line.ui()->BtnOK->click();
            return d.result();
        });
        editor.ui()->BtnModifierLigne->click();
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 12.0);
        QCOMPARE(editor.ui()->grume_livree->text(), QStringLiteral("8,00 m3"));

        // from that stock into the other zone: the stock list of the departure zone as the picker
        const int fromStock = f.transfer(transferFromStock(), QStringLiteral("Parc Nord"), QStringLiteral("Parc Sud"));
        TransferEditor second(f.context, fromStock);
        m_script.then([](QDialog &d) {
            auto &line = static_cast<TransferLineDialog &>(d);
            line.ui()->BtnStock->click();
            [&] { QCOMPARE(line.ui()->qualite->text(), QStringLiteral("Bûche 50")); }();
            choose(line.ui()->qualite_destination, QStringLiteral("Bûche"));
            choose(line.ui()->unite_liv, QStringLiteral("Stere"));
            line.ui()->qte_liv->setText(QStringLiteral("4"));
            line.ui()->BtnCalcul->click();
            line.ui()->BtnOK->click();
            return d.result();
        });
        m_script.then([](QDialog &d) {
            auto &list = static_cast<StockListDialog &>(d);
            [&] { QCOMPARE(list.list()->rowCount(), 1); }();
            list.ui()->BtnOK->click();
            return d.result();
        });
        second.ui()->BtnCreerLigne->click();
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 8.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Sud"), "qte_theorique_restante"), 4.0);
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        second.ui()->BtnSupprimerLigne->click();
        QCOMPARE(f.stockOf(QStringLiteral("Parc Nord"), "qte_theorique_restante"), 12.0);
        QCOMPARE(f.stockOf(QStringLiteral("Parc Sud"), "qte_theorique_restante"), 0.0);
    }

    void transferListFilters()
    {
        const int old = f.transfer(transferFromElsewhere(), QStringLiteral("Scierie"));
        const int late = f.transfer(transferFromElsewhere(), QStringLiteral("Dépôt"), QStringLiteral("Parc Sud"));
        f.run(QStringLiteral("update transfert set date_transfert=? where inc=?"),
              {QDateTime(QDate::currentDate().addDays(-61), QTime(9, 0)), old});
        f.run(QStringLiteral("update transfert set date_transfert=? where inc=?"),
              {QDateTime(QDate::currentDate(), QTime(17, 30)), late});
        TransferListDialog list(f.context);
        // the end date is a whole day: 17:30 today is listed; 61 days ago is not
        QCOMPARE(column(list.list(), "inc"), QStringList{QString::number(late)});
        list.ui()->date_debut->setDate(QDate::currentDate().addDays(-61));
        QCOMPARE(list.list()->rowCount(), 2);
        list.ui()->Destination->setText(QStringLiteral("Parc Nord"));
        list.ui()->rech->click();
        QCOMPARE(column(list.list(), "inc"), QStringList{QString::number(old)});
        list.ui()->Destination->clear();
        list.ui()->Depart->setText(QStringLiteral("pô"));
        list.ui()->rech->click();
        QCOMPARE(column(list.list(), "inc"), QStringList{QString::number(late)});
    }

    void zoneListAndEditor()
    {
        ZoneListDialog list(f.context, ZoneKind::Firewood);
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(list.cardLines(0).first(), QStringLiteral("Nous  —  Parc Nord"));
        m_script.then([this](QDialog &d) {
            auto &editor = static_cast<ZoneEditorDialog &>(d);
            [&] { QVERIFY(!editor.ui()->tonnage_maxi->isVisibleTo(&editor)); }();
            editor.ui()->destination->setText(QStringLiteral("Parc Sud"));
            editor.ui()->BtnOK->click();
            [&] {
                QCOMPARE(f.dialogs.lastText(), QStringLiteral("Nom dèja existante !"));
                QVERIFY(editor.isVisible() || editor.result() != QDialog::Accepted);
            }();
            editor.ui()->destination->setText(QStringLiteral("Parc Est"));
            editor.ui()->client->setText(QStringLiteral("Nous"));
            editor.ui()->BtnOK->click();
            return d.result();
        });
        list.ui()->BtnCreer->click();
        QCOMPARE(list.rowCount(), 3);
        QCOMPARE(list.currentZone().value(QStringLiteral("destination")).toString(), QStringLiteral("Parc Est"));
        QCOMPARE(f.value(QStringLiteral("select stockage from destination where destination='Parc Est'")).toString(),
                 QStringLiteral("BUCHE"));
        QCOMPARE(f.value(QStringLiteral("select unite from destination where destination='Parc Est'")).toString(),
                 QStringLiteral("m3"));

        // a chip zone's inventory and capacity
        ZoneListDialog chips(f.context, ZoneKind::Chips);
        QCOMPARE(chips.rowCount(), 1);
        m_script.then([](QDialog &d) {
            auto &editor = static_cast<ZoneEditorDialog &>(d);
            editor.ui()->tonnage_maxi->setText(QStringLiteral("250"));
            editor.ui()->tonnage_inventaire->setText(QStringLiteral("100,5"));
            editor.ui()->date_inventaire->setText(QStringLiteral("01/03/2026"));
            editor.ui()->BtnOK->click();
            return d.result();
        });
        chips.ui()->BtnModifier->click();
        QCOMPARE(m_script.shown().last(), QStringLiteral("detail_stockage"));
        QCOMPARE(f.value(QStringLiteral("select tonnage_inventaire from destination where destination='Plateforme'"))
                     .toDouble(),
                 100.5);
        QCOMPARE(
            f.value(QStringLiteral("select date_inventaire from destination where destination='Plateforme'")).toDate(),
            QDate(2026, 3, 1));
    }

    void chipStockComputedAndPrinted()
    {
        f.run(QStringLiteral("update destination set tonnage_inventaire=100, date_inventaire='2026-03-01', "
                             "tonnage_maxi=0 where destination='Plateforme'"));
        f.run(QStringLiteral("insert into livraison (inc, creation, depart, destination, date_livraison, "
                             "qte_defaut_totale) values (1, 0, 'Forêt', 'Plateforme', '2026-03-02 10:00:00', 25)"));
        ChipStockDialog screen(f.context);
        screen.ui()->BtnImprimer->click();
        QCOMPARE(f.dialogs.lastText(), noRecordMessage());
        screen.ui()->pourcentage->setText(QStringLiteral("avant"));
        screen.ui()->date_stock->setDate(QDate(2026, 3, 20));
        screen.ui()->BtnCalcul->click();
        QTRY_VERIFY(!screen.computing());
        QCOMPARE(column(screen.list(), "total_stock"), QStringList{QStringLiteral("125,00")});
        QCOMPARE(screen.ui()->total->text(), QStringLiteral("125 m3"));
        QCOMPARE(screen.ui()->pourcentage->text(), QStringLiteral("avant")); // no capacity: kept
        QCOMPARE(screen.chart()->points().size(), 1);
        QVERIFY(!screen.ui()->Panel_calcul->isVisibleTo(&screen));
        m_script.then([](QDialog &d) {
            const auto &preview = static_cast<ReportPreview &>(d);
            [&] {
                QVERIFY(preview.document().toPlainText().contains(QStringLiteral("STOCKAGES PLAQUETTES")));
                QVERIFY(preview.document().toPlainText().contains(QStringLiteral("Stockage total  : 125 m3")));
            }();
            return int(QDialog::Rejected);
        });
        screen.ui()->BtnImprimer->click();
        QCOMPARE(m_script.shown(), QStringList{QStringLiteral("imp_stock_plaquette")});
    }

    void stockSheetPrinted()
    {
        f.insertStock(QStringLiteral("Parc Nord"), 30, QStringLiteral("Stere"), 20);
        StockListDialog list(f.context);
        list.setZoneFilter(allZones());
        m_script.then([](QDialog &d) {
            const QString text = static_cast<ReportPreview &>(d).document().toPlainText();
            [&] {
                QVERIFY(text.contains(QStringLiteral("Stockage total  : 20,00 m3")));
                QVERIFY(text.contains(QStringLiteral("Parc Nord")));
            }();
            return int(QDialog::Rejected);
        });
        list.ui()->BtnImprimer->click();
        QCOMPARE(m_script.shown(), QStringList{QStringLiteral("imp_stock_plaquette")});
    }

    void productsAvailableScreen()
    {
        f.run(
            QStringLiteral("insert into grume (N_lot, descriptif, essence, unite, qte, qte_defaut, livree) values "
                           "(11, 'VOLUME', 'Chêne', 'm3', 10, 10, 'NON'), (12, 'VOLUME', 'Chêne', 'm3', 4, 4, null)"));
        ProductsDialog screen(f.context);
        QCOMPARE(screen.grid()->rowCount(), 1);
        QCOMPARE(screen.ui()->Total->text(), QStringLiteral("14,00 m3"));
        QCOMPARE(screen.ui()->Label_nb->text(), QStringLiteral("( nb : 1 )"));
        screen.ui()->check_coupe->setChecked(true);
        QCOMPARE(screen.grid()->rowCount(), 2);
        screen.ui()->check_essence->setChecked(false);
        screen.ui()->check_coupe->setChecked(false); // the species is ticked again
        QVERIFY(screen.ui()->check_essence->isChecked());
        QCOMPARE(screen.ui()->designation->currentText(), QStringLiteral("essence"));
        QCOMPARE(screen.grid()->rowCount(), 1);
        screen.ui()->N_coupe->setText(QStringLiteral("11+a"));
        screen.ui()->rechercher->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Saisie incorrecte"));
        screen.ui()->N_coupe->setText(QStringLiteral("12"));
        screen.ui()->rechercher->click();
        QCOMPARE(screen.ui()->Total->text(), QStringLiteral("4,00 m3"));
        m_script.then([](QDialog &d) { return int(QDialog::Rejected); });
        screen.ui()->BtnDetail->click();
        QCOMPARE(m_script.shown(), QStringList{QStringLiteral("liste_grume_detail")});
    }
};

QTEST_MAIN(TestStockScreens)
#include "tst_stockscreens.moc"
