#include "users.h"

#include "multirow.h"
#include "sql.h"
#include "statements.h"

#include <QCollator>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

namespace ravelin {

QStringList rightsPages()
{
    QStringList pages{QStringLiteral("Analyse"),
                      QStringLiteral("Creer contact"),
                      QStringLiteral("Creer coupe"),
                      QStringLiteral("Creer essence qualite classe"),
                      QStringLiteral("Creer facture"),
                      QStringLiteral("Creer intervenant"),
                      QStringLiteral("Creer livraison"),
                      QStringLiteral("Creer mode de reglement"),
                      QStringLiteral("Creer transfert"),
                      QStringLiteral("Creer TVA"),
                      QStringLiteral("Detail dossier"),
                      QStringLiteral("Export"),
                      QStringLiteral("Famille intervenant"),
                      QStringLiteral("Famille tache"),
                      QStringLiteral("General"),
                      QStringLiteral("Gestion des mots de passes"),
                      QStringLiteral("Liste destination"),
                      QStringLiteral("Liste stockage"),
                      QStringLiteral("Parametrage"),
                      QStringLiteral("Planning"),
                      QStringLiteral("Post it"),
                      QStringLiteral("Prix de revient"),
                      QStringLiteral("Solder cde"),
                      QStringLiteral("Solder coupe"),
                      QStringLiteral("Solder livraison"),
                      QStringLiteral("Stock"),
                      QStringLiteral("Supprimer enregistrement"),
                      QStringLiteral("Transfert grume")};
    sortPages(pages);
    return pages;
}

void sortPages(QStringList &pages)
{
    QCollator collator{QLocale(QLocale::French, QLocale::France)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(pages.begin(), pages.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
}

Result<QString> signIn(QSqlDatabase db, const QString &password)
{
    if (password == masterPassword()) return masterUser();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    Status s =
        password.isEmpty()
            ? exec(q, QStringLiteral("select Utilisateur from mot_passe where Mot_passe is null order by inc limit 1"),
                   {})
            : exec(
                  q,
                  QStringLiteral("select Utilisateur, Mot_passe from mot_passe where Mot_passe = ? COLLATE utf8mb4_bin "
                                 "order by inc"),
                  {password});
    if (!s) return s.error();
    // The server's comparison ignores trailing blanks ("pass " finds "pass"): the password found
    // must be the one typed, exactly.
    while (q.next())
        if (q.value(1).toString() == password) return q.value(0).toString();
    return QString();
}

Result<Rights> Rights::load(QSqlDatabase db, const QString &user)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, QStringLiteral("select Utilisateur, Page, Autorisation from detail_mot_passe")); !s)
        return s.error();
    QList<Row> rows;
    while (q.next()) rows.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    return Rights(std::move(rows), user);
}

bool Rights::granted(const QString &page) const
{
    if (m_user == masterUser()) return true;
    for (const Row &r : m_rows)
        if (r.user == m_user && r.page == page && r.authorisation == QLatin1String("1")) return true;
    return false;
}

bool Rights::require(const QString &page, Dialogs &dialogs) const
{
    if (granted(page)) return true;
    dialogs.okCancel(accessRefusedMessage(), accessRefusedCaption());
    return false;
}

Result<QList<UserRecord>> listUsers(QSqlDatabase db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(
            q, QStringLiteral("select inc, Utilisateur, Mot_passe, email, email1, email2 from mot_passe order by inc"),
            {});
        !s)
        return s.error();
    QList<UserRecord> users;
    while (q.next()) {
        QVariantMap stored;
        for (int i = 0; i < q.record().count(); ++i) stored.insert(q.record().fieldName(i), q.value(i));
        users.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                      q.value(4).toString(), q.value(5).toString(), stored});
    }
    return users;
}

Result<QStringList> grantedPages(QSqlDatabase db, const QString &user)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("select Page from detail_mot_passe where Utilisateur = ? COLLATE utf8mb4_bin "
                                       "and Autorisation = '1'"),
                        {user});
        !s)
        return s.error();
    QStringList pages;
    while (q.next()) pages << q.value(0).toString();
    return pages;
}

