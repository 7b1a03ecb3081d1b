// SPDX-License-Identifier: GPL-2.0-or-later
#include "reportpages.h"
#include "reportkit.h"

#include "model/numbertext.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <functional>

namespace brevan::report {

// ---------------------------------------------------------------- tables

bool ReportInput::lightNotEmpty(int node) const
{
    return node >= 1 && node <= 12 && lights[std::size_t(node - 1)] != Light::Red;
}

QStringList choiceCaptions()
{
    return {
        QStringLiteral("Copertina"),
        QStringLiteral("Generalità del professionista"),
        QStringLiteral("Descrizione unità immobiliare"),
        QStringLiteral("Calcolo delle superfici"),
        QStringLiteral("Caratteristiche di localizzazione"),
        QStringLiteral("Caratteristiche di posizione e tipologiche"),
        QStringLiteral("Caratteristiche produttive"),
        QStringLiteral("Immobili di confronto"),
        QStringLiteral("Parametri di confronto"),
        QStringLiteral("Risultati della stima"),
    };
}

QString pageTitle(int page)
{
    if (page == kMcaPage)
        return QStringLiteral("Stima MCA");
    if (page == kOmiPage)
        return QStringLiteral("Quotazioni OMI");
    static const char *const titles[kPageCount] = {
        "Brevan 2.0",
        "Generalità del professionista",
        "Descrizione unità immobiliare",
        "Calcolo delle superfici",
        "Caratteristiche di localizzazione",
        "Caratteristiche di posizione e tipologiche",
        "Caratteristiche produttive",
        "Immobili di confronto",
        "Parametri di confronto",
        "Parametri di confronto",
        "Risultati della stima",
    };
    return page >= 1 && page <= kPageCount ? QString::fromUtf8(titles[page - 1]) : QString();
}

Choice choiceOfPage(int page)
{
    if (page <= 9)
        return static_cast<Choice>(page - 1);
    return page == 10 ? Choice::ParametriConfronto : Choice::RisultatiStima;
}

bool ReportSelection::any() const
{
    return std::any_of(on.begin(), on.end(), [](bool b) { return b; });
}

ReportSelection ReportSelection::none()
{
    ReportSelection s;
    s.on.fill(false);
    s.mca = false;
    s.omi = false;
    return s;
}

QVector<int> assembledPages(const ReportSelection &selection)
{
    QVector<int> pages;
    for (int page = 1; page <= kPageCount; ++page) {
        if (selection[choiceOfPage(page)])
            pages << page;
    }
    return pages;
}

Columns surfaceColumns(const QVector<SurfaceRow> &rows)
{
    QVector<const SurfaceRow *> listed;
    for (const SurfaceRow &r : rows) {
        if (!r.description.isEmpty() && r.area != 0)
            listed << &r;
    }
    // Up to 19 rows fit the page double-spaced; from 20 on they are printed
    // single-spaced.
    const bool doubleSpaced = listed.size() <= 19;
    Columns c;
    for (const SurfaceRow *r : listed) {
        c.left << r->description;
        c.right << FormattaImporto(r->area) + QStringLiteral("  mq");
        if (doubleSpaced) {
            c.left << QStringLiteral(" ");
            c.right << QStringLiteral(" ");
        }
    }
    return c;
}

Columns comparableColumns(const QVector<ComparableRow> &rows, const QString &currency)
{
    struct Line {
        const char *label;
        const char *field;
        std::function<QString(const QString &)> value;
        bool extraBlank;
    };
    const QString cur = currency;
    const Line lines[] = {
        {"\t- Caratteristiche di localizzazione:", "CdCarattLocalizzaz", [](const QString &v) { return v + QStringLiteral(" %"); }, false},
        {"\t- Caratteristiche di posizione:", "CdCarattPosizione", [](const QString &v) { return v + QStringLiteral(" %"); }, false},
        {"\t- Caratteristiche tipologiche:", "CdCarattTipologiche", [](const QString &v) { return v + QStringLiteral(" %"); }, false},
        {"\t- Caratteristiche produttive:", "CdCarattProduttive", [](const QString &v) { return v + QStringLiteral(" %"); }, false},
        {"\t- Superficie commerciale:", "SupCommercImmob", [](const QString &v) { return v + QStringLiteral(" mq"); }, false},
        {"\t- Costo unitario:", "CostoUnitario", [cur](const QString &v) { return v + QStringLiteral(" ") + cur + QStringLiteral("/mq"); }, false},
        {"\t- Costo complessivo:", "CostoComplessivo", [cur](const QString &v) { return v + QStringLiteral(" ") + cur; }, true},
    };
    Columns c;
    const auto blankPair = [&c] {
        c.left << QStringLiteral(" ");
        c.right << QStringLiteral(" ");
    };
    for (const ComparableRow &row : rows) {
        const auto text = [&row](const char *name) { return row.value(QLatin1String(name)); };
        if (!text("IndirizzoImmob").isEmpty() && !text("NumCivicoImmob").isEmpty() && !text("PianoImmob").isEmpty()
            && !text("InternoImmob").isEmpty()) {
            c.left << text("IndirizzoImmob") + QStringLiteral(" ") + text("NumCivicoImmob") + QStringLiteral(", Piano ")
                          + text("PianoImmob") + QStringLiteral(", Interno ") + text("InternoImmob") + QStringLiteral(":");
            c.right << QStringLiteral(" ");
            blankPair();
            for (const Line &l : lines) {
                const QString v = text(l.field);
                if (v.isEmpty())
                    continue;
                c.left << QString::fromUtf8(l.label);
                c.right << l.value(v);
                blankPair();
                if (l.extraBlank)
                    blankPair();
            }
        }
        blankPair();
    }
    return c;
}

const QVector<RangeRow> &comparisonRanges()
{
    static const QVector<RangeRow> rows{
        {"Caratteristiche di localizzazione:", "10,00 %", "30,00 %", Coef::CDCarattLocalizzaz},
        {"Caratteristiche di posizione:", "10,00 %", "20,00 %", Coef::CDCarattPosizione},
        {"Caratteristiche tipologiche:", "20,00 %", "25,00 %", Coef::CDCarattTipologiche},
        {"Caratteristiche produttive:", "10,00 %", "25,00 %", Coef::CDCarattProduttive},
        {"Totale:", "50,00 %", "100,00 %", Coef::SaggioCapitalizzaz},
    };
    return rows;
}

const QVector<RangeRow> &capitalisationRangesPage9()
{
    static const QVector<RangeRow> rows{
        {"Ubicazione rispetto al centro urbano:", "+ 0,15 %", "- 0,15 %", Coef::CICentrRispCentrUrb},
        {"Servizio di trasporto pubblico:", "+ 0,07 %", "- 0,07 %", Coef::CILivelloCollegam},
        {"Attrezzature collettive:", "+ 0,28 %", "- 0,28 %", Coef::CIAttrezzCollett},
        {"Qualificazione dell'ambiente esterno:", "+ 0,06 %", "- 0,06 %", Coef::CIQualifAmbienteExt},
        {"Idoneità insediativa:", "+ 0,06 %", "- 0,06 %", Coef::CIIdoneitaInsediat},
        {"Previsione di miglioramenti ambientali:", "+ 0,06 %", "- 0,06 %", Coef::CIPrevMiglAmbient},
        {"Giudizio sul livello di inquinamento:", "+ 0,04 %", "- 0,04 %", Coef::CILivInquinamAmbient},
        {"Giudizio sulla presenza di aree verdi:", "+ 0,04 %", "- 0,04 %", Coef::CIPresVerdePubblico},
        {"Disponibilità aree di sosta:", "+ 0,06 %", "- 0,06 %", Coef::CIDisponibParcheggi},
        {"Luminosità:", "+ 0,10 %", "- 0,10 %", Coef::CILuminosita},
        {"Panoramicità:", "+ 0,36 %", "- 0,36 %", Coef::CIPanoramicita},
    };
    return rows;
}

const QVector<RangeRow> &capitalisationRangesPage10()
{
    static const QVector<RangeRow> rows{
        {"Prospicienza:", "+ 0,10 %", "- 0,10 %", Coef::CIProspicienza},
        {"Quota rispetto al piano stradale:", "+ 0,08 %", "- 0,08 %", Coef::CIQuotaDaPianoStrad},
        {"Valutazione degli spazi accessori:", "+ 0,06 %", "- 0,06 %", Coef::CIDimensSpaziAccess},
        {"Stato di conservazione interno:", "+ 0,06 %", "- 0,06 %", Coef::CIStatoConservazInt},
        {"Stato di conservazione esterno:", "+ 0,06 %", "- 0,06 %", Coef::CIStatoConservazExt},
        {"Grado di rifinitura interno:", "+ 0,06 %", "- 0,06 %", Coef::CIGradoRifinInterno},
        {"Grado di rifinitura esterno:", "+ 0,06 %", "- 0,06 %", Coef::CIGradoRifinEsterno},
        {"Livello tecnologico degli impianti:", "+ 0,04 %", "- 0,04 %", Coef::CILivTecnolImpianti},
        {"Vetustà dell'edificio:", "+ 0,10 %", "- 0,10 %", Coef::CIVetustaEdificio},
        {"Caratteristiche produttive:", "+ 0,10 %", "- 0,10 %", Coef::CICarattProduttive},
    };
    return rows;
}

// ---------------------------------------------------------------- report

void ReportPage::fill(const ReportInput &in)
{
    m_filled = condition(in);
    if (m_filled)
        fillValues(in);
}

Report::Report()
{
    m_pages = {makeCoverPage(),        makeAppraiserPage(),        makeUnitPage(),   makeSurfacesPage(),
               makeLocalisationPage(), makePositionTypologyPage(), makeIncomePage(), makeComparablesPage(),
               makeParametersPage1(),  makeParametersPage2(),      makeResultsPage()};
    m_mcaPage = makeMcaPage();
    m_omiPage = makeOmiPage();
}

Report::~Report() = default;

void Report::resetAndFill(const ReportInput &in)
{
    for (auto &p : m_pages)
        p->reset();
    m_mcaPage->reset();
    m_omiPage->reset();
    for (auto &p : m_pages)
        p->fill(in);
    m_metadata = reportMetadata(in);
    m_mcaPage->fill(in);
    m_omiPage->fill(in);
}

QVector<int> Report::assembled(const ReportSelection &selection) const
{
    QVector<int> pages = assembledPages(selection);
    if (selection.mca && m_mcaPage->isFilled())
        pages << kMcaPage;
    if (selection.omi && m_omiPage->isFilled())
        pages << kOmiPage;
    return pages;
}

void setUpReportDevice(QPagedPaintDevice *device)
{
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(25, 20, 20, 20),
                                      QPageLayout::Millimeter));
}

