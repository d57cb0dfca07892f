#include "volumelines.h"

#include "formats.h"
#include "rowsave.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"

#include <QSqlField>

namespace ravelin {

namespace {

QVariant numberOrNull(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return QVariant(QMetaType::fromType<double>());
    return v;
}

// The first row, or an empty record when there is none. Errors name the caller.
Result<QSqlRecord> firstRecord(QSqlDatabase db, const QString &sql, const QVariantList &values,
                               SourceLocation location = SourceLocation::current())
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, sql, values, location); !s) return s.error();
    if (!q.next()) return QSqlRecord();
    return q.record();
}

} // namespace

LogVolume logVolume(std::optional<double> diameter, std::optional<double> length, std::optional<double> barkShare)
{
    LogVolume v;
    if (!diameter || !length) return v;
    const double overBark = *diameter * *diameter * 3.1415 / 40000.0 * *length;
    v.overBark = round3(overBark);
    if (barkShare) v.underBark = round3(overBark * (1.0 - *barkShare / 100.0));
    return v;
}

Result<QList<DiameterClassBounds>> readDiameterClasses(QSqlDatabase db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, QStringLiteral("select classe,dia_mini,dia_maxi from classe order by dia_mini"), {}); !s)
        return s.error();
    QList<DiameterClassBounds> classes;
    while (q.next()) {
        DiameterClassBounds c;
        c.classe = q.value(0).toString();
        if (!q.value(1).isNull()) c.mini = q.value(1).toDouble();
        if (!q.value(2).isNull()) c.maxi = q.value(2).toDouble();
        classes.append(c);
    }
    return classes;
}

std::optional<QString> classForDiameter(const QList<DiameterClassBounds> &classes, double diameter)
{
    for (const DiameterClassBounds &c : classes)
        if (c.mini && c.maxi && *c.mini <= diameter && *c.maxi >= diameter) return c.classe;
    return std::nullopt;
}

Result<std::optional<QString>> diameterClass(QSqlDatabase db, double diameter)
{
    auto classes = readDiameterClasses(db);
    if (!classes) return classes.error();
    return classForDiameter(*classes, diameter);
}

LogRecord newLog(int nLot, int indiceLot, const QString &lieu, const QDate &today)
{
    LogRecord log;
    log.nLot = nLot;
    log.indiceLot = indiceLot;
    log.lieu = lieu;
    log.dateCreation = today;
    log.dateLieu = today;
    return log;
}

Result<LogRecord> loadLog(QSqlDatabase db, int inc)
{
    auto row = selectOne(db,
                         QStringLiteral("select inc,N_lot,indice_lot,n_grume,essence,qualite,classe,diametre,longueur,"
                                        "pourcent_ecorce,m3_sur_ecorce,m3,lieu,date_creation,date_lieu "
                                        "from grume where inc=?"),
                         {inc}, QStringLiteral("Cette grume n'existe plus."));
    if (!row) return row.error();
    const QSqlRecord &r = *row;
    LogRecord log;
    log.inc = r.value(QStringLiteral("inc")).toInt();
    log.nLot = r.value(QStringLiteral("N_lot")).toInt();
    log.indiceLot = r.value(QStringLiteral("indice_lot")).toInt();
    log.nGrume = r.value(QStringLiteral("n_grume")).toString();
    log.essence = r.value(QStringLiteral("essence")).toString();
    log.qualite = r.value(QStringLiteral("qualite")).toString();
    log.classe = r.value(QStringLiteral("classe")).toString();
    log.diametre = r.value(QStringLiteral("diametre"));
    log.longueur = r.value(QStringLiteral("longueur"));
    log.pourcentEcorce = r.value(QStringLiteral("pourcent_ecorce"));
    log.m3SurEcorce = r.value(QStringLiteral("m3_sur_ecorce"));
    log.m3 = r.value(QStringLiteral("m3"));
    log.lieu = r.value(QStringLiteral("lieu")).toString();
    log.dateCreation = r.value(QStringLiteral("date_creation")).toDate();
    log.dateLieu = r.value(QStringLiteral("date_lieu")).toDate();
    return log;
}

