#pragma once

// What the program asks of libqpdf, behind plain Qt types. libqpdf 11.3's headers do not compile
// as C++20 with clang 14 (a vector of a class still incomplete), so the one file that includes
// them, pdfqpdf.cpp, is built as C++17 in a library of its own and nothing else sees them.

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

namespace ravelin::pdfqpdf {

// The document information the XMP is built from: Title, Author, Creator, Producer.
using InfoValues = QMap<QString, QString>;

struct Attached
{
    QByteArray pdf; // the new file, when `error` is empty
    QString error;  // libqpdf's text
};

// Adds `xml` to `pdf` as the associated file `fileName` (text/xml, /AFRelationship /Data, named in
// /EmbeddedFiles and the catalogue's /AF), sets the document information's title, author and
// dates, replaces the XMP with what `xmp` builds from the document information, and writes PDF 1.7
// without object streams.
Attached attachXml(const QByteArray &pdf, const QByteArray &xml, const QString &fileName, const QString &title,
                   const QString &author, const QString &pdfDate,
                   const std::function<QByteArray(const InfoValues &)> &xmp);

// A PDF file taken apart, for the tests of the e-invoice.
struct Inspection
{
    QString error; // the file could not be read
    QString version;
    int pages = 0;
    QStringList fontsNotEmbedded;
    int associatedFiles = 0; // entries of the catalogue's /AF
    // the first associated file
    QString specType, specF, specUF, relationship, streamType, streamSubtype, paramsModDate;
    qint64 paramsSize = -1;
    bool namedInEmbeddedFiles = false; // the same /Filespec entry under its name in /EmbeddedFiles
    QByteArray embedded;               // its data, decoded
    // the XMP
    bool metadataFiltered = true;
    QString metadataSubtype;
    QString xmp;
    InfoValues info; // Title, Author, Creator, Producer, CreationDate, ModDate
    bool outputIntents = false;
    bool identifier = false;
};

Inspection inspect(const QString &path, const QString &attachmentName);

} // namespace ravelin::pdfqpdf
