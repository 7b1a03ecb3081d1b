// SPDX-License-Identifier: GPL-2.0-or-later
#include "unsavedwork.h"

#include "fileops.h"
#include "mainwindow.h"
#include "workplace.h"

#include "files/appraisalset.h"
#include "files/setsave.h"
#include "pages/comparablespage.h"
#include "pages/messages.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace brevan::app {

namespace {

// A digest no appraisal has: whatever the pages hold counts as unsaved.
const QByteArray kNeverSaved = QByteArrayLiteral("mai salvata");

const QString kRecoveryFolder = QStringLiteral("Recupero");
// Runs on private tables at the same time, each with a copy of its own.
constexpr int kPrivateSlots = 8;

QString recoveryTableIn(const QString &folder)
{
    return QDir(folder).filePath(UnsavedWork::recoveryTableName());
}

// Removes a recovery copy's set and, once empty, its folder.
void removeCopyIn(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    files::recoverFolder(folder);
    const QString stem = files::stemForTable(UnsavedWork::recoveryTableName());
    QFile::remove(recoveryTableIn(folder));
    for (const files::Companion c : files::kCompanions)
        QFile::remove(QDir(folder).filePath(files::companionName(c, stem)));
    QDir().rmdir(folder);
}

} // namespace

UnsavedWork::UnsavedWork(MainWindow *window, FileOps *files, QObject *parent)
    : QObject(parent), m_window(window), m_files(files)
{
    m_clean = kNeverSaved;
    m_timer.setInterval(kCopyIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &UnsavedWork::writeCopy);
    m_timer.start();
}

UnsavedWork::~UnsavedWork()
{
    if (m_writer) {
        m_writer->wait();
        delete m_writer;
    }
}

QString UnsavedWork::closeQuestionText()
{
    return QStringLiteral("Salvare le modifiche alla stima prima di uscire?");
}

QString UnsavedWork::openQuestionText()
{
    return QStringLiteral("Salvare le modifiche alla stima prima di aprirne un'altra?");
}

