// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcawork.h"

#include "engine/fields.h"
#include "engine/surfaceswork.h"
#include "model/currency.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <algorithm>

namespace brevan::engine {

namespace {

// The record's fields that name the appraisal and the appraiser in the
// comparison's outputs.
constexpr const char *kNamingFields[] = {"IndirizzoImmob", "NumCivicoImmob", "PianoImmob",    "InternoImmob",
                                         "ComuneImmob",    "SiglaProvinciaImmob", "NomeProfess", "CognomeProfess"};

} // namespace

McaWork::McaWork(Fields &fields, const Coefficients &coefficients, QObject *parent)
    : QObject(parent), m_fields(fields), m_sheet(mca::Sheet::blank()), m_coefficients(coefficients)
{
}

QString McaWork::surfacesTablePath() const
{
    return dataPath(kDescrSup);
}

report::McaContext McaWork::context() const
{
    report::McaContext c = pageContext();
    if (omiBandLines)
        c.omiBand = omiBandLines();
    return c;
}

report::McaContext McaWork::pageContext() const
{
    report::McaContext c;
    c.valuationDate = m_fields.date(QStringLiteral("DataStimaImmob"));
    c.lire = !currency().euroInForce();
    c.comparisonUnit = m_fields.text(QStringLiteral("CostoUnitario"));
    c.comparisonTotal = m_fields.text(QStringLiteral("CostoComplessivo"));
    c.incomeUnit = m_fields.text(QStringLiteral("CICostoUnitario"));
    c.incomeTotal = m_fields.text(QStringLiteral("CICostoComplessivo"));
    for (const char *field : kNamingFields) {
        const QString name = QString::fromLatin1(field);
        c.appraisal.insert(name, m_fields.text(name).trimmed());
    }
    // Explained only once the results page has a value by direct comparison
    // to explain: before, the subject's coefficients are not computed.
    if (comparables && !c.comparisonUnit.isEmpty()) {
        try {
            const Coefficients &k = m_coefficients;
            const double x = k[Coef::CDCarattLocalizzaz] + k[Coef::CDCarattPosizione] + k[Coef::CDCarattTipologiche]
                             + k[Coef::CDCarattProduttive];
            const QList<ComparableRow> rows = comparables();
            if (std::none_of(rows.begin(), rows.end(), isCompleteComparable)) {
                // The page's 0,00 without a complete comparable is no value
                // by direct comparison.
                c.comparisonUnit.clear();
                c.comparisonTotal.clear();
            } else if (const FitExplanation fit = explainDirectComparison(rows, x); !fit.points.isEmpty()) {
                c.fit = fit;
            }
        } catch (const std::exception &e) {
            // The comparables table cannot be read now: the explanation is
            // left out, the comparison itself does not need it.
            qWarning("McaOps: %s", e.what());
        }
    }
    return c;
}

mca::SheetColumn McaWork::subjectFromPages() const
{
    mca::SubjectFromPages pages;
    try {
        pages.surfaces = readSurfaceRows(surfacesTablePath());
    } catch (const std::exception &e) {
        qWarning("McaOps: %s", e.what());
    }
    pages.floor = m_fields.text(QStringLiteral("PianoImmob"));
    pages.lift = m_fields.isChecked(QStringLiteral("Ascensore"));
    pages.interiorState = m_fields.text(QStringLiteral("StatoConservInt"));
    if (sheet().cadastralSubject) {
        pages.cadastral = true;
        if (cadastralSurface)
            pages.cadastralSurface = cadastralSurface();
    }
    return mca::proposeSubject(pages);
}

std::optional<report::McaDocument> McaWork::reportDocument() const
{
    if (!hasData())
        return std::nullopt;
    return report::buildMcaDocument(sheet(), context(), report::kPrintedColumns);
}

void McaWork::setSheet(const mca::Sheet &sheet)
{
    m_sheet = sheet;
}

void McaWork::refreshFromPages()
{
    if (!m_sheet.subjectEdited)
        m_sheet.subject = subjectFromPages();
}

void McaWork::showOpened(const mca::Sheet &sheet)
{
    // The comparison of the appraisal shown so far never stays behind.
    setSheet(sheet);
    if (shown())
        refreshFromPages();
}

void McaWork::clearForNewAppraisal()
{
    setSheet(mca::Sheet::blank());
    if (shown())
        refreshFromPages();
}

} // namespace brevan::engine
