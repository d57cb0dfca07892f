#include "users.h"

#include "sql.h"

#include <QSqlQuery>

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
    pages.sort(Qt::CaseInsensitive);
    return pages;
}

Result<QString> signIn(QSqlDatabase db, const QString &password)
{
    if (password == masterPassword()) return masterUser();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    Status s =
        password.isEmpty()
            ? exec(q, QStringLiteral("select Utilisateur from mot_passe where Mot_passe is null order by inc limit 1"),
                   {}, "signIn")
            : exec(q,
                   QStringLiteral("select Utilisateur from mot_passe where Mot_passe = ? COLLATE utf8mb4_bin "
                                  "order by inc limit 1"),
                   {password}, "signIn");
    if (!s) return s.error();
    if (!q.next()) return QString();
    return q.value(0).toString();
}

Result<Rights> Rights::load(QSqlDatabase db, const QString &user)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s =
            exec(q, QStringLiteral("select Utilisateur, Page, Autorisation from detail_mot_passe"), {}, "Rights::load");
        !s)
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
            {}, "listUsers");
        !s)
        return s.error();
    QList<UserRecord> users;
    while (q.next())
        users.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                      q.value(4).toString(), q.value(5).toString()});
    return users;
}

Result<QStringList> grantedPages(QSqlDatabase db, const QString &user)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("select Page from detail_mot_passe where Utilisateur = ? COLLATE utf8mb4_bin "
                                       "and Autorisation = '1'"),
                        {user}, "grantedPages");
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
    if (user.name.trimmed().isEmpty())
        return Error{QStringLiteral("Nom d'utilisateur obligatoire !"), {}, {}, QStringLiteral("saveUser")};
    int inc = user.inc;
    Status done = inTransaction(db, [&]() -> Status {
        if (user.inc == 0) {
            // Locks the scanned rows, so that two workstations cannot create the same name together.
            auto existing = scalar(db, QStringLiteral("select inc from mot_passe where Utilisateur = ? for update"),
                                   {user.name}, "saveUser");
            if (!existing) return existing.error();
            if (existing->isValid())
                return Error{QStringLiteral("Nom d'utilisateur dèjà existant !"), {}, {}, QStringLiteral("saveUser")};
        }
        auto removed =
            execute(db, QStringLiteral("delete from detail_mot_passe where Utilisateur = ? COLLATE utf8mb4_bin"),
                    {user.name}, "saveUser");
        if (!removed) return removed.error();
        QSqlQuery ins(db);
        if (!ins.prepare(
                QStringLiteral("insert into detail_mot_passe (Utilisateur, Autorisation, Page) values (?, ?, ?)")))
            return databaseError(ins.lastError(), ins.lastQuery(), QStringLiteral("saveUser"));
        for (const auto &[pages, flag] :
             {std::pair{&granted, QStringLiteral("1")}, std::pair{&refused, QStringLiteral("0")}}) {
            for (const QString &page : *pages) {
                ins.addBindValue(user.name);
                ins.addBindValue(flag);
                ins.addBindValue(page);
                if (!ins.exec()) return databaseError(ins.lastError(), ins.lastQuery(), QStringLiteral("saveUser"));
            }
        }
        if (user.inc == 0) {
            QSqlQuery q(db);
            if (Status s =
                    exec(q,
                         QStringLiteral("insert into mot_passe (Utilisateur, Mot_passe, email, email1, email2) "
                                        "values (?, ?, ?, ?, ?)"),
                         {user.name, nullIfEmpty(user.password), user.email, user.email1, user.email2}, "saveUser");
                !s)
                return s;
            inc = q.lastInsertId().toInt();
        } else {
            auto r = execute(
                db,
                QStringLiteral("update mot_passe set Mot_passe = ?, email = ?, email1 = ?, email2 = ? where inc = ?"),
                {nullIfEmpty(user.password), user.email, user.email1, user.email2, user.inc}, "saveUser");
            if (!r) return r.error();
        }
        return {};
    });
    if (!done) return done.error();
    return inc;
}

Status deleteUser(QSqlDatabase db, const UserRecord &user)
{
    return inTransaction(db, [&]() -> Status {
        auto rights =
            execute(db, QStringLiteral("delete from detail_mot_passe where Utilisateur = ? COLLATE utf8mb4_bin"),
                    {user.name}, "deleteUser");
        if (!rights) return rights.error();
        auto row = execute(db, QStringLiteral("delete from mot_passe where inc = ?"), {user.inc}, "deleteUser");
        if (!row) return row.error();
        return {};
    });
}

} // namespace ravelin
