#include "owners.h"

#include "formats.h"
#include "lotrecompute.h"
#include "multirow.h"
#include "rowsave.h"
#include "sql.h"
#include "statements.h"
#include "units.h"

#include <QSqlQuery>

namespace ravelin {

namespace {

bool filled(const QVariant &v)
{
    return v.isValid() && !v.isNull() && !v.toString().trimmed().isEmpty();
}

double number(const QVariant &v)
{
    return v.isNull() ? 0.0 : finiteOrZero(v.toDouble());
}

QVariant nullDouble()
{
    return QVariant(QMetaType::fromType<double>());
}

QVariant nullableDate(const QDate &date)
{
    return date.isValid() ? QVariant(date) : QVariant(QMetaType::fromType<QDate>());
}

// A stored amount as the screens hold it: null stays null.
QVariant amount(const QVariant &v)
{
    if (!filled(v)) return nullDouble();
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? QVariant(finiteOrZero(d)) : nullDouble();
}

// Where an owner stands: its lot and its name, which never change once it is written.
QList<ColumnValue> ownerPlace(const Owner &o)
{
    return {
        {QStringLiteral("N_lot"), o.nLot}, {QStringLiteral("indice_lot"), o.indiceLot}, {QStringLiteral("nom"), o.nom}};
}

// What the owner screen edits.
QList<ColumnValue> ownerValues(const Owner &o)
{
    return {{QStringLiteral("type_proprietaire"), o.typeProprietaire},
            {QStringLiteral("date_achat"), nullableDate(o.dateAchat)},
            {QStringLiteral("n_parcelle"), o.nParcelle},
            {QStringLiteral("acheteur"), o.acheteur},
            {QStringLiteral("pro_adresse"), o.proAdresse},
            {QStringLiteral("pro_cp"), o.proCp},
            {QStringLiteral("pro_ville"), o.proVille},
            {QStringLiteral("pro_tel"), o.proTel},
            {QStringLiteral("pefc"), o.pefc},
            {QStringLiteral("achat_fixe"), o.achatFixe},
            {QStringLiteral("prix_achat"), amount(o.prixAchat)},
            {QStringLiteral("prix_estime"), amount(o.prixEstime)},
            {QStringLiteral("coef_cvo"), amount(o.coefCvo)},
            {QStringLiteral("cvo"), amount(o.cvo)},
            {QStringLiteral("cout_total"), amount(o.coutTotal)},
            {QStringLiteral("estimation"), amount(o.estimation)},
            {QStringLiteral("abattage_cout"), amount(o.abattageCout)},
            {QStringLiteral("pro_paye"), o.proPaye},
            {QStringLiteral("surface"), amount(o.surface)},
            {QStringLiteral("coef"), amount(o.coef)},
            {QStringLiteral("coupe_fini"), o.coupeFini},
            {QStringLiteral("prix_unit"), amount(o.prixUnit)}};
}

// The owner screen's labels, which name the fields in messages.
QList<QPair<QString, QString>> ownerCaptions()
{
    return {{QStringLiteral("type_proprietaire"), QStringLiteral("Type propriétaire")},
            {QStringLiteral("date_achat"), QStringLiteral("Date achat")},
            {QStringLiteral("n_parcelle"), QStringLiteral("N° Parcelles")},
            {QStringLiteral("acheteur"), QStringLiteral("Acheteur")},
            {QStringLiteral("pro_adresse"), QStringLiteral("Adresse")},
            {QStringLiteral("pro_cp"), QStringLiteral("Code postal")},
            {QStringLiteral("pro_ville"), QStringLiteral("Ville")},
            {QStringLiteral("pro_tel"), QStringLiteral("Téléphone")},
            {QStringLiteral("pefc"), QStringLiteral("N° adhérent PEFC")},
            {QStringLiteral("achat_fixe"), QStringLiteral("Achat prix FIXE")},
            {QStringLiteral("prix_achat"), QStringLiteral("Prix Achat")},
            {QStringLiteral("prix_estime"), QStringLiteral("Prix Estimé")},
            {QStringLiteral("coef_cvo"), QStringLiteral("CVO (% )")},
            {QStringLiteral("cvo"), QStringLiteral("Coût CVO")},
            {QStringLiteral("cout_total"), QStringLiteral("Coût total")},
            {QStringLiteral("estimation"), QStringLiteral("Estimation")},
            {QStringLiteral("abattage_cout"), QStringLiteral("Acompte")},
            {QStringLiteral("pro_paye"), QStringLiteral("Payé")},
            {QStringLiteral("surface"), QStringLiteral("Surface (ha)")},
            {QStringLiteral("coef"), QStringLiteral("Coefficient")},
            {QStringLiteral("coupe_fini"), QStringLiteral("Terminé")},
            {QStringLiteral("prix_unit"), QStringLiteral("Prix unitaire")}};
}

// The owner's cost: the levy and the total follow the prices and the rate, so they are saved
// together or not at all.
QStringList ownerCostColumns()
{
    return {QStringLiteral("achat_fixe"), QStringLiteral("prix_achat"), QStringLiteral("prix_estime"),
            QStringLiteral("coef_cvo"),   QStringLiteral("cvo"),        QStringLiteral("cout_total"),
            QStringLiteral("estimation")};
}

QString ownerColumns()
{
    QStringList names;
    for (const ColumnValue &c : ownerPlace(Owner{}) + ownerValues(Owner{})) names << c.column;
    return names.join(QStringLiteral(", "));
}

// The stored cost of the owners of that name follows their species lines, so that the lot's
// purchase cost is right even when the owner screen is then cancelled.
Status refreshStoredOwnerCost(QSqlDatabase db, int nLot, const QString &nom)
{
    const auto sums = ownerSpeciesSums(db, nLot, nom);
    if (!sums) return sums.error();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("select inc, achat_fixe, prix_achat, prix_estime, coef_cvo from proprietaire "
                                       "where N_lot = ? and ifnull(nom, '') = ?"),
                        {nLot, nom});
        !s)
        return s;
    QList<QVariantList> rows;
    while (q.next()) {
        Owner o;
        o.achatFixe = q.value(1).toString();
        o.prixAchat = q.value(2);
        o.prixEstime = q.value(3);
        o.coefCvo = q.value(4);
        applyOwnerCost(o, *sums);
        rows.append({q.value(0).toInt(), amount(o.estimation), amount(o.prixEstime), amount(o.prixAchat), amount(o.cvo),
                     amount(o.coutTotal)});
    }
    return updateRowsByInc(db, QStringLiteral("proprietaire"), QStringLiteral("inc"),
                           {QStringLiteral("estimation"), QStringLiteral("prix_estime"), QStringLiteral("prix_achat"),
                            QStringLiteral("cvo"), QStringLiteral("cout_total")},
                           rows);
}

