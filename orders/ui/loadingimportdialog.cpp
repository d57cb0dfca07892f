#include "loadingimportdialog.h"

#include "loadingimport.h"

namespace ravelin {

TextImportSteps loadingImportSteps(int incCde)
{
    TextImportSteps steps;
    steps.screen = QStringLiteral("Import_chargement_grume");
    steps.title = QStringLiteral("Importer une liste de chargement");
    steps.withQuality = true;
    steps.layout = readLoadingListLine;
    steps.alreadyThere = [incCde](QSqlDatabase db, const QList<FileLog> &logs) {
        return logsAlreadyLoaded(db, incCde, logs);
    };
    steps.alreadyThereQuestion = logsAlreadyLoadedQuestion;
    steps.write = [incCde](QSqlDatabase db, const TextFile &file, const QString &quality,
                           const ImportProgress &progress) -> Result<TextImportOutcome> {
        auto done = importLoadingList(db, incCde, quality, file, progress);
        if (!done) return done.error();
        TextImportOutcome outcome;
        outcome.count = done->lines;
        outcome.previewTotal = done->previewTotal;
        outcome.message = loadingImportMessage(*done);
        return outcome;
    };
    return steps;
}

} // namespace ravelin
