// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The 21 capitalisation coefficients, the capitalisation rate and the value by
// income capitalisation. Coefficients are percentage points added to the
// average rate: a judgment that makes the unit more attractive lowers the rate.
//
// Every judgment operation follows one rule: an empty judgment gives 0, a text
// with a row in the operation's table gives the row's value, and any other
// text leaves the coefficient as it was. That is why they update the
// appraisal's current Coefficients instead of returning a value.
#include "coefficients.h"

#include <QString>

namespace brevan {

void CalcolaCICentralitaRispettoCentroUrbano(const QString &DistanzaViaPrincip, Coefficients &c);
void CalcolaCILivelloCollegamenti(const QString &ServTraspPubblico, Coefficients &c);
// 0.28 less the share of every ticked box, always computed.
void CalcolaCIAttrezzatureCollettive(const Facilities &ticked, Coefficients &c);
void CalcolaCIQualificazAmbienteEsterno(const QString &QualifAmbienteExt, Coefficients &c);
void CalcolaCIIdoneitaInsediativa(const QString &IdoneitaInsediat, Coefficients &c);
void CalcolaCIPrevisioneMiglioramAmbientali(const QString &MiglioramAmbiente, Coefficients &c);
void CalcolaCILivelloInquinamentoAmbientale(const QString &InquinamAmbiente, Coefficients &c);
void CalcolaCIPresenzaVerdePubblico(const QString &VerdePubblico, Coefficients &c);
void CalcolaCIDisponibilitaParcheggi(const QString &DisponibAreeSosta, Coefficients &c);
void CalcolaCIPanoramicita(const QString &Panoramicita, Coefficients &c);
void CalcolaCIProspicienza(const QString &Prospicienza, Coefficients &c);
void CalcolaCILuminosita(const QString &Luminosita, Coefficients &c);
// Only a multi-family building ("Edificio plurifamiliare") has a floor
// coefficient; any other building type gives 0.
void CalcolaCIQuotaRispettoPianoStradale(const QString &QuotaDaPianoStrad, const QString &TipologEdiliziaImmob,
                                         Coefficients &c);
void CalcolaCIDimensioneSpaziAccessori(const QString &SuperfAccessorie, Coefficients &c);
void CalcolaCIGradoRifinituraInterno(const QString &GradoRifinitInt, Coefficients &c);
void CalcolaCIGradoRifinituraEsterno(const QString &GradoRifinitExt, Coefficients &c);
void CalcolaCILivelloTecnologicoImpianti(const QString &LivImpiantiTecnol, Coefficients &c);
void CalcolaCIStatoConservazInterno(const QString &StatoConservInt, Coefficients &c);
void CalcolaCIStatoConservazEsterno(const QString &StatoConservExt, Coefficients &c);
// The age text ("12 anni") read with EstraiNumero; between 6 and 29 only whole
// years have a value, so any other age there leaves the coefficient as it was.
// A text without a number ("n.d.") throws ConversionError.
void CalcolaCIVetustaEdificio(const QString &EtaEdificioImmob, Coefficients &c);
// The commercial surface as plain float text; text that is not a plain number
// leaves the coefficient as it was.
void CalcolaCICaratteristProduttive(const QString &SupCommercImmob, Coefficients &c);

// All 21, in the order the rate adds them up.
void ComparazIndirettaCalcoloCoeff(const Characteristics &in, Coefficients &c);

// Recomputes the 21 coefficients and SaggioCapitalizzaz when the average rate
// and the net income are both given (the rate is not limited to any range).
// Returns false, touching nothing, otherwise. An average rate or an age that
// holds no number throws ConversionError, touching nothing.
bool CalcolaSaggioCapitalizzazione(const Characteristics &in, const QString &SaggioMedioImmob,
                                   const QString &RedditoNettoAnnuo, Coefficients &c);

// The two "Capitalizzazione dei redditi:" fields.
struct IncomeValue {
    FieldUpdate total; // Edit53, CICostoComplessivo
    FieldUpdate unit;  // Edit51, CICostoUnitario
    bool operator==(const IncomeValue &) const = default;
};

// Capitalises a net income at a rate. A negative net income, or a rate not
// above 0 once taken to the two decimals it is shown with, clears both
// fields (no value by income exists, and a stale one must not stay on
// screen); a net income of 0 is worth 0; an empty, zero or unreadable
// surface clears the unit value instead of dividing by it.
IncomeValue capitaliseIncome(const QString &RedditoNettoAnnuo, double rate, const QString &SupCommercImmob);

// Rate and value by income. With an empty net income nothing is recomputed
// and both fields are left. Throws ConversionError as CalcolaSaggioCapitalizzazione.
IncomeValue CalcolaCIValoreMercato(const Characteristics &in, const QString &SaggioMedioImmob,
                                   const QString &RedditoNettoAnnuo, Coefficients &c);

// Long hints ("|…") of the four result fields.
struct ResultHints {
    QString unitByComparison;  // Edit50
    QString unitByIncome;      // Edit51
    QString totalByComparison; // Edit52
    QString totalByIncome;     // Edit53
};
ResultHints SetHintRisultatiStima(const QString &ValutaCorrente);

} // namespace brevan
