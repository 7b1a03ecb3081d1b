// SPDX-License-Identifier: GPL-2.0-or-later
#include "descriptionwork.h"

#include "data/municipalities.h"
#include "engine/fields.h"
#include "engine/incomework.h"
#include "model/currency.h"
#include "valuation/description.h"

namespace brevan::engine {

DescriptionWork::DescriptionWork(Fields &fields, Notices &notices, QObject *parent)
    : QObject(parent), m_fields(fields), m_notices(notices)
{
    fields.whenTextChanged(QStringLiteral("ClasseCatastImmob"), this, [this] { Edit19Change(); });
}

bool DescriptionWork::ImpostaEtaEdificio()
{
    try {
        const std::optional<QString> age =
            brevan::ImpostaEtaEdificio(m_fields.text(QStringLiteral("AnnoCostruzImmob")),
                                       m_fields.date(QStringLiteral("DataStimaImmob")).year());
        if (age)
            m_fields.setText(QStringLiteral("EtaEdificioImmob"), *age);
        return true;
    } catch (const std::exception &e) {
        m_notices.error(QString::fromUtf8(e.what()));
        return false;
    }
}

void DescriptionWork::GiudicaQuotaDalPianoStradale()
{
    try {
        const FloorJudgment j = brevan::GiudicaQuotaDalPianoStradale(m_fields.text(QStringLiteral("TotPianiImmob")),
                                                                     m_fields.text(QStringLiteral("PianoImmob")));
        if (!j.warning.isEmpty())
            m_notices.warning(j.warning);
        m_fields.setText(QStringLiteral("QuotaDaPianoStrad"), j.judgment);
        if (j.clearFloor)
            m_fields.setText(QStringLiteral("PianoImmob"), QString());
    } catch (const std::exception &e) {
        m_notices.error(QString::fromUtf8(e.what()));
    }
}

void DescriptionWork::Edit19Change()
{
    recalculateTaxes();
}

void DescriptionWork::recalculateTaxes()
{
    if (!currency().RicalcoloAttivo)
        return;
    m_fields.setText(expenseField(5), QString());
    Q_EMIT CalcolaSpeseImposteRequested();
}

void DescriptionWork::noteFormerMunicipality()
{
    // A municipality no longer in force is said even when the list of the
    // appraisal's date still offers it.
    if (const std::optional<FormerMunicipality> former = formerMunicipality(
            m_fields.text(QStringLiteral("ComuneImmob")), m_fields.text(QStringLiteral("SiglaProvinciaImmob"))))
        m_notices.note(formerMunicipalityNote(*former));
}

} // namespace brevan::engine
