// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Saving a set of files into one folder whole or not at all. Every file of
// the new set is written into a hidden staging folder inside the target
// folder (same file system), synced, and listed in a manifest that is synced
// last: the manifest is the moment the new set exists. Then each file is
// renamed over its target. A crash before the manifest leaves the earlier set
// untouched; a crash after it is finished by whoever next opens, lists or
// saves in that folder (recoverFolder), so nobody ever reads a set that mixes
// two saves.
#include <QString>
#include <QStringList>

namespace brevan::files {

class SetSave {
public:
    // Finishes or discards what an earlier save left in the folder, then
    // makes the staging folder. Throws StoreError when the folder cannot be
    // written.
    explicit SetSave(const QString &folder);
    // An uncommitted save is discarded: the folder keeps its earlier set.
    ~SetSave();
    SetSave(const SetSave &) = delete;
    SetSave &operator=(const SetSave &) = delete;

    // Where the file that will become folder/name is to be written now.
    // Files are put in place in the order they were staged. Throws StoreError
    // for a name that is not a plain file name or is staged twice.
    QString stage(const QString &name);
    // Syncs the staged files, writes the manifest and puts every file in
    // place. Throws StoreError; a failure before the manifest leaves the
    // folder as it was, one after it is finished by the next recovery.
    void commit();

    const QString &folder() const { return m_folder; }
    const QString &stagingFolder() const { return m_staging; }

private:
    QString m_folder;
    QString m_staging;
    QStringList m_names;
    int m_lock = -1;
    bool m_committed = false;
};

// What a recovery found in a folder.
struct FolderRecovery {
    int finished = 0;   // committed saves put in place
    int discarded = 0;  // saves interrupted before their manifest
    int leftovers = 0;  // temporary files of interrupted single-file writes
};

// Finishes every committed save left in the folder, removes the ones
// interrupted before their manifest and the temporary files of interrupted
// single-file writes. A save still running in another process is left
// alone. Never throws: a folder that cannot be tidied is left as it is.
FolderRecovery recoverFolder(const QString &folder);

// True for the names of the staging folders and the temporary files that
// the program's writes leave behind when interrupted: ".brevan-XXXXXX.db",
// ".Name.db.XXXXXX", their "-journal"s, ".brevan-salvataggio-XXXXXX".
bool isTemporaryName(const QString &fileName);

// Flushes a file's or a folder's contents to the disk. Throws StoreError.
void syncPath(const QString &path);

} // namespace brevan::files
