#include "places.h"

#include "formats.h"
#include "sql.h"

#include <QSqlRecord>

#include <functional>

namespace ravelin {

namespace {

Error refusal(const QString &message, const char *where)
{
    Error e;
    e.message = message;
    e.where = QString::fromLatin1(where);
    return e;
}

QString text(const PlaceValues &place, const QString &column)
{
    return place.value(column).toString();
}

// Values bound by a statement built from a map of columns: only known columns reach the text.
Status checkColumns(const PlaceValues &values, const char *where)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (!placeColumns().contains(it.key()))
            return refusal(QStringLiteral("Colonne inconnue de la table destination : %1").arg(it.key()), where);
    return {};
}

// A duplicate key on the name index means another workstation wrote the same name meanwhile.
Error nameError(const Error &e)
{
    if (e.nativeCode != 1062) return e;
    Error named = e;
    named.message = placeNameExistsMessage();
    named.detail.clear();
    return named;
}

// Locks the place's row for the rest of the transaction and gives its stored name; a null value
// when the row no longer exists.
Result<QVariant> lockPlace(QSqlDatabase db, int inc, const char *where)
{
    QSqlQuery q(db);
    if (Status s = exec(q, QStringLiteral("select destination from destination where inc=? for update"), {inc}, where);
        !s)
        return s.error();
    if (!q.next()) return QVariant();
    return QVariant(q.value(0).toString());
}

QString vanishedMessage()
{
    return QStringLiteral("Cette destination n'existe plus : un autre poste l'a supprimée.");
}

} // namespace

const QStringList &placeListColumns()
{
    static const QStringList columns{
        QStringLiteral("inc"),        QStringLiteral("client"),    QStringLiteral("destination"),
        QStringLiteral("stockage"),   QStringLiteral("adresse"),   QStringLiteral("adresse1"),
        QStringLiteral("cp"),         QStringLiteral("ville"),     QStringLiteral("pays"),
        QStringLiteral("nom1"),       QStringLiteral("portable1"), QStringLiteral("unite"),
        QStringLiteral("cout_tonne"), QStringLiteral("cout_mwh"),  QStringLiteral("latitude")};
    return columns;
}

const QStringList &placeColumns()
{
    static const QStringList columns{QStringLiteral("inc"),
                                     QStringLiteral("client"),
                                     QStringLiteral("destination"),
                                     QStringLiteral("stockage"),
                                     QStringLiteral("adresse"),
                                     QStringLiteral("adresse1"),
                                     QStringLiteral("cp"),
                                     QStringLiteral("ville"),
                                     QStringLiteral("pays"),
                                     QStringLiteral("client_fac"),
                                     QStringLiteral("adresse_fac"),
                                     QStringLiteral("adresse1_fac"),
                                     QStringLiteral("cp_fac"),
                                     QStringLiteral("ville_fac"),
                                     QStringLiteral("pays_fac"),
                                     QStringLiteral("nom1"),
                                     QStringLiteral("fonction1"),
                                     QStringLiteral("tel1"),
                                     QStringLiteral("portable1"),
                                     QStringLiteral("email1"),
                                     QStringLiteral("nom2"),
                                     QStringLiteral("fonction2"),
                                     QStringLiteral("tel2"),
                                     QStringLiteral("portable2"),
                                     QStringLiteral("email2"),
                                     QStringLiteral("unite"),
                                     QStringLiteral("cout_mwh"),
                                     QStringLiteral("cout_tonne"),
                                     QStringLiteral("pefc"),
                                     QStringLiteral("inc_tva"),
                                     QStringLiteral("tva_intra"),
                                     QStringLiteral("inc_reglement"),
                                     QStringLiteral("commentaire"),
                                     QStringLiteral("latitude"),
                                     QStringLiteral("tonnage_maxi"),
                                     QStringLiteral("tonnage_inventaire"),
                                     QStringLiteral("date_inventaire")};
    return columns;
}

