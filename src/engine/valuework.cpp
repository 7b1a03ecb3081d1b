// SPDX-License-Identifier: GPL-2.0-or-later
#include "valuework.h"

#include "engine/fields.h"

#include "model/currency.h"
#include "model/numbertext.h"
#include "store/datafolder.h"
#include "store/tablestore.h"
#include "valuation/capitalisation.h"
#include "valuation/conversion.h"
#include "valuation/income.h"
#include "engine/incomework.h"


namespace brevan::engine {

namespace {

// The results page's four values.
const QString kComparisonUnit = QStringLiteral("CostoUnitario");
const QString kComparisonTotal = QStringLiteral("CostoComplessivo");
const QString kIncomeUnit = QStringLiteral("CICostoUnitario");
const QString kIncomeTotal = QStringLiteral("CICostoComplessivo");
const QString kAverageRate = QStringLiteral("SaggioMedioImmob");
const QString kNetIncome = QStringLiteral("RedditoNettoAnnuo");

void apply(Fields &fields, const QString &field, const FieldUpdate &update, ValueWork::Stale stale)
{
    switch (update.action) {
    case FieldUpdate::Action::Leave:
        if (stale == ValueWork::Stale::Clear)
            fields.clear(field);
        break;
    case FieldUpdate::Action::Clear: fields.clear(field); break;
    case FieldUpdate::Action::Write: fields.setText(field, update.text); break;
    }
}

// Plain float text, as the hidden reference rents hold it; amount text as a
// fallback for a value that was pasted in some other form.
std::optional<double> referenceRentIn(const QString &text)
{
    if (const auto v = plainNumberIn(text))
        return v;
    return amountIn(text);
}

// RicalcoloAttivo is off while a conversion runs and on again afterwards,
// also when the conversion stops on a failure.
class RecalculationPause {
public:
    RecalculationPause() { currency().RicalcoloAttivo = false; }
    ~RecalculationPause() { currency().RicalcoloAttivo = true; }
    RecalculationPause(const RecalculationPause &) = delete;
    RecalculationPause &operator=(const RecalculationPause &) = delete;
};

} // namespace

ValueWork::ValueWork(Fields &fields, Notices &notices, Coefficients &coefficients, QObject *parent)
    : QObject(parent), m_fields(fields), m_notices(notices), m_coefficients(coefficients)
{
}

bool ValueWork::guarded(const std::function<void()> &fn)
{
    try {
        fn();
        return true;
    } catch (const ConversionError &e) {
        reportConversionFailure(QString::fromUtf8(e.what()));
    } catch (const std::exception &e) {
        m_notices.error(QString::fromUtf8(e.what()));
    }
    return false;
}

void ValueWork::reportConversionFailure(const QString &text)
{
    // One change can run the computations many times over (opening an
    // appraisal recomputes them at every income field): a text that is not a
    // number is reported once for all of them, and again at the next event.
    if (m_reportedFailures.contains(text))
        return;
    if (m_reportedFailures.isEmpty())
        QMetaObject::invokeMethod(this, [this] { m_reportedFailures.clear(); }, Qt::QueuedConnection);
    m_reportedFailures << text;
    m_notices.error(text);
}

QString ValueWork::surface() const
{
    return commercialSurface ? commercialSurface() : QString();
}

Characteristics ValueWork::characteristics() const
{
    const Fields &f = m_fields;
    const auto text = [&f](const char *name) { return f.text(QString::fromLatin1(name)); };
    Characteristics c;
    c.DistanzaViaPrincip = text("DistanzaViaPrincip");
    c.ServTraspPubblico = text("ServTraspPubblico");
    c.QualifAmbienteExt = text("QualifAmbienteExt");
    c.IdoneitaInsediat = text("IdoneitaInsediat");
    c.MiglioramAmbiente = text("MiglioramAmbiente");
    c.InquinamAmbiente = text("InquinamAmbiente");
    c.VerdePubblico = text("VerdePubblico");
    c.DisponibAreeSosta = text("DisponibAreeSosta");
    // The boxes by their persisted names, whatever their order on screen.
    for (int i = 0; i < kFacilityCount; ++i)
        c.facilities[static_cast<std::size_t>(i)] = f.isChecked(facilityName(i));
    if (f.isChecked(QStringLiteral("ZonaCentrImmob")))
        c.zone = Zone::Centrale;
    else if (f.isChecked(QStringLiteral("ZonaIntermImmob")))
        c.zone = Zone::Intermedia;
    else if (f.isChecked(QStringLiteral("ZonaPeriferImmob")))
        c.zone = Zone::Periferica;
    c.Panoramicita = text("Panoramicita");
    c.Prospicienza = text("Prospicienza");
    c.Luminosita = text("Luminosita");
    c.Esposizione = text("Esposizione");
    c.QuotaDaPianoStrad = text("QuotaDaPianoStrad");
    c.SuperfAccessorie = text("SuperfAccessorie");
    c.GradoRifinitInt = text("GradoRifinitInt");
    c.GradoRifinitExt = text("GradoRifinitExt");
    c.LivImpiantiTecnol = text("LivImpiantiTecnol");
    c.StatoConservInt = text("StatoConservInt");
    c.StatoConservExt = text("StatoConservExt");
    c.TipologEdiliziaImmob = text("TipologEdiliziaImmob");
    c.EtaEdificioImmob = text("EtaEdificioImmob");
    c.SupCommercImmob = surface();
    return c;
}

QList<ComparableRow> ValueWork::comparables() const
{
    QList<ComparableRow> rows;
    const QString path = dataPath(kImmConfr);
    if (!Table::exists(path))
        return rows;
    const Table table = Table::open(path);
    for (const QVariantList &values : table.rows()) {
        QStringList texts;
        for (const QVariant &v : values)
            texts << v.toString();
        rows << ComparableRow::fromColumns(texts);
    }
    return rows;
}

// --- Capitalisation coefficients ---------------------------------------------

void ValueWork::CalcolaCICentralitaRispettoCentroUrbano()
{
    brevan::CalcolaCICentralitaRispettoCentroUrbano(characteristics().DistanzaViaPrincip, m_coefficients);
}

void ValueWork::CalcolaCILivelloCollegamenti()
{
    brevan::CalcolaCILivelloCollegamenti(characteristics().ServTraspPubblico, m_coefficients);
}

void ValueWork::CalcolaCIAttrezzatureCollettive()
{
    brevan::CalcolaCIAttrezzatureCollettive(characteristics().facilities, m_coefficients);
}

void ValueWork::CalcolaCIQualificazAmbienteEsterno()
{
    brevan::CalcolaCIQualificazAmbienteEsterno(characteristics().QualifAmbienteExt, m_coefficients);
}

void ValueWork::CalcolaCIIdoneitaInsediativa()
{
    brevan::CalcolaCIIdoneitaInsediativa(characteristics().IdoneitaInsediat, m_coefficients);
}

void ValueWork::CalcolaCIPrevisioneMiglioramAmbientali()
{
    brevan::CalcolaCIPrevisioneMiglioramAmbientali(characteristics().MiglioramAmbiente, m_coefficients);
}

void ValueWork::CalcolaCILivelloInquinamentoAmbientale()
{
    brevan::CalcolaCILivelloInquinamentoAmbientale(characteristics().InquinamAmbiente, m_coefficients);
}

void ValueWork::CalcolaCIPresenzaVerdePubblico()
{
    brevan::CalcolaCIPresenzaVerdePubblico(characteristics().VerdePubblico, m_coefficients);
}

void ValueWork::CalcolaCIDisponibilitaParcheggi()
{
    brevan::CalcolaCIDisponibilitaParcheggi(characteristics().DisponibAreeSosta, m_coefficients);
}

void ValueWork::CalcolaCIPanoramicita()
{
    brevan::CalcolaCIPanoramicita(characteristics().Panoramicita, m_coefficients);
}

void ValueWork::CalcolaCIProspicienza()
{
    brevan::CalcolaCIProspicienza(characteristics().Prospicienza, m_coefficients);
}

void ValueWork::CalcolaCILuminosita()
{
    brevan::CalcolaCILuminosita(characteristics().Luminosita, m_coefficients);
}

void ValueWork::CalcolaCIQuotaRispettoPianoStradale()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCIQuotaRispettoPianoStradale(c.QuotaDaPianoStrad, c.TipologEdiliziaImmob, m_coefficients);
}