Result<int> insertLog(QSqlDatabase db, const LogRecord &log)
{
    QSqlQuery q(db);
    const Status done =
        exec(q,
             QStringLiteral(
                 "insert into grume (N_lot,indice_lot,descriptif,n_grume,essence,qualite,classe,diametre,longueur,"
                 "pourcent_ecorce,m3_sur_ecorce,m3,lieu,date_creation,date_lieu,stock) "
                 "values (?,?,'GRUME',?,?,?,?,?,?,?,?,?,?,?,?,'')"),
             {log.nLot, log.indiceLot, textOrNull(log.nGrume), textOrNull(log.essence), textOrNull(log.qualite),
              textOrNull(log.classe), numberOrNull(log.diametre), numberOrNull(log.longueur),
              numberOrNull(log.pourcentEcorce), numberOrNull(log.m3SurEcorce), numberOrNull(log.m3),
              textOrNull(log.lieu), dateOrNull(log.dateCreation), dateOrNull(log.dateLieu)});
    if (!done) return done.error();
    return q.lastInsertId().toInt();
}

namespace {

// What the log entry screen edits, as stored.
QList<ColumnValue> logValues(const LogRecord &log)
{
    return {{QStringLiteral("n_grume"), textOrNull(log.nGrume)},
            {QStringLiteral("essence"), textOrNull(log.essence)},
            {QStringLiteral("qualite"), textOrNull(log.qualite)},
            {QStringLiteral("classe"), textOrNull(log.classe)},
            {QStringLiteral("diametre"), numberOrNull(log.diametre)},
            {QStringLiteral("longueur"), numberOrNull(log.longueur)},
            {QStringLiteral("pourcent_ecorce"), numberOrNull(log.pourcentEcorce)},
            {QStringLiteral("m3_sur_ecorce"), numberOrNull(log.m3SurEcorce)},
            {QStringLiteral("m3"), numberOrNull(log.m3)},
            {QStringLiteral("date_creation"), dateOrNull(log.dateCreation)}};
}

QList<QPair<QString, QString>> logCaptions()
{
    return {{QStringLiteral("n_grume"), QStringLiteral("N° GRUME")},
            {QStringLiteral("essence"), QStringLiteral("Essence de bois")},
            {QStringLiteral("qualite"), QStringLiteral("Qualité de bois")},
            {QStringLiteral("classe"), QStringLiteral("Classe de bois")},
            {QStringLiteral("diametre"), QStringLiteral("Diamètre moy. ( cm )")},
            {QStringLiteral("longueur"), QStringLiteral("Longueur ( m )")},
            {QStringLiteral("pourcent_ecorce"), QStringLiteral("% sous écorce")},
            {QStringLiteral("m3_sur_ecorce"), QStringLiteral("Volume sur ecorce (m3)")},
            {QStringLiteral("m3"), QStringLiteral("Volume sous ecorce (m3)")},
            {QStringLiteral("date_creation"), QStringLiteral("Date création")}};
}

// The order that took a log, by its flag on the log or by an order line naming it.
Result<QVariant> orderHoldingLog(QSqlDatabase db, const QVariant &logNumber, const QVariant &incCde, int nLot)
{
    if (!incCde.isNull()) return incCde;
    return scalar(db, QStringLiteral("select inc_cde from liste_grume_cde where n_lot=? and inc_grume=? limit 1"),
                  {QString::number(nLot), logNumber});
}

} // namespace

Status updateLog(QSqlDatabase db, const LogRecord &asRead, const LogRecord &log)
{
    // The volumes follow the diameter, the length and the bark share: saved together or not at all.
    return inTransaction(db, [&]() -> Status {
        return saveLockedRow(db, QStringLiteral("grume"), QStringLiteral("inc"), asRead.inc,
                             columnChanges(logValues(asRead), logValues(log), logCaptions()),
                             {QStringLiteral("diametre"), QStringLiteral("longueur"), QStringLiteral("pourcent_ecorce"),
                              QStringLiteral("m3_sur_ecorce"), QStringLiteral("m3")});
    });
}

