#include "reporttemplate.h"

#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

namespace ravelin {

namespace {

const QString kResourceFolder = QStringLiteral(":/reports/templates");

bool parseBool(const QString &text, bool *ok)
{
    const QString t = text.trimmed().toLower();
    *ok = true;
    if (t == QLatin1String("true") || t == QLatin1String("oui") || t == QLatin1String("yes") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("non") || t == QLatin1String("no") || t == QLatin1String("0"))
        return false;
    *ok = false;
    return false;
}

double parseMillimetres(const QString &text, bool *ok)
{
    QString t = text.trimmed();
    if (t.endsWith(QLatin1String("mm"))) t.chop(2);
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return t.trimmed().toDouble(ok);
}

class TemplateReader
{
public:
    TemplateReader(ReportTemplate &target, const QByteArray &xml, const QString &baseFolder)
        : m_t(target), m_xml(xml), m_baseFolder(baseFolder)
    {
    }

    Status read()
    {
        while (!m_xml.atEnd() && !m_xml.isStartElement()) m_xml.readNext();
        if (m_xml.hasError()) return xmlError();
        if (!m_xml.isStartElement() || m_xml.name() != QLatin1String("report"))
            return m_t.error(line(), QStringLiteral("l'élément racine doit être <report>"));
        if (Status s = readReport(); !s) return s;
        if (m_xml.hasError()) return xmlError();
        return {};
    }

private:
    int line() const { return int(m_xml.lineNumber()); }

    Error xmlError() const { return m_t.error(line(), QStringLiteral("XML illisible : %1").arg(m_xml.errorString())); }

    Status checkAttributes(const QStringList &allowed)
    {
        for (const QXmlStreamAttribute &a : m_xml.attributes()) {
            if (!allowed.contains(a.name().toString()))
                return m_t.error(line(), QStringLiteral("attribut « %1 » inconnu sur <%2>")
                                             .arg(a.name().toString(), m_xml.name().toString()));
        }
        return {};
    }

    QString attribute(const char *name) const { return m_xml.attributes().value(QLatin1String(name)).toString(); }
    bool has(const char *name) const { return m_xml.attributes().hasAttribute(QLatin1String(name)); }

    Status number(const char *name, double &target)
    {
        if (!has(name)) return {};
        bool ok = false;
        const double v = parseMillimetres(attribute(name), &ok);
        if (!ok)
            return m_t.error(
                line(), QStringLiteral("valeur « %1 » incorrecte pour %2").arg(attribute(name), QLatin1String(name)));
        target = v;
        return {};
    }

    Status boolean(const char *name, bool &target)
    {
        if (!has(name)) return {};
        bool ok = false;
        const bool v = parseBool(attribute(name), &ok);
        if (!ok)
            return m_t.error(line(), QStringLiteral("valeur « %1 » incorrecte pour %2 (true ou false)")
                                         .arg(attribute(name), QLatin1String(name)));
        target = v;
        return {};
    }

    Status color(const char *name, QColor &target)
    {
        if (!has(name)) return {};
        const QColor c = QColor::fromString(attribute(name).trimmed());
        if (!c.isValid())
            return m_t.error(
                line(), QStringLiteral("couleur « %1 » incorrecte pour %2").arg(attribute(name), QLatin1String(name)));
        target = c;
        return {};
    }

    Status expression(const char *name, ReportExpression &target)
    {
        if (!has(name)) return {};
        auto parsed = ReportExpression::parse(attribute(name));
        if (!parsed) return m_t.error(line(), parsed.error().message);
        target = *parsed;
        return {};
    }

    // "bold 14", "Arial 10 italic underline": size, style words and the family, in any order.
    Status font(ReportFont &target)
    {
        if (has("font")) {
            QStringList family;
            for (const QString &word : attribute("font").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QString w = word.toLower();
                bool isNumber = false;
                const double size = QString(word).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&isNumber);
                if (isNumber) {
                    if (size <= 0)
                        return m_t.error(line(), QStringLiteral("taille de police « %1 » incorrecte").arg(word));
                    target.pointSize = size;
                } else if (w == QLatin1String("bold")) {
                    target.bold = true;
                } else if (w == QLatin1String("italic")) {
                    target.italic = true;
                } else if (w == QLatin1String("underline")) {
                    target.underline = true;
                } else if (w == QLatin1String("normal")) {
                    target.bold = target.italic = target.underline = false;
                } else {
                    family.append(word);
                }
            }
            if (!family.isEmpty()) target.family = family.join(QLatin1Char(' '));
        }
        if (Status s = boolean("bold", target.bold); !s) return s;
        if (Status s = boolean("italic", target.italic); !s) return s;
        if (Status s = boolean("underline", target.underline); !s) return s;
        return {};
    }

