#include "reportlayout.h"

#include "reportvalues.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QSet>

#include <cmath>

namespace ravelin {

namespace {

// Where an expression sits: the data band whose rows it follows (for line() and count()) and
// the band run or group whose start resets its aggregates (none: the whole report).
struct Placement
{
    const TemplateBand *owner = nullptr;
    const void *resetKey = nullptr;
};

struct AggregateInfo
{
    const TemplateBand *target = nullptr; // the data band whose rows feed it
    const void *resetKey = nullptr;
};

struct Accumulator
{
    int count = 0;
    int values = 0;
    double sum = 0;
    QVariant min;
    QVariant max;
};

struct Cursor
{
    std::shared_ptr<const DataTable> table;
    int row = -1;
};

struct PendingItem
{
    const TemplateItem *item;
    QString text;
    double height;
};

double lineHeight(const ReportFont &font)
{
    return font.pointSize * 25.4 / 72.0 * 1.25;
}

// The height of a text wrapped in `width` millimetres, measured at a fixed resolution so that the
// layout does not depend on the screen.
double wrappedTextHeight(const QString &text, const ReportFont &font, double width)
{
    if (text.isEmpty()) return 0;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        // Without a GUI application there are no font metrics; estimate from an average width.
        const double charWidth = font.pointSize * 25.4 / 72.0 * 0.5;
        const int perLine = qMax(1, int(width / charWidth));
        int lines = 0;
        for (const QString &paragraph : text.split(QLatin1Char('\n')))
            lines += qMax(1, int(std::ceil(double(paragraph.size()) / perLine)));
        return lines * lineHeight(font);
    }
    static const double dpi = 1200;
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        return image;
    }();
    QFont f(font.family);
    f.setPointSizeF(font.pointSize);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    const QFontMetricsF metrics(f, &device);
    const double pixelsPerMm = dpi / 25.4;
    const QRectF bounds = metrics.boundingRect(QRectF(0, 0, width * pixelsPerMm, 1e7), Qt::TextWordWrap, text);
    return bounds.height() / pixelsPerMm;
}

class Layout : public ExpressionContext
{
public:
    Layout(const ReportTemplate &t, const ReportData &data) : m_t(t), m_data(data) {}

    Status bind();
    Result<ReportDocument> run();

    QVariant column(const ExprNode &node) const override;
    QVariant namedValue(const ExprNode &node) const override;
    QVariant contextFunction(const ExprNode &call) const override;

private:
    // Checking and binding, before anything is laid out.
    Status bindBand(const TemplateBand &band, Placement placement);
    Status bindExpression(const ReportExpression &e, int line, Placement placement);
    Status mapDataBands(const TemplateBand &band, const TemplateBand *parent, int depth);
    Status resolvePictures(const TemplateBand &band);

    // Laying out.
    Status pass();
    Status runDataBand(const TemplateBand &band, const DataRow &parent);
    void startPage();
    void finishPage();
    bool placeBand(const TemplateBand &band, Placement placement, double keepWithNext = 0);
    QList<PendingItem> evaluateItems(const TemplateBand &band, double *height);
    void emitItems(const TemplateBand &band, const QList<PendingItem> &items, double top);
    double staticHeight(const TemplateBand *band) const;
    void resetAggregates(const void *key);
    void accumulate(const TemplateBand &band);
    bool truth(const ReportExpression &e) const { return e.isNull() || reportTruth(e.evaluate(*this)); }

    const ReportTemplate &m_t;
    const ReportData &m_data;

    QHash<const ExprNode *, AggregateInfo> m_aggregates;
    QHash<const TemplateBand *, QList<const ExprNode *>> m_aggregatesByTarget;
    QHash<QString, const TemplateBand *> m_bandOfDataset; // lower-case data set name
    QHash<const TemplateBand *, QString> m_datasetOfBand;
    QHash<const TemplateBand *, int> m_depth; // how many data bands contain the band
    QHash<const TemplateItem *, QImage> m_pictures;
    bool m_usesPageCount = false;

    // State of one pass.
    ReportDocument m_doc;
    QHash<QString, Cursor> m_cursors;
    QHash<const ExprNode *, Accumulator> m_acc;
    QHash<const TemplateBand *, int> m_lines;
    QList<QPair<const TemplateBand *, Placement>> m_repeatedHeaders;
    Placement m_placement;
    double m_y = 0;
    double m_bodyBottom = 0;
    bool m_bodyStarted = false;
    int m_totalPages = 0;
    QDateTime m_printDate;
    // Dependent data sets are read once: the second pass (for the page count) replays them.
    QList<std::shared_ptr<const DataTable>> m_detailTables;
    int m_detailCall = 0;
};

