#include "lotstore.h"

#include "counters.h"
#include "rowsave.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"

#include <QSet>
#include <QSqlField>

namespace ravelin {

Result<PagedQuery> lotSearchQuery(const LotSearch &search)
{
    if (search.number.contains(QLatin1Char('\''))) return Error::refusal(lotNumberFilterRefusal());

    PagedQuery q;
    q.columns = QStringLiteral("inc,n_lot,date_achat,type_achat,lieu,estimation,nom,cp,N_parcelle,acheteur,"
                               "abattage_cout,date_alerte,date_fin,coupe_fini");
    q.from = QStringLiteral("coupe");
    // Every lot when the finished ones are asked for, null flags included.
    q.where = search.showFinished ? QStringLiteral("( coupe_fini<>'rien' or coupe_fini is null )")
                                  : QStringLiteral("( coupe_fini<>'OUI' or coupe_fini is null )");
    const auto like = [&](const QString &text, const char *condition) {
        if (text.isEmpty()) return;
        q.where += QLatin1String(condition);
        q.values << QVariant(containsPattern(text));
    };
    like(search.number, " and n_lot like ?");
    like(search.town, " and lieu like ?");
    like(search.name, " and nom like ?");
    like(search.buyer, " and acheteur like ?");
    // The key follows a descending sort so that the column's index gives the whole order.
    q.key = QStringLiteral("inc");
    switch (search.sort) {
    case LotSort::Number:
        q.orderBy = QStringList{QStringLiteral("n_lot desc")};
        q.descending = true;
        break;
    case LotSort::Date:
        q.orderBy = QStringList{QStringLiteral("date_achat desc")};
        q.descending = true;
        break;
    case LotSort::Place: q.orderBy = QStringList{QStringLiteral("lieu")}; break;
    case LotSort::PurchaseType: q.orderBy = QStringList{QStringLiteral("type_achat")}; break;
    }
    return q;
}

static std::optional<QDate> dateOf(const QVariant &v)
{
    if (v.isNull()) return std::nullopt;
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    const QDate d = v.toDate();
    if (!d.isValid()) return std::nullopt;
    return d;
}

LotRowColour lotRowColour(const QVariant &dateAlerte, const QVariant &dateFin, const QVariant &coupeFini,
                          const QDate &today)
{
    LotRowColour colour = LotRowColour::None;
    if (const auto alert = dateOf(dateAlerte); alert && today >= *alert) colour = LotRowColour::Alert;
    if (const auto end = dateOf(dateFin); end && today >= *end) colour = LotRowColour::Ended;
    if (coupeFini.toString() == QLatin1String("OUI")) colour = LotRowColour::Finished;
    return colour;
}

QStringList creationPurchaseTypes()
{
    return {QStringLiteral("SUR PIEDS"), QStringLiteral("ABATTUE"), QStringLiteral("BORD DE ROUTE")};
}

QStringList editorPurchaseTypes()
{
    return {QStringLiteral("SUR PIED"), QStringLiteral("ABATTUE"), QStringLiteral("BORD DE ROUTE")};
}

std::optional<PurchaseShares> purchaseTypeShares(const QString &type)
{
    // A new lot is stored as "SUR PIEDS" while the editor's own list says "SUR PIED": both stand.
    if (type == QLatin1String("SUR PIED") || type == QLatin1String("SUR PIEDS")) return PurchaseShares{0, 0};
    if (type == QLatin1String("ABATTUE")) return PurchaseShares{100, 0};
    if (type == QLatin1String("BORD DE ROUTE")) return PurchaseShares{100, 100};
    return std::nullopt;
}

NewLot newLotDefaults(const QSqlRecord &settings)
{
    NewLot lot;
    lot.coef = settings.value(QStringLiteral("coef_surface_tonne"));
    lot.coefCvo = settings.value(QStringLiteral("cvo"));
    return lot;
}

Result<CreatedLot> createLot(QSqlDatabase db, const NewLot &lot, const QString &typedNumber)
{
    const auto number = parseWholeNumber(typedNumber);
    if (!number || *number <= 0 || *number > 99999999) return Error::refusal(lotNumberIncorrectMessage());
    const int nLot = int(*number);

    CreatedLot created;
    const Status done = inTransaction(db, [&]() -> Status {
        created = CreatedLot{0, nLot, false};
        // Every creation of a lot waits here for the one before it to commit.
        auto last = scalar(db, QStringLiteral("select n_lot from increment for update"));
        if (!last) return last.error();
        auto existing = scalar(db, QStringLiteral("select n_lot from coupe where n_lot=?"), {nLot});
        if (!existing) return existing.error();
        if (!existing->isNull()) return Error::refusal(lotNumberExistsMessage());
        if (nLot == last->toLongLong() + 1) {
            auto taken = takeNextCounter(db, Counter::NLot);
            if (!taken) return taken.error();
            created.counterTaken = true;
        }
        // A number written meanwhile by another workstation meets the unique index uq_coupe_n_lot,
        // which the server errors' table turns into lotNumberExistsMessage().
        const auto inserted = insertRow(db, QStringLiteral("coupe"),
                                        {{QStringLiteral("n_lot"), nLot},
                                         {QStringLiteral("indice_lot"), 1},
                                         {QStringLiteral("type_achat"), lot.typeAchat},
                                         {QStringLiteral("groupe_essence"), lot.groupeEssence},
                                         {QStringLiteral("coupe_fini"), QStringLiteral("NON")},
                                         {QStringLiteral("coef"), lot.coef},
                                         {QStringLiteral("coef_cvo"), lot.coefCvo}});
        if (!inserted) return inserted.error();
        created.inc = *inserted;
        return {};
    });
    if (!done) return done.error();
    return created;
}

Result<QSqlRecord> loadLot(QSqlDatabase db, int inc)
{
    return selectOne(db, QStringLiteral("select * from coupe where inc=?"), {inc},
                     QStringLiteral("Cette coupe de bois n'existe plus."));
}

static const QSet<QString> &editableLotColumns()
{
    static const QSet<QString> columns{QStringLiteral("indice_lot"),
                                       QStringLiteral("type_achat"),
                                       QStringLiteral("groupe_essence"),
                                       QStringLiteral("coupe_fini"),
                                       QStringLiteral("date_achat"),
                                       QStringLiteral("lieu"),
                                       QStringLiteral("adresse"),
                                       QStringLiteral("cp"),
                                       QStringLiteral("latitude"),
                                       QStringLiteral("commentaire"),
                                       QStringLiteral("date_alerte"),
                                       QStringLiteral("date_fin"),
                                       QStringLiteral("nom"),
                                       QStringLiteral("n_parcelle"),
                                       QStringLiteral("acheteur"),
                                       QStringLiteral("surface"),
                                       QStringLiteral("prix_achat"),
                                       QStringLiteral("abattage_cout"),
                                       QStringLiteral("cvo"),
                                       QStringLiteral("coef"),
                                       QStringLiteral("coef_cvo"),
                                       QStringLiteral("estimation"),
                                       QStringLiteral("cout_total"),
                                       QStringLiteral("debardage_cout"),
                                       QStringLiteral("remise_etat_cout"),
                                       QStringLiteral("fin_pied"),
                                       QStringLiteral("fin_abattage"),
                                       QStringLiteral("sur_pied"),
                                       QStringLiteral("abattage"),
                                       QStringLiteral("debardage"),
                                       QStringLiteral("total_grume"),
                                       QStringLiteral("total_grume_livre")};
    return columns;
}

Status saveLotChanges(QSqlDatabase db, int inc, const QVariantMap &changes)
{
    if (changes.isEmpty()) return {};
    QList<ColumnValue> values;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (!editableLotColumns().contains(it.key().toLower()))
            return Error::failure(QStringLiteral("Colonne de coupe non modifiable : ") + it.key(), {});
        values.append({it.key(), it.value()});
    }
    return overwriteRow(db, QStringLiteral("coupe"), QStringLiteral("inc"), inc, values);
}

