// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The appraisal held against the OMI quotations: the window "Confronto con le
// quotazioni OMI" (results page button and "&Visualizza"), built at first
// use; what it reads from the pages (the municipality's sale ranges in the
// data folder, the surfaces, the category, the interior state, the floor, the
// date, the values); and its companion table saved, opened and cleared with
// the appraisal.
#include "files/omitable.h"
#include "valuation/omicomparison.h"

#include <QObject>
#include <QPointer>

#include <optional>

namespace brevan::ui {
class OmiWindow;
}

namespace brevan::app {

class MainWindow;

class OmiOps : public QObject {
    Q_OBJECT
public:
    explicit OmiOps(MainWindow *window, QObject *parent = nullptr);

    // Whether the appraiser chose anything: only then is it saved.
    bool hasChoice() const { return !m_stored.choice.isEmpty(); }
    // The choice with the range it was opened with, as held (no lookup).
    const files::StoredOmi &held() const { return m_stored; }
    // The choice with the quotation it finds now, as it is saved.
    files::StoredOmi stored() const;
    // The comparison as it stands; none while nothing is chosen.
    std::optional<omiband::Outcome> outcome() const;
    // The band's lines for the MCA window; empty without a band.
    QStringList bandLines() const;
    // Null until first use.
    ui::OmiWindow *window() const;

    // The municipality's sale ranges in the data folder (none when it has no
    // table); a table that cannot be read gives none and its reason.
    QVector<omiband::Quote> quotes(QString *problem = nullptr) const;
    // What the pages propose: type from the category, state from the interior
    // state, floor from the street-level judgment.
    omiband::Choice proposal() const;

    void showOpened(const files::StoredOmi &stored);
    void clearForNewAppraisal();

public Q_SLOTS:
    // "Confronto con le quotazioni OMI…": builds the window at first use,
    // brings it up to date and shows it.
    void ConfrontoOMIClick();

private:
    omiband::Lookup lookup(const omiband::Choice &choice, const QVector<omiband::Quote> &quotes) const;
    omiband::Outcome compute(const omiband::Choice &choice, const QVector<omiband::Quote> &quotes) const;
    void refreshWindow();
    void takeWindowChoice();

    MainWindow *m_window;
    QPointer<ui::OmiWindow> m_omiWindow; // a child of the main window
    files::StoredOmi m_stored;
};

} // namespace brevan::app