// Reads the species' coefficients and completes the line with them.
Status completeFromDatabase(QSqlDatabase db, SpeciesLine &line)
{
    const auto units = readSpeciesUnits(db, line.essence);
    if (!units) return units.error();
    completeSpeciesLine(line, units->has_value() ? &**units : nullptr);
    return {};
}

} // namespace

QStringList ownerTypes()
{
    return {QStringLiteral("ONF"), QStringLiteral("PROPRIETAIRE"), QStringLiteral("EXPERT"),
            QStringLiteral("EXPLOITANT"), QStringLiteral("AUTRE")};
}

QStringList speciesLineUnits()
{
    return quantityUnits();
}

Owner newOwner(int nLot, int indiceLot, const QSqlRecord &settings, const QDate &today)
{
    Owner o;
    o.nLot = nLot;
    o.indiceLot = indiceLot;
    o.dateAchat = today;
    o.coupeFini = QStringLiteral("NON");
    o.achatFixe = QStringLiteral("OUI");
    o.proPaye = QStringLiteral("Faux");
    o.coef = amount(settings.value(QStringLiteral("coef_surface_tonne")));
    o.coefCvo = amount(settings.value(QStringLiteral("cvo")));
    return o;
}

Result<Owner> loadOwner(QSqlDatabase db, int inc)
{
    const auto found = selectOne(
        db, QStringLiteral("select inc, ") + ownerColumns() + QStringLiteral(" from proprietaire where inc = ?"), {inc},
        QStringLiteral("Ce propriétaire n'existe plus."));
    if (!found) return found.error();
    const auto v = [&](const char *c) { return found->value(QString::fromLatin1(c)); };
    Owner o;
    o.inc = v("inc").toInt();
    o.nLot = v("N_lot").toInt();
    o.indiceLot = v("indice_lot").toInt();
    o.nom = v("nom").toString();
    o.typeProprietaire = v("type_proprietaire").toString();
    o.dateAchat = v("date_achat").toDate();
    o.nParcelle = v("n_parcelle").toString();
    o.acheteur = v("acheteur").toString();
    o.proAdresse = v("pro_adresse").toString();
    o.proCp = v("pro_cp").toString();
    o.proVille = v("pro_ville").toString();
    o.proTel = v("pro_tel").toString();
    o.pefc = v("pefc").toString();
    o.achatFixe = v("achat_fixe").toString();
    o.prixAchat = amount(v("prix_achat"));
    o.prixEstime = amount(v("prix_estime"));
    o.coefCvo = amount(v("coef_cvo"));
    o.cvo = amount(v("cvo"));
    o.coutTotal = amount(v("cout_total"));
    o.estimation = amount(v("estimation"));
    o.abattageCout = amount(v("abattage_cout"));
    o.proPaye = v("pro_paye").toString();
    o.surface = amount(v("surface"));
    o.coef = amount(v("coef"));
    o.coupeFini = v("coupe_fini").toString();
    o.prixUnit = amount(v("prix_unit"));
    return o;
}

