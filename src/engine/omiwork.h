// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The appraisal held against the OMI quotations, on named fields: what it
// reads from the pages (the municipality's sale ranges in the data folder,
// the surfaces, the category, the interior state, the floor, the date, the
// values), the comparison, and the choice opened and cleared with the
// appraisal. Its window belongs to whoever shows one.
#include "files/omitable.h"
#include "valuation/cadastralsheet.h"
#include "valuation/omicomparison.h"

#include <QObject>

#include <functional>
#include <optional>

namespace brevan::engine {

class Fields;
class McaWork;

class OmiWork : public QObject {
    Q_OBJECT
public:
    explicit OmiWork(Fields &fields, QObject *parent = nullptr);

    // The appraiser's cadastral choices, which the band's surface follows.
    std::function<CadastralChoices()> cadastralChoices;
    // The market comparison, whose value stands beside the others; none unset.
    std::function<const McaWork *()> mca;

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
    // The municipality's sale ranges in the data folder (none when it has no
    // table); a table that cannot be read gives none and its reason.
    QVector<omiband::Quote> quotes(QString *problem = nullptr) const;
    // What the pages propose: type from the category, state from the interior
    // state, floor from the street-level judgment.
    omiband::Choice proposal() const;
    void showOpened(const files::StoredOmi &stored);
    void clearForNewAppraisal();

protected:
    omiband::Lookup lookup(const omiband::Choice &choice, const QVector<omiband::Quote> &quotes) const;
    omiband::Outcome compute(const omiband::Choice &choice, const QVector<omiband::Quote> &quotes) const;
    // A window shows the comparison again.
    virtual void refreshWindow() {}
    // The working surfaces table as the page has it.
    virtual QString surfacesTablePath() const;

    Fields &m_fields;
    files::StoredOmi m_stored;
};

} // namespace brevan::engine
