#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace ravelin {

struct ReportFont
{
    QString family = QStringLiteral("Arial");
    double pointSize = 9.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const ReportFont &) const = default;
};

// One positioned item of a laid-out page. Positions and sizes are millimetres from the top-left
// corner of the paper.
struct ReportItem
{
    enum class Kind { Text, Line, Box, Strip, Picture };

    Kind kind = Kind::Text;
    QRectF rect;  // Text, Box, Strip, Picture
    QLineF line;  // Line
    QString text; // Text: what is printed, already formatted
    QString name; // the template item's name, when it has one
    QString band; // the band type the item was laid out in ("pageHeader", "detail"...)
    int templateLine = 0;

    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wrap = false;
    bool frame = false; // Text: a rule around the text's rectangle
    QColor color = Qt::black;
    QColor background;      // Text: filled behind the text when valid; Box: fill; Strip: the shade
    double penWidth = 0.2;  // Line, Box and frames, in millimetres
    QImage image;           // Picture
    bool keepAspect = true; // Picture
};

struct ReportPage
{
    QList<ReportItem> items;
};

// An entry of a document's outline: a text and the page (from 0) where its band printed.
struct ReportOutlineEntry
{
    QString text;
    int page = 0;

    bool operator==(const ReportOutlineEntry &) const = default;
};

// A template laid out with its data: pages of positioned items, ready to be painted on a preview,
// a printer or a PDF file. Painting never changes it.
class ReportDocument
{
public:
    QString name;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QList<ReportPage> pages;
    // The entries of the bands with an `outline`, in the order they printed.
    QList<ReportOutlineEntry> outline;

    int pageCount() const { return int(pages.size()); }
    // Width and height of the paper in millimetres, orientation applied.
    QSizeF paperSize() const;

    // The texts of one page in reading order (top to bottom, then left to right).
    QStringList texts(int page) const;
    // The texts of the items of that name, page after page.
    QStringList textsNamed(const QString &name) const;
    // Every page as text: "== page N ==" then one line per row of items, the texts of a row
    // joined by " | ". What the layout tests compare.
    QString toPlainText() const;
};

} // namespace ravelin
