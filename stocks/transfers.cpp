#include "transfers.h"

#include "boundquery.h"
#include "dialogs.h"
#include "firewoodstock.h"
#include "firewoodstocklist.h"
#include "formats.h"
#include "lotrecompute.h"
#include "rowsave.h"
#include "searchpattern.h"
#include "sql.h"
#include "units.h"

#include <algorithm>

namespace ravelin {

namespace {

std::optional<double> numberOf(const QVariant &value)
{
    if (value.isNull() || value.toString().trimmed().isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = value.typeId() == QMetaType::QString ? parseDecimal(value.toString(), &ok) : value.toDouble(&ok);
    if (!ok) return std::nullopt;
    return v;
}

double number(const QVariant &value)
{
    return numberOf(value).value_or(0);
}

// A line's failure as the user is told it: the rule's own words for a refusal, "erreur 2" with
// the server's text for the rest.
Error lineError(Error e)
{
    if (e.is(ErrorKind::DatabaseFailure)) e.message = lineWriteFailedMessage();
    return e;
}

// The transfer row locked: every change of its lines or actions takes this lock first, so that a
// line removed while its transfer is deleted is given back once.
Result<QSqlRecord> lockTransfer(QSqlDatabase db, int inc)
{
    return selectOne(db, QStringLiteral("select * from transfert where inc=? for update"), {inc},
                     recordDeletedMessage());
}

// The transfer's line totals and action total, in one statement (a line added meanwhile by
// another workstation is either in or waits).
Status writeTransferTotals(QSqlDatabase db, int inc)
{
    auto done = execute(
        db,
        QStringLiteral(
            "update transfert t, (select round(ifnull(sum(qte_defaut),0),2) as defaut, round(ifnull(sum(qte_liv),0),2) "
            "as liv, round(ifnull(sum(prix_total),0),2) as prix from liste_grume_transfert where inc_transfert=?) l, "
            "(select ifnull(sum(i_cout),0) as cout from liste_action_transfert where inc_transfert=?) a "
            "set t.grume_livree=l.defaut, t.volume_cde=l.defaut, t.qte_defaut_totale=l.defaut, "
            "t.qte_liv_totale=l.liv, t.prix_vente=l.prix, t.prix_vente_facture=l.prix, t.total_cout_action=a.cout "
            "where t.inc=?"),
        {inc, inc, inc});
    if (!done) {
        Error e = done.error();
        e.message = transferTotalsFailedMessage();
        return e;
    }
    return {};
}

FirewoodStockMove lineMove(const QVariant &lineInc, const QSqlRecord &transfer, double liv, double defaut, double conso)
{
    FirewoodStockMove move;
    move.lineInc = lineInc;
    move.deltaLiv = liv;
    move.deltaDefaut = defaut;
    move.deltaConso = conso;
    move.from = transfer.value(QStringLiteral("type_transfert")).toString();
    move.to = transfer.value(QStringLiteral("type_destination")).toString();
    move.lineKind = QStringLiteral("TRANSFERT");
    return move;
}

// Moves the stocks; a stock row that is gone is told after the commit, not a failure.
Status moveStock(QSqlDatabase db, const FirewoodStockMove &move, QStringList &warnings)
{
    Status moved = moveFirewoodStock(db, move);
    if (moved) return {};
    if (moved.error().is(ErrorKind::NotFound)) {
        warnings << moved.error().message;
        return {};
    }
    return moved;
}

// After the commit: the lots the change touched, each once.
void recomputeAfter(QSqlDatabase db, const QList<QVariant> &lots, QStringList &warnings)
{
    QList<int> numbers;
    for (const QVariant &lot : lots)
        if (const auto n = lotNumberOf(lot); n && !numbers.contains(*n)) numbers << *n;
    if (numbers.isEmpty()) return;
    if (Status s = recomputeLots(db, numbers); !s) warnings << s.error().fullText();
}

Result<QSqlRecord> lockLine(QSqlDatabase db, int lineInc, QSqlRecord &transfer)
{
    auto owner = scalar(db, QStringLiteral("select inc_transfert from liste_grume_transfert where inc=?"), {lineInc});
    if (!owner) return owner.error();
    if (owner->isNull()) return Error::notFound(noRecordMessage());
    auto locked = lockTransfer(db, owner->toInt());
    if (!locked) return locked.error();
    transfer = *locked;
    auto line = select(db, QStringLiteral("select * from liste_grume_transfert where inc=? for update"), {lineInc});
    if (!line) return line.error();
    if (line->isEmpty()) return Error::notFound(noRecordMessage());
    return line->first();
}

} // namespace

// ---------------------------------------------------------------------------------------------

PagedQuery transferListQuery(const TransferSearch &search)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,type_transfert,depart,destination,date_transfert,type_destination");
    q.from = QStringLiteral("transfert");
    // the end date is a whole day: a transfer at 17:30 on it is listed
    q.where = QStringLiteral("date_transfert>=? and date_transfert<?");
    q.values << QDateTime(search.start, QTime(0, 0)) << QDateTime(search.end.addDays(1), QTime(0, 0));
    if (!search.depart.isEmpty()) {
        q.where += QStringLiteral(" and depart like ?");
        q.values << containsPattern(search.depart);
    }
    if (!search.destination.isEmpty()) {
        q.where += QStringLiteral(" and destination=?");
        q.values << search.destination;
    }
    q.key = QStringLiteral("inc");
    q.descending = true;
    switch (search.sort) {
    case TransferSort::Date: q.orderBy = {QStringLiteral("date_transfert desc")}; break;
    case TransferSort::Departure: q.orderBy = {QStringLiteral("depart"), QStringLiteral("date_transfert desc")}; break;
    case TransferSort::Destination:
        q.orderBy = {QStringLiteral("destination"), QStringLiteral("date_transfert desc")};
        break;
    }
    return q;
}

PagedQuery transferLinesQuery(int incTransfert)
{
    PagedQuery q;
    q.columns =
        QStringLiteral("inc,essence,qualite,qte_depart,unite_depart,qualite_destination,qte_liv,unite_liv,n_lot,"
                       "id,qte_conso,unite_conso,qte_defaut,inc_coef,coef,inc_stock_buche,N_grume");
    q.from = QStringLiteral("liste_grume_transfert");
    q.where = QStringLiteral("inc_transfert=? and descriptif='GRUME'");
    q.values << incTransfert;
    q.key = QStringLiteral("inc");
    q.orderBy = {QStringLiteral("N_grume")};
    return q;
}

PagedQuery transferActionsQuery(int incTransfert)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc,I_nom,type1,i_date,qte_action,unite_action,prix_unit_action,i_cout,N_lot");
    q.from = QStringLiteral("liste_action_transfert");
    q.where = QStringLiteral("inc_transfert=?");
    q.values << incTransfert;
    q.key = QStringLiteral("inc");
    q.orderBy = {QStringLiteral("i_date")};
    return q;
}

