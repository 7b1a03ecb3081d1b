// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The open and save commands of the grid pages: ask for a table file, then
// copy it over the working table (open) or the working table to it (save).
#include "store/tablestore.h"

#include <QString>

class QWidget;

namespace brevan::app {

struct TableFileCommand {
    QString title;
    QString filter;
    QString suggested; // save only
    bool save = false;
    QString failure;   // the command's warning; "%1" is the file's path
};

// Runs with the working table closed by the caller. A cancelled dialog does
// nothing; a failed copy shows the warning and leaves both tables as they
// were (copies are whole or nothing). Store failures before the dialog throw.
void runTableFileCommand(QWidget *parent, const QString &working, const Layout &layout,
                         const TableFileCommand &command);

} // namespace brevan::app
