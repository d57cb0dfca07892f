#include "lotrecompute.h"

#include "formats.h"
#include "multirow.h"
#include "sql.h"
#include "units.h"

#include <QDate>
#include <QHash>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace ravelin {

namespace {

RecomputeProgressHandler &progressHandler()
{
    static RecomputeProgressHandler handler;
    return handler;
}

// Shows the progress text for the time of one recomputation, and hides it whatever the outcome.
class ProgressShown
{
public:
    explicit ProgressShown(int nLot)
    {
        if (progressHandler()) progressHandler()(recomputeProgressText(nLot));
    }
    ~ProgressShown()
    {
        if (progressHandler()) progressHandler()(QString());
    }
    ProgressShown(const ProgressShown &) = delete;
    ProgressShown &operator=(const ProgressShown &) = delete;
};

// A name as the tables' collation compares it: case, accents and trailing spaces do not count.
QString collationKey(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' ')) --end;
    const QString decomposed = text.left(end).normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) key.append(c);
    return key.toCaseFolded();
}

double number(const QVariant &v)
{
    return v.isNull() ? 0.0 : finiteOrZero(v.toDouble());
}

std::optional<double> optionalNumber(const QVariant &v)
{
    if (v.isNull()) return std::nullopt;
    return finiteOrZero(v.toDouble());
}

// Species coefficients of everything the lot's lines and owners name, in one statement.
Result<SpeciesUnitTable> lotSpeciesUnits(QSqlDatabase db, int nLot)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("select essence, m3, T, Stere from essence where essence in ("
                                       "select essence from grume where N_lot = ? and descriptif = 'VOLUME' "
                                       "union select essence from proprietaire_essence where N_lot = ?)"),
                        {nLot, nLot});
        !s)
        return s.error();
    SpeciesUnitTable table;
    while (q.next()) table.insert(q.value(0).toString(), SpeciesUnits{q.value(1), q.value(2), q.value(3)});
    return table;
}

Result<QString> defaultUnit(QSqlDatabase db)
{
    auto unit = scalar(db, QStringLiteral("select unite_defaut from perso limit 1"));
    if (!unit) return unit.error();
    return unit->toString();
}