// ---------------------------------------------------------------------------------------------

QString checkNewTransfer(const NewTransfer &transfer)
{
    if (transfer.destination.trimmed().isEmpty()) return destinationRequiredMessage();
    if (transfer.depart.trimmed().isEmpty()) return departureRequiredMessage();
    return QString();
}

Result<int> createTransfer(QSqlDatabase db, const NewTransfer &transfer, const QDateTime &now)
{
    if (const QString refused = checkNewTransfer(transfer); !refused.isEmpty()) return Error::refusal(refused);
    // written complete at once: the key comes from the insert, so two workstations creating
    // transfers at the same moment each open their own
    return insertRow(db, QStringLiteral("transfert"),
                     {{QStringLiteral("creation"), 0},
                      {QStringLiteral("date_transfert"), now},
                      {QStringLiteral("type_transfert"), transfer.typeTransfert},
                      {QStringLiteral("depart"), transfer.depart},
                      {QStringLiteral("destination"), transfer.destination},
                      {QStringLiteral("type_destination"), transfer.typeDestination},
                      {QStringLiteral("unite_defaut"), transfer.defaultUnit},
                      {QStringLiteral("grume_livree"), 0},
                      {QStringLiteral("volume_cde"), 0},
                      {QStringLiteral("qte_defaut_totale"), 0},
                      {QStringLiteral("qte_liv_totale"), 0},
                      {QStringLiteral("prix_vente"), 0},
                      {QStringLiteral("prix_vente_facture"), 0},
                      {QStringLiteral("total_cout_action"), 0}});
}

