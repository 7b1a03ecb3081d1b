// SPDX-License-Identifier: GPL-2.0-or-later
#include "comparison.h"

#include "model/numbertext.h"

#include <cmath>
#include <limits>
#include <span>

namespace brevan {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ZoneValues {
    double central, intermediate, peripheral;

    // nullopt for no zone.
    std::optional<double> at(Zone zone) const
    {
        switch (zone) {
        case Zone::Centrale: return central;
        case Zone::Intermedia: return intermediate;
        case Zone::Periferica: return peripheral;
        case Zone::None: break;
        }
        return std::nullopt;
    }
};

struct JudgmentRow {
    const char *text; // UTF-8, compared exactly
    ZoneValues values;
};

// Brightness, exposure and outlook share this table.
constexpr JudgmentRow kVista[] = {
    {"Scarsa", {0, 0, 0}},
    {"Insufficiente", {0.34, 0.34, 0.51}},
    {"Sufficiente", {0.68, 0.68, 1.02}},
    {"Buona", {1.02, 1.02, 1.53}},
    {"Ottima", {1.36, 1.36, 2.04}},
};
constexpr JudgmentRow kPanoramicita[] = {
    {"Scarsa", {0, 0, 0}},
    {"Insufficiente", {1.21, 1.21, 1.82}},
    {"Sufficiente", {2.42, 2.42, 3.64}},
    {"Buona", {3.63, 3.63, 5.46}},
    {"Ottima", {4.84, 4.84, 7.28}},
};
constexpr JudgmentRow kQuotaPiano[] = {
    {"Piano terra", {0, 0, 0}},
    {"Primo piano", {0.27, 0.27, 0.4}},
    {"Piano intermedio", {0.54, 0.54, 0.8}},
    {"Ultimo piano", {0.81, 0.81, 1.2}},
    {"Piano attico", {1.08, 1.08, 1.6}},
};
constexpr JudgmentRow kRifinituraInterna[] = {
    {"Scarso", {0, 0, 0}},
    {"Ordinario", {0.32, 0.11, 0.32}},
    {"Sufficiente", {0.64, 0.22, 0.64}},
    {"Discreto", {0.96, 0.33, 0.96}},
    {"Buono", {1.28, 0.44, 1.28}},
    {"Ottimo", {1.6, 0.55, 1.6}},
};
constexpr JudgmentRow kRifinituraEsterna[] = {
    {"Mediocre", {0, 0, 0}},
    {"Ordinario", {0, 0, 0}},
    {"Sufficiente", {0.4, 0.14, 0.4}},
    {"Discreto", {0.8, 0.28, 0.8}},
    {"Buono", {1.2, 0.42, 1.2}},
    {"Ottimo", {1.6, 0.55, 1.6}},
};
constexpr JudgmentRow kConservazioneInterna[] = {
    {"Scarso", {0, 0, 0}},
    {"Mediocre", {0.48, 0.16, 0.48}},
    {"Sufficiente", {0.96, 0.32, 0.96}},
    {"Discreto", {1.44, 0.48, 1.44}},
    {"Buono", {1.92, 0.64, 1.92}},
    {"Ottimo", {2.4, 0.8, 2.4}},
};
constexpr JudgmentRow kConservazioneEsterna[] = {
    {"Scarso", {0, 0, 0}},
    {"Mediocre", {0.6, 0.2, 0.6}},
    {"Sufficiente", {1.2, 0.4, 1.2}},
    {"Buono", {1.8, 0.6, 1.8}},
    {"Ottimo", {2.4, 0.8, 2.4}},
};
constexpr JudgmentRow kImpianti[] = {
    {"Scarso", {0, 0, 0}},
    {"Mediocre", {0.6, 0.2, 0.6}},
    {"Sufficiente", {1.2, 0.4, 1.2}},
    {"Discreto", {1.8, 0.6, 1.8}},
    {"Buono", {2.4, 0.8, 2.4}},
    {"Ottimo", {3, 1, 3}},
};

// Whole ages by equality, one row each; 33 and over share the last row.
struct AgeBand {
    double from, to; // inclusive
    ZoneValues values;
};
constexpr AgeBand kAgeBands[] = {
    {0, 0, {4.0, 1.32, 4.0}},     {1, 1, {4.0, 1.32, 4.0}},     {2, 2, {3.8, 1.25, 3.8}},
    {3, 3, {3.6, 1.18, 3.6}},     {4, 4, {3.4, 1.11, 3.4}},     {5, 5, {3.2, 1.04, 3.2}},
    {6, 6, {3.05, 0.99, 3.05}},   {7, 7, {2.9, 0.94, 2.9}},     {8, 8, {2.75, 0.89, 2.75}},
    {9, 9, {2.6, 0.84, 2.6}},     {10, 10, {2.45, 0.79, 2.45}}, {11, 11, {2.3, 0.74, 2.3}},
    {12, 12, {2.15, 0.69, 2.15}}, {13, 13, {2.0, 0.64, 2.0}},   {14, 14, {1.85, 0.59, 1.85}},
    {15, 15, {1.7, 0.54, 1.7}},   {16, 16, {1.6, 0.51, 1.6}},   {17, 17, {1.5, 0.48, 1.5}},
    {18, 18, {1.4, 0.45, 1.4}},   {19, 19, {1.3, 0.42, 1.3}},   {20, 20, {1.2, 0.39, 1.2}},
    {21, 21, {1.1, 0.36, 1.1}},   {22, 22, {1.0, 0.33, 1.0}},   {23, 23, {0.9, 0.3, 0.9}},
    {24, 24, {0.8, 0.27, 0.8}},   {25, 25, {0.7, 0.24, 0.7}},   {26, 26, {0.6, 0.21, 0.6}},
    {27, 27, {0.5, 0.18, 0.5}},   {28, 28, {0.4, 0.15, 0.4}},   {29, 29, {0.3, 0.12, 0.3}},
    {30, 30, {0.2, 0.09, 0.2}},   {31, 31, {0.1, 0.06, 0.1}},   {32, 32, {0, 0.03, 0}},
    {33, kInf, {0, 0, 0}},
};

// Lower bound exclusive (the previous row's), upper bound inclusive.
struct SurfaceBand {
    double upTo;
    ZoneValues values;
};
constexpr SurfaceBand kSurfaceBands[] = {
    {40, {35, 22.75, 19.5}},       {60, {35, 21, 18}},          {80, {33, 19.25, 16.5}},
    {90, {31.5, 18.37, 15.75}},    {120, {30, 17.5, 15}},       {150, {28.5, 16.63, 14.25}},
    {180, {27.75, 16.19, 13.87}},  {kInf, {27, 15.75, 13.5}},
};

// Zone bases of the groups; no zone selected gives 0 throughout.
struct ZoneBase {
    Zone zone;
    double localisationLow, localisationHigh; // at L = 0.82 and L = -0.82
    double position;
    double typological;
};
constexpr ZoneBase kZoneBases[] = {
    {Zone::None, 0, 0, 0, 0},
    {Zone::Centrale, 5, 10, 15, 15},
    {Zone::Intermedia, 10, 30, 10, 20},
    {Zone::Periferica, 15, 35, 10, 5},
};

const ZoneBase &baseOf(Zone zone)
{
    for (const ZoneBase &b : kZoneBases) {
        if (b.zone == zone)
            return b;
    }
    return kZoneBases[0];
}

const QString kPlurifamiliare = QStringLiteral("Edificio plurifamiliare");

void applyJudgment(std::span<const JudgmentRow> table, const QString &judgment, Zone zone, Coef id, Coefficients &c)
{
    if (judgment.isEmpty()) {
        c[id] = 0;
        return;
    }
    for (const JudgmentRow &row : table) {
        if (judgment == QString::fromUtf8(row.text)) {
            if (const auto v = row.values.at(zone))
                c[id] = *v;
            return;
        }
    }
}

} // namespace