Status Layout::bind()
{
    for (const TemplateBand &band : m_t.dataBands) {
        if (Status s = mapDataBands(band, nullptr, 0); !s) return s;
    }
    const Placement page;
    for (const auto *band : {m_t.title.get(), m_t.pageHeader.get(), m_t.pageFooter.get(), m_t.summary.get()}) {
        if (band) {
            if (Status s = bindBand(*band, page); !s) return s;
        }
    }
    for (const TemplateBand &band : m_t.dataBands) {
        if (Status s = bindBand(band, page); !s) return s;
    }
    return {};
}

Status Layout::mapDataBands(const TemplateBand &band, const TemplateBand *parent, int depth)
{
    const ReportData::Dataset *dataset = m_data.dataset(band.dataset);
    if (!dataset) return m_t.error(band.line, QStringLiteral("jeu de données « %1 » inconnu").arg(band.dataset));
    if (!dataset->table && !parent)
        return m_t.error(band.line, QStringLiteral("le jeu de données « %1 » se lit pour chaque ligne d'une autre "
                                                   "bande : placez sa bande dans une bande de données")
                                        .arg(band.dataset));
    const QString key = band.dataset.toLower();
    if (m_bandOfDataset.contains(key))
        return m_t.error(
            band.line,
            QStringLiteral("le jeu de données « %1 » est déjà parcouru par une autre bande").arg(band.dataset));
    m_bandOfDataset.insert(key, &band);
    m_datasetOfBand.insert(&band, key);
    m_depth.insert(&band, depth);
    for (const TemplateBand &child : band.children) {
        if (Status s = mapDataBands(child, &band, depth + 1); !s) return s;
    }
    return {};
}

Status Layout::bindBand(const TemplateBand &band, Placement placement)
{
    Placement own = placement;
    if (band.type == TemplateBand::Type::Data) own = Placement{&band, &band};
    if (Status s = bindExpression(band.visible, band.line, own); !s) return s;
    if (Status s = bindExpression(band.outline, band.line, own); !s) return s;
    for (const TemplateItem &item : band.items) {
        if (Status s = bindExpression(item.expression, item.line, own); !s) return s;
        if (Status s = bindExpression(item.visible, item.line, own); !s) return s;
    }
    if (Status s = resolvePictures(band); !s) return s;
    if (band.type != TemplateBand::Type::Data) return {};

    const Placement run{&band, &band};
    if (band.header) {
        if (Status s = bindBand(*band.header, run); !s) return s;
    }
    if (band.footer) {
        if (Status s = bindBand(*band.footer, run); !s) return s;
    }
    for (const TemplateGroup &group : band.groups) {
        const Placement inGroup{&band, &group};
        if (Status s = bindExpression(group.by, group.line, own); !s) return s;
        if (group.header) {
            if (Status s = bindBand(*group.header, inGroup); !s) return s;
        }
        if (group.footer) {
            if (Status s = bindBand(*group.footer, inGroup); !s) return s;
        }
    }
    for (const TemplateBand &child : band.children) {
        if (Status s = bindBand(child, run); !s) return s;
    }
    return {};
}

