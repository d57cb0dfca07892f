#include "deliveriesfixture.h"

#include "deliveryeditor.h"
#include "mappagedata.h"
#include "mapserver.h"
#include "deliverystore.h"
#include "placesearchdialog.h"
#include "ui_deliveryeditor.h"

#include <QFile>
#include <QTemporaryDir>

using namespace ravelin;

// The delivery editor: its recalculation as the user types, its pickers, its save and its route page.
class TestDeliveryEditor : public QObject
{
    Q_OBJECT
    test::DeliveriesFixture f;

    QSqlRecord row(int inc)
    {
        auto read = loadDelivery(f.db, inc);
        if (!read) qWarning() << read.error().fullText();
        return read ? *read : QSqlRecord();
    }

    void insert(int inc, const QString &operation, const QString &unite)
    {
        f.insertDelivery({{QStringLiteral("inc"), inc},
                          {QStringLiteral("operation"), operation},
                          {QStringLiteral("unite"), unite},
                          {QStringLiteral("humidite"), 30},
                          {QStringLiteral("facturee"), QStringLiteral("NON")},
                          {QStringLiteral("date_livraison"), QStringLiteral("2026-03-02 10:00:00")},
                          {QStringLiteral("essence"), QStringLiteral("BOIS ENERGIE")},
                          {QStringLiteral("unite_liv"), QStringLiteral("T")},
                          {QStringLiteral("unite_defaut"), QStringLiteral("T")},
                          {QStringLiteral("unite_conso"), QStringLiteral("T")}});
    }

    Status save(DeliveryEditor &editor) { return saveDelivery(f.db, editor.inc(), editor.asRead(), editor.values()); }

private slots:
    void initTestCase() { f.open(); }
    void init()
    {
        f.clearTables();
        f.signInAsMaster();
    }

    void energyAndPricesAsTheUserTypes()
    {
        insert(1, QStringLiteral("VENTE"), QStringLiteral("MWH"));
        DeliveryEditor editor(f.context, row(1));
        Ui::detail_livraison *ui = editor.ui();
        ui->tonnage->setText(QStringLiteral("10"));
        ui->prix_mwh->setText(QStringLiteral("25"));
        ui->prix_tonne->setText(QStringLiteral("80"));
        QVERIFY(editor.pendingChanges() > 0);
        QTRY_COMPARE(ui->mwh->text(), QStringLiteral("33,66")); // at the timer's tick
        QCOMPARE(editor.pendingChanges(), 0);
        QCOMPARE(ui->total_mwh->text(), QStringLiteral("841,50"));
        QCOMPARE(ui->prix_total->text(), QStringLiteral("841,50"));
        QVERIFY(!ui->prix_tonne->isEnabled());
        QVERIFY(ui->Groupe_prix_tonne->isHidden());
        ui->unite_tonne->click();
        QTRY_COMPARE(ui->prix_total->text(), QStringLiteral("800,00"));
        QVERIFY(ui->prix_tonne->isEnabled());
        QVERIFY(ui->Groupe_prix_mwh->isHidden());
        ui->tonnage->clear();
        QTRY_COMPARE(ui->prix_total->text(), QStringLiteral("0,00"));
        // the PEFC part
        ui->tonnage->setText(QStringLiteral("12"));
        ui->qte_pefc->setText(QStringLiteral("3"));
        QTRY_COMPARE(ui->Label_part_pefc->text(), QStringLiteral("25,00%"));
        ui->tonnage->setText(QStringLiteral("0"));
        QTRY_COMPARE(ui->Label_part_pefc->text(), QStringLiteral("??? %"));
    }

    void forecastTurnedSaleSavedWithItsPrice()
    {
        insert(2, QStringLiteral("PREVISION"), QStringLiteral("TONNE"));
        f.run(QStringLiteral("update livraison set tonnage=10, prix_tonne=80 where inc=2"));
        DeliveryEditor editor(f.context, row(2));
        Ui::detail_livraison *ui = editor.ui();
        QVERIFY(ui->Groupe_unite->isHidden()); // a forecast shows no price
        QVERIFY(ui->operation->isEnabled());
        QVERIFY(!ui->BtnCoupes->isHidden());
        QVERIFY(!ui->Onglets->isTabVisible(1));
        editor.setSave([&] { return save(editor); });
        ui->operation->setCurrentText(QStringLiteral("VENTE"));
        ui->BtnOK->click(); // before the timer: the pending recalculation runs first
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(f.value(QStringLiteral("select prix_total from livraison where inc=2")).toDouble(), 800.0);
        QCOMPARE(f.value(QStringLiteral("select operation from livraison where inc=2")).toString(),
                 QStringLiteral("VENTE"));
        QCOMPARE(f.value(QStringLiteral("select qte_defaut_totale from livraison where inc=2")).toDouble(), 10.0);
    }

