// SPDX-License-Identifier: GPL-2.0-or-later
#include "capitalisation.h"

#include "model/numbertext.h"

#include <cmath>
#include <limits>
#include <span>

namespace brevan {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct JudgmentRow {
    const char *text; // UTF-8, compared exactly
    double value;
};

constexpr JudgmentRow kCentralita[] = {
    {"Meno di 100 metri", -0.39}, {"Meno di 250 metri", -0.47}, {"Meno di 500 metri", -0.66},
    {"Meno di 1000 metri", 0.88}, {"Oltre i 1000 metri", 0.99},
};
constexpr JudgmentRow kCollegamenti[] = {
    {"Presente una sola linea", -0.03},          {"Presenti due o più linee", -0.24},
    {"Assente: fermata entro 100 metri", -0.08}, {"Assente: fermata entro 500 metri", 0.44},
    {"Assente: fermata oltre 500 metri", 0.55},
};
constexpr JudgmentRow kAmbienteEsterno[] = {
    {"Scarso", 0.23}, {"Mediocre", 0.47}, {"Sufficiente", 0.25}, {"Buono", -0.82}, {"Ottimo", -0.44},
};
constexpr JudgmentRow kIdoneita[] = {
    {"Scarso", 0.55}, {"Mediocre", 0.55}, {"Sufficiente", 0.55}, {"Buono", -0.53}, {"Ottimo", -0.76},
};
constexpr JudgmentRow kMiglioramenti[] = {
    {"Scarso", 0.36}, {"Mediocre", 0.77}, {"Sufficiente", 0.22}, {"Buono", -0.46}, {"Ottimo", -0.77},
};
constexpr JudgmentRow kInquinamento[] = {
    {"Scarso", 0.25}, {"Mediocre", 0.66}, {"Sufficiente", 0.35}, {"Buono", -0.77}, {"Ottimo", -0.24},
};
constexpr JudgmentRow kVerde[] = {
    {"Scarso", 0.98}, {"Mediocre", 0.22}, {"Sufficiente", 0.77}, {"Buono", -0.17}, {"Ottimo", -0.61},
};
constexpr JudgmentRow kParcheggi[] = {
    {"Scarsa", 0.77}, {"Mediocre", 0.22}, {"Sufficiente", 0.56}, {"Buona", -0.66}, {"Ottima", -0.36},
};
constexpr JudgmentRow kPanoramicita[] = {
    {"Scarsa", 0.81}, {"Insufficiente", 0.22}, {"Sufficiente", 0.23}, {"Buona", -0.12}, {"Ottima", -0.55},
};
constexpr JudgmentRow kProspicienza[] = {
    {"Scarsa", 0.23}, {"Insufficiente", 0.55}, {"Sufficiente", 0.34}, {"Buona", -0.22}, {"Ottima", -0.52},
};
constexpr JudgmentRow kLuminosita[] = {
    {"Scarsa", 0.22}, {"Insufficiente", 0.46}, {"Sufficiente", 0.44}, {"Buona", -0.11}, {"Ottima", -0.25},
};
constexpr JudgmentRow kQuotaPiano[] = {
    {"Piano terra", 0.99}, {"Primo piano", 0.26}, {"Piano intermedio", 0.34}, {"Ultimo piano", -0.65},
    {"Piano attico", -0.22},
};
constexpr JudgmentRow kSpaziAccessori[] = {
    {"Scarso", 0.11}, {"Mediocre", 0.23}, {"Sufficiente", 0.55}, {"Buono", -0.78}, {"Ottimo", -0.23},
};
constexpr JudgmentRow kRifinituraInterna[] = {
    {"Scarso", 0.55},    {"Ordinario", 0.05}, {"Sufficiente", 0.66},
    {"Discreto", -0.34}, {"Buono", -0.22},    {"Ottimo", -0.35},
};
// "Mediocre" is not offered by the list but can be pasted.
constexpr JudgmentRow kRifinituraEsterna[] = {
    {"Mediocre", 0.22},  {"Ordinario", 0.22}, {"Sufficiente", 0.22},
    {"Discreto", -0.22}, {"Buono", -0.22},    {"Ottimo", -0.22},
};
constexpr JudgmentRow kImpianti[] = {
    {"Scarso", 0.14},    {"Mediocre", 0.77}, {"Sufficiente", 0.22},
    {"Discreto", -0.35}, {"Buono", -0.67},   {"Ottimo", -0.32},
};
constexpr JudgmentRow kConservazioneInterna[] = {
    {"Scarso", 0.23},    {"Mediocre", 0.56}, {"Sufficiente", 0.61},
    {"Discreto", -0.27}, {"Buono", -0.35},   {"Ottimo", -0.16},
};
constexpr JudgmentRow kConservazioneEsterna[] = {
    {"Scarso", 0.23}, {"Mediocre", 0.42}, {"Sufficiente", 0.92}, {"Buono", -0.12}, {"Ottimo", -0.06},
};

// Subtracted from 0.28 for each ticked box, in the order of Facilities.
constexpr double kFacilityShare[kFacilityCount] = {
    0.05, 0.05, 0.05, 0.03, 0.04, 0.04, 0.03, 0.03, 0.04, 0.05, 0.04, 0.03, 0.03, 0.03, 0.03,
};
constexpr double kFacilitiesNone = 0.28;

// Ages between 6 and 29 are equality tests, hence one row per whole year.
struct AgeBand {
    double from, to; // inclusive
    double value;
};
constexpr AgeBand kAgeBands[] = {
    {-kInf, 5, -0.23}, {6, 6, -0.45},  {7, 7, -0.45},  {8, 8, -0.74},  {9, 9, -0.74},   {10, 10, -0.12},
    {11, 11, -0.12},   {12, 12, -0.82}, {13, 13, -0.82}, {14, 14, -0.56}, {15, 15, -0.56}, {16, 16, -0.23},
    {17, 17, -0.73},   {18, 18, -0.98}, {19, 19, -0.23}, {20, 20, 0.42},  {21, 21, 0.25},  {22, 22, 0.76},
    {23, 23, 0.11},    {24, 24, 0.31},  {25, 25, 0.65},  {26, 26, 0.99},  {27, 27, 0.77},  {28, 28, 0.44},
    {29, 29, 0.23},    {30, kInf, 0.86},
};

// Lower bound exclusive (the previous row's), upper bound inclusive.
struct SurfaceBand {
    double upTo;
    double value;
};
constexpr SurfaceBand kSurfaceBands[] = {
    {40, -0.19}, {60, -0.34}, {80, -0.44}, {90, -0.28}, {120, 0.74}, {150, 0.14}, {180, 0.53}, {kInf, 0.57},
};

const QString kPlurifamiliare = QStringLiteral("Edificio plurifamiliare");

void applyJudgment(std::span<const JudgmentRow> table, const QString &judgment, Coef id, Coefficients &c)
{
    if (judgment.isEmpty()) {
        c[id] = 0;
        return;
    }
    for (const JudgmentRow &row : table) {
        if (judgment == QString::fromUtf8(row.text)) {
            c[id] = row.value;
            return;
        }
    }
}

// Whether a capitalisation rate is above 0. The rate adds up 22 decimal
// terms in binary: terms that cancel in decimal leave a few units of the
// last bit (1.8e-16 for 0,41 against -0,41), which would capitalise to
// absurd values. The rate is shown with two decimals; below half a unit of
// the second it is 0.
bool rateAboveZero(double rate)
{
    constexpr double kHalfHundredth = 0.005;
    return rate >= kHalfHundredth;
}

} // namespace

