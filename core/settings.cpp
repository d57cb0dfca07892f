#include "settings.h"

#include "sql.h"

#include <QSqlQuery>

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

Result<bool> updateSchemaLevel(QSqlDatabase db, double level)
{
    auto stored = scalar(db, QStringLiteral("select version_UPDATE from perso"));
    if (!stored) return stored.error();
    if (!stored->isNull() && stored->toDouble() >= level) return false;
    // Level-raising steps of later versions go here, before the level is written.
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
    QStringList added;
    for (const SchemaIndex &index : indexes) {
        bool found = false;
        for (int r = 0; r < present->rowCount() && !found; ++r)
            found = present->value(r, 0).toString().compare(index.table, Qt::CaseInsensitive) == 0 &&
                    present->value(r, 1).toString().compare(index.name, Qt::CaseInsensitive) == 0;
        if (found) continue;
        // names of our own schema, never a user's text
        auto done = execute(db, QStringLiteral("alter table ") + index.table + QStringLiteral(" add index ") +
                                    index.name + QStringLiteral(" (") + index.columns + QLatin1Char(')'));
        if (!done) return done.error();
        added << index.name;
    }
    return added;
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
            QStringLiteral("tps_dechargement")};
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
