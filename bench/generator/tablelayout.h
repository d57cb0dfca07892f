#pragma once

#include <QSqlDatabase>
#include <QStringList>

#include <string>
#include <vector>

namespace ravelin::bench {

// The columns the generator fills in one table, in the order its rows give them. Every table
// and column the generator writes is named in tablelayout.cpp and nowhere else: a schema
// change is followed there, and checkLayouts() tells which names no longer match.
struct TableLayout
{
    const char *table;
    std::vector<const char *> columns;
    bool oneRowUpdate = false; // perso and increment: their one row is updated, not inserted
};

namespace layout {
extern const TableLayout perso, increment, motPasse, detailMotPasse, postit;
extern const TableLayout essence, qualite, classe, coef, acheteur, familleIntervenant, listeTva, listeReglement;
extern const TableLayout intervenantPossible, contact, destination;
extern const TableLayout coupe, proprietaire, proprietaireEssence, grumeVolume, grumeLog, intervention;
extern const TableLayout cde, listeGrumeCde, listeActionCde;
extern const TableLayout transfert, listeGrumeTransfert, listeActionTransfert, stockBuche;
extern const TableLayout livraison, listeActionLiv;
extern const TableLayout factureEntete, factureCorps, factureCorpsDetail;
} // namespace layout

// Every layout, in the order the generator loads them.
const std::vector<const TableLayout *> &allLayouts();

// The tables the generator writes (each once).
QStringList generatedTables();

// Compares the layouts with the columns of the open database. Gives the problems (a table or
// column the generator names that the schema lacks) and, in `unfilled`, the schema's columns
// that no layout fills, for information.
QStringList checkLayouts(QSqlDatabase db, QStringList *unfilled);

} // namespace ravelin::bench
