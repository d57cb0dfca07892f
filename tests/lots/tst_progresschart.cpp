#include "appcontext.h"
#include "lotrecompute.h"
#include "progresschart.h"
#include "scripteddialogs.h"
#include "sql.h"
#include "testdb.h"

#include <QLabel>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTest>

using namespace ravelin;

namespace {

const QColor blue(0x00, 0x80, 0xC0);
const QColor green(0x00, 0xFF, 0x00);
const QColor orange(0xFF, 0x80, 0x40);
const QColor grey(0xE6, 0xE6, 0xE6);

ProgressLine line(const QString &essence, const QString &qualite, double qte, double delivered, int finPied,
                  int finAbattage)
{
    ProgressLine l;
    l.essence = essence;
    l.qualite = qualite;
    l.unite = QStringLiteral("m3");
    l.qte = qte;
    l.qteLivree = delivered;
    l.available = qte - delivered;
    l.surPied = qte * (100 - finPied) / 100;
    l.abattage = 12.5;
    l.debardage = -3;
    l.broyageReel = 1.5;
    l.volumeLivre = 2.25;
    l.volumeTransfert = 3;
    l.volumeLivreStock = 4;
    l.finPied = finPied;
    l.finAbattage = finAbattage;
    return l;
}

const ChartText *find(const ProgressPicture &p, const QString &text)
{
    for (const ChartText &t : p.texts)
        if (t.text == text) return &t;
    return nullptr;
}

} // namespace

