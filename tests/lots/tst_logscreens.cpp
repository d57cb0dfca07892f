#include "lotsfixture.h"

#include "chartwidget.h"
#include "gridmodel.h"
#include "logentrydialog.h"
#include "loginquirydialog.h"
#include "pagedquerymodel.h"
#include "lotlogsdialog.h"
#include "lotscreens.h"
#include "gridhelpers.h"
#include "ui_logentrydialog.h"
#include "ui_loginquirydialog.h"
#include "ui_lotlogsdialog.h"
#include "ui_volumelinedetaildialog.h"
#include "ui_volumelinepicker.h"
#include "volumelinedetaildialog.h"
#include "volumelinepicker.h"

#include <QApplication>
#include <QSqlQuery>

using namespace ravelin;

// The log screens: detail_grume, grume_coupe, info_grume, the lot picker liste_n_lot and the
// product detail list liste_grume_detail.
class TestLogScreens : public QObject
{
    Q_OBJECT
    test::LotsFixture f;

    QStringList logNumbers(GridModel *grid)
    {
        QStringList numbers;
        for (int row = 0; row < grid->rowCount(); ++row)
            numbers << grid->raw(row, QStringLiteral("n_grume")).toString();
        return numbers;
    }

private slots:
    void initTestCase() { f.open(); }
    void init()
    {
        f.clearTables();
        f.signInAsMaster();
        f.run(QStringLiteral("insert into classe (classe, dia_mini, dia_maxi) values "
                             "('3b', 35, 40), ('4', 40, 50), ('5', 50, 60)"));
        f.run(QStringLiteral("delete from essence"));
        f.run(QStringLiteral("delete from qualite"));
        f.run(QStringLiteral("insert into essence (essence) values ('Hêtre'), ('Chêne')"));
        f.run(QStringLiteral("insert into qualite (qualite) values ('B'), ('A')"));
    }