void CalcolaCICentralitaRispettoCentroUrbano(const QString &DistanzaViaPrincip, Coefficients &c)
{
    applyJudgment(kCentralita, DistanzaViaPrincip, Coef::CICentrRispCentrUrb, c);
}

void CalcolaCILivelloCollegamenti(const QString &ServTraspPubblico, Coefficients &c)
{
    applyJudgment(kCollegamenti, ServTraspPubblico, Coef::CILivelloCollegam, c);
}

void CalcolaCIAttrezzatureCollettive(const Facilities &ticked, Coefficients &c)
{
    // A double after every step: the result is the binary value of that chain
    // (all boxes give -0.29 only up to the last bit).
    double value = kFacilitiesNone;
    for (int i = 0; i < kFacilityCount; ++i) {
        if (ticked[static_cast<std::size_t>(i)])
            value -= kFacilityShare[i];
    }
    c[Coef::CIAttrezzCollett] = value;
}

void CalcolaCIQualificazAmbienteEsterno(const QString &QualifAmbienteExt, Coefficients &c)
{
    applyJudgment(kAmbienteEsterno, QualifAmbienteExt, Coef::CIQualifAmbienteExt, c);
}

void CalcolaCIIdoneitaInsediativa(const QString &IdoneitaInsediat, Coefficients &c)
{
    applyJudgment(kIdoneita, IdoneitaInsediat, Coef::CIIdoneitaInsediat, c);
}