QString UnsavedWork::recoveryQuestionText(const QDateTime &when)
{
    return QStringLiteral("È stata trovata una stima non salvata del %1. Recuperarla?")
        .arg(when.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
}

QString UnsavedWork::recoveryTableName()
{
    return QStringLiteral("Stima - Recupero.db");
}

QByteArray UnsavedWork::currentFingerprint()
{
    try {
        QByteArray digest = files::fingerprint(m_files->currentContent(false));
        // Typing in the comparable's editors that is not in the table yet.
        if (m_window->comparablesPage->hasPendingEdit())
            digest += QByteArrayLiteral("+");
        return digest;
    } catch (const std::exception &e) {
        // Pages that cannot be read are not known to be saved.
        qWarning("UnsavedWork: %s", e.what());
        return kNeverSaved;
    }
}

void UnsavedWork::markClean()
{
    m_clean = currentFingerprint();
}

bool UnsavedWork::hasChanges()
{
    return m_clean == kNeverSaved || currentFingerprint() != m_clean;
}

bool UnsavedWork::confirmClose()
{
    return confirmLeaving(closeQuestionText());
}

bool UnsavedWork::confirmOpen()
{
    return confirmLeaving(openQuestionText());
}

bool UnsavedWork::confirmLeaving(const QString &question)
{
    // A cell or field still being edited hands its text over first.
    if (QWidget *focus = QApplication::focusWidget(); focus && m_window->isAncestorOf(focus))
        focus->clearFocus();
    if (!hasChanges())
        return true;
    switch (ui::Messages::question(m_window, question, true)) {
    case ui::Answer::Yes:
        // A save cancelled or failed leaves the changes, and the appraisal in
        // the pages.
        m_files->FileSave1Execute();
        return !hasChanges();
    case ui::Answer::No:
        return true;
    case ui::Answer::Cancel:
        return false;
    }
    return false;
}

QStringList UnsavedWork::privateRecoveryFolders()
{
    QStringList folders;
    const QDir base(userDataFolder());
    for (int n = 1; n <= kPrivateSlots; ++n)
        folders << base.filePath(n == 1 ? kRecoveryFolder : kRecoveryFolder + QStringLiteral(" %1").arg(n));
    return folders;
}

QString UnsavedWork::recoveryFolder()
{
    if (!m_window->workPlace)
        return {};
    if (m_window->workPlace->ownsDataFolder()) {
        try {
            return QDir(dataFolder()).filePath(kRecoveryFolder);
        } catch (const std::exception &) {
            return {};
        }
    }
    // Private tables: typing is worth a copy all the same, kept where this
    // user may always write, in a slot no other run uses meanwhile.
    if (m_slot.isEmpty()) {
        for (const QString &folder : privateRecoveryFolders()) {
            if (!QDir().mkpath(folder))
                break;
            if (m_slotLock.acquire(folder) == FolderLock::Result::Locked) {
                m_slot = folder;
                break;
            }
        }
    }
    return m_slot;
}

QString UnsavedWork::adoptCopyOfAnotherRun(const QString &own)
{
    for (const QString &folder : privateRecoveryFolders()) {
        if (folder == own || !QFileInfo(folder).isDir())
            continue;
        // A slot held is the copy of a run that still works.
        if (m_adoptedLock.acquire(folder) != FolderLock::Result::Locked)
            continue;
        files::recoverFolder(folder);
        if (QFileInfo(recoveryTableIn(folder)).isFile())
            return folder;
        m_adoptedLock.release();
    }
    return {};
}

void UnsavedWork::writeCopy()
{
    if (m_writer) {
        if (!m_writer->isFinished())
            return;
        m_writer->deleteLater();
        m_writer = nullptr;
    }
    const QString folder = recoveryFolder();
    if (folder.isEmpty() || !m_offered)
        return;
    files::AppraisalContent content;
    try {
        content = m_files->currentContent(false);
    } catch (const std::exception &e) {
        qWarning("UnsavedWork: %s", e.what());
        return;
    }
    const QByteArray digest = files::fingerprint(content);
    if (digest == m_clean) {
        // Changes undone by hand: nothing left to recover.
        if (!m_copied.isEmpty())
            discardCopy();
        return;
    }
    if (digest == m_copied && m_adopted.isEmpty())
        return;
    m_copied = digest;
    // The pictures are shared, not copied, and the rows are a snapshot: the
    // writer needs nothing from the pages while the user goes on typing.
    const QString table = recoveryTableIn(folder);
    // A copy recovered from another run's slot goes once this run's own
    // copy holds the work.
    const QString adopted = std::exchange(m_adopted, QString());
    QThread *writer = QThread::create([folder, table, content, adopted] {
        try {
            if (!QDir().mkpath(folder))
                throw StoreError(QStringLiteral("Impossibile creare la cartella \"%1\".").arg(folder));
            files::saveAppraisalSet(table, content);
            removeCopyIn(adopted);
        } catch (const std::exception &e) {
            qWarning("UnsavedWork: %s", e.what());
        }
    });
    m_writer = writer;
    connect(writer, &QThread::finished, this, [this, writer] {
        if (m_writer == writer) {
            m_writer = nullptr;
            writer->deleteLater();
        }
    });
    writer->start(QThread::LowPriority);
}

void UnsavedWork::waitForCopy()
{
    if (m_writer)
        m_writer->wait();
}

void UnsavedWork::discardCopy()
{
    waitForCopy();
    m_copied.clear();
    removeCopyIn(recoveryFolder());
    removeCopyIn(std::exchange(m_adopted, QString()));
}

void UnsavedWork::offerRecovery()
{
    if (std::exchange(m_offered, true))
        return;
    const QString own = recoveryFolder();
    QString folder;
    if (!own.isEmpty() && QFileInfo(own).isDir()) {
        // A copy being written when the run ended is finished or dropped first.
        files::recoverFolder(own);
        if (QFileInfo(recoveryTableIn(own)).isFile())
            folder = own;
        else
            removeCopyIn(own);
    }
    // Else a copy that a run on private tables left in the user's folder.
    if (folder.isEmpty()) {
        m_adopted = adoptCopyOfAnotherRun(own);
        folder = m_adopted;
    }
    if (folder.isEmpty())
        return;
    const QFileInfo table(recoveryTableIn(folder));
    if (ui::Messages::question(m_window, recoveryQuestionText(table.lastModified()), false) != ui::Answer::Yes) {
        discardCopy();
        return;
    }
    if (m_files->openAppraisal(table.absoluteFilePath())) {
        // Recovered, not saved: closing asks, and the copy stays until the
        // appraisal is saved.
        m_clean = kNeverSaved;
        m_copied = currentFingerprint();
    }
    Q_EMIT ImpostaSemaforiTreeViewRequested();
}

} // namespace brevan::app
