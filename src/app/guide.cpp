// SPDX-License-Identifier: GPL-2.0-or-later
#include "guide.h"

#include "pages/messages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#ifndef BREVAN_DOC_FROM_BIN
#define BREVAN_DOC_FROM_BIN "../share/doc/brevan"
#endif

namespace brevan::app {

namespace {

struct Seam {
    std::function<bool(const QUrl &)> opener;
    QString programDir;
};

Seam &seam()
{
    static Seam s;
    return s;
}

QString expectedGuide(const QString &programDir)
{
    return QDir::cleanPath(programDir + QStringLiteral("/" BREVAN_DOC_FROM_BIN "/guida.html"));
}

} // namespace

QString guideFile(const QString &programDir)
{
    const QString path = expectedGuide(programDir);
    return QFileInfo(path).isFile() ? path : QString();
}

void openGuide(QWidget *parent)
{
    const QString programDir =
        seam().programDir.isEmpty() ? QCoreApplication::applicationDirPath() : seam().programDir;
    const QString path = guideFile(programDir);
    if (path.isEmpty()) {
        ui::Messages::warning(parent, QStringLiteral("La guida di Brevan non è installata: manca il file \"%1\".")
                                          .arg(QDir::toNativeSeparators(expectedGuide(programDir))));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    const bool opened = seam().opener ? seam().opener(url) : QDesktopServices::openUrl(url);
    if (!opened)
        ui::Messages::warning(parent, QStringLiteral("Impossibile aprire la guida di Brevan \"%1\" nel programma per "
                                                     "le pagine web.")
                                          .arg(QDir::toNativeSeparators(path)));
}

void setUrlOpenerForTests(std::function<bool(const QUrl &)> opener)
{
    seam().opener = std::move(opener);
}

void setProgramDirForTests(const QString &dir)
{
    seam().programDir = dir;
}

} // namespace brevan::app
