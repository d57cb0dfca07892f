#include "facturx.h"

#include "formats.h"
#include "pdfa3.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <cmath>

namespace ravelin {

namespace {

const QString kRsm = QStringLiteral("urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100");
const QString kRam =
    QStringLiteral("urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100");
const QString kUdt = QStringLiteral("urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100");
const QString kQdt = QStringLiteral("urn:un:unece:uncefact:data:standard:QualifiedDataType:100");

qint64 cents(double value)
{
    return std::llround(value * 100);
}

QString amountText(qint64 cents)
{
    const qint64 a = cents < 0 ? -cents : cents;
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QLatin1Char('0'));
}

// A quantity or a rate with at most four decimals and no trailing zeros: 33.66, 5.5, 20.
QString decimalText(double value)
{
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString text(const DataTable &table, const QString &column, int row = 0)
{
    return table.rowCount() > row ? table.value(row, column).toString().trimmed() : QString();
}

double number(const DataTable &table, const QString &column, int row = 0)
{
    return table.rowCount() > row ? table.value(row, column).toDouble() : 0.0;
}

QString isoDate(const QVariant &value)
{
    const QDate date = value.toDate();
    return date.isValid() ? date.toString(QStringLiteral("yyyyMMdd")) : QString();
}

bool validVatNumber(const QString &vat)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Z]{2}[0-9A-Z]{2,13}$"));
    static const QRegularExpression french(QStringLiteral("^FR[0-9A-Z]{2}[0-9]{9}$"));
    const QString compact = QString(vat).remove(QLatin1Char(' ')).toUpper();
    if (!pattern.match(compact).hasMatch()) return false;
    return !compact.startsWith(QLatin1String("FR")) || french.match(compact).hasMatch();
}

QString compactVat(const QString &vat)
{
    return QString(vat).remove(QLatin1Char(' ')).toUpper();
}

class Writer
{
public:
    explicit Writer(QByteArray *out) : m_xml(out) { m_xml.setAutoFormatting(true); }

    QXmlStreamWriter &xml() { return m_xml; }
    void start(const QString &ns, const QString &name) { m_xml.writeStartElement(ns, name); }
    void end() { m_xml.writeEndElement(); }
    void text(const QString &ns, const QString &name, const QString &value) { m_xml.writeTextElement(ns, name, value); }
    void ram(const QString &name, const QString &value) { text(kRam, name, value); }
    void ramWithAttribute(const QString &name, const QString &attribute, const QString &attributeValue,
                          const QString &value)
    {
        start(kRam, name);
        m_xml.writeAttribute(attribute, attributeValue);
        m_xml.writeCharacters(value);
        end();
    }
    void date(const QString &name, const QString &yyyymmdd)
    {
        start(kRam, name);
        start(kUdt, QStringLiteral("DateTimeString"));
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("102"));
        m_xml.writeCharacters(yyyymmdd);
        end();
        end();
    }

private:
    QXmlStreamWriter m_xml;
};

struct Address
{
    QString postcode, line1, line2, city, country;
};

void writeAddress(Writer &w, const Address &a)
{
    w.start(kRam, QStringLiteral("PostalTradeAddress"));
    if (!a.postcode.isEmpty()) w.ram(QStringLiteral("PostcodeCode"), a.postcode);
    if (!a.line1.isEmpty()) w.ram(QStringLiteral("LineOne"), a.line1);
    if (!a.line2.isEmpty()) w.ram(QStringLiteral("LineTwo"), a.line2);
    if (!a.city.isEmpty()) w.ram(QStringLiteral("CityName"), a.city);
    w.ram(QStringLiteral("CountryID"), a.country);
    w.end();
}

} // namespace

QString facturXUnit(const QString &unit)
{
    static const QHash<QString, QString> codes{
        {QStringLiteral("M3"), QStringLiteral("MTQ")},    {QStringLiteral("T"), QStringLiteral("TNE")},
        {QStringLiteral("TONNE"), QStringLiteral("TNE")}, {QStringLiteral("STERE"), QStringLiteral("G26")},
        {QStringLiteral("MWH"), QStringLiteral("MWH")},   {QStringLiteral("HEURE"), QStringLiteral("HUR")},
    };
    return codes.value(unit.trimmed().toUpper());
}

