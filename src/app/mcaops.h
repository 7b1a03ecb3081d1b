// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The market comparison beside the appraisal: its window ("Stima MCA…" on the
// results page and in "&Visualizza"), built at first use; what it reads from
// the pages (the subject proposed from them, the appraisal date, the values
// of the results page, the comparables of the direct comparison); and its
// companion table saved, opened and cleared with the appraisal.
#include "report/mcacontent.h"
#include "valuation/mcasheet.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

namespace brevan::ui {
class McaWindow;
}

namespace brevan::app {

class MainWindow;

class McaOps : public QObject {
    Q_OBJECT
public:
    explicit McaOps(MainWindow *window, QObject *parent = nullptr);

    // The comparison as it stands: the window's once it is built.
    const mca::Sheet &sheet() const;
    bool hasData() const { return sheet().hasData(); }
    // Null until first use.
    ui::McaWindow *window() const;

    // The OMI band's lines for "Altri procedimenti"; empty without a band.
    std::function<QStringList()> omiBandLines;

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

public Q_SLOTS:
    // "Stima MCA…": builds the window at first use, brings it up to date with
    // the pages and shows it.
    void StimaMCA1Click();

private:
    void setSheet(const mca::Sheet &sheet);
    // The subject follows the pages until the user writes in its column.
    void refreshFromPages();

    MainWindow *m_window;
    QPointer<ui::McaWindow> m_mcaWindow; // a child of the main window
    mca::Sheet m_sheet; // until the window is built
};

} // namespace brevan::app
