// SPDX-License-Identifier: GPL-2.0-or-later
#include "mca.h"

#include "model/numbertext.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace brevan::mca {

namespace {

bool isSecondary(Feature f)
{
    return secondaryIndex(f) >= 0;
}

QString euro(double v)
{
    return FormattaImporto(v);
}

// The marginal price of a feature for one comparable when it is given (not
// estimated). The main surface's price is the one found for all.
double givenPrice(const Input &in, const Comparable &c, Feature f, double mainSurfacePrice)
{
    const Parameters &p = in.parameters;
    switch (f) {
    case Feature::Date:
        return c.price * (p.annualChange / 100.0) / 12.0;
    case Feature::MainSurface:
        return mainSurfacePrice;
    case Feature::Balconies:
    case Feature::Cellar:
    case Feature::Garage:
    case Feature::Garden:
        return p.ratios[std::size_t(secondaryIndex(f))] * mainSurfacePrice;
    case Feature::Floor: {
        // Simonotti: a comparable on a lower floor than the subject gains P·r
        // per floor, one on a higher floor loses P·r / (1 + r).
        const double r = p.floorRatio / 100.0;
        const bool higher = c.amounts[std::size_t(index(Feature::Floor))] > in.subject[std::size_t(index(Feature::Floor))];
        return higher ? c.price * r / (1.0 + r) : c.price * r;
    }
    case Feature::Lift:
        return p.liftPrice;
    case Feature::Maintenance:
        return p.maintenanceStep;
    case Feature::Bathrooms: {
        if (p.bathroomCost == 0)
            return 0;
        const double factor = p.bathroomLife > 0 ? 1.0 - p.bathroomAge / p.bathroomLife : 0.0;
        return p.bathroomCost * std::clamp(factor, 0.0, 1.0);
    }
    }
    return 0;
}

double differenceOf(const Input &in, const Comparable &c, Feature f)
{
    if (f == Feature::Date)
        return c.sale.monthsTo(in.valuation);
    const auto i = std::size_t(index(f));
    return in.subject[i] - c.amounts[i];
}

} // namespace

int secondaryIndex(Feature f)
{
    for (std::size_t k = 0; k < kSecondary.size(); ++k) {
        if (kSecondary[k] == f)
            return int(k);
    }
    return -1;
}

QString MonthYear::text() const
{
    return QStringLiteral("%1/%2").arg(month, 2, 10, QLatin1Char('0')).arg(year, 4, 10, QLatin1Char('0'));
}

double fifteenDigits(double value)
{
    return std::strtod(QByteArray::number(value, 'g', 15).constData(), nullptr);
}

double roundHalfUp(double value, int decimals)
{
    const double factor = std::pow(10.0, decimals);
    return std::round(fifteenDigits(value * factor)) / factor;
}

double commercialSurface(const Amounts &amounts, const std::array<double, 4> &ratios)
{
    double s = amounts[std::size_t(index(Feature::MainSurface))];
    for (std::size_t k = 0; k < kSecondary.size(); ++k)
        s += ratios[k] * amounts[std::size_t(index(kSecondary[k]))];
    return s;
}

