// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 13, "Quotazioni OMI": the quotation used, the band on the
// unit's surface, K1, K2, K and the valore normale, the appraisal's values
// placed on the band, and the band drawn with the values marked.
#include "report/omicontent.h"
#include "report/reportkit.h"

#include <QPainter>

#include <algorithm>

namespace brevan::report {

namespace {

constexpr double kLabelWidth = 190;

class OmiPage : public ReportPage {
public:
    OmiPage() : ReportPage(kOmiPage) {}
    void reset() override
    {
        m_outcome.reset();
        m_date = {};
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        if (!m_outcome)
            return;
        const QFont label = arial(10, true, false);
        const QFont value = arial(10, false, false);
        for (const OmiLine &line : omiLines(*m_outcome, m_date)) {
            const QColor colour = line.warning ? QColor(192, 0, 0) : QColor(Qt::black);
            double h = 0;
            if (line.label.isEmpty()) {
                h = rp.text(QRectF(0, rp.y, kContentWidth, 0), Qt::AlignLeft, arial(9, false, true), colour,
                            line.value);
            } else {
                // A label that wraps makes the row as tall as it is.
                const double labelHeight =
                    rp.text(QRectF(0, rp.y, kLabelWidth - 8, 0), Qt::AlignLeft, label, kNavy, line.label + u':');
                h = std::max(labelHeight, rp.text(QRectF(kLabelWidth, rp.y, kContentWidth - kLabelWidth, 0),
                                                  Qt::AlignLeft, value, colour, line.value));
            }
            rp.y += h + 6;
        }
        rp.y += kGroupGap;
        const QFont drawing = arial(8.5, false, false);
        const double height = omiBandHeight(drawing, int(m_outcome->values.size()));
        if (rp.y + height > rp.height()) {
            rp.newPage();
            rp.band(title());
        }
        paintOmiBand(rp.p, QRectF(0, rp.y, kContentWidth, height), *m_outcome, drawing);
        rp.y += height + kGroupGap;
        rp.text(QRectF(0, rp.y, kContentWidth, 0), Qt::AlignLeft, arial(8, false, true), QColor(80, 80, 80),
                QStringLiteral("Dati delle quotazioni: Agenzia Entrate - OMI."));
    }

protected:
    bool condition(const ReportInput &in) const override { return in.omi && in.omi->hasBand(); }
    void fillValues(const ReportInput &in) override
    {
        m_outcome = in.omi;
        m_date = in.appraisalDate;
    }

private:
    std::optional<omiband::Outcome> m_outcome;
    QDate m_date;
};

} // namespace

std::unique_ptr<ReportPage> makeOmiPage()
{
    return std::make_unique<OmiPage>();
}

} // namespace brevan::report
