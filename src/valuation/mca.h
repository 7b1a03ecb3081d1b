// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The market comparison approach (MCA) as Simonotti presents it in the
// Codice delle Valutazioni Immobiliari: each comparable sale is adjusted,
// characteristic by characteristic, by a marginal price until it describes
// the unit being valued; the value is the mean of the corrected prices.
//
// Prices are in euro. Nothing is rounded on the way: marginal prices,
// adjustments and corrected prices keep full precision, only the value is
// rounded (half up to the euro) and the unit value (to the cent).
//
// Marginal prices the market has to tell can be left unknown: they are then
// one price shared by all comparables, found with the value by the
// estimation system V = Pⱼ + Σₖ pₖ·(xₖₛ − xₖⱼ), exactly or by least squares.
#include "valuation/estimationsystem.h"

#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace brevan::mca {

// The characteristics compared, in the order of the tables.
enum class Feature { Date, MainSurface, Balconies, Cellar, Garage, Garden, Floor, Lift, Maintenance, Bathrooms };
inline constexpr int kFeatureCount = 10;
inline constexpr std::array<Feature, kFeatureCount> kFeatures{
    Feature::Date,  Feature::MainSurface, Feature::Balconies, Feature::Cellar,      Feature::Garage,
    Feature::Garden, Feature::Floor,      Feature::Lift,      Feature::Maintenance, Feature::Bathrooms};
// The secondary surfaces, each priced as a share π of the main surface's price.
inline constexpr std::array<Feature, 4> kSecondary{Feature::Balconies, Feature::Cellar, Feature::Garage,
                                                   Feature::Garden};
inline constexpr int index(Feature f) { return static_cast<int>(f); }
int secondaryIndex(Feature f); // 0 to 3, −1 for the other features

// Rows of the data table, in its order: what is known of each property.
enum class Row {
    Address, SaleDate, Price, Source, MainSurface, Balconies, Cellar, Garage, Garden, Floor, Lift, Maintenance,
    Bathrooms
};
inline constexpr int kRowCount = 13;

// The parameters of the valuation, in the order they are shown.
enum class Param {
    AnnualChange, RatioBalconies, RatioCellar, RatioGarage, RatioGarden, FloorRatio, MaintenanceStep,
    BathroomCost, BathroomAge, BathroomLife, LiftPrice, Threshold
};
inline constexpr int kParamCount = 12;

inline constexpr int kMinComparables = 3;
inline constexpr int kMaxComparables = 10;

// A month of a year; the day plays no part in the comparison.
struct MonthYear {
    int month = 0; // 1 to 12
    int year = 0;
    bool isValid() const { return month >= 1 && month <= 12 && year > 0; }
    int index() const { return year * 12 + month - 1; }
    // Whole calendar months from this month to a later one.
    int monthsTo(const MonthYear &later) const { return later.index() - index(); }
    QString text() const; // "03/2024"
    bool operator==(const MonthYear &) const = default;
};

// The amount of each feature for one property; the lift's is 1 or 0. The
// date's entry is not used: a comparable's months come from its sale and the
// valuation date.
using Amounts = std::array<double, kFeatureCount>;

struct Comparable {
    double price = 0;
    MonthYear sale;
    Amounts amounts{};
};

struct Parameters {
    double annualChange = 0;                  // i, percent a year; negative for a falling market
    std::array<double, 4> ratios{0.30, 0.25, 0.50, 0.10}; // π of the secondary surfaces
    double floorRatio = 2;                    // r, percent of the price per floor
    double maintenanceStep = 0;               // euro per step of the 1–5 scale
    double bathroomCost = 0;                  // euro, new
    double bathroomAge = 0;                   // years
    double bathroomLife = 0;                  // years
    double liftPrice = 0;                     // euro
    double threshold = 10;                    // percent
    // The features whose marginal price the estimation system finds.
    std::array<bool, kFeatureCount> unknown{};
};

struct Input {
    Amounts subject{};
    MonthYear valuation;
    QVector<Comparable> comparables;
    Parameters parameters;
};

// Where a problem lies: a cell of the data table (column 0 the subject, j the
// j-th comparable), a parameter, the list of comparables as a whole, or the
// choice of prices to estimate.
struct Place {
    enum class Kind { Cell, Parameter, Comparables, Unknowns };
    Kind kind = Kind::Comparables;
    int column = 0;
    Row row = Row::Price;
    Param param = Param::AnnualChange;

    static Place cell(int column, Row row) { return {Kind::Cell, column, row, Param::AnnualChange}; }
    static Place parameter(Param p) { return {Kind::Parameter, 0, Row::Price, p}; }
    static Place comparables() { return {Kind::Comparables, 0, Row::Price, Param::AnnualChange}; }
    static Place unknowns() { return {Kind::Unknowns, 0, Row::Price, Param::AnnualChange}; }
    bool operator==(const Place &) const = default;
};

struct Issue {
    Place place;
    QString message;
    bool operator==(const Issue &) const = default;
};

// One characteristic of one comparable in the evaluation table.
struct Adjustment {
    double marginalPrice = 0;
    double difference = 0; // subject's amount − comparable's (months for the date)
    double amount = 0;     // marginalPrice × difference
};

struct ComparableResult {
    double price = 0;                 // Pⱼ
    double commercialSurface = 0;     // Scⱼ = S₁ⱼ + Σ πₖ·Sₖⱼ
    double unitPrice = 0;             // Pⱼ / Scⱼ
    std::array<Adjustment, kFeatureCount> adjustments{};
    double corrected = 0;             // P′ⱼ = Pⱼ + Σ adjustments
    double residual = 0;              // P′ⱼ − V of the estimation system (0 without it)
};

struct Result {
    double subjectCommercialSurface = 0;
    // The main surface's price: the lowest Pⱼ / Scⱼ (first market theorem),
    // or the estimation system's when it is unknown.
    double mainSurfacePrice = 0;
    int cheapest = -1; // the comparable that gave it; −1 when estimated
    QVector<ComparableResult> comparables;

    // The estimation system, when some price is unknown.
    bool systemUsed = false;
    SystemSolution::Status systemStatus = SystemSolution::Status::Exact;
    double systemValue = 0;  // V
    std::array<std::optional<double>, kFeatureCount> estimatedPrices{};

    double mean = 0;         // of the corrected prices, unrounded
    double minCorrected = 0;
    double maxCorrected = 0;
    double divergence = 0;   // (max − min) / min × 100
    bool beyondThreshold = false;
    double value = 0;        // the mean rounded half up to the euro
    double unitValue = 0;    // value / Scₛ to the cent
};

struct Outcome {
    std::optional<Result> result; // the tables, when they could be computed
    QVector<Issue> issues;        // any issue: the value is not current
    bool hasValue() const { return result.has_value() && issues.isEmpty(); }
};

// Rounds half up (away from zero) at the given decimals, on the value's
// 15-digit decimal form, so that a mean of x,5 is not taken for x,4999….
double roundHalfUp(double value, int decimals);
// The value as its 15 significant digits give it back: the last bits that
// decimal figures held in binary pick up on the way are dropped.
double fifteenDigits(double value);

double commercialSurface(const Amounts &amounts, const std::array<double, 4> &ratios);

Outcome compute(const Input &input);

// The message shown beside the result when the divergence is beyond the
// threshold.
inline const QString kDivergenceWarning = QStringLiteral("divergenza oltre la soglia: rivedere i comparabili");

} // namespace brevan::mca
