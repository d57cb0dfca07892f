#pragma once

#include "reportdocument.h"
#include "reportexpression.h"
#include "result.h"

#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace ravelin {

// One item of a band, as the template describes it. Positions are millimetres from the band's
// top-left corner (the left page margin).
struct TemplateItem
{
    enum class Kind { Text, Field, Line, Box, Strip, Picture };

    Kind kind = Kind::Text;
    int line = 0; // line of the template file, for messages
    QString name;
    QRectF rect; // Line: from the top-left to the bottom-right corner
    bool heightGiven = false;
    QString text;                // Text
    ReportExpression expression; // Field
    QString format;
    ReportExpression visible; // no condition: always shown
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor color = Qt::black;
    QColor background;
    bool frame = false;
    bool wrap = false;
    bool grow = false; // the band grows to hold the whole (wrapped) text
    double penWidth = 0.2;
    // Picture: a picture handed by the caller under `imageName`, else `file` in the picture
    // folder (the working folder) when it exists, else the template's own picture.
    QString imageName;
    QString file;
    QImage ownImage;
    bool keepAspect = true;
};

struct TemplateBand;

struct TemplateGroup
{
    int line = 0;
    ReportExpression by;
    std::shared_ptr<TemplateBand> header;
    std::shared_ptr<TemplateBand> footer;
};

struct TemplateBand
{
    enum class Type { Title, PageHeader, PageFooter, Summary, Data, Header, Footer, GroupHeader, GroupFooter };

    Type type = Type::Data;
    QString typeName; // as written: "detail", "master", "subDetail"...
    int line = 0;
    double height = 0; // the band is at least as high as its lowest item
    QString dataset;   // Data bands
    ReportExpression visible;
    // Each time the band prints, the text of `outline` and the page it is on become an entry of
    // the document's outline (the preview's panel of shortcuts to pages).
    ReportExpression outline;
    bool repeatOnNewPage = false; // Header: printed again at the top of each new page
    bool startOnNewPage = false;
    std::vector<TemplateItem> items;
    // Data bands only: header before the rows, groups, nested data bands read for each row,
    // footer after the rows.
    std::shared_ptr<TemplateBand> header;
    std::shared_ptr<TemplateBand> footer;
    std::vector<TemplateGroup> groups;
    std::vector<TemplateBand> children;
};

// A report template: page, bands and items, read from the XML format described in
// reports/README.md. Templates hold layout only; the data comes with ReportData.
struct ReportTemplate
{
    QString name;
    QString fileName; // as shown in messages
    QString path;     // where it was read from
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins = QMarginsF(10, 10, 10, 10); // millimetres: left, top, right, bottom
    ReportFont font;                               // the default font of the items
    std::shared_ptr<TemplateBand> title;
    std::shared_ptr<TemplateBand> pageHeader;
    std::shared_ptr<TemplateBand> pageFooter;
    std::shared_ptr<TemplateBand> summary;
    std::vector<TemplateBand> dataBands;

    // A template by name ("lot_deliveries"): from the override folder when it holds
    // <name>.xml, else the copy compiled into the program.
    static Result<ReportTemplate> load(const QString &name);
    static Result<ReportTemplate> loadFile(const QString &path);
    // `fileName` names the template in messages; `baseFolder` is where its own pictures are.
    static Result<ReportTemplate> fromXml(const QByteArray &xml, const QString &fileName, const QString &baseFolder);

    // The folders whose templates replace the compiled-in ones, first found wins (core/paths.h):
    // RAVELIN_REPORT_TEMPLATES, report_templates/ beside the executable, then of the configuration
    // folders.
    static QStringList overrideFolders();

    // "Modèle d'impression <file>, ligne <line> : <what>".
    Error error(int line, const QString &what) const;
};

} // namespace ravelin
