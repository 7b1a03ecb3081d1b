// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 1, the cover.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

class CoverPage : public ReportPage {
public:
    CoverPage() : ReportPage(1) { reset(); }

    void reset() override
    {
        m_date.clear();
        m_town = QStringLiteral("Comune di");
        m_object.clear();
        m_appraiser.clear();
    }

    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        rp.text(QRectF(0, 56, kContentWidth, 0), Qt::AlignRight, arial(10, false, true), Qt::black, m_date);
        rp.text(QRectF(0, 230, kContentWidth, 0), Qt::AlignHCenter, arial(25, true, false), Qt::black, m_town);
        rp.text(QRectF(0, 380, kContentWidth, 0), Qt::AlignLeft, arial(16, true, false), kNavy, QStringLiteral("Oggetto:"));
        // The object text wraps in a tall box.
        rp.text(QRectF(0, 420, kContentWidth, 200), Qt::AlignLeft, arial(16, false, true), Qt::black, m_object);
        rp.text(QRectF(0, 700, kContentWidth, 0), Qt::AlignLeft, arial(16, true, true), kNavy, QStringLiteral("Il tecnico:"));
        rp.text(QRectF(0, 745, kContentWidth, 0), Qt::AlignHCenter, arial(16, false, true), Qt::black, m_appraiser);
    }

protected:
    bool condition(const ReportInput &) const override { return true; }
    void fillValues(const ReportInput &in) override
    {
        m_date = italian().toString(in.today, QStringLiteral("dddd d MMMM yyyy"));
        const QString town = in.text(QStringLiteral("ComuneImmob"));
        if (!town.isEmpty())
            m_town = QStringLiteral("Comune di ") + town;
        QString object;
        if (!in.text(QStringLiteral("IndirizzoImmob")).isEmpty())
            object = QStringLiteral("Stima dell'immobile sito in ") + in.text(QStringLiteral("IndirizzoImmob"))
                     + QStringLiteral(" ") + in.text(QStringLiteral("NumCivicoImmob"));
        const QString floor = in.text(QStringLiteral("PianoImmob"));
        const QString internal = in.text(QStringLiteral("InternoImmob"));
        if (!floor.isEmpty() && !internal.isEmpty())
            object += QStringLiteral(", Piano ") + floor + QStringLiteral("°, Interno ") + internal;
        m_object = object;
        m_appraiser = joinedAll(in, {"NomeProfess", "CognomeProfess"}, QStringLiteral(" "));
    }

private:
    QString m_date, m_town, m_object, m_appraiser;
};

} // namespace

std::unique_ptr<ReportPage> makeCoverPage()
{
    return std::make_unique<CoverPage>();
}

} // namespace brevan::report
