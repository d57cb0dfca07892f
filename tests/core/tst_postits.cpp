#include "appfixture.h"
#include "listgrid.h"
#include "postitboard.h"
#include "postitdialog.h"
#include "ui_postitdialog.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

using namespace ravelin;

// Post-it notes: creer_postit, and the notes on the recipient's main window.
class TestPostits : public QObject
{
    Q_OBJECT
    test::AppFixture f;

    void addNote(const QString &date, const QString &message, const QString &from = QStringLiteral("Bob"))
    {
        f.run(QStringLiteral("insert into postit (utilisateur, message1, message2, message3, message4, message5, "
                             "Date_postit, origine) values ('Alice', ?, '', '', '', '', ?, ?)"),
              {message, date, from});
    }
    int notes() { return f.count(QStringLiteral("select count(*) from postit")); }
    static QStringList messagesOf(const PostitBoard &board)
    {
        QStringList shown;
        for (QFrame *note : board.notes()) shown << note->findChild<QLabel *>(QStringLiteral("Message_postit"))->text();
        return shown;
    }

private slots:
    void initTestCase() { f.open(); }
    void init()
    {
        f.run(QStringLiteral("delete from postit"));
        f.run(QStringLiteral("delete from mot_passe"));
        f.run(QStringLiteral("insert into mot_passe (utilisateur) values ('Bob'), ('Alice')"));
        f.context.rights.setUser(QStringLiteral("Alice"));
        f.dialogs.clear();
    }

