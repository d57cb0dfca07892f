#pragma once

#include "result.h"
#include "statements.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace ravelin {

// Saves an editor's changes to one row, in the caller's transaction: locks
// the row ("select ... for update"), reports it deleted meanwhile (NotFound) even when nothing
// was changed, refuses (ChangedElsewhere) when the user changed one of the columns of
// `together` while another workstation changed any of them (a total and its factors must agree),
// then writes only the changed columns, each still holding the value read (updateRow).
Status saveLockedRow(QSqlDatabase db, const QString &table, const QString &keyColumn, const QVariant &key,
                     const QList<ColumnChange> &changes, const QStringList &together = {});

// The changes between two lists of the same columns, in order: `asRead` as the editor read the row,
// `edited` as the user left it; `captions` names the fields by column (the column when missing).
QList<ColumnChange> columnChanges(const QList<ColumnValue> &asRead, const QList<ColumnValue> &edited,
                                  const QList<QPair<QString, QString>> &captions);

} // namespace ravelin
