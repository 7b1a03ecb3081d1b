// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Pictures drawn in code: the program picture, the tree's node images, the
// toolbar icons, the splash bar and the About picture. Nothing is loaded from
// files (the program picture is an SVG compiled in), so the program looks the
// same wherever it runs.
#include <QIcon>
#include <QPixmap>

namespace brevan::art {

// The program picture: a house on a blue tile under a value gauge, on a
// measuring rule; the desktop icon's drawing.
QPixmap programPicture(int size);

enum class NodeImage { Root = 0, Arrow = 1, Red = 2, Yellow = 3, Green = 4 };
// The five 16 × 16 images of the page tree.
QPixmap nodeImage(NodeImage image);

enum class Glyph {
    Open, Save, New, LoadAppraiser, SaveAppraiser, Cut, Copy, Paste, Lire, Euro,
};
QIcon toolIcon(Glyph glyph);
// The icon of page n (1 to 12), shared by its menu item and its page button.
QIcon pageIcon(int page);

// The static bar of the splash window (340 × 17).
QPixmap splashBar(const QSize &size);
// The About box's middle picture (458 × 205).
QPixmap aboutPicture(const QSize &size);

} // namespace brevan::art
