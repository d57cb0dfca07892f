#pragma once

#include "reportdocument.h"
#include "result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace ravelin {

// The name the e-invoice's XML carries inside its PDF file.
inline QString facturXFileName()
{
    return QStringLiteral("factur-x.xml");
}

// What an archived PDF says of itself, in its document information and in its XMP metadata alike.
struct PdfA3Description
{
    QString title;
    QString author;
    QDateTime when; // written as the creation and modification dates
};

// Turns a PDF/A-1b file, as QPdfWriter paints it, into a PDF/A-3b (PDF 1.7) file carrying `xml`
// as factur-x.xml: the embedded text/xml stream with its size, checksum and date, its /Filespec
// entry (/F = /UF = factur-x.xml, /AFRelationship /Data) named in /EmbeddedFiles and in the
// catalogue's /AF, and the XMP metadata written anew, uncompressed, from the document
// information: pdfaid 3/B and the Factur-X extension schema (INVOICE, factur-x.xml, 1.0,
// EN 16931). QPdfWriter's own attachment lacks /AF, /AFRelationship, the MIME type and /Params,
// hence this second pass with libqpdf.
Result<QByteArray> attachFacturX(const QByteArray &pdfA1b, const QByteArray &xml, const PdfA3Description &description);

// Paints the document as PDF/A-1b, attaches the XML as above and writes the file: replaced whole,
// or left as it was when anything fails.
Status writeFacturXPdf(const ReportDocument &document, const QByteArray &xml, const QString &filePath,
                       const PdfA3Description &description);

} // namespace ravelin
