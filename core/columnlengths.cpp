#include "columnlengths.h"

#include "sql.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSqlQuery>

#include <limits>

namespace ravelin {

bool TextLength::holds(const QString &text) const
{
    if (characters > 0 && text.size() > characters) return false;
    // only the text types count in bytes; a varchar's limit is its characters
    if (bytes > 0 && text.toUtf8().size() > bytes) return false;
    return true;
}

Result<QHash<QString, TextLength>> textColumnLengths(QSqlDatabase db, const QString &table)
{
    static QMutex mutex;
    static QHash<QString, QHash<QString, TextLength>> known;
    const QString cacheKey = db.hostName() + QLatin1Char('|') + QString::number(db.port()) + QLatin1Char('|') +
                             db.connectOptions() + QLatin1Char('|') + db.databaseName() + QLatin1Char('|') +
                             table.toLower();
    {
        QMutexLocker lock(&mutex);
        if (auto it = known.constFind(cacheKey); it != known.cend()) return *it;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("select column_name, data_type, character_maximum_length, "
                                       "character_octet_length from information_schema.columns "
                                       "where table_schema = database() and table_name = ? "
                                       "and character_maximum_length is not null");
    if (Status s = exec(q, sql, {table}); !s) return s.error();
    QHash<QString, TextLength> lengths;
    while (q.next()) {
        const QString type = q.value(1).toString().toLower();
        TextLength length;
        const qint64 characters = q.value(2).toLongLong();
        const qint64 octets = q.value(3).toLongLong();
        const bool byteLimited = type.endsWith(QLatin1String("text")) || type.endsWith(QLatin1String("blob"));
        length.characters = int(qMin<qint64>(characters, std::numeric_limits<int>::max()));
        if (byteLimited) length.bytes = int(qMin<qint64>(octets, std::numeric_limits<int>::max()));
        lengths.insert(q.value(0).toString().toLower(), length);
    }
    if (lengths.isEmpty()) {
        Error missing;
        missing.message = QStringLiteral("La table %1 est introuvable.").arg(table);
        missing.statement = sql;
        missing.where = QStringLiteral("textColumnLengths");
        return missing;
    }
    QMutexLocker lock(&mutex);
    known.insert(cacheKey, lengths);
    return lengths;
}

QString textTooLongMessage(const QString &field, int characters)
{
    return QStringLiteral("Le champ « %1 » ne peut pas dépasser %2 caractères.").arg(field).arg(characters);
}

} // namespace ravelin
