#pragma once

#include "pagedquerymodel.h"
#include "result.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace ravelin {

// The product lines of an order (rows of liste_grume_cde with descriptif "VOLUME"; "GRUME1" rows
// are read as product lines too) and the order totals derived from them.

// Where a product line's wood came from (choix_depart).
inline QString originLot()
{
    return QStringLiteral("COUPE");
}
inline QString originStock()
{
    return QStringLiteral("STOCK");
}
inline QString originElsewhere()
{
    return QStringLiteral("AUTRE");
}

inline QString invoicedAddRefusal()
{
    return QStringLiteral("Livraison facturée, impossible de rajouter des livraisons");
}
inline QString invoicedChangeRefusal()
{
    return QStringLiteral("Livraison facturée, impossible de modfifier des livraisons");
}
inline QString invoicedRemoveRefusal()
{
    return QStringLiteral("Livraison facturée, impossible de supprimer des livraisons");
}
inline QString lineGoneMessage()
{
    return QStringLiteral("Cette ligne a été supprimée sur un autre poste.");
}
inline QString totalsFailedMessage()
{
    return QStringLiteral("erreur 7");
}
inline QString speciesRequiredMessage()
{
    return QStringLiteral("Vous devez saisir une ESSENCE");
}
inline QString quantityRequiredMessage()
{
    return QStringLiteral("Vous devez saisir une quantité");
}
inline QString unitPriceRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un prix unitaire");
}
inline QString incorrectNumberMessage()
{
    return QStringLiteral("Saisie incorrecte");
}

// What detail_volume_cde gives for a line: what was sold and where it came from.
struct ProductLine
{
    QString origin = originLot(); // COUPE, STOCK or AUTRE
    QString essence;
    QString qualite;
    QVariant qteLiv;    // in the order's unit
    QVariant prixUnit;  // euros per order unit
    QString uniteConso; // the origin's unit (the default unit for AUTRE)
    // COUPE: the lot's volume line; STOCK: the stock's lot and id
    QString nLot;
    QVariant id;
    // STOCK
    QVariant incStockBuche;
    QString stockBuche; // the stock's place
    QString stockEssence;
    QString stockQualite;
    QString stockUnite;
};

// The first message of detail_volume_cde's "OK" for these values (an order sold in "Heure" needs
// no species), or an empty text. Quantity and price must be numbers ("Saisie incorrecte").
QString checkProductLine(const ProductLine &line, const QString &saleUnit);

// What stands around a new line in the editor: the order date and customer as shown.
struct LineContext
{
    QDateTime orderDate; // "Date Commande" as shown
    QString client;      // the order's customer as shown
    QString defaultUnit;
};

// The product lines of the order as the editor's grid shows them.
PagedQuery productLinesQuery(int incCde);

// Adds a product line in one transaction: the order locked (invoiced: invoicedAddRefusal()), the
// line written with its conversions (qte_defaut, qte_conso, stock_qte, prix_total), the stock
// moved for a STOCK line (a missing stock row refuses, naming it), the order's totals written
// from the sums of its product lines, the lot recomputed. Gives the line's inc.
Result<int> addProductLine(QSqlDatabase db, int incCde, const ProductLine &line, const LineContext &context);

// Changes quantity and unit price of a line, in one transaction; the changes of the stock are
// taken from the line as it stands under its lock (another workstation's change in between counts).
// The lot of the line is recomputed.
Status changeProductLine(QSqlDatabase db, int lineInc, const QVariant &qteLiv, const QVariant &prixUnit);

// Removes a line in one transaction, giving its quantity back to its stock. A stock row that is
// not there any more does not stop the removal: its message comes back as a warning.
struct RemovedLine
{
    QString warning; // empty when nothing to say
};
Result<RemovedLine> removeProductLine(QSqlDatabase db, int lineInc);

// Writes the order's six line totals from the sums of its product lines, rounded to 2 decimals
// (qte_liv_totale, qte_defaut_totale, volume_cde, grume_livree, prix_vente, prix_vente_facture).
Status writeOrderLineTotals(QSqlDatabase db, int incCde);

// The totals of the order's logs (table grume): volume rounded to 2 decimals and count.
struct OrderLogTotals
{
    double volume = 0;
    int count = 0;
};
Result<OrderLogTotals> readOrderLogTotals(QSqlDatabase db, int incCde);

} // namespace ravelin
