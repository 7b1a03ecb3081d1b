// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The single-byte code pages that Paradox tables store their text in: the
// header names one by its number (1252 for Windows, 850 or 437 for DOS).
#include <QByteArrayView>
#include <QString>

namespace brevan::legacy {

// True when text in that code page can be decoded.
bool isKnownCodePage(int codePage);
// Decodes bytes of a known code page into Unicode, one character per byte.
QString decodeCodePage(int codePage, QByteArrayView bytes);

} // namespace brevan::legacy
