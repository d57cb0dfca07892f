#include "logimportdialog.h"
#include "ui_logimportdialog.h"

#include "appcontext.h"
#include "dialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringListModel>

namespace ravelin {

LogImportDialog::LogImportDialog(AppContext &context, int nLot, int indiceLot, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::import1>()), m_context(context), m_nLot(nLot), m_indiceLot(indiceLot),
      m_preview(new QStringListModel(this))
{
    m_ui->setupUi(this);
    m_ui->Liste_grumes->setModel(m_preview);
    connect(m_ui->BtnOuvrir, &QPushButton::clicked, this, &LogImportDialog::openFile);
    connect(m_ui->BtnImporter, &QPushButton::clicked, this, &LogImportDialog::importLogs);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &LogImportDialog::reject);
}

LogImportDialog::~LogImportDialog() = default;

void LogImportDialog::openFile()
{
    const QString path =
        m_context.dialogs->openFile(QStringLiteral("Ouvrir Fichier"), QString(), m_context.applicationFolder);
    if (path.isEmpty()) return;
    load(path);
}

void LogImportDialog::load(const QString &path)
{
    QFile file(path);
    if (!QFileInfo::exists(path) || !file.open(QIODevice::ReadOnly)) {
        m_context.dialogs->message(missingFileMessage());
        return;
    }
    m_contents = parseLogFile(file.readAll());
    QStringList lines;
    lines.reserve(m_contents.logs.size());
    double total = 0;
    for (const ImportedLogLine &log : m_contents.logs) {
        lines.append(previewLine(log));
        total += previewVolume(log);
    }
    m_preview->setStringList(lines);
    m_ui->Label_qte->setText(importSummary(int(m_contents.logs.size()), total));
    m_ui->Progression->setMaximum(qMax(1, int(m_contents.logs.size())));
    m_ui->Progression->setValue(0);
}

void LogImportDialog::importLogs()
{
    if (m_contents.logs.isEmpty()) {
        m_context.dialogs->message(noLineToImportMessage());
        return;
    }
    // every line is checked before anything is written
    if (m_contents.error) {
        m_context.dialogs->message(m_contents.error->message);
        return;
    }
    auto already = logsAlreadyInLot(m_context.db, m_nLot, m_indiceLot, m_contents.logs);
    if (!already) {
        m_context.dialogs->error(already.error());
        return;
    }
    if (*already > 0 && !m_context.dialogs->yesNo(logsAlreadyThereQuestion(*already), QStringLiteral("Attention")))
        return;

    m_ui->BtnImporter->setEnabled(false);
    m_ui->BtnOuvrir->setEnabled(false);
    m_ui->Progression->setValue(0);
    // one batch is a fraction of a second: repainting between batches keeps the screen alive,
    // while the buttons wait for the end
    auto done =
        ravelin::importLogs(m_context.db, m_nLot, m_indiceLot, m_contents, QDate::currentDate(), [this](int written) {
            m_ui->Progression->setValue(written);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    m_ui->BtnImporter->setEnabled(true);
    m_ui->BtnOuvrir->setEnabled(true);
    if (!done) {
        m_ui->Progression->setValue(0);
        m_context.dialogs->error(done.error());
        return;
    }
    m_ui->Label_qte->setText(importSummary(done->imported, done->previewTotal));
    m_totals = done->totals;
    accept();
}

} // namespace ravelin
