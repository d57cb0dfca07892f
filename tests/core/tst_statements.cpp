#include "sql.h"
#include "statements.h"
#include "testdb.h"

#include <QDate>
#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>

using namespace ravelin;

Q_DECLARE_METATYPE(QList<ravelin::ColumnChange>)

// The statement helpers against the real server, with a second connection standing for another
// workstation.
class TestStatements : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QSqlDatabase m_other;

    void run(QSqlDatabase db, const QString &sql, const QVariantList &values = {})
    {
        const auto done = execute(db, sql, values);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText() + QStringLiteral("\n") + sql));
    }
    int count(const QString &sql)
    {
        const auto v = scalar(m_db, sql);
        if (!v) qWarning() << v.error().fullText();
        return v ? v->toInt() : -1;
    }
    qint64 questions()
    {
        const auto rows = select(m_db, QStringLiteral("show session status like 'Questions'"));
        return rows && !rows->isEmpty() ? rows->first().value(1).toLongLong() : -1;
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        m_other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("other"));
        QVERIFY(m_db.isOpen() && m_other.isOpen());
    }

    void insertRowGivesTheNewKey()
    {
        const auto first = insertRow(m_db, QStringLiteral("coupe"),
                                     {{QStringLiteral("n_lot"), 501}, {QStringLiteral("lieu"), QStringLiteral("Ici")}});
        QVERIFY2(first, qPrintable(first.ok() ? QString() : first.error().fullText()));
        const auto second = insertRow(m_db, QStringLiteral("coupe"), {{QStringLiteral("n_lot"), 502}});
        QVERIFY(second);
        QCOMPARE(*first, count(QStringLiteral("select inc from coupe where n_lot = 501 and lieu = 'Ici'")));
        QCOMPARE(*second, count(QStringLiteral("select inc from coupe where n_lot = 502")));
        QVERIFY(*second > *first);
        // A column named like an SQL word is written as well.
        QVERIFY(insertRow(m_db, QStringLiteral("proprietaire_essence"),
                          {{QStringLiteral("N_lot"), 501}, {QStringLiteral("long"), QStringLiteral("note")}}));
        QCOMPARE(count(QStringLiteral("select count(*) from proprietaire_essence where `long` = 'note'")), 1);
        // A table whose key does not come from the server has no new key to give.
        const auto species =
            insertRow(m_db, QStringLiteral("essence"), {{QStringLiteral("essence"), QStringLiteral("If")}});
        QVERIFY(species);
        QCOMPARE(*species, 0);
    }

    void namesMustBePlain()
    {
        const auto refused = insertRow(m_db, QStringLiteral("coupe"), {{QStringLiteral("lieu) values (1); --"), 1}});
        QVERIFY(!refused);
        QVERIFY(refused.error().statement.isEmpty());
    }

    // One row of coupe read by the "editor", changed meanwhile by another workstation or not, then
    // saved with the values as read.
    void updateRowKeepsOthersWork_data()
    {
        QTest::addColumn<QString>("elsewhere"); // run on the other connection after the row was read
        QTest::addColumn<QList<ColumnChange>>("changes");
        QTest::addColumn<QString>("kind"); // "", "changed", "gone"
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("check"); // a condition the row (n_lot 600) satisfies afterwards

        const auto c = [](const char *column, const QVariant &asRead, const QVariant &value,
                          const QString &caption = {}) {
            return ColumnChange{QString::fromLatin1(column), asRead, value, caption};
        };
        const QVariant noDate(QMetaType::fromType<QDate>());
        const QVariant noText(QMetaType::fromType<QString>());

        QTest::newRow("saved") << "" << QList{c("lieu", "Bois Joli", "Bois Neuf")} << ""
                               << ""
                               << "lieu = 'Bois Neuf' and nom = 'Dupont'";
        QTest::newRow("other column changed meanwhile")
            << "update coupe set nom = 'Durand' where n_lot = 600" << QList{c("lieu", "Bois Joli", "Bois Neuf")} << ""
            << ""
            << "lieu = 'Bois Neuf' and nom = 'Durand'";
        QTest::newRow("same column changed meanwhile")
            << "update coupe set lieu = 'Bois Vieux' where n_lot = 600"
            << QList{c("lieu", "Bois Joli", "Bois Neuf"), c("nom", "Dupont", "Martin")} << "changed"
            << "Cet enregistrement a été modifié sur un autre poste : « lieu »"
            << "lieu = 'Bois Vieux' and nom = 'Dupont'";
        QTest::newRow("fields named by their captions")
            << "update coupe set lieu = 'Bois Vieux', nom = 'Durand' where n_lot = 600"
            << QList{c("lieu", "Bois Joli", "Bois Neuf", "Lieu-dit"), c("nom", "Dupont", "Martin", "Nom")} << "changed"
            << "Cet enregistrement a été modifié sur un autre poste : « Lieu-dit », « Nom »"
            << "lieu = 'Bois Vieux' and nom = 'Durand'";
        QTest::newRow("changed meanwhile to the same value")
            << "update coupe set lieu = 'Bois Neuf' where n_lot = 600" << QList{c("lieu", "Bois Joli", "Bois Neuf")}
            << "changed"
            << "Cet enregistrement a été modifié sur un autre poste : « lieu »"
            << "lieu = 'Bois Neuf'";
        QTest::newRow("changed meanwhile in case only")
            << "update coupe set lieu = 'BOIS JOLI' where n_lot = 600" << QList{c("lieu", "Bois Joli", "Bois Neuf")}
            << "changed"
            << "Cet enregistrement a été modifié sur un autre poste : « lieu »"
            << "lieu = binary 'BOIS JOLI'";
        QTest::newRow("a change of case is a change") << "" << QList{c("lieu", "Bois Joli", "BOIS JOLI")} << ""
                                                      << ""
                                                      << "lieu = binary 'BOIS JOLI'";
        QTest::newRow("deleted meanwhile")
            << "delete from coupe where n_lot = 600" << QList{c("lieu", "Bois Joli", "Bois Neuf")} << "gone"
            << "Cet enregistrement a été supprimé sur un autre poste"
            << "";
        QTest::newRow("null to a value") << "" << QList{c("date_fin", noDate, QDate(2024, 5, 1))} << ""
                                         << ""
                                         << "date_fin = '2024-05-01'";
        QTest::newRow("a value to null") << "" << QList{c("nom", "Dupont", noText)} << ""
                                         << ""
                                         << "nom is null and lieu = 'Bois Joli'";
        QTest::newRow("null filled meanwhile") << "update coupe set date_fin = '2024-01-01' where n_lot = 600"
                                               << QList{c("date_fin", noDate, QDate(2024, 5, 1))} << "changed"
                                               << "Cet enregistrement a été modifié sur un autre poste : « date_fin »"
                                               << "date_fin = '2024-01-01'";
        QTest::newRow("emptied meanwhile")
            << "update coupe set nom = null where n_lot = 600" << QList{c("nom", "Dupont", "Martin")} << "changed"
            << "Cet enregistrement a été modifié sur un autre poste : « nom »"
            << "nom is null";
        // 0.1 + 0.2 is stored as 0.30000000000000004; the editor showed and gives back 0.3.
        QTest::newRow("real number as shown") << "" << QList{c("prix_achat", 0.3, 12.5)} << ""
                                              << ""
                                              << "prix_achat = 12.5";
        QTest::newRow("real number changed meanwhile")
            << "update coupe set prix_achat = 0.31 where n_lot = 600" << QList{c("prix_achat", 0.3, 12.5)} << "changed"
            << "Cet enregistrement a été modifié sur un autre poste : « prix_achat »"
            << "prix_achat = 0.31";
        QTest::newRow("whole number") << "" << QList{c("fin_pied", 40, 100)} << ""
                                      << ""
                                      << "fin_pied = 100";
        QTest::newRow("date") << "" << QList{c("date_achat", QDate(2023, 3, 14), QDate(2023, 3, 15))} << ""
                              << ""
                              << "date_achat = '2023-03-15'";
    }
    void updateRowKeepsOthersWork()
    {
        QFETCH(QString, elsewhere);
        QFETCH(QList<ColumnChange>, changes);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(QString, check);
        run(m_db, QStringLiteral("delete from coupe where n_lot = 600"));
        run(m_db, QStringLiteral("insert into coupe (n_lot, lieu, nom, date_achat, fin_pied, prix_achat) "
                                 "values (600, 'Bois Joli', 'Dupont', '2023-03-14', 40, 0.1e0 + 0.2e0)"));
        const int inc = count(QStringLiteral("select inc from coupe where n_lot = 600"));
        if (!elsewhere.isEmpty()) run(m_other, elsewhere);

        const Status saved = updateRow(m_db, QStringLiteral("coupe"), QStringLiteral("inc"), inc, changes);
        if (kind.isEmpty()) {
            QVERIFY2(saved, qPrintable(saved.ok() ? QString() : saved.error().fullText()));
        } else {
            QVERIFY(!saved);
            QCOMPARE(saved.error().kind,
                     kind == QLatin1String("gone") ? ErrorKind::NotFound : ErrorKind::ChangedElsewhere);
            QCOMPARE(saved.error().message, message);
            QCOMPARE(saved.error().where, QStringLiteral("TestStatements::updateRowKeepsOthersWork"));
        }
        if (kind == QLatin1String("gone"))
            QCOMPARE(count(QStringLiteral("select count(*) from coupe where n_lot = 600")), 0);
        else QCOMPARE(count(QStringLiteral("select count(*) from coupe where n_lot = 600 and ") + check), 1);
    }

    void nothingChangedWritesNothing()
    {
        run(m_db, QStringLiteral("insert into coupe (n_lot, lieu, prix_achat) values (601, 'Ici', 0.1e0 + 0.2e0)"));
        const int inc = count(QStringLiteral("select inc from coupe where n_lot = 601"));
        const qint64 before = questions();
        QVERIFY(updateRow(m_db, QStringLiteral("coupe"), QStringLiteral("inc"), inc,
                          {{QStringLiteral("lieu"), QStringLiteral("Ici"), QStringLiteral("Ici")},
                           {QStringLiteral("prix_achat"), 0.3, 0.1 + 0.2}}));
        // Only the statement that read the counter itself.
        QCOMPARE(questions() - before, 1);
    }

    // An update that leaves a row as it was is not counted by the server: a row written by a
    // whole-row save with the values it already holds is still found, a row deleted is not.
    void overwriteRowTellsAnUnchangedRowFromAMissingOne()
    {
        run(m_db, QStringLiteral("insert into coupe (n_lot, lieu) values (602, 'Ici')"));
        const int inc = count(QStringLiteral("select inc from coupe where n_lot = 602"));
        QVERIFY(overwriteRow(m_db, QStringLiteral("coupe"), QStringLiteral("inc"), inc,
                             {{QStringLiteral("lieu"), QStringLiteral("Là")}}));
        QVERIFY(overwriteRow(m_db, QStringLiteral("coupe"), QStringLiteral("inc"), inc,
                             {{QStringLiteral("lieu"), QStringLiteral("Là")}}));
        QCOMPARE(count(QStringLiteral("select count(*) from coupe where n_lot = 602 and lieu = 'Là'")), 1);
        run(m_other, QStringLiteral("delete from coupe where n_lot = 602"));
        const Status gone = overwriteRow(m_db, QStringLiteral("coupe"), QStringLiteral("inc"), inc,
                                         {{QStringLiteral("lieu"), QStringLiteral("Ailleurs")}});
        QVERIFY(!gone);
        QCOMPARE(gone.error().kind, ErrorKind::NotFound);
        QCOMPARE(gone.error().message, recordDeletedMessage());
    }

    void selectHelpers()
    {
        run(m_db, QStringLiteral("delete from qualite"));
        run(m_db, QStringLiteral("insert into qualite (qualite) values ('B'), ('A'), (null)"));
        const auto rows = select(m_db, QStringLiteral("select qualite, length(qualite) as n from qualite "
                                                      "where qualite is not null order by qualite"));
        QVERIFY(rows);
        QCOMPARE(rows->size(), 2);
        QCOMPARE(rows->at(0).value(QStringLiteral("qualite")).toString(), QStringLiteral("A"));
        QCOMPARE(rows->at(1).value(QStringLiteral("n")).toInt(), 1);

        const auto table = selectTable(m_db, QStringLiteral("select qualite from qualite where qualite > ?"), {"A"});
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->value(0, QStringLiteral("qualite")).toString(), QStringLiteral("B"));

        const auto texts = selectTexts(m_db, QStringLiteral("select qualite from qualite order by qualite"));
        QVERIFY(texts);
        QCOMPARE(*texts, (QStringList{QString(), QStringLiteral("A"), QStringLiteral("B")}));

        const auto one = selectOne(m_db, QStringLiteral("select qualite from qualite where qualite = ?"), {"B"});
        QVERIFY(one);
        QCOMPARE(one->value(0).toString(), QStringLiteral("B"));
        const auto none = selectOne(m_db, QStringLiteral("select qualite from qualite where qualite = ?"), {"Z"},
                                    QStringLiteral("Cette qualité n'existe plus."));
        QVERIFY(!none);
        QCOMPARE(none.error().kind, ErrorKind::NotFound);
        QCOMPARE(none.error().message, QStringLiteral("Cette qualité n'existe plus."));

        const auto failed = select(m_db, QStringLiteral("select nothing from qualite"));
        QVERIFY(!failed);
        QCOMPARE(failed.error().kind, ErrorKind::DatabaseFailure);
        QCOMPARE(failed.error().where, QStringLiteral("TestStatements::selectHelpers"));
    }

    void retryDelaysGrow()
    {
        for (int attempt = 0; attempt < deadlockRetries; ++attempt) {
            const int low = 10 << attempt;
            for (int i = 0; i < 50; ++i) {
                const int delay = deadlockRetryDelay(attempt);
                QVERIFY2(delay >= low && delay <= 2 * low, qPrintable(QString::number(delay)));
            }
        }
    }

    // Two transactions cross on two lots; the server aborts the lighter one (the one that wrote
    // least), which inTransaction runs again once the other has committed.
    void inTransactionRetriesADeadlock()
    {
        run(m_db, QStringLiteral("delete from coupe where n_lot in (801, 802)"));
        run(m_db, QStringLiteral("insert into coupe (n_lot, lieu) values (801, ''), (802, '')"));
        const QString database = m_db.databaseName();
        QSemaphore otherHoldsLot2;
        QSemaphore mineHoldsLot1;
        std::atomic<bool> otherDone = false;
        QString otherError;
        std::thread other([&]() {
            {
                QSqlDatabase db = test::openAnotherConnection(database, QStringLiteral("crossing"));
                const auto step = [&](const QString &sql) {
                    const auto done = execute(db, sql);
                    if (!done && otherError.isEmpty()) otherError = done.error().fullText();
                };
                (void)db.transaction();
                // Many rows written: this transaction weighs more than the other one.
                for (int i = 0; i < 20; ++i)
                    step(QStringLiteral("insert into grume (N_lot, descriptif) values (802, 'GRUME')"));
                step(QStringLiteral("update coupe set lieu = 'autre' where n_lot = 802"));
                otherHoldsLot2.release();
                mineHoldsLot1.acquire();
                step(QStringLiteral("update coupe set lieu = 'autre' where n_lot = 801")); // waits for lot 1
                if (!db.commit() && otherError.isEmpty()) otherError = db.lastError().text();
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("crossing"));
            otherDone = true;
        });
        otherHoldsLot2.acquire();

        int attempts = 0;
        const Status done = inTransaction(m_db, [&]() -> Status {
            ++attempts;
            if (auto s = execute(m_db, QStringLiteral("update coupe set lieu = 'mien' where n_lot = 801")); !s)
                return s.error();
            if (attempts == 1) {
                mineHoldsLot1.release();
                // Until the other transaction waits for lot 1.
                QElapsedTimer waited;
                waited.start();
                while (waited.elapsed() < 10000) {
                    const auto waiting =
                        scalar(m_other, QStringLiteral("select count(*) from information_schema.innodb_trx "
                                                       "where trx_state = 'LOCK WAIT'"));
                    if (waiting && waiting->toInt() > 0) break;
                    QThread::msleep(20);
                }
            }
            if (auto s = execute(m_db, QStringLiteral("update coupe set lieu = 'mien' where n_lot = 802")); !s)
                return s.error();
            return {};
        });
        other.join();
        QVERIFY(otherDone);
        QVERIFY2(otherError.isEmpty(), qPrintable(otherError));
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
        QCOMPARE(attempts, 2);
        QCOMPARE(count(QStringLiteral("select count(*) from coupe where n_lot in (801, 802) and lieu = 'mien'")), 2);
    }

    void inTransactionGivesUpOnOtherErrors()
    {
        int attempts = 0;
        const Status done = inTransaction(m_db, [&]() -> Status {
            ++attempts;
            if (auto s = execute(m_db, QStringLiteral("insert into coupe (n_lot) values (901)")); !s) return s.error();
            return Error::refusal(QStringLiteral("non"));
        });
        QVERIFY(!done);
        QCOMPARE(attempts, 1);
        QCOMPARE(count(QStringLiteral("select count(*) from coupe where n_lot = 901")), 0);
    }
};

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
