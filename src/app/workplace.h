// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where this run keeps its working tables. One data folder has one program
// working in it: the first takes the folder's lock and answers a second
// start, which brings the first window forward instead of opening its own.
// When the data folder is locked by a program that does not answer, or
// cannot be used at all (read-only, missing, no configuration), the working
// tables live in a private folder for this run, so the appraisal still
// saves anywhere the user may write.
#include "store/folderlock.h"

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
class QTemporaryDir;
class QWidget;

namespace brevan::app {

class WorkPlace : public QObject {
    Q_OBJECT
public:
    explicit WorkPlace(QWidget *window);
    ~WorkPlace() override;

    // The start-up steps of the working tables, in the data folder when this
    // program can work there alone, else (said once) in a private folder.
    // Throws only when not even the private folder can be made.
    void open();
    // After the close steps: lets go of the data folder.
    void close();
    // Whether this run works in the data folder (and may keep files there
    // that no other program touches, such as the recovery copy).
    bool ownsDataFolder() const { return m_lock.isHeld(); }

    static QString inUseText(const QString &dataFolder);
    static QString unusableText(const QString &dataFolder, const QString &why);
    static QString handedOverText(const QString &dataFolder);

    // Asks the program that works in the data folder to bring its window
    // forward; true when it answered.
    static bool raiseRunningProgram(const QString &dataFolder, int timeoutMs = 3000);

Q_SIGNALS:
    // A second start asked for this window.
    void raiseRequested();

private:
    void usePrivateFolder();
    void listen(const QString &dataFolder);

    QWidget *m_window;
    FolderLock m_lock;
    std::unique_ptr<QTemporaryDir> m_private;
    int m_server = -1; // the listening socket
    QSocketNotifier *m_notifier = nullptr;
};

// For main(): when another program works in the registered data folder and
// brings its window forward, says so and returns true; the caller then ends.
bool handOverToRunningProgram();

} // namespace brevan::app
