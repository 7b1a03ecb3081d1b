// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 2, the appraiser.
#include "report/reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>

namespace brevan::report {

namespace {

class AppraiserPage : public RowsPage {
public:
    AppraiserPage()
        : RowsPage(2,
                   {
                       {"Cognome e Nome:", fields({"CognomeProfess", "NomeProfess"}, " ")},
                       {"Codice fiscale:", field("CodiceFiscaleProfess")},
                       {"Professione:", field("ProfessioneProfess"), true},
                       {"N° d'iscrizione all'Albo:", field("NumIscrizAlboProfess")},
                       {"Partita IVA:", field("PartitaIvaProfess")},
                       {"Società / Studio:", field("SocietaProfess"), true},
                       {"Indirizzo:", fields({"IndirizzoProfess", "NumCivicoProfess"}, ", ")},
                       {"Comune:", fields({"ComuneProfess", "CAPProfess", "SiglaProvinciaProfess"}, " - ")},
                       {"Telefono:", field("TelefonoProfess"), true},
                       {"Fax:", field("FaxProfess")},
                       {"Cellulare:", field("CellulareProfess")},
                       {"E-mail:", field("EMailProfess")},
                   },
                   230, kContentWidth)
    {
    }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        paintRows(rp);
    }

protected:
    bool condition(const ReportInput &in) const override { return in.lightNotEmpty(1); }
};

} // namespace

std::unique_ptr<ReportPage> makeAppraiserPage()
{
    return std::make_unique<AppraiserPage>();
}

} // namespace brevan::report