Status deleteLog(QSqlDatabase db, int inc)
{
    return inTransaction(db, [&]() -> Status {
        auto log = select(db,
                          QStringLiteral("select N_lot, inc_cde from grume where inc=? and descriptif='GRUME' "
                                         "for update"),
                          {inc});
        if (!log) return log.error();
        if (log->isEmpty()) return {}; // already gone
        const auto order = orderHoldingLog(db, inc, log->first().value(1), log->first().value(0).toInt());
        if (!order) return order.error();
        if (!order->isNull()) return Error::refusal(logTakenByOrderMessage(order->toInt()));
        auto done = execute(db, QStringLiteral("delete from grume where inc=? and descriptif='GRUME'"), {inc});
        if (!done) return done.error();
        return {};
    });
}

Result<int> deleteLotLogs(QSqlDatabase db, int nLot)
{
    int removed = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        // The lot's logs are held first, so that no order takes one between the look and the delete.
        auto flagged = scalar(db,
                              QStringLiteral("select inc_cde from grume where N_lot=? and descriptif='GRUME' and "
                                             "inc_cde is not null order by inc limit 1 for update"),
                              {nLot});
        if (!flagged) return flagged.error();
        if (!flagged->isNull()) return Error::refusal(logTakenByOrderMessage(flagged->toInt()));
        auto listed = scalar(db,
                             QStringLiteral("select c.inc_cde from liste_grume_cde c join grume g on g.inc=c.inc_grume "
                                            "and g.descriptif='GRUME' and g.N_lot=? where c.n_lot=? limit 1"),
                             {nLot, QString::number(nLot)});
        if (!listed) return listed.error();
        if (!listed->isNull()) return Error::refusal(logTakenByOrderMessage(listed->toInt()));
        auto deleted = execute(db, QStringLiteral("delete from grume where n_lot=? and descriptif='GRUME'"), {nLot});
        if (!deleted) return deleted.error();
        removed = *deleted;
        return {};
    });
    if (!done) return done.error();
    return removed;
}

PagedQuery lotLogsQuery(int nLot, int indiceLot)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,n_grume,essence,qualite,classe,m3,diametre,longueur,livree,stock");
    q.from = QStringLiteral("grume");
    q.where = QStringLiteral("N_lot=? and Indice_lot=? and descriptif='GRUME'");
    q.values = {nLot, indiceLot};
    q.orderBy = {QStringLiteral("n_grume")};
    return q;
}

Result<LogTotals> readLogTotals(QSqlDatabase db, int nLot, int indiceLot)
{
    auto row =
        firstRecord(db,
                    QStringLiteral("select sum(m3) as total, sum(case when livree='OUI' then m3 else 0 end) "
                                   "as delivered from grume where N_lot=? and Indice_lot=? and descriptif='GRUME'"),
                    {nLot, indiceLot});
    if (!row) return row.error();
    LogTotals totals;
    totals.total = round3(row->value(0).toDouble());
    totals.delivered = round3(row->value(1).toDouble());
    return totals;
}

Result<LogTotals> updateLotLogTotals(QSqlDatabase db, int nLot, int indiceLot)
{
    // One statement sums and writes, so that a log written meanwhile by another workstation is
    // never left out of totals computed before it.
    auto done = execute(db,
                        QStringLiteral("update coupe c, (select round(ifnull(sum(m3),0),3) as total, "
                                       "round(ifnull(sum(case when livree='OUI' then m3 else 0 end),0),3) as delivered "
                                       "from grume where N_lot=? and Indice_lot=? and descriptif='GRUME') t "
                                       "set c.total_grume=t.total, c.total_grume_livre=t.delivered where c.n_lot=?"),
                        {nLot, indiceLot, nLot});
    if (!done) return done.error();
    return readLogTotals(db, nLot, indiceLot);
}

Result<QList<ClassVolume>> availableVolumeByClass(QSqlDatabase db, int nLot)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q,
                        QStringLiteral("SELECT sum(m3)as a,classe FROM grume\n"
                                       "where n_lot=? and (livree<>'OUI' or Livree is null)\n"
                                       "group by classe"),
                        {nLot});
        !s)
        return s.error();
    QList<ClassVolume> slices;
    while (q.next()) slices.append(ClassVolume{q.value(1).toString(), round2(q.value(0).toDouble())});
    return slices;
}

