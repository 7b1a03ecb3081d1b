// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The market comparison beside the appraisal, on named fields: what it reads
// from the pages (the subject proposed from them, the appraisal date, the
// values of the results page, the comparables of the direct comparison), the
// comparison for the printed report, and the sheet opened and cleared with
// the appraisal. Its window belongs to whoever shows one.
#include "report/mcacontent.h"
#include "valuation/coefficients.h"
#include "valuation/comparison.h"
#include "valuation/mcasheet.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace brevan::engine {

class Fields;

class McaWork : public QObject {
    Q_OBJECT
public:
    McaWork(Fields &fields, const Coefficients &coefficients, QObject *parent = nullptr);

    // The comparison as it stands.
    virtual const mca::Sheet &sheet() const { return m_sheet; }
    bool hasData() const { return sheet().hasData(); }

    // The OMI band's lines for "Altri procedimenti"; empty without a band.
    std::function<QStringList()> omiBandLines;
    // The comparables of the direct comparison; unset, it is not explained.
    std::function<QList<ComparableRow>()> comparables;
    // The cadastral surface, for a subject measured by it.
    std::function<std::optional<double>()> cadastralSurface;

    // What the comparison reads from the pages now.
    report::McaContext context() const;
    // The same without the OMI band (what the OMI comparison itself reads).
    report::McaContext pageContext() const;
    mca::SheetColumn subjectFromPages() const;
    // The comparison for the printed report, when the appraisal has one.
    std::optional<report::McaDocument> reportDocument() const;
    // Opening: the comparison read with the appraisal (blank when it has
    // none, or its companion could not be read) replaces this one.
    void showOpened(const mca::Sheet &sheet);
    // A new appraisal empties the comparison.
    void clearForNewAppraisal();

protected:
    virtual void setSheet(const mca::Sheet &sheet);
    // The subject follows the pages until the user writes in its column.
    virtual void refreshFromPages();
    // Whether a window shows the comparison, which then follows the pages.
    virtual bool shown() const { return false; }
    // The working surfaces table as the page has it.
    virtual QString surfacesTablePath() const;

    Fields &m_fields;
    mca::Sheet m_sheet; // the window's, once there is one, is its own
private:
    const Coefficients &m_coefficients;
};

} // namespace brevan::engine
