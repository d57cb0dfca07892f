#pragma once

#include "boundquery.h"
#include "pagedquerymodel.h"
#include "result.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <optional>

namespace ravelin {

// Statements and rules on table `grume`: the logs of a lot (descriptif "GRUME") and its volume
// lines (descriptif "VOLUME").

// ---------------------------------------------------------------------------------------------
// Logs

// Volume of a log from its mean diameter (cm), length (m) and bark share (percent), with the
// factor 3.1415 of the older program, rounded to 3 decimals. Over bark needs the diameter and the
// length; under bark needs the bark share too (0 must be typed).
struct LogVolume
{
    std::optional<double> overBark;  // m3_sur_ecorce
    std::optional<double> underBark; // m3
};
LogVolume logVolume(std::optional<double> diameter, std::optional<double> length, std::optional<double> barkShare);

// The diameter classes (table `classe`, bounds inclusive), by dia_mini.
struct DiameterClassBounds
{
    QString classe;
    std::optional<double> mini; // dia_mini; a class without bounds covers nothing
    std::optional<double> maxi; // dia_maxi
};
Result<QList<DiameterClassBounds>> readDiameterClasses(QSqlDatabase db);
// The class covering `diameter` among `classes` (read by dia_mini): the first whose bounds hold
// it, so the one with the lowest dia_mini on a shared limit; nothing when none covers it.
std::optional<QString> classForDiameter(const QList<DiameterClassBounds> &classes, double diameter);
// The same, the classes read from the database.
Result<std::optional<QString>> diameterClass(QSqlDatabase db, double diameter);

// One log row as the log entry screen edits it.
struct LogRecord
{
    int inc = 0; // 0 for a log not yet written
    int nLot = 0;
    int indiceLot = 1;
    QString nGrume;
    QString essence;
    QString qualite;
    QString classe;
    QVariant diametre;
    QVariant longueur;
    QVariant pourcentEcorce;
    QVariant m3SurEcorce;
    QVariant m3;
    QString lieu;
    QDate dateCreation;
    QDate dateLieu;
};

inline QString logNumberRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un N° de Grume");
}
inline QString logVolumeRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un volume");
}

// A new log of the lot: today's dates, the lot's town, no stock.
LogRecord newLog(int nLot, int indiceLot, const QString &lieu, const QDate &today);
Result<LogRecord> loadLog(QSqlDatabase db, int inc);
// Writes a new log (descriptif "GRUME", stock empty) and gives its inc.
Result<int> insertLog(QSqlDatabase db, const LogRecord &log);
// Writes what the user changed in the log read as `asRead`. A change another workstation made
// meanwhile to another field is kept; one to the same field, or to the volume or its factors
// while the user changed them, is refused (ChangedElsewhere, naming the fields); a log deleted
// meanwhile is reported (NotFound).
Status updateLog(QSqlDatabase db, const LogRecord &asRead, const LogRecord &log);

inline QString logTakenByOrderMessage(int order)
{
    return QStringLiteral("Grume prise par la commande n° %1 : suppression impossible.").arg(order);
}
// Deletes a log; a log an order took (its inc_cde, or an order line naming it) is refused with
// logTakenByOrderMessage().
Status deleteLog(QSqlDatabase db, int inc);
// Deletes every log of the lot, or none when an order took one of them (refused as above). Its
// volume lines stay: orders, deliveries, transfers and contractor work point at them.
Result<int> deleteLotLogs(QSqlDatabase db, int nLot);

// The log list of a lot (screen grume_coupe), read a page at a time (a big lot has thousands).
PagedQuery lotLogsQuery(int nLot, int indiceLot);

// Total volume of the lot's listed logs and of those delivered, in m3.
struct LogTotals
{
    double total = 0;
    double delivered = 0;
    double available() const { return total - delivered; }
};
Result<LogTotals> readLogTotals(QSqlDatabase db, int nLot, int indiceLot);
// Writes the totals into the lot's total_grume and total_grume_livre in one statement, then reads
// them back.
Result<LogTotals> updateLotLogTotals(QSqlDatabase db, int nLot, int indiceLot);

