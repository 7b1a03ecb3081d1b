// SPDX-License-Identifier: GPL-2.0-or-later
#include "valueops.h"

#include "mainwindow.h"

#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/positionpage.h"
#include "pages/resultspage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"
#include "store/datafolder.h"
#include "valuation/capitalisation.h"
#include "valuation/conversion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>

namespace brevan::app {

namespace {

constexpr int kResultsNode = 12;

void apply(QLineEdit *field, const FieldUpdate &update, ValueOps::Stale stale)
{
    switch (update.action) {
    case FieldUpdate::Action::Leave:
        if (stale == ValueOps::Stale::Clear)
            field->clear();
        break;
    case FieldUpdate::Action::Clear: field->clear(); break;
    case FieldUpdate::Action::Write: field->setText(update.text); break;
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

ValueOps::ValueOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window)
{
    connect(window->lireButton, &QToolButton::clicked, this, [this] { SpeedButtonLireEuroClick(m_window->lireButton); });
    connect(window->euroButton, &QToolButton::clicked, this, [this] { SpeedButtonLireEuroClick(m_window->euroButton); });
}

bool ValueOps::guarded(const std::function<void()> &fn)
{
    try {
        fn();
        return true;
    } catch (const ConversionError &e) {
        reportConversionFailure(QString::fromUtf8(e.what()));
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, QString::fromUtf8(e.what()));
    }
    return false;
}

void ValueOps::reportConversionFailure(const QString &text)
{
    // One change can run the computations many times over (opening an
    // appraisal recomputes them at every income field): a text that is not a
    // number is reported once for all of them, and again at the next event.
    if (m_reportedFailures.contains(text))
        return;
    if (m_reportedFailures.isEmpty())
        QMetaObject::invokeMethod(this, [this] { m_reportedFailures.clear(); }, Qt::QueuedConnection);
    m_reportedFailures << text;
    ui::Messages::error(m_window, text);
}

void ValueOps::showComparisonNote(const QString &note)
{
    QStatusBar *bar = m_window->statusBar();
    if (!note.isEmpty())
        bar->showMessage(note);
    else if (!m_comparisonNote.isEmpty() && bar->currentMessage() == m_comparisonNote)
        bar->clearMessage();
    m_comparisonNote = note;
}

QString ValueOps::surface() const
{
    return commercialSurface ? commercialSurface() : QString();
}

Characteristics ValueOps::characteristics() const
{
    const ui::LocalisationPage *l = m_window->localisationPage;
    const ui::PositionPage *p = m_window->positionPage;
    const ui::TypologyPage *t = m_window->typologyPage;
    const ui::DescriptionPage *d = m_window->descriptionPage;
    Characteristics c;
    c.DistanzaViaPrincip = l->mainStreetDistanceCombo->currentText();
    c.ServTraspPubblico = l->publicTransportCombo->currentText();
    c.QualifAmbienteExt = l->surroundingsCombo->currentText();
    c.IdoneitaInsediat = l->settlementCombo->currentText();
    c.MiglioramAmbiente = l->improvementsCombo->currentText();
    c.InquinamAmbiente = p->pollutionCombo->currentText();
    c.VerdePubblico = p->greeneryCombo->currentText();
    c.DisponibAreeSosta = p->parkingCombo->currentText();
    // The boxes are matched by their persisted names, whatever their order on screen.
    for (int i = 0; i < kFacilityCount; ++i) {
        const QString name = facilityName(i);
        for (const QCheckBox *box : p->amenityChecks) {
            if (box && box->objectName() == name)
                c.facilities[static_cast<std::size_t>(i)] = box->isChecked();
        }
    }
    if (l->centralZoneRadio->isChecked())
        c.zone = Zone::Centrale;
    else if (l->intermediateZoneRadio->isChecked())
        c.zone = Zone::Intermedia;
    else if (l->outlyingZoneRadio->isChecked())
        c.zone = Zone::Periferica;
    c.Panoramicita = t->viewCombo->currentText();
    c.Prospicienza = t->outlookCombo->currentText();
    c.Luminosita = t->brightnessCombo->currentText();
    c.Esposizione = t->exposureCombo->currentText();
    c.QuotaDaPianoStrad = p->streetLevelCombo->currentText();
    c.SuperfAccessorie = p->accessorySpacesCombo->currentText();
    c.GradoRifinitInt = t->finishInsideCombo->currentText();
    c.GradoRifinitExt = t->finishOutsideCombo->currentText();
    c.LivImpiantiTecnol = t->plantsLevelCombo->currentText();
    c.StatoConservInt = t->repairInsideCombo->currentText();
    c.StatoConservExt = t->repairOutsideCombo->currentText();
    c.TipologEdiliziaImmob = d->buildingTypeCombo->currentText();
    c.EtaEdificioImmob = d->buildingAgeCombo->currentText();
    c.SupCommercImmob = surface();
    return c;
}

QList<ComparableRow> ValueOps::comparables() const
{
    QList<ComparableRow> rows;
    const ui::TableModel *model = m_window->comparablesPage->model();
    if (model->isOpen()) {
        // The model holds what the file holds: every edit is written at once.
        const int columns = model->columnCount();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList texts;
            texts.reserve(columns);
            for (int c = 0; c < columns; ++c)
                texts << model->index(r, c).data(Qt::EditRole).toString();
            rows << ComparableRow::fromColumns(texts);
        }
        return rows;
    }
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

void ValueOps::CalcolaCICentralitaRispettoCentroUrbano()
{
    brevan::CalcolaCICentralitaRispettoCentroUrbano(characteristics().DistanzaViaPrincip, m_window->coefficients);
}

void ValueOps::CalcolaCILivelloCollegamenti()
{
    brevan::CalcolaCILivelloCollegamenti(characteristics().ServTraspPubblico, m_window->coefficients);
}

void ValueOps::CalcolaCIAttrezzatureCollettive()
{
    brevan::CalcolaCIAttrezzatureCollettive(characteristics().facilities, m_window->coefficients);
}

void ValueOps::CalcolaCIQualificazAmbienteEsterno()
{
    brevan::CalcolaCIQualificazAmbienteEsterno(characteristics().QualifAmbienteExt, m_window->coefficients);
}

void ValueOps::CalcolaCIIdoneitaInsediativa()
{
    brevan::CalcolaCIIdoneitaInsediativa(characteristics().IdoneitaInsediat, m_window->coefficients);
}

void ValueOps::CalcolaCIPrevisioneMiglioramAmbientali()
{
    brevan::CalcolaCIPrevisioneMiglioramAmbientali(characteristics().MiglioramAmbiente, m_window->coefficients);
}

void ValueOps::CalcolaCILivelloInquinamentoAmbientale()
{
    brevan::CalcolaCILivelloInquinamentoAmbientale(characteristics().InquinamAmbiente, m_window->coefficients);
}

void ValueOps::CalcolaCIPresenzaVerdePubblico()
{
    brevan::CalcolaCIPresenzaVerdePubblico(characteristics().VerdePubblico, m_window->coefficients);
}

void ValueOps::CalcolaCIDisponibilitaParcheggi()
{
    brevan::CalcolaCIDisponibilitaParcheggi(characteristics().DisponibAreeSosta, m_window->coefficients);
}

void ValueOps::CalcolaCIPanoramicita()
{
    brevan::CalcolaCIPanoramicita(characteristics().Panoramicita, m_window->coefficients);
}

void ValueOps::CalcolaCIProspicienza()
{
    brevan::CalcolaCIProspicienza(characteristics().Prospicienza, m_window->coefficients);
}

void ValueOps::CalcolaCILuminosita()
{
    brevan::CalcolaCILuminosita(characteristics().Luminosita, m_window->coefficients);
}

void ValueOps::CalcolaCIQuotaRispettoPianoStradale()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCIQuotaRispettoPianoStradale(c.QuotaDaPianoStrad, c.TipologEdiliziaImmob, m_window->coefficients);
}

void ValueOps::CalcolaCIDimensioneSpaziAccessori()
{
    brevan::CalcolaCIDimensioneSpaziAccessori(characteristics().SuperfAccessorie, m_window->coefficients);
}

void ValueOps::CalcolaCIGradoRifinituraInterno()
{
    brevan::CalcolaCIGradoRifinituraInterno(characteristics().GradoRifinitInt, m_window->coefficients);
}

void ValueOps::CalcolaCIGradoRifinituraEsterno()
{
    brevan::CalcolaCIGradoRifinituraEsterno(characteristics().GradoRifinitExt, m_window->coefficients);
}

void ValueOps::CalcolaCILivelloTecnologicoImpianti()
{
    brevan::CalcolaCILivelloTecnologicoImpianti(characteristics().LivImpiantiTecnol, m_window->coefficients);
}

void ValueOps::CalcolaCIStatoConservazInterno()
{
    brevan::CalcolaCIStatoConservazInterno(characteristics().StatoConservInt, m_window->coefficients);
}

void ValueOps::CalcolaCIStatoConservazEsterno()
{
    brevan::CalcolaCIStatoConservazEsterno(characteristics().StatoConservExt, m_window->coefficients);
}

void ValueOps::CalcolaCIVetustaEdificio()
{
    guarded([this] {
        brevan::CalcolaCIVetustaEdificio(characteristics().EtaEdificioImmob, m_window->coefficients);
    });
}

void ValueOps::CalcolaCICaratteristProduttive()
{
    brevan::CalcolaCICaratteristProduttive(surface(), m_window->coefficients);
}

void ValueOps::ComparazIndirettaCalcoloCoeff()
{
    guarded([this] {
        brevan::ComparazIndirettaCalcoloCoeff(characteristics(), m_window->coefficients);
    });
}

void ValueOps::CalcolaSaggioCapitalizzazione()
{
    guarded([this] {
        brevan::CalcolaSaggioCapitalizzazione(characteristics(), m_window->localisationPage->averageRateEdit->text(),
                                              m_window->incomePage->netIncomeEdit->text(), m_window->coefficients);
    });
}

void ValueOps::CalcolaCIValoreMercato()
{
    computeIncomeValue(Stale::Leave);
}

void ValueOps::computeIncomeValue(Stale stale)
{
    IncomeValue value;
    const bool computed = guarded([&] {
        value = brevan::CalcolaCIValoreMercato(characteristics(), m_window->localisationPage->averageRateEdit->text(),
                                               m_window->incomePage->netIncomeEdit->text(), m_window->coefficients);
    });
    if (!computed && stale == Stale::Leave)
        return;
    apply(m_window->resultsPage->incomeTotalEdit, value.total, stale);
    apply(m_window->resultsPage->incomeUnitEdit, value.unit, stale);
}

void ValueOps::SetHintRisultatiStima()
{
    const ResultHints hints = brevan::SetHintRisultatiStima(currency().ValutaCorrente);
    ui::ResultsPage *r = m_window->resultsPage;
    ui::setHint(r->comparisonUnitEdit, hints.unitByComparison);
    ui::setHint(r->incomeUnitEdit, hints.unitByIncome);
    ui::setHint(r->comparisonTotalEdit, hints.totalByComparison);
    ui::setHint(r->incomeTotalEdit, hints.totalByIncome);
}

// --- Comparison coefficients -------------------------------------------------

void ValueOps::CalcolaCDLuminosita()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDLuminosita(c.Luminosita, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDPanoramicita()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDPanoramicita(c.Panoramicita, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDEsposizione()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDEsposizione(c.Esposizione, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDProspicienza()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDProspicienza(c.Prospicienza, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDQuotaRispettoPianoStradale()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDQuotaRispettoPianoStradale(c.QuotaDaPianoStrad, c.TipologEdiliziaImmob, c.zone,
                                                m_window->coefficients);
}

void ValueOps::CalcolaCDGradoRifinituraInterno()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDGradoRifinituraInterno(c.GradoRifinitInt, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDGradoRifinituraEsterno()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDGradoRifinituraEsterno(c.GradoRifinitExt, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDStatoConservazInterno()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDStatoConservazInterno(c.StatoConservInt, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDStatoConservazEsterno()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDStatoConservazEsterno(c.StatoConservExt, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDLivelloTecnologicoImpianti()
{
    const Characteristics c = characteristics();
    brevan::CalcolaCDLivelloTecnologicoImpianti(c.LivImpiantiTecnol, c.zone, m_window->coefficients);
}

void ValueOps::CalcolaCDVetustaEdificio()
{
    guarded([this] {
        const Characteristics c = characteristics();
        brevan::CalcolaCDVetustaEdificio(c.EtaEdificioImmob, c.zone, m_window->coefficients);
    });
}

void ValueOps::CalcolaCDValoreMercato()
{
    computeComparisonValue(Stale::Leave);
}

void ValueOps::computeComparisonValue(Stale stale)
{
    DirectComparison value;
    const bool computed = guarded([&] {
        value = brevan::CalcolaCDValoreMercato(characteristics(), comparables(), m_window->coefficients);
    });
    if (!computed && stale == Stale::Leave)
        return;
    apply(m_window->resultsPage->comparisonUnitEdit, value.unit, stale);
    apply(m_window->resultsPage->comparisonTotalEdit, value.total, stale);
    showComparisonNote(comparisonNote(value));
}

void ValueOps::SetHintImmobiliConfronto()
{
    const ComparableHints hints = brevan::SetHintImmobiliConfronto(currency().ValutaCorrente);
    ui::setHint(m_window->comparablesPage->unitCostEdit, hints.unitCost);
    ui::setHint(m_window->comparablesPage->totalCostEdit, hints.totalCost);
}

// --- Lire and Euro -------------------------------------------------------------

void ValueOps::ConversioneSpeseLiraEuro(double factor)
{
    ui::IncomePage *p = m_window->incomePage;
    // One pair at a time, each read as it stands when its turn comes: every
    // converted amount recomputes the net income, which may empty the others.
    for (int i = 0; i < 6; ++i) {
        QLineEdit *shown = p->expenseEdit(i);
        QLineEdit *shadow = p->expenseShadowEdits[i];
        const AmountPair converted = convertPair(shown->text(), shadow->text(), factor);
        shadow->setText(converted.shadow);
        shown->setText(converted.shown);
    }
}

void ValueOps::ConvertiValutaImmobiliConfronto(double factor)
{
    ui::ComparablesPage *page = m_window->comparablesPage;
    ui::TableModel *model = page->model();
    // A cost typed into the editors and not yet posted is converted with the
    // others rather than lost when the rows are read again.
    if (page->hasPendingEdit())
        page->postEdits();
    const QString path = model->isOpen() ? model->tableFile() : dataPath(kImmConfr);
    if (path.isEmpty() || !Table::exists(path))
        return;
    const int current = page->currentRow();
    const bool reopen = model->isOpen();
    model->close();
    try {
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
    } catch (...) {
        if (reopen)
            model->reload();
        throw;
    }
    if (reopen) {
        model->reload();
        if (current >= 0 && current < model->rowCount())
            page->selection()->setCurrentIndex(model->index(current, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

void ValueOps::SpeedButtonLireEuroClick(QToolButton *clicked)
{
    const bool toEuro = clicked == m_window->euroButton;
    CurrencyState &state = currency();
    // The buttons allow one direction only; a second switch the same way would
    // convert the amounts twice.
    if (toEuro == state.euroInForce())
        return;
    RecalculationPause pause;
    ui::IncomePage *p = m_window->incomePage;

    m_window->lireButton->setEnabled(toEuro);
    m_window->euroButton->setEnabled(!toEuro);
    if (toEuro)
        state.setEuro();
    else
        state.setLire();
    // Kept apart from FattoreValuta, which the rent lookup also sets.
    const double factor = state.FattoreValuta;

    guarded([&] {
        if (p->midRentEdit->text() != QStringLiteral("0")) {
            for (QLineEdit *e : {p->midRentEdit, p->minRentEdit, p->maxRentEdit}) {
                if (const auto v = referenceRentIn(e->text()))
                    e->setText(FloatToText(*v * factor));
            }
            if (const auto middle = referenceRentIn(p->midRentEdit->text()))
                p->unitRentEdit->setText(FormattaImporto(*middle));
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
        m_window->resultsPage->comparisonUnitEdit->clear();
        m_window->resultsPage->comparisonTotalEdit->clear();
    }
    if (m_window->selectedNode() == kResultsNode)
        Q_EMIT CalcolaRiepilogoInformazioniRequested();
    Q_EMIT SetHintRedditoLordoNettoRequested();
    Q_EMIT SetHintSpeseRequested();
    SetHintImmobiliConfronto();
    SetHintRisultatiStima();
}

} // namespace brevan::app
