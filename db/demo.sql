-- Demo data: a small wood and energy company of the Morvan, for a first look at the program.
-- Loaded after schema.sql on the same database. Quantities, prices, stocks and lot progress
-- are stored as the screens would have computed them (default unit m3).
SET NAMES utf8mb4;

-- company particulars and defaults
UPDATE perso SET
  nom = 'Bois et Énergie du Morvan',
  adresse = '12 route de Saulieu',
  adresse1 = 'ZA des Granges',
  ville = 'Montsauche-les-Settons',
  cp = '58230',
  siret = '812 345 678 00021',
  ape = '0220Z',
  tva_intra = 'FR27812345678',
  commentaire = 'SARL au capital de 80 000 € - RCS Nevers 812 345 678 - Exploitation forestière, bois bûche et plaquettes forestières',
  commentaire_fac = 'Pénalités de retard : trois fois le taux d’intérêt légal. Indemnité forfaitaire pour frais de recouvrement : 40 €. Pas d’escompte pour paiement anticipé. IBAN FR76 1020 7000 2104 0210 4567 890',
  pefc = '10-31-2187',
  tel = '03 86 84 52 10',
  fax = '03 86 84 52 11',
  email = 'contact@bois-energie-morvan.fr',
  facebook = 'https://www.facebook.com/boisenergiemorvan',
  twitter = '@BoisEnergieMorvan',
  humidite_defaut = 30,
  coef_surface_tonne = 150,
  cvo = 0.5,
  transporteur_prevu = 'Transports Morvan Bois',
  centre_carte = '47.2167,4.0167',
  cout_broyage_tonne = 6.5,
  cout_transport = 9.2,
  coef_camion = 25,
  tps_dechargement = 20;

-- users: admin holds every page, secretariat most of them, consultation only General
INSERT INTO mot_passe (inc, Utilisateur, Mot_passe, email, email1, email2) VALUES
(1, 'admin', 'admin', 'direction@bois-energie-morvan.fr', NULL, NULL),
(2, 'secretariat', 'secretariat', 'secretariat@bois-energie-morvan.fr', NULL, NULL),
(3, 'consultation', 'consultation', NULL, NULL, NULL);

-- page rights: one row per user and page
INSERT INTO detail_mot_passe (Utilisateur, `Page`, Autorisation) VALUES
('admin', 'Analyse', '1'),
('admin', 'Creer contact', '1'),
('admin', 'Creer coupe', '1'),
('admin', 'Creer essence qualite classe', '1'),
('admin', 'Creer facture', '1'),
('admin', 'Creer intervenant', '1'),
('admin', 'Creer livraison', '1'),
('admin', 'Creer mode de reglement', '1'),
('admin', 'Creer transfert', '1'),
('admin', 'Creer TVA', '1'),
('admin', 'Detail dossier', '1'),
('admin', 'Export', '1'),
('admin', 'Famille intervenant', '1'),
('admin', 'Famille tache', '1'),
('admin', 'General', '1'),
('admin', 'Gestion des mots de passes', '1'),
('admin', 'Liste destination', '1'),
('admin', 'Liste stockage', '1'),
('admin', 'Parametrage', '1'),
('admin', 'Planning', '1'),
('admin', 'Post it', '1'),
('admin', 'Prix de revient', '1'),
('admin', 'Solder cde', '1'),
('admin', 'Solder coupe', '1'),
('admin', 'Solder livraison', '1'),
('admin', 'Stock', '1'),
('admin', 'Supprimer enregistrement', '1'),
('admin', 'Transfert grume', '1'),
('secretariat', 'Analyse', '1'),
('secretariat', 'Creer contact', '1'),
('secretariat', 'Creer coupe', '1'),
('secretariat', 'Creer essence qualite classe', '1'),
('secretariat', 'Creer facture', '1'),
('secretariat', 'Creer intervenant', '1'),
('secretariat', 'Creer livraison', '1'),
('secretariat', 'Creer mode de reglement', '1'),
('secretariat', 'Creer transfert', '1'),
('secretariat', 'Creer TVA', '1'),
('secretariat', 'Detail dossier', '1'),
('secretariat', 'Export', '1'),
('secretariat', 'Famille intervenant', '1'),
('secretariat', 'Famille tache', '1'),
('secretariat', 'General', '1'),
('secretariat', 'Liste destination', '1'),
('secretariat', 'Liste stockage', '1'),
('secretariat', 'Planning', '1'),
('secretariat', 'Post it', '1'),
('secretariat', 'Prix de revient', '1'),
('secretariat', 'Solder cde', '1'),
('secretariat', 'Stock', '1'),
('secretariat', 'Transfert grume', '1'),
('secretariat', 'Gestion des mots de passes', '0'),
('secretariat', 'Parametrage', '0'),
('secretariat', 'Solder coupe', '0'),
('secretariat', 'Solder livraison', '0'),
('secretariat', 'Supprimer enregistrement', '0'),
('consultation', 'General', '1'),
('consultation', 'Analyse', '0'),
('consultation', 'Creer contact', '0'),
('consultation', 'Creer coupe', '0'),
('consultation', 'Creer essence qualite classe', '0'),
('consultation', 'Creer facture', '0'),
('consultation', 'Creer intervenant', '0'),
('consultation', 'Creer livraison', '0'),
('consultation', 'Creer mode de reglement', '0'),
('consultation', 'Creer transfert', '0'),
('consultation', 'Creer TVA', '0'),
('consultation', 'Detail dossier', '0'),
('consultation', 'Export', '0'),
('consultation', 'Famille intervenant', '0'),
('consultation', 'Famille tache', '0'),
('consultation', 'Gestion des mots de passes', '0'),
('consultation', 'Liste destination', '0'),
('consultation', 'Liste stockage', '0'),
('consultation', 'Parametrage', '0'),
('consultation', 'Planning', '0'),
('consultation', 'Post it', '0'),
('consultation', 'Prix de revient', '0'),
('consultation', 'Solder cde', '0'),
('consultation', 'Solder coupe', '0'),
('consultation', 'Solder livraison', '0'),
('consultation', 'Stock', '0'),
('consultation', 'Supprimer enregistrement', '0'),
('consultation', 'Transfert grume', '0');

-- a note waiting for the admin user
INSERT INTO postit (utilisateur, message1, message2, message3, message4, message5, Date_postit, origine) VALUES
('admin', 'Lot 2602 : l’ONF attend le solde du prix', 'avant le 15 décembre.', 'Chèque prêt à signer au bureau.', '', '', '03/12/2026 09:14:05', 'secretariat');

-- wood essences: m3 is the reference, T and Stere give the tonnes and steres worth one m3
INSERT INTO essence (essence, code, m3, T, Stere, pourcent_ecorce) VALUES
('Chêne', 'CH', 1, 1.05, 1.5, 12),
('Hêtre', 'HE', 1, 1, 1.5, 6),
('Charme', 'CA', 1, 1.05, 1.5, 5),
('Frêne', 'FR', 1, 1, 1.5, 9),
('Châtaignier', 'CT', 1, 0.95, 1.5, 12),
('Douglas', 'DO', 1, 0.85, 1.6, 12),
('Épicéa', 'EP', 1, 0.8, 1.6, 10),
('Sapin', 'SP', 1, 0.85, 1.6, 10),
('Pin sylvestre', 'PS', 1, 0.85, 1.6, 14),
('Mélèze', 'ME', 1, 0.85, 1.6, 12),
('Peuplier', 'PE', 1, 0.8, 1.6, 12),
('BOIS ENERGIE', 'BE', 1, 0.9, 1.4, 0);

-- wood qualities
INSERT INTO qualite (qualite) VALUES
('A'),
('B'),
('C'),
('D'),
('Charpente'),
('Palette'),
('Trituration'),
('Chauffage'),
('Bûche 33 cm'),
('Bûche 50 cm'),
('Bûche 1 m'),
('PLAQUETTE DE BOIS');

-- diameter classes (cm), bounds inclusive, the lower class wins on a shared bound
INSERT INTO classe (classe, dia_mini, dia_maxi) VALUES
('1a', 10, 15),
('1b', 15, 20),
('2a', 20, 25),
('2b', 25, 30),
('3a', 30, 35),
('3b', 35, 40),
('4', 40, 50),
('5', 50, 60),
('6', 60, 150);

-- transformation coefficients besides Aucun Coef
INSERT INTO coef (inc, designation, coef) VALUES
(2, 'Sciage bûche 33 cm / m3', 45),
(3, 'Sciage bûche 33 cm / tonne', -10),
(4, 'Sciage bûche 33 cm / stère', 23),
(5, 'Séchage bûche à 20 % humidité / m3', -11),
(6, 'Séchage bûche à 20 % humidité / tonne', -24),
(7, 'Séchage bûche à 20 % humidité / stère', -14);

