// The transport planning of chip deliveries: the proposed week, the carriers and the day by day
// work table read from a test database, the screen and its printout driven offscreen.

#include "appfixture.h"
#include "modalscript.h"
#include "planningdialog.h"
#include "reportpreview.h"
#include "transportplanning.h"
#include "ui_planningdialog.h"

#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>

using namespace ravelin;

namespace {

const PlanningPeriod kWeek{QDate(2024, 1, 8), QDate(2024, 1, 14)};

// Each row of a planning as "jour|depart|destination|carrier|hh:mm".
QStringList rowsOf(const DataTable &rows)
{
    QStringList out;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QDateTime when = rows.value(r, QStringLiteral("date_livraison")).toDateTime();
        out << QStringList{rows.value(r, QStringLiteral("jour")).toString(),
                           rows.value(r, QStringLiteral("depart")).toString(),
                           rows.value(r, QStringLiteral("destination")).toString(),
                           rows.value(r, QStringLiteral("transporteur_prevu")).toString(),
                           when.isValid() ? when.toString(QStringLiteral("hh:mm")) : QString()}
                   .join(QLatin1Char('|'));
    }
    return out;
}

QStringList gridRows(QAbstractItemModel *model)
{
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) cells << model->index(r, c).data().toString();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace

class TestTransportPlanning : public QObject
{
    Q_OBJECT

    test::AppFixture f;

private slots:
    void initTestCase()
    {
        f.open();
        f.run(QStringLiteral(
            "insert into livraison (inc, date_livraison, depart, destination, transporteur_prevu, facturee, "
            "qte_defaut_totale) values "
            "(1, '2024-01-08 08:00:00', 'Lot 12', 'Chaufferie Nord', 'Transports Alix', 'NON', 0), "
            "(2, '2024-01-08 14:00:00', 'Lot 12', 'Chaufferie Sud', 'Transports Alix', 'NON', null), "
            "(3, '2024-01-08 10:00:00', 'Lot 14', 'Chaufferie Est', 'Transports Bard', 'NON', 0), "
            "(4, '2024-01-10 09:00:00', 'Lot 15', 'Chaufferie Nord', 'Transports Alix', null, 0), "
            "(5, '2024-01-14 17:30:00', 'Lot 16', 'Chaufferie Sud', 'Transports Bard', 'NON', 0), "
            "(6, '2024-01-11 09:00:00', 'Lot 17', 'Chaufferie Nord', 'Transports Alix', 'OUI', 0), "
            "(7, '2024-01-12 09:00:00', 'Lot 18', 'Chaufferie Nord', 'Transports Bard', 'NON', 23.5), "
            "(8, '2024-01-08 16:00:00', 'Lot 19', 'Chaufferie Ouest', '', 'NON', 0), "
            "(9, '2024-01-15 00:00:00', 'Lot 20', 'Chaufferie Nord', 'Transports Alix', 'NON', 0), "
            "(10, '2024-01-07 23:59:00', 'Lot 21', 'Chaufferie Nord', 'Transports Cade', 'NON', 0)"));
    }

