#include "invoicingfixture.h"

#include "gridmodel.h"
#include "gridtexts.h"
#include "invoicecreationdialog.h"
#include "invoicelistdialog.h"
#include "invoicepreview.h"
#include "invoicevalidationdialog.h"
#include "listgrid.h"
#include "masterdetail.h"
#include "ui_invoicecreationdialog.h"
#include "ui_invoicelistdialog.h"
#include "ui_invoicevalidationdialog.h"

#include <QPushButton>
#include <QTableView>
#include <QToolButton>

using namespace ravelin;

// The invoice list, the selection of what to invoice and the validation screen, driven as a user
// would, offscreen.
class TestInvoiceScreens : public QObject
{
    Q_OBJECT
    test::InvoicingFixture f;
    QDate today = QDate::currentDate();

    void insertInvoice(int number, const QString &type, const QDate &date, double ht, double ttc)
    {
        f.run(QStringLiteral("insert into facture_entete (num_facture, type_fac, date_fac, echeance, client, ville, "
                             "inc_tva, inc_reglement, montant_ht, montant_ttc) values (?, ?, ?, ?, 'Bois SA', "
                             "'Montsauche', ?, ?, ?, ?)"),
              {number, type, date, date, f.rate20, f.endOfMonth, ht, ttc});
        f.run(QStringLiteral("insert into facture_corps (inc_facture, type1, inc_liv, date_liv, total_ht) values "
                             "(?, 'GRUME', ?, ?, ?)"),
              {number, number + 5000, date, ht});
    }

    static QString cell(const ListGrid *grid, int row, const QString &column)
    {
        const int c = grid->model()->column(column);
        return grid->model()->index(row, c).data().toString();
    }

private slots:
    void initTestCase() { f.open(); }
    void init() { f.clearTables(); }

    void listShowsThePeriodByNumber()
    {
        insertInvoice(101, QStringLiteral("FACTURE"), today.addDays(-70), 50, 60); // before the period
        insertInvoice(102, QStringLiteral("FACTURE"), today.addDays(-10), 1000, 1200);
        insertInvoice(103, QStringLiteral("AVOIR"), today.addDays(-5), -400, -480);
        insertInvoice(104, QStringLiteral("FACTURE"), today, 2500.5, 3000.6);

        InvoiceListDialog screen(f.context);
        ListGrid *list = screen.invoices();
        QCOMPARE(test::headerTexts(*screen.ui()->Grille_facture),
                 (QStringList{"N° fact.", "Type", "client", "ville", "date Fact", "Montant HT", ".", "montant TTC", ".",
                              "Echéance", "TVA", "reglement"}));
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(cell(list, 0, QStringLiteral("num_facture")), QStringLiteral("104"));
        QCOMPARE(cell(list, 0, QStringLiteral("montant_ht")), QStringLiteral("2 500,50"));
        QCOMPARE(cell(list, 0, QStringLiteral("n0")), QStringLiteral("€"));
        QCOMPARE(cell(list, 0, QStringLiteral("tva")), QStringLiteral("20"));
        // the credit note in red, the others in the grid's colour
        const QModelIndex credit = list->model()->index(1, list->model()->column(QStringLiteral("client")));
        QCOMPARE(credit.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!list->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>().isValid() ||
                list->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>() != QColor(Qt::red));
        // totals over every listed row, the credit note included
        QTRY_COMPARE(screen.ui()->Label_total_ht->text(), QStringLiteral("( Total HT : 3 101 € )"));
        QCOMPARE(screen.ui()->Label_total_ttc->text(), QStringLiteral("( Total TTC : 3 721 € )"));
        QTRY_COMPARE(screen.ui()->Label_nb->text(), QStringLiteral("( nb : 3 )"));

        // the delivery notes of the current invoice, 200 ms after the row changed
        QTRY_COMPARE(screen.deliveryNotes()->rowCount(), 1);
        QCOMPARE(cell(screen.deliveryNotes(), 0, QStringLiteral("inc_liv")), QStringLiteral("5104"));
        list->selectRow(2);
        QVERIFY(screen.notesReload()->pending());
        QTRY_COMPARE(cell(screen.deliveryNotes(), 0, QStringLiteral("inc_liv")), QStringLiteral("5102"));

        // a typed number, then one that is not a number
        screen.ui()->num_facture->setText(QStringLiteral("103"));
        screen.search();
        QCOMPARE(list->rowCount(), 1);
        screen.ui()->num_facture->setText(QStringLiteral("12a"));
        screen.search();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Saisie incorrecte"));
        QCOMPARE(list->rowCount(), 1);
        // printing waits for the printed invoice
        QVERIFY(!screen.ui()->BtnImprimer->isEnabled());
    }

