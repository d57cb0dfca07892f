#include "postits.h"

#include "sql.h"
#include "statements.h"

namespace ravelin {

QString postitDateText(const QDateTime &when)
{
    return when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

Result<DataTable> postitRecipients(QSqlDatabase db)
{
    return selectTable(db, QStringLiteral("select utilisateur from mot_passe order by utilisateur"));
}

Status sendPostit(QSqlDatabase db, const QString &recipient, const QString &message, const QString &sender,
                  const QDateTime &when)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    if (lines.size() >= 6) return Error::refusal(postitTooManyLinesMessage());
    if (text.trimmed().isEmpty()) return Error::refusal(postitEmptyMessage());
    for (const QString &line : lines)
        if (line.size() > 255) return Error::refusal(postitLineTooLongMessage());
    if (recipient.isEmpty()) return Error::refusal(postitNoRecipientMessage());
    while (lines.size() < 5) lines.append(QString());
    auto done = execute(db,
                        QStringLiteral("insert into postit (utilisateur,message1,message2,message3,message4,message5,"
                                       "Date_postit,origine) values (?,?,?,?,?,?,?,?)"),
                        {recipient, lines[0], lines[1], lines[2], lines[3], lines[4], postitDateText(when), sender});
    if (!done) return done.error();
    if (*done != 1) return Error::failure(QStringLiteral("Le Post-it n'a pas été envoyé."), QString());
    return {};
}

Result<PostitState> postitState(QSqlDatabase db, const QString &user)
{
    // char(1) between the columns, so that moving text from one column to the next changes the sum
    auto row = selectOne(db,
                         QStringLiteral("select count(*), ifnull(bit_xor(crc32(concat_ws(char(1),Date_postit,origine,"
                                        "message1,message2,message3,message4,message5))),0) from postit "
                                        "where utilisateur=?"),
                         {user});
    if (!row) return row.error();
    return PostitState{row->value(0).toInt(), row->value(1).toLongLong()};
}

QStringList PostitNote::lines() const
{
    QStringList out;
    for (const QVariant &m : messages) out << m.toString();
    return out;
}

Result<QList<PostitNote>> readPostits(QSqlDatabase db, const QString &user, int limit)
{
    auto rows = select(db,
                       QStringLiteral("select utilisateur,Date_postit,origine,message1,message2,message3,message4,"
                                      "message5 from postit where utilisateur=? "
                                      "order by str_to_date(Date_postit,'%d/%m/%Y %H:%i:%s'),Date_postit limit ?"),
                       {user, qMax(0, limit)});
    if (!rows) return rows.error();
    QList<PostitNote> notes;
    for (const QSqlRecord &r : *rows) {
        PostitNote n;
        n.utilisateur = r.value(0).toString();
        n.datePostit = r.value(1);
        n.origine = r.value(2);
        for (int i = 3; i < 8; ++i) n.messages << r.value(i);
        notes.append(n);
    }
    return notes;
}

Status removePostit(QSqlDatabase db, const PostitNote &note)
{
    QVariantList values{note.utilisateur, note.datePostit, note.origine};
    values += note.messages;
    auto done = execute(db,
                        QStringLiteral("delete from postit where utilisateur=? and Date_postit<=>? and origine<=>? "
                                       "and message1<=>? and message2<=>? and message3<=>? and message4<=>? "
                                       "and message5<=>? limit 1"),
                        values);
    if (!done) return done.error();
    return {};
}

} // namespace ravelin
