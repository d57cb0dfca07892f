#pragma once

#include "result.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace ravelin {

struct SpeciesUnits;

// The owners of a cutting lot (`proprietaire`) and their species estimates
// (`proprietaire_essence`). The owners' estimates are the source of the lot's volume lines, and
// their amounts are summed into the lot; every change below writes those derived lot columns at
// once, in the same transaction as the change itself.

QStringList ownerTypes();       // "ONF", "PROPRIETAIRE", "EXPERT", "EXPLOITANT", "AUTRE"
QStringList speciesLineUnits(); // "m3", "T", "Stere"

inline QString finishedLotMessage()
{
    return QStringLiteral("Action impossible sur une COUPE de BOIS \"TERMINE\"");
}
inline QString ownerNameApostropheMessage()
{
    return QStringLiteral("Ne pas mettre d'apostrophe sur le NOM DU PROPRIETAIRE !!!");
}
inline QString ownerNameRequiredMessage()
{
    return QStringLiteral("Vous devez saisir un nom de propriétaire");
}
inline QString speciesRequiredMessage()
{
    return QStringLiteral("Vous devez choisir une essence ");
}
inline QString qualityRequiredMessage()
{
    return QStringLiteral("Vous devez choisir une qualite ");
}
inline QString unitRequiredMessage()
{
    return QStringLiteral("Vous devez choisir une unité ");
}

// One owner row. Amounts are null when empty, as the screen leaves them.
struct Owner
{
    int inc = 0; // 0 for an owner not yet written
    int nLot = 0;
    int indiceLot = 1;
    QString nom;
    QString typeProprietaire;
    QDate dateAchat;
    QString nParcelle;
    QString acheteur;
    QString proAdresse;
    QString proCp;
    QString proVille;
    QString proTel;
    QString pefc;
    QString achatFixe = QStringLiteral("OUI");
    QVariant prixAchat;
    QVariant prixEstime;
    QVariant coefCvo;
    QVariant cvo;
    QVariant coutTotal;
    QVariant estimation;
    QVariant abattageCout;
    QString proPaye = QStringLiteral("Faux");
    QVariant surface;
    QVariant coef;
    QString coupeFini = QStringLiteral("NON");
    QVariant prixUnit;
};

// A new owner of the lot: bought today at a fixed price, not paid, with the levy rate and the
// tonnes per unit of surface of the settings (perso.cvo, perso.coef_surface_tonne).
Owner newOwner(int nLot, int indiceLot, const QSqlRecord &settings, const QDate &today);
Result<Owner> loadOwner(QSqlDatabase db, int inc);

// The owner cost ("Calcul COÛT"), from the sums of the owner's species lines: the estimation and
// the estimated price; then, at a fixed price ("OUI"), the levy on the purchase price and a cost
// equal to it, the estimated price emptied; otherwise the levy on the estimated price and a cost
// equal to it, the purchase price emptied. A levy without its rate or its price is 0.00.
struct OwnerSpeciesSums
{
    double qteDefaut = 0;
    double prixTotal = 0;
};
void applyOwnerCost(Owner &owner, const OwnerSpeciesSums &sums);
Result<OwnerSpeciesSums> ownerSpeciesSums(QSqlDatabase db, int nLot, const QString &nom);

// "( soit 12,50 Tonnes )" for a surface and a coefficient above 0, "..." otherwise.
QString surfaceTonnesText(const QVariant &surface, const QVariant &coef);

// Writes the lot's columns that follow its owners and volume lines: prix_achat, surface, cvo and
// abattage_cout (sums over the owners), nom and N_parcelle (joined with " + " in name order, after
// any change alike), acheteur (the
// non-empty buyers joined with "+"), estimation and cout_total. Texts are cut to the columns'
// length. One statement.
Status updateLotFromOwners(QSqlDatabase db, int nLot);

// The lot's columns that follow its owners and volume lines, as written: prix_achat, surface, cvo,
// abattage_cout, nom, N_parcelle, acheteur, estimation, cout_total, total_grume, total_grume_livre.
// An empty record when the lot does not exist.
Result<QSqlRecord> readLotDerivedColumns(QSqlDatabase db, int nLot);

// Writes a new owner and updates the lot, in one transaction; gives the owner's key.
Result<int> createOwner(QSqlDatabase db, const Owner &owner);
// Writes what the user changed in the owner read as `asRead` (its name never changes) and updates
// the lot, in one transaction. A change another workstation made meanwhile to another field is
// kept; one to the same field, or to the cost while the user changed it, is refused
// (ChangedElsewhere, naming the fields); an owner deleted meanwhile is reported (NotFound).
Status updateOwner(QSqlDatabase db, const Owner &asRead, const Owner &owner);
// Deletes the owner in one transaction: its species lines zeroed, the lot's volume lines rebuilt
// (which deletes the lines left at zero), the owner row deleted, the lot updated.
Status deleteOwner(QSqlDatabase db, int inc);

// The owner grid of the lot editor, in name order: inc, type_proprietaire, nom, N_parcelle,
// estimation, cout_total, pro_adresse, pro_ville, pro_cp.
Result<QSqlQuery> lotOwnersQuery(QSqlDatabase db, int nLot);
// An owner's species lines: essence, qualite, qte, unite, qte_reel, long, prix_unit, n1 ("€"),
// prix_total, unite_defaut, qte_defaut, nom, N_lot, indice_lot.
Result<QSqlQuery> ownerSpeciesQuery(QSqlDatabase db, int nLot, const QString &nom);

// One species estimate of an owner. The table has no key: a line is known by its lot, owner,
// species, quality and unit, which never change once written.
struct SpeciesLine
{
    int nLot = 0;
    int indiceLot = 1;
    QString nom;
    QString essence;
    QString qualite;
    QString unite;
    QString uniteDefaut;
    QVariant qte;
    QVariant qteReel;
    QVariant qteDefaut;
    QVariant prixUnit;
    QVariant prixTotal;
    QString comment; // column `long`
};

SpeciesLine newSpeciesLine(int nLot, int indiceLot, const QString &nom, const QString &defaultUnit);
SpeciesLine speciesLineFrom(const QSqlRecord &row);

// The price of the line: quantity x unit price to 2 decimals, or nothing when one is empty.
std::optional<double> speciesLineTotal(const QVariant &qte, const QVariant &prixUnit);

// Completes a line before it is written: an empty real quantity takes the estimated one, the total
// price is computed, and the real quantity is converted into the default unit with the species'
// coefficients (`units` null when the species has none: the conversion then gives 0).
void completeSpeciesLine(SpeciesLine &line, const SpeciesUnits *units);

// Writes a new species line (completed with the species' coefficients), then, in the same
// transaction, the owner's stored cost, the lot's volume lines rebuilt and the lot updated.
Status createSpeciesLine(QSqlDatabase db, SpeciesLine line);
// The same for a changed line; `original` is the row as it was read and names it. Only the
// changed fields are written; the quantities, prices and total are refused together when another
// workstation changed any of them (ChangedElsewhere), a line deleted meanwhile is reported
// (NotFound).
Status updateSpeciesLine(QSqlDatabase db, const SpeciesLine &original, SpeciesLine changed);

} // namespace ravelin