void ValueWork::CalcolaCIDimensioneSpaziAccessori()
{
    brevan::CalcolaCIDimensioneSpaziAccessori(characteristics().SuperfAccessorie, m_coefficients);
}

void ValueWork::CalcolaCIGradoRifinituraInterno()
{
    brevan::CalcolaCIGradoRifinituraInterno(characteristics().GradoRifinitInt, m_coefficients);
}

void ValueWork::CalcolaCIGradoRifinituraEsterno()
{
    brevan::CalcolaCIGradoRifinituraEsterno(characteristics().GradoRifinitExt, m_coefficients);
}

void ValueWork::CalcolaCILivelloTecnologicoImpianti()
{
    brevan::CalcolaCILivelloTecnologicoImpianti(characteristics().LivImpiantiTecnol, m_coefficients);
}

void ValueWork::CalcolaCIStatoConservazInterno()
{
    brevan::CalcolaCIStatoConservazInterno(characteristics().StatoConservInt, m_coefficients);
}

void ValueWork::CalcolaCIStatoConservazEsterno()
{
    brevan::CalcolaCIStatoConservazEsterno(characteristics().StatoConservExt, m_coefficients);
}

void ValueWork::CalcolaCIVetustaEdificio()
{
    guarded([this] {
        brevan::CalcolaCIVetustaEdificio(characteristics().EtaEdificioImmob, m_coefficients);
    });
}