Status Layout::bindExpression(const ReportExpression &e, int line, Placement placement)
{
    if (e.isNull()) return {};
    Status status;
    QSet<const ExprNode *> datasetArguments; // count(lines): a data set named as such
    e.visit([&](const ExprNode &node) {
        if (!status) return;
        switch (node.kind) {
        case ExprNode::Kind::Column: {
            const ReportData::Dataset *dataset = m_data.dataset(node.dataset);
            if (!dataset) {
                status = m_t.error(
                    line, QStringLiteral("jeu de données « %1 » inconnu (dans « %2 »)").arg(node.dataset, e.text()));
                return;
            }
            bool found = false;
            for (const QString &c : dataset->columns) found = found || c.compare(node.name, Qt::CaseInsensitive) == 0;
            if (!found)
                status = m_t.error(line, QStringLiteral("colonne « %1.%2 » inconnue").arg(node.dataset, node.name));
            return;
        }
        case ExprNode::Kind::Name:
            if (datasetArguments.contains(&node)) return;
            if (!m_data.hasValue(node.name))
                status = m_t.error(
                    line, QStringLiteral("valeur « %1 » inconnue : le programme ne la donne pas").arg(node.name));
            return;
        case ExprNode::Kind::Call: break;
        default: return;
        }
        if (node.name == QLatin1String("pages")) m_usesPageCount = true;
        if (node.name == QLatin1String("line") && !placement.owner) {
            status = m_t.error(
                line, QStringLiteral("line() n'a de sens que dans une bande de données ou ses en-têtes et pieds"));
            return;
        }
        if (!ReportExpression::isAggregate(node.name)) return;

        // Which data band feeds the aggregate: the deepest one among the data sets it reads, or
        // for count() the data band it is placed in.
        const TemplateBand *target = nullptr;
        int targetDepth = -1;
        const auto consider = [&](const QString &datasetKey, const QString &shownName) {
            const TemplateBand *band = m_bandOfDataset.value(datasetKey);
            if (!band) {
                status = m_t.error(
                    line, m_data.dataset(datasetKey)
                              ? QStringLiteral("%1() : aucune bande ne parcourt le jeu de données « %2 »")
                                    .arg(node.name, shownName)
                              : QStringLiteral("jeu de données « %1 » inconnu (dans « %2 »)").arg(shownName, e.text()));
                return;
            }
            const int depth = m_depth.value(band);
            if (depth > targetDepth) {
                target = band;
                targetDepth = depth;
            }
        };
        if (node.args.empty()) {
            if (!placement.owner) {
                status = m_t.error(line,
                                   QStringLiteral("%1() sans argument n'a de sens que dans une bande de données ou ses "
                                                  "en-têtes et pieds : nommez le jeu de données, %1(lignes)")
                                       .arg(node.name));
                return;
            }
            target = placement.owner;
        } else if (node.args[0]->kind == ExprNode::Kind::Name && node.name == QLatin1String("count") &&
                   m_data.dataset(node.args[0]->name)) {
            datasetArguments.insert(node.args[0].get());
            consider(node.args[0]->name.toLower(), node.args[0]->name);
        } else {
            QStringList datasets;
            std::function<void(const ExprNode &)> collect = [&](const ExprNode &n) {
                if (n.kind == ExprNode::Kind::Column && !datasets.contains(n.dataset)) datasets.append(n.dataset);
                for (const auto &a : n.args) collect(*a);
            };
            collect(*node.args[0]);
            if (datasets.isEmpty()) {
                status =
                    m_t.error(line, QStringLiteral("%1() doit porter sur une colonne d'un jeu de données (dans « %2 »)")
                                        .arg(node.name, e.text()));
                return;
            }
            for (const QString &d : datasets) {
                if (m_data.dataset(d)) consider(d, d);
                if (!status) return;
            }
        }
        if (!status || !target) return;
        m_aggregates.insert(&node, AggregateInfo{target, placement.resetKey});
        m_aggregatesByTarget[target].append(&node);
    });
    return status;
}

Status Layout::resolvePictures(const TemplateBand &band)
{
    for (const TemplateItem &item : band.items) {
        if (item.kind != TemplateItem::Kind::Picture) continue;
        QImage image;
        if (!item.imageName.isEmpty()) image = m_data.image(item.imageName);
        if (image.isNull() && !item.file.isEmpty()) {
            const QString folder = m_data.pictureFolder().isEmpty() ? QDir::currentPath() : m_data.pictureFolder();
            const QString path = QDir(folder).filePath(item.file);
            // A missing or unreadable file leaves the template's own picture.
            if (QFileInfo::exists(path)) image.load(path);
        }
        if (image.isNull()) image = item.ownImage;
        if (!image.isNull()) m_pictures.insert(&item, image);
    }
    return {};
}

Result<ReportDocument> Layout::run()
{
    m_printDate = m_data.printDate().isValid() ? m_data.printDate() : QDateTime::currentDateTime();
    if (Status s = pass(); !s) return s.error();
    if (m_usesPageCount) {
        m_totalPages = m_doc.pageCount();
        m_detailCall = 0;
        if (Status s = pass(); !s) return s.error();
    }
    return m_doc;
}

