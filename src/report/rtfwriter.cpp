// SPDX-License-Identifier: GPL-2.0-or-later
#include "rtfwriter.h"

#include <cstdint>

namespace brevan::report {

QByteArray rtfEscape(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\': out += "\\\\"; continue;
        case u'{': out += "\\{"; continue;
        case u'}': out += "\\}"; continue;
        // Control words end with a blank, which the reader swallows, so a
        // following letter or digit cannot run into them.
        case u'\t': out += "\\tab "; continue;
        case u'\n': out += "\\par "; continue;
        default: break;
        }
        if (u < 0x20 || u == 0x7f)
            continue; // \r and other control characters have no place in a line
        if (u < 0x80) {
            out += char(u);
            continue;
        }
        // QString holds UTF-16, so a character beyond U+FFFF arrives here as
        // its two surrogates, each written on its own.
        out += "\\u";
        out += QByteArray::number(int(static_cast<std::int16_t>(u)));
        out += '?';
    }
    return out;
}

QByteArray writeRtf(const SummaryLines &lines, int pointSize, int leftIndentPt)
{
    QByteArray out;
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    out += "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n";
    // Entry 0 is the reader's automatic colour, used by the body text.
    out += "{\\colortbl ;\\red0\\green0\\blue128;}\n";
    out += "\\viewkind4\\pard\\li" + QByteArray::number(leftIndentPt * 20) + "\\f0\\fs"
           + QByteArray::number(pointSize * 2) + "\n";
    for (const SummaryLine &line : lines) {
        if (line.style == SummaryLine::Style::Heading)
            out += "{\\b\\cf1 " + rtfEscape(line.text) + "}";
        else
            out += rtfEscape(line.text);
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

} // namespace brevan::report