void CalcolaCIPrevisioneMiglioramAmbientali(const QString &MiglioramAmbiente, Coefficients &c)
{
    applyJudgment(kMiglioramenti, MiglioramAmbiente, Coef::CIPrevMiglAmbient, c);
}

void CalcolaCILivelloInquinamentoAmbientale(const QString &InquinamAmbiente, Coefficients &c)
{
    applyJudgment(kInquinamento, InquinamAmbiente, Coef::CILivInquinamAmbient, c);
}

void CalcolaCIPresenzaVerdePubblico(const QString &VerdePubblico, Coefficients &c)
{
    applyJudgment(kVerde, VerdePubblico, Coef::CIPresVerdePubblico, c);
}

void CalcolaCIDisponibilitaParcheggi(const QString &DisponibAreeSosta, Coefficients &c)
{
    applyJudgment(kParcheggi, DisponibAreeSosta, Coef::CIDisponibParcheggi, c);
}

void CalcolaCIPanoramicita(const QString &Panoramicita, Coefficients &c)
{
    applyJudgment(kPanoramicita, Panoramicita, Coef::CIPanoramicita, c);
}

void CalcolaCIProspicienza(const QString &Prospicienza, Coefficients &c)
{
    applyJudgment(kProspicienza, Prospicienza, Coef::CIProspicienza, c);
}

void CalcolaCILuminosita(const QString &Luminosita, Coefficients &c)
{
    applyJudgment(kLuminosita, Luminosita, Coef::CILuminosita, c);
}

void CalcolaCIQuotaRispettoPianoStradale(const QString &QuotaDaPianoStrad, const QString &TipologEdiliziaImmob,
                                         Coefficients &c)
{
    if (!QuotaDaPianoStrad.isEmpty() && TipologEdiliziaImmob != kPlurifamiliare) {
        c[Coef::CIQuotaDaPianoStrad] = 0;
        return;
    }
    applyJudgment(kQuotaPiano, QuotaDaPianoStrad, Coef::CIQuotaDaPianoStrad, c);
}

void CalcolaCIDimensioneSpaziAccessori(const QString &SuperfAccessorie, Coefficients &c)
{
    applyJudgment(kSpaziAccessori, SuperfAccessorie, Coef::CIDimensSpaziAccess, c);
}

void CalcolaCIGradoRifinituraInterno(const QString &GradoRifinitInt, Coefficients &c)
{
    applyJudgment(kRifinituraInterna, GradoRifinitInt, Coef::CIGradoRifinInterno, c);
}

void CalcolaCIGradoRifinituraEsterno(const QString &GradoRifinitExt, Coefficients &c)
{
    applyJudgment(kRifinituraEsterna, GradoRifinitExt, Coef::CIGradoRifinEsterno, c);
}