Status rebuildVolumeLines(QSqlDatabase db, int nLot, const QString &lieu, bool grouped, const SpeciesUnitTable &units)
{
    const auto unit = defaultUnit(db);
    if (!unit) return unit.error();

    QList<OwnerEstimate> estimates;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (Status s = exec(q,
                            QStringLiteral("select nom, essence, qualite, unite, qte_reel from proprietaire_essence "
                                           "where N_lot = ? order by nom"),
                            {nLot});
            !s)
            return s;
        while (q.next())
            estimates.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                              q.value(3).toString(), number(q.value(4))});
    }

    QHash<QString, int> existing;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (Status s = exec(q,
                            QStringLiteral("select inc, essence, qualite, unite from grume "
                                           "where N_lot = ? and descriptif = 'VOLUME' order by inc"),
                            {nLot});
            !s)
            return s;
        while (q.next()) {
            const QString key = volumeLineKey(q.value(1).toString(), q.value(2).toString(), q.value(3).toString());
            if (!existing.contains(key)) existing.insert(key, q.value(0).toInt());
        }
    }

    const QDate today = QDate::currentDate();
    QList<QVariantList> inserts;
    QList<QVariantList> updates;
    for (const PlannedVolumeLine &line : planVolumeLines(estimates, grouped)) {
        const double n1 = line.quantity;
        const QVariantList values{nLot,
                                  1,
                                  QStringLiteral("VOLUME"),
                                  today,
                                  lieu,
                                  round2(n1),
                                  line.unite,
                                  line.essence,
                                  line.qualite,
                                  *unit,
                                  units.corres(line.essence, unitM3(), line.unite, n1),
                                  units.corres(line.essence, unitTonne(), line.unite, n1),
                                  units.corres(line.essence, unitStere(), line.unite, n1),
                                  units.corres(line.essence, *unit, line.unite, n1)};
        const auto found = existing.constFind(volumeLineKey(line.essence, line.qualite, line.unite));
        if (found == existing.cend()) inserts.append(values);
        else updates.append(QVariantList{*found} + values);
    }
    const QStringList columns{
        QStringLiteral("N_lot"),         QStringLiteral("indice_lot"), QStringLiteral("descriptif"),
        QStringLiteral("date_creation"), QStringLiteral("lieu"),       QStringLiteral("qte"),
        QStringLiteral("unite"),         QStringLiteral("essence"),    QStringLiteral("qualite"),
        QStringLiteral("unite_defaut"),  QStringLiteral("m3"),         QStringLiteral("tonne"),
        QStringLiteral("stere"),         QStringLiteral("qte_defaut")};
    if (Status s = updateRowsByInc(db, QStringLiteral("grume"), QStringLiteral("inc"), columns, updates); !s) return s;
    if (Status s = insertRows(db, QStringLiteral("grume"), columns, inserts); !s) return s;

    // A line at zero goes, unless something that left the lot or some work still points at it.
    const QString lotText = QString::number(nLot);
    if (auto s = execute(
            db,
            QStringLiteral("delete from grume where N_lot = ? and descriptif = 'VOLUME' and qte = 0 and qte_defaut = 0 "
                           "and not exists (select 1 from liste_grume_cde r where r.n_lot = ? and r.id = grume.inc) "
                           "and not exists (select 1 from livraison r where r.n_lot = ? and r.id = grume.inc) "
                           "and not exists (select 1 from liste_grume_transfert r where r.depart = ? "
                           "and r.type_transfert = 'COUPE' and r.id = grume.inc) "
                           "and not exists (select 1 from intervention r where r.N_lot = ? and r.id = grume.inc)"),
            {nLot, lotText, nLot, lotText, nLot});
        !s)
        return s.error();
    if (auto s = execute(
            db, QStringLiteral("delete from proprietaire_essence where N_lot = ? and qte = 0 and qte_defaut = 0"),
            {nLot});
        !s)
        return s.error();
    return {};
}

Status writeLineProgress(QSqlDatabase db, int nLot, const SpeciesUnitTable &units)
{
    const QString lotText = QString::number(nLot);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // Sold from the lot (A) and from the stock (D) come from the same order lines: one pass.
    const QString sql =
        QStringLiteral("select g.inc, g.essence, g.unite, g.unite_defaut, g.qte, g.fin_pied, g.fin_abattage, "
                       "o.a, b.n2 as b, c.n1 as c, o.d "
                       "from grume g "
                       "left join (select id, sum(case when choix_depart = 'COUPE' then qte_defaut end) as a, "
                       "sum(case when choix_depart = 'STOCK' then qte_defaut end) as d from liste_grume_cde "
                       "where n_lot = ? and descriptif = 'VOLUME' and choix_depart in ('COUPE', 'STOCK') group by id) "
                       "o on o.id = g.inc "
                       "left join (select id, sum(qte_defaut_totale) as n2 from livraison where n_lot = ? group by id) "
                       "b on b.id = g.inc "
                       "left join (select id, sum(qte_defaut) as n1 from liste_grume_transfert "
                       "where type_transfert = 'COUPE' and depart = ? group by id) c on c.id = g.inc "
                       "where g.N_lot = ? and g.descriptif = 'VOLUME' order by g.inc");
    if (Status s = exec(q, sql, {lotText, nLot, lotText, nLot}); !s) return s;

    QList<QVariantList> rows;
    while (q.next()) {
        const QString species = q.value(1).toString();
        const QString lineUnit = q.value(2).toString();
        const QString lineDefault = q.value(3).toString();
        // The sums are in the default unit; the line counts in its own.
        const auto inLineUnit = [&](int column) {
            return units.corres(species, lineUnit, lineDefault, number(q.value(column)));
        };
        const LineOutflows out{inLineUnit(7), inLineUnit(8), inLineUnit(9), inLineUnit(10)};
        const LineProgressFigures f =
            lineProgress(number(q.value(4)), optionalNumber(q.value(5)), optionalNumber(q.value(6)), out);
        rows.append({q.value(0).toInt(), f.broyageReel, f.qteLivree,
                     units.corres(species, lineDefault, lineUnit, f.qteLivree), f.volumeLivre, f.volumeLivreStock,
                     f.volumeTransfert, f.finPied, f.finAbattage, f.surPied, f.abattage, f.debardage});
    }
    return updateRowsByInc(db, QStringLiteral("grume"), QStringLiteral("inc"),
                           {QStringLiteral("broyage_reel"), QStringLiteral("qte_livree"),
                            QStringLiteral("qte_livree_defaut"), QStringLiteral("volume_livre"),
                            QStringLiteral("volume_livre_stock"), QStringLiteral("volume_transfert"),
                            QStringLiteral("fin_pied"), QStringLiteral("fin_abattage"), QStringLiteral("sur_pied"),
                            QStringLiteral("abattage"), QStringLiteral("debardage")},
                           rows);
}

} // namespace

