#include "company.h"

#include "frenchdata.h"
#include "rng.h"
#include "settings.h"
#include "tablelayout.h"
#include "users.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace ravelin::bench {

namespace {

// ---------------------------------------------------------------------------------------------
// Units, species and the conversion the program calls corres
// ---------------------------------------------------------------------------------------------

enum Unit { M3 = 0, Tonne = 1, Stere = 2, Heure = 3 };
const char *unitName(int unit)
{
    static const char *names[] = {"m3", "T", "Stere", "Heure"};
    return names[unit];
}
constexpr int kDefaultUnit = M3; // perso.unite_defaut of the generated company

struct Species
{
    const char *name;
    const char *code;
    double coef[3]; // m3, T, Stere: the quantities that are worth one another
    double bark;    // pourcent_ecorce
};
enum SpeciesId {
    Chene,
    Hetre,
    Charme,
    Frene,
    Chataignier,
    Douglas,
    Epicea,
    Sapin,
    PinSylvestre,
    Meleze,
    Peuplier,
    BoisEnergie,
    SpeciesCount
};
const Species kSpecies[SpeciesCount] = {
    {"Chêne", "CH", {1, 1.05, 1.5}, 12},         {"Hêtre", "HE", {1, 1, 1.5}, 6},
    {"Charme", "CA", {1, 1.05, 1.5}, 5},         {"Frêne", "FR", {1, 1, 1.5}, 9},
    {"Châtaignier", "CT", {1, 0.95, 1.5}, 12},   {"Douglas", "DO", {1, 0.85, 1.6}, 12},
    {"Épicéa", "EP", {1, 0.8, 1.6}, 10},         {"Sapin", "SP", {1, 0.85, 1.6}, 10},
    {"Pin sylvestre", "PS", {1, 0.85, 1.6}, 14}, {"Mélèze", "ME", {1, 0.85, 1.6}, 12},
    {"Peuplier", "PE", {1, 0.8, 1.6}, 12},       {"BOIS ENERGIE", "BE", {1, 0.9, 1.4}, 0}};

enum QualityId {
    QA,
    QB,
    QC,
    QD,
    Charpente,
    Palette,
    Trituration,
    Chauffage,
    Buche33,
    Buche50,
    Buche1m,
    Plaquette,
    QualityCount
};
const char *kQualities[QualityCount] = {"A",           "B",           "C",           "D",
                                        "Charpente",   "Palette",     "Trituration", "Chauffage",
                                        "Bûche 33 cm", "Bûche 50 cm", "Bûche 1 m",   "PLAQUETTE DE BOIS"};

struct ClassRange
{
    const char *name;
    int low, high;
};
const ClassRange kClasses[] = {{"1a", 10, 15}, {"1b", 15, 20}, {"2a", 20, 25}, {"2b", 25, 30}, {"3a", 30, 35},
                               {"3b", 35, 40}, {"4", 40, 50},  {"5", 50, 60},  {"6", 60, 150}};

// The first class, by lowest bound, that covers the diameter (both bounds inclusive).
const char *classOf(int diameter)
{
    for (const ClassRange &c : kClasses)
        if (c.low <= diameter && diameter <= c.high) return c.name;
    return nullptr;
}

double round2(double v)
{
    const double r = std::round(v * 100.0) / 100.0;
    return r == 0 ? 0.0 : r;
}
double round3(double v)
{
    const double r = std::round(v * 1000.0) / 1000.0;
    return r == 0 ? 0.0 : r;
}

// corres(species, target unit, source unit, quantity): the quantity times the species' value for
// the target unit over its value for the source unit, to hundredths; 0 for a unit that is no
// column of essence (Heure) or a species without a row.
double corres(int species, int to, int from, double quantity)
{
    if (species < 0 || to > Stere || from > Stere) return 0;
    const double f = kSpecies[species].coef[from];
    if (f == 0) return 0;
    return round2(quantity * kSpecies[species].coef[to] / f);
}

// Prices of the last year; earlier years are deflated by about 2.2 % a year.
double inflation(int year, int lastYear)
{
    return std::pow(1.022, year - lastYear);
}

// Sale price per unit of the quality's usual unit (m3 for logs and pulp, T for trituration and
// chips, stere for firewood).
double salePrice(int species, int quality)
{
    switch (quality) {
    case QA:
    case QB:
    case QC:
    case QD: {
        static const double table[SpeciesCount][3] = {{420, 220, 110}, {130, 85, 55}, {60, 45, 35}, {170, 105, 70},
                                                      {120, 80, 55},   {78, 70, 60},  {62, 55, 48}, {58, 52, 45},
                                                      {50, 45, 40},    {82, 72, 60},  {60, 45, 35}, {30, 30, 30}};
        return table[species][quality == QD ? 2 : quality];
    }
    case Charpente: {
        static const double byResinous[SpeciesCount] = {120, 90, 60, 100, 90, 78, 62, 58, 50, 82, 55, 30};
        return byResinous[species];
    }
    case Palette: return 38;
    case Trituration: return 30;
    case Chauffage: return 72;
    case Buche33: return 88;
    case Buche50: return 80;
    case Buche1m: return 70;
    case Plaquette: return 95;
    }
    return 50;
}
int usualUnit(int quality)
{
    switch (quality) {
    case Trituration:
    case Plaquette: return Tonne;
    case Chauffage:
    case Buche33:
    case Buche50:
    case Buche1m: return Stere;
    default: return M3;
    }
}
// Price per unit `unit`, converted from the usual unit through the species.
double priceIn(int species, int quality, int unit, double base)
{
    const int usual = usualUnit(quality);
    if (unit == usual || unit > Stere) return base;
    // one `unit` is worth coef[usual]/coef[unit] usual units
    return base * kSpecies[species].coef[usual] / kSpecies[species].coef[unit];
}

// ---------------------------------------------------------------------------------------------
// Calendar: seasonal and growing activity over the years
// ---------------------------------------------------------------------------------------------

enum Activity { LotPurchase, FirewoodSale, TimberSale, ChipDelivery, TransferWork, ActivityCount };

class Calendar
{
public:
    Calendar(Day first, Day last) : m_first(first)
    {
        static const double months[ActivityCount][12] = {
            {1.2, 1.0, 1.0, 0.8, 0.6, 0.5, 0.4, 0.3, 1.0, 1.5, 1.6, 1.1},   // lots: autumn sales of standing timber
            {0.8, 0.6, 0.5, 0.6, 0.7, 0.7, 0.6, 0.6, 1.3, 1.8, 1.7, 1.1},   // firewood for the winter
            {1.2, 1.2, 1.2, 1.0, 0.9, 0.8, 0.7, 0.5, 0.9, 1.0, 1.1, 0.9},   // logs
            {1.8, 1.6, 1.3, 0.8, 0.5, 0.3, 0.25, 0.25, 0.5, 1.1, 1.6, 1.8}, // chips for the boilers
            {0.7, 0.7, 1.0, 1.3, 1.3, 1.1, 0.9, 0.6, 0.8, 0.9, 0.9, 0.6}};  // splitting and moving firewood
        static const double weekdays[7] = {0.03, 1, 1, 1, 1, 1, 0.2};       // Sunday ... Saturday
        const int span = std::max(1, last - first);
        for (int a = 0; a < ActivityCount; ++a) {
            double total = 0;
            m_cumulative[a].reserve(static_cast<std::size_t>(span + 1));
            for (Day d = first; d <= last; d = d.plus(1)) {
                const double growth = 0.6 + 0.8 * (d - first) / span; // the company grows
                total += growth * months[a][d.month() - 1] * weekdays[d.weekday()];
                m_cumulative[a].push_back(total);
            }
        }
    }
    Day day(Rng &r, Activity a) const { return m_first.plus(static_cast<int>(r.weighted(m_cumulative[a]))); }
    Moment moment(Rng &r, Activity a) const { return Moment{day(r, a), 7 * 3600 + 300 * r.between(0, 132)}; }

private:
    Day m_first;
    std::vector<double> m_cumulative[ActivityCount];
};

// ---------------------------------------------------------------------------------------------
// Text helpers
// ---------------------------------------------------------------------------------------------

// Lower-case ASCII for e-mail addresses: accents dropped, spaces become dots.
std::string asciiLower(const std::string &text)
{
    static const std::pair<const char *, char> accents[] = {
        {"à", 'a'}, {"â", 'a'}, {"ä", 'a'}, {"ç", 'c'}, {"é", 'e'}, {"è", 'e'}, {"ê", 'e'}, {"ë", 'e'},
        {"î", 'i'}, {"ï", 'i'}, {"ô", 'o'}, {"ö", 'o'}, {"ù", 'u'}, {"û", 'u'}, {"ü", 'u'}, {"É", 'e'},
        {"È", 'e'}, {"Ê", 'e'}, {"Â", 'a'}, {"Î", 'i'}, {"Ô", 'o'}, {"Ç", 'c'}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (std::isalnum(c)) out += static_cast<char>(std::tolower(c));
            else if ((c == ' ' || c == '-' || c == '.') && !out.empty() && out.back() != '.') out += '.';
            ++i;
            continue;
        }
        bool found = false;
        for (const auto &a : accents) {
            const std::size_t n = std::char_traits<char>::length(a.first);
            if (text.compare(i, n, a.first) == 0) {
                out += a.second;
                i += n;
                found = true;
                break;
            }
        }
        if (!found) ++i;
    }
    while (!out.empty() && out.back() == '.') out.pop_back();
    return out;
}

// A sort key that orders names as the server's utf8mb4_unicode_ci does for the names generated
// here: accents and case ignored, spaces and punctuation before digits and letters.
std::string collationKey(const std::string &text)
{
    static const std::pair<const char *, char> accents[] = {
        {"à", 'a'}, {"â", 'a'}, {"ä", 'a'}, {"ç", 'c'}, {"é", 'e'}, {"è", 'e'}, {"ê", 'e'}, {"ë", 'e'},
        {"î", 'i'}, {"ï", 'i'}, {"ô", 'o'}, {"ö", 'o'}, {"ù", 'u'}, {"û", 'u'}, {"ü", 'u'}, {"É", 'e'},
        {"È", 'e'}, {"Ê", 'e'}, {"Â", 'a'}, {"Î", 'i'}, {"Ô", 'o'}, {"Ç", 'c'}};
    std::string key;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            key += static_cast<char>(std::tolower(c));
            ++i;
            continue;
        }
        bool found = false;
        for (const auto &a : accents) {
            const std::size_t n = std::char_traits<char>::length(a.first);
            if (text.compare(i, n, a.first) == 0) {
                key += a.second;
                i += n;
                found = true;
                break;
            }
        }
        if (!found) key += text[i++];
    }
    return key;
}

std::string digits(Rng &r, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + r.between(0, 9));
    return s;
}

std::string phone(Rng &r, const char *cp, bool mobile)
{
    char buf[32];
    if (mobile) {
        std::snprintf(buf, sizeof buf, "0%d %02d %02d %02d %02d", r.chance(0.7) ? 6 : 7, r.between(0, 99),
                      r.between(0, 99), r.between(0, 99), r.between(0, 99));
        return buf;
    }
    const std::string dept = std::string(cp).substr(0, 2);
    const char *prefix = dept == "58" || dept == "89" ? "03 86"
                         : dept == "21"               ? "03 80"
                         : dept == "71"               ? "03 85"
                         : dept == "03"               ? "04 70"
                         : dept == "18"               ? "02 48"
                         : dept == "45"               ? "02 38"
                                                      : "03 86";
    std::snprintf(buf, sizeof buf, "%s %02d %02d %02d", prefix, r.between(0, 99), r.between(0, 99), r.between(0, 99));
    return buf;
}

std::string pefcNumber(Rng &r)
{
    return "10-31-" + digits(r, 4);
}

std::string latitudeText(Rng &r, const Commune &c, double spread)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.4f,%.4f", c.latitude + r.range(-spread, spread),
                  c.longitude + r.range(-spread, spread));
    return buf;
}

// ---------------------------------------------------------------------------------------------
// The company's records
// ---------------------------------------------------------------------------------------------

enum PlaceKind { Particulier, Scierie, Chaufferie, Entreprise, Export, ChipZone, FirewoodZone, PlaceKindCount };

struct Place
{
    int kind = Particulier;
    std::string client, destination, adresse, adresse1, cp, ville, pays;
    std::string clientFac, adresseFac, adresse1Fac, cpFac, villeFac, paysFac;
    std::string nom1, fonction1, tel1, portable1, email1, nom2, fonction2, tel2, portable2, email2;
    std::string unite, pefc, tvaIntra, commentaire, latitude;
    double coutMwh = 0, coutTonne = 0;
    int incTva = 0, incReglement = 0;
    double tonnageMaxi = 0, tonnageInventaire = 0;
    Day dateInventaire;
    bool inventory = false;
    double weight = 1;
};

struct Contractor
{
    int number = 0;
    std::string societe, famille, commentaire, pefc;
    double tonne = 0, heure = 0, volume = 0, surface = 0, stere = 0;
    int fromYear = 0, toYear = 0;
    double weight = 1;
};

struct Action
{
    std::string type;
    int contractor = -1;
    Day date;
    double quantity = 0;
    std::string unit;
    double unitPrice = 0, cost = 0;
    int lotNo = 0;      // 0: none
    int volumeLine = 0; // grume.inc, 0: none
    bool settled = false;
    int km = -1, roadSeconds = -1;
    double hours = -1;
};

struct Estimate
{
    int line = -1; // the volume line it feeds (index in lines)
    int species = 0, quality = 0, unit = 0;
    double qte = 0, qteReel = 0, qteDefaut = 0, prixUnit = 0, prixTotal = 0;
    std::string comment;
};

struct Owner
{
    std::string nom, type, parcelle, acheteur, adresse, cp, ville, tel, pefc;
    Day date;
    bool fixe = true;
    double prixAchat = 0, prixEstime = 0, cvo = 0, coutTotal = 0, estimation = 0, acompte = 0, surface = 0;
    bool paid = false;
    std::vector<Estimate> estimates;
};

enum LineKind { LogWood, PulpWood, Firewood, Energy };

struct VolumeLine
{
    int inc = 0;
    int lot = 0; // index in lots
    int kind = LogWood;
    int species = 0, quality = 0, unit = 0;
    double qte = 0;
    Day built, availableFrom;
    int finPied = 0, finAbattage = 0;
    int logCount = 0;
    std::uint64_t logSeed = 0;
    double remaining = 0;                                                  // default unit, still to go
    double soldFromLot = 0, chips = 0, transferred = 0, soldFromStock = 0; // A, B, C, D in the default unit
    double costFelling = 0, costSkidding = 0, costOther = 0;
    bool hasFelling = false, hasSkidding = false, hasOther = false;
    std::vector<std::pair<int, double>> logTakers; // order number, volume in the default unit
};

struct Lot
{
    int number = 0;
    Day date;
    int kind = 0;
    std::string typeAchat, groupe, lieu, adresse, cp, latitude, commentaire;
    int commune = 0;
    bool finished = false;
    bool pefc = false;
    Day alert, end;
    bool hasAlert = false;
    Day felled, logsMeasured;
    int finPied = 0, finAbattage = 0;
    std::vector<Owner> owners; // in name order
    int firstLine = 0, lineCount = 0;
    double logTotal = 0, logDelivered = 0;
    bool hasLogs = false;
};

struct WorkRow
{
    int line = 0;
    Action action;
};

struct OrderLine
{
    int inc = 0;
    int order = 0;
    int species = -1, quality = 0;
    double qteLiv = 0, prixUnit = 0, prixTotal = 0, qteDefaut = 0, qteConso = 0, stockQte = 0;
    int uniteConso = M3;
    char origin = 'A'; // C lot, S stock, A elsewhere
    int lotNo = 0, volumeLine = 0, stock = -1;
};

struct Order
{
    int inc = 0;
    Moment date, wished;
    std::string type;
    int place = 0;
    int unit = M3;
    std::string customerRef, text;
    int firstLine = 0, lineCount = 0;
    std::vector<Action> actions;
    double qteLiv = 0, qteDefaut = 0, price = 0, actionCost = 0;
    bool delivered = false;
    int invoice = 0;
};

struct Delivery
{
    int inc = 0;
    Moment date;
    std::string operation, depart, destinationText;
    int place = -1;
    int lot = -1, line = -1;
    int species = BoisEnergie;
    int uniteConso = M3;
    bool weighed = true;
    double tonnage = 0, qteDefaut = 0, pefc = 0, pefcDefaut = 0, conso = 0, humidite = 30;
    std::string unite = "TONNE";
    bool priced = false, mwhPriced = false;
    double prixTonne = 0, prixMwh = 0, mwh = 0, totalMwh = 0, total = 0;
    bool hasPrixTonne = true;
    std::string ticket, verifie, chargeoir, lettre, pesage, transporteur, comment;
    double broyeurPu = 0, transportPu = 0;
    std::vector<Action> actions;
    int invoice = 0;
};