void CalcolaCDLuminosita(const QString &Luminosita, Zone zone, Coefficients &c)
{
    applyJudgment(kVista, Luminosita, zone, Coef::CDLuminosita, c);
}

void CalcolaCDPanoramicita(const QString &Panoramicita, Zone zone, Coefficients &c)
{
    applyJudgment(kPanoramicita, Panoramicita, zone, Coef::CDPanoramicita, c);
}

void CalcolaCDEsposizione(const QString &Esposizione, Zone zone, Coefficients &c)
{
    applyJudgment(kVista, Esposizione, zone, Coef::CDEsposizione, c);
}

void CalcolaCDProspicienza(const QString &Prospicienza, Zone zone, Coefficients &c)
{
    applyJudgment(kVista, Prospicienza, zone, Coef::CDProspicienza, c);
}

void CalcolaCDQuotaRispettoPianoStradale(const QString &QuotaDaPianoStrad, const QString &TipologEdiliziaImmob,
                                         Zone zone, Coefficients &c)
{
    if (!QuotaDaPianoStrad.isEmpty() && TipologEdiliziaImmob != kPlurifamiliare) {
        c[Coef::CDQuotaDaPianoStrad] = 0;
        return;
    }
    applyJudgment(kQuotaPiano, QuotaDaPianoStrad, zone, Coef::CDQuotaDaPianoStrad, c);
}

