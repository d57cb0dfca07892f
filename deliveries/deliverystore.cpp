#include "deliverystore.h"

#include "counters.h"
#include "deliverycompute.h"
#include "rowsave.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"
#include "units.h"

namespace ravelin {

namespace {

QString notInvoiced()
{
    return QStringLiteral("(facturee is null or facturee<>'OUI')");
}

QString operationList(const QStringList &operations)
{
    QStringList quoted;
    for (const QString &op : operations) quoted << QLatin1Char('\'') + op + QLatin1Char('\'');
    return quoted.join(QLatin1Char(','));
}

} // namespace

QStringList deliveryOperations()
{
    return {QStringLiteral("PREVISION"),       QStringLiteral("VENTE"),
            QStringLiteral("VENTE sur ACHAT"), QStringLiteral("ACHAT sur TRANSFERT"),
            QStringLiteral("TRANSFERT"),       QStringLiteral("TRAVAIL"),
            QStringLiteral("TRANSPORT")};
}

QStringList saleOperations()
{
    return {QStringLiteral("VENTE"), QStringLiteral("VENTE sur ACHAT"), QStringLiteral("TRANSPORT"),
            QStringLiteral("PREVISION")};
}

QStringList purchaseOperations()
{
    return {QStringLiteral("ACHAT sur TRANSFERT"), QStringLiteral("TRANSFERT"), QStringLiteral("TRAVAIL"),
            QStringLiteral("ACHAT")};
}

Result<PagedQuery> deliverySearchQuery(const DeliverySearch &search)
{
    if (search.destination.contains(QLatin1Char('\''))) return Error::refusal(destinationFilterRefusal());

    PagedQuery q;
    q.columns = QStringLiteral("inc,'' as a1,operation,date_livraison as jour,date_livraison,depart,destination,"
                               "tonnage,ticket,verifie,unite,facturee,n_lot,prix_total,commentaire,num_facture");
    q.from = QStringLiteral("livraison");
    if (search.history) q.where = QStringLiteral("1=1");
    else {
        switch (search.state) {
        case DeliveryState::NotDelivered:
            q.where = QStringLiteral("(tonnage is null or tonnage=0) and ") + notInvoiced();
            break;
        case DeliveryState::NotVerified:
            q.where = QStringLiteral("tonnage>0 and (verifie is null or verifie<>'OUI') and ") + notInvoiced();
            break;
        case DeliveryState::Verified: q.where = QStringLiteral("verifie='OUI' and ") + notInvoiced(); break;
        case DeliveryState::All: q.where = notInvoiced(); break;
        }
    }
    const auto like = [&](const QString &text, const char *condition) {
        if (text.isEmpty()) return;
        q.where += QLatin1String(condition);
        q.values << QVariant(containsPattern(text));
    };
    like(search.destination, " and destination like ?");
    like(search.ticket, " and ticket like ?");
    like(search.depart, " and depart like ?");
    // A text found anywhere in a column cannot be looked up in an index: walking the date index,
    // as the server would for the first page, fetches every row it passes in key order, and
    // seldom-met places take it to the end of twenty years (~150 ms). One pass over the table
    // in key order, then sorting the few rows met, takes a quarter of that at worst.
    if (!search.destination.isEmpty() || !search.ticket.isEmpty() || !search.depart.isEmpty())
        q.keyIndex = QStringLiteral("PRIMARY");
    if (search.type == DeliveryType::Sales)
        q.where += QStringLiteral(" and operation in (") + operationList(saleOperations()) + QLatin1Char(')');
    else if (search.type == DeliveryType::Purchases)
        q.where += QStringLiteral(" and operation in (") + operationList(purchaseOperations()) + QLatin1Char(')');

    q.key = QStringLiteral("inc");
    switch (search.sort) {
    case DeliverySort::Date:
        q.orderBy = {QStringLiteral("date_livraison desc")};
        q.descending = true;
        break;
    case DeliverySort::Destination:
        q.orderBy = {QStringLiteral("destination"), QStringLiteral("date_livraison desc")};
        break;
    case DeliverySort::Departure: q.orderBy = {QStringLiteral("depart"), QStringLiteral("date_livraison desc")}; break;
    case DeliverySort::Operation:
        q.orderBy = {QStringLiteral("operation"), QStringLiteral("date_livraison desc")};
        break;
    case DeliverySort::Number: q.descending = true; break;
    }
    return q;
}

QString operationTextColour(const QString &operation)
{
    if (operation == QLatin1String("VENTE sur ACHAT") || operation == QLatin1String("ACHAT sur TRANSFERT") ||
        operation == QLatin1String("ACHAT"))
        return QStringLiteral("0000FF");
    if (operation == QLatin1String("TRANSPORT") || operation == QLatin1String("TRAVAIL"))
        return QStringLiteral("FF0000");
    if (operation == QLatin1String("TRANSFERT")) return QStringLiteral("008000");
    return QStringLiteral("000000");
}

int operationIcon(const QString &operation)
{
    if (operation == QLatin1String("PREVISION")) return 7;
    if (operation == QLatin1String("VENTE")) return 4;
    if (operation == QLatin1String("VENTE sur ACHAT")) return 6;
    if (operation == QLatin1String("TRANSPORT") || operation == QLatin1String("TRAVAIL")) return 5;
    if (operation == QLatin1String("ACHAT sur TRANSFERT") || operation == QLatin1String("ACHAT")) return 2;
    if (operation == QLatin1String("TRANSFERT")) return 3;
    return 0;
}

QString deliveryCellColour(const QString &column, const QString &operation, const QDateTime &date,
                           const QString &verifie, const QString &facturee, bool sortedByDate, const QDate &today)
{
    QString colour;
    const QString c = column.toLower();
    if (c == QLatin1String("operation") && sortedByDate && date.isValid() && date.date().dayOfWeek() == Qt::Sunday)
        colour = QStringLiteral("FFA4A4");
    if (operation == QLatin1String("PREVISION") &&
        (c == QLatin1String("date_livraison") || c == QLatin1String("depart") || c == QLatin1String("destination")))
        colour = date.isValid() && date.date() < today ? QStringLiteral("FFB871") : QStringLiteral("FFFF80");
    if (c == QLatin1String("verifie") && verifie == QLatin1String("OUI")) colour = QStringLiteral("00FF00");
    if (facturee == QLatin1String("OUI")) colour = QStringLiteral("00FF00");
    return colour;
}

NewDelivery newDeliveryDefaults(const QSqlRecord &settings, const QDateTime &now)
{
    NewDelivery d;
    d.dateLivraison = now;
    d.uniteDefaut = settings.value(QStringLiteral("unite_defaut")).toString();
    d.uniteConso = d.uniteDefaut;
    d.humidite = settings.value(QStringLiteral("humidite_defaut"));
    d.broyeurPrixUnit = settings.value(QStringLiteral("cout_broyage_tonne"));
    d.prixTransportUnit = settings.value(QStringLiteral("cout_transport"));
    d.transporteurPrevu = settings.value(QStringLiteral("transporteur_prevu"));
    return d;
}

Result<int> createDelivery(QSqlDatabase db, const NewDelivery &d)
{
    int inc = 0;
    const Status done = inTransaction(db, [&]() -> Status {
        auto number = takeNextCounter(db, Counter::NumBl);
        if (!number) return number.error();
        inc = *number;
        // Written whole at once: no row of this workstation waits with creation=1 to be found again.
        const auto inserted = insertRow(db, QStringLiteral("livraison"),
                                        {{QStringLiteral("inc"), inc},
                                         {QStringLiteral("creation"), 0},
                                         {QStringLiteral("operation"), d.operation},
                                         {QStringLiteral("date_livraison"), d.dateLivraison},
                                         {QStringLiteral("facturee"), QStringLiteral("NON")},
                                         {QStringLiteral("verifie"), QStringLiteral("NON")},
                                         {QStringLiteral("indice_lot"), 1},
                                         {QStringLiteral("unite"), QStringLiteral("TONNE")},
                                         {QStringLiteral("essence"), d.essence},
                                         {QStringLiteral("qualite"), QStringLiteral("PLAQUETTE DE BOIS")},
                                         {QStringLiteral("unite_liv"), unitTonne()},
                                         {QStringLiteral("unite_defaut"), d.uniteDefaut},
                                         {QStringLiteral("unite_conso"), d.uniteConso},
                                         {QStringLiteral("humidite"), d.humidite},
                                         {QStringLiteral("broyeur_prix_unit"), d.broyeurPrixUnit},
                                         {QStringLiteral("prix_transport_unit"), d.prixTransportUnit},
                                         {QStringLiteral("transporteur_prevu"), d.transporteurPrevu},
                                         {QStringLiteral("n_lot"), d.nLot},
                                         {QStringLiteral("id"), d.id},
                                         {QStringLiteral("depart"), d.depart.isEmpty() ? QVariant() : d.depart}});
        if (!inserted) return inserted.error();
        return {};
    });
    if (!done) return done.error();
    return inc;
}

Result<QSqlRecord> loadDelivery(QSqlDatabase db, int inc)
{
    return selectOne(db, QStringLiteral("select * from livraison where inc=?"), {inc}, deliveryGoneMessage());
}

const QList<QPair<QString, QString>> &deliveryEditorColumns()
{
    static const QList<QPair<QString, QString>> columns{
        {QStringLiteral("operation"), QStringLiteral("Opération")},
        {QStringLiteral("date_livraison"), QStringLiteral("Date livraison")},
        {QStringLiteral("n_lot"), QStringLiteral("N° Lot / STOCK")},
        {QStringLiteral("id"), QStringLiteral("Ligne de la coupe")},
        {QStringLiteral("unite_conso"), QStringLiteral("Unité de la coupe")},
        {QStringLiteral("depart"), QStringLiteral("Départ")},
        {QStringLiteral("destination"), QStringLiteral("Destination")},
        {QStringLiteral("transporteur_prevu"), QStringLiteral("Transporteur prévu")},
        {QStringLiteral("chargeoir"), QStringLiteral("Chargoir")},
        {QStringLiteral("lettre_voiture"), QStringLiteral("Lettre de voiture")},
        {QStringLiteral("lieu_pesage"), QStringLiteral("Lieu de pesage")},
        {QStringLiteral("commentaire"), QStringLiteral("Commentaire")},
        {QStringLiteral("tonnage"), QStringLiteral("Tonnage livré")},
        {QStringLiteral("essence"), QStringLiteral("Essence")},
        {QStringLiteral("qualite"), QStringLiteral("Qualite")},
        {QStringLiteral("ticket"), QStringLiteral("Ticket")},
        {QStringLiteral("verifie"), QStringLiteral("Vérifié")},
        {QStringLiteral("qte_pefc"), QStringLiteral("PEFC livré")},
        {QStringLiteral("unite"), QStringLiteral("Unité de facturation")},
        {QStringLiteral("prix_tonne"), QStringLiteral("Prix Tonne")},
        {QStringLiteral("prix_mwh"), QStringLiteral("Prix MWH")},
        {QStringLiteral("humidite"), QStringLiteral("Humidité")},
        {QStringLiteral("mwh"), QStringLiteral("MWH")},
        {QStringLiteral("total_mwh"), QStringLiteral("Prix vente TOTAL (MWH)")},
        {QStringLiteral("prix_total"), QStringLiteral("Prix vente TOTAL")},
        {QStringLiteral("facturee"), QStringLiteral("Facturée")},
        {QStringLiteral("qte_liv_totale"), QStringLiteral("Quantité livrée")},
        {QStringLiteral("qte_defaut_totale"), QStringLiteral("Quantité (unité par défaut)")},
        {QStringLiteral("qte_defaut_pefc"), QStringLiteral("PEFC (unité par défaut)")},
        {QStringLiteral("qte_conso"), QStringLiteral("Quantité consommée")}};
    return columns;
}

Status lockUninvoicedDelivery(QSqlDatabase db, int inc)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s = exec(q, QStringLiteral("select facturee from livraison where inc=? for update"), {inc}); !s)
        return s;
    if (!q.next()) return Error::notFound(deliveryGoneMessage());
    if (q.value(0).toString() == QLatin1String("OUI")) return Error::refusal(invoicedMeanwhileMessage());
    return {};
}

