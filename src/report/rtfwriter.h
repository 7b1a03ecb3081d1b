// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Our RTF writer for the summary: Arial, a colour table with navy for the
// headings, body text in the reader's default colour. The output is plain
// 7-bit ASCII whatever the text holds.
#include "summary.h"

#include <QByteArray>
#include <QString>

namespace brevan::report {

// The one escape function for text put into an RTF document: "\", "{" and "}"
// escaped; tabs as \tab, line breaks as \par; every character above 127 as
// \uN? with N the signed 16-bit UTF-16 unit (so characters beyond U+FFFF
// become their surrogate pair); other control characters dropped. Needs \uc1
// in force, as writeRtf declares it.
QByteArray rtfEscape(const QString &text);

// A whole document: one paragraph per line, headings bold navy, at the given
// size with the given left indent (points).
QByteArray writeRtf(const SummaryLines &lines, int pointSize, int leftIndentPt = 0);

} // namespace brevan::report
