-- Consistency of a generated company with the program's rules: every query counts the rows that
-- break one rule, and every count must be 0.
--   mariadb --socket=... -uravelin -pravelin -N COMPANY < bench/generator/consistency.sql
-- order totals = sums of their product lines
SELECT 'cde totals', COUNT(*) FROM cde c JOIN (SELECT inc_cde, ROUND(SUM(qte_liv),2) q, ROUND(SUM(qte_defaut),2) d, ROUND(SUM(prix_total),2) p FROM liste_grume_cde WHERE descriptif IN ('VOLUME','GRUME1') GROUP BY inc_cde) l ON l.inc_cde=c.inc
 WHERE ABS(c.qte_liv_totale-l.q)>0.011 OR ABS(c.qte_defaut_totale-l.d)>0.011 OR ABS(c.prix_vente-l.p)>0.011;
SELECT 'cde action cost', COUNT(*) FROM cde c LEFT JOIN (SELECT inc_cde, SUM(i_cout) s FROM liste_action_cde GROUP BY inc_cde) a ON a.inc_cde=c.inc WHERE ABS(c.total_cout_action-IFNULL(a.s,0))>0.01;
-- volume lines: what left them, recomputed as the lot recomputation does (default unit m3, line unit conversion)
SELECT 'volume A', COUNT(*) FROM grume g JOIN essence e ON e.essence=g.essence
  LEFT JOIN (SELECT n_lot, id, SUM(qte_defaut) s FROM liste_grume_cde WHERE descriptif='VOLUME' AND choix_depart='COUPE' GROUP BY n_lot, id) a ON a.n_lot=g.N_lot AND a.id=g.inc
  WHERE g.descriptif='VOLUME' AND ABS(g.volume_livre - ROUND(IFNULL(a.s,0) * (CASE g.unite WHEN 'm3' THEN e.m3 WHEN 'T' THEN e.T ELSE e.Stere END) / e.m3, 2)) > 0.02;
SELECT 'volume B', COUNT(*) FROM grume g JOIN essence e ON e.essence=g.essence
  LEFT JOIN (SELECT n_lot, id, SUM(qte_defaut_totale) s FROM livraison GROUP BY n_lot, id) b ON b.n_lot=g.N_lot AND b.id=g.inc
  WHERE g.descriptif='VOLUME' AND ABS(g.broyage_reel - ROUND(IFNULL(b.s,0) * (CASE g.unite WHEN 'm3' THEN e.m3 WHEN 'T' THEN e.T ELSE e.Stere END) / e.m3, 2)) > 0.02;
SELECT 'volume C', COUNT(*) FROM grume g JOIN essence e ON e.essence=g.essence
  LEFT JOIN (SELECT depart, id, SUM(qte_defaut) s FROM liste_grume_transfert WHERE type_transfert='COUPE' GROUP BY depart, id) c ON c.depart=g.N_lot AND c.id=g.inc
  LEFT JOIN (SELECT n_lot, id, SUM(qte_defaut) s FROM liste_grume_cde WHERE descriptif='VOLUME' AND choix_depart='STOCK' GROUP BY n_lot, id) d ON d.n_lot=g.N_lot AND d.id=g.inc
  WHERE g.descriptif='VOLUME' AND ABS(g.qte_livree - g.volume_livre - g.broyage_reel - ROUND(IFNULL(c.s,0) * (CASE g.unite WHEN 'm3' THEN e.m3 WHEN 'T' THEN e.T ELSE e.Stere END) / e.m3, 2)) > 0.03;
SELECT 'volume D', COUNT(*) FROM grume g JOIN essence e ON e.essence=g.essence
  LEFT JOIN (SELECT n_lot, id, SUM(qte_defaut) s FROM liste_grume_cde WHERE descriptif='VOLUME' AND choix_depart='STOCK' GROUP BY n_lot, id) d ON d.n_lot=g.N_lot AND d.id=g.inc
  WHERE g.descriptif='VOLUME' AND ABS(g.volume_livre_stock - ROUND(IFNULL(d.s,0) * (CASE g.unite WHEN 'm3' THEN e.m3 WHEN 'T' THEN e.T ELSE e.Stere END) / e.m3, 2)) > 0.02;
