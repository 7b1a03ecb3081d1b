// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Guida di Brevan": the guide as one HTML page, shown by the desktop's
// browser.
#include <QString>

#include <functional>

class QUrl;
class QWidget;

namespace brevan::app {

// The HTML guide of a program whose executable is in programDir: under
// share/doc/brevan beside the installation's bin/, a place the build tree
// mirrors. Empty when the file is not there.
QString guideFile(const QString &programDir);

// Opens the guide of the running program; a guide that is not installed, or
// that the desktop cannot show, ends in a warning.
void openGuide(QWidget *parent);

// Test seam: what hands the guide's address to the desktop
// (QDesktopServices::openUrl unless set), and the folder taken for the
// program's own (the running program's unless set). Empty resets.
void setUrlOpenerForTests(std::function<bool(const QUrl &)> opener);
void setProgramDirForTests(const QString &dir);

} // namespace brevan::app