    void proposedWeek_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("start");
        QTest::newRow("Monday") << QDate(2024, 1, 8) << QDate(2024, 1, 15);
        QTest::newRow("Wednesday") << QDate(2024, 1, 10) << QDate(2024, 1, 15);
        QTest::newRow("Saturday") << QDate(2024, 1, 13) << QDate(2024, 1, 15);
        QTest::newRow("Sunday") << QDate(2024, 1, 14) << QDate(2024, 1, 22);
    }

    void proposedWeek()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, start);
        const PlanningPeriod week = defaultPlanningPeriod(today);
        QCOMPARE(week.start, start);
        QCOMPARE(week.end, start.addDays(6));
    }

    void carriers()
    {
        auto carriers = readPlannedCarriers(f.db, kWeek);
        QVERIFY(carriers);
        // Invoiced, weighed, outside the week and without a carrier: not listed.
        QCOMPARE(*carriers, (QStringList{"Transports Alix", "Transports Bard"}));
    }

    void planning_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("carrier");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("one carrier") << false << "Transports Alix"
                                     << QStringList{"lundi 08 janvier 2024||||",
                                                    "|Lot 12|Chaufferie Nord|Transports Alix|08:00",
                                                    "|Lot 12|Chaufferie Sud|Transports Alix|14:00",
                                                    "mercredi 10 janvier 2024||||",
                                                    "|Lot 15|Chaufferie Nord|Transports Alix|09:00"};
        QTest::newRow("every carrier") << true << ""
                                       << QStringList{"lundi 08 janvier 2024||||",
                                                      "|Lot 12|Chaufferie Nord|Transports Alix|08:00",
                                                      "|Lot 14|Chaufferie Est|Transports Bard|10:00",
                                                      "|Lot 12|Chaufferie Sud|Transports Alix|14:00",
                                                      "|Lot 19|Chaufferie Ouest||16:00",
                                                      "mercredi 10 janvier 2024||||",
                                                      "|Lot 15|Chaufferie Nord|Transports Alix|09:00",
                                                      "dimanche 14 janvier 2024||||",
                                                      "|Lot 16|Chaufferie Sud|Transports Bard|17:30"};
    }

    void planning()
    {
        QFETCH(bool, all);
        QFETCH(QString, carrier);
        QFETCH(QStringList, rows);
        auto planned = rebuildPlanning(f.db, kWeek, all ? std::nullopt : std::optional<QString>(carrier));
        QVERIFY2(planned, planned ? "" : qPrintable(planned.error().fullText()));
        QCOMPARE(rowsOf(*planned), rows);
        // The running number, in inc, N_lot and indice_lot, headings included.
        for (int r = 0; r < planned->rowCount(); ++r) {
            for (const char *column : {"inc", "N_lot", "indice_lot"})
                QCOMPARE(planned->value(r, QLatin1String(column)).toInt(), r + 1);
        }
        // The work table holds the same rows, and only them, on this connection.
        QCOMPARE(f.count(QStringLiteral("select count(*) from ") + planningTableName()), rows.size());
    }

    void screen()
    {
        PlanningDialog screen(f.context, QDate(2024, 1, 3));
        Ui::planning *ui = screen.ui();
        QCOMPARE(screen.windowTitle(), QStringLiteral("Planning livraisons plaquettes forestières"));
        QCOMPARE(ui->date_debut->date(), QDate(2024, 1, 8));
        QCOMPARE(ui->date_fin->date(), QDate(2024, 1, 14));
        QCOMPARE(ui->Grille_transporteur->model()->rowCount(), 0);
        QCOMPARE(ui->Grille_planning->model()->rowCount(), 0);
        QCOMPARE(ui->Grille_planning->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("jour"));

        // Nothing listed yet: nothing to print.
        f.dialogs.clear();
        ui->BtnImprimer->click();
        QCOMPARE(f.dialogs.texts(), QStringList{"Il n'y a pas d'enregistrement"});

        // The carriers, the first one's planning, its day headings in green.
        ui->BtnTransporteurs->click();
        QCOMPARE(gridRows(ui->Grille_transporteur->model()), (QStringList{"Transports Alix", "Transports Bard"}));
        QAbstractItemModel *grid = ui->Grille_planning->model();
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->index(0, 0).data().toString(), QStringLiteral("lundi 08 janvier 2024"));
        QCOMPARE(grid->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0x00, 0xFF, 0x00));
        QVERIFY(!grid->index(1, 0).data(Qt::BackgroundRole).isValid());
        QCOMPARE(grid->index(1, 3).data().toString(), QStringLiteral("08/01/2024 08:00"));

        // Another carrier; then all of them.
        ui->Grille_transporteur->setCurrentIndex(ui->Grille_transporteur->model()->index(1, 0));
        QCOMPARE(gridRows(grid).size(), 4);
        ui->tous->click();
        QCOMPARE(grid->rowCount(), 9);

        // The printout, closed without printing; then "Imprimer" of the preview.
        test::ModalScript screens;
        std::optional<ReportDocument> printed;
        screens.then([&](QDialog &d) {
            printed = static_cast<ReportPreview &>(d).document();
            d.findChild<QPushButton *>(QStringLiteral("fermer"))->click();
            return d.result();
        });
        ui->BtnImprimer->click();
        QVERIFY(printed);
        QCOMPARE(printed->orientation, QPageLayout::Landscape);
        QCOMPARE(printed->textsNamed(QStringLiteral("jour")),
                 (QStringList{"lundi 08 janvier 2024", "", "", "", "", "mercredi 10 janvier 2024", "",
                              "dimanche 14 janvier 2024", ""}));
        QCOMPARE(printed->textsNamed(QStringLiteral("debut")), QStringList{"Du : lundi 08 janvier 2024"});
        QCOMPARE(printed->textsNamed(QStringLiteral("fin")), QStringList{"Au : dimanche 14 janvier 2024"});
        QCOMPARE(printed->textsNamed(QStringLiteral("fin_planning")), QStringList{"Fin du planning"});
        QVERIFY(printed->texts(0).contains(QStringLiteral("PLANNING")));
        QCOMPARE(screens.shown(), QStringList{"imp_planning"});
    }
};

QTEST_MAIN(TestTransportPlanning)
#include "tst_transportplanning.moc"
