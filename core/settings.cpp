#include "settings.h"

#include "sql.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>

#include <optional>

namespace ravelin {

Result<QSqlRecord> loadSettings(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (Status s = exec(q, QStringLiteral("select * from perso")); !s) return s.error();
    if (!q.next())
        return Error::failure(QStringLiteral("La table des paramètres (perso) est vide."),
                              QStringLiteral("select * from perso"));
    return q.record();
}

Result<QSqlRecord> loadCounters(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (Status s = exec(q, QStringLiteral("select * from increment")); !s) return s.error();
    if (!q.next())
        return Error::failure(QStringLiteral("La table des compteurs (increment) est vide."),
                              QStringLiteral("select * from increment"));
    return q.record();
}

namespace {

// Runs what start-up found missing in the schema, one ALTER each. A change of layout waits until no
// other connection uses the table: an older workstation sitting in a transaction must not hold
// this start-up for ever (the next start tries again). `alreadyThere` is the server's error when
// another workstation starting at the same moment added it first, which counts as done. Gives the
// names of what this call added.
Result<QStringList> alterSchema(QSqlDatabase db, const QList<QPair<QString, QString>> &namedStatements,
                                int alreadyThere)
{
    QStringList added;
    if (namedStatements.isEmpty()) return added;
    if (auto bounded = execute(db, QStringLiteral("SET SESSION lock_wait_timeout = 30")); !bounded)
        return bounded.error();
    std::optional<Error> failed;
    for (const auto &[name, statement] : namedStatements) {
        auto done = execute(db, statement);
        if (done) {
            added << name;
        } else if (done.error().nativeCode != alreadyThere) {
            failed = done.error();
            break;
        }
    }
    // the server's own wait again; a failure here changes nothing of what was added
    (void)execute(db, QStringLiteral("SET SESSION lock_wait_timeout = DEFAULT"));
    if (failed) return *failed;
    return added;
}

} // namespace

const QList<AddedColumn> &addedColumns()
{
    static const QList<AddedColumn> columns{
        // the e-invoice: switched on in the settings, the company's bank account, the payment
        // means code of each payment mode (UNTDID 4461), the invoice a credit note cancels
        {QStringLiteral("perso"), QStringLiteral("facture_electronique"),
         QStringLiteral("VARCHAR(3) NULL DEFAULT 'NON'")},
        {QStringLiteral("perso"), QStringLiteral("iban"), QStringLiteral("VARCHAR(34) NULL")},
        {QStringLiteral("perso"), QStringLiteral("bic"), QStringLiteral("VARCHAR(11) NULL")},
        {QStringLiteral("liste_reglement"), QStringLiteral("code_paiement"), QStringLiteral("VARCHAR(3) NULL")},
        {QStringLiteral("facture_entete"), QStringLiteral("facture_origine"), QStringLiteral("INT NULL")},
    };
    return columns;
}

Status addMissingColumns(QSqlDatabase db)
{
    QStringList tables;
    for (const AddedColumn &c : addedColumns())
        if (!tables.contains(c.table)) tables << c.table;
    QVariantList values;
    for (const QString &t : tables) values << t;
    auto present =
        select(db,
               QStringLiteral("select table_name, column_name from information_schema.columns where "
                              "table_schema = database() and table_name in (") +
                   QStringList(tables.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + QStringLiteral(")"),
               values);
    if (!present) return present.error();
    QSet<QString> have;
    for (const QSqlRecord &r : *present)
        have.insert(r.value(0).toString().toLower() + QLatin1Char('.') + r.value(1).toString().toLower());
    QList<QPair<QString, QString>> missing;
    for (const AddedColumn &c : addedColumns())
        if (!have.contains(c.table + QLatin1Char('.') + c.column))
            // names and definitions are the program's own, from the list above
            missing.append(
                {c.column, QStringLiteral("alter table %1 add column %2 %3").arg(c.table, c.column, c.definition)});
    // 1060: the column is there already
    auto added = alterSchema(db, missing, 1060);
    if (!added) return added.error();
    return {};
}

Result<bool> updateSchemaLevel(QSqlDatabase db, double level)
{
    auto stored = scalar(db, QStringLiteral("select version_UPDATE from perso"));
    if (!stored) return stored.error();
    if (!stored->isNull() && stored->toDouble() >= level) return false;
    if (Status s = addMissingColumns(db); !s) return s.error();
    auto written = execute(db, QStringLiteral("update perso set version_UPDATE = ?"), {level});
    if (!written) return written.error();
    return true;
}

QList<SchemaIndex> addedIndexes()
{
    // the weighing-place analysis counts and pages a place's deliveries by date
    // a loader's list finds each line's log on sale by its number and diameter
    return {
        {QStringLiteral("livraison"), QStringLiteral("idx_livraison_lieu_pesage"),
         QStringLiteral("lieu_pesage, date_livraison")},
        {QStringLiteral("grume"), QStringLiteral("idx_grume_number_diameter"), QStringLiteral("n_grume, diametre")}};
}

Result<QStringList> addMissingIndexes(QSqlDatabase db, const QList<SchemaIndex> &indexes)
{
    if (indexes.isEmpty()) return QStringList();
    QStringList marks;
    QVariantList values;
    for (const SchemaIndex &index : indexes) {
        marks << QStringLiteral("(?, ?)");
        values << index.table << index.name;
    }
    auto present =
        selectTable(db,
                    QStringLiteral("select distinct table_name, index_name from information_schema.statistics "
                                   "where table_schema = database() and (table_name, index_name) in (") +
                        marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
                    values);
    if (!present) return present.error();
    QList<QPair<QString, QString>> missing;
    for (const SchemaIndex &index : indexes) {
        bool found = false;
        for (int r = 0; r < present->rowCount() && !found; ++r)
            found = present->value(r, 0).toString().compare(index.table, Qt::CaseInsensitive) == 0 &&
                    present->value(r, 1).toString().compare(index.name, Qt::CaseInsensitive) == 0;
        // names of our own schema, never a user's text
        if (!found)
            missing.append({index.name, QStringLiteral("alter table ") + index.table + QStringLiteral(" add index ") +
                                            index.name + QStringLiteral(" (") + index.columns + QLatin1Char(')')});
    }
    // 1061: the index is there already
    return alterSchema(db, missing, 1061);
}

QStringList editableSettingsColumns()
{
    return {QStringLiteral("nom"),
            QStringLiteral("adresse"),
            QStringLiteral("adresse1"),
            QStringLiteral("ville"),
            QStringLiteral("cp"),
            QStringLiteral("siret"),
            QStringLiteral("ape"),
            QStringLiteral("tva_intra"),
            QStringLiteral("commentaire"),
            QStringLiteral("commentaire_fac"),
            QStringLiteral("pefc"),
            QStringLiteral("tel"),
            QStringLiteral("fax"),
            QStringLiteral("email"),
            QStringLiteral("facebook"),
            QStringLiteral("twitter"),
            QStringLiteral("humidite_defaut"),
            QStringLiteral("coef_surface_tonne"),
            QStringLiteral("cvo"),
            QStringLiteral("transporteur_prevu"),
            QStringLiteral("centre_carte"),
            QStringLiteral("cout_broyage_tonne"),
            QStringLiteral("cout_transport"),
            QStringLiteral("coef_camion"),
            QStringLiteral("tps_dechargement"),
            QStringLiteral("facture_electronique"),
            QStringLiteral("iban"),
            QStringLiteral("bic")};
}

bool validIban(const QString &iban)
{
    const QString compact = QString(iban).remove(QLatin1Char(' ')).toUpper();
    static const QRegularExpression shape(QStringLiteral("^[A-Z]{2}[0-9]{2}[A-Z0-9]{11,30}$"));
    if (!shape.match(compact).hasMatch()) return false;
    // ISO 13616: the country and check digits moved to the end, letters as 10 to 35, modulo 97 is 1
    const QString moved = compact.mid(4) + compact.left(4);
    int remainder = 0;
    for (const QChar c : moved) {
        const int value = c.isDigit() ? c.digitValue() : c.unicode() - 'A' + 10;
        remainder = (remainder * (value >= 10 ? 100 : 10) + value) % 97;
    }
    return remainder == 1;
}

bool validBic(const QString &bic)
{
    static const QRegularExpression shape(QStringLiteral("^[A-Z]{6}[A-Z0-9]{2}([A-Z0-9]{3})?$"));
    return shape.match(bic.trimmed().toUpper()).hasMatch();
}

Status saveSettings(QSqlDatabase db, const SettingsChanges &changes)
{
    if (changes.isEmpty()) return {};
    const QStringList allowed = editableSettingsColumns();
    for (const ColumnChange &c : changes.perso) {
        if (!allowed.contains(c.column))
            return Error::failure(QStringLiteral("Paramètre inconnu : %1").arg(c.column), {});
    }
    return inTransaction(db, [&]() -> Status {
        if (!changes.counters.isEmpty()) {
            QSqlQuery q(db);
            if (Status s = exec(q, QStringLiteral("select n_lot, num_bl, num_facture from increment for update")); !s)
                return s;
            if (!q.next()) return Error::failure(QStringLiteral("La table des compteurs (increment) est vide."), {});
            for (const auto &c : changes.counters) {
                const QString column = counterColumn(c.counter);
                const qint64 current = q.value(column).toLongLong();
                if (current != c.readValue) {
                    return Error::changedElsewhere(
                        QStringLiteral("Le compteur \"%1\" a été modifié par un autre poste depuis l'ouverture "
                                       "de cet écran : sa valeur actuelle est %2.\nVérifiez la valeur saisie puis "
                                       "validez à nouveau.")
                            .arg(column)
                            .arg(current));
                }
            }
        }
        if (!changes.perso.isEmpty()) {
            // perso has one row and no key: the row is locked, each column compared with the value
            // the screen read, then every column named is written on it.
            QSqlQuery q(db);
            if (Status s = exec(q, QStringLiteral("select * from perso for update")); !s) return s;
            if (!q.next())
                return Error::failure(QStringLiteral("La table des paramètres (perso) est vide."),
                                      QStringLiteral("select * from perso"));
            QStringList differing;
            for (const ColumnChange &c : changes.perso)
                if (!sameStoredValue(q.value(c.column), c.asRead))
                    differing << (c.caption.isEmpty() ? c.column : c.caption);
            if (!differing.isEmpty()) return Error::changedElsewhere(recordChangedMessage(differing));
            QStringList sets;
            QVariantList values;
            for (const ColumnChange &c : changes.perso) {
                sets << c.column + QStringLiteral(" = ?");
                values << c.value;
            }
            auto written = execute(db, QStringLiteral("update perso set ") + sets.join(QStringLiteral(", ")), values);
            if (!written) return written.error();
        }
        for (const auto &c : changes.counters) {
            auto r =
                execute(db, QStringLiteral("update increment set %1 = ?").arg(counterColumn(c.counter)), {c.newValue});
            if (!r) return r.error();
        }
        return {};
    });
}

} // namespace ravelin
