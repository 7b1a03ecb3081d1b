// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Work that is not saved yet. Closing the window, or opening another
// appraisal, with changes since the appraisal was last saved, opened or
// started asks whether to save them; and while there are such changes a
// recovery copy of the whole appraisal is written into the data folder (at
// most once a minute, off the user-interface thread), so that a crash or a
// power cut loses at most a minute of typing. A run that works on private
// working tables keeps its copy in the user's own folder instead, in a slot
// of its own that it holds locked.
// At the next start a copy left by a run that did not end normally is
// offered back.
#include "store/folderlock.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>

class QThread;

namespace brevan::app {

class MainWindow;
class FileOps;

class UnsavedWork : public QObject {
    Q_OBJECT
public:
    UnsavedWork(MainWindow *window, FileOps *files, QObject *parent = nullptr);
    ~UnsavedWork() override;

    static constexpr int kCopyIntervalMs = 60'000;
    static QString closeQuestionText();
    static QString openQuestionText();
    static QString recoveryQuestionText(const QDateTime &when);
    // The recovery copy's table in the recovery folder.
    static QString recoveryTableName();

    // The appraisal in the pages is the one saved, opened or started with.
    void markClean();
    // The pages hold what was never saved, or differ from what was saved,
    // opened or started with.
    bool hasChanges();
    // The close question: true when the window may close (no changes, or
    // saved, or the user let them go).
    bool confirmClose();
    // The same question before another appraisal is opened over this one:
    // true when the opening may go on.
    bool confirmOpen();

    // The folder of the recovery copy: "Recupero" in the data folder when
    // this run owns it, else a slot of the user's own folder that this run
    // holds (userDataFolder() + "/Recupero", "/Recupero 2", …). Empty when
    // there is none.
    QString recoveryFolder();
    // The user's own recovery slots, in the order they are taken.
    static QStringList privateRecoveryFolders();
    // Writes the recovery copy, in the background, when the pages hold
    // changes that neither the last save nor the last copy holds (and the
    // copy of an earlier run has been offered back).
    void writeCopy();
    // Waits for a copy being written.
    void waitForCopy();
    // Removes the recovery copy (and the one recovered from another run's
    // slot).
    void discardCopy();

public Q_SLOTS:
    // At start-up: offers a copy left by a run that did not end normally.
    void offerRecovery();

Q_SIGNALS:
    // After a copy was recovered into the pages.
    void ImpostaSemaforiTreeViewRequested();

private:
    QByteArray currentFingerprint();
    bool confirmLeaving(const QString &question);
    // A slot of the user's own folder that another run left with a copy,
    // taken for this run; empty when there is none.
    QString adoptCopyOfAnotherRun(const QString &own);

    MainWindow *m_window;
    FileOps *m_files;
    QTimer m_timer;
    QByteArray m_clean;     // the appraisal as saved, opened or started
    QByteArray m_copied;    // the appraisal as the recovery copy holds it
    QThread *m_writer = nullptr;
    // No copy is written before the one an earlier run left has been offered
    // back: it would be overwritten unseen.
    bool m_offered = false;
    // This run's slot when it works on private tables, and the slot of
    // another run whose copy it recovered; each held locked.
    QString m_slot;
    FolderLock m_slotLock;
    QString m_adopted;
    FolderLock m_adoptedLock;
};

} // namespace brevan::app
