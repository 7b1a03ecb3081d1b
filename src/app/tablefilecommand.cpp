// SPDX-License-Identifier: GPL-2.0-or-later
#include "tablefilecommand.h"

#include "files/setsave.h"
#include "legacy/keeporiginal.h"
#include "pages/messages.h"

#include <QDir>
#include <QFileInfo>

namespace brevan::app {

void runTableFileCommand(QWidget *parent, const QString &working, const Layout &layout,
                         const TableFileCommand &command)
{
    ui::FileDialogRequest request;
    request.title = command.title;
    request.filter = command.filter;
    request.directory = QDir::currentPath();
    request.suggested = command.suggested;
    request.save = command.save;
    request.defaultSuffix = QStringLiteral("db");
    const QString chosen = ui::Messages::fileName(parent, request);
    if (chosen.isEmpty())
        return;
    // What an interrupted write left in that folder goes first.
    files::recoverFolder(QFileInfo(chosen).absolutePath());
    try {
        // Checked against the layout before a byte is written; the target is
        // replaced through a temporary file and a rename.
        if (command.save) {
            const QStringList kept = legacy::keepParadoxOriginal(chosen);
            Table::copy(working, chosen, layout);
            if (!kept.isEmpty())
                ui::Messages::note(parent, legacy::keptOriginalsNote(kept));
        } else
            Table::copy(chosen, working, layout);
    } catch (const TableTooLarge &e) {
        // Not a fault of the file's form but of its size: say so after the
        // command's own words.
        ui::Messages::warning(parent, command.failure.arg(QDir::toNativeSeparators(chosen)) + QStringLiteral("\n\n")
                                          + e.message());
    } catch (const std::exception &) {
        ui::Messages::warning(parent, command.failure.arg(QDir::toNativeSeparators(chosen)));
    }
}

} // namespace brevan::app
