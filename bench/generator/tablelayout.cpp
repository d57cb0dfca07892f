#include "tablelayout.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace ravelin::bench::layout {

// Application core: settings, counters, users and rights, post-it notes.
const TableLayout perso{"perso",
                        {"nom",
                         "adresse",
                         "adresse1",
                         "ville",
                         "cp",
                         "siret",
                         "ape",
                         "tva_intra",
                         "commentaire",
                         "commentaire_fac",
                         "pefc",
                         "tel",
                         "fax",
                         "email",
                         "facebook",
                         "twitter",
                         "humidite_defaut",
                         "coef_surface_tonne",
                         "cvo",
                         "transporteur_prevu",
                         "centre_carte",
                         "unite_defaut",
                         "cout_broyage_tonne",
                         "cout_transport",
                         "coef_camion",
                         "tps_dechargement",
                         "version_UPDATE"},
                        true};
const TableLayout increment{
    "increment", {"n_lot", "num_bl", "num_facture", "num_intervenant_possible", "num_contact"}, true};
const TableLayout motPasse{"mot_passe", {"Utilisateur", "Mot_passe", "email", "email1", "email2"}};
const TableLayout detailMotPasse{"detail_mot_passe", {"Utilisateur", "Page", "Autorisation"}};
const TableLayout postit{
    "postit", {"utilisateur", "message1", "message2", "message3", "message4", "message5", "Date_postit", "origine"}};

// Reference lists.
const TableLayout essence{"essence", {"essence", "code", "m3", "T", "Stere", "pourcent_ecorce"}};
const TableLayout qualite{"qualite", {"qualite"}};
const TableLayout classe{"classe", {"classe", "dia_mini", "dia_maxi"}};
const TableLayout coef{"coef", {"inc", "designation", "coef"}};
const TableLayout acheteur{"acheteur", {"acheteur"}};
const TableLayout familleIntervenant{"famille_intervenant", {"famille_intervenant"}};
const TableLayout listeTva{"liste_tva", {"inc", "tva"}};
const TableLayout listeReglement{"liste_reglement", {"inc", "reglement", "nb_jour", "fin_mois", "jour_apres"}};

// Contractors, contacts, customer places and storage zones.
const TableLayout intervenantPossible{"intervenant_possible",
                                      {"num_intervenant_possible", "societe", "famille_intervenant", "cout_tonne",
                                       "cout_heure", "cout_volume", "cout_surface", "cout_stere", "commentaire",
                                       "pefc"}};
const TableLayout contact{"contact",
                          {"num_contact", "num_intervenant_possible", "civilite", "Nom", "prenom", "tel", "portable",
                           "fax", "email", "fonction", "Divers", "password", "login"}};
const TableLayout destination{
    "destination",
    {"client",         "destination", "stockage",      "adresse",      "adresse1", "cp",           "ville",
     "pays",           "client_fac",  "adresse_fac",   "adresse1_fac", "cp_fac",   "ville_fac",    "pays_fac",
     "nom1",           "fonction1",   "tel1",          "portable1",    "email1",   "nom2",         "fonction2",
     "tel2",           "portable2",   "email2",        "unite",        "cout_mwh", "cout_tonne",   "pefc",
     "inc_tva",        "tva_intra",   "inc_reglement", "commentaire",  "latitude", "tonnage_maxi", "tonnage_inventaire",
     "date_inventaire"}};

// Cutting lots: lots, owners and their estimates, volume lines, logs, contractor work.
const TableLayout coupe{
    "coupe",
    {"inc",          "n_lot",      "indice_lot", "type_achat", "groupe_essence", "coupe_fini",       "date_achat",
     "lieu",         "adresse",    "cp",         "latitude",   "commentaire",    "date_alerte",      "date_fin",
     "nom",          "N_parcelle", "acheteur",   "surface",    "prix_achat",     "abattage_cout",    "cvo",
     "coef",         "coef_cvo",   "estimation", "cout_total", "debardage_cout", "remise_etat_cout", "fin_pied",
     "fin_abattage", "sur_pied",   "abattage",   "debardage",  "total_grume",    "total_grume_livre"}};
const TableLayout proprietaire{
    "proprietaire",
    {"N_lot",       "indice_lot", "nom",        "type_proprietaire", "date_achat", "n_parcelle",    "acheteur",
     "pro_adresse", "pro_cp",     "pro_ville",  "pro_tel",           "pefc",       "achat_fixe",    "prix_achat",
     "prix_estime", "coef_cvo",   "cvo",        "cout_total",        "estimation", "abattage_cout", "pro_paye",
     "surface",     "coef",       "coupe_fini", "prix_unit"}};
const TableLayout proprietaireEssence{"proprietaire_essence",
                                      {"N_lot", "indice_lot", "nom", "essence", "qualite", "unite", "unite_defaut",
                                       "qte", "qte_reel", "qte_defaut", "prix_unit", "prix_total", "long", "m3_reel"}};
