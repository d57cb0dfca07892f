#include "analysesfixture.h"

#include "analysisopeners.h"

#include "chartwidget.h"
#include "contractorcostsdialog.h"
#include "deliveryeditor.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "modalscript.h"
#include "otheranalysisdialogs.h"
#include "reportpainter.h"
#include "reportpreview.h"
#include "salesdialog.h"
#include "ui_contractorcostsdialog.h"
#include "ui_contractordetaildialog.h"
#include "ui_cvodialog.h"
#include "ui_salesdetaildialog.h"
#include "ui_salesdialog.h"
#include "ui_weighingplacesdialog.h"
#include "../reports/reporttestutil.h"

#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace ravelin;

// The analysis screens driven as a user would: compute, look at the grid and the charts, open the
// detail, settle, print.
class TestAnalysisScreens : public QObject
{
    Q_OBJECT
    test::AnalysesFixture f;
    const QDate start{2026, 3, 1};
    const QDate end{2026, 3, 31};

private slots:
    void initTestCase() { f.open(); }
    void init()
    {
        f.clearTables();
        f.signInAsMaster();
    }

    void contractorCostsDetailSettleAndPrint()
    {
        f.contractorCase();
        ContractorCostsDialog screen(f.context);
        screen.ui()->Date_debut->setDate(start);
        screen.ui()->Date_fin->setDate(end);
        screen.ui()->BtnCalcul->click();
        QTRY_VERIFY_WITH_TIMEOUT(!screen.runner().isBusy(), 10000);
        QCOMPARE(screen.list()->rowCount(), 2);
        QCOMPARE(screen.ui()->Label_total->text(), QStringLiteral("700,00 €"));
        QCOMPARE(screen.bars()->points().size(), 2);
        QCOMPARE(screen.pie()->points().size(), 2);

        QVERIFY(screen.list()->selectKey(QStringLiteral("Transports Vallon")));
        test::ModalScript modal;
        modal.then([&](QDialog &d) {
            auto &detail = static_cast<ContractorDetailDialog &>(d);
            [&] {
                QCOMPARE(detail.list()->rowCount(), 3);
                QCOMPARE(detail.ui()->Label_quantite->text(), QStringLiteral("30,00 m3 + 37,50 T"));
                QCOMPARE(detail.ui()->Label_cout->text(), QStringLiteral("450,00 €"));
                f.dialogs.answer(true);
                detail.ui()->BtnSolderTout->click();
                // settled on the analysis' worker, then read again there
                QVERIFY(detail.busy());
                QTRY_VERIFY_WITH_TIMEOUT(!detail.busy(), 10000);
                for (int r = 0; r < 3; ++r) {
                    QCOMPARE(detail.list()->raw(r, QStringLiteral("fac_fournisseur")).toString(),
                             QStringLiteral("OUI"));
                    // fac_fournisseur, the 13th column read
                    QCOMPARE(detail.list()->view()->model()->index(r, 12).data(Qt::BackgroundRole).value<QColor>(),
                             QColor(0x00FF00));
                }
                // laid out on the worker: the preview comes once it is done
                detail.ui()->BtnImprimer->click();
                QCOMPARE(modal.shown().size(), 1);
                QTRY_COMPARE_WITH_TIMEOUT(modal.shown().size(), 2, 10000);
            }();
            return int(QDialog::Rejected);
        });
        modal.then([&](QDialog &d) {
            auto &preview = static_cast<ReportPreview &>(d);
            const QString text = preview.document().toPlainText();
            [&] {
                QVERIFY(text.contains(QStringLiteral("ACTIONS INTERVENANTS")));
                QVERIFY(text.contains(QStringLiteral("Temps route : 01:15:00")));
                QCOMPARE(preview.document().textsNamed(QStringLiteral("nombre")), QStringList{QStringLiteral("3")});
            }();
            return int(QDialog::Rejected);
        });
        // the detail is read on the worker: the click returns at once, the screen opens after
        screen.ui()->BtnDetail->click();
        QVERIFY(modal.shown().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(
            modal.shown(),
            (QStringList{QStringLiteral("detail_intervention"), QStringLiteral("imp_action_intervenant_analyse")}),
            10000);
        for (const char *table : {"liste_action_cde", "liste_action_transfert", "liste_action_liv"})
            QCOMPARE(f.count(QStringLiteral("select count(*) from ") + QLatin1String(table) +
                             QStringLiteral(" where fac_fournisseur='OUI'")),
                     1);
        // the sums stay as they were computed
        QCOMPARE(screen.list()->rowCount(), 2);
    }

    void exportsAndChartImages()
    {
        f.contractorCase();
        // more contractors than bars: the smallest are drawn as one "Autre"
        for (int i = 0; i < 45; ++i) {
            const QString name = QStringLiteral("Transporteur %1").arg(i, 2, 10, QLatin1Char('0'));
            // a family each: the pie gathers its small slices as "Autre"
            f.contractor(name, QStringLiteral("FAMILLE %1").arg(i, 2, 10, QLatin1Char('0')));
            f.action(QStringLiteral("liste_action_liv"), QStringLiteral("inc_cde"), 701, name, 1, QStringLiteral("T"),
                     10 + i, QStringLiteral("2026-03-15"));
        }
        ContractorCostsDialog screen(f.context);
        screen.ui()->Date_debut->setDate(start);
        screen.ui()->Date_fin->setDate(end);
        screen.ui()->BtnCalcul->click();
        QTRY_VERIFY_WITH_TIMEOUT(!screen.runner().isBusy(), 10000);
        QCOMPARE(screen.list()->rowCount(), 47);
        QCOMPARE(screen.bars()->points().size(), 41);
        QCOMPARE(screen.bars()->points().last().label, QStringLiteral("Autre"));

        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("barres.png"));
        const QString svg = dir.filePath(QStringLiteral("barres.svg"));
        f.dialogs.answer(png);
        screen.bars()->saveImageAction()->trigger();
        QCOMPARE(QImage(png).size(), QSize(800, 600));
        QVERIFY(screen.bars()->saveImage(svg));
        QFile image(svg);
        QVERIFY(image.open(QIODevice::ReadOnly));
        const QByteArray drawn = image.readAll();
        QVERIFY(drawn.contains("<svg") && drawn.contains("</svg>"));
        const QString pie = dir.filePath(QStringLiteral("familles.svg"));
        QVERIFY(screen.pie()->saveImage(pie));
        QFile pieImage(pie);
        QVERIFY(pieImage.open(QIODevice::ReadOnly));
        QVERIFY(pieImage.readAll().contains("Autre"));

        const QString xlsx = dir.filePath(QStringLiteral("fournisseurs.xlsx"));
        f.dialogs.answer(xlsx);
        screen.list()->exportList();
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), xlsx, QStringLiteral("xl/worksheets/sheet1.xml")});
        QVERIFY(unzip.waitForFinished(60000));
        const QByteArray sheet = unzip.readAllStandardOutput();
        // the totals are numbers, not texts: ETF Combe's 250 on the second row
        QVERIFY2(sheet.contains("<c r=\"C2\" s=\"") && sheet.contains("<v>250</v>"), sheet.left(2000).constData());
    }

    void salesDetailAndItsStatement()
    {
        const QString etang = QStringLiteral("Scierie de l'Étang");
        f.order(501, etang, QStringLiteral("GRUME"), 1200, 10, QStringLiteral("2026-03-01 00:00:00"));
        f.run(QStringLiteral("insert into liste_grume_cde (inc_cde, descriptif, essence, qualite, qte_liv, unite_liv, "
                             "prix_unit, prix_total) values (501, 'VOLUME', 'Chêne', 'A', 5, 'm3', 120, 600), "
                             "(501, 'GRUME1', 'Chêne', 'B', 5, 'm3', 120, 600)"));
        f.delivery(503, QStringLiteral("VENTE"), etang, 1500, 25, 30, QStringLiteral("2026-03-31 17:30:00"));
        SalesDialog screen(f.context);
        screen.ui()->Date_debut->setDate(start);
        screen.ui()->Date_fin->setDate(end);
        screen.ui()->BtnCalcul->click();
        QTRY_VERIFY_WITH_TIMEOUT(!screen.runner().isBusy(), 10000);
        QCOMPARE(screen.list()->rowCount(), 1);
        QCOMPARE(screen.ui()->Label_total_factures->text(), QStringLiteral("2 700,00 €"));
        QCOMPARE(screen.ui()->Label_calcul->text(), QStringLiteral("Cumul Quantité / Destination"));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("detail.pdf"));
        test::ModalScript modal;
        modal.then([&](QDialog &d) {
            auto &detail = static_cast<SalesDetailDialog &>(d);
            [&] {
                QCOMPARE(detail.list()->rowCount(), 2);
                // the priced lines come from the worker
                QTRY_VERIFY_WITH_TIMEOUT(!detail.linesPending(), 10000);
                QCOMPARE(detail.lines()->rowCount(), 2);
                double lines = 0;
                for (int r = 0; r < 2; ++r) lines += detail.lines()->raw(r, QStringLiteral("prix_total")).toDouble();
                QCOMPARE(lines, 1200.0);
                QCOMPARE(detail.ui()->Label_total_vente->text(), QStringLiteral("Total Vente : 2 700 €"));
                // the next row's lines, read 50 ms after it is selected
                QVERIFY(detail.list()->selectKey(503));
                QTRY_COMPARE_WITH_TIMEOUT(detail.lines()->rowCount(), 1, 10000);
                QCOMPARE(detail.lines()->raw(0, QStringLiteral("source")).toString(), QStringLiteral("PLAQUETTE"));
                detail.ui()->BtnImprimer->click();
                QTRY_COMPARE_WITH_TIMEOUT(modal.shown().size(), 2, 10000);
            }();
            return int(QDialog::Rejected);
        });
        modal.then([&](QDialog &d) {
            auto &preview = static_cast<ReportPreview &>(d);
            [&] {
                QCOMPARE(preview.originMarker(), QStringLiteral("detail_analyse_tonnage"));
                QCOMPARE(preview.document().outline.size(), 2);
                QVERIFY(writeReportPdf(preview.document(), pdf));
            }();
            return int(QDialog::Rejected);
        });
        screen.ui()->BtnDetail->click();
        QTRY_COMPARE_WITH_TIMEOUT(
            modal.shown(),
            (QStringList{QStringLiteral("detail_analyse_tonnage"), QStringLiteral("imp_detail_livraison")}), 10000);
        QVERIFY(test::simplifiedText(test::pdfText(pdf)).contains(QStringLiteral("Total Livraison : 2 700,00 €")));
        QCOMPARE(screen.list()->rowCount(), 1);
    }

    void cvoTotalAndPrintout()
    {
        f.run(QStringLiteral(
            "insert into coupe (n_lot, nom, cvo, date_achat) values "
            "(1, 'Bois de l''Abbaye', 120.40, '2026-03-01'), (2, 'Bois de l''Abbaye', 80.70, '2026-03-31'), "
            "(3, 'Bois de l''Abbaye', 0, '2026-03-10')"));
        CvoDialog screen(f.context);
        screen.ui()->Date_debut->setDate(start);
        screen.ui()->Date_fin->setDate(end);
        screen.ui()->Nom->setText(QStringLiteral("l'abb"));
        screen.ui()->BtnCalcul->click();
        QCOMPARE(screen.list()->rowCount(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(screen.ui()->Label_total->text(), QStringLiteral("201"), 5000);
        test::ModalScript modal;
        modal.then([&](QDialog &d) {
            const QString text = static_cast<ReportPreview &>(d).document().toPlainText();
            [&] {
                QVERIFY(text.contains(QStringLiteral("Nombre de CVO : 2")));
                QVERIFY(text.contains(QStringLiteral("Total CVO  : 201 €")));
            }();
            return int(QDialog::Rejected);
        });
        screen.ui()->BtnImprimer->click();
        QTRY_COMPARE_WITH_TIMEOUT(modal.shown(), QStringList{QStringLiteral("imp_cvo")}, 10000);
    }

    void weighingPlacesAndTheirDeliveries()
    {
        for (int i = 0; i < 3; ++i)
            f.delivery(540 + i, QStringLiteral("VENTE"), QStringLiteral("X"), 10, 1, 0,
                       QStringLiteral("2026-03-10 08:00:00"));
        f.run(QStringLiteral("update livraison set lieu_pesage=?"), {QStringLiteral("Bascule de l'Yonne")});
        WeighingPlacesDialog screen(f.context);
        screen.ui()->Date_debut->setDate(start);
        screen.ui()->Date_fin->setDate(end);
        screen.ui()->BtnCalcul->click();
        QTRY_VERIFY_WITH_TIMEOUT(!screen.runner().isBusy(), 10000);
        QCOMPARE(screen.places()->rowCount(), 1);
        QCOMPARE(screen.deliveries()->rowCount(), 3);
    }

    // "Voir PEFC Dispo" of a delivery opens the PEFC share.
    void pefcOpensFromADelivery()
    {
        f.delivery(701, QStringLiteral("VENTE"), QStringLiteral("Chaufferie"), 500, 25, 30,
                   QStringLiteral("2026-03-31 17:30:00"));
        QSqlQuery q(f.db);
        QVERIFY(q.exec(QStringLiteral("select * from livraison where inc=701")) && q.next());
        installDeliveryPefcOpener(f.context);
        DeliveryEditor editor(f.context, q.record());
        auto *button = editor.findChild<QPushButton *>(QStringLiteral("BtnPefc"));
        QVERIFY(button && button->isEnabled());
        test::ModalScript modal;
        modal.then([](QDialog &) { return int(QDialog::Rejected); });
        button->click();
        QCOMPARE(modal.shown(), QStringList{QStringLiteral("analyse_PEFC_coupe")});
        DeliveryEditor::setPefcOpener({});
    }

    void pefcComputedAtOpening()
    {
        PefcDialog screen(f.context);
        QTRY_VERIFY_WITH_TIMEOUT(!screen.runner().isBusy(), 10000);
        QCOMPARE(screen.list()->rowCount(), 15);
        QCOMPARE(screen.list()->raw(14, QStringLiteral("titre")).toString(),
                 QStringLiteral("Crédit PEFC CUMULE / 12 Mois"));
    }
};

QTEST_MAIN(TestAnalysisScreens)
#include "tst_analysisscreens.moc"
