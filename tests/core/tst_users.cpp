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
};

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
