// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The printed report from the named fields, the tables, the pictures and the
// coefficients: the eleven page layouts, built once and reset and filled
// again on every use, and their PDF.
#include "report/reportpages.h"
#include "valuation/coefficients.h"
#include "valuation/completeness.h"

#include <QDate>
#include <QImage>
#include <QObject>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace brevan::engine {

class Fields;

class ReportWork : public QObject {
    Q_OBJECT
public:
    ReportWork(Fields &fields, const Coefficients &coefficients, QObject *parent = nullptr);
    ~ReportWork() override;

    // The three surface values behind the surfaces page (SupUtileImmob,
    // SupConvenzImmob, SupCommercImmob, plain number text), from the
    // surfaces computation. Empty until it is connected.
    std::function<QStringList()> surfaceValues;
    // The day printed on the cover; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The market comparison's page, when the appraisal has one.
    std::function<std::optional<report::McaDocument>()> mcaDocument;
    // The comparison with the OMI quotations, when the appraisal has a band.
    std::function<std::optional<omiband::Outcome>()> omiOutcome;
    // The lights of the page tree. Unset: every page red.
    std::function<std::array<Light, 12>()> lights;
    // The photo, the area plan and the unit plan (null when missing).
    std::function<std::array<QImage, 3>()> pictures;

    // Everything the report prints, read now.
    report::ReportInput collectInput() const;
    // The pages as the last preview or PDF filled them.
    const report::Report &pages() const { return *m_report; }
    // Fills all eleven pages and writes the selected ones as a PDF, whole or
    // not at all. False with the reason in *error; shows no message itself.
    bool writePdf(const QString &path, const report::ReportSelection &selection, QString *error = nullptr);

protected:
    void fillPages();
    // The working tables as the pages have them.
    virtual QString surfacesTablePath() const;
    virtual QString comparablesTablePath() const;
    // A comparable being typed in counts, as walking the table would post it.
    virtual void postPendingComparable() const {}

    std::unique_ptr<report::Report> m_report;

private:
    Fields &m_fields;
    const Coefficients &m_coefficients;
};

} // namespace brevan::engine
