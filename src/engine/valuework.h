// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two market values and the currency switch: the 21 capitalisation
// coefficients with the rate and the value by income, the 15 comparison
// coefficients with the line through the comparables, and the conversion of
// every amount between Lire and Euro. The arithmetic lives in
// valuation/capitalisation.h, comparison.h and conversion.h; this class reads
// the fields, keeps the coefficients and writes the result fields. What only a
// window has (the status bar, the comparables' grid, the page shown) is in
// virtual functions that the window's operations take over.
#include "valuation/coefficients.h"
#include "valuation/comparison.h"

#include <QObject>
#include <QStringList>
#include <QString>

#include <functional>

namespace brevan::engine {

class Fields;
class Notices;

class ValueWork : public QObject {
    Q_OBJECT
public:
    ValueWork(Fields &fields, Notices &notices, Coefficients &coefficients, QObject *parent = nullptr);

    // The commercial surface as plain float text, "" while it has not been
    // computed. Pointed at the surfaces work by the wiring; empty by default.
    std::function<QString()> commercialSurface;

    // The judgments, ticks, zone, building and surface as the pages hold them now.
    Characteristics characteristics() const;
    // The rows of the working comparables table, first to last.
    virtual QList<ComparableRow> comparables() const;

    // What a result field does when its value is not computed afresh: a
    // value left from before a currency switch would be in the old currency.
    enum class Stale { Leave, Clear };

public Q_SLOTS:
    // Capitalisation coefficients, one judgment each.
    void CalcolaCICentralitaRispettoCentroUrbano();
    void CalcolaCILivelloCollegamenti();
    void CalcolaCIAttrezzatureCollettive();
    void CalcolaCIQualificazAmbienteEsterno();
    void CalcolaCIIdoneitaInsediativa();
    void CalcolaCIPrevisioneMiglioramAmbientali();
    void CalcolaCILivelloInquinamentoAmbientale();
    void CalcolaCIPresenzaVerdePubblico();
    void CalcolaCIDisponibilitaParcheggi();
    void CalcolaCIPanoramicita();
    void CalcolaCIProspicienza();
    void CalcolaCILuminosita();
    void CalcolaCIQuotaRispettoPianoStradale();
    void CalcolaCIDimensioneSpaziAccessori();
    void CalcolaCIGradoRifinituraInterno();
    void CalcolaCIGradoRifinituraEsterno();
    void CalcolaCILivelloTecnologicoImpianti();
    void CalcolaCIStatoConservazInterno();
    void CalcolaCIStatoConservazEsterno();
    void CalcolaCIVetustaEdificio();
    void CalcolaCICaratteristProduttive();

    void ComparazIndirettaCalcoloCoeff();
    void CalcolaSaggioCapitalizzazione();
    void CalcolaCIValoreMercato();
    void SetHintRisultatiStima();

    // Comparison coefficients of single items (the groups run inside
    // CalcolaCDValoreMercato).
    void CalcolaCDLuminosita();
    void CalcolaCDPanoramicita();
    void CalcolaCDEsposizione();
    void CalcolaCDProspicienza();
    void CalcolaCDQuotaRispettoPianoStradale();
    void CalcolaCDGradoRifinituraInterno();
    void CalcolaCDGradoRifinituraEsterno();
    void CalcolaCDStatoConservazInterno();
    void CalcolaCDStatoConservazEsterno();
    void CalcolaCDLivelloTecnologicoImpianti();
    void CalcolaCDVetustaEdificio();

    void CalcolaCDValoreMercato();
    // The hints of the comparables' cost editors; none without a window.
    virtual void SetHintImmobiliConfronto() {}

    // The switch to Euro or back to Lire ("Conversione in Euro", "Conversione
    // in Lire"); nothing when the amounts are in that currency already.
    void switchCurrency(bool toEuro);
    // The six expense pairs and the comparables' cost pairs, with a factor.
    void ConversioneSpeseLiraEuro(double factor);
    virtual void ConvertiValutaImmobiliConfronto(double factor);

Q_SIGNALS:
    // Steps of the currency switch that belong to the income page, in the
    // switch's order: the rent hint (after the rent is converted), the net
    // income (after the expenses), the two income hints and the expense hints.
    void SetHintCanoneLocazioneRequested();
    void CalcolaRedditoNettoAnnuoRequested();
    void SetHintRedditoLordoNettoRequested();
    void SetHintSpeseRequested();
    // The switch with the results page shown: the summary, after both values.
    void CalcolaRiepilogoInformazioniRequested();

protected:
    // The buttons of the switch: the one to the other currency is offered.
    virtual void currencySwitched(bool toEuro) { Q_UNUSED(toEuro); }
    // Whether the results page is shown, whose summary follows a switch.
    virtual bool resultsShown() const { return false; }
    // The status bar's word on the value by comparison; "" takes back the last.
    virtual void showComparisonNote(const QString &note) { Q_UNUSED(note); }

    Fields &m_fields;
    Notices &m_notices;
    Coefficients &m_coefficients;

private:
    QString surface() const;
    // Runs fn; a failure ends in the error box. False when fn failed.
    bool guarded(const std::function<void()> &fn);
    void reportConversionFailure(const QString &text);
    void computeIncomeValue(Stale stale);
    void computeComparisonValue(Stale stale);

    // Conversion failures reported since the program last went back to its
    // event loop.
    QStringList m_reportedFailures;
};

// The cost pairs of the comparables table at path converted with factor, all
// rows or none; nothing when there is no table.
void convertComparablesTable(const QString &path, double factor);

} // namespace brevan::engine
