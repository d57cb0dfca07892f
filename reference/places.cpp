#include "places.h"

#include "formats.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"

#include <QSqlRecord>

#include <functional>

namespace ravelin {

namespace {

QString text(const PlaceValues &place, const QString &column)
{
    return place.value(column).toString();
}

// The columns of a place as a statement writes them; only known columns reach the statement.
Result<QList<ColumnValue>> placeColumnValues(const PlaceValues &values,
                                             SourceLocation location = SourceLocation::current())
{
    QList<ColumnValue> columns;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!placeColumns().contains(it.key()))
            return Error::failure(QStringLiteral("Colonne inconnue de la table destination : %1").arg(it.key()), {},
                                  location);
        if (it.key() != QLatin1String("inc")) columns.append({it.key(), it.value()});
    }
    return columns;
}

// A duplicate on the name's unique index means another workstation wrote the same name meanwhile:
// the customer place editor says so in the words of its own check.
Error nameError(const Error &e)
{
    if (e.constraint != QLatin1String("uq_destination_destination")) return e;
    Error named = e;
    named.message = placeNameExistsMessage();
    return named;
}

// Locks the place's row for the rest of the transaction and gives its stored name; a null value
// when the row no longer exists.
Result<QVariant> lockPlace(QSqlDatabase db, int inc, SourceLocation location = SourceLocation::current())
{
    QSqlQuery q(db);
    if (Status s =
            exec(q, QStringLiteral("select destination from destination where inc=? for update"), {inc}, location);
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
        q.values << containsPattern(typed);
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
    const auto record = selectOne(db,
                                  QStringLiteral("select ") + placeColumns().join(QLatin1Char(',')) +
                                      QStringLiteral(" from destination where inc=?"),
                                  {inc}, vanishedMessage());
    if (!record) return record.error();
    PlaceValues place;
    for (int i = 0; i < record->count(); ++i) place.insert(placeColumns().at(i), record->value(i));
    return place;
}

static Result<QList<Choice>> readChoices(QSqlDatabase db, const QString &sql,
                                         const std::function<QString(const QVariant &)> &shown,
                                         SourceLocation location = SourceLocation::current())
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, {}, location); !s) return s.error();
    QList<Choice> choices;
    while (q.next()) choices.append({q.value(0).toInt(), shown(q.value(1))});
    return choices;
}

Result<QList<Choice>> vatRateChoices(QSqlDatabase db)
{
    return readChoices(db, QStringLiteral("select inc, tva from liste_tva order by inc"),
                       [](const QVariant &v) { return formatValue(v, QStringLiteral("0.##")); });
}

Result<QList<Choice>> paymentModeChoices(QSqlDatabase db)
{
    return readChoices(db, QStringLiteral("select inc, reglement from liste_reglement order by inc"),
                       [](const QVariant &v) { return v.toString(); });
}

Result<bool> placeNameTaken(QSqlDatabase db, const QString &name, int inc)
{
    // The row itself is left out by its key; a new row (0) is compared with every row.
    auto found =
        scalar(db, QStringLiteral("select destination from destination where destination=? and inc<>?"), {name, inc});
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
        " exists(select 1 from stock_buche where destination=?)"
        " or exists(select 1 from liste_grume_cde where stock_buche=?),"
        " exists(select 1 from facture_entete where destination=?)"
        " or exists(select 1 from facture_corps where destination=?)");
    if (Status s = exec(q, sql, QVariantList(11, name)); !s) return s.error();
    QStringList kinds;
    if (!q.next()) return kinds;
    static const QStringList names{QStringLiteral("commandes"), QStringLiteral("livraisons"),
                                   QStringLiteral("transferts"), QStringLiteral("stocks bûches"),
                                   QStringLiteral("factures")};
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
    const auto columns = placeColumnValues(values);
    if (!columns) return columns.error();
    const QString name = text(values, QStringLiteral("destination"));
    if (name.trimmed().isEmpty()) return Error::refusal(QStringLiteral("Vous devez saisir un nom de destination"));

    int inc = 0;
    Status done = inTransaction(db, [&]() -> Status {
        auto taken = placeNameTaken(db, name, 0);
        if (!taken) return taken.error();
        if (*taken) return Error::refusal(placeNameExistsMessage());
        const auto inserted = insertRow(db, QStringLiteral("destination"), *columns);
        if (!inserted) return nameError(inserted.error());
        inc = *inserted;
        return {};
    });
    if (!done) return done.error();
    return inc;
}

Status updatePlace(QSqlDatabase db, int inc, const QList<ColumnChange> &changes)
{
    QList<ColumnChange> changed;
    bool naming = false;
    QString name;
    for (const ColumnChange &c : changes) {
        if (!placeColumns().contains(c.column) || c.column == QLatin1String("inc"))
            return Error::failure(QStringLiteral("Colonne inconnue de la table destination : %1").arg(c.column), {});
        if (sameStoredValue(c.asRead, c.value)) continue;
        changed.append(c);
        if (c.column == QLatin1String("destination")) {
            naming = true;
            name = c.value.toString();
        }
    }
    if (naming && name.trimmed().isEmpty())
        return Error::refusal(QStringLiteral("Vous devez saisir un nom de destination"));

    return inTransaction(db, [&]() -> Status {
        // The row stays locked until the end, so that the name checks and the write see the same row.
        auto stored = lockPlace(db, inc);
        if (!stored) return stored.error();
        if (!stored->isValid()) return Error::notFound(recordDeletedMessage());
        const QString storedName = stored->toString();
        if (naming && name != storedName) {
            // The records that name the place keep its old name: renaming would cut them off.
            auto references = placeReferences(db, storedName);
            if (!references) return references.error();
            if (!references->isEmpty()) return Error::refusal(placeInUseMessage(storedName, *references, true));
            auto taken = placeNameTaken(db, name, inc);
            if (!taken) return taken.error();
            if (*taken) return Error::refusal(placeNameExistsMessage());
        }
        if (Status s = updateRow(db, QStringLiteral("destination"), QStringLiteral("inc"), inc, changed); !s)
            return nameError(s.error());
        return {};
    });
}

Status deletePlace(QSqlDatabase db, int inc)
{
    return inTransaction(db, [&]() -> Status {
        auto stored = lockPlace(db, inc);
        if (!stored) return stored.error();
        if (!stored->isValid()) return Error::notFound(vanishedMessage());
        auto references = placeReferences(db, stored->toString());
        if (!references) return references.error();
        if (!references->isEmpty()) return Error::refusal(placeInUseMessage(stored->toString(), *references, false));
        auto removed = execute(db, QStringLiteral("Delete from destination where inc=?"), {inc});
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
