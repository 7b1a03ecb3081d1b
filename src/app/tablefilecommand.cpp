#include "tablefilecommand.h"

#include "legacy/keeporiginal.h"
#include "pages/messages.h"

#include <QDir>

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
    } catch (const std::exception &) {
        ui::Messages::warning(parent, command.failure.arg(QDir::toNativeSeparators(chosen)));
    }
}

} // namespace brevan::app
