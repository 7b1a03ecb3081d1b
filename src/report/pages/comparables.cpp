// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 8, the comparables.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

constexpr double kPage8LabelWidth = 400;

class ComparablesPage : public ReportPage {
public:
    ComparablesPage() : ReportPage(8) {}
    void reset() override { m_columns = {}; }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        flowColumns(rp, m_columns, {0, kPage8LabelWidth, &labelFont(), kNavy, Qt::AlignLeft},
                    {kPage8LabelWidth + 8, kContentWidth - kPage8LabelWidth - 8, &valueFont(), Qt::black, Qt::AlignLeft},
                    title());
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(11); }
    void fillValues(const ReportInput &in) override { m_columns = comparableColumns(in.comparables, in.currency); }

private:
    Columns m_columns;
};

} // namespace

std::unique_ptr<ReportPage> makeComparablesPage()
{
    return std::make_unique<ComparablesPage>();
}

} // namespace brevan::report
