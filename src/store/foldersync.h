// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Makes the names in a folder durable: after a file was renamed into place,
// a power cut brings back the new file rather than the one it replaced.
#include <QString>

namespace brevan {

// Flushes the folder's entries to the disk. The file itself was synced
// before its rename; a file system that cannot sync a folder keeps its
// entries as safe as it makes them, and a failure here changes nothing that
// was written, so it is not reported.
void syncFolderEntries(const QString &folder);

} // namespace brevan
