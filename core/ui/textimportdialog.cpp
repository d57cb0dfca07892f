#include "textimportdialog.h"
#include "ui_textimportdialog.h"

#include "appcontext.h"
#include "databaseworker.h"
#include "dialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStringListModel>
#include <QThreadPool>

namespace ravelin {

// A file read and previewed on a pool thread.
struct TextImportDialog::Preview
{
    bool unreadable = false;
    TextFile file;
    QStringList lines;
    double total = 0;
};

namespace {

// Runs `work` on the user-interface thread, unless `screen` is gone by then.
template <typename Work> void onScreenThread(QPointer<TextImportDialog> screen, Work work)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [screen, work = std::move(work)]() mutable {
            if (screen) work(screen.data());
        },
        Qt::QueuedConnection);
}

} // namespace

TextImportDialog::TextImportDialog(AppContext &context, TextImportSteps steps, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TextImportDialog>()), m_context(context), m_steps(std::move(steps)),
      m_preview(new QStringListModel(this))
{
    m_ui->setupUi(this);
    setObjectName(m_steps.screen);
    if (!m_steps.title.isEmpty()) setWindowTitle(m_steps.title);
    m_ui->Zone_qualite->setVisible(m_steps.withQuality);
    m_ui->Liste_grumes->setModel(m_preview);
    connect(m_ui->BtnOuvrir, &QPushButton::clicked, this, &TextImportDialog::openFile);
    connect(m_ui->BtnImporter, &QPushButton::clicked, this, &TextImportDialog::startImport);
    connect(m_ui->BtnVider, &QPushButton::clicked, m_ui->Qualite, &QComboBox::clear);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &TextImportDialog::reject);
}

TextImportDialog::~TextImportDialog() = default;

void TextImportDialog::setQualities(const QStringList &qualities)
{
    m_ui->Qualite->clear();
    m_ui->Qualite->addItems(qualities);
    if (!qualities.isEmpty()) m_ui->Qualite->setCurrentIndex(0);
}

void TextImportDialog::openFile()
{
    const QString path =
        m_context.dialogs->openFile(QStringLiteral("Ouvrir Fichier"), QString(), m_context.applicationFolder);
    if (path.isEmpty()) return;
    load(path);
}

void TextImportDialog::load(const QString &path)
{
    if (m_writing) return;
    if (!QFileInfo::exists(path)) {
        m_context.dialogs->message(missingFileMessage());
        return;
    }
    // a file chosen while another is read replaces it: the older reading is dropped
    const int generation = ++m_generation;
    m_reading = true;
    updateButtons();
    QPointer<TextImportDialog> screen(this);
    const LineLayout layout = m_steps.layout;
    QThreadPool::globalInstance()->start([screen, path, layout, generation] {
        auto preview = std::make_shared<Preview>();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            preview->unreadable = true;
        } else {
            preview->file = readTextFile(file.readAll(), layout);
            preview->lines.reserve(preview->file.logs.size());
            for (const FileLog &log : preview->file.logs) {
                preview->lines.append(previewLine(log));
                preview->total += previewVolume(log);
            }
        }
        onScreenThread(screen, [preview, generation](TextImportDialog *s) { s->showPreview(generation, *preview); });
    });
}

void TextImportDialog::showPreview(int generation, const Preview &preview)
{
    if (generation != m_generation) return;
    m_reading = false;
    updateButtons();
    if (preview.unreadable) {
        m_context.dialogs->message(missingFileMessage());
        emit idle();
        return;
    }
    m_contents = preview.file;
    m_preview->setStringList(preview.lines);
    m_ui->Label_qte->setText(importSummary(int(m_contents.logs.size()), preview.total));
    m_ui->Progression->setMaximum(qMax(1, int(m_contents.logs.size())));
    m_ui->Progression->setValue(0);
    emit idle();
}

void TextImportDialog::startImport()
{
    if (isBusy()) return;
    if (m_contents.logs.isEmpty() && !m_steps.emptyMessage.isEmpty()) {
        m_context.dialogs->message(m_steps.emptyMessage);
        return;
    }
    // every line is checked before anything is written
    if (m_contents.error) {
        m_context.dialogs->message(m_contents.error->message);
        return;
    }
    m_writing = true;
    updateButtons();
    m_ui->Progression->setValue(0);
    if (!m_worker) m_worker = new DatabaseWorker(m_context.db, this);
    auto contents = std::make_shared<const TextFile>(m_contents);
    if (!m_steps.alreadyThere || contents->logs.isEmpty()) {
        write(contents);
        return;
    }
    m_worker->run(
        [check = m_steps.alreadyThere, contents](QSqlDatabase db) { return check(db, contents->logs); },
        [this, contents](Result<int> already) {
            if (!already) {
                finishImport(already.error());
                return;
            }
            if (*already > 0 && m_steps.alreadyThereQuestion &&
                !m_context.dialogs->yesNo(m_steps.alreadyThereQuestion(*already), QStringLiteral("Attention"))) {
                m_writing = false;
                updateButtons();
                emit idle();
                return;
            }
            write(contents);
        });
}

void TextImportDialog::write(std::shared_ptr<const TextFile> contents)
{
    QPointer<TextImportDialog> screen(this);
    const QString quality = m_steps.withQuality ? m_ui->Qualite->currentText() : QString();
    m_worker->run(
        [write = m_steps.write, contents, quality, screen](QSqlDatabase db) {
            return write(db, *contents, quality, [screen](int done, int total) {
                onScreenThread(screen, [done, total](TextImportDialog *s) { s->showProgress(done, total); });
            });
        },
        [this](Result<TextImportOutcome> outcome) { finishImport(outcome); });
}

void TextImportDialog::showProgress(int done, int total)
{
    if (!m_writing) return;
    m_ui->Progression->setMaximum(qMax(1, total));
    m_ui->Progression->setValue(done);
}

void TextImportDialog::finishImport(const Result<TextImportOutcome> &outcome)
{
    m_writing = false;
    updateButtons();
    if (!outcome) {
        m_ui->Progression->setValue(0);
        m_context.dialogs->error(outcome.error());
        emit idle();
        return;
    }
    m_outcome = *outcome;
    m_ui->Progression->setValue(m_ui->Progression->maximum());
    m_ui->Label_qte->setText(importSummary(m_outcome.count, m_outcome.previewTotal));
    if (!m_outcome.message.isEmpty()) m_context.dialogs->message(m_outcome.message);
    emit idle();
    accept();
}

void TextImportDialog::reject()
{
    if (m_writing) return;
    QDialog::reject();
}

void TextImportDialog::updateButtons()
{
    m_ui->BtnOuvrir->setEnabled(!m_writing);
    m_ui->BtnImporter->setEnabled(!isBusy());
    m_ui->BtnFermer->setEnabled(!m_writing);
}

} // namespace ravelin
