// SPDX-License-Identifier: GPL-2.0-or-later
#include "programcommand.h"

#include "cli/commandline.h"

#include <cstdio>

namespace brevan::app {

namespace {

cli::CommandInfo programInfo()
{
    cli::CommandInfo info;
    info.name = "brevan";
    info.usage = QStringLiteral("Uso: brevan\n");
    info.description = QStringLiteral(
        "Stima il più probabile valore di mercato di un'unità immobiliare residenziale,\n"
        "per capitalizzazione dei redditi e per comparazione diretta. Apre la finestra\n"
        "principale; le stime si aprono e si salvano dal menu File.\n"
        "Senza schermo, brevan-export scrive il riepilogo e il report di una stima salvata.\n");
    info.options = QString();
    info.cannotStart = QStringLiteral(
        "impossibile aprire la finestra: serve un desktop grafico, e lo schermo indicato\n"
        "non è raggiungibile o il supporto grafico di Qt non è installato.");
    return info;
}

} // namespace

int checkProgramStart(int argc, char **argv)
{
    const cli::CommandInfo info = programInfo();
    cli::keepQtQuiet(info);
    if (const int status = cli::answerStandardOptions(argc, argv, info); status >= 0)
        return status;
    if (!cli::hasDisplay()) {
        std::fputs("brevan: Brevan ha bisogno di un desktop grafico e qui non trova uno schermo\n"
                   "(DISPLAY e WAYLAND_DISPLAY non sono impostati). Avviarlo da una sessione grafica;\n"
                   "senza schermo, brevan-export scrive il riepilogo e il report di una stima salvata.\n",
                   stderr);
        return cli::ExitFailure;
    }
    return -1;
}

} // namespace brevan::app
