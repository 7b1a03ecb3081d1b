// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 11, the results.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

class ResultsPage : public RowsPage {
public:
    ResultsPage()
        : RowsPage(11,
                   {
                       {"Valore unitario:", withCurrency("CostoUnitario", "/mq")},
                       {"Valore complessivo:", withCurrency("CostoComplessivo")},
                       {"Valore unitario:", withCurrency("CICostoUnitario", "/mq")},
                       {"Valore complessivo:", withCurrency("CICostoComplessivo")},
                   },
                   260, kContentWidth)
    {
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        const char *groups[] = {"Stima per comparazione diretta.", "Stima per capitalizzazione dei redditi."};
        for (std::size_t g = 0; g < 2; ++g) {
            if (g > 0)
                rp.y += kGroupGap + 6;
            groupCaption(rp, QString::fromUtf8(groups[g]));
            for (std::size_t i = g * 2; i < g * 2 + 2; ++i)
                labelValueRow(rp, 24, m_valueX, m_right, QString::fromUtf8(m_rules[i].label), m_values[i], true);
        }
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(12); }
};


} // namespace

std::unique_ptr<ReportPage> makeResultsPage()
{
    return std::make_unique<ResultsPage>();
}

} // namespace brevan::report
