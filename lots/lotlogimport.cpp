#include "lotlogimport.h"

#include "columnlengths.h"
#include "formats.h"
#include "multirow.h"
#include "servererrors.h"
#include "sql.h"
#include "statements.h"

#include <QHash>
#include <QSet>

namespace ravelin {

namespace {

// A species code as the server's collation compares it: without case and accents.
QString comparedCode(const QString &code)
{
    const QString decomposed = code.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) key.append(c);
    return key.toCaseFolded().trimmed();
}

} // namespace

Result<int> logsAlreadyInLot(QSqlDatabase db, int nLot, int indiceLot, const QList<FileLog> &logs)
{
    if (logs.isEmpty()) return 0;
    // the lot's log numbers, from the index alone, compared here: one statement whatever the file
    auto numbers = selectTexts(db,
                               QStringLiteral("select n_grume from grume where N_lot=? and descriptif='GRUME' "
                                              "and indice_lot=? and n_grume is not null"),
                               {nLot, indiceLot});
    if (!numbers) return numbers.error();
    QSet<QString> there;
    for (const QString &n : *numbers) there.insert(comparedCode(n));
    int count = 0;
    for (const FileLog &log : logs)
        if (there.contains(comparedCode(log.number))) ++count;
    return count;
}

Result<LogImportDone> importLogs(QSqlDatabase db, int nLot, int indiceLot, const TextFile &file, const QDate &today,
                                 const std::function<void(int)> &progress)
{
    if (file.error) return Error::refusal(file.error->message);
    if (file.logs.isEmpty()) return Error::refusal(noLineToImportMessage());

    auto species = select(db, QStringLiteral("select code,essence from essence where code is not null"));
    if (!species) return species.error();
    QHash<QString, QString> speciesOfCode;
    for (const QSqlRecord &row : *species) {
        const QString key = comparedCode(row.value(0).toString());
        if (!speciesOfCode.contains(key)) speciesOfCode.insert(key, row.value(1).toString());
    }
    auto classes = readDiameterClasses(db);
    if (!classes) return classes.error();
    auto lengths = textColumnLengths(db, QStringLiteral("grume"));
    if (!lengths) return lengths.error();
    const TextLength essenceLength = lengths->value(QStringLiteral("essence"));
    const TextLength numberLength = lengths->value(QStringLiteral("n_grume"));

    LogImportDone done;
    QList<QVariantList> rows;
    rows.reserve(file.logs.size());
    for (const FileLog &log : file.logs) {
        const QString essence = speciesOfCode.value(comparedCode(log.species), log.species);
        if (essenceLength.characters > 0 && !essenceLength.holds(essence))
            return Error::refusal(importLineMessage(log.line,
                                                    QStringLiteral("code essence « ") + shownFieldText(log.species) +
                                                        QStringLiteral(" » trop long"),
                                                    nothingImportedText()));
        if (numberLength.characters > 0 && !numberLength.holds(log.number))
            return Error::refusal(importLineMessage(
                log.line, QStringLiteral("N° « ") + shownFieldText(log.number) + QStringLiteral(" » trop long"),
                nothingImportedText()));
        const double m3 = *logVolume(log.diameter, log.length, 0.0).underBark;
        const auto classe = classForDiameter(*classes, *log.diameter);
        rows.append({log.number, essence.isEmpty() ? QVariant() : QVariant(essence), *log.length, *log.diameter, m3,
                     classe ? QVariant(*classe) : QVariant()});
        done.previewTotal += previewVolume(log);
    }

    const QStringList columns{QStringLiteral("n_grume"),
                              QStringLiteral("essence"),
                              QStringLiteral("longueur"),
                              QStringLiteral("diametre"),
                              QStringLiteral("m3"),
                              QStringLiteral("classe"),
                              QStringLiteral("N_lot"),
                              QStringLiteral("indice_lot"),
                              QStringLiteral("descriptif"),
                              QStringLiteral("lieu"),
                              QStringLiteral("date_creation"),
                              QStringLiteral("date_lieu"),
                              QStringLiteral("stock")};
    Status written = inTransaction(db, [&]() -> Status {
        auto lot = select(db, QStringLiteral("select lieu from coupe where n_lot=? for update"), {nLot});
        if (!lot) return lot.error();
        if (lot->isEmpty()) return Error::notFound(importLotGoneMessage());
        const QVariant lieu = lot->first().value(0);
        const QVariantList place{nLot, indiceLot, QStringLiteral("GRUME"), lieu, today, today, QString()};
        // Every full batch runs the one statement prepared once: preparing thousands of marks
        // again for each batch costs the server's description of every mark each time.
        QSqlQuery full(db);
        bool prepared = false;
        QString fullSql;
        for (qsizetype first = 0; first < rows.size(); first += logImportBatch) {
            QList<QVariantList> batch;
            const qsizetype last = std::min<qsizetype>(rows.size(), first + logImportBatch);
            batch.reserve(last - first);
            for (qsizetype i = first; i < last; ++i) batch.append(rows[i] + place);
            if (batch.size() < logImportBatch) {
                if (Status s = insertRows(db, QStringLiteral("grume"), columns, batch); !s) return s;
            } else {
                if (!prepared) {
                    const QString tuple = QLatin1Char('(') +
                                          QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                                          QLatin1Char(')');
                    fullSql = QStringLiteral("insert into grume (") + columns.join(QStringLiteral(", ")) +
                              QStringLiteral(") values ") +
                              QStringList(logImportBatch, tuple).join(QStringLiteral(", "));
                    if (!full.prepare(fullSql))
                        return databaseError(full.lastError(), fullSql, QStringLiteral("importLogs"));
                    prepared = true;
                }
                int mark = 0;
                for (const QVariantList &row : batch)
                    for (const QVariant &value : row) full.bindValue(mark++, value);
                if (!full.exec()) return databaseError(full.lastError(), fullSql, QStringLiteral("importLogs"));
            }
            if (progress) progress(int(last));
        }
        auto totals = updateLotLogTotals(db, nLot, indiceLot);
        if (!totals) return totals.error();
        done.totals = *totals;
        return {};
    });
    if (!written) return written.error();
    done.imported = int(rows.size());
    return done;
}

} // namespace ravelin