void CalcolaCILivelloTecnologicoImpianti(const QString &LivImpiantiTecnol, Coefficients &c)
{
    applyJudgment(kImpianti, LivImpiantiTecnol, Coef::CILivTecnolImpianti, c);
}

void CalcolaCIStatoConservazInterno(const QString &StatoConservInt, Coefficients &c)
{
    applyJudgment(kConservazioneInterna, StatoConservInt, Coef::CIStatoConservazInt, c);
}

void CalcolaCIStatoConservazEsterno(const QString &StatoConservExt, Coefficients &c)
{
    applyJudgment(kConservazioneEsterna, StatoConservExt, Coef::CIStatoConservazExt, c);
}

void CalcolaCIVetustaEdificio(const QString &EtaEdificioImmob, Coefficients &c)
{
    if (EtaEdificioImmob.isEmpty()) {
        c[Coef::CIVetustaEdificio] = 0;
        return;
    }
    const double age = EstraiNumero(EtaEdificioImmob);
    for (const AgeBand &band : kAgeBands) {
        if (age >= band.from && age <= band.to) {
            c[Coef::CIVetustaEdificio] = band.value;
            return;
        }
    }
}

void CalcolaCICaratteristProduttive(const QString &SupCommercImmob, Coefficients &c)
{
    if (SupCommercImmob.isEmpty()) {
        c[Coef::CICarattProduttive] = 0;
        return;
    }
    const auto surface = plainNumberIn(SupCommercImmob);
    if (!surface)
        return;
    for (const SurfaceBand &band : kSurfaceBands) {
        if (*surface <= band.upTo) {
            c[Coef::CICarattProduttive] = band.value;
            return;
        }
    }
}

void ComparazIndirettaCalcoloCoeff(const Characteristics &in, Coefficients &c)
{
    CalcolaCICentralitaRispettoCentroUrbano(in.DistanzaViaPrincip, c);
    CalcolaCILivelloCollegamenti(in.ServTraspPubblico, c);
    CalcolaCIAttrezzatureCollettive(in.facilities, c);
    CalcolaCIQualificazAmbienteEsterno(in.QualifAmbienteExt, c);
    CalcolaCIIdoneitaInsediativa(in.IdoneitaInsediat, c);
    CalcolaCIPrevisioneMiglioramAmbientali(in.MiglioramAmbiente, c);
    CalcolaCILivelloInquinamentoAmbientale(in.InquinamAmbiente, c);
    CalcolaCIPresenzaVerdePubblico(in.VerdePubblico, c);
    CalcolaCIDisponibilitaParcheggi(in.DisponibAreeSosta, c);
    CalcolaCIPanoramicita(in.Panoramicita, c);
    CalcolaCIProspicienza(in.Prospicienza, c);
    CalcolaCILuminosita(in.Luminosita, c);
    CalcolaCIQuotaRispettoPianoStradale(in.QuotaDaPianoStrad, in.TipologEdiliziaImmob, c);
    CalcolaCIDimensioneSpaziAccessori(in.SuperfAccessorie, c);
    CalcolaCIGradoRifinituraInterno(in.GradoRifinitInt, c);
    CalcolaCIGradoRifinituraEsterno(in.GradoRifinitExt, c);
    CalcolaCILivelloTecnologicoImpianti(in.LivImpiantiTecnol, c);
    CalcolaCIStatoConservazInterno(in.StatoConservInt, c);
    CalcolaCIStatoConservazEsterno(in.StatoConservExt, c);
    CalcolaCIVetustaEdificio(in.EtaEdificioImmob, c);
    CalcolaCICaratteristProduttive(in.SupCommercImmob, c);
}

