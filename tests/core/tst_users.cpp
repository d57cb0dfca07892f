#include "appcontext.h"
#include "modal.h"
#include "scripteddialogs.h"
#include "signindialog.h"
#include "sql.h"
#include "testdb.h"
#include "ui_signindialog.h"
#include "ui_usereditordialog.h"
#include "ui_userlistdialog.h"
#include "usereditordialog.h"
#include "userlistdialog.h"
#include "users.h"

#include <QApplication>
#include <QTest>

using namespace ravelin;

class TestUsers : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QSqlDatabase m_other; // a second workstation
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;

    int count(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        return scalar(m_db, sql, values)->toInt();
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
        QVERIFY(execute(m_db, QStringLiteral("delete from mot_passe")));
        QVERIFY(execute(m_db, QStringLiteral("delete from detail_mot_passe")));
        QVERIFY(execute(m_db, QStringLiteral("insert into mot_passe (Utilisateur, Mot_passe) values "
                                             "('Alice', 'pass1'), ('Bob', 'shared'), ('Carl', 'shared'), "
                                             "('', 'noname'), ('Dora', NULL)")));
    }

    void signInLookup_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("user");
        QTest::newRow("master") << "vuzq"
                                << "Technicien";
        QTest::newRow("known") << "pass1"
                               << "Alice";
        QTest::newRow("two users, one password: the first") << "shared"
                                                            << "Bob";
        QTest::newRow("user without name") << "noname"
                                           << "";
        QTest::newRow("empty password finds the null one") << ""
                                                           << "Dora";
        QTest::newRow("unknown") << "nobody"
                                 << "";
        QTest::newRow("other case") << "PASS1"
                                    << "";
        QTest::newRow("trailing blank") << "pass1 "
                                        << "";
        QTest::newRow("two trailing blanks, shared") << "shared  "
                                                     << "";
        QTest::newRow("injection or") << "' or '1'='1"
                                      << "";
        QTest::newRow("injection comment") << "x' or 1=1 -- "
                                           << "";
        QTest::newRow("injection drop") << "x'; drop table mot_passe; --"
                                        << "";
    }
    void signInLookup()
    {
        QFETCH(QString, password);
        QFETCH(QString, user);
        const auto found = signIn(m_db, password);
        QVERIFY2(found, qPrintable(found.ok() ? QString() : found.error().fullText()));
        QCOMPARE(*found, user);
        QCOMPARE(count(QStringLiteral("select count(*) from mot_passe")), 5);
    }

    void signInScreen()
    {
        SignInDialog screen(m_db, m_dialogs);
        QStringList panel;
        connect(&screen, &SignInDialog::userPanelChanged, this, [&](const QString &t) { panel << t; });

        QTest::keyClicks(screen.ui()->Edit_mot_passe, QStringLiteral("wrong"));
        screen.ui()->BtnOK->click();
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Mot de passe inconnu"));
        QCOMPARE(m_dialogs.lastCaption(), QStringLiteral("Mot de passe"));
        QCOMPARE(panel.last(), QStringLiteral("Utilisateur inconnu"));
        QVERIFY(screen.ui()->Edit_mot_passe->text().isEmpty());
        QCOMPARE(screen.result(), int(QDialog::Rejected));
        QVERIFY(screen.user().isEmpty());
        QCOMPARE(screen.ui()->Edit_mot_passe->echoMode(), QLineEdit::Password);
        QVERIFY(screen.ui()->BtnOK->isDefault());

        QTest::keyClicks(screen.ui()->Edit_mot_passe, QStringLiteral("pass1"));
        screen.ui()->BtnOK->click();
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        QCOMPARE(screen.user(), QStringLiteral("Alice"));
        QCOMPARE(panel.last(), QStringLiteral("Alice"));

        SignInDialog cancelled(m_db, m_dialogs);
        connect(&cancelled, &SignInDialog::userPanelChanged, this, [&](const QString &t) { panel << t; });
        QTest::keyClick(&cancelled, Qt::Key_Escape);
        QVERIFY(cancelled.user().isEmpty());
        QCOMPARE(panel.last(), QStringLiteral("Utilisateur inconnu"));
    }

    void rightsAreExact()
    {
        QVERIFY(
            execute(m_db, QStringLiteral("insert into detail_mot_passe (Utilisateur, Page, Autorisation) values "
                                         "('Alice', 'General', '1'), ('Alice', 'Stock', '0'), ('Bob', 'Stock', '1')")));
        auto rights = Rights::load(m_db, QStringLiteral("Alice"));
        QVERIFY(rights);
        QVERIFY(rights->granted(QStringLiteral("General")));
        QVERIFY(!rights->granted(QStringLiteral("Stock")));
        QVERIFY(!rights->granted(QStringLiteral("general")));
        rights->setUser(QStringLiteral("alice"));
        QVERIFY(!rights->granted(QStringLiteral("General")));
        rights->setUser(QStringLiteral("Technicien"));
        QVERIFY(rights->granted(QStringLiteral("Page que personne ne détient")));

        rights->setUser(QStringLiteral("Bob"));
        m_dialogs.answer(true);
        QVERIFY(!rights->require(QStringLiteral("General"), m_dialogs));
        QCOMPARE(m_dialogs.shown().last().kind, QStringLiteral("okCancel"));
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Accés non autorisé"));
        QCOMPARE(m_dialogs.lastCaption(), QStringLiteral("Sécurité"));
        QVERIFY(rights->require(QStringLiteral("Stock"), m_dialogs));
    }

    void newUserWithThreePages()
    {
        UserEditorDialog editor(m_context, UserRecord{});
        auto *left = editor.ui()->Liste_refuse;
        auto *right = editor.ui()->Liste_autorise;
        QCOMPARE(left->count(), 28);
        QCOMPARE(right->count(), 0);
        QVERIFY(!editor.ui()->BtnGauche->isEnabled());
        QVERIFY(!editor.ui()->BtnToutGauche->isEnabled());
        QCOMPARE(left->item(0)->text(), QStringLiteral("Analyse"));

        editor.ui()->Utilisateur->setText(QStringLiteral("Emma"));
        editor.ui()->Mot_passe->setText(QStringLiteral("bois"));
        for (int row : {2, 3, 10}) left->item(row)->setSelected(true);
        editor.ui()->BtnDroite->click();
        QCOMPARE(right->count(), 3);
        QCOMPARE(left->count(), 25);
        // the focus stays on the source list, on the first moved position
        QCOMPARE(left->currentRow(), 2);
        QVERIFY(editor.ui()->BtnGauche->isEnabled());

        editor.ui()->BtnValider->click();
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from detail_mot_passe where Utilisateur='Emma' and Autorisation='1'")),
                 3);
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from detail_mot_passe where Utilisateur='Emma' and Autorisation='0'")),
                 25);
        QCOMPARE(count(QStringLiteral("select count(*) from mot_passe where Utilisateur='Emma' and Mot_passe='bois'")),
                 1);
        QCOMPARE(*signIn(m_db, QStringLiteral("bois")), QStringLiteral("Emma"));

        // Modify: name read-only, held pages on the right, and a rewrite replaces the rows.
        const auto users = listUsers(m_db);
        const UserRecord emma = *std::find_if(users->begin(), users->end(),
                                              [](const UserRecord &u) { return u.name == QLatin1String("Emma"); });
        UserEditorDialog again(m_context, emma);
        QVERIFY(again.ui()->Utilisateur->isReadOnly());
        QCOMPARE(again.ui()->Liste_autorise->count(), 3);
        again.ui()->BtnToutGauche->click();
        QCOMPARE(again.ui()->Liste_autorise->count(), 0);
        QVERIFY(!again.ui()->BtnGauche->isEnabled());
        QVERIFY(!again.ui()->BtnToutGauche->isEnabled());
        QCOMPARE(again.ui()->Liste_refuse->currentRow(), -1);
        again.ui()->Liste_refuse->item(27)->setSelected(true);
        again.ui()->BtnDroite->click();
        QCOMPARE(again.ui()->Liste_refuse->currentRow(), 26); // past the end: the last item
        again.ui()->BtnValider->click();
        QCOMPARE(count(QStringLiteral("select count(*) from detail_mot_passe where Utilisateur='Emma'")), 28);
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from detail_mot_passe where Utilisateur='Emma' and Autorisation='1'")),
                 1);
    }

    void newUserNameMustBeNewAndNotEmpty_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("existing") << "Alice"
                                  << "Nom d'utilisateur dèjà existant !";
        QTest::newRow("empty") << ""
                               << "Nom d'utilisateur obligatoire !";
    }
    void newUserNameMustBeNewAndNotEmpty()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        UserEditorDialog editor(m_context, UserRecord{});
        editor.ui()->Utilisateur->setText(name);
        editor.ui()->BtnToutDroite->click();
        editor.ui()->BtnValider->click();
        QCOMPARE(m_dialogs.lastText(), message);
        QVERIFY(editor.result() != QDialog::Accepted);
        QCOMPARE(count(QStringLiteral("select count(*) from mot_passe")), 5);
        QCOMPARE(count(QStringLiteral("select count(*) from detail_mot_passe")), 0);
    }

    void userListFlows()
    {
        QVERIFY(
            execute(m_db, QStringLiteral("insert into detail_mot_passe (Utilisateur, Page, Autorisation) values "
                                         "('Bob', 'General', '1'), ('Bob', 'Stock', '0'), ('Alice', 'General', '1')")));
        UserListDialog list(m_context);
        QCOMPARE(list.users().size(), 5);

        // "&Créer" opens the editor; the runner fills it in as the user would.
        const auto previous = setModalRunner([](QDialog &d) {
            auto &editor = static_cast<UserEditorDialog &>(d);
            editor.ui()->Utilisateur->setText(QStringLiteral("Félix"));
            editor.ui()->BtnToutDroite->click();
            editor.ui()->BtnValider->click();
            return editor.result();
        });
        list.ui()->BtnCreer->click();
        QCOMPARE(list.users().size(), 6);
        QCOMPARE(count(QStringLiteral(
                     "select count(*) from detail_mot_passe where Utilisateur='Félix' and Autorisation='1'")),
                 28);

        // "Supprimer" on Bob, refused then confirmed.
        list.selectRow(1);
        m_dialogs.answer(false);
        list.ui()->BtnSupprimer->click();
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("Confirmer la suppression de l'enregistrement sélectionné"));
        QCOMPARE(m_dialogs.lastCaption(), QStringLiteral("Attention"));
        QCOMPARE(count(QStringLiteral("select count(*) from mot_passe where Utilisateur='Bob'")), 1);
        m_dialogs.answer(true);
        list.ui()->BtnSupprimer->click();
        QCOMPARE(count(QStringLiteral("select count(*) from mot_passe where Utilisateur='Bob'")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from detail_mot_passe where Utilisateur='Bob'")), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from detail_mot_passe where Utilisateur='Alice'")), 1);
        setModalRunner(previous);

        // Empty list
        QVERIFY(execute(m_db, QStringLiteral("delete from mot_passe")));
        list.refresh();
        m_dialogs.clear();
        list.ui()->BtnModifier->click();
        list.ui()->BtnSupprimer->click();
        QCOMPARE(m_dialogs.texts(), QStringList({QStringLiteral("Il n'y a pas d'enregistrement"),
                                                 QStringLiteral("Il n'y a pas d'enregistrement")}));
    }

    // Two workstations on one user: Alice's editor changes her password and grants "Stock" while
    // the other workstation changes a field or a right, or deletes her.
    void twoWorkstations_data()
    {
        QTest::addColumn<QString>("otherChange");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("passwordAfter");
        QTest::addColumn<int>("grantedAfter"); // Alice's rows with "1"
        QTest::newRow("other field") << "update mot_passe set email1='a@b.fr' where Utilisateur='Alice'"
                                     << ""
                                     << "neuf" << 3;
        QTest::newRow("other page's right")
            << "update detail_mot_passe set Autorisation='1' where Utilisateur='Alice' and Page='Export'"
            << ""
            << "neuf" << 4;
        QTest::newRow("same field") << "update mot_passe set Mot_passe='autre' where Utilisateur='Alice'"
                                    << "Cet enregistrement a été modifié sur un autre poste : « Mot de passe »"
                                    << "autre" << 2;
        QTest::newRow("deleted") << "delete from mot_passe where Utilisateur='Alice'"
                                 << "Cet enregistrement a été supprimé sur un autre poste"
                                 << "" << 2;
    }
    void twoWorkstations()
    {
        QFETCH(QString, otherChange);
        QFETCH(QString, refusal);
        QFETCH(QString, passwordAfter);
        QFETCH(int, grantedAfter);
        QVERIFY(execute(m_db, QStringLiteral("insert into detail_mot_passe (Utilisateur, Page, Autorisation) values "
                                             "('Alice', 'General', '1'), ('Alice', 'Analyse', '1'), "
                                             "('Alice', 'Stock', '0'), ('Alice', 'Export', '0')")));
        const auto users = listUsers(m_db);
        QVERIFY(users);
        UserEditorDialog editor(m_context, users->first());
        QCOMPARE(editor.ui()->Utilisateur->text(), QStringLiteral("Alice"));
        editor.ui()->Mot_passe->setText(QStringLiteral("neuf"));
        const auto stock = editor.ui()->Liste_refuse->findItems(QStringLiteral("Stock"), Qt::MatchExactly);
        QCOMPARE(stock.size(), 1);
        stock.first()->setSelected(true);
        editor.ui()->BtnDroite->click();

        QVERIFY(execute(m_other, otherChange));
        editor.ui()->BtnValider->click();
        const QString rights = QStringLiteral("select count(*) from detail_mot_passe where Utilisateur='Alice' "
                                              "and Autorisation='1'");
        if (refusal.isEmpty()) {
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(editor.result(), int(QDialog::Accepted));
            if (otherChange.contains(QLatin1String("email1")))
                QCOMPARE(count(QStringLiteral("select count(*) from mot_passe where email1='a@b.fr'")), 1);
            // Rows of the pages the editor left alone are the ones found there, not rewritten.
            QCOMPARE(count(QStringLiteral("select count(*) from detail_mot_passe where Utilisateur='Alice'")), 4);
        } else {
            QCOMPARE(m_dialogs.texts(), QStringList{refusal});
            QVERIFY(editor.result() != QDialog::Accepted);
            QCOMPARE(editor.ui()->Mot_passe->text(), QStringLiteral("neuf"));
            QVERIFY(editor.grantedPages().contains(QStringLiteral("Stock")));
        }
        QCOMPARE(count(rights), grantedAfter);
        QCOMPARE(count(QStringLiteral("select count(*) from mot_passe where Utilisateur='Alice' and "
                                      "coalesce(Mot_passe, '') = ?"),
                       {passwordAfter}),
                 passwordAfter.isEmpty() ? 0 : 1);

        // After the refusal of a field changed elsewhere, "OK" again writes the user's values.
        if (otherChange.contains(QLatin1String("Mot_passe='autre'"))) {
            m_dialogs.clear();
            editor.ui()->BtnValider->click();
            QVERIFY2(m_dialogs.texts().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
            QCOMPARE(editor.result(), int(QDialog::Accepted));
            QCOMPARE(*signIn(m_db, QStringLiteral("neuf")), QStringLiteral("Alice"));
            QCOMPARE(count(rights), 3);
        }
    }

    // "Accés refusé :" reads as a French user expects: case and accents do not change the order,
    // and pages moved back keep it.
    void refusedPagesInFrenchOrder()
    {
        QStringList pages{QStringLiteral("Zèbre"), QStringLiteral("étape"), QStringLiteral("ab"),
                          QStringLiteral("Eta")};
        sortPages(pages);
        QCOMPARE(pages, (QStringList{QStringLiteral("ab"), QStringLiteral("Eta"), QStringLiteral("étape"),
                                     QStringLiteral("Zèbre")}));

        UserEditorDialog editor(m_context, UserRecord{});
        QCOMPARE(editor.refusedPages(), rightsPages());
        QCOMPARE(editor.refusedPages().at(1), QStringLiteral("Creer contact"));
        editor.ui()->BtnToutDroite->click();
        auto *right = editor.ui()->Liste_autorise;
        for (const char *page : {"Stock", "Analyse", "Creer TVA"})
            right->findItems(QString::fromLatin1(page), Qt::MatchExactly).first()->setSelected(true);
        editor.ui()->BtnGauche->click();
        QCOMPARE(editor.refusedPages(),
                 (QStringList{QStringLiteral("Analyse"), QStringLiteral("Creer TVA"), QStringLiteral("Stock")}));
        editor.ui()->BtnToutGauche->click();
        QCOMPARE(editor.refusedPages(), rightsPages());
    }
};

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
