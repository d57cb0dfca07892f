#include "gridmodel.h"

#include "formats.h"

#include <QDate>
#include <QDateTime>

namespace ravelin {

GridModel::GridModel(QObject *parent) : QIdentityProxyModel(parent) {}

void GridModel::setFormat(const QString &column, const QString &pattern)
{
    m_formats.insert(column.toLower(), pattern);
}

void GridModel::setCaption(const QString &column, const QString &caption)
{
    m_captions.insert(column.toLower(), caption);
}

void GridModel::setAlignment(const QString &column, Qt::Alignment alignment)
{
    m_alignments.insert(column.toLower(), alignment);
}

QString GridModel::sourceName(int section) const
{
    if (!sourceModel()) return QString();
    return sourceModel()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString().toLower();
}

int GridModel::column(const QString &name) const
{
    if (!sourceModel()) return -1;
    const QString wanted = name.toLower();
    for (int c = 0; c < sourceModel()->columnCount(); ++c)
        if (sourceName(c) == wanted) return c;
    return -1;
}

QVariant GridModel::raw(int row, const QString &name) const
{
    const int c = column(name);
    if (c < 0 || !sourceModel()) return QVariant();
    return sourceModel()->index(row, c).data(Qt::EditRole);
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) return QVariant();
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = QIdentityProxyModel::data(index, Qt::EditRole);
        const auto fmt = m_formats.constFind(sourceName(index.column()));
        if (fmt != m_formats.cend()) {
            // a date column may be given its own pattern ("dd/mm/yyyy hh:nn")
            if (v.typeId() == QMetaType::QDate) return formatDate(v.toDate(), *fmt);
            if (v.typeId() == QMetaType::QDateTime) return formatDateTime(v.toDateTime(), *fmt);
            return formatValue(v, *fmt);
        }
        if (v.typeId() == QMetaType::QDate) return formatDate(v.toDate());
        if (v.typeId() == QMetaType::QDateTime) return formatDate(v.toDateTime().date());
        if (v.typeId() == QMetaType::Double) return formatNumber(v.toDouble(), QStringLiteral("0.##########"));
        return QIdentityProxyModel::data(index, role);
    }
    case Qt::TextAlignmentRole: {
        const auto aligned = m_alignments.constFind(sourceName(index.column()));
        if (aligned != m_alignments.cend())
            return QVariant::fromValue((*aligned & Qt::AlignVertical_Mask) ? *aligned : (*aligned | Qt::AlignVCenter));
        const QVariant v = QIdentityProxyModel::data(index, Qt::EditRole);
        if (holdsNumber(v) || m_formats.contains(sourceName(index.column())))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole: {
        if (m_cellColour) {
            const QColor c = m_cellColour(sourceModel(), index.row(), index.column());
            if (c.isValid()) return c;
        }
        if (m_rowColour) {
            const QColor c = m_rowColour(sourceModel(), index.row());
            if (c.isValid()) return c;
        }
        return QVariant();
    }
    case Qt::ForegroundRole: {
        if (m_textColour) {
            const QColor c = m_textColour(sourceModel(), index.row());
            if (c.isValid()) return c;
        }
        return QIdentityProxyModel::data(index, role);
    }
    default: return QIdentityProxyModel::data(index, role);
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const auto caption = m_captions.constFind(sourceName(section));
        if (caption != m_captions.cend()) return *caption;
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

QColor rgb(const QString &hex)
{
    QString h = hex.trimmed();
    if (h.startsWith(QLatin1String("RGB"), Qt::CaseInsensitive)) h = h.mid(3).trimmed();
    return QColor(QLatin1Char('#') + h);
}

} // namespace ravelin