    Status alignment(Qt::Alignment &target)
    {
        Qt::Alignment horizontal = target & Qt::AlignHorizontal_Mask;
        Qt::Alignment vertical = target & Qt::AlignVertical_Mask;
        if (has("align")) {
            const QString a = attribute("align").trimmed().toLower();
            if (a == QLatin1String("left")) horizontal = Qt::AlignLeft;
            else if (a == QLatin1String("center") || a == QLatin1String("centre")) horizontal = Qt::AlignHCenter;
            else if (a == QLatin1String("right")) horizontal = Qt::AlignRight;
            else if (a == QLatin1String("justify")) horizontal = Qt::AlignJustify;
            else
                return m_t.error(line(),
                                 QStringLiteral("alignement « %1 » inconnu (left, center, right, justify)").arg(a));
        }
        if (has("valign")) {
            const QString a = attribute("valign").trimmed().toLower();
            if (a == QLatin1String("top")) vertical = Qt::AlignTop;
            else if (a == QLatin1String("middle") || a == QLatin1String("center")) vertical = Qt::AlignVCenter;
            else if (a == QLatin1String("bottom")) vertical = Qt::AlignBottom;
            else
                return m_t.error(line(),
                                 QStringLiteral("alignement vertical « %1 » inconnu (top, middle, bottom)").arg(a));
        }
        target = horizontal | vertical;
        return {};
    }