void CalcolaCDGradoRifinituraInterno(const QString &GradoRifinitInt, Zone zone, Coefficients &c)
{
    applyJudgment(kRifinituraInterna, GradoRifinitInt, zone, Coef::CDGradoRifinInterno, c);
}

void CalcolaCDGradoRifinituraEsterno(const QString &GradoRifinitExt, Zone zone, Coefficients &c)
{
    applyJudgment(kRifinituraEsterna, GradoRifinitExt, zone, Coef::CDGradoRifinEsterno, c);
}

void CalcolaCDStatoConservazInterno(const QString &StatoConservInt, Zone zone, Coefficients &c)
{
    applyJudgment(kConservazioneInterna, StatoConservInt, zone, Coef::CDStatoConservazInt, c);
}

void CalcolaCDStatoConservazEsterno(const QString &StatoConservExt, Zone zone, Coefficients &c)
{
    applyJudgment(kConservazioneEsterna, StatoConservExt, zone, Coef::CDStatoConservazExt, c);
}

void CalcolaCDLivelloTecnologicoImpianti(const QString &LivImpiantiTecnol, Zone zone, Coefficients &c)
{
    applyJudgment(kImpianti, LivImpiantiTecnol, zone, Coef::CDLivTecnolImpianti, c);
}

void CalcolaCDVetustaEdificio(const QString &EtaEdificioImmob, Zone zone, Coefficients &c)
{
    if (EtaEdificioImmob.isEmpty()) {
        c[Coef::CDVetustaEdificio] = 0;
        return;
    }
    const double age = EstraiNumero(EtaEdificioImmob);
    for (const AgeBand &band : kAgeBands) {
        if (age >= band.from && age <= band.to) {
            if (const auto v = band.values.at(zone))
                c[Coef::CDVetustaEdificio] = *v;
            return;
        }
    }
}

void CalcolaCDCaratteristLocalizzaz(Zone zone, Coefficients &c)
{
    static constexpr Coef kLocalisationTerms[] = {
        Coef::CICentrRispCentrUrb, Coef::CILivelloCollegam,    Coef::CIAttrezzCollett,
        Coef::CIQualifAmbienteExt, Coef::CIIdoneitaInsediat,   Coef::CIPrevMiglAmbient,
        Coef::CILivInquinamAmbient, Coef::CIPresVerdePubblico, Coef::CIDisponibParcheggi,
    };
    double sum = 0;
    for (Coef id : kLocalisationTerms)
        sum += c[id];
    const ZoneBase &b = baseOf(zone);
    // The range of L, 0.82 down to -0.82, mapped linearly onto low..high.
    c[Coef::CDCarattLocalizzaz] =
        b.localisationLow + (0.82 - sum) * (b.localisationHigh - b.localisationLow) / 1.64;
}