const TableLayout grumeVolume{"grume",
                              {"inc",
                               "N_lot",
                               "indice_lot",
                               "descriptif",
                               "essence",
                               "qualite",
                               "m3",
                               "tonne",
                               "stere",
                               "qte",
                               "unite",
                               "unite_defaut",
                               "qte_defaut",
                               "qte_livree",
                               "qte_livree_defaut",
                               "broyage_reel",
                               "volume_livre",
                               "volume_livre_stock",
                               "volume_transfert",
                               "fin_pied",
                               "fin_abattage",
                               "sur_pied",
                               "abattage",
                               "debardage",
                               "abattage_cout",
                               "debardage_cout",
                               "remise_etat_cout",
                               "lieu",
                               "date_creation",
                               "livree"}};
const TableLayout grumeLog{"grume",
                           {"inc", "N_lot", "indice_lot", "descriptif", "n_grume", "essence", "qualite", "classe",
                            "diametre", "longueur", "pourcent_ecorce", "m3_sur_ecorce", "m3", "lieu", "date_creation",
                            "date_lieu", "stock", "livree", "inc_cde"}};
const TableLayout intervention{"intervention",
                               {"N_lot", "indice_lot", "id", "type1", "I_nom", "i_date", "qte_action", "unite_action",
                                "prix_unit_action", "i_cout", "i_nb_heure", "fac_fournisseur"}};

// Orders of logs and firewood.
const TableLayout cde{"cde",
                      {"inc",
                       "creation",
                       "type_cde",
                       "client",
                       "destination",
                       "adresse_liv",
                       "cp_liv",
                       "ville_liv",
                       "pays_liv",
                       "n_cde_client",
                       "corps_cde",
                       "date_cde",
                       "date_souhaitee",
                       "unite_defaut",
                       "unite_liv",
                       "qte_liv_totale",
                       "qte_defaut_totale",
                       "volume_cde",
                       "grume_livree",
                       "prix_vente",
                       "prix_vente_facture",
                       "total_cout_action",
                       "livree",
                       "facturee",
                       "num_facture"}};
const TableLayout listeGrumeCde{
    "liste_grume_cde",
    {"inc",        "inc_cde",     "descriptif",      "date_creation", "lieu",          "essence",
     "qualite",    "qte_liv",     "unite_liv",       "prix_unit",     "prix_total",    "unite_defaut",
     "qte_defaut", "unite_conso", "qte_conso",       "choix_depart",  "n_lot",         "id",
     "stock",      "stock_buche", "inc_stock_buche", "stock_essence", "stock_qualite", "stock_unite",
     "stock_qte"}};
const TableLayout listeActionCde{"liste_action_cde",
                                 {"inc_cde", "I_nom", "type1", "i_date", "qte_action", "unite_action",
                                  "prix_unit_action", "i_cout", "n_lot", "id", "fac_fournisseur"}};

// Transfers and the firewood stock.
const TableLayout transfert{"transfert",
                            {"inc", "creation", "date_transfert", "type_transfert", "depart", "destination",
                             "type_destination", "unite_defaut", "corps_cde", "grume_livree", "volume_cde",
                             "qte_defaut_totale", "qte_liv_totale", "prix_vente", "prix_vente_facture",
                             "total_cout_action"}};
const TableLayout listeGrumeTransfert{"liste_grume_transfert",
                                      {"inc_transfert",
                                       "descriptif",
                                       "date_creation",
                                       "lieu",
                                       "depart",
                                       "destination",
                                       "type_transfert",
                                       "unite_defaut",
                                       "n_lot",
                                       "id",
                                       "essence",
                                       "qualite",
                                       "unite_conso",
                                       "qte_conso",
                                       "unite_depart",
                                       "inc_stock_buche",
                                       "qualite_destination",
                                       "qte_liv",
                                       "unite_liv",
                                       "qte_defaut",
                                       "inc_coef",
                                       "coef"}};
const TableLayout listeActionTransfert{"liste_action_transfert",
                                       {"inc_transfert", "I_nom", "type1", "i_date", "qte_action", "unite_action",
                                        "prix_unit_action", "i_cout", "n_lot", "id", "fac_fournisseur"}};
const TableLayout stockBuche{"stock_buche",
                             {"inc", "destination", "essence", "qualite", "n_lot", "id", "unite_stock", "unite_defaut",
                              "qte_theorique_restante", "qte_defaut", "qte_inventaire", "date_inventaire"}};