-- buyers of cutting lots
INSERT INTO acheteur (acheteur) VALUES
('Jean-Marc Perrot'),
('Sophie Lambert'),
('Thierry Gauthier');

-- further contractor families
INSERT INTO famille_intervenant (famille_intervenant) VALUES
('CHARGEMENT'),
('FENDAGE'),
('REMISE EN ETAT');

-- VAT rates
INSERT INTO liste_tva (inc, tva) VALUES
(1, 20),
(2, 10),
(3, 5.5);

-- payment modes and terms
INSERT INTO liste_reglement (inc, reglement, nb_jour, fin_mois, jour_apres) VALUES
(1, 'Virement 30 jours fin de mois le 10', 30, 'FIN de MOIS', 10),
(2, 'Virement 30 jours net', 30, 'NET', 0),
(3, 'Virement 45 jours net', 45, 'NET', 0),
(4, 'Chèque à réception de facture', 0, 'NET', 0),
(5, 'Mandat administratif 30 jours', 30, 'NET', 0),
(6, 'LCR 60 jours fin de mois', 60, 'FIN de MOIS', 0);

-- contractors with their default rates
INSERT INTO intervenant_possible (num_intervenant_possible, societe, famille_intervenant, cout_tonne, cout_heure, cout_volume, cout_surface, cout_stere, pefc, commentaire) VALUES
(1, 'ETF Bouchard', 'ABATTAGE', 0, 55, 11.5, 0, 0, '10-31-2210', 'Abattage manuel et mécanisé, feuillus et résineux'),
(2, 'Forest Services Morvan', 'ABATTAGE', 0, 58, 13, 0, 0, NULL, 'Abatteuse 8 roues, intervient surtout en résineux'),
(3, 'Débardage Lemaire', 'DEBARDAGE', 8, 75, 8, 0, 9, '10-31-2230', 'Porteur et skidder'),
(4, 'Débardage Cheval Roussel', 'DEBARDAGE', 0, 50, 14, 0, 14, NULL, 'Débardage à cheval, zones sensibles et petits bois'),
(5, 'Broyage Nivernais', 'BROYAGE', 6.5, 180, 0, 0, 0, '10-31-2255', 'Broyeur 600 CV sur camion'),
(6, 'Transports Morvan Bois', 'TRANSPORT', 9.2, 85, 7, 0, 0, NULL, 'Semi fond mouvant 90 m3 et grumier'),
(7, 'Transports Perrin', 'TRANSPORT', 8.5, 80, 9.5, 0, 0, NULL, 'Grumiers, transport export Allemagne'),
(8, 'Fendage Lucas', 'FENDAGE', 0, 45, 0, 0, 12, NULL, 'Combiné scie-fendeuse, bûches 33 et 50 cm'),
(9, 'Travaux Forestiers Girard', 'REMISE EN ETAT', 0, 70, 0, 1.8, 0, NULL, 'Remise en état des chemins et places de dépôt');

-- contact persons of the contractors
INSERT INTO contact (inc, num_contact, num_intervenant_possible, civilite, Nom, prenom, tel, portable, fax, email, fonction, Divers, `password`, login) VALUES
(1, 1, 1, 'M.', 'Bouchard', 'Yannick', '03 86 78 41 02', '06 12 45 78 90', NULL, 'etf.bouchard@orange.fr', 'Gérant', NULL, NULL, NULL),
(2, 2, 2, 'M.', 'Chevalier', 'Romain', '03 86 22 10 45', '06 71 22 48 13', NULL, 'r.chevalier@fsmorvan.fr', 'Chef de chantier', NULL, NULL, NULL),
(3, 3, 2, 'Mme', 'Chevalier', 'Aurélie', '03 86 22 10 45', NULL, NULL, 'compta@fsmorvan.fr', 'Comptabilité', NULL, NULL, NULL),
(4, 4, 3, 'M.', 'Lemaire', 'Pascal', '03 85 82 33 17', '06 08 91 27 44', NULL, 'debardage.lemaire@wanadoo.fr', 'Gérant', NULL, NULL, NULL),
(5, 5, 4, 'M.', 'Roussel', 'Hervé', NULL, '06 32 57 19 80', NULL, 'cheval.roussel@gmail.com', 'Débardeur', NULL, NULL, NULL),
(6, 6, 5, 'M.', 'Thévenin', 'Luc', '03 86 57 64 20', '06 45 12 36 98', NULL, 'contact@broyage-nivernais.fr', 'Responsable planning', NULL, NULL, NULL),
(7, 7, 6, 'Mme', 'Garnier', 'Isabelle', '03 86 84 60 60', '06 87 54 21 33', NULL, 'exploitation@tmb-transports.fr', 'Exploitation', NULL, NULL, NULL),
(8, 8, 6, 'M.', 'Garnier', 'Didier', '03 86 84 60 60', '06 14 85 96 32', NULL, 'd.garnier@tmb-transports.fr', 'Gérant', NULL, NULL, NULL),
(9, 9, 7, 'M.', 'Perrin', 'Sébastien', '03 80 64 21 09', '06 22 33 44 55', NULL, 'transports.perrin@sfr.fr', 'Gérant', NULL, NULL, NULL),
(10, 10, 8, 'M.', 'Lucas', 'Benoît', NULL, '06 50 60 70 80', NULL, 'fendage.lucas@orange.fr', 'Artisan', NULL, NULL, NULL),
(11, 11, 9, 'M.', 'Girard', 'Olivier', '03 86 76 05 52', '06 98 76 54 32', NULL, 'tf.girard@orange.fr', 'Gérant', NULL, NULL, NULL);

