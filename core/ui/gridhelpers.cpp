#include "gridhelpers.h"

#include "sql.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QSqlQueryModel>
#include <QTableView>

namespace ravelin {

void prepareGrid(QTableView *view)
{
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(20);
    view->setAlternatingRowColors(false);
}

Status loadModel(QSqlQueryModel &model, QSqlDatabase db, const BoundQuery &statement, SourceLocation location)
{
    return loadModel(model, runBoundQuery(db, statement, location));
}

Status loadModel(QSqlQueryModel &model, Result<QSqlQuery> query)
{
    if (!query) return query.error();
    const QString sql = query->lastQuery();
    model.setQuery(std::move(*query));
    // QSqlQueryModel fetches in blocks; the grids and their totals want every row at once (the
    // driver has already copied the whole result).
    while (model.canFetchMore()) model.fetchMore();
    if (model.lastError().isValid()) return databaseError(model.lastError(), sql);
    return {};
}

void showColumns(QTableView *view, const GridModel &model, const QList<GridColumn> &columns)
{
    QHeaderView *header = view->horizontalHeader();
    const int count = model.columnCount();
    for (int c = 0; c < count; ++c) view->setColumnHidden(c, true);
    int visual = 0;
    for (const GridColumn &column : columns) {
        const int logical = model.column(column.name);
        if (logical < 0) continue;
        view->setColumnHidden(logical, false);
        header->moveSection(header->visualIndex(logical), visual++);
        if (column.width >= 0) view->setColumnWidth(logical, column.width);
    }
}

static QDate noDate()
{
    return QDate(1900, 1, 1);
}

void makeDateNullable(QDateEdit *field)
{
    field->setMinimumDate(noDate());
    field->setSpecialValueText(QStringLiteral(" "));
    field->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    field->setCalendarPopup(true);
}

void setDateValue(QDateEdit *field, const QVariant &value)
{
    QDate d = value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
    field->setDate(value.isNull() || !d.isValid() ? noDate() : d);
}

QVariant dateValue(const QDateEdit *field)
{
    if (field->date() == noDate()) return QVariant(QMetaType::fromType<QDate>());
    return field->date();
}

QString loadTimeText(qint64 milliseconds)
{
    const qint64 seconds = (milliseconds / 1000) % 60;
    const qint64 ms = milliseconds % 1000;
    return QStringLiteral("%1,%2").arg(seconds, 2, 10, QLatin1Char('0')).arg(ms, 3, 10, QLatin1Char('0')) +
           QStringLiteral(" seconde");
}

} // namespace ravelin