void ValueWork::CalcolaCICaratteristProduttive()
{
    brevan::CalcolaCICaratteristProduttive(surface(), m_coefficients);
}

void ValueWork::ComparazIndirettaCalcoloCoeff()
{
    guarded([this] {
        brevan::ComparazIndirettaCalcoloCoeff(characteristics(), m_coefficients);
    });
}

void ValueWork::CalcolaSaggioCapitalizzazione()
{
    guarded([this] {
        brevan::CalcolaSaggioCapitalizzazione(characteristics(), m_fields.text(kAverageRate),
                                              m_fields.text(kNetIncome), m_coefficients);
    });
}

void ValueWork::CalcolaCIValoreMercato()
{
    computeIncomeValue(Stale::Leave);
}

void ValueWork::computeIncomeValue(Stale stale)
{
    IncomeValue value;
    const bool computed = guarded([&] {
        value = brevan::CalcolaCIValoreMercato(characteristics(), m_fields.text(kAverageRate),
                                               m_fields.text(kNetIncome), m_coefficients);
    });
    if (!computed && stale == Stale::Leave)
        return;
    apply(m_fields, kIncomeTotal, value.total, stale);
    apply(m_fields, kIncomeUnit, value.unit, stale);
}

void ValueWork::SetHintRisultatiStima()
{
    const ResultHints hints = brevan::SetHintRisultatiStima(currency().ValutaCorrente);
    m_fields.setHint(kComparisonUnit, hints.unitByComparison);
    m_fields.setHint(kIncomeUnit, hints.unitByIncome);
    m_fields.setHint(kComparisonTotal, hints.totalByComparison);
    m_fields.setHint(kIncomeTotal, hints.totalByIncome);
}

// --- Comparison coefficients -------------------------------------------------

