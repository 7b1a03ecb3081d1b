// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 3, the unit and its building, with the photograph and the plan of the area.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

constexpr double kPage3Picture = 270;
constexpr double kPage3PictureX = kContentWidth - kPage3Picture;

class UnitPage : public RowsPage {
public:
    UnitPage()
        : RowsPage(3,
                   {
                       {"Indirizzo:",
                        [](const ReportInput &in) {
                            const QString a = in.text(QStringLiteral("IndirizzoImmob"));
                            return a.isEmpty() ? QString() : a + QStringLiteral(", ") + in.text(QStringLiteral("NumCivicoImmob"));
                        }},
                       {"Comune:", field("ComuneImmob")},
                       {"C.A.P.:", field("CAPImmob")},
                       {"Provincia:", fields({"ProvinciaImmob", "SiglaProvinciaImmob"}, " - ")},
                       {"Tipologia edilizia:", field("TipologEdiliziaImmob")},
                       {"Totale piani:", field("TotPianiImmob")},
                       {"Piano:", withSuffix("PianoImmob", "°")},
                       {"Interno:", field("InternoImmob")},
                       {"Data stima:",
                        [](const ReportInput &in) {
                            return in.appraisalDate.isValid() ? italian().toString(in.appraisalDate, QStringLiteral("d MMMM yyyy"))
                                                              : QString();
                        }},
                       {"Anno di costruz. o ristrutturaz. totale:", field("AnnoCostruzImmob")},
                       {"Età dell'edificio:", field("EtaEdificioImmob")},
                       {"Foglio catastale:", field("FoglioCatastImmob")},
                       {"Mappale catastale:", field("MappaleCatastImmob")},
                       {"Subalterno:", field("SubCatastImmob")},
                       {"Categoria:", field("CategCatastImmob")},
                       {"Classe:", field("ClasseCatastImmob")},
                       {"Consistenza:", field("ConsistCatastImmob")},
                   },
                   175, kPage3PictureX - 12)
    {
    }
    void reset() override
    {
        RowsPage::reset();
        m_photo = QImage();
        m_areaPlan = QImage();
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        const double top = rp.y;
        paintRows(rp);
        double y = top;
        for (const auto &[caption, image] : {std::pair{QStringLiteral("Illustrazione fotografica"), &m_photo},
                                             std::pair{QStringLiteral("Planimetria di zona"), &m_areaPlan}}) {
            const double h = rp.text(QRectF(kPage3PictureX, y, kPage3Picture, 0), Qt::AlignHCenter, labelFont(), kNavy, caption);
            // Stretched over the frame, as the picture pages stretch them.
            rp.picture(QRectF(kPage3PictureX, y + h + 4, kPage3Picture, kPage3Picture), *image,
                       ReportPainter::Fit::Stretch);
            y += h + 4 + kPage3Picture + 24;
        }
    }

protected:
    bool condition(const ReportInput &in) const override
    {
        return in.lightNotEmpty(2) || in.lightNotEmpty(3) || in.lightNotEmpty(4);
    }
    void fillValues(const ReportInput &in) override
    {
        RowsPage::fillValues(in);
        m_photo = preparedPicture(in.photo, kPage3Picture, ReportPainter::Fit::Stretch);
        m_areaPlan = preparedPicture(in.areaPlan, kPage3Picture, ReportPainter::Fit::Stretch);
    }

private:
    QImage m_photo, m_areaPlan;
};

} // namespace

std::unique_ptr<ReportPage> makeUnitPage()
{
    return std::make_unique<UnitPage>();
}

} // namespace brevan::report