void applyOwnerCost(Owner &o, const OwnerSpeciesSums &sums)
{
    o.estimation = round2(sums.qteDefaut);
    o.prixEstime = round2(sums.prixTotal);
    if (o.achatFixe == QLatin1String("NON")) o.prixAchat = o.prixEstime;
    if (o.achatFixe == QLatin1String("OUI")) {
        if (filled(o.coefCvo) && filled(o.prixAchat)) {
            o.cvo = round2(number(o.prixAchat) * number(o.coefCvo) / 100.0);
            o.prixEstime = nullDouble();
        } else {
            o.cvo = 0.0;
        }
        o.coutTotal = amount(o.prixAchat);
    } else {
        if (filled(o.coefCvo) && filled(o.prixEstime)) {
            o.cvo = round2(number(o.prixEstime) * number(o.coefCvo) / 100.0);
            o.prixAchat = nullDouble();
        } else {
            o.cvo = 0.0;
        }
        o.coutTotal = amount(o.prixEstime);
    }
}

Result<OwnerSpeciesSums> ownerSpeciesSums(QSqlDatabase db, int nLot, const QString &nom)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("select sum(qte_defaut), sum(prix_total) from proprietaire_essence "
                                       "where N_lot = ? and ifnull(nom, '') = ?"),
                        {nLot, nom});
        !s)
        return s.error();
    OwnerSpeciesSums sums;
    if (q.next()) {
        sums.qteDefaut = number(q.value(0));
        sums.prixTotal = number(q.value(1));
    }
    return sums;
}

QString surfaceTonnesText(const QVariant &surface, const QVariant &coef)
{
    if (!filled(surface) || !filled(coef) || number(coef) <= 0) return QStringLiteral("...");
    return QStringLiteral("( soit ") + formatNumber(number(surface) * number(coef), QStringLiteral("0.00")) +
           QStringLiteral(" Tonnes )");
}

