#pragma once

#include "result.h"
#include "textimport.h"

#include <QDialog>
#include <QSqlDatabase>
#include <QStringList>

#include <any>
#include <functional>
#include <memory>

class QStringListModel;

namespace Ui {
class TextImportDialog;
}

namespace ravelin {

struct AppContext;
class DatabaseWorker;

// What an import wrote, as the screen shows it.
struct TextImportOutcome
{
    int count = 0;           // the file's logs, for the summary
    double previewTotal = 0; // the summary's total (factor 3.14)
    QString message;         // shown before the screen closes, when not empty
    std::any detail;         // what the caller reads afterwards (a lot's totals)
};

using ImportProgress = std::function<void(int done, int total)>;

// One kind of text import: its file layout and its writing, the screen being the same.
struct TextImportSteps
{
    QString screen; // the screen's name: "import1", "Import_chargement_grume"
    QString title;
    bool withQuality = false; // "Qualité de bois" and "Vider"
    LineLayout layout = nullptr;
    // Shown by "Importer" when the file has no log; empty: the import goes ahead all the same.
    QString emptyMessage;
    // How many of the file's logs are already there (the same file twice), and the question then.
    std::function<Result<int>(QSqlDatabase, const QList<FileLog> &)> alreadyThere;
    std::function<QString(int)> alreadyThereQuestion;
    // The writing, all or nothing; `progress` is called after each batch.
    std::function<Result<TextImportOutcome>(QSqlDatabase, const TextFile &, const QString &quality,
                                            const ImportProgress &progress)>
        write;
};

// The screen of a text import: "Ouvrir Fichier" (starting in the application folder), the
// preview with its count label, the quality when the import has one, "Importer" with its progress.
// The file is read and previewed off the user-interface thread, and the import runs on a
// connection of its own, so that the screen stays alive over fifty thousand logs. Closes as
// accepted once the logs were written.
class TextImportDialog : public QDialog
{
    Q_OBJECT
public:
    TextImportDialog(AppContext &context, TextImportSteps steps, QWidget *parent = nullptr);
    ~TextImportDialog() override;

    Ui::TextImportDialog *ui() const { return m_ui.get(); }
    // "Qualité de bois": the list, its first quality shown.
    void setQualities(const QStringList &qualities);

    const TextFile &contents() const { return m_contents; }
    const TextImportOutcome &outcome() const { return m_outcome; }
    // True while a file is read or the logs written.
    bool isBusy() const { return m_reading || m_writing; }

public slots:
    // "Ouvrir Fichier": chooses the file, starting in the application folder.
    void openFile();
    // Reads `path` into the preview, off the user-interface thread.
    void load(const QString &path);
    // "Importer".
    void startImport();
    // Closing is refused while the logs are written: the transaction would be cut short.
    void reject() override;

signals:
    // The file was read and shown, or the import ended (either way).
    void idle();

private:
    struct Preview;
    void showPreview(int generation, const Preview &preview);
    void write(std::shared_ptr<const TextFile> contents);
    void finishImport(const Result<TextImportOutcome> &outcome);
    void showProgress(int done, int total);
    void updateButtons();

    std::unique_ptr<Ui::TextImportDialog> m_ui;
    AppContext &m_context;
    TextImportSteps m_steps;
    TextFile m_contents;
    TextImportOutcome m_outcome;
    QStringListModel *m_preview;
    DatabaseWorker *m_worker = nullptr;
    int m_generation = 0;
    bool m_reading = false;
    bool m_writing = false;
};

} // namespace ravelin