Outcome compute(const Input &in)
{
    Outcome out;
    const Parameters &p = in.parameters;
    const qsizetype n = in.comparables.size();
    if (n == 0) {
        out.issues.append({Place::comparables(), QStringLiteral("Nessun comparabile indicato.")});
        return out;
    }
    const auto unknown = [&](Feature f) { return p.unknown[std::size_t(index(f))]; };
    const bool mainUnknown = unknown(Feature::MainSurface);

    Result r;
    r.subjectCommercialSurface = commercialSurface(in.subject, p.ratios);
    r.comparables.resize(n);
    for (qsizetype j = 0; j < n; ++j) {
        ComparableResult &cr = r.comparables[j];
        cr.price = in.comparables[j].price;
        cr.commercialSurface = commercialSurface(in.comparables[j].amounts, p.ratios);
        cr.unitPrice = in.comparables[j].price / cr.commercialSurface;
    }
    if (!mainUnknown) {
        // First market theorem: the main surface is worth the lowest unit price.
        r.cheapest = 0;
        for (qsizetype j = 1; j < n; ++j) {
            if (r.comparables[j].unitPrice < r.comparables[r.cheapest].unitPrice)
                r.cheapest = int(j);
        }
        r.mainSurfacePrice = r.comparables[r.cheapest].unitPrice;
    }

    // A feature whose price follows from another unknown one: the secondary
    // surfaces, priced as π times an estimated main surface price.
    const auto follows = [&](Feature f) { return mainUnknown && isSecondary(f) && !unknown(f); };

    QVector<Feature> estimated;
    for (Feature f : kFeatures) {
        if (unknown(f))
            estimated.append(f);
    }
    std::array<double, kFeatureCount> estimatedPrice{};
    if (!estimated.isEmpty()) {
        // V − Σᵤ pᵤ·dᵤⱼ = Pⱼ + Σ (given adjustments), one equation per comparable.
        QVector<QVector<double>> a;
        QVector<double> b;
        for (const Comparable &c : in.comparables) {
            QVector<double> row{1.0};
            for (Feature u : estimated) {
                double d = differenceOf(in, c, u);
                if (u == Feature::MainSurface) {
                    for (std::size_t k = 0; k < kSecondary.size(); ++k) {
                        if (follows(kSecondary[k]))
                            d += p.ratios[k] * differenceOf(in, c, kSecondary[k]);
                    }
                }
                row.append(-d);
            }
            double rhs = c.price;
            for (Feature f : kFeatures) {
                if (!unknown(f) && !follows(f))
                    rhs += givenPrice(in, c, f, r.mainSurfacePrice) * differenceOf(in, c, f);
            }
            a.append(row);
            b.append(rhs);
        }
        const SystemSolution s = solveEstimationSystem(a, b);
        r.systemUsed = true;
        r.systemStatus = s.status;
        if (s.status == SystemSolution::Status::TooFewEquations) {
            out.issues.append({Place::unknowns(),
                               QStringLiteral("Il sistema di stima ha %1 incognite (il valore e %2 prezzi marginali) "
                                              "ma solo %3 equazioni, una per comparabile: aggiungere comparabili o "
                                              "indicare alcuni dei prezzi marginali.")
                                   .arg(estimated.size() + 1)
                                   .arg(estimated.size())
                                   .arg(n)});
            return out;
        }
        if (!s.solved()) {
            out.issues.append({Place::unknowns(),
                               QStringLiteral("Il sistema di stima non ha una soluzione unica: i comparabili non "
                                              "differiscono abbastanza nelle caratteristiche dei prezzi da stimare "
                                              "(per esempio, sono tutti allo stesso piano del soggetto o alla stessa "
                                              "distanza di piano). Indicare quei prezzi o scegliere altri comparabili.")});
            return out;
        }
        r.systemValue = s.z[0];
        for (qsizetype u = 0; u < estimated.size(); ++u) {
            const auto i = std::size_t(index(estimated[u]));
            estimatedPrice[i] = s.z[u + 1];
            r.estimatedPrices[i] = s.z[u + 1];
        }
        if (mainUnknown)
            r.mainSurfacePrice = estimatedPrice[std::size_t(index(Feature::MainSurface))];
    }

    for (qsizetype j = 0; j < n; ++j) {
        const Comparable &c = in.comparables[j];
        ComparableResult &cr = r.comparables[j];
        double corrected = c.price;
        for (Feature f : kFeatures) {
            Adjustment &adj = cr.adjustments[std::size_t(index(f))];
            adj.marginalPrice = unknown(f) ? estimatedPrice[std::size_t(index(f))]
                                           : givenPrice(in, c, f, r.mainSurfacePrice);
            adj.difference = differenceOf(in, c, f);
            adj.amount = adj.marginalPrice * adj.difference;
            corrected += adj.amount;
        }
        cr.corrected = corrected;
        cr.residual = r.systemUsed ? corrected - r.systemValue : 0.0;
    }

    double sum = 0;
    r.minCorrected = r.comparables.first().corrected;
    r.maxCorrected = r.minCorrected;
    for (const ComparableResult &cr : std::as_const(r.comparables)) {
        sum += cr.corrected;
        r.minCorrected = std::min(r.minCorrected, cr.corrected);
        r.maxCorrected = std::max(r.maxCorrected, cr.corrected);
    }
    r.mean = sum / double(n);
    for (qsizetype j = 0; j < n; ++j) {
        // Judged to the cent, as shown: what is left of a price that the
        // adjustments took away whole is binary noise, not a price.
        const double corrected = roundHalfUp(r.comparables[j].corrected, 2) + 0.0;
        if (!(corrected > 0)) {
            out.issues.append({Place::cell(int(j) + 1, Row::Price),
                               QStringLiteral("Il prezzo corretto del comparabile %1 risulta di %2 €: deve essere "
                                              "maggiore di zero. Rivedere i dati del comparabile o i prezzi marginali.")
                                   .arg(j + 1)
                                   .arg(euro(corrected))});
        }
    }
    if (out.issues.isEmpty()) {
        r.divergence = (r.maxCorrected - r.minCorrected) / r.minCorrected * 100.0;
        // A ratio of figures binary cannot hold may come out a few units of
        // the 16th digit above the threshold it meets exactly.
        r.beyondThreshold = fifteenDigits(r.divergence) > fifteenDigits(p.threshold);
        r.value = roundHalfUp(r.mean, 0);
        r.unitValue = roundHalfUp(r.value / r.subjectCommercialSurface, 2);
    }
    out.result = r;
    return out;
}

} // namespace brevan::mca