Status updateLotFromOwners(QSqlDatabase db, int nLot)
{
    // The separator of a group_concat is a literal of the statement, never a value.
    const QString sep = QStringLiteral("' + '");
    const QString sql =
        QStringLiteral(
            "update coupe c left join ("
            "select N_lot, sum(cout_total) as prix, sum(surface) as surf, sum(cvo) as levy, "
            "sum(abattage_cout) as acompte, "
            "group_concat(ifnull(nom, '') order by nom, inc separator %1) as noms, "
            "group_concat(ifnull(n_parcelle, '') order by nom, inc separator %1) as parcelles, "
            "group_concat(nullif(acheteur, '') order by nom, inc separator '+') as acheteurs "
            "from proprietaire where N_lot = ? group by N_lot) o on o.N_lot = c.n_lot "
            "set c.prix_achat = ifnull(o.prix, 0), c.surface = ifnull(o.surf, 0), c.cvo = ifnull(o.levy, 0), "
            "c.abattage_cout = ifnull(o.acompte, 0), "
            "c.nom = left(ifnull(o.noms, ''), 255), c.N_parcelle = left(ifnull(o.parcelles, ''), 255), "
            "c.acheteur = left(ifnull(o.acheteurs, ''), 255), "
            "c.estimation = ifnull((select sum(qte_defaut) from grume where N_lot = ? "
            "and descriptif = 'VOLUME'), 0), "
            "c.cout_total = ifnull(o.prix, 0) + ifnull(o.acompte, 0) + ifnull(c.debardage_cout, 0) "
            "+ ifnull(c.remise_etat_cout, 0) "
            "where c.n_lot = ?")
            .arg(sep);
    auto done = execute(db, sql, {nLot, nLot, nLot});
    if (!done) return done.error();
    return {};
}

Result<QSqlRecord> readLotDerivedColumns(QSqlDatabase db, int nLot)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s =
            exec(q,
                 QStringLiteral("select prix_achat, surface, cvo, abattage_cout, nom, N_parcelle, acheteur, "
                                "estimation, cout_total, total_grume, total_grume_livre from coupe where n_lot = ?"),
                 {nLot});
        !s)
        return s.error();
    if (!q.next()) return QSqlRecord();
    return q.record();
}

Result<int> createOwner(QSqlDatabase db, const Owner &owner)
{
    int inc = 0;
    Status done = inTransaction(db, [&]() -> Status {
        const auto inserted = insertRow(db, QStringLiteral("proprietaire"), ownerPlace(owner) + ownerValues(owner));
        if (!inserted) return inserted.error();
        inc = *inserted;
        return updateLotFromOwners(db, owner.nLot);
    });
    if (!done) return done.error();
    return inc;
}

Status updateOwner(QSqlDatabase db, const Owner &asRead, const Owner &owner)
{
    return inTransaction(db, [&]() -> Status {
        // The lot and the name stay as they were written.
        if (Status s = saveLockedRow(db, QStringLiteral("proprietaire"), QStringLiteral("inc"), asRead.inc,
                                     columnChanges(ownerValues(asRead), ownerValues(owner), ownerCaptions()),
                                     ownerCostColumns());
            !s)
            return s;
        return updateLotFromOwners(db, asRead.nLot);
    });
}

Status deleteOwner(QSqlDatabase db, int inc)
{
    return inTransaction(db, [&]() -> Status {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (Status s = exec(q, QStringLiteral("select N_lot, nom from proprietaire where inc = ? for update"), {inc});
            !s)
            return s;
        // Deleted on another workstation meanwhile: say so, the list is read again.
        if (!q.next()) return Error::notFound(recordDeletedMessage());
        const int nLot = q.value(0).toInt();
        const QString nom = q.value(1).toString();
        if (auto s =
                execute(db,
                        QStringLiteral("update proprietaire_essence set qte_defaut = 0, prix_unit = 0, prix_total = 0, "
                                       "m3_reel = 0, qte = 0, qte_reel = 0 where N_lot = ? and ifnull(nom, '') = ?"),
                        {nLot, nom});
            !s)
            return s.error();
        if (Status s = recomputeLotInTransaction(db, nLot, Rebuild::Yes); !s) return s;
        if (auto s = execute(db, QStringLiteral("delete from proprietaire where inc = ?"), {inc}); !s) return s.error();
        return updateLotFromOwners(db, nLot);
    });
}

