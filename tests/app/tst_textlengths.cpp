#include "appfixture.h"
#include "columnlengths.h"
#include "contacteditordialog.h"
#include "contractoreditordialog.h"
#include "logentrydialog.h"
#include "newlotdialog.h"
#include "ownerdialog.h"
#include "ownerestimatedialog.h"
#include "ownerstab.h"
#include "placeeditordialog.h"
#include "referencedetaildialog.h"
#include "settingsdialog.h"
#include "usereditordialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QValidator>

#include <functional>
#include <memory>

using namespace ravelin;

// Every text field of every editor holds at most what its column holds: a text at the column's
// length is accepted, one character more is refused, whatever the form. The lengths come from the
// server's catalogue, so a column widened by a later schema widens its fields with it.
class TestTextLengths : public QObject
{
    Q_OBJECT
    test::AppFixture m_app;

    using Make = std::function<std::unique_ptr<QWidget>(AppContext &)>;

private slots:
    void initTestCase() { m_app.open(); }

    void fieldsHoldTheirColumn_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("atLeast"); // text fields the editor must guard
        const auto place = [](AppContext &c) { return std::make_unique<PlaceEditorDialog>(c, 0); };
        const auto contractor = [](AppContext &c) { return std::make_unique<ContractorEditorDialog>(c, Contractor{}); };
        const auto contact = [](AppContext &c) { return std::make_unique<ContactEditorDialog>(c, Contact{}); };
        const auto user = [](AppContext &c) { return std::make_unique<UserEditorDialog>(c, UserRecord{}); };
        const auto settings = [](AppContext &c) { return std::make_unique<SettingsDialog>(c); };
        const auto owner = [](AppContext &c) { return std::make_unique<OwnerDialog>(c, Owner{}, false); };
        const auto log = [](AppContext &c) { return std::make_unique<LogEntryDialog>(c, LogRecord{}); };
        const auto lotPlaces = [](AppContext &c) { return std::make_unique<OwnersTab>(c, 0, 1); };
        const auto species = [](AppContext &c) {
            const auto save = [](const ReferenceRow &) { return Status(); };
            return std::make_unique<ReferenceDetailDialog>(c, ReferenceTable::Essence, ReferenceRow{}, save);
        };
        QTest::newRow("place") << Make(place) << QStringLiteral("destination") << 20;
        QTest::newRow("contractor") << Make(contractor) << QStringLiteral("intervenant_possible") << 2;
        QTest::newRow("contact") << Make(contact) << QStringLiteral("contact") << 7;
        QTest::newRow("user") << Make(user) << QStringLiteral("mot_passe") << 5;
        QTest::newRow("settings") << Make(settings) << QStringLiteral("perso") << 14;
        QTest::newRow("owner") << Make(owner) << QStringLiteral("proprietaire") << 7;
        QTest::newRow("log") << Make(log) << QStringLiteral("grume") << 1;
        QTest::newRow("lot places") << Make(lotPlaces) << QStringLiteral("coupe") << 4;
        QTest::newRow("species") << Make(species) << QStringLiteral("essence") << 1;
    }
    void fieldsHoldTheirColumn()
    {
        QFETCH(Make, make);
        QFETCH(QString, table);
        QFETCH(int, atLeast);
        auto lengths = textColumnLengths(m_app.db, table);
        QVERIFY(lengths);
        std::unique_ptr<QWidget> editor = make(m_app.context);
        int guarded = 0;
        for (QLineEdit *field : editor->findChildren<QLineEdit *>()) {
            const auto it = lengths->constFind(field->objectName().toLower());
            if (it == lengths->cend() || field->isReadOnly()) continue;
            const QValidator *validator = field->validator();
            QVERIFY2(validator, qPrintable(field->objectName() + QStringLiteral(" has no limit")));
            int pos = 0;
            QString fits(qMin(it->characters, 5000), QLatin1Char('a'));
            QString past = fits + QLatin1Char('a');
            if (qobject_cast<const QRegularExpressionValidator *>(validator) ||
                qobject_cast<const QDoubleValidator *>(validator) || qobject_cast<const QIntValidator *>(validator))
                continue; // a number field of a text column: its own rule
            QCOMPARE(validator->validate(fits, pos), QValidator::Acceptable);
            if (it->characters <= 5000)
                QVERIFY2(validator->validate(past, pos) == QValidator::Invalid,
                         qPrintable(field->objectName() + QStringLiteral(" takes more than its column")));
            ++guarded;
        }
        QVERIFY2(guarded >= atLeast, qPrintable(QStringLiteral("%1 fields guarded").arg(guarded)));
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestTextLengths)
#include "tst_textlengths.moc"
