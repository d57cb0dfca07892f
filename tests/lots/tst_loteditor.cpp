#include "lotsfixture.h"

#include "formats.h"
#include "gauges.h"
#include "gridmodel.h"
#include "logentrydialog.h"
#include "loteditor.h"
#include "lotlogsdialog.h"
#include "lotstore.h"
#include "lotworktab.h"
#include "gridhelpers.h"
#include "ownerstab.h"
#include "reportpreview.h"
#include "ui_logentrydialog.h"
#include "ui_loteditor.h"
#include "ui_lotlogsdialog.h"
#include "ui_lotworktab.h"
#include "ui_ownerstab.h"

#include <QApplication>
#include <QPainter>
#include <QStandardItemModel>

using namespace ravelin;

// The lot editor Creation_dossier2: what left the lot, the deliveries printout, the wood state and
// its gauges, the percentages and the finished field, the volume line that "Etat" and
// "Exploitation" share, and the town new logs take. Driven through the tabs the user sees.
class TestLotEditor : public QObject
{
    Q_OBJECT
    test::LotsFixture f;

    std::unique_ptr<LotEditor> openEditor(int inc, bool newLot = false)
    {
        auto lot = loadLot(f.db, inc);
        if (!lot) {
            qWarning() << lot.error().fullText();
            return nullptr;
        }
        return std::make_unique<LotEditor>(f.context, *lot, newLot);
    }

    QStringList column(QStandardItemModel *model, int column)
    {
        QStringList values;
        for (int row = 0; row < model->rowCount(); ++row) values << model->index(row, column).data().toString();
        return values;
    }

private slots:
    void initTestCase() { f.open(); }
    void init()
    {
        f.clearTables();
        f.signInAsMaster();
    }

