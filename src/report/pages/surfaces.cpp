// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 4, the surfaces, with the plan of the unit.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

constexpr double kPage4Picture = 290;
constexpr double kPage4RightX = kContentWidth - kPage4Picture;

class SurfacesPage : public ReportPage {
public:
    SurfacesPage() : ReportPage(4) {}
    void reset() override
    {
        m_columns = {};
        m_plan = QImage();
        m_useful.clear();
        m_conventional.clear();
        m_commercial.clear();
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        const double top = rp.y;
        // Right half first: the columns on the left may run on to further pages.
        double y = top;
        y += rp.text(QRectF(kPage4RightX, y, kPage4Picture, 0), Qt::AlignHCenter, labelFont(), kNavy,
                     QStringLiteral("Planimetria dell'immobile")) + 4;
        rp.picture(QRectF(kPage4RightX, y, kPage4Picture, kPage4Picture), m_plan, ReportPainter::Fit::KeepProportions);
        rp.y = y + kPage4Picture + 24;
        const std::pair<QString, const QString *> surfaces[] = {
            {QStringLiteral("Superficie utile:"), &m_useful},
            {QStringLiteral("Superficie convenzionale:"), &m_conventional},
            {QStringLiteral("Superficie commerciale:"), &m_commercial}};
        double labelsWidth = 0;
        for (const auto &[label, value] : surfaces)
            labelsWidth = std::max(labelsWidth, QFontMetricsF(labelFont()).horizontalAdvance(label));
        for (const auto &[label, value] : surfaces)
            labelValueRow(rp, kPage4RightX, kPage4RightX + labelsWidth + 8, kContentWidth, label, *value, true);

        rp.y = top;
        rp.text(QRectF(0, rp.y, kPage4RightX - 12, 0), Qt::AlignLeft, labelFont(), kNavy,
                QStringLiteral("Descrizione delle superfici:"));
        rp.y += kRowPitch + 6;
        const double columnsRight = kPage4RightX - 16;
        flowColumns(rp, m_columns, {0, columnsRight - 110, &valueFont(), Qt::black, Qt::AlignLeft},
                    {columnsRight - 110, 110, &valueFont(), Qt::black, Qt::AlignRight}, {});
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(6) || in.lightNotEmpty(5); }
    void fillValues(const ReportInput &in) override
    {
        m_columns = surfaceColumns(in.surfaces);
        m_plan = preparedPicture(in.unitPlan, kPage4Picture, ReportPainter::Fit::KeepProportions);
        m_useful = in.usefulShown;
        m_conventional = in.conventionalShown;
        m_commercial = in.commercialShown;
    }

private:
    Columns m_columns;
    QImage m_plan;
    QString m_useful, m_conventional, m_commercial;
};

} // namespace

std::unique_ptr<ReportPage> makeSurfacesPage()
{
    return std::make_unique<SurfacesPage>();
}

} // namespace brevan::report
