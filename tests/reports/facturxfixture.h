#pragma once

#include "appfixture.h"

namespace ravelin::test {

// The documents of the e-invoice tests:
// - 8001, an invoice of chips by the MWh, logs by the stere and an hour of chipping, at 5.5 %,
//   paid by transfer to the company's IBAN;
// - 8002, the credit note of its chips line, naming invoice 8001;
// - 8003, an invoice the e-invoice refuses: rate 0 %, unit "Palette", country "Narnia" (and no
//   SIRET when a test clears it).
inline void loadFacturXDocuments(AppFixture &f)
{
    f.run(QStringLiteral(
        "update perso set nom='Bois du Morvan', adresse='2 route des Forges', siret='12345678900011', "
        "tva_intra='FR12345678901', cp='58000', ville='Nevers', email='contact@morvan.fr', tel='03 86 00 00 00', "
        "commentaire_fac='Pas d''escompte', iban='FR7630006000011234567890189', bic='AGRIFRPP'"));
    f.run(QStringLiteral("insert into liste_tva (inc, tva) values (1, 5.5), (2, 0)"));
    f.run(QStringLiteral(
        "insert into liste_reglement (inc, reglement, code_paiement) values (1, 'Virement à 30 jours', '30')"));
    f.run(QStringLiteral(
        "insert into facture_entete (num_facture, type_fac, date_fac, echeance, client_fac, adresse_fac, cp_fac, "
        "ville_fac, pays_fac, tva_intra, inc_tva, inc_reglement, montant_ht, montant_tva, montant_ttc, "
        "facture_origine) values "
        "(8001, 'FACTURE', '2024-03-31', '2024-04-30', 'Chaufferie SA', '3 rue du Four', '58000', 'Nevers', "
        "'France', 'FR99887766554', 1, 1, 1508.53, 82.97, 1591.5, null), "
        "(8002, 'AVOIR', '2024-04-02', '2024-04-02', 'Chaufferie SA', '3 rue du Four', '58000', 'Nevers', "
        "'', null, 1, 1, -1009.8, -55.54, -1065.34, 8001), "
        "(8003, 'FACTURE', '2024-04-03', null, 'Client Perdu', null, null, null, 'Narnia', null, 2, 1, 10, 0, "
        "10, null)"));
    f.run(QStringLiteral("insert into facture_corps (inc_facture, type1, inc_liv, date_liv) values "
                         "(8001, 'PLAQUETTE', 11, '2024-03-07'), (8001, 'GRUME', 12, '2024-03-08'), "
                         "(8002, 'PLAQUETTE', 11, '2024-03-07'), (8003, 'GRUME', 13, '2024-03-09')"));
    f.run(QStringLiteral(
        "insert into facture_corps_detail (inc_facture, inc_corps, origine, essence, qualite, qte_liv, unite_liv, "
        "prix_unit, prix_total, humidite, pefc) values "
        "(8001, 11, 'PLAQUETTE', 'Plaquette', 'P45', 33.66, 'MWH', 30, 1009.8, 35, 62.4), "
        "(8001, 12, 'GRUME/STERE', 'Chêne', 'B', 5, 'Stere', 50, 250, null, null), "
        "(8001, 12, 'PRESTATION', 'Broyage', '', 2.5, 'Heure', 99.492, 248.73, null, null), "
        "(8002, 11, 'PLAQUETTE', 'Plaquette', 'P45', -33.66, 'MWH', 30, -1009.8, 35, 62.4), "
        "(8003, 13, 'GRUME', 'Chêne', 'A', 1, 'Palette', 10, 10, null, null)"));
}

} // namespace ravelin::test