void CalcolaCDCaratteristPosizione(const Characteristics &in, Coefficients &c)
{
    const Zone zone = in.zone;
    CalcolaCDLuminosita(in.Luminosita, zone, c);
    CalcolaCDPanoramicita(in.Panoramicita, zone, c);
    CalcolaCDEsposizione(in.Esposizione, zone, c);
    CalcolaCDProspicienza(in.Prospicienza, zone, c);
    CalcolaCDQuotaRispettoPianoStradale(in.QuotaDaPianoStrad, in.TipologEdiliziaImmob, zone, c);
    c[Coef::CDCarattPosizione] = baseOf(zone).position + c[Coef::CDLuminosita] + c[Coef::CDPanoramicita]
        + c[Coef::CDEsposizione] + c[Coef::CDProspicienza] + c[Coef::CDQuotaDaPianoStrad];
}

void CalcolaCDCaratteristTipologiche(const Characteristics &in, Coefficients &c)
{
    const Zone zone = in.zone;
    CalcolaCDGradoRifinituraInterno(in.GradoRifinitInt, zone, c);
    CalcolaCDGradoRifinituraEsterno(in.GradoRifinitExt, zone, c);
    CalcolaCDStatoConservazInterno(in.StatoConservInt, zone, c);
    CalcolaCDStatoConservazEsterno(in.StatoConservExt, zone, c);
    CalcolaCDLivelloTecnologicoImpianti(in.LivImpiantiTecnol, zone, c);
    CalcolaCDVetustaEdificio(in.EtaEdificioImmob, zone, c);
    c[Coef::CDCarattTipologiche] = baseOf(zone).typological + c[Coef::CDGradoRifinInterno]
        + c[Coef::CDGradoRifinEsterno] + c[Coef::CDStatoConservazInt] + c[Coef::CDStatoConservazExt]
        + c[Coef::CDLivTecnolImpianti] + c[Coef::CDVetustaEdificio];
}

void CalcolaCDCaratteristProduttive(const QString &SupCommercImmob, Zone zone, Coefficients &c)
{
    if (SupCommercImmob.isEmpty()) {
        c[Coef::CDCarattProduttive] = 0;
        return;
    }
    const auto surface = plainNumberIn(SupCommercImmob);
    if (!surface)
        return;
    for (const SurfaceBand &band : kSurfaceBands) {
        if (*surface <= band.upTo) {
            if (const auto v = band.values.at(zone))
                c[Coef::CDCarattProduttive] = *v;
            return;
        }
    }
}

ComparableRow ComparableRow::fromColumns(const QStringList &columns)
{
    const auto at = [&](int i) { return i < columns.size() ? columns.at(i) : QString(); };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7), at(8), at(9), at(10), at(11), at(12)};
}

QStringList ComparableRow::columns() const
{
    return {IndirizzoImmob,    NumCivicoImmob,     PianoImmob,    InternoImmob,     SupCommercImmob,
            CdCarattLocalizzaz, CdCarattPosizione, CdCarattTipologiche, CdCarattProduttive, CostoUnitario,
            CostoComplessivo,  Servizio1,          Servizio2};
}

bool isCompleteComparable(const ComparableRow &row)
{
    return !row.CdCarattLocalizzaz.isEmpty() && !row.CdCarattPosizione.isEmpty()
        && !row.CdCarattTipologiche.isEmpty() && !row.CdCarattProduttive.isEmpty() && !row.CostoUnitario.isEmpty();
}

