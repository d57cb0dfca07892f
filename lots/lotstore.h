#pragma once

#include "boundquery.h"
#include "pagedquerymodel.h"
#include "result.h"
#include "servererrors.h"
#include "statements.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>

namespace ravelin {

// Statements and rules on table `coupe`, the cutting lots.

enum class LotSort { Date, Number, Place, PurchaseType };

// The filters of the lot tab as the user left them.
struct LotSearch
{
    QString number;            // "N° Coupe"
    QString town;              // "Commune"
    QString name;              // "Nom"
    QString buyer;             // "Acheteur"
    bool showFinished = false; // "Revoir les Coupes de bois terminées"
    LotSort sort = LotSort::Number;
};

inline QString lotNumberFilterRefusal()
{
    return QStringLiteral("Saisie incorrecte, pas de \" ' \" ");
}

// The list of the lot tab, read a page at a time: the columns the grid shows, plus `inc` and what
// the row colours need. An apostrophe in the number filter is refused with
// lotNumberFilterRefusal().
Result<PagedQuery> lotSearchQuery(const LotSearch &search);

// Colour of a lot's row, decided in this order, a later rule overriding an earlier one: alert
// date reached, end date reached, lot finished. Dates are compared as days.
enum class LotRowColour { None, Alert, Ended, Finished };
LotRowColour lotRowColour(const QVariant &dateAlerte, const QVariant &dateFin, const QVariant &coupeFini,
                          const QDate &today);

// Purchase types as the creation dialog offers them (the first is the default of a new lot).
QStringList creationPurchaseTypes();
// Purchase types as the lot editor offers them; the editor spells the first "SUR PIED".
QStringList editorPurchaseTypes();

// The lot's felled and skidded percentages that a purchase type implies.
struct PurchaseShares
{
    int finPied = 0;
    int finAbattage = 0;
};
std::optional<PurchaseShares> purchaseTypeShares(const QString &type);

// A new lot before it is written: what the creation dialog lets the user choose and the
// coefficients copied from the settings.
struct NewLot
{
    QString typeAchat = QStringLiteral("SUR PIEDS");
    QString groupeEssence = QStringLiteral("NON");
    QVariant coef;    // perso.coef_surface_tonne
    QVariant coefCvo; // perso.cvo
};
NewLot newLotDefaults(const QSqlRecord &settings);

inline QString lotNumberIncorrectMessage()
{
    return QStringLiteral("N° coupe incorrect");
}
// Also what a duplicate on the unique index of coupe.n_lot says (core/servererrors.h).
inline QString lotNumberExistsMessage()
{
    return lotNumberTakenMessage();
}

struct CreatedLot
{
    int inc = 0;
    int nLot = 0;
    bool counterTaken = false;
};

// Writes a new lot under the number the user typed (a whole number of 1 to 8 digits). The
// existence test, the counter and the insert run in one transaction that first locks the
// counters row, so two workstations cannot both create the same number; the unique index on
// coupe.n_lot stands behind it. The counter `n_lot` is taken only when the number is the next
// one it would hand out; another free number leaves it untouched.
Result<CreatedLot> createLot(QSqlDatabase db, const NewLot &lot, const QString &typedNumber);

// The lot row ("select * from coupe where inc=").
Result<QSqlRecord> loadLot(QSqlDatabase db, int inc);

// Writes the given columns of the lot row (only columns the screens edit; n_lot never changes). A
// lot deleted meanwhile on another workstation is reported (ErrorKind::NotFound).
Status saveLotChanges(QSqlDatabase db, int inc, const QVariantMap &changes);

// Writes what the lot editor changed, each column compared with the value it read: a change
// another workstation made meanwhile to another column is kept, one to the same column (or to the
// purchase type and its percentages while the user changed them) is refused (ChangedElsewhere,
// naming the fields), a lot deleted meanwhile is reported (NotFound) and nothing is written.
Status saveLot(QSqlDatabase db, int inc, const QList<ColumnChange> &changes);

// The purchase date of the lot's first owner in name order; null when the lot has no owner.
Result<QVariant> firstOwnerPurchaseDate(QSqlDatabase db, int nLot);

// Deletes the lot with its logs and volume lines, contractor work, owner species lines and
// owners, in one transaction. Orders, deliveries and transfers that name the lot stay.
Status deleteLot(QSqlDatabase db, int inc, int nLot);

inline QString lotCounterWarning()
{
    return QStringLiteral("ATTENTION, veuillez vérifier le dernier numéro de LOT dans la page Paramètres logiciel "
                          "pour ne pas perdre un  numéro de LOT !");
}

// The effect of the editor's "Terminé :" field on the lot's `grume` rows. Finished: every log and
// volume line of the lot is marked delivered. Not finished: the mark is cleared, except on the
// logs an order took (`inc_cde` set, or named by an order line of the lot).
Status applyLotFinished(QSqlDatabase db, int nLot, bool finished);

} // namespace ravelin
