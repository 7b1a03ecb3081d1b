// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 10, the second page of the comparison parameters.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

class ParametersPage2 : public ReportPage {
public:
    ParametersPage2() : ReportPage(10) {}
    void reset() override
    {
        m_capitalisation.clear();
        m_averageRate.clear();
        m_computedRate.clear();
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        rangeHeads(rp, QStringLiteral("Capitalizzazione dei redditi."));
        for (const RangeLine &l : m_capitalisation)
            rangeRow(rp, l.label, l.minimum, l.maximum, l.computed);
        if (m_averageRate.isEmpty())
            return;
        rp.y += kGroupGap;
        rangeRow(rp, QStringLiteral("Saggio medio di capitalizzazione:"), {}, {}, m_averageRate);
        rangeRow(rp, QStringLiteral("Saggio di capitalizzazione calcolato:"), {}, {}, m_computedRate);
    }

protected:
    bool condition(const ReportInput &) const override { return true; }
    void fillValues(const ReportInput &in) override
    {
        m_capitalisation = capitalisationLines(capitalisationRangesPage10(), in.coefficients);
        const QString average = in.text(QStringLiteral("SaggioMedioImmob"));
        if (!average.isEmpty() && !in.text(QStringLiteral("RedditoNettoAnnuo")).isEmpty()) {
            m_averageRate = average + QStringLiteral(" %");
            m_computedRate = percent(in.coefficients[Coef::SaggioCapitalizzaz]);
        }
    }

private:
    QVector<RangeLine> m_capitalisation;
    QString m_averageRate, m_computedRate;
};

} // namespace

std::unique_ptr<ReportPage> makeParametersPage2()
{
    return std::make_unique<ParametersPage2>();
}

} // namespace brevan::report