// Chip deliveries.
const TableLayout livraison{"livraison",
                            {"inc",
                             "creation",
                             "operation",
                             "date_livraison",
                             "depart",
                             "destination",
                             "n_lot",
                             "indice_lot",
                             "id",
                             "essence",
                             "qualite",
                             "unite_liv",
                             "unite_defaut",
                             "unite_conso",
                             "tonnage",
                             "qte_liv_totale",
                             "qte_defaut_totale",
                             "qte_pefc",
                             "qte_defaut_pefc",
                             "qte_conso",
                             "humidite",
                             "mwh",
                             "unite",
                             "prix_tonne",
                             "prix_mwh",
                             "total_mwh",
                             "prix_total",
                             "ticket",
                             "verifie",
                             "facturee",
                             "num_facture",
                             "chargeoir",
                             "lettre_voiture",
                             "lieu_pesage",
                             "transporteur_prevu",
                             "commentaire",
                             "broyeur_prix_unit",
                             "prix_transport_unit"}};
const TableLayout listeActionLiv{"liste_action_liv",
                                 {"inc_cde", "n_lot", "type1", "I_nom", "i_date", "qte_action", "unite_action",
                                  "prix_unit_action", "i_cout", "km_route", "temps_route", "fac_fournisseur"}};

// Invoicing.
const TableLayout factureEntete{
    "facture_entete",
    {"num_facture", "type_fac",  "date_fac", "echeance",      "destination", "client",       "adresse",    "adresse1",
     "cp",          "ville",     "pays",     "client_fac",    "adresse_fac", "adresse1_fac", "cp_fac",     "ville_fac",
     "pays_fac",    "tva_intra", "inc_tva",  "inc_reglement", "montant_ht",  "montant_tva",  "montant_ttc"}};
const TableLayout factureCorps{
    "facture_corps",
    {"inc_facture", "type1", "inc_liv", "date_liv", "type_liv", "destination", "unite_vente", "total_ht"}};
const TableLayout factureCorpsDetail{"facture_corps_detail",
                                     {"inc_facture", "inc_corps", "origine", "inc_source", "date_liv", "n_lot",
                                      "essence", "qualite", "qte_liv", "unite_liv", "prix_unit", "prix_total",
                                      "humidite", "total_mwh", "pefc", "descriptif", "unit_defaut", "qte_defaut",
                                      "designation"}};

} // namespace ravelin::bench::layout

namespace ravelin::bench {

const std::vector<const TableLayout *> &allLayouts()
{
    using namespace layout;
    static const std::vector<const TableLayout *> all{&perso,
                                                      &motPasse,
                                                      &detailMotPasse,
                                                      &postit,
                                                      &essence,
                                                      &qualite,
                                                      &classe,
                                                      &coef,
                                                      &acheteur,
                                                      &familleIntervenant,
                                                      &listeTva,
                                                      &listeReglement,
                                                      &intervenantPossible,
                                                      &contact,
                                                      &destination,
                                                      &coupe,
                                                      &proprietaire,
                                                      &proprietaireEssence,
                                                      &grumeVolume,
                                                      &grumeLog,
                                                      &intervention,
                                                      &cde,
                                                      &listeGrumeCde,
                                                      &listeActionCde,
                                                      &transfert,
                                                      &listeGrumeTransfert,
                                                      &listeActionTransfert,
                                                      &stockBuche,
                                                      &livraison,
                                                      &listeActionLiv,
                                                      &factureEntete,
                                                      &factureCorps,
                                                      &factureCorpsDetail,
                                                      &increment};
    return all;
}

QStringList generatedTables()
{
    QStringList tables;
    for (const TableLayout *l : allLayouts()) {
        const QString t = QString::fromLatin1(l->table);
        if (!tables.contains(t)) tables << t;
    }
    return tables;
}

QStringList checkLayouts(QSqlDatabase db, QStringList *unfilled)
{
    QStringList problems;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    for (const QString &table : generatedTables()) {
        q.prepare(QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS "
                                 "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? ORDER BY ORDINAL_POSITION"));
        q.addBindValue(table);
        if (!q.exec()) {
            problems << QStringLiteral("%1: %2").arg(table, q.lastError().text());
            continue;
        }
        QStringList schemaColumns;
        while (q.next()) schemaColumns << q.value(0).toString();
        if (schemaColumns.isEmpty()) {
            problems << QStringLiteral("table %1 is not in the schema").arg(table);
            continue;
        }
        QSet<QString> schemaLower, filled;
        for (const QString &c : schemaColumns) schemaLower.insert(c.toLower());
        for (const TableLayout *l : allLayouts()) {
            if (table != QLatin1String(l->table)) continue;
            for (const char *c : l->columns) {
                const QString name = QString::fromLatin1(c).toLower();
                filled.insert(name);
                if (!schemaLower.contains(name))
                    problems << QStringLiteral("column %1.%2 is not in the schema").arg(table, QLatin1String(c));
            }
        }
        if (unfilled) {
            for (const QString &c : schemaColumns)
                if (!filled.contains(c.toLower())) *unfilled << table + QLatin1Char('.') + c;
        }
    }
    return problems;
}

} // namespace ravelin::bench
