#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace ravelin {

// The rules every invoice and credit note follows, without the database: amounts in cents, the
// due date from a payment mode, the invoice-date rule and the messages the screens show.

// What a payment mode says about the due date (a row of liste_reglement).
struct PaymentTerms
{
    int days = 0;       // nb_jour
    QString endOfMonth; // fin_mois: "FIN de MOIS" or "NET"
    int dayAfter = 0;   // jour_apres
};

// E = date + days; "FIN de MOIS": the first day of the month after E's, plus dayAfter - 1 days
// (dayAfter 0 is the last day of E's month, 10 the 10th of the next month); otherwise E. Nothing
// when the date cannot be computed (no date, a term beyond the calendar).
std::optional<QDate> dueDate(const QDate &invoiceDate, const PaymentTerms &terms);

// An amount in euros as whole cents, half away from zero; inf and NaN give 0.
qint64 toCents(double euros);
double fromCents(qint64 cents);

// The three amounts of a document, in cents, so that HT + TVA = TTC to the cent.
struct InvoiceAmounts
{
    qint64 ht = 0;
    qint64 tva = 0;
    qint64 ttc = 0;
};

// TVA = HT x rate / 100 rounded half away from zero to the exact cent (the rate is read to four
// decimals, so 23.00 at 5.5 % is 1.27, where a product of doubles gives 1.26); TTC = HT + TVA.
InvoiceAmounts invoiceAmounts(qint64 htCents, double ratePercent);

// The credit note's amounts: the exact negatives.
InvoiceAmounts negated(const InvoiceAmounts &amounts);

// The refusal when an invoice would be dated before the latest one; nothing when the date is
// accepted (the same day is) or when there is no invoice yet.
std::optional<QString> invoiceDateRefusal(const QDate &chosen, const QDate &latest);

inline QString dueDateErrorMessage()
{
    return QStringLiteral("Erreur sur calcul de l'echéance !");
}
inline QString missingVatRateMessage()
{
    return QStringLiteral("Vous devez saisir un taux de TVA");
}
inline QString missingPaymentModeMessage()
{
    return QStringLiteral("Vous devez saisir un mode de règlement");
}
inline QString nothingSelectedMessage()
{
    return QStringLiteral("Vous n'avez pas selectionné de livraison à facturer !");
}
inline QString alreadyCreditNoteMessage()
{
    return QStringLiteral("Ceci est dèjà un AVOIR !, vous devez selectionner une FACTURE à passer en AVOIR.");
}
inline QString alreadyCreditedMessage()
{
    return QStringLiteral("Cette FACTURE a dèjà été passée en AVOIR !");
}
inline QString creditNoteQuestion()
{
    return QStringLiteral("Voulez vous créer un AVOIR à partir de cette FACTURE ?");
}
inline QString invoiceNumberFilterRefusal()
{
    return QStringLiteral("Saisie incorrecte");
}

// "Confirmez vous la création d'une facture de 1 234,50 € pour le client X ?"
QString invoiceConfirmation(qint64 totalCents, const QString &client);

} // namespace ravelin