bool CalcolaSaggioCapitalizzazione(const Characteristics &in, const QString &SaggioMedioImmob,
                                   const QString &RedditoNettoAnnuo, Coefficients &c)
{
    if (RedditoNettoAnnuo.isEmpty() || SaggioMedioImmob.isEmpty())
        return false;
    // Worked on a copy: a judgment or a rate that is not a number stops the
    // computation with every value as it was.
    Coefficients next = c;
    ComparazIndirettaCalcoloCoeff(in, next);
    const double average = EstraiNumero(SaggioMedioImmob);
    // Added in this order in extended precision; the order is not the
    // record's, and changing it changes the last bits of the rate.
    static constexpr Coef kRateTerms[] = {
        Coef::CICentrRispCentrUrb, Coef::CILivelloCollegam,    Coef::CIAttrezzCollett,    Coef::CIQualifAmbienteExt,
        Coef::CIIdoneitaInsediat,  Coef::CIPrevMiglAmbient,    Coef::CILivInquinamAmbient, Coef::CIPresVerdePubblico,
        Coef::CIDisponibParcheggi, Coef::CIPanoramicita,       Coef::CIProspicienza,      Coef::CILuminosita,
        Coef::CIQuotaDaPianoStrad, Coef::CIDimensSpaziAccess,  Coef::CIGradoRifinInterno, Coef::CIGradoRifinEsterno,
        Coef::CILivTecnolImpianti, Coef::CIStatoConservazInt,  Coef::CIStatoConservazExt, Coef::CIVetustaEdificio,
        Coef::CICarattProduttive,
    };
    long double rate = average;
    for (Coef id : kRateTerms)
        rate += next[id];
    next[Coef::SaggioCapitalizzaz] = static_cast<double>(rate);
    c = next;
    return true;
}

IncomeValue capitaliseIncome(const QString &RedditoNettoAnnuo, double rate, const QString &SupCommercImmob)
{
    const auto net = amountIn(RedditoNettoAnnuo);
    if (!net)
        return {};
    // No value by income exists for a loss, nor at a rate that is not above
    // 0: the last value shown must not stay as if it were this one's. A net
    // income of 0 is capitalised to a value of 0.
    if (isNegativeText(RedditoNettoAnnuo) || !rateAboveZero(rate))
        return {FieldUpdate::clear(), FieldUpdate::clear()};
    const QString totalText = FormattaImporto(std::trunc(*net * 100 / rate));
    IncomeValue out{FieldUpdate::write(totalText), FieldUpdate::clear()};
    // The unit value is read back from the shown total, as the field holds it.
    const auto surface = plainNumberIn(SupCommercImmob);
    if (surface && *surface > 0)
        out.unit = FieldUpdate::write(FormattaImporto(std::trunc(EstraiNumero(totalText) / *surface)));
    return out;
}

IncomeValue CalcolaCIValoreMercato(const Characteristics &in, const QString &SaggioMedioImmob,
                                   const QString &RedditoNettoAnnuo, Coefficients &c)
{
    if (RedditoNettoAnnuo.isEmpty())
        return {};
    CalcolaSaggioCapitalizzazione(in, SaggioMedioImmob, RedditoNettoAnnuo, c);
    return capitaliseIncome(RedditoNettoAnnuo, c[Coef::SaggioCapitalizzaz], in.SupCommercImmob);
}

ResultHints SetHintRisultatiStima(const QString &ValutaCorrente)
{
    return {
        QStringLiteral("|Più probabile valore di mercato unitario per comparazione diretta in") + ValutaCorrente
            + QStringLiteral("/mq."),
        QStringLiteral("|Più probabile valore di mercato unitario per capitalizzazione dei redditi in") + ValutaCorrente
            + QStringLiteral("/mq."),
        QStringLiteral("|Più probabile valore di mercato per comparazione diretta in") + ValutaCorrente
            + QStringLiteral("."),
        QStringLiteral("|Più probabile valore di mercato per capitalizzazione dei redditi in") + ValutaCorrente
            + QStringLiteral("."),
    };
}

} // namespace brevan