struct StockRow
{
    int inc = 0;
    int zone = 0;
    int species = 0, quality = 0, unit = Stere;
    int lotNo = 0, volumeLine = 0;
    double qte = 0, qteDefaut = 0;
    Moment created;
};

struct TransferLine
{
    int species = 0, quality = 0;
    int lotNo = 0, volumeLine = 0;
    int uniteConso = Stere;
    double qteConso = 0;
    int uniteDepart = -1;
    int stockInc = 0;
    int qualityDest = 0;
    double qteLiv = 0;
    int uniteLiv = Stere;
    double qteDefaut = 0;
    int coefRow = 1;
    double coef = 0;
};

struct Transfer
{
    int inc = 0;
    Moment date;
    std::string type, depart;
    int destination = 0;
    std::string typeDestination = "STOCK";
    std::string text;
    std::vector<TransferLine> lines;
    std::vector<Action> actions;
};

struct InvoiceDoc
{
    bool isOrder = true;
    int index = 0;
    Day date;
};

struct Invoice
{
    int number = 0;
    bool credit = false;
    Day date, due;
    int place = 0;
    std::vector<InvoiceDoc> docs;
    double ht = 0;
    int sequence = 0; // order of creation, to number documents of the same day
};

struct Coefficient
{
    int inc;
    const char *designation;
    double coef;
    int unit;
};
const Coefficient kCoefficients[] = {{2, "Sciage bûche 33 cm / m3", 45, M3},
                                     {3, "Sciage bûche 33 cm / tonne", -10, Tonne},
                                     {4, "Sciage bûche 33 cm / stère", 23, Stere},
                                     {5, "Séchage bûche à 20 % humidité / m3", -11, M3},
                                     {6, "Séchage bûche à 20 % humidité / tonne", -24, Tonne},
                                     {7, "Séchage bûche à 20 % humidité / stère", -14, Stere}};

struct PaymentMode
{
    int inc;
    const char *text;
    int days;
    bool endOfMonth;
    int dayAfter;
};
const PaymentMode kPaymentModes[] = {{1, "Virement 30 jours fin de mois le 10", 30, true, 10},
                                     {2, "Virement 30 jours net", 30, false, 0},
                                     {3, "Virement 45 jours net", 45, false, 0},
                                     {4, "Chèque à réception de facture", 0, false, 0},
                                     {5, "Mandat administratif 30 jours", 30, false, 0},
                                     {6, "LCR 60 jours fin de mois", 60, true, 0}};
const double kVatRates[] = {20, 10, 5.5, 0}; // liste_tva rows 1 to 4

// The due date: invoice date + the term; at the end of the month, the first of the next month
// plus (day after - 1) days.
Day dueDate(Day invoiceDate, int paymentMode)
{
    const PaymentMode &mode = kPaymentModes[std::clamp(paymentMode, 1, 6) - 1];
    const Day e = invoiceDate.plus(mode.days);
    if (!mode.endOfMonth) return e;
    return e.firstOfMonth().plusMonths(1).plus(mode.dayAfter - 1);
}

const char *kBuyers[] = {"Jean-Marc Perrot", "Sophie Lambert",  "Thierry Gauthier",
                         "Luc Moreau",       "Nathalie Brunet", "Romain Bouchard"};
const char *kCompanyName = "Bois et Énergies du Haut-Morvan";
const char *kFamilies[] = {"ABATTAGE", "DEBARDAGE", "BROYAGE", "TRANSPORT", "CHARGEMENT", "FENDAGE", "REMISE EN ETAT"};
enum FamilyId { FAbattage, FDebardage, FBroyage, FTransport, FChargement, FFendage, FRemise, FamilyCount };

} // namespace

// ---------------------------------------------------------------------------------------------
// Targets
// ---------------------------------------------------------------------------------------------

Targets Targets::forScale(double scale)
{
    auto n = [scale](double base, int minimum) {
        return std::max(minimum, static_cast<int>(std::lround(base * scale)));
    };
    Targets t;
    t.lots = n(6000, 20);
    t.contractors = n(300, 14);
    t.places = n(8000, 40);
    t.chipZones = n(25, 2);
    t.firewoodZones = n(25, 2);
    t.orders = n(60000, 60);
    t.deliveries = n(100000, 100);
    t.transfers = n(10000, 20);
    t.invoices = n(100000, 60);
    return t;
}

// ---------------------------------------------------------------------------------------------
// The model
// ---------------------------------------------------------------------------------------------

struct CompanyGenerator::Model
{
    GeneratorOptions opt;
    Targets target;
    Day first, last;
    int lastYear = 0;
    Calendar calendar;

    std::vector<Place> places;
    std::vector<int> placesOfKind[PlaceKindCount];
    std::vector<double> placeWeights[PlaceKindCount];
    std::vector<int> chipCustomers;
    std::vector<double> chipCustomerWeights;

    std::vector<Contractor> contractors;
    std::vector<int> contractorsOfFamily[FamilyCount];

    std::vector<Lot> lots;
    std::vector<VolumeLine> lines;
    std::vector<int> linesOfKind[4]; // sorted by availableFrom
    std::vector<WorkRow> work;
    bool yearBasedLots = true;

    std::vector<Order> orders;
    std::vector<OrderLine> orderLines;
    std::vector<Delivery> deliveries;
    std::vector<Transfer> transfers;
    std::vector<StockRow> stocks;
    std::vector<int> openStocks;
    std::map<std::tuple<int, int, int, int, int, int>, int> stockByKey;
    std::vector<Invoice> invoices;
    int lastBl = 0, lastInvoice = 0;
    int lettreSequence = 0, lettreYear = 0;

    std::vector<std::pair<std::string, std::int64_t>> written;

    explicit Model(const GeneratorOptions &o)
        : opt(o), target(Targets::forScale(o.scale)), first(Day::fromYmd(o.until.year() - o.years + 1, 1, 1)),
          last(o.until), lastYear(o.until.year()), calendar(first, last)
    {
    }

    double infl(Day d) const { return inflation(d.year(), lastYear); }

    int pickPlace(Rng &r, int kind) const
    {
        const auto &list = placesOfKind[kind];
        if (list.empty()) return placesOfKind[Particulier].empty() ? 0 : placesOfKind[Particulier][0];
        return list[r.weighted(placeWeights[kind])];
    }

    int pickContractor(Rng &r, int family, Day when) const
    {
        const auto &list = contractorsOfFamily[family];
        if (list.empty()) return 0;
        const int year = when.year();
        std::vector<double> cumulative;
        std::vector<int> active;
        double total = 0;
        for (int c : list) {
            if (contractors[c].fromYear <= year && year <= contractors[c].toYear) {
                total += contractors[c].weight;
                cumulative.push_back(total);
                active.push_back(c);
            }
        }
        if (active.empty()) return list[r.below(list.size())];
        return active[r.weighted(cumulative)];
    }

    void buildPlaces();
    void buildContractors();
    void buildLots();
    void buildLot(Lot &lot, Rng &r, int lotIndex);
    void buildWork();
    void simulate();
    int findLine(Rng &r, int kind, Day when, double minimum, int preferLot);
    double take(VolumeLine &line, double wanted);
    static void settleOutflow(VolumeLine &line, double granted, double recorded)
    {
        line.remaining -= recorded - granted;
    }
    void processOrder(Order &order, Rng &r);
    void processDelivery(Delivery &delivery, Rng &r);
    void processTransfer(Transfer &transfer, Rng &r);
    int stockFor(int zone, int species, int quality, int lotNo, int volumeLine, int unit, const Moment &when);
    void buildInvoices();
    Action contractorAction(Rng &r, int family, const std::string &type, Day date, double quantity, int unit);

    void writeAll(Loader &loader, const std::function<void(const std::string &)> &progress);
};

// ---------------------------------------------------------------------------------------------
// Places: customers, their delivery places and the storage zones
// ---------------------------------------------------------------------------------------------

void CompanyGenerator::Model::buildPlaces()
{
    Rng r = Rng::stream(opt.seed, "places");
    const auto &towns = communes();
    std::set<std::string> used;
    auto unique = [&used](std::string name) {
        if (used.insert(name).second) return name;
        for (int k = 2;; ++k) {
            const std::string candidate = name + " " + std::to_string(k);
            if (used.insert(candidate).second) return candidate;
        }
    };
    auto person = [&r](bool &female) {
        female = r.chance(0.35);
        return std::make_pair(female ? r.pick(femaleFirstNames()) : r.pick(maleFirstNames()), r.pick(surnames()));
    };
    auto contactOf = [&](Place &p, const Commune *town, bool second) {
        bool female;
        auto [firstName, lastName] = person(female);
        std::string &nom = second ? p.nom2 : p.nom1;
        nom = firstName + " " + lastName;
        (second ? p.fonction2 : p.fonction1) = r.chance(0.7) ? r.pick(jobTitles()) : std::string();
        (second ? p.tel2 : p.tel1) = town && r.chance(0.7) ? phone(r, town->cp, false) : std::string();
        (second ? p.portable2 : p.portable1) = r.chance(0.8) ? phone(r, "", true) : std::string();
        (second ? p.email2 : p.email1) = r.chance(0.6) ? asciiLower(firstName + "." + lastName) + "@" +
                                                             (r.chance(0.5)   ? "orange.fr"
                                                              : r.chance(0.5) ? "wanadoo.fr"
                                                                              : "gmail.com")
                                                       : std::string();
    };

    const int zones = target.chipZones + target.firewoodZones;
    const int customers = std::max(10, target.places - zones);
    for (int i = 0; i < customers; ++i) {
        Place p;
        const double x = r.real();
        p.kind = x < 0.78 ? Particulier : x < 0.84 ? Scierie : x < 0.90 ? Chaufferie : x < 0.96 ? Entreprise : Export;
        const Commune &town = towns[r.below(towns.size())];
        p.cp = town.cp;
        p.ville = town.name;
        p.pays = "France";
        p.adresse = std::to_string(r.between(1, 60)) + " " + r.pick(streets());
        p.incReglement = 1 + static_cast<int>(r.below(6));
        p.unite = "TONNE";
        switch (p.kind) {
        case Particulier: {
            bool female;
            auto [firstName, lastName] = person(female);
            p.client = std::string(female ? "Mme " : "M. ") + firstName + " " + lastName;
            p.destination = unique(lastName + " " + firstName + " " + town.name);
            p.incTva = 2;
            p.incReglement = 4;
            p.nom1 = firstName + " " + lastName;
            p.tel1 = r.chance(0.6) ? phone(r, town.cp, false) : std::string();
            p.portable1 = r.chance(0.8) ? phone(r, "", true) : std::string();
            p.email1 = r.chance(0.5) ? asciiLower(firstName + "." + lastName) + "@laposte.net" : std::string();
            p.weight = r.lognormal(1, 0.8);
            break;
        }
        case Scierie:
            p.client = r.chance(0.6) ? "Scierie " + r.pick(surnames()) : std::string("Scierie de ") + town.name;
            p.destination = unique(p.client + " " + town.name);
            p.incTva = 1;
            p.weight = r.lognormal(1, 1.0);
            break;
        case Chaufferie: {
            static const char *owners[] = {"Ville de ",          "Commune de ",          "Centre Hospitalier de ",
                                           "Lycée agricole de ", "SPL Chaleur ",         "EHPAD de ",
                                           "Collège de ",        "Réseau de chaleur de "};
            const int o = static_cast<int>(r.below(8));
            p.client = std::string(owners[o]) + town.name;
            p.destination = unique("Chaufferie " + std::string(town.name) +
                                   (o == 2   ? " Hôpital"
                                    : o == 3 ? " Lycée"
                                    : o == 6 ? " Collège"
                                             : ""));
            p.incTva = o == 0 || o == 1 || o == 4 || o == 7 ? 3 : 1;
            p.incReglement = o == 0 || o == 1 || o == 2 ? 5 : p.incReglement;
            p.unite = r.chance(0.45) ? "MWH" : "TONNE";
            p.coutTonne = p.unite == "TONNE" ? round2(r.range(82, 112)) : 0;
            p.coutMwh = round2(r.range(24, 34));
            p.weight = r.lognormal(1, 1.2);
            if (o <= 1) {
                p.clientFac = "Mairie de " + std::string(town.name);
                p.adresseFac = "Place de la Mairie";
            }
            break;
        }
        case Entreprise: {
            static const char *kinds[] = {"Palettes ", "Granulés ", "Emballages bois ", "Panneaux ", "Bois Services "};
            const int k = static_cast<int>(r.below(5));
            p.client = std::string(kinds[k]) + r.pick(surnames()) + (r.chance(0.5) ? " SAS" : " SARL");
            p.destination = unique(p.client + " " + town.name);
            p.incTva = 1;
            p.coutTonne = k == 1 ? round2(r.range(70, 90)) : 0;
            p.weight = r.lognormal(1, 1.0);
            break;
        }
        case Export: {
            const ForeignTown &f = r.pick(foreignTowns());
            static const char *kinds[] = {"Holzhandel ", "Legnami ", "Bois et Scierie ", "Maderas "};
            static const char *forms[] = {" GmbH", " Srl", " SA", " SL"};
            const int k = static_cast<int>(r.below(4));
            p.client = std::string(kinds[k]) + r.pick(surnames()) + forms[k];
            p.cp = f.cp;
            p.ville = f.name;
            p.pays = f.country;
            p.destination = unique(p.client + " " + f.name);
            p.incTva = 4;
            p.tvaIntra = std::string(f.vatPrefix) + digits(r, 9);
            p.weight = r.lognormal(1, 1.0);
            break;
        }
        }
        if (p.kind != Particulier) {
            if (p.tvaIntra.empty()) p.tvaIntra = "FR" + digits(r, 11);
            contactOf(p, p.kind == Export ? nullptr : &town, false);
            if (r.chance(0.3)) contactOf(p, p.kind == Export ? nullptr : &town, true);
            if (r.chance(0.2))
                p.adresse1 = r.chance(0.5) ? "Bâtiment " + std::to_string(r.between(1, 9))
                                           : "Accès livraison par le portail nord";
        }
        if (p.clientFac.empty()) {
            p.clientFac = p.client;
            p.adresseFac = p.adresse;
            p.adresse1Fac = p.adresse1;
        }
        p.cpFac = p.cp;
        p.villeFac = p.ville;
        p.paysFac = p.pays;
        if (r.chance(0.03)) p.pefc = pefcNumber(r);
        if (r.chance(0.08))
            p.commentaire = r.chance(0.5) ? "Livraison le matin uniquement." : "Prévenir la veille par téléphone.";
        if (p.kind != Export && r.chance(0.8)) p.latitude = latitudeText(r, town, 0.02);
        places.push_back(std::move(p));
    }
    // storage zones of the company itself
    for (int z = 0; z < zones; ++z) {
        Place p;
        const bool chips = z < target.chipZones;
        p.kind = chips ? ChipZone : FirewoodZone;
        const Commune &town = towns[r.below(std::min<std::size_t>(towns.size(), 60))];
        p.client = kCompanyName;
        p.destination = unique(std::string(chips ? (r.chance(0.5) ? "Plateforme " : "Hangar plaquettes ")
                                                 : (r.chance(0.5) ? "Parc bûches " : "Dépôt bûches ")) +
                               town.name);
        p.adresse = std::to_string(r.between(1, 40)) + " " + r.pick(streets());
        p.cp = town.cp;
        p.ville = town.name;
        p.pays = "France";
        p.unite = chips ? "TONNE" : unitName(kDefaultUnit);
        p.tonnageMaxi = chips ? 100 * r.between(5, 30) : 0;
        if (chips && r.chance(0.7)) {
            p.inventory = true;
            p.tonnageInventaire = round2(p.tonnageMaxi * r.range(0.05, 0.6));
            p.dateInventaire = last.plus(-r.between(10, 200));
        }
        p.latitude = latitudeText(r, town, 0.01);
        if (r.chance(0.3)) p.commentaire = chips ? "Stock tampon pour les chaufferies en hiver" : "Séchage sous hangar";
        places.push_back(std::move(p));
    }
    for (int i = 0; i < static_cast<int>(places.size()); ++i) {
        placesOfKind[places[i].kind].push_back(i);
        placeWeights[places[i].kind].push_back(
            (placeWeights[places[i].kind].empty() ? 0 : placeWeights[places[i].kind].back()) + places[i].weight);
        if (places[i].kind == Chaufferie || (places[i].kind == Entreprise && places[i].coutTonne > 0)) {
            chipCustomers.push_back(i);
            chipCustomerWeights.push_back((chipCustomerWeights.empty() ? 0 : chipCustomerWeights.back()) +
                                          places[i].weight);
        }
    }
    if (chipCustomers.empty()) {
        chipCustomers.push_back(0);
        chipCustomerWeights.push_back(1);
    }
}

