#include "loadingimport.h"

#include "boundquery.h"
#include "formats.h"
#include "multirow.h"
#include "orderstore.h"
#include "sql.h"
#include "statements.h"
#include "volumelines.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>
#include <deque>
#include <set>

namespace ravelin {

namespace {

// A log number as the lists compare it.
QString numberKey(const QString &number)
{
    return number.trimmed();
}

// The file's diameter and a stored one name the same log: the file gives two decimals, the lots
// keep what was measured (40.304) or what a sum left (40.300000000000004).
bool sameDiameter(double stored, double fromFile)
{
    return std::abs(stored - round2(fromFile)) <= 0.005 + 1e-9;
}

QString marks(qsizetype count)
{
    return QStringList(count, QStringLiteral("?")).join(QLatin1Char(','));
}

// A log on sale that a line of the file may name.
struct FreeLog
{
    QSqlRecord row;
    double diameter = 0;
    bool hasDiameter = false;
};

const QString freeLogColumns = QStringLiteral(
    "inc,n_grume,diametre,descriptif,N_lot,indice_lot,essence,classe,lieu,date_creation,date_lieu,m3,stock");

} // namespace

Result<int> logsAlreadyLoaded(QSqlDatabase db, int incCde, const QList<FileLog> &logs)
{
    if (logs.isEmpty()) return 0;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("select n_grume,diametre from liste_grume_cde where inc_cde=? and "
                                       "descriptif='GRUME' and n_grume is not null"),
                        {incCde});
        !s)
        return s.error();
    QHash<QString, QList<double>> loaded;
    while (q.next())
        if (!q.value(1).isNull()) loaded[numberKey(q.value(0).toString())].append(q.value(1).toDouble());
    int count = 0;
    for (const FileLog &log : logs) {
        if (!log.diameter) continue;
        const auto there = loaded.constFind(numberKey(log.number));
        if (there == loaded.cend()) continue;
        if (std::any_of(there->cbegin(), there->cend(), [&](double d) { return sameDiameter(d, *log.diameter); }))
            ++count;
    }
    return count;
}

QString loadingImportMessage(const LoadingImportDone &done)
{
    QString text = QString::number(done.notFound) + QStringLiteral(" grumes non existantes dans le stock de Grume !!!");
    if (!done.ambiguousLines.isEmpty()) {
        QStringList lines;
        for (int line : done.ambiguousLines) lines << QString::number(line);
        text +=
            QStringLiteral("\n%1 ligne(s) non importée(s) : plusieurs grumes disponibles correspondent (lignes %2).")
                .arg(done.ambiguousLines.size())
                .arg(lines.join(QStringLiteral(", ")));
    }
    return text;
}

