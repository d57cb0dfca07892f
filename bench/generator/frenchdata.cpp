#include "frenchdata.h"

namespace ravelin::bench {

const std::vector<Commune> &communes()
{
    static const std::vector<Commune> list{
        // Nièvre and the Morvan
        {"Nevers", "58000", 46.990, 3.159}, {"Clamecy", "58500", 47.460, 3.519}, {"Cosne-Cours-sur-Loire", "58200", 47.411, 2.926},
        {"Decize", "58300", 46.828, 3.462}, {"Château-Chinon", "58120", 47.064, 3.933}, {"Corbigny", "58800", 47.257, 3.683},
        {"Lormes", "58140", 47.290, 3.818}, {"Luzy", "58170", 46.790, 3.971}, {"Montsauche-les-Settons", "58230", 47.218, 4.025},
        {"Saint-Honoré-les-Bains", "58360", 46.905, 3.840}, {"Moulins-Engilbert", "58290", 46.988, 3.810},
        {"Prémery", "58700", 47.170, 3.330}, {"Varzy", "58210", 47.359, 3.386}, {"Donzy", "58220", 47.370, 3.126},
        {"La Charité-sur-Loire", "58400", 47.177, 3.019}, {"Pouilly-sur-Loire", "58150", 47.284, 2.953},
        {"Fourchambault", "58600", 47.018, 3.083}, {"Imphy", "58160", 46.926, 3.262}, {"Saint-Pierre-le-Moûtier", "58240", 46.793, 3.118},
        {"Dornes", "58390", 46.716, 3.352}, {"Cercy-la-Tour", "58340", 46.869, 3.646}, {"Fours", "58250", 46.818, 3.717},
        {"Arleuf", "58430", 47.052, 4.021}, {"Ouroux-en-Morvan", "58230", 47.188, 3.947}, {"Gouloux", "58230", 47.326, 4.062},
        {"Saint-Brisson", "58230", 47.272, 4.092}, {"Dun-les-Places", "58230", 47.282, 3.979}, {"Brassy", "58140", 47.250, 3.811},
        {"Planchez", "58230", 47.131, 4.012}, {"Glux-en-Glenne", "58370", 46.962, 4.010}, {"Larochemillay", "58370", 46.874, 3.992},
        {"Villapourçon", "58370", 46.959, 3.953}, {"Montigny-en-Morvan", "58120", 47.148, 3.868}, {"Chaumard", "58120", 47.147, 3.913},
        {"Alligny-en-Morvan", "58230", 47.202, 4.173}, {"Saint-Agnan", "58230", 47.331, 4.099}, {"Tannay", "58190", 47.367, 3.592},
        {"Brinon-sur-Beuvron", "58420", 47.283, 3.497}, {"Châtillon-en-Bazois", "58110", 47.053, 3.658},
        {"Saint-Saulge", "58330", 47.104, 3.514}, {"Guérigny", "58130", 47.087, 3.201}, {"Urzy", "58130", 47.050, 3.203},
        {"Châteauneuf-Val-de-Bargis", "58350", 47.283, 3.227}, {"Entrains-sur-Nohain", "58410", 47.463, 3.259},
        {"Saint-Amand-en-Puisaye", "58310", 47.529, 3.073}, {"Lurcy-le-Bourg", "58700", 47.160, 3.385},
        {"Anthien", "58800", 47.303, 3.730}, {"Mhère", "58140", 47.203, 3.864}, {"Gâcogne", "58140", 47.226, 3.848},
        {"Empury", "58140", 47.346, 3.800}, {"Marigny-l-Église", "58140", 47.361, 3.916}, {"Chalaux", "58140", 47.340, 3.882},
        {"Moux-en-Morvan", "58230", 47.166, 4.147}, {"Gien-sur-Cure", "58230", 47.149, 4.085}, {"Onlay", "58370", 46.969, 3.888},
        {"Fâchin", "58430", 47.013, 3.971}, {"Saint-Prix", "71990", 46.957, 4.058}, {"Lavault-de-Frétoy", "58230", 47.104, 4.019},
        // Yonne
        {"Avallon", "89200", 47.490, 3.908}, {"Vézelay", "89450", 47.466, 3.746}, {"Auxerre", "89000", 47.798, 3.567},
        {"Tonnerre", "89700", 47.856, 3.973}, {"Joigny", "89300", 47.982, 3.397}, {"Sens", "89100", 48.197, 3.283},
        {"Toucy", "89130", 47.736, 3.295}, {"Saint-Fargeau", "89170", 47.640, 3.071}, {"Noyers", "89310", 47.698, 3.994},
        {"Guillon", "89420", 47.516, 4.098}, {"Saint-Père", "89450", 47.463, 3.760}, {"Chastellux-sur-Cure", "89630", 47.397, 3.889},
        {"Quarré-les-Tombes", "89630", 47.366, 3.999}, {"Saint-Germain-des-Champs", "89630", 47.430, 3.858},
        {"Vermenton", "89270", 47.659, 3.733}, {"Courson-les-Carrières", "89560", 47.602, 3.500},
        {"Saint-Sauveur-en-Puisaye", "89520", 47.620, 3.198}, {"Ancy-le-Franc", "89160", 47.776, 4.163}, {"Chablis", "89800", 47.815, 3.798},
        {"Coulanges-la-Vineuse", "89580", 47.703, 3.579}, {"Saint-Léger-Vauban", "89630", 47.378, 4.039}, {"Bussières", "89630", 47.431, 3.985},
        // Côte-d'Or
        {"Saulieu", "21210", 47.280, 4.229}, {"Semur-en-Auxois", "21140", 47.492, 4.334}, {"Montbard", "21500", 47.624, 4.337},
        {"Dijon", "21000", 47.322, 5.041}, {"Beaune", "21200", 47.025, 4.839}, {"Arnay-le-Duc", "21230", 47.133, 4.484},
        {"Pouilly-en-Auxois", "21320", 47.264, 4.555}, {"Vitteaux", "21350", 47.398, 4.542}, {"Précy-sous-Thil", "21390", 47.389, 4.310},
        {"Liernais", "21430", 47.206, 4.283}, {"Châtillon-sur-Seine", "21400", 47.859, 4.573}, {"Is-sur-Tille", "21120", 47.524, 5.106},
        {"Nuits-Saint-Georges", "21700", 47.137, 4.949}, {"Recey-sur-Ource", "21290", 47.783, 4.860},
        {"Baigneux-les-Juifs", "21450", 47.600, 4.631}, {"Sombernon", "21540", 47.308, 4.704}, {"Bligny-sur-Ouche", "21360", 47.108, 4.664},
        {"Aignay-le-Duc", "21510", 47.666, 4.737}, {"Venarey-les-Laumes", "21150", 47.543, 4.460}, {"Saint-Martin-de-la-Mer", "21210", 47.232, 4.195},
        {"Champeau-en-Morvan", "21210", 47.260, 4.163}, {"Montlay-en-Auxois", "21210", 47.327, 4.271},
        // Saône-et-Loire
        {"Autun", "71400", 46.951, 4.299}, {"Le Creusot", "71200", 46.801, 4.425}, {"Montceau-les-Mines", "71300", 46.667, 4.368},
        {"Chalon-sur-Saône", "71100", 46.781, 4.854}, {"Mâcon", "71000", 46.307, 4.828}, {"Charolles", "71120", 46.434, 4.276},
        {"Paray-le-Monial", "71600", 46.451, 4.120}, {"Digoin", "71160", 46.481, 3.982}, {"Gueugnon", "71130", 46.604, 4.063},
        {"Cluny", "71250", 46.434, 4.659}, {"Tournus", "71700", 46.563, 4.909}, {"Louhans", "71500", 46.627, 5.224},
        {"Épinac", "71360", 46.985, 4.513}, {"Couches", "71490", 46.868, 4.568}, {"Anost", "71550", 47.077, 4.100},
        {"Roussillon-en-Morvan", "71550", 47.018, 4.107}, {"La Grande-Verrière", "71990", 46.966, 4.147},
        {"Étang-sur-Arroux", "71190", 46.866, 4.190}, {"Mesvres", "71190", 46.860, 4.248}, {"Toulon-sur-Arroux", "71320", 46.693, 4.138},
        {"La Clayette", "71800", 46.290, 4.305}, {"Matour", "71520", 46.305, 4.483}, {"Bourbon-Lancy", "71140", 46.622, 3.771},
        {"Saint-Gengoux-le-National", "71460", 46.612, 4.664}, {"Uchon", "71190", 46.818, 4.253}, {"Cussy-en-Morvan", "71550", 47.089, 4.166},
        // Allier, Cher, Loiret
        {"Moulins", "03000", 46.566, 3.333}, {"Vichy", "03200", 46.128, 3.425}, {"Montluçon", "03100", 46.340, 2.604},
        {"Lapalisse", "03120", 46.248, 3.637}, {"Dompierre-sur-Besbre", "03290", 46.519, 3.680}, {"Le Donjon", "03130", 46.350, 3.792},
        {"Souvigny", "03210", 46.533, 3.192}, {"Cérilly", "03350", 46.618, 2.821}, {"Le Mayet-de-Montagne", "03250", 46.072, 3.667},
        {"Saint-Pourçain-sur-Sioule", "03500", 46.308, 3.289}, {"Lurcy-Lévis", "03320", 46.730, 2.938},
        {"Jaligny-sur-Besbre", "03220", 46.381, 3.590}, {"Sancerre", "18300", 47.332, 2.838}, {"Aubigny-sur-Nère", "18700", 47.488, 2.439},
        {"Saint-Amand-Montrond", "18200", 46.723, 2.505}, {"Bourges", "18000", 47.081, 2.399}, {"Sancoins", "18600", 46.833, 2.917},
        {"Léré", "18240", 47.469, 2.870}, {"Gien", "45500", 47.689, 2.630}, {"Briare", "45250", 47.640, 2.741},
        {"Châtillon-Coligny", "45230", 47.822, 2.845}};
    return list;
}

const std::vector<ForeignTown> &foreignTowns()
{
    static const std::vector<ForeignTown> list{
        {"Freiburg im Breisgau", "79108", "Allemagne", "DE"}, {"Stuttgart", "70173", "Allemagne", "DE"},
        {"Karlsruhe", "76131", "Allemagne", "DE"}, {"Ulm", "89073", "Allemagne", "DE"}, {"Offenburg", "77652", "Allemagne", "DE"},
        {"Milano", "20121", "Italie", "IT"}, {"Udine", "33100", "Italie", "IT"}, {"Verona", "37121", "Italie", "IT"},
        {"Torino", "10121", "Italie", "IT"}, {"Liège", "4000", "Belgique", "BE"}, {"Namur", "5000", "Belgique", "BE"},
        {"Basel", "4051", "Suisse", "CHE"}, {"Barcelona", "08001", "Espagne", "ES"}, {"Luxembourg", "1611", "Luxembourg", "LU"}};
    return list;
}

const std::vector<std::string> &surnames()
{
    static const std::vector<std::string> list{
        "Martin", "Bernard", "Thomas", "Petit", "Robert", "Richard", "Durand", "Dubois", "Moreau", "Laurent", "Simon", "Michel",
        "Lefebvre", "Leroy", "Roux", "David", "Bertrand", "Morel", "Fournier", "Girard", "Bonnet", "Dupont", "Lambert",
        "Fontaine", "Rousseau", "Vincent", "Muller", "Lefèvre", "Faure", "André", "Mercier", "Blanc", "Guérin", "Boyer",
        "Garnier", "Chevalier", "François", "Legrand", "Gauthier", "Garcia", "Perrin", "Robin", "Clément", "Morin", "Nicolas",
        "Henry", "Roussel", "Mathieu", "Gautier", "Masson", "Marchand", "Duval", "Denis", "Dumont", "Lemaire", "Noël",
        "Meyer", "Dufour", "Meunier", "Brun", "Blanchard", "Giraud", "Joly", "Rivière", "Lucas", "Brunet", "Gaillard",
        "Barbier", "Arnaud", "Gérard", "Roche", "Renard", "Schmitt", "Roy", "Leroux", "Colin", "Vidal", "Caron", "Picard",
        "Roger", "Fabre", "Aubert", "Lemoine", "Renaud", "Dumas", "Lacroix", "Olivier", "Philippe", "Bourgeois", "Pierre",
        "Benoît", "Rey", "Leclerc", "Rolland", "Guillaume", "Lecomte", "Dupuy", "Guillot", "Hubert", "Berger", "Carpentier",
        "Dupuis", "Moulin", "Louis", "Deschamps", "Huet", "Vasseur", "Boucher", "Fleury", "Royer", "Klein", "Jacquet",
        "Adam", "Poirier", "Marty", "Aubry", "Guyot", "Carré", "Charles", "Renault", "Charpentier", "Ménard", "Maillard",
        "Baron", "Bertin", "Bailly", "Hervé", "Schneider", "Collet", "Léger", "Bouvier", "Julien", "Prévost", "Millet",
        "Perrot", "Daniel", "Cousin", "Germain", "Breton", "Besson", "Langlois", "Rémy", "Pelletier", "Lebrun", "Thévenin",
        "Bouchard", "Pernot", "Ravier", "Chaumont", "Lagrange", "Bourdon", "Desbois", "Forestier", "Moine", "Jacob",
        "Tissier", "Bouillot", "Ragot", "Pillot", "Verdier", "Rameau", "Gueneau", "Desvignes", "Monnot", "Chapuis", "Regnier",
        "Naudin", "Lhomme", "Bonnot", "Sirot", "Barbet", "Gaudry", "Mathey", "Prost", "Vacher", "Beaufils"};
    return list;
}

const std::vector<std::string> &maleFirstNames()
{
    static const std::vector<std::string> list{
        "Jean", "Pierre", "Michel", "André", "Philippe", "Alain", "Bernard", "Jacques", "Daniel", "Patrick", "Christian",
        "Gérard", "Marc", "Thierry", "Laurent", "Éric", "Frédéric", "Pascal", "Olivier", "Didier", "Yannick", "Sébastien",
        "Nicolas", "Stéphane", "Julien", "Romain", "Hervé", "Luc", "Benoît", "Guillaume", "Maxime", "Thomas", "Antoine",
        "Franck", "Gilles", "Joël", "Denis", "Rémi", "Hugo", "Mathieu"};
    return list;
}

const std::vector<std::string> &femaleFirstNames()
{
    static const std::vector<std::string> list{
        "Marie", "Nathalie", "Isabelle", "Sylvie", "Catherine", "Françoise", "Christine", "Monique", "Valérie", "Sandrine",
        "Sophie", "Céline", "Aurélie", "Claire", "Hélène", "Émilie", "Julie", "Anne", "Martine", "Nadia", "Brigitte",
        "Laurence", "Véronique", "Chantal", "Camille", "Pauline", "Élodie", "Agnès", "Odile", "Lucie"};
    return list;
}

const std::vector<std::string> &placeNames()
{
    static const std::vector<std::string> list{
        "Les Brenets", "Bois de la Chaume", "Le Grand Bois", "Les Rivières", "Le Haut-Folin", "La Croix Blanche",
        "Les Champs Gaudin", "Bois Brûlé", "La Grande Vente", "Les Fourches", "Le Crot Blanc", "Bois du Roi", "La Côte",
        "Les Mollières", "Le Bois Joli", "Les Grandes Varennes", "La Fontaine Froide", "Le Puits", "Les Essarts", "La Brosse",
        "Les Taillis", "Le Montot", "La Garenne", "Les Bruyères", "Le Charnay", "Les Vernes", "La Chaume Rouge", "Le Bois Dieu",
        "Les Granges", "La Forêt Bleue", "Bois des Dames", "Le Défens", "Les Hâtes", "La Vente Neuve", "Le Bois Vert",
        "Les Pâtis", "La Roche", "Le Bouchat", "Les Seignes", "Montbois", "La Chapelle", "Les Loges", "Le Tremblay",
        "Les Prés Hauts", "La Ferté", "Le Champ du Bois", "Les Fourneaux", "Bois Gaulois", "La Combe", "Les Places",
        "Le Rondeau", "Les Perrières", "Le Vernay", "La Boulaie", "Les Chênes", "Le Fayard", "La Sapinière", "Les Épinettes",
        "Le Gros Chêne", "La Charme", "Les Bouleaux", "Le Bois Carré", "Les Mouilles", "La Queue de Bois", "Le Pré Long",
        "Les Genêts", "La Montagne", "Le Bois des Fourches", "Les Grands Prés", "La Justice", "Le Moulin Brûlé", "Les Vignes",
        "Bois Chevalier", "La Verrerie", "Le Four à Chaux", "Les Charbonnières", "La Tuilerie", "Le Bois Communal",
        "Les Communaux", "La Grande Pièce"};
    return list;
}

const std::vector<std::string> &streets()
{
    static const std::vector<std::string> list{
        "rue de la Gare", "rue de la Mairie", "Grande Rue", "route de Saulieu", "route de Nevers", "rue des Écoles",
        "chemin du Moulin", "rue du Château", "place de la Halle", "rue des Fossés", "route de Clamecy", "rue Pasteur",
        "avenue de la République", "rue Victor Hugo", "rue du Général de Gaulle", "chemin des Prés", "route de Château-Chinon",
        "rue de la Fontaine", "rue des Tilleuls", "rue du Commerce", "impasse des Lilas", "route de Lormes", "rue du Stade",
        "chemin de la Croix", "rue Jean Jaurès", "zone artisanale des Fontaines", "ZI de la Grande Corvée", "rue de Paris",
        "route de Dijon", "rue des Vignes", "chemin des Bois", "rue du Lavoir"};
    return list;
}

const std::vector<std::string> &jobTitles()
{
    static const std::vector<std::string> list{
        "Gérant", "Responsable technique", "Responsable achats", "Comptabilité", "Chef de chantier", "Directeur",
        "Responsable exploitation", "Secrétariat", "Responsable chaufferie", "Acheteur bois"};
    return list;
}

} // namespace ravelin::bench
