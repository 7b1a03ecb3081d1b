// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Writing an output file (a summary, a report, an export) in one piece.
#include <QByteArray>
#include <QString>

namespace brevan::files {

// Writes bytes as the whole content of path. An ordinary file, or a new one,
// is written beside the target and renamed over it, so a failure leaves what
// was there. A target that is not an ordinary file (a terminal, a pipe such
// as /dev/stdout, a device) is written into as it is and never replaced.
// False when it could not be written, with the reason, in Italian, in *why.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *why);

} // namespace brevan::files