    void workShowsNoPriceAndOperationLocked()
    {
        insert(3, QStringLiteral("TRAVAIL"), QStringLiteral("TONNE"));
        DeliveryEditor editor(f.context, row(3));
        QVERIFY(editor.ui()->Groupe_unite->isHidden());
        QVERIFY(editor.ui()->Groupe_prix_tonne->isHidden());
        QVERIFY(!editor.ui()->operation->isEnabled());
        QVERIFY(editor.ui()->Onglets->isTabVisible(1));
        QVERIFY(editor.ui()->BtnCoupes->isHidden());
        // no operation: the editor stays
        editor.ui()->operation->setCurrentIndex(0);
        editor.ui()->BtnOK->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous devez saisir un type d'opération"));
        QVERIFY(editor.result() != QDialog::Accepted);
    }

    void destinationPickerCopiesPrices()
    {
        f.run(QStringLiteral("insert into destination (client, destination, stockage, unite, cout_tonne, cout_mwh, cp, "
                             "ville) values ('Ville', 'Chaufferie Nord', 'NON', 'MWH', 70, 28, '19000', 'Tulle')"));
        insert(4, QStringLiteral("VENTE"), QStringLiteral("TONNE"));
        f.run(QStringLiteral("update livraison set tonnage=10 where inc=4"));
        DeliveryEditor editor(f.context, row(4));
        test::ModalScript screens;
        screens.then([](QDialog &d) {
            auto &picker = static_cast<PlaceSearchDialog &>(d);
            picker.setCurrentRow(0);
            picker.selectPlace();
            return d.result();
        });
        editor.ui()->BtnDestination->click();
        QCOMPARE(editor.ui()->destination->text(), QStringLiteral("Chaufferie Nord"));
        QCOMPARE(editor.ui()->destination_client->text(), QStringLiteral("Chaufferie Nord"));
        QVERIFY(editor.ui()->unite_mwh->isChecked());
        QTRY_COMPARE(editor.ui()->prix_total->text(), QStringLiteral("942,48")); // 33.66 MWh × 28
    }

    void routePage()
    {
        QTemporaryDir folder;
        f.context.applicationFolder = folder.path() + QLatin1Char('/');
        f.run(QStringLiteral("update perso set coef_camion=25"));
        f.run(QStringLiteral("insert into coupe (n_lot, lieu, cp) values (7, 'Saint-Jean-d''Angély', '17400')"));
        insert(5, QStringLiteral("VENTE"), QStringLiteral("TONNE"));
        DeliveryEditor editor(f.context, row(5));
        QStringList opened;
        const auto previous = setMapPageOpener([&](const QUrl &, const QString &path) {
            opened << path;
            return true;
        });
        editor.ui()->BtnCarte->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Il n'y a pas de départ"));
        editor.ui()->depart->setText(QStringLiteral("Saint-Jean-d'Angély"));
        editor.ui()->BtnCarte->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Il n'y a pas de destination"));
        editor.ui()->destination->setText(QStringLiteral("Usine \"B\""));
        editor.ui()->BtnCarte->click();
        setMapPageOpener(previous);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(editor.ui()->BtnCarte->text(), QStringLiteral("CARTE"));
        QFile page(opened.first());
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        const QJsonObject data = test::mapPageData(html);
        QCOMPARE(data.value(QStringLiteral("origine")).toString(), QStringLiteral("Saint-Jean-d'Angély 17400"));
        QCOMPARE(data.value(QStringLiteral("destination")).toString(), QStringLiteral("Usine \"B\""));
        QCOMPARE(data.value(QStringLiteral("facteur")).toDouble(), 1.25);
    }
};

QTEST_MAIN(TestDeliveryEditor)
#include "tst_deliveryeditor.moc"
