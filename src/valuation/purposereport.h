// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The appraisal report for a purpose (rapporto di valutazione): what the
// appraiser adds to the appraisal for a bank lending on the unit, a court
// selling it in a foreclosure, or a plain market valuation; the arithmetic of
// the value it states (the court's adjustments, the share, the proposed base
// price) and the checks of what was typed. No widgets: the window shows a
// Report, the outputs print one, the companion table stores one.
#include <QDate>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace brevan::perizia {

inline constexpr double kNotGiven = std::numeric_limits<double>::quiet_NaN();
inline bool given(double v) { return std::isfinite(v); }

// --- the purposes and the sections -------------------------------------------

enum class Purpose { Bank, Court, Market };

struct PurposeInfo {
    Purpose purpose;
    const char16_t *key;   // as stored
    const char16_t *label; // as the window offers it
};
const std::array<PurposeInfo, 3> &purposes();
QString purposeLabel(Purpose purpose);
QString purposeKey(Purpose purpose);
std::optional<Purpose> purposeOfKey(const QString &key);

enum class Section { Engagement, Identification, Title, Encumbrances, Planning, Condominium, Energy, Documents, Valuation };
inline constexpr int kSectionCount = 9;
// "Incarico", "Identificazione", …, in the order of the window and the report.
QString sectionTitle(Section section);

// The label a value has in one of the pick-list tables below, and the value
// of a label (fallback for a label the table does not hold).
template <typename T>
QString labelOf(const QVector<QPair<T, QString>> &table, T value)
{
    for (const auto &[v, label] : table) {
        if (v == value)
            return label;
    }
    return {};
}
template <typename T>
T valueOfLabel(const QVector<QPair<T, QString>> &table, const QString &label, T fallback)
{
    for (const auto &[v, l] : table) {
        if (l == label)
            return v;
    }
    return fallback;
}

// --- the data ------------------------------------------------------------------

struct CadastralEntry {
    QString registry;     // "Fabbricati" or "Terreni"
    QString municipality;
    QString section;      // sezione
    QString sheet;        // foglio
    QString parcel;       // particella
    QString subaltern;    // subalterno
    QString category;     // "A/2"
    QString cadastralClass;
    QString consistency;  // "5,5 vani"
    double surface = kNotGiven; // superficie catastale, m²
    double income = kNotGiven;  // rendita, €
    // Identified: the municipality, the sheet and the parcel.
    bool identified() const;
};

struct Owner {
    QString name;
    bool naturalPerson = true; // a natural person's name is left out of the privacy copy
    int numerator = 1;         // share of the right: numerator / denominator
    int denominator = 1;
    bool valued = true;        // the share is the one valued (a court values the debtor's)
};

struct Deed {
    QString type; // "compravendita", "successione", …
    QString notary;
    QDate date;
    QString repertory;
    bool given() const { return !type.trimmed().isEmpty() && date.isValid(); }
};

enum class Occupation { NotStated, Free, Debtor, ThirdPartyWithTitle, ThirdPartyWithoutTitle };
// The labels of the pick list, in its order.
const QVector<QPair<Occupation, QString>> &occupations();

struct Lease {
    QString tenant;
    bool naturalPerson = true;
    QDate registered;
    QDate expiry;
    double yearlyRent = kNotGiven;
    std::optional<bool> bindsBuyer; // for a court: registered before the foreclosure was transcribed
};

enum class EncumbranceKind {
    Mortgage, Foreclosure, JudicialClaim, Easement, Planning, HistoricArtistic, BuildingRightsContract, CivicUse,
    CensoLivello, Other
};
const QVector<QPair<EncumbranceKind, QString>> &encumbranceKinds();

struct Encumbrance {
    EncumbranceKind kind = EncumbranceKind::Other;
    QString description;
    QDate date;
    QString registration;          // registro generale / particolare
    bool staysWithBuyer = false;   // false: cancelled by the sale, or not binding on the buyer
    double redemptionCost = kNotGiven; // censo or livello: the cost of redeeming it
};

struct Permit {
    QString type; // "licenza edilizia", "concessione", "permesso di costruire", "SCIA", …
    QString number;
    QDate date;
};

struct Amnesty { // domanda di condono
    QString applicant;
    QString law;
    QString state;
    double feesPaid = kNotGiven;
    double feesDue = kNotGiven;
};

enum class StatedValue { Income, Comparison, Mca, Own };
const QVector<QPair<StatedValue, QString>> &statedValues();

// The adjustments of art. 568 c.p.c., second paragraph, each on a line of its own.
enum class AdjustmentKind { Regularisation, StateOfUse, Possession, Encumbrances, Condominium, NoWarranty, Other };
const QVector<QPair<AdjustmentKind, QString>> &adjustmentKinds();

struct Adjustment {
    AdjustmentKind kind = AdjustmentKind::Other;
    QString description;
    double amount = kNotGiven;  // €, or
    double percent = kNotGiven; // of the market value, shown as its amount
};

struct Report {
    Purpose purpose = Purpose::Market;

    // Incarico
    QString client;        // committente
    QString loanApplicant; // bank: richiedente il finanziamento
    QString court;         // court: tribunale
    QString procedureNumber; // R.G.E.
    QString judge;
    QStringList debtors;
    QString professionalRegister; // "Ordine degli Ingegneri della Provincia di …"
    QString registerNumber;
    QString uniCertification;     // UNI 11558, where held
    QString uniRegistryNumber;
    QDate engagementDate;
    QDate inspectionDate;
    QDate reportDate;
    bool independence = false; // statement of independence and no conflict of interest
    bool followsUni11612 = false;
    std::optional<bool> documents567Complete;
    QString documents567Missing;