static QVariant nullIfEmpty(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

Result<int> saveUser(QSqlDatabase db, const UserRecord &user, const QStringList &granted, const QStringList &refused)
{
    if (user.name.trimmed().isEmpty()) return Error::refusal(QStringLiteral("Nom d'utilisateur obligatoire !"));
    int inc = user.inc;
    Status done = inTransaction(db, [&]() -> Status {
        if (user.inc == 0) {
            // Locks the scanned rows, so that two workstations cannot create the same name together.
            auto existing =
                scalar(db, QStringLiteral("select inc from mot_passe where Utilisateur = ? for update"), {user.name});
            if (!existing) return existing.error();
            if (existing->isValid()) return Error::refusal(QStringLiteral("Nom d'utilisateur dèjà existant !"));
        }
        auto removed = execute(
            db, QStringLiteral("delete from detail_mot_passe where Utilisateur = ? COLLATE utf8mb4_bin"), {user.name});
        if (!removed) return removed.error();
        QList<QVariantList> rights;
        for (const QString &page : granted) rights.append({user.name, QStringLiteral("1"), page});
        for (const QString &page : refused) rights.append({user.name, QStringLiteral("0"), page});
        if (Status s = insertRows(
                db, QStringLiteral("detail_mot_passe"),
                {QStringLiteral("Utilisateur"), QStringLiteral("Autorisation"), QStringLiteral("Page")}, rights);
            !s)
            return s;
        const QList<ColumnValue> account{{QStringLiteral("Mot_passe"), nullIfEmpty(user.password)},
                                         {QStringLiteral("email"), user.email},
                                         {QStringLiteral("email1"), user.email1},
                                         {QStringLiteral("email2"), user.email2}};
        if (user.inc == 0) {
            auto created = insertRow(db, QStringLiteral("mot_passe"),
                                     QList<ColumnValue>{{QStringLiteral("Utilisateur"), user.name}} + account);
            if (!created) return created.error();
            inc = *created;
        } else if (Status s = overwriteRow(db, QStringLiteral("mot_passe"), QStringLiteral("inc"), user.inc, account);
                   !s) {
            return s;
        }
        return {};
    });
    if (!done) return done.error();
    return inc;
}

Status updateUser(QSqlDatabase db, const UserRecord &asRead, const UserRecord &user, const QList<RightChange> &rights)
{
    // An unchanged field gives back the value read, so that an empty text and a null stay as stored.
    const auto change = [&](const QString &column, const QString &read, const QString &typed, const QString &caption,
                            bool nullWhenEmpty) -> ColumnChange {
        const QVariant asReadValue = asRead.stored.contains(column) ? asRead.stored.value(column)
                                     : nullWhenEmpty                ? nullIfEmpty(read)
                                                                    : QVariant(read);
        if (read == typed) return {column, asReadValue, asReadValue, caption};
        return {column, asReadValue, nullWhenEmpty ? nullIfEmpty(typed) : QVariant(typed), caption};
    };
    const QList<ColumnChange> account{
        change(QStringLiteral("Mot_passe"), asRead.password, user.password, QStringLiteral("Mot de passe"), true),
        change(QStringLiteral("email"), asRead.email, user.email, QStringLiteral("Email"), false),
        change(QStringLiteral("email1"), asRead.email1, user.email1, QStringLiteral("Email (2e)"), false),
        change(QStringLiteral("email2"), asRead.email2, user.email2, QStringLiteral("Email (3e)"), false)};
    return inTransaction(db, [&]() -> Status {
        // Locked first: the user's rights rows are written only while the user is there.
        auto found =
            scalar(db, QStringLiteral("select Utilisateur from mot_passe where inc = ? for update"), {user.inc});
        if (!found) return found.error();
        if (!found->isValid()) return Error::notFound(recordDeletedMessage());
        const QString name = found->toString();
        if (Status s = updateRow(db, QStringLiteral("mot_passe"), QStringLiteral("inc"), user.inc, account); !s)
            return s;
        if (rights.isEmpty()) return {};
        QVariantList pages;
        QStringList marks;
        QList<QVariantList> rows;
        for (const RightChange &r : rights) {
            pages << r.page;
            marks << QStringLiteral("?");
            rows.append({name, r.granted ? QStringLiteral("1") : QStringLiteral("0"), r.page});
        }
        auto removed = execute(db,
                               QStringLiteral("delete from detail_mot_passe where Utilisateur = ? COLLATE utf8mb4_bin "
                                              "and Page in (%1)")
                                   .arg(marks.join(QLatin1Char(','))),
                               QVariantList{name} + pages);
        if (!removed) return removed.error();
        return insertRows(db, QStringLiteral("detail_mot_passe"),
                          {QStringLiteral("Utilisateur"), QStringLiteral("Autorisation"), QStringLiteral("Page")},
                          rows);
    });
}

Status deleteUser(QSqlDatabase db, const UserRecord &user)
{
    return inTransaction(db, [&]() -> Status {
        auto rights = execute(
            db, QStringLiteral("delete from detail_mot_passe where Utilisateur = ? COLLATE utf8mb4_bin"), {user.name});
        if (!rights) return rights.error();
        auto row = execute(db, QStringLiteral("delete from mot_passe where inc = ?"), {user.inc});
        if (!row) return row.error();
        return {};
    });
}

} // namespace ravelin
