// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcadocument.h"

#include "model/numbertext.h"
#include "report/rtfwriter.h"
#include "valuation/mcasheet.h"

namespace brevan::report {

QString euroText(double value)
{
    return FormattaImporto(value) + QStringLiteral(" €");
}

bool isNumericCell(const QString &text)
{
    return mca::readNumberText(text).status == mca::NumberText::Status::Number;
}

QByteArray mcaRtf(const McaDocument &doc)
{
    QByteArray out;
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    out += "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n";
    out += "{\\colortbl ;\\red0\\green0\\blue128;\\red192\\green0\\blue0;}\n";
    out += "\\paperw11906\\paperh16838\\margl1418\\margr1134\\margt1134\\margb1134\n";
    out += "\\viewkind4\\pard\\f0\\fs20\n";
    out += "{\\b\\cf1\\fs28 " + rtfEscape(doc.title) + "}\\par\n";
    for (const QString &line : doc.heading)
        out += rtfEscape(line) + "\\par\n";
    out += "\\par\n";
    constexpr int kContentTwips = 11906 - 1418 - 1134;
    for (const McaTable &t : doc.tables) {
        out += "\\pard\\keepn\\sb120\\sa60{\\b\\cf1 " + rtfEscape(t.title) + "}\\par\n";
        const int columns = int(t.header.size());
        const int labelWidth = columns > 2 ? 3300 : 6000;
        const int cellWidth = columns > 1 ? (kContentTwips - labelWidth) / (columns - 1) : 0;
        const auto row = [&](const QStringList &cells, bool header, bool bold) {
            out += "\\trowd\\trgaph60\\trleft0";
            if (header)
                out += "\\trhdr";
            for (int c = 0; c < columns; ++c) {
                out += "\\clbrdrt\\brdrs\\brdrw5\\clbrdrl\\brdrs\\brdrw5\\clbrdrb\\brdrs\\brdrw5\\clbrdrr\\brdrs\\brdrw5";
                out += "\\cellx" + QByteArray::number(labelWidth + c * cellWidth);
            }
            out += "\n";
            for (int c = 0; c < columns; ++c) {
                const QString text = cells.value(c);
                const bool right = c > 0 && !header && isNumericCell(text);
                out += "\\pard\\intbl\\fs18";
                out += right ? "\\qr " : "\\ql ";
                if (header)
                    out += "{\\b\\cf1 " + rtfEscape(text) + "}";
                else if (bold)
                    out += "{\\b " + rtfEscape(text) + "}";
                else
                    out += rtfEscape(text);
                out += "\\cell\n";
            }
            out += "\\row\n";
        };
        row(t.header, true, false);
        for (int i = 0; i < t.rows.size(); ++i)
            row(t.rows[i], false, t.emphasised.contains(i));
        out += "\\pard\\fs16\\sa120 " + rtfEscape(t.note) + "\\par\\fs20\n";
    }
    out += "\\pard\\keepn\\sb120\\sa60{\\b\\cf1 " + rtfEscape(QStringLiteral("Risultato")) + "}\\par\n";
    for (int i = 0; i < doc.results.size(); ++i) {
        const QString &line = doc.results[i];
        if (i == doc.warningLine)
            out += "{\\b\\cf2 " + rtfEscape(line) + "}\\par\n";
        else
            out += rtfEscape(line) + "\\par\n";
    }
    out += "}\n";
    return out;
}

} // namespace brevan::report