bool Report::render(QPagedPaintDevice *device, const ReportSelection &selection) const
{
    setUpReportDevice(device);
    QPainter painter;
    if (!painter.begin(device))
        return false;
    ReportPainter rp(painter, *device);
    for (int n : assembled(selection)) {
        rp.newPage();
        page(n).paint(rp);
    }
    return painter.end();
}

bool renderReport(QPagedPaintDevice *device, const ReportInput &in, const ReportSelection &selection)
{
    Report report;
    report.resetAndFill(in);
    return report.render(device, selection);
}

QByteArray reportPdf(const Report &filled, const ReportSelection &selection)
{
    return pdfaDocument(filled.metadata(), [&](QPdfWriter *writer) { return filled.render(writer, selection); });
}

QByteArray reportPdf(const ReportInput &in, const ReportSelection &selection)
{
    Report report;
    report.resetAndFill(in);
    return reportPdf(report, selection);
}

bool writeReportPdf(const QString &path, const Report &filled, const ReportSelection &selection, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (filled.assembled(selection).isEmpty())
        return fail(kNoPagesSelected);
    const QByteArray pdf = reportPdf(filled, selection);
    if (pdf.isEmpty())
        return fail(QStringLiteral("Impossibile comporre il report di stampa."));
    return writePdfBytes(path, pdf, error);
}

} // namespace brevan::report

