#include "appcontext.h"
#include "gridmodel.h"
#include "modal.h"
#include "mappagedata.h"
#include "mapserver.h"
#include "placeeditordialog.h"
#include "placelistdialog.h"
#include "pagedquerymodel.h"
#include "places.h"
#include "placesearchdialog.h"
#include "scripteddialogs.h"
#include "sql.h"
#include "testdb.h"
#include "ui_placeeditordialog.h"
#include "ui_placelistdialog.h"
#include "ui_placesearchdialog.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

Q_DECLARE_METATYPE(PlaceSelection)

class TestPlaces : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QSqlDatabase m_other; // a second workstation
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;

    int count(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        auto v = scalar(m_db, sql, values);
        if (!v) qWarning() << v.error().fullText();
        return v ? v->toInt() : -1;
    }
    int incOf(const QString &destination)
    {
        return count(QStringLiteral("select inc from destination where destination=?"), {destination});
    }
    void run(const QString &sql)
    {
        auto done = execute(m_db, sql);
        QVERIFY2(done, qPrintable(done ? QString() : done.error().fullText()));
    }
    static QStringList destinations(const QList<PlaceValues> &rows)
    {
        QStringList names;
        for (const PlaceValues &p : rows) names << p.value(QStringLiteral("destination")).toString();
        return names;
    }
    QStringList searched(PlaceSelection selection, const PlaceFilter &filter)
    {
        PagedQueryModel list;
        if (Status s = list.setQuery(m_db, placeListQuery(selection, filter), PagedQueryModel::Count::Never); !s) {
            qWarning() << s.error().fullText();
            return {QStringLiteral("<error>")};
        }
        if (!list.fetchAll()) return {QStringLiteral("<error>")};
        QStringList names;
        for (int row = 0; row < list.rowCount(); ++row)
            names << list.record(row).value(QStringLiteral("destination")).toString();
        return names;
    }
    // `count` customer places "Client 001" / "Lieu 1"... after the fixture's own.
    void insertCustomers(int count)
    {
        QStringList rows;
        for (int n = 1; n <= count; ++n)
            rows << QStringLiteral("('Client %1', 'Lieu %2', 'NON', 1, 1)").arg(n, 3, 10, QLatin1Char('0')).arg(n);
        run(QStringLiteral("insert into destination (client, destination, stockage, inc_tva, inc_reglement) values ") +
            rows.join(QLatin1Char(',')));
    }
    // Fills a valid customer place in the editor.
    static void fillEditor(PlaceEditorDialog &editor, const QString &client, const QString &destination)
    {
        auto *ui = editor.ui();
        ui->client->setText(client);
        ui->destination->setText(destination);
        ui->inc_tva->setCurrentIndex(ui->inc_tva->findData(2));
        ui->inc_reglement->setCurrentIndex(ui->inc_reglement->findData(1));
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        m_other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("other"));
        m_context.db = m_db;
        m_context.dialogs = &m_dialogs;
        m_context.rights = Rights({}, masterUser());
    }

    void init()
    {
        m_dialogs.clear();
        m_context.rights = Rights({}, masterUser());
        setModalRunner({});
        for (const char *table :
             {"destination", "liste_tva", "liste_reglement", "cde", "livraison", "transfert", "liste_grume_transfert",
              "stock_buche", "liste_grume_cde", "facture_entete", "facture_corps"})
            run(QStringLiteral("delete from %1").arg(QLatin1String(table)));
        run(QStringLiteral("insert into liste_tva (inc, tva) values (1, 20), (2, 5.5)"));
        run(QStringLiteral(
            "insert into liste_reglement (inc, reglement) values (1, 'Chèque à réception'), (2, 'Virement 30 jours')"));
        run(QStringLiteral(
            "insert into destination (client, destination, stockage, cp, ville, pays, nom1, portable1, inc_tva, "
            "inc_reglement, "
            "unite, cout_tonne, cout_mwh) values "
            "('Dupont', 'Chaufferie A', 'NON', '71400', 'Autun', 'France', 'Paul', '0601', 1, 1, 'TONNE', 80, 25),"
            "('Dupont', 'Scierie B', 'NON', '58170', 'Luzy', 'France', NULL, NULL, 1, 1, 'MWH', 0, 30),"
            "('Martin', 'Usine C', 'NON', '71400', 'Autun', 'France', NULL, NULL, 1, 1, NULL, NULL, NULL),"
            "('O''Neil', 'Dépôt d''Avallon', 'NON', '89200', 'Avallon', 'France', NULL, NULL, 1, 1, NULL, NULL, NULL),"
            "('Zone', 'Plateforme P', 'OUI', '58230', 'Montsauche', 'France', NULL, NULL, NULL, NULL, 'TONNE', NULL, "
            "NULL),"
            "('Zone', 'Parc bûches', 'BUCHE', '58230', 'Montsauche', 'France', NULL, NULL, NULL, NULL, 'm3', NULL, "
            "NULL)"));
    }

    void cleanup()
    {
        setModalRunner({});
        setMapPageOpener({});
    }

    void searchStatements_data()
    {
        QTest::addColumn<PlaceSelection>("selection");
        QTest::addColumn<QString>("client");
        QTest::addColumn<QString>("lieu");
        QTest::addColumn<QString>("ville");
        QTest::addColumn<QStringList>("expected");
        const QStringList customers{"Chaufferie A", "Scierie B", "Usine C", "Dépôt d'Avallon"};
        QTest::newRow("customers, no filter, by client then place") << PlaceSelection::Customers << ""
                                                                    << ""
                                                                    << "" << customers;
        QTest::newRow("chip zones") << PlaceSelection::ChipZones << ""
                                    << ""
                                    << "" << QStringList{"Plateforme P"};
        QTest::newRow("customers and chip zones, never firewood zones")
            << PlaceSelection::CustomersAndChipZones << ""
            << ""
            << "" << (customers + QStringList{"Plateforme P"});
        QTest::newRow("client part, any case") << PlaceSelection::Customers << "dup"
                                               << ""
                                               << "" << QStringList{"Chaufferie A", "Scierie B"};
        QTest::newRow("place part") << PlaceSelection::Customers << ""
                                    << "ie"
                                    << "" << QStringList{"Chaufferie A", "Scierie B"};
        QTest::newRow("town") << PlaceSelection::Customers << ""
                              << ""
                              << "Autun" << QStringList{"Chaufferie A", "Usine C"};
        QTest::newRow("client and town") << PlaceSelection::Customers << "Dupont"
                                         << ""
                                         << "Autun" << QStringList{"Chaufferie A"};
        QTest::newRow("apostrophe is a value") << PlaceSelection::Customers << "O'N"
                                               << ""
                                               << "" << QStringList{"Dépôt d'Avallon"};
        QTest::newRow("injection finds nothing") << PlaceSelection::CustomersAndChipZones << "' or '1'='1"
                                                 << ""
                                                 << "" << QStringList{};
        QTest::newRow("zone name in customers") << PlaceSelection::Customers << ""
                                                << "Plateforme"
                                                << "" << QStringList{};
    }
    void searchStatements()
    {
        QFETCH(PlaceSelection, selection);
        QFETCH(QString, client);
        QFETCH(QString, lieu);
        QFETCH(QString, ville);
        QFETCH(QStringList, expected);
        QCOMPARE(searched(selection, PlaceFilter{client, lieu, ville}), expected);
    }

    // What the user types is searched for as typed: a backslash is itself, "%" and "_" keep their
    // meaning.
    void searchPatterns_data()
    {
        QTest::addColumn<QString>("lieu");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("backslash") << "A\\B" << QStringList{"Dépôt A\\B"};
        QTest::newRow("backslash before a letter") << "\\B" << QStringList{"Dépôt A\\B"};
        QTest::newRow("percent") << "Sc%B" << QStringList{"Scierie B"};
        QTest::newRow("underscore") << "Usine_C" << QStringList{"Usine C"};
    }
    void searchPatterns()
    {
        QFETCH(QString, lieu);
        QFETCH(QStringList, expected);
        run(QStringLiteral("insert into destination (client, destination, stockage) values "
                           "('Zed', 'Dépôt A\\\\B', 'NON'), ('Zed', 'Dépôt AB', 'NON')"));
        QCOMPARE(searched(PlaceSelection::Customers, PlaceFilter{QString(), lieu, QString()}), expected);
    }

    // Two workstations on one place: the editor changes the town while the other workstation
    // changes another field, the same field, or deletes the place.
    void twoWorkstations_data()
    {
        QTest::addColumn<QString>("otherChange");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("villeAfter");
        QTest::newRow("other field") << "update destination set cp='71000' where destination='Usine C'"
                                     << ""
                                     << "Autun-Nord";
        QTest::newRow("same field") << "update destination set ville='Beaune' where destination='Usine C'"
                                    << "Cet enregistrement a été modifié sur un autre poste : « Ville »"
                                    << "Beaune";
        QTest::newRow("deleted") << "delete from destination where destination='Usine C'"
                                 << "Cet enregistrement a été supprimé sur un autre poste"
                                 << "";
    }
    void twoWorkstations()
    {
        QFETCH(QString, otherChange);
        QFETCH(QString, refusal);
        QFETCH(QString, villeAfter);
        const int inc = incOf(QStringLiteral("Usine C"));
        PlaceEditorDialog editor(m_context, inc);
        QVERIFY(editor.loaded());
        editor.ui()->ville->setText(QStringLiteral("Autun-Nord"));
        QVERIFY(execute(m_other, otherChange));
        editor.ui()->BtnOK->click();
        const auto ville = [&] {
            const auto v = scalar(m_db, QStringLiteral("select ville from destination where inc=?"), {inc});
            return v ? v->toString() : QStringLiteral("<error>");
        };
        if (refusal.isEmpty()) {
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(editor.result(), int(QDialog::Accepted));
            QCOMPARE(count(QStringLiteral("select count(*) from destination where inc=? and cp='71000'"), {inc}), 1);
        } else {
            QCOMPARE(m_dialogs.texts(), QStringList{refusal});
            QVERIFY(editor.result() != QDialog::Accepted);
            QCOMPARE(editor.ui()->ville->text(), QStringLiteral("Autun-Nord"));
        }
        QCOMPARE(ville(), villeAfter);
        QCOMPARE(count(QStringLiteral("select count(*) from destination where inc=?"), {inc}),
                 otherChange.startsWith(QLatin1String("delete")) ? 0 : 1);
        if (otherChange.contains(QLatin1String("Beaune"))) {
            // "OK" again, after the message, writes the user's value over the one reported.
            m_dialogs.clear();
            editor.ui()->BtnOK->click();
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(editor.result(), int(QDialog::Accepted));
            QCOMPARE(ville(), QStringLiteral("Autun-Nord"));
        }
    }

    // The geocoding page opened from the place editor names the editor's own field.
    void geocodingPageNamesThePlaceField()
    {
        QTemporaryDir folder;
        m_context.applicationFolder = folder.path();
        QString opened;
        setMapPageOpener([&](const QUrl &, const QString &path) {
            opened = path;
            return true;
        });
        PlaceEditorDialog editor(m_context, incOf(QStringLiteral("Usine C")));
        editor.showAddressPosition();
        QFile page(opened);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QCOMPARE(test::mapPageData(html).value(QStringLiteral("champ")).toString(),
                 QStringLiteral("Latitude, Longitude"));
        QVERIFY(!html.contains(QStringLiteral("Position centre de la carte")));
        m_context.applicationFolder.clear();
    }

    void customerListCardsAndKind()
    {
        PlaceListDialog list(m_context);
        QCOMPARE(list.ui()->nb->text(), QStringLiteral("( nb : 4 )"));
        QVERIFY(list.ui()->BtnSelectionner->isHidden());
        QCOMPARE(list.cardLines(0), (QStringList{"Dupont  —  Chaufferie A", "71400  Autun  France", "Paul  0601"}));
        QCOMPARE(list.currentRow(), 0);

        QTest::keyClicks(list.ui()->ville, QStringLiteral("Autun"));
        QTest::keyClick(list.ui()->ville, Qt::Key_Return);
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(list.ui()->nb->text(), QStringLiteral("( nb : 2 )"));

        list.ui()->ville->clear();
        list.setKind(PlaceSelection::ChipZones); // the hidden kind "STOCK" searches again
        QCOMPARE(list.rowCount(), 1);
        QCOMPARE(list.currentPlace().value(QStringLiteral("destination")).toString(), QStringLiteral("Plateforme P"));
        QVERIFY(m_dialogs.shown().isEmpty());
    }

    void orderEditorPicker_data()
    {
        QTest::addColumn<QString>("client");
        QTest::addColumn<bool>("transfer");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("picked");
        QTest::newRow("no client: every customer place") << "" << false << 4 << "Scierie B";
        QTest::newRow("the order's client as filter") << "Martin" << false << 1 << "Usine C";
        QTest::newRow("transfer order: chip zones") << "" << true << 1 << "Plateforme P";
    }
    void orderEditorPicker()
    {
        QFETCH(QString, client);
        QFETCH(bool, transfer);
        QFETCH(int, rows);
        QFETCH(QString, picked);
        setModalRunner([&](QDialog &dialog) {
            auto *list = qobject_cast<PlaceListDialog *>(&dialog);
            if (!list) return int(QDialog::Rejected);
            [&] {
                QVERIFY(!list->ui()->BtnSelectionner->isHidden());
                QCOMPARE(list->ui()->client->text(), client);
                QCOMPARE(list->rowCount(), rows);
            }();
            list->locate(picked);
            list->ui()->BtnSelectionner->click();
            return list->result();
        });
        const auto place = pickCustomerPlace(m_context, nullptr, client, transfer);
        QVERIFY(place);
        QCOMPARE(place->value(QStringLiteral("destination")).toString(), picked);
        for (const QString &column : {QStringLiteral("client"), QStringLiteral("adresse"), QStringLiteral("ville"),
                                      QStringLiteral("cp"), QStringLiteral("pays"), QStringLiteral("inc")})
            QVERIFY2(place->contains(column), qPrintable(column));

        setModalRunner([](QDialog &dialog) {
            dialog.reject();
            return dialog.result();
        });
        QVERIFY(!pickCustomerPlace(m_context, nullptr, client, transfer));
    }

    void searchPickerChoicesAndColours()
    {
        PlaceSearchDialog picker(m_context);
        QCOMPARE(picker.rowCount(), 0); // no search of its own on opening
        QVERIFY(picker.ui()->Choix_tout->isChecked());
        picker.search();
        QCOMPARE(picker.ui()->nb->text(), QStringLiteral("( nb : 5 )"));
        picker.ui()->Choix_client->click();
        QCOMPARE(picker.rowCount(), 4);
        picker.ui()->Choix_stock->click();
        QCOMPARE(picker.rowCount(), 1);
        picker.ui()->Choix_tout->click();
        QCOMPARE(picker.rowCount(), 5);

        GridModel *grid = picker.grid();
        QTableView *view = picker.ui()->Grille_destination;
        QStringList shown;
        for (int visual = 0; visual < grid->columnCount(); ++visual) {
            const int logical = view->horizontalHeader()->logicalIndex(visual);
            if (!view->isColumnHidden(logical))
                shown << grid->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
        }
        QCOMPARE(shown, (QStringList{"client", "destination", "Zone Stock", "CP", "Ville"}));
        QCOMPARE(view->columnWidth(grid->column(QStringLiteral("stockage"))), 65);
        QCOMPARE(grid->index(0, grid->column(QStringLiteral("cp"))).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));

        const QColor zone = rgb(QStringLiteral("E1E1FF"));
        for (int row = 0; row < picker.rowCount(); ++row) {
            const bool chipZone = grid->raw(row, QStringLiteral("stockage")).toString() == QLatin1String("OUI");
            for (const char *column : {"client", "destination", "stockage", "cp", "ville"}) {
                const QVariant colour =
                    grid->index(row, grid->column(QString::fromLatin1(column))).data(Qt::BackgroundRole);
                const bool tinted =
                    chipZone && (QLatin1String(column) == "destination" || QLatin1String(column) == "stockage");
                QCOMPARE(colour.isValid() ? colour.value<QColor>() : QColor(), tinted ? zone : QColor());
            }
        }
    }

    void choosePlaceForDelivery_data()
    {
        QTest::addColumn<PlaceSelection>("selection");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("rows");
        QTest::newRow("destination: cursor on the delivery's place")
            << PlaceSelection::CustomersAndChipZones << false << "Usine C" << 5;
        QTest::newRow("departure: zones only, group hidden")
            << PlaceSelection::ChipZones << true << "Plateforme P" << 1;
    }
    void choosePlaceForDelivery()
    {
        QFETCH(PlaceSelection, selection);
        QFETCH(bool, locked);
        QFETCH(QString, current);
        QFETCH(int, rows);
        setModalRunner([&](QDialog &dialog) {
            auto *picker = qobject_cast<PlaceSearchDialog *>(&dialog);
            if (!picker) return int(QDialog::Rejected);
            [&] {
                QCOMPARE(picker->rowCount(), rows);
                QCOMPARE(picker->ui()->Selection->isHidden(), locked);
                QCOMPARE(picker->selection(), selection);
            }();
            picker->ui()->BtnSelectionner->click();
            return picker->result();
        });
        const auto place = choosePlace(m_context, nullptr, selection, current, locked);
        QVERIFY(place);
        QCOMPARE(place->value(QStringLiteral("destination")).toString(), current);
        for (const QString &column :
             {QStringLiteral("unite"), QStringLiteral("cout_tonne"), QStringLiteral("cout_mwh")})
            QVERIFY(place->contains(column));
    }

    void nameUniqueness_data()
    {
        QTest::addColumn<QString>("row"); // empty: a new place
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        QTest::newRow("new place, customer name") << ""
                                                  << "Chaufferie A" << true;
        QTest::newRow("new place, chip zone name") << ""
                                                   << "Plateforme P" << true;
        QTest::newRow("new place, firewood zone name") << ""
                                                       << "Parc bûches" << true;
        QTest::newRow("new place, other case") << ""
                                               << "chaufferie a" << true;
        QTest::newRow("new place, free name") << ""
                                              << "Chaufferie Z" << false;
        QTest::newRow("own unchanged name") << "Chaufferie A"
                                            << "Chaufferie A" << false;
        QTest::newRow("another place's name") << "Chaufferie A"
                                              << "Scierie B" << true;
        QTest::newRow("name with apostrophe") << ""
                                              << "Dépôt d'Avallon" << true;
    }
    void nameUniqueness()
    {
        QFETCH(QString, row);
        QFETCH(QString, name);
        QFETCH(bool, taken);
        const int inc = row.isEmpty() ? 0 : incOf(row);
        auto found = placeNameTaken(m_db, name, inc);
        QVERIFY(found);
        QCOMPARE(*found, taken);

        // The editor's "OK" says the same and writes nothing when the name is taken.
        PlaceEditorDialog editor(m_context, inc);
        fillEditor(editor, QStringLiteral("Client X"), name);
        editor.ui()->BtnOK->click();
        QCOMPARE(editor.result() == QDialog::Accepted, !taken);
        QCOMPARE(m_dialogs.lastText(), taken ? QStringLiteral("Destination dèja existante !") : QString());
        QCOMPARE(count(QStringLiteral("select count(*) from destination")), row.isEmpty() && !taken ? 7 : 6);
    }

    void editorChecksInOrder_data()
    {
        QTest::addColumn<QStringList>("blank");
        QTest::addColumn<QString>("message");
        QTest::newRow("client") << QStringList{"client"} << "Vous devez saisir un client";
        QTest::newRow("destination") << QStringList{"destination"} << "Vous devez saisir une destination";
        QTest::newRow("VAT rate") << QStringList{"inc_tva"} << "Vous devez saisir un taux de TVA";
        QTest::newRow("payment mode") << QStringList{"inc_reglement"} << "Vous devez saisir un mode de règlement";
        QTest::newRow("all: the client first")
            << QStringList{"client", "destination", "inc_tva", "inc_reglement"} << "Vous devez saisir un client";
        QTest::newRow("VAT and payment: the VAT first")
            << QStringList{"inc_tva", "inc_reglement"} << "Vous devez saisir un taux de TVA";
        QTest::newRow("blanks only") << QStringList{"client="} << "Vous devez saisir un client";
    }
    void editorChecksInOrder()
    {
        QFETCH(QStringList, blank);
        QFETCH(QString, message);
        PlaceEditorDialog editor(m_context, 0);
        fillEditor(editor, QStringLiteral("Client X"), QStringLiteral("Lieu X"));
        auto *ui = editor.ui();
        for (const QString &field : blank) {
            if (field == QLatin1String("client")) ui->client->clear();
            if (field == QLatin1String("client=")) ui->client->setText(QStringLiteral("   "));
            if (field == QLatin1String("destination")) ui->destination->clear();
            if (field == QLatin1String("inc_tva")) ui->inc_tva->setCurrentIndex(-1);
            if (field == QLatin1String("inc_reglement")) ui->inc_reglement->setCurrentIndex(-1);
        }
        ui->BtnOK->click();
        QCOMPARE(m_dialogs.texts(), QStringList{message});
        QVERIFY(editor.result() != QDialog::Accepted);
        QCOMPARE(count(QStringLiteral("select count(*) from destination")), 6);
    }

    void createThroughTheList()
    {
        PlaceListDialog list(m_context);
        setModalRunner([&](QDialog &dialog) {
            auto *editor = qobject_cast<PlaceEditorDialog *>(&dialog);
            if (!editor) return int(QDialog::Rejected);
            auto *ui = editor->ui();
            [&] {
                QCOMPARE(ui->inc_tva->count(), 2);
                QCOMPARE(ui->inc_tva->itemText(1), QStringLiteral("5,5"));
                QCOMPARE(ui->inc_reglement->itemText(0), QStringLiteral("Chèque à réception"));
                QCOMPARE(ui->inc_tva->currentIndex(), -1);
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Clients"));
                QVERIFY(ui->BtnOK->isDefault());
            }();
            fillEditor(*editor, QStringLiteral("Bernard"), QStringLiteral("Chaufferie Bernard"));
            ui->adresse->setText(QStringLiteral("1 rue du Bois"));
            ui->ville_fac->setText(QStringLiteral("Nevers"));
            ui->nom2->setText(QStringLiteral("Julie"));
            ui->unite->setCurrentIndex(ui->unite->findText(QStringLiteral("MWH")));
            QTest::keyClicks(ui->cout_mwh, QStringLiteral("27.5")); // the decimal key gives "27,5"
            ui->cout_tonne->setText(QStringLiteral("90"));
            ui->commentaire->setPlainText(QStringLiteral("Livrer le matin\nAccès par le sud"));
            ui->latitude->setText(QStringLiteral("47.1,3.5"));
            ui->BtnOK->click();
            return editor->result();
        });
        list.ui()->BtnCreer->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(list.ui()->nb->text(), QStringLiteral("( nb : 5 )"));
        QCOMPARE(list.currentPlace().value(QStringLiteral("destination")).toString(),
                 QStringLiteral("Chaufferie Bernard"));

        auto written = readPlace(m_db, incOf(QStringLiteral("Chaufferie Bernard")));
        QVERIFY(written);
        QCOMPARE(written->value(QStringLiteral("stockage")).toString(), QStringLiteral("NON"));
        QCOMPARE(written->value(QStringLiteral("tonnage_maxi")).toDouble(), 0.0);
        QVERIFY(!written->value(QStringLiteral("tonnage_maxi")).isNull());
        QCOMPARE(written->value(QStringLiteral("inc_tva")).toInt(), 2);
        QCOMPARE(written->value(QStringLiteral("inc_reglement")).toInt(), 1);
        QCOMPARE(written->value(QStringLiteral("cout_mwh")).toDouble(), 27.5);
        QCOMPARE(written->value(QStringLiteral("cout_tonne")).toDouble(), 90.0);
        QCOMPARE(written->value(QStringLiteral("unite")).toString(), QStringLiteral("MWH"));
        QCOMPARE(written->value(QStringLiteral("ville_fac")).toString(), QStringLiteral("Nevers"));
        QCOMPARE(written->value(QStringLiteral("nom2")).toString(), QStringLiteral("Julie"));
        QCOMPARE(written->value(QStringLiteral("commentaire")).toString(),
                 QStringLiteral("Livrer le matin\nAccès par le sud"));
        QCOMPARE(written->value(QStringLiteral("latitude")).toString(), QStringLiteral("47.1,3.5"));
        QVERIFY(written->value(QStringLiteral("pefc")).isNull()); // an empty field stays null

        // Cancelling a new place writes nothing.
        setModalRunner([](QDialog &dialog) {
            dialog.reject();
            return dialog.result();
        });
        list.ui()->BtnCreer->click();
        QCOMPARE(count(QStringLiteral("select count(*) from destination")), 7);
    }

    void modifyThroughTheList()
    {
        PlaceListDialog list(m_context);
        QVERIFY(list.locate(QStringLiteral("Scierie B")));
        setModalRunner([&](QDialog &dialog) {
            auto *editor = qobject_cast<PlaceEditorDialog *>(&dialog);
            if (!editor) return int(QDialog::Rejected);
            auto *ui = editor->ui();
            [&] {
                QCOMPARE(ui->client->text(), QStringLiteral("Dupont"));
                QCOMPARE(ui->ville->text(), QStringLiteral("Luzy"));
                QCOMPARE(ui->unite->currentText(), QStringLiteral("MWH"));
                QCOMPARE(ui->cout_mwh->text(), QStringLiteral("30"));
                QCOMPARE(ui->inc_tva->currentData().toInt(), 1);
                QVERIFY(!editor->nameLocked());
            }();
            ui->destination->setText(QStringLiteral("Scierie B2")); // nothing names it yet
            ui->cout_tonne->setText(QStringLiteral("12,75"));
            ui->BtnOK->click();
            return editor->result();
        });
        list.ui()->BtnModifier->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from destination where destination='Scierie B2' and cout_tonne=12.75")),
                 1);
        QCOMPARE(list.currentPlace().value(QStringLiteral("destination")).toString(), QStringLiteral("Scierie B2"));
        QCOMPARE(count(QStringLiteral("select count(*) from destination")), 6);
    }

    // A company with hundreds of customers: the first cards at once, the count right after, and a
    // place edited far down the list becomes the current card without reading the whole list.
    void longListKeepsItsPlace()
    {
        insertCustomers(450);
        PlaceListDialog list(m_context);
        QCOMPARE(list.ui()->nb->text(), QStringLiteral("( nb : … )"));
        QCOMPARE(list.rowCount(), 200);
        QCOMPARE(list.cardLines(0).first(), QStringLiteral("Client 001  —  Lieu 1"));
        QTRY_COMPARE(list.ui()->nb->text(), QStringLiteral("( nb : 454 )"));

        QVERIFY(list.locate(QStringLiteral("Lieu 420")));
        QCOMPARE(list.currentRow(), 419);
        setModalRunner([&](QDialog &dialog) {
            auto *editor = qobject_cast<PlaceEditorDialog *>(&dialog);
            if (!editor) return int(QDialog::Rejected);
            editor->ui()->destination->setText(QStringLiteral("Lieu 420 bis"));
            editor->ui()->BtnOK->click();
            return editor->result();
        });
        list.ui()->BtnModifier->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(list.currentPlace().value(QStringLiteral("destination")).toString(), QStringLiteral("Lieu 420 bis"));
        QVERIFY(list.rowCount() < 454); // the cards below it are still unread
    }

    // The place picker of the delivery editor over the same long list: the cursor goes to the
    // delivery's place wherever it is.
    void longListInThePicker()
    {
        insertCustomers(450);
        PlaceSearchDialog picker(m_context);
        picker.search();
        QCOMPARE(picker.rowCount(), 200);
        QTRY_COMPARE(picker.ui()->nb->text(), QStringLiteral("( nb : 455 )")); // with the chip zone
        QVERIFY(picker.locate(QStringLiteral("Lieu 433")));
        QCOMPARE(picker.currentPlace().value(QStringLiteral("destination")).toString(), QStringLiteral("Lieu 433"));
        QVERIFY(!picker.locate(QStringLiteral("Parc bûches"))); // firewood zones are not offered
    }

    void referencedPlaceKeepsItsName_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("kind");
        QTest::newRow("order") << "insert into cde (inc, destination) values (1, 'Usine C')"
                               << "commandes";
        QTest::newRow("delivery to") << "insert into livraison (inc, destination) values (1, 'Usine C')"
                                     << "livraisons";
        QTest::newRow("delivery from") << "insert into livraison (inc, depart) values (1, 'Usine C')"
                                       << "livraisons";
        QTest::newRow("transfer to") << "insert into transfert (destination) values ('Usine C')"
                                     << "transferts";
        QTest::newRow("transfer from") << "insert into transfert (depart) values ('Usine C')"
                                       << "transferts";
        QTest::newRow("transfer line") << "insert into liste_grume_transfert (destination) values ('Usine C')"
                                       << "transferts";
        QTest::newRow("transfer line from") << "insert into liste_grume_transfert (depart) values ('Usine C')"
                                            << "transferts";
        QTest::newRow("firewood stock") << "insert into stock_buche (destination) values ('Usine C')"
                                        << "stocks bûches";
        QTest::newRow("order line from a firewood stock")
            << "insert into liste_grume_cde (stock_buche) values ('Usine C')"
            << "stocks bûches";
        QTest::newRow("invoice") << "insert into facture_entete (destination) values ('Usine C')"
                                 << "factures";
        QTest::newRow("invoice row") << "insert into facture_corps (destination) values ('Usine C')"
                                     << "factures";
    }
    void referencedPlaceKeepsItsName()
    {
        QFETCH(QString, reference);
        QFETCH(QString, kind);
        const int inc = incOf(QStringLiteral("Usine C"));
        auto before = placeReferences(m_db, QStringLiteral("Usine C"));
        QVERIFY(before);
        QVERIFY(before->isEmpty());
        run(reference);
        auto after = placeReferences(m_db, QStringLiteral("Usine C"));
        QVERIFY(after);
        QCOMPARE(*after, QStringList{kind});

        // The editor shows the name read-only, other fields still change.
        PlaceEditorDialog editor(m_context, inc);
        QVERIFY(editor.nameLocked());
        QVERIFY(editor.ui()->destination->isReadOnly());
        editor.ui()->ville->setText(QStringLiteral("Autun-Sud"));
        editor.ui()->BtnOK->click();
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(
            count(QStringLiteral("select count(*) from destination where destination='Usine C' and ville='Autun-Sud'")),
            1);

        // A rename that reaches the operation anyway (name read from another workstation) is refused.
        const Status renamed = updatePlace(
            m_db, inc,
            {{QStringLiteral("destination"), QStringLiteral("Usine C"), QStringLiteral("Usine D"), QString()}});
        QVERIFY(!renamed);
        QCOMPARE(
            renamed.error().message,
            QStringLiteral("La destination \"Usine C\" est utilisée par des %1 : son nom ne peut pas être modifié.")
                .arg(kind));

        // Deleting says why, without asking anything.
        PlaceListDialog list(m_context);
        QVERIFY(list.locate(QStringLiteral("Usine C")));
        list.ui()->BtnSupprimer->click();
        QCOMPARE(
            m_dialogs.texts(),
            QStringList{
                QStringLiteral("La destination \"Usine C\" est utilisée par des %1 : elle ne peut pas être supprimée.")
                    .arg(kind)});
        QVERIFY(!deletePlace(m_db, inc));
        QCOMPARE(count(QStringLiteral("select count(*) from destination where inc=?"), {inc}), 1);
    }

    void deleteConfirmation_data()
    {
        QTest::addColumn<QVariantList>("answers");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("no") << QVariantList{false} << false;
        QTest::newRow("yes, SUPPRIMER") << QVariantList{true, QStringLiteral("SUPPRIMER")} << true;
        QTest::newRow("yes, lower case") << QVariantList{true, QStringLiteral("supprimer")} << false;
        QTest::newRow("yes, cancelled") << QVariantList{true, QVariant()} << false;
    }
    void deleteConfirmation()
    {
        QFETCH(QVariantList, answers);
        QFETCH(bool, deleted);
        PlaceListDialog list(m_context);
        QVERIFY(list.locate(QStringLiteral("Dépôt d'Avallon")));
        m_dialogs.answers(answers);
        list.ui()->BtnSupprimer->click();
        QCOMPARE(m_dialogs.shown().first().text, QStringLiteral("Voulez vous supprimer la destination ?"));
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from destination where destination='Dépôt d''Avallon'")),
                 deleted ? 0 : 1);
        QCOMPARE(list.ui()->nb->text(), QStringLiteral("( nb : %1 )").arg(deleted ? 3 : 4));
        QCOMPARE(count(QStringLiteral("select count(*) from destination")), deleted ? 5 : 6);
    }

    void rightsAndEmptyList_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("granted");
        QTest::addColumn<QString>("message");
        QTest::newRow("create refused") << "BtnCreer" << false << "Accés non autorisé";
        QTest::newRow("modify refused") << "BtnModifier" << false << "Accés non autorisé";
        QTest::newRow("delete refused") << "BtnSupprimer" << false << "Accés non autorisé";
        QTest::newRow("modify, empty list") << "BtnModifier" << true << "Il n'y a pas d'enregistrement";
        QTest::newRow("delete, empty list") << "BtnSupprimer" << true << "Il n'y a pas d'enregistrement";
    }
    void rightsAndEmptyList()
    {
        QFETCH(QString, button);
        QFETCH(bool, granted);
        QFETCH(QString, message);
        m_context.rights =
            granted ? Rights({{QStringLiteral("Eve"), QStringLiteral("Liste destination"), QStringLiteral("1")}},
                             QStringLiteral("Eve"))
                    : Rights({}, QStringLiteral("Eve"));
        PlaceListDialog list(m_context);
        if (granted) {
            list.ui()->client->setText(QStringLiteral("personne"));
            list.search();
            QCOMPARE(list.ui()->nb->text(), QStringLiteral("( nb : 0 )"));
        } else {
            m_dialogs.answer(true);
        }
        setModalRunner([](QDialog &) -> int {
            QTest::qFail("no screen should open", __FILE__, __LINE__);
            return QDialog::Rejected;
        });
        list.findChild<QPushButton *>(button)->click();
        QCOMPARE(m_dialogs.texts(), QStringList{message});
        if (!granted) QCOMPARE(m_dialogs.lastCaption(), QStringLiteral("Sécurité"));
        QCOMPARE(count(QStringLiteral("select count(*) from destination")), 6);
    }

    void mapPageOfTheAddress()
    {
        QTemporaryDir folder;
        m_context.applicationFolder = folder.path() + QLatin1Char('/');
        QStringList opened;
        setMapPageOpener([&](const QUrl &, const QString &path) {
            opened << path;
            return true;
        });
        PlaceEditorDialog editor(m_context, incOf(QStringLiteral("Chaufferie A")));
        editor.ui()->adresse->setText(QStringLiteral("Rue de Druyes"));
        editor.ui()->adresse1->setText(QStringLiteral("Parking sud"));
        editor.ui()->BtnCoordonnees->click();
        QCOMPARE(opened, QStringList{folder.filePath(QStringLiteral("terrain.html"))});
        QFile page(opened.first());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(page.readAll()).contains(QStringLiteral("Rue de Druyes Parking sud 71400 Autun ")));
        QCOMPARE(placeMapAddress({{QStringLiteral("adresse"), QStringLiteral("a")},
                                  {QStringLiteral("ville"), QStringLiteral("v")}}),
                 QStringLiteral("a   v "));
        QVERIFY(m_dialogs.shown().isEmpty());
        m_context.applicationFolder.clear();
    }

    void badPriceKeepsTheEditorOpen()
    {
        PlaceEditorDialog editor(m_context, 0);
        fillEditor(editor, QStringLiteral("Client X"), QStringLiteral("Lieu X"));
        editor.ui()->cout_tonne->setText(QStringLiteral("12x"));
        editor.ui()->BtnOK->click();
        QCOMPARE(m_dialogs.texts(), QStringList{QStringLiteral("\"Coût TONNE\" : ce n'est pas un nombre correct.")});
        QVERIFY(editor.result() != QDialog::Accepted);
        QCOMPARE(count(QStringLiteral("select count(*) from destination")), 6);
    }
};

QTEST_MAIN(TestPlaces)
#include "tst_places.moc"
