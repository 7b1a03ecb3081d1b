// SPDX-License-Identifier: GPL-2.0-or-later
#include "characteristicswork.h"

#include "engine/fields.h"
#include "engine/incomework.h"
#include "model/currency.h"
#include "valuation/coefficients.h"
#include "valuation/judgments.h"

namespace brevan::engine {

namespace {

// The three options of the town's size.
struct TownOption {
    const char *field;
    TownSize size;
};
constexpr TownOption kTownOptions[] = {
    {"PiccoleDimensImmob", TownSize::Small},
    {"MedieDimensImmob", TownSize::Medium},
    {"GrandiDimensImmob", TownSize::Large},
};

constexpr const char *kCentralityOptions[] = {"ZonaCentrImmob", "ZonaIntermImmob", "ZonaPeriferImmob"};
// Ticked or cleared, each of these takes the administration expense afresh.
constexpr const char *kServiceTicks[] = {"Ascensore", "Riscaldamento", "Portineria"};

QString name(const char *field)
{
    return QString::fromLatin1(field);
}

} // namespace

CharacteristicsWork::CharacteristicsWork(Fields &fields, QObject *parent) : QObject(parent), m_fields(fields)
{
    for (const TownOption &o : kTownOptions) {
        fields.whenToggled(name(o.field), this, [this](bool on) {
            if (on)
                SetDimensioniCentroUrbano();
        });
    }
    // The centrality chooses the unit rent, whether the user or the zone
    // lookup selects it.
    for (const char *option : kCentralityOptions) {
        fields.whenToggled(name(option), this, [this](bool on) {
            if (on)
                Q_EMIT SetCanoneMensileDiLocazioneUnitarioRequested();
        });
    }
    // Ticked or cleared by the user or by the program alike.
    for (int i = 0; i < kFacilityCount; ++i)
        fields.whenToggled(facilityName(i), this, [this](bool) { Q_EMIT CalcolaCIValoreMercatoRequested(); });
    // The page itself sets the kind on a tick (its rule comes first); the
    // expenses follow.
    for (const char *tick : kServiceTicks)
        fields.whenToggled(name(tick), this, [this](bool) { AggiornaSpeseAmministrazione(); });
}

void CharacteristicsWork::SetDimensioniCentroUrbano()
{
    for (const TownOption &o : kTownOptions) {
        if (!m_fields.isChecked(name(o.field)))
            continue;
        const TownRate rate = brevan::SetDimensioniCentroUrbano(o.size);
        m_fields.setText(QStringLiteral("SaggioMedioImmob"), rate.rate);
        m_fields.setHint(QStringLiteral("SaggioMedioImmob"), rate.hint);
        return;
    }
}

void CharacteristicsWork::applyGradeHint(const char *field, int which)
{
    if (const auto hint = gradeExplanation(static_cast<GradedJudgment>(which), m_fields.text(name(field))))
        m_fields.setHint(name(field), *hint);
}

void CharacteristicsWork::SetHintStatoConservazInterno()
{
    applyGradeHint("StatoConservInt", int(GradedJudgment::StatoConservInt));
}

void CharacteristicsWork::SetHintStatoConservazEsterno()
{
    applyGradeHint("StatoConservExt", int(GradedJudgment::StatoConservExt));
}

void CharacteristicsWork::SetHintGradoRifinituraInterno()
{
    applyGradeHint("GradoRifinitInt", int(GradedJudgment::GradoRifinitInt));
}

void CharacteristicsWork::SetHintGradoRifinituraEsterno()
{
    applyGradeHint("GradoRifinitExt", int(GradedJudgment::GradoRifinitExt));
}

void CharacteristicsWork::StatoConservazEsternoChange()
{
    SetHintStatoConservazEsterno();
    if (currency().RicalcoloAttivo) {
        m_fields.clear(expenseField(0));
        Q_EMIT CalcolaSpeseManutenzioneRequested();
    }
    Q_EMIT CalcolaCIStatoConservazEsternoRequested();
}

namespace {

Fittings fittingsOf(const Fields &f)
{
    Fittings fit;
    fit.lift = f.isChecked(QStringLiteral("Ascensore"));
    fit.heating = f.isChecked(QStringLiteral("Riscaldamento"));
    fit.waterReserve = f.isChecked(QStringLiteral("RiservaIdrica"));
    fit.aerial = f.isChecked(QStringLiteral("AntennaCentralizz"));
    fit.gate = f.isChecked(QStringLiteral("CancelloAutomatico"));
    fit.wiring = f.isChecked(QStringLiteral("ImpElettrANorma"));
    fit.liftKind = f.text(QStringLiteral("AscensoreTipo"));
    fit.heatingKind = f.text(QStringLiteral("RiscaldamentoTipo"));
    return fit;
}

const QString kPlantsPresence = QStringLiteral("PresImpiantiTecnol");
const QString kPlantsLevel = QStringLiteral("LivImpiantiTecnol");

} // namespace

void CharacteristicsWork::GiudicaPresenzaImpiantiTecnologici()
{
    m_fields.setText(kPlantsPresence, brevan::GiudicaPresenzaImpiantiTecnologici(fittingsOf(m_fields)));
}

void CharacteristicsWork::GiudicaLivelloTecnologicoImpianti()
{
    const QString current = m_fields.text(kPlantsLevel);
    const QString level = brevan::GiudicaLivelloTecnologicoImpianti(fittingsOf(m_fields), current);
    if (level != current)
        m_fields.setText(kPlantsLevel, level);
}

void CharacteristicsWork::SetHintPresenzaImpiantiTecnologici()
{
    if (const auto hint = brevan::SetHintPresenzaImpiantiTecnologici(m_fields.text(kPlantsPresence)))
        m_fields.setHint(kPlantsPresence, *hint);
}

void CharacteristicsWork::SetHintLivelloTecnologicoImpianti()
{
    if (const auto hint = brevan::SetHintLivelloTecnologicoImpianti(m_fields.text(kPlantsLevel)))
        m_fields.setHint(kPlantsLevel, *hint);
}

void CharacteristicsWork::ComboBox28Change()
{
    GiudicaPresenzaImpiantiTecnologici();
    GiudicaLivelloTecnologicoImpianti();
    SetHintPresenzaImpiantiTecnologici();
    SetHintLivelloTecnologicoImpianti();
    AggiornaSpeseAmministrazione();
}

void CharacteristicsWork::AggiornaSpeseAmministrazione()
{
    if (!currency().RicalcoloAttivo)
        return;
    m_fields.clear(expenseField(1));
    Q_EMIT CalcolaSpeseAmministrazioneRequested();
}

} // namespace brevan::engine