PagedQuery placeListQuery(PlaceSelection selection, const PlaceFilter &filter)
{
    PagedQuery q;
    q.columns = placeListColumns().join(QLatin1Char(','));
    q.from = QStringLiteral("destination");
    switch (selection) {
    case PlaceSelection::Customers: q.where = QStringLiteral("stockage='NON'"); break;
    case PlaceSelection::ChipZones: q.where = QStringLiteral("stockage='OUI'"); break;
    case PlaceSelection::CustomersAndChipZones: q.where = QStringLiteral("stockage<>'BUCHE'"); break;
    }
    const auto like = [&](const QString &typed, const char *condition) {
        if (typed.isEmpty()) return;
        q.where += QLatin1String(condition);
        q.values << QStringLiteral("%") + typed + QStringLiteral("%");
    };
    like(filter.client, " and client like ?");
    like(filter.lieu, " and destination like ?");
    like(filter.ville, " and ville like ?");
    // by client then destination; the key separates places without a name
    q.orderBy = QStringList{QStringLiteral("client"), QStringLiteral("destination")};
    q.key = QStringLiteral("inc");
    return q;
}

Result<PlaceValues> readPlace(QSqlDatabase db, int inc)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("select ") + placeColumns().join(QLatin1Char(',')) +
                        QStringLiteral(" from destination where inc=?");
    if (Status s = exec(q, sql, {inc}, "readPlace"); !s) return s.error();
    if (!q.next()) return refusal(vanishedMessage(), "readPlace");
    PlaceValues place;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i) place.insert(placeColumns().at(i), q.value(i));
    return place;
}

static Result<QList<Choice>> readChoices(QSqlDatabase db, const QString &sql, const char *where,
                                         const std::function<QString(const QVariant &)> &shown)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, {}, where); !s) return s.error();
    QList<Choice> choices;
    while (q.next()) choices.append({q.value(0).toInt(), shown(q.value(1))});
    return choices;
}

Result<QList<Choice>> vatRateChoices(QSqlDatabase db)
{
    return readChoices(db, QStringLiteral("select inc, tva from liste_tva order by inc"), "vatRateChoices",
                       [](const QVariant &v) { return formatValue(v, QStringLiteral("0.##")); });
}

Result<QList<Choice>> paymentModeChoices(QSqlDatabase db)
{
    return readChoices(db, QStringLiteral("select inc, reglement from liste_reglement order by inc"),
                       "paymentModeChoices", [](const QVariant &v) { return v.toString(); });
}

Result<bool> placeNameTaken(QSqlDatabase db, const QString &name, int inc)
{
    // The row itself is left out by its key; a new row (0) is compared with every row.
    auto found = scalar(db, QStringLiteral("select destination from destination where destination=? and inc<>?"),
                        {name, inc}, "placeNameTaken");
    if (!found) return found.error();
    return found->isValid();
}

Result<QStringList> placeReferences(QSqlDatabase db, const QString &name)
{
    // One statement, each test on an indexed column.
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString sql = QStringLiteral(
        "select exists(select 1 from cde where destination=?),"
        " exists(select 1 from livraison where destination=?) or exists(select 1 from livraison where depart=?),"
        " exists(select 1 from transfert where destination=?) or exists(select 1 from transfert where depart=?)"
        " or exists(select 1 from liste_grume_transfert where destination=?)"
        " or exists(select 1 from liste_grume_transfert where depart=?),"
        " exists(select 1 from stock_buche where destination=?)");
    if (Status s = exec(q, sql, {name, name, name, name, name, name, name, name}, "placeReferences"); !s)
        return s.error();
    QStringList kinds;
    if (!q.next()) return kinds;
    static const QStringList names{QStringLiteral("commandes"), QStringLiteral("livraisons"),
                                   QStringLiteral("transferts"), QStringLiteral("stocks bûches")};
    for (int i = 0; i < names.size(); ++i)
        if (q.value(i).toInt() != 0) kinds << names.at(i);
    return kinds;
}

QString placeInUseMessage(const QString &name, const QStringList &references, bool renaming)
{
    return renaming
               ? QStringLiteral("La destination \"%1\" est utilisée par des %2 : son nom ne peut pas être modifié.")
                     .arg(name, references.join(QStringLiteral(", ")))
               : QStringLiteral("La destination \"%1\" est utilisée par des %2 : elle ne peut pas être supprimée.")
                     .arg(name, references.join(QStringLiteral(", ")));
}

Result<QString> checkPlace(QSqlDatabase db, const PlaceValues &place, int inc)
{
    if (text(place, QStringLiteral("client")).trimmed().isEmpty()) return QStringLiteral("Vous devez saisir un client");
    if (text(place, QStringLiteral("destination")).trimmed().isEmpty())
        return QStringLiteral("Vous devez saisir une destination");
    if (place.value(QStringLiteral("inc_tva")).toInt() <= 0) return QStringLiteral("Vous devez saisir un taux de TVA");
    if (place.value(QStringLiteral("inc_reglement")).toInt() <= 0)
        return QStringLiteral("Vous devez saisir un mode de règlement");
    auto taken = placeNameTaken(db, text(place, QStringLiteral("destination")), inc);
    if (!taken) return taken.error();
    if (*taken) return placeNameExistsMessage();
    return QString();
}

