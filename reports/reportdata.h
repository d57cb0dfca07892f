#pragma once

#include "datatable.h"
#include "result.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace ravelin {

// Gives the rows of a dependent data set for one row of the band above it, as the invoice's lines
// are read again for each body row.
using DetailSource = std::function<Result<DataTable>(const DataRow &parent)>;

// Everything a template is laid out with: named data sets, dependent data sets, named values set
// by the caller (a title, "Du : " + a date), pictures, and the print date.
class ReportData
{
public:
    struct Dataset
    {
        QString name;
        QStringList columns;
        std::shared_ptr<const DataTable> table; // a plain data set
        DetailSource source;                    // or a dependent one, read for each parent row
    };

    void setDataset(const QString &name, DataTable table);
    // A data set read again for each row of the band it is nested in. Its columns are given up
    // front so that a template naming a missing column is refused before anything is laid out.
    void setDetailSource(const QString &name, const QStringList &columns, DetailSource source);
    // A dependent data set taken from one table: for each parent row, the rows whose `column`
    // equals the parent row's `parentColumn`.
    void setLinkedDataset(const QString &name, DataTable table, const QString &column, const QString &parentColumn);

    void setValue(const QString &name, const QVariant &value);
    void setImage(const QString &name, const QImage &image);
    // Where a picture item's `file` is looked for; the working folder unless set.
    void setPictureFolder(const QString &folder) { m_pictureFolder = folder; }
    // The date and time printed by printDate() and now(); the time of the layout unless set.
    void setPrintDate(const QDateTime &when) { m_printDate = when; }

    const Dataset *dataset(const QString &name) const;
    bool hasValue(const QString &name) const { return m_values.contains(name.toLower()); }
    QVariant value(const QString &name) const { return m_values.value(name.toLower()); }
    QImage image(const QString &name) const { return m_images.value(name.toLower()); }
    QString pictureFolder() const { return m_pictureFolder; }
    QDateTime printDate() const { return m_printDate; }

private:
    QHash<QString, Dataset> m_datasets; // lower-case name
    QHash<QString, QVariant> m_values;
    QHash<QString, QImage> m_images;
    QString m_pictureFolder;
    QDateTime m_printDate;
};

} // namespace ravelin