class TestProgressChart : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;

    void run(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto done = execute(m_db, sql, values);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText()));
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        m_context.db = m_db;
        m_context.dialogs = &m_dialogs;
    }

    void threeLines()
    {
        LotProgress progress;
        progress.lines = {line(QStringLiteral("Chêne"), QStringLiteral("A"), 100, 10, 60, 25),
                          line(QStringLiteral("Hêtre"), QStringLiteral("B"), 50, 0, 100, 100),
                          line(QStringLiteral("Douglas"), QStringLiteral("C"), 20.5, 20.5, 0, 0)};
        progress.commentaire = QStringLiteral("Accès par la piste\nPortail fermé");
        const ProgressPicture p = renderProgressChart(progress, 600);
        QCOMPARE(p.image.size(), QSize(600, 3 * 180 + 200));
        if (qEnvironmentVariableIsSet("RAVELIN_CHART_PICTURE"))
            p.image.save(qEnvironmentVariable("RAVELIN_CHART_PICTURE"));
        QCOMPARE(p.scrollMaximum, 301);
        QCOMPARE(p.image.pixelColor(1, 1), blue);

        struct Expected
        {
            const char *text;
            QPoint at;
            QColor colour;
            QColor background;
            int size;
        };
        const Expected expected[] = {
            {"Chêne", {10, 5}, green, QColor(), 12},
            {"A", {150, 5}, green, QColor(), 12},
            {"Totale : 100,00 m3", {10, 30}, Qt::white, QColor(), 10},
            {"Dispo : 90,00 m3", {150, 30}, Qt::black, green, 12},
            {"Livrée : 10,00 m3", {320, 30}, Qt::white, blue, 10},
            {"SUR PIED : ", {60, 60}, Qt::black, QColor(), 10},
            {"40,00 m3", {230, 60}, Qt::blue, QColor(), 10},
            {"ABATTU : ", {60, 80}, Qt::black, QColor(), 10},
            {"DEBARDAGE : ", {60, 100}, Qt::black, QColor(), 10},
            {"-3,00 m3", {230, 100}, Qt::blue, QColor(), 10},
            {"Liv. PLAQ depuis COUPE: ", {10, 130}, Qt::white, blue, 10},
            {"1,50", {220, 130}, green, QColor(), 10},
            {"Liv. BOIS depuis COUPE: ", {10, 150}, Qt::white, blue, 10},
            {"2,25", {220, 150}, green, QColor(), 10},
            {"TRANSF. vers STOCK: ", {230, 130}, Qt::white, blue, 10},
            {"3,00", {440, 130}, green, QColor(), 10},
            {"Liv. BOIS depuis STOCK: ", {230, 150}, Qt::white, blue, 10},
            {"4,00", {440, 150}, green, QColor(), 10},
            {"60%", {288, 74}, Qt::black, QColor(), 7},
            {"25%", {388, 74}, Qt::black, QColor(), 7},
            {"ABATTAGE", {270, 110}, Qt::white, blue, 8},
            {"DEBARDAGE", {370, 110}, Qt::white, blue, 8},
            {"Hêtre", {10, 185}, green, QColor(), 12},
            {"100%", {290, 254}, Qt::black, QColor(), 7},
            {"Dispo : 0,00 m3", {150, 390}, Qt::black, green, 12},
            {"0%", {295, 434}, Qt::black, QColor(), 7},
            {"Accès par la piste", {10, 360 + 190}, Qt::white, QColor(), 10},
            {"Portail fermé", {10, 360 + 208}, Qt::white, QColor(), 10},
        };
        for (const Expected &e : expected) {
            const QString text = QString::fromUtf8(e.text);
            const ChartText *t = find(p, text);
            QVERIFY2(t, qPrintable(text));
            QCOMPARE(t->at, e.at);
            QCOMPARE(t->colour, e.colour);
            QCOMPARE(t->background, e.background);
            QCOMPARE(t->pointSize, e.size);
        }
        QVERIFY(find(p, QStringLiteral("40,00 m3"))->rightAligned);

        // Frame, grey box, gauges: 60 % orange from the top clockwise, 100 % all green, 0 % grey.
        QCOMPARE(p.image.pixelColor(3, 100), green);
        QCOMPARE(p.image.pixelColor(597, 100), green);
        QCOMPARE(p.image.pixelColor(55, 58), QColor(0xEA, 0xEA, 0xEA));
        QCOMPARE(p.image.pixelColor(300 + 20, 80), orange);      // east: a quarter, done
        QCOMPARE(p.image.pixelColor(300, 80 + 20), orange);      // south: half, done
        QCOMPARE(p.image.pixelColor(300 - 20, 80), grey);        // west: three quarters, not yet
        QCOMPARE(p.image.pixelColor(300, 80), Qt::white);        // the hole
        QCOMPARE(p.image.pixelColor(400 + 14, 80 - 14), orange); // north-east: within the first quarter
        QCOMPARE(p.image.pixelColor(400, 80 + 20), grey);
        for (const QPoint &ring : {QPoint(300 + 20, 260), QPoint(300 - 20, 260), QPoint(300, 260 + 20)})
            QCOMPARE(p.image.pixelColor(ring), green);
        QCOMPARE(p.image.pixelColor(300 + 20, 440), grey);
        // The tree stands in the grey box.
        bool tree = false;
        for (int x = 200; x < 250 && !tree; ++x)
            for (int y = 60; y < 125 && !tree; ++y)
                tree = p.image.pixelColor(x, y) != QColor(0xEA, 0xEA, 0xEA) && p.image.pixelColor(x, y) != Qt::black &&
                       p.image.pixelColor(x, y) != Qt::blue;
        QVERIFY(tree);
    }

    void noLines()
    {
        const ProgressPicture p = renderProgressChart(LotProgress(), 300, 150);
        QCOMPARE(p.image.size(), QSize(300, 150));
        QVERIFY(p.texts.isEmpty());
        QCOMPARE(p.scrollMaximum, 0);
        for (const QPoint &at : {QPoint(0, 0), QPoint(150, 75), QPoint(299, 149)})
            QCOMPARE(p.image.pixelColor(at), blue);
    }

    void widgetReadsTheLot()
    {
        run(QStringLiteral("insert into coupe (n_lot, indice_lot, groupe_essence, coupe_fini, commentaire) "
                           "values (7, 1, 'NON', 'NON', 'Une ligne')"));
        for (const char *species : {"Chêne", "Hêtre", "Frêne"})
            run(QStringLiteral(
                    "insert into grume (N_lot, descriptif, essence, qualite, unite, unite_defaut, qte, qte_defaut, "
                    "fin_pied, fin_abattage) values (7, 'VOLUME', ?, 'A', 'm3', 'm3', 30, 30, 50, 0)"),
                {QString::fromUtf8(species)});
        QVERIFY(recomputeLot(m_db, 7));
        ProgressChart chart(m_context);
        chart.resize(620, 400);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.showLot(7);
        QCOMPARE(chart.lot(), 7);
        QCOMPARE(chart.picture().image.height(), 740);
        QCOMPARE(chart.scrollBar()->maximum(), 301);
        QCOMPARE(chart.scrollBar()->value(), 0);
        QVERIFY(find(chart.picture(), QStringLiteral("Frêne")));
        QVERIFY(find(chart.picture(), QStringLiteral("SUR PIED : ")));
        QVERIFY(find(chart.picture(), QStringLiteral("15,00 m3")));
        QVERIFY(find(chart.picture(), QStringLiteral("Une ligne")));
        QCOMPARE(chart.picture().image.width(), 620 - chart.scrollBar()->width());
        chart.scrollBar()->setValue(120);
        // Narrower: drawn again without reading, the scroll position kept.
        chart.resize(500, 400);
        QCOMPARE(chart.picture().image.width(), 500 - chart.scrollBar()->width());
        QCOMPARE(chart.scrollBar()->value(), 120);
        chart.showLot(8);
        QVERIFY(chart.picture().texts.isEmpty());
        QCOMPARE(chart.scrollBar()->maximum(), 0);
        chart.showLot(0);
        QCOMPARE(chart.lot(), 0);
        QVERIFY(m_dialogs.shown().isEmpty());
    }

    void progressLabel()
    {
        QLabel label;
        label.setVisible(false);
        const auto previous = showRecomputeProgressIn(&label);
        // The handler now installed drives the label.
        const auto handler = setRecomputeProgressHandler({});
        handler(recomputeProgressText(12));
        QCOMPARE(label.text(), QStringLiteral("Mise à jour Coupe de bois n° 12 en cours ..."));
        QVERIFY(!label.isHidden());
        handler(QString());
        QVERIFY(label.isHidden());
        setRecomputeProgressHandler(handler);
        QVERIFY(recomputeLot(m_db, 7));
        QVERIFY(label.isHidden());
        setRecomputeProgressHandler(previous);
    }
};

QTEST_MAIN(TestProgressChart)
#include "tst_progresschart.moc"
