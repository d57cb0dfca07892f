#include "logimportdialog.h"

#include "lotlogimport.h"

namespace ravelin {

TextImportSteps logImportSteps(int nLot, int indiceLot)
{
    TextImportSteps steps;
    steps.screen = QStringLiteral("import1");
    steps.title = QStringLiteral("Importer une liste de grumes");
    steps.layout = readLogListLine;
    steps.emptyMessage = noLineToImportMessage();
    steps.alreadyThere = [nLot, indiceLot](QSqlDatabase db, const QList<FileLog> &logs) {
        return logsAlreadyInLot(db, nLot, indiceLot, logs);
    };
    steps.alreadyThereQuestion = logsAlreadyThereQuestion;
    steps.write = [nLot, indiceLot](QSqlDatabase db, const TextFile &file, const QString &,
                                    const ImportProgress &progress) -> Result<TextImportOutcome> {
        const int total = int(file.logs.size());
        auto done = importLogs(db, nLot, indiceLot, file, QDate::currentDate(), [&](int written) {
            if (progress) progress(written, total);
        });
        if (!done) return done.error();
        TextImportOutcome outcome;
        outcome.count = done->imported;
        outcome.previewTotal = done->previewTotal;
        outcome.detail = done->totals;
        return outcome;
    };
    return steps;
}

} // namespace ravelin
