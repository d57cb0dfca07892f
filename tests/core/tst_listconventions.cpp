#include "decimalentry.h"
#include "dialogs.h"
#include "gridmodel.h"
#include "masterdetail.h"
#include "scripteddialogs.h"
#include "wheelrowstepper.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

using namespace ravelin;

class TestListConventions : public QObject
{
    Q_OBJECT
private slots:
    void decimalKey_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("comma machine, point typed") << ","
                                                    << "12.5"
                                                    << "12,5";
        QTest::newRow("comma machine, comma typed") << ","
                                                    << "12,5"
                                                    << "12,5";
        QTest::newRow("point machine, comma typed") << "."
                                                    << "3,75"
                                                    << "3.75";
        QTest::newRow("other keys untouched") << ","
                                              << "a-1/2"
                                              << "a-1/2";
    }
    void decimalKey()
    {
        QFETCH(QString, separator);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLineEdit field;
        installDecimalEntry(&field, separator.at(0));
        QTest::keyClicks(&field, typed);
        QCOMPARE(field.text(), shown);
    }

    void deleteConfirmation_data()
    {
        QTest::addColumn<QVariantList>("answers");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<int>("questions");
        QTest::newRow("no") << QVariantList{false} << false << 1;
        QTest::newRow("yes then SUPPRIMER") << QVariantList{true, QStringLiteral("SUPPRIMER")} << true << 2;
        QTest::newRow("yes then lower case") << QVariantList{true, QStringLiteral("supprimer")} << false << 2;
        QTest::newRow("yes then spaces") << QVariantList{true, QStringLiteral("SUPPRIMER ")} << false << 2;
        QTest::newRow("yes then cancel") << QVariantList{true, QVariant()} << false << 2;
    }
    void deleteConfirmation()
    {
        QFETCH(QVariantList, answers);
        QFETCH(bool, confirmed);
        QFETCH(int, questions);
        test::ScriptedDialogs dialogs;
        dialogs.answers(answers);
        QCOMPARE(confirmDeletion(dialogs, QStringLiteral("Supprimer l'essence CHENE ?")), confirmed);
        QCOMPARE(dialogs.shown().size(), questions);
        QCOMPARE(dialogs.shown().first().kind, QStringLiteral("yesNo"));
        if (questions == 2) {
            QCOMPARE(dialogs.shown().at(1).caption, QStringLiteral("Supprimer une saisie"));
            QCOMPARE(dialogs.shown().at(1).text, QStringLiteral("Pour confirmer la suppression, tapez \"SUPPRIMER\" "));
        }
    }

    void gridFormatsAndColours()
    {
        QStandardItemModel source(2, 3);
        source.setHorizontalHeaderLabels(
            {QStringLiteral("montant"), QStringLiteral("volume"), QStringLiteral("date_creation")});
        source.setData(source.index(0, 0), 1234.5);
        source.setData(source.index(0, 1), 2.34567);
        source.setData(source.index(0, 2), QDate(2026, 3, 9));
        source.setData(source.index(1, 0), QVariant());
        GridModel grid;
        grid.setSourceModel(&source);
        grid.setFormat(QStringLiteral("montant"), QStringLiteral("#,##0.00"));
        grid.setFormat(QStringLiteral("volume"), QStringLiteral("0.000"));
        grid.setCaption(QStringLiteral("date_creation"), QStringLiteral("Date"));
        grid.setRowColour([](const QAbstractItemModel *m, int row) {
            return m->index(row, 0).data().isNull() ? rgb(QStringLiteral("RGB FF8080")) : QColor();
        });
        QCOMPARE(grid.index(0, 0).data().toString(), QStringLiteral("1 234,50"));
        QCOMPARE(grid.index(0, 1).data().toString(), QStringLiteral("2,346"));
        QCOMPARE(grid.index(0, 2).data().toString(), QStringLiteral("09/03/2026"));
        QCOMPARE(grid.index(1, 0).data().toString(), QString());
        QCOMPARE(grid.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Date"));
        QCOMPARE(grid.index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0x80, 0x80));
        QVERIFY(!grid.index(0, 1).data(Qt::BackgroundRole).isValid());
        QCOMPARE(grid.column(QStringLiteral("VOLUME")), 1);
        QCOMPARE(grid.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        grid.setAlignment(QStringLiteral("montant"), Qt::AlignCenter);
        QCOMPARE(grid.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(grid.raw(0, QStringLiteral("montant")).toDouble(), 1234.5);
    }

    // Changing rows quickly reloads the detail once, after the last change.
    void detailReloadsOnceAfterABurst()
    {
        int reloads = 0;
        DetailReload reload(50, [&] { ++reloads; });
        for (int i = 0; i < 5; ++i) {
            reload.restart();
            QCoreApplication::processEvents();
        }
        QCOMPARE(reloads, 0);
        QTRY_COMPARE(reloads, 1);
        QTest::qWait(80);
        QCOMPARE(reloads, 1);
    }

    void busyBarGrowsToThirty()
    {
        QProgressBar bar;
        bar.setValue(70);
        BusyBar busy(&bar, 25, 5);
        busy.restart();
        QCOMPARE(bar.value(), 0);
        QTRY_VERIFY(!busy.timer().isActive());
        QCOMPARE(bar.value(), 50); // 25, then 50: stops once at least 30
    }

    void wheelMovesOneRow()
    {
        QStandardItemModel model(5, 1);
        QTableView view;
        view.setModel(&model);
        WheelRowStepper::install(&view);
        view.resize(200, 200);
        view.show();
        view.setCurrentIndex(model.index(2, 0));
        auto wheel = [&](int delta) {
            QWheelEvent e(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(view.viewport(), &e);
        };
        wheel(120);
        QCOMPARE(view.currentIndex().row(), 1);
        wheel(-120);
        wheel(-120);
        QCOMPARE(view.currentIndex().row(), 3);
        wheel(-240);
        wheel(-120);
        QCOMPARE(view.currentIndex().row(), 4); // stays on the last row
    }
};

QTEST_MAIN(TestListConventions)
#include "tst_listconventions.moc"
