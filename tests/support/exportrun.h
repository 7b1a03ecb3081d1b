// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// brevan-export run in the test's own process, its outputs kept as text.
#include "app/exportcommand.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

struct Run {
    int status = -1;
    QString out;
    QString err;
};

inline Run runExport(const QStringList &args)
{
    Run r;
    QTextStream out(&r.out), err(&r.err);
    r.status = brevan::app::runExportCommand(args, out, err);
    out.flush();
    err.flush();
    return r;
}