    Status readReport()
    {
        if (Status s = checkAttributes({QStringLiteral("name"), QStringLiteral("page"), QStringLiteral("orientation"),
                                        QStringLiteral("margins"), QStringLiteral("unit"), QStringLiteral("font")});
            !s)
            return s;
        if (has("name")) m_t.name = attribute("name");
        if (has("unit") && attribute("unit") != QLatin1String("mm"))
            return m_t.error(line(), QStringLiteral("seule l'unité « mm » est connue"));
        if (has("page")) {
            static const QHash<QString, QPageSize::PageSizeId> sizes = {{QStringLiteral("a3"), QPageSize::A3},
                                                                        {QStringLiteral("a4"), QPageSize::A4},
                                                                        {QStringLiteral("a5"), QPageSize::A5},
                                                                        {QStringLiteral("letter"), QPageSize::Letter}};
            const auto it = sizes.constFind(attribute("page").trimmed().toLower());
            if (it == sizes.cend())
                return m_t.error(
                    line(),
                    QStringLiteral("format de page « %1 » inconnu (A3, A4, A5, Letter)").arg(attribute("page")));
            m_t.pageSize = QPageSize(*it);
        }
        if (has("orientation")) {
            const QString o = attribute("orientation").trimmed().toLower();
            if (o == QLatin1String("portrait")) m_t.orientation = QPageLayout::Portrait;
            else if (o == QLatin1String("landscape")) m_t.orientation = QPageLayout::Landscape;
            else return m_t.error(line(), QStringLiteral("orientation « %1 » inconnue (portrait, landscape)").arg(o));
        }
        if (has("margins")) {
            QList<double> values;
            for (const QString &part : attribute("margins").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                bool ok = false;
                values.append(parseMillimetres(part, &ok));
                if (!ok || values.last() < 0)
                    return m_t.error(line(), QStringLiteral("marges « %1 » incorrectes").arg(attribute("margins")));
            }
            // One value for the four sides, or top right bottom left as in CSS.
            if (values.size() == 1) m_t.margins = QMarginsF(values[0], values[0], values[0], values[0]);
            else if (values.size() == 4) m_t.margins = QMarginsF(values[3], values[0], values[1], values[2]);
            else
                return m_t.error(line(),
                                 QStringLiteral("marges « %1 » : une ou quatre valeurs").arg(attribute("margins")));
        }
        if (Status s = font(m_t.font); !s) return s;

        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != QLatin1String("band"))
                return m_t.error(line(),
                                 QStringLiteral("élément <%1> inattendu dans <report>").arg(m_xml.name().toString()));
            const QString type = attribute("type");
            TemplateBand band;
            if (Status s = readBand(band); !s) return s;
            std::shared_ptr<TemplateBand> *single = nullptr;
            switch (band.type) {
            case TemplateBand::Type::Title: single = &m_t.title; break;
            case TemplateBand::Type::PageHeader: single = &m_t.pageHeader; break;
            case TemplateBand::Type::PageFooter: single = &m_t.pageFooter; break;
            case TemplateBand::Type::Summary: single = &m_t.summary; break;
            case TemplateBand::Type::Data: m_t.dataBands.push_back(std::move(band)); continue;
            default:
                return m_t.error(
                    band.line, QStringLiteral("une bande « %1 » doit être placée dans une bande de données").arg(type));
            }
            if (*single) return m_t.error(band.line, QStringLiteral("bande « %1 » en double").arg(type));
            *single = std::make_shared<TemplateBand>(std::move(band));
        }
        return {};
    }

    static bool bandType(const QString &name, TemplateBand::Type &type)
    {
        static const QHash<QString, TemplateBand::Type> types = {
            {QStringLiteral("title"), TemplateBand::Type::Title},
            {QStringLiteral("pageheader"), TemplateBand::Type::PageHeader},
            {QStringLiteral("pagefooter"), TemplateBand::Type::PageFooter},
            {QStringLiteral("summary"), TemplateBand::Type::Summary},
            {QStringLiteral("master"), TemplateBand::Type::Data},
            {QStringLiteral("detail"), TemplateBand::Type::Data},
            {QStringLiteral("subdetail"), TemplateBand::Type::Data},
            {QStringLiteral("data"), TemplateBand::Type::Data},
            {QStringLiteral("header"), TemplateBand::Type::Header},
            {QStringLiteral("footer"), TemplateBand::Type::Footer},
            {QStringLiteral("groupheader"), TemplateBand::Type::GroupHeader},
            {QStringLiteral("groupfooter"), TemplateBand::Type::GroupFooter},
        };
        const auto it = types.constFind(name.toLower());
        if (it == types.cend()) return false;
        type = *it;
        return true;
    }

    // Reads a <band> element with what it holds.
    Status readBand(TemplateBand &band)
    {
        band.line = line();
        band.typeName = attribute("type");
        if (!bandType(band.typeName, band.type))
            return m_t.error(band.line, QStringLiteral("type de bande « %1 » inconnu").arg(band.typeName));
        QStringList allowed = {QStringLiteral("type"), QStringLiteral("height"), QStringLiteral("visible"),
                               QStringLiteral("newPage"), QStringLiteral("outline")};
        if (band.type == TemplateBand::Type::Data) allowed << QStringLiteral("dataset");
        if (band.type == TemplateBand::Type::Header) allowed << QStringLiteral("repeat");
        if (Status s = checkAttributes(allowed); !s) return s;
        if (Status s = number("height", band.height); !s) return s;
        if (Status s = expression("visible", band.visible); !s) return s;
        if (Status s = expression("outline", band.outline); !s) return s;
        if (Status s = boolean("newPage", band.startOnNewPage); !s) return s;
        if (Status s = boolean("repeat", band.repeatOnNewPage); !s) return s;
        if (band.type == TemplateBand::Type::Data) {
            band.dataset = attribute("dataset").trimmed();
            if (band.dataset.isEmpty())
                return m_t.error(band.line,
                                 QStringLiteral("la bande « %1 » n'a pas d'attribut dataset").arg(band.typeName));
        }

        while (m_xml.readNextStartElement()) {
            const QString element = m_xml.name().toString();
            if (element == QLatin1String("band")) {
                if (band.type != TemplateBand::Type::Data)
                    return m_t.error(line(),
                                     QStringLiteral("une bande ne peut être placée que dans une bande de données"));
                TemplateBand child;
                if (Status s = readBand(child); !s) return s;
                switch (child.type) {
                case TemplateBand::Type::Data: band.children.push_back(std::move(child)); break;
                case TemplateBand::Type::Header:
                case TemplateBand::Type::Footer: {
                    auto &slot = child.type == TemplateBand::Type::Header ? band.header : band.footer;
                    if (slot)
                        return m_t.error(child.line, QStringLiteral("bande « %1 » en double").arg(child.typeName));
                    slot = std::make_shared<TemplateBand>(std::move(child));
                    break;
                }
                default:
                    return m_t.error(child.line,
                                     QStringLiteral("une bande « %1 » ne peut pas être placée ici%2")
                                         .arg(child.typeName, child.type == TemplateBand::Type::GroupHeader ||
                                                                      child.type == TemplateBand::Type::GroupFooter
                                                                  ? QStringLiteral(" (elle va dans un <group>)")
                                                                  : QString()));
                }
            } else if (element == QLatin1String("group")) {
                if (band.type != TemplateBand::Type::Data)
                    return m_t.error(line(),
                                     QStringLiteral("un <group> ne peut être placé que dans une bande de données"));
                TemplateGroup group;
                if (Status s = readGroup(group); !s) return s;
                band.groups.push_back(std::move(group));
            } else {
                TemplateItem item;
                if (Status s = readItem(item); !s) return s;
                band.items.push_back(std::move(item));
            }
        }
        return {};
    }

    Status readGroup(TemplateGroup &group)
    {
        group.line = line();
        if (Status s = checkAttributes({QStringLiteral("by")}); !s) return s;
        if (!has("by")) return m_t.error(group.line, QStringLiteral("un <group> a besoin de l'attribut by"));
        if (Status s = expression("by", group.by); !s) return s;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != QLatin1String("band"))
                return m_t.error(line(),
                                 QStringLiteral("élément <%1> inattendu dans <group>").arg(m_xml.name().toString()));
            TemplateBand band;
            if (Status s = readBand(band); !s) return s;
            if (band.type != TemplateBand::Type::GroupHeader && band.type != TemplateBand::Type::GroupFooter)
                return m_t.error(band.line,
                                 QStringLiteral("un <group> ne contient que des bandes groupHeader et groupFooter"));
            auto &slot = band.type == TemplateBand::Type::GroupHeader ? group.header : group.footer;
            if (slot) return m_t.error(band.line, QStringLiteral("bande « %1 » en double").arg(band.typeName));
            slot = std::make_shared<TemplateBand>(std::move(band));
        }
        return {};
    }

    Status readItem(TemplateItem &item)
    {
        item.line = line();
        item.font = m_t.font;
        const QString element = m_xml.name().toString();
        static const QHash<QString, TemplateItem::Kind> kinds = {
            {QStringLiteral("text"), TemplateItem::Kind::Text},
            {QStringLiteral("field"), TemplateItem::Kind::Field},
            {QStringLiteral("line"), TemplateItem::Kind::Line},
            {QStringLiteral("box"), TemplateItem::Kind::Box},
            {QStringLiteral("strip"), TemplateItem::Kind::Strip},
            {QStringLiteral("picture"), TemplateItem::Kind::Picture},
        };
        const auto kind = kinds.constFind(element);
        if (kind == kinds.cend()) return m_t.error(item.line, QStringLiteral("élément <%1> inconnu").arg(element));
        item.kind = *kind;

        QStringList allowed = {QStringLiteral("name"), QStringLiteral("x"), QStringLiteral("y"),
                               QStringLiteral("w"),    QStringLiteral("h"), QStringLiteral("visible")};
        const QStringList textual = {
            QStringLiteral("font"),  QStringLiteral("bold"),   QStringLiteral("italic"), QStringLiteral("underline"),
            QStringLiteral("align"), QStringLiteral("valign"), QStringLiteral("color"),  QStringLiteral("background"),
            QStringLiteral("frame"), QStringLiteral("wrap"),   QStringLiteral("grow"),   QStringLiteral("width")};
        switch (item.kind) {
        case TemplateItem::Kind::Text: allowed << textual; break;
        case TemplateItem::Kind::Field: allowed << textual << QStringLiteral("expr") << QStringLiteral("format"); break;
        case TemplateItem::Kind::Line:
            allowed << QStringLiteral("x1") << QStringLiteral("y1") << QStringLiteral("x2") << QStringLiteral("y2")
                    << QStringLiteral("width") << QStringLiteral("color");
            break;
        case TemplateItem::Kind::Box:
            allowed << QStringLiteral("width") << QStringLiteral("color") << QStringLiteral("fill");
            break;
        case TemplateItem::Kind::Strip: allowed << QStringLiteral("color"); break;
        case TemplateItem::Kind::Picture:
            allowed << QStringLiteral("image") << QStringLiteral("file") << QStringLiteral("src")
                    << QStringLiteral("keepAspect");
            break;
        }
        if (Status s = checkAttributes(allowed); !s) return s;

        item.name = attribute("name");
        double x = 0, y = 0, w = 0, h = 0;
        if (Status s = number("x", x); !s) return s;
        if (Status s = number("y", y); !s) return s;
        if (Status s = number("w", w); !s) return s;
        if (Status s = number("h", h); !s) return s;
        item.heightGiven = has("h");
        if (item.kind == TemplateItem::Kind::Line && (has("x1") || has("y1") || has("x2") || has("y2"))) {
            double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            if (Status s = number("x1", x1); !s) return s;
            if (Status s = number("y1", y1); !s) return s;
            if (Status s = number("x2", x2); !s) return s;
            if (Status s = number("y2", y2); !s) return s;
            x = x1, y = y1, w = x2 - x1, h = y2 - y1;
            item.heightGiven = true;
        }
        item.rect = QRectF(x, y, w, h);
        if (Status s = expression("visible", item.visible); !s) return s;
        if (Status s = number("width", item.penWidth); !s) return s;

        switch (item.kind) {
        case TemplateItem::Kind::Text:
        case TemplateItem::Kind::Field:
            if (Status s = font(item.font); !s) return s;
            if (Status s = alignment(item.alignment); !s) return s;
            if (Status s = color("color", item.color); !s) return s;
            if (Status s = color("background", item.background); !s) return s;
            if (Status s = boolean("frame", item.frame); !s) return s;
            if (Status s = boolean("wrap", item.wrap); !s) return s;
            if (Status s = boolean("grow", item.grow); !s) return s;
            if (item.grow) item.wrap = true;
            if (item.wrap && !has("valign"))
                item.alignment = (item.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
            if (item.kind == TemplateItem::Kind::Field) {
                if (!has("expr")) return m_t.error(item.line, QStringLiteral("un <field> a besoin de l'attribut expr"));
                if (Status s = expression("expr", item.expression); !s) return s;
                item.format = attribute("format");
            }
            if (w <= 0) return m_t.error(item.line, QStringLiteral("<%1> sans largeur (w)").arg(element));
            break;
        case TemplateItem::Kind::Line:
            if (Status s = color("color", item.color); !s) return s;
            break;
        case TemplateItem::Kind::Box:
            if (Status s = color("color", item.color); !s) return s;
            if (Status s = color("fill", item.background); !s) return s;
            break;
        case TemplateItem::Kind::Strip:
            item.color = QColor(0xC0, 0xC0, 0xC0);
            if (Status s = color("color", item.color); !s) return s;
            break;
        case TemplateItem::Kind::Picture: {
            item.imageName = attribute("image");
            item.file = attribute("file");
            if (Status s = boolean("keepAspect", item.keepAspect); !s) return s;
            if (has("src")) {
                const QString src = attribute("src");
                const QString path = QDir(m_baseFolder).filePath(src);
                if (!item.ownImage.load(path))
                    return m_t.error(item.line, QStringLiteral("image « %1 » illisible").arg(src));
            }
            break;
        }
        }

        if (item.kind == TemplateItem::Kind::Text) {
            item.text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement).trimmed();
            if (m_xml.hasError()) return xmlError();
        } else {
            const int at = line();
            if (m_xml.readNextStartElement())
                return m_t.error(at, QStringLiteral("<%1> ne contient pas d'autre élément").arg(element));
        }
        return {};
    }

    ReportTemplate &m_t;
    QXmlStreamReader m_xml;
    QString m_baseFolder;
};

} // namespace

