// SPDX-License-Identifier: GPL-2.0-or-later
#include "splashwindow.h"

#include "artwork.h"
#include "brand.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace brevan::app {

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(QStringLiteral(" Inizializzazione in corso..."));
    setFixedSize(356, 141);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);

    auto *picture = new PictureFrame(this);
    picture->move(8, 8);
    picture->setCursor(Qt::ArrowCursor);

    auto *title = new ShadowTitle(QStringLiteral("Brevan 2.0"), 29, this);
    title->move(116, 6);
    int y = 46;
    for (const QString &line : publisherLines()) {
        auto *l = new ClickableLabel(line, this);
        l->move(118, y);
        l->adjustSize();
        y += 14;
    }

    auto *strip = new QFrame(this);
    strip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    strip->setGeometry(7, 114, 342, 19);
    auto *bar = new QLabel(strip);
    bar->setGeometry(1, 1, 340, 17);
    bar->setPixmap(art::splashBar({340, 17}));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace brevan::app
