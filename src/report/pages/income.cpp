// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 7, the productive characteristics.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

class IncomePage : public RowsPage {
public:
    IncomePage()
        : RowsPage(7,
                   {
                       {"Canone mensile di locazione unitario:", withCurrency("CanoneLocazUnit")},
                       {"Numero mensilità richieste in cauzione:", field("NumCauzioni")},
                       {"Saggio d'interesse commerciale:", withSuffix("SaggioCommerciale", " %")},
                       {"Saggio d'interesse legale:", withSuffix("SaggioLegale", " %")},
                       {"Spese di manutenzione:", withCurrency("SpeseManutenzione"), true},
                       {"Spese per servizi e amministrazione:", withCurrency("SpeseAmministraz")},
                       {"Alee per sfitti e inesigibilità:", withCurrency("AleeSfitti")},
                       {"Spese per assicurazioni:", withCurrency("SpeseAssicurazioni")},
                       {"Aliquote di ammortamento:", withCurrency("AliquoteAmmortam")},
                       {"Aliquote per imposte e tasse:", withCurrency("AliquoteTasse")},
                       {"Reddito lordo annuo:", withCurrency("RedditoLordoAnnuo"), true},
                       {"Reddito netto annuo:", withCurrency("RedditoNettoAnnuo")},
                   },
                   340, kContentWidth)
    {
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        paintRows(rp);
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(10); }
};

} // namespace

std::unique_ptr<ReportPage> makeIncomePage()
{
    return std::make_unique<IncomePage>();
}

} // namespace brevan::report