Result<PagedQuery> logInquiryQuery(const LogInquiry &inquiry)
{
    PagedQuery q;
    q.columns =
        QStringLiteral("inc,n_grume,essence,qualite,classe,diametre,longueur,m3,N_lot,livree,lieu,stock,inc_cde");
    q.from = QStringLiteral("grume");
    QStringList where{QStringLiteral("N_grume is not null and descriptif='GRUME'")};
    if (!inquiry.logNumber.trimmed().isEmpty()) {
        const auto number = parseWholeNumber(inquiry.logNumber);
        if (!number) return Error::refusal(incorrectEntryMessage());
        // n_grume is text: compared with a number, the server would convert every log's number
        // (no index helps), then sort them all for the page and again for the count. It is looked
        // for as typed and as written without leading zeros ("012" finds "012" and "12").
        const QString typed = inquiry.logNumber.trimmed();
        const QString plain = QString::number(*number);
        if (typed == plain) {
            where << QStringLiteral("N_grume=?");
            q.values << typed;
        } else {
            where << QStringLiteral("N_grume in (?,?)");
            q.values << typed << plain;
        }
    }
    if (!inquiry.lotNumber.trimmed().isEmpty()) {
        const auto lot = parseWholeNumber(inquiry.lotNumber);
        if (!lot) return Error::refusal(incorrectEntryMessage());
        where << QStringLiteral("N_lot=?");
        q.values << *lot;
    }
    if (inquiry.availableOnly) where << QStringLiteral("inc_cde is null");
    q.where = where.join(QStringLiteral(" and "));
    // the last logs entered first: those are the wood in stock
    q.key = QStringLiteral("inc");
    q.descending = true;
    // every free log: their index holds them in that order (a lot or a number has its own index)
    if (inquiry.availableOnly && inquiry.logNumber.trimmed().isEmpty() && inquiry.lotNumber.trimmed().isEmpty())
        q.keyIndex = QStringLiteral("idx_grume_free");
    return q;
}

Result<QSqlRecord> lotSummary(QSqlDatabase db, const QVariant &nLot)
{
    return firstRecord(db, QStringLiteral("select lieu,adresse,cp,n_lot,type_achat from coupe where N_lot=?"), {nLot});
}

Result<QSqlRecord> orderSummary(QSqlDatabase db, const QVariant &incCde)
{
    return firstRecord(db,
                       QStringLiteral("select inc,facturee,livree,n_cde_client,date_souhaitee,date_cde,type_cde,"
                                      "adresse_liv,cp_liv,ville_liv,pays_liv,client from cde where inc=?"),
                       {incCde});
}

BoundQuery lotVolumeLinesQuery(int nLot)
{
    BoundQuery q;
    q.add(QStringLiteral("select inc,essence,qualite,qte,unite,unite_defaut,qte_defaut,"
                         "round(ifnull((qte_livree),0),3)as a0, round((qte-ifnull((qte_livree),0)),3)as a1, "
                         "round((qte_defaut-ifnull((qte_livree_defaut),0)),3)as a3,"
                         "round((ifnull((qte_livree_defaut),0)),3)as a4,"
                         "sur_pied,abattage,debardage,broyage_reel,volume_livre,volume_transfert,volume_livre_stock,"
                         "fin_pied,fin_abattage,abattage_cout,debardage_cout,remise_etat_cout,"
                         "unite as unite_livre,unite as unite_dispo"));
    q.add(QStringLiteral("from grume where N_lot=? and descriptif='VOLUME' order by inc"), {nLot});
    return q;
}

Result<QList<qint64>> parseLotList(const QString &text)
{
    QList<qint64> lots;
    for (const QString &part : text.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        if (part.trimmed().isEmpty()) continue;
        const auto lot = parseWholeNumber(part);
        if (!lot) return Error::refusal(incorrectEntryMessage());
        lots << *lot;
    }
    return lots;
}

