// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Process-wide set-up shared by the program and the tests that start the real
// main window: Italian translations of Qt's dialogs, the picture allocation
// limit, the application's names.
class QApplication;

namespace brevan::app {

// Runs once per application; later calls do nothing.
void setUpApplication(QApplication &app);

} // namespace brevan::app