void ValueWork::CalcolaCDLuminosita()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDLuminosita(c.Luminosita, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDPanoramicita()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDPanoramicita(c.Panoramicita, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDEsposizione()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDEsposizione(c.Esposizione, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDProspicienza()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDProspicienza(c.Prospicienza, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDQuotaRispettoPianoStradale()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDQuotaRispettoPianoStradale(c.QuotaDaPianoStrad, c.TipologEdiliziaImmob, c.zone,
                                                m_coefficients);
}

void ValueWork::CalcolaCDGradoRifinituraInterno()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDGradoRifinituraInterno(c.GradoRifinitInt, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDGradoRifinituraEsterno()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDGradoRifinituraEsterno(c.GradoRifinitExt, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDStatoConservazInterno()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDStatoConservazInterno(c.StatoConservInt, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDStatoConservazEsterno()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDStatoConservazEsterno(c.StatoConservExt, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDLivelloTecnologicoImpianti()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDLivelloTecnologicoImpianti(c.LivImpiantiTecnol, c.zone, m_coefficients);
}

void ValueWork::CalcolaCDVetustaEdificio()
{
    guarded([this] {
        const Characteristics c = characteristics();
        brevan::CalcolaCDVetustaEdificio(c.EtaEdificioImmob, c.zone, m_coefficients);
    });
}

void ValueWork::CalcolaCDValoreMercato()
{
    computeComparisonValue(Stale::Leave);
}

void ValueWork::computeComparisonValue(Stale stale)
{
    DirectComparison value;
    const bool computed = guarded([&] {
        value = brevan::CalcolaCDValoreMercato(characteristics(), comparables(), m_coefficients);
    });
    if (!computed && stale == Stale::Leave)
        return;
    apply(m_fields, kComparisonUnit, value.unit, stale);
    apply(m_fields, kComparisonTotal, value.total, stale);
    showComparisonNote(comparisonNote(value));
}

// --- Lire and Euro -------------------------------------------------------------

void ValueWork::ConversioneSpeseLiraEuro(double factor)
{
    // One pair at a time, each read as it stands when its turn comes: every
    // converted amount recomputes the net income, which may empty the others.
    for (int i = 0; i < kExpenseCount; ++i) {
        const QString shown = expenseField(i);
        const QString shadow = QStringLiteral("Edit%1").arg(43 + i);
        const AmountPair converted = convertPair(m_fields.text(shown), m_fields.text(shadow), factor);
        m_fields.setText(shadow, converted.shadow);
        m_fields.setText(shown, converted.shown);
    }
}

void ValueWork::ConvertiValutaImmobiliConfronto(double factor)
{
    convertComparablesTable(dataPath(kImmConfr), factor);
}

void convertComparablesTable(const QString &path, double factor)
{
    if (path.isEmpty() || !Table::exists(path))
        return;
    Table table = Table::open(path);
    // All rows or none: a failure halfway leaves every cost as it was.
    table.transaction([&] {
        for (const qint64 id : table.rowIds()) {
            ComparableRow row;
            row.CostoUnitario = table.text(id, QStringLiteral("CostoUnitario"));
            row.Servizio1 = table.text(id, QStringLiteral("Servizio1"));
            row.CostoComplessivo = table.text(id, QStringLiteral("CostoComplessivo"));
            row.Servizio2 = table.text(id, QStringLiteral("Servizio2"));
            const ComparableRow before = row;
            QList<ComparableRow> one{row};
            brevan::ConvertiValutaImmobiliConfronto(one, factor);
            const ComparableRow &after = one.first();
            if (after.CostoUnitario != before.CostoUnitario)
                table.setText(id, QStringLiteral("CostoUnitario"), after.CostoUnitario);
            if (after.Servizio1 != before.Servizio1)
                table.setText(id, QStringLiteral("Servizio1"), after.Servizio1);
            if (after.CostoComplessivo != before.CostoComplessivo)
                table.setText(id, QStringLiteral("CostoComplessivo"), after.CostoComplessivo);
            if (after.Servizio2 != before.Servizio2)
                table.setText(id, QStringLiteral("Servizio2"), after.Servizio2);
        }
    });
}

void ValueWork::switchCurrency(bool toEuro)
{
    CurrencyState &state = currency();
    // The buttons allow one direction only; a second switch the same way would
    // convert the amounts twice.
    if (toEuro == state.euroInForce())
        return;
    RecalculationPause pause;
    currencySwitched(toEuro);
    if (toEuro)
        state.setEuro();
    else
        state.setLire();
    // Kept apart from FattoreValuta, which the rent lookup also sets.
    const double factor = state.FattoreValuta;

    guarded([&] {
        if (m_fields.text(QStringLiteral("Edit39")) != QStringLiteral("0")) {
            for (const char *name : {"Edit39", "Edit40", "Edit41"}) {
                if (const auto v = referenceRentIn(m_fields.text(QString::fromLatin1(name))))
                    m_fields.setText(QString::fromLatin1(name), FloatToText(*v * factor));
            }
            if (const auto middle = referenceRentIn(m_fields.text(QStringLiteral("Edit39"))))
                m_fields.setText(QStringLiteral("CanoneLocazUnit"), FormattaImporto(*middle));
        }
    });
    Q_EMIT SetHintCanoneLocazioneRequested();
    guarded([&] { ConversioneSpeseLiraEuro(factor); });
    Q_EMIT CalcolaRedditoNettoAnnuoRequested();
    const bool comparablesConverted = guarded([&] { ConvertiValutaImmobiliConfronto(factor); });
    // Whatever page is shown, both values are brought into the new currency
    // now that every amount they come from is converted: a value computed
    // before the comparables were, or one that cannot be computed at all,
    // would stand in the old currency under the new one's name.
    computeIncomeValue(Stale::Clear);
    if (comparablesConverted) {
        computeComparisonValue(Stale::Clear);
    } else {
        m_fields.clear(kComparisonUnit);
        m_fields.clear(kComparisonTotal);
    }
    if (resultsShown())
        Q_EMIT CalcolaRiepilogoInformazioniRequested();
    Q_EMIT SetHintRedditoLordoNettoRequested();
    Q_EMIT SetHintSpeseRequested();
    SetHintImmobiliConfronto();
    SetHintRisultatiStima();
}

} // namespace brevan::engine
