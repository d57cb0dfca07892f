#pragma once

#include "reportdocument.h"
#include "result.h"

#include <QDialog>

#include <functional>

class QHBoxLayout;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QScrollArea;

namespace ravelin {

// The origin marker of the customer delivery detail printout: its preview shows the outline.
inline QString deliveryDetailMarker()
{
    return QStringLiteral("detail_analyse_tonnage");
}

class Dialogs;
class ReportPagesView;

// The one preview window of every printed document (the imp_… screens): maximised, the laid-out
// pages, "Imprimer" (printer dialog, then print and close), "Fermer", and "PDF" when the caller
// asks for it. The caller lays the document out, gives it here and shows the window modally.
class ReportPreview : public QDialog
{
    Q_OBJECT

public:
    ReportPreview(ReportDocument document, Dialogs &dialogs, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const ReportDocument &document() const { return m_document; }

    // Shows the "PDF" button, which writes the document to `filePath` (replacing it, no dialog),
    // shows `doneMessage` when there is one, and closes the window accepted.
    void enablePdfExport(const QString &filePath, const QString &doneMessage = QString());
    // A further button of the top band, after "PDF", for what a document offers besides printing
    // (the invoice's e-invoice); the caller connects it.
    QPushButton *addButton(const QString &objectName, const QString &text);
    // "Imprimer" then writes the PDF as "PDF" does, instead of printing (the delivery note).
    void setPrintWritesPdf(bool writesPdf) { m_printWritesPdf = writesPdf; }

    // Which printout the window shows, set by the caller before showing it. With
    // deliveryDetailMarker() the outline panel (121 pixels) lists the document's outline entries;
    // a click on one shows its page.
    void setOriginMarker(const QString &marker);
    const QString &originMarker() const { return m_marker; }
    // Scrolls so that `page` (from 0) starts at the top; the first page seen at the top.
    void showPage(int page);
    int currentPage() const;

    // Prints on a printer already chosen, then closes accepted. On failure the error is shown and
    // the window stays open.
    bool printOn(QPrinter &printer);
    // Writes the PDF file given to enablePdfExport(), then closes accepted.
    bool exportPdf();

    double zoom() const;
    void setZoom(double zoom);

public slots:
    // "Imprimer".
    void print();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Until the user picks a zoom, the whole width of a page is in view, up to its paper size.
    void fitWidth();

    ReportDocument m_document;
    Dialogs &m_dialogs;
    ReportPagesView *m_pages = nullptr;
    QScrollArea *m_scroll = nullptr;
    QPushButton *m_pdfButton = nullptr;
    QHBoxLayout *m_bar = nullptr;
    QLabel *m_zoomLabel = nullptr;
    QListWidget *m_outline = nullptr;
    QString m_marker;
    QString m_pdfPath;
    QString m_pdfDoneMessage;
    bool m_printWritesPdf = false;
    bool m_zoomChosen = false;
};

// Shows a laid-out document in the preview named `screenName`, modal and maximised, or the error
// that kept it from being laid out. `prepare` sets anything further first (an origin marker).
void showReport(const Result<ReportDocument> &document, Dialogs &dialogs, const QString &screenName, QWidget *parent,
                const std::function<void(ReportPreview &)> &prepare = {});

} // namespace ravelin
