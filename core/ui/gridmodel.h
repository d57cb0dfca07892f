#pragma once

#include <QColor>
#include <QHash>
#include <QIdentityProxyModel>

#include <functional>

namespace ravelin {

// Sits between a query model and its grid: shows numbers with the list formats ("#,##0.00",
// "0.000"...), dates as dd/mm/yyyy in the French way, right-aligns numbers, renames headers and
// paints row and cell colours. Columns are named as the statement names them.
class GridModel : public QIdentityProxyModel
{
    Q_OBJECT
public:
    using RowColour = std::function<QColor(const QAbstractItemModel *source, int row)>;
    using CellColour = std::function<QColor(const QAbstractItemModel *source, int row, int column)>;

    explicit GridModel(QObject *parent = nullptr);

    void setFormat(const QString &column, const QString &pattern);
    void setCaption(const QString &column, const QString &caption);
    // Overrides the alignment of a column (numbers are right-aligned, the rest left-aligned).
    void setAlignment(const QString &column, Qt::Alignment alignment);
    void setRowColour(RowColour colour) { m_rowColour = std::move(colour); }
    void setCellColour(CellColour colour) { m_cellColour = std::move(colour); }
    // The colour a row's text is written in (an invalid colour: the grid's own).
    void setTextColour(RowColour colour) { m_textColour = std::move(colour); }

    // Index of a column by the name the statement gives it, or -1.
    int column(const QString &name) const;
    // The raw value of a cell of the source.
    QVariant raw(int row, const QString &column) const;

    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString sourceName(int section) const;
    QHash<QString, QString> m_formats;
    QHash<QString, QString> m_captions;
    QHash<QString, Qt::Alignment> m_alignments;
    RowColour m_rowColour;
    CellColour m_cellColour;
    RowColour m_textColour;
};

// A colour written as in the behaviour notes, "RGB 0080C0" or "0080C0".
QColor rgb(const QString &hex);

} // namespace ravelin
