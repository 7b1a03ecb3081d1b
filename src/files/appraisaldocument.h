// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The appraisal document: what the appraiser gives to one appraisal (the
// record's typed fields, the currency, the three pictures, the surfaces and
// comparables rows, the market comparison, the cadastral choices, the OMI
// choice and the report for a purpose), with the undo stack of its changes.
// Values computed from these (surfaces, coefficients, incomes, the two
// values, the summary) are not held: they follow the data they come from, so
// they are never a step of their own.
//
// The views report the state they show after each of the user's edits
// (record); the differences become one step on the stack. Undo and redo hand
// the views the parts to show (partsChanged), in one call, so that they can
// write them in the order their reactions expect.
#include "appraisalfiles.h"
#include "omitable.h"
#include "valuation/cadastralsheet.h"
#include "valuation/mcasheet.h"
#include "valuation/purposereport.h"

#include <QImage>
#include <QMap>
#include <QObject>
#include <QUndoStack>
#include <QVariant>

#include <functional>
#include <optional>

namespace brevan::files {

// Some parts of an appraisal, or all of them: a part that is absent is not
// part of the set.
struct AppraisalParts {
    QMap<QString, QVariant> fields;    // typed record fields by persisted name: a text, or a tick (bool)
    std::optional<bool> euro;          // the currency of the amounts
    QMap<Companion, QImage> pictures;  // Photo, AreaPlan, UnitPlan; a null picture: the page has none
    QMap<Companion, TableRows> tables; // Surfaces, Comparables: the working tables' rows
    std::optional<mca::Sheet> mca;
    std::optional<CadastralChoices> cadastral;
    std::optional<StoredOmi> omi;
    std::optional<perizia::Report> perizia;
    // Tables of the data folder that the zone and unit-rent editors write
    // (a municipality's own), by path; none: the table did not exist.
    QMap<QString, std::optional<TableRows>> dataTables;
    // Values computed by a command and kept until it runs again (the three
    // surfaces behind the surfaces page), by persisted name. They travel
    // with the step whose edit changed them and are never a step alone.
    QMap<QString, QVariant> computed;

    bool isEmpty() const;
    // Whether only computed values are held.
    bool onlyComputed() const;
    // Lays the parts of other over these.
    void overlay(const AppraisalParts &other);
    // What the parts are, in words for the undo menu: "Comune", "Tabella delle superfici", …
    QString description() const;
};

// The parts in which to differs from from: before holds their values in
// from, after in to. Pictures are compared by identity (QImage::cacheKey),
// the report and the OMI choice by the rows they are saved as.
struct PartsChange {
    AppraisalParts before;
    AppraisalParts after;
    bool isEmpty() const { return after.isEmpty(); }
};
PartsChange difference(const AppraisalParts &from, const AppraisalParts &to);

class AppraisalStep;

class AppraisalDocument : public QObject {
    Q_OBJECT
public:
    explicit AppraisalDocument(QObject *parent = nullptr);
    ~AppraisalDocument() override;

    // Every part, as the views last reported or were given it.
    const AppraisalParts &state() const { return m_state; }
    QUndoStack *undoStack() { return &m_stack; }

    // A new starting point (an appraisal opened, a new one, a recovery copy
    // taken back): the stack is emptied, and clean.
    void reset(const AppraisalParts &state);
    // The appraisal was saved: this is the clean state.
    void markSaved(const AppraisalParts &state);

    // The views' state after an edit of the user's. Its differences from the
    // state held become one step, named text; typing in one field is one
    // step: a step with the typingKey of the step before it (the field being
    // typed in) merges into it. False when nothing changed.
    // dataTablesBefore: the data tables the edit wrote, as they were before.
    bool record(const AppraisalParts &state, const QString &typingKey = {},
                const QMap<QString, std::optional<TableRows>> &dataTablesBefore = {});
    // The state the views show after they showed a step (their reactions
    // may have proposed values of their own): taken without a step.
    void settle(const AppraisalParts &state);

    // How many of the latest steps that change a picture keep it: older
    // ones let go of it and can no longer be undone.
    static constexpr int kPictureSteps = 6;
    static QString releasedPictureText();

    // The words that name a step's parts (the undo and redo status tips);
    // AppraisalParts::description() when not set.
    std::function<QString(const AppraisalParts &parts)> describe;

    // Asked before a step is shown: why these parts cannot be shown now
    // (their file is gone, or was changed by another program), or "".
    std::function<QString(const PartsChange &change, bool undoing)> showCheck;

Q_SIGNALS:
    // Undo or redo: the views show these parts (a subset of the state).
    void partsChanged(const files::AppraisalParts &parts);
    // The same, part by part, after partsChanged.
    void fieldChanged(const QString &name);
    void currencyChanged(bool euro);
    void pictureChanged(files::Companion which);
    void tableChanged(files::Companion which); // surfaces, comparables and the companions held as tables
    void dataTableChanged(const QString &path);
    // A step could not be undone or redone: it was dropped from the stack.
    void stepDropped(const QString &why);

private:
    friend class AppraisalStep;
    QString describeParts(const AppraisalParts &parts) const;
    // Shows a step's parts; false (and the step is dropped) when showCheck refuses.
    bool show(const PartsChange &change, bool undoing);

    AppraisalParts m_state;
    QUndoStack m_stack;
    bool m_showing = false;
    QList<AppraisalStep *> m_pictureSteps; // in the order they were recorded
};

} // namespace brevan::files
