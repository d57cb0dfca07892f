#include "referencelists.h"

#include "formats.h"
#include "sql.h"
#include "statements.h"

#include <QSqlQuery>

#include <cmath>

namespace ravelin {

namespace {

QString thisRecord()
{
    return QStringLiteral("Voulez vous supprimer cet enregistrement ?");
}
QString thisRecordOldSpelling()
{
    return QStringLiteral("Voulez vous supprimer cette enregistrement ?");
}

QList<ReferenceTableDef> buildDefinitions()
{
    const auto text = [](const char *name) { return ReferenceColumn{QString::fromLatin1(name), ColumnKind::Text}; };
    const auto integer = [](const char *name) {
        return ReferenceColumn{QString::fromLatin1(name), ColumnKind::Integer};
    };
    const auto real = [](const char *name) { return ReferenceColumn{QString::fromLatin1(name), ColumnKind::Real}; };
    const QString essenceRights = QStringLiteral("Creer essence qualite classe");
    QList<ReferenceTableDef> defs;

    {
        ReferenceTableDef d{ReferenceTable::Essence};
        d.table = QStringLiteral("essence");
        d.listScreen = QStringLiteral("liste_essence");
        d.detailScreen = QStringLiteral("detail_essence");
        d.heading = QStringLiteral("Essences de bois");
        d.menuCaption = QStringLiteral("Liste Essences de bois");
        d.rightsPage = essenceRights;
        d.orderBy = QStringLiteral("essence");
        d.columns = {text("essence"), text("code"), real("m3"), real("T"), real("Stere"), real("pourcent_ecorce")};
        d.gridColumns = {QStringLiteral("essence"), QStringLiteral("code")};
        // m3 is the reference unit: 1 on creation, never edited on screen.
        d.createDefaults = {{QStringLiteral("m3"), 1.0}, {QStringLiteral("T"), 1.0}, {QStringLiteral("Stere"), 1.0}};
        d.requiredColumns = {QStringLiteral("essence")};
        d.checks = {{QStringLiteral("essence"), QStringLiteral("Vous devez saisir une essence")}};
        d.deleteQuestion = thisRecordOldSpelling();
        defs.append(d);
    }
    {
        ReferenceTableDef d{ReferenceTable::Qualite};
        d.table = QStringLiteral("qualite");
        d.listScreen = QStringLiteral("liste_qualite");
        d.detailScreen = QStringLiteral("detail_qualite");
        d.heading = QStringLiteral("Qualités de bois");
        d.menuCaption = QStringLiteral("Liste Qualités de bois");
        d.rightsPage = essenceRights;
        d.orderBy = QStringLiteral("qualite");
        d.columns = {text("qualite")};
        d.gridColumns = {QStringLiteral("qualite")};
        d.requiredColumns = {QStringLiteral("qualite")};
        d.checks = {{QStringLiteral("qualite"), QStringLiteral("Vous devez saisir une qualité de bois")}};
        d.deleteQuestion = thisRecord();
        defs.append(d);
    }
    {
        ReferenceTableDef d{ReferenceTable::Classe};
        d.table = QStringLiteral("classe");
        d.listScreen = QStringLiteral("liste_classe");
        d.detailScreen = QStringLiteral("detail_classe");
        d.heading = QStringLiteral("Classes de bois");
        d.menuCaption = QStringLiteral("Liste Classes de bois");
        d.rightsPage = essenceRights;
        d.orderBy = QStringLiteral("classe");
        d.columns = {text("classe"), real("dia_mini"), real("dia_maxi")};
        d.gridColumns = {QStringLiteral("classe"), QStringLiteral("dia_mini"), QStringLiteral("dia_maxi")};
        d.requiredColumns = {QStringLiteral("classe"), QStringLiteral("dia_mini"), QStringLiteral("dia_maxi")};
        // The diameters are marked as required but not checked: a class may be open-ended.
        d.checks = {{QStringLiteral("classe"), QStringLiteral("Vous devez saisir une Classe de bois")}};
        d.deleteQuestion = thisRecordOldSpelling();
        defs.append(d);
    }
    {
        ReferenceTableDef d{ReferenceTable::Coef};
        d.table = QStringLiteral("coef");
        d.listScreen = QStringLiteral("liste_coef");
        d.detailScreen = QStringLiteral("detail_coef");
        d.heading = QStringLiteral("Coefficient de tranformation");
        d.menuCaption = QStringLiteral("Liste coefficients de transformation");
        d.rightsPage = essenceRights;
        d.orderBy = QStringLiteral("inc");
        d.key = QStringLiteral("inc");
        d.columns = {integer("inc"), text("designation"), real("coef")};
        d.gridColumns = {QStringLiteral("inc"), QStringLiteral("designation"), QStringLiteral("coef")};
        d.captions = {{QStringLiteral("inc"), QStringLiteral("n°")}};
        d.requiredColumns = {QStringLiteral("designation"), QStringLiteral("coef")};
        d.checks = {{QStringLiteral("designation"), QStringLiteral("Vous devez saisir une désignation")},
                    {QStringLiteral("coef"), QStringLiteral("Vous devez saisir un coefficient")}};
        d.deleteQuestion = thisRecordOldSpelling();
        // Every new transfer line points at this row: it is neither changed nor deleted.
        d.fixed = {QStringLiteral("designation"),
                   {QStringLiteral("Aucun Coef")},
                   QStringLiteral("Ligne OBLIGATOIRE"),
                   true,
                   true,
                   QStringLiteral("La ligne « Aucun Coef » ne peut pas être supprimée : les lignes de transfert "
                                  "sans transformation y renvoient.")};
        d.doubleClickModifies = true;
        defs.append(d);
    }
    {
        ReferenceTableDef d{ReferenceTable::Acheteur};
        d.table = QStringLiteral("acheteur");
        d.listScreen = QStringLiteral("liste_acheteur");
        d.detailScreen = QStringLiteral("detail_acheteur");
        d.heading = QStringLiteral("Liste des acheteurs ( coupes de bois )");
        d.menuCaption = QStringLiteral("Liste des acheteurs (coupes de bois )");
        d.rightsPage = QStringLiteral("Parametrage");
        d.orderBy = QStringLiteral("acheteur");
        d.columns = {text("acheteur")};
        d.gridColumns = {QStringLiteral("acheteur")};
        d.requiredColumns = {QStringLiteral("acheteur")};
        d.checks = {{QStringLiteral("acheteur"), QStringLiteral("Vous devez saisir un nom")}};
        d.deleteQuestion = thisRecord();
        defs.append(d);
    }
    {
        ReferenceTableDef d{ReferenceTable::FamilleIntervenant};
        d.table = QStringLiteral("famille_intervenant");
        d.listScreen = QStringLiteral("Liste_famille_affaire");
        d.detailScreen = QStringLiteral("detail_famille_affaire");
        d.menuCaption = QStringLiteral("Liste familles pour les Intervenants");
        d.rightsPage = QStringLiteral("Famille intervenant");
        d.orderBy = QStringLiteral("famille_intervenant");
        d.columns = {text("famille_intervenant")};
        d.gridColumns = {QStringLiteral("famille_intervenant")};
        d.requiredColumns = {QStringLiteral("famille_intervenant")};
        // No check: "OK" always accepts, an empty family included.
        d.deleteQuestion = thisRecordOldSpelling();
        // The four families the whole program selects contractors by.
        d.fixed = {QStringLiteral("famille_intervenant"),
                   {QStringLiteral("ABATTAGE"), QStringLiteral("DEBARDAGE"), QStringLiteral("BROYAGE"),
                    QStringLiteral("TRANSPORT")},
                   QStringLiteral("Famille OBLIGATOIRE"),
                   true,
                   true};
        defs.append(d);
    }
    {
        ReferenceTableDef d{ReferenceTable::ListeTva};
        d.table = QStringLiteral("liste_tva");
        d.listScreen = QStringLiteral("liste_tva");
        d.detailScreen = QStringLiteral("detail_tva");
        d.heading = QStringLiteral("Liste des taux de TVA");
        d.menuCaption = QStringLiteral("Lister TVA");
        d.rightsPage = QStringLiteral("Creer TVA");
        d.orderBy = QStringLiteral("tva");
        d.key = QStringLiteral("inc");
        d.columns = {integer("inc"), real("tva")};
        d.gridColumns = {QStringLiteral("inc"), QStringLiteral("tva")};
        d.requiredColumns = {QStringLiteral("tva")};
        d.checks = {{QStringLiteral("tva"), QStringLiteral("Vous devez saisir un taux de TVA")}};
        d.deleteQuestion = thisRecord();
        defs.append(d);
    }
    {
        ReferenceTableDef d{ReferenceTable::ListeReglement};
        d.table = QStringLiteral("liste_reglement");
        d.listScreen = QStringLiteral("liste_reglement");
        d.detailScreen = QStringLiteral("detail_reglement");
        d.heading = QStringLiteral("Liste des modes de règlements");
        d.menuCaption = QStringLiteral("Liste mode de règlement");
        d.rightsPage = QStringLiteral("Creer mode de reglement");
        d.orderBy = QStringLiteral("inc");
        d.key = QStringLiteral("inc");
        d.columns = {integer("inc"), text("reglement"), integer("nb_jour"), text("fin_mois"), integer("jour_apres")};
        d.gridColumns = {QStringLiteral("inc"), QStringLiteral("reglement")};
        d.requiredColumns = {QStringLiteral("reglement")};
        d.checks = {{QStringLiteral("reglement"), QStringLiteral("Vous devez saisir un mode de règlement")}};
        d.deleteQuestion = thisRecord();
        defs.append(d);
    }
    return defs;
}

const QList<ReferenceTableDef> &definitions()
{
    static const QList<ReferenceTableDef> defs = buildDefinitions();
    return defs;
}

bool isEmptyValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull()) return true;
    return value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty();
}