Status saveDelivery(QSqlDatabase db, int inc, const QSqlRecord &asRead, const QVariantMap &edited)
{
    QVariantMap values = edited;
    const auto text = [&](const char *column) {
        const QString c = QLatin1String(column);
        return values.contains(c) ? values.value(c).toString() : asRead.value(c).toString();
    };
    const auto number = [&](const char *column) {
        const QString c = QLatin1String(column);
        const QVariant v = values.contains(c) ? values.value(c) : asRead.value(c);
        return v.isNull() ? 0.0 : v.toDouble();
    };
    const bool readInvoiced = asRead.value(QStringLiteral("facturee")).toString() == QLatin1String("OUI");

    return inTransaction(db, [&]() -> Status {
        if (!readInvoiced) {
            if (Status s = lockUninvoicedDelivery(db, inc); !s) return s;
        }
        // the quantities beside the tonnage, in the species' units as they stand now
        auto species = readSpeciesUnits(db, text("essence"));
        if (!species) return species.error();
        const DeliveryQuantities q =
            deliveryQuantities(species->has_value() ? &**species : nullptr, text("unite_defaut"), text("unite_liv"),
                               text("unite_conso"), number("tonnage"), number("qte_pefc"));
        const QVariant tonnage = values.contains(QStringLiteral("tonnage")) ? values.value(QStringLiteral("tonnage"))
                                                                            : asRead.value(QStringLiteral("tonnage"));
        values.insert(QStringLiteral("qte_liv_totale"), tonnage);
        values.insert(QStringLiteral("qte_defaut_totale"), q.qteDefautTotale);
        values.insert(QStringLiteral("qte_defaut_pefc"), q.qteDefautPefc);
        values.insert(QStringLiteral("qte_conso"), q.qteConso);

        // A total agrees with its factors: when the user changed one of them, any of them changed
        // meanwhile on another workstation refuses the save; so they are all compared, changed or not.
        static const QStringList together{
            QStringLiteral("tonnage"),    QStringLiteral("humidite"),   QStringLiteral("unite"),
            QStringLiteral("prix_tonne"), QStringLiteral("prix_mwh"),   QStringLiteral("mwh"),
            QStringLiteral("total_mwh"),  QStringLiteral("prix_total"), QStringLiteral("qte_pefc"),
            QStringLiteral("essence"),    QStringLiteral("unite_conso")};
        QList<ColumnChange> changes;
        for (const auto &[column, caption] : deliveryEditorColumns()) {
            const QVariant read = asRead.value(column);
            const bool changed = values.contains(column) && !sameStoredValue(read, values.value(column));
            if (changed) changes.append({column, read, values.value(column), caption});
            else if (together.contains(column)) changes.append({column, read, read, caption});
        }
        return saveLockedRow(db, QStringLiteral("livraison"), QStringLiteral("inc"), inc, changes, together);
    });
}