Result<QSqlRecord> readTransfer(QSqlDatabase db, int inc)
{
    return selectOne(db, QStringLiteral("select * from transfert where inc=?"), {inc}, recordDeletedMessage());
}

Status saveTransferHeader(QSqlDatabase db, int inc, const QList<ColumnChange> &changes)
{
    return inTransaction(db, [&]() -> Status {
        if (Status s = saveLockedRow(db, QStringLiteral("transfert"), QStringLiteral("inc"), inc, changes, {}); !s)
            return s;
        for (const ColumnChange &c : changes) {
            if (c.column != QLatin1String("date_transfert") || sameStoredValue(c.asRead, c.value)) continue;
            auto dated =
                execute(db, QStringLiteral("update liste_grume_transfert set date_creation=? where inc_transfert=?"),
                        {c.value, inc});
            if (!dated) return dated.error();
        }
        return {};
    });
}

Result<TransferOutcome> deleteTransfer(QSqlDatabase db, int inc)
{
    TransferOutcome outcome;
    outcome.inc = inc;
    QList<QVariant> lots;
    const Status done = inTransaction(db, [&]() -> Status {
        outcome.warnings.clear();
        lots.clear();
        auto transfer = lockTransfer(db, inc);
        if (!transfer) return transfer.error();
        auto lines =
            select(db,
                   QStringLiteral("select inc, n_lot, qte_liv, qte_defaut, qte_conso from liste_grume_transfert "
                                  "where inc_transfert=? for update"),
                   {inc});
        if (!lines) return lines.error();
        // each line gives its quantities back while it is still there to be read
        for (const QSqlRecord &line : *lines) {
            const auto v = [&](const char *column) { return number(line.value(QLatin1String(column))); };
            if (Status s =
                    moveStock(db, lineMove(line.value(0), *transfer, -v("qte_liv"), -v("qte_defaut"), -v("qte_conso")),
                              outcome.warnings);
                !s)
                return s;
            lots << line.value(QStringLiteral("n_lot"));
        }
        if (transfer->value(QStringLiteral("type_transfert")).toString() == transferFromLot())
            lots << transfer->value(QStringLiteral("depart"));
        for (const char *statement :
             {"delete from liste_grume_transfert where inc_transfert=?",
              "delete from liste_action_transfert where inc_transfert=?", "delete from transfert where inc=?"}) {
            auto deleted = execute(db, QLatin1String(statement), {inc});
            if (!deleted) return deleted.error();
        }
        return {};
    });
    if (!done) return done.error();
    recomputeAfter(db, lots, outcome.warnings);
    return outcome;
}

// ---------------------------------------------------------------------------------------------

QString checkTransferLine(const TransferLine &line, bool destinationQualityShown)
{
    if (line.essence.trimmed().isEmpty()) return QStringLiteral("Vous devez saisir une ESSENCE");
    if (line.qualite.trimmed().isEmpty()) return QStringLiteral("Vous devez saisir une QUALITE");
    if (line.uniteLiv.trimmed().isEmpty()) return QStringLiteral("Vous devez saisir une UNITE pour le STOCK");
    if (destinationQualityShown && line.qualiteDestination.trimmed().isEmpty())
        return QStringLiteral("Vous devez saisir une QUALITE de BOIS après transfert");
    if (line.qteConso.toString().trimmed().isEmpty()) return QStringLiteral("Vous devez saisir une quantité");
    return QString();
}

Result<LineConversion> convertTransferLine(QSqlDatabase db, const QString &essence, const QString &defaultUnit,
                                           const QString &uniteConso, const QString &uniteLiv, double qteLiv,
                                           double coef)
{
    auto defaut = corres(db, essence, defaultUnit, uniteLiv, qteLiv);
    if (!defaut) return defaut.error();
    auto conso = corres(db, essence, uniteConso, uniteLiv, qteLiv);
    if (!conso) return conso.error();
    return LineConversion{*defaut, finiteOrZero((1 - coef / 100) * *conso)};
}

Result<QList<CoefChoice>> coefChoices(QSqlDatabase db)
{
    auto rows = select(db, QStringLiteral("select inc, designation, coef from coef order by designation"));
    if (!rows) return rows.error();
    QList<CoefChoice> choices;
    for (const QSqlRecord &r : *rows)
        choices.append({r.value(0).toInt(), r.value(1).toString(), r.value(2).toDouble()});
    return choices;
}