-- customer places, chip storage zones (OUI) and firewood storage zones (BUCHE)
INSERT INTO destination (inc, client, destination, stockage, adresse, adresse1, cp, ville, pays, client_fac, adresse_fac, adresse1_fac, cp_fac, ville_fac, pays_fac, nom1, fonction1, tel1, portable1, email1, nom2, fonction2, tel2, portable2, email2, unite, cout_mwh, cout_tonne, pefc, inc_tva, tva_intra, inc_reglement, commentaire, latitude, tonnage_maxi, tonnage_inventaire, date_inventaire) VALUES
(1, 'Centre Hospitalier de Clamecy', 'Chaufferie CH Clamecy', 'NON', 'Rue de Druyes', 'Chaufferie bois - accès livraison par le parking sud', '58500', 'Clamecy', 'France', 'Centre Hospitalier de Clamecy', 'Service économique et financier', 'Rue de Druyes', '58500', 'Clamecy', 'France', 'Patrick Renaud', 'Responsable services techniques', '03 86 27 60 00', '06 75 12 44 90', 'services.techniques@ch-clamecy.fr', NULL, NULL, NULL, NULL, NULL, 'TONNE', 0, 92, NULL, 2, 'FR64265800041', 5, 'Livraisons du lundi au jeudi, 7 h - 15 h. Silo 120 m3.', '47.4561,3.5163', 0, NULL, NULL),
(2, 'Ville de Château-Chinon', 'Chaufferie Château-Chinon', 'NON', 'Rue du Champlin', 'Réseau de chaleur municipal', '58120', 'Château-Chinon (Ville)', 'France', 'Mairie de Château-Chinon', '2 place Notre-Dame', NULL, '58120', 'Château-Chinon (Ville)', 'France', 'Marc Lelièvre', 'Responsable réseau de chaleur', '03 86 85 15 05', '06 33 21 87 40', 'reseau.chaleur@chateau-chinon.fr', 'Nadia Bertin', 'Service finances', '03 86 85 15 00', NULL, 'finances@chateau-chinon.fr', 'MWH', 29.5, 0, '10-31-3120', 3, 'FR11215800623', 5, 'Facturation au MWh, humidité mesurée sur chaque ticket.', '47.0640,3.9333', 0, NULL, NULL),
(3, 'SPL Chaleur Autun', 'Chaufferie Autun', 'NON', 'Avenue du 2e Dragons', 'Chaufferie biomasse Saint-Pantaléon', '71400', 'Autun', 'France', 'SPL Chaleur Autun', 'Avenue du 2e Dragons', 'Chaufferie biomasse Saint-Pantaléon', '71400', 'Autun', 'France', 'Julien Faure', 'Directeur technique', '03 85 86 40 20', '06 41 52 63 74', 'j.faure@chaleur-autun.fr', NULL, NULL, NULL, NULL, NULL, 'MWH', 27.8, 0, NULL, 3, 'FR38834512345', 1, NULL, '46.9606,4.3075', 0, NULL, NULL),
(4, 'Scierie Moreau', 'Scierie Moreau Luzy', 'NON', 'Route de Moulins', 'Lieu-dit La Fourche', '58170', 'Luzy', 'France', 'Scierie Moreau', 'Route de Moulins', 'Lieu-dit La Fourche', '58170', 'Luzy', 'France', 'Gérard Moreau', 'Gérant', '03 86 30 02 14', '06 80 45 12 36', 'scierie.moreau@wanadoo.fr', 'Émilie Moreau', 'Achats bois', '03 86 30 02 14', '06 62 47 85 10', 'achats@scierie-moreau.fr', 'TONNE', 0, 0, NULL, 1, 'FR52402345678', 1, NULL, '46.7833,3.9667', 0, NULL, NULL),
(5, 'Palettes Bourgogne SAS', 'Palettes Bourgogne Avallon', 'NON', 'ZI de la Grande Corvée', '3 rue des Tonneliers', '89200', 'Avallon', 'France', 'Palettes Bourgogne SAS', 'ZI de la Grande Corvée', '3 rue des Tonneliers', '89200', 'Avallon', 'France', 'Franck Dupuis', 'Responsable approvisionnement', '03 86 34 90 90', '06 20 30 40 50', 'appro@palettes-bourgogne.fr', NULL, NULL, NULL, NULL, NULL, 'TONNE', 0, 0, NULL, 1, 'FR87510987654', 3, NULL, '47.4897,3.9081', 0, NULL, NULL),
(6, 'Holzhandel Weber GmbH', 'Weber Freiburg', 'NON', 'Industriestraße 14', NULL, '79108', 'Freiburg im Breisgau', 'Allemagne', 'Holzhandel Weber GmbH', 'Industriestraße 14', NULL, '79108', 'Freiburg im Breisgau', 'Allemagne', 'Klaus Weber', 'Einkauf Eiche', '+49 761 55 44 30', '+49 171 234 56 78', 'k.weber@holzhandel-weber.de', NULL, NULL, NULL, NULL, NULL, 'TONNE', 0, 0, NULL, 1, 'DE812345678', 2, 'Export chêne qualité A/B. Documents en allemand appréciés.', '48.0346,7.8560', 0, NULL, NULL),
(7, 'M. Bernard Duval', 'Duval Corbigny', 'NON', '8 rue des Fossés', NULL, '58800', 'Corbigny', 'France', 'M. Bernard Duval', '8 rue des Fossés', NULL, '58800', 'Corbigny', 'France', 'Bernard Duval', NULL, '03 86 20 11 47', '06 11 23 58 13', 'b.duval58@free.fr', NULL, NULL, NULL, NULL, NULL, 'TONNE', 0, 0, NULL, 2, NULL, 4, NULL, '47.2566,3.6829', 0, NULL, NULL),
(8, 'Mme Claire Fournier', 'Fournier Lormes', 'NON', '3 chemin du Calvaire', 'Hameau de Narvau', '58140', 'Lormes', 'France', 'Mme Claire Fournier', '3 chemin du Calvaire', 'Hameau de Narvau', '58140', 'Lormes', 'France', 'Claire Fournier', NULL, NULL, '06 84 12 96 35', 'claire.fournier@laposte.net', NULL, NULL, NULL, NULL, NULL, 'TONNE', 0, 0, NULL, 2, NULL, 4, NULL, '47.2899,3.8181', 0, NULL, NULL),
(9, 'Granulés du Morvan SAS', 'Usine granulés Corbigny', 'NON', 'Zone artisanale des Fontaines', NULL, '58800', 'Corbigny', 'France', 'Granulés du Morvan SAS', 'Zone artisanale des Fontaines', NULL, '58800', 'Corbigny', 'France', 'Hélène Marchal', 'Acheteuse matières premières', '03 86 20 45 45', '06 58 96 32 14', 'h.marchal@granules-morvan.fr', NULL, NULL, NULL, NULL, NULL, 'TONNE', 0, 78, NULL, 1, 'FR23789456123', 6, 'Prend les connexes et la plaquette fine, humidité maxi 40 %.', '47.2480,3.6700', 0, NULL, NULL),
(10, 'Bois et Énergie du Morvan', 'Plateforme Montsauche', 'OUI', '12 route de Saulieu', 'Plateforme couverte de 1 200 m2', '58230', 'Montsauche-les-Settons', 'France', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'TONNE', NULL, NULL, NULL, NULL, NULL, NULL, 'Stock tampon pour les chaufferies en hiver', '47.2178,4.0254', 1500, 180, '2026-09-01'),
(11, 'Bois et Énergie du Morvan', 'Hangar plaquettes Lormes', 'OUI', 'Route de Clamecy', NULL, '58140', 'Lormes', 'France', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'TONNE', NULL, NULL, NULL, NULL, NULL, NULL, NULL, '47.2930,3.8100', 600, 95, '2026-09-01'),
(12, 'Bois et Énergie du Morvan', 'Parc bûches Montsauche', 'BUCHE', '12 route de Saulieu', 'Parc de séchage sous hangar', '58230', 'Montsauche-les-Settons', 'France', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'm3', NULL, NULL, NULL, NULL, NULL, NULL, NULL, '47.2181,4.0260', 0, NULL, NULL),
(13, 'Bois et Énergie du Morvan', 'Dépôt bûches Saulieu', 'BUCHE', 'Route de Dijon', NULL, '21210', 'Saulieu', 'France', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'm3', NULL, NULL, NULL, NULL, NULL, NULL, NULL, '47.2790,4.2380', 0, NULL, NULL);

-- cutting lots
INSERT INTO coupe (inc, n_lot, indice_lot, type_achat, groupe_essence, coupe_fini, date_achat, lieu, adresse, cp, latitude, commentaire, date_alerte, date_fin, nom, N_parcelle, acheteur, surface, prix_achat, abattage_cout, cvo, coef, coef_cvo, estimation, cout_total, debardage_cout, remise_etat_cout, fin_pied, fin_abattage, sur_pied, abattage, debardage, total_grume, total_grume_livre) VALUES
(1, 2601, 1, 'SUR PIEDS', 'NON', 'OUI', '2026-01-12', 'Montsauche-les-Settons', 'Les Brenets', '58230', '47.2161,4.0302', 'Douglas de 45 ans, accès par la piste forestière des Brenets. Chantier terminé en septembre.', '2026-06-30', '2026-09-30', 'Groupement forestier des Settons', 'B 112, B 113', 'Jean-Marc Perrot', 8.4, 24500, 5000, 122.50, 150, 0.5, 666.67, 29500, NULL, NULL, 0, 0, NULL, NULL, NULL, NULL, NULL),
(2, 2602, 1, 'BORD DE ROUTE', 'NON', 'NON', '2026-03-18', 'Lormes', 'Le Grand Bois', '58140', '47.2951,3.8455', 'Vente ONF sur liste de grumes. Chêne A/B numérotés, le C reste en tas sur la place de dépôt.', '2026-11-30', '2027-03-31', 'ONF - Forêt communale de Lormes', 'Parcelle forestière 14', 'Thierry Gauthier', 5.6, 13990.00, 2800, 69.95, 150, 0.5, 91.00, 16790.00, NULL, NULL, 100, 100, NULL, NULL, NULL, 18.45, 7.06),
(3, 2603, 1, 'SUR PIEDS', 'OUI', 'NON', '2026-08-25', 'Saint-Brisson', 'Bois de la Chaume', '58230', '47.2715,4.0921', 'Taillis sous futaie hêtre et charme. Deux propriétaires voisins regroupés. Bois bûche pour la clientèle particulière.', '2027-02-28', '2027-04-30', 'Famille Dumont + Indivision Guyot', 'C 45, C 46 + C 47', 'Sophie Lambert+Thierry Gauthier', 5.1, 2370.00, 500, 11.85, 150, 0.5, 180.00, 2870.00, NULL, NULL, 0, 0, NULL, NULL, NULL, NULL, NULL),
(4, 2604, 1, 'BORD DE ROUTE', 'NON', 'NON', '2026-09-15', 'Gouloux', 'Les Rivières', '58230', '47.3260,4.0620', 'Bois énergie en andains bord de route. Broyage par campagnes de 2 à 3 camions.', '2026-11-15', '2026-12-01', 'Commune de Gouloux', 'Parcelles 8 et 9', 'Jean-Marc Perrot', 4.5, 8400.00, 0, 42.00, 150, 0.5, 444.44, 8400.00, NULL, NULL, 100, 100, NULL, NULL, NULL, NULL, NULL),
(5, 2605, 1, 'SUR PIEDS', 'NON', 'NON', '2026-11-20', 'Arleuf', 'Le Haut-Folin', '58430', '47.0920,4.0185', 'Épicéa et sapin, exploitation prévue au printemps. Prévoir câble-mât sur la partie en pente.', '2027-03-31', '2027-06-30', 'SCI Forêt du Haut-Folin', 'A 201 à A 206', 'Sophie Lambert', 12.3, 31000, 6000, 155.00, 150, 0.5, 792.50, 37000, NULL, NULL, 0, 0, NULL, NULL, NULL, NULL, NULL);