Error ReportTemplate::error(int line, const QString &what) const
{
    Error e;
    e.message = QStringLiteral("Modèle d'impression %1, ligne %2 : %3").arg(fileName).arg(line).arg(what);
    e.detail = path;
    e.where = QStringLiteral("ReportTemplate");
    return e;
}

Result<ReportTemplate> ReportTemplate::fromXml(const QByteArray &xml, const QString &fileName,
                                               const QString &baseFolder)
{
    ReportTemplate t;
    t.fileName = fileName;
    t.path = fileName;
    t.name = QFileInfo(fileName).completeBaseName();
    TemplateReader reader(t, xml, baseFolder);
    if (Status s = reader.read(); !s) return s.error();
    return t;
}

Result<ReportTemplate> ReportTemplate::loadFile(const QString &path)
{
    QFile file(path);
    const QString fileName = QFileInfo(path).fileName();
    if (!file.open(QIODevice::ReadOnly)) {
        Error e;
        e.message = QStringLiteral("Modèle d'impression %1 illisible : %2").arg(fileName, file.errorString());
        e.detail = path;
        e.where = QStringLiteral("ReportTemplate::loadFile");
        return e;
    }
    auto t = fromXml(file.readAll(), fileName, QFileInfo(path).absolutePath());
    if (!t) {
        Error e = t.error();
        e.detail = path;
        return e;
    }
    t.value().path = path;
    return t;
}

QStringList ReportTemplate::overrideFolders()
{
    return QCoreApplication::instance() ? reportTemplateFolders() : reportTemplateFolders(QString());
}

Result<ReportTemplate> ReportTemplate::load(const QString &name)
{
    const QString fileName = name + QStringLiteral(".xml");
    for (const QString &folder : overrideFolders()) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo::exists(path)) return loadFile(path);
    }
    const QString compiled = kResourceFolder + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(compiled)) return loadFile(compiled);
    Error e;
    e.message = QStringLiteral("Modèle d'impression %1 introuvable").arg(fileName);
    e.where = QStringLiteral("ReportTemplate::load");
    return e;
}

} // namespace ravelin
