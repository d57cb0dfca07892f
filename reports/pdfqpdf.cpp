#include "pdfqpdf.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace ravelin::pdfqpdf {

namespace {

std::string utf8(const QString &text)
{
    return text.toStdString();
}

QString text(QPDFObjectHandle object)
{
    return object.isString() ? QString::fromStdString(object.getUTF8Value()) : QString();
}

QString name(QPDFObjectHandle object)
{
    return object.isName() ? QString::fromStdString(object.getName()) : QString();
}

QByteArray bytes(const std::shared_ptr<Buffer> &buffer)
{
    return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()), qsizetype(buffer->getSize()));
}

InfoValues infoValues(QPDFObjectHandle info)
{
    InfoValues values;
    for (const char *key : {"Title", "Author", "Creator", "Producer", "CreationDate", "ModDate"})
        values.insert(QString::fromLatin1(key), text(info.getKey(std::string("/") + key)));
    return values;
}

} // namespace

Attached attachXml(const QByteArray &pdf, const QByteArray &xml, const QString &fileName, const QString &title,
                   const QString &author, const QString &pdfDate,
                   const std::function<QByteArray(const InfoValues &)> &xmp)
{
    Attached out;
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("facture", pdf.constData(), size_t(pdf.size()));
        QPDFObjectHandle root = document.getRoot();
        QPDFObjectHandle trailer = document.getTrailer();
        QPDFObjectHandle info = trailer.getKey("/Info");
        if (!info.isDictionary()) {
            info = document.makeIndirectObject(QPDFObjectHandle::newDictionary());
            trailer.replaceKey("/Info", info);
        }
        const std::string date = utf8(pdfDate);
        if (!title.isEmpty()) info.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(utf8(title)));
        if (!author.isEmpty()) info.replaceKey("/Author", QPDFObjectHandle::newUnicodeString(utf8(author)));
        info.replaceKey("/CreationDate", QPDFObjectHandle::newString(date));
        info.replaceKey("/ModDate", QPDFObjectHandle::newString(date));

        // The XML, its /Filespec entry, the document's name tree and its associated files.
        QPDFEFStreamObjectHelper stream =
            QPDFEFStreamObjectHelper::createEFStream(document, std::string(xml.constData(), size_t(xml.size())));
        stream.setSubtype("text/xml");
        stream.setCreationDate(date);
        stream.setModDate(date);
        QPDFFileSpecObjectHelper spec = QPDFFileSpecObjectHelper::createFileSpec(document, utf8(fileName), stream);
        spec.setDescription("Factur-X invoice");
        QPDFObjectHandle specObject = spec.getObjectHandle();
        if (!specObject.isIndirect()) specObject = document.makeIndirectObject(specObject);
        specObject.replaceKey("/AFRelationship", QPDFObjectHandle::newName("/Data"));
        QPDFEmbeddedFileDocumentHelper files(document);
        files.replaceEmbeddedFile(utf8(fileName), QPDFFileSpecObjectHelper(specObject));
        root.replaceKey("/AF", QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{specObject}));

        // The metadata anew from the document information, left uncompressed for archive readers.
        const QByteArray packet = xmp(infoValues(info));
        QPDFObjectHandle metadata =
            QPDFObjectHandle::newStream(&document, std::string(packet.constData(), size_t(packet.size())));
        metadata.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/Metadata"));
        metadata.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/XML"));
        root.replaceKey("/Metadata", metadata);

        QPDFWriter writer(document);
        writer.setOutputMemory();
        writer.setMinimumPDFVersion("1.7");
        writer.setObjectStreamMode(qpdf_o_disable);
        writer.setDeterministicID(true);
        writer.write();
        out.pdf = bytes(writer.getBufferSharedPointer());
    } catch (const std::exception &e) {
        out.error = QString::fromStdString(e.what());
    }
    return out;
}

Inspection inspect(const QString &path, const QString &attachmentName)
{
    Inspection r;
    try {
        QPDF document;
        document.processFile(path.toLocal8Bit().constData());
        r.version = QString::fromStdString(document.getPDFVersion());
        for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(document).getAllPages()) {
            ++r.pages;
            QPDFObjectHandle fonts = page.getAttribute("/Resources", false).getKey("/Font");
            if (!fonts.isDictionary()) continue;
            for (const std::string &key : fonts.getKeys()) {
                QPDFObjectHandle font = fonts.getKey(key);
                const QString subtype = name(font.getKey("/Subtype"));
                if (subtype == QLatin1String("/Type3")) continue;
                QPDFObjectHandle described =
                    subtype == QLatin1String("/Type0") ? font.getKey("/DescendantFonts").getArrayItem(0) : font;
                QPDFObjectHandle descriptor = described.getKey("/FontDescriptor");
                if (!descriptor.isDictionary() || !(descriptor.hasKey("/FontFile") || descriptor.hasKey("/FontFile2") ||
                                                    descriptor.hasKey("/FontFile3")))
                    r.fontsNotEmbedded << QString::fromStdString(key);
            }
        }
        QPDFObjectHandle root = document.getRoot();
        QPDFObjectHandle associated = root.getKey("/AF");
        if (associated.isArray()) r.associatedFiles = associated.getArrayNItems();
        if (r.associatedFiles > 0) {
            QPDFObjectHandle spec = associated.getArrayItem(0);
            r.specType = name(spec.getKey("/Type"));
            r.specF = text(spec.getKey("/F"));
            r.specUF = text(spec.getKey("/UF"));
            r.relationship = name(spec.getKey("/AFRelationship"));
            QPDFObjectHandle stream = spec.getKey("/EF").getKey("/F");
            if (stream.isStream()) {
                r.streamType = name(stream.getDict().getKey("/Type"));
                r.streamSubtype = name(stream.getDict().getKey("/Subtype"));
                QPDFObjectHandle params = stream.getDict().getKey("/Params");
                r.paramsModDate = text(params.getKey("/ModDate"));
                if (params.getKey("/Size").isInteger()) r.paramsSize = params.getKey("/Size").getIntValue();
                r.embedded = bytes(stream.getStreamData(qpdf_dl_all));
            }
            auto named = QPDFEmbeddedFileDocumentHelper(document).getEmbeddedFile(utf8(attachmentName));
            r.namedInEmbeddedFiles = named && named->getObjectHandle().getObjGen() == spec.getObjGen();
        }
        QPDFObjectHandle metadata = root.getKey("/Metadata");
        if (metadata.isStream()) {
            r.metadataFiltered = metadata.getDict().hasKey("/Filter");
            r.metadataSubtype = name(metadata.getDict().getKey("/Subtype"));
            r.xmp = QString::fromUtf8(bytes(metadata.getRawStreamData()));
        }
        r.info = infoValues(document.getTrailer().getKey("/Info"));
        r.outputIntents = root.getKey("/OutputIntents").isArray();
        r.identifier = document.getTrailer().getKey("/ID").isArray();
    } catch (const std::exception &e) {
        r.error = QString::fromStdString(e.what());
    }
    return r;
}

} // namespace ravelin::pdfqpdf