Result<TransferOutcome> addTransferLine(QSqlDatabase db, int incTransfert, const TransferLine &line)
{
    if (const QString refused = checkTransferLine(line, true); !refused.isEmpty()) return Error::refusal(refused);
    const auto qteLiv = numberOf(line.qteLiv);
    const auto qteConso = numberOf(line.qteConso);
    if (!qteLiv || !qteConso) return Error::refusal(incorrectQuantityMessage());
    TransferOutcome outcome;
    const Status done = inTransaction(db, [&]() -> Status {
        outcome.warnings.clear();
        auto transfer = lockTransfer(db, incTransfert);
        if (!transfer) return transfer.error();
        const auto t = [&](const char *column) { return transfer->value(QLatin1String(column)); };
        const QString defaultUnit = t("unite_defaut").toString();
        auto defaut = corres(db, line.essence, defaultUnit, line.uniteLiv, *qteLiv);
        if (!defaut) return lineError(defaut.error());
        QList<ColumnValue> values{{QStringLiteral("inc_transfert"), incTransfert},
                                  {QStringLiteral("descriptif"), QStringLiteral("GRUME")},
                                  {QStringLiteral("date_creation"), t("date_transfert")},
                                  {QStringLiteral("lieu"), t("depart")},
                                  {QStringLiteral("depart"), t("depart")},
                                  {QStringLiteral("destination"), t("destination")},
                                  {QStringLiteral("type_transfert"), t("type_transfert")},
                                  {QStringLiteral("unite_defaut"), defaultUnit},
                                  {QStringLiteral("n_lot"), textOrNull(line.nLot)},
                                  {QStringLiteral("id"), line.id},
                                  {QStringLiteral("essence"), line.essence},
                                  {QStringLiteral("qualite"), line.qualite},
                                  {QStringLiteral("unite_conso"), textOrNull(line.uniteConso)},
                                  {QStringLiteral("qte_conso"), *qteConso},
                                  {QStringLiteral("unite_depart"), textOrNull(line.uniteDepart)},
                                  {QStringLiteral("inc_stock_buche"), line.incStockBuche},
                                  {QStringLiteral("qualite_destination"), textOrNull(line.qualiteDestination)},
                                  {QStringLiteral("qte_liv"), *qteLiv},
                                  {QStringLiteral("unite_liv"), line.uniteLiv},
                                  {QStringLiteral("qte_defaut"), *defaut},
                                  {QStringLiteral("inc_coef"), line.incCoef},
                                  {QStringLiteral("coef"), line.coef}};
        auto inserted = insertRow(db, QStringLiteral("liste_grume_transfert"), values);
        if (!inserted) return lineError(inserted.error());
        outcome.inc = *inserted;
        if (Status s = moveStock(db, lineMove(*inserted, *transfer, *qteLiv, *defaut, *qteConso), outcome.warnings); !s)
            return lineError(s.error());
        return writeTransferTotals(db, incTransfert);
    });
    if (!done) return done.error();
    recomputeAfter(db, {line.nLot}, outcome.warnings);
    return outcome;
}

Result<TransferOutcome> changeTransferLine(QSqlDatabase db, int lineInc, const QVariant &qteConso,
                                           const QVariant &qteLiv, const QVariant &incCoef, const QVariant &coef)
{
    if (qteConso.toString().trimmed().isEmpty())
        return Error::refusal(QStringLiteral("Vous devez saisir une quantité"));
    const auto liv = numberOf(qteLiv);
    const auto conso = numberOf(qteConso);
    if (!liv || !conso) return Error::refusal(incorrectQuantityMessage());
    TransferOutcome outcome;
    outcome.inc = lineInc;
    QVariant lot;
    const Status done = inTransaction(db, [&]() -> Status {
        outcome.warnings.clear();
        QSqlRecord transfer;
        auto line = lockLine(db, lineInc, transfer);
        if (!line) return line.error();
        const auto l = [&](const char *column) { return line->value(QLatin1String(column)); };
        lot = l("n_lot");
        auto defaut =
            corres(db, l("essence").toString(), l("unite_defaut").toString(), l("unite_liv").toString(), *liv);
        if (!defaut) return lineError(defaut.error());
        auto written = execute(db,
                               QStringLiteral("update liste_grume_transfert set qte_conso=?, qte_liv=?, qte_defaut=?, "
                                              "inc_coef=?, coef=? where inc=?"),
                               {*conso, *liv, *defaut, incCoef, coef, lineInc});
        if (!written) return lineError(written.error());
        // the differences from what the line held, whatever another workstation wrote before
        const FirewoodStockMove move = lineMove(lineInc, transfer, *liv - number(l("qte_liv")),
                                                *defaut - number(l("qte_defaut")), *conso - number(l("qte_conso")));
        if (Status s = moveStock(db, move, outcome.warnings); !s) return lineError(s.error());
        return writeTransferTotals(db, transfer.value(QStringLiteral("inc")).toInt());
    });
    if (!done) return done.error();
    recomputeAfter(db, {lot}, outcome.warnings);
    return outcome;
}