Result<QSqlQuery> lotOwnersQuery(QSqlDatabase db, int nLot)
{
    QSqlQuery q(db);
    if (Status s =
            exec(q,
                 QStringLiteral("select inc, type_proprietaire, nom, N_parcelle, estimation, cout_total, "
                                "pro_adresse, pro_ville, pro_cp from proprietaire where N_lot = ? order by nom, inc"),
                 {nLot});
        !s)
        return s.error();
    return q;
}

Result<QSqlQuery> ownerSpeciesQuery(QSqlDatabase db, int nLot, const QString &nom)
{
    QSqlQuery q(db);
    if (Status s = exec(q,
                        QStringLiteral("select essence, qualite, qte, unite, qte_reel, unite as unite_reel, `long`, "
                                       "prix_unit, '€' as n1, prix_total, '€' as n2, unite_defaut, qte_defaut, nom, "
                                       "N_lot, indice_lot from proprietaire_essence "
                                       "where N_lot = ? and ifnull(nom, '') = ?"),
                        {nLot, nom});
        !s)
        return s.error();
    return q;
}

SpeciesLine newSpeciesLine(int nLot, int indiceLot, const QString &nom, const QString &defaultUnit)
{
    SpeciesLine line;
    line.nLot = nLot;
    line.indiceLot = indiceLot;
    line.nom = nom;
    line.uniteDefaut = defaultUnit;
    return line;
}

SpeciesLine speciesLineFrom(const QSqlRecord &row)
{
    SpeciesLine line;
    line.nLot = row.value(QStringLiteral("N_lot")).toInt();
    line.indiceLot = row.value(QStringLiteral("indice_lot")).toInt();
    line.nom = row.value(QStringLiteral("nom")).toString();
    line.essence = row.value(QStringLiteral("essence")).toString();
    line.qualite = row.value(QStringLiteral("qualite")).toString();
    line.unite = row.value(QStringLiteral("unite")).toString();
    line.uniteDefaut = row.value(QStringLiteral("unite_defaut")).toString();
    line.qte = amount(row.value(QStringLiteral("qte")));
    line.qteReel = amount(row.value(QStringLiteral("qte_reel")));
    line.qteDefaut = amount(row.value(QStringLiteral("qte_defaut")));
    line.prixUnit = amount(row.value(QStringLiteral("prix_unit")));
    line.prixTotal = amount(row.value(QStringLiteral("prix_total")));
    line.comment = row.value(QStringLiteral("long")).toString();
    return line;
}

std::optional<double> speciesLineTotal(const QVariant &qte, const QVariant &prixUnit)
{
    if (!filled(qte) || !filled(prixUnit)) return std::nullopt;
    return round2(number(qte) * number(prixUnit));
}

void completeSpeciesLine(SpeciesLine &line, const SpeciesUnits *units)
{
    if (!filled(line.qteReel)) line.qteReel = amount(line.qte);
    if (const auto total = speciesLineTotal(line.qte, line.prixUnit)) line.prixTotal = *total;
    if (filled(line.qteReel)) line.qteDefaut = corres(units, line.uniteDefaut, line.unite, number(line.qteReel));
}

Status createSpeciesLine(QSqlDatabase db, SpeciesLine line)
{
    if (Status s = completeFromDatabase(db, line); !s) return s;
    return inTransaction(db, [&]() -> Status {
        if (auto s =
                execute(db,
                        QStringLiteral("insert into proprietaire_essence (N_lot, indice_lot, nom, essence, qualite, "
                                       "unite, unite_defaut, qte, qte_reel, qte_defaut, prix_unit, prix_total, `long`) "
                                       "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                        {line.nLot, line.indiceLot, line.nom, line.essence, line.qualite, line.unite, line.uniteDefaut,
                         amount(line.qte), amount(line.qteReel), amount(line.qteDefaut), amount(line.prixUnit),
                         amount(line.prixTotal), line.comment});
            !s)
            return s.error();
        if (Status s = refreshStoredOwnerCost(db, line.nLot, line.nom); !s) return s;
        if (Status s = recomputeLotInTransaction(db, line.nLot, Rebuild::Yes); !s) return s;
        return updateLotFromOwners(db, line.nLot);
    });
}

