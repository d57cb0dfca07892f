#pragma once

#include "contractorrates.h"
#include "pagedquerymodel.h"
#include "result.h"
#include "statements.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace ravelin {

// Transfers (table `transfert`) move wood from a lot, a firewood stock or elsewhere into a storage
// zone; their lines (`liste_grume_transfert`) move the firewood stocks at once and the lot they
// come from is recomputed; their contractor actions (`liste_action_transfert`) carry the costs.

// Origins ("Origine") and destination kinds.
inline QString transferFromLot()
{
    return QStringLiteral("COUPE");
}
inline QString transferFromStock()
{
    return QStringLiteral("STOCK");
}
inline QString transferFromElsewhere()
{
    return QStringLiteral("AUTRE");
}
inline QString toFirewoodZone()
{
    return QStringLiteral("STOCK");
}
inline QString toChipZone()
{
    return QStringLiteral("STOCK_PLAQUETTE");
}

inline QString destinationRequiredMessage()
{
    return QStringLiteral("Vous devez saisir une destination");
}
inline QString departureRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un depart");
}
// A line, its stock move or the transfer's totals could not be written.
inline QString lineWriteFailedMessage()
{
    return QStringLiteral("erreur 2");
}
inline QString transferTotalsFailedMessage()
{
    return QStringLiteral("erreur 7");
}

// ---------------------------------------------------------------------------------------------
// List liste_transfert

enum class TransferSort { Date, Departure, Destination };

struct TransferSearch
{
    QString depart;      // contains
    QString destination; // exact
    QDate start;         // included
    QDate end;           // included, the whole day
    TransferSort sort = TransferSort::Date;
};

PagedQuery transferListQuery(const TransferSearch &search);
// The lines of a transfer (the list's panel and the editor's grid), by N_grume.
PagedQuery transferLinesQuery(int incTransfert);
// The actions of a transfer, by date.
PagedQuery transferActionsQuery(int incTransfert);

// ---------------------------------------------------------------------------------------------
// Header

struct NewTransfer
{
    QString typeTransfert;   // COUPE, STOCK or AUTRE
    QString depart;          // lot number, firewood zone or free text
    QString destination;     // zone
    QString typeDestination; // STOCK or STOCK_PLAQUETTE
    QString defaultUnit;
};

// The two checks of ouverture_transfert, in order; an empty text when both pass.
QString checkNewTransfer(const NewTransfer &transfer);
// Writes the transfer (creation 0, dated now) and gives its number from the insert.
Result<int> createTransfer(QSqlDatabase db, const NewTransfer &transfer,
                           const QDateTime &now = QDateTime::currentDateTime());
Result<QSqlRecord> readTransfer(QSqlDatabase db, int inc);
// "OK" of detail_transfert: the date and the free text, each only when changed and still as read;
// a transfer re-dated re-dates its lines (the chip stock counts them by date_creation).
Status saveTransferHeader(QSqlDatabase db, int inc, const QList<ColumnChange> &changes);

// What a change of lines leaves to say after it is written: a stock row no longer there (its
// quantity not given back or taken), a lot whose recomputation failed.
struct TransferOutcome
{
    int inc = 0;
    QStringList warnings;
};

// Deletes the transfer with its lines and actions in one transaction, each line giving back its
// stock move first; then recomputes the lots it touched.
Result<TransferOutcome> deleteTransfer(QSqlDatabase db, int inc);

// ---------------------------------------------------------------------------------------------
// Lines

struct TransferLine
{
    QString nLot;
    QVariant id;
    QString essence;
    QString qualite;
    QString uniteConso;
    QVariant qteConso;
    QString uniteDepart;
    QVariant incStockBuche;
    QString qualiteDestination;
    QVariant qteLiv;
    QString uniteLiv;
    QVariant incCoef = 1;
    QVariant coef = 0;
};

// The checks of detail_volume_transfert's "OK", in order; an empty text when all pass.
QString checkTransferLine(const TransferLine &line, bool destinationQualityShown);

// "Calcul correspondance pour consommation": qte_defaut = the deposit in the default unit;
// qte_conso = (1 − coef ÷ 100) × the deposit in the origin's unit.
struct LineConversion
{
    double qteDefaut = 0;
    double qteConso = 0;
};
Result<LineConversion> convertTransferLine(QSqlDatabase db, const QString &essence, const QString &defaultUnit,
                                           const QString &uniteConso, const QString &uniteLiv, double qteLiv,
                                           double coef);

// The coefficients offered (inc, designation, coef), by designation.
struct CoefChoice
{
    int inc = 0;
    QString designation;
    double coef = 0;
};
Result<QList<CoefChoice>> coefChoices(QSqlDatabase db);

// Adds a line to the transfer; the line, its stock move and the totals in one transaction, the
// lot recomputed after. A failure leaves nothing written (message "erreur 2", or "erreur 7" for
// the totals, with the server's text).
Result<TransferOutcome> addTransferLine(QSqlDatabase db, int incTransfert, const TransferLine &line);
// The quantities and the coefficient of a line: the line re-read under lock, the stock moved by
// the differences from what it holds. A line gone meanwhile: noRecordMessage(), nothing moved.
Result<TransferOutcome> changeTransferLine(QSqlDatabase db, int lineInc, const QVariant &qteConso,
                                           const QVariant &qteLiv, const QVariant &incCoef, const QVariant &coef);
// Removes the line, giving its quantities back first.
Result<TransferOutcome> removeTransferLine(QSqlDatabase db, int lineInc);

// ---------------------------------------------------------------------------------------------
// Actions (liste_action_transfert)

QStringList transferActionTypes();

using TransferAction = ContractorAction;

Result<int> addTransferAction(QSqlDatabase db, int incTransfert, const TransferAction &action);
Status changeTransferAction(QSqlDatabase db, int incTransfert, int actionInc, const QList<ColumnChange> &changes);
Status removeTransferAction(QSqlDatabase db, int incTransfert, int actionInc);

} // namespace ravelin
