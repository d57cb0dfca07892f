#pragma once

#include "datatable.h"
#include "result.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace ravelin {

// Notes users leave for each other (table `postit`, no key of its own: a note is its recipient,
// its date text and its content; older workstations write the table too).

inline QString postitTooManyLinesMessage()
{
    return QStringLiteral("Votre message est trop long !!!, 5 lignes maximum");
}
inline QString postitEmptyMessage()
{
    return QStringLiteral("Vous devez écrire un message !!!");
}
inline QString postitLineTooLongMessage()
{
    return QStringLiteral("Votre message est trop long !!!, 255 caractères maximum par ligne");
}
inline QString postitNoRecipientMessage()
{
    return QStringLiteral("Vous devez choisir un utilisateur");
}

// "dd/MM/yyyy HH:mm:ss", as the other workstations write Date_postit.
QString postitDateText(const QDateTime &when);

// The users a note may be sent to ("select utilisateur from mot_passe order by utilisateur").
Result<DataTable> postitRecipients(QSqlDatabase db);

// Sends `message` (at most 5 lines of at most 255 characters; a final line break does not count)
// to `recipient` from `sender`, dated `when`, in one insert.
Status sendPostit(QSqlDatabase db, const QString &recipient, const QString &message, const QString &sender,
                  const QDateTime &when);

// What the main window checks at each tick: how many notes the user has and a checksum of them
// all, in one statement returning one row however many notes there are.
struct PostitState
{
    int count = 0;
    qint64 checksum = 0;
    bool operator==(const PostitState &) const = default;
};
Result<PostitState> postitState(QSqlDatabase db, const QString &user);

struct PostitNote
{
    QString utilisateur;
    QVariant datePostit; // as stored, the note's identity with the other columns
    QVariant origine;
    QVariantList messages; // message1 … message5 as stored
    QStringList lines() const;
};
// The user's `limit` oldest notes, in date order (the date text read as a date, not compared as
// text: "01/02" comes after "02/01").
Result<QList<PostitNote>> readPostits(QSqlDatabase db, const QString &user, int limit);
// Deletes that note, one row only: two notes sent in the same second share their date text.
Status removePostit(QSqlDatabase db, const PostitNote &note);

} // namespace ravelin
