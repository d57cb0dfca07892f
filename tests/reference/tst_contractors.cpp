#include "appcontext.h"
#include "contacteditordialog.h"
#include "contractoreditordialog.h"
#include "contractors.h"
#include "contractordirectorytab.h"
#include "counters.h"
#include "database.h"
#include "formats.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "modal.h"
#include "pagedquerymodel.h"
#include "reportpreview.h"
#include "scripteddialogs.h"
#include "sql.h"
#include "testdb.h"
#include "ui_contacteditordialog.h"
#include "ui_contractoreditordialog.h"
#include "ui_contractordirectorytab.h"

#include <QAction>
#include <QApplication>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>

#include <atomic>
#include <memory>
#include <optional>

using namespace ravelin;

Q_DECLARE_METATYPE(ContractorSort)

class TestContractors : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QSqlDatabase m_other; // a second workstation
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;
    const QDate m_start{2026, 3, 1};
    const QDate m_end{2026, 3, 31};

    int count(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        auto v = scalar(m_db, sql, values);
        if (!v) qWarning() << v.error().fullText();
        return v ? v->toInt() : -1;
    }
    QString text(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        auto v = scalar(m_db, sql, values);
        return v ? v->toString() : QStringLiteral("<error>");
    }
    void run(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        auto done = execute(m_db, sql, values);
        QVERIFY2(done, qPrintable(done ? QString() : done.error().fullText() + QLatin1Char('\n') + sql));
    }
    static QStringList visibleCaptions(QTableView *view, const GridModel *grid)
    {
        QStringList shown;
        for (int visual = 0; visual < grid->columnCount(); ++visual) {
            const int logical = view->horizontalHeader()->logicalIndex(visual);
            if (!view->isColumnHidden(logical))
                shown << grid->headerData(logical, Qt::Horizontal, Qt::DisplayRole).toString();
        }
        return shown;
    }
    // Every row of a list, read to its end as the grids page it.
    QList<QSqlRecord> listed(const PagedQuery &list)
    {
        PagedReader reader(m_db, list);
        QList<QSqlRecord> rows;
        while (!reader.atEnd()) {
            auto page = reader.next();
            if (!page) {
                qWarning() << page.error().fullText();
                break;
            }
            for (const QVector<QVariant> &values : *page) {
                QSqlRecord row = reader.fields();
                for (int c = 0; c < row.count(); ++c) row.setValue(c, values.at(c));
                rows << row;
            }
        }
        return rows;
    }
    static QStringList column(const GridModel *grid, const QString &name)
    {
        QStringList values;
        for (int row = 0; row < grid->rowCount(); ++row) values << grid->raw(row, name).toString();
        return values;
    }
    // Closes every screen the tab would open: the test says which it expects.
    static int refuseScreens(QDialog &)
    {
        QTest::qFail("no screen should open", __FILE__, __LINE__);
        return QDialog::Rejected;
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
        m_context.rights = Rights({}, masterUser());
        setModalRunner({});
        for (const char *table : {"intervenant_possible", "contact", "famille_intervenant", "liste_action_cde",
                                  "liste_action_liv", "liste_action_transfert", "intervention"})
            run(QStringLiteral("delete from %1").arg(QLatin1String(table)));
        run(QStringLiteral("update increment set num_intervenant_possible=100, num_contact=50"));
        run(QStringLiteral("insert into famille_intervenant values ('ABATTAGE'), ('DEBARDAGE'), ('BROYAGE'), "
                           "('TRANSPORT'), ('6-TERMINE')"));
        run(QStringLiteral(
            "insert into intervenant_possible (num_intervenant_possible, societe, famille_intervenant, cout_tonne, "
            "cout_heure, cout_volume, cout_surface, cout_stere, commentaire, pefc) values "
            "(1, 'Abattage Martin', 'ABATTAGE', 0, 55, 11.5, NULL, NULL, 'Feuillus', '10-31'),"
            "(10, 'Zeta Transports', 'TRANSPORT', 9.2, 85, 7, 0, 0, NULL, NULL),"
            "(21, 'Broyage Nivernais', 'BROYAGE', 6.5, 180, 0, 0, 0, NULL, NULL),"
            "(100, 'Débardage Roux', 'DEBARDAGE', 8, 75, 8, 0, 9, NULL, NULL),"
            "(2, 'Camions Perrin', 'TRANSPORT', 8.5, 80, 9.5, 0, 0, NULL, NULL),"
            "(0, 'Fantôme', 'RIEN', 0, 0, 0, 0, 0, NULL, NULL),"
            "(-3, 'Négatif', 'ABATTAGE', 0, 0, 0, 0, 0, NULL, NULL),"
            "(5, 'ETF_B', 'ABATTAGE', 0, 50, 0, 0, 0, NULL, NULL),"
            "(6, 'ETFXB', 'ABATTAGE', 0, 50, 0, 0, 0, NULL, NULL)"));
        // Contacts 2 and 3 share a number, as rows written by an older program may.
        run(QStringLiteral(
            "insert into contact (inc, num_contact, num_intervenant_possible, civilite, Nom, prenom, tel, portable, "
            "email, fonction, Divers, password, login) values "
            "(1, 1, 1, 'M.', 'Martin', 'Paul', '0386', '0601', 'paul@martin.fr', 'Gérant', 'Le matin', 'secret', 'pm'),"
            "(2, 2, 1, 'Mme', 'Martin', 'Anne', NULL, NULL, NULL, 'Comptable', NULL, NULL, NULL),"
            "(3, 2, 1, 'M.', 'Albert', 'Jean', '0385', '0602', 'jean@albert.fr', 'Chauffeur', 'Permis PL', '', NULL),"
            "(4, 4, 2, 'M.', 'Perrin', 'Luc', NULL, '0603', NULL, NULL, NULL, 'clef', NULL)"));
    }

    void cleanup() { setModalRunner({}); }

    void directorySearch_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("family");
        QTest::addColumn<ContractorSort>("sort");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("everyone above 0, by company") << ""
                                                      << "" << ContractorSort::BySociete << "num_intervenant_possible"
                                                      << QStringList{"1", "21", "2", "100", "5", "6", "10"};
        QTest::newRow("number as a substring")
            << "1"
            << "" << ContractorSort::BySociete << "num_intervenant_possible" << QStringList{"1", "21", "100", "10"};
        QTest::newRow("family part") << ""
                                     << "TRANS" << ContractorSort::BySociete << "societe"
                                     << QStringList{"Camions Perrin", "Zeta Transports"};
        QTest::newRow("by family") << ""
                                   << "" << ContractorSort::ByFamille << "famille_intervenant"
                                   << QStringList{"ABATTAGE",  "ABATTAGE",  "ABATTAGE", "BROYAGE",
                                                  "DEBARDAGE", "TRANSPORT", "TRANSPORT"};
        QTest::newRow("number and family")
            << "1"
            << "BROY" << ContractorSort::BySociete << "societe" << QStringList{"Broyage Nivernais"};
        QTest::newRow("zero never listed")
            << "0"
            << "" << ContractorSort::BySociete << "num_intervenant_possible" << QStringList{"100", "10"};
        // A backslash is searched for as itself; "_" keeps its meaning.
        QTest::newRow("backslash in the family") << ""
                                                 << "\\B" << ContractorSort::BySociete << "societe" << QStringList{};
        QTest::newRow("underscore in the family") << ""
                                                  << "TRANS_ORT" << ContractorSort::BySociete << "societe"
                                                  << QStringList{"Camions Perrin", "Zeta Transports"};
    }
    void directorySearch()
    {
        QFETCH(QString, number);
        QFETCH(QString, family);
        QFETCH(ContractorSort, sort);
        QFETCH(QString, shown);
        QFETCH(QStringList, expected);
        QStringList found;
        for (const QSqlRecord &row : listed(searchContractors(number, family, sort)))
            found << row.value(shown).toString();
        QCOMPARE(found, expected);

        // The tab shows the same with its filters, and counts them.
        ContractorDirectoryTab tab(m_context);
        tab.ui()->Intervenant->setText(number);
        tab.ui()->Famille->setText(family);
        if (sort == ContractorSort::ByFamille) tab.ui()->Trie_famille->click(); // the sort choice searches
        else tab.ui()->rech->click();
        QVERIFY(tab.searched());
        QCOMPARE(column(tab.contractorGrid(), shown), expected);
        QCOMPARE(tab.ui()->nb->text(), QStringLiteral("( nb : %1 )").arg(expected.size()));
        QVERIFY(m_dialogs.shown().isEmpty());
    }

    void directoryGridAndQuoteRefusal()
    {
        ContractorDirectoryTab tab(m_context);
        QCOMPARE(tab.ui()->nb->text(), QStringLiteral("( nb : 0 )"));
        QCOMPARE(tab.ui()->Date_debut->date(), QDate::currentDate().addDays(-30));
        QCOMPARE(tab.ui()->Date_fin->date(), QDate::currentDate());
        tab.search();
        QCOMPARE(visibleCaptions(tab.ui()->Grille_intervenant, tab.contractorGrid()),
                 (QStringList{"num_intervenant_possible", "societe", "famille intervenant", "cout / tonne",
                              "cout / heure", "cout / Are", "coût / m3", "coût / stere"}));
        GridModel *grid = tab.contractorGrid();
        QCOMPARE(grid->index(0, grid->column(QStringLiteral("cout_volume"))).data().toString(),
                 QStringLiteral("11,50"));
        QCOMPARE(grid->index(0, grid->column(QStringLiteral("num_intervenant_possible")))
                     .data(Qt::TextAlignmentRole)
                     .value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));

        tab.locateContractor(21);
        tab.ui()->Intervenant->setText(QStringLiteral("1'"));
        tab.ui()->rech->click();
        QCOMPARE(m_dialogs.texts(), QStringList{QStringLiteral("Saisie incorrecte, pas de \" ' \" ")});
        QCOMPARE(tab.contractorCount(), 7);

        // A refresh keeps the current contractor and shows rows written meanwhile.
        tab.ui()->Intervenant->clear();
        run(QStringLiteral("insert into intervenant_possible (num_intervenant_possible, societe, famille_intervenant) "
                           "values (50, 'Aaa Nouveau', 'ABATTAGE')"));
        tab.refresh();
        QCOMPARE(tab.contractorCount(), 8);
        QCOMPARE(tab.currentContractorNumber(), 21);
    }

    void contactsFollowTheSettledSelection()
    {
        ContractorDirectoryTab tab(m_context);
        tab.search();
        QTRY_COMPARE(tab.contactLoads(), 1);
        QCOMPARE(tab.ui()->ProgressBar_intervenant->maximum(), 30);
        QTRY_COMPARE(tab.ui()->ProgressBar_intervenant->value(), 30);

        // Moving quickly through the directory loads nothing until the selection settles.
        for (int number : {21, 2, 100, 1}) {
            QVERIFY(tab.locateContractor(number));
            QVERIFY(tab.contactsTimer()->isActive());
            QCOMPARE(tab.ui()->ProgressBar_intervenant->value(), 0);
        }
        QCOMPARE(tab.contactLoads(), 1);
        QCOMPARE(tab.contactsTimer()->interval(), 50);
        QVERIFY(tab.contactsTimer()->isSingleShot());
        QTRY_COMPARE(tab.contactLoads(), 2);

        QCOMPARE(column(tab.contactGrid(), QStringLiteral("prenom")), (QStringList{"Jean", "Anne", "Paul"}));
        QCOMPARE(visibleCaptions(tab.ui()->Grille_contact, tab.contactGrid()),
                 (QStringList{"civilite", "Nom", "prenom", "portable", "Tel", "Fonction"}));
        QCOMPARE(tab.ui()->Contact_nom->text(), QStringLiteral("Albert"));
        QCOMPARE(tab.ui()->Contact_email->text(), QStringLiteral("jean@albert.fr"));
        QCOMPARE(tab.ui()->Contact_divers->text(), QStringLiteral("Permis PL"));
        tab.setCurrentContactRow(2);
        QCOMPARE(tab.ui()->Contact_fonction->text(), QStringLiteral("Gérant"));
        QCOMPARE(tab.ui()->Contact_tel->text(), QStringLiteral("0386"));
    }

    void createContractorTakesTheNextNumber()
    {
        ContractorDirectoryTab tab(m_context);
        tab.search();
        setModalRunner([&](QDialog &dialog) {
            auto *editor = qobject_cast<ContractorEditorDialog *>(&dialog);
            if (!editor) return int(QDialog::Rejected);
            auto *ui = editor->ui();
            [&] {
                QCOMPARE(ui->famille_intervenant->count(), 4);
                QCOMPARE(ui->famille_intervenant->findText(QStringLiteral("6-TERMINE")), -1);
                QCOMPARE(ui->famille_intervenant->maxVisibleItems(), 15);
                QVERIFY(ui->societe->isEnabled());
            }();
            ui->societe->setText(QStringLiteral("Elagage d'Autun"));
            ui->famille_intervenant->setCurrentIndex(ui->famille_intervenant->findText(QStringLiteral("DEBARDAGE")));
            QTest::keyClicks(ui->cout_heure, QStringLiteral("62.5"));
            ui->cout_stere->setText(QStringLiteral("14"));
            ui->commentaire->setPlainText(QStringLiteral("Nacelle 20 m"));
            ui->pefc->setText(QStringLiteral("10-31-2299"));
            ui->BtnOK->click();
            return editor->result();
        });
        tab.ui()->BtnCreer_intervenant->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(count(QStringLiteral("select num_intervenant_possible from increment")), 101);
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from intervenant_possible where num_intervenant_possible=101 "
                     "and societe='Elagage d''Autun' and famille_intervenant='DEBARDAGE' and cout_heure=62.5 "
                     "and cout_stere=14 and cout_tonne is null and commentaire='Nacelle 20 m' "
                     "and pefc='10-31-2299'")),
                 1);
        QCOMPARE(tab.currentContractorNumber(), 101);
        QCOMPARE(tab.ui()->nb->text(), QStringLiteral("( nb : 8 )"));
    }

    void createContractorRefusals_data()
    {
        QTest::addColumn<QString>("societe");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("message");
        QTest::newRow("no company") << ""
                                    << "ABATTAGE"
                                    << "Vous devez saisir une société";
        QTest::newRow("blank company") << "  "
                                       << "ABATTAGE"
                                       << "Vous devez saisir une société";
        QTest::newRow("no family") << "Nouvelle"
                                   << ""
                                   << "Vous devez saisir une famille";
        QTest::newRow("existing name") << "Camions Perrin"
                                       << "TRANSPORT"
                                       << "Nom de societe dejà existant !!!";
        QTest::newRow("existing name, other case") << "camions perrin"
                                                   << "TRANSPORT"
                                                   << "Nom de societe dejà existant !!!";
        QTest::newRow("name of a contractor numbered 0") << "Fantôme"
                                                         << "TRANSPORT"
                                                         << "Nom de societe dejà existant !!!";
    }
    void createContractorRefusals()
    {
        QFETCH(QString, societe);
        QFETCH(QString, family);
        QFETCH(QString, message);
        ContractorEditorDialog editor(m_context, Contractor{});
        editor.ui()->societe->setText(societe);
        editor.ui()->famille_intervenant->setCurrentIndex(editor.ui()->famille_intervenant->findText(family));
        editor.ui()->BtnOK->click();
        QCOMPARE(m_dialogs.lastText(), message);
        QVERIFY(editor.result() != QDialog::Accepted); // still open with what was typed
        QCOMPARE(editor.ui()->societe->text(), societe);
        QCOMPARE(count(QStringLiteral("select num_intervenant_possible from increment")), 100);
        QCOMPARE(count(QStringLiteral("select count(*) from intervenant_possible")), 9);
    }

    // Another workstation is between its name test and its commit: this one waits for it, then
    // finds the name taken, instead of writing a second contractor of that name.
    void createContractorWaitsForAnotherWorkstation()
    {
        const QString database = m_db.databaseName();
        {
            QSqlDatabase other = test::openAnotherConnection(database, QStringLiteral("other_workstation"));
            QVERIFY(other.isOpen());
            Transaction tx(other);
            QVERIFY(tx.started());
            QSqlQuery lock(other);
            QVERIFY(exec(lock, QStringLiteral("select num_intervenant_possible from increment for update")));
            auto number = takeNextCounter(other, Counter::NumIntervenantPossible);
            QVERIFY(number);
            QVERIFY(execute(other,
                            QStringLiteral("insert into intervenant_possible (num_intervenant_possible, societe, "
                                           "famille_intervenant) values (?, 'Rival', 'ABATTAGE')"),
                            {*number}));

            std::atomic<int> connectionId{0};
            std::optional<Result<int>> outcome;
            std::unique_ptr<QThread> thread(QThread::create([&] {
                {
                    auto mine = openConnection(test::testServerConfig(), QStringLiteral("this_workstation"), database);
                    if (!mine) {
                        outcome = Result<int>(mine.error());
                        connectionId = -1;
                        return;
                    }
                    connectionId = scalar(*mine, QStringLiteral("select connection_id()"))->toInt();
                    Contractor c;
                    c.societe = QStringLiteral("Rival");
                    c.famille = QStringLiteral("BROYAGE");
                    outcome = createContractor(*mine, c);
                    mine->close();
                }
                QSqlDatabase::removeDatabase(QStringLiteral("this_workstation"));
            }));
            // Whatever fails below, the other workstation ends its transaction and the thread ends.
            auto finish = qScopeGuard([&] {
                (void)tx.commit(); // after the commit below this does nothing; its outcome is checked there
                thread->wait();
            });
            thread->start();
            QTRY_VERIFY(connectionId != 0);
            QVERIFY(connectionId > 0);
            QTRY_COMPARE(count(QStringLiteral("select count(*) from information_schema.innodb_trx "
                                              "where trx_state='LOCK WAIT' and trx_mysql_thread_id=?"),
                               {int(connectionId)}),
                         1);
            QVERIFY(tx.commit());
            QVERIFY(thread->wait(20000));
            QVERIFY(outcome.has_value());
            QVERIFY(!outcome->ok());
            QCOMPARE(outcome->error().message, companyNameExistsMessage());
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other_workstation"));
        QCOMPARE(count(QStringLiteral("select count(*) from intervenant_possible where societe='Rival'")), 1);
        QCOMPARE(count(QStringLiteral("select num_intervenant_possible from increment")), 101);

        // Two creations one after the other never share a number.
        Contractor first{0, QStringLiteral("Premier"), QStringLiteral("ABATTAGE")};
        Contractor second{0, QStringLiteral("Second"), QStringLiteral("ABATTAGE")};
        auto a = createContractor(m_db, first);
        auto b = createContractor(m_db, second);
        QVERIFY(a && b);
        QCOMPARE(*a, 102);
        QCOMPARE(*b, 103);
    }

    void modifyContractorKeepsTheName()
    {
        ContractorDirectoryTab tab(m_context);
        QSignalSpy timed(&tab, &ContractorDirectoryTab::preparationTimed);
        tab.search();
        QVERIFY(tab.locateContractor(1));
        setModalRunner([&](QDialog &dialog) {
            auto *editor = qobject_cast<ContractorEditorDialog *>(&dialog);
            if (!editor) return int(QDialog::Rejected);
            auto *ui = editor->ui();
            [&] {
                QVERIFY(!ui->societe->isEnabled());
                QCOMPARE(ui->societe->text(), QStringLiteral("Abattage Martin"));
                QCOMPARE(ui->famille_intervenant->currentText(), QStringLiteral("ABATTAGE"));
                QCOMPARE(ui->cout_volume->text(), QStringLiteral("11,5"));
                QCOMPARE(ui->cout_surface->text(), QString());
                QCOMPARE(ui->commentaire->toPlainText(), QStringLiteral("Feuillus"));
            }();
            ui->societe->setText(QStringLiteral("Autre nom")); // disabled: not written
            ui->cout_heure->setText(QStringLiteral("60,25"));
            ui->cout_volume->clear();
            ui->famille_intervenant->setCurrentIndex(ui->famille_intervenant->findText(QStringLiteral("BROYAGE")));
            ui->BtnOK->click();
            return editor->result();
        });
        tab.ui()->Grille_intervenant->doubleClicked(tab.ui()->Grille_intervenant->currentIndex());
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(
            count(QStringLiteral("select count(*) from intervenant_possible where num_intervenant_possible=1 "
                                 "and societe='Abattage Martin' and famille_intervenant='BROYAGE' and cout_heure=60.25 "
                                 "and cout_volume is null and pefc='10-31'")),
            1);
        QCOMPARE(timed.count(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d,\\d\\d\\d seconde$"))
                    .match(timed.first().first().toString())
                    .hasMatch());
        QCOMPARE(tab.currentContractorNumber(), 1);
    }

    void deleteContractorWithItsContacts_data()
    {
        QTest::addColumn<QVariantList>("answers");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("no") << QVariantList{false} << false;
        QTest::newRow("yes, SUPPRIMER") << QVariantList{true, QStringLiteral("SUPPRIMER")} << true;
        QTest::newRow("yes, other text") << QVariantList{true, QStringLiteral("SUPPRIME")} << false;
    }
    void deleteContractorWithItsContacts()
    {
        QFETCH(QVariantList, answers);
        QFETCH(bool, deleted);
        run(QStringLiteral(
            "insert into intervention (I_nom, i_date, qte_action) values ('Abattage Martin', '2026-03-02', 3)"));
        ContractorDirectoryTab tab(m_context);
        tab.search();
        QVERIFY(tab.locateContractor(1));
        tab.loadContacts();
        m_dialogs.answers(answers);
        tab.ui()->BtnSupprimer_intervenant->click();
        QCOMPARE(m_dialogs.shown().first().text, QStringLiteral("Voulez vous supprimer l'intervenant ?"));
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from intervenant_possible where num_intervenant_possible=1")),
                 deleted ? 0 : 1);
        QCOMPARE(count(QStringLiteral("select count(*) from contact where num_intervenant_possible=1")),
                 deleted ? 0 : 3);
        QCOMPARE(count(QStringLiteral("select count(*) from contact where num_intervenant_possible=2")), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from intervention where I_nom='Abattage Martin'")), 1);
        QCOMPARE(tab.contractorCount(), deleted ? 6 : 7);
        // The first contractor left, Broyage Nivernais, has no contact.
        QCOMPARE(tab.contactCount(), deleted ? 0 : 3);
    }

    void createContactTakesTheNextNumber()
    {
        ContractorDirectoryTab tab(m_context);
        tab.search();
        QVERIFY(tab.locateContractor(2));
        tab.loadContacts();
        QCOMPARE(tab.contactCount(), 1);
        setModalRunner([&](QDialog &dialog) {
            auto *editor = qobject_cast<ContactEditorDialog *>(&dialog);
            if (!editor) return int(QDialog::Rejected);
            auto *ui = editor->ui();
            [&] {
                QCOMPARE(ui->civilite->count(), 3);
                QCOMPARE(ui->civilite->itemText(2), QStringLiteral("Mlle"));
            }();
            ui->civilite->setCurrentIndex(1);
            ui->nom->setText(QStringLiteral("Durand"));
            ui->prenom->setText(QStringLiteral("Léa"));
            ui->email->setText(QStringLiteral("lea@perrin.fr"));
            ui->Divers->setPlainText(QStringLiteral("Planning"));
            ui->BtnOK->click();
            return editor->result();
        });
        tab.ui()->BtnCreer_contact->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(count(QStringLiteral("select num_contact from increment")), 51);
        QCOMPARE(
            count(QStringLiteral("select count(*) from contact where num_contact=51 and num_intervenant_possible=2 "
                                 "and civilite='Mme' and Nom='Durand' and prenom='Léa' and Divers='Planning' "
                                 "and password is null")),
            1);
        QCOMPARE(tab.contactCount(), 2);
        QCOMPARE(tab.ui()->Contact_nom->text(), QStringLiteral("Durand"));

        // A contact without a name is refused and the counter stays.
        ContactEditorDialog unnamed(m_context, Contact{0, 0, 2});
        unnamed.ui()->BtnOK->click();
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Vous devez saisir un nom"));
        QVERIFY(unnamed.result() != QDialog::Accepted);
        QCOMPARE(count(QStringLiteral("select num_contact from increment")), 51);
    }

    void contactPasswordRule_data()
    {
        QTest::addColumn<int>("inc"); // 0: a new contact
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("new, empty while others are empty") << 0 << "" << true;
        QTest::newRow("new, another's password") << 0 << "secret" << false;
        QTest::newRow("new, another's password in capitals") << 0 << "SECRET" << false;
        QTest::newRow("new, free password") << 0 << "autre" << true;
        QTest::newRow("modified, keeps its own") << 1 << "secret" << true;
        QTest::newRow("modified, takes another's") << 4 << "secret" << false;
        QTest::newRow("modified, keeps its empty one") << 3 << "" << true;
        QTest::newRow("quote reaches the value") << 0 << "a'b" << true;
    }
    void contactPasswordRule()
    {
        QFETCH(int, inc);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        auto taken = contactPasswordTaken(m_db, password, inc);
        QVERIFY(taken);
        QCOMPARE(*taken, !accepted);

        Contact contact{0, 0, 2, QStringLiteral("M."), QStringLiteral("Nouveau")};
        if (inc != 0) {
            auto read = readContact(m_db, inc);
            QVERIFY(read);
            contact = *read;
        }
        ContactEditorDialog editor(m_context, contact);
        editor.ui()->password->setText(password);
        editor.ui()->BtnOK->click();
        QCOMPARE(editor.result() == QDialog::Accepted, accepted);
        QCOMPARE(m_dialogs.texts(),
                 accepted ? QStringList{} : QStringList{QStringLiteral("mot de passe dèjà existant !")});
        QCOMPARE(count(QStringLiteral("select num_contact from increment")), inc == 0 && accepted ? 51 : 50);
        QCOMPARE(count(QStringLiteral("select count(*) from contact where password='secret'")), 1);

        // The write itself refuses a taken password too.
        if (!accepted) {
            contact.password = password;
            const bool written = inc == 0 ? createContact(m_db, contact).ok()
                                          : updateContact(m_db, *readContact(m_db, inc), contact).ok();
            QVERIFY(!written);
        }
    }

    void contactsAreWrittenByTheirKey()
    {
        ContractorDirectoryTab tab(m_context);
        tab.search();
        QVERIFY(tab.locateContractor(1));
        tab.loadContacts();
        tab.setCurrentContactRow(0); // Albert, who shares number 2 with Anne Martin
        setModalRunner([&](QDialog &dialog) {
            auto *editor = qobject_cast<ContactEditorDialog *>(&dialog);
            if (!editor) return int(QDialog::Rejected);
            [&] { QCOMPARE(editor->ui()->nom->text(), QStringLiteral("Albert")); }();
            editor->ui()->prenom->setText(QStringLiteral("Jeannot"));
            editor->ui()->BtnOK->click();
            return editor->result();
        });
        tab.ui()->BtnModifier_contact->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(text(QStringLiteral("select prenom from contact where inc=3")), QStringLiteral("Jeannot"));
        QCOMPARE(text(QStringLiteral("select prenom from contact where inc=2")), QStringLiteral("Anne"));
        QCOMPARE(text(QStringLiteral("select login from contact where inc=1")), QStringLiteral("pm"));

        QCOMPARE(tab.ui()->Contact_prenom->text(), QStringLiteral("Jeannot"));
        m_dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        tab.ui()->BtnSupprimer_contact->click();
        QCOMPARE(m_dialogs.shown().first().text, QStringLiteral("Voulez vous supprimer le contact ?"));
        QCOMPARE(count(QStringLiteral("select count(*) from contact where inc=3")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from contact where inc=2")), 1);
        QCOMPARE(tab.contactCount(), 2);
    }

    void refusedRights_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("create contractor") << "BtnCreer_intervenant";
        QTest::newRow("modify contractor") << "BtnModifier_intervenant";
        QTest::newRow("delete contractor") << "BtnSupprimer_intervenant";
        QTest::newRow("create contact") << "BtnCreer_contact";
        QTest::newRow("modify contact") << "BtnModifier_contact";
        QTest::newRow("delete contact") << "BtnSupprimer_contact";
    }
    void refusedRights()
    {
        QFETCH(QString, button);
        m_context.rights =
            Rights({{QStringLiteral("Eve"), QStringLiteral("General"), QStringLiteral("1")}}, QStringLiteral("Eve"));
        ContractorDirectoryTab tab(m_context);
        tab.search();
        tab.loadContacts();
        setModalRunner(refuseScreens);
        m_dialogs.answer(true);
        tab.findChild<QPushButton *>(button)->click();
        QCOMPARE(m_dialogs.texts(), QStringList{QStringLiteral("Accés non autorisé")});
        QCOMPARE(m_dialogs.lastCaption(), QStringLiteral("Sécurité"));
    }

    void emptyDirectory_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("modify contractor") << "BtnModifier_intervenant"
                                           << "Il n'y a pas d'enregistrement";
        QTest::newRow("delete contractor") << "BtnSupprimer_intervenant"
                                           << "Il n'y a pas d'enregistrement";
        QTest::newRow("create contact") << "BtnCreer_contact"
                                        << "Il n'y a pas d'intervenant";
        QTest::newRow("modify contact") << "BtnModifier_contact"
                                        << "Il n'y a pas d'intervenant";
        QTest::newRow("delete contact") << "BtnSupprimer_contact"
                                        << "Il n'y a pas d'enregistrement";
        QTest::newRow("print actions") << "BtnImprimer"
                                       << "Il n'y a pas d'enregistrement";
    }
    void emptyDirectory()
    {
        QFETCH(QString, button);
        QFETCH(QString, message);
        ContractorDirectoryTab tab(m_context);
        tab.ui()->Famille->setText(QStringLiteral("personne"));
        tab.search();
        QCOMPARE(tab.ui()->nb->text(), QStringLiteral("( nb : 0 )"));
        setModalRunner(refuseScreens);
        tab.findChild<QPushButton *>(button)->click();
        QCOMPARE(m_dialogs.texts(), QStringList{message});
    }

    void actionsView()
    {
        const auto insert = [&](const char *table, const char *name, const QDate &date, const QVariant &qty,
                                const char *fac) {
            run(QStringLiteral(
                    "insert into %1 (I_nom, type1, i_date, qte_action, unite_action, i_cout, fac_fournisseur) "
                    "values (?, 'Travail', ?, ?, 'T', 10, ?)")
                    .arg(QLatin1String(table)),
                {QString::fromLatin1(name), date, qty, QString::fromLatin1(fac)});
        };
        insert("liste_action_cde", "ETF_B", m_start, 2.6, "OUI");                   // first day included
        insert("liste_action_liv", "ETF_B", m_end, 10.0, "NON");                    // last day included
        insert("liste_action_transfert", "ETF_B", m_start.addDays(-1), 1.0, "NON"); // before
        insert("intervention", "ETF_B", m_end.addDays(1), 1.0, "NON");              // after
        insert("intervention", "ETF_B", m_start.addDays(9), QVariant(QMetaType(QMetaType::Double)),
               "NON"); // no quantity
        insert("liste_action_transfert", "ETF_B", m_start.addDays(14), 4.0, "NON");
        insert("intervention", "ETFXB", m_start.addDays(5), 5.0, "OUI"); // '_' would match it as a pattern

        QStringList rows;
        for (const QSqlRecord &q : listed(contractorActions(QStringLiteral("ETF_B"), m_start, m_end)))
            rows << q.value(QStringLiteral("a")).toString() + QLatin1Char('|') +
                        q.value(QStringLiteral("e")).toDate().toString(Qt::ISODate) + QLatin1Char('|') +
                        q.value(QStringLiteral("f")).toString();
        QCOMPARE(rows,
                 (QStringList{"LIV. PLAQUETTE|2026-03-31|10", "TRANSFERT|2026-03-15|4", "LIV. GRUME|2026-03-01|3"}));

        ContractorDirectoryTab tab(m_context);
        tab.search();
        QVERIFY(tab.locateContractor(5));
        tab.ui()->Date_debut->setDate(m_start);
        tab.ui()->Date_fin->setDate(m_end);
        QCOMPARE(tab.ui()->Resultat_actions->text(), QStringLiteral("( .. )"));
        tab.ui()->BtnAfficher_actions->click();
        QCOMPARE(tab.ui()->Resultat_actions->text(), QStringLiteral("( 3 enregistrements )"));
        QCOMPARE(visibleCaptions(tab.ui()->Grille_actions, tab.actionGrid()),
                 (QStringList{"nom", "Type", "operation", "N°coupe", "Date", "Qte", "Indice", "Coût", "facturé"}));
        GridModel *grid = tab.actionGrid();
        QCOMPARE(grid->index(0, grid->column(QStringLiteral("g"))).data().toString(), QStringLiteral("10,00"));
        QCOMPARE(grid->index(0, grid->column(QStringLiteral("e"))).data().toString(), QStringLiteral("31/03/2026"));
        for (int row = 0; row < grid->rowCount(); ++row) {
            const bool settled = grid->raw(row, QStringLiteral("fac_fournisseur")).toString() == QLatin1String("OUI");
            const QVariant colour =
                grid->index(row, grid->column(QStringLiteral("fac_fournisseur"))).data(Qt::BackgroundRole);
            QCOMPARE(colour.isValid() ? colour.value<QColor>() : QColor(), settled ? QColor(0, 255, 0) : QColor());
            QVERIFY(!grid->index(row, grid->column(QStringLiteral("b"))).data(Qt::BackgroundRole).isValid());
        }

        // The printed statement of what is shown.
        QString printed;
        QString previewName;
        setModalRunner([&](QDialog &dialog) {
            auto *preview = qobject_cast<ReportPreview *>(&dialog);
            if (!preview) return int(QDialog::Rejected);
            previewName = preview->objectName();
            printed = preview->document().toPlainText();
            return int(QDialog::Rejected);
        });
        tab.ui()->BtnImprimer->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(previewName, QStringLiteral("imp_action_intervenant"));
        for (const QString &expected :
             {QStringLiteral("ETF_B"), QStringLiteral("ACTIONS INTERVENANTS"),
              QStringLiteral("Du : ") + formatDate(m_start, QStringLiteral("dddd dd mmmm yyyy")),
              QStringLiteral("Au : ") + formatDate(m_end, QStringLiteral("dddd dd mmmm yyyy")),
              QStringLiteral("LIV. PLAQUETTE"), QStringLiteral("30,00")})
            QVERIFY2(printed.contains(expected), qPrintable(expected + QStringLiteral(" not in:\n") + printed));
        QVERIFY(!printed.contains(QStringLiteral("ETFXB")));

        // Another contractor empties the grid until the button is pressed again.
        QVERIFY(tab.locateContractor(6));
        QCOMPARE(tab.actionCount(), 0);
        QCOMPARE(tab.ui()->Resultat_actions->text(), QStringLiteral("( .. )"));
        tab.ui()->BtnAfficher_actions->click();
        QCOMPARE(tab.ui()->Resultat_actions->text(), QStringLiteral("( 1 enregistrements )"));
    }

    // The mouse wheel over the contractors and over the contacts steps one row per notch.
    void wheelStepsThroughBothGrids_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("contractors, towards the user: the next") << "Grille_intervenant" << -120 << 2;
        QTest::newRow("contractors, away: the previous") << "Grille_intervenant" << 120 << 0;
        QTest::newRow("contacts, towards the user: the next") << "Grille_contact" << -120 << 2;
        QTest::newRow("contacts, away: the previous") << "Grille_contact" << 120 << 0;
    }
    void wheelStepsThroughBothGrids()
    {
        QFETCH(QString, grid);
        QFETCH(int, angle);
        QFETCH(int, expectedRow);
        ContractorDirectoryTab tab(m_context);
        tab.search();
        QVERIFY(tab.locateContractor(1));
        tab.loadContacts();
        QCOMPARE(tab.contactCount(), 3);
        auto *view = tab.findChild<QTableView *>(grid);
        QVERIFY(view);
        ListGrid *list = grid == QLatin1String("Grille_contact") ? tab.contactList() : tab.contractorList();
        list->selectRow(1);
        QWheelEvent wheel(QPointF(5, 5), view->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        QCOMPARE(list->currentRow(), expectedRow);
    }

    // A contractor busy for years: the grid reads the first actions, counts them all off the
    // screen's connection, and the printout holds every one.
    void manyActionsPagedAndPrintedWhole()
    {
        QStringList rows;
        for (int n = 0; n < 450; ++n)
            rows << QStringLiteral("('ETF_B', 'Travail', '%1', 1, 'T', 2, 'NON')")
                        .arg(m_start.addDays(n % 31).toString(Qt::ISODate));
        run(QStringLiteral("insert into liste_action_liv (I_nom, type1, i_date, qte_action, unite_action, i_cout, "
                           "fac_fournisseur) values ") +
            rows.join(QLatin1Char(',')));
        ContractorDirectoryTab tab(m_context);
        tab.search();
        QVERIFY(tab.locateContractor(5));
        tab.ui()->Date_debut->setDate(m_start);
        tab.ui()->Date_fin->setDate(m_end);
        tab.ui()->BtnAfficher_actions->click();
        QCOMPARE(tab.actionCount(), 200);
        QTRY_COMPARE(tab.ui()->Resultat_actions->text(), QStringLiteral("( 450 enregistrements )"));
        // most recent first, to the last one
        const QList<QSqlRecord> listed = this->listed(contractorActions(QStringLiteral("ETF_B"), m_start, m_end));
        QCOMPARE(listed.size(), 450);
        for (int row = 1; row < listed.size(); ++row)
            QVERIFY(listed[row - 1].value(QStringLiteral("e")).toDate() >=
                    listed[row].value(QStringLiteral("e")).toDate());

        QString printed;
        setModalRunner([&](QDialog &dialog) {
            if (auto *preview = qobject_cast<ReportPreview *>(&dialog)) printed = preview->document().toPlainText();
            return int(QDialog::Rejected);
        });
        tab.ui()->BtnImprimer->click();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QVERIFY2(printed.contains(QStringLiteral("Nombre d'action :")), qPrintable(printed.left(400)));
        QVERIFY2(printed.contains(QStringLiteral("900,00")), qPrintable(printed.right(400))); // 450 × 2 €
        QCOMPARE(tab.actionCount(), 450);
    }

    // Two workstations on one contractor or contact: the editor changes one field while the other
    // workstation changes another field, the same field, or deletes the row.
    void twoWorkstations_data()
    {
        QTest::addColumn<QString>("editor"); // contractor (Coût heure), contact (Tel)
        QTest::addColumn<QString>("otherChange");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("after"); // counts 1 once the screen is done
        const QString changed = QStringLiteral("Cet enregistrement a été modifié sur un autre poste : « %1 »");
        const QString deleted = QStringLiteral("Cet enregistrement a été supprimé sur un autre poste");
        QTest::newRow("contractor, other field")
            << "contractor"
            << "update intervenant_possible set pefc='99-1' where num_intervenant_possible=1"
            << ""
            << "select count(*) from intervenant_possible where cout_heure=60 and pefc='99-1' "
               "and commentaire='Feuillus'";
        QTest::newRow("contractor, same field")
            << "contractor"
            << "update intervenant_possible set cout_heure=70 where num_intervenant_possible=1"
            << changed.arg(QStringLiteral("Coût heure"))
            << "select count(*) from intervenant_possible where cout_heure=70 and num_intervenant_possible=1";
        QTest::newRow("contractor, deleted")
            << "contractor"
            << "delete from intervenant_possible where num_intervenant_possible=1" << deleted
            << "select count(*)=0 from intervenant_possible where num_intervenant_possible=1";
        QTest::newRow("contact, other field") << "contact"
                                              << "update contact set email='p@m.fr' where inc=1"
                                              << ""
                                              << "select count(*) from contact where tel='0999' and email='p@m.fr' "
                                                 "and Divers='Le matin'";
        QTest::newRow("contact, same field")
            << "contact"
            << "update contact set tel='0111' where inc=1" << changed.arg(QStringLiteral("Tel"))
            << "select count(*) from contact where tel='0111' and inc=1";
        QTest::newRow("contact, deleted")
            << "contact"
            << "delete from contact where inc=1" << deleted << "select count(*)=0 from contact where inc=1";
    }
    void twoWorkstations()
    {
        QFETCH(QString, editor);
        QFETCH(QString, otherChange);
        QFETCH(QString, refusal);
        QFETCH(QString, after);
        std::unique_ptr<QDialog> screen;
        QLineEdit *field = nullptr;
        QPushButton *ok = nullptr;
        QString typed;
        if (editor == QLatin1String("contractor")) {
            auto read = readContractor(m_db, 1);
            QVERIFY(read);
            auto *dialog = new ContractorEditorDialog(m_context, *read);
            screen.reset(dialog);
            field = dialog->ui()->cout_heure;
            ok = dialog->ui()->BtnOK;
            typed = QStringLiteral("60");
        } else {
            auto read = readContact(m_db, 1);
            QVERIFY(read);
            auto *dialog = new ContactEditorDialog(m_context, *read);
            screen.reset(dialog);
            field = dialog->ui()->tel;
            ok = dialog->ui()->BtnOK;
            typed = QStringLiteral("0999");
        }
        field->setText(typed);
        QVERIFY(execute(m_other, otherChange));
        ok->click();
        if (refusal.isEmpty()) {
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(screen->result(), int(QDialog::Accepted));
        } else {
            QCOMPARE(m_dialogs.texts(), QStringList{refusal});
            QVERIFY(screen->result() != QDialog::Accepted);
            QCOMPARE(field->text(), typed);
        }
        QCOMPARE(count(after), 1);
        if (otherChange.startsWith(QLatin1String("update")) && !refusal.isEmpty()) {
            // "OK" again, after the message, writes the user's value over the one reported.
            m_dialogs.clear();
            ok->click();
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(screen->result(), int(QDialog::Accepted));
            QCOMPARE(count(editor == QLatin1String("contractor")
                               ? QStringLiteral("select count(*) from intervenant_possible where cout_heure=60")
                               : QStringLiteral("select count(*) from contact where tel='0999'")),
                     1);
        }
    }
};

QTEST_MAIN(TestContractors)
#include "tst_contractors.moc"