// ---------------------------------------------------------------------------------------------
// Contractors
// ---------------------------------------------------------------------------------------------

void CompanyGenerator::Model::buildContractors()
{
    Rng r = Rng::stream(opt.seed, "contractors");
    static const double familyShare[FamilyCount] = {0.25, 0.20, 0.08, 0.25, 0.08, 0.07, 0.07};
    const std::vector<double> shares = cumulate(std::vector<double>(familyShare, familyShare + FamilyCount));
    std::set<std::string> used;
    for (int i = 0; i < target.contractors; ++i) {
        Contractor c;
        c.number = i + 1;
        const int family = i < FamilyCount * 2 ? i % FamilyCount : static_cast<int>(r.weighted(shares));
        c.famille = kFamilies[family];
        const std::string name = r.pick(surnames());
        const Commune &town = r.pick(communes());
        switch (family) {
        case FAbattage:
            c.societe = r.chance(0.5)   ? "ETF " + name
                        : r.chance(0.5) ? "Travaux Forestiers " + name
                                        : "Abattage " + name;
            break;
        case FDebardage: c.societe = r.chance(0.8) ? "Débardage " + name : "Débardage Cheval " + name; break;
        case FBroyage: c.societe = r.chance(0.5) ? "Broyage " + name : std::string("Broyage du ") + town.name; break;
        case FTransport: c.societe = r.chance(0.7) ? "Transports " + name : "Transports " + name + " et Fils"; break;
        case FChargement: c.societe = "Manutention " + name; break;
        case FFendage: c.societe = r.chance(0.5) ? "Fendage " + name : "Bois Bûche " + name; break;
        default: c.societe = r.chance(0.5) ? "Terrassement " + name : "TP " + name; break;
        }
        if (!used.insert(c.societe).second) {
            c.societe += std::string(" ") + town.name;
            for (int k = 2; !used.insert(c.societe).second; ++k) c.societe += " " + std::to_string(k);
        }
        const double f = r.range(0.85, 1.2);
        switch (family) {
        case FAbattage:
            c.volume = round2(11 * f);
            c.heure = round2(55 * f);
            break;
        case FDebardage:
            c.volume = round2(8.5 * f);
            c.heure = round2(70 * f);
            c.tonne = round2(8 * f);
            c.stere = round2(10 * f);
            break;
        case FBroyage:
            c.tonne = round2(6.5 * f);
            c.heure = round2(180 * f);
            break;
        case FTransport:
            c.tonne = round2(9 * f);
            c.volume = round2(8 * f);
            c.heure = round2(80 * f);
            c.stere = round2(6 * f);
            break;
        case FChargement:
            c.heure = round2(60 * f);
            c.tonne = round2(3 * f);
            break;
        case FFendage:
            c.stere = round2(12 * f);
            c.heure = round2(45 * f);
            break;
        default:
            c.heure = round2(70 * f);
            c.surface = round2(1.8 * f);
            break;
        }
        if (r.chance(0.25))
            c.commentaire = family == FTransport ? "Semi fond mouvant et grumier" : "Intervient surtout dans le Morvan";
        if (r.chance(0.15)) c.pefc = pefcNumber(r);
        const int firstYear = first.year();
        c.fromYear = r.chance(0.4) ? firstYear : firstYear + static_cast<int>(r.below(17));
        c.toYear = r.chance(0.65) ? lastYear : std::min(lastYear, c.fromYear + r.between(4, 15));
        c.weight = r.lognormal(1, 0.8);
        contractorsOfFamily[family].push_back(i);
        contractors.push_back(std::move(c));
    }
}

Action CompanyGenerator::Model::contractorAction(Rng &r, int family, const std::string &type, Day date, double quantity,
                                                 int unit)
{
    Action a;
    a.type = type;
    a.contractor = pickContractor(r, family, date);
    a.date = date;
    const Contractor &c = contractors[a.contractor];
    const double f = infl(date);
    double rate = 0;
    switch (unit) {
    case M3:
        a.unit = "m3";
        rate = c.volume;
        break;
    case Tonne:
        a.unit = "Tonne";
        rate = c.tonne;
        break;
    case Stere:
        a.unit = "Stere";
        rate = c.stere;
        break;
    default:
        a.unit = "Heure";
        rate = c.heure;
        break;
    }
    if (rate <= 0) {
        a.unit = "Forfait";
        a.quantity = 1;
        a.unitPrice = round2(std::max(40.0, quantity * 6) * f);
    } else {
        a.quantity = quantity;
        a.unitPrice = round2(rate * f);
    }
    if (a.unit == "Heure") a.hours = a.quantity;
    a.cost = a.quantity * a.unitPrice;
    a.settled = date < last.plus(-90) && r.chance(0.95);
    return a;
}

// ---------------------------------------------------------------------------------------------
// Lots, owners, estimates and volume lines
// ---------------------------------------------------------------------------------------------

namespace {

// The logs of one volume line, drawn from the line's own seed so that they can be drawn again
// identically when they are written.
struct LogDraw
{
    int diameter;
    double length, overBark, underBark;
};

class LogStream
{
public:
    LogStream(std::uint64_t seed, int species, int quality) : m_rng(seed), m_species(species), m_quality(quality) {}
    LogDraw next()
    {
        LogDraw d;
        const bool resinous = m_species >= Douglas && m_species <= Meleze;
        double mean = 40, sd = 8, low = 20, high = 90;
        switch (m_quality) {
        case QA:
            mean = 62;
            sd = 9;
            low = 45;
            high = 100;
            break;
        case QB:
            mean = 48;
            sd = 8;
            low = 35;
            high = 80;
            break;
        case QC:
            mean = 38;
            sd = 7;
            low = 25;
            high = 65;
            break;
        default:
            mean = 38;
            sd = 8;
            low = 20;
            high = 70;
            break;
        }
        d.diameter = static_cast<int>(std::lround(std::clamp(m_rng.normal(mean, sd), low, high)));
        if (resinous) {
            static const double lengths[] = {4, 5, 6, 8, 10, 12};
            d.length = lengths[m_rng.below(6)];
        } else {
            d.length = std::round(m_rng.range(2.5, 8.5) * 10) / 10;
        }
        const double bark = kSpecies[m_species].bark;
        const double base = d.diameter * d.diameter * 3.1415 / 40000 * d.length;
        d.overBark = round3(base);
        d.underBark = round3(base * (1 - bark / 100));
        return d;
    }

private:
    Rng m_rng;
    int m_species, m_quality;
};

std::string ownerName(Rng &r, const Commune &town, std::string &type)
{
    const double x = r.real();
    if (x < 0.08) {
        type = "ONF";
        return std::string("Commune de ") + town.name;
    }
    if (x < 0.13) {
        type = "ONF";
        return std::string("ONF - Forêt domaniale de ") + town.name;
    }
    if (x < 0.25) {
        type = "PROPRIETAIRE";
        return std::string("Groupement forestier de ") + town.name;
    }
    if (x < 0.32) {
        type = "EXPERT";
        return "SCI Forêt " + r.pick(placeNames());
    }
    if (x < 0.38) {
        type = "EXPLOITANT";
        return "EARL " + r.pick(surnames());
    }
    if (x < 0.45) {
        type = "PROPRIETAIRE";
        return (r.chance(0.5) ? "Indivision " : "Famille ") + r.pick(surnames());
    }
    if (x < 0.48) {
        type = "AUTRE";
        return "Association foncière de " + std::string(town.name);
    }
    type = "PROPRIETAIRE";
    const bool female = r.chance(0.3);
    return std::string(female ? "Mme " : "M. ") + (female ? r.pick(femaleFirstNames()) : r.pick(maleFirstNames())) +
           " " + r.pick(surnames());
}

} // namespace

void CompanyGenerator::Model::buildLots()
{
    Rng r = Rng::stream(opt.seed, "lots");
    std::vector<Day> dates(static_cast<std::size_t>(target.lots));
    for (Day &d : dates) d = calendar.day(r, LotPurchase);
    std::sort(dates.begin(), dates.end());
    std::map<int, int> perYear;
    for (Day d : dates) ++perYear[d.year()];
    for (const auto &[year, count] : perYear)
        if (count > 999) yearBasedLots = false;
    lots.resize(dates.size());
    std::map<int, int> sequence;
    for (std::size_t i = 0; i < lots.size(); ++i) {
        Lot &lot = lots[i];
        lot.date = dates[i];
        // Lot numbers: the year's two digits and a number within the year, typed by the user
        // each January; a company too big for that numbers its lots in one series.
        lot.number =
            yearBasedLots ? (lot.date.year() % 100) * 1000 + ++sequence[lot.date.year()] : static_cast<int>(i) + 1;
        Rng lr = Rng::stream(opt.seed, "lot", i);
        buildLot(lot, lr, static_cast<int>(i));
    }
    for (int k = 0; k < 4; ++k) {
        std::vector<int> &list = linesOfKind[k];
        for (int l = 0; l < static_cast<int>(lines.size()); ++l)
            if (lines[l].kind == k) list.push_back(l);
        std::stable_sort(list.begin(), list.end(),
                         [this](int a, int b) { return lines[a].availableFrom < lines[b].availableFrom; });
    }
}

void CompanyGenerator::Model::buildLot(Lot &lot, Rng &r, int lotIndex)
{
    const auto &towns = communes();
    // the forest of the Morvan first: the first sixty communes weigh three times as much
    static const std::vector<double> townWeights = [] {
        std::vector<double> w;
        for (std::size_t i = 0; i < communes().size(); ++i) w.push_back(i < 60 ? 3.0 : 1.0);
        return cumulate(w);
    }();
    lot.commune = static_cast<int>(r.weighted(townWeights));
    const Commune &town = towns[static_cast<std::size_t>(lot.commune)];
    lot.lieu = town.name;
    lot.cp = town.cp;
    lot.adresse = r.pick(placeNames());
    if (r.chance(0.85)) lot.latitude = latitudeText(r, town, 0.03);
    const double k = r.real();
    lot.kind = k < 0.35 ? 0 : k < 0.65 ? 1 : k < 0.80 ? 2 : 3; // hardwood, resinous, firewood, energy
    if (lot.kind == 3) lot.typeAchat = "BORD DE ROUTE";
    else lot.typeAchat = r.chance(0.12) ? "ABATTUE" : r.chance(0.1) ? "BORD DE ROUTE" : "SUR PIEDS";
    lot.groupe = r.chance(0.12) ? "OUI" : "NON";
    if (r.chance(0.4)) {
        static const char *comments[] = {"Accès par la piste forestière, prévoir le débardage par temps sec.",
                                         "Chantier à terminer avant la montée de sève.",
                                         "Vente sur liste de grumes, le petit bois reste en tas sur la place de dépôt.",
                                         "Parcelle en pente, câble-mât sur la partie haute.",
                                         "Bois énergie en andains bord de route, broyage par campagnes.",
                                         "Propriétaire à prévenir avant le début du chantier.",
                                         "Taillis sous futaie, bois bûche pour la clientèle particulière."};
        lot.commentaire = comments[r.below(7)];
    }
    const bool roadside = lot.typeAchat == "BORD DE ROUTE";
    lot.felled =
        roadside || lot.typeAchat == "ABATTUE" ? lot.date.plus(r.between(5, 30)) : lot.date.plus(r.between(45, 240));
    lot.logsMeasured = lot.felled.plus(r.between(0, 20));
    const int age = last - lot.date;
    lot.finished = age > 730 ? r.chance(0.94) : age > 365 ? r.chance(0.45) : false;
    if (r.chance(0.85)) {
        lot.hasAlert = true;
        lot.alert = lot.date.plusMonths(r.between(6, 10));
        lot.end = lot.date.plusMonths(r.between(12, 20));
    }
    lot.finPied = roadside ? 100 : lot.typeAchat == "ABATTUE" ? 100 : 0;
    lot.finAbattage = roadside ? 100 : 0;

    // what the lot holds: one entry per species, quality and unit
    struct Combo
    {
        int species, quality, unit, kind;
        double qte = 0;
        int logs = 0;
        std::uint64_t seed = 0;
    };
    std::vector<Combo> combos;
    auto addCombo = [&combos](int species, int quality, int unit, int kind) {
        for (const Combo &c : combos)
            if (c.species == species && c.quality == quality && c.unit == unit) return;
        combos.push_back({species, quality, unit, kind});
    };
    switch (lot.kind) {
    case 0: {
        static const std::vector<double> w = cumulate({0.45, 0.30, 0.10, 0.10, 0.05});
        static const int species[] = {Chene, Hetre, Frene, Chataignier, Peuplier};
        const int main = species[r.weighted(w)];
        if (r.chance(0.5)) addCombo(main, QA, M3, LogWood);
        if (r.chance(0.9)) addCombo(main, QB, M3, LogWood);
        if (r.chance(0.8) || combos.empty()) addCombo(main, QC, M3, LogWood);
        if (r.chance(0.6)) addCombo(r.chance(0.6) ? main : Charme, Chauffage, r.chance(0.85) ? Stere : M3, Firewood);
        if (r.chance(0.4)) addCombo(BoisEnergie, Plaquette, Tonne, Energy);
        if (r.chance(0.15)) addCombo(main, Palette, M3, PulpWood);
        break;
    }
    case 1: {
        static const std::vector<double> w = cumulate({0.40, 0.25, 0.20, 0.10, 0.05});
        static const int species[] = {Douglas, Epicea, Sapin, PinSylvestre, Meleze};
        const int main = species[r.weighted(w)];
        addCombo(main, Charpente, M3, LogWood);
        if (r.chance(0.35)) addCombo(species[r.weighted(w)], Charpente, M3, LogWood);
        if (r.chance(0.7)) {
            if (r.chance(0.5)) addCombo(main, Palette, M3, PulpWood);
            else addCombo(main, Trituration, Tonne, PulpWood);
        }
        if (r.chance(0.5)) addCombo(BoisEnergie, Plaquette, Tonne, Energy);
        break;
    }
    case 2:
        addCombo(r.chance(0.6) ? Hetre : Chene, Chauffage, r.chance(0.85) ? Stere : M3, Firewood);
        if (r.chance(0.5)) addCombo(Charme, Chauffage, Stere, Firewood);
        if (r.chance(0.3)) addCombo(BoisEnergie, Plaquette, Tonne, Energy);
        break;
    default:
        addCombo(BoisEnergie, Plaquette, Tonne, Energy);
        if (r.chance(0.2)) addCombo(Epicea, Trituration, Tonne, PulpWood);
        break;
    }

    // logs of the log lines, then the quantities of every line
    int logLines = 0;
    for (const Combo &c : combos) logLines += c.kind == LogWood;
    if (logLines > 0) {
        // log-normal with mean logsPerLogLot (the median is the mean over exp(sigma^2 / 2))
        const int total =
            std::clamp(static_cast<int>(std::lround(r.lognormal(target.logsPerLogLot / 1.2776, 0.7))), 10, 6000);
        std::vector<double> weights;
        for (const Combo &c : combos)
            if (c.kind == LogWood) weights.push_back(c.quality == QA ? r.range(0.1, 0.3) : r.range(0.3, 0.6));
        double sum = 0;
        for (double w : weights) sum += w;
        int given = 0, seen = 0;
        for (Combo &c : combos) {
            if (c.kind != LogWood) continue;
            c.logs = ++seen == logLines ? std::max(5, total - given)
                                        : std::max(5, static_cast<int>(std::lround(total * weights[seen - 1] / sum)));
            given += c.logs;
            c.seed = Rng::mix(opt.seed ^
                              Rng::mix(static_cast<std::uint64_t>(lotIndex) * 131 + static_cast<std::uint64_t>(seen)));
            LogStream logs(c.seed, c.species, c.quality);
            double m3 = 0;
            for (int n = 0; n < c.logs; ++n) m3 += logs.next().underBark;
            c.qte = round2(m3 * r.range(0.98, 1.04));
        }
    }
    for (Combo &c : combos) {
        if (c.kind == PulpWood) c.qte = round2(std::clamp(r.lognormal(250, 0.6), 30.0, 3000.0));
        if (c.kind == Firewood) c.qte = round2(std::clamp(r.lognormal(220, 0.6), 20.0, 2000.0));
        if (c.kind == Energy) c.qte = round2(std::clamp(r.lognormal(520, 0.6), 50.0, 5000.0));
    }

    // owners, each with a part of the combos
    int ownerCount = r.chance(0.7) ? 1 : r.chance(0.73) ? 2 : 3;
    ownerCount = std::min<int>(ownerCount, static_cast<int>(combos.size()) + (lot.groupe == "OUI" ? 1 : 0));
    ownerCount = std::max(1, ownerCount);
    std::vector<Owner> owners(static_cast<std::size_t>(ownerCount));
    std::set<std::string> names; // by collation key: two names the server holds equal would share their lines
    for (Owner &o : owners) {
        const Commune &home = r.chance(0.7) ? town : towns[r.below(towns.size())];
        do o.nom = ownerName(r, town, o.type);
        while (!names.insert(collationKey(o.nom)).second);
        const int parcels = r.between(1, 3);
        const char letter = static_cast<char>('A' + r.between(0, 5));
        for (int p = 0; p < parcels; ++p)
            o.parcelle += (p ? ", " : "") + std::string(1, letter) + " " + std::to_string(r.between(1, 400));
        const int buyer = std::clamp((lot.date.year() - first.year()) / 5 + r.between(-1, 1), 0, 5);
        o.acheteur = kBuyers[buyer];
        o.adresse = r.chance(0.7) ? std::to_string(r.between(1, 40)) + " " + r.pick(streets()) : "Le Bourg";
        o.cp = home.cp;
        o.ville = home.name;
        o.tel = r.chance(0.8) ? phone(r, home.cp, r.chance(0.3)) : std::string();
        if (r.chance(0.07)) o.pefc = pefcNumber(r);
        o.fixe = r.chance(0.55);
        o.paid = age > 180 ? r.chance(0.95) : r.chance(0.3);
        o.surface = std::round(r.range(1, 25) / ownerCount * 10) / 10;
    }
    for (std::size_t c = 0; c < combos.size(); ++c) {
        // every owner gets at least one combo; in a grouped lot a combo may be shared by two owners
        std::vector<std::pair<int, double>> shares;
        const int owner = c < owners.size() ? static_cast<int>(c) : static_cast<int>(r.below(owners.size()));
        if (lot.groupe == "OUI" && owners.size() > 1 && r.chance(0.5)) {
            const int other =
                (owner + 1 + static_cast<int>(r.below(owners.size() - 1))) % static_cast<int>(owners.size());
            const double part = r.range(0.3, 0.7);
            shares = {{owner, part}, {other, 1 - part}};
        } else {
            shares = {{owner, 1.0}};
        }
        for (const auto &[o, part] : shares) {
            Estimate e;
            e.species = combos[c].species;
            e.quality = combos[c].quality;
            e.unit = combos[c].unit;
            e.qteReel = round2(combos[c].qte * part);
            e.qte = r.chance(0.7) ? e.qteReel : round2(e.qteReel * r.range(0.9, 1.1));
            e.qteDefaut = corres(e.species, kDefaultUnit, e.unit, e.qteReel);
            const double factor = e.quality <= Charpente   ? 0.45
                                  : e.quality == Chauffage ? 0.14
                                  : e.quality == Plaquette ? 0.18
                                                           : 0.4;
            e.prixUnit = round2(priceIn(e.species, e.quality, e.unit, salePrice(e.species, e.quality)) * factor *
                                infl(lot.date) * r.range(0.85, 1.15));
            e.prixTotal = round2(e.qte * e.prixUnit);
            if (r.chance(0.25))
                e.comment = combos[c].kind == LogWood  ? "Grumes numérotées"
                            : combos[c].kind == Energy ? "Houppiers broyés sur coupe"
                                                       : "Bord de chemin";
            owners[static_cast<std::size_t>(o)].estimates.push_back(e);
        }
    }
    // The owner who comes first by name carries the lot's purchase date; the others bought a
    // little before or after.
    std::sort(owners.begin(), owners.end(),
              [](const Owner &a, const Owner &b) { return collationKey(a.nom) < collationKey(b.nom); });
    for (std::size_t o = 0; o < owners.size(); ++o)
        owners[o].date = o == 0 ? lot.date : lot.date.plus(r.between(-20, 20));
    for (Owner &o : owners) {
        for (const Estimate &e : o.estimates) {
            o.estimation += e.qteDefaut;
            o.prixEstime += e.prixTotal;
        }
        o.prixEstime = round2(o.prixEstime);
        if (o.fixe) {
            o.prixAchat = std::round(o.prixEstime * r.range(0.9, 1.1) / 10) * 10;
            o.cvo = round2(o.prixAchat * 0.5 / 100);
            o.coutTotal = o.prixAchat;
        } else {
            o.cvo = round2(o.prixEstime * 0.5 / 100);
            o.coutTotal = o.prixEstime;
        }
        if (r.chance(0.3)) o.acompte = std::round(o.coutTotal * 0.2 / 100) * 100;
        if (!o.pefc.empty()) lot.pefc = true;
    }
    lot.owners = std::move(owners);

    // volume lines, rebuilt from the estimates as the recomputation does
    lot.firstLine = static_cast<int>(lines.size());
    Day built = lot.date;
    for (const Owner &o : lot.owners) built = std::max(built, o.date);
    for (const Combo &c : combos) {
        VolumeLine v;
        v.inc = static_cast<int>(lines.size()) + 1;
        v.lot = lotIndex;
        v.kind = c.kind;
        v.species = c.species;
        v.quality = c.quality;
        v.unit = c.unit;
        double sum = 0;
        for (const Owner &o : lot.owners)
            for (const Estimate &e : o.estimates)
                if (e.species == c.species && e.quality == c.quality && e.unit == c.unit) sum += e.qteReel;
        v.qte = round2(sum);
        v.built = built;
        v.logCount = c.logs;
        v.logSeed = c.seed;
        v.remaining = corres(v.species, kDefaultUnit, v.unit, v.qte);
        v.availableFrom = c.kind == Energy
                              ? (roadside ? lot.date.plus(r.between(7, 60)) : lot.felled.plus(r.between(30, 150)))
                              : lot.felled.plus(r.between(0, 30));
        // progress at the end of the history
        const int sinceFelling = last - lot.felled;
        if (lot.finished || roadside) {
            v.finPied = 100;
            v.finAbattage = 100;
        } else if (sinceFelling >= 120) {
            v.finPied = 100;
            v.finAbattage = r.chance(0.8) ? 100 : r.between(6, 9) * 10;
        } else if (sinceFelling >= 0) {
            v.finPied = 100;
            v.finAbattage = r.between(0, 8) * 10;
        } else if (sinceFelling >= -60 && lot.typeAchat != "ABATTUE") {
            v.finPied = r.between(1, 8) * 10;
        }
        if (lot.typeAchat == "ABATTUE") v.finPied = 100;
        lines.push_back(std::move(v));
    }
    lot.lineCount = static_cast<int>(lines.size()) - lot.firstLine;
    for (Owner &o : lot.owners)
        for (Estimate &e : o.estimates)
            for (int l = lot.firstLine; l < lot.firstLine + lot.lineCount; ++l)
                if (lines[l].species == e.species && lines[l].quality == e.quality && lines[l].unit == e.unit)
                    e.line = l;
}