-- owners of the lots
INSERT INTO proprietaire (inc, N_lot, indice_lot, nom, type_proprietaire, date_achat, n_parcelle, acheteur, pro_adresse, pro_cp, pro_ville, pro_tel, pefc, achat_fixe, prix_achat, prix_estime, coef_cvo, cvo, cout_total, estimation, abattage_cout, pro_paye, surface, coef, coupe_fini, prix_unit) VALUES
(1, 2601, 1, 'Groupement forestier des Settons', 'PROPRIETAIRE', '2026-01-12', 'B 112, B 113', 'Jean-Marc Perrot', 'La Croix Blanche', '58230', 'Montsauche-les-Settons', '03 86 84 50 12', '10-31-2045', 'OUI', 24500, NULL, 0.5, 122.50, 24500, 666.67, 5000, 'Vrai', 8.4, 150, 'NON', NULL),
(2, 2602, 1, 'ONF - Forêt communale de Lormes', 'ONF', '2026-03-18', 'Parcelle forestière 14', 'Thierry Gauthier', 'Agence ONF Bourgogne Ouest, 7 rue des Chaumes', '58000', 'Nevers', '03 86 61 85 00', '10-31-0001', 'NON', NULL, 13990.00, 0.5, 69.95, 13990.00, 91.00, 2800, 'Faux', 5.6, 150, 'NON', NULL),
(3, 2603, 1, 'Famille Dumont', 'PROPRIETAIRE', '2026-08-25', 'C 45, C 46', 'Sophie Lambert', 'Le Bourg', '58230', 'Saint-Brisson', '03 86 78 70 21', NULL, 'NON', NULL, 1560.00, 0.5, 7.80, 1560.00, 120.00, 500, 'Faux', 3.2, 150, 'NON', NULL),
(4, 2603, 1, 'Indivision Guyot', 'PROPRIETAIRE', '2026-08-27', 'C 47', 'Thierry Gauthier', '14 rue de la Poste', '21210', 'Saulieu', '03 80 64 12 85', '10-31-3312', 'NON', NULL, 810.00, 0.5, 4.05, 810.00, 60.00, 0, 'Faux', 1.9, 150, 'NON', NULL),
(5, 2604, 1, 'Commune de Gouloux', 'ONF', '2026-09-15', 'Parcelles 8 et 9', 'Jean-Marc Perrot', 'Mairie, Le Bourg', '58230', 'Gouloux', '03 86 78 22 31', '10-31-0001', 'NON', NULL, 8400.00, 0.5, 42.00, 8400.00, 444.44, 0, 'Vrai', 4.5, 150, 'NON', NULL),
(6, 2605, 1, 'SCI Forêt du Haut-Folin', 'EXPERT', '2026-11-20', 'A 201 à A 206', 'Sophie Lambert', 'Cabinet Forêt Conseil, 5 place Saint-Lazare', '71400', 'Autun', '03 85 52 30 30', '10-31-4410', 'OUI', 31000, NULL, 0.5, 155.00, 31000, 792.50, 6000, 'Faux', 12.3, 150, 'NON', NULL);

-- owners estimates per essence, quality and unit
INSERT INTO proprietaire_essence (N_lot, indice_lot, nom, essence, qualite, unite, unite_defaut, qte, qte_reel, qte_defaut, prix_unit, prix_total, `long`, m3_reel) VALUES
(2601, 1, 'Groupement forestier des Settons', 'Douglas', 'Charpente', 'm3', 'm3', 380.00, 380.00, 380.00, 48, 18240.00, 'Billons 4 m et 6 m, diamètre moyen 38 cm', 380.00),
(2601, 1, 'Groupement forestier des Settons', 'Douglas', 'Palette', 'm3', 'm3', 120.00, 120.00, 120.00, 22, 2640.00, 'Surbilles et petits bois', 120.00),
(2601, 1, 'Groupement forestier des Settons', 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 150.00, 150.00, 166.67, 12, 1800.00, 'Houppiers broyés sur coupe', 166.67),
(2602, 1, 'ONF - Forêt communale de Lormes', 'Chêne', 'A', 'm3', 'm3', 14.00, 14.00, 14.00, 310, 4340.00, 'Merrain et tranchage', 14.00),
(2602, 1, 'ONF - Forêt communale de Lormes', 'Chêne', 'B', 'm3', 'm3', 32.00, 32.00, 32.00, 175, 5600.00, 'Menuiserie', 32.00),
(2602, 1, 'ONF - Forêt communale de Lormes', 'Chêne', 'C', 'm3', 'm3', 45.00, 45.00, 45.00, 90, 4050.00, 'Charpente et traverses', 45.00),
(2603, 1, 'Famille Dumont', 'Hêtre', 'Chauffage', 'Stere', 'm3', 120.00, 120.00, 80.00, 9, 1080.00, NULL, 80.00),
(2603, 1, 'Famille Dumont', 'Charme', 'Chauffage', 'Stere', 'm3', 60.00, 60.00, 40.00, 8, 480.00, NULL, 40.00),
(2603, 1, 'Indivision Guyot', 'Hêtre', 'Chauffage', 'Stere', 'm3', 90.00, 90.00, 60.00, 9, 810.00, 'Bordure de chemin', 60.00),
(2604, 1, 'Commune de Gouloux', 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 400.00, 400.00, 444.44, 21, 8400.00, 'Andains feuillus et résineux mélangés', 444.44),
(2605, 1, 'SCI Forêt du Haut-Folin', 'Épicéa', 'Charpente', 'm3', 'm3', 420.00, 420.00, 420.00, 42, 17640.00, NULL, 420.00),
(2605, 1, 'SCI Forêt du Haut-Folin', 'Sapin', 'Charpente', 'm3', 'm3', 260.00, 260.00, 260.00, 38, 9880.00, NULL, 260.00),
(2605, 1, 'SCI Forêt du Haut-Folin', 'Épicéa', 'Trituration', 'T', 'm3', 90.00, 90.00, 112.50, 8, 720.00, 'Houppiers et petits bois', 112.50);

