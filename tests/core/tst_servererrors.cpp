#include "dialogs.h"
#include "scripteddialogs.h"
#include "servererrors.h"
#include "sql.h"
#include "testdb.h"

#include <QTest>

using namespace ravelin;

Q_DECLARE_METATYPE(ravelin::ErrorKind)

namespace {

QString kindName(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::DatabaseFailure: return QStringLiteral("database failure");
    case ErrorKind::Refusal: return QStringLiteral("refusal");
    case ErrorKind::ChangedElsewhere: return QStringLiteral("changed elsewhere");
    case ErrorKind::NotFound: return QStringLiteral("not found");
    }
    return QString();
}

Error errorOf(const QString &code, const QString &serverText)
{
    return databaseError(
        QSqlError(QStringLiteral("QMYSQL: Unable to execute statement"), serverText, QSqlError::StatementError, code));
}

} // namespace

// Each server error the program meets, provoked on the real tables where the schema allows it:
// the kind a screen decides on and the French message it shows.
class TestServerErrors : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QSqlDatabase m_other;

    void run(QSqlDatabase db, const QString &sql)
    {
        const auto done = execute(db, sql);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        m_other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("other"));
        QVERIFY(m_db.isOpen() && m_other.isOpen());
    }

    void statementErrors_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("code");
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("constraint");

        QTest::newRow("lot number taken")
            << "insert into coupe (n_lot) values (7001)"
            << "insert into coupe (n_lot) values (7001)" << 1062 << ErrorKind::Refusal << "N° coupe dèjà existant"
            << "uq_coupe_n_lot";
        QTest::newRow("place name taken")
            << "insert into destination (destination, stockage) values ('Scierie du Lac', 'NON')"
            << "insert into destination (destination, stockage) values ('Scierie du Lac', 'OUI')" << 1062
            << ErrorKind::Refusal << "Nom dèja existante !"
            << "uq_destination_destination";
        QTest::newRow("invoice number taken")
            << "insert into facture_entete (num_facture, client) values (880, 'Dupont')"
            << "insert into facture_entete (num_facture, client) values (880, 'Martin')" << 1062 << ErrorKind::Refusal
            << "N° facture dèjà existant"
            << "uq_facture_entete_num_facture";
        QTest::newRow("duplicate on another key")
            << "insert into coupe (inc, n_lot) values (9001, 7002)"
            << "insert into coupe (inc, n_lot) values (9001, 7003)" << 1062 << ErrorKind::DatabaseFailure
            << "Cet enregistrement existe déjà (valeur en double)."
            << "PRIMARY";
        QTest::newRow("null") << ""
                              << "insert into cde (inc, client) values (null, 'Dupont')" << 1048 << ErrorKind::Refusal
                              << "La zone « inc » doit être renseignée."
                              << "";
        QTest::newRow("too long") << ""
                                  << "insert into coupe (n_lot, lieu) values (7004, repeat('x', 101))" << 1406
                                  << ErrorKind::Refusal << "Le texte saisi pour « lieu » est trop long."
                                  << "";
        QTest::newRow("bad value") << ""
                                   << "insert into coupe (n_lot, fin_pied) values (7005, 'beaucoup')" << 1366
                                   << ErrorKind::Refusal << "La valeur saisie pour « fin_pied » n'est pas valide."
                                   << "";
        QTest::newRow("bad date") << ""
                                  << "insert into coupe (n_lot, date_achat) values (7006, '2024-02-31')" << 1292
                                  << ErrorKind::Refusal << "La valeur saisie pour « date_achat » n'est pas valide."
                                  << "";
        QTest::newRow("out of range") << ""
                                      << "insert into coupe (n_lot, fin_pied) values (7007, 1e12)" << 1264
                                      << ErrorKind::Refusal
                                      << "La valeur saisie pour « fin_pied » est hors des limites admises."
                                      << "";
        QTest::newRow("unknown table") << ""
                                       << "select * from no_such_table" << 1146 << ErrorKind::DatabaseFailure
                                       << "Erreur de base de données : Table '%1.no_such_table' doesn't exist"
                                       << "";
    }
    void statementErrors()
    {
        QFETCH(QString, setup);
        QFETCH(QString, statement);
        QFETCH(int, code);
        QFETCH(ErrorKind, kind);
        QFETCH(QString, message);
        QFETCH(QString, constraint);
        if (!setup.isEmpty()) run(m_db, setup);

        const auto done = execute(m_db, statement);
        QVERIFY(!done);
        const Error &e = done.error();
        QCOMPARE(e.nativeCode, code);
        QCOMPARE(kindName(e.kind), kindName(kind));
        QCOMPARE(e.message, message.contains(QLatin1String("%1")) ? message.arg(m_db.databaseName()) : message);
        QCOMPARE(e.constraint, constraint);
        // The server's text stays with the error, for whoever looks after the installation.
        QVERIFY(!e.detail.isEmpty());
        QCOMPARE(e.statement, statement);
        QCOMPARE(e.where, QStringLiteral("TestServerErrors::statementErrors"));
    }

    // The schema has no foreign keys, and a deadlock needs two transactions crossing (see
    // tst_statements): these are built from the server's texts.
    void errorsFromServerTexts_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("serverText");
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("constraint");
        QTest::newRow("link to a missing row")
            << "1452"
            << "Cannot add or update a child row: a foreign key constraint fails (`r`.`contact`, CONSTRAINT "
               "`fk_contact_intervenant` FOREIGN KEY (`num_intervenant_possible`) REFERENCES `intervenant_possible` "
               "(`num_intervenant_possible`))"
            << ErrorKind::NotFound
            << "L'enregistrement auquel celui-ci renvoie n'existe pas ou a été supprimé sur un autre poste."
            << "fk_contact_intervenant";
        QTest::newRow("row still linked")
            << "1451"
            << "Cannot delete or update a parent row: a foreign key constraint fails (`r`.`contact`, CONSTRAINT "
               "`fk_contact_intervenant` FOREIGN KEY (`num_intervenant_possible`) REFERENCES `intervenant_possible` "
               "(`num_intervenant_possible`))"
            << ErrorKind::Refusal << "Cet enregistrement est utilisé ailleurs et ne peut pas être supprimé."
            << "fk_contact_intervenant";
        QTest::newRow("deadlock") << "1213"
                                  << "Deadlock found when trying to get lock; try restarting transaction"
                                  << ErrorKind::DatabaseFailure
                                  << "Conflit avec un autre poste (interblocage). Recommencez."
                                  << "";
        QTest::newRow("MySQL 8 names the table with the key")
            << "1062"
            << "Duplicate entry '42' for key 'coupe.uq_coupe_n_lot'" << ErrorKind::Refusal << "N° coupe dèjà existant"
            << "uq_coupe_n_lot";
        QTest::newRow("MySQL 8 names the column alone")
            << "1366"
            << "Incorrect integer value: 'x' for column 'fin_pied' at row 1" << ErrorKind::Refusal
            << "La valeur saisie pour « fin_pied » n'est pas valide."
            << "";
        QTest::newRow("no column named") << "1292"
                                         << "Truncated incorrect DOUBLE value: 'x'" << ErrorKind::Refusal
                                         << "Une valeur saisie n'est pas valide."
                                         << "";
    }
    void errorsFromServerTexts()
    {
        QFETCH(QString, code);
        QFETCH(QString, serverText);
        QFETCH(ErrorKind, kind);
        QFETCH(QString, message);
        QFETCH(QString, constraint);
        const Error e = errorOf(code, serverText);
        QCOMPARE(kindName(e.kind), kindName(kind));
        QCOMPARE(e.message, message);
        QCOMPARE(e.constraint, constraint);
        QVERIFY(e.detail.contains(serverText));
    }

    void lockWaitTimesOut()
    {
        QVERIFY(m_other.transaction());
        run(m_other, QStringLiteral("insert into coupe (n_lot) values (7100)"));
        run(m_other, QStringLiteral("select * from coupe where n_lot = 7100 for update"));
        run(m_db, QStringLiteral("set session innodb_lock_wait_timeout = 1"));
        const auto blocked = execute(m_db, QStringLiteral("update coupe set lieu = 'Ici' where n_lot = 7100"));
        QVERIFY(m_other.rollback());
        run(m_db, QStringLiteral("set session innodb_lock_wait_timeout = 50"));
        QVERIFY(!blocked);
        QCOMPARE(blocked.error().nativeCode, 1205);
        QCOMPARE(kindName(blocked.error().kind), kindName(ErrorKind::DatabaseFailure));
        QCOMPARE(blocked.error().message, QStringLiteral("Un autre poste modifie les mêmes données : délai d'attente "
                                                         "dépassé. Recommencez dans un instant."));
    }

    void killedConnectionIsALostConnection()
    {
        QSqlDatabase victim = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("victim"));
        const auto id = scalar(victim, QStringLiteral("select connection_id()"));
        QVERIFY(id);
        run(m_db, QStringLiteral("kill %1").arg(id->toLongLong()));
        const auto lost = scalar(victim, QStringLiteral("select 1"));
        QVERIFY(!lost);
        QVERIFY2(QList<int>({2006, 2013, 1927, 4031}).contains(lost.error().nativeCode),
                 qPrintable(lost.error().fullText()));
        QCOMPARE(kindName(lost.error().kind), kindName(ErrorKind::DatabaseFailure));
        QCOMPARE(lost.error().message, QStringLiteral("La connexion au serveur de base de données est perdue. "
                                                      "Vérifiez le réseau puis recommencez."));
        victim.close();
    }

    // The server's own words keep their accents on their way to the user.
    void accentedServerTextReadsRight()
    {
        run(m_db, QStringLiteral("create trigger tst_refus before insert on acheteur for each row "
                                 "signal sqlstate '45000' set message_text = 'Écriture refusée'"));
        const auto refused = execute(m_db, QStringLiteral("insert into acheteur (acheteur) values ('X')"));
        run(m_db, QStringLiteral("drop trigger tst_refus"));
        QVERIFY(!refused);
        QVERIFY2(refused.error().detail.contains(QStringLiteral("Écriture refusée")),
                 qPrintable(refused.error().detail));
        QCOMPARE(refused.error().message, QStringLiteral("Erreur de base de données : Écriture refusée"));
        QCOMPARE(serverText(QStringLiteral("déjà")), QStringLiteral("déjà")); // already right: untouched
    }

    void errorsNameTheirFunction()
    {
        const auto inLambda = [&]() { return Error::refusal(QStringLiteral("non")); };
        QCOMPARE(inLambda().where, QStringLiteral("TestServerErrors::errorsNameTheirFunction"));
        QCOMPARE(Error::notFound(QStringLiteral("parti")).where,
                 QStringLiteral("TestServerErrors::errorsNameTheirFunction"));
        const auto failed = scalar(m_db, QStringLiteral("select no_such_column from coupe"));
        QVERIFY(!failed);
        QCOMPARE(failed.error().where, QStringLiteral("TestServerErrors::errorsNameTheirFunction"));
    }

    // A refusal, a change made elsewhere and a record gone show their message alone; a failure of
    // the server shows the server's text below the message.
    void dialogsShowAnErrorByItsKind_data()
    {
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        QTest::newRow("refusal") << ErrorKind::Refusal << ""
                                 << "Le message";
        QTest::newRow("changed elsewhere") << ErrorKind::ChangedElsewhere << "Erreur"
                                           << "Le message";
        QTest::newRow("not found") << ErrorKind::NotFound << "Erreur"
                                   << "Le message";
        QTest::newRow("database failure") << ErrorKind::DatabaseFailure << "Erreur"
                                          << "Le message\n\nLe texte du serveur";
    }
    void dialogsShowAnErrorByItsKind()
    {
        QFETCH(ErrorKind, kind);
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        Error e;
        e.message = QStringLiteral("Le message");
        e.detail = QStringLiteral("Le texte du serveur");
        e.statement = QStringLiteral("update coupe set lieu = ?");
        e.kind = kind;
        test::ScriptedDialogs dialogs;
        dialogs.error(e);
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.lastCaption(), caption);
        QCOMPARE(dialogs.lastText(), shown);
    }
};

QTEST_GUILESS_MAIN(TestServerErrors)
#include "tst_servererrors.moc"