QVariant nullOf(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Integer: return QVariant(QMetaType::fromType<int>());
    case ColumnKind::Real: return QVariant(QMetaType::fromType<double>());
    case ColumnKind::Text: break;
    }
    return QVariant(QMetaType::fromType<QString>());
}

// The condition that finds the row read as `asRead`: by its key where the table has one, and in
// every case only while each column still holds the value it was read with. Text is compared
// byte for byte (the table's collation would take "transport" for "TRANSPORT"), nulls match
// nulls, and real numbers match within a relative hair so that a value that went through a
// decimal text on another workstation still finds its row.
QString identifyingCondition(const ReferenceTableDef &def, const ReferenceRow &asRead, QVariantList &values)
{
    QStringList parts;
    for (const ReferenceColumn &c : def.columns) {
        const QVariant v = storedValue(c, asRead.value(c.name));
        if (c.name == def.key) {
            parts.prepend(c.name + QStringLiteral(" = ?"));
            values.prepend(v);
            continue;
        }
        switch (c.kind) {
        case ColumnKind::Text:
            parts << QStringLiteral("CAST(%1 AS BINARY) <=> CAST(? AS BINARY)").arg(c.name);
            values << v;
            break;
        case ColumnKind::Integer:
            parts << QStringLiteral("%1 <=> ?").arg(c.name);
            values << v;
            break;
        case ColumnKind::Real: {
            parts << QStringLiteral("(%1 <=> ? OR ABS(%1 - ?) <= ?)").arg(c.name);
            const double tolerance = v.isNull() ? 0.0 : 1e-9 * std::max(1.0, std::fabs(v.toDouble()));
            values << v << v << tolerance;
            break;
        }
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

// The row read is no longer found as it was: changed or deleted meanwhile, the two are not told
// apart here (a table without a key has nothing else to find its row by).
Error changedElsewhere(RowAction action, const QString &table, SourceLocation location = SourceLocation::current())
{
    Error e = Error::changedElsewhere(
        action == RowAction::Modify
            ? QStringLiteral("Cet enregistrement a été modifié ou supprimé sur un autre poste depuis "
                             "l'affichage de la liste : votre modification n'a pas été enregistrée.")
            : QStringLiteral("Cet enregistrement a été modifié ou supprimé sur un autre poste depuis "
                             "l'affichage de la liste : il n'a pas été supprimé."),
        location);
    e.detail = QStringLiteral("Aucune ligne de %1 ne correspond aux valeurs lues.").arg(table);
    return e;
}

} // namespace

const ReferenceColumn *ReferenceTableDef::column(const QString &name) const
{
    for (const ReferenceColumn &c : columns)
        if (c.name == name) return &c;
    return nullptr;
}

const ReferenceTableDef &referenceTable(ReferenceTable table)
{
    for (const ReferenceTableDef &d : definitions())
        if (d.id == table) return d;
    Q_UNREACHABLE();
}

const QList<ReferenceTable> &referenceTables()
{
    static const QList<ReferenceTable> tables{ReferenceTable::Essence,  ReferenceTable::Qualite,
                                              ReferenceTable::Classe,   ReferenceTable::Coef,
                                              ReferenceTable::Acheteur, ReferenceTable::FamilleIntervenant,
                                              ReferenceTable::ListeTva, ReferenceTable::ListeReglement};
    return tables;
}

QString listStatement(const ReferenceTableDef &def)
{
    QStringList names;
    for (const ReferenceColumn &c : def.columns) names << c.name;
    return QStringLiteral("Select %1 from %2 order by %3")
        .arg(names.join(QStringLiteral(", ")), def.table, def.orderBy);
}

bool isFixedRow(const ReferenceTableDef &def, const ReferenceRow &row)
{
    if (def.fixed.column.isEmpty()) return false;
    const QVariant v = row.value(def.fixed.column);
    return !v.isNull() && def.fixed.values.contains(v.toString(), Qt::CaseSensitive);
}

QString fixedRowRefusal(const ReferenceTableDef &def, const ReferenceRow &row, RowAction action)
{
    if (!isFixedRow(def, row)) return QString();
    const bool refuse = action == RowAction::Modify ? def.fixed.refuseModify : def.fixed.refuseDelete;
    if (!refuse) return QString();
    if (action == RowAction::Delete && !def.fixed.deleteMessage.isEmpty()) return def.fixed.deleteMessage;
    return def.fixed.message;
}

QString checkReferenceRow(const ReferenceTableDef &def, const ReferenceRow &row)
{
    for (const RequiredCheck &check : def.checks)
        if (isEmptyValue(row.value(check.column))) return check.message;
    return QString();
}

QVariant storedValue(const ReferenceColumn &column, const QVariant &value)
{
    if (isEmptyValue(value)) return nullOf(column.kind);
    bool ok = false;
    switch (column.kind) {
    case ColumnKind::Text: return value.toString();
    case ColumnKind::Integer: {
        const int i = value.typeId() == QMetaType::QString ? value.toString().trimmed().toInt(&ok) : value.toInt(&ok);
        return ok ? QVariant(i) : nullOf(column.kind);
    }
    case ColumnKind::Real: {
        const double d =
            value.typeId() == QMetaType::QString ? parseDecimal(value.toString(), &ok) : value.toDouble(&ok);
        return ok && std::isfinite(d) ? QVariant(d) : nullOf(column.kind);
    }
    }
    return nullOf(column.kind);
}

Result<QList<ReferenceRow>> readReferenceRows(QSqlDatabase db, ReferenceTable table)
{
    const ReferenceTableDef &def = referenceTable(table);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, listStatement(def)); !s) return s.error();
    QList<ReferenceRow> rows;
    while (q.next()) {
        ReferenceRow row;
        for (int i = 0; i < def.columns.size(); ++i) row.insert(def.columns[i].name, q.value(i));
        rows.append(row);
    }
    return rows;
}