QString missingLotMessage(int nLot)
{
    return QStringLiteral(" Coupe \"%1\" inexistante").arg(nLot);
}

QString recomputeProgressText(int nLot)
{
    return QStringLiteral("Mise à jour Coupe de bois n° %1 en cours ...").arg(nLot);
}

RecomputeProgressHandler setRecomputeProgressHandler(RecomputeProgressHandler handler)
{
    RecomputeProgressHandler previous = std::move(progressHandler());
    progressHandler() = std::move(handler);
    return previous;
}

std::optional<int> lotNumberOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull()) return std::nullopt;
    bool ok = false;
    const qlonglong n = value.toString().trimmed().toLongLong(&ok);
    if (!ok || n <= 0 || n > std::numeric_limits<int>::max()) return std::nullopt;
    return int(n);
}

QString volumeLineKey(const QString &essence, const QString &qualite, const QString &unite)
{
    return collationKey(essence) + QChar(0x1f) + collationKey(qualite) + QChar(0x1f) + collationKey(unite);
}

QList<PlannedVolumeLine> planVolumeLines(QList<OwnerEstimate> estimates, bool grouped)
{
    // Zero lines first, then by owner name: a later line of the same key replaces an earlier one
    // when the lot does not group its owners, so the order must not be left to the server.
    std::stable_sort(estimates.begin(), estimates.end(), [](const OwnerEstimate &a, const OwnerEstimate &b) {
        const bool aSet = round2(a.qteReel) != 0.0;
        const bool bSet = round2(b.qteReel) != 0.0;
        if (aSet != bSet) return !aSet;
        const QString an = collationKey(a.nom);
        const QString bn = collationKey(b.nom);
        if (an != bn) return an < bn;
        return a.qteReel < b.qteReel;
    });
    QList<PlannedVolumeLine> planned;
    QHash<QString, qsizetype> index;
    for (const OwnerEstimate &e : estimates) {
        const QString key = volumeLineKey(e.essence, e.qualite, e.unite);
        const auto found = index.constFind(key);
        if (found == index.cend()) {
            index.insert(key, planned.size());
            planned.append({e.essence, e.qualite, e.unite, e.qteReel});
        } else if (grouped) {
            planned[*found].quantity += e.qteReel;
        } else {
            planned[*found] = {e.essence, e.qualite, e.unite, e.qteReel};
        }
    }
    return planned;
}

LineProgressFigures lineProgress(double qte, std::optional<double> finPied, std::optional<double> finAbattage,
                                 const LineOutflows &out)
{
    LineProgressFigures f;
    const double q = finiteOrZero(qte);
    const double fp = finPied.value_or(0.0);
    const double fa = finAbattage.value_or(0.0);
    const double a = out.soldFromLot;
    const double b = out.chipsDelivered;
    const double c = out.transferred;
    const double d = out.soldFromStock;
    // Wood moved to a stock and not yet sold from it.
    const double t = std::max(c - d, 0.0);
    f.broyageReel = round2(b);
    f.qteLivree = round2(a + b + c);
    f.volumeLivre = round2(a);
    f.volumeLivreStock = round2(d);
    f.volumeTransfert = round2(t);
    f.finPied = fp;
    f.finAbattage = fa;
    f.surPied = round2((100.0 - fp) * q / 100.0);
    f.abattage = round2(std::max(q * fp / 100.0 - q * fa / 100.0, 0.0));
    f.debardage = round2(q * fa / 100.0 - b - a - t - d);
    return f;
}