QString facturXCountry(const QString &country)
{
    static const QHash<QString, QString> codes{
        {QStringLiteral("FRANCE"), QStringLiteral("FR")},     {QStringLiteral("BELGIQUE"), QStringLiteral("BE")},
        {QStringLiteral("LUXEMBOURG"), QStringLiteral("LU")}, {QStringLiteral("ALLEMAGNE"), QStringLiteral("DE")},
        {QStringLiteral("SUISSE"), QStringLiteral("CH")},     {QStringLiteral("ITALIE"), QStringLiteral("IT")},
        {QStringLiteral("ESPAGNE"), QStringLiteral("ES")},    {QStringLiteral("ANDORRE"), QStringLiteral("AD")},
        {QStringLiteral("MONACO"), QStringLiteral("MC")},     {QStringLiteral("PAYS-BAS"), QStringLiteral("NL")},
    };
    const QString name = country.trimmed().toUpper();
    if (name.isEmpty()) return QStringLiteral("FR");
    static const QRegularExpression twoLetters(QStringLiteral("^[A-Z]{2}$"));
    if (twoLetters.match(name).hasMatch()) return name;
    return codes.value(name);
}

Result<QByteArray> facturXml(const InvoiceSets &sets)
{
    const DataTable &h = sets.header;
    const DataTable &perso = sets.company;
    QStringList refused;
    if (h.isEmpty()) return Error::refusal(QStringLiteral("Facture introuvable."));

    const bool creditNote = text(h, QStringLiteral("type_fac")).toUpper().startsWith(QLatin1String("AVOIR"));
    const int sign = creditNote ? -1 : 1;

    const double rate = number(sets.rate, QStringLiteral("tva"));
    if (sets.rate.isEmpty() || rate <= 0)
        refused << QStringLiteral("taux de TVA nul ou absent (aucune catégorie d'exonération n'est prévue)");
    const QString siret = QString(text(perso, QStringLiteral("siret"))).remove(QLatin1Char(' '));
    static const QRegularExpression fourteenDigits(QStringLiteral("^[0-9]{14}$"));
    if (!fourteenDigits.match(siret).hasMatch()) refused << QStringLiteral("SIRET de la société absent ou invalide");
    const QString sellerVat = text(perso, QStringLiteral("tva_intra"));
    if (!validVatNumber(sellerVat))
        refused << QStringLiteral("N° TVA intracommunautaire de la société absent ou invalide");
    const QString buyerVat = text(h, QStringLiteral("tva_intra"));
    if (!buyerVat.isEmpty() && !validVatNumber(buyerVat))
        refused << QStringLiteral("N° TVA intracommunautaire du client invalide : ") + buyerVat;
    const QString buyerCountry = facturXCountry(text(h, QStringLiteral("pays_fac")));
    if (buyerCountry.isEmpty()) refused << QStringLiteral("pays inconnu : ") + text(h, QStringLiteral("pays_fac"));

    // The lines of every delivery note, in the print's order.
    struct Line
    {
        int row;
        QString unit;
        QString note;
    };
    QList<Line> lines;
    QStringList unknownUnits;
    qint64 linesTotal = 0;
    for (int b = 0; b < sets.body.rowCount(); ++b) {
        const QVariant incLiv = sets.body.value(b, QStringLiteral("inc_liv"));
        for (int r = 0; r < sets.lines.rowCount(); ++r) {
            if (sets.lines.value(r, QStringLiteral("inc_corps")).toInt() != incLiv.toInt()) continue;
            const QString unit = text(sets.lines, QStringLiteral("unite_liv"), r);
            const QString code = facturXUnit(unit);
            if (code.isEmpty() && !unknownUnits.contains(unit)) unknownUnits << unit;
            if (number(sets.lines, QStringLiteral("prix_unit"), r) < 0)
                refused << QStringLiteral("prix unitaire négatif (BL %1)").arg(incLiv.toInt());
            linesTotal += sign * cents(number(sets.lines, QStringLiteral("prix_total"), r));
            QVariant when = sets.lines.value(r, QStringLiteral("date_liv"));
            if (when.isNull()) when = sets.body.value(b, QStringLiteral("date_liv"));
            lines.append({r, code,
                          QStringLiteral("BL n° ") + QString::number(incLiv.toInt()) + QStringLiteral(" du ") +
                              formatDate(when.toDate())});
        }
    }
    for (const QString &unit : unknownUnits) refused << QStringLiteral("unité inconnue : ") + unit;

    const qint64 ht = sign * cents(number(h, QStringLiteral("montant_ht")));
    const qint64 tva = sign * cents(number(h, QStringLiteral("montant_tva")));
    const qint64 ttc = sign * cents(number(h, QStringLiteral("montant_ttc")));
    if (linesTotal != ht)
        refused << QStringLiteral("la somme des lignes (%1) diffère du total H.T. (%2)")
                       .arg(amountText(linesTotal), amountText(ht));
    if (ht + tva != ttc)
        refused << QStringLiteral("total H.T. + TVA (%1) différent du total T.T.C. (%2)")
                       .arg(amountText(ht + tva), amountText(ttc));

    // Payment means, when the mode has its code: a transfer or a direct debit needs the IBAN.
    const QString paymentCode = text(sets.payment, QStringLiteral("code_paiement"));
    const QString iban = QString(text(perso, QStringLiteral("iban"))).remove(QLatin1Char(' '));
    if ((paymentCode == QLatin1String("30") || paymentCode == QLatin1String("58")) && iban.isEmpty())
        refused << QStringLiteral("IBAN de la société absent pour le mode de règlement");

    if (!refused.isEmpty())
        return Error::refusal(QStringLiteral("Facture électronique impossible :\n- ") +
                              refused.join(QStringLiteral("\n- ")));

    QByteArray out;
    Writer w(&out);
    QXmlStreamWriter &xml = w.xml();
    xml.writeStartDocument();
    xml.writeNamespace(kRsm, QStringLiteral("rsm"));
    xml.writeNamespace(kQdt, QStringLiteral("qdt"));
    xml.writeNamespace(kRam, QStringLiteral("ram"));
    xml.writeNamespace(kUdt, QStringLiteral("udt"));
    w.start(kRsm, QStringLiteral("CrossIndustryInvoice"));

    w.start(kRsm, QStringLiteral("ExchangedDocumentContext"));
    w.start(kRam, QStringLiteral("GuidelineSpecifiedDocumentContextParameter"));
    w.ram(QStringLiteral("ID"), QStringLiteral("urn:cen.eu:en16931:2017"));
    w.end();
    w.end();

    w.start(kRsm, QStringLiteral("ExchangedDocument"));
    w.ram(QStringLiteral("ID"), QString::number(h.value(0, QStringLiteral("num_facture")).toInt()));
    w.ram(QStringLiteral("TypeCode"), creditNote ? QStringLiteral("381") : QStringLiteral("380"));
    w.date(QStringLiteral("IssueDateTime"), isoDate(h.value(0, QStringLiteral("date_fac"))));
    const QString comment = text(perso, QStringLiteral("commentaire_fac"));
    if (!comment.isEmpty()) {
        w.start(kRam, QStringLiteral("IncludedNote"));
        w.ram(QStringLiteral("Content"), comment);
        w.end();
    }
    w.end();

    w.start(kRsm, QStringLiteral("SupplyChainTradeTransaction"));
    int lineId = 0;
    for (const Line &line : lines) {
        const DataTable &d = sets.lines;
        w.start(kRam, QStringLiteral("IncludedSupplyChainTradeLineItem"));
        w.start(kRam, QStringLiteral("AssociatedDocumentLineDocument"));
        w.ram(QStringLiteral("LineID"), QString::number(++lineId));
        w.start(kRam, QStringLiteral("IncludedNote"));
        w.ram(QStringLiteral("Content"), line.note);
        w.end();
        w.end();
        w.start(kRam, QStringLiteral("SpecifiedTradeProduct"));
        QStringList name;
        for (const char *column : {"origine", "essence", "qualite"}) {
            const QString part = text(d, QLatin1String(column), line.row);
            if (!part.isEmpty()) name << part;
        }
        w.ram(QStringLiteral("Name"), name.join(QLatin1Char(' ')));
        const QVariant moisture = d.value(line.row, QStringLiteral("humidite"));
        if (!moisture.isNull() && moisture.toDouble() != 0) {
            w.start(kRam, QStringLiteral("ApplicableProductCharacteristic"));
            w.ram(QStringLiteral("Description"), QStringLiteral("Humidité(%)"));
            w.ram(QStringLiteral("Value"), formatNumber(moisture.toDouble(), QStringLiteral("# ###.000")));
            w.end();
        }
        if (text(d, QStringLiteral("origine"), line.row) == QLatin1String("PLAQUETTE")) {
            w.start(kRam, QStringLiteral("ApplicableProductCharacteristic"));
            w.ram(QStringLiteral("Description"), QStringLiteral("PEFC"));
            w.ram(QStringLiteral("Value"),
                  formatNumber(number(d, QStringLiteral("pefc"), line.row), QStringLiteral("0")) +
                      QStringLiteral(" %"));
            w.end();
        }
        w.end();
        w.start(kRam, QStringLiteral("SpecifiedLineTradeAgreement"));
        w.start(kRam, QStringLiteral("NetPriceProductTradePrice"));
        w.ram(QStringLiteral("ChargeAmount"), decimalText(number(d, QStringLiteral("prix_unit"), line.row)));
        w.end();
        w.end();
        w.start(kRam, QStringLiteral("SpecifiedLineTradeDelivery"));
        w.ramWithAttribute(QStringLiteral("BilledQuantity"), QStringLiteral("unitCode"), line.unit,
                           decimalText(sign * number(d, QStringLiteral("qte_liv"), line.row)));
        w.end();
        w.start(kRam, QStringLiteral("SpecifiedLineTradeSettlement"));
        w.start(kRam, QStringLiteral("ApplicableTradeTax"));
        w.ram(QStringLiteral("TypeCode"), QStringLiteral("VAT"));
        w.ram(QStringLiteral("CategoryCode"), QStringLiteral("S"));
        w.ram(QStringLiteral("RateApplicablePercent"), decimalText(rate));
        w.end();
        w.start(kRam, QStringLiteral("SpecifiedTradeSettlementLineMonetarySummation"));
        w.ram(QStringLiteral("LineTotalAmount"),
              amountText(sign * cents(number(d, QStringLiteral("prix_total"), line.row))));
        w.end();
        w.end();
        w.end();
    }

    w.start(kRam, QStringLiteral("ApplicableHeaderTradeAgreement"));
    w.start(kRam, QStringLiteral("SellerTradeParty"));
    w.ram(QStringLiteral("Name"), text(perso, QStringLiteral("nom")));
    w.start(kRam, QStringLiteral("SpecifiedLegalOrganization"));
    w.ramWithAttribute(QStringLiteral("ID"), QStringLiteral("schemeID"), QStringLiteral("0002"), siret.left(9));
    w.end();
    const QString tel = text(perso, QStringLiteral("tel"));
    const QString email = text(perso, QStringLiteral("email"));
    if (!tel.isEmpty() || !email.isEmpty()) {
        w.start(kRam, QStringLiteral("DefinedTradeContact"));
        if (!tel.isEmpty()) {
            w.start(kRam, QStringLiteral("TelephoneUniversalCommunication"));
            w.ram(QStringLiteral("CompleteNumber"), tel);
            w.end();
        }
        if (!email.isEmpty()) {
            w.start(kRam, QStringLiteral("EmailURIUniversalCommunication"));
            w.ram(QStringLiteral("URIID"), email);
            w.end();
        }
        w.end();
    }
    writeAddress(w,
                 {text(perso, QStringLiteral("cp")), text(perso, QStringLiteral("adresse")),
                  text(perso, QStringLiteral("adresse1")), text(perso, QStringLiteral("ville")), QStringLiteral("FR")});
    if (!email.isEmpty()) {
        w.start(kRam, QStringLiteral("URIUniversalCommunication"));
        w.ramWithAttribute(QStringLiteral("URIID"), QStringLiteral("schemeID"), QStringLiteral("EM"), email);
        w.end();
    }
    w.start(kRam, QStringLiteral("SpecifiedTaxRegistration"));
    w.ramWithAttribute(QStringLiteral("ID"), QStringLiteral("schemeID"), QStringLiteral("VA"), compactVat(sellerVat));
    w.end();
    w.end();

    w.start(kRam, QStringLiteral("BuyerTradeParty"));
    QString buyer = text(h, QStringLiteral("client_fac"));
    if (buyer.isEmpty()) buyer = text(h, QStringLiteral("client"));
    w.ram(QStringLiteral("Name"), buyer);
    writeAddress(w, {text(h, QStringLiteral("cp_fac")), text(h, QStringLiteral("adresse_fac")),
                     text(h, QStringLiteral("adresse1_fac")), text(h, QStringLiteral("ville_fac")), buyerCountry});
    if (!buyerVat.isEmpty()) {
        w.start(kRam, QStringLiteral("SpecifiedTaxRegistration"));
        w.ramWithAttribute(QStringLiteral("ID"), QStringLiteral("schemeID"), QStringLiteral("VA"),
                           compactVat(buyerVat));
        w.end();
    }
    w.end();
    w.end();

    w.start(kRam, QStringLiteral("ApplicableHeaderTradeDelivery"));
    w.end();

    w.start(kRam, QStringLiteral("ApplicableHeaderTradeSettlement"));
    w.ram(QStringLiteral("InvoiceCurrencyCode"), QStringLiteral("EUR"));
    if (!paymentCode.isEmpty()) {
        w.start(kRam, QStringLiteral("SpecifiedTradeSettlementPaymentMeans"));
        w.ram(QStringLiteral("TypeCode"), paymentCode);
        if (!iban.isEmpty()) {
            w.start(kRam, QStringLiteral("PayeePartyCreditorFinancialAccount"));
            w.ram(QStringLiteral("IBANID"), iban);
            w.end();
            const QString bic = text(perso, QStringLiteral("bic"));
            if (!bic.isEmpty()) {
                w.start(kRam, QStringLiteral("PayeeSpecifiedCreditorFinancialInstitution"));
                w.ram(QStringLiteral("BICID"), bic);
                w.end();
            }
        }
        w.end();
    }
    w.start(kRam, QStringLiteral("ApplicableTradeTax"));
    w.ram(QStringLiteral("CalculatedAmount"), amountText(tva));
    w.ram(QStringLiteral("TypeCode"), QStringLiteral("VAT"));
    w.ram(QStringLiteral("BasisAmount"), amountText(ht));
    w.ram(QStringLiteral("CategoryCode"), QStringLiteral("S"));
    w.ram(QStringLiteral("RateApplicablePercent"), decimalText(rate));
    w.end();
    const QString mode = text(sets.payment, QStringLiteral("reglement"));
    const QString due = isoDate(h.value(0, QStringLiteral("echeance")));
    if (!mode.isEmpty() || !due.isEmpty()) {
        w.start(kRam, QStringLiteral("SpecifiedTradePaymentTerms"));
        if (!mode.isEmpty()) w.ram(QStringLiteral("Description"), mode);
        if (!due.isEmpty()) w.date(QStringLiteral("DueDateDateTime"), due);
        w.end();
    }
    w.start(kRam, QStringLiteral("SpecifiedTradeSettlementHeaderMonetarySummation"));
    w.ram(QStringLiteral("LineTotalAmount"), amountText(linesTotal));
    w.ram(QStringLiteral("TaxBasisTotalAmount"), amountText(ht));
    w.ramWithAttribute(QStringLiteral("TaxTotalAmount"), QStringLiteral("currencyID"), QStringLiteral("EUR"),
                       amountText(tva));
    w.ram(QStringLiteral("GrandTotalAmount"), amountText(ttc));
    w.ram(QStringLiteral("DuePayableAmount"), amountText(ttc));
    w.end();
    const QString origin = text(h, QStringLiteral("facture_origine"));
    if (creditNote && !origin.isEmpty()) {
        w.start(kRam, QStringLiteral("InvoiceReferencedDocument"));
        w.ram(QStringLiteral("IssuerAssignedID"), origin);
        w.end();
    }
    w.end();
    w.end();

    w.end();
    xml.writeEndDocument();
    return out;
}

