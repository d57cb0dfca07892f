#pragma once

#include "pagedquerymodel.h"
#include "result.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace ravelin {

// The contractor directory `intervenant_possible` and the contact persons `contact`. Actions
// recorded elsewhere name a contractor by its company name `societe`, which therefore never
// changes once written and is never shared by two contractors.

enum class ContractorSort { BySociete, ByFamille };

struct Contractor
{
    int number = 0; // num_intervenant_possible; 0 for a contractor not yet written
    QString societe;
    QString famille;
    // Default unit costs in euros; null when not entered.
    QVariant coutTonne;
    QVariant coutHeure;
    QVariant coutVolume;
    QVariant coutSurface;
    QVariant coutStere;
    QString commentaire;
    QString pefc;
    // The columns as read (filled by readContractor): a save compares with these, null and empty
    // text told apart.
    QVariantMap stored;
};

// The directory search, read a page at a time: contractors numbered above 0, the number matched as
// a substring of `numberText` ("1" finds 1, 10, 21...), the family as a substring of `familyText`,
// ordered by company or by family (then number). Columns: num_intervenant_possible, societe,
// famille_intervenant, cout_tonne, cout_heure, cout_surface, cout_volume, cout_stere.
PagedQuery searchContractors(const QString &numberText, const QString &familyText, ContractorSort sort);

Result<Contractor> readContractor(QSqlDatabase db, int number);

inline QString companyNameExistsMessage()
{
    return QStringLiteral("Nom de societe dejà existant !!!");
}

// Writes a new contractor with the next number of the counter and gives that number. The name
// test, the counter and the insert hold the counter row locked until they commit, so that two
// workstations never write the same name or receive the same number; a name already written
// leaves the counter as it was.
Result<int> createContractor(QSqlDatabase db, const Contractor &contractor);

// Writes the fields of `contractor` that differ from `asRead` (the contractor as the editor read
// it), each only while the row still holds the value read; the company name and the number never
// change. A field another workstation changed meanwhile is refused with its caption, a contractor
// deleted meanwhile is reported; nothing is written then.
Status updateContractor(QSqlDatabase db, const Contractor &asRead, const Contractor &contractor);

// Deletes the contractor and its contacts together. Its actions in other tables stay.
Status deleteContractor(QSqlDatabase db, int number, const QString &societe);

struct Contact
{
    int inc = 0;        // 0 for a contact not yet written
    int numContact = 0; // num_contact: taken from the counter when the contact is written
    int contractor = 0; // num_intervenant_possible
    QString civilite;
    QString nom;
    QString prenom;
    QString tel;
    QString portable;
    QString fax;
    QString email;
    QString fonction;
    QString divers;
    QString password;
    // The columns as read (filled by readContact), as for Contractor::stored.
    QVariantMap stored;
};

// The contacts of one contractor, ordered by name then first name (then inc). Columns: inc,
// num_contact, civilite, nom, prenom, portable, Tel, Fonction, email, Divers.
PagedQuery contactsOf(int contractor);

Result<Contact> readContact(QSqlDatabase db, int inc);

inline QString contactPasswordExistsMessage()
{
    return QStringLiteral("mot de passe dèjà existant !");
}

// True when another contact (not the row `inc`; 0 for a new contact) has this password. An empty
// password is never taken.
Result<bool> contactPasswordTaken(QSqlDatabase db, const QString &password, int inc);

// Writes a new contact with the next number of the counter; gives it back with its key and number.
Result<Contact> createContact(QSqlDatabase db, const Contact &contact);

// Writes the fields of the contact `contact.inc` that differ from `asRead`, as updateContractor
// does (its number and contractor stay as they are). The password is tested again under the lock
// that keeps two workstations' tests apart.
Status updateContact(QSqlDatabase db, const Contact &asRead, const Contact &contact);

Status deleteContact(QSqlDatabase db, int inc);

// The actions of the contractor named `societe` (matched exactly) between two dates, both
// included, on orders, chip deliveries, transfers and lots, most recent first; actions without a
// quantity are left out. Columns: fac_fournisseur, a (kind), b (contractor), c (lot), d (lot
// index), e (date), f (quantity as a whole number), g (cost), h, i (operation), j (unit), and inc
// (the action's key in its own table).
PagedQuery contractorActions(const QString &societe, const QDate &start, const QDate &end);

} // namespace ravelin
