#include "gridmodel.h"
#include "logentrydialog.h"
#include "loteditor.h"
#include "lotlogsdialog.h"
#include "lotrecompute.h"
#include "lotsfixture.h"
#include "lotstore.h"
#include "lotwork.h"
#include "lotworktab.h"
#include "ownerdialog.h"
#include "ownerestimatedialog.h"
#include "owners.h"
#include "ownerstab.h"
#include "statements.h"
#include "ui_logentrydialog.h"
#include "ui_loteditor.h"
#include "ui_lotlogsdialog.h"
#include "ui_lotworktab.h"
#include "ui_ownerdialog.h"
#include "ui_ownerestimatedialog.h"
#include "ui_ownerstab.h"
#include "ui_workentrydialog.h"
#include "volumelines.h"
#include "workentrydialog.h"

#include <QSignalSpy>
#include <QTest>

using namespace ravelin;

// Two workstations on one record: the editor on this one reads the row, the other workstation
// changes or deletes it, then "OK" is pressed here.
class TestTwoWorkstations : public QObject
{
    Q_OBJECT
    test::LotsFixture f;
    test::ModalScript m_script;
    QSqlDatabase m_other;

    void other(const QString &sql, const QVariantList &values)
    {
        const auto done = execute(m_other, sql, values);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
    }

    // What "OK" left: whether the editor closed, and what its field still shows.
    struct Outcome
    {
        bool closed = false;
        QString field;
    };

    // Presses "OK" on an editor the user has typed into, after the other workstation's change.
    Outcome pressOk(QDialog &screen, QAbstractButton *ok, const std::function<QString()> &field, const QString &sql,
                    const QVariantList &values)
    {
        QSignalSpy finished(&screen, &QDialog::finished);
        other(sql, values);
        ok->click();
        return {finished.count() > 0, field()};
    }

private slots:
    void initTestCase()
    {
        f.open();
        m_other = test::openAnotherConnection(f.db.databaseName(), QStringLiteral("other"));
        QVERIFY(m_other.isOpen());
    }

    void init()
    {
        f.clearTables();
        m_script.clear();
        f.run(QStringLiteral("delete from intervenant_possible"));
        f.run(QStringLiteral("insert into coupe (inc, n_lot, indice_lot, coupe_fini, lieu, type_achat, commentaire) "
                             "values (1, 40, 1, 'NON', 'Ussel', 'SUR PIEDS', 'avant')"));
    }

    void cleanup() { QCOMPARE(m_script.pending(), 0); }

    // editor: which screen; change: what the other workstation does meanwhile ("same" field,
    // "other" field, "deleted"); message: what the user is shown (none when the save stands).
    void saveAgainstAnotherWorkstation_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");

