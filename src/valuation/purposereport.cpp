// SPDX-License-Identifier: GPL-2.0-or-later
#include "purposereport.h"

#include "valuation/mca.h"

#include <algorithm>
#include <limits>
#include <cmath>
#include <QLocale>
#include <numeric>

namespace brevan::perizia {

namespace {

const std::array<PurposeInfo, 3> kPurposes{{
    {Purpose::Bank, u"banca", u"Garanzia di un finanziamento (Linee guida ABI)"},
    {Purpose::Court, u"tribunale", u"Esecuzione immobiliare (art. 173-bis disp. att. c.p.c.)"},
    {Purpose::Market, u"mercato", u"Valutazione di mercato (UNI 11612)"},
}};

const std::array<const char16_t *, kSectionCount> kSectionTitles{
    u"Incarico",
    u"Identificazione",
    u"Titolarità e possesso",
    u"Vincoli e oneri",
    u"Regolarità urbanistica ed edilizia",
    u"Condominio",
    u"Energia e sismica",
    u"Documenti, assunzioni, allegati",
    u"Valutazione",
};

template <typename T>
QVector<QPair<T, QString>> labelled(std::initializer_list<std::pair<T, const char16_t *>> rows)
{
    QVector<QPair<T, QString>> out;
    for (const auto &[value, label] : rows)
        out.append({value, QString::fromUtf16(label)});
    return out;
}

// An exact sum of the shares: thirds add up to the whole, not to 0,999….
struct Fraction {
    long long num = 0;
    long long den = 1;
    void add(long long n, long long d)
    {
        const long long g = std::gcd(den, d);
        num = num * (d / g) + n * (den / g);
        den = den / g * d;
        const long long r = std::gcd(num < 0 ? -num : num, den);
        if (r > 1) {
            num /= r;
            den /= r;
        }
    }
};

bool validShare(const Owner &o)
{
    return o.numerator > 0 && o.denominator > 0 && o.numerator <= o.denominator;
}

// The owners' valid shares summed, all of them or only those valued; the
// whole when no owner is named.
Fraction ownersShare(const Report &report, bool valuedOnly)
{
    if (report.owners.isEmpty())
        return {1, 1};
    Fraction sum;
    for (const Owner &o : report.owners) {
        if (validShare(o) && (o.valued || !valuedOnly))
            sum.add(o.numerator, o.denominator);
    }
    return sum;
}

QString amountProblem() { return QStringLiteral("L'importo non può essere negativo."); }

} // namespace

bool CadastralEntry::identified() const
{
    return !municipality.trimmed().isEmpty() && !sheet.trimmed().isEmpty() && !parcel.trimmed().isEmpty();
}

const std::array<PurposeInfo, 3> &purposes() { return kPurposes; }

QString purposeLabel(Purpose purpose)
{
    for (const PurposeInfo &p : kPurposes) {
        if (p.purpose == purpose)
            return QString::fromUtf16(p.label);
    }
    return {};
}

QString purposeKey(Purpose purpose)
{
    for (const PurposeInfo &p : kPurposes) {
        if (p.purpose == purpose)
            return QString::fromUtf16(p.key);
    }
    return {};
}

std::optional<Purpose> purposeOfKey(const QString &key)
{
    for (const PurposeInfo &p : kPurposes) {
        if (key == QString::fromUtf16(p.key))
            return p.purpose;
    }
    return std::nullopt;
}

QString sectionTitle(Section section)
{
    return QString::fromUtf16(kSectionTitles.at(std::size_t(section)));
}

const QVector<QPair<Occupation, QString>> &occupations()
{
    static const auto rows = labelled<Occupation>({
        {Occupation::NotStated, u"non indicato"},
        {Occupation::Free, u"libero"},
        {Occupation::Debtor, u"occupato dal debitore"},
        {Occupation::ThirdPartyWithTitle, u"occupato da terzi con titolo"},
        {Occupation::ThirdPartyWithoutTitle, u"occupato da terzi senza titolo"},
    });
    return rows;
}

const QVector<QPair<EncumbranceKind, QString>> &encumbranceKinds()
{
    static const auto rows = labelled<EncumbranceKind>({
        {EncumbranceKind::Mortgage, u"Ipoteca"},
        {EncumbranceKind::Foreclosure, u"Pignoramento"},
        {EncumbranceKind::JudicialClaim, u"Domanda giudiziale"},
        {EncumbranceKind::Easement, u"Servitù"},
        {EncumbranceKind::Planning, u"Vincolo urbanistico"},
        {EncumbranceKind::HistoricArtistic, u"Vincolo storico-artistico"},
        {EncumbranceKind::BuildingRightsContract, u"Contratto incidente sull'attitudine edificatoria"},
        {EncumbranceKind::CivicUse, u"Uso civico"},
        {EncumbranceKind::CensoLivello, u"Censo o livello"},
        {EncumbranceKind::Other, u"Altro"},
    });
    return rows;
}

const QVector<QPair<StatedValue, QString>> &statedValues()
{
    static const auto rows = labelled<StatedValue>({
        {StatedValue::Income, u"Valore per capitalizzazione del reddito"},
        {StatedValue::Comparison, u"Valore per confronto diretto"},
        {StatedValue::Mca, u"Valore con il metodo del confronto di mercato (MCA)"},
        {StatedValue::Own, u"Valore indicato dal perito"},
    });
    return rows;
}

const QVector<QPair<AdjustmentKind, QString>> &adjustmentKinds()
{
    // Art. 568 c.p.c., second paragraph, names them in this order.
    static const auto rows = labelled<AdjustmentKind>({
        {AdjustmentKind::Regularisation, u"Oneri di regolarizzazione urbanistica e catastale"},
        {AdjustmentKind::StateOfUse, u"Stato d'uso e di manutenzione"},
        {AdjustmentKind::Possession, u"Stato di possesso"},
        {AdjustmentKind::Encumbrances, u"Vincoli e oneri giuridici non eliminabili"},
        {AdjustmentKind::Condominium, u"Spese condominiali insolute"},
        {AdjustmentKind::NoWarranty, u"Assenza della garanzia per vizi del bene venduto"},
        {AdjustmentKind::Other, u"Altro"},
    });
    return rows;
}

const QStringList &energyClasses()
{
    static const QStringList classes{"A4", "A3", "A2", "A1", "B", "C", "D", "E", "F", "G"};
    return classes;
}

// --- the value -------------------------------------------------------------------

std::optional<double> statedMarketValue(const Report &report, const AppraisalFacts &facts)
{
    double v = kNotGiven;
    switch (report.stated) {
    case StatedValue::Income:
        v = facts.incomeValue;
        break;
    case StatedValue::Comparison:
        v = facts.comparisonValue;
        break;
    case StatedValue::Mca:
        v = facts.mcaValue;
        break;
    case StatedValue::Own:
        v = report.ownValue;
        break;
    }
    if (!given(v) || v <= 0)
        return std::nullopt;
    return v;
}

std::optional<double> valuesSpread(const AppraisalFacts &facts)
{
    QVector<double> values;
    for (double v : {facts.incomeValue, facts.comparisonValue, facts.mcaValue}) {
        if (given(v) && v > 0)
            values.append(v);
    }
    if (values.size() < 2)
        return std::nullopt;
    const auto [lo, hi] = std::minmax_element(values.cbegin(), values.cend());
    return (*hi - *lo) / *lo * 100;
}

bool reasonRequired(const Report &report, const AppraisalFacts &facts)
{
    if (report.stated == StatedValue::Own)
        return true;
    const std::optional<double> spread = valuesSpread(facts);
    return spread && *spread > facts.divergenceThreshold;
}

double shareFraction(const Report &report)
{
    const Fraction sum = ownersShare(report, true);
    return double(sum.num) / double(sum.den);
}

bool wholeShare(const Report &report)
{
    const Fraction sum = ownersShare(report, true);
    return sum.num == sum.den;
}

QVector<Adjustment> proposedAdjustments(const Report &report)
{
    const auto sum = [](std::initializer_list<double> values) {
        double total = kNotGiven;
        for (double v : values) {
            if (given(v))
                total = given(total) ? total + v : v;
        }
        return total;
    };
    double regularisation = report.planFixCost;
    if (report.regularisable.has_value())
        regularisation = sum({regularisation, *report.regularisable ? report.regularisationCost : report.restorationCost});
    const std::pair<AdjustmentKind, double> proposals[] = {
        {AdjustmentKind::Regularisation, regularisation},
        {AdjustmentKind::Condominium, report.unpaidLastTwoYears},
    };
    QVector<Adjustment> lines = report.adjustments;
    for (const auto &[kind, amount] : proposals) {
        if (!given(amount))
            continue;
        auto it = std::find_if(lines.begin(), lines.end(), [kind](const Adjustment &a) { return a.kind == kind; });
        if (it != lines.end()) {
            it->amount = amount;
            it->percent = kNotGiven;
            continue;
        }
        // In the order of the law's list: before the first line of a later kind.
        auto at = std::find_if(lines.begin(), lines.end(), [kind](const Adjustment &a) { return int(a.kind) > int(kind); });
        lines.insert(at, Adjustment{kind, QString(), amount, kNotGiven});
    }
    return lines;
}

double roundToStep(double value, double step)
{
    if (!(step > 0))
        return value;
    return mca::roundHalfUp(value / step, 0) * step;
}

std::optional<CourtValue> courtValue(const Report &report, const AppraisalFacts &facts)
{
    const std::optional<double> market = statedMarketValue(report, facts);
    if (!market)
        return std::nullopt;
    CourtValue c;
    c.marketValue = *market;
    for (const Adjustment &a : report.adjustments) {
        double amount = 0;
        if (given(a.amount))
            amount = a.amount;
        else if (given(a.percent))
            amount = mca::roundHalfUp(*market * a.percent / 100, 2);
        c.amounts.append(amount);
        c.totalAdjustments += amount;
    }
    c.totalAdjustments = mca::roundHalfUp(c.totalAdjustments, 2);
    c.netValue = mca::roundHalfUp(c.marketValue - c.totalAdjustments, 2);
    c.share = shareFraction(report);
    c.shareValue = wholeShare(report) ? c.netValue : mca::roundHalfUp(c.netValue * c.share, 2);
    c.basePrice = roundToStep(c.shareValue, report.roundingStep);
    return c;
}

// --- the checks ------------------------------------------------------------------

QVector<Problem> problems(const Report &r, const AppraisalFacts &facts)
{
    QVector<Problem> out;
    const auto add = [&out](const char *field, const QString &message) {
        out.append({QString::fromLatin1(field), message});
    };

    // Dates that cannot be.
    if (r.inspectionDate.isValid() && r.reportDate.isValid() && r.inspectionDate > r.reportDate)
        add("inspectionDate", QStringLiteral("La data del sopralluogo non può essere successiva a quella del rapporto."));
    if (r.engagementDate.isValid() && r.inspectionDate.isValid() && r.engagementDate > r.inspectionDate)
        add("engagementDate",
            QStringLiteral("La data dell'incarico non può essere successiva a quella del sopralluogo."));
    if (r.engagementDate.isValid() && r.reportDate.isValid() && r.engagementDate > r.reportDate)
        add("engagementDate", QStringLiteral("La data dell'incarico non può essere successiva a quella del rapporto."));
    if (r.deed.date.isValid() && r.engagementDate.isValid() && r.deed.date > r.engagementDate)
        add("deedDate",
            QStringLiteral("La data dell'atto di provenienza non può essere successiva a quella dell'incarico."));
    if (r.apeDate.isValid() && r.reportDate.isValid() && r.apeDate > r.reportDate)
        add("apeDate", QStringLiteral("La data dell'APE non può essere successiva a quella del rapporto."));
    for (const Lease &l : r.leases) {
        if (l.registered.isValid() && l.expiry.isValid() && l.expiry < l.registered)
            add("leases", QStringLiteral("La scadenza della locazione di \"%1\" precede la sua registrazione.")
                              .arg(l.tenant));
    }

    // Shares.
    for (const Owner &o : r.owners) {
        if (!validShare(o))
            add("owners", QStringLiteral("La quota di \"%1\" non è valida: %2/%3.")
                              .arg(o.name)
                              .arg(o.numerator)
                              .arg(o.denominator));
    }
    if (const Fraction sum = ownersShare(r, false); sum.num > sum.den)
        add("owners", QStringLiteral("Le quote dei proprietari superano l'intero."));
    else if (!r.owners.isEmpty()
             && std::none_of(r.owners.cbegin(), r.owners.cend(), [](const Owner &o) { return o.valued; }))
        add("owners", QStringLiteral("Nessuna quota è indicata come oggetto della valutazione."));

    // Amounts and percentages.
    for (const auto &[field, value] : std::initializer_list<std::pair<const char *, double>>{
             {"planFixCost", r.planFixCost},
             {"regularisationCost", r.regularisationCost},
             {"restorationCost", r.restorationCost},
             {"yearlyExpenses", r.yearlyExpenses},
             {"unpaidLastTwoYears", r.unpaidLastTwoYears},
             {"extraordinaryResolved", r.extraordinaryResolved},
             {"epgl", r.epgl},
             {"ownValue", r.ownValue},
             {"propertyValue", r.propertyValue},
             {"sixYearAverage", r.sixYearAverage},
         }) {
        if (given(value) && value < 0)
            add(field, amountProblem());
    }
    for (const Lease &l : r.leases) {
        if (given(l.yearlyRent) && l.yearlyRent < 0)
            add("leases", amountProblem());
    }
    for (const Encumbrance &e : r.encumbrances) {
        if (given(e.redemptionCost) && e.redemptionCost < 0)
            add("encumbrances", amountProblem());
    }
    for (const Amnesty &a : r.amnesties) {
        if ((given(a.feesPaid) && a.feesPaid < 0) || (given(a.feesDue) && a.feesDue < 0))
            add("amnesties", amountProblem());
    }
    for (const Adjustment &a : r.adjustments) {
        if (given(a.amount) && a.amount < 0)
            add("adjustments", amountProblem());
        if (given(a.percent) && (a.percent < 0 || a.percent > 100))
            add("adjustments", QStringLiteral("La percentuale deve essere compresa tra 0 e 100."));
    }
    if (!(r.roundingStep > 0))
        add("roundingStep", QStringLiteral("Il passo di arrotondamento deve essere maggiore di zero."));
    if (!r.energyClass.isEmpty() && !energyClasses().contains(r.energyClass))
        add("energyClass", QStringLiteral("Classe energetica non valida: \"%1\".").arg(r.energyClass));

    // The value of the property (CRR art. 229): never above the market value;
    // revaluing, never above the average of the last six years.
    if (r.purpose == Purpose::Bank && given(r.propertyValue)) {
        const std::optional<double> market = statedMarketValue(r, facts);
        if (market && r.propertyValue > *market)
            add("propertyValue", QStringLiteral("Il valore dell'immobile non può superare il valore di mercato."));
        if (r.revaluation && given(r.sixYearAverage) && r.propertyValue > r.sixYearAverage)
            add("propertyValue", QStringLiteral("Il valore dell'immobile non può superare il valore medio degli "
                                                "ultimi sei anni indicato."));
    }
    return out;
}

std::optional<double> parseAmount(const QString &text)
{
    static const QLocale italian(QLocale::Italian, QLocale::Italy);
    QString t = text.trimmed();
    t.remove(QChar(0x20AC)).remove(QLatin1Char(' '));
    if (t.isEmpty())
        return std::numeric_limits<double>::quiet_NaN();
    bool ok = false;
    double v = italian.toDouble(t, &ok);
    if (!ok) {
        // "1234.5" as a machine writes it: a point with no comma and not
        // followed by exactly three digits is a decimal point.
        const qsizetype point = t.lastIndexOf(QLatin1Char('.'));
        if (!t.contains(QLatin1Char(',')) && point >= 0 && t.size() - point - 1 != 3)
            v = QLocale::c().toDouble(t, &ok);
    }
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace brevan::perizia
