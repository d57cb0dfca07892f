-- Ravelin company database: every permanent table, then the installation rows.
-- The program loads this file itself, statement by statement, on a database it has
-- just created: each statement ends with a semicolon at the end of a line, and the
-- only comments are whole lines starting with two dashes.
-- Per-workstation work tables (TAMPON...) are not created here: the screens that
-- need them drop and create them at each use.
SET NAMES utf8mb4;

-- ==========================================================================
-- Application core: settings, counters, users and rights, post-it notes
-- ==========================================================================

-- settings row: company particulars and the defaults used by computations (exactly one row)
CREATE TABLE perso (
  nom VARCHAR(150) NULL,
  adresse VARCHAR(255) NULL,
  adresse1 VARCHAR(255) NULL,
  ville VARCHAR(100) NULL,
  cp VARCHAR(20) NULL,
  siret VARCHAR(30) NULL,
  ape VARCHAR(20) NULL,
  tva_intra VARCHAR(30) NULL,
  commentaire TEXT NULL,
  commentaire_fac TEXT NULL,
  pefc VARCHAR(50) NULL,
  tel VARCHAR(30) NULL,
  fax VARCHAR(30) NULL,
  email VARCHAR(150) NULL,
  facebook VARCHAR(255) NULL,
  twitter VARCHAR(255) NULL,
  humidite_defaut DOUBLE NULL,
  coef_surface_tonne DOUBLE NULL,
  cvo DOUBLE NULL,
  transporteur_prevu VARCHAR(100) NULL,
  centre_carte VARCHAR(100) NULL,
  unite_defaut VARCHAR(20) NULL,
  cout_broyage_tonne DOUBLE NULL,
  cout_transport DOUBLE NULL,
  coef_camion DOUBLE NULL,
  tps_dechargement DOUBLE NULL,
  version_UPDATE DOUBLE NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- counters row: the last number handed out for lots, orders and deliveries, invoices, contractors, contacts (exactly one row)
CREATE TABLE increment (
  n_lot INT NULL,
  num_bl INT NULL,
  num_facture INT NULL,
  num_intervenant_possible INT NULL,
  num_contact INT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- users: one row per user, found at sign-in by the password alone
CREATE TABLE mot_passe (
  inc INT NOT NULL AUTO_INCREMENT,
  Utilisateur VARCHAR(100) NULL,
  Mot_passe VARCHAR(100) NULL,
  email VARCHAR(150) NULL,
  email1 VARCHAR(150) NULL,
  email2 VARCHAR(150) NULL,
  PRIMARY KEY (inc),
  KEY idx_mot_passe_utilisateur (Utilisateur),
  KEY idx_mot_passe_mot_passe (Mot_passe)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- page rights: one row per user and page, Autorisation "1" granted or "0" refused (no key of its own)
CREATE TABLE detail_mot_passe (
  Utilisateur VARCHAR(100) NULL,
  `Page` VARCHAR(100) NULL,
  Autorisation VARCHAR(10) NULL,
  KEY idx_detail_mot_passe_utilisateur (Utilisateur)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- post-it notes left by one user for another, identified by recipient and sending time text
CREATE TABLE postit (
  utilisateur VARCHAR(100) NULL,
  message1 VARCHAR(255) NULL,
  message2 VARCHAR(255) NULL,
  message3 VARCHAR(255) NULL,
  message4 VARCHAR(255) NULL,
  message5 VARCHAR(255) NULL,
  Date_postit VARCHAR(50) NULL,
  origine VARCHAR(100) NULL,
  KEY idx_postit_utilisateur (utilisateur, Date_postit)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ==========================================================================
-- Cutting lots: lots, logs and volume lines, owners, contractor work
-- ==========================================================================

-- cutting lots: identity, place, purchase, state and the totals kept up to date by the lot screens
CREATE TABLE coupe (
  inc INT NOT NULL AUTO_INCREMENT,
  n_lot INT NULL,
  indice_lot INT NULL,
  type_achat VARCHAR(50) NULL,
  groupe_essence VARCHAR(10) NULL,
  coupe_fini VARCHAR(10) NULL,
  date_achat DATE NULL,
  lieu VARCHAR(100) NULL,
  adresse VARCHAR(255) NULL,
  cp VARCHAR(20) NULL,
  latitude VARCHAR(100) NULL,
  commentaire TEXT NULL,
  date_alerte DATE NULL,
  date_fin DATE NULL,
  nom VARCHAR(255) NULL,
  N_parcelle VARCHAR(255) NULL,
  acheteur VARCHAR(255) NULL,
  surface DOUBLE NULL,
  prix_achat DOUBLE NULL,
  abattage_cout DOUBLE NULL,
  cvo DOUBLE NULL,
  coef DOUBLE NULL,
  coef_cvo DOUBLE NULL,
  estimation DOUBLE NULL,
  cout_total DOUBLE NULL,
  debardage_cout DOUBLE NULL,
  remise_etat_cout DOUBLE NULL,
  fin_pied INT NULL,
  fin_abattage INT NULL,
  sur_pied DOUBLE NULL,
  abattage DOUBLE NULL,
  debardage DOUBLE NULL,
  total_grume DOUBLE NULL,
  total_grume_livre DOUBLE NULL,
  PRIMARY KEY (inc),
  UNIQUE KEY uq_coupe_n_lot (n_lot),
  KEY idx_coupe_date_achat (date_achat),
  KEY idx_coupe_lieu (lieu)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- logs ("GRUME" rows, one measured log each) and volume lines ("VOLUME" rows, one essence and quality of a lot in one unit)
CREATE TABLE grume (
  inc INT NOT NULL AUTO_INCREMENT,
  N_lot INT NULL,
  indice_lot INT NULL,
  descriptif VARCHAR(20) NULL,
  n_grume VARCHAR(50) NULL,
  essence VARCHAR(100) NULL,
  qualite VARCHAR(100) NULL,
  classe VARCHAR(50) NULL,
  diametre DOUBLE NULL,
  longueur DOUBLE NULL,
  pourcent_ecorce DOUBLE NULL,
  m3_sur_ecorce DOUBLE NULL,
  m3 DOUBLE NULL,
  tonne DOUBLE NULL,
  stere DOUBLE NULL,
  qte DOUBLE NULL,
  unite VARCHAR(20) NULL,
  unite_defaut VARCHAR(20) NULL,
  qte_defaut DOUBLE NULL,
  qte_livree DOUBLE NULL,
  qte_livree_defaut DOUBLE NULL,
  broyage_reel DOUBLE NULL,
  volume_livre DOUBLE NULL,
  volume_livre_stock DOUBLE NULL,
  volume_transfert DOUBLE NULL,
  fin_pied DOUBLE NULL,
  fin_abattage DOUBLE NULL,
  sur_pied DOUBLE NULL,
  abattage DOUBLE NULL,
  debardage DOUBLE NULL,
  abattage_cout DOUBLE NULL,
  debardage_cout DOUBLE NULL,
  remise_etat_cout DOUBLE NULL,
  lieu VARCHAR(100) NULL,
  date_creation DATE NULL,
  date_lieu DATE NULL,
  stock VARCHAR(100) NULL,
  livree VARCHAR(10) NULL,
  m3_livre DOUBLE NULL,
  inc_cde INT NULL,
  PRIMARY KEY (inc),
  KEY idx_grume_lot (N_lot, descriptif, inc_cde),
  KEY idx_grume_inc_cde (inc_cde),
  KEY idx_grume_n_grume (n_grume),
  KEY idx_grume_number_diameter (n_grume, diametre),
  KEY idx_grume_free (descriptif, inc_cde, inc, n_grume),
  KEY idx_grume_free_number (descriptif, inc_cde, n_grume),
  KEY idx_grume_lot_number (N_lot, descriptif, inc_cde, n_grume),
  KEY idx_grume_open (descriptif, livree)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- owners of a lot with their purchase terms, levy, deposit and payment state
CREATE TABLE proprietaire (
  inc INT NOT NULL AUTO_INCREMENT,
  N_lot INT NULL,
  indice_lot INT NULL,
  nom VARCHAR(150) NULL,
  type_proprietaire VARCHAR(30) NULL,
  date_achat DATE NULL,
  n_parcelle VARCHAR(255) NULL,
  acheteur VARCHAR(100) NULL,
  pro_adresse VARCHAR(255) NULL,
  pro_cp VARCHAR(20) NULL,
  pro_ville VARCHAR(100) NULL,
  pro_tel VARCHAR(30) NULL,
  pefc VARCHAR(50) NULL,
  achat_fixe VARCHAR(10) NULL,
  prix_achat DOUBLE NULL,
  prix_estime DOUBLE NULL,
  coef_cvo DOUBLE NULL,
  cvo DOUBLE NULL,
  cout_total DOUBLE NULL,
  estimation DOUBLE NULL,
  abattage_cout DOUBLE NULL,
  pro_paye VARCHAR(10) NULL,
  surface DOUBLE NULL,
  coef DOUBLE NULL,
  coupe_fini VARCHAR(10) NULL,
  prix_unit DOUBLE NULL,
  PRIMARY KEY (inc),
  KEY idx_proprietaire_lot (N_lot, nom),
  KEY idx_proprietaire_date_achat (date_achat)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- owners estimates: one row per owner, essence, quality and unit of a lot (no key of its own)
CREATE TABLE proprietaire_essence (
  N_lot INT NULL,
  indice_lot INT NULL,
  nom VARCHAR(150) NULL,
  essence VARCHAR(100) NULL,
  qualite VARCHAR(100) NULL,
  unite VARCHAR(20) NULL,
  unite_defaut VARCHAR(20) NULL,
  qte DOUBLE NULL,
  qte_reel DOUBLE NULL,
  qte_defaut DOUBLE NULL,
  prix_unit DOUBLE NULL,
  prix_total DOUBLE NULL,
  `long` VARCHAR(255) NULL,
  m3_reel DOUBLE NULL,
  KEY idx_proprietaire_essence_lot (N_lot, nom)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- contractor work on a volume line of a lot: felling, skidding and other work, with its cost
CREATE TABLE intervention (
  inc INT NOT NULL AUTO_INCREMENT,
  N_lot INT NULL,
  indice_lot INT NULL,
  id INT NULL,
  type1 VARCHAR(50) NULL,
  I_nom VARCHAR(100) NULL,
  i_date DATE NULL,
  qte_action DOUBLE NULL,
  unite_action VARCHAR(20) NULL,
  prix_unit_action DOUBLE NULL,
  i_cout DOUBLE NULL,
  i_nb_heure DOUBLE NULL,
  km_route DOUBLE NULL,
  temps_route DOUBLE NULL,
  fac_fournisseur VARCHAR(10) NULL,
  PRIMARY KEY (inc),
  KEY idx_intervention_lot (N_lot, id, type1),
  KEY idx_intervention_i_date (i_date),
  KEY idx_intervention_i_nom (I_nom)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ==========================================================================
-- Log and firewood orders
-- ==========================================================================

-- orders of logs and firewood: header and totals (key taken from the counter num_bl, not from the database)
CREATE TABLE cde (
  inc INT NOT NULL,
  creation INT NULL DEFAULT 1,
  type_cde VARCHAR(50) NULL,
  client VARCHAR(100) NULL,
  destination VARCHAR(100) NULL,
  adresse_liv VARCHAR(255) NULL,
  cp_liv VARCHAR(20) NULL,
  ville_liv VARCHAR(100) NULL,
  pays_liv VARCHAR(100) NULL,
  n_cde_client VARCHAR(100) NULL,
  corps_cde TEXT NULL,
  date_cde DATETIME NULL,
  date_souhaitee DATETIME NULL,
  unite_defaut VARCHAR(20) NULL,
  unite_liv VARCHAR(20) NULL,
  qte_liv_totale DOUBLE NULL,
  qte_defaut_totale DOUBLE NULL,
  volume_cde DOUBLE NULL,
  grume_livree DOUBLE NULL,
  lot_livre DOUBLE NULL,
  prix_vente DOUBLE NULL,
  prix_vente_facture DOUBLE NULL,
  total_cout_action DOUBLE NULL,
  livree VARCHAR(10) NULL,
  facturee VARCHAR(10) NULL,
  num_facture INT NULL,
  PRIMARY KEY (inc),
  KEY idx_cde_creation (creation),
  KEY idx_cde_date_cde (date_cde),
  KEY idx_cde_destination (destination),
  KEY idx_cde_client (client),
  KEY idx_cde_date_desc (date_cde DESC),
  KEY idx_cde_client_date (client, date_cde DESC),
  KEY idx_cde_type_date (type_cde, date_cde DESC),
  KEY idx_cde_facturee (facturee)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- order lines: product lines ("VOLUME", "GRUME1") taken from a lot, a stock or elsewhere, and loaded logs ("GRUME")
CREATE TABLE liste_grume_cde (
  inc INT NOT NULL AUTO_INCREMENT,
  inc_cde INT NULL,
  descriptif VARCHAR(20) NULL,
  date_creation DATETIME NULL,
  lieu VARCHAR(100) NULL,
  essence VARCHAR(100) NULL,
  qualite VARCHAR(100) NULL,
  qte_liv DOUBLE NULL,
  unite_liv VARCHAR(20) NULL,
  prix_unit DOUBLE NULL,
  prix_total DOUBLE NULL,
  unite_defaut VARCHAR(20) NULL,
  qte_defaut DOUBLE NULL,
  unite_conso VARCHAR(20) NULL,
  qte_conso DOUBLE NULL,
  choix_depart VARCHAR(10) NULL,
  n_lot VARCHAR(20) NULL,
  id INT NULL,
  stock VARCHAR(100) NULL,
  stock_buche VARCHAR(100) NULL,
  inc_stock_buche INT NULL,
  stock_essence VARCHAR(100) NULL,
  stock_qualite VARCHAR(100) NULL,
  stock_unite VARCHAR(20) NULL,
  stock_qte DOUBLE NULL,
  inc_grume INT NULL,
  n_grume VARCHAR(50) NULL,
  indice_lot INT NULL,
  classe VARCHAR(50) NULL,
  diametre DOUBLE NULL,
  longueur DOUBLE NULL,
  date_lieu DATETIME NULL,
  m3 DOUBLE NULL,
  PRIMARY KEY (inc),
  KEY idx_liste_grume_cde_inc_cde (inc_cde, descriptif),
  KEY idx_liste_grume_cde_lot (n_lot, id),
  KEY idx_liste_grume_cde_inc_stock_buche (inc_stock_buche),
  KEY idx_liste_grume_cde_stock_buche (stock_buche)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- contractor actions on an order: loading, transport, paperwork, with quantity and cost
CREATE TABLE liste_action_cde (
  inc INT NOT NULL AUTO_INCREMENT,
  inc_cde INT NULL,
  I_nom VARCHAR(100) NULL,
  type1 VARCHAR(50) NULL,
  i_date DATE NULL,
  qte_action DOUBLE NULL,
  unite_action VARCHAR(20) NULL,
  prix_unit_action DOUBLE NULL,
  i_cout DOUBLE NULL,
  n_lot VARCHAR(20) NULL,
  id INT NULL,
  fac_fournisseur VARCHAR(10) NULL,
  Indice_lot INT NULL,
  i_nb_heure DOUBLE NULL,
  km_route INT NULL,
  temps_route TIME NULL,
  PRIMARY KEY (inc),
  KEY idx_liste_action_cde_inc_cde (inc_cde),
  KEY idx_liste_action_cde_n_lot (n_lot),
  KEY idx_liste_action_cde_i_date (i_date),
  KEY idx_liste_action_cde_i_nom (I_nom)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ==========================================================================
-- Stocks and transfers
-- ==========================================================================

-- transfers of wood from a lot, a firewood stock or elsewhere into a storage zone
CREATE TABLE transfert (
  inc INT NOT NULL AUTO_INCREMENT,
  creation INT NULL DEFAULT 1,
  date_transfert DATETIME NULL,
  type_transfert VARCHAR(20) NULL,
  depart VARCHAR(100) NULL,
  destination VARCHAR(100) NULL,
  type_destination VARCHAR(30) NULL,
  unite_defaut VARCHAR(20) NULL,
  corps_cde TEXT NULL,
  grume_livree DOUBLE NULL,
  volume_cde DOUBLE NULL,
  qte_defaut_totale DOUBLE NULL,
  qte_liv_totale DOUBLE NULL,
  prix_vente DOUBLE NULL,
  prix_vente_facture DOUBLE NULL,
  total_cout_action DOUBLE NULL,
  PRIMARY KEY (inc),
  KEY idx_transfert_creation (creation),
  KEY idx_transfert_date_transfert (date_transfert),
  KEY idx_transfert_depart (depart, date_transfert DESC),
  KEY idx_transfert_destination (destination, date_transfert DESC)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- transfer lines: what was taken from the origin and what was deposited into the destination stock
CREATE TABLE liste_grume_transfert (
  inc INT NOT NULL AUTO_INCREMENT,
  inc_transfert INT NULL,
  descriptif VARCHAR(20) NULL,
  date_creation DATETIME NULL,
  lieu VARCHAR(100) NULL,
  depart VARCHAR(100) NULL,
  destination VARCHAR(100) NULL,
  type_transfert VARCHAR(20) NULL,
  unite_defaut VARCHAR(20) NULL,
  n_lot VARCHAR(20) NULL,
  id INT NULL,
  essence VARCHAR(100) NULL,
  qualite VARCHAR(100) NULL,
  unite_conso VARCHAR(20) NULL,
  qte_conso DOUBLE NULL,
  unite_depart VARCHAR(20) NULL,
  qte_depart DOUBLE NULL,
  inc_stock_buche INT NULL,
  qualite_destination VARCHAR(100) NULL,
  qte_liv DOUBLE NULL,
  unite_liv VARCHAR(20) NULL,
  qte_defaut DOUBLE NULL,
  inc_coef INT NULL,
  coef DOUBLE NULL,
  prix_total DOUBLE NULL,
  N_grume VARCHAR(50) NULL,
  m3 DOUBLE NULL,
  prix_unit DOUBLE NULL,
  stock VARCHAR(100) NULL,
  PRIMARY KEY (inc),
  KEY idx_liste_grume_transfert_inc_transfert (inc_transfert),
  KEY idx_liste_grume_transfert_depart (depart, type_transfert, id),
  KEY idx_liste_grume_transfert_lot (n_lot, id),
  KEY idx_liste_grume_transfert_destination (destination, date_creation),
  KEY idx_liste_grume_transfert_inc_stock_buche (inc_stock_buche)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- contractor actions on a transfer: same layout as the order actions, tied by inc_transfert
CREATE TABLE liste_action_transfert (
  inc INT NOT NULL AUTO_INCREMENT,
  inc_transfert INT NULL,
  I_nom VARCHAR(100) NULL,
  type1 VARCHAR(50) NULL,
  i_date DATE NULL,
  qte_action DOUBLE NULL,
  unite_action VARCHAR(20) NULL,
  prix_unit_action DOUBLE NULL,
  i_cout DOUBLE NULL,
  n_lot VARCHAR(20) NULL,
  id INT NULL,
  fac_fournisseur VARCHAR(10) NULL,
  Indice_lot INT NULL,
  i_nb_heure DOUBLE NULL,
  km_route INT NULL,
  temps_route TIME NULL,
  PRIMARY KEY (inc),
  KEY idx_liste_action_transfert_inc_transfert (inc_transfert),
  KEY idx_liste_action_transfert_n_lot (n_lot),
  KEY idx_liste_action_transfert_i_date (i_date),
  KEY idx_liste_action_transfert_i_nom (I_nom)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- firewood and log stock: one row per zone, essence, quality, origin lot, origin volume line and unit
CREATE TABLE stock_buche (
  inc INT NOT NULL AUTO_INCREMENT,
  destination VARCHAR(100) NULL,
  essence VARCHAR(100) NULL,
  qualite VARCHAR(100) NULL,
  n_lot VARCHAR(20) NULL,
  id INT NULL,
  unite_stock VARCHAR(20) NULL,
  unite_defaut VARCHAR(20) NULL,
  qte_theorique_restante DOUBLE NULL,
  qte_defaut DOUBLE NULL,
  qte_inventaire DOUBLE NULL,
  date_inventaire DATETIME NULL,
  PRIMARY KEY (inc),
  KEY idx_stock_buche_destination (destination, essence, qualite, n_lot, unite_stock),
  KEY idx_stock_buche_lot (n_lot, id)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ==========================================================================
-- Chip deliveries
-- ==========================================================================

-- chip movements: sales, purchases, moves into storage zones, transport, forecasts (key taken from the counter num_bl)
CREATE TABLE livraison (
  inc INT NOT NULL,
  creation INT NULL DEFAULT 1,
  operation VARCHAR(50) NULL,
  date_livraison DATETIME NULL,
  depart VARCHAR(100) NULL,
  destination VARCHAR(100) NULL,
  n_lot INT NULL,
  indice_lot INT NULL,
  id INT NULL,
  essence VARCHAR(100) NULL,
  qualite VARCHAR(100) NULL,
  unite_liv VARCHAR(20) NULL,
  unite_defaut VARCHAR(20) NULL,
  unite_conso VARCHAR(20) NULL,
  tonnage DOUBLE NULL,
  qte_liv_totale DOUBLE NULL,
  qte_defaut_totale DOUBLE NULL,
  qte_pefc DOUBLE NULL,
  qte_defaut_pefc DOUBLE NULL,
  qte_conso DOUBLE NULL,
  humidite DOUBLE NULL,
  mwh DOUBLE NULL,
  unite VARCHAR(20) NULL,
  prix_tonne DOUBLE NULL,
  prix_mwh DOUBLE NULL,
  total_mwh DOUBLE NULL,
  prix_total DOUBLE NULL,
  ticket VARCHAR(50) NULL,
  verifie VARCHAR(10) NULL,
  facturee VARCHAR(10) NULL,
  num_facture INT NULL,
  chargeoir VARCHAR(100) NULL,
  lettre_voiture VARCHAR(50) NULL,
  lieu_pesage VARCHAR(100) NULL,
  transporteur_prevu VARCHAR(100) NULL,
  commentaire TEXT NULL,
  broyeur_prix_unit DOUBLE NULL,
  prix_transport_unit DOUBLE NULL,
  broyeur_cout DOUBLE NULL,
  prix_total_transport DOUBLE NULL,
  PRIMARY KEY (inc),
  KEY idx_livraison_creation (creation),
  KEY idx_livraison_date_livraison (date_livraison),
  KEY idx_livraison_lot (n_lot, id),
  KEY idx_livraison_destination (destination, date_livraison DESC),
  KEY idx_livraison_depart (depart, date_livraison DESC),
  KEY idx_livraison_operation (operation, date_livraison DESC),
  KEY idx_livraison_transporteur (transporteur_prevu),
  KEY idx_livraison_facturee (facturee, operation, destination),
  KEY idx_livraison_lieu_pesage (lieu_pesage, date_livraison)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- contractor actions on a chip delivery: chipping, hauling, purchases and other jobs (inc_cde is the delivery number)
CREATE TABLE liste_action_liv (
  inc INT NOT NULL AUTO_INCREMENT,
  inc_cde INT NULL,
  n_lot INT NULL,
  Indice_lot INT NULL,
  type1 VARCHAR(50) NULL,
  I_nom VARCHAR(100) NULL,
  i_date DATE NULL,
  qte_action DOUBLE NULL,
  unite_action VARCHAR(20) NULL,
  prix_unit_action DOUBLE NULL,
  i_cout DOUBLE NULL,
  km_route INT NULL,
  temps_route TIME NULL,
  i_nb_heure DOUBLE NULL,
  fac_fournisseur VARCHAR(10) NULL,
  PRIMARY KEY (inc),
  KEY idx_liste_action_liv_inc_cde (inc_cde, type1),
  KEY idx_liste_action_liv_n_lot (n_lot),
  KEY idx_liste_action_liv_i_date (i_date),
  KEY idx_liste_action_liv_i_nom (I_nom)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ==========================================================================
-- Invoicing
-- ==========================================================================

-- invoice and credit-note headers, with the customer copied at issue time and the three amounts
CREATE TABLE facture_entete (
  inc INT NOT NULL AUTO_INCREMENT,
  num_facture INT NULL,
  type_fac VARCHAR(20) NULL,
  date_fac DATE NULL,
  echeance DATE NULL,
  destination VARCHAR(100) NULL,
  client VARCHAR(100) NULL,
  adresse VARCHAR(255) NULL,
  adresse1 VARCHAR(255) NULL,
  cp VARCHAR(20) NULL,
  ville VARCHAR(100) NULL,
  pays VARCHAR(100) NULL,
  client_fac VARCHAR(100) NULL,
  adresse_fac VARCHAR(255) NULL,
  adresse1_fac VARCHAR(255) NULL,
  cp_fac VARCHAR(20) NULL,
  ville_fac VARCHAR(100) NULL,
  pays_fac VARCHAR(100) NULL,
  tva_intra VARCHAR(30) NULL,
  inc_tva INT NULL,
  inc_reglement INT NULL,
  montant_ht DOUBLE NULL,
  montant_tva DOUBLE NULL,
  montant_ttc DOUBLE NULL,
  PRIMARY KEY (inc),
  UNIQUE KEY uq_facture_entete_num_facture (num_facture),
  KEY idx_facture_entete_date_fac (date_fac),
  KEY idx_facture_entete_client (client),
  KEY idx_facture_entete_destination (destination),
  KEY idx_facture_entete_number_page (num_facture, inc, date_fac, client),
  KEY idx_facture_entete_date_page (date_fac DESC, inc, client),
  KEY idx_facture_entete_client_page (client, date_fac, inc DESC)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- invoice body: one row per invoiced order ("GRUME") or chip delivery ("PLAQUETTE"), tied by the invoice number
CREATE TABLE facture_corps (
  inc_facture INT NULL,
  type1 VARCHAR(20) NULL,
  inc_liv INT NULL,
  date_liv DATE NULL,
  type_liv VARCHAR(50) NULL,
  destination VARCHAR(100) NULL,
  unite_vente VARCHAR(20) NULL,
  total_ht DOUBLE NULL,
  KEY idx_facture_corps_inc_facture (inc_facture, inc_liv),
  KEY idx_facture_corps_destination (destination)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- invoice detail: one row per priced line under a body row, found by invoice number and order or delivery number
CREATE TABLE facture_corps_detail (
  inc_facture INT NULL,
  inc_corps INT NULL,
  origine VARCHAR(20) NULL,
  inc_source INT NULL,
  date_liv DATE NULL,
  n_lot VARCHAR(20) NULL,
  essence VARCHAR(100) NULL,
  qualite VARCHAR(100) NULL,
  qte_liv DOUBLE NULL,
  unite_liv VARCHAR(20) NULL,
  prix_unit DOUBLE NULL,
  prix_total DOUBLE NULL,
  humidite DOUBLE NULL,
  total_mwh DOUBLE NULL,
  pefc DOUBLE NULL,
  descriptif VARCHAR(50) NULL,
  unit_defaut VARCHAR(20) NULL,
  qte_defaut DOUBLE NULL,
  designation VARCHAR(255) NULL,
  KEY idx_facture_corps_detail_facture (inc_facture, inc_corps)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ==========================================================================
-- Reference lists
-- ==========================================================================

-- wood essences with their code and the equivalence between m3, tonnes and steres (column names are the unit names)
CREATE TABLE essence (
  essence VARCHAR(100) NULL,
  code VARCHAR(20) NULL,
  m3 DOUBLE NULL,
  T DOUBLE NULL,
  Stere DOUBLE NULL,
  pourcent_ecorce DOUBLE NULL,
  KEY idx_essence_essence (essence),
  KEY idx_essence_code (code)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- wood qualities
CREATE TABLE qualite (
  qualite VARCHAR(100) NULL,
  KEY idx_qualite_qualite (qualite)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- diameter classes of logs, both bounds in centimetres and inclusive
CREATE TABLE classe (
  classe VARCHAR(50) NULL,
  dia_mini DOUBLE NULL,
  dia_maxi DOUBLE NULL,
  KEY idx_classe_dia (dia_mini, dia_maxi)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- transformation coefficients applied to transfer lines, in percent (row 1 "Aucun Coef" is fixed)
CREATE TABLE coef (
  inc INT NOT NULL AUTO_INCREMENT,
  designation VARCHAR(255) NULL,
  coef DOUBLE NULL,
  PRIMARY KEY (inc)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- the company's buyers of cutting lots
CREATE TABLE acheteur (
  acheteur VARCHAR(100) NULL,
  KEY idx_acheteur_acheteur (acheteur)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- contractor families (ABATTAGE, DEBARDAGE, BROYAGE and TRANSPORT are fixed)
CREATE TABLE famille_intervenant (
  famille_intervenant VARCHAR(100) NULL,
  KEY idx_famille_intervenant (famille_intervenant)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- VAT rates in percent
CREATE TABLE liste_tva (
  inc INT NOT NULL AUTO_INCREMENT,
  tva DOUBLE NULL,
  PRIMARY KEY (inc)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- payment modes with their due-date term (days, NET or FIN de MOIS, day of the month)
CREATE TABLE liste_reglement (
  inc INT NOT NULL AUTO_INCREMENT,
  reglement VARCHAR(150) NULL,
  nb_jour INT NULL,
  fin_mois VARCHAR(20) NULL,
  jour_apres INT NULL,
  PRIMARY KEY (inc)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ==========================================================================
-- Contractors, contacts, customers and places
-- ==========================================================================

-- contractor directory with default unit costs (actions elsewhere name the contractor by societe)
CREATE TABLE intervenant_possible (
  num_intervenant_possible INT NULL,
  societe VARCHAR(100) NULL,
  famille_intervenant VARCHAR(100) NULL,
  cout_tonne DOUBLE NULL,
  cout_heure DOUBLE NULL,
  cout_volume DOUBLE NULL,
  cout_surface DOUBLE NULL,
  cout_stere DOUBLE NULL,
  commentaire TEXT NULL,
  pefc VARCHAR(50) NULL,
  KEY idx_intervenant_possible_num (num_intervenant_possible),
  KEY idx_intervenant_possible_societe (societe),
  KEY idx_intervenant_possible_famille (famille_intervenant)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- contact persons of the contractors
CREATE TABLE contact (
  inc INT NOT NULL AUTO_INCREMENT,
  num_contact INT NULL,
  num_intervenant_possible INT NULL,
  civilite VARCHAR(10) NULL,
  Nom VARCHAR(100) NULL,
  prenom VARCHAR(100) NULL,
  tel VARCHAR(30) NULL,
  portable VARCHAR(30) NULL,
  fax VARCHAR(30) NULL,
  email VARCHAR(150) NULL,
  fonction VARCHAR(100) NULL,
  Divers TEXT NULL,
  `password` VARCHAR(100) NULL,
  login VARCHAR(100) NULL,
  PRIMARY KEY (inc),
  KEY idx_contact_num_intervenant_possible (num_intervenant_possible),
  KEY idx_contact_num_contact (num_contact)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- named places: customer delivery places (stockage NON), chip storage zones (OUI) and firewood storage zones (BUCHE)
CREATE TABLE destination (
  inc INT NOT NULL AUTO_INCREMENT,
  client VARCHAR(100) NULL,
  destination VARCHAR(100) NULL,
  stockage VARCHAR(10) NULL,
  adresse VARCHAR(255) NULL,
  adresse1 VARCHAR(255) NULL,
  cp VARCHAR(20) NULL,
  ville VARCHAR(100) NULL,
  pays VARCHAR(100) NULL,
  client_fac VARCHAR(100) NULL,
  adresse_fac VARCHAR(255) NULL,
  adresse1_fac VARCHAR(255) NULL,
  cp_fac VARCHAR(20) NULL,
  ville_fac VARCHAR(100) NULL,
  pays_fac VARCHAR(100) NULL,
  nom1 VARCHAR(100) NULL,
  fonction1 VARCHAR(100) NULL,
  tel1 VARCHAR(30) NULL,
  portable1 VARCHAR(30) NULL,
  email1 VARCHAR(150) NULL,
  nom2 VARCHAR(100) NULL,
  fonction2 VARCHAR(100) NULL,
  tel2 VARCHAR(30) NULL,
  portable2 VARCHAR(30) NULL,
  email2 VARCHAR(150) NULL,
  unite VARCHAR(20) NULL,
  cout_mwh DOUBLE NULL,
  cout_tonne DOUBLE NULL,
  pefc VARCHAR(50) NULL,
  inc_tva INT NULL,
  tva_intra VARCHAR(30) NULL,
  inc_reglement INT NULL,
  commentaire TEXT NULL,
  latitude VARCHAR(100) NULL,
  tonnage_maxi DOUBLE NULL,
  tonnage_inventaire DOUBLE NULL,
  date_inventaire DATE NULL,
  PRIMARY KEY (inc),
  UNIQUE KEY uq_destination_destination (destination),
  KEY idx_destination_stockage (stockage, client, destination),
  KEY idx_destination_client (client, destination)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- ==========================================================================
-- Installation rows
-- ==========================================================================

-- settings row: volumes are counted in m3 by default, chips at 30 % moisture, the map centred on France
INSERT INTO perso (nom, adresse, adresse1, ville, cp, siret, ape, tva_intra, commentaire, commentaire_fac, pefc, tel, fax, email, facebook, twitter, humidite_defaut, coef_surface_tonne, cvo, transporteur_prevu, centre_carte, unite_defaut, cout_broyage_tonne, cout_transport, coef_camion, tps_dechargement, version_UPDATE)
VALUES ('Ma société', '', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 30, 150, 0.5, '', '46.603354,1.888334', 'm3', 0, 0, 25, 20, 1.0);

-- counters row: nothing handed out yet
INSERT INTO increment (n_lot, num_bl, num_facture, num_intervenant_possible, num_contact)
VALUES (0, 0, 0, 0, 0);

-- the four contractor families the program uses by name
INSERT INTO famille_intervenant (famille_intervenant) VALUES ('ABATTAGE'), ('DEBARDAGE'), ('BROYAGE'), ('TRANSPORT');

-- the "no coefficient" row, row 1, given to every new transfer line
INSERT INTO coef (inc, designation, coef) VALUES (1, 'Aucun Coef', 0);
