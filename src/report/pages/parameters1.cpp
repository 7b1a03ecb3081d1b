// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 9, the first page of the comparison parameters.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

class ParametersPage1 : public ReportPage {
public:
    ParametersPage1() : ReportPage(9) {}
    void reset() override
    {
        m_comparison.clear();
        m_capitalisation.clear();
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        rangeHeads(rp, QStringLiteral("Comparazione diretta:"));
        for (const RangeLine &l : m_comparison)
            rangeRow(rp, l.label, l.minimum, l.maximum, l.computed);
        rp.y += kGroupGap + 6;
        rangeHeads(rp, QStringLiteral("Capitalizzazione dei redditi."));
        for (const RangeLine &l : m_capitalisation)
            rangeRow(rp, l.label, l.minimum, l.maximum, l.computed);
    }

protected:
    bool condition(const ReportInput &) const override { return true; }
    void fillValues(const ReportInput &in) override
    {
        double total = 0;
        for (const RangeRow &r : comparisonRanges()) {
            const bool isTotal = r.coefficient == Coef::SaggioCapitalizzaz;
            const double v = isTotal ? total : in.coefficients[r.coefficient];
            total += isTotal ? 0 : v;
            m_comparison.append({QString::fromUtf8(r.label), QString::fromUtf8(r.minimum), QString::fromUtf8(r.maximum), percent(v)});
        }
        m_capitalisation = capitalisationLines(capitalisationRangesPage9(), in.coefficients);
    }

private:
    QVector<RangeLine> m_comparison, m_capitalisation;
};

} // namespace

std::unique_ptr<ReportPage> makeParametersPage1()
{
    return std::make_unique<ParametersPage1>();
}

} // namespace brevan::report
