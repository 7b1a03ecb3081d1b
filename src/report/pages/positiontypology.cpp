// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 6, the position and typological characteristics.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

const char *const kPositionJudgments[] = {"Luminosita", "Panoramicita", "Esposizione",
                                          "Prospicienza", "QuotaDaPianoStrad", "SuperfAccessorie"};
const char *const kTypologyJudgments[] = {"StatoConservInt", "StatoConservExt", "GradoRifinitInt",
                                          "GradoRifinitExt", "PresImpiantiTecnol", "LivImpiantiTecnol"};

// Left column, then right column.
const MarkDef kPlants[7] = {
    {"AntennaCentralizz", "Antenna centralizzata"}, {"CancelloAutomatico", "Cancello automatico"},
    {"RiservaIdrica", "Riserva idrica"},            {"Portineria", "Portineria"},
    {"Ascensore", "Ascensore"},                     {"Riscaldamento", "Riscaldamento"},
    {"ImpElettrANorma", "Impianto elettrico a norma di legge"},
};

class PositionTypologyPage : public RowsPage {
public:
    PositionTypologyPage()
        : RowsPage(6,
                   {
                       {"Luminosità:", field("Luminosita")},
                       {"Panoramicità:", field("Panoramicita")},
                       {"Esposizione:", field("Esposizione")},
                       {"Prospicienza:", field("Prospicienza")},
                       {"Quota rispetto al piano stradale:", field("QuotaDaPianoStrad")},
                       {"Valutazione degli spazi accessori:", field("SuperfAccessorie")},
                       {"Stato di conservazione interno:", field("StatoConservInt")},
                       {"Stato di conservazione esterno:", field("StatoConservExt")},
                       {"Grado di rifinitura interno:", field("GradoRifinitInt")},
                       {"Grado di rifinitura esterno:", field("GradoRifinitExt")},
                       {"Presenza di impianti tecnologici:", field("PresImpiantiTecnol")},
                       {"Livello tecnologico degli impianti:", field("LivImpiantiTecnol")},
                   },
                   300, kContentWidth)
    {
        reset();
    }
    void reset() override
    {
        RowsPage::reset();
        m_ticked.fill(false);
        for (std::size_t i = 0; i < 7; ++i)
            m_captions[i] = QString::fromUtf8(kPlants[i].caption);
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        paintRows(rp);
        rp.y += kGroupGap;
        rp.text(QRectF(0, rp.y, kContentWidth, 0), Qt::AlignLeft, labelFont(), kNavy,
                QStringLiteral("Impianti tecnologici di base:"));
        rp.y += kRowPitch + 6;
        const double top = rp.y;
        const double width = kContentWidth / 2;
        double bottom = top;
        for (std::size_t i = 0; i < 7; ++i) {
            const int column = i < 4 ? 0 : 1;
            if (i == 0 || i == 4)
                rp.y = top;
            rp.y += rp.mark(column * width, rp.y, width, m_captions[i], m_ticked[i]);
            bottom = std::max(bottom, rp.y);
        }
        rp.y = bottom;
    }

protected:
    bool condition(const ReportInput &in) const override
    {
        for (const char *n : kPositionJudgments) {
            if (!in.text(QLatin1String(n)).isEmpty())
                return true;
        }
        for (const char *n : kTypologyJudgments) {
            if (!in.text(QLatin1String(n)).isEmpty())
                return true;
        }
        for (const MarkDef &m : kPlants) {
            if (in.tick(QLatin1String(m.field)))
                return true;
        }
        return false;
    }
    void fillValues(const ReportInput &in) override
    {
        RowsPage::fillValues(in);
        for (std::size_t i = 0; i < 7; ++i) {
            const QString name = QLatin1String(kPlants[i].field);
            m_ticked[i] = in.tick(name);
            if (!m_ticked[i])
                continue;
            if (name == QLatin1String("Ascensore"))
                m_captions[i] = QStringLiteral("Ascensore (") + in.text(QStringLiteral("AscensoreTipo")) + QStringLiteral(")");
            else if (name == QLatin1String("Riscaldamento"))
                m_captions[i] = QStringLiteral("Riscaldamento (") + in.text(QStringLiteral("RiscaldamentoTipo")) + QStringLiteral(")");
        }
    }

private:
    std::array<bool, 7> m_ticked{};
    std::array<QString, 7> m_captions;
};

} // namespace

std::unique_ptr<ReportPage> makePositionTypologyPage()
{
    return std::make_unique<PositionTypologyPage>();
}

} // namespace brevan::report