Status recomputeLotInTransaction(QSqlDatabase db, int nLot, Rebuild rebuild)
{
    if (nLot <= 0) return {};
    ProgressShown shown(nLot);

    // The lot's row stays locked until the caller's transaction ends.
    QSqlQuery lot(db);
    lot.setForwardOnly(true);
    if (Status s =
            exec(lot, QStringLiteral("select lieu, groupe_essence from coupe where n_lot = ? for update"), {nLot});
        !s)
        return s;
    const bool found = lot.next();
    const QString lieu = found ? lot.value(0).toString() : QString();
    const bool grouped = found && lot.value(1).toString() == QLatin1String("OUI");
    if (rebuild == Rebuild::Yes && !found) return Error::notFound(missingLotMessage(nLot));

    const auto units = lotSpeciesUnits(db, nLot);
    if (!units) return units.error();
    if (rebuild == Rebuild::Yes)
        if (Status s = rebuildVolumeLines(db, nLot, lieu, grouped, *units); !s) return s;
    return writeLineProgress(db, nLot, *units);
}

Status recomputeLot(QSqlDatabase db, int nLot, Rebuild rebuild)
{
    if (nLot <= 0) return {};
    return inTransaction(db, [&] { return recomputeLotInTransaction(db, nLot, rebuild); });
}

Status recomputeLot(QSqlDatabase db, const QVariant &nLot, Rebuild rebuild)
{
    const auto n = lotNumberOf(nLot);
    if (!n) return {};
    return recomputeLot(db, *n, rebuild);
}

Status recomputeLots(QSqlDatabase db, QList<int> lots, Rebuild rebuild)
{
    std::set<int> ordered;
    for (int n : lots)
        if (n > 0) ordered.insert(n);
    if (ordered.empty()) return {};
    return inTransaction(db, [&]() -> Status {
        for (int n : ordered)
            if (Status s = recomputeLotInTransaction(db, n, rebuild); !s) return s;
        return {};
    });
}

Result<LotProgress> readLotProgress(QSqlDatabase db, int nLot)
{
    LotProgress progress;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s =
            exec(q,
                 QStringLiteral("select essence, qualite, unite, qte, qte_livree, sur_pied, abattage, debardage, "
                                "broyage_reel, volume_livre, volume_transfert, volume_livre_stock, fin_pied, "
                                "fin_abattage from grume where N_lot = ? and descriptif = 'VOLUME' order by inc"),
                 {nLot});
        !s)
        return s.error();
    while (q.next()) {
        ProgressLine line;
        line.essence = q.value(0).toString();
        line.qualite = q.value(1).toString();
        line.unite = q.value(2).toString();
        line.qte = number(q.value(3));
        line.qteLivree = round3(number(q.value(4)));
        line.available = round3(line.qte - number(q.value(4)));
        line.surPied = number(q.value(5));
        line.abattage = number(q.value(6));
        line.debardage = number(q.value(7));
        line.broyageReel = number(q.value(8));
        line.volumeLivre = number(q.value(9));
        line.volumeTransfert = number(q.value(10));
        line.volumeLivreStock = number(q.value(11));
        line.finPied = int(std::trunc(number(q.value(12))));
        line.finAbattage = int(std::trunc(number(q.value(13))));
        progress.lines.append(line);
    }
    auto comment = scalar(db, QStringLiteral("select commentaire from coupe where n_lot = ?"), {nLot});
    if (!comment) return comment.error();
    progress.commentaire = comment->toString();
    return progress;
}

} // namespace ravelin
