#include "pdfa3.h"

#include "pdfqpdf.h"
#include "reportpainter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>

namespace ravelin {

namespace {

// Both dates in universal time, so that the document information and the XMP say the same instant.
QString pdfDate(const QDateTime &when)
{
    return QStringLiteral("D:") + when.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral("+00'00'");
}

QString xmpDate(const QDateTime &when)
{
    return when.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + QStringLiteral("+00:00");
}

QString xmpProperty(const QString &name, const QString &valueType, const QString &description)
{
    return QStringLiteral("            <rdf:li rdf:parseType=\"Resource\">\n"
                          "              <pdfaProperty:name>%1</pdfaProperty:name>\n"
                          "              <pdfaProperty:valueType>%2</pdfaProperty:valueType>\n"
                          "              <pdfaProperty:category>external</pdfaProperty:category>\n"
                          "              <pdfaProperty:description>%3</pdfaProperty:description>\n"
                          "            </rdf:li>\n")
        .arg(name, valueType, description);
}

// The XMP packet of a PDF/A-3b Factur-X invoice, every value taken from the document information.
QByteArray facturXXmp(const QString &title, const QString &author, const QString &creator, const QString &producer,
                      const QDateTime &when)
{
    const auto e = [](const QString &text) { return text.toHtmlEscaped(); };
    QString xmp =
        QStringLiteral("<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                       "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                       "  <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                       "    <rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
                       "      <pdfaid:part>3</pdfaid:part>\n"
                       "      <pdfaid:conformance>B</pdfaid:conformance>\n"
                       "    </rdf:Description>\n"
                       "    <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                       "      <dc:format>application/pdf</dc:format>\n");
    if (!title.isEmpty())
        xmp +=
            QStringLiteral("      <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n")
                .arg(e(title));
    if (!author.isEmpty())
        xmp += QStringLiteral("      <dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n").arg(e(author));
    xmp += QStringLiteral("    </rdf:Description>\n"
                          "    <rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n");
    if (!producer.isEmpty()) xmp += QStringLiteral("      <pdf:Producer>%1</pdf:Producer>\n").arg(e(producer));
    xmp += QStringLiteral("    </rdf:Description>\n"
                          "    <rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n");
    if (!creator.isEmpty()) xmp += QStringLiteral("      <xmp:CreatorTool>%1</xmp:CreatorTool>\n").arg(e(creator));
    xmp += QStringLiteral("      <xmp:CreateDate>%1</xmp:CreateDate>\n"
                          "      <xmp:ModifyDate>%1</xmp:ModifyDate>\n"
                          "    </rdf:Description>\n")
               .arg(xmpDate(when));
    xmp += QStringLiteral(
        "    <rdf:Description rdf:about=\"\" "
        "xmlns:fx=\"urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#\">\n"
        "      <fx:DocumentType>INVOICE</fx:DocumentType>\n"
        "      <fx:DocumentFileName>factur-x.xml</fx:DocumentFileName>\n"
        "      <fx:Version>1.0</fx:Version>\n"
        "      <fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>\n"
        "    </rdf:Description>\n"
        "    <rdf:Description rdf:about=\"\" xmlns:pdfaExtension=\"http://www.aiim.org/pdfa/ns/extension/\" "
        "xmlns:pdfaSchema=\"http://www.aiim.org/pdfa/ns/schema#\" "
        "xmlns:pdfaProperty=\"http://www.aiim.org/pdfa/ns/property#\">\n"
        "      <pdfaExtension:schemas>\n"
        "        <rdf:Bag>\n"
        "          <rdf:li rdf:parseType=\"Resource\">\n"
        "            <pdfaSchema:schema>Factur-X PDFA Extension Schema</pdfaSchema:schema>\n"
        "            <pdfaSchema:namespaceURI>urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#"
        "</pdfaSchema:namespaceURI>\n"
        "            <pdfaSchema:prefix>fx</pdfaSchema:prefix>\n"
        "            <pdfaSchema:property>\n"
        "              <rdf:Seq>\n");
    xmp += xmpProperty(QStringLiteral("DocumentFileName"), QStringLiteral("Text"),
                       QStringLiteral("The name of the embedded XML document"));
    xmp += xmpProperty(QStringLiteral("DocumentType"), QStringLiteral("Text"),
                       QStringLiteral("The type of the hybrid document in capital letters, e.g. INVOICE or ORDER"));
    xmp += xmpProperty(QStringLiteral("Version"), QStringLiteral("Text"),
                       QStringLiteral("The actual version of the standard applying to the embedded XML document"));
    xmp += xmpProperty(QStringLiteral("ConformanceLevel"), QStringLiteral("Text"),
                       QStringLiteral("The conformance level of the embedded XML document"));
    xmp += QStringLiteral("              </rdf:Seq>\n"
                          "            </pdfaSchema:property>\n"
                          "          </rdf:li>\n"
                          "        </rdf:Bag>\n"
                          "      </pdfaExtension:schemas>\n"
                          "    </rdf:Description>\n"
                          "  </rdf:RDF>\n"
                          "</x:xmpmeta>\n"
                          "<?xpacket end=\"w\"?>");
    return xmp.toUtf8();
}

Error pdfFailure(const QString &message, const QString &detail)
{
    Error e;
    e.message = message;
    e.detail = detail;
    e.where = QStringLiteral("attachFacturX");
    return e;
}

} // namespace

Result<QByteArray> attachFacturX(const QByteArray &pdfA1b, const QByteArray &xml, const PdfA3Description &description)
{
    const pdfqpdf::Attached attached = pdfqpdf::attachXml(
        pdfA1b, xml, facturXFileName(), description.title, description.author, pdfDate(description.when),
        [&](const pdfqpdf::InfoValues &info) {
            return facturXXmp(info.value(QStringLiteral("Title")), info.value(QStringLiteral("Author")),
                              info.value(QStringLiteral("Creator")), info.value(QStringLiteral("Producer")),
                              description.when);
        });
    if (!attached.error.isEmpty())
        return pdfFailure(QStringLiteral("Impossible de joindre la facture électronique au PDF."), attached.error);
    return attached.pdf;
}

Status writeFacturXPdf(const ReportDocument &document, const QByteArray &xml, const QString &filePath,
                       const PdfA3Description &description)
{
    const auto failure = [&](const QString &detail) {
        Error e;
        e.message = QStringLiteral("Impossible d'écrire le fichier PDF %1.").arg(QFileInfo(filePath).fileName());
        e.detail = detail;
        e.where = QStringLiteral("writeFacturXPdf");
        return e;
    };
    QBuffer painted;
    painted.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&painted);
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("Ravelin"));
        writer.setTitle(description.title.isEmpty() ? document.name : description.title);
        if (Status s = paintReport(document, writer); !s) return s;
    }
    auto pdf = attachFacturX(painted.data(), xml, description);
    if (!pdf) return pdf.error();

    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) return failure(file.errorString());
    if (file.write(*pdf) != pdf->size()) {
        file.cancelWriting();
        return failure(file.errorString());
    }
    if (!file.commit()) return failure(file.errorString());
    return {};
}

} // namespace ravelin
