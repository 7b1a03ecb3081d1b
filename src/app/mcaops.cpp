// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcaops.h"

#include "app/cadastralops.h"
#include "app/mainwindow.h"
#include "app/valueops.h"
#include "files/mcatable.h"
#include "model/currency.h"
#include "pages/appraiserpage.h"
#include "pages/descriptionpage.h"
#include "pages/mcawindow.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"
#include "store/datafolder.h"
#include "valuation/comparison.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace brevan::app {

namespace {

// The record's fields that name the appraisal and the appraiser in the
// comparison's outputs, by the page that holds their controls.
struct NamingField {
    const char *name;
    bool appraiser;
};
constexpr NamingField kNamingFields[] = {
    {"IndirizzoImmob", false}, {"NumCivicoImmob", false}, {"PianoImmob", false},     {"InternoImmob", false},
    {"ComuneImmob", false},    {"SiglaProvinciaImmob", false}, {"NomeProfess", true}, {"CognomeProfess", true},
};

QString controlText(const QWidget *page, const char *name)
{
    const auto *control = page->findChild<QWidget *>(QLatin1String(name));
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text().trimmed();
    if (const auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText().trimmed();
    return {};
}

} // namespace

McaOps::McaOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window), m_sheet(mca::Sheet::blank())
{
    connect(window->mcaAction, &QAction::triggered, this, &McaOps::StimaMCA1Click);
    connect(window->resultsPage->mcaButton, &QToolButton::clicked, this, &McaOps::StimaMCA1Click);
}

ui::McaWindow *McaOps::window() const
{
    return m_mcaWindow;
}

const mca::Sheet &McaOps::sheet() const
{
    return m_mcaWindow ? m_mcaWindow->sheet() : m_sheet;
}

report::McaContext McaOps::context() const
{
    report::McaContext c = pageContext();
    if (omiBandLines)
        c.omiBand = omiBandLines();
    return c;
}

report::McaContext McaOps::pageContext() const
{
    report::McaContext c;
    c.valuationDate = m_window->descriptionPage->dateEdit->date();
    c.lire = !currency().euroInForce();
    const ui::ResultsPage *results = m_window->resultsPage;
    c.comparisonUnit = results->comparisonUnitEdit->text();
    c.comparisonTotal = results->comparisonTotalEdit->text();
    c.incomeUnit = results->incomeUnitEdit->text();
    c.incomeTotal = results->incomeTotalEdit->text();
    for (const NamingField &f : kNamingFields) {
        const QWidget *page = f.appraiser ? static_cast<const QWidget *>(m_window->appraiserPage)
                                          : static_cast<const QWidget *>(m_window->descriptionPage);
        c.appraisal.insert(QLatin1String(f.name), controlText(page, f.name));
    }
    // Explained only once the results page has a value by direct comparison
    // to explain: before, the subject's coefficients are not computed.
    if (m_window->valueOps && !c.comparisonUnit.isEmpty()) {
        try {
            const Coefficients &k = m_window->coefficients;
            const double x = k[Coef::CDCarattLocalizzaz] + k[Coef::CDCarattPosizione] + k[Coef::CDCarattTipologiche]
                             + k[Coef::CDCarattProduttive];
            const QList<ComparableRow> rows = m_window->valueOps->comparables();
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

mca::SheetColumn McaOps::subjectFromPages() const
{
    mca::SubjectFromPages pages;
    try {
        const ui::TableModel *model = m_window->surfacesPage->model();
        const QString file = model && !model->tableFile().isEmpty() ? model->tableFile() : dataPath(kDescrSup);
        const Table surfaces = Table::open(file);
        const int description = surfaces.columnIndex(QStringLiteral("DescrizioneSuperficie"));
        const int area = surfaces.columnIndex(QStringLiteral("MqSuperficie"));
        if (description >= 0 && area >= 0) {
            for (const QVariantList &row : surfaces.rows())
                pages.surfaces.append({row.value(description).toString(), row.value(area).toDouble()});
        }
    } catch (const std::exception &e) {
        qWarning("McaOps: %s", e.what());
    }
    pages.floor = m_window->descriptionPage->floorCombo->currentText();
    pages.lift = m_window->typologyPage->liftCheck->isChecked();
    pages.interiorState = m_window->typologyPage->repairInsideCombo->currentText();
    if (sheet().cadastralSubject) {
        pages.cadastral = true;
        if (m_window->cadastralOps)
            pages.cadastralSurface = m_window->cadastralOps->surface();
    }
    return mca::proposeSubject(pages);
}

std::optional<report::McaDocument> McaOps::reportDocument() const
{
    if (!hasData())
        return std::nullopt;
    return report::buildMcaDocument(sheet(), context(), report::kPrintedColumns);
}

void McaOps::setSheet(const mca::Sheet &sheet)
{
    m_sheet = sheet;
    if (m_mcaWindow)
        m_mcaWindow->setSheet(m_sheet);
}

void McaOps::refreshFromPages()
{
    if (!m_mcaWindow) {
        if (!m_sheet.subjectEdited)
            m_sheet.subject = subjectFromPages();
        return;
    }
    m_mcaWindow->setContext(context());
    if (!m_mcaWindow->sheet().subjectEdited)
        m_mcaWindow->proposeSubject(subjectFromPages());
}

void McaOps::StimaMCA1Click()
{
    if (!m_mcaWindow) {
        m_mcaWindow = new ui::McaWindow(m_window);
        m_mcaWindow->setContext(context());
        m_mcaWindow->setSheet(m_sheet);
        connect(m_mcaWindow, &ui::McaWindow::proposeRequested, this,
                [this] { m_mcaWindow->offerSubject(subjectFromPages()); });
        connect(m_mcaWindow, &ui::McaWindow::activated, this, &McaOps::refreshFromPages);
    }
    refreshFromPages();
    m_mcaWindow->show();
    m_mcaWindow->raise();
    m_mcaWindow->activateWindow();
}

void McaOps::showOpened(const mca::Sheet &sheet)
{
    // The comparison of the appraisal shown so far never stays behind.
    setSheet(sheet);
    if (m_mcaWindow)
        refreshFromPages();
}

void McaOps::clearForNewAppraisal()
{
    setSheet(mca::Sheet::blank());
    if (m_mcaWindow)
        refreshFromPages();
}

} // namespace brevan::app
