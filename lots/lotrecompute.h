#pragma once

#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace ravelin {

// The progress recomputation of one cutting lot. Every operation that changes what a lot has or
// what has left it calls it with the lot number: owner estimates (with the rebuild), order lines,
// chip deliveries and transfer lines (without). It keeps the lot's volume lines (`grume` rows with
// descriptif "VOLUME") true:
//  - rebuild: the volume lines are rebuilt from the owners' species lines, added together per
//    species, quality and unit when the lot groups them (`groupe_essence` "OUI"), otherwise taken
//    line by line; lines and species lines left at zero are deleted, except a volume line that an
//    order line, a chip delivery, a transfer line or a work row still points at;
//  - always: per volume line, what left it (A sold from the lot, B chips delivered, C transferred
//    to a stock, D sold from that stock; grouped sums converted into the line's unit) and the wood
//    still standing, felled and skidded.
// The lot's row is locked for the whole run, so two workstations recomputing the same lot follow
// each other instead of creating the same volume line twice. The number of statements sent does
// not depend on the number of volume lines, order lines, deliveries or transfer lines.

enum class Rebuild { No, Yes };

// Recomputes lot `nLot` in a transaction of its own (retried on a deadlock). A lot number of 0 or
// less does nothing. With the rebuild, a lot that does not exist gives missingLotMessage().
Status recomputeLot(QSqlDatabase db, int nLot, Rebuild rebuild = Rebuild::No);

// The same for a lot number as callers hold it (a grid cell, a text field): empty, not a whole
// number, or 0 or less does nothing and succeeds.
Status recomputeLot(QSqlDatabase db, const QVariant &nLot, Rebuild rebuild = Rebuild::No);

// Several lots in one transaction (an order line moved from one lot to another), locked in
// ascending order so that two workstations cannot hold them crosswise. Numbers of 0 or less are
// skipped, repeated numbers recomputed once.
Status recomputeLots(QSqlDatabase db, QList<int> lots, Rebuild rebuild = Rebuild::No);

// The recomputation for callers that already hold a transaction on `db` (a write and the
// recomputation it calls for, standing or falling together). Starts no transaction itself.
Status recomputeLotInTransaction(QSqlDatabase db, int nLot, Rebuild rebuild);

// A lot number read from a value; nothing for empty, non-whole or not above 0.
std::optional<int> lotNumberOf(const QVariant &value);

// " Coupe "12" inexistante"
QString missingLotMessage(int nLot);
// "Mise à jour Coupe de bois n° 12 en cours ..."
QString recomputeProgressText(int nLot);

// The main window's progress label: the handler receives recomputeProgressText() when a
// recomputation starts and an empty text when it ends (whatever its outcome). Gives the
// previous handler; an empty one shows nothing.
using RecomputeProgressHandler = std::function<void(const QString &text)>;
RecomputeProgressHandler setRecomputeProgressHandler(RecomputeProgressHandler handler);

// ---------------------------------------------------------------------------------------------
// The rules, without the database.

// One species line of an owner, as the rebuild reads it.
struct OwnerEstimate
{
    QString nom;
    QString essence;
    QString qualite;
    QString unite;
    double qteReel = 0; // an empty real quantity counts as 0
};

// One volume line the rebuild will write: its key and quantity in its unit (not yet rounded).
struct PlannedVolumeLine
{
    QString essence;
    QString qualite;
    QString unite;
    double quantity = 0;
};

// The volume lines that the owners' species lines give. Grouped: one line per species, quality and
// unit, the sum of the real quantities. Not grouped: the lines with a quantity of zero first, then
// the others in owner name order, a later line of the same species, quality and unit replacing an
// earlier one; the result does not depend on the order the rows were read in. Species, quality and
// unit are matched as the database compares them (no case, no accents, trailing spaces ignored).
QList<PlannedVolumeLine> planVolumeLines(QList<OwnerEstimate> estimates, bool grouped);

// The key under which two names fall on the same line.
QString volumeLineKey(const QString &essence, const QString &qualite, const QString &unite);

// What left one volume line, each sum already converted into the line's unit.
struct LineOutflows
{
    double soldFromLot = 0;    // A
    double chipsDelivered = 0; // B
    double transferred = 0;    // C
    double soldFromStock = 0;  // D
};

// The figures the recomputation writes into one volume line (qte_livree_defaut apart: it needs
// the species' units). Empty percentages count as 0 and are written as 0.
struct LineProgressFigures
{
    double broyageReel = 0;
    double qteLivree = 0;
    double volumeLivre = 0;
    double volumeLivreStock = 0;
    double volumeTransfert = 0;
    double finPied = 0;
    double finAbattage = 0;
    double surPied = 0;
    double abattage = 0;
    double debardage = 0;
};
LineProgressFigures lineProgress(double qte, std::optional<double> finPied, std::optional<double> finAbattage,
                                 const LineOutflows &out);

// ---------------------------------------------------------------------------------------------
// The progress chart of the lot tab: what it shows of each volume line.

struct ProgressLine
{
    QString essence;
    QString qualite;
    QString unite;
    double qte = 0;
    double qteLivree = 0; // empty counts as 0
    double available = 0; // qte - qte_livree, to 3 decimals
    double surPied = 0;
    double abattage = 0;
    double debardage = 0;
    double broyageReel = 0;
    double volumeLivre = 0;
    double volumeTransfert = 0;
    double volumeLivreStock = 0;
    int finPied = 0; // truncated to whole numbers
    int finAbattage = 0;
};

struct LotProgress
{
    QList<ProgressLine> lines; // in the order the lines were created
    QString commentaire;       // the lot's comments
};

Result<LotProgress> readLotProgress(QSqlDatabase db, int nLot);

} // namespace ravelin
