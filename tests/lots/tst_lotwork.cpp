#include "appcontext.h"
#include "gridmodel.h"
#include "lotwork.h"
#include "lotworktab.h"
#include "modal.h"
#include "scripteddialogs.h"
#include "sql.h"
#include "statements.h"
#include "lotsfixture.h"
#include "testdb.h"
#include "ui_lotworktab.h"
#include "ui_workentrydialog.h"
#include "workentrydialog.h"

#include <QDialog>
#include <QScopeGuard>
#include <QSqlError>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <deque>
#include <functional>

using namespace ravelin;

class TestLotWork : public QObject
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
    void expectScreen(std::function<int(QDialog &)> fill) { m_script.then(std::move(fill)); }

    int volumeLine(int nLot, const QString &essence, double qte, const QVariant &finPied = QVariant())
    {
        QSqlQuery q(m_db);
        q.prepare(
            QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
                           "qte, qte_defaut, fin_pied) values (?, 1, 'VOLUME', ?, 'A', 'm3', 'm3', ?, ?, ?)"));
        for (const QVariant &v : QVariantList{nLot, essence, qte, qte, finPied}) q.addBindValue(v);
        if (!q.exec()) qWarning() << q.lastError().text();
        return q.lastInsertId().toInt();
    }
    WorkRow work(int nLot, int line, WorkGroup group, const QVariant &cost, const QString &type = QString())
    {
        WorkRow row = newWorkRow(nLot, 1, line, group, QDate(2024, 5, 2));
        if (!type.isEmpty()) row.type1 = type;
        row.iNom = QStringLiteral("SARL Forêt");
        row.qteAction = 1.0;
        row.uniteAction = QStringLiteral("Forfait");
        row.prixUnitAction = cost;
        row.iCout = cost;
        return row;
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        m_context.db = m_db;
        m_context.dialogs = &m_dialogs;
        QSqlQuery q(m_db);
        QVERIFY(q.exec(QStringLiteral("update perso set unite_defaut = 'm3'")));
        QVERIFY(q.exec(QStringLiteral("select * from perso")));
        QVERIFY(q.next());
        m_context.settings = q.record();
    }

    void init()
    {
        m_dialogs.clear();
        m_script.clear();
        for (const char *table : {"coupe", "grume", "intervention", "intervenant_possible", "famille_intervenant"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("insert into intervenant_possible (num_intervenant_possible, societe, famille_intervenant, "
                           "cout_tonne, cout_heure, cout_volume, cout_surface, cout_stere) values "
                           "(1, 'Bûcheron Martin', 'ABATTAGE', 12, 45, 8.5, 3, 6), "
                           "(2, 'Débard Sud', 'DEBARDAGE', 10, 60, 7, NULL, 5), "
                           "(3, 'Broyage Centre', 'BROYAGE', 4, 90, 5, 2, 3), "
                           "(4, 'Abattage Alpha', 'ABATTAGE', NULL, NULL, NULL, NULL, NULL)"));
        run(QStringLiteral("insert into famille_intervenant (famille_intervenant) values ('ABATTAGE'), ('BROYAGE'), "
                           "('DEBARDAGE'), ('TRANSPORT')"));
        run(QStringLiteral(
            "insert into coupe (n_lot, indice_lot, groupe_essence, coupe_fini) values (30, 1, 'NON', 'NON'), "
            "(31, 1, 'NON', 'NON')"));
    }

    void cleanup()
    {
        QVERIFY2(m_script.pending() == 0, "a screen that was expected did not open");
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
    }

    void unitPrice_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QVariant>("price"); // invalid: the typed price stays
        QTest::newRow("hour") << "Heure" << QVariant(45.0);
        QTest::newRow("tonne") << "Tonne" << QVariant(12.0);
        QTest::newRow("are") << "Are" << QVariant(3.0);
        QTest::newRow("m3") << "m3" << QVariant(8.5);
        QTest::newRow("stere") << "Stere" << QVariant(6.0);
        QTest::newRow("lump sum") << "Forfait" << QVariant();
        QTest::newRow("quantity unit T is no price unit") << "T" << QVariant();
    }
    void unitPrice()
    {
        QFETCH(QString, unit);
        QFETCH(QVariant, price);
        const auto contractors = contractorsFor(m_db, WorkGroup::Felling);
        QVERIFY(contractors);
        QCOMPARE(contractors->size(), 2);
        QCOMPARE(contractors->at(1).societe, QStringLiteral("Bûcheron Martin"));
        const auto taken = unitPriceFromRates(contractors->at(1), unit);
        QCOMPARE(taken.has_value(), price.isValid());
        if (taken) QCOMPARE(taken->toDouble(), price.toDouble());
    }

    void contractorLists()
    {
        const auto skidding = contractorsFor(m_db, WorkGroup::Skidding);
        QVERIFY(skidding);
        QCOMPARE(skidding->size(), 1);
        QCOMPARE(skidding->first().societe, QStringLiteral("Débard Sud"));
        const auto other = contractorsFor(m_db, WorkGroup::Other);
        QVERIFY(other);
        QCOMPARE(other->size(), 4);
        QCOMPARE(other->first().societe, QStringLiteral("Abattage Alpha"));
    }

    void cost()
    {
        QCOMPARE(*workCost(120.0, 8.5), 1020.0);
        QCOMPARE(*workCost(3.0, 0.1), 0.3);
        QVERIFY(!workCost(QVariant(), 8.5));
        QVERIFY(!workCost(120.0, QVariant(QMetaType::fromType<double>())));
    }

    void groupSums()
    {
        const int line = volumeLine(30, QStringLiteral("Chêne"), 100);
        const int other = volumeLine(30, QStringLiteral("Hêtre"), 50);
        const auto a = createWork(m_db, work(30, line, WorkGroup::Felling, 1020.0));
        QVERIFY(a);
        const auto b = createWork(m_db, work(30, line, WorkGroup::Felling, 80.0));
        QVERIFY(b);
        QVERIFY(createWork(m_db, work(30, line, WorkGroup::Skidding, 300.0)));
        QVERIFY(createWork(m_db, work(30, line, WorkGroup::Other, 50.0, QStringLiteral("BROYAGE"))));
        QVERIFY(createWork(m_db, work(30, line, WorkGroup::Other, 25.0, QStringLiteral("TRANSPORT"))));
        QVERIFY(createWork(m_db, work(30, other, WorkGroup::Felling, 7.0)));
        QCOMPARE(value(QStringLiteral("select abattage_cout from grume where inc = ?"), {line}).toDouble(), 1100.0);
        QCOMPARE(value(QStringLiteral("select debardage_cout from grume where inc = ?"), {line}).toDouble(), 300.0);
        QCOMPARE(value(QStringLiteral("select remise_etat_cout from grume where inc = ?"), {line}).toDouble(), 75.0);
        QCOMPARE(value(QStringLiteral("select abattage_cout from grume where inc = ?"), {other}).toDouble(), 7.0);

        // A modified row may cost 0: the rule is for creation only.
        auto row = loadWork(m_db, *b);
        QVERIFY(row);
        const WorkRow asRead = *row;
        row->iCout = 0.0;
        QVERIFY(updateWork(m_db, asRead, *row));
        QCOMPARE(value(QStringLiteral("select i_cout from intervention where inc = ?"), {*b}).toDouble(), 0.0);
        QCOMPARE(value(QStringLiteral("select abattage_cout from grume where inc = ?"), {line}).toDouble(), 1020.0);

        // Deleting the last felling rows brings the line's felling cost to 0.
        QVERIFY(deleteWork(m_db, *a));
        QVERIFY(deleteWork(m_db, *b));
        QCOMPARE(value(QStringLiteral("select abattage_cout from grume where inc = ?"), {line}).toDouble(), 0.0);
        // Deleted already (another workstation's list still showing it): reported, not a success.
        const Status again = deleteWork(m_db, *b);
        QVERIFY(!again);
        QCOMPARE(again.error().kind, ErrorKind::NotFound);
        QCOMPARE(again.error().message, recordDeletedMessage());
        QCOMPARE(value(QStringLiteral("select debardage_cout from grume where inc = ?"), {line}).toDouble(), 300.0);
    }

    void creationNeedsAPositiveCost_data()
    {
        QTest::addColumn<QVariant>("cost");
        QTest::newRow("zero") << QVariant(0.0);
        QTest::newRow("negative") << QVariant(-5.0);
        QTest::newRow("none") << QVariant(QMetaType::fromType<double>());
    }
    void creationNeedsAPositiveCost()
    {
        QFETCH(QVariant, cost);
        const int line = volumeLine(30, QStringLiteral("Chêne"), 100);
        const auto created = createWork(m_db, work(30, line, WorkGroup::Felling, cost));
        QVERIFY(!created);
        QCOMPARE(created.error().message, QStringLiteral("Vous devez saisir un coût !!!"));
        QCOMPARE(value(QStringLiteral("select count(*) from intervention")).toInt(), 0);
    }

    // A work row and its group's sum on the volume line stand or fall together: when the server
    // refuses the sum, the row is not written, changed or deleted either.
    void rowAndSumStandOrFallTogether_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("create") << "create";
        QTest::newRow("modify") << "modify";
        QTest::newRow("delete") << "delete";
    }
    void rowAndSumStandOrFallTogether()
    {
        QFETCH(QString, action);
        const int line = volumeLine(30, QStringLiteral("Chêne"), 100);
        const auto kept = createWork(m_db, work(30, line, WorkGroup::Felling, 100.0));
        QVERIFY(kept);
        // The sum is the one update of the volume line these operations make.
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(QStringLiteral("create trigger grume_refuse_sum before update on grume for each row "
                                       "signal sqlstate '45000' set message_text = 'somme refusee'")),
                 qPrintable(q.lastError().text()));
        const auto dropTrigger = qScopeGuard([this] {
            QSqlQuery drop(m_db);
            if (!drop.exec(QStringLiteral("drop trigger if exists grume_refuse_sum")))
                qWarning() << drop.lastError().text();
        });

        QString failure;
        if (action == QLatin1String("create")) {
            const auto created = createWork(m_db, work(30, line, WorkGroup::Felling, 250.0));
            if (!created) failure = created.error().fullText();
        } else if (action == QLatin1String("modify")) {
            auto row = loadWork(m_db, *kept);
            QVERIFY(row);
            const WorkRow asRead = *row;
            row->iCout = 250.0;
            row->iNom = QStringLiteral("Autre société");
            if (const Status s = updateWork(m_db, asRead, *row); !s) failure = s.error().fullText();
        } else {
            if (const Status s = deleteWork(m_db, *kept); !s) failure = s.error().fullText();
        }
        QVERIFY2(failure.contains(QStringLiteral("somme refusee")), qPrintable(failure));
        // All as before: the one row at 100, and the line's sum.
        QCOMPARE(value(QStringLiteral("select count(*) from intervention")).toInt(), 1);
        QCOMPARE(value(QStringLiteral("select i_cout from intervention where inc = ?"), {*kept}).toDouble(), 100.0);
        QCOMPARE(value(QStringLiteral("select I_nom from intervention where inc = ?"), {*kept}).toString(),
                 QStringLiteral("SARL Forêt"));
        QCOMPARE(value(QStringLiteral("select abattage_cout from grume where inc = ?"), {line}).toDouble(), 100.0);
    }

    // ------------------------------------------------------------------------------- screens

    void fellingScreen()
    {
        WorkEntryDialog screen(m_context, WorkGroup::Felling,
                               newWorkRow(30, 1, 1, WorkGroup::Felling, QDate::currentDate()));
        auto *ui = screen.ui();
        QCOMPARE(screen.objectName(), QStringLiteral("liste_intervention"));
        QCOMPARE(screen.windowTitle(), QStringLiteral("Détail intervention ( ABATTAGE )"));
        QVERIFY(!ui->type1->isVisibleTo(&screen));
        QCOMPARE(ui->I_nom->count(), 2);
        QCOMPARE(ui->I_date->date(), QDate::currentDate());
        ui->BtnOK->click();
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Vous devez selectionner une société"));

        ui->unite_action->setCurrentIndex(ui->unite_action->findText(QStringLiteral("m3")));
        ui->I_nom->setCurrentIndex(ui->I_nom->findText(QStringLiteral("Bûcheron Martin")));
        emit ui->I_nom->activated(ui->I_nom->currentIndex());
        QCOMPARE(ui->prix_unit_action->text(), QStringLiteral("8,5"));
        QTest::keyClicks(ui->qte_action, QStringLiteral("120"));
        QCOMPARE(ui->I_cout->text(), QStringLiteral("1 020,00"));
        // The felling screen follows a typed unit price at once.
        ui->prix_unit_action->clear();
        QTest::keyClicks(ui->prix_unit_action, QStringLiteral("9.5"));
        QCOMPARE(ui->prix_unit_action->text(), QStringLiteral("9,5"));
        QCOMPARE(ui->I_cout->text(), QStringLiteral("1 140,00"));
        // "Forfait" keeps the typed price.
        ui->unite_action->setCurrentIndex(ui->unite_action->findText(QStringLiteral("Forfait")));
        emit ui->unite_action->activated(ui->unite_action->currentIndex());
        QCOMPARE(ui->prix_unit_action->text(), QStringLiteral("9,5"));
        // Another unit takes the contractor's rate again.
        ui->unite_action->setCurrentIndex(ui->unite_action->findText(QStringLiteral("Heure")));
        emit ui->unite_action->activated(ui->unite_action->currentIndex());
        QCOMPARE(ui->prix_unit_action->text(), QStringLiteral("45"));
        QCOMPARE(ui->I_cout->text(), QStringLiteral("5 400,00"));
        ui->BtnOK->click();
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        const WorkRow row = screen.row();
        QCOMPARE(row.type1, QStringLiteral("ABATTAGE"));
        QCOMPARE(row.iNom, QStringLiteral("Bûcheron Martin"));
        QCOMPARE(row.iCout.toDouble(), 5400.0);
        QCOMPARE(row.uniteAction, QStringLiteral("Heure"));
    }

    void otherWorkScreen()
    {
        WorkEntryDialog screen(m_context, WorkGroup::Other,
                               newWorkRow(30, 1, 1, WorkGroup::Other, QDate::currentDate()));
        auto *ui = screen.ui();
        QCOMPARE(screen.objectName(), QStringLiteral("liste_intervention3"));
        QCOMPARE(screen.windowTitle(), QStringLiteral("Détail intervention"));
        QVERIFY(ui->type1->isVisibleTo(&screen));
        QCOMPARE(ui->type1->count(), 4);
        QCOMPARE(ui->I_nom->count(), 4);
        ui->I_nom->setCurrentIndex(-1);
        ui->type1->setCurrentIndex(-1);
        ui->BtnOK->click();
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Vous devez saisir un type d'action"));
        ui->type1->setCurrentIndex(ui->type1->findText(QStringLiteral("BROYAGE")));
        ui->qte_action->setText(QStringLiteral("3"));
        ui->prix_unit_action->setText(QStringLiteral("12,5"));
        // The other screens wait for "Calcul COÛT" or "OK".
        QVERIFY(ui->I_cout->text().isEmpty());
        ui->BtnCalcul->click();
        QCOMPARE(ui->I_cout->text(), QStringLiteral("37,50"));
        ui->BtnOK->click();
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        QCOMPARE(screen.row().type1, QStringLiteral("BROYAGE"));
        QVERIFY(screen.row().iNom.isEmpty());
    }

    void tabCreatesModifiesAndDeletes()
    {
        const int line = volumeLine(30, QStringLiteral("Chêne"), 100, 60);
        LotWorkTab tab(m_context, 30, 1);
        QSignalSpy changed(&tab, &LotWorkTab::woodStateChanged);
        QCOMPARE(tab.currentLineInc(), line);
        QCOMPARE(tab.ui()->Qte_reelle->text(), QStringLiteral("100,00"));
        QCOMPARE(tab.ui()->fin_pied->text(), QStringLiteral("60"));

        expectScreen([](QDialog &d) {
            auto &screen = dynamic_cast<WorkEntryDialog &>(d);
            auto *ui = screen.ui();
            ui->I_nom->setCurrentIndex(ui->I_nom->findText(QStringLiteral("Bûcheron Martin")));
            ui->unite_action->setCurrentIndex(ui->unite_action->findText(QStringLiteral("m3")));
            emit ui->unite_action->activated(ui->unite_action->currentIndex());
            QTest::keyClicks(ui->qte_action, QStringLiteral("120"));
            ui->BtnOK->click();
            return screen.result();
        });
        tab.ui()->BtnCreerAbattage->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(tab.work(WorkGroup::Felling)->rowCount(), 1);
        QCOMPARE(value(QStringLiteral("select i_cout from intervention where id = ?"), {line}).toDouble(), 1020.0);
        QCOMPARE(value(QStringLiteral("select type1 from intervention where id = ?"), {line}).toString(),
                 QStringLiteral("ABATTAGE"));
        QCOMPARE(value(QStringLiteral("select N_lot from intervention where id = ?"), {line}).toInt(), 30);
        QCOMPARE(value(QStringLiteral("select i_date from intervention where id = ?"), {line}).toDate(),
                 QDate::currentDate());
        QCOMPARE(value(QStringLiteral("select abattage_cout from grume where inc = ?"), {line}).toDouble(), 1020.0);
        QCOMPARE(tab.ui()->abattage_cout_ligne->text(), QStringLiteral("1 020,00"));
        // The wood state follows.
        QCOMPARE(value(QStringLiteral("select sur_pied from grume where inc = ?"), {line}).toDouble(), 40.0);
        QCOMPARE(changed.count(), 1);

        // A skidding row without a cost is refused and not written.
        expectScreen([](QDialog &d) {
            auto &screen = dynamic_cast<WorkEntryDialog &>(d);
            screen.ui()->I_nom->setCurrentIndex(0);
            screen.ui()->BtnOK->click();
            return screen.result();
        });
        tab.ui()->BtnCreerDebardage->click();
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Vous devez saisir un coût !!!"));
        QCOMPARE(value(QStringLiteral("select count(*) from intervention")).toInt(), 1);

        // Modified to a cost of 0: written.
        expectScreen([](QDialog &d) {
            auto &screen = dynamic_cast<WorkEntryDialog &>(d);
            if (screen.ui()->I_nom->currentText() != QStringLiteral("Bûcheron Martin")) return -1;
            screen.ui()->qte_action->setText(QStringLiteral("0"));
            screen.ui()->BtnOK->click();
            return screen.result();
        });
        tab.ui()->BtnModifierAbattage->click();
        QCOMPARE(value(QStringLiteral("select i_cout from intervention where id = ?"), {line}).toDouble(), 0.0);
        QCOMPARE(value(QStringLiteral("select abattage_cout from grume where inc = ?"), {line}).toDouble(), 0.0);

        // Deleted after both confirmations only.
        m_dialogs.clear();
        m_dialogs.answers({true, QStringLiteral("SUPPRIME")});
        tab.ui()->BtnSupprimerAbattage->click();
        QCOMPARE(value(QStringLiteral("select count(*) from intervention")).toInt(), 1);
        QCOMPARE(m_dialogs.shown().first().text, QStringLiteral("Voulez vous supprimer cette intervention ?"));
        m_dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        tab.ui()->BtnSupprimerAbattage->click();
        QCOMPARE(value(QStringLiteral("select count(*) from intervention")).toInt(), 0);
        QCOMPARE(tab.work(WorkGroup::Felling)->rowCount(), 0);
    }

    void tabRefusals()
    {
        LotWorkTab empty(m_context, 31, 1);
        QCOMPARE(empty.currentLineInc(), 0);
        empty.ui()->BtnCreerAbattage->click();
        empty.ui()->BtnCreerAutre->click();
        empty.ui()->BtnModifPourcentAbattage->click();
        empty.ui()->BtnModifierDebardage->click();
        const QString noLine = QStringLiteral("Action impossible , il faut d'abord créer une essence de bois");
        QCOMPARE(m_dialogs.texts(), QStringList({noLine, noLine, noLine, noRecordMessage()}));

        volumeLine(30, QStringLiteral("Chêne"), 100);
        LotWorkTab finished(m_context, 30, 1);
        finished.setLotFinished(true);
        m_dialogs.clear();
        finished.ui()->BtnCreerAbattage->click();
        finished.ui()->BtnModifierDebardage->click();
        finished.ui()->BtnSupprimerAutre->click();
        const QString refusal = QStringLiteral("Action impossible sur une COUPE de BOIS \"TERMINE\"");
        QCOMPARE(m_dialogs.texts(), QStringList({refusal, refusal, refusal}));
    }

    void shares_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("rounded") << "37,6" << QVariant(38);
        QTest::newRow("point") << "37.4" << QVariant(37);
        QTest::newRow("not a number") << "beaucoup" << QVariant(10);
        QTest::newRow("not a share") << "150" << QVariant(10);
        QTest::newRow("cancelled") << QString() << QVariant(10);
    }
    void shares()
    {
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        const int line = volumeLine(30, QStringLiteral("Chêne"), 200, 10);
        LotWorkTab tab(m_context, 30, 1);
        m_dialogs.answer(typed.isNull() ? QVariant() : QVariant(typed));
        tab.ui()->BtnModifPourcentAbattage->click();
        QCOMPARE(m_dialogs.shown().first().caption, QStringLiteral("Modif % d'abattage"));
        QCOMPARE(m_dialogs.shown().first().text, QStringLiteral("Saisir le % de bois abattu"));
        QCOMPARE(value(QStringLiteral("select fin_pied from grume where inc = ?"), {line}).toInt(), stored.toInt());
        if (stored.toInt() != 10) {
            QCOMPARE(value(QStringLiteral("select sur_pied from grume where inc = ?"), {line}).toDouble(),
                     200.0 * (100 - stored.toInt()) / 100);
            QCOMPARE(tab.ui()->fin_pied->text(), stored.toString());
        }
        m_dialogs.answer(QStringLiteral("80"));
        tab.ui()->BtnModifPourcentDebardage->click();
        QCOMPARE(m_dialogs.shown().last().caption, QStringLiteral("Modif % débardage"));
        QCOMPARE(value(QStringLiteral("select fin_abattage from grume where inc = ?"), {line}).toInt(), 80);
    }
};

QTEST_MAIN(TestLotWork)
#include "tst_lotwork.moc"