    void send_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QStringList>("stored");
        const QString fiveLines = QStringLiteral("un\ndeux\ntrois\nquatre\ncinq");
        QTest::newRow("five lines") << fiveLines << QString() << QStringList{"un", "deux", "trois", "quatre", "cinq"};
        QTest::newRow("five lines and a final break")
            << fiveLines + "\n"
            << QString() << QStringList{"un", "deux", "trois", "quatre", "cinq"};
        QTest::newRow("one line") << QStringLiteral("Appeler M. Durand") << QString()
                                  << QStringList{"Appeler M. Durand", "", "", "", ""};
        QTest::newRow("six lines") << fiveLines + "\nsix"
                                   << QStringLiteral("Votre message est trop long !!!, 5 lignes maximum")
                                   << QStringList();
        QTest::newRow("blank") << QStringLiteral("  \n ") << QStringLiteral("Vous devez écrire un message !!!")
                               << QStringList();
        QTest::newRow("a line over 255 characters")
            << QString(300, QLatin1Char('a'))
            << QStringLiteral("Votre message est trop long !!!, 255 caractères maximum par ligne") << QStringList();
    }
    void send()
    {
        QFETCH(QString, message);
        QFETCH(QString, refusal);
        QFETCH(QStringList, stored);
        f.context.rights.setUser(QStringLiteral("Carole"));
        PostitDialog screen(f.context);
        QCOMPARE(screen.users()->rowCount(), 2);
        QCOMPARE(screen.users()->raw(0, QStringLiteral("utilisateur")).toString(), QStringLiteral("Alice"));
        screen.users()->selectRow(1);
        screen.ui()->Message->setPlainText(message);
        QVERIFY(screen.ui()->BtnEnvoyer->isDefault());
        screen.ui()->BtnEnvoyer->click();
        if (!refusal.isEmpty()) {
            QCOMPARE(f.dialogs.lastText(), refusal);
            QCOMPARE(notes(), 0);
            QVERIFY(screen.result() != QDialog::Accepted);
            return;
        }
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        QCOMPARE(notes(), 1);
        QStringList read;
        for (int i = 1; i <= 5; ++i) read << f.value(QStringLiteral("select message%1 from postit").arg(i)).toString();
        QCOMPARE(read, stored);
        QCOMPARE(f.value(QStringLiteral("select utilisateur from postit")).toString(), QStringLiteral("Bob"));
        QCOMPARE(f.value(QStringLiteral("select origine from postit")).toString(), QStringLiteral("Carole"));
        const QDateTime sent =
            QDateTime::fromString(f.value(QStringLiteral("select Date_postit from postit")).toString(),
                                  QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        QVERIFY(qAbs(sent.secsTo(QDateTime::currentDateTime())) < 5);
    }

    void positions_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<QPoint>>("positions");
        QTest::addColumn<int>("hidden");
        // the random offset is always 10 here
        QTest::newRow("wide and tall: three notes")
            << 1000 << 1100 << QList<QPoint>{{750, 120}, {740, 346}, {740, 572}} << 9;
        QTest::newRow("narrow: the next note goes right and lower")
            << 600 << 1500 << QList<QPoint>{{350, 120}, {360, 636}} << 10;
        QTest::newRow("tiny: one note, positions at least 1") << 200 << 300 << QList<QPoint>{{1, 120}} << 11;
    }
    void positions()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QList<QPoint>, positions);
        QFETCH(int, hidden);
        const auto layout = PostitBoard::layOut(12, width, height, [](int) { return 10; });
        QCOMPARE(layout.positions, positions);
        QCOMPARE(layout.hidden, hidden);
        QVERIFY(PostitBoard::mostShown(height) >= int(positions.size()));
    }

    void boardShowsTheUsersNotes()
    {
        for (int i = 1; i <= 12; ++i)
            addNote(QStringLiteral("%1/03/2026 10:00:00").arg(i, 2, 10, QLatin1Char('0')),
                    QStringLiteral("note %1").arg(i));
        addNote(QStringLiteral("01/01/2026 10:00:00"), QStringLiteral("pour un autre"));
        f.run(QStringLiteral("update postit set utilisateur='Bob' where message1='pour un autre'"));
        QWidget window;
        window.resize(1000, 1100);
        window.show();
        QTimer timer;
        timer.setInterval(15000);
        PostitBoard board(f.context, &window, &timer, [](int) { return 10; });
        board.check();
        QVERIFY(timer.isActive());
        QCOMPARE(board.notes().size(), 3);
        QCOMPARE(messagesOf(board), (QStringList{"note 1", "note 2", "note 3"}));
        QCOMPARE(board.notes().at(1)->pos(), QPoint(740, 346));
        QCOMPARE(board.notes().at(0)->size(), QSize(215, 217));
        QCOMPARE(board.notes().at(0)->findChild<QLabel *>(QStringLiteral("Entete_postit"))->text(),
                 QStringLiteral("01/03/2026 10:00:00\nDe : Bob"));
        QVERIFY(board.remainder());
        QCOMPARE(board.remainder()->text(), QStringLiteral("Reste 9 Post-it à lire..."));
        QCOMPARE(board.remainder()->geometry(), QRect(800, 850, 120, 30));
        // unchanged: nothing rebuilt
        board.check();
        board.check();
        QCOMPARE(board.rebuilds(), 1);
        // one note gone and another come, same count: the new one shows
        f.run(QStringLiteral("delete from postit where message1='note 2'"));
        addNote(QStringLiteral("28/02/2026 10:00:00"), QStringLiteral("nouvelle"));
        board.check();
        QCOMPARE(board.rebuilds(), 2);
        QCOMPARE(messagesOf(board), (QStringList{"nouvelle", "note 1", "note 3"}));
    }

    void dateOrderAndFront()
    {
        addNote(QStringLiteral("01/02/2026 08:00:00"), QStringLiteral("février"));
        QWidget window;
        window.resize(1000, 1100);
        window.show();
        QTimer timer;
        PostitBoard board(f.context, &window, &timer);
        board.check();
        QCOMPARE(messagesOf(board), QStringList{"février"});
        window.showMinimized();
        QVERIFY(window.isMinimized());
        addNote(QStringLiteral("02/01/2026 09:00:00"), QStringLiteral("janvier"));
        board.check();
        QCOMPARE(messagesOf(board), (QStringList{"janvier", "février"}));
        QVERIFY(!window.isMinimized());
    }

    void closingRemovesThatNote()
    {
        // two notes of the same second: the one closed goes
        addNote(QStringLiteral("05/03/2026 10:00:00"), QStringLiteral("première"));
        addNote(QStringLiteral("05/03/2026 10:00:00"), QStringLiteral("seconde"));
        QWidget window;
        window.resize(1000, 1100);
        window.show();
        QTimer timer;
        timer.setInterval(15000);
        PostitBoard board(f.context, &window, &timer);
        board.check();
        QCOMPARE(board.notes().size(), 2);
        const int second = messagesOf(board).indexOf(QStringLiteral("seconde"));
        static_cast<QToolButton *>(board.closeButton(second))->click();
        QCOMPARE(f.value(QStringLiteral("select group_concat(message1) from postit")).toString(),
                 QStringLiteral("première"));
        QCOMPARE(timer.interval(), 200);
        QVERIFY(timer.isActive());
        board.check();
        QCOMPARE(messagesOf(board), QStringList{"première"});
    }
};

QTEST_MAIN(TestPostits)
#include "tst_postits.moc"
