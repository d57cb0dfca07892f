// The rows of the text imports, the map pages and the post-it check: a measuring device's file of
// 50,000 logs previewed and written into the biggest lot, a loader's list of 5,000 logs previewed
// and recorded on the biggest open order, the lots map, and one tick of the post-it timer with no
// note and with a thousand.
#include "actionhelpers.h"
#include "benchaction.h"

#include "loadingimportdialog.h"
#include "logimportdialog.h"
#include "lotlisttab.h"
#include "lotstore.h"
#include "mapserver.h"
#include "postitboard.h"
#include "sql.h"
#include "ui_lotlisttab.h"
#include "ui_textimportdialog.h"
#include "volumelines.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

namespace ravelin::bench {

namespace {

constexpr int fileLogs = 50000;

// A device's file, seeded: both layouts, decimal commas, Windows-1252 ("FRÊ", "€"), CR LF. The log
// numbers (77 and seven digits) tell the benchmark's logs from the company's.
QString deviceFile()
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("grumes.txt"));
    if (QFile::exists(path)) return path;
    QRandomGenerator random(1711);
    const QList<QByteArray> codes{"CH", "HE", "FR\xCA", "DOU", "EPI", "XX"};
    QByteArray bytes = "N\xB0;Date;Code;Long;Qual;Dia;Remarque\r\n";
    for (int i = 0; i < fileLogs; ++i) {
        const QByteArray number = QByteArray::number(770000000 + i);
        const QByteArray code = codes[random.bounded(int(codes.size()))];
        const QByteArray length = QByteArray::number(random.bounded(20, 160) / 10.0, 'f', 1).replace('.', ',');
        const QByteArray diameter = QByteArray::number(random.bounded(15, 90));
        if (i % 2) bytes += number + ";12/03/2026;" + code + ";" + length + ";B;" + diameter + ";\r\n";
        else // the long layout: one more field before the code
            bytes += number + ";12/03/2026;Parcelle " + QByteArray::number(i % 40) + " \x80 lot suivi;" + code + ";" +
                     length + ";B;" + diameter + ";mesure au compas\r\n";
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

// Untimed: the benchmark's logs out of the biggest lot again, its totals as they were.
ActionResult removeImportedLogs(BenchContext &ctx)
{
    const int lot = ctx.intParameter(QStringLiteral("biggest_lot"));
    if (auto done = execute(ctx.db,
                            QStringLiteral("delete from grume where N_lot=? and descriptif='GRUME' and n_grume like "
                                           "'77_______'"),
                            {lot});
        !done)
        return failed(done.error());
    if (auto totals = updateLotLogTotals(ctx.db, lot, 1); !totals) return failed(totals.error());
    return ActionResult{};
}

constexpr int loadingLines = 5000;

// A loader's list for the order, seeded: logs on sale of 40 lots (nine lines in ten), the rest
// unknown numbers (88 and seven digits), Windows-1252 ("Chêne"), decimal commas, CR LF.
QString loadingFile(BenchContext &ctx)
{
    return *ctx.object<QString>(QStringLiteral("loading list"), [&ctx] {
        static QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("chargement_%1.txt").arg(ctx.label));
        auto logs = select(ctx.db,
                           QStringLiteral("select n_grume, diametre from grume where descriptif='GRUME' and inc_cde is "
                                          "null and (livree<>'OUI' or livree is null) and n_grume is not null and "
                                          "diametre is not null and N_lot in (select N_lot from (select N_lot from "
                                          "grume where descriptif='GRUME' and inc_cde is null and (livree<>'OUI' or "
                                          "livree is null) group by N_lot order by count(*) desc, N_lot limit 40) t) "
                                          "order by N_lot, n_grume limit ?"),
                           {loadingLines * 9 / 10});
        QRandomGenerator random(1911);
        QByteArray bytes = "Essence;N\xB0;Lot;Long;Dia;Remarque\r\n";
        const auto decimal = [](double v) { return QByteArray::number(v, 'f', 2).replace('.', ','); };
        int written = 0;
        if (logs)
            for (const QSqlRecord &log : *logs) {
                bytes += "Ch\xEAne;" + log.value(0).toString().toLatin1() + ";x;" +
                         decimal(random.bounded(20, 160) / 10.0) + ";" + decimal(log.value(1).toDouble()) + ";\r\n";
                ++written;
            }
        for (int i = written; i < loadingLines; ++i)
            bytes += "Douglas;" + QByteArray::number(880000000 + i) + ";x;" + decimal(random.bounded(20, 160) / 10.0) +
                     ";" + decimal(random.bounded(15, 90)) + ";\r\n";
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return new QString(path);
    });
}

// Untimed: the benchmark's rows out of the order again, their logs back on sale, the lots'
// totals as they were; then the mark of the rows to come.
ActionResult undoLoadingImport(BenchContext &ctx)
{
    const int order = ctx.intParameter(QStringLiteral("loading_order"));
    const QString markText = ctx.parameter(QStringLiteral("loading_mark"));
    const int mark = markText.toInt();
    if (!markText.isEmpty()) {
        auto lots = select(ctx.db,
                           QStringLiteral("select distinct n_lot, indice_lot from liste_grume_cde where inc_cde=? and "
                                          "inc>? and inc_grume is not null order by 1, 2"),
                           {order, mark});
        if (!lots) return failed(lots.error());
        if (auto done = execute(ctx.db,
                                QStringLiteral("update grume g join liste_grume_cde l on l.inc_grume=g.inc set "
                                               "g.livree=null, g.m3_livre=null where l.inc_cde=? and l.inc>?"),
                                {order, mark});
            !done)
            return failed(done.error());
        if (auto done =
                execute(ctx.db, QStringLiteral("delete from liste_grume_cde where inc_cde=? and inc>?"), {order, mark});
            !done)
            return failed(done.error());
        for (const QSqlRecord &lot : *lots)
            if (auto totals = updateLotLogTotals(ctx.db, lot.value(0).toInt(), lot.value(1).toInt()); !totals)
                return failed(totals.error());
    }
    auto last = scalar(ctx.db, QStringLiteral("select ifnull(max(inc),0) from liste_grume_cde"));
    if (!last) return failed(last.error());
    ctx.parameters.insert(QStringLiteral("loading_mark"), last->toString());
    (void)loadingFile(ctx);
    return ActionResult{};
}

// The screen's reading or writing waited for, the user-interface thread serving events meanwhile.
void waitForScreen(TextImportDialog &screen)
{
    if (!screen.isBusy()) return;
    QEventLoop loop;
    QObject::connect(&screen, &TextImportDialog::idle, &loop, &QEventLoop::quit);
    loop.exec();
}

// "Importer" on a screen given its file, waited for; what it wrote is undone by `undo` when the
// harness lets go of the result (the company stays as it was generated).
ActionResult importFile(BenchContext &ctx, const std::shared_ptr<TextImportDialog> &screen, const QString &file,
                        ActionResult (*undo)(BenchContext &))
{
    screen->load(file);
    waitForScreen(*screen);
    ctx.dialogs.take();
    screen->ui()->BtnImporter->click();
    waitForScreen(*screen);
    ActionResult r;
    const QStringList shown = ctx.dialogs.take();
    if (screen->result() != QDialog::Accepted) r.error = shown.join(QLatin1Char(' '));
    r.rows = screen->contents().logs.size();
    BenchContext *context = &ctx;
    r.keep = std::shared_ptr<void>(nullptr, [context, undo](void *) { (void)undo(*context); });
    return r;
}

LotListTab *mapTab(BenchContext &ctx)
{
    return ctx.object<LotListTab>(QStringLiteral("lot tab for the map"), [&ctx] {
        ctx.app.applicationFolder = applicationFolder(ctx);
        // the page is written and served; no browser opens during a benchmark
        setMapPageOpener([](const QUrl &, const QString &) { return true; });
        auto *tab = new LotListTab(ctx.app);
        tab->resize(1280, 800);
        tab->show();
        return tab;
    });
}

ActionFunction prepareMap(bool finished)
{
    return [finished](BenchContext &ctx) {
        LotListTab *tab = mapTab(ctx);
        tab->ui()->radio_histo1->setChecked(finished);
        tab->search();
        ActionResult r;
        r.pending = deferredWork(tab);
        return r;
    };
}

ActionResult clickMap(BenchContext &ctx)
{
    LotListTab *tab = mapTab(ctx);
    ctx.dialogs.take();
    tab->ui()->BtnCarte->click();
    // the map is read on the list's worker: the user waits for the page, the screen stays free
    while (tab->isMapRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    ActionResult r;
    const QStringList shown = ctx.dialogs.take();
    if (!shown.isEmpty()) r.error = shown.join(QLatin1Char(' '));
    return r;
}

struct PostitScreen
{
    QWidget window;
    QTimer timer;
    std::unique_ptr<PostitBoard> board;
};

// Untimed: `notes` notes waiting for the signed-in user, the board already showing them, so that
// the tick measured is the steady one (nothing changed).
ActionFunction preparePostits(int notes)
{
    return [notes](BenchContext &ctx) {
        auto *screen = ctx.object<PostitScreen>(QStringLiteral("post-its"), [&ctx] {
            auto *s = new PostitScreen;
            s->window.resize(1280, 1000);
            s->board = std::make_unique<PostitBoard>(ctx.app, &s->window, &s->timer);
            return s;
        });
        const QString user = ctx.app.user();
        auto there = scalar(ctx.db, QStringLiteral("select count(*) from postit where utilisateur=?"), {user});
        if (!there) return failed(there.error());
        if (there->toInt() != notes) {
            if (auto done = execute(ctx.db, QStringLiteral("delete from postit where utilisateur=?"), {user}); !done)
                return failed(done.error());
            for (int i = 0; i < notes; ++i)
                if (auto done = execute(ctx.db,
                                        QStringLiteral("insert into postit (utilisateur,message1,Date_postit,origine) "
                                                       "values (?,?,?,'bench')"),
                                        {user, QStringLiteral("note %1").arg(i),
                                         QStringLiteral("%1/01/2026 10:%2:00")
                                             .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                             .arg(i % 60, 2, 10, QLatin1Char('0'))});
                    !done)
                    return failed(done.error());
        }
        screen->board->check();
        screen->timer.stop();
        return ActionResult{};
    };
}

ActionResult tickPostits(BenchContext &ctx)
{
    auto *screen = ctx.object<PostitScreen>(QStringLiteral("post-its"), [] { return new PostitScreen; });
    screen->board->check();
    screen->timer.stop();
    ActionResult r;
    r.rows = screen->board->notes().size();
    return r;
}

const QString kTickSql = QStringLiteral(
    "select count(*), ifnull(bit_xor(crc32(concat_ws(char(1),Date_postit,origine,message1,message2,message3,"
    "message4,message5))),0) from postit where utilisateur='admin'");

} // namespace

BenchSection importSection()
{
    BenchSection s;
    s.parameters = {
        // the open order with the most lines (an invoiced order refuses the import)
        {QStringLiteral("loading_order"),
         QStringLiteral("SELECT l.inc_cde FROM liste_grume_cde l JOIN cde c ON c.inc=l.inc_cde WHERE "
                        "c.facturee IS NULL OR c.facturee<>'OUI' GROUP BY l.inc_cde "
                        "ORDER BY COUNT(*) DESC, l.inc_cde LIMIT 1")},
    };
    s.actions = {
        {QStringLiteral("import1 : aperçu d'un fichier de 50 000 grumes"),
         [](BenchContext &ctx) {
             auto screen = std::make_shared<TextImportDialog>(
                 ctx.app, logImportSteps(ctx.intParameter(QStringLiteral("biggest_lot")), 1));
             screen->load(deviceFile());
             waitForScreen(*screen);
             ActionResult r = shownList(screen.get(), screen->contents().logs.size(), screen);
             if (screen->contents().error) r.error = screen->contents().error->message;
             return r;
         },
         QStringLiteral("select 1")},
        {QStringLiteral("import1 : importer 50 000 grumes dans la plus grosse coupe"),
         [](BenchContext &ctx) {
             const int lot = ctx.intParameter(QStringLiteral("biggest_lot"));
             return importFile(ctx, std::make_shared<TextImportDialog>(ctx.app, logImportSteps(lot, 1)), deviceFile(),
                               removeImportedLogs);
         },
         QStringLiteral("select n_grume from grume where N_lot={biggest_lot} and descriptif='GRUME' and indice_lot=1; "
                        "select code,essence from essence; select classe,dia_mini,dia_maxi from classe; "
                        "select lieu from coupe where n_lot={biggest_lot}"),
         QString(), removeImportedLogs},
        {QStringLiteral("Import_chargement_grume : aperçu d'une liste de 5 000 grumes"),
         [](BenchContext &ctx) {
             auto screen = std::make_shared<TextImportDialog>(
                 ctx.app, loadingImportSteps(ctx.intParameter(QStringLiteral("loading_order"))));
             screen->load(loadingFile(ctx));
             waitForScreen(*screen);
             ActionResult r = shownList(screen.get(), screen->contents().logs.size(), screen);
             if (screen->contents().error) r.error = screen->contents().error->message;
             return r;
         },
         QStringLiteral("select 1"), QString(),
         [](BenchContext &ctx) {
             (void)loadingFile(ctx);
             return ActionResult{};
         }},
        {QStringLiteral("Import_chargement_grume : 5 000 grumes chargées sur la plus grosse commande"),
         [](BenchContext &ctx) {
             auto screen = std::make_shared<TextImportDialog>(
                 ctx.app, loadingImportSteps(ctx.intParameter(QStringLiteral("loading_order"))));
             screen->setQualities({QStringLiteral("A")});
             return importFile(ctx, screen, loadingFile(ctx), undoLoadingImport);
         },
         QStringLiteral("select * from cde where inc={loading_order}; "
                        "select n_grume,diametre from liste_grume_cde where inc_cde={loading_order} and "
                        "descriptif='GRUME'; select classe,dia_mini,dia_maxi from classe"),
         QString(), undoLoadingImport},
        {QStringLiteral("Carte des coupes (liste par défaut)"), clickMap,
         QStringLiteral("select centre_carte from perso limit 1; "
                        "select n_lot,lieu,estimation,latitude from coupe where (coupe_fini<>'OUI' or coupe_fini is "
                        "null) and latitude<>'' order by n_lot desc; "
                        "select client,cp,ville,latitude,stockage from destination where latitude is not null"),
         QString(), prepareMap(false)},
        {QStringLiteral("Carte des coupes (coupes terminées comprises)"), clickMap,
         QStringLiteral("select centre_carte from perso limit 1; "
                        "select n_lot,lieu,estimation,latitude from coupe where latitude<>'' order by n_lot desc; "
                        "select client,cp,ville,latitude,stockage from destination where latitude is not null"),
         QString(), prepareMap(true)},
        {QStringLiteral("Post-it : contrôle, aucune note"), tickPostits, kTickSql, QString(), preparePostits(0)},
        {QStringLiteral("Post-it : contrôle, 1 000 notes"), tickPostits, kTickSql, QString(), preparePostits(1000)},
    };
    return s;
}

} // namespace ravelin::bench
