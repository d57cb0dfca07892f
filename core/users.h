#pragma once

#include "dialogs.h"
#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace ravelin {

// The fixed master sign-in: its password signs in its user without any table lookup, and that
// user passes every rights check.
inline QString masterPassword()
{
    return QStringLiteral("vuzq");
}
inline QString masterUser()
{
    return QStringLiteral("Technicien");
}
inline QString unknownUser()
{
    return QStringLiteral("Utilisateur inconnu");
}

// The fixed list of pages (rights) a user may hold, sorted as a French reader expects (case and
// accents ignored).
QStringList rightsPages();

// Sorts pages as rightsPages() is sorted.
void sortPages(QStringList &pages);

// Looks the user up by password (compared exactly, trailing blanks included, bound as a value). Gives the user's name,
// or an empty text when nobody has it or the first user found has no name.
Result<QString> signIn(QSqlDatabase db, const QString &password);

// The rights of every user, read once after sign-in; changes made later take effect at the next
// start of the program.
class Rights
{
public:
    struct Row
    {
        QString user;
        QString page;
        QString authorisation;
    };

    Rights() = default;
    Rights(QList<Row> rows, QString user) : m_rows(std::move(rows)), m_user(std::move(user)) {}

    static Result<Rights> load(QSqlDatabase db, const QString &user = QString());

    void setUser(const QString &user) { m_user = user; }
    const QString &user() const { return m_user; }

    // Granted when a row has this user, this page and "1" (compared exactly), or for the master user.
    bool granted(const QString &page) const;

    // Shows "Accés non autorisé" / "Sécurité" when refused.
    bool require(const QString &page, Dialogs &dialogs) const;

private:
    QList<Row> m_rows;
    QString m_user;
};

inline QString accessRefusedMessage()
{
    return QStringLiteral("Accés non autorisé");
}
inline QString accessRefusedCaption()
{
    return QStringLiteral("Sécurité");
}

// A row of mot_passe.
struct UserRecord
{
    int inc = 0; // 0 for a user not yet written
    QString name;
    QString password; // empty is stored as null
    QString email;
    QString email1;
    QString email2;
    // The columns as read (filled by listUsers): a save compares with these, null and empty text
    // told apart.
    QVariantMap stored;
};

Result<QList<UserRecord>> listUsers(QSqlDatabase db);

// Pages the user holds ("1").
Result<QStringList> grantedPages(QSqlDatabase db, const QString &user);

// Writes a new user (inc 0) and one rights row per page ("1" granted, "0" refused) in one
// transaction. The name must not be in mot_passe yet. Gives the user's inc.
Result<int> saveUser(QSqlDatabase db, const UserRecord &user, const QStringList &granted, const QStringList &refused);

// A page whose right the user editor changed, and whether it is granted now.
struct RightChange
{
    QString page;
    bool granted = false;
};

// Saves the editor's changes to an existing user, in one transaction: the account's columns that
// differ from `asRead`, each only while it still holds the value read (updateRow), and the rights
// rows of the pages in `rights` only. A user deleted meanwhile is reported and nothing is written;
// a field another workstation changed meanwhile is refused with its caption.
Status updateUser(QSqlDatabase db, const UserRecord &asRead, const UserRecord &user, const QList<RightChange> &rights);

// Deletes the user and all their rights rows in one transaction.
Status deleteUser(QSqlDatabase db, const UserRecord &user);

} // namespace ravelin
