#include "appcontext.h"
#include "database.h"
#include "scripteddialogs.h"
#include "settings.h"
#include "settingsdialog.h"
#include "sql.h"
#include "testdb.h"
#include "ui_settingsdialog.h"

#include <QMutex>
#include <QTest>

#include <functional>
#include <thread>
#include <vector>

using namespace ravelin;

class TestSettings : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QSqlDatabase m_other; // a second workstation
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;

    QVariant value(const QString &sql) { return *scalar(m_db, sql); }

    // `start` run by two workstations at the same moment, each on a connection of its own.
    QList<Status> startTogether(const std::function<Status(QSqlDatabase)> &start)
    {
        QList<Status> outcomes(2);
        std::vector<std::thread> starts;
        for (int w = 0; w < 2; ++w) {
            starts.emplace_back([&outcomes, &start, w, database = m_db.databaseName()] {
                const QString name = QStringLiteral("start_%1").arg(w);
                {
                    auto db = openConnection(test::testServerConfig(), name, database);
                    outcomes[w] = db ? start(*db) : Status(db.error());
                    if (db) db->close();
                }
                QSqlDatabase::removeDatabase(name);
            });
        }
        for (std::thread &t : starts) t.join();
        return outcomes;
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        m_other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("other"));
        m_context.db = m_db;
        m_context.dialogs = &m_dialogs;
    }

    void init()
    {
        m_dialogs.clear();
        QVERIFY(execute(
            m_db, QStringLiteral("update perso set nom='Scierie du Val', ville='Autun', cvo=0.5, humidite_defaut=30")));
        QVERIFY(execute(m_db, QStringLiteral("update increment set n_lot=120, num_bl=3400, num_facture=980")));
    }

    void schemaLevel_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("written");
        QTest::addColumn<double>("after");
        QTest::newRow("empty") << QVariant() << true << kSchemaLevel;
        QTest::newRow("zero") << QVariant(0.0) << true << kSchemaLevel;
        QTest::newRow("first level") << QVariant(1.0) << true << kSchemaLevel;
        QTest::newRow("current") << QVariant(kSchemaLevel) << false << kSchemaLevel;
        QTest::newRow("newer") << QVariant(2.5) << false << 2.5;
    }
    void schemaLevel()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, written);
        QFETCH(double, after);
        QVERIFY(execute(m_db, QStringLiteral("update perso set version_UPDATE = ?"),
                        {stored.isValid() ? stored : QVariant(QMetaType(QMetaType::Double))}));
        QCOMPARE(*updateSchemaLevel(m_db), written);
        QCOMPARE(value(QStringLiteral("select version_UPDATE from perso")).toDouble(), after);
        QCOMPARE(*updateSchemaLevel(m_db), false); // the next start writes nothing
    }

    // A database an older program made (level 1.0, without this version's columns) gets them before
    // its level rises, the settings row keeping its values; two workstations starting together
    // both start, and a start after that changes nothing.
    void addedColumnsAtStartup()
    {
        const auto columnCount = [this] {
            QStringList names;
            for (const AddedColumn &c : addedColumns()) names << c.table + QLatin1Char('.') + c.column;
            return value(QStringLiteral("select count(*) from information_schema.columns where table_schema = "
                                        "database() and concat(table_name, '.', column_name) in ('") +
                         names.join(QStringLiteral("', '")) + QStringLiteral("')"))
                .toInt();
        };
        const auto makeOld = [this] {
            for (const AddedColumn &c : addedColumns())
                QVERIFY(
                    execute(m_db, QStringLiteral("alter table %1 drop column if exists %2").arg(c.table, c.column)));
            QVERIFY(execute(m_db, QStringLiteral("update perso set version_UPDATE = 1.0")));
        };
        QCOMPARE(columnCount(), int(addedColumns().size())); // a new database has them
        makeOld();
        QCOMPARE(columnCount(), 0);
        QVERIFY(execute(m_db, QStringLiteral("insert into liste_reglement (reglement) values ('Chèque')")));
        QCOMPARE(*updateSchemaLevel(m_db), true);
        QCOMPARE(columnCount(), int(addedColumns().size()));
        QCOMPARE(value(QStringLiteral("select facture_electronique from perso")).toString(), QStringLiteral("NON"));
        QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Scierie du Val"));
        QVERIFY(value(QStringLiteral("select code_paiement from liste_reglement where reglement='Chèque'")).isNull());
        QCOMPARE(*updateSchemaLevel(m_db), false);
        QVERIFY(addMissingColumns(m_db).ok()); // all there: nothing to do, no error

        // Two workstations starting at the same moment on an old database, three times over.
        for (int round = 0; round < 3; ++round) {
            makeOld();
            const QList<Status> outcomes = startTogether([](QSqlDatabase db) -> Status {
                auto raised = updateSchemaLevel(db);
                return raised ? Status() : Status(raised.error());
            });
            for (const Status &s : outcomes) QVERIFY2(s.ok(), qPrintable(s.ok() ? QString() : s.error().fullText()));
            QCOMPARE(columnCount(), int(addedColumns().size()));
            QCOMPARE(value(QStringLiteral("select version_UPDATE from perso")).toDouble(), kSchemaLevel);
        }
        QVERIFY(execute(m_db, QStringLiteral("delete from liste_reglement where reglement='Chèque'")));
    }

    // The e-invoice tab: the switch and the bank account, checked before anything is written.
    void eInvoiceTab_data()
    {
        QTest::addColumn<QString>("iban");
        QTest::addColumn<QString>("bic");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("valid, with spaces") << "FR76 3000 6000 0112 3456 7890 189"
                                            << "AGRIFRPP"
                                            << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("check digits wrong") << "FR76 3000 6000 0112 3456 7890 188"
                                            << "AGRIFRPP"
                                            << "IBAN invalide : FR76 3000 6000 0112 3456 7890 188";
        QTest::newRow("BIC too short") << "DE89370400440532013000"
                                       << "AGRIFR"
                                       << "BIC invalide : AGRIFR";
    }
    void eInvoiceTab()
    {
        QFETCH(QString, iban);
        QFETCH(QString, bic);
        QFETCH(QString, refusal);
        QVERIFY(execute(m_db, QStringLiteral("update perso set facture_electronique='NON', iban=null, bic=null")));
        SettingsDialog screen(m_context);
        QCOMPARE(screen.ui()->Onglets->tabText(screen.ui()->Onglets->indexOf(screen.ui()->Tab_facture_electronique)),
                 QStringLiteral("Facture électronique"));
        QVERIFY(!screen.ui()->facture_electronique->isChecked());
        screen.ui()->facture_electronique->setChecked(true);
        screen.ui()->iban->setText(iban);
        screen.ui()->bic->setText(bic);
        screen.ui()->BtnOK->click();
        if (refusal.isEmpty()) {
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(screen.result(), int(QDialog::Accepted));
            QCOMPARE(value(QStringLiteral("select facture_electronique from perso")).toString(), QStringLiteral("OUI"));
            QCOMPARE(value(QStringLiteral("select iban from perso")).toString(), iban);
            QCOMPARE(value(QStringLiteral("select bic from perso")).toString(), bic);
        } else {
            QCOMPARE(m_dialogs.texts(), QStringList{refusal});
            QVERIFY(screen.result() != QDialog::Accepted);
            QCOMPARE(screen.ui()->Onglets->currentWidget(), screen.ui()->Tab_facture_electronique);
            QCOMPARE(value(QStringLiteral("select facture_electronique from perso")).toString(), QStringLiteral("NON"));
        }
    }

    // A database made before the weighing places' index gets it at start-up, once.
    void missingIndexesAreAdded()
    {
        auto present = [&] {
            return value(QStringLiteral("select count(*) from information_schema.statistics where table_schema = "
                                        "database() and table_name = 'livraison' and index_name = "
                                        "'idx_livraison_lieu_pesage'"))
                .toInt();
        };
        QVERIFY(present() > 0);
        QCOMPARE(*addMissingIndexes(m_db), QStringList());
        QVERIFY(execute(m_db, QStringLiteral("alter table livraison drop index idx_livraison_lieu_pesage")));
        QCOMPARE(present(), 0);
        QCOMPARE(*addMissingIndexes(m_db), QStringList{QStringLiteral("idx_livraison_lieu_pesage")});
        QCOMPARE(present(), 2); // both its columns
        QCOMPARE(*addMissingIndexes(m_db), QStringList());

        // two workstations starting at once: one adds it, the other finds it added, both start
        QVERIFY(execute(m_db, QStringLiteral("alter table livraison drop index idx_livraison_lieu_pesage")));
        QStringList added;
        QMutex addedLock;
        const QList<Status> outcomes = startTogether([&](QSqlDatabase db) -> Status {
            auto names = addMissingIndexes(db);
            if (!names) return names.error();
            QMutexLocker locked(&addedLock);
            added += *names;
            return {};
        });
        for (const Status &s : outcomes) QVERIFY2(s.ok(), qPrintable(s.ok() ? QString() : s.error().fullText()));
        QCOMPARE(added, QStringList{QStringLiteral("idx_livraison_lieu_pesage")});
        QCOMPARE(present(), 2);
    }

    void screenShowsBothRows()
    {
        SettingsDialog screen(m_context);
        QVERIFY(screen.loaded());
        QCOMPARE(screen.ui()->Onglets->currentWidget(), screen.ui()->Tab_adresse);
        QCOMPARE(screen.ui()->nom->text(), QStringLiteral("Scierie du Val"));
        QCOMPARE(screen.ui()->cvo->text(), QStringLiteral("0,5"));
        QCOMPARE(screen.ui()->n_lot->text(), QStringLiteral("120"));
        QVERIFY(screen.ui()->unite_defaut->isReadOnly());
        QVERIFY(!screen.ui()->unite_defaut->isEnabled());
        QVERIFY(screen.ui()->cout_transport->isHidden());
        QCOMPARE(screen.ui()->Onglets->tabText(2), QStringLiteral("Incrèments"));
    }

    // The three length checks, in their order; the screen stays open and nothing is written.
    void counterLengthChecks_data()
    {
        QTest::addColumn<QString>("nLot");
        QTest::addColumn<QString>("numBl");
        QTest::addColumn<QString>("numFacture");
        QTest::addColumn<QString>("message");
        QTest::newRow("eight digits pass") << "12345678"
                                           << "3400"
                                           << "980"
                                           << "";
        QTest::newRow("lot first") << "123456789"
                                   << "123456789"
                                   << "980"
                                   << "N° de LOT trop long, maxi 8 chiffres";
        QTest::newRow("then BL") << "120"
                                 << "123456789"
                                 << "123456789"
                                 << "N° de BL trop long, maxi 8 chiffres";
        QTest::newRow("then invoice") << "120"
                                      << "3400"
                                      << "123456789"
                                      << "N° de facture trop long, maxi 8 chiffres";
    }
    void counterLengthChecks()
    {
        QFETCH(QString, nLot);
        QFETCH(QString, numBl);
        QFETCH(QString, numFacture);
        QFETCH(QString, message);
        SettingsDialog screen(m_context);
        screen.ui()->n_lot->setText(nLot);
        screen.ui()->num_bl->setText(numBl);
        screen.ui()->num_facture->setText(numFacture);
        screen.ui()->nom->setText(QStringLiteral("Autre nom"));
        screen.ui()->BtnOK->click();
        if (message.isEmpty()) {
            QCOMPARE(screen.result(), int(QDialog::Accepted));
            QCOMPARE(value(QStringLiteral("select n_lot from increment")).toString(), nLot);
            QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Autre nom"));
        } else {
            QCOMPARE(m_dialogs.texts(), QStringList{message});
            QVERIFY(screen.result() != QDialog::Accepted);
            QCOMPARE(value(QStringLiteral("select n_lot from increment")).toInt(), 120);
            QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Scierie du Val"));
        }
    }

    // Only what the user changed is written: another workstation's change to another field stays.
    void writesOnlyChangedFields()
    {
        SettingsDialog screen(m_context);
        QVERIFY(execute(m_db, QStringLiteral("update perso set ville='Beaune'")));
        QVERIFY(execute(m_db, QStringLiteral("update increment set num_facture=981")));
        screen.ui()->cvo->setText(QStringLiteral("0,75"));
        screen.ui()->n_lot->setText(QStringLiteral("200"));
        screen.ui()->BtnOK->click();
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        QCOMPARE(value(QStringLiteral("select cvo from perso")).toDouble(), 0.75);
        QCOMPARE(value(QStringLiteral("select ville from perso")).toString(), QStringLiteral("Beaune"));
        QCOMPARE(value(QStringLiteral("select n_lot from increment")).toInt(), 200);
        QCOMPARE(value(QStringLiteral("select num_facture from increment")).toInt(), 981);
    }

    void counterMovedByAnotherWorkstation()
    {
        SettingsDialog screen(m_context);
        QVERIFY(execute(m_db, QStringLiteral("update increment set num_bl=3405")));
        screen.ui()->num_bl->setText(QStringLiteral("5000"));
        screen.ui()->nom->setText(QStringLiteral("Nouveau nom"));
        screen.ui()->BtnOK->click();
        QVERIFY(screen.result() != QDialog::Accepted);
        QVERIFY(m_dialogs.lastText().contains(QStringLiteral("3405")));
        QVERIFY(m_dialogs.lastText().contains(QStringLiteral("num_bl")));
        QCOMPARE(value(QStringLiteral("select num_bl from increment")).toInt(), 3405);
        // perso and increment stand or fall together
        QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Scierie du Val"));
    }

    // After the counter refusal the screen shows the counter's current value, and "OK" again
    // writes the rest of what the user typed.
    void counterRefusalThenSecondOk()
    {
        SettingsDialog screen(m_context);
        QVERIFY(execute(m_db, QStringLiteral("update increment set num_bl=3405")));
        screen.ui()->num_bl->setText(QStringLiteral("5000"));
        screen.ui()->nom->setText(QStringLiteral("Nouveau nom"));
        screen.ui()->BtnOK->click();
        QVERIFY(screen.result() != QDialog::Accepted);
        QCOMPARE(screen.ui()->num_bl->text(), QStringLiteral("3405"));
        QCOMPARE(screen.ui()->nom->text(), QStringLiteral("Nouveau nom"));
        m_dialogs.clear();
        screen.ui()->BtnOK->click();
        QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        QCOMPARE(value(QStringLiteral("select num_bl from increment")).toInt(), 3405);
        QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Nouveau nom"));
    }

    // Two workstations on the settings row: another field changed meanwhile is kept, the same
    // field is refused naming it (nothing written, the screen keeps the input), and "OK" again
    // then writes the user's value.
    void twoWorkstations_data()
    {
        QTest::addColumn<QString>("otherChange");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("villeAfter");
        QTest::newRow("other field") << "update perso set ville='Beaune'"
                                     << ""
                                     << "Beaune";
        QTest::newRow("same field") << "update perso set nom='Scierie du Mont'"
                                    << "Cet enregistrement a été modifié sur un autre poste : « Nom de votre société »"
                                    << "Autun";
        QTest::newRow("same number field") << "update perso set cvo=0.6, ville='Dijon'"
                                           << ""
                                           << "Dijon";
    }
    void twoWorkstations()
    {
        QFETCH(QString, otherChange);
        QFETCH(QString, refusal);
        QFETCH(QString, villeAfter);
        SettingsDialog screen(m_context);
        screen.ui()->nom->setText(QStringLiteral("Nouveau nom"));
        QVERIFY(execute(m_other, otherChange));
        screen.ui()->BtnOK->click();
        if (refusal.isEmpty()) {
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(screen.result(), int(QDialog::Accepted));
            QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Nouveau nom"));
        } else {
            QCOMPARE(m_dialogs.texts(), QStringList{refusal});
            QVERIFY(screen.result() != QDialog::Accepted);
            QCOMPARE(screen.ui()->nom->text(), QStringLiteral("Nouveau nom"));
            QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Scierie du Mont"));
            m_dialogs.clear();
            screen.ui()->BtnOK->click();
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(screen.result(), int(QDialog::Accepted));
            QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Nouveau nom"));
        }
        QCOMPARE(value(QStringLiteral("select ville from perso")).toString(), villeAfter);
    }

    void badNumberAndCancel()
    {
        {
            SettingsDialog screen(m_context);
            screen.ui()->humidite_defaut->setText(QStringLiteral("trente"));
            screen.ui()->BtnOK->click();
            QVERIFY(screen.result() != QDialog::Accepted);
            QCOMPARE(m_dialogs.lastText(), QStringLiteral("Valeur numérique invalide : Taux d'humidité par defaut"));
        }
        {
            SettingsDialog screen(m_context);
            screen.ui()->nom->setText(QStringLiteral("Annulé"));
            screen.ui()->n_lot->setText(QStringLiteral("999"));
            screen.ui()->BtnAnnuler->click();
            QCOMPARE(screen.result(), int(QDialog::Rejected));
        }
        QCOMPARE(value(QStringLiteral("select nom from perso")).toString(), QStringLiteral("Scierie du Val"));
        QCOMPARE(value(QStringLiteral("select n_lot from increment")).toInt(), 120);
        QCOMPARE(value(QStringLiteral("select humidite_defaut from perso")).toDouble(), 30.0);
    }

    void decimalKeyInNumericFields()
    {
        SettingsDialog screen(m_context);
        screen.ui()->coef_camion->clear();
        QTest::keyClicks(screen.ui()->coef_camion, QStringLiteral("12.5"));
        QCOMPARE(screen.ui()->coef_camion->text(), QStringLiteral("12,5"));
        screen.ui()->BtnOK->click();
        QCOMPARE(value(QStringLiteral("select coef_camion from perso")).toDouble(), 12.5);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
