#include "otheranalyses.h"

#include "formats.h"
#include "searchpattern.h"
#include "statements.h"

#include <QLocale>

#include <cmath>

namespace ravelin {

PagedQuery cvoQuery(const QDate &start, const QDate &end, const QString &nom)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc, nom as Nom, lieu as Lieu, cvo as CVO, date_achat as Date_achat, n_lot as N_lot, "
                               "indice_lot as Indice_lot, cp as CP, adresse, N_parcelle");
    q.from = QStringLiteral("coupe");
    q.where = QStringLiteral("cvo>0 and date_achat>=? and date_achat<?");
    q.values = {sqlDate(start), sqlDate(end.addDays(1))};
    if (!nom.isEmpty()) {
        q.where += QStringLiteral(" and nom like ?");
        q.values << containsPattern(nom);
    }
    q.key = QStringLiteral("inc");
    q.orderBy = {QStringLiteral("date_achat"), QStringLiteral("nom")};
    return q;
}

Result<DataTable> readCvo(QSqlDatabase db, const PagedQuery &query)
{
    return selectTable(db,
                       QStringLiteral("select ") + query.columns + QStringLiteral(" from ") + query.from +
                           QStringLiteral(" where ") + query.where + QStringLiteral(" order by ") +
                           query.orderBy.join(QStringLiteral(", ")) + QStringLiteral(", ") + query.key,
                       query.values);
}

Result<DataTable> readWeighingPlaces(QSqlDatabase db, const QDate &start, const QDate &end)
{
    return selectTable(
        db,
        QStringLiteral("select count(*) as nb, lieu_pesage from livraison where lieu_pesage is not null "
                       "and date_livraison>=? and date_livraison<? group by lieu_pesage order by lieu_pesage"),
        {sqlDate(start), sqlDate(end.addDays(1))});
}

PagedQuery weighingPlaceDeliveriesQuery(const QString &place, const QDate &start, const QDate &end)
{
    PagedQuery q;
    q.columns = QStringLiteral("inc, lieu_pesage, operation, date_livraison, tonnage, depart, destination");
    q.from = QStringLiteral("livraison");
    q.where = QStringLiteral("lieu_pesage=? and date_livraison>=? and date_livraison<?");
    q.values = {place, sqlDate(start), sqlDate(end.addDays(1))};
    q.key = QStringLiteral("inc");
    q.orderBy = {QStringLiteral("date_livraison")};
    q.keyIndex = QStringLiteral("idx_livraison_lieu_pesage");
    return q;
}

PefcPeriod pefcPeriod(const QDate &today)
{
    const QDate first(today.year(), today.month(), 1);
    return {first.addMonths(-11), today};
}

Result<PefcMonths> readPefcMonths(QSqlDatabase db, const PefcPeriod &period)
{
    const QVariantList values{sqlDate(period.start), sqlDate(period.end.addDays(1))};
    PefcMonths months;
    auto purchases = selectTable(
        db,
        QStringLiteral(
            "select round(sum(A.m3_reel),2) as total_m3, "
            "round(sum(A.m3_reel*if(B.pefc='' or B.pefc is null, 0, 1)),2) as total_m3_pefc, "
            "round(sum(A.m3_reel*if(B.pefc='' or B.pefc is null, 0, 1))/sum(A.m3_reel)*100,2) as pourcent_pefc, "
            "year(B.date_achat) as y1, month(B.date_achat) as m1 from proprietaire_essence A "
            "join proprietaire B on B.nom=A.nom and B.n_lot=A.n_lot join coupe C on C.n_lot=A.n_lot "
            "where B.date_achat>=? and B.date_achat<? group by y1, m1 order by y1, m1"),
        values);
    if (!purchases) return purchases.error();
    months.purchases = *purchases;
    auto sales = selectTable(
        db,
        QStringLiteral("select round(sum(A.qte_defaut_totale),2) as total_m3, "
                       "round(sum(ifnull(A.qte_defaut_pefc,0)),2) as total_m3_pefc, "
                       "round(sum(ifnull(A.qte_defaut_pefc,0))/sum(A.qte_defaut_totale)*100,2) as pourcent_pefc, "
                       "year(A.date_livraison) as y1, month(A.date_livraison) as m1 from livraison A "
                       "where A.date_livraison>=? and A.date_livraison<? group by y1, m1 order by y1, m1"),
        values);
    if (!sales) return sales.error();
    months.sales = *sales;
    return months;
}

