// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The command line of the brevan program itself: --help, --version, Qt's
// notices kept off the terminal, and a plain Italian answer when there is no
// graphical desktop to open the window on.
namespace brevan::app {

// Runs before the QApplication is made. Returns the exit status when the
// program must end here (an answered --help or --version, no display), -1
// when it goes on to open its window.
int checkProgramStart(int argc, char **argv);

} // namespace brevan::app