Result<LoadingImportDone> importLoadingList(QSqlDatabase db, int incCde, const QString &quality, const TextFile &file,
                                            const std::function<void(int, int)> &progress, const QDateTime &now)
{
    if (file.error) return Error::refusal(file.error->message);
    for (const FileLog &log : file.logs)
        if (!log.length || !log.diameter) return Error::refusal(nothingImportedText());

    auto classes = readDiameterClasses(db);
    if (!classes) return classes.error();

    // The file's distinct numbers in file order, cut into batches; the lines of each batch.
    QList<QString> numbers;
    QHash<QString, int> batchOfNumber;
    for (const FileLog &log : file.logs) {
        const QString key = numberKey(log.number);
        if (batchOfNumber.contains(key)) continue;
        batchOfNumber.insert(key, int(numbers.size() / loadingImportBatch));
        numbers.append(key);
    }
    const int batches = int((numbers.size() + loadingImportBatch - 1) / loadingImportBatch);
    QList<QList<int>> linesOfBatch(batches);
    for (int i = 0; i < file.logs.size(); ++i)
        linesOfBatch[batchOfNumber.value(numberKey(file.logs[i].number))].append(i);
    const int lines = int(file.logs.size());
    const int steps = 2 * lines; // matched, then written

    const QStringList columns{
        QStringLiteral("inc_cde"),       QStringLiteral("inc_grume"), QStringLiteral("descriptif"),
        QStringLiteral("n_grume"),       QStringLiteral("n_lot"),     QStringLiteral("indice_lot"),
        QStringLiteral("essence"),       QStringLiteral("classe"),    QStringLiteral("lieu"),
        QStringLiteral("date_creation"), QStringLiteral("date_lieu"), QStringLiteral("m3"),
        QStringLiteral("stock"),         QStringLiteral("qualite"),   QStringLiteral("diametre"),
        QStringLiteral("longueur")};
    const QVariant chosenQuality = textOrNull(quality);

    LoadingImportDone done;
    const Status written = inTransaction(db, [&]() -> Status {
        done = LoadingImportDone{};
        done.lines = lines;
        auto order = lockOpenOrder(db, incCde, invoicedImportRefusal());
        if (!order) return order.error();

        // the log each line found (none when not found), and the lines that fit several
        QList<const FreeLog *> foundOf(lines, nullptr);
        QList<bool> ambiguous(lines, false);
        std::set<std::pair<int, int>> lots; // touched, ascending
        std::deque<FreeLog> freeLogs;       // kept in place: the lines point at them
        int progressed = 0;
        for (int b = 0; b < batches; ++b) {
            // Numbers repeat from lot to lot: only the logs some line of the file could take are read,
            // each (number, diameter) pair a range of idx_grume_number_diameter. The range is a little
            // wider than sameDiameter(), which decides.
            QHash<QString, QList<double>> wanted;
            QString ranges;
            QVariantList values;
            for (int i : linesOfBatch[b]) {
                const FileLog &line = file.logs[i];
                QList<double> &diameters = wanted[numberKey(line.number)];
                const double diameter = round2(*line.diameter);
                if (diameters.contains(diameter)) continue;
                diameters.append(diameter);
                if (!ranges.isEmpty()) ranges += QStringLiteral(" or ");
                ranges += QStringLiteral("(n_grume=? and diametre between ? and ?)");
                values << numberKey(line.number) << diameter - 0.006 << diameter + 0.006;
            }
            QSqlQuery q(db);
            q.setForwardOnly(true);
            if (Status s = exec(q,
                                QStringLiteral("select %1 from grume where descriptif='GRUME' and (%2) and "
                                               "(livree<>'OUI' or livree is null) order by inc for update")
                                    .arg(freeLogColumns, ranges),
                                values);
                !s)
                return s;
            QHash<QString, QList<FreeLog *>> candidates;
            const std::size_t readFrom = freeLogs.size();
            while (q.next()) {
                if (q.value(2).isNull()) continue;
                const double diameter = q.value(2).toDouble();
                const auto there = wanted.constFind(numberKey(q.value(1).toString()));
                if (there == wanted.cend() ||
                    std::none_of(there->cbegin(), there->cend(), [&](double d) { return sameDiameter(diameter, d); }))
                    continue;
                FreeLog log;
                log.row = q.record();
                log.hasDiameter = true;
                log.diameter = diameter;
                freeLogs.push_back(log);
            }
            for (std::size_t i = readFrom; i < freeLogs.size(); ++i)
                candidates[numberKey(freeLogs[i].row.value(1).toString())].append(&freeLogs[i]);

            // in file order, as if line by line: a log found leaves the candidates
            QVariantList markValues;
            QVariantList markIncs;
            for (int i : linesOfBatch[b]) {
                const FileLog &log = file.logs[i];
                QList<FreeLog *> &ofNumber = candidates[numberKey(log.number)];
                QList<qsizetype> matching;
                for (qsizetype c = 0; c < ofNumber.size(); ++c)
                    if (ofNumber[c]->hasDiameter && sameDiameter(ofNumber[c]->diameter, *log.diameter))
                        matching.append(c);
                if (matching.size() > 1) {
                    ambiguous[i] = true;
                    continue;
                }
                if (matching.isEmpty()) continue;
                FreeLog *taken = ofNumber.takeAt(matching.first());
                foundOf[i] = taken;
                const QVariant m3 = taken->row.value(QStringLiteral("m3"));
                markValues << taken->row.value(0) << (m3.isNull() ? QVariant() : QVariant(round2(m3.toDouble())));
                markIncs << taken->row.value(0);
                const QVariant nLot = taken->row.value(QStringLiteral("N_lot"));
                if (!nLot.isNull()) lots.insert({nLot.toInt(), taken->row.value(QStringLiteral("indice_lot")).toInt()});
            }
            if (!markIncs.isEmpty()) {
                QString cases;
                for (qsizetype m = 0; m < markIncs.size(); ++m) cases += QStringLiteral(" when ? then ?");
                auto marked = execute(db,
                                      QStringLiteral("update grume set livree='OUI', m3_livre=case inc%1 end where "
                                                     "inc in (%2) and (livree<>'OUI' or livree is null)")
                                          .arg(cases, marks(markIncs.size())),
                                      markValues + markIncs);
                if (!marked) return marked.error();
                if (*marked != markIncs.size())
                    return Error::refusal(QStringLiteral("Des grumes de ce fichier ont été livrées sur un autre poste "
                                                         "pendant l'import. ") +
                                          nothingImportedText());
            }
            progressed += int(linesOfBatch[b].size());
            if (progress) progress(progressed, steps);
        }

        // the rows, in file order
        QList<QVariantList> rows;
        rows.reserve(loadingImportBatch);
        const auto flush = [&]() -> Status {
            if (rows.isEmpty()) return {};
            if (Status s = insertRows(db, QStringLiteral("liste_grume_cde"), columns, rows); !s) return s;
            rows.clear();
            return {};
        };
        for (int i = 0; i < lines; ++i) {
            const FileLog &log = file.logs[i];
            done.previewTotal += previewVolume(log);
            if (ambiguous[i]) {
                done.ambiguousLines.append(log.line);
            } else if (const FreeLog *found = foundOf[i]) {
                const QSqlRecord &r = found->row;
                rows.append({incCde, r.value(0), r.value(QStringLiteral("descriptif")), log.number,
                             r.value(QStringLiteral("N_lot")), r.value(QStringLiteral("indice_lot")),
                             r.value(QStringLiteral("essence")), r.value(QStringLiteral("classe")),
                             r.value(QStringLiteral("lieu")), r.value(QStringLiteral("date_creation")),
                             r.value(QStringLiteral("date_lieu")), r.value(QStringLiteral("m3")),
                             r.value(QStringLiteral("stock")), chosenQuality, *log.diameter, *log.length});
                ++done.found;
            } else {
                const double m3 = round2(*log.diameter * *log.diameter * 3.14 / 40000.0 * *log.length);
                const auto classe = classForDiameter(*classes, *log.diameter);
                rows.append({incCde, QVariant(), QStringLiteral("GRUME"), log.number, QVariant(), QVariant(),
                             textOrNull(log.species), classe ? QVariant(*classe) : QVariant(), QVariant(), now, now,
                             std::isfinite(m3) ? QVariant(m3) : QVariant(), QVariant(), chosenQuality, *log.diameter,
                             *log.length});
                ++done.notFound;
            }
            if (rows.size() == loadingImportBatch) {
                if (Status s = flush(); !s) return s;
                if (progress) progress(lines + i + 1, steps);
            }
        }
        if (Status s = flush(); !s) return s;
        if (progress) progress(steps, steps);

        for (const auto &[nLot, indiceLot] : lots) {
            auto totals = updateLotLogTotals(db, nLot, indiceLot);
            if (!totals) return totals.error();
        }
        return {};
    });
    if (!written) return written.error();
    return done;
}

} // namespace ravelin