    void logEntryComputes_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("bark");
        QTest::addColumn<QString>("overBark");
        QTest::addColumn<QString>("underBark");
        QTest::addColumn<QString>("classe");
        QTest::newRow("40 cm, 10 m, 10 %") << "40"
                                           << "10"
                                           << "10"
                                           << "1,257"
                                           << "1,131"
                                           << "3b";
        QTest::newRow("decimal point typed becomes a comma") << "40.5"
                                                             << "10"
                                                             << "0"
                                                             << "1,288"
                                                             << "1,288"
                                                             << "4";
        QTest::newRow("no bark share") << "52"
                                       << "3"
                                       << ""
                                       << "0,637"
                                       << ""
                                       << "5";
        QTest::newRow("no class covers it") << "20"
                                            << "5"
                                            << "5"
                                            << "0,157"
                                            << "0,149"
                                            << "";
    }
    void logEntryComputes()
    {
        QFETCH(QString, diameter);
        QFETCH(QString, length);
        QFETCH(QString, bark);
        QFETCH(QString, overBark);
        QFETCH(QString, underBark);
        QFETCH(QString, classe);
        LogEntryDialog entry(f.context, newLog(7, 1, QStringLiteral("Ussel"), QDate::currentDate()));
        QTest::keyClicks(entry.ui()->diametre, diameter);
        QTest::keyClicks(entry.ui()->longueur, length);
        QTest::keyClicks(entry.ui()->pourcent_ecorce, bark);
        QCOMPARE(entry.ui()->m3_sur_ecorce->text(), overBark);
        QCOMPARE(entry.ui()->m3->text(), underBark);
        QCOMPARE(entry.ui()->classe->text(), classe);
        QCOMPARE(entry.ui()->essence->count(), 2);
        QCOMPARE(entry.ui()->essence->itemText(0), QStringLiteral("Chêne"));
        QCOMPARE(entry.ui()->essence->currentIndex(), -1);
    }

    void logEntryChecks()
    {
        LogEntryDialog entry(f.context, newLog(7, 1, QStringLiteral("Ussel"), QDate::currentDate()));
        entry.ui()->BtnOK->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous devez saisir un N° de Grume"));
        entry.ui()->n_grume->setText(QStringLiteral("12"));
        QTest::keyClicks(entry.ui()->diametre, QStringLiteral("40"));
        QTest::keyClicks(entry.ui()->longueur, QStringLiteral("10"));
        entry.ui()->BtnOK->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous devez saisir un volume"));
        QVERIFY(entry.result() != QDialog::Accepted);
        QTest::keyClicks(entry.ui()->pourcent_ecorce, QStringLiteral("0"));
        entry.ui()->essence->setCurrentText(QStringLiteral("Hêtre"));
        entry.ui()->BtnViderClasse->click();
        QVERIFY(entry.ui()->classe->text().isEmpty());
        entry.ui()->BtnViderEssence->click();
        QCOMPARE(entry.ui()->essence->currentIndex(), -1);
        entry.ui()->BtnCalculVolume->click();
        QCOMPARE(entry.ui()->classe->text(), QStringLiteral("3b"));
        entry.ui()->BtnOK->click();
        QCOMPARE(entry.result(), int(QDialog::Accepted));
        const LogRecord log = entry.record();
        QCOMPARE(log.m3.toDouble(), 1.257);
        QCOMPARE(log.diametre.toDouble(), 40.0);
        QCOMPARE(log.pourcentEcorce.toDouble(), 0.0);
        QVERIFY(log.essence.isEmpty());
    }

    void lotLogList()
    {
        f.run(QStringLiteral("insert into coupe (n_lot, indice_lot, lieu, total_grume, total_grume_livre) "
                             "values (7, 1, 'Ussel', 10, 4)"));
        f.run(QStringLiteral(
            "insert into grume (inc, N_lot, indice_lot, descriptif, n_grume, m3, classe, livree, stock) values "
            "(1, 7, 1, 'GRUME', '20', 2.5, '4', 'OUI', ''), (2, 7, 1, 'GRUME', '21', 1.5, '5', NULL, 'Zone 2'), "
            "(3, 7, 1, 'GRUME', '22', 1, '5', 'OUI', 'Zone 1'), (4, 7, 2, 'GRUME', '23', 9, '5', NULL, '')"));
        const int line = f.insertVolumeLine(7, QStringLiteral("Chêne"), 50);
        f.run(QStringLiteral("update grume set m3=50 where inc=?"), {line});
        LotLogsDialog logs(f.context, 7, 1, QStringLiteral("Ussel-Bourg"), 10, 4);
        QCOMPARE(logs.ui()->Volume_total->text(), QStringLiteral("10,00"));
        QCOMPARE(logs.ui()->Grumes_livrees->text(), QStringLiteral("4,00"));
        QCOMPARE(logs.ui()->Grumes_dispo->text(), QStringLiteral("6,00"));
        QCOMPARE(logNumbers(logs.logs()), (QStringList{"20", "21", "22"}));
        QCOMPARE(logs.logs()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), rgb(QStringLiteral("00FF00")));
        QCOMPARE(logs.logs()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), rgb(QStringLiteral("FFA4A4")));
        QCOMPARE(logs.logs()->index(2, 0).data(Qt::BackgroundRole).value<QColor>(), rgb(QStringLiteral("00FF00")));
        QCOMPARE(logs.chart()->options().title, QStringLiteral("Qualité (dispo)"));
        // what is still there per class: 5 (log 21 and log 23 of the other index), and the volume line
        QMap<QString, double> slices;
        for (const ChartPoint &p : logs.chart()->points()) slices.insert(p.label, p.value);
        QCOMPARE(slices.value(QStringLiteral("5")), 10.5);
        QCOMPARE(slices.value(QString()), 50.0);

        // "&Créer" through detail_grume.
        test::ModalScript screens;
        screens.then([&](QDialog &d) {
            auto &entry = static_cast<LogEntryDialog &>(d);
            [&] { QCOMPARE(entry.ui()->date_creation->date(), QDate::currentDate()); }();
            entry.ui()->n_grume->setText(QStringLiteral("19"));
            QTest::keyClicks(entry.ui()->diametre, QStringLiteral("40"));
            QTest::keyClicks(entry.ui()->longueur, QStringLiteral("10"));
            QTest::keyClicks(entry.ui()->pourcent_ecorce, QStringLiteral("10"));
            entry.ui()->qualite->setCurrentText(QStringLiteral("A"));
            entry.ui()->BtnOK->click();
            return entry.result();
        });
        logs.ui()->BtnCreer->click();
        QCOMPARE(logNumbers(logs.logs()), (QStringList{"19", "20", "21", "22"}));
        QCOMPARE(logs.logs()->raw(0, QStringLiteral("m3")).toDouble(), 1.131);
        QCOMPARE(f.value(QStringLiteral("select lieu from grume where n_grume='19'")).toString(),
                 QStringLiteral("Ussel-Bourg"));
        QCOMPARE(f.value(QStringLiteral("select date_lieu from grume where n_grume='19'")).toDate(),
                 QDate::currentDate());
        QCOMPARE(f.value(QStringLiteral("select classe from grume where n_grume='19'")).toString(),
                 QStringLiteral("3b"));
        // totals of the listed logs, written into the lot at once
        QCOMPARE(logs.ui()->Volume_total->text(), QStringLiteral("6,13"));
        QCOMPARE(logs.ui()->Grumes_livrees->text(), QStringLiteral("3,50"));
        QCOMPARE(logs.ui()->Grumes_dispo->text(), QStringLiteral("2,63"));
        QCOMPARE(f.value(QStringLiteral("select total_grume from coupe where n_lot=7")).toDouble(), 6.131);
        QVERIFY(logs.totalsWritten());

        // "Chercher N° GRUME"
        logs.ui()->N_grume_cherche->setText(QStringLiteral("21"));
        logs.ui()->BtnChercher->click();
        QCOMPARE(logs.ui()->Grille_grumes->currentIndex().row(), 2);

        // "&Modifier" the selected log
        screens.then([&](QDialog &d) {
            auto &entry = static_cast<LogEntryDialog &>(d);
            [&] { QCOMPARE(entry.ui()->n_grume->text(), QStringLiteral("21")); }();
            entry.ui()->longueur->clear();
            QTest::keyClicks(entry.ui()->longueur, QStringLiteral("5"));
            QTest::keyClicks(entry.ui()->pourcent_ecorce, QStringLiteral("0"));
            entry.ui()->BtnOK->click();
            return entry.result();
        });
        f.run(QStringLiteral("update grume set diametre=40 where n_grume='21'"));
        logs.ui()->BtnModifier->click();
        QCOMPARE(f.value(QStringLiteral("select m3 from grume where n_grume='21'")).toDouble(), 0.628);

        // "Supprimer" the selected log, twice confirmed
        logs.ui()->Grille_grumes->setCurrentIndex(logs.logs()->index(0, 1));
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        logs.ui()->BtnSupprimer->click();
        QCOMPARE(logNumbers(logs.logs()), (QStringList{"20", "21", "22"}));

        // "Tous": every log of the lot, its volume line kept
        logs.ui()->Tous->setChecked(true);
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        logs.ui()->BtnSupprimer->click();
        QVERIFY(f.dialogs.texts().contains(QStringLiteral("Voulez vous supprimer cette Grume ?")));
        QCOMPARE(logs.logs()->rowCount(), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where N_lot=7 and descriptif='GRUME'")), 0);
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where inc=?"), {line}), 1);
        QCOMPARE(logs.ui()->Volume_total->text(), QStringLiteral("0,00"));
        QCOMPARE(f.value(QStringLiteral("select total_grume from coupe where n_lot=7")).toDouble(), 0.0);

        // empty list
        logs.ui()->BtnModifier->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Il n'y a pas d'enregistrement"));
        logs.ui()->BtnSupprimer->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Il n'y a pas d'enregistrement"));
        QCOMPARE(screens.pending(), 0);
    }

    void cancelledCreationWritesNothing()
    {
        f.run(QStringLiteral("insert into coupe (n_lot, indice_lot, total_grume) values (7, 1, 3)"));
        LotLogsDialog logs(f.context, 7, 1, QStringLiteral("Ussel"), 3, 0);
        test::ModalScript screens;
        screens.then([](QDialog &d) {
            static_cast<LogEntryDialog &>(d).ui()->BtnAnnuler->click();
            return d.result();
        });
        logs.ui()->BtnCreer->click();
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume")), 0);
        QVERIFY(!logs.totalsWritten());
        QCOMPARE(f.value(QStringLiteral("select total_grume from coupe where n_lot=7")).toDouble(), 3.0);
    }

    void inquiry()
    {
        f.run(QStringLiteral("insert into coupe (n_lot, lieu, adresse, cp, type_achat) values (20, 'Ussel', 'Le Bois', "
                             "'19200', 'ABATTUE')"));
        f.run(QStringLiteral(
            "insert into cde (inc, client, type_cde, facturee, livree, n_cde_client, date_cde, ville_liv) "
            "values (5, 'Scierie Durand', 'SCIERIE', 'NON', 'OUI', 'C-12', '2026-02-03 10:00:00', 'Tulle')"));
        f.run(QStringLiteral("insert into grume (N_lot, descriptif, n_grume, inc_cde, livree, stock, m3) values "
                             "(20, 'GRUME', '1', NULL, NULL, 'Zone 1', 1.5), (20, 'GRUME', '2', 5, 'OUI', '', 2), "
                             "(21, 'GRUME', '3', NULL, NULL, '', 1)"));
        LogInquiryDialog inquiry(f.context);
        QVERIFY(inquiry.ui()->Disponible->isChecked());
        QCOMPARE(inquiry.ui()->Label_nb->text(), QStringLiteral("( nb 2 )"));
        inquiry.ui()->Disponible->setChecked(false);
        QCOMPARE(inquiry.ui()->Label_nb->text(), QStringLiteral("( nb 3 )"));
        inquiry.ui()->N_lot->setText(QStringLiteral("20"));
        inquiry.ui()->BtnChercher->click();
        QCOMPARE(inquiry.ui()->Label_nb->text(), QStringLiteral("( nb 2 )"));
        const int stock = inquiry.logs()->column(QStringLiteral("stock"));
        for (int row = 0; row < 2; ++row) {
            const QString number = inquiry.logs()->raw(row, QStringLiteral("n_grume")).toString();
            const QColor stockCell = inquiry.logs()->index(row, stock).data(Qt::BackgroundRole).value<QColor>();
            const QColor firstCell = inquiry.logs()->index(row, 1).data(Qt::BackgroundRole).value<QColor>();
            if (number == QLatin1String("1")) {
                QCOMPARE(stockCell, rgb(QStringLiteral("FFA4A4")));
                QVERIFY(!firstCell.isValid());
            } else {
                QCOMPARE(firstCell, rgb(QStringLiteral("00FF00")));
            }
        }

        // The panels follow the selection once it settles.
        int orderRow = inquiry.logs()->raw(0, QStringLiteral("n_grume")).toString() == QLatin1String("2") ? 0 : 1;
        inquiry.ui()->Grille_grumes->setCurrentIndex(inquiry.logs()->index(orderRow, 1));
        QVERIFY(inquiry.panelTimer().isActive());
        QCOMPARE(inquiry.panelTimer().interval(), 200);
        inquiry.loadPanels();
        QCOMPARE(inquiry.ui()->Lieu_parcelle->text(), QStringLiteral("Ussel"));
        QCOMPARE(inquiry.ui()->Type_achat->text(), QStringLiteral("ABATTUE"));
        QCOMPARE(inquiry.ui()->Client->text(), QStringLiteral("Scierie Durand"));
        QCOMPARE(inquiry.ui()->Date_cde->text(), QStringLiteral("03/02/2026"));
        QCOMPARE(inquiry.ui()->Operation->text(), QStringLiteral("SCIERIE"));
        inquiry.ui()->Grille_grumes->setCurrentIndex(inquiry.logs()->index(1 - orderRow, 1));
        inquiry.loadPanels();
        QVERIFY(inquiry.ui()->Client->text().isEmpty());
        QCOMPARE(inquiry.ui()->N_coupe->text(), QStringLiteral("20"));

        inquiry.ui()->N_grume->setText(QStringLiteral("1,5"));
        inquiry.ui()->BtnChercher->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Saisie incorrecte"));
        QCOMPARE(inquiry.logs()->rowCount(), 2);

        test::ModalScript screens;
        screens.then([](QDialog &d) { return d.objectName() == QLatin1String("info_grume") ? 0 : -1; });
        openLogInquiry(f.context);
        QCOMPARE(screens.shown(), QStringList{QStringLiteral("info_grume")});
    }

    // A long list shows its first page at once, its count right after, and the rest as the grid
    // scrolls down.
    void inquiryOfALongList()
    {
        QStringList rows;
        for (int n = 1; n <= 450; ++n)
            rows << QStringLiteral("(30, 'GRUME', '%1', %2)")
                        .arg(n)
                        .arg(n % 3 == 0 ? QStringLiteral("7") : QStringLiteral("NULL"));
        f.run(QStringLiteral("insert into grume (N_lot, descriptif, n_grume, inc_cde) values ") +
              rows.join(QLatin1Char(',')));
        LogInquiryDialog inquiry(f.context);
        QCOMPARE(inquiry.ui()->Label_nb->text(), QStringLiteral("( nb … )"));
        QCOMPARE(inquiry.logs()->rowCount(), 200);
        QCOMPARE(inquiry.logs()->raw(0, QStringLiteral("n_grume")).toString(),
                 QStringLiteral("449")); // the last entered first
        QTRY_COMPARE(inquiry.ui()->Label_nb->text(), QStringLiteral("( nb 300 )"));

        inquiry.resize(800, 600);
        inquiry.show();
        QTableView *grid = inquiry.ui()->Grille_grumes;
        grid->scrollToBottom();
        QTRY_VERIFY(inquiry.logs()->rowCount() > 200);
        while (inquiry.logSource()->canFetchMore()) grid->scrollToBottom(), QCoreApplication::processEvents();
        QCOMPARE(inquiry.logs()->rowCount(), 300);
        QCOMPARE(inquiry.logs()->raw(299, QStringLiteral("n_grume")).toString(), QStringLiteral("1"));
    }

    // The log number is looked for as the text it is stored as (an index serves it): as typed, and
    // without its leading zeros as a number would compare.
    void inquiryByLogNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("as stored") << "12" << QStringList{"12"};
        QTest::newRow("leading zeros as stored") << "0012" << QStringList{"0012", "12"};
        QTest::newRow("blanks around") << " 112 " << QStringList{"112"};
        QTest::newRow("not stored that way") << "012" << QStringList{"12"};
    }
    void inquiryByLogNumber()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        f.run(QStringLiteral("insert into grume (N_lot, descriptif, n_grume) values (30, 'GRUME', '0012'), "
                             "(30, 'GRUME', '12'), (30, 'GRUME', '112'), (30, 'GRUME', '120')"));
        LogInquiry typedNumber;
        typedNumber.logNumber = typed;
        auto statement = logInquiryQuery(typedNumber);
        QVERIFY(statement);
        for (const QVariant &value : statement->values) QCOMPARE(value.typeId(), int(QMetaType::QString));

        LogInquiryDialog inquiry(f.context);
        inquiry.ui()->N_grume->setText(typed);
        inquiry.ui()->BtnChercher->click();
        QStringList listed = logNumbers(inquiry.logs());
        listed.sort();
        QCOMPARE(listed, found);
        QCOMPARE(inquiry.ui()->Label_nb->text(), QStringLiteral("( nb %1 )").arg(found.size()));
    }

    // Opening the inquiry shows its first page at once; the count of every free log arrives after,
    // read on another connection: the screen's own sends the page and nothing more.
    void inquiryShowsItsFirstPageBeforeItsCount()
    {
        QStringList rows;
        for (int n = 1; n <= 450; ++n) rows << QStringLiteral("(30, 'GRUME', '%1')").arg(n);
        f.run(QStringLiteral("insert into grume (N_lot, descriptif, n_grume) values ") + rows.join(QLatin1Char(',')));
        const auto statements = [&] {
            QSqlQuery q(f.db);
            q.exec(QStringLiteral("show session status like 'Questions'"));
            return q.next() ? q.value(1).toLongLong() : -1;
        };
        const qint64 first = statements();
        const qint64 before = statements();
        const qint64 reading = before - first; // what reading the counter costs
        LogInquiryDialog inquiry(f.context);
        const qint64 opened = statements();
        QCOMPARE(inquiry.logs()->rowCount(), 200);
        QCOMPARE(inquiry.ui()->Label_nb->text(), QStringLiteral("( nb … )"));
        QTRY_COMPARE(inquiry.ui()->Label_nb->text(), QStringLiteral("( nb 450 )"));
        const qint64 counted = statements();
        QCOMPARE(opened - before - reading, 1); // the first page
        QCOMPARE(counted - opened - reading, 0);
    }

    void picker()
    {
        f.run(QStringLiteral("insert into coupe (n_lot, lieu, adresse, cp) values (10, 'Ussel', '', ''), (11, 'Tulle', "
                             "'La Croix', '19000'), "
                             "(20, 'Meymac', '', ''), (30, 'Ussel', '', '')"));
        f.insertVolumeLine(10, QStringLiteral("Hêtre"), 10);
        const int wanted = f.insertVolumeLine(11, QStringLiteral("Chêne"), 20, QVariant(), QVariant(), 5);
        f.insertVolumeLine(20, QStringLiteral("Douglas"), 30);
        f.insertVolumeLine(30, QStringLiteral("Sapin"), 40);

        test::ModalScript screens;
        screens.then([&](QDialog &d) {
            auto &picker = static_cast<VolumeLinePicker &>(d);
            [&] {
                QCOMPARE(picker.windowTitle(), QStringLiteral("Liste des produits disponibles"));
                QCOMPARE(picker.ui()->Label_nb->text(), QStringLiteral("( nb : 4 )"));
                QCOMPARE(picker.ui()->Total->text(), QStringLiteral("95,00 m3"));
                QCOMPARE(picker.ui()->Groupe_total->title(), QStringLiteral("Quantité totale (m3)"));
            }();
            picker.ui()->N_coupe->setText(QStringLiteral("11+10+20"));
            picker.ui()->BtnRechercher->click();
            picker.ui()->tri_n_lot->setChecked(true);
            [&] {
                QCOMPARE(picker.ui()->Label_nb->text(), QStringLiteral("( nb : 3 )"));
                QCOMPARE(picker.lines()->raw(0, QStringLiteral("n_lot")).toInt(), 20);
                QCOMPARE(picker.ui()->Total->text(), QStringLiteral("55,00 m3"));
                QCOMPARE(picker.lines()->index(1, picker.lines()->column(QStringLiteral("a1"))).data().toString(),
                         QStringLiteral("15,00"));
            }();
            picker.ui()->Grille_produits->setCurrentIndex(picker.lines()->index(1, 0));
            picker.ui()->BtnOK->click();
            return picker.result();
        });
        const auto chosen = pickVolumeLine(f.context);
        QVERIFY(chosen);
        QCOMPARE(chosen->inc, wanted);
        QCOMPARE(chosen->nLot, 11);
        QCOMPARE(chosen->essence, QStringLiteral("Chêne"));
        QCOMPARE(chosen->unite, QStringLiteral("m3"));
        QCOMPARE(chosen->lieu, QStringLiteral("Tulle"));
        QCOMPARE(chosen->a1, 15.0);

        screens.then([](QDialog &d) {
            static_cast<VolumeLinePicker &>(d).ui()->BtnAnnuler->click();
            return d.result();
        });
        QVERIFY(!pickVolumeLine(f.context));

        screens.then([&](QDialog &d) {
            auto &picker = static_cast<VolumeLinePicker &>(d);
            picker.ui()->N_coupe->setText(QStringLiteral("11+dix"));
            picker.ui()->BtnRechercher->click();
            [&] { QCOMPARE(f.dialogs.lastText(), QStringLiteral("Saisie incorrecte")); }();
            picker.ui()->N_coupe->setText(QStringLiteral("99"));
            picker.ui()->BtnRechercher->click();
            picker.ui()->BtnOK->click();
            return picker.result();
        });
        QVERIFY(!pickVolumeLine(f.context));
    }

    void productDetail()
    {
        f.insertVolumeLine(11, QStringLiteral("Chêne"), 20, QVariant(), QVariant(), 5);
        f.insertVolumeLine(12, QStringLiteral("Chêne"), 3);
        AvailableLinesFilter filter;
        filter.essence = QStringLiteral("Chêne");
        VolumeLineDetailDialog detail(f.context, filter);
        QVERIFY(detail.loaded());
        QCOMPARE(detail.lines()->rowCount(), 2);
        const auto header = [&](const char *column) {
            return detail.lines()
                ->headerData(detail.lines()->column(QLatin1String(column)), Qt::Horizontal, Qt::DisplayRole)
                .toString();
        };
        QCOMPARE(header("qte_defaut"), QStringLiteral("Qté(m3)"));
        QCOMPARE(header("qte_livree_defaut"), QStringLiteral("Qte liv(m3)"));
        QCOMPARE(header("dispo"), QStringLiteral("Qte Dispo(m3)"));
        QCOMPARE(header("N_lot"), QStringLiteral("N°coupe"));
        QCOMPARE(detail.lines()->index(1, detail.lines()->column(QStringLiteral("dispo"))).data().toString(),
                 QStringLiteral("15,00"));
        QCOMPARE(detail.windowTitle(), QStringLiteral("Détail des Produits"));
    }
};

QTEST_MAIN(TestLogScreens)
#include "tst_logscreens.moc"