        const QString deleted = QStringLiteral("Cet enregistrement a été supprimé sur un autre poste");
        const auto changed = [](const char *field) {
            return QStringLiteral("Cet enregistrement a été modifié sur un autre poste : « %1 »")
                .arg(QString::fromUtf8(field));
        };
        struct Editor
        {
            const char *name;
            const char *caption;
        };
        for (const Editor &e :
             {Editor{"owner", "Ville"}, Editor{"log", "Classe de bois"}, Editor{"work", "Date fin chantier"},
              Editor{"lot", "Commentaire"}, Editor{"species", "Commentaire"}}) {
            const QString name = QString::fromLatin1(e.name);
            QTest::addRow("%s, other field kept", e.name) << name << QStringLiteral("other") << QString();
            QTest::addRow("%s, same field refused", e.name) << name << QStringLiteral("same") << changed(e.caption);
            QTest::addRow("%s, deleted refused", e.name) << name << QStringLiteral("deleted") << deleted;
        }
        // The amounts of a work row agree with each other: a price changed meanwhile refuses a
        // quantity typed here.
        QTest::addRow("work cost, price changed elsewhere")
            << QStringLiteral("work cost") << QStringLiteral("price")
            << QStringLiteral(
                   "Cet enregistrement a été modifié sur un autre poste : « Coût / unitaire », « Coût total »");
    }

    void saveAgainstAnotherWorkstation()
    {
        QFETCH(QString, editor);
        QFETCH(QString, change);
        QFETCH(QString, message);
        const bool kept = message.isEmpty();
        const bool gone = change == QLatin1String("deleted");

        Outcome outcome;
        // Each editor: the column the user types into and the one the other workstation changes.
        if (editor == QLatin1String("owner")) {
            Owner o = newOwner(40, 1, f.context.settings, QDate(2024, 3, 1));
            o.nom = QStringLiteral("Martin");
            o.proVille = QStringLiteral("Ussel");
            o.proTel = QStringLiteral("0102");
            const auto inc = createOwner(f.db, o);
            QVERIFY(inc);
            OwnersTab tab(f.context, 40, 1);
            const QString sql = gone ? QStringLiteral("delete from proprietaire where inc=?")
                                : change == "same"
                                    ? QStringLiteral("update proprietaire set pro_ville='Egletons' "
                                                     "where inc=?")
                                    : QStringLiteral("update proprietaire set pro_tel='0555' where inc=?");
            m_script.then([&](QDialog &d) {
                auto &screen = dynamic_cast<OwnerDialog &>(d);
                screen.ui()->pro_ville->setText(QStringLiteral("Tulle"));
                outcome =
                    pressOk(screen, screen.ui()->BtnOK, [&] { return screen.ui()->pro_ville->text(); }, sql, {*inc});
                return screen.result();
            });
            tab.ui()->BtnModifierProprietaire->click();
            if (kept) {
                QCOMPARE(f.value(QStringLiteral("select concat(pro_ville, '/', pro_tel) from proprietaire")).toString(),
                         QStringLiteral("Tulle/0555"));
            } else if (!gone) {
                QCOMPARE(f.value(QStringLiteral("select pro_ville from proprietaire")).toString(),
                         QStringLiteral("Egletons"));
            }
            // Refused or deleted: the list shows what is stored.
            QCOMPARE(tab.owners()->rowCount(), gone ? 0 : 1);
        } else if (editor == QLatin1String("species")) {
            f.run(QStringLiteral("insert into essence (essence, m3, T, Stere) values ('Chêne', 1, 0.8, 1.5)"));
            Owner o = newOwner(40, 1, f.context.settings, QDate(2024, 3, 1));
            o.nom = QStringLiteral("Martin");
            const auto inc = createOwner(f.db, o);
            QVERIFY(inc);
            SpeciesLine line = newSpeciesLine(40, 1, QStringLiteral("Martin"), QStringLiteral("m3"));
            line.essence = QStringLiteral("Chêne");
            line.qualite = QStringLiteral("A");
            line.unite = QStringLiteral("m3");
            line.qte = 100.0;
            line.prixUnit = 12.0;
            line.comment = QStringLiteral("avant");
            QVERIFY(createSpeciesLine(f.db, line));
            const auto owner = loadOwner(f.db, *inc);
            QVERIFY(owner);
            OwnerDialog dialog(f.context, *owner, true);
            const QString sql =
                gone ? QStringLiteral("delete from proprietaire_essence where N_lot=?")
                : change == "same"
                    ? QStringLiteral("update proprietaire_essence set `long`='ailleurs' where N_lot=?")
                    : QStringLiteral("update proprietaire_essence set qte_reel=90, qte_defaut=90 where N_lot=?");
            m_script.then([&](QDialog &d) {
                auto &screen = dynamic_cast<SpeciesLineDialog &>(d);
                screen.ui()->commentaire->setText(QStringLiteral("ici"));
                outcome =
                    pressOk(screen, screen.ui()->BtnOK, [&] { return screen.ui()->commentaire->text(); }, sql, {40});
                return screen.result();
            });
            dialog.ui()->BtnModifierEssence->click();
            if (kept)
                QCOMPARE(f.value(QStringLiteral("select concat(`long`, '/', qte_reel) from proprietaire_essence"))
                             .toString(),
                         QStringLiteral("ici/90"));
            else if (!gone)
                QCOMPARE(f.value(QStringLiteral("select `long` from proprietaire_essence")).toString(),
                         QStringLiteral("ailleurs"));
        } else if (editor == QLatin1String("log")) {
            f.run(
                QStringLiteral("insert into grume (inc, N_lot, indice_lot, descriptif, n_grume, classe, m3, diametre, "
                               "longueur) values (5, 40, 1, 'GRUME', '12', '3', 1.2, 40, 5)"));
            LotLogsDialog logs(f.context, 40, 1, QStringLiteral("Ussel"), 1.2, 0);
            const QString sql = gone               ? QStringLiteral("delete from grume where inc=?")
                                : change == "same" ? QStringLiteral("update grume set classe='5' where inc=?")
                                                   : QStringLiteral("update grume set n_grume='13' where inc=?");
            m_script.then([&](QDialog &d) {
                auto &screen = dynamic_cast<LogEntryDialog &>(d);
                screen.ui()->classe->setText(QStringLiteral("4"));
                outcome = pressOk(screen, screen.ui()->BtnOK, [&] { return screen.ui()->classe->text(); }, sql, {5});
                return screen.result();
            });
            logs.ui()->BtnModifier->click();
            if (kept)
                QCOMPARE(
                    f.value(QStringLiteral("select concat(n_grume, '/', classe) from grume where inc=5")).toString(),
                    QStringLiteral("13/4"));
            else if (!gone)
                QCOMPARE(f.value(QStringLiteral("select classe from grume where inc=5")).toString(),
                         QStringLiteral("5"));
            QCOMPARE(logs.logs()->rowCount(), gone ? 0 : 1);
        } else if (editor.startsWith(QLatin1String("work"))) {
            const int line = f.insertVolumeLine(40, QStringLiteral("Chêne"), 100);
            f.run(QStringLiteral(
                      "insert into intervention (inc, N_lot, indice_lot, id, type1, I_nom, i_date, qte_action, "
                      "unite_action, prix_unit_action, i_cout) values (9, 40, 1, ?, 'ABATTAGE', 'Martin', "
                      "'2024-03-01', 10, 'm3', 5, 50)"),
                  {line});
            f.run(QStringLiteral("insert into intervenant_possible (num_intervenant_possible, societe, "
                                 "famille_intervenant) values (1, 'Martin', 'ABATTAGE'), (2, 'Durand', 'ABATTAGE')"));
            LotWorkTab tab(f.context, 40, 1);
            const bool cost = editor == QLatin1String("work cost");
            const QString sql =
                gone               ? QStringLiteral("delete from intervention where inc=?")
                : change == "same" ? QStringLiteral("update intervention set i_date='2024-05-05' where inc=?")
                : cost             ? QStringLiteral("update intervention set prix_unit_action=6, i_cout=60 where inc=?")
                                   : QStringLiteral("update intervention set I_nom='Durand' where inc=?");
            m_script.then([&](QDialog &d) {
                auto &screen = dynamic_cast<WorkEntryDialog &>(d);
                if (cost) {
                    screen.ui()->qte_action->setText(QStringLiteral("20"));
                    outcome =
                        pressOk(screen, screen.ui()->BtnOK, [&] { return screen.ui()->qte_action->text(); }, sql, {9});
                } else {
                    screen.ui()->I_date->setDate(QDate(2024, 4, 4));
                    outcome = pressOk(screen, screen.ui()->BtnOK,
                                      [&] { return screen.ui()->I_date->date().toString(Qt::ISODate); }, sql, {9});
                }
                return screen.result();
            });
            tab.ui()->BtnModifierAbattage->click();
            if (kept)
                QCOMPARE(f.value(QStringLiteral(
                                     "select concat(I_nom, '/', date_format(i_date, '%Y-%m-%d')) from intervention"))
                             .toString(),
                         QStringLiteral("Durand/2024-04-04"));
            else if (cost)
                QCOMPARE(f.value(QStringLiteral("select concat(qte_action, '/', i_cout) from intervention")).toString(),
                         QStringLiteral("10/60"));
            // Saved: the line's felling cost is the sum of what is stored.
            if (kept)
                QCOMPARE(f.value(QStringLiteral("select abattage_cout from grume where inc=?"), {line}).toDouble(),
                         f.value(QStringLiteral("select i_cout from intervention")).toDouble());
        } else {
            auto lot = loadLot(f.db, 1);
            QVERIFY(lot);
            LotEditor screen(f.context, *lot, false);
            screen.setSave([&] { return saveLot(f.db, 1, screen.columnChanges()); });
            const QString sql = gone ? QStringLiteral("delete from coupe where inc=?")
                                : change == "same"
                                    ? QStringLiteral("update coupe set commentaire='ailleurs' where inc=?")
                                    : QStringLiteral("update coupe set date_fin='2025-01-31' where inc=?");
            screen.ui()->commentaire->setPlainText(QStringLiteral("ici"));
            outcome =
                pressOk(screen, screen.ui()->BtnOK, [&] { return screen.ui()->commentaire->toPlainText(); }, sql, {1});
            if (kept)
                QCOMPARE(f.value(QStringLiteral(
                                     "select concat(commentaire, '/', date_format(date_fin, '%Y-%m-%d')) from coupe"))
                             .toString(),
                         QStringLiteral("ici/2025-01-31"));
            else if (!gone)
                QCOMPARE(f.value(QStringLiteral("select commentaire from coupe")).toString(),
                         QStringLiteral("ailleurs"));
        }

        if (kept) {
            QVERIFY2(f.dialogs.shown().isEmpty(), qPrintable(f.dialogs.texts().join(QLatin1Char('|'))));
            QVERIFY(outcome.closed);
        } else {
            QCOMPARE(f.dialogs.lastText(), message);
            // Changed elsewhere: the editor stays open with what the user typed, to be cancelled
            // or corrected; deleted: it closes.
            QCOMPARE(outcome.closed, gone);
            if (!gone) QVERIFY(!outcome.field.isEmpty());
        }
    }

    // A text another workstation stored as null is read as empty; typing into it is no conflict.
    void nullTextsReadAsEmpty_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::newRow("owner") << QStringLiteral("owner");
        QTest::newRow("work") << QStringLiteral("work");
        QTest::newRow("log") << QStringLiteral("log");
    }

    void nullTextsReadAsEmpty()
    {
        QFETCH(QString, editor);
        Status saved;
        if (editor == QLatin1String("owner")) {
            f.run(QStringLiteral("insert into proprietaire (inc, N_lot, indice_lot, nom, pro_tel, pro_ville) values "
                                 "(3, 40, 1, 'Martin', NULL, '')"));
            const auto read = loadOwner(f.db, 3);
            QVERIFY(read);
            Owner changed = *read;
            changed.proTel = QStringLiteral("0555");
            saved = updateOwner(f.db, *read, changed);
            QCOMPARE(f.value(QStringLiteral("select pro_tel from proprietaire")).toString(), QStringLiteral("0555"));
            QVERIFY(f.value(QStringLiteral("select pro_ville from proprietaire")).isValid());
        } else if (editor == QLatin1String("work")) {
            f.run(QStringLiteral("insert into intervention (inc, N_lot, indice_lot, id, type1, I_nom, unite_action, "
                                 "i_cout) values (9, 40, 1, 1, 'ABATTAGE', NULL, '', 50)"));
            const auto read = loadWork(f.db, 9);
            QVERIFY(read);
            WorkRow changed = *read;
            changed.iNom = QStringLiteral("Durand");
            saved = updateWork(f.db, *read, changed);
            QCOMPARE(f.value(QStringLiteral("select I_nom from intervention")).toString(), QStringLiteral("Durand"));
        } else {
            f.run(QStringLiteral("insert into grume (inc, N_lot, indice_lot, descriptif, n_grume, classe, m3) values "
                                 "(5, 40, 1, 'GRUME', '12', '', 1)"));
            const auto read = loadLog(f.db, 5);
            QVERIFY(read);
            LogRecord changed = *read;
            changed.nGrume = QStringLiteral("14");
            saved = updateLog(f.db, *read, changed);
            QCOMPARE(f.value(QStringLiteral("select n_grume from grume where inc=5")).toString(), QStringLiteral("14"));
        }
        QVERIFY2(saved, qPrintable(saved.ok() ? QString() : saved.error().fullText()));
    }

    // Deleting a log an order took, alone or with "Tous", is refused with the order named.
    void deletingALogAnOrderTook_data()
    {
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("byOrderLine");
        QTest::newRow("one log, taken by its flag") << false << false;
        QTest::newRow("one log, named by an order line") << false << true;
        QTest::newRow("every log, taken by its flag") << true << false;
        QTest::newRow("every log, named by an order line") << true << true;
    }

    void deletingALogAnOrderTook()
    {
        QFETCH(bool, all);
        QFETCH(bool, byOrderLine);
        f.run(QStringLiteral("insert into grume (inc, N_lot, indice_lot, descriptif, n_grume, m3, inc_cde) values "
                             "(5, 40, 1, 'GRUME', '12', 1.2, ?), (6, 40, 1, 'GRUME', '13', 1, NULL)"),
              {byOrderLine ? QVariant(QMetaType::fromType<int>()) : QVariant(314)});
        if (byOrderLine)
            f.run(QStringLiteral("insert into liste_grume_cde (inc_cde, descriptif, n_lot, inc_grume) values "
                                 "(314, 'GRUME1', '40', 5)"));
        LotLogsDialog logs(f.context, 40, 1, QStringLiteral("Ussel"), 2.2, 0);
        logs.ui()->Tous->setChecked(all);
        logs.ui()->Grille_grumes->setCurrentIndex(logs.logs()->index(0, 1)); // log 12
        f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        logs.ui()->BtnSupprimer->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Grume prise par la commande n° 314 : suppression impossible."));
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where N_lot=40 and descriptif='GRUME'")), 2);
        // A free log is still deleted alone.
        if (!all) {
            logs.ui()->Grille_grumes->setCurrentIndex(logs.logs()->index(1, 1)); // log 13
            f.dialogs.answers({true, QStringLiteral("SUPPRIMER")});
            logs.ui()->BtnSupprimer->click();
            QCOMPARE(f.count(QStringLiteral("select count(*) from grume where N_lot=40 and descriptif='GRUME'")), 1);
        }
    }

    // The searches look for a typed backslash as itself; "%" and "_" keep their meaning.
    void searchesTakeABackslashAsItself_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("lots");
        QTest::addColumn<int>("lines");
        QTest::newRow("backslash") << QStringLiteral("a\\b") << 1 << 1;
        QTest::newRow("percent") << QStringLiteral("a%b") << 3 << 3;
        QTest::newRow("underscore") << QStringLiteral("a_b") << 1 << 1;
    }

    void searchesTakeABackslashAsItself()
    {
        QFETCH(QString, typed);
        QFETCH(int, lots);
        QFETCH(int, lines);
        f.run(QStringLiteral("delete from coupe"));
        f.run(QStringLiteral("insert into coupe (n_lot, indice_lot, coupe_fini, lieu) values "
                             "(41, 1, 'NON', ?), (42, 1, 'NON', 'aXXb'), (43, 1, 'NON', 'ab')"),
              {QStringLiteral("a\\b")});
        for (int lot : {41, 42, 43}) f.insertVolumeLine(lot, QStringLiteral("Chêne"), 10);

        LotSearch search;
        search.town = typed;
        const auto found = lotSearchQuery(search);
        QVERIFY(found);
        const auto counted = scalar(
            f.db, QStringLiteral("select count(*) from ") + found->from + QStringLiteral(" where ") + found->where,
            found->values);
        QVERIFY(counted);
        QCOMPARE(counted->toInt(), lots);

        VolumeLineSearch picker;
        picker.place = typed;
        const auto query = volumeLinePickerQuery(picker);
        QVERIFY(query);
        const auto rows = select(f.db, query->sql, query->values);
        QVERIFY(rows);
        QCOMPARE(rows->size(), lines);
    }

    // "Épicéa" and "EPICEA" are one line for the server's collation, so the rebuild makes one line.
    void rebuildMatchesNamesAsTheServer()
    {
        f.run(QStringLiteral("delete from essence"));
        f.run(QStringLiteral("insert into essence (essence, m3, T, Stere) values ('Épicéa', 1, 0.8, 1.5)"));
        f.run(QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
                             "qte, qte_defaut) values (40, 1, 'VOLUME', 'EPICEA', 'a', 'M3', 'm3', 5, 5)"));
        f.run(QStringLiteral("insert into proprietaire_essence (N_lot, indice_lot, nom, essence, qualite, unite, "
                             "unite_defaut, qte, qte_reel, qte_defaut) values "
                             "(40, 1, 'Martin', 'Épicéa', 'A', 'm3', 'm3', 12, 12, 12)"));
        QVERIFY(recomputeLot(f.db, 40, Rebuild::Yes));
        QCOMPARE(f.count(QStringLiteral("select count(*) from grume where N_lot=40 and descriptif='VOLUME'")), 1);
        QCOMPARE(f.value(QStringLiteral("select qte from grume where N_lot=40 and descriptif='VOLUME'")).toDouble(),
                 12.0);
    }
};

QTEST_MAIN(TestTwoWorkstations)
#include "tst_twoworkstations.moc"
