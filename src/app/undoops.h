// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The pages as views of the appraisal document, and "Annulla" / "Ripeti".
// After each of the user's edits (a key, a click, a drop, in the main window
// or in a window beside it) the pages' state is taken into the document when
// the program goes back to its event loop: what changed is one step, with
// what the edit's reactions changed on the way. Typing in one field is one
// step. Undo and redo hand the parts back to the pages, which show them the
// way opening an appraisal does, so their reactions run as they do for the
// user. Opening, "Nuova stima" and a recovery copy start a new stack; a save
// marks the clean state.
#include "files/appraisaldocument.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QKeyEvent;

namespace brevan::app {

class MainWindow;

class UndoOps : public QObject {
    Q_OBJECT
public:
    explicit UndoOps(MainWindow *window, QObject *parent = nullptr);
    ~UndoOps() override;

    files::AppraisalDocument *document() { return &m_document; }
    // The parts of the appraisal as the pages, the windows beside them and
    // the working tables hold them now.
    files::AppraisalParts pagesState() const;
    // Takes what changed into the document now rather than at the return to
    // the event loop; userEdit tells a step from follow-ups that are not.
    void recordNow(bool userEdit = true);

    // The status bar's words when a step was dropped.
    static QString droppedText(bool undoing, const QString &what, const QString &why);
    static QString missingTableText(const QString &table);
    static QString changedTableText(const QString &table);

public Q_SLOTS:
    void undo();
    void redo();
    // A new starting point: the appraisal opened, cleared or recovered.
    void startAfresh();
    void markSaved();
    // An editor is about to write a table of the data folder: its rows now
    // are what undoing the edit puts back.
    void dataTableAboutToChange(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleRecord();
    void record();
    void takePendingEdits();
    void afterStep();
    // The key that merges the steps typed into one text field.
    QString typingKey() const;
    static QString keyOf(const QObject *widget);
    // Whether the focused text field takes Ctrl+Z (or the redo key) for its
    // own typing: only while it has typing of its own to undo or redo.
    bool fieldTakesKey(const QKeyEvent *key) const;
    // "Caratteristiche produttive, valuta": what a step touches.
    QString describe(const files::AppraisalParts &parts) const;
    void showParts(const files::AppraisalParts &parts);
    void showTable(files::Companion which, const files::TableRows &rows);
    QString checkShow(const files::PartsChange &change, bool undoing) const;

    MainWindow *m_window;
    files::AppraisalDocument m_document;
    QTimer m_recordTimer;
    bool m_userActed = false;
    // Every edit since the last step was typing in the focused field.
    bool m_onlyTyping = true;
    // A working table's rows are read again only after its grid's model
    // said it changed: rows written by another program are not taken for
    // the user's.
    mutable bool m_tableChanged[2] = {true, true};
    // The data tables an edit wrote, with their rows before it.
    QMap<QString, std::optional<files::TableRows>> m_dataTablesBefore;
    bool m_showing = false;
    bool m_undoing = false;
    QString m_stepText; // what the step being undone or redone touches
    bool m_started = false;
};

} // namespace brevan::app