Result<TransferOutcome> removeTransferLine(QSqlDatabase db, int lineInc)
{
    TransferOutcome outcome;
    outcome.inc = lineInc;
    QVariant lot;
    const Status done = inTransaction(db, [&]() -> Status {
        outcome.warnings.clear();
        QSqlRecord transfer;
        auto line = lockLine(db, lineInc, transfer);
        if (!line) return line.error();
        const auto v = [&](const char *column) { return number(line->value(QLatin1String(column))); };
        lot = line->value(QStringLiteral("n_lot"));
        // given back before the line goes: the stock update reads the line
        if (Status s = moveStock(db, lineMove(lineInc, transfer, -v("qte_liv"), -v("qte_defaut"), -v("qte_conso")),
                                 outcome.warnings);
            !s)
            return lineError(s.error());
        auto deleted = execute(db, QStringLiteral("delete from liste_grume_transfert where inc=?"), {lineInc});
        if (!deleted) return lineError(deleted.error());
        return writeTransferTotals(db, transfer.value(QStringLiteral("inc")).toInt());
    });
    if (!done) return done.error();
    recomputeAfter(db, {lot}, outcome.warnings);
    return outcome;
}

// ---------------------------------------------------------------------------------------------

QStringList transferActionTypes()
{
    return {QStringLiteral("CHARGEMENT"), QStringLiteral("TRANSPORT"), QStringLiteral("ADMINISTRATIF"),
            QStringLiteral("FENDAGE"), QStringLiteral("AUTRE")};
}

Result<int> addTransferAction(QSqlDatabase db, int incTransfert, const TransferAction &action)
{
    int inc = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        auto transfer = lockTransfer(db, incTransfert);
        if (!transfer) return transfer.error();
        QList<ColumnValue> columns = actionColumnValues(action);
        columns << ColumnValue{QStringLiteral("inc_transfert"), incTransfert};
        auto inserted = insertRow(db, QStringLiteral("liste_action_transfert"), columns);
        if (!inserted) return inserted.error();
        inc = *inserted;
        return writeTransferTotals(db, incTransfert);
    });
    if (!done) return done.error();
    return inc;
}

Status changeTransferAction(QSqlDatabase db, int incTransfert, int actionInc, const QList<ColumnChange> &changes)
{
    return inTransaction(db, [&]() -> Status {
        auto transfer = lockTransfer(db, incTransfert);
        if (!transfer) return transfer.error();
        // the cost and its factors are saved together or not at all
        if (Status s = saveLockedRow(
                db, QStringLiteral("liste_action_transfert"), QStringLiteral("inc"), actionInc, changes,
                {QStringLiteral("qte_action"), QStringLiteral("prix_unit_action"), QStringLiteral("i_cout")});
            !s)
            return s;
        return writeTransferTotals(db, incTransfert);
    });
}

Status removeTransferAction(QSqlDatabase db, int incTransfert, int actionInc)
{
    return inTransaction(db, [&]() -> Status {
        auto transfer = lockTransfer(db, incTransfert);
        if (!transfer) return transfer.error();
        auto deleted = execute(db, QStringLiteral("delete from liste_action_transfert where inc=? and inc_transfert=?"),
                               {actionInc, incTransfert});
        if (!deleted) return deleted.error();
        if (*deleted != 1) return Error::notFound(recordDeletedMessage());
        return writeTransferTotals(db, incTransfert);
    });
}

} // namespace ravelin