Result<int> createPlace(QSqlDatabase db, const PlaceValues &values)
{
    if (Status s = checkColumns(values, "createPlace"); !s) return s.error();
    const QString name = text(values, QStringLiteral("destination"));
    if (name.trimmed().isEmpty())
        return refusal(QStringLiteral("Vous devez saisir un nom de destination"), "createPlace");

    QStringList columns;
    QStringList marks;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.key() == QLatin1String("inc")) continue;
        columns << it.key();
        marks << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("insert into destination (%1) values (%2)")
                            .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    int inc = 0;
    Status done = inTransaction(db, [&]() -> Status {
        auto taken = placeNameTaken(db, name, 0);
        if (!taken) return taken.error();
        if (*taken) return refusal(placeNameExistsMessage(), "createPlace");
        QSqlQuery q(db);
        if (!q.prepare(sql)) return databaseError(q.lastError(), sql, QStringLiteral("createPlace"));
        for (const QString &column : columns) q.addBindValue(values.value(column));
        if (!q.exec()) return nameError(databaseError(q.lastError(), sql, QStringLiteral("createPlace")));
        inc = q.lastInsertId().toInt();
        return {};
    });
    if (!done) return done.error();
    return inc;
}

Status updatePlace(QSqlDatabase db, int inc, const PlaceValues &values)
{
    if (Status s = checkColumns(values, "updatePlace"); !s) return s;
    QStringList columns;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        if (it.key() != QLatin1String("inc")) columns << it.key();
    if (columns.isEmpty()) return {};
    const bool naming = values.contains(QStringLiteral("destination"));
    const QString name = text(values, QStringLiteral("destination"));
    if (naming && name.trimmed().isEmpty())
        return refusal(QStringLiteral("Vous devez saisir un nom de destination"), "updatePlace");

    QStringList sets;
    for (const QString &column : columns) sets << column + QStringLiteral("=?");
    const QString sql = QStringLiteral("update destination set %1 where inc=?").arg(sets.join(QLatin1Char(',')));
    return inTransaction(db, [&]() -> Status {
        auto stored = lockPlace(db, inc, "updatePlace");
        if (!stored) return stored.error();
        if (!stored->isValid()) return refusal(vanishedMessage(), "updatePlace");
        const QString storedName = stored->toString();
        if (naming && name != storedName) {
            // The records that name the place keep its old name: renaming would cut them off.
            auto references = placeReferences(db, storedName);
            if (!references) return references.error();
            if (!references->isEmpty()) return refusal(placeInUseMessage(storedName, *references, true), "updatePlace");
            auto taken = placeNameTaken(db, name, inc);
            if (!taken) return taken.error();
            if (*taken) return refusal(placeNameExistsMessage(), "updatePlace");
        }
        QSqlQuery q(db);
        if (!q.prepare(sql)) return databaseError(q.lastError(), sql, QStringLiteral("updatePlace"));
        for (const QString &column : columns) q.addBindValue(values.value(column));
        q.addBindValue(inc);
        if (!q.exec()) return nameError(databaseError(q.lastError(), sql, QStringLiteral("updatePlace")));
        return {};
    });
}

Status deletePlace(QSqlDatabase db, int inc)
{
    return inTransaction(db, [&]() -> Status {
        auto stored = lockPlace(db, inc, "deletePlace");
        if (!stored) return stored.error();
        if (!stored->isValid()) return refusal(vanishedMessage(), "deletePlace");
        auto references = placeReferences(db, stored->toString());
        if (!references) return references.error();
        if (!references->isEmpty())
            return refusal(placeInUseMessage(stored->toString(), *references, false), "deletePlace");
        auto removed = execute(db, QStringLiteral("Delete from destination where inc=?"), {inc}, "deletePlace");
        if (!removed) return removed.error();
        return {};
    });
}

QString placeMapAddress(const PlaceValues &place)
{
    QString address;
    for (const char *column : {"adresse", "adresse1", "cp", "ville"})
        address += place.value(QString::fromLatin1(column)).toString() + QLatin1Char(' ');
    return address;
}

} // namespace ravelin