// Contractor work on the volume lines: felling, skidding and some other work.
void CompanyGenerator::Model::buildWork()
{
    Rng r = Rng::stream(opt.seed, "work");
    for (int l = 0; l < static_cast<int>(lines.size()); ++l) {
        VolumeLine &v = lines[l];
        const Lot &lot = lots[v.lot];
        if (lot.typeAchat == "BORD DE ROUTE" || v.finPied == 0 || v.kind == Energy) continue;
        const int unit = v.unit == M3 && r.chance(0.3) ? Heure : v.unit;
        auto add = [&](int family, const char *type, Day date, double quantity, int rows) {
            if (date > last) return;
            for (int k = 0; k < rows; ++k) {
                WorkRow w;
                w.line = l;
                const double q = unit == Heure ? std::round(quantity / 8 / rows) : round2(quantity / rows);
                w.action = contractorAction(r, family, type, date.plus(k * r.between(2, 10)), std::max(1.0, q), unit);
                w.action.lotNo = lot.number;
                if (w.action.date > last) w.action.date = last;
                if (family == FAbattage) {
                    v.costFelling += w.action.cost;
                    v.hasFelling = true;
                } else if (family == FDebardage) {
                    v.costSkidding += w.action.cost;
                    v.hasSkidding = true;
                } else {
                    v.costOther += w.action.cost;
                    v.hasOther = true;
                }
                work.push_back(std::move(w));
            }
        };
        if (lot.typeAchat == "SUR PIEDS")
            add(FAbattage, "ABATTAGE", lot.felled.plus(r.between(-10, 5)), v.qte * v.finPied / 100,
                r.chance(0.2) ? 2 : 1);
        if (v.finAbattage > 0)
            add(FDebardage, "DEBARDAGE", lot.felled.plus(r.between(10, 45)), v.qte * v.finAbattage / 100,
                r.chance(0.2) ? 2 : 1);
        if (r.chance(0.1)) {
            if (v.kind == Firewood) add(FFendage, "FENDAGE", lot.felled.plus(r.between(30, 90)), v.qte / 2, 1);
            else {
                WorkRow w;
                w.line = l;
                const Day d = lot.felled.plus(r.between(60, 200));
                if (d <= last) {
                    w.action = contractorAction(r, FRemise, "REMISE EN ETAT", d, r.between(4, 20), Heure);
                    w.action.lotNo = lot.number;
                    v.costOther += w.action.cost;
                    v.hasOther = true;
                    work.push_back(std::move(w));
                }
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Twenty years of orders, deliveries and transfers, in date order
// ---------------------------------------------------------------------------------------------

// A volume line of that kind, of a lot whose wood is ready by `when` and not older than about
// three years, with at least `minimum` left in the default unit; -1 when none is found.
int CompanyGenerator::Model::findLine(Rng &r, int kind, Day when, double minimum, int preferLot)
{
    if (preferLot >= 0) {
        const Lot &lot = lots[preferLot];
        for (int l = lot.firstLine; l < lot.firstLine + lot.lineCount; ++l)
            if (lines[l].kind == kind && lines[l].availableFrom <= when && lines[l].remaining >= minimum &&
                r.chance(0.8))
                return l;
    }
    const std::vector<int> &list = linesOfKind[kind];
    auto byDate = [this](int line, Day d) { return lines[line].availableFrom < d; };
    const auto hi = std::lower_bound(list.begin(), list.end(), when.plus(1), byDate);
    const auto lo = std::lower_bound(list.begin(), hi, when.plus(-1100), byDate);
    const std::size_t n = static_cast<std::size_t>(hi - lo);
    if (n == 0) return -1;
    for (int attempt = 0; attempt < 24; ++attempt) {
        // the more recent lots first: the square of a uniform number leans towards the end
        const double u = r.real();
        const std::size_t index = n - 1 - std::min(n - 1, static_cast<std::size_t>(u * u * static_cast<double>(n)));
        const int line = lo[static_cast<std::ptrdiff_t>(index)];
        if (lines[line].remaining >= minimum) return line;
    }
    return -1;
}

double CompanyGenerator::Model::take(VolumeLine &line, double wanted)
{
    const double granted = std::min(wanted, line.remaining);
    line.remaining = std::max(0.0, line.remaining - granted);
    return granted;
}

int CompanyGenerator::Model::stockFor(int zone, int species, int quality, int lotNo, int volumeLine, int unit,
                                      const Moment &when)
{
    const auto key = std::make_tuple(zone, species, quality, lotNo, volumeLine, unit);
    auto found = stockByKey.find(key);
    if (found != stockByKey.end()) return found->second;
    StockRow s;
    s.inc = static_cast<int>(stocks.size()) + 1;
    s.zone = zone;
    s.species = species;
    s.quality = quality;
    s.lotNo = lotNo;
    s.volumeLine = volumeLine;
    s.unit = unit;
    s.created = when;
    stocks.push_back(s);
    stockByKey.emplace(key, s.inc - 1);
    return s.inc - 1;
}

void CompanyGenerator::Model::processOrder(Order &o, Rng &r)
{
    static const std::map<std::string, int> kindOf{{"PARTICULIER", Particulier}, {"SCIERIE", Scierie},
                                                   {"CHAUFFERIE", Chaufferie},   {"ENTREPRISE", Entreprise},
                                                   {"EXPORT", Export},           {"TRANSFERT", FirewoodZone}};
    o.place = pickPlace(r, kindOf.at(o.type));
    const bool work = (o.type == "SCIERIE" || o.type == "ENTREPRISE") && r.chance(0.01);
    o.unit = work                      ? Heure
             : o.type == "PARTICULIER" ? (r.chance(0.92) ? Stere : M3)
             : o.type == "CHAUFFERIE"  ? Tonne
             : o.type == "ENTREPRISE"  ? (r.chance(0.7) ? M3 : Tonne)
             : o.type == "TRANSFERT"   ? Stere
                                       : M3;
    o.wished = Moment{o.date.day.plus(r.between(2, 20)), 8 * 3600};
    if (o.type != "PARTICULIER" && r.chance(0.7)) {
        static const char *formats[] = {"BC %d-%03d", "CDE-%d%03d", "PO %d%03d"};
        char buf[32];
        std::snprintf(buf, sizeof buf, formats[r.below(3)], o.date.day.year(), r.between(1, 999));
        o.customerRef = buf;
    }
    if (r.chance(0.5)) {
        static const char *texts[] = {"Enlèvement sur coupe par nos soins",
                                      "Livraison benne, déposer devant la grange",
                                      "Chargement grumier complet",
                                      "Bois sec, livraison avant les grands froids",
                                      "Grumes numérotées, documents de transport joints",
                                      "Livraison sur la place de dépôt"};
        o.text = texts[r.below(6)];
    }
    const int count = work                      ? 1
                      : o.type == "PARTICULIER" ? (r.chance(0.75)  ? 1
                                                   : r.chance(0.8) ? 2
                                                                   : 3)
                      : o.type == "TRANSFERT"   ? r.between(1, 2)
                                                : r.between(1, 6);
    o.firstLine = static_cast<int>(orderLines.size());
    int lotOfOrder = -1;
    for (int n = 0; n < count; ++n) {
        OrderLine ol;
        ol.inc = static_cast<int>(orderLines.size()) + 1;
        ol.order = static_cast<int>(&o - orders.data());
        double q = 0;
        double granted = 0; // reserved on the lot's volume line, default unit
        int kind = -1;
        if (work) {
            ol.species = -1;
            ol.quality = QD;
            q = r.between(4, 40);
        } else if (o.type == "PARTICULIER" || o.type == "TRANSFERT") {
            q = r.between(3, 15);
            if (o.unit == M3) q = round2(q / 1.5);
            const double x = r.real();
            if (x < 0.7 && !openStocks.empty()) {
                // from a firewood stock
                for (int attempt = 0; attempt < 8 && ol.stock < 0; ++attempt) {
                    const int s = openStocks[r.below(openStocks.size())];
                    if (stocks[s].qte >= 1) ol.stock = s;
                }
            }
            if (ol.stock < 0 && x < 0.9) kind = Firewood;
        } else if (o.type == "SCIERIE" || o.type == "EXPORT") {
            q = std::clamp(std::round(r.lognormal(o.type == "EXPORT" ? 25 : 22, 0.7)), 3.0, 150.0);
            if (r.chance(0.85)) kind = LogWood;
        } else if (o.type == "ENTREPRISE") {
            q = std::clamp(std::round(r.lognormal(35, 0.6)), 5.0, 150.0);
            if (r.chance(0.7)) kind = PulpWood;
        } else { // CHAUFFERIE
            q = std::clamp(std::round(r.lognormal(30, 0.4)), 10.0, 90.0);
            if (r.chance(0.85)) kind = Energy;
        }
        if (ol.stock >= 0) {
            StockRow &s = stocks[ol.stock];
            ol.origin = 'S';
            ol.species = s.species;
            ol.quality = s.quality;
            ol.uniteConso = s.unit;
            double conso = corres(s.species, s.unit, o.unit, q);
            if (conso > s.qte) {
                conso = round2(s.qte);
                q = corres(s.species, o.unit, s.unit, conso);
            }
            ol.qteConso = conso;
            ol.stockQte = corres(s.species, s.unit, o.unit, q);
            ol.lotNo = s.lotNo;
            ol.volumeLine = s.volumeLine;
            s.qte = round2(s.qte - conso);
            s.qteDefaut = round2(s.qteDefaut - corres(s.species, kDefaultUnit, s.unit, conso));
            if (s.qte < 1) openStocks.erase(std::find(openStocks.begin(), openStocks.end(), ol.stock));
        } else if (kind >= 0) {
            const int line = findLine(r, kind, o.date.day, 1.0, lotOfOrder);
            if (line >= 0) {
                VolumeLine &v = lines[line];
                const double wanted = corres(v.species, kDefaultUnit, o.unit, q);
                granted = take(v, wanted);
                if (granted < wanted) q = corres(v.species, o.unit, kDefaultUnit, granted);
                ol.origin = 'C';
                ol.species = v.species;
                ol.quality = v.quality;
                ol.uniteConso = v.unit;
                ol.lotNo = lots[v.lot].number;
                ol.volumeLine = v.inc;
                lotOfOrder = v.lot;
            }
        }
        if (ol.origin == 'A' && !work) {
            ol.uniteConso = kDefaultUnit;
            if (o.type == "PARTICULIER" || o.type == "TRANSFERT") {
                ol.species = r.chance(0.5) ? Hetre : r.chance(0.5) ? Chene : Charme;
                ol.quality = r.chance(0.5) ? Buche33 : r.chance(0.5) ? Buche50 : Chauffage;
            } else if (o.type == "CHAUFFERIE") {
                ol.species = BoisEnergie;
                ol.quality = Plaquette;
            } else if (o.type == "ENTREPRISE") {
                ol.species = r.chance(0.5) ? Douglas : Epicea;
                ol.quality = r.chance(0.5) ? Palette : Trituration;
            } else {
                ol.species = r.chance(0.5) ? Chene : r.chance(0.5) ? Douglas : Hetre;
                ol.quality = ol.species == Douglas ? Charpente : static_cast<int>(r.below(3));
            }
        }
        ol.qteLiv = round2(q);
        ol.qteDefaut = corres(ol.species, kDefaultUnit, o.unit, ol.qteLiv);
        if (ol.origin != 'S') ol.qteConso = corres(ol.species, ol.uniteConso, o.unit, ol.qteLiv);
        if (ol.origin == 'C') {
            VolumeLine &v = lines[static_cast<std::size_t>(ol.volumeLine - 1)];
            v.soldFromLot += ol.qteDefaut;
            settleOutflow(v, granted, ol.qteDefaut);
            if (v.kind == LogWood && r.chance(0.7)) v.logTakers.emplace_back(o.inc, ol.qteDefaut);
        }
        if (ol.origin == 'S' && ol.volumeLine > 0)
            lines[static_cast<std::size_t>(ol.volumeLine - 1)].soldFromStock += ol.qteDefaut;
        const double base = work ? 55 : priceIn(ol.species, ol.quality, o.unit, salePrice(ol.species, ol.quality));
        ol.prixUnit = round2(base * infl(o.date.day) * r.range(0.9, 1.1));
        ol.prixTotal = round2(ol.qteLiv * ol.prixUnit);
        o.qteLiv += ol.qteLiv;
        o.qteDefaut += ol.qteDefaut;
        o.price += ol.prixTotal;
        orderLines.push_back(ol);
    }
    o.lineCount = static_cast<int>(orderLines.size()) - o.firstLine;
    o.qteLiv = round2(o.qteLiv);
    o.qteDefaut = round2(o.qteDefaut);
    o.price = round2(o.price);

    const OrderLine &firstLine = orderLines[static_cast<std::size_t>(o.firstLine)];
    auto addAction = [&](Action a) {
        a.lotNo = firstLine.lotNo;
        a.volumeLine = firstLine.volumeLine;
        o.actionCost += a.cost;
        o.actions.push_back(std::move(a));
    };
    const Day actionDate = o.wished.day > last ? last : o.wished.day;
    if (o.type == "PARTICULIER") {
        if (r.chance(0.35)) {
            Action a = contractorAction(r, FTransport, "TRANSPORT", actionDate, 1, -1);
            a.unit = "Forfait";
            a.quantity = 1;
            a.unitPrice = round2(r.range(40, 120) * infl(actionDate));
            a.cost = a.unitPrice;
            a.hours = -1;
            addAction(a);
        }
    } else if (!work) {
        if (r.chance(0.75))
            addAction(contractorAction(r, FTransport, "TRANSPORT", actionDate, o.qteLiv,
                                       o.unit == Tonne   ? Tonne
                                       : o.unit == Stere ? Stere
                                                         : M3));
        if (r.chance(0.25))
            addAction(contractorAction(r, FChargement, "CHARGEMENT", actionDate, r.between(1, 4), Heure));
        if (r.chance(0.03)) {
            Action a = contractorAction(r, FTransport, "ADMINISTRATIF", actionDate, 1, -1);
            a.unit = "Forfait";
            a.quantity = 1;
            a.unitPrice = round2(r.range(30, 80) * infl(actionDate));
            a.cost = a.unitPrice;
            addAction(a);
        }
    }
    o.delivered = o.wished.day < last.plus(-7) ? r.chance(0.97) : r.chance(0.2);
}

void CompanyGenerator::Model::processDelivery(Delivery &d, Rng &r)
{
    const double f = infl(d.date.day);
    const bool forecast = d.operation == "PREVISION";
    const std::string &op = d.operation;
    const bool toCustomer =
        op == "VENTE" || op == "VENTE sur ACHAT" || op == "TRANSPORT" || (forecast && r.chance(0.8));
    if (toCustomer) d.place = chipCustomers[r.weighted(chipCustomerWeights)];
    else if (!placesOfKind[ChipZone].empty()) d.place = placesOfKind[ChipZone][r.below(placesOfKind[ChipZone].size())];
    d.tonnage = round2(std::clamp(r.normal(24, 3), 12.0, 32.0));
    const int month = d.date.day.month();
    d.humidite = month >= 4 && month <= 9 ? r.between(20, 35) : r.between(28, 45);

    double granted = 0; // reserved on the lot's volume line, default unit
    const bool fromLotPossible = op == "VENTE" || op == "TRANSFERT" || forecast;
    if (fromLotPossible && (op == "TRANSFERT" || r.chance(forecast ? 0.5 : 0.72))) {
        const double wanted = corres(BoisEnergie, kDefaultUnit, Tonne, d.tonnage);
        const int line = findLine(r, Energy, d.date.day,
                                  forecast ? 0.0 : std::min(wanted, corres(BoisEnergie, kDefaultUnit, Tonne, 12)), -1);
        if (line >= 0) {
            VolumeLine &v = lines[line];
            d.line = line;
            d.lot = v.lot;
            d.species = v.species;
            d.uniteConso = v.unit;
            d.depart = lots[v.lot].lieu;
            d.chargeoir = lots[v.lot].adresse;
            if (!forecast) {
                granted = take(v, wanted);
                if (granted < wanted) d.tonnage = corres(BoisEnergie, Tonne, kDefaultUnit, granted);
            }
        }
    }
    if (d.lot < 0) {
        if ((op == "VENTE" || op == "TRAVAIL" || forecast) && !placesOfKind[ChipZone].empty()) {
            const int zone = placesOfKind[ChipZone][r.below(placesOfKind[ChipZone].size())];
            d.depart = places[zone].destination;
            d.chargeoir = places[zone].destination;
        } else {
            const Commune &c = r.pick(communes());
            d.depart = (op == "TRANSPORT" ? std::string("Matériel ") : std::string("Bord de route ")) + c.name;
        }
    }
    if (op == "TRAVAIL") d.tonnage = 0;
    const bool notWeighed = forecast || (op == "VENTE" && d.date.day > last.plus(-6) && r.chance(0.5));
    d.weighed = !notWeighed;
    if (d.weighed) {
        d.qteDefaut = corres(d.species, kDefaultUnit, Tonne, d.tonnage);
        d.conso = corres(d.species, d.uniteConso, Tonne, d.tonnage);
        if (d.lot >= 0 && lots[d.lot].pefc) d.pefc = d.tonnage;
        else if (d.lot < 0 && r.chance(0.08)) d.pefc = round2(d.tonnage * r.range(0.3, 1));
        d.pefcDefaut = corres(d.species, kDefaultUnit, Tonne, d.pefc);
        if (d.line >= 0) {
            lines[d.line].chips += d.qteDefaut;
            settleOutflow(lines[d.line], granted, d.qteDefaut);
        }
    }
    if (d.place >= 0) {
        const Place &p = places[d.place];
        d.unite = p.unite == "MWH" ? "MWH" : "TONNE";
        d.hasPrixTonne = p.kind != ChipZone;
        d.prixTonne = round2(p.coutTonne * f);
        d.prixMwh = round2(p.coutMwh * f);
        d.destinationText = p.destination;
    }
    if (op == "TRANSPORT") {
        d.unite = "TONNE";
        d.prixTonne = round2(r.range(10, 16) * f);
    }
    const bool sale = op == "VENTE" || op == "VENTE sur ACHAT" || op == "TRANSPORT" || op == "TRANSFERT";
    if (sale && d.weighed) {
        d.priced = true;
        if (d.unite == "MWH") {
            const double h = d.humidite;
            d.mwhPriced = true;
            d.mwh = round2(((1 - h / 100) * 5100 - h * 6.789) / 1000 * d.tonnage);
            d.totalMwh = round2(d.mwh * d.prixMwh);
            d.total = d.totalMwh;
        } else {
            d.total = round2(d.tonnage * d.prixTonne);
        }
    }
    if (d.weighed && r.chance(0.85)) {
        std::string code;
        for (char c : asciiLower(d.destinationText.empty() ? d.depart : d.destinationText))
            if (code.size() < 2 && std::isalpha(static_cast<unsigned char>(c)))
                code += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        d.ticket = code + "-" + digits(r, 4);
    }
    d.verifie = d.weighed && d.date.day < last.plus(-10) && r.chance(0.97) ? "OUI" : "NON";
    if (d.weighed && r.chance(0.75)) {
        if (d.date.day.year() != lettreYear) {
            lettreYear = d.date.day.year();
            lettreSequence = 0;
        }
        char buf[24];
        std::snprintf(buf, sizeof buf, "LV-%02d-%04d", lettreYear % 100, ++lettreSequence);
        d.lettre = buf;
    }
    if (d.weighed && r.chance(0.7))
        d.pesage = "Bascule " + (d.place >= 0 ? places[d.place].ville : std::string("Montsauche-les-Settons"));
    if (r.chance(0.05)) d.comment = forecast ? "Prévenir le client la veille" : "Livraison en deux rotations";
    d.broyeurPu = round2(6.5 * f);
    d.transportPu = round2(9.2 * f);

    const Day day = d.date.day;
    if (d.weighed && op != "TRAVAIL") {
        if (op == "VENTE sur ACHAT" || op == "ACHAT sur TRANSFERT" || op == "ACHAT") {
            Action a = contractorAction(r, r.chance(0.5) ? FAbattage : FDebardage, "ACHAT", day, d.tonnage, Tonne);
            a.unit = "Tonne";
            a.unitPrice = round2(r.range(15, 30) * f);
            a.quantity = d.tonnage;
            a.cost = a.quantity * a.unitPrice;
            d.actions.push_back(a);
        }
        if (d.lot >= 0 || op == "VENTE sur ACHAT" || op == "ACHAT sur TRANSFERT" || op == "ACHAT") {
            Action a = contractorAction(r, FBroyage, "BROYAGE", day, d.tonnage, Tonne);
            if (d.lot >= 0) a.lotNo = lots[d.lot].number;
            d.actions.push_back(a);
        }
        Action t = contractorAction(r, FTransport, "TRANSPORT", day, d.tonnage, Tonne);
        t.km = r.between(5, 120);
        t.roadSeconds = static_cast<int>(t.km / 55.0 * 3600 * r.range(1.0, 1.3)) / 60 * 60;
        d.transporteur = contractors[t.contractor].societe;
        d.actions.push_back(t);
        if (d.lot < 0 && op == "VENTE" && r.chance(0.3))
            d.actions.push_back(contractorAction(r, FChargement, "CHARGEMENT", day, r.between(1, 3), Heure));
    } else if (op == "TRAVAIL") {
        d.actions.push_back(contractorAction(r, FRemise, "REMISE EN ETAT", day, r.between(4, 16), Heure));
    }
    if (d.transporteur.empty() && !contractorsOfFamily[FTransport].empty())
        d.transporteur = contractors[pickContractor(r, FTransport, day)].societe;
}

void CompanyGenerator::Model::processTransfer(Transfer &t, Rng &r)
{
    const double x = r.real();
    t.type = x < 0.62 ? "COUPE" : x < 0.77 ? "STOCK" : "AUTRE";
    const auto &firewoodZones = placesOfKind[FirewoodZone];
    const auto &chipZones = placesOfKind[ChipZone];
    if (firewoodZones.empty()) t.type = "AUTRE";
    const bool toChips = t.type == "COUPE" && !chipZones.empty() && r.chance(0.08);
    t.destination = toChips                 ? chipZones[r.below(chipZones.size())]
                    : firewoodZones.empty() ? chipZones[0]
                                            : firewoodZones[r.below(firewoodZones.size())];
    t.typeDestination = toChips ? "STOCK_PLAQUETTE" : "STOCK";
    if (r.chance(0.4)) {
        static const char *texts[] = {
            "Bois fendu en 33 cm sur coupe, séchage sous hangar", "Rentrée du bois avant l’hiver",
            "Reprise de stock pour préparation des commandes", "Achat de bois sec livré au dépôt"};
        t.text = texts[r.below(4)];
    }
    auto coefficientFor = [&r](TransferLine &tl) {
        if (r.chance(0.6)) return;
        std::vector<const Coefficient *> fitting;
        for (const Coefficient &c : kCoefficients)
            if (c.unit == tl.uniteLiv) fitting.push_back(&c);
        if (fitting.empty()) return;
        const Coefficient *c = fitting[r.below(fitting.size())];
        tl.coefRow = c->inc;
        tl.coef = c->coef;
    };
    auto deposit = [&](TransferLine &tl) {
        tl.qteDefaut = corres(tl.species, kDefaultUnit, tl.uniteLiv, tl.qteLiv);
        if (t.typeDestination == "STOCK") {
            const int s =
                stockFor(t.destination, tl.species, tl.qualityDest, tl.lotNo, tl.volumeLine, tl.uniteLiv, t.date);
            StockRow &row = stocks[static_cast<std::size_t>(s)];
            const bool wasOpen = row.qte >= 1;
            row.qte = round2(row.qte + tl.qteLiv);
            row.qteDefaut = round2(row.qteDefaut + tl.qteDefaut);
            if (!wasOpen && row.qte >= 1) openStocks.push_back(s);
        }
    };

    if (t.type == "COUPE") {
        const int kind = toChips ? Energy : Firewood;
        int line = findLine(r, kind, t.date.day, toChips ? 10.0 : 5.0, -1);
        if (line < 0) t.type = "AUTRE";
        const int count = r.chance(0.3) ? 2 : 1;
        for (int n = 0; n < count && line >= 0; ++n) {
            VolumeLine &v = lines[line];
            TransferLine tl;
            tl.species = v.species;
            tl.quality = v.quality;
            tl.lotNo = lots[v.lot].number;
            tl.volumeLine = v.inc;
            tl.uniteConso = v.unit;
            tl.uniteLiv = toChips ? Tonne : (r.chance(0.85) ? Stere : M3);
            tl.qualityDest = toChips ? Plaquette : (r.chance(0.5) ? Buche33 : r.chance(0.6) ? Buche50 : Buche1m);
            const double wantedConso = toChips ? r.between(20, 60) : r.between(10, 30);
            const double granted = take(v, corres(v.species, kDefaultUnit, v.unit, wantedConso));
            tl.qteConso = corres(v.species, v.unit, kDefaultUnit, granted);
            if (!toChips) coefficientFor(tl);
            tl.qteLiv = round2(corres(v.species, tl.uniteLiv, tl.uniteConso, tl.qteConso) * (1 + tl.coef / 100));
            // What the lot records as transferred is what was deposited, coefficient included: a
            // line without room for the gain gets no coefficient.
            if (corres(v.species, kDefaultUnit, tl.uniteLiv, tl.qteLiv) - granted > v.remaining) {
                tl.coefRow = 1;
                tl.coef = 0;
                tl.qteLiv = corres(v.species, tl.uniteLiv, tl.uniteConso, tl.qteConso);
            }
            deposit(tl);
            v.transferred += tl.qteDefaut;
            settleOutflow(v, granted, tl.qteDefaut);
            t.lines.push_back(tl);
            t.depart = std::to_string(tl.lotNo);
            line = -1;
            for (int l = lots[v.lot].firstLine; l < lots[v.lot].firstLine + lots[v.lot].lineCount; ++l)
                if (lines[l].kind == kind && lines[l].inc != v.inc && lines[l].remaining >= 5 &&
                    lines[l].availableFrom <= t.date.day)
                    line = l;
        }
    }
    if (t.type == "STOCK") {
        int source = -1;
        for (int attempt = 0; attempt < 8 && source < 0 && !openStocks.empty(); ++attempt) {
            const int s = openStocks[r.below(openStocks.size())];
            if (stocks[s].zone != t.destination && stocks[s].qte >= 2) source = s;
        }
        if (source < 0) {
            t.type = "AUTRE";
        } else {
            StockRow &s = stocks[source];
            t.depart = places[s.zone].destination;
            TransferLine tl;
            tl.species = s.species;
            tl.quality = s.quality;
            tl.lotNo = s.lotNo;
            tl.volumeLine = s.volumeLine;
            tl.uniteConso = s.unit;
            tl.uniteDepart = s.unit;
            tl.stockInc = s.inc;
            tl.qualityDest = s.quality;
            tl.qteConso = std::min(round2(s.qte), static_cast<double>(r.between(5, 25)));
            tl.uniteLiv = s.unit;
            tl.qteLiv = tl.qteConso;
            s.qte = round2(s.qte - tl.qteConso);
            s.qteDefaut = round2(s.qteDefaut - corres(s.species, kDefaultUnit, s.unit, tl.qteConso));
            if (s.qte < 1) openStocks.erase(std::find(openStocks.begin(), openStocks.end(), source));
            deposit(tl);
            t.lines.push_back(tl);
        }
    }
    if (t.type == "AUTRE") {
        t.lines.clear();
        if (t.typeDestination == "STOCK_PLAQUETTE" && !firewoodZones.empty()) {
            t.typeDestination = "STOCK";
            t.destination = firewoodZones[r.below(firewoodZones.size())];
        }
        const auto &sawmills = placesOfKind[Scierie];
        t.depart = "Achat bûches " +
                   (sawmills.empty() ? r.pick(surnames()) : places[sawmills[r.below(sawmills.size())]].client);
        TransferLine tl;
        tl.species = r.chance(0.5) ? Chene : r.chance(0.5) ? Hetre : Charme;
        tl.quality = Chauffage;
        tl.uniteConso = Stere;
        tl.qteConso = r.between(10, 40);
        tl.uniteLiv = Stere;
        tl.qualityDest = r.chance(0.5) ? Buche33 : Buche50;
        tl.qteLiv = tl.qteConso;
        deposit(tl);
        t.lines.push_back(tl);
    }
    const Day day = t.date.day;
    double deposited = 0;
    for (const TransferLine &tl : t.lines) deposited += tl.qteLiv;
    if (t.type == "COUPE" && !toChips && r.chance(0.6)) {
        Action a = contractorAction(r, FFendage, "FENDAGE", day, deposited, Stere);
        a.lotNo = t.lines.front().lotNo;
        t.actions.push_back(a);
    }
    if (r.chance(0.7)) {
        Action a = contractorAction(r, FTransport, "TRANSPORT", day, 1, -1);
        a.unit = "Forfait";
        a.quantity = 1;
        a.unitPrice = round2(r.range(100, 350) * infl(day));
        a.cost = a.unitPrice;
        if (t.type == "COUPE") a.lotNo = t.lines.front().lotNo;
        t.actions.push_back(a);
    }
}

void CompanyGenerator::Model::simulate()
{
    struct Event
    {
        Moment when;
        int type; // 0 transfer, 1 order, 2 delivery
        int index;
    };
    std::vector<Event> events;
    Rng draw = Rng::stream(opt.seed, "events");

    orders.resize(static_cast<std::size_t>(target.orders));
    for (std::size_t i = 0; i < orders.size(); ++i) {
        Order &o = orders[i];
        const double x = draw.real();
        o.type = x < 0.45   ? "PARTICULIER"
                 : x < 0.70 ? "SCIERIE"
                 : x < 0.82 ? "ENTREPRISE"
                 : x < 0.90 ? "CHAUFFERIE"
                 : x < 0.98 ? "EXPORT"
                            : "TRANSFERT";
        o.date = calendar.moment(draw, o.type == "PARTICULIER" || o.type == "TRANSFERT" ? FirewoodSale
                                       : o.type == "CHAUFFERIE"                         ? ChipDelivery
                                                                                        : TimberSale);
        // orders of type TRANSFERT are older rows: the screens no longer offer the type
        if (o.type == "TRANSFERT" && o.date.day.year() > first.year() + 4) o.type = "PARTICULIER";
        events.push_back({o.date, 1, static_cast<int>(i)});
    }
    const int forecasts = std::max(3, static_cast<int>(std::lround(60 * opt.scale)));
    deliveries.resize(static_cast<std::size_t>(target.deliveries));
    for (std::size_t i = 0; i < deliveries.size(); ++i) {
        Delivery &d = deliveries[i];
        if (static_cast<int>(i) < forecasts) {
            d.operation = "PREVISION";
            d.date = Moment{last.plus(draw.between(-8, 30)), 7 * 3600 + 1800 * draw.between(0, 8)};
        } else {
            d.date = calendar.moment(draw, ChipDelivery);
            const double x = draw.real();
            const bool early = d.date.day.year() < first.year() + 5;
            d.operation = x < 0.70   ? "VENTE"
                          : x < 0.78 ? "VENTE sur ACHAT"
                          : x < 0.89 ? "TRANSFERT"
                          : x < 0.93 ? (early ? "ACHAT" : "ACHAT sur TRANSFERT")
                          : x < 0.94 ? "TRAVAIL"
                                     : "TRANSPORT";
        }
        events.push_back({d.date, 2, static_cast<int>(i)});
    }
    transfers.resize(static_cast<std::size_t>(target.transfers));
    for (std::size_t i = 0; i < transfers.size(); ++i) {
        transfers[i].date = calendar.moment(draw, TransferWork);
        events.push_back({transfers[i].date, 0, static_cast<int>(i)});
    }
    std::sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        if (a.when < b.when || b.when < a.when) return a.when < b.when;
        return a.type != b.type ? a.type < b.type : a.index < b.index;
    });

    Rng ro = Rng::stream(opt.seed, "orders"), rd = Rng::stream(opt.seed, "deliveries"),
        rt = Rng::stream(opt.seed, "transfers");
    int transferNumber = 0;
    // Orders and deliveries take their numbers from the one delivery-note counter as they are
    // created, so the numbers follow the dates across both tables.
    for (const Event &e : events) {
        if (e.type == 0) {
            Transfer &t = transfers[static_cast<std::size_t>(e.index)];
            t.inc = ++transferNumber;
            processTransfer(t, rt);
        } else if (e.type == 1) {
            Order &o = orders[static_cast<std::size_t>(e.index)];
            o.inc = ++lastBl;
            processOrder(o, ro);
        } else {
            Delivery &d = deliveries[static_cast<std::size_t>(e.index)];
            d.inc = ++lastBl;
            processDelivery(d, rd);
        }
    }
    // rows are written in number order
    std::sort(orders.begin(), orders.end(), [](const Order &a, const Order &b) { return a.inc < b.inc; });
    std::sort(deliveries.begin(), deliveries.end(), [](const Delivery &a, const Delivery &b) { return a.inc < b.inc; });
    std::sort(transfers.begin(), transfers.end(), [](const Transfer &a, const Transfer &b) { return a.inc < b.inc; });
    // order lines point at their order by position: follow the sort
    for (std::size_t i = 0; i < orders.size(); ++i)
        for (int l = orders[i].firstLine; l < orders[i].firstLine + orders[i].lineCount; ++l)
            orderLines[static_cast<std::size_t>(l)].order = static_cast<int>(i);
}

// ---------------------------------------------------------------------------------------------
// Invoices: each month's sales of a place, in one or a few invoices; a few credit notes
// ---------------------------------------------------------------------------------------------

void CompanyGenerator::Model::buildInvoices()
{
    Rng r = Rng::stream(opt.seed, "invoices");
    const Day cutoff = last.plus(-35);
    struct Doc
    {
        int place;
        Day date;
        bool isOrder;
        int index;
    };
    std::vector<Doc> docs;
    for (int i = 0; i < static_cast<int>(orders.size()); ++i) {
        const Order &o = orders[i];
        if (o.price > 0 && o.date.day < cutoff && r.chance(0.997)) docs.push_back({o.place, o.date.day, true, i});
    }
    for (int i = 0; i < static_cast<int>(deliveries.size()); ++i) {
        const Delivery &d = deliveries[i];
        const bool sale = d.operation == "VENTE" || d.operation == "TRANSPORT" || d.operation == "VENTE sur ACHAT";
        if (sale && d.place >= 0 && d.weighed && d.qteDefaut > 0 && d.total > 0 && d.date.day < cutoff &&
            r.chance(0.997))
            docs.push_back({d.place, d.date.day, false, i});
    }
    std::sort(docs.begin(), docs.end(), [](const Doc &a, const Doc &b) {
        if (a.place != b.place) return a.place < b.place;
        if (a.date.days != b.date.days) return a.date < b.date;
        return a.isOrder != b.isOrder ? a.isOrder : a.index < b.index;
    });
    // groups of one place and one month
    std::vector<std::pair<std::size_t, std::size_t>> groups;
    for (std::size_t i = 0; i < docs.size();) {
        std::size_t j = i + 1;
        while (j < docs.size() && docs[j].place == docs[i].place &&
               docs[j].date.firstOfMonth() == docs[i].date.firstOfMonth())
            ++j;
        groups.emplace_back(i, j);
        i = j;
    }
    // split the groups so that the number of invoices comes near the target
    const double extra = static_cast<double>(target.invoices) - static_cast<double>(groups.size());
    const double room = static_cast<double>(docs.size()) - static_cast<double>(groups.size());
    const double split = room > 0 && extra > 0 ? std::min(1.0, extra / room) : 0.0;
    int sequence = 0;
    for (const auto &[begin, end] : groups) {
        std::size_t start = begin;
        for (std::size_t k = begin; k < end; ++k) {
            const bool cut = k + 1 == end || r.chance(split);
            if (!cut) continue;
            Invoice inv;
            inv.place = docs[start].place;
            inv.sequence = ++sequence;
            for (std::size_t d = start; d <= k; ++d) {
                inv.docs.push_back({docs[d].isOrder, docs[d].index, docs[d].date});
                inv.ht += docs[d].isOrder ? orders[docs[d].index].price : deliveries[docs[d].index].total;
            }
            const Day lastDoc = docs[k].date;
            inv.date = places[inv.place].kind == Particulier ? lastDoc.plus(r.between(0, 6)) : lastDoc.lastOfMonth();
            if (inv.date > last) inv.date = last;
            invoices.push_back(std::move(inv));
            start = k + 1;
        }
    }
    // a few invoices are cancelled by a credit note and invoiced again
    const std::size_t issued = invoices.size();
    for (std::size_t i = 0; i < issued; ++i) {
        if (!r.chance(0.004) || invoices[i].date > last.plus(-60)) continue;
        Invoice credit = invoices[i];
        credit.credit = true;
        credit.date = invoices[i].date.plus(r.between(3, 30));
        credit.sequence = ++sequence;
        Invoice again = invoices[i];
        again.date = credit.date.plus(r.between(0, 10));
        again.sequence = ++sequence;
        invoices.push_back(std::move(credit));
        invoices.push_back(std::move(again));
    }
    std::sort(invoices.begin(), invoices.end(), [](const Invoice &a, const Invoice &b) {
        return a.date.days != b.date.days ? a.date < b.date : a.sequence < b.sequence;
    });
    // numbers: the year and a number within the year when every year fits in four digits,
    // otherwise one series; an invoice is never dated before the one numbered before it
    std::map<int, int> perYear;
    for (const Invoice &inv : invoices) ++perYear[inv.date.year()];
    bool yearBased = true;
    for (const auto &[year, count] : perYear)
        if (count > 9999) yearBased = false;
    std::map<int, int> seq;
    int plain = 0;
    for (Invoice &inv : invoices) {
        inv.number = yearBased ? inv.date.year() * 10000 + ++seq[inv.date.year()] : ++plain;
        inv.due = inv.credit ? inv.date : dueDate(inv.date, places[inv.place].incReglement);
        lastInvoice = std::max(lastInvoice, inv.number);
        if (inv.credit) continue;
        for (const InvoiceDoc &d : inv.docs) {
            // a later invoice of the same documents (after a credit note) replaces the number
            if (d.isOrder) orders[d.index].invoice = inv.number;
            else deliveries[d.index].invoice = inv.number;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------------------------

void CompanyGenerator::Model::writeAll(Loader &loader, const std::function<void(const std::string &)> &progress)
{
    auto done = [&](TableInsert &t) {
        t.finish();
        const std::string table = t.layout().table;
        bool merged = false;
        for (auto &entry : written)
            if (entry.first == table) {
                entry.second += t.rows();
                merged = true;
            }
        if (!merged) written.emplace_back(table, t.rows());
        progress(table + ": " + std::to_string(t.rows()) + " rows");
    };
    const std::string defaultUnit = unitName(kDefaultUnit);

    // settings row
    {
        TableInsert t(loader, layout::perso);
        t.s("nom", kCompanyName)
            .s("adresse", "4 route de Saulieu")
            .s("adresse1", "ZA des Granges")
            .s("ville", "Montsauche-les-Settons")
            .s("cp", "58230")
            .s("siret", "812 345 679 00034")
            .s("ape", "0220Z")
            .s("tva_intra", "FR27812345679")
            .s("commentaire",
               "SARL au capital de 120 000 € - Exploitation forestière, bois bûche et plaquettes forestières")
            .s("commentaire_fac", "Pénalités de retard : trois fois le taux d’intérêt légal. Indemnité forfaitaire "
                                  "pour frais de recouvrement : 40 €.")
            .s("pefc", "10-31-2187")
            .s("tel", "03 86 84 52 10")
            .s("fax", "03 86 84 52 11")
            .s("email", "contact@bois-energies-haut-morvan.fr")
            .s("facebook", "")
            .s("twitter", "")
            .d("humidite_defaut", 30)
            .d("coef_surface_tonne", 150)
            .d("cvo", 0.5)
            .s("transporteur_prevu",
               contractorsOfFamily[FTransport].empty() ? "" : contractors[contractorsOfFamily[FTransport][0]].societe)
            .s("centre_carte", "47.2167,4.0167")
            .s("unite_defaut", defaultUnit)
            .d("cout_broyage_tonne", 6.5)
            .d("cout_transport", 9.2)
            .d("coef_camion", 25)
            .d("tps_dechargement", 20)
            .d("version_UPDATE", kSchemaLevel);
        t.endRow();
        done(t);
    }
    // users and rights: an administrator with every page, the office with most, a read-only account
    {
        TableInsert users(loader, layout::motPasse);
        TableInsert rights(loader, layout::detailMotPasse);
        struct User
        {
            const char *name, *email;
        };
        const User all[] = {{"admin", "direction@bois-energies-haut-morvan.fr"},
                            {"secretariat", "secretariat@bois-energies-haut-morvan.fr"},
                            {"comptabilite", "compta@bois-energies-haut-morvan.fr"},
                            {"consultation", ""}};
        const QStringList restricted{QStringLiteral("Gestion des mots de passes"), QStringLiteral("Parametrage"),
                                     QStringLiteral("Solder coupe"), QStringLiteral("Solder livraison"),
                                     QStringLiteral("Supprimer enregistrement")};
        for (const User &u : all) {
            users.s("Utilisateur", u.name)
                .s("Mot_passe", u.name)
                .sOrNull("email", u.email)
                .null("email1")
                .null("email2");
            users.endRow();
            for (const QString &page : rightsPages()) {
                const std::string name = u.name;
                const bool granted = name == "admin" || (name == "consultation" ? page == QLatin1String("General")
                                                                                : !restricted.contains(page));
                rights.s("Utilisateur", u.name).s("Page", page.toStdString()).s("Autorisation", granted ? "1" : "0");
                rights.endRow();
            }
        }
        done(users);
        done(rights);
        TableInsert notes(loader, layout::postit);
        Rng r = Rng::stream(opt.seed, "postit");
        const char *messages[] = {"Rappeler la mairie pour la chaufferie", "Le broyeur est en panne jusqu’à lundi",
                                  "Facturer les livraisons du mois", "Commander des big bags pour le parc bûches",
                                  "Vérifier le tonnage du dernier camion"};
        for (int i = 0; i < 6; ++i) {
            char when[32];
            int y, m, d;
            last.plus(-r.between(0, 20)).ymd(y, m, d);
            std::snprintf(when, sizeof when, "%02d/%02d/%04d %02d:%02d:%02d", d, m, y, r.between(8, 17),
                          r.between(0, 59), r.between(0, 59));
            notes.s("utilisateur", i % 2 ? "secretariat" : "admin")
                .s("message1", messages[r.below(5)])
                .s("message2", "")
                .s("message3", "")
                .s("message4", "")
                .s("message5", "")
                .s("Date_postit", when)
                .s("origine", i % 2 ? "admin" : "secretariat");
            notes.endRow();
        }
        done(notes);
    }
    // reference lists
    {
        TableInsert t(loader, layout::essence);
        for (const Species &s : kSpecies) {
            t.s("essence", s.name)
                .s("code", s.code)
                .d("m3", s.coef[0])
                .d("T", s.coef[1])
                .d("Stere", s.coef[2])
                .d("pourcent_ecorce", s.bark);
            t.endRow();
        }
        done(t);
        TableInsert q(loader, layout::qualite);
        for (const char *name : kQualities) {
            q.s("qualite", name);
            q.endRow();
        }
        done(q);
        TableInsert c(loader, layout::classe);
        for (const ClassRange &k : kClasses) {
            c.s("classe", k.name).i("dia_mini", k.low).i("dia_maxi", k.high);
            c.endRow();
        }
        done(c);
        TableInsert co(loader, layout::coef);
        for (const Coefficient &k : kCoefficients) {
            co.i("inc", k.inc).s("designation", k.designation).d("coef", k.coef);
            co.endRow();
        }
        done(co);
        TableInsert a(loader, layout::acheteur);
        for (const char *b : kBuyers) {
            a.s("acheteur", b);
            a.endRow();
        }
        done(a);
        TableInsert f(loader, layout::familleIntervenant);
        for (int k = FChargement; k < FamilyCount; ++k) { // the first four are installed with the schema
            f.s("famille_intervenant", kFamilies[k]);
            f.endRow();
        }
        done(f);
        TableInsert v(loader, layout::listeTva);
        for (int k = 0; k < 4; ++k) {
            v.i("inc", k + 1).d("tva", kVatRates[k]);
            v.endRow();
        }
        done(v);
        TableInsert p(loader, layout::listeReglement);
        for (const PaymentMode &m : kPaymentModes) {
            p.i("inc", m.inc)
                .s("reglement", m.text)
                .i("nb_jour", m.days)
                .s("fin_mois", m.endOfMonth ? "FIN de MOIS" : "NET")
                .i("jour_apres", m.dayAfter);
            p.endRow();
        }
        done(p);
    }
    // contractors and their contacts
    int lastContact = 0;
    {
        TableInsert t(loader, layout::intervenantPossible);
        TableInsert c(loader, layout::contact);
        Rng r = Rng::stream(opt.seed, "contacts");
        for (const Contractor &k : contractors) {
            t.i("num_intervenant_possible", k.number)
                .s("societe", k.societe)
                .s("famille_intervenant", k.famille)
                .d("cout_tonne", k.tonne)
                .d("cout_heure", k.heure)
                .d("cout_volume", k.volume)
                .d("cout_surface", k.surface)
                .d("cout_stere", k.stere)
                .sOrNull("commentaire", k.commentaire)
                .sOrNull("pefc", k.pefc);
            t.endRow();
            const int count = r.chance(0.6) ? 1 : r.chance(0.7) ? 2 : 3;
            for (int n = 0; n < count; ++n) {
                const bool female = r.chance(0.3);
                const std::string firstName = female ? r.pick(femaleFirstNames()) : r.pick(maleFirstNames());
                const std::string lastName = r.pick(surnames());
                c.i("num_contact", ++lastContact)
                    .i("num_intervenant_possible", k.number)
                    .s("civilite", female ? "Mme" : "M.")
                    .s("Nom", lastName)
                    .s("prenom", firstName)
                    .sOrNull("tel", r.chance(0.6) ? phone(r, "58000", false) : "")
                    .sOrNull("portable", r.chance(0.8) ? phone(r, "", true) : "")
                    .null("fax")
                    .sOrNull("email", r.chance(0.6) ? asciiLower(firstName + "." + lastName) + "@orange.fr" : "")
                    .sOrNull("fonction", n == 0 ? "Gérant" : r.pick(jobTitles()))
                    .null("Divers")
                    .null("password")
                    .null("login");
                c.endRow();
            }
        }
        done(t);
        done(c);
    }
    // customer places and storage zones
    {
        TableInsert t(loader, layout::destination);
        for (const Place &p : places) {
            const bool zone = p.kind == ChipZone || p.kind == FirewoodZone;
            t.s("client", p.client)
                .s("destination", p.destination)
                .s("stockage", p.kind == ChipZone       ? "OUI"
                               : p.kind == FirewoodZone ? "BUCHE"
                                                        : "NON")
                .s("adresse", p.adresse)
                .sOrNull("adresse1", p.adresse1)
                .s("cp", p.cp)
                .s("ville", p.ville)
                .s("pays", p.pays)
                .sOrNull("client_fac", p.clientFac)
                .sOrNull("adresse_fac", p.adresseFac)
                .sOrNull("adresse1_fac", p.adresse1Fac)
                .sOrNull("cp_fac", zone ? "" : p.cpFac)
                .sOrNull("ville_fac", zone ? "" : p.villeFac)
                .sOrNull("pays_fac", zone ? "" : p.paysFac)
                .sOrNull("nom1", p.nom1)
                .sOrNull("fonction1", p.fonction1)
                .sOrNull("tel1", p.tel1)
                .sOrNull("portable1", p.portable1)
                .sOrNull("email1", p.email1)
                .sOrNull("nom2", p.nom2)
                .sOrNull("fonction2", p.fonction2)
                .sOrNull("tel2", p.tel2)
                .sOrNull("portable2", p.portable2)
                .sOrNull("email2", p.email2)
                .s("unite", p.unite);
            if (zone) t.null("cout_mwh").null("cout_tonne");
            else t.d2("cout_mwh", p.coutMwh).d2("cout_tonne", p.coutTonne);
            t.sOrNull("pefc", p.pefc)
                .iOrNull("inc_tva", p.incTva, !zone)
                .sOrNull("tva_intra", p.tvaIntra)
                .iOrNull("inc_reglement", p.incReglement, !zone)
                .sOrNull("commentaire", p.commentaire)
                .sOrNull("latitude", p.latitude)
                .d2("tonnage_maxi", p.tonnageMaxi)
                .d2OrNull("tonnage_inventaire", p.tonnageInventaire, p.inventory)
                .dateOrNull("date_inventaire", p.dateInventaire, p.inventory);
            t.endRow();
        }
        done(t);
    }
    // logs first (they give the lots their log totals), then volume lines, lots and owners
    {
        TableInsert t(loader, layout::grumeLog, 2000);
        Rng r = Rng::stream(opt.seed, "log-places");
        int inc = static_cast<int>(lines.size());
        for (Lot &lot : lots) {
            if (lot.logsMeasured > last) continue;
            int number = 0;
            for (int l = lot.firstLine; l < lot.firstLine + lot.lineCount; ++l) {
                const VolumeLine &v = lines[l];
                if (v.kind != LogWood || v.logCount == 0) continue;
                LogStream logs(v.logSeed, v.species, v.quality);
                std::size_t taker = 0;
                double takerLeft = v.logTakers.empty() ? 0 : v.logTakers[0].second;
                for (int n = 0; n < v.logCount; ++n) {
                    const LogDraw d = logs.next();
                    int order = 0;
                    while (taker < v.logTakers.size() && takerLeft <= 0) {
                        if (++taker < v.logTakers.size()) takerLeft = v.logTakers[taker].second;
                    }
                    if (taker < v.logTakers.size()) {
                        order = v.logTakers[taker].first;
                        takerLeft -= d.underBark;
                    }
                    const bool delivered = order != 0 || lot.finished;
                    lot.hasLogs = true;
                    lot.logTotal += d.underBark;
                    if (delivered) lot.logDelivered += d.underBark;
                    const char *cls = classOf(d.diameter);
                    const std::string stock =
                        !delivered && !placesOfKind[FirewoodZone].empty() && r.chance(0.02)
                            ? places[placesOfKind[FirewoodZone][r.below(placesOfKind[FirewoodZone].size())]].destination
                            : std::string();
                    t.i("inc", ++inc)
                        .i("N_lot", lot.number)
                        .i("indice_lot", 1)
                        .s("descriptif", "GRUME")
                        .s("n_grume", std::to_string(++number))
                        .s("essence", kSpecies[v.species].name)
                        .s("qualite", kQualities[v.quality]);
                    if (cls) t.s("classe", cls);
                    else t.null("classe");
                    t.i("diametre", d.diameter)
                        .d("longueur", d.length)
                        .d("pourcent_ecorce", kSpecies[v.species].bark)
                        .d3("m3_sur_ecorce", d.overBark)
                        .d3("m3", d.underBark)
                        .s("lieu", lot.lieu)
                        .date("date_creation", lot.logsMeasured)
                        .date("date_lieu", lot.logsMeasured)
                        .s("stock", stock);
                    if (delivered) t.s("livree", "OUI");
                    else t.null("livree");
                    t.iOrNull("inc_cde", order, order != 0);
                    t.endRow();
                }
            }
        }
        done(t);
    }
    {
        TableInsert t(loader, layout::grumeVolume);
        for (const VolumeLine &v : lines) {
            const Lot &lot = lots[v.lot];
            const int s = v.species;
            // what left the line, in its own unit, as the lot recomputation writes it
            auto own = [&](double inDefault) { return corres(s, v.unit, kDefaultUnit, inDefault); };
            const double a = own(v.soldFromLot), b = own(v.chips), c = own(v.transferred), dd = own(v.soldFromStock);
            const double gone = round2(a + b + c);
            const double waiting = std::max(0.0, round2(c - dd));
            const double q = v.qte, fp = v.finPied, fa = v.finAbattage;
            const double felled = std::max(0.0, q * fp / 100 - q * fa / 100);
            t.i("inc", v.inc)
                .i("N_lot", lot.number)
                .i("indice_lot", 1)
                .s("descriptif", "VOLUME")
                .s("essence", kSpecies[s].name)
                .s("qualite", kQualities[v.quality])
                .d2("m3", corres(s, M3, v.unit, q))
                .d2("tonne", corres(s, Tonne, v.unit, q))
                .d2("stere", corres(s, Stere, v.unit, q))
                .d2("qte", q)
                .s("unite", unitName(v.unit))
                .s("unite_defaut", defaultUnit)
                .d2("qte_defaut", corres(s, kDefaultUnit, v.unit, q))
                .d2("qte_livree", gone)
                .d2("qte_livree_defaut", corres(s, kDefaultUnit, v.unit, gone))
                .d2("broyage_reel", b)
                .d2("volume_livre", a)
                .d2("volume_livre_stock", dd)
                .d2("volume_transfert", waiting)
                .d("fin_pied", v.finPied)
                .d("fin_abattage", v.finAbattage)
                .d2("sur_pied", (100 - fp) * q / 100)
                .d2("abattage", felled)
                .d2("debardage", q * fa / 100 - b - a - waiting - dd)
                .d2OrNull("abattage_cout", v.costFelling, v.hasFelling)
                .d2OrNull("debardage_cout", v.costSkidding, v.hasSkidding)
                .d2OrNull("remise_etat_cout", v.costOther, v.hasOther)
                .s("lieu", lot.lieu)
                .date("date_creation", v.built);
            if (lot.finished) t.s("livree", "OUI");
            else t.null("livree");
            t.endRow();
        }
        done(t);
    }
    {
        TableInsert t(loader, layout::coupe);
        TableInsert owners(loader, layout::proprietaire);
        TableInsert estimates(loader, layout::proprietaireEssence);
        int inc = 0;
        for (const Lot &lot : lots) {
            std::string noms, parcelles, acheteurs;
            double surface = 0, prix = 0, acompte = 0, cvo = 0;
            for (const Owner &o : lot.owners) {
                noms += (noms.empty() ? "" : " + ") + o.nom;
                parcelles += (parcelles.empty() ? "" : " + ") + o.parcelle;
                if (!o.acheteur.empty()) acheteurs += (acheteurs.empty() ? "" : "+") + o.acheteur;
                surface += o.surface;
                prix += o.coutTotal;
                acompte += o.acompte;
                cvo += o.cvo;
            }
            double estimation = 0;
            for (int l = lot.firstLine; l < lot.firstLine + lot.lineCount; ++l)
                estimation += corres(lines[l].species, kDefaultUnit, lines[l].unit, lines[l].qte);
            t.i("inc", ++inc)
                .i("n_lot", lot.number)
                .i("indice_lot", 1)
                .s("type_achat", lot.typeAchat)
                .s("groupe_essence", lot.groupe)
                .s("coupe_fini", lot.finished ? "OUI" : "NON")
                .date("date_achat", lot.date)
                .s("lieu", lot.lieu)
                .s("adresse", lot.adresse)
                .s("cp", lot.cp)
                .sOrNull("latitude", lot.latitude)
                .sOrNull("commentaire", lot.commentaire)
                .dateOrNull("date_alerte", lot.alert, lot.hasAlert)
                .dateOrNull("date_fin", lot.end, lot.hasAlert)
                .s("nom", noms)
                .s("N_parcelle", parcelles)
                .s("acheteur", acheteurs)
                .d2("surface", surface)
                .d2("prix_achat", prix)
                .d2("abattage_cout", acompte)
                .d2("cvo", cvo)
                .d("coef", 150)
                .d("coef_cvo", 0.5)
                .d2("estimation", estimation)
                .d2("cout_total", prix + acompte)
                .null("debardage_cout")
                .null("remise_etat_cout")
                .i("fin_pied", lot.finPied)
                .i("fin_abattage", lot.finAbattage)
                .null("sur_pied")
                .null("abattage")
                .null("debardage")
                .d2OrNull("total_grume", lot.logTotal, lot.hasLogs)
                .d2OrNull("total_grume_livre", lot.logDelivered, lot.hasLogs);
            t.endRow();
            for (const Owner &o : lot.owners) {
                owners.i("N_lot", lot.number)
                    .i("indice_lot", 1)
                    .s("nom", o.nom)
                    .s("type_proprietaire", o.type)
                    .date("date_achat", o.date)
                    .s("n_parcelle", o.parcelle)
                    .s("acheteur", o.acheteur)
                    .s("pro_adresse", o.adresse)
                    .s("pro_cp", o.cp)
                    .s("pro_ville", o.ville)
                    .sOrNull("pro_tel", o.tel)
                    .sOrNull("pefc", o.pefc)
                    .s("achat_fixe", o.fixe ? "OUI" : "NON")
                    .d2OrNull("prix_achat", o.prixAchat, o.fixe)
                    .d2OrNull("prix_estime", o.prixEstime, !o.fixe)
                    .d("coef_cvo", 0.5)
                    .d2("cvo", o.cvo)
                    .d2("cout_total", o.coutTotal)
                    .d2("estimation", o.estimation)
                    .d2("abattage_cout", o.acompte)
                    .s("pro_paye", o.paid ? "Vrai" : "Faux")
                    .d("surface", o.surface)
                    .d("coef", 150)
                    .s("coupe_fini", "NON")
                    .null("prix_unit");
                owners.endRow();
                for (const Estimate &e : o.estimates) {
                    estimates.i("N_lot", lot.number)
                        .i("indice_lot", 1)
                        .s("nom", o.nom)
                        .s("essence", kSpecies[e.species].name)
                        .s("qualite", kQualities[e.quality])
                        .s("unite", unitName(e.unit))
                        .s("unite_defaut", defaultUnit)
                        .d2("qte", e.qte)
                        .d2("qte_reel", e.qteReel)
                        .d2("qte_defaut", e.qteDefaut)
                        .d2("prix_unit", e.prixUnit)
                        .d2("prix_total", e.prixTotal)
                        .sOrNull("long", e.comment)
                        .d2("m3_reel", e.qteDefaut);
                    estimates.endRow();
                }
            }
        }
        done(t);
        done(owners);
        done(estimates);
    }
    auto writeAction = [&](TableInsert &t, const Action &a) {
        t.s("I_nom", contractors[static_cast<std::size_t>(a.contractor)].societe)
            .s("type1", a.type)
            .date("i_date", a.date)
            .d("qte_action", a.quantity)
            .s("unite_action", a.unit)
            .d("prix_unit_action", a.unitPrice)
            .d("i_cout", a.cost);
    };
    {
        TableInsert t(loader, layout::intervention);
        for (const WorkRow &w : work) {
            const Action &a = w.action;
            t.i("N_lot", a.lotNo)
                .i("indice_lot", 1)
                .i("id", lines[static_cast<std::size_t>(w.line)].inc)
                .s("type1", a.type)
                .s("I_nom", contractors[static_cast<std::size_t>(a.contractor)].societe)
                .date("i_date", a.date)
                .d("qte_action", a.quantity)
                .s("unite_action", a.unit)
                .d("prix_unit_action", a.unitPrice)
                .d("i_cout", a.cost);
            if (a.hours >= 0) t.d("i_nb_heure", a.hours);
            else t.null("i_nb_heure");
            t.sOrNull("fac_fournisseur", a.settled ? "OUI" : "");
            t.endRow();
        }
        done(t);
    }
    // transfers and the firewood stock they feed
    {
        TableInsert t(loader, layout::transfert);
        TableInsert tl(loader, layout::listeGrumeTransfert);
        TableInsert ta(loader, layout::listeActionTransfert);
        for (const Transfer &x : transfers) {
            double defaut = 0, liv = 0, cost = 0;
            for (const TransferLine &l : x.lines) {
                defaut += l.qteDefaut;
                liv += l.qteLiv;
            }
            for (const Action &a : x.actions) cost += a.cost;
            const std::string &destination = places[x.destination].destination;
            t.i("inc", x.inc)
                .i("creation", 0)
                .moment("date_transfert", x.date)
                .s("type_transfert", x.type)
                .s("depart", x.depart)
                .s("destination", destination)
                .s("type_destination", x.typeDestination)
                .s("unite_defaut", defaultUnit)
                .sOrNull("corps_cde", x.text)
                .d2("grume_livree", defaut)
                .d2("volume_cde", defaut)
                .d2("qte_defaut_totale", defaut)
                .d2("qte_liv_totale", liv)
                .d2("prix_vente", 0)
                .d2("prix_vente_facture", 0)
                .d("total_cout_action", cost);
            t.endRow();
            for (const TransferLine &l : x.lines) {
                tl.i("inc_transfert", x.inc)
                    .s("descriptif", "GRUME")
                    .moment("date_creation", x.date)
                    .s("lieu", x.depart)
                    .s("depart", x.depart)
                    .s("destination", destination)
                    .s("type_transfert", x.type)
                    .s("unite_defaut", defaultUnit)
                    .sOrNull("n_lot", l.lotNo ? std::to_string(l.lotNo) : "")
                    .iOrNull("id", l.volumeLine, l.volumeLine != 0)
                    .s("essence", kSpecies[l.species].name)
                    .s("qualite", kQualities[l.quality])
                    .s("unite_conso", unitName(l.uniteConso))
                    .d2("qte_conso", l.qteConso)
                    .sOrNull("unite_depart", l.uniteDepart >= 0 ? unitName(l.uniteDepart) : "")
                    .iOrNull("inc_stock_buche", l.stockInc, l.stockInc != 0)
                    .s("qualite_destination", kQualities[l.qualityDest])
                    .d2("qte_liv", l.qteLiv)
                    .s("unite_liv", unitName(l.uniteLiv))
                    .d2("qte_defaut", l.qteDefaut)
                    .i("inc_coef", l.coefRow)
                    .d("coef", l.coef);
                tl.endRow();
            }
            for (const Action &a : x.actions) {
                ta.i("inc_transfert", x.inc);
                writeAction(ta, a);
                ta.sOrNull("n_lot", a.lotNo ? std::to_string(a.lotNo) : "")
                    .null("id")
                    .sOrNull("fac_fournisseur", a.settled ? "OUI" : "");
                ta.endRow();
            }
        }
        done(t);
        done(tl);
        done(ta);
        TableInsert s(loader, layout::stockBuche);
        for (const StockRow &row : stocks) {
            Moment inventory = row.created;
            inventory.day = inventory.day.plus(-1);
            s.i("inc", row.inc)
                .s("destination", places[row.zone].destination)
                .s("essence", kSpecies[row.species].name)
                .s("qualite", kQualities[row.quality])
                .sOrNull("n_lot", row.lotNo ? std::to_string(row.lotNo) : "")
                .iOrNull("id", row.volumeLine, row.volumeLine != 0)
                .s("unite_stock", unitName(row.unit))
                .s("unite_defaut", defaultUnit)
                .d2("qte_theorique_restante", row.qte)
                .d2("qte_defaut", row.qteDefaut)
                .d("qte_inventaire", 0)
                .moment("date_inventaire", inventory);
            s.endRow();
        }
        done(s);
    }
    // orders, their lines and actions
    {
        TableInsert t(loader, layout::cde);
        TableInsert tl(loader, layout::listeGrumeCde);
        TableInsert ta(loader, layout::listeActionCde);
        for (const Order &o : orders) {
            const Place &p = places[static_cast<std::size_t>(o.place)];
            t.i("inc", o.inc)
                .i("creation", 0)
                .s("type_cde", o.type)
                .s("client", p.client)
                .s("destination", p.destination)
                .s("adresse_liv", p.adresse)
                .s("cp_liv", p.cp)
                .s("ville_liv", p.ville)
                .s("pays_liv", p.pays)
                .sOrNull("n_cde_client", o.customerRef)
                .sOrNull("corps_cde", o.text)
                .moment("date_cde", o.date)
                .moment("date_souhaitee", o.wished)
                .s("unite_defaut", defaultUnit)
                .s("unite_liv", unitName(o.unit))
                .d2("qte_liv_totale", o.qteLiv)
                .d2("qte_defaut_totale", o.qteDefaut)
                .d2("volume_cde", o.qteDefaut)
                .d2("grume_livree", o.qteDefaut)
                .d2("prix_vente", o.price)
                .d2("prix_vente_facture", o.price)
                .d("total_cout_action", o.actionCost)
                .s("livree", o.delivered ? "OUI" : "NON")
                .s("facturee", o.invoice ? "OUI" : "NON")
                .iOrNull("num_facture", o.invoice, o.invoice != 0);
            t.endRow();
            for (int l = o.firstLine; l < o.firstLine + o.lineCount; ++l) {
                const OrderLine &ol = orderLines[static_cast<std::size_t>(l)];
                const bool fromStock = ol.origin == 'S';
                const StockRow *s = fromStock ? &stocks[static_cast<std::size_t>(ol.stock)] : nullptr;
                tl.i("inc", ol.inc)
                    .i("inc_cde", o.inc)
                    .s("descriptif", "VOLUME")
                    .moment("date_creation", o.date)
                    .s("lieu", p.client)
                    .s("essence", ol.species >= 0 ? kSpecies[ol.species].name : "")
                    .s("qualite", kQualities[ol.quality])
                    .d2("qte_liv", ol.qteLiv)
                    .s("unite_liv", unitName(o.unit))
                    .d2("prix_unit", ol.prixUnit)
                    .d2("prix_total", ol.prixTotal)
                    .s("unite_defaut", defaultUnit)
                    .d2("qte_defaut", ol.qteDefaut)
                    .s("unite_conso", unitName(ol.uniteConso))
                    .d2("qte_conso", ol.qteConso)
                    .s("choix_depart", ol.origin == 'C' ? "COUPE"
                                       : fromStock      ? "STOCK"
                                                        : "AUTRE")
                    .sOrNull("n_lot", ol.lotNo ? std::to_string(ol.lotNo) : "")
                    .iOrNull("id", ol.volumeLine, ol.volumeLine != 0)
                    .s("stock", o.type == "TRANSFERT" ? "STOCK" : "LIV.");
                if (s) {
                    tl.s("stock_buche", places[s->zone].destination)
                        .i("inc_stock_buche", s->inc)
                        .s("stock_essence", kSpecies[s->species].name)
                        .s("stock_qualite", kQualities[s->quality])
                        .s("stock_unite", unitName(s->unit));
                } else {
                    tl.null("stock_buche")
                        .null("inc_stock_buche")
                        .null("stock_essence")
                        .null("stock_qualite")
                        .null("stock_unite");
                }
                tl.d2("stock_qte", ol.stockQte);
                tl.endRow();
            }
            for (const Action &a : o.actions) {
                ta.i("inc_cde", o.inc);
                writeAction(ta, a);
                ta.sOrNull("n_lot", a.lotNo ? std::to_string(a.lotNo) : "")
                    .iOrNull("id", a.volumeLine, a.volumeLine != 0)
                    .sOrNull("fac_fournisseur", a.settled ? "OUI" : "");
                ta.endRow();
            }
        }
        done(t);
        done(tl);
        done(ta);
    }
    // chip deliveries and their actions
    {
        TableInsert t(loader, layout::livraison);
        TableInsert ta(loader, layout::listeActionLiv);
        for (const Delivery &d : deliveries) {
            const bool w = d.weighed;
            t.i("inc", d.inc)
                .i("creation", 0)
                .s("operation", d.operation)
                .moment("date_livraison", d.date)
                .sOrNull("depart", d.depart)
                .sOrNull("destination", d.destinationText)
                .iOrNull("n_lot", d.lot >= 0 ? lots[d.lot].number : 0, d.lot >= 0)
                .i("indice_lot", 1)
                .iOrNull("id", d.line >= 0 ? lines[d.line].inc : 0, d.line >= 0)
                .s("essence", kSpecies[d.species].name)
                .s("qualite", kQualities[Plaquette])
                .s("unite_liv", "T")
                .s("unite_defaut", defaultUnit)
                .s("unite_conso", unitName(d.uniteConso))
                .d2OrNull("tonnage", d.tonnage, w)
                .d2OrNull("qte_liv_totale", d.tonnage, w)
                .d2OrNull("qte_defaut_totale", d.qteDefaut, w)
                .d2OrNull("qte_pefc", d.pefc, w)
                .d2OrNull("qte_defaut_pefc", d.pefcDefaut, w)
                .d2OrNull("qte_conso", d.conso, w)
                .d("humidite", d.humidite)
                .d2OrNull("mwh", d.mwh, d.mwhPriced)
                .s("unite", d.unite)
                .d2("prix_tonne", d.prixTonne)
                .d2("prix_mwh", d.prixMwh)
                .d2OrNull("total_mwh", d.totalMwh, d.mwhPriced)
                .d2OrNull("prix_total", d.total, d.priced)
                .sOrNull("ticket", d.ticket)
                .s("verifie", d.verifie)
                // older workstations leave the flag of one delivery in ten not invoiced empty
                .sOrNull("facturee", d.invoice ? "OUI" : (d.inc % 10 == 3 ? "" : "NON"))
                .iOrNull("num_facture", d.invoice, d.invoice != 0)
                .sOrNull("chargeoir", d.chargeoir)
                .sOrNull("lettre_voiture", d.lettre)
                .sOrNull("lieu_pesage", d.pesage)
                .sOrNull("transporteur_prevu", d.transporteur)
                .sOrNull("commentaire", d.comment)
                .d2("broyeur_prix_unit", d.broyeurPu)
                .d2("prix_transport_unit", d.transportPu);
            t.endRow();
            for (const Action &a : d.actions) {
                ta.i("inc_cde", d.inc)
                    .iOrNull("n_lot", a.lotNo, a.lotNo != 0)
                    .s("type1", a.type)
                    .s("I_nom", contractors[static_cast<std::size_t>(a.contractor)].societe)
                    .date("i_date", a.date)
                    .d("qte_action", a.quantity)
                    .s("unite_action", a.unit)
                    .d("prix_unit_action", a.unitPrice)
                    .d("i_cout", a.cost)
                    .iOrNull("km_route", a.km, a.km >= 0);
                if (a.roadSeconds >= 0) ta.time("temps_route", a.roadSeconds);
                else ta.null("temps_route");
                ta.sOrNull("fac_fournisseur", a.settled ? "OUI" : "");
                ta.endRow();
            }
        }
        done(t);
        done(ta);
    }
    // invoices and credit notes, with their delivery notes and priced lines
    {
        TableInsert t(loader, layout::factureEntete);
        TableInsert tc(loader, layout::factureCorps);
        TableInsert td(loader, layout::factureCorpsDetail);
        for (const Invoice &inv : invoices) {
            const Place &p = places[static_cast<std::size_t>(inv.place)];
            const double sign = inv.credit ? -1 : 1;
            const double rate = kVatRates[std::clamp(p.incTva, 1, 4) - 1];
            const double ht = inv.ht * sign;
            const double vat = ht * rate / 100;
            t.i("num_facture", inv.number)
                .s("type_fac", inv.credit ? "AVOIR" : "FACTURE")
                .date("date_fac", inv.date)
                .date("echeance", inv.due)
                .s("destination", p.destination)
                .s("client", p.client)
                .s("adresse", p.adresse)
                .sOrNull("adresse1", p.adresse1)
                .s("cp", p.cp)
                .s("ville", p.ville)
                .s("pays", p.pays)
                .sOrNull("client_fac", p.clientFac)
                .sOrNull("adresse_fac", p.adresseFac)
                .sOrNull("adresse1_fac", p.adresse1Fac)
                .sOrNull("cp_fac", p.cpFac)
                .sOrNull("ville_fac", p.villeFac)
                .sOrNull("pays_fac", p.paysFac)
                .sOrNull("tva_intra", p.tvaIntra)
                .i("inc_tva", p.incTva)
                .i("inc_reglement", p.incReglement)
                .d("montant_ht", ht)
                .d("montant_tva", vat)
                .d("montant_ttc", ht + vat);
            t.endRow();
            for (const InvoiceDoc &doc : inv.docs) {
                if (doc.isOrder) {
                    const Order &o = orders[static_cast<std::size_t>(doc.index)];
                    tc.i("inc_facture", inv.number)
                        .s("type1", "GRUME")
                        .i("inc_liv", o.inc)
                        .date("date_liv", o.date.day)
                        .s("type_liv", o.type)
                        .s("destination", p.destination)
                        .s("unite_vente", unitName(o.unit))
                        .d("total_ht", o.price * sign);
                    tc.endRow();
                    for (int l = o.firstLine; l < o.firstLine + o.lineCount; ++l) {
                        const OrderLine &ol = orderLines[static_cast<std::size_t>(l)];
                        td.i("inc_facture", inv.number)
                            .i("inc_corps", o.inc)
                            .s("origine", "GRUME/STERE")
                            .i("inc_source", ol.inc)
                            .date("date_liv", o.date.day)
                            .sOrNull("n_lot", ol.lotNo ? std::to_string(ol.lotNo) : "")
                            .s("essence", ol.species >= 0 ? kSpecies[ol.species].name : "")
                            .s("qualite", kQualities[ol.quality])
                            .d2("qte_liv", ol.qteLiv * sign)
                            .s("unite_liv", unitName(o.unit))
                            .d2("prix_unit", ol.prixUnit)
                            .d2("prix_total", ol.prixTotal * sign)
                            .d("humidite", 0)
                            .d("total_mwh", 0)
                            .d("pefc", 0)
                            .null("descriptif")
                            .null("unit_defaut")
                            .null("qte_defaut")
                            .null("designation");
                        td.endRow();
                    }
                } else {
                    const Delivery &d = deliveries[static_cast<std::size_t>(doc.index)];
                    const bool mwh = d.unite == "MWH";
                    tc.i("inc_facture", inv.number)
                        .s("type1", "PLAQUETTE")
                        .i("inc_liv", d.inc)
                        .date("date_liv", d.date.day)
                        .s("type_liv", d.operation)
                        .s("destination", p.destination)
                        .s("unite_vente", d.unite)
                        .d("total_ht", d.total * sign);
                    tc.endRow();
                    td.i("inc_facture", inv.number)
                        .i("inc_corps", d.inc)
                        .s("origine", "PLAQUETTE")
                        .i("inc_source", d.inc)
                        .date("date_liv", d.date.day)
                        .sOrNull("n_lot", d.lot >= 0 ? std::to_string(lots[d.lot].number) : "")
                        .s("essence", kSpecies[d.species].name)
                        .s("qualite", kQualities[Plaquette])
                        .d2("qte_liv", (mwh ? d.mwh : d.tonnage) * sign)
                        .s("unite_liv", d.unite)
                        .d2("prix_unit", mwh ? d.prixMwh : d.prixTonne)
                        .d2("prix_total", d.total * sign)
                        .d("humidite", mwh ? d.humidite : 0)
                        .d2("total_mwh", mwh ? d.totalMwh : 0)
                        .d("pefc", d.tonnage > 0 ? std::round(d.pefc / d.tonnage * 100) : 0)
                        .null("descriptif")
                        .null("unit_defaut")
                        .null("qte_defaut")
                        .null("designation");
                    td.endRow();
                }
            }
        }
        done(t);
        done(tc);
        done(td);
    }
    // the counters: the last numbers handed out above
    {
        int lastLot = 0;
        for (const Lot &lot : lots) lastLot = std::max(lastLot, lot.number);
        TableInsert t(loader, layout::increment);
        t.i("n_lot", lastLot)
            .i("num_bl", lastBl)
            .i("num_facture", lastInvoice)
            .i("num_intervenant_possible", static_cast<int>(contractors.size()))
            .i("num_contact", lastContact);
        t.endRow();
        done(t);
    }
}

// ---------------------------------------------------------------------------------------------

CompanyGenerator::CompanyGenerator(const GeneratorOptions &options) : m(std::make_unique<Model>(options)) {}
CompanyGenerator::~CompanyGenerator() = default;

const Targets &CompanyGenerator::targets() const
{
    return m->target;
}

void CompanyGenerator::build()
{
    m->buildPlaces();
    m->buildContractors();
    m->buildLots();
    m->buildWork();
    m->simulate();
    m->buildInvoices();
}

void CompanyGenerator::write(Loader &loader, const std::function<void(const std::string &)> &progress)
{
    m->writeAll(loader, progress);
}

const std::vector<std::pair<std::string, std::int64_t>> &CompanyGenerator::rowsWritten() const
{
    return m->written;
}

} // namespace ravelin::bench