Status saveLot(QSqlDatabase db, int inc, const QList<ColumnChange> &changes)
{
    for (const ColumnChange &c : changes)
        if (!editableLotColumns().contains(c.column.toLower()))
            return Error::failure(QStringLiteral("Colonne de coupe non modifiable : ") + c.column, {});
    // The percentages felled and skidded follow the purchase type: saved together or not at all.
    return inTransaction(db, [&]() -> Status {
        return saveLockedRow(
            db, QStringLiteral("coupe"), QStringLiteral("inc"), inc, changes,
            {QStringLiteral("type_achat"), QStringLiteral("fin_pied"), QStringLiteral("fin_abattage")});
    });
}

Result<QVariant> firstOwnerPurchaseDate(QSqlDatabase db, int nLot)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s =
            exec(q, QStringLiteral("select date_achat from proprietaire where N_lot=? order by nom limit 1"), {nLot});
        !s)
        return s.error();
    if (!q.next()) return QVariant();
    // An owner without a date still counts as the first owner: its empty date is copied.
    QVariant date = q.value(0);
    if (date.isNull()) date = QVariant(QMetaType(QMetaType::QDate));
    return date;
}

Status deleteLot(QSqlDatabase db, int inc, int nLot)
{
    return inTransaction(db, [&]() -> Status {
        const QString statements[] = {
            QStringLiteral("Delete from grume where n_lot=?"),
            QStringLiteral("Delete from intervention where n_lot=?"),
            QStringLiteral("Delete from proprietaire_essence where n_lot=?"),
            QStringLiteral("Delete from proprietaire where n_lot=?"),
        };
        for (const QString &sql : statements)
            if (auto done = execute(db, sql, {nLot}); !done) return done.error();
        if (auto done = execute(db, QStringLiteral("Delete from coupe where inc=?"), {inc}); !done) return done.error();
        return {};
    });
}

Status applyLotFinished(QSqlDatabase db, int nLot, bool finished)
{
    Result<int> done = finished ? execute(db, QStringLiteral("update grume set livree='OUI' where n_lot=?"), {nLot})
                                : execute(db,
                                          QStringLiteral("update grume set livree='' where n_lot=? and inc_cde is null"
                                                         " and not exists (select 1 from liste_grume_cde c"
                                                         " where c.n_lot=? and c.inc_grume=grume.inc)"),
                                          {nLot, QString::number(nLot)});
    if (!done) return done.error();
    return {};
}

} // namespace ravelin