SELECT 'volume lines sold beyond their quantity', COUNT(*) FROM grume WHERE descriptif='VOLUME' AND qte_livree > qte + 0.05;
-- lot totals
SELECT 'lot estimation', COUNT(*) FROM coupe c JOIN (SELECT N_lot, SUM(qte_defaut) s FROM grume WHERE descriptif='VOLUME' GROUP BY N_lot) v ON v.N_lot=c.n_lot WHERE ABS(c.estimation - v.s) > 0.05;
SELECT 'lot owners price', COUNT(*) FROM coupe c JOIN (SELECT N_lot, SUM(cout_total) s, SUM(cvo) v FROM proprietaire GROUP BY N_lot) p ON p.N_lot=c.n_lot WHERE ABS(c.prix_achat - p.s) > 0.02 OR ABS(c.cvo-p.v) > 0.02;
SELECT 'lot log totals', COUNT(*) FROM coupe c JOIN (SELECT N_lot, SUM(m3) s, SUM(IF(livree='OUI',m3,0)) l FROM grume WHERE descriptif='GRUME' GROUP BY N_lot) g ON g.N_lot=c.n_lot WHERE ABS(c.total_grume - g.s) > 0.05 OR ABS(c.total_grume_livre - g.l) > 0.05;
SELECT 'lot date = first owner by name', COUNT(*) FROM coupe c WHERE c.date_achat <> (SELECT p.date_achat FROM proprietaire p WHERE p.N_lot=c.n_lot ORDER BY p.nom LIMIT 1);
SELECT 'owner estimation', COUNT(*) FROM proprietaire p JOIN (SELECT N_lot, nom, SUM(qte_defaut) s, SUM(prix_total) t FROM proprietaire_essence GROUP BY N_lot, nom) e ON e.N_lot=p.N_lot AND e.nom=p.nom WHERE ABS(p.estimation - e.s) > 0.05 OR (p.achat_fixe='NON' AND ABS(p.prix_estime - e.t) > 0.02);
-- volume line = sum of the owners' real quantities
SELECT 'volume from owners', COUNT(*) FROM grume g JOIN (SELECT N_lot, essence, qualite, unite, ROUND(SUM(qte_reel),2) s FROM proprietaire_essence GROUP BY N_lot, essence, qualite, unite) e
  ON e.N_lot=g.N_lot AND e.essence=g.essence AND e.qualite=g.qualite AND e.unite=g.unite WHERE g.descriptif='VOLUME' AND ABS(g.qte - e.s) > 0.011;
-- stock rows = deposits - what orders and transfers took
SELECT 'stock balance', COUNT(*) FROM stock_buche s
  LEFT JOIN (SELECT destination, essence, qualite_destination q, IFNULL(n_lot,'') n, IFNULL(id,0) i, unite_liv u, SUM(qte_liv) s FROM liste_grume_transfert GROUP BY destination, essence, qualite_destination, IFNULL(n_lot,''), IFNULL(id,0), unite_liv) t
    ON t.destination=s.destination AND t.essence=s.essence AND t.q=s.qualite AND t.n=IFNULL(s.n_lot,'') AND t.i=IFNULL(s.id,0) AND t.u=s.unite_stock
  LEFT JOIN (SELECT inc_stock_buche, SUM(qte_conso) s FROM liste_grume_cde WHERE choix_depart='STOCK' GROUP BY inc_stock_buche) o ON o.inc_stock_buche=s.inc
  LEFT JOIN (SELECT inc_stock_buche, SUM(qte_conso) s FROM liste_grume_transfert WHERE inc_stock_buche IS NOT NULL GROUP BY inc_stock_buche) x ON x.inc_stock_buche=s.inc
  WHERE ABS(s.qte_theorique_restante - (IFNULL(t.s,0) - IFNULL(o.s,0) - IFNULL(x.s,0))) > 0.05;
SELECT 'negative stock', COUNT(*) FROM stock_buche WHERE qte_theorique_restante < -0.01;
-- invoices
SELECT 'invoice ht', COUNT(*) FROM facture_entete f JOIN (SELECT inc_facture, SUM(total_ht) s FROM facture_corps GROUP BY inc_facture) b ON b.inc_facture=f.num_facture WHERE ABS(f.montant_ht - b.s) > 0.01;
SELECT 'invoice without body', COUNT(*) FROM facture_entete f WHERE NOT EXISTS (SELECT 1 FROM facture_corps b WHERE b.inc_facture=f.num_facture);
SELECT 'invoice dates not increasing', COUNT(*) FROM facture_entete a JOIN facture_entete b ON b.num_facture > a.num_facture AND b.date_fac < a.date_fac AND b.num_facture < a.num_facture + 50;
SELECT 'cde flagged but no invoice', COUNT(*) FROM cde c WHERE c.facturee='OUI' AND NOT EXISTS (SELECT 1 FROM facture_entete f WHERE f.num_facture=c.num_facture AND f.type_fac='FACTURE');
SELECT 'liv flagged but no invoice', COUNT(*) FROM livraison c WHERE c.facturee='OUI' AND NOT EXISTS (SELECT 1 FROM facture_entete f WHERE f.num_facture=c.num_facture AND f.type_fac='FACTURE');
SELECT 'bl numbers shared', COUNT(*) FROM cde c JOIN livraison l ON l.inc=c.inc;
SELECT 'counters behind the data', ((SELECT MAX(n_lot) FROM coupe) <> n_lot) + (GREATEST((SELECT MAX(inc) FROM cde),(SELECT MAX(inc) FROM livraison)) <> num_bl) + ((SELECT MAX(num_facture) FROM facture_entete) <> num_facture) FROM increment;
