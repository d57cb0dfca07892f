#include "reportdata.h"

namespace ravelin {

void ReportData::setDataset(const QString &name, DataTable table)
{
    Dataset d;
    d.name = name;
    d.columns = table.columns();
    d.table = std::make_shared<const DataTable>(std::move(table));
    m_datasets.insert(name.toLower(), std::move(d));
}

void ReportData::setDetailSource(const QString &name, const QStringList &columns, DetailSource source)
{
    Dataset d;
    d.name = name;
    d.columns = columns;
    d.source = std::move(source);
    m_datasets.insert(name.toLower(), std::move(d));
}

void ReportData::setLinkedDataset(const QString &name, DataTable table, const QString &column,
                                  const QString &parentColumn)
{
    const QStringList columns = table.columns();
    auto all = std::make_shared<const DataTable>(std::move(table));
    const int key = all->columnIndex(column);
    setDetailSource(name, columns, [all, key, parentColumn](const DataRow &parent) -> Result<DataTable> {
        DataTable rows(all->columns());
        const QVariant wanted = parent.value(parentColumn);
        if (key < 0 || wanted.isNull()) return rows;
        const QString wantedText = wanted.toString();
        for (int r = 0; r < all->rowCount(); ++r) {
            const QVariant v = all->value(r, key);
            if (!v.isNull() && v.toString() == wantedText) {
                QVariantList values;
                values.reserve(all->columnCount());
                for (int c = 0; c < all->columnCount(); ++c) values.append(all->value(r, c));
                rows.addRow(std::move(values));
            }
        }
        return rows;
    });
}

void ReportData::setValue(const QString &name, const QVariant &value)
{
    m_values.insert(name.toLower(), value);
}

void ReportData::setImage(const QString &name, const QImage &image)
{
    m_images.insert(name.toLower(), image);
}

const ReportData::Dataset *ReportData::dataset(const QString &name) const
{
    auto it = m_datasets.constFind(name.toLower());
    return it == m_datasets.cend() ? nullptr : &it.value();
}

} // namespace ravelin
