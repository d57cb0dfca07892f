#include "columnlengths.h"
#include "scripteddialogs.h"
#include "sql.h"
#include "testdb.h"
#include "textlimits.h"

#include <QApplication>
#include <QClipboard>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace ravelin;

// Text fields take the length of the column they are written to: a text at the column's length
// is kept, one character more (typed or pasted) is refused whole with a message naming the field.
class TestTextLimits : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    test::ScriptedDialogs m_dialogs;

    struct Form
    {
        QWidget widget;
        QLineEdit *societe;
        QLineEdit *ville;
        QLineEdit *cout;
        QPlainTextEdit *commentaire;
    };

    std::unique_ptr<Form> form()
    {
        auto f = std::make_unique<Form>();
        auto *layout = new QFormLayout(&f->widget);
        f->societe = new QLineEdit;
        f->societe->setObjectName(QStringLiteral("societe"));
        layout->addRow(QStringLiteral("Société :"), f->societe);
        f->ville = new QLineEdit;
        f->ville->setObjectName(QStringLiteral("Ville1"));
        layout->addRow(QStringLiteral("Commune"), f->ville);
        f->cout = new QLineEdit;
        f->cout->setObjectName(QStringLiteral("cout"));
        f->cout->setValidator(new QDoubleValidator(f->cout));
        layout->addRow(QStringLiteral("Coût"), f->cout);
        f->commentaire = new QPlainTextEdit;
        f->commentaire->setObjectName(QStringLiteral("commentaire"));
        layout->addRow(QStringLiteral("Commentaire"), f->commentaire);
        const Status limited = limitTextFields(&f->widget, m_db, QStringLiteral("limites"), m_dialogs,
                                               {{QStringLiteral("Ville1"), QStringLiteral("ville")}});
        if (!limited) qWarning() << limited.error().fullText();
        return f;
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        QVERIFY(execute(m_db, QStringLiteral("create table limites (inc int primary key, societe varchar(10), "
                                             "ville varchar(5), cout double, commentaire tinytext)")));
    }
    void init() { m_dialogs.clear(); }

    void catalogueLengths()
    {
        const auto lengths = textColumnLengths(m_db, QStringLiteral("limites"));
        QVERIFY(lengths);
        QCOMPARE(lengths->value(QStringLiteral("societe")).characters, 10);
        QCOMPARE(lengths->value(QStringLiteral("ville")).characters, 5);
        QVERIFY(!lengths->contains(QStringLiteral("cout")));
        // tinytext: 255 bytes, so fewer characters once accented
        QCOMPARE(lengths->value(QStringLiteral("commentaire")).bytes, 255);
        QVERIFY(lengths->value(QStringLiteral("commentaire")).holds(QString(127, QChar(u'é'))));
        QVERIFY(!lengths->value(QStringLiteral("commentaire")).holds(QString(128, QChar(u'é'))));
        QVERIFY(!textColumnLengths(m_db, QStringLiteral("no_such_table")));
    }

    void typedAndPasted_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("caption");
        QTest::newRow("named after its column") << "societe" << 10 << "Société";
        QTest::newRow("mapped to its column") << "Ville1" << 5 << "Commune";
    }
    void typedAndPasted()
    {
        QFETCH(QString, field);
        QFETCH(int, length);
        QFETCH(QString, caption);
        auto f = form();
        auto *edit = f->widget.findChild<QLineEdit *>(field);
        QVERIFY(edit);

        // up to the column's length: kept, no message
        QTest::keyClicks(edit, QString(length, QLatin1Char('a')));
        QCOMPARE(edit->text(), QString(length, QLatin1Char('a')));
        QCoreApplication::processEvents();
        QVERIFY(m_dialogs.shown().isEmpty());

        // one more typed: refused, told
        QTest::keyClicks(edit, QStringLiteral("b"));
        QCOMPARE(edit->text(), QString(length, QLatin1Char('a')));
        QCoreApplication::processEvents();
        QCOMPARE(m_dialogs.texts(), QStringList{textTooLongMessage(caption, length)});
        QCOMPARE(m_dialogs.texts().first(),
                 QStringLiteral("Le champ « %1 » ne peut pas dépasser %2 caractères.").arg(caption).arg(length));

        // a paste one past the length is refused whole; one that fits goes in
        m_dialogs.clear();
        edit->clear();
        QApplication::clipboard()->setText(QString(length + 1, QLatin1Char('c')));
        edit->paste();
        QCOMPARE(edit->text(), QString());
        QCoreApplication::processEvents();
        QCOMPARE(m_dialogs.shown().size(), 1);
        QApplication::clipboard()->setText(QString(length, QLatin1Char('c')));
        edit->paste();
        QCOMPARE(edit->text(), QString(length, QLatin1Char('c')));
    }

    void numbersAndBoxes()
    {
        auto f = form();
        // a number field keeps its own validator
        QVERIFY(qobject_cast<const QDoubleValidator *>(f->cout->validator()));

        f->commentaire->setPlainText(QString(255, QLatin1Char('x')));
        QCOMPARE(f->commentaire->toPlainText().size(), 255);
        f->commentaire->moveCursor(QTextCursor::End);
        QTest::keyClicks(f->commentaire, QStringLiteral("y"));
        QCOMPARE(f->commentaire->toPlainText(), QString(255, QLatin1Char('x')));
        QCoreApplication::processEvents();
        QCOMPARE(m_dialogs.texts(), QStringList{textTooLongMessage(QStringLiteral("Commentaire"), 255)});
    }
};

QTEST_MAIN(TestTextLimits)
#include "tst_textlimits.moc"
