#pragma once

#include "boundquery.h"
#include "gridmodel.h"
#include "result.h"

#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

class QDateEdit;
class QSqlQueryModel;
class QTableView;

namespace ravelin {

// What the screens share around their grids: grid set-up, query loading, empty dates, load time.

// Read-only grid, whole-row selection, one row at a time.
void prepareGrid(QTableView *view);

// Runs the statement into the model (the grid keeps its previous rows on failure).
Status loadModel(QSqlQueryModel &model, QSqlDatabase db, const BoundQuery &statement,
                 SourceLocation location = SourceLocation::current());
// Gives the model a query an operation has run.
Status loadModel(QSqlQueryModel &model, Result<QSqlQuery> query);

// Shows the named columns in this order with these widths (-1: leave as is) and hides the others.
struct GridColumn
{
    QString name;
    int width = -1;
};
void showColumns(QTableView *view, const GridModel &model, const QList<GridColumn> &columns);

// Date fields that may be empty: the lowest date stands for "no date" and shows blank.
void makeDateNullable(QDateEdit *field);
void setDateValue(QDateEdit *field, const QVariant &value);
QVariant dateValue(const QDateEdit *field);

// "ss,zzz seconde": the time a record took to load, for the status bar.
QString loadTimeText(qint64 milliseconds);

// The value of a cell of a grid model's source, by column name.
inline QVariant cellValue(const GridModel &model, int row, const QString &column)
{
    return model.raw(row, column);
}

} // namespace ravelin