Result<ReferenceRow> insertReferenceRow(QSqlDatabase db, ReferenceTable table, const ReferenceRow &values)
{
    const ReferenceTableDef &def = referenceTable(table);
    QList<ColumnValue> columns;
    ReferenceRow written;
    for (const ReferenceColumn &c : def.columns) {
        if (c.name == def.key) continue;
        const QVariant v = storedValue(c, values.value(c.name));
        columns.append({c.name, v});
        written.insert(c.name, v);
    }
    const auto key = insertRow(db, def.table, columns);
    if (!key) return key.error();
    if (def.hasKey()) written.insert(def.key, *key);
    return written;
}

Status updateReferenceRow(QSqlDatabase db, ReferenceTable table, const ReferenceRow &asRead, const ReferenceRow &values)
{
    const ReferenceTableDef &def = referenceTable(table);
    if (const QString no = fixedRowRefusal(def, asRead, RowAction::Modify); !no.isEmpty()) return Error::refusal(no);
    QVariantList identifying;
    const QString condition = identifyingCondition(def, asRead, identifying);
    QStringList assignments;
    QVariantList bound;
    for (const ReferenceColumn &c : def.columns) {
        if (c.name == def.key) continue;
        assignments << c.name + QStringLiteral(" = ?");
        bound << storedValue(c, values.value(c.name));
    }
    bound << identifying;
    const QString lock = QStringLiteral("SELECT 1 FROM %1 WHERE %2 LIMIT 1 FOR UPDATE").arg(def.table, condition);
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE %3 LIMIT 1")
                               .arg(def.table, assignments.join(QStringLiteral(", ")), condition);
    // The row is locked before it is rewritten: the server counts only the rows it actually
    // changes, so the update alone could not tell a vanished row from an unchanged one.
    return inTransaction(db, [&]() -> Status {
        QSqlQuery q(db);
        if (Status s = exec(q, lock, identifying); !s) return s;
        if (!q.next()) return changedElsewhere(RowAction::Modify, def.table);
        auto written = execute(db, update, bound);
        if (!written) return written.error();
        return {};
    });
}

Status deleteReferenceRow(QSqlDatabase db, ReferenceTable table, const ReferenceRow &asRead)
{
    const ReferenceTableDef &def = referenceTable(table);
    if (const QString no = fixedRowRefusal(def, asRead, RowAction::Delete); !no.isEmpty()) return Error::refusal(no);
    QVariantList identifying;
    const QString condition = identifyingCondition(def, asRead, identifying);
    auto deleted =
        execute(db, QStringLiteral("DELETE FROM %1 WHERE %2 LIMIT 1").arg(def.table, condition), identifying);
    if (!deleted) return deleted.error();
    if (*deleted < 1) return changedElsewhere(RowAction::Delete, def.table);
    return {};
}

bool isChangedElsewhere(const Error &error)
{
    return error.kind == ErrorKind::ChangedElsewhere;
}

} // namespace ravelin
