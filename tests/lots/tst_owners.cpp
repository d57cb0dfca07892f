#include "appcontext.h"
#include "formats.h"
#include "gridmodel.h"
#include "modal.h"
#include "ownerdialog.h"
#include "owners.h"
#include "ownerstab.h"
#include "scripteddialogs.h"
#include "ownerestimatedialog.h"
#include "sql.h"
#include "statements.h"
#include "lotsfixture.h"
#include "testdb.h"
#include "ui_ownerdialog.h"
#include "ui_ownerstab.h"
#include "ui_ownerestimatedialog.h"
#include "units.h"

#include <QDialog>
#include <QSqlQuery>
#include <QSignalSpy>
#include <QSqlRecord>
#include <QTest>

#include <deque>
#include <functional>

using namespace ravelin;

class TestOwners : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;
    test::ModalScript m_script;

    void run(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto done = execute(m_db, sql, values);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
    }
    QVariant value(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto v = scalar(m_db, sql, values);
        if (!v) qWarning() << v.error().fullText();
        return v ? *v : QVariant();
    }
    // The screens the next actions open, answered in turn.
    void expectScreen(std::function<int(QDialog &)> fill) { m_script.then(std::move(fill)); }

    void lot(int nLot, const QString &grouping = QStringLiteral("NON"))
    {
        run(QStringLiteral("insert into coupe (n_lot, indice_lot, groupe_essence, coupe_fini, lieu, type_achat, "
                           "debardage_cout, remise_etat_cout) values (?, 1, ?, 'NON', 'Ussel', 'SUR PIEDS', 100, 50)"),
            {nLot, grouping});
    }
    Owner owner(int nLot, const QString &name, const QString &fixed, const QVariant &price, const QVariant &rate)
    {
        Owner o = newOwner(nLot, 1, m_context.settings, QDate(2024, 3, 1));
        o.nom = name;
        o.achatFixe = fixed;
        o.prixAchat = price;
        o.coefCvo = rate;
        return o;
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        m_context.db = m_db;
        m_context.dialogs = &m_dialogs;
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("update perso set unite_defaut = 'm3', cvo = 0.5, coef_surface_tonne = 150")));
        QVERIFY(q.exec(QStringLiteral("select * from perso")));
        QVERIFY(q.next());
        m_context.settings = q.record();
    }

    void init()
    {
        m_dialogs.clear();
        m_script.clear();
        for (const char *table : {"coupe", "grume", "proprietaire", "proprietaire_essence", "essence", "qualite",
                                  "acheteur", "liste_grume_cde", "intervention"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral(
            "insert into essence (essence, m3, T, Stere) values ('Chêne', 1, 0.8, 1.5), ('Hêtre', 1, 0.9, 1.4)"));
        run(QStringLiteral("insert into qualite (qualite) values ('A'), ('B')"));
        run(QStringLiteral("insert into acheteur (acheteur) values ('Paul'), ('Jean')"));
    }

    void cleanup()
    {
        QVERIFY2(m_script.pending() == 0, "a screen that was expected did not open");
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
    }

    void ownerCost_data()
    {
        QTest::addColumn<QString>("fixed");
        QTest::addColumn<QVariant>("price");
        QTest::addColumn<QVariant>("rate");
        QTest::addColumn<double>("linesTotal");
        QTest::addColumn<QVariant>("prixAchat");
        QTest::addColumn<QVariant>("prixEstime");
        QTest::addColumn<double>("cvo");
        QTest::addColumn<QVariant>("coutTotal");
        const QVariant none(QMetaType::fromType<double>());
        QTest::newRow("fixed price") << "OUI" << QVariant(10000.0) << QVariant(0.5) << 0.0 << QVariant(10000.0) << none
                                     << 50.0 << QVariant(10000.0);
        QTest::newRow("fixed price, species lines ignored") << "OUI" << QVariant(10000.0) << QVariant(0.5) << 2000.0
                                                            << QVariant(10000.0) << none << 50.0 << QVariant(10000.0);
        QTest::newRow("fixed price without rate") << "OUI" << QVariant(10000.0) << none << 0.0 << QVariant(10000.0)
                                                  << QVariant(0.0) << 0.0 << QVariant(10000.0);
        QTest::newRow("fixed price not typed")
            << "OUI" << none << QVariant(0.5) << 0.0 << none << QVariant(0.0) << 0.0 << none;
        QTest::newRow("per unit") << "NON" << none << QVariant(0.5) << 2000.0 << none << QVariant(2000.0) << 10.0
                                  << QVariant(2000.0);
        QTest::newRow("per unit without rate")
            << "NON" << none << none << 2000.0 << QVariant(2000.0) << QVariant(2000.0) << 0.0 << QVariant(2000.0);
    }
    void ownerCost()
    {
        QFETCH(QString, fixed);
        QFETCH(QVariant, price);
        QFETCH(QVariant, rate);
        QFETCH(double, linesTotal);
        QFETCH(QVariant, prixAchat);
        QFETCH(QVariant, prixEstime);
        QFETCH(double, cvo);
        QFETCH(QVariant, coutTotal);
        Owner o = owner(1, QStringLiteral("X"), fixed, price, rate);
        applyOwnerCost(o, {12.5, linesTotal});
        QCOMPARE(o.estimation.toDouble(), 12.5);
        QCOMPARE(o.prixAchat.isNull(), prixAchat.isNull());
        if (!prixAchat.isNull()) QCOMPARE(o.prixAchat.toDouble(), prixAchat.toDouble());
        QCOMPARE(o.prixEstime.isNull(), prixEstime.isNull());
        if (!prixEstime.isNull()) QCOMPARE(o.prixEstime.toDouble(), prixEstime.toDouble());
        QCOMPARE(o.cvo.toDouble(), cvo);
        QCOMPARE(o.coutTotal.isNull(), coutTotal.isNull());
        if (!coutTotal.isNull()) QCOMPARE(o.coutTotal.toDouble(), coutTotal.toDouble());
    }

    void speciesLineCompletion_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QVariant>("qte");
        QTest::addColumn<QVariant>("qteReel");
        QTest::addColumn<QVariant>("price");
        QTest::addColumn<double>("qteReelAfter");
        QTest::addColumn<double>("qteDefaut");
        QTest::addColumn<QVariant>("total");
        const QVariant none(QMetaType::fromType<double>());
        QTest::newRow("tonnes into m3, real quantity taken from the estimate")
            << "T" << QVariant(10.0) << none << QVariant(45.0) << 10.0 << 12.5 << QVariant(450.0);
        QTest::newRow("real quantity converted, price on the estimate")
            << "Stere" << QVariant(15.0) << QVariant(30.0) << QVariant(2.5) << 30.0 << 20.0 << QVariant(37.5);
        QTest::newRow("no price, no total") << "m3" << QVariant(8.0) << none << none << 8.0 << 8.0 << none;
    }
    void speciesLineCompletion()
    {
        QFETCH(QString, unit);
        QFETCH(QVariant, qte);
        QFETCH(QVariant, qteReel);
        QFETCH(QVariant, price);
        QFETCH(double, qteReelAfter);
        QFETCH(double, qteDefaut);
        QFETCH(QVariant, total);
        SpeciesLine line = newSpeciesLine(3, 1, QStringLiteral("Martin"), QStringLiteral("m3"));
        line.essence = QStringLiteral("Chêne");
        line.unite = unit;
        line.qte = qte;
        line.qteReel = qteReel;
        line.prixUnit = price;
        const SpeciesUnits oak{1.0, 0.8, 1.5};
        completeSpeciesLine(line, &oak);
        QCOMPARE(line.qteReel.toDouble(), qteReelAfter);
        QCOMPARE(line.qteDefaut.toDouble(), qteDefaut);
        QCOMPARE(line.prixTotal.isNull(), total.isNull());
        if (!total.isNull()) QCOMPARE(line.prixTotal.toDouble(), total.toDouble());
    }

    void surfaceConverter()
    {
        QCOMPARE(surfaceTonnesText(2.5, 150), QStringLiteral("( soit 375,00 Tonnes )"));
        QCOMPARE(surfaceTonnesText(QVariant(), 150), QStringLiteral("..."));
        QCOMPARE(surfaceTonnesText(2.5, 0), QStringLiteral("..."));
    }

    void lotFollowsItsOwners()
    {
        lot(10);
        Owner a = owner(10, QStringLiteral("Martin"), QStringLiteral("OUI"), 10000.0, 0.5);
        a.nParcelle = QStringLiteral("A12");
        a.acheteur = QStringLiteral("Paul");
        a.surface = 2.0;
        a.abattageCout = 1000.0;
        applyOwnerCost(a, {});
        Owner b = owner(10, QStringLiteral("Durand"), QStringLiteral("OUI"), 5000.0, 1.0);
        b.nParcelle = QStringLiteral("B7");
        b.surface = 1.5;
        applyOwnerCost(b, {});
        Owner c = owner(10, QStringLiteral("Faure"), QStringLiteral("OUI"), 1000.0, 0.5);
        c.acheteur = QStringLiteral("Jean");
        applyOwnerCost(c, {});
        for (const Owner &o : {a, b, c}) {
            const auto created = createOwner(m_db, o);
            QVERIFY2(created, qPrintable(created.ok() ? QString() : created.error().fullText()));
            QVERIFY(*created > 0);
        }
        QCOMPARE(value(QStringLiteral("select prix_achat from coupe where n_lot = 10")).toDouble(), 16000.0);
        QCOMPARE(value(QStringLiteral("select cvo from coupe where n_lot = 10")).toDouble(), 105.0);
        QCOMPARE(value(QStringLiteral("select surface from coupe where n_lot = 10")).toDouble(), 3.5);
        QCOMPARE(value(QStringLiteral("select abattage_cout from coupe where n_lot = 10")).toDouble(), 1000.0);
        QCOMPARE(value(QStringLiteral("select nom from coupe where n_lot = 10")).toString(),
                 QStringLiteral("Durand + Faure + Martin"));
        QCOMPARE(value(QStringLiteral("select N_parcelle from coupe where n_lot = 10")).toString(),
                 QStringLiteral("B7 +  + A12"));
        // Only the buyers that are there, in owner order.
        QCOMPARE(value(QStringLiteral("select acheteur from coupe where n_lot = 10")).toString(),
                 QStringLiteral("Jean+Paul"));
        // Purchase + deposit + the lot's own skidding and other costs.
        QCOMPARE(value(QStringLiteral("select cout_total from coupe where n_lot = 10")).toDouble(),
                 16000.0 + 1000 + 100 + 50);

        // A modification joins the names as a creation does.
        const int inc = value(QStringLiteral("select inc from proprietaire where nom = 'Faure'")).toInt();
        auto faure = loadOwner(m_db, inc);
        QVERIFY(faure);
        const Owner asRead = *faure;
        faure->prixAchat = 3000.0;
        applyOwnerCost(*faure, {});
        QVERIFY(updateOwner(m_db, asRead, *faure));
        QCOMPARE(value(QStringLiteral("select nom from coupe where n_lot = 10")).toString(),
                 QStringLiteral("Durand + Faure + Martin"));
        QCOMPARE(value(QStringLiteral("select N_parcelle from coupe where n_lot = 10")).toString(),
                 QStringLiteral("B7 +  + A12"));
        QCOMPARE(value(QStringLiteral("select prix_achat from coupe where n_lot = 10")).toDouble(), 18000.0);
        QCOMPARE(value(QStringLiteral("select cvo from proprietaire where inc = ?"), {inc}).toDouble(), 15.0);
    }

    void speciesLinesRebuildTheLot()
    {
        lot(11);
        Owner o = owner(11, QStringLiteral("Martin"), QStringLiteral("NON"), QVariant(), 0.5);
        const auto inc = createOwner(m_db, o);
        QVERIFY(inc);
        SpeciesLine first = newSpeciesLine(11, 1, QStringLiteral("Martin"), QStringLiteral("m3"));
        first.essence = QStringLiteral("Chêne");
        first.qualite = QStringLiteral("A");
        first.unite = QStringLiteral("m3");
        first.qte = 100.0;
        first.prixUnit = 12.0;
        QVERIFY(createSpeciesLine(m_db, first));
        SpeciesLine second = first;
        second.essence = QStringLiteral("Hêtre");
        second.unite = QStringLiteral("T");
        second.qte = 90.0;
        second.prixUnit = 10.0;
        QVERIFY(createSpeciesLine(m_db, second));

        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 11 and descriptif = 'VOLUME'")).toInt(),
                 2);
        QCOMPARE(
            value(QStringLiteral("select qte_defaut from grume where N_lot = 11 and essence = 'Hêtre'")).toDouble(),
            100.0);
        // The owner's stored cost and the lot follow the lines at once.
        QCOMPARE(value(QStringLiteral("select prix_estime from proprietaire where inc = ?"), {*inc}).toDouble(),
                 2100.0);
        QCOMPARE(value(QStringLiteral("select cout_total from proprietaire where inc = ?"), {*inc}).toDouble(), 2100.0);
        QCOMPARE(value(QStringLiteral("select cvo from proprietaire where inc = ?"), {*inc}).toDouble(), 10.5);
        QCOMPARE(value(QStringLiteral("select estimation from proprietaire where inc = ?"), {*inc}).toDouble(), 200.0);
        QCOMPARE(value(QStringLiteral("select prix_achat from coupe where n_lot = 11")).toDouble(), 2100.0);
        QCOMPARE(value(QStringLiteral("select estimation from coupe where n_lot = 11")).toDouble(), 200.0);

        // A line changed: species, quality and unit stay, the rest is written and the lot rebuilt.
        // The line as the owner screen reads it.
        const auto rows = select(m_db, QStringLiteral("select * from proprietaire_essence where N_lot = 11 "
                                                      "and essence = 'Hêtre'"));
        QVERIFY(rows && rows->size() == 1);
        const SpeciesLine asRead = speciesLineFrom(rows->first());
        SpeciesLine changed = asRead;
        changed.essence = QStringLiteral("Chêne");
        changed.qte = 45.0;
        changed.qteReel = 50.0;
        changed.comment = QStringLiteral("après abattage");
        const Status saved = updateSpeciesLine(m_db, asRead, changed);
        QVERIFY2(saved, qPrintable(saved.ok() ? QString() : saved.error().fullText()));
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire_essence where essence = 'Hêtre'")).toInt(), 1);
        QCOMPARE(
            value(QStringLiteral("select prix_total from proprietaire_essence where essence = 'Hêtre'")).toDouble(),
            450.0);
        QCOMPARE(value(QStringLiteral("select `long` from proprietaire_essence where essence = 'Hêtre'")).toString(),
                 QStringLiteral("après abattage"));
        QCOMPARE(value(QStringLiteral("select qte from grume where N_lot = 11 and essence = 'Hêtre'")).toDouble(),
                 50.0);
        QCOMPARE(value(QStringLiteral("select prix_achat from coupe where n_lot = 11")).toDouble(), 1650.0);
    }

    void deletingTheOnlyOwner()
    {
        lot(12);
        Owner o = owner(12, QStringLiteral("Martin"), QStringLiteral("OUI"), 8000.0, 0.5);
        o.nParcelle = QStringLiteral("C3");
        o.acheteur = QStringLiteral("Paul");
        o.surface = 4.0;
        applyOwnerCost(o, {});
        const auto inc = createOwner(m_db, o);
        QVERIFY(inc);
        SpeciesLine line = newSpeciesLine(12, 1, QStringLiteral("Martin"), QStringLiteral("m3"));
        line.essence = QStringLiteral("Chêne");
        line.qualite = QStringLiteral("A");
        line.unite = QStringLiteral("m3");
        line.qte = 60.0;
        QVERIFY(createSpeciesLine(m_db, line));
        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 12")).toInt(), 1);

        const Status done = deleteOwner(m_db, *inc);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire where N_lot = 12")).toInt(), 0);
        // The same deletion again, as a second workstation whose list still shows the owner: reported.
        const Status again = deleteOwner(m_db, *inc);
        QVERIFY(!again);
        QCOMPARE(again.error().kind, ErrorKind::NotFound);
        QCOMPARE(again.error().message, recordDeletedMessage());
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire_essence where N_lot = 12")).toInt(), 0);
        QCOMPARE(value(QStringLiteral("select count(*) from grume where N_lot = 12")).toInt(), 0);
        for (const char *column : {"prix_achat", "surface", "cvo", "abattage_cout", "estimation"})
            QCOMPARE(
                value(QStringLiteral("select %1 from coupe where n_lot = 12").arg(QLatin1String(column))).toDouble(),
                0.0);
        for (const char *column : {"nom", "N_parcelle", "acheteur"})
            QCOMPARE(
                value(QStringLiteral("select %1 from coupe where n_lot = 12").arg(QLatin1String(column))).toString(),
                QString());
    }

    void ownerDeletionStandsOrFallsTogether()
    {
        // The lot is gone (another workstation deleted it): the rebuild refuses, nothing is zeroed.
        Owner o = owner(13, QStringLiteral("Martin"), QStringLiteral("OUI"), 8000.0, 0.5);
        lot(13);
        const auto inc = createOwner(m_db, o);
        QVERIFY(inc);
        SpeciesLine line = newSpeciesLine(13, 1, QStringLiteral("Martin"), QStringLiteral("m3"));
        line.essence = QStringLiteral("Chêne");
        line.qualite = QStringLiteral("A");
        line.unite = QStringLiteral("m3");
        line.qte = 60.0;
        QVERIFY(createSpeciesLine(m_db, line));
        run(QStringLiteral("delete from coupe where n_lot = 13"));
        const Status done = deleteOwner(m_db, *inc);
        QVERIFY(!done);
        QCOMPARE(done.error().message, QStringLiteral(" Coupe \"13\" inexistante"));
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire where inc = ?"), {*inc}).toInt(), 1);
        QCOMPARE(value(QStringLiteral("select qte from proprietaire_essence where N_lot = 13")).toDouble(), 60.0);
    }

    // ------------------------------------------------------------------------------- screens

    void tabCreatesAnOwner()
    {
        lot(20);
        OwnersTab tab(m_context, 20, 1);
        QCOMPARE(tab.owners()->rowCount(), 0);
        QSignalSpy totals(&tab, &OwnersTab::lotTotalsChanged);
        expectScreen([](QDialog &d) {
            auto &screen = dynamic_cast<OwnerDialog &>(d);
            auto *ui = screen.ui();
            // A new owner: bought today at a fixed price, the settings' rate, no species lines yet.
            if (ui->achat_fixe->currentText() != QLatin1String("OUI")) return -1;
            if (ui->coef_cvo->text() != QLatin1String("0,5")) return -2;
            if (ui->BtnCreerEssence->isEnabled() || ui->BtnModifierEssence->isEnabled()) return -3;
            if (!ui->Groupe_achat_fixe->isVisibleTo(&screen) || ui->Groupe_achat_unite->isVisibleTo(&screen)) return -4;
            if (ui->date_achat->date() != QDate::currentDate()) return -5;
            ui->nom->setText(QStringLiteral("Martin"));
            ui->n_parcelle->setText(QStringLiteral("A12"));
            ui->acheteur->setCurrentIndex(ui->acheteur->findText(QStringLiteral("Paul")));
            ui->type_proprietaire->setCurrentIndex(ui->type_proprietaire->findText(QStringLiteral("ONF")));
            QTest::keyClicks(ui->prix_achat, QStringLiteral("10000"));
            ui->surface->setText(QStringLiteral("2,5"));
            if (ui->Label_tonnes->text() != QLatin1String("( soit 375,00 Tonnes )")) return -6;
            ui->BtnCalcul->click();
            if (ui->cvo->text() != QLatin1String("50,00")) return -7;
            ui->BtnOK->click();
            return screen.result();
        });
        tab.ui()->BtnCreerProprietaire->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(tab.owners()->rowCount(), 1);
        QCOMPARE(totals.count(), 1);
        QCOMPARE(value(QStringLiteral("select cvo from proprietaire where N_lot = 20")).toDouble(), 50.0);
        QCOMPARE(value(QStringLiteral("select cout_total from proprietaire where N_lot = 20")).toDouble(), 10000.0);
        QVERIFY(value(QStringLiteral("select prix_estime from proprietaire where N_lot = 20")).isNull());
        QCOMPARE(value(QStringLiteral("select pro_paye from proprietaire where N_lot = 20")).toString(),
                 QStringLiteral("Faux"));
        QCOMPARE(value(QStringLiteral("select coef from proprietaire where N_lot = 20")).toDouble(), 150.0);
        QCOMPARE(value(QStringLiteral("select date_achat from proprietaire where N_lot = 20")).toDate(),
                 QDate::currentDate());
        QCOMPARE(value(QStringLiteral("select nom from coupe where n_lot = 20")).toString(), QStringLiteral("Martin"));
        QCOMPARE(value(QStringLiteral("select prix_achat from coupe where n_lot = 20")).toDouble(), 10000.0);
        QCOMPARE(tab.ui()->prix_achat->text(), QStringLiteral("10 000,00"));

        // Cancelled: nothing is written.
        expectScreen([](QDialog &d) {
            dynamic_cast<OwnerDialog &>(d).ui()->nom->setText(QStringLiteral("Durand"));
            return int(QDialog::Rejected);
        });
        tab.ui()->BtnCreerProprietaire->click();
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire where N_lot = 20")).toInt(), 1);
    }

    void ownerNameWithoutApostrophe()
    {
        lot(21);
        OwnerDialog screen(m_context, newOwner(21, 1, m_context.settings, QDate::currentDate()), false);
        screen.ui()->nom->setText(QStringLiteral("L'Hermite"));
        screen.ui()->BtnOK->click();
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Ne pas mettre d'apostrophe sur le NOM DU PROPRIETAIRE !!!"));
        QCOMPARE(screen.result(), int(QDialog::Rejected));
        // Price per unit shows the other cost group.
        screen.ui()->achat_fixe->setCurrentText(QStringLiteral("NON"));
        QVERIFY(!screen.ui()->Groupe_achat_fixe->isVisibleTo(&screen));
        QVERIFY(screen.ui()->Groupe_achat_unite->isVisibleTo(&screen));
    }

    void finishedLotRefusesTheOwnerButtons()
    {
        lot(22);
        OwnersTab tab(m_context, 22, 1);
        tab.setLotFinished(true);
        tab.ui()->BtnCreerProprietaire->click();
        tab.ui()->BtnModifierProprietaire->click();
        tab.ui()->BtnSupprimerProprietaire->click();
        const QString refusal = QStringLiteral("Action impossible sur une COUPE de BOIS \"TERMINE\"");
        QCOMPARE(m_dialogs.texts(), QStringList({refusal, refusal, refusal}));
        tab.setLotFinished(false);
        m_dialogs.clear();
        tab.ui()->BtnModifierProprietaire->click();
        tab.ui()->BtnSupprimerProprietaire->click();
        QCOMPARE(m_dialogs.texts(), QStringList({noRecordMessage(), noRecordMessage()}));
    }

    void speciesLinesThroughTheScreens()
    {
        lot(23, QStringLiteral("OUI"));
        Owner o = owner(23, QStringLiteral("Martin"), QStringLiteral("NON"), QVariant(), 0.5);
        QVERIFY(createOwner(m_db, o));
        OwnersTab tab(m_context, 23, 1);
        QSignalSpy lines(&tab, &OwnersTab::volumeLinesChanged);
        QCOMPARE(tab.owners()->rowCount(), 1);

        expectScreen([this](QDialog &d) {
            auto &owner = dynamic_cast<OwnerDialog &>(d);
            if (!owner.ui()->nom->isReadOnly()) return -1;
            if (!owner.ui()->Groupe_achat_unite->isVisibleTo(&owner)) return -2;
            // A species line: its checks in order, then 10 T at 45 €.
            expectScreen([this](QDialog &s) {
                auto &line = dynamic_cast<SpeciesLineDialog &>(s);
                auto *ui = line.ui();
                ui->essence->setCurrentIndex(-1);
                ui->qualite->setCurrentIndex(-1);
                ui->unite->setCurrentIndex(-1);
                ui->BtnOK->click();
                ui->essence->setCurrentText(QStringLiteral("Chêne"));
                ui->BtnOK->click();
                ui->qualite->setCurrentText(QStringLiteral("A"));
                ui->BtnOK->click();
                ui->unite->setCurrentText(QStringLiteral("T"));
                QTest::keyClicks(ui->qte, QStringLiteral("10"));
                QTest::keyClicks(ui->prix_unit, QStringLiteral("45.5"));
                if (ui->prix_total->text() != QLatin1String("455,00")) return -10;
                ui->BtnOK->click();
                if (ui->qte_reel->text() != QLatin1String("10")) return -11;
                return line.result();
            });
            owner.ui()->BtnCreerEssence->click();
            if (owner.speciesLines()->rowCount() != 1) return -3;
            if (owner.ui()->prix_estime->text() != QLatin1String("455,00")) return -4;
            if (owner.ui()->cvo_unite->text() != QLatin1String("2,28")) return -5;
            // Modified: species, quality and unit are fixed.
            expectScreen([](QDialog &s) {
                auto &line = dynamic_cast<SpeciesLineDialog &>(s);
                if (line.ui()->essence->isEnabled() || line.ui()->unite->isEnabled()) return -20;
                line.ui()->qte_reel->setText(QStringLiteral("12"));
                line.ui()->BtnOK->click();
                return line.result();
            });
            owner.ui()->BtnModifierEssence->click();
            owner.ui()->BtnOK->click();
            return owner.result();
        });
        tab.ui()->BtnModifierProprietaire->click();
        QCOMPARE(m_dialogs.texts(),
                 QStringList({speciesRequiredMessage(), qualityRequiredMessage(), unitRequiredMessage()}));
        QVERIFY(lines.count() >= 2);
        QCOMPARE(value(QStringLiteral("select qte_defaut from proprietaire_essence where N_lot = 23")).toDouble(),
                 15.0);
        QCOMPARE(value(QStringLiteral("select qte from grume where N_lot = 23")).toDouble(), 12.0);
        QCOMPARE(value(QStringLiteral("select qte_defaut from grume where N_lot = 23")).toDouble(), 15.0);
        QCOMPARE(value(QStringLiteral("select cout_total from proprietaire where N_lot = 23")).toDouble(), 455.0);
        QCOMPARE(value(QStringLiteral("select prix_achat from coupe where n_lot = 23")).toDouble(), 455.0);
        QCOMPARE(tab.ownerSpecies()->rowCount(), 1);
        QCOMPARE(tab.ui()->Label_proprietaire_essence->text(),
                 QStringLiteral("Essence et quantité du propriétaire : Martin"));
    }

    void deletionAsksTwice()
    {
        lot(24);
        QVERIFY(createOwner(m_db, owner(24, QStringLiteral("Martin"), QStringLiteral("OUI"), 100.0, 0.5)));
        OwnersTab tab(m_context, 24, 1);
        m_dialogs.answers({true, QStringLiteral("supprimer")});
        tab.ui()->BtnSupprimerProprietaire->click();
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire where N_lot = 24")).toInt(), 1);
        QCOMPARE(m_dialogs.shown().at(0).text, QStringLiteral("Voulez vous supprimer ce proprietaire ?"));
        QCOMPARE(m_dialogs.shown().at(1).caption, QStringLiteral("Supprimer un proprietaire"));
        QCOMPARE(m_dialogs.shown().at(1).text, QStringLiteral("Pour confirmer la suppression, tapez \"SUPPRIMER\" "));
        m_dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        tab.ui()->BtnSupprimerProprietaire->click();
        QCOMPARE(value(QStringLiteral("select count(*) from proprietaire where N_lot = 24")).toInt(), 0);
        QCOMPARE(tab.owners()->rowCount(), 0);
        QCOMPARE(tab.ui()->prix_achat->text(), QStringLiteral("0,00"));
    }
};

QTEST_MAIN(TestOwners)
#include "tst_owners.moc"