Result<BoundQuery> volumeLinePickerQuery(const VolumeLineSearch &search)
{
    auto parsed = parseLotList(search.lots);
    if (!parsed) return parsed.error();
    const QList<qint64> &lots = *parsed;

    BoundQuery q;
    q.add(QStringLiteral("select A.unite,A.unite_defaut,A.inc,B.lieu,B.adresse,B.cp,A.descriptif,"
                         "sum(round(A.qte,0))as m3,sum(round(ifnull((A.qte_livree),0),3))as a0, "
                         "sum(round((A.qte-ifnull((A.qte_livree),0)),3))as a1,"
                         "sum(round(ifnull((A.qte_defaut),0),3))as d3,"));
    q.add(QStringLiteral("sum(round((A.qte_defaut-ifnull((A.qte_livree_defaut),0)),3))as d11"));
    q.add(QStringLiteral(",A.essence,A.qualite"));
    q.add(QStringLiteral(",A.n_lot"));
    q.add(QStringLiteral(" from grume A"));
    q.add(QStringLiteral("join coupe B on B.n_lot=A.n_lot"));
    q.add(QStringLiteral("Where (A.descriptif='VOLUME')and(A.livree<>'OUI' or A.livree is null)"));
    if (!search.species.isEmpty()) q.add(QStringLiteral(" and A.essence like ?"), {containsPattern(search.species)});
    if (!search.place.isEmpty()) q.add(QStringLiteral(" and B.lieu like ?"), {containsPattern(search.place)});
    if (lots.size() == 1) {
        q.add(QStringLiteral(" and A.n_lot=?"), {lots.first()});
    } else if (lots.size() > 1) {
        q.add(QStringLiteral(" and ( A.n_lot=?"), {lots.first()});
        for (int i = 1; i < lots.size(); ++i) q.add(QStringLiteral(" or A.n_lot=?"), {lots[i]});
        q.add(QStringLiteral(")"));
    }
    // One row per volume line: two lines of one species and quality in different units stay apart.
    q.add(QStringLiteral("group by A.descriptif"));
    q.add(QStringLiteral(",A.essence,A.qualite"));
    q.add(QStringLiteral(",A.n_lot"));
    q.add(QStringLiteral(",A.inc,A.unite,A.unite_defaut,B.lieu,B.adresse,B.cp"));
    switch (search.sort) {
    case VolumeLineSort::Species: q.add(QStringLiteral("order by A.essence,A.qualite")); break;
    case VolumeLineSort::Place: q.add(QStringLiteral("order by B.lieu")); break;
    case VolumeLineSort::LotNumber: q.add(QStringLiteral("order by A.n_lot DESC")); break;
    }
    return q;
}

VolumeLineChoice volumeLineChoice(const QSqlRecord &row)
{
    VolumeLineChoice c;
    c.nLot = row.value(QStringLiteral("n_lot")).toInt();
    c.essence = row.value(QStringLiteral("essence")).toString();
    c.qualite = row.value(QStringLiteral("qualite")).toString();
    c.inc = row.value(QStringLiteral("inc")).toInt();
    c.unite = row.value(QStringLiteral("unite")).toString();
    c.uniteDefaut = row.value(QStringLiteral("unite_defaut")).toString();
    c.lieu = row.value(QStringLiteral("lieu")).toString();
    c.adresse = row.value(QStringLiteral("adresse")).toString();
    c.cp = row.value(QStringLiteral("cp")).toString();
    c.m3 = row.value(QStringLiteral("m3")).toDouble();
    c.a0 = row.value(QStringLiteral("a0")).toDouble();
    c.a1 = row.value(QStringLiteral("a1")).toDouble();
    c.d3 = row.value(QStringLiteral("d3")).toDouble();
    c.d11 = row.value(QStringLiteral("d11")).toDouble();
    return c;
}

BoundQuery availableLinesDetailQuery(const AvailableLinesFilter &filter)
{
    BoundQuery q;
    q.add(QStringLiteral("select descriptif,N_grume,qte_defaut,qte_livree_defaut,"
                         "round((qte_defaut-ifnull((qte_livree_defaut),0)),3)as dispo,essence,qualite,classe,diametre,"
                         "longueur,lieu,date_creation,date_lieu,N_lot,indice_lot,livree from grume"));
    q.add(QStringLiteral("Where (livree is null or livree<>'OUI') and descriptif=?"), {filter.descriptif});
    if (filter.essence) q.add(QStringLiteral(" and essence=?"), {*filter.essence});
    if (filter.nLot) q.add(QStringLiteral(" and n_lot=?"), {*filter.nLot});
    q.add(QStringLiteral(" order by qte_defaut"));
    return q;
}

} // namespace ravelin