Status Layout::pass()
{
    m_doc = ReportDocument();
    m_doc.name = m_t.name;
    m_doc.pageSize = m_t.pageSize;
    m_doc.orientation = m_t.orientation;
    m_cursors.clear();
    m_acc.clear();
    m_lines.clear();
    m_repeatedHeaders.clear();
    m_placement = Placement();
    m_bodyStarted = false;

    // Data sets start on their first row, so that a page header can show the first master row.
    for (const TemplateBand &band : m_t.dataBands) {
        const ReportData::Dataset *d = m_data.dataset(band.dataset);
        m_cursors.insert(band.dataset.toLower(), Cursor{d->table, d->table && d->table->rowCount() > 0 ? 0 : -1});
    }

    const QSizeF paper = m_doc.paperSize();
    m_bodyBottom = paper.height() - m_t.margins.bottom() - staticHeight(m_t.pageFooter.get());
    startPage();
    for (const TemplateBand &band : m_t.dataBands) {
        if (Status s = runDataBand(band, DataRow()); !s) return s;
    }
    if (m_t.summary) placeBand(*m_t.summary, Placement());
    finishPage();
    return {};
}

Status Layout::runDataBand(const TemplateBand &band, const DataRow &parent)
{
    const QString key = m_datasetOfBand.value(&band);
    const ReportData::Dataset *dataset = m_data.dataset(key);
    std::shared_ptr<const DataTable> table = dataset->table;
    if (!table) {
        if (m_detailCall < m_detailTables.size()) {
            table = m_detailTables[m_detailCall];
        } else {
            auto read = dataset->source(parent);
            if (!read) return read.error();
            table = std::make_shared<const DataTable>(std::move(read.value()));
            m_detailTables.append(table);
        }
        ++m_detailCall;
    }
    Cursor &cursor = m_cursors[key];
    cursor.table = table;
    cursor.row = -1;
    m_lines[&band] = 0;
    resetAggregates(&band);

    const Placement own{&band, &band};
    const double rowHeight = staticHeight(&band);
    int printed = 0, previous = -1;
    QVariantList previousGroups;
    for (int r = 0; r < table->rowCount(); ++r) {
        m_cursors[key].row = r;
        m_placement = own;
        if (!truth(band.visible)) continue;

        QVariantList groups;
        for (const TemplateGroup &g : band.groups) groups.append(g.by.evaluate(*this));
        int changed = 0;
        if (printed > 0) {
            changed = int(band.groups.size());
            for (int g = 0; g < groups.size(); ++g) {
                if (compareReportValues(groups[g], previousGroups[g]) != 0) {
                    changed = g;
                    break;
                }
            }
            if (changed < int(band.groups.size())) {
                m_cursors[key].row = previous;
                for (int g = int(band.groups.size()) - 1; g >= changed; --g) {
                    if (band.groups[g].footer) placeBand(*band.groups[g].footer, Placement{&band, &band.groups[g]});
                }
                m_cursors[key].row = r;
            }
        }
        if (printed == 0 && band.header) {
            placeBand(*band.header, own, rowHeight);
            if (band.header->repeatOnNewPage) m_repeatedHeaders.append({band.header.get(), own});
        }
        for (int g = changed; g < int(band.groups.size()); ++g) {
            resetAggregates(&band.groups[g]);
            if (band.groups[g].header) placeBand(*band.groups[g].header, Placement{&band, &band.groups[g]}, rowHeight);
        }
        ++m_lines[&band];
        accumulate(band);
        if (band.startOnNewPage && m_bodyStarted) {
            finishPage();
            startPage();
        }
        placeBand(band, own);
        for (const TemplateBand &child : band.children) {
            if (Status s = runDataBand(child, DataRow(table.get(), r)); !s) return s;
        }
        m_cursors[key].row = r;
        previousGroups = groups;
        previous = r;
        ++printed;
    }
    if (printed > 0) {
        m_cursors[key].row = previous;
        for (int g = int(band.groups.size()) - 1; g >= 0; --g) {
            if (band.groups[g].footer) placeBand(*band.groups[g].footer, Placement{&band, &band.groups[g]});
        }
        if (band.header && band.header->repeatOnNewPage) {
            m_repeatedHeaders.removeIf([&](const auto &h) { return h.first == band.header.get(); });
        }
        if (band.footer) placeBand(*band.footer, own);
    }
    return {};
}

