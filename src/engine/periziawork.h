// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The report for a purpose: the report the appraiser fills in, what the pages
// give it (the values, the surface, the appraiser, the address, the pictures,
// the market comparison) and the report opened and cleared with the
// appraisal. Its window belongs to whoever shows one.
#include "report/periziadocument.h"
#include "report/reportpages.h"
#include "valuation/purposereport.h"

#include <QObject>

#include <functional>

namespace brevan::engine {

class McaWork;
class ReportWork;

class PeriziaWork : public QObject {
    Q_OBJECT
public:
    explicit PeriziaWork(QObject *parent = nullptr);

    // The printed report's input, which the pages give through it.
    std::function<const ReportWork *()> pages;
    // The market comparison, whose value the report states.
    std::function<const McaWork *()> mca;

    virtual const perizia::Report &report() const { return m_report; }
    // Whether the report holds anything the appraiser gave: only then is it saved.
    bool hasData() const;
    // What the pages hold now, as the report uses it.
    perizia::AppraisalFacts facts() const;
    // Everything the outputs print: the report, the facts, the title, the
    // surfaces, the pictures and the market comparison.
    report::PeriziaInput input() const;
    // An opened appraisal's report (an empty one when it has none).
    void showOpened(const perizia::Report &report);
    void clearForNewAppraisal();

protected:
    virtual void setReport(const perizia::Report &report);
    // A window shows the facts again.
    virtual void showFacts() {}

    perizia::Report m_report; // the window's, once there is one, is its own

private:
    // The pages as the printed report reads them.
    report::ReportInput pageInput() const;
    perizia::AppraisalFacts factsOf(const report::ReportInput &in) const;
};

// Whether a report holds anything beyond an empty one's.
bool reportHasData(const perizia::Report &report);

} // namespace brevan::engine