Result<QVariant> deleteDelivery(QSqlDatabase db, int inc)
{
    QVariant nLot;
    const Status done = inTransaction(db, [&]() -> Status {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (Status s = exec(q, QStringLiteral("select n_lot from livraison where inc=? for update"), {inc}); !s)
            return s;
        if (!q.next()) return Error::notFound(deliveryGoneMessage());
        nLot = q.value(0);
        auto deleted = execute(db,
                               QStringLiteral("delete from livraison where inc=? and (facturee is null or "
                                              "facturee<>'OUI')"),
                               {inc});
        if (!deleted) return deleted.error();
        if (*deleted == 0) return Error::refusal(invoicedDeleteRefusal());
        if (auto actions = execute(db, QStringLiteral("delete from liste_action_liv where inc_cde=?"), {inc}); !actions)
            return actions.error();
        return {};
    });
    if (!done) return done.error();
    return nLot;
}

Result<DataTable> deliveryCosts(QSqlDatabase db, int inc)
{
    return selectTable(db,
                       QStringLiteral("select '€' as n1,type1,i_nom,i_cout,inc from liste_action_liv where inc_cde=? "
                                      "order by type1,inc"),
                       {inc});
}

Result<QVariant> lorryCoefficient(QSqlDatabase db)
{
    return scalar(db, QStringLiteral("select coef_camion from perso limit 1"));
}

} // namespace ravelin