    // Identificazione
    QString description; // the appraiser's own words, added to the pages' description
    QVector<CadastralEntry> cadastral;
    QString boundaries;
    std::optional<bool> matchesCadastralPlan;
    QString planDifferences;
    double planFixCost = kNotGiven;

    // Titolarità e possesso
    QString right; // "piena proprietà", "nuda proprietà", …
    QVector<Owner> owners;
    Deed deed;
    Occupation occupation = Occupation::NotStated;
    QVector<Lease> leases;

    // Vincoli e oneri
    QVector<Encumbrance> encumbrances;
    bool noEncumbrances = false; // checked, and none found

    // Regolarità urbanistica ed edilizia
    QVector<Permit> permits;
    std::optional<bool> fitForUse; // agibilità
    std::optional<bool> conformsToPermits;
    QString permitDifferences;
    std::optional<bool> regularisable;
    double regularisationCost = kNotGiven;
    double restorationCost = kNotGiven;
    QVector<Amnesty> amnesties;
    QString landUseCertificate; // certificato di destinazione urbanistica, for land
    std::optional<bool> censoLivelloUsoCivico; // checked: burdened (true) or free (false)

    // Condominio
    bool notInCondominium = false;
    double yearlyExpenses = kNotGiven;
    double unpaidLastTwoYears = kNotGiven;
    double extraordinaryResolved = kNotGiven;
    QString lawsuits;

    // Energia e sismica
    QString energyClass; // "A4" … "G"
    double epgl = kNotGiven; // kWh/m² anno
    QDate apeDate;
    QString seismicClass;
    QString sustainabilityNotes;

    // Documenti, assunzioni, allegati
    QString documentsExamined;
    QString assumptions;
    QStringList annexes;

    // Valutazione
    StatedValue stated = StatedValue::Comparison;
    double ownValue = kNotGiven;
    QString reason;
    double propertyValue = kNotGiven; // bank: valore dell'immobile
    bool revaluation = false;          // bank: it revalues an earlier valuation
    double sixYearAverage = kNotGiven; // bank: average value of the last six years
    QString averageSource;
    QVector<Adjustment> adjustments;   // court
    double roundingStep = 1000;        // court: the base price's step
};

// The energy classes of the APE, best first.
const QStringList &energyClasses();

// What the appraisal itself holds that the report uses.
struct AppraisalFacts {
    double incomeValue = kNotGiven;     // by income capitalisation, €
    double comparisonValue = kNotGiven; // by direct comparison, €
    double mcaValue = kNotGiven;        // by the market comparison approach, €
    double surface = kNotGiven;         // commercial surface, m²
    double divergenceThreshold = 10;    // %, the MCA's
    QString appraiser;                  // from the particulars
    QString address;
    QString category;                   // cadastral category of the description page
    QString pagesDescription;
    bool hasPhoto = false;
};

// --- the value -------------------------------------------------------------------

// The value the report states as market value: the chosen one, or the
// appraiser's own figure; nothing when that one is not calculated.
std::optional<double> statedMarketValue(const Report &report, const AppraisalFacts &facts);

// The spread of the values calculated, (max − min) / min × 100, as the MCA
// measures its divergence; nothing with fewer than two.
std::optional<double> valuesSpread(const AppraisalFacts &facts);

// A written reason is required: the value stated is the appraiser's own, or
// the values calculated differ by more than the threshold.
bool reasonRequired(const Report &report, const AppraisalFacts &facts);

// The share of the right valued: the shares of the owners whose share is
// valued, summed (1 with no owner).
double shareFraction(const Report &report);
bool wholeShare(const Report &report);

struct CourtValue {
    double marketValue = 0;
    QVector<double> amounts; // each adjustment as an amount, in the report's order
    double totalAdjustments = 0;
    double netValue = 0;   // market value less the adjustments
    double share = 1;
    double shareValue = 0; // the net value of the share valued
    double basePrice = 0;  // proposed: the share's value to the nearest step
};
// Nothing when the market value is not calculated.
std::optional<CourtValue> courtValue(const Report &report, const AppraisalFacts &facts);

// The court's adjustments the other sections give: the regularisation of the
// cadastral and planning differences (the cost of correcting the cadastral
// plan, plus the cost of the amnesty when the differences can be regularised
// or of restoring when they cannot) and the unpaid condominium expenses of
// the last two years; the lines of the report with those two replaced (or
// added, in the law's order, when missing). Nothing is proposed for the
// other kinds, the missing warranty included.
QVector<Adjustment> proposedAdjustments(const Report &report);

// value rounded to the nearest multiple of step, halves up; value itself for
// a step not above zero.
double roundToStep(double value, double step);

// --- the checks of what was typed ----------------------------------------------

struct Problem {
    QString field;   // the field it concerns, as the window names it
    QString message; // shown at the field
};
QVector<Problem> problems(const Report &report, const AppraisalFacts &facts);

// The number a text names ("1.234,50", "1234.5", "1234,5", with or without
// "€"); NaN for the empty text, nothing for a text that is no number.
std::optional<double> parseAmount(const QString &text);

} // namespace brevan::perizia