namespace {

int rowOfMonth(const DataTable &t, int month)
{
    for (int r = 0; r < t.rowCount(); ++r)
        if (t.value(r, QStringLiteral("m1")).toInt() == month) return r;
    return -1;
}

QString quantity(double v)
{
    return formatNumber(v, QStringLiteral("0.00"));
}

QString percent(double v)
{
    return formatNumber(v, QStringLiteral("0")) + QLatin1Char('%');
}

// A cell as displayed, read back as a number ("12,00", "33%", "0").
double shown(const QString &text)
{
    QString t = text;
    t.remove(QLatin1Char('%'));
    bool ok = false;
    const double v = parseDecimal(t, &ok);
    return ok && std::isfinite(v) ? v : 0;
}

} // namespace

PefcTable pefcTable(const PefcMonths &months, const QDate &today)
{
    PefcTable t;
    t.titles = {QString(),
                QStringLiteral("ACHAT/mois"),
                QStringLiteral("Qte achat Bois"),
                QStringLiteral("Qte achat PEFC"),
                QStringLiteral("% PEFC / mois"),
                QStringLiteral("CUMUL sur 12 Mois"),
                QStringLiteral("Qte totale Entrée"),
                QStringLiteral("Qte PEFC Entrée"),
                QStringLiteral("% PEFC glissant/12 Mois"),
                QStringLiteral("VENTES PLAQU./mois"),
                QStringLiteral("Qte totale Vendue"),
                QStringLiteral("Qte PEFC théorique"),
                QStringLiteral("Qte PEFC réelle vendue"),
                QStringLiteral("% PEFC vendu / mois"),
                QStringLiteral("Crédit PEFC du Mois"),
                QStringLiteral("Crédit PEFC CUMULE / 12 Mois")};
    for (int r = 0; r < 16; ++r) t.cells.append(QStringList(12, QString()));
    const QLocale french = frenchLocale();
    double runningIn = 0, runningPefcIn = 0, runningCredit = 0;
    for (int k = 0; k < 12; ++k) {
        const QDate month = today.addMonths(-(11 - k));
        t.cells[0][k] = french.toString(month, QStringLiteral("MMM yy"));
        const int p = rowOfMonth(months.purchases, month.month());
        const int s = rowOfMonth(months.sales, month.month());
        auto value = [](const DataTable &table, int row, const char *column) -> QVariant {
            return row < 0 ? QVariant() : table.value(row, QString::fromLatin1(column));
        };
        auto quantityOrZero = [&](const QVariant &v) {
            return v.isNull() ? QStringLiteral("0") : quantity(v.toDouble());
        };
        auto percentOrZero = [&](const QVariant &v) {
            return v.isNull() ? QStringLiteral("0%") : percent(v.toDouble());
        };
        t.cells[2][k] = p < 0 ? QStringLiteral("0") : quantityOrZero(value(months.purchases, p, "total_m3"));
        t.cells[3][k] = p < 0 ? QStringLiteral("0") : quantityOrZero(value(months.purchases, p, "total_m3_pefc"));
        t.cells[4][k] = p < 0 ? QStringLiteral("0") : percentOrZero(value(months.purchases, p, "pourcent_pefc"));
        runningIn += shown(t.cells[2][k]);
        runningPefcIn += shown(t.cells[3][k]);
        t.cells[6][k] = quantity(runningIn);
        t.cells[7][k] = quantity(runningPefcIn);
        const double in = shown(t.cells[6][k]);
        const double pefcIn = shown(t.cells[7][k]);
        t.cells[8][k] = in != 0 ? percent(pefcIn / in * 100) : QStringLiteral("0");
        t.cells[10][k] = s < 0 ? QStringLiteral("0") : quantityOrZero(value(months.sales, s, "total_m3"));
        t.cells[11][k] = in != 0 ? quantity(shown(t.cells[10][k]) * pefcIn / in) : QStringLiteral("0");
        t.cells[12][k] = s < 0 ? QStringLiteral("0") : quantityOrZero(value(months.sales, s, "total_m3_pefc"));
        t.cells[13][k] = s < 0 ? QStringLiteral("0") : percentOrZero(value(months.sales, s, "pourcent_pefc"));
        t.cells[14][k] = quantity(shown(t.cells[3][k]) - shown(t.cells[12][k]));
        runningCredit += shown(t.cells[14][k]);
        t.cells[15][k] = quantity(runningCredit);
    }
    return t;
}

DataTable pefcDataTable(const PefcTable &table)
{
    QStringList columns{QStringLiteral("titre")};
    for (int k = 0; k < 12; ++k) columns << QStringLiteral("m%1").arg(k + 1);
    DataTable out(columns);
    for (int r = 1; r < table.cells.size(); ++r) {
        QVariantList row{table.titles.value(r)};
        for (const QString &cell : table.cells[r]) row << cell;
        out.addRow(row);
    }
    return out;
}

} // namespace ravelin