    void deliveriesOfTheLot()
    {
        f.run(QStringLiteral(
            "insert into coupe (inc, n_lot, lieu, adresse) values (1, 40, 'Ussel', 'Le Bois'), (2, 41, 'Tulle', '')"));
        // order lines: two counted, a log line (GRUME) and another lot's line left out
        f.run(QStringLiteral(
            "insert into liste_grume_cde (inc_cde, n_lot, descriptif, date_creation, essence, qualite, "
            "qte_liv, unite_liv, prix_unit, prix_total, qte_defaut, unite_defaut, lieu, stock) values "
            "(500, '40', 'VOLUME', '2026-02-10 09:00:00', 'Chêne', 'A', 12.5, 'm3', 40, 500, 12.5, 'm3', 'Scierie', "
            "''), "
            "(501, '40', 'GRUME1', '2026-02-13 15:30:00', 'Hêtre', 'B', 3, 'm3', 30, 90, 3, 'm3', 'Dupont', ''), "
            "(502, '40', 'GRUME', '2026-02-11 10:00:00', 'Hêtre', 'B', 1, 'm3', 30, 30, 1, 'm3', 'x', ''), "
            "(503, '41', 'VOLUME', '2026-02-11 10:00:00', 'Hêtre', 'B', 1, 'm3', 30, 30, 1, 'm3', 'x', '')"));
        f.run(QStringLiteral(
            "insert into livraison (inc, n_lot, date_livraison, essence, qualite, qte_liv_totale, "
            "qte_defaut_totale, unite_liv, unite_defaut, prix_total, destination, ticket, lettre_voiture) values "
            "(700, 40, '2026-02-11 08:00:00', 'Plaquette', 'P1', 25.4, 30.2, 'T', 'm3', 1200, 'Chaufferie', 'T-9', "
            "'LV-3'), "
            "(701, 41, '2026-02-11 08:00:00', 'Plaquette', 'P1', 1, 1, 'T', 'm3', 10, 'x', '', '')"));
        f.run(QStringLiteral("insert into liste_grume_transfert (inc_transfert, depart, type_transfert, date_creation, "
                             "essence, qualite, qte_liv, unite_liv, qte_defaut, unite_defaut, destination, prix_unit, "
                             "prix_total, stock, descriptif) values "
                             "(800, '40', 'COUPE', '2026-01-20 00:00:00', 'Chêne', 'C', 8, 'Stere', 5.6, 'm3', 'Zone "
                             "1', 0, 0, 'BUCHE', 'VOLUME'), "
                             "(801, '40', 'STOCK', '2026-01-21 00:00:00', 'Chêne', 'C', 8, 'Stere', 5.6, 'm3', 'Zone "
                             "1', 0, 0, 'BUCHE', 'VOLUME')"));
        auto editor = openEditor(1);
        QVERIFY(editor);
        QStandardItemModel *grid = editor->deliveries();
        QCOMPARE(column(grid, 0), (QStringList{"TRANSFERT", "LIVRAISON", "PLAQUETTE", "LIVRAISON"}));
        QCOMPARE(column(grid, 1), (QStringList{"20/01/2026", "10/02/2026", "11/02/2026", "13/02/2026"}));
        QCOMPARE(column(grid, 4), (QStringList{"8,00", "12,50", "25,40", "3,00"}));
        QCOMPARE(column(grid, 10), (QStringList{"5,60", "12,50", "30,20", "3,00"}));
        QCOMPARE(column(grid, 12), (QStringList{"Zone 1", "Scierie", "Chaufferie", "Dupont"}));
        QCOMPARE(column(grid, 13), (QStringList{"BUCHE", "", "PLA", ""}));
        QCOMPARE(grid->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Date liv"));
        QCOMPARE(grid->headerData(7, Qt::Horizontal).toString(), QStringLiteral("€"));
        QCOMPARE(grid->headerData(10, Qt::Horizontal).toString(), QStringLiteral("équivalent"));

        // "Imprimer": the period chosen, the lot's place as the editor holds it.
        editor->ui()->Periode_du->setDate(QDate(2026, 2, 1));
        editor->ui()->Periode_au->setDate(QDate(2026, 2, 12));
        editor->ownersTab()->ui()->lieu->setText(QStringLiteral("Ussel-Haut"));
        test::ModalScript screens;
        QString printed;
        screens.then([&](QDialog &d) {
            auto *preview = qobject_cast<ReportPreview *>(&d);
            if (preview) printed = preview->document().toPlainText();
            return int(QDialog::Rejected);
        });
        editor->ui()->BtnImprimer->click();
        QCOMPARE(screens.pending(), 0);
        QVERIFY2(printed.contains(QStringLiteral("Liste des LIVRAISONS réalisées sur le lot 40")), qPrintable(printed));
        QVERIFY2(printed.contains(QStringLiteral("Ussel-Haut ( Le Bois )")), qPrintable(printed));
        QVERIFY2(printed.contains(QStringLiteral("PLAQUETTE")), qPrintable(printed));
        QVERIFY2(!printed.contains(QStringLiteral("TRANSFERT")), qPrintable(printed));
        QVERIFY2(printed.contains(QStringLiteral("42,70")) || printed.contains(QStringLiteral("42.70")),
                 qPrintable(printed));
    }

    void newLotHasNoDeliveriesToPrint()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot) values (1, 40)"));
        f.run(QStringLiteral("insert into livraison (inc, n_lot, date_livraison) values (700, 40, now())"));
        auto editor = openEditor(1, true);
        QCOMPARE(editor->deliveries()->rowCount(), 0);
        test::ModalScript screens;
        editor->ui()->BtnImprimer->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Il n'y a pas d'enregistrement"));
        QVERIFY(screens.shown().isEmpty());
        QCOMPARE(editor->ui()->Periode_du->date(), QDate::currentDate().addDays(-30));
        QCOMPARE(editor->ui()->Periode_au->date(), QDate::currentDate());
    }

    void gauges_data()
    {
        QTest::addColumn<QVariant>("percent");
        QTest::addColumn<QString>("upperRight"); // 45 degrees clockwise from the top
        QTest::addColumn<QString>("left");       // 270 degrees clockwise from the top
        QTest::addColumn<QString>("text");
        QTest::newRow("0: a plain grey ring") << QVariant(0) << "#e6e6e6"
                                              << "#e6e6e6"
                                              << "0%";
        QTest::newRow("empty: as 0") << QVariant() << "#e6e6e6"
                                     << "#e6e6e6"
                                     << "0%";
        QTest::newRow("38: blue from the top") << QVariant(38) << "#009eea"
                                               << "#e6e6e6"
                                               << "38%";
        QTest::newRow("37.6 shows 37") << QVariant(37.6) << "#009eea"
                                       << "#e6e6e6"
                                       << "37%";
        QTest::newRow("100: all green") << QVariant(100) << "#00ff00"
                                        << "#00ff00"
                                        << "100%";
    }
    void gauges()
    {
        QFETCH(QVariant, percent);
        QFETCH(QString, upperRight);
        QFETCH(QString, left);
        f.run(QStringLiteral("insert into coupe (inc, n_lot) values (1, 40)"));
        f.insertVolumeLine(40, QStringLiteral("Chêne"), 100, percent, 0);
        auto editor = openEditor(1);
        const QImage &image = editor->gauges();
        QCOMPARE(image.size(), QSize(140, 80));
        QCOMPARE(image.pixelColor(44, 16).name(), upperRight);
        QCOMPARE(image.pixelColor(9, 30).name(), left);
        QCOMPARE(image.pixelColor(30, 30 + 10).name(), QStringLiteral("#ffffff")); // the hole
        // the skidding gauge at 0
        QCOMPARE(image.pixelColor(114, 16).name(), QStringLiteral("#e6e6e6"));
    }

    void sliceAngles()
    {
        // A quarter from the top clockwise: 450 - 25 x 3.6 = 360 to 90.
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        drawPieSlice(painter, QPointF(30, 30), 90, 360, 25);
        painter.end();
        QCOMPARE(image.pixelColor(40, 20).name(), QStringLiteral("#000000"));
        QCOMPARE(image.pixelColor(20, 20).name(), QStringLiteral("#ffffff"));
        QCOMPARE(image.pixelColor(40, 40).name(), QStringLiteral("#ffffff"));
    }

    void modifyPercent_data()
    {
        QTest::addColumn<bool>("felling");
        QTest::addColumn<QVariant>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("37,6 stores 38") << true << QVariant(QStringLiteral("37,6")) << 38;
        QTest::newRow("37.4 stores 37") << true << QVariant(QStringLiteral("37.4")) << 37;
        QTest::newRow("skidding 80") << false << QVariant(QStringLiteral("80")) << 80;
        QTest::newRow("not a number: left aside") << true << QVariant(QStringLiteral("abc")) << 10;
        QTest::newRow("above 100: left aside") << true << QVariant(QStringLiteral("150")) << 10;
        QTest::newRow("below 0: left aside") << false << QVariant(QStringLiteral("-5")) << 10;
        QTest::newRow("cancelled") << true << QVariant() << 10;
    }
    void modifyPercent()
    {
        QFETCH(bool, felling);
        QFETCH(QVariant, typed);
        QFETCH(int, stored);
        f.run(QStringLiteral("insert into coupe (inc, n_lot) values (1, 40)"));
        const int line = f.insertVolumeLine(40, QStringLiteral("Chêne"), 100, 10, 10);
        auto editor = openEditor(1);
        f.dialogs.answer(typed);
        auto *work = editor->workTab()->ui();
        (felling ? work->BtnModifPourcentAbattage : work->BtnModifPourcentDebardage)->click();
        QCOMPARE(f.dialogs.shown().last().caption,
                 felling ? QStringLiteral("Modif % d'abattage") : QStringLiteral("Modif % débardage"));
        QCOMPARE(f.dialogs.lastText(), felling ? QStringLiteral("Saisir le % de bois abattu")
                                               : QStringLiteral("Saisir le % de bois débardé"));
        const char *column = felling ? "fin_pied" : "fin_abattage";
        QCOMPARE(f.value(QStringLiteral("select %1 from grume where inc=?").arg(QLatin1String(column)), {line}).toInt(),
                 stored);
        if (stored != 10) {
            // the wood state follows at once
            const double fp = felling ? stored : 10, fa = felling ? 10 : stored;
            QCOMPARE(f.value(QStringLiteral("select sur_pied from grume where inc=?"), {line}).toDouble(), 100 - fp);
            QCOMPARE(f.value(QStringLiteral("select abattage from grume where inc=?"), {line}).toDouble(),
                     std::max(0.0, fp - fa));
            QCOMPARE((felling ? work->fin_pied : work->fin_abattage)->text(), QString::number(stored));
            // and "Etat" shows it
            QCOMPARE(editor->ui()->sur_pied->text(), formatNumber(100 - fp, QStringLiteral("0.00")));
        }
    }

    void modifyPercentWithoutLine()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot) values (1, 40)"));
        auto editor = openEditor(1);
        editor->workTab()->ui()->BtnModifPourcentAbattage->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Action impossible , il faut d'abord créer une essence de bois"));
        QCOMPARE(f.dialogs.shown().size(), 1);
    }

    // The period printed runs to the end of its last day: what left the lot at 17:30 that day is
    // listed, what left at midnight the day after is not, for each of the three kinds of rows.
    void printedPeriodTakesTheWholeEndDay()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot, lieu, adresse) values (1, 40, 'Ussel', 'Le Bois')"));
        f.run(QStringLiteral(
            "insert into liste_grume_cde (inc_cde, n_lot, descriptif, date_creation, essence, qte_defaut, "
            "unite_defaut) values "
            "(500, '40', 'VOLUME', '2026-02-28 23:59:59', 'Veille', 100, 'm3'), "
            "(501, '40', 'VOLUME', '2026-03-01 00:00:00', 'Premier jour', 1, 'm3'), "
            "(502, '40', 'GRUME1', '2026-03-10 17:30:00', 'Commande du soir', 2, 'm3'), "
            "(503, '40', 'VOLUME', '2026-03-11 00:00:00', 'Lendemain', 100, 'm3')"));
        f.run(QStringLiteral("insert into livraison (inc, n_lot, date_livraison, essence, qte_defaut_totale, "
                             "unite_defaut) values "
                             "(700, 40, '2026-03-10 17:30:00', 'Plaquette du soir', 4, 'm3'), "
                             "(701, 40, '2026-03-11 00:00:00', 'Lendemain', 100, 'm3')"));
        f.run(QStringLiteral("insert into liste_grume_transfert (inc_transfert, depart, type_transfert, "
                             "date_creation, essence, qte_defaut, unite_defaut, descriptif) values "
                             "(800, '40', 'COUPE', '2026-03-10 17:30:00', 'Transfert du soir', 8, 'm3', 'VOLUME'), "
                             "(801, '40', 'COUPE', '2026-03-11 00:00:00', 'Lendemain', 100, 'm3', 'VOLUME')"));
        auto editor = openEditor(1);
        QCOMPARE(editor->deliveries()->rowCount(), 8);
        editor->ui()->Periode_du->setDate(QDate(2026, 3, 1));
        editor->ui()->Periode_au->setDate(QDate(2026, 3, 10));
        test::ModalScript screens;
        QStringList species;
        QStringList total;
        screens.then([&](QDialog &d) {
            if (auto *preview = qobject_cast<ReportPreview *>(&d)) {
                species = preview->document().textsNamed(QStringLiteral("essence"));
                total = preview->document().textsNamed(QStringLiteral("total"));
            }
            return int(QDialog::Rejected);
        });
        editor->ui()->BtnImprimer->click();
        QCOMPARE(screens.pending(), 0);
        // the three rows of 17:30 share their time: their order among themselves is the server's
        species.sort();
        QCOMPARE(species, (QStringList{"Commande du soir", "Plaquette du soir", "Premier jour", "Transfert du soir"}));
        QCOMPARE(total, QStringList{"15,00"});
    }

    // "Etat" and "Exploitation" show one selected volume line: the line chosen on either tab is the
    // one the other shows, with its gauges, its percentages and its work.
    void etatAndExploitationShareTheSelectedLine()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot) values (1, 40)"));
        const int oak = f.insertVolumeLine(40, QStringLiteral("Chêne"), 100, 10, 0);
        const int beech = f.insertVolumeLine(40, QStringLiteral("Hêtre"), 50, 100, 0);
        const int ash = f.insertVolumeLine(40, QStringLiteral("Frêne"), 30, 40, 20);
        f.run(QStringLiteral("insert into intervention (N_lot, indice_lot, id, type1, I_nom, i_cout) values "
                             "(40, 1, ?, 'ABATTAGE', 'Bûcheron du Hêtre', 300), "
                             "(40, 1, ?, 'ABATTAGE', 'Bûcheron du Frêne', 90)"),
              {beech, ash});
        auto editor = openEditor(1);
        LotWorkTab *work = editor->workTab();
        const auto felling = [&] {
            QStringList names;
            GridModel *grid = work->work(WorkGroup::Felling);
            for (int row = 0; row < grid->rowCount(); ++row)
                names << grid->raw(row, QStringLiteral("I_nom")).toString();
            return names;
        };
        QCOMPARE(editor->currentLineInc(), oak);
        QCOMPARE(work->currentLineInc(), oak);
        QVERIFY(felling().isEmpty());

        // chosen on "Etat"
        editor->ui()->Grille_lots->setCurrentIndex(
            editor->volumeLines()->index(1, editor->volumeLines()->column(QStringLiteral("essence"))));
        QCOMPARE(editor->ui()->essence_ligne->text(), QStringLiteral("Hêtre"));
        QCOMPARE(editor->gauges().pixelColor(44, 16).name(), QStringLiteral("#00ff00"));
        QCOMPARE(work->currentLineInc(), beech);
        QCOMPARE(work->ui()->Qte_reelle->text(), QStringLiteral("50,00"));
        QCOMPARE(work->ui()->fin_pied->text(), QStringLiteral("100"));
        QCOMPARE(felling(), QStringList{"Bûcheron du Hêtre"});

        // and back, chosen on "Exploitation"
        work->ui()->Grille_lots_exploitation->setCurrentIndex(
            work->lines()->index(2, work->lines()->column(QStringLiteral("essence"))));
        QCOMPARE(felling(), QStringList{"Bûcheron du Frêne"});
        QCOMPARE(editor->currentLineInc(), ash);
        QCOMPARE(editor->ui()->essence_ligne->text(), QStringLiteral("Frêne"));
        QCOMPARE(editor->ui()->qte->text(), QStringLiteral("30,00"));
        QCOMPARE(editor->gauges().pixelColor(44, 16).name(), QStringLiteral("#009eea"));

        // A change made on "Exploitation" goes to that line, and both tabs stay on it.
        f.dialogs.answer(QStringLiteral("60"));
        work->ui()->BtnModifPourcentAbattage->click();
        QCOMPARE(f.value(QStringLiteral("select fin_pied from grume where inc=?"), {ash}).toInt(), 60);
        QCOMPARE(f.value(QStringLiteral("select fin_pied from grume where inc=?"), {oak}).toInt(), 10);
        QCOMPARE(f.value(QStringLiteral("select fin_pied from grume where inc=?"), {beech}).toInt(), 100);
        QCOMPARE(editor->currentLineInc(), ash);
        QCOMPARE(work->currentLineInc(), ash);
        QCOMPARE(editor->ui()->sur_pied->text(), QStringLiteral("12,00"));
        QCOMPARE(work->ui()->fin_pied->text(), QStringLiteral("60"));
    }

    // New logs take the lot's "Commune" as it stands in the editor, edited and not yet saved.
    void newLogsTakeTheEditedTown()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot, indice_lot, lieu) values (1, 40, 1, 'Ussel')"));
        auto editor = openEditor(1);
        editor->ownersTab()->ui()->lieu->setText(QStringLiteral("Meymac"));
        test::ModalScript screens;
        screens.then([](QDialog &d) {
            auto &logs = static_cast<LotLogsDialog &>(d);
            logs.ui()->BtnCreer->click();
            logs.ui()->BtnFermer->click();
            return logs.result();
        });
        screens.then([](QDialog &d) {
            auto &entry = static_cast<LogEntryDialog &>(d);
            entry.ui()->n_grume->setText(QStringLiteral("19"));
            QTest::keyClicks(entry.ui()->diametre, QStringLiteral("40"));
            QTest::keyClicks(entry.ui()->longueur, QStringLiteral("10"));
            QTest::keyClicks(entry.ui()->pourcent_ecorce, QStringLiteral("10"));
            entry.ui()->BtnOK->click();
            return entry.result();
        });
        editor->ui()->BtnVoirGrumes->click();
        QCOMPARE(screens.pending(), 0);
        QCOMPARE(screens.shown(), (QStringList{"grume_coupe", "detail_grume"}));
        QCOMPARE(f.value(QStringLiteral("select lieu from grume where n_grume='19'")).toString(),
                 QStringLiteral("Meymac"));
        QCOMPARE(editor->changes().value(QStringLiteral("lieu")).toString(), QStringLiteral("Meymac"));
    }

    void woodStateAndTotalsOnOk()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot, prix_achat, abattage_cout) values (1, 40, 1000, 200)"));
        const int line = f.insertVolumeLine(40, QStringLiteral("Chêne"), 100, 60, 25, 10);
        f.insertVolumeLine(40, QStringLiteral("Hêtre"), 50, QVariant(), QVariant(), 0);
        auto editor = openEditor(1);
        QCOMPARE(editor->ui()->Total->text(), QStringLiteral("150,00 (m3)"));
        QCOMPARE(editor->ui()->Total_dispo->text(), QStringLiteral("140,00 (m3)"));
        QCOMPARE(editor->ui()->Total_livre->text(), QStringLiteral("10,00 (m3)"));
        editor->ui()->BtnOK->click();
        QCOMPARE(editor->result(), int(QDialog::Accepted));
        QCOMPARE(f.value(QStringLiteral("select sur_pied from grume where inc=?"), {line}).toDouble(), 40.0);
        QCOMPARE(f.value(QStringLiteral("select abattage from grume where inc=?"), {line}).toDouble(), 35.0);
        QCOMPARE(f.value(QStringLiteral("select debardage from grume where inc=?"), {line}).toDouble(), 15.0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where fin_pied is null")), 0);
        // the lot's estimation and cost total are written with the wood state
        QCOMPARE(f.value(QStringLiteral("select estimation from coupe where inc=1")).toDouble(), 150.0);
        QCOMPARE(f.value(QStringLiteral("select cout_total from coupe where inc=1")).toDouble(), 1200.0);
        QVERIFY(editor->ui()->sur_pied->text() == QStringLiteral("40,00"));
        QCOMPARE(editor->ui()->unite_sur_pied->text(), QStringLiteral("m3"));
    }

    void purchaseTypeOfANewLot_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("finPied");
        QTest::addColumn<int>("finAbattage");
        QTest::newRow("SUR PIED") << "SUR PIED" << 0 << 0;
        QTest::newRow("ABATTUE") << "ABATTUE" << 100 << 0;
        QTest::newRow("BORD DE ROUTE") << "BORD DE ROUTE" << 100 << 100;
    }
    void purchaseTypeOfANewLot()
    {
        QFETCH(QString, type);
        QFETCH(int, finPied);
        QFETCH(int, finAbattage);
        f.run(QStringLiteral("insert into coupe (inc, n_lot, type_achat, fin_pied, fin_abattage) "
                             "values (1, 40, 'SUR PIEDS', 50, 50)"));
        auto editor = openEditor(1, true);
        const int index = editor->ui()->type_achat->findText(type);
        QVERIFY(index >= 0);
        editor->ui()->type_achat->setCurrentIndex(index);
        emit editor->ui()->type_achat->activated(index);
        const QVariantMap changes = editor->changes();
        QCOMPARE(changes.value(QStringLiteral("type_achat")).toString(), type);
        QCOMPARE(changes.value(QStringLiteral("fin_pied"), 50).toInt(), finPied);
        QCOMPARE(changes.value(QStringLiteral("fin_abattage"), 50).toInt(), finAbattage);
    }

    void finishedField_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("marks"); // free log, log of an order, volume line
        QTest::addColumn<QString>("lotFlag");
        QTest::newRow("OUI then cancel: logs delivered, lot unfinished")
            << "NON"
            << "OUI" << false << QStringList{"OUI", "OUI", "OUI"} << "NON";
        QTest::newRow("OUI then OK") << "NON"
                                     << "OUI" << true << QStringList{"OUI", "OUI", "OUI"} << "OUI";
        QTest::newRow("passing through without change touches nothing")
            << "NON"
            << "NON" << true << QStringList{"OUI", "OUI", ""} << "NON";
        QTest::newRow("back to NON: the order keeps its log") << "OUI"
                                                              << "NON" << true << QStringList{"", "OUI", ""} << "NON";
    }
    void finishedField()
    {
        QFETCH(QString, stored);
        QFETCH(QString, chosen);
        QFETCH(bool, confirm);
        QFETCH(QStringList, marks);
        QFETCH(QString, lotFlag);
        f.run(QStringLiteral("insert into coupe (inc, n_lot, coupe_fini) values (1, 40, ?)"), {stored});
        // a free log someone marked delivered, a log an order took, a volume line
        f.run(QStringLiteral("insert into grume (inc, N_lot, descriptif, livree, inc_cde) values "
                             "(1, 40, 'GRUME', 'OUI', NULL), (2, 40, 'GRUME', 'OUI', 77), (3, 40, 'VOLUME', ?, NULL)"),
              {stored == QLatin1String("OUI") ? QStringLiteral("OUI") : QString()});
        auto editor = openEditor(1);
        QVERIFY(editor->ui()->coupe_fini->isEnabled());
        editor->ui()->coupe_fini->setCurrentText(chosen);
        editor->leaveFinishedField();
        QStringList found;
        for (int inc = 1; inc <= 3; ++inc)
            found << f.value(QStringLiteral("select livree from grume where inc=?"), {inc}).toString();
        QCOMPARE(found, marks);
        // Leaving again, or closing, does not run it twice.
        f.run(QStringLiteral("update grume set livree='X' where inc=1"));
        if (confirm) editor->ui()->BtnOK->click();
        else editor->ui()->BtnAnnuler->click();
        QCOMPARE(f.value(QStringLiteral("select livree from grume where inc=1")).toString(), QStringLiteral("X"));
        if (confirm) QVERIFY(saveLotChanges(f.db, 1, editor->changes()));
        QCOMPARE(f.value(QStringLiteral("select coupe_fini from coupe where inc=1")).toString(), lotFlag);
    }

    void closingLeavesTheFinishedField()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot, coupe_fini) values (1, 40, 'NON')"));
        f.run(QStringLiteral("insert into grume (inc, N_lot, descriptif) values (1, 40, 'GRUME')"));
        auto editor = openEditor(1);
        editor->ui()->coupe_fini->setCurrentText(QStringLiteral("OUI"));
        editor->ui()->BtnAnnuler->click();
        QCOMPARE(f.value(QStringLiteral("select livree from grume where inc=1")).toString(), QStringLiteral("OUI"));
    }

    void commentsKeepTheirLineEnds()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot, commentaire) values (1, 40, ?)"),
              {QStringLiteral("Piste au nord\r\nPortail fermé")});
        auto editor = openEditor(1);
        QVERIFY(!editor->changes().contains(QStringLiteral("commentaire")));
        editor->ui()->commentaire->appendPlainText(QStringLiteral("Clé en mairie"));
        QCOMPARE(editor->changes().value(QStringLiteral("commentaire")).toString(),
                 QStringLiteral("Piste au nord\r\nPortail fermé\r\nClé en mairie"));
    }

    void finishedFieldNeedsTheRight()
    {
        f.run(QStringLiteral("insert into coupe (inc, n_lot, coupe_fini) values (1, 40, 'NON')"));
        f.signInWith({QStringLiteral("Creer coupe"), QStringLiteral("Solder coupe")});
        QVERIFY(openEditor(1)->ui()->coupe_fini->isEnabled());
        f.signInWith({QStringLiteral("Creer coupe")});
        QVERIFY(!openEditor(1)->ui()->coupe_fini->isEnabled());
    }
};

QTEST_MAIN(TestLotEditor)
#include "tst_loteditor.moc"