void Layout::startPage()
{
    m_doc.pages.append(ReportPage());
    m_y = m_t.margins.top();
    if (m_doc.pageCount() == 1 && m_t.title) {
        double height = 0;
        m_placement = Placement();
        if (truth(m_t.title->visible)) {
            const auto items = evaluateItems(*m_t.title, &height);
            emitItems(*m_t.title, items, m_y);
            m_y += height;
        }
    }
    if (m_t.pageHeader) {
        double height = 0;
        m_placement = Placement();
        if (truth(m_t.pageHeader->visible)) {
            const auto items = evaluateItems(*m_t.pageHeader, &height);
            emitItems(*m_t.pageHeader, items, m_y);
            m_y += height;
        }
    }
    for (const auto &[header, placement] : m_repeatedHeaders) {
        double height = 0;
        m_placement = placement;
        if (!truth(header->visible)) continue;
        const auto items = evaluateItems(*header, &height);
        emitItems(*header, items, m_y);
        m_y += height;
    }
    m_bodyStarted = false;
}

void Layout::finishPage()
{
    if (!m_t.pageFooter) return;
    const Placement saved = m_placement;
    m_placement = Placement();
    if (truth(m_t.pageFooter->visible)) {
        double height = 0;
        const auto items = evaluateItems(*m_t.pageFooter, &height);
        emitItems(*m_t.pageFooter, items,
                  m_doc.paperSize().height() - m_t.margins.bottom() - staticHeight(m_t.pageFooter.get()));
    }
    m_placement = saved;
}

bool Layout::placeBand(const TemplateBand &band, Placement placement, double keepWithNext)
{
    m_placement = placement;
    if (!truth(band.visible)) return false;
    double height = 0;
    auto items = evaluateItems(band, &height);
    if (m_bodyStarted && m_y + height + keepWithNext > m_bodyBottom + 1e-6) {
        finishPage();
        startPage();
        m_placement = placement;
        items = evaluateItems(band, &height); // page() has changed
    }
    emitItems(band, items, m_y);
    if (!band.outline.isNull())
        m_doc.outline.append({formatReportValue(band.outline.evaluate(*this), QString()), m_doc.pageCount() - 1});
    m_y += height;
    m_bodyStarted = true;
    return true;
}

QList<PendingItem> Layout::evaluateItems(const TemplateBand &band, double *height)
{
    QList<PendingItem> out;
    double bottom = band.height;
    for (const TemplateItem &item : band.items) {
        if (!truth(item.visible)) continue;
        PendingItem p{&item, QString(), item.rect.height()};
        if (item.kind == TemplateItem::Kind::Field)
            p.text = formatReportValue(item.expression.evaluate(*this), item.format);
        else if (item.kind == TemplateItem::Kind::Text) p.text = item.text;
        if (item.kind == TemplateItem::Kind::Line) {
            p.height = item.rect.height();
            bottom = qMax(bottom, item.rect.top() + qMax(0.0, p.height));
        } else {
            if (!item.heightGiven) {
                p.height = qMax(0.0, band.height - item.rect.top());
                if (item.kind == TemplateItem::Kind::Text || item.kind == TemplateItem::Kind::Field)
                    p.height = qMax(p.height, lineHeight(item.font));
            }
            if (item.grow) p.height = qMax(p.height, wrappedTextHeight(p.text, item.font, item.rect.width()));
            bottom = qMax(bottom, item.rect.top() + p.height);
        }
        out.append(p);
    }
    *height = bottom;
    return out;
}

double Layout::staticHeight(const TemplateBand *band) const
{
    if (!band) return 0;
    double bottom = band->height;
    for (const TemplateItem &item : band->items) {
        double h = item.rect.height();
        if (item.kind != TemplateItem::Kind::Line && !item.heightGiven) {
            h = qMax(0.0, band->height - item.rect.top());
            if (item.kind == TemplateItem::Kind::Text || item.kind == TemplateItem::Kind::Field)
                h = qMax(h, lineHeight(item.font));
        }
        bottom = qMax(bottom, item.rect.top() + qMax(0.0, h));
    }
    return bottom;
}

