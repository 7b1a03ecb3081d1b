// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 5, the localisation characteristics.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

// Read down each column: three columns of five.
const MarkDef kServices[kFacilityCount] = {
    {"ScuoleObbligo", "Scuole dell'obbligo"},      {"IstitutiSuperiori", "Istituti superiori"},
    {"FacoltaUniversit", "Facoltà universitarie"}, {"MensaUniversit", "Mensa universitaria"},
    {"MercatoCivico", "Mercato civico"},           {"Supermercati", "Supermercati"},
    {"GrandiMagazzini", "Grandi magazzini"},       {"CentriCommerciali", "Centri commerciali"},
    {"ParcheggiPubblici", "Parcheggi pubblici"},   {"PercorsiLineeCTM", "Percorsi linee CTM"},
    {"StruttureSanitarie", "Strutture sanitarie"}, {"ImpiantiSportivi", "Impianti sportivi"},
    {"UfficiPostali", "Uffici postali"},           {"LuoghiDiCulto", "Luoghi di culto"},
    {"LocaliSpettacolo", "Locali di spettacolo"},
};

class LocalisationPage : public RowsPage {
public:
    LocalisationPage()
        : RowsPage(5,
                   {
                       {"Dimensioni del centro urbano:",
                        firstTicked({{"PiccoleDimensImmob", "Piccole dimensioni"},
                                     {"MedieDimensImmob", "Medie dimensioni"},
                                     {"GrandiDimensImmob", "Grandi dimensioni"}})},
                       {"Ubicazione rispetto al centro urbano:",
                        firstTicked({{"ZonaCentrImmob", "Zona centrale"},
                                     {"ZonaIntermImmob", "Zona intermedia"},
                                     {"ZonaPeriferImmob", "Zona periferica"}})},
                       {"Zona urbana di appartenenza:", field("ZonaUrbanaImmob")},
                       {"Distanza da via o piazza principale:", field("DistanzaViaPrincip")},
                       {"Servizio di trasporto pubblico:", field("ServTraspPubblico")},
                       {"Qualificazione dell'ambiente esterno:", field("QualifAmbienteExt")},
                       {"Idoneità insediativa:", field("IdoneitaInsediat")},
                       {"Previsione di miglioramenti ambientali:", field("MiglioramAmbiente")},
                       {"Giudizio sul livello di inquinamento:", field("InquinamAmbiente")},
                       {"Giudizio sulla presenza di aree verdi:", field("VerdePubblico")},
                       {"Disponibilità di aree di sosta:", field("DisponibAreeSosta")},
                   },
                   330, kContentWidth)
    {
    }
    void reset() override
    {
        RowsPage::reset();
        m_ticked.fill(false);
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        paintRows(rp);
        rp.y += kGroupGap;
        rp.text(QRectF(0, rp.y, kContentWidth, 0), Qt::AlignLeft, labelFont(), kNavy,
                QStringLiteral("Attrezzature collettive a distanza pedonale:"));
        rp.y += kRowPitch + 6;
        const double top = rp.y;
        const double width = kContentWidth / 3;
        double bottom = top;
        for (int i = 0; i < kFacilityCount; ++i) {
            const int column = i / 5;
            if (i % 5 == 0)
                rp.y = top;
            rp.y += rp.mark(column * width, rp.y, width, QString::fromUtf8(kServices[i].caption), m_ticked[std::size_t(i)]);
            bottom = std::max(bottom, rp.y);
        }
        rp.y = bottom;
    }

protected:
    bool condition(const ReportInput &in) const override
    {
        if (in.lightNotEmpty(7))
            return true;
        for (const char *n : {"InquinamAmbiente", "VerdePubblico", "DisponibAreeSosta"}) {
            if (!in.text(QLatin1String(n)).isEmpty())
                return true;
        }
        for (const MarkDef &m : kServices) {
            if (in.tick(QLatin1String(m.field)))
                return true;
        }
        return false;
    }
    void fillValues(const ReportInput &in) override
    {
        RowsPage::fillValues(in);
        for (int i = 0; i < kFacilityCount; ++i)
            m_ticked[std::size_t(i)] = in.tick(QLatin1String(kServices[i].field));
    }

private:
    std::array<bool, kFacilityCount> m_ticked{};
};

} // namespace

std::unique_ptr<ReportPage> makeLocalisationPage()
{
    return std::make_unique<LocalisationPage>();
}

} // namespace brevan::report