bool facturXEnabled(const InvoiceSets &sets)
{
    return text(sets.company, QStringLiteral("facture_electronique")).toUpper() == QLatin1String("OUI");
}

QString facturXPdfName(const InvoiceSets &sets)
{
    const bool creditNote = text(sets.header, QStringLiteral("type_fac")).toUpper().startsWith(QLatin1String("AVOIR"));
    const int number = sets.header.isEmpty() ? 0 : sets.header.value(0, QStringLiteral("num_facture")).toInt();
    return (creditNote ? QStringLiteral("AVOIR_") : QStringLiteral("FACTURE_")) + QString::number(number) +
           QStringLiteral(".pdf");
}

Status writeFacturXInvoice(const InvoiceSets &sets, const ReportDocument &document, const QString &filePath,
                           const QDateTime &when)
{
    auto xml = facturXml(sets);
    if (!xml) return xml.error();
    PdfA3Description description;
    description.title = text(sets.header, QStringLiteral("type_fac")) + QStringLiteral(" n° ") +
                        QString::number(sets.header.value(0, QStringLiteral("num_facture")).toInt());
    description.author = text(sets.company, QStringLiteral("nom"));
    description.when = when;
    return writeFacturXPdf(document, *xml, filePath, description);
}

} // namespace ravelin