void Layout::emitItems(const TemplateBand &band, const QList<PendingItem> &items, double top)
{
    ReportPage &page = m_doc.pages.last();
    const double left = m_t.margins.left();
    for (const PendingItem &p : items) {
        const TemplateItem &t = *p.item;
        ReportItem out;
        out.name = t.name;
        out.band = band.typeName;
        out.templateLine = t.line;
        out.font = t.font;
        out.alignment = t.alignment;
        out.wrap = t.wrap;
        out.frame = t.frame;
        out.color = t.color;
        out.background = t.background;
        out.penWidth = t.penWidth;
        const QRectF rect(left + t.rect.left(), top + t.rect.top(), t.rect.width(), p.height);
        switch (t.kind) {
        case TemplateItem::Kind::Text:
        case TemplateItem::Kind::Field:
            out.kind = ReportItem::Kind::Text;
            out.rect = rect;
            out.text = p.text;
            break;
        case TemplateItem::Kind::Line:
            out.kind = ReportItem::Kind::Line;
            out.line = QLineF(rect.topLeft(), QPointF(rect.left() + t.rect.width(), rect.top() + t.rect.height()));
            out.rect = QRectF(out.line.p1(), out.line.p2()).normalized();
            break;
        case TemplateItem::Kind::Box:
            out.kind = ReportItem::Kind::Box;
            out.rect = rect;
            break;
        case TemplateItem::Kind::Strip:
            out.kind = ReportItem::Kind::Strip;
            out.rect = rect;
            out.background = t.color;
            break;
        case TemplateItem::Kind::Picture: {
            const auto it = m_pictures.constFind(&t);
            if (it == m_pictures.cend()) continue;
            out.kind = ReportItem::Kind::Picture;
            out.rect = rect;
            out.image = *it;
            out.keepAspect = t.keepAspect;
            break;
        }
        }
        page.items.append(std::move(out));
    }
}

void Layout::resetAggregates(const void *key)
{
    for (auto it = m_aggregates.cbegin(); it != m_aggregates.cend(); ++it) {
        if (it->resetKey == key) m_acc[it.key()] = Accumulator();
    }
}

void Layout::accumulate(const TemplateBand &band)
{
    const auto it = m_aggregatesByTarget.constFind(&band);
    if (it == m_aggregatesByTarget.cend()) return;
    for (const ExprNode *node : *it) {
        Accumulator &a = m_acc[node];
        ++a.count;
        if (node->args.empty() || node->name == QLatin1String("count")) continue;
        const QVariant v = ReportExpression::evaluateNode(*node->args[0], *this);
        if (v.isNull()) continue;
        ++a.values;
        a.sum += reportNumber(v);
        if (a.min.isNull() || compareReportValues(v, a.min) < 0) a.min = v;
        if (a.max.isNull() || compareReportValues(v, a.max) > 0) a.max = v;
    }
}

QVariant Layout::column(const ExprNode &node) const
{
    const auto it = m_cursors.constFind(node.dataset);
    if (it != m_cursors.cend()) {
        if (!it->table || it->row < 0) return {};
        return it->table->value(it->row, node.name);
    }
    // A data set no band goes through: its first row.
    const ReportData::Dataset *d = m_data.dataset(node.dataset);
    if (!d || !d->table) return {};
    return d->table->value(0, node.name);
}

QVariant Layout::namedValue(const ExprNode &node) const
{
    return m_data.value(node.name);
}

QVariant Layout::contextFunction(const ExprNode &call) const
{
    const QString &f = call.name;
    if (f == QLatin1String("page")) return int(m_doc.pageCount());
    if (f == QLatin1String("pages")) return m_totalPages > 0 ? m_totalPages : int(m_doc.pageCount());
    if (f == QLatin1String("printdate")) return m_printDate.date();
    if (f == QLatin1String("now")) return m_printDate;
    if (f == QLatin1String("line")) return m_placement.owner ? m_lines.value(m_placement.owner) : 0;
    const Accumulator a = m_acc.value(&call);
    if (f == QLatin1String("count")) return a.count;
    if (f == QLatin1String("sum")) return a.sum;
    if (f == QLatin1String("avg")) return a.values > 0 ? QVariant(a.sum / a.values) : QVariant();
    if (f == QLatin1String("min")) return a.min;
    if (f == QLatin1String("max")) return a.max;
    return {};
}

} // namespace

Result<ReportDocument> layoutReport(const ReportTemplate &report, const ReportData &data)
{
    Layout layout(report, data);
    if (Status s = layout.bind(); !s) return s.error();
    return layout.run();
}

Result<ReportDocument> layoutReport(const QString &templateName, const ReportData &data)
{
    auto t = ReportTemplate::load(templateName);
    if (!t) return t.error();
    return layoutReport(*t, data);
}

} // namespace ravelin