    // A place's order and delivery invoiced from the list, then credited, then offered again.
    void invoiceAndCreditFromTheList()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"),
                      {{QStringLiteral("VOLUME"), 10, 40}, {QStringLiteral("GRUME1"), 2, 100}});
        f.insertDelivery(1002, QStringLiteral("Scierie du Lac"), QStringLiteral("VENTE"), 12, 50);
        f.insertDelivery(1003, QStringLiteral("Chaufferie Nord"), QStringLiteral("VENTE"), 10, 30,
                         QStringLiteral("MWH"));

        InvoiceListDialog screen(f.context);
        test::ModalScript script;
        script.then([&](QDialog &d) {
            auto &selection = static_cast<InvoiceCreationDialog &>(d);
            auto *ui = selection.ui();
            // two places, the chosen one's rows by date
            [&] {
                // the summary is built on a connection of its own
                QTRY_VERIFY(!selection.searching());
                QCOMPARE(ui->Label_nb_client->text(), QStringLiteral("Nb de client : 2"));
                QCOMPARE(ui->Label_total_ht->text(), QStringLiteral("Total HT : 2 100,00 €"));
                selection.customers()->selectKey(QStringLiteral("Scierie du Lac"));
                QCOMPARE(selection.rows()->rowCount(), 2);
                QCOMPARE(selection.lines()->rowCount(), 2); // the order's volume line and loaded logs
                QVERIFY(
                    ui->Grille_detail->isColumnHidden(selection.lines()->model()->column(QStringLiteral("humidite"))));
                // nothing ticked yet
                ui->BtnCreer->click();
                QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous n'avez pas selectionné de livraison à facturer !"));
                ui->BtnSelectionner->click();
                QCOMPARE(ui->Label_total_sel->text(), QStringLiteral("Total sélectionné : 600 €"));
                QCOMPARE(selection.rows()->model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
                         QColor(0x00, 0xFF, 0x00));
                selection.rows()->selectRow(1);
                ui->BtnSelectionner->click();
                QCOMPARE(ui->Label_total_sel->text(), QStringLiteral("Total sélectionné : 1 200 €"));
                f.dialogs.answer(true);
                ui->BtnCreer->click();
                QCOMPARE(
                    f.dialogs.lastText(),
                    QStringLiteral("Confirmez vous la création d'une facture de 1 200,00 € pour le client Bois SA ?"));
            }();
            return d.result();
        });
        script.then([&](QDialog &d) {
            auto &validation = static_cast<InvoiceValidationDialog &>(d);
            auto *ui = validation.ui();
            [&] {
                QCOMPARE(validation.windowTitle(), QStringLiteral("FACTURE n°101"));
                QCOMPARE(ui->client->text(), QStringLiteral("Bois SA"));
                QCOMPARE(ui->inc_tva->currentText(), QStringLiteral("20"));
                QCOMPARE(ui->total_ht->text(), QStringLiteral("1 200,00"));
                QCOMPARE(ui->total_tva->text(), QStringLiteral("240,00"));
                QCOMPARE(ui->total_ttc->text(), QStringLiteral("1 440,00"));
                QCOMPARE(ui->echeance->date(), dueDate(today, {30, QStringLiteral("FIN de MOIS"), 10}).value());
                // the drawn lines: a band per sale, a line per priced line
                QCOMPARE(validation.preview()->layout().bands.size(), 2);
                QVERIFY(validation.preview()->layout().texts.size() >= 10);
                // a net term and a 5.5 % rate change the figures at once
                ui->inc_reglement->setCurrentIndex(ui->inc_reglement->findData(f.net45));
                QCOMPARE(ui->echeance->date(), today.addDays(45));
                ui->inc_tva->setCurrentIndex(ui->inc_tva->findData(f.rate55));
                QCOMPARE(ui->inc_tva->currentText(), QStringLiteral("5,5"));
                QCOMPARE(ui->total_tva->text(), QStringLiteral("66,00"));
                ui->ville->setText(QStringLiteral("Château-Chinon"));
                QVERIFY(!ui->BtnValiderImprimer->isEnabled());
                ui->BtnValider->click();
            }();
            return d.result();
        });
        screen.createInvoice();
        QCOMPARE(script.pending(), 0);
        QCOMPARE(script.shown(), (QStringList{"creer_facture", "validation_facture"}));

        QCOMPARE(f.value(QStringLiteral("select concat_ws('|',num_facture,type_fac,ville,ville_fac,inc_tva,montant_ht,"
                                        "montant_tva,montant_ttc,echeance) from facture_entete"))
                     .toString(),
                 QStringLiteral("101|FACTURE|Château-Chinon|Château-Chinon|%1|1200|66|1266|%2")
                     .arg(f.rate55)
                     .arg(today.addDays(45).toString(Qt::ISODate)));
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_corps_detail where inc_facture=101")), 3);
        QCOMPARE(f.flag(QStringLiteral("cde"), 1001), QStringLiteral("OUI/101"));
        QCOMPARE(f.flag(QStringLiteral("livraison"), 1003), QStringLiteral("NON/-"));
        QCOMPARE(*screen.currentNumber(), 101);
        QTRY_COMPARE(screen.deliveryNotes()->rowCount(), 2);

        // the credit note: "Non" only refreshes, "Oui" writes it
        f.dialogs.answer(false);
        screen.createCreditNote();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Voulez vous créer un AVOIR à partir de cette FACTURE ?"));
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_entete")), 1);
        f.dialogs.answer(true);
        screen.createCreditNote();
        QCOMPARE(screen.invoices()->rowCount(), 2);
        QCOMPARE(f.value(QStringLiteral("select concat_ws('|',type_fac,montant_ttc) from facture_entete where "
                                        "num_facture=102"))
                     .toString(),
                 QStringLiteral("AVOIR|-1266"));
        QCOMPARE(f.flag(QStringLiteral("cde"), 1001), QStringLiteral("NON/-"));

        // a credit note is not credited
        screen.invoices()->selectRow(0);
        QCOMPARE(*screen.currentNumber(), 102);
        screen.createCreditNote();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Ceci est dèjà un AVOIR !, vous devez selectionner une FACTURE "
                                                      "à passer en AVOIR."));
    }

    void validationRefusesAndAbandons()
    {
        f.insertOrder(1001, QStringLiteral("Scierie du Lac"), {{QStringLiteral("VOLUME"), 10, 40}});
        insertInvoice(150, QStringLiteral("FACTURE"), today.addDays(3), 10, 12); // dated ahead
        f.run(QStringLiteral("update increment set num_facture=150"));
        InvoiceListDialog screen(f.context);
        test::ModalScript script;
        auto selectAll = [&](QDialog &d) {
            auto &selection = static_cast<InvoiceCreationDialog &>(d);
            [&] {
                QTRY_VERIFY(!selection.searching());
                selection.toggleCurrent();
                f.dialogs.answer(true);
                selection.confirm();
            }();
            return d.result();
        };
        script.then(selectAll);
        script.then([&](QDialog &d) {
            auto *ui = static_cast<InvoiceValidationDialog &>(d).ui();
            [&] {
                ui->inc_tva->setCurrentIndex(-1);
                ui->BtnValider->click();
                QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous devez saisir un taux de TVA"));
                QCOMPARE(ui->total_tva->text(), QStringLiteral("0,00"));
                ui->inc_tva->setCurrentIndex(0);
                ui->inc_reglement->setCurrentIndex(-1);
                ui->BtnValider->click();
                QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous devez saisir un mode de règlement"));
                ui->inc_reglement->setCurrentIndex(0);
                ui->BtnValider->click(); // dated today, before the latest invoice
                QCOMPARE(f.dialogs.lastText(),
                         QStringLiteral("Date de facture IMPOSSIBLE car infèrieure à la dernière date de facture du ") +
                             today.addDays(3).toString(QStringLiteral("dd/MM/yyyy")));
                QVERIFY(d.isVisible() || d.result() != QDialog::Accepted);
                ui->BtnAbandon->click();
            }();
            return d.result();
        });
        screen.createInvoice();
        QCOMPARE(script.pending(), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_entete")), 1);
        QCOMPARE(f.count(QStringLiteral("select num_facture from increment")), 150);
        QCOMPARE(f.flag(QStringLiteral("cde"), 1001), QStringLiteral("NON/-"));

        // the same day as the latest invoice is accepted
        script.then(selectAll);
        script.then([&](QDialog &d) {
            auto *ui = static_cast<InvoiceValidationDialog &>(d).ui();
            ui->date_fac->setDate(today.addDays(3));
            ui->BtnValider->click();
            return d.result();
        });
        screen.createInvoice();
        QCOMPARE(f.count(QStringLiteral("select count(*) from facture_entete where num_facture=151")), 1);
    }

    // The drawn lines of the validation screen: the band of a sale by the MWh, then its line with
    // moisture and energy; an order's line without them.
    void previewTexts()
    {
        SaleWithLines delivery;
        delivery.kind = QStringLiteral("PLAQUETTE");
        delivery.date = QDate(2026, 3, 5);
        delivery.type = QStringLiteral("VENTE");
        delivery.amount = 1234.5;
        delivery.saleUnit = QStringLiteral("MWH");
        delivery.lines =
            DataTable({QStringLiteral("essence"), QStringLiteral("qualite"), QStringLiteral("qte_liv"),
                       QStringLiteral("unite_liv"), QStringLiteral("prix_unit"), QStringLiteral("prix_total"),
                       QStringLiteral("humidite"), QStringLiteral("total_mwh")});
        delivery.lines.addRow({QStringLiteral("BOIS ENERGIE"), QStringLiteral("PLAQUETTE"), 41.15,
                               QStringLiteral("MWH"), 30, 1234.5, 35, 41.15});
        SaleWithLines order = delivery;
        order.kind = QStringLiteral("GRUME");
        order.saleUnit = QStringLiteral("m3");
        const PreviewLayout layout = previewLayout({delivery, order});
        QCOMPARE(layout.bands, (QList<int>{0, 50}));
        QStringList drawn;
        for (const PreviewText &t : layout.texts.mid(0, 12))
            drawn << QStringLiteral("%1/%2/%3").arg(t.x).arg(t.size).arg(t.text);
        QCOMPARE(drawn,
                 (QStringList{"20/12/05/03/2026", "115/10/VENTE", "305/10/PLAQUETTE", "405/12/total liv : 1 234,50 €",
                              "605/10/Unité de vente : MWH", "40/10/BOIS ENERGIE", "145/10/PLAQUETTE",
                              "295/10/41,15 MWH", "355/10/Prix Unit : 30,00 €", "505/10/Prix total : 1 234,50 €",
                              "655/10/Humidité : 35 %", "805/10/Total (MWH) : 41,15 MWH"}));
        QCOMPARE(layout.texts.size(), 12 + 10); // the order's line has no moisture or energy
    }

    void creditOnEmptyList()
    {
        InvoiceListDialog screen(f.context);
        screen.createCreditNote();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Il n'y a pas d'enregistrement"));
        screen.print();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Il n'y a pas d'enregistrement"));
    }
};

QTEST_MAIN(TestInvoiceScreens)
#include "tst_invoicescreens.moc"