Status updateSpeciesLine(QSqlDatabase db, const SpeciesLine &original, SpeciesLine changed)
{
    // Species, quality and unit never change once written.
    changed.essence = original.essence;
    changed.qualite = original.qualite;
    changed.unite = original.unite;
    if (Status s = completeFromDatabase(db, changed); !s) return s;
    const QVariantList where{original.nLot, original.nom, original.essence, original.qualite, original.unite};
    const QString line = QStringLiteral("where N_lot = ? and ifnull(nom, '') = ? and ifnull(essence, '') = ? "
                                        "and ifnull(qualite, '') = ? and ifnull(unite, '') = ? limit 1");
    return inTransaction(db, [&]() -> Status {
        // The line as stored now, held until the end: quantities, prices and the total must agree,
        // so a change the user made is refused when another workstation changed any of them.
        const auto stored = selectOne(db,
                                      QStringLiteral("select qte, qte_reel, qte_defaut, prix_unit, prix_total, `long` "
                                                     "from proprietaire_essence ") +
                                          line + QStringLiteral(" for update"),
                                      where, recordDeletedMessage());
        if (!stored) return stored.error();
        const QList<ColumnChange> changes{
            {QStringLiteral("qte"), amount(original.qte), amount(changed.qte), QStringLiteral("Quantité estimée")},
            {QStringLiteral("qte_reel"), amount(original.qteReel), amount(changed.qteReel),
             QStringLiteral("Quantité réelle")},
            {QStringLiteral("qte_defaut"), amount(original.qteDefaut), amount(changed.qteDefaut),
             QStringLiteral("Quantité (unité par défaut)")},
            {QStringLiteral("prix_unit"), amount(original.prixUnit), amount(changed.prixUnit),
             QStringLiteral("Prix Unitaire")},
            {QStringLiteral("prix_total"), amount(original.prixTotal), amount(changed.prixTotal),
             QStringLiteral("Prix Total")},
            {QStringLiteral("long"), original.comment, changed.comment, QStringLiteral("Commentaire")}};
        bool amountsChanged = false;
        for (int i = 0; i < 5; ++i)
            if (!sameStoredValue(changes[i].asRead, changes[i].value)) amountsChanged = true;
        QStringList differing;
        for (int i = 0; i < changes.size(); ++i) {
            const bool checked = i < 5 ? amountsChanged : !sameStoredValue(changes[i].asRead, changes[i].value);
            // The comment is read as a text: a null one is read as empty.
            QVariant now = stored->value(i);
            if (changes[i].asRead.typeId() == QMetaType::QString) now = now.toString();
            if (checked && !sameStoredValue(now, changes[i].asRead)) differing << changes[i].caption;
        }
        if (!differing.isEmpty()) return Error::changedElsewhere(recordChangedMessage(differing));
        // Only what the user changed is written; the rest keeps what another workstation wrote.
        QStringList sets;
        QVariantList values;
        for (const ColumnChange &c : changes) {
            if (sameStoredValue(c.asRead, c.value)) continue;
            sets << QStringLiteral("`%1` = ?").arg(c.column);
            values << c.value;
        }
        if (!sets.isEmpty()) {
            if (auto s = execute(db,
                                 QStringLiteral("update proprietaire_essence set ") + sets.join(QStringLiteral(", ")) +
                                     QLatin1Char(' ') + line,
                                 values + where);
                !s)
                return s.error();
        }
        if (Status s = refreshStoredOwnerCost(db, original.nLot, original.nom); !s) return s;
        if (Status s = recomputeLotInTransaction(db, original.nLot, Rebuild::Yes); !s) return s;
        return updateLotFromOwners(db, original.nLot);
    });
}

} // namespace ravelin