DirectComparison fitComparables(const QList<ComparableRow> &rows, double x, const QString &SupCommercImmob)
{
    int n = 0;
    double sx = 0, sxx = 0, sy = 0, sxy = 0;
    for (const ComparableRow &row : rows) {
        if (!isCompleteComparable(row))
            continue;
        // A complete row whose numbers cannot be read stops the fit: a value
        // from the other rows alone would be shown as if it were from all.
        const double xi = EstraiNumero(row.CdCarattLocalizzaz) + EstraiNumero(row.CdCarattPosizione)
            + EstraiNumero(row.CdCarattTipologiche) + EstraiNumero(row.CdCarattProduttive);
        const double yi = EstraiNumero(row.CostoUnitario);
        sx += xi;
        sxx += xi * xi;
        sy += yi;
        sxy += xi * yi;
        ++n;
    }
    const double d = n * sxx - sx * sx;
    const double slope = d != 0 ? (n * sxy - sx * sy) / d : 0;
    const double intercept = n != 0 ? (sy - slope * sx) / n : 0;

    DirectComparison out;
    out.x = x;
    out.value = slope * x + intercept;
    out.comparables = n;
    out.rows = static_cast<int>(rows.size());
    const auto surface = plainNumberIn(SupCommercImmob);
    if (!surface)
        return out;
    // A line that falls below 0 at the unit gives no market value: the
    // comparables do not support one.
    if (out.value < 0) {
        out.unsupported = true;
        out.unit = FieldUpdate::clear();
        out.total = FieldUpdate::clear();
        return out;
    }
    out.unit = FieldUpdate::write(FormattaImporto(std::trunc(out.value)));
    out.total = FieldUpdate::write(FormattaImporto(std::trunc(*surface * out.value)));
    return out;
}

DirectComparison CalcolaCDValoreMercato(const Characteristics &in, const QList<ComparableRow> &rows, Coefficients &c)
{
    // Worked on a copy: an age that is not a number, or a comparable whose
    // numbers are not, stops the computation with every value as it was.
    Coefficients next = c;
    CalcolaCDCaratteristLocalizzaz(in.zone, next);
    CalcolaCDCaratteristPosizione(in, next);
    CalcolaCDCaratteristTipologiche(in, next);
    CalcolaCDCaratteristProduttive(in.SupCommercImmob, in.zone, next);
    const double x = next[Coef::CDCarattLocalizzaz] + next[Coef::CDCarattPosizione] + next[Coef::CDCarattTipologiche]
        + next[Coef::CDCarattProduttive];
    const DirectComparison out = fitComparables(rows, x, in.SupCommercImmob);
    c = next;
    return out;
}

QString comparisonNote(const DirectComparison &result)
{
    if (result.unsupported)
        return QStringLiteral("Comparazione diretta: gli immobili di confronto non consentono di stimare un valore.");
    const int left = result.rows - result.comparables;
    if (left <= 0 || result.unit.action == FieldUpdate::Action::Leave)
        return {};
    if (result.comparables == 0)
        return result.rows == 1
            ? QStringLiteral("Comparazione diretta: l'immobile di confronto è incompleto.")
            : QStringLiteral("Comparazione diretta: nessuno dei %1 immobili di confronto è completo.").arg(result.rows);
    return QStringLiteral("Comparazione diretta: valore calcolato su %1 dei %2 immobili di confronto; %3")
        .arg(result.comparables)
        .arg(result.rows)
        .arg(left == 1 ? QStringLiteral("l'altro è incompleto.") : QStringLiteral("gli altri sono incompleti."));
}

ComparableHints SetHintImmobiliConfronto(const QString &ValutaCorrente)
{
    return {
        QStringLiteral("|Costo unitario dell'immobile di confronto corrente in") + ValutaCorrente + QStringLiteral("/mq."),
        QStringLiteral("|Costo complessivo dell'immobile di confronto corrente in") + ValutaCorrente
            + QStringLiteral("."),
    };
}

} // namespace brevan