// What is still there of the lot per diameter class (the slices of "Qualité (dispo)"), volumes
// rounded to 2 decimals. Rows of the lot without a class, volume lines included, fall under an
// empty label.
struct ClassVolume
{
    QString classe;
    double volume = 0;
};
Result<QList<ClassVolume>> availableVolumeByClass(QSqlDatabase db, int nLot);

// ---------------------------------------------------------------------------------------------
// Log inquiry (info_grume)

struct LogInquiry
{
    QString logNumber;         // "N° Grume", a whole number
    QString lotNumber;         // "N° Coupe", a whole number
    bool availableOnly = true; // "DISPONIBLE ( non livrée )"
};
inline QString incorrectEntryMessage()
{
    return QStringLiteral("Saisie incorrecte");
}
// The logs found, read a page at a time (every free log of twenty years is a long list). A number
// that is not whole gives incorrectEntryMessage(). The log number is looked for as the text it is
// stored as, as typed and without its leading zeros ("012" finds "012" and "12").
Result<PagedQuery> logInquiryQuery(const LogInquiry &inquiry);
// The lot of the selected log ("Lieu parcelle", "Adresse parcelle"...): lieu, adresse, cp, n_lot,
// type_achat; an empty record when there is no such lot.
Result<QSqlRecord> lotSummary(QSqlDatabase db, const QVariant &nLot);
// The order that took the log: inc, facturee, livree, n_cde_client, date_souhaitee, date_cde,
// type_cde, adresse_liv, cp_liv, ville_liv, pays_liv, client; empty when there is none.
Result<QSqlRecord> orderSummary(QSqlDatabase db, const QVariant &incCde);

// ---------------------------------------------------------------------------------------------
// Volume lines

// The volume lines of a lot for the lot editor: a0 delivered, a1 available, a3 available in the
// default unit, a4 delivered in the default unit, with the wood state of each line.
BoundQuery lotVolumeLinesQuery(int nLot);

// Lot picker liste_n_lot.
enum class VolumeLineSort { Species, Place, LotNumber };
struct VolumeLineSearch
{
    QString species; // "Essence"
    QString lots;    // "N° Coupe ": one number or several joined with "+" ("11+10+20")
    QString place;   // "Lieu"
    VolumeLineSort sort = VolumeLineSort::Species;
};
// "11+10+20" → 11, 10, 20; one number alone; empty parts skipped. A part that is not a whole number
// gives incorrectEntryMessage().
Result<QList<qint64>> parseLotList(const QString &lots);

// Available volume lines of all lots, one row per line. A lot number that is not whole gives
// incorrectEntryMessage().
Result<BoundQuery> volumeLinePickerQuery(const VolumeLineSearch &search);

// The row the picker returns; callers copy what they need (n_lot, essence, inc into their `id`,
// unite...).
struct VolumeLineChoice
{
    int nLot = 0;
    QString essence;
    QString qualite;
    int inc = 0;
    QString unite;
    QString uniteDefaut;
    QString lieu;
    QString adresse;
    QString cp;
    double m3 = 0;  // quantity, line by line rounded to units
    double a0 = 0;  // delivered
    double a1 = 0;  // available
    double d3 = 0;  // quantity in the default unit
    double d11 = 0; // available in the default unit
};
VolumeLineChoice volumeLineChoice(const QSqlRecord &row);

// Product detail list liste_grume_detail: the rows of `grume` not delivered, of one descriptif,
// optionally of one species and one lot, by quantity.
struct AvailableLinesFilter
{
    QString descriptif = QStringLiteral("VOLUME");
    std::optional<QString> essence;
    std::optional<QString> nLot;
};
BoundQuery availableLinesDetailQuery(const AvailableLinesFilter &filter);

} // namespace ravelin
