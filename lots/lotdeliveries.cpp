#include "lotdeliveries.h"

#include "formats.h"
#include "reportlayout.h"
#include "statements.h"

namespace ravelin {

Result<DataTable> readLotDeliveries(QSqlDatabase db, const QVariant &nLot, const std::optional<DatePeriod> &period)
{
    QVariantList values;
    const auto between = [&](const QString &column) {
        if (!period) return QString();
        // Before the day after the end, so that a moment later in the end day still counts.
        values << sqlDate(period->start) << sqlDate(period->end.addDays(1));
        return QStringLiteral(" and %1>=? and %1<?").arg(column);
    };

    QStringList lines;
    lines << QStringLiteral(
        "SELECT '€' as n0,inc_cde,'LIVRAISON'as type_cde,date_creation,descriptif,essence,qualite,m3,"
        "n_lot,lieu,qte_liv,qte_defaut,unite_liv,unite_defaut,prix_unit,prix_total,stock,"
        "(' ') as ticket,(' ') as lettre_voiture FROM liste_grume_cde");
    values << nLot;
    lines << QStringLiteral("where n_lot=? and (descriptif='GRUME1' or descriptif='VOLUME' )") +
                 between(QStringLiteral("date_creation"));
    lines << QStringLiteral("union all");
    lines << QStringLiteral("SELECT '€' as n0,(inc)as inc_cde,'PLAQUETTE'as type_cde,(date_livraison)as date_creation,"
                            "'RIEN' as descriptif,essence,");
    lines << QStringLiteral(
        "qualite,(qte_defaut_totale)as m3,n_lot,(destination) as lieu,qte_liv_totale,qte_defaut_totale,"
        "unite_liv,unite_defaut,'0' as prix_unit,prix_total,'PLA' as stock,ticket,lettre_voiture "
        "FROM livraison");
    values << nLot;
    lines << QStringLiteral("where n_lot=?") + between(QStringLiteral("date_livraison"));
    lines << QStringLiteral("union all");
    lines << QStringLiteral(
        "SELECT '€' as n0,inc_transfert,'TRANSFERT'as type_cde,date_creation,descriptif,essence,qualite,"
        "m3,n_lot,destination as lieu,qte_liv,qte_defaut,unite_liv,unite_defaut,prix_unit,prix_total,"
        "stock,(' ') as ticket,(' ') as lettre_voiture");
    lines << QStringLiteral(" FROM liste_grume_transfert");
    values << nLot;
    lines << QStringLiteral("where depart=? and type_transfert='COUPE'") + between(QStringLiteral("date_creation"));
    lines << QStringLiteral("order by date_creation");
    const QString sql = lines.join(QLatin1Char('\n'));

    return selectTable(db, sql, values);
}

ReportData lotDeliveriesData(const DataTable &deliveries, const QVariant &nLot, const QString &lieu,
                             const QString &adresse)
{
    ReportData data;
    data.setDataset(QStringLiteral("livraisons"), deliveries);
    data.setValue(QStringLiteral("n_lot"), nLot);
    data.setValue(QStringLiteral("lieu"), lieu);
    data.setValue(QStringLiteral("adresse"), adresse);
    return data;
}

Result<ReportDocument> layoutLotDeliveries(const ReportData &data)
{
    return layoutReport(lotDeliveriesTemplateName(), data);
}

} // namespace ravelin