-- volume lines of the lots (VOLUME) and the measured oak logs of lot 2602 (GRUME)
INSERT INTO grume (inc, N_lot, indice_lot, descriptif, n_grume, essence, qualite, classe, diametre, longueur, pourcent_ecorce, m3_sur_ecorce, m3, tonne, stere, qte, unite, unite_defaut, qte_defaut, qte_livree, qte_livree_defaut, broyage_reel, volume_livre, volume_livre_stock, volume_transfert, fin_pied, fin_abattage, sur_pied, abattage, debardage, abattage_cout, debardage_cout, remise_etat_cout, lieu, date_creation, date_lieu, stock, livree, m3_livre, inc_cde) VALUES
(1, 2601, 1, 'VOLUME', NULL, 'Douglas', 'Charpente', NULL, NULL, NULL, NULL, NULL, 380.00, 323.00, 608.00, 380.00, 'm3', 'm3', 380.00, 380.00, 380.00, 0.00, 380.00, 0.00, 0.00, 100, 100, 0.00, 0.00, 0.00, 4370.0, 3040, 420, 'Montsauche-les-Settons', '2026-01-12', NULL, NULL, 'OUI', NULL, NULL),
(2, 2601, 1, 'VOLUME', NULL, 'Douglas', 'Palette', NULL, NULL, NULL, NULL, NULL, 120.00, 102.00, 192.00, 120.00, 'm3', 'm3', 120.00, 120.00, 120.00, 0.00, 120.00, 0.00, 0.00, 100, 100, 0.00, 0.00, 0.00, 1380.0, 960, NULL, 'Montsauche-les-Settons', '2026-01-12', NULL, NULL, 'OUI', NULL, NULL),
(3, 2601, 1, 'VOLUME', NULL, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', NULL, NULL, NULL, NULL, NULL, 166.67, 150.00, 233.33, 150.00, 'T', 'm3', 166.67, 73.91, 82.12, 73.91, 0.00, 0.00, 0.00, 100, 100, 0.00, 0.00, 76.09, NULL, NULL, NULL, 'Montsauche-les-Settons', '2026-01-12', NULL, NULL, 'OUI', NULL, NULL),
(4, 2602, 1, 'VOLUME', NULL, 'Chêne', 'A', NULL, NULL, NULL, NULL, NULL, 14.00, 14.70, 21.00, 14.00, 'm3', 'm3', 14.00, 7.06, 7.06, 0.00, 7.06, 0.00, 0.00, 100, 100, 0.00, 0.00, 6.94, NULL, NULL, NULL, 'Lormes', '2026-03-18', NULL, NULL, NULL, NULL, NULL),
(5, 2602, 1, 'VOLUME', NULL, 'Chêne', 'B', NULL, NULL, NULL, NULL, NULL, 32.00, 33.60, 48.00, 32.00, 'm3', 'm3', 32.00, 14.50, 14.50, 0.00, 14.50, 0.00, 0.00, 100, 100, 0.00, 0.00, 17.50, NULL, NULL, NULL, 'Lormes', '2026-03-18', NULL, NULL, NULL, NULL, NULL),
(6, 2602, 1, 'VOLUME', NULL, 'Chêne', 'C', NULL, NULL, NULL, NULL, NULL, 45.00, 47.25, 67.50, 45.00, 'm3', 'm3', 45.00, 0.00, 0.00, 0.00, 0.00, 0.00, 0.00, 100, 100, 0.00, 0.00, 45.00, NULL, NULL, NULL, 'Lormes', '2026-03-18', NULL, NULL, NULL, NULL, NULL),
(7, 2603, 1, 'VOLUME', NULL, 'Hêtre', 'Chauffage', NULL, NULL, NULL, NULL, NULL, 140.00, 140.00, 210.00, 210.00, 'Stere', 'm3', 140.00, 45.00, 30.00, 0.00, 0.00, 15.00, 30.00, 80, 50, 42.00, 63.00, 60.00, 3712, 1470, NULL, 'Saint-Brisson', '2026-08-27', NULL, NULL, NULL, NULL, NULL),
(8, 2603, 1, 'VOLUME', NULL, 'Charme', 'Chauffage', NULL, NULL, NULL, NULL, NULL, 40.00, 42.00, 60.00, 60.00, 'Stere', 'm3', 40.00, 0.00, 0.00, 0.00, 0.00, 0.00, 0.00, 50, 0, 30.00, 30.00, 0.00, 1160, NULL, NULL, 'Saint-Brisson', '2026-08-27', NULL, NULL, NULL, NULL, NULL),
(9, 2604, 1, 'VOLUME', NULL, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', NULL, NULL, NULL, NULL, NULL, 444.44, 400.00, 622.22, 400.00, 'T', 'm3', 444.44, 99.00, 110.00, 99.00, 0.00, 0.00, 0.00, 100, 100, 0.00, 0.00, 301.00, NULL, NULL, NULL, 'Gouloux', '2026-09-15', NULL, NULL, NULL, NULL, NULL),
(10, 2605, 1, 'VOLUME', NULL, 'Épicéa', 'Charpente', NULL, NULL, NULL, NULL, NULL, 420.00, 336.00, 672.00, 420.00, 'm3', 'm3', 420.00, 0.00, 0.00, 0.00, 0.00, 0.00, 0.00, 0, 0, 420.00, 0.00, 0.00, NULL, NULL, NULL, 'Arleuf', '2026-11-20', NULL, NULL, NULL, NULL, NULL),
(11, 2605, 1, 'VOLUME', NULL, 'Sapin', 'Charpente', NULL, NULL, NULL, NULL, NULL, 260.00, 221.00, 416.00, 260.00, 'm3', 'm3', 260.00, 0.00, 0.00, 0.00, 0.00, 0.00, 0.00, 0, 0, 260.00, 0.00, 0.00, NULL, NULL, NULL, 'Arleuf', '2026-11-20', NULL, NULL, NULL, NULL, NULL),
(12, 2605, 1, 'VOLUME', NULL, 'Épicéa', 'Trituration', NULL, NULL, NULL, NULL, NULL, 112.50, 90.00, 180.00, 90.00, 'T', 'm3', 112.50, 0.00, 0.00, 0.00, 0.00, 0.00, 0.00, 0, 0, 90.00, 0.00, 0.00, NULL, NULL, NULL, 'Arleuf', '2026-11-20', NULL, NULL, NULL, NULL, NULL),
(13, 2602, 1, 'GRUME', '1', 'Chêne', 'A', '6', 68, 5.2, 10, 1.888, 1.700, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', 'OUI', NULL, 1047),
(14, 2602, 1, 'GRUME', '2', 'Chêne', 'A', '6', 62, 6.1, 10, 1.842, 1.657, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', 'OUI', NULL, 1047),
(15, 2602, 1, 'GRUME', '3', 'Chêne', 'A', '5', 58, 4.8, 10, 1.268, 1.141, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', 'OUI', NULL, 1047),
(16, 2602, 1, 'GRUME', '4', 'Chêne', 'A', '6', 71, 3.9, 10, 1.544, 1.390, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', 'OUI', NULL, 1047),
(17, 2602, 1, 'GRUME', '5', 'Chêne', 'A', '5', 55, 5.5, 10, 1.307, 1.176, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', 'OUI', NULL, 1047),
(18, 2602, 1, 'GRUME', '6', 'Chêne', 'B', '5', 52, 6.4, 10, 1.359, 1.223, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(19, 2602, 1, 'GRUME', '7', 'Chêne', 'B', '4', 49, 7.2, 10, 1.358, 1.222, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(20, 2602, 1, 'GRUME', '8', 'Chêne', 'B', '4', 47, 5.8, 10, 1.006, 0.906, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(21, 2602, 1, 'GRUME', '9', 'Chêne', 'B', '4', 45, 6.6, 10, 1.050, 0.945, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(22, 2602, 1, 'GRUME', '10', 'Chêne', 'B', '4', 50, 4.2, 10, 0.825, 0.742, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(23, 2602, 1, 'GRUME', '11', 'Chêne', 'B', '4', 43, 8.1, 10, 1.176, 1.059, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(24, 2602, 1, 'GRUME', '12', 'Chêne', 'B', '4', 41, 6.9, 10, 0.911, 0.820, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(25, 2602, 1, 'GRUME', '13', 'Chêne', 'B', '4', 46, 5.1, 10, 0.848, 0.763, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(26, 2602, 1, 'GRUME', '14', 'Chêne', 'B', '3b', 39, 7.4, 10, 0.884, 0.796, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(27, 2602, 1, 'GRUME', '15', 'Chêne', 'B', '5', 53, 4.6, 10, 1.015, 0.913, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(28, 2602, 1, 'GRUME', '16', 'Chêne', 'B', '4', 44, 6.2, 10, 0.943, 0.848, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(29, 2602, 1, 'GRUME', '17', 'Chêne', 'B', '3b', 38, 5.9, 10, 0.669, 0.602, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL),
(30, 2602, 1, 'GRUME', '18', 'Chêne', 'B', '4', 42, 4.4, 10, 0.610, 0.549, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'Lormes', '2026-03-25', '2026-03-25', '', NULL, NULL, NULL);

-- contractor work on the lots
INSERT INTO intervention (inc, N_lot, indice_lot, id, type1, I_nom, i_date, qte_action, unite_action, prix_unit_action, i_cout, i_nb_heure, km_route, temps_route, fac_fournisseur) VALUES
(1, 2601, 1, 1, 'ABATTAGE', 'ETF Bouchard', '2026-03-20', 380, 'm3', 11.5, 4370.0, NULL, NULL, NULL, 'OUI'),
(2, 2601, 1, 2, 'ABATTAGE', 'ETF Bouchard', '2026-03-20', 120, 'm3', 11.5, 1380.0, NULL, NULL, NULL, 'OUI'),
(3, 2601, 1, 1, 'DEBARDAGE', 'Débardage Lemaire', '2026-04-10', 380, 'm3', 8, 3040, NULL, NULL, NULL, 'OUI'),
(4, 2601, 1, 2, 'DEBARDAGE', 'Débardage Lemaire', '2026-04-10', 120, 'm3', 8, 960, NULL, NULL, NULL, 'OUI'),
(5, 2601, 1, 1, 'REMISE EN ETAT', 'Travaux Forestiers Girard', '2026-09-25', 6, 'Heure', 70, 420, 6, NULL, NULL, 'OUI'),
(6, 2603, 1, 7, 'ABATTAGE', 'Forest Services Morvan', '2026-10-09', 64, 'Heure', 58, 3712, 64, NULL, NULL, NULL),
(7, 2603, 1, 8, 'ABATTAGE', 'Forest Services Morvan', '2026-10-09', 20, 'Heure', 58, 1160, 20, NULL, NULL, NULL),
(8, 2603, 1, 7, 'DEBARDAGE', 'Débardage Cheval Roussel', '2026-10-16', 105, 'Stere', 14, 1470, NULL, NULL, NULL, NULL);

-- orders of logs and firewood (numbers from the BL counter shared with chip deliveries)
INSERT INTO cde (inc, creation, type_cde, client, destination, adresse_liv, cp_liv, ville_liv, pays_liv, n_cde_client, corps_cde, date_cde, date_souhaitee, unite_defaut, unite_liv, qte_liv_totale, qte_defaut_totale, volume_cde, grume_livree, lot_livre, prix_vente, prix_vente_facture, total_cout_action, livree, facturee, num_facture) VALUES
(1044, 0, 'SCIERIE', 'Scierie Moreau', 'Scierie Moreau Luzy', 'Route de Moulins', '58170', 'Luzy', 'France', 'BC 2026-118', 'Douglas charpente, billons 4 et 6 m, enlèvement sur coupe par nos soins', '2026-06-18 09:30:00', '2026-06-29 08:00:00', 'm3', 'm3', 380.00, 380.00, 380.00, 380.00, NULL, 23560.00, 23560.00, 3610.0, 'OUI', 'OUI', 2026002),
(1045, 0, 'ENTREPRISE', 'Palettes Bourgogne SAS', 'Palettes Bourgogne Avallon', 'ZI de la Grande Corvée', '89200', 'Avallon', 'France', 'CDE-5521', 'Surbilles douglas pour palettes', '2026-07-08 14:10:00', '2026-07-20 08:00:00', 'm3', 'm3', 120.00, 120.00, 120.00, 120.00, NULL, 3720.00, 3720.00, 840, 'OUI', 'NON', NULL),
(1047, 0, 'EXPORT', 'Holzhandel Weber GmbH', 'Weber Freiburg', 'Industriestraße 14', '79108', 'Freiburg im Breisgau', 'Allemagne', 'WE-26/0934', 'Chêne qualité A, grumes numérotées 1 à 5, chargement grumier complet', '2026-10-14 10:00:00', '2026-10-23 07:00:00', 'm3', 'm3', 7.06, 7.06, 7.06, 7.06, NULL, 2753.40, 2753.40, 650, 'OUI', 'NON', NULL),
(1051, 0, 'PARTICULIER', 'M. Bernard Duval', 'Duval Corbigny', '8 rue des Fossés', '58800', 'Corbigny', 'France', NULL, 'Hêtre 33 cm sec, livraison benne', '2026-11-18 11:20:00', '2026-11-21 09:00:00', 'm3', 'Stere', 6.00, 4.00, 4.00, 4.00, NULL, 528.00, 528.00, 60, 'OUI', 'NON', NULL),
(1053, 0, 'SCIERIE', 'Scierie Moreau', 'Scierie Moreau Luzy', 'Route de Moulins', '58170', 'Luzy', 'France', 'BC 2026-241', 'Chêne B en tas, enlèvement sur la place de dépôt', '2026-11-26 08:45:00', '2026-12-08 08:00:00', 'm3', 'm3', 14.50, 14.50, 14.50, 14.50, NULL, 2682.50, 2682.50, 0, 'NON', 'NON', NULL),
(1054, 0, 'PARTICULIER', 'Mme Claire Fournier', 'Fournier Lormes', '3 chemin du Calvaire', '58140', 'Lormes', 'France', NULL, 'Hêtre 33 cm, à déposer devant la grange', '2026-12-02 16:05:00', '2026-12-12 09:00:00', 'm3', 'Stere', 9.00, 6.00, 6.00, 6.00, NULL, 792.00, 792.00, 0, 'NON', 'NON', NULL);

-- order lines taken from a lot volume line (COUPE) or from a firewood stock (STOCK)
INSERT INTO liste_grume_cde (inc, inc_cde, descriptif, date_creation, lieu, essence, qualite, qte_liv, unite_liv, prix_unit, prix_total, unite_defaut, qte_defaut, unite_conso, qte_conso, choix_depart, n_lot, id, stock, stock_buche, inc_stock_buche, stock_essence, stock_qualite, stock_unite, stock_qte, inc_grume, n_grume, indice_lot, classe, diametre, longueur, date_lieu, m3) VALUES
(1, 1044, 'VOLUME', '2026-06-18 09:30:00', 'Scierie Moreau', 'Douglas', 'Charpente', 380.00, 'm3', 62, 23560.00, 'm3', 380.00, 'm3', 380.00, 'COUPE', '2601', 1, 'LIV.', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(2, 1045, 'VOLUME', '2026-07-08 14:10:00', 'Palettes Bourgogne SAS', 'Douglas', 'Palette', 120.00, 'm3', 31, 3720.00, 'm3', 120.00, 'm3', 120.00, 'COUPE', '2601', 2, 'LIV.', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(3, 1047, 'VOLUME', '2026-10-14 10:00:00', 'Holzhandel Weber GmbH', 'Chêne', 'A', 7.06, 'm3', 390, 2753.40, 'm3', 7.06, 'm3', 7.06, 'COUPE', '2602', 4, 'LIV.', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(4, 1051, 'VOLUME', '2026-11-18 11:20:00', 'M. Bernard Duval', 'Hêtre', 'Bûche 33 cm', 6.00, 'Stere', 88, 528.00, 'm3', 4.00, 'Stere', 6.00, 'STOCK', '2603', 7, 'LIV.', 'Parc bûches Montsauche', 1, 'Hêtre', 'Bûche 33 cm', 'Stere', 6.00, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(5, 1053, 'VOLUME', '2026-11-26 08:45:00', 'Scierie Moreau', 'Chêne', 'B', 14.50, 'm3', 185, 2682.50, 'm3', 14.50, 'm3', 14.50, 'COUPE', '2602', 5, 'LIV.', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
(6, 1054, 'VOLUME', '2026-12-02 16:05:00', 'Mme Claire Fournier', 'Hêtre', 'Bûche 33 cm', 9.00, 'Stere', 88, 792.00, 'm3', 6.00, 'Stere', 9.00, 'STOCK', '2603', 7, 'LIV.', 'Parc bûches Montsauche', 1, 'Hêtre', 'Bûche 33 cm', 'Stere', 9.00, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);

-- contractor actions on the orders
INSERT INTO liste_action_cde (inc, inc_cde, I_nom, type1, i_date, qte_action, unite_action, prix_unit_action, i_cout, n_lot, id, fac_fournisseur, Indice_lot, i_nb_heure, km_route, temps_route) VALUES
(1, 1044, 'Transports Perrin', 'TRANSPORT', '2026-06-29', 380, 'm3', 9.5, 3610.0, '2601', 1, 'OUI', NULL, NULL, NULL, NULL),
(2, 1045, 'Transports Morvan Bois', 'TRANSPORT', '2026-07-20', 120, 'm3', 7, 840, '2601', 2, 'OUI', NULL, NULL, NULL, NULL),
(3, 1047, 'Transports Perrin', 'TRANSPORT', '2026-10-23', 1, 'Forfait', 650, 650, '2602', 4, NULL, NULL, NULL, NULL, NULL),
(4, 1051, 'Transports Morvan Bois', 'TRANSPORT', '2026-11-21', 1, 'Forfait', 60, 60, '2603', 7, NULL, NULL, NULL, NULL, NULL);

-- transfers into the firewood zones
INSERT INTO transfert (inc, creation, date_transfert, type_transfert, depart, destination, type_destination, unite_defaut, corps_cde, grume_livree, volume_cde, qte_defaut_totale, qte_liv_totale, prix_vente, prix_vente_facture, total_cout_action) VALUES
(1, 0, '2026-10-22 09:30:00', 'COUPE', '2603', 'Parc bûches Montsauche', 'STOCK', 'm3', 'Hêtre fendu en 33 cm sur coupe, séchage sous hangar', 30.00, 30.00, 30.00, 45, 0, 0, 720),
(2, 0, '2026-11-05 14:00:00', 'AUTRE', 'Achat bûches Scierie Moreau', 'Dépôt bûches Saulieu', 'STOCK', 'm3', 'Chêne 50 cm acheté sec à la scierie Moreau, livré au dépôt de Saulieu', 20.00, 20.00, 20.00, 30, 0, 0, 240);

-- transfer lines
INSERT INTO liste_grume_transfert (inc, inc_transfert, descriptif, date_creation, lieu, depart, destination, type_transfert, unite_defaut, n_lot, id, essence, qualite, unite_conso, qte_conso, unite_depart, qte_depart, inc_stock_buche, qualite_destination, qte_liv, unite_liv, qte_defaut, inc_coef, coef, prix_total, N_grume, m3, prix_unit, stock) VALUES
(1, 1, 'GRUME', '2026-10-22 09:30:00', '2603', '2603', 'Parc bûches Montsauche', 'COUPE', 'm3', '2603', 7, 'Hêtre', 'Chauffage', 'Stere', 34.6500, NULL, NULL, NULL, 'Bûche 33 cm', 45, 'Stere', 30.00, 4, 23, NULL, NULL, NULL, NULL, NULL),
(2, 2, 'GRUME', '2026-11-05 14:00:00', 'Achat bûches Scierie Moreau', 'Achat bûches Scierie Moreau', 'Dépôt bûches Saulieu', 'AUTRE', 'm3', NULL, NULL, 'Chêne', 'Chauffage', 'Stere', 30.00, NULL, NULL, NULL, 'Bûche 50 cm', 30, 'Stere', 20.00, 1, 0, NULL, NULL, NULL, NULL, NULL);

-- contractor actions on the transfers
INSERT INTO liste_action_transfert (inc, inc_transfert, I_nom, type1, i_date, qte_action, unite_action, prix_unit_action, i_cout, n_lot, id, fac_fournisseur, Indice_lot, i_nb_heure, km_route, temps_route) VALUES
(1, 1, 'Fendage Lucas', 'FENDAGE', '2026-10-22', 45, 'Stere', 12, 540, '2603', NULL, NULL, NULL, NULL, NULL, NULL),
(2, 1, 'Transports Morvan Bois', 'TRANSPORT', '2026-10-22', 1, 'Forfait', 180, 180, '2603', NULL, NULL, NULL, NULL, NULL, NULL),
(3, 2, 'Transports Perrin', 'TRANSPORT', '2026-11-05', 1, 'Forfait', 240, 240, NULL, NULL, NULL, NULL, NULL, NULL, NULL);

-- firewood stock after the transfers and the orders taken from it
INSERT INTO stock_buche (inc, destination, essence, qualite, n_lot, id, unite_stock, unite_defaut, qte_theorique_restante, qte_defaut, qte_inventaire, date_inventaire) VALUES
(1, 'Parc bûches Montsauche', 'Hêtre', 'Bûche 33 cm', '2603', 7, 'Stere', 'm3', 30.00, 20.00, 0, '2026-10-21 09:30:00'),
(2, 'Dépôt bûches Saulieu', 'Chêne', 'Bûche 50 cm', NULL, NULL, 'Stere', 'm3', 30, 20.00, 0, '2026-11-04 14:00:00');

-- chip deliveries: sales, a move into the Montsauche platform, a sale from it and two forecasts
INSERT INTO livraison (inc, creation, operation, date_livraison, depart, destination, n_lot, indice_lot, id, essence, qualite, unite_liv, unite_defaut, unite_conso, tonnage, qte_liv_totale, qte_defaut_totale, qte_pefc, qte_defaut_pefc, qte_conso, humidite, mwh, unite, prix_tonne, prix_mwh, total_mwh, prix_total, ticket, verifie, facturee, num_facture, chargeoir, lettre_voiture, lieu_pesage, transporteur_prevu, commentaire, broyeur_prix_unit, prix_transport_unit, broyeur_cout, prix_total_transport) VALUES
(1041, 0, 'VENTE', '2026-04-14 07:40:00', 'Montsauche-les-Settons', 'Chaufferie CH Clamecy', 2601, 1, 3, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'T', 24.80, 24.80, 27.56, 24.80, 27.56, 24.80, 34, NULL, 'TONNE', 92, 0, NULL, 2281.60, 'CL-0412', 'OUI', 'OUI', 2026001, 'Place de dépôt des Brenets', 'LV-26-0141', 'Bascule CH Clamecy', 'Transports Perrin', NULL, 6.5, 9.2, NULL, NULL),
(1042, 0, 'VENTE', '2026-04-28 07:55:00', 'Montsauche-les-Settons', 'Chaufferie CH Clamecy', 2601, 1, 3, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'T', 25.20, 25.20, 28.00, 25.20, 28.00, 25.20, 33, NULL, 'TONNE', 92, 0, NULL, 2318.40, 'CL-0467', 'OUI', 'OUI', 2026001, 'Place de dépôt des Brenets', 'LV-26-0158', 'Bascule CH Clamecy', 'Transports Perrin', NULL, 6.5, 9.2, NULL, NULL),
(1043, 0, 'VENTE', '2026-05-12 08:10:00', 'Montsauche-les-Settons', 'Chaufferie CH Clamecy', 2601, 1, 3, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'T', 23.90, 23.90, 26.56, 23.90, 26.56, 23.90, 31, NULL, 'TONNE', 92, 0, NULL, 2198.80, 'CL-0519', 'OUI', 'OUI', 2026001, 'Place de dépôt des Brenets', 'LV-26-0177', 'Bascule CH Clamecy', 'Transports Perrin', NULL, 6.5, 9.2, NULL, NULL),
(1046, 0, 'VENTE', '2026-10-06 07:30:00', 'Gouloux', 'Chaufferie Château-Chinon', 2604, 1, 9, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'T', 24.30, 24.30, 27.00, 24.30, 27.00, 24.30, 32, 78.99, 'MWH', 0, 29.5, 2330.21, 2330.21, 'CC-2210', 'OUI', 'OUI', 2026003, 'Les Rivières', 'LV-26-0402', 'Bascule Montsauche', 'Transports Morvan Bois', NULL, 6.5, 9.2, NULL, NULL),
(1048, 0, 'VENTE', '2026-10-20 07:45:00', 'Gouloux', 'Chaufferie Château-Chinon', 2604, 1, 9, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'T', 25.10, 25.10, 27.89, 25.10, 27.89, 25.10, 30, 84.49, 'MWH', 0, 29.5, 2492.46, 2492.46, 'CC-2264', 'OUI', 'OUI', 2026003, 'Les Rivières', 'LV-26-0421', 'Bascule Montsauche', 'Transports Morvan Bois', NULL, 6.5, 9.2, NULL, NULL),
(1049, 0, 'VENTE', '2026-11-04 08:00:00', 'Gouloux', 'Chaufferie CH Clamecy', 2604, 1, 9, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'T', 23.60, 23.60, 26.22, 23.60, 26.22, 23.60, 35, NULL, 'TONNE', 92, 0, NULL, 2171.20, 'CL-1103', 'OUI', 'NON', NULL, 'Les Rivières', 'LV-26-0447', 'Bascule CH Clamecy', 'Transports Morvan Bois', NULL, 6.5, 9.2, NULL, NULL),
(1050, 0, 'TRANSFERT', '2026-11-12 09:15:00', 'Gouloux', 'Plateforme Montsauche', 2604, 1, 9, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'T', 26.00, 26.00, 28.89, 26.00, 28.89, 26.00, 38, NULL, 'TONNE', 0, 0, NULL, 0.00, 'PM-0088', 'OUI', 'NON', NULL, 'Les Rivières', NULL, 'Bascule Montsauche', 'Transports Morvan Bois', 'Mise en stock avant les grands froids', 6.5, 9.2, NULL, NULL),
(1052, 0, 'VENTE', '2026-11-25 07:20:00', 'Plateforme Montsauche', 'Chaufferie Autun', NULL, 1, NULL, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'm3', 22.40, 22.40, 24.89, 15.00, 16.67, 24.89, 28, 77.99, 'MWH', 0, 27.8, 2168.12, 2168.12, 'AU-3391', 'NON', 'NON', NULL, 'Plateforme Montsauche', 'LV-26-0468', 'Bascule Autun', 'Transports Morvan Bois', NULL, 6.5, 9.2, NULL, NULL),
(1055, 0, 'PREVISION', '2026-12-15 07:30:00', 'Gouloux', 'Chaufferie Château-Chinon', 2604, 1, 9, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'T', NULL, NULL, NULL, NULL, NULL, NULL, 30, NULL, 'MWH', 0, 29.5, NULL, NULL, NULL, 'NON', 'NON', NULL, NULL, NULL, NULL, 'Transports Morvan Bois', '2 camions prévus, prévenir M. Lelièvre la veille', 6.5, 9.2, NULL, NULL),
(1056, 0, 'PREVISION', '2026-12-17 08:00:00', 'Plateforme Montsauche', 'Chaufferie CH Clamecy', NULL, 1, NULL, 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 'T', 'm3', 'm3', NULL, NULL, NULL, NULL, NULL, NULL, 30, NULL, 'TONNE', 92, 0, NULL, NULL, NULL, 'NON', 'NON', NULL, NULL, NULL, NULL, 'Transports Morvan Bois', 'Livraison depuis le stock de la plateforme', 6.5, 9.2, NULL, NULL);

-- contractor actions on the chip deliveries
INSERT INTO liste_action_liv (inc, inc_cde, n_lot, Indice_lot, type1, I_nom, i_date, qte_action, unite_action, prix_unit_action, i_cout, km_route, temps_route, i_nb_heure, fac_fournisseur) VALUES
(1, 1041, 2601, NULL, 'BROYAGE', 'Broyage Nivernais', '2026-04-14', 24.80, 'Tonne', 6.5, 161.200, NULL, NULL, NULL, 'OUI'),
(2, 1041, NULL, NULL, 'TRANSPORT', 'Transports Perrin', '2026-04-14', 24.80, 'Tonne', 8.5, 210.800, 48, '00:52:00', NULL, 'OUI'),
(3, 1042, 2601, NULL, 'BROYAGE', 'Broyage Nivernais', '2026-04-28', 25.20, 'Tonne', 6.5, 163.800, NULL, NULL, NULL, 'OUI'),
(4, 1042, NULL, NULL, 'TRANSPORT', 'Transports Perrin', '2026-04-28', 25.20, 'Tonne', 8.5, 214.200, 48, '00:52:00', NULL, 'OUI'),
(5, 1043, 2601, NULL, 'BROYAGE', 'Broyage Nivernais', '2026-05-12', 23.90, 'Tonne', 6.5, 155.350, NULL, NULL, NULL, 'OUI'),
(6, 1043, NULL, NULL, 'TRANSPORT', 'Transports Perrin', '2026-05-12', 23.90, 'Tonne', 8.5, 203.150, 48, '00:52:00', NULL, 'OUI'),
(7, 1046, 2604, NULL, 'BROYAGE', 'Broyage Nivernais', '2026-10-06', 24.30, 'Tonne', 6.5, 157.950, NULL, NULL, NULL, 'OUI'),
(8, 1046, NULL, NULL, 'TRANSPORT', 'Transports Morvan Bois', '2026-10-06', 24.30, 'Tonne', 9.2, 223.560, 31, '00:38:00', NULL, 'OUI'),
(9, 1048, 2604, NULL, 'BROYAGE', 'Broyage Nivernais', '2026-10-20', 25.10, 'Tonne', 6.5, 163.150, NULL, NULL, NULL, 'OUI'),
(10, 1048, NULL, NULL, 'TRANSPORT', 'Transports Morvan Bois', '2026-10-20', 25.10, 'Tonne', 9.2, 230.920, 31, '00:38:00', NULL, 'OUI'),
(11, 1049, 2604, NULL, 'BROYAGE', 'Broyage Nivernais', '2026-11-04', 23.60, 'Tonne', 6.5, 153.400, NULL, NULL, NULL, NULL),
(12, 1049, NULL, NULL, 'TRANSPORT', 'Transports Morvan Bois', '2026-11-04', 23.60, 'Tonne', 9.2, 217.120, 72, '01:15:00', NULL, NULL),
(13, 1050, 2604, NULL, 'BROYAGE', 'Broyage Nivernais', '2026-11-12', 26.00, 'Tonne', 6.5, 169.000, NULL, NULL, NULL, NULL),
(14, 1050, NULL, NULL, 'TRANSPORT', 'Transports Morvan Bois', '2026-11-12', 26.00, 'Tonne', 9.2, 239.200, 12, '00:18:00', NULL, NULL),
(15, 1052, NULL, NULL, 'TRANSPORT', 'Transports Morvan Bois', '2026-11-25', 22.40, 'Tonne', 9.2, 206.080, 54, '01:02:00', NULL, NULL);

-- invoices with their delivery notes and priced lines
INSERT INTO facture_entete (inc, num_facture, type_fac, date_fac, echeance, destination, client, adresse, adresse1, cp, ville, pays, client_fac, adresse_fac, adresse1_fac, cp_fac, ville_fac, pays_fac, tva_intra, inc_tva, inc_reglement, montant_ht, montant_tva, montant_ttc) VALUES
(1, 2026001, 'FACTURE', '2026-05-31', '2026-06-30', 'Chaufferie CH Clamecy', 'Centre Hospitalier de Clamecy', 'Rue de Druyes', 'Chaufferie bois - accès livraison par le parking sud', '58500', 'Clamecy', 'France', 'Centre Hospitalier de Clamecy', 'Service économique et financier', 'Rue de Druyes', '58500', 'Clamecy', 'France', 'FR64265800041', 2, 5, 6798.80, 679.88, 7478.68),
(2, 2026002, 'FACTURE', '2026-07-31', '2026-09-10', 'Scierie Moreau Luzy', 'Scierie Moreau', 'Route de Moulins', 'Lieu-dit La Fourche', '58170', 'Luzy', 'France', 'Scierie Moreau', 'Route de Moulins', 'Lieu-dit La Fourche', '58170', 'Luzy', 'France', 'FR52402345678', 1, 1, 23560.00, 4712.00, 28272.00),
(3, 2026003, 'FACTURE', '2026-10-31', '2026-11-30', 'Chaufferie Château-Chinon', 'Ville de Château-Chinon', 'Rue du Champlin', 'Réseau de chaleur municipal', '58120', 'Château-Chinon (Ville)', 'France', 'Mairie de Château-Chinon', '2 place Notre-Dame', NULL, '58120', 'Château-Chinon (Ville)', 'France', 'FR11215800623', 3, 5, 4822.67, 265.24685, 5087.91685);
INSERT INTO facture_corps (inc_facture, type1, inc_liv, date_liv, type_liv, destination, unite_vente, total_ht) VALUES
(2026001, 'PLAQUETTE', 1041, '2026-04-14', 'VENTE', 'Chaufferie CH Clamecy', 'TONNE', 2281.60),
(2026001, 'PLAQUETTE', 1042, '2026-04-28', 'VENTE', 'Chaufferie CH Clamecy', 'TONNE', 2318.40),
(2026001, 'PLAQUETTE', 1043, '2026-05-12', 'VENTE', 'Chaufferie CH Clamecy', 'TONNE', 2198.80),
(2026002, 'GRUME', 1044, '2026-06-18', 'SCIERIE', 'Scierie Moreau Luzy', 'm3', 23560.00),
(2026003, 'PLAQUETTE', 1046, '2026-10-06', 'VENTE', 'Chaufferie Château-Chinon', 'MWH', 2330.21),
(2026003, 'PLAQUETTE', 1048, '2026-10-20', 'VENTE', 'Chaufferie Château-Chinon', 'MWH', 2492.46);
INSERT INTO facture_corps_detail (inc_facture, inc_corps, origine, inc_source, date_liv, n_lot, essence, qualite, qte_liv, unite_liv, prix_unit, prix_total, humidite, total_mwh, pefc, descriptif, unit_defaut, qte_defaut, designation) VALUES
(2026001, 1041, 'PLAQUETTE', 1041, '2026-04-14', '2601', 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 24.80, 'TONNE', 92, 2281.60, 0, 0, 100, NULL, NULL, NULL, NULL),
(2026001, 1042, 'PLAQUETTE', 1042, '2026-04-28', '2601', 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 25.20, 'TONNE', 92, 2318.40, 0, 0, 100, NULL, NULL, NULL, NULL),
(2026001, 1043, 'PLAQUETTE', 1043, '2026-05-12', '2601', 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 23.90, 'TONNE', 92, 2198.80, 0, 0, 100, NULL, NULL, NULL, NULL),
(2026002, 1044, 'GRUME/STERE', 1, '2026-06-18', '2601', 'Douglas', 'Charpente', 380.00, 'm3', 62, 23560.00, 0, 0, 0, NULL, NULL, NULL, NULL),
(2026003, 1046, 'PLAQUETTE', 1046, '2026-10-06', '2604', 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 78.99, 'MWH', 29.5, 2330.21, 32, 2330.21, 100, NULL, NULL, NULL, NULL),
(2026003, 1048, 'PLAQUETTE', 1048, '2026-10-20', '2604', 'BOIS ENERGIE', 'PLAQUETTE DE BOIS', 84.49, 'MWH', 29.5, 2492.46, 30, 2492.46, 100, NULL, NULL, NULL, NULL);

-- counters: the last numbers used above
UPDATE increment SET n_lot = 2605, num_bl = 1056, num_facture = 2026003, num_intervenant_possible = 9, num_contact = 11;
