// SPDX-License-Identifier: GPL-2.0-or-later
// The RTF writer: its escapes, and whole documents read back with a small
// RTF reader that knows just the words the writer uses.
#include "report/rtfwriter.h"

#include <QColor>
#include <QTest>

#include <cctype>

using namespace brevan::report;

namespace {

struct Paragraph {
    QString text;
    bool bold = false;
    int colour = 0; // index into the colour table
};

struct ReadBack {
    QVector<Paragraph> paragraphs;
    QStringList fonts;
    QList<QColor> colours; // entry 0 is the automatic colour (invalid)
    int fontSize = -1;     // half points
    int leftIndent = -1;   // twips
    int uc = -1;
    bool balanced = false;
    QString error;
};

ReadBack readRtf(const QByteArray &rtf)
{
    ReadBack r;
    struct State {
        bool bold = false;
        int colour = 0;
        enum { Text, Fonts, Colours } destination = Text;
    };
    QVector<State> stack{State{}};
    Paragraph current;
    bool paragraphStarted = false;
    QString fontName;
    int red = 0, green = 0, blue = 0;
    int skip = 0; // fallback characters still to skip after \u
    int depth = 0;

    auto addChar = [&](QChar c) {
        State &s = stack.last();
        if (s.destination == State::Fonts) {
            if (c == QLatin1Char(';')) {
                r.fonts << fontName.trimmed();
                fontName.clear();
            } else {
                fontName += c;
            }
            return;
        }
        if (s.destination == State::Colours) {
            if (c == QLatin1Char(';')) {
                r.colours << (r.colours.isEmpty() ? QColor() : QColor(red, green, blue));
                red = green = blue = 0;
            }
            return;
        }
        if (!paragraphStarted) {
            current.bold = s.bold;
            current.colour = s.colour;
            paragraphStarted = true;
        } else if (current.bold != s.bold || current.colour != s.colour) {
            r.error = QStringLiteral("mixed styles in one paragraph");
        }
        current.text += c;
    };

    int i = 0;
    const int n = rtf.size();
    while (i < n) {
        const char c = rtf[i];
        if (c == '{') {
            stack.append(stack.last());
            ++depth;
            ++i;
        } else if (c == '}') {
            if (stack.size() <= 1) {
                r.error = QStringLiteral("unbalanced }");
                return r;
            }
            stack.removeLast();
            --depth;
            ++i;
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else if (c == '\\') {
            ++i;
            if (i >= n)
                break;
            const char d = rtf[i];
            if (d == '\\' || d == '{' || d == '}') {
                if (skip > 0)
                    --skip;
                else
                    addChar(QLatin1Char(d));
                ++i;
                continue;
            }
            if (!std::isalpha(static_cast<unsigned char>(d))) {
                r.error = QStringLiteral("unexpected control symbol");
                ++i;
                continue;
            }
            QByteArray word;
            while (i < n && std::isalpha(static_cast<unsigned char>(rtf[i])))
                word += rtf[i++];
            QByteArray digits;
            if (i < n && (rtf[i] == '-' || std::isdigit(static_cast<unsigned char>(rtf[i])))) {
                digits += rtf[i++];
                while (i < n && std::isdigit(static_cast<unsigned char>(rtf[i])))
                    digits += rtf[i++];
            }
            const bool hasParam = !digits.isEmpty();
            const int param = digits.toInt();
            if (i < n && rtf[i] == ' ')
                ++i; // the delimiter belongs to the word
            State &s = stack.last();
            if (word == "par") {
                r.paragraphs << current;
                current = Paragraph{};
                paragraphStarted = false;
            } else if (word == "tab") {
                addChar(QLatin1Char('\t'));
            } else if (word == "u") {
                addChar(QChar(char16_t(static_cast<quint16>(static_cast<qint16>(param)))));
                skip = r.uc;
            } else if (word == "uc") {
                r.uc = param;
            } else if (word == "b") {
                s.bold = !hasParam || param != 0;
            } else if (word == "cf") {
                s.colour = param;
            } else if (word == "fs") {
                r.fontSize = param;
            } else if (word == "li") {
                r.leftIndent = param;
            } else if (word == "fonttbl") {
                s.destination = State::Fonts;
            } else if (word == "colortbl") {
                s.destination = State::Colours;
            } else if (word == "red") {
                red = param;
            } else if (word == "green") {
                green = param;
            } else if (word == "blue") {
                blue = param;
            }
        } else {
            if (static_cast<unsigned char>(c) > 127)
                r.error = QStringLiteral("byte above 127");
            if (skip > 0)
                --skip;
            else
                addChar(QLatin1Char(c));
            ++i;
        }
    }
    if (paragraphStarted)
        r.paragraphs << current;
    r.balanced = depth == 0 && stack.size() == 1;
    return r;
}

} // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("plain") << "Via Roma, 12" << QByteArray("Via Roma, 12");
        QTest::newRow("backslash") << "C:\\Stime\\a" << QByteArray("C:\\\\Stime\\\\a");
        QTest::newRow("braces") << "{x}" << QByteArray("\\{x\\}");
        QTest::newRow("accents") << QString::fromUtf8("àèéìòù")
                                 << QByteArray("\\u224?\\u232?\\u233?\\u236?\\u242?\\u249?");
        QTest::newRow("degree") << QString::fromUtf8("3°") << QByteArray("3\\u176?");
        QTest::newRow("euro") << QString::fromUtf8("10 €") << QByteArray("10 \\u8364?");
        QTest::newRow("above 32767 is negative") << QString(QChar(0xFF71)) << QByteArray("\\u-143?");
        QTest::newRow("beyond U+FFFF as surrogates")
            << QString::fromUcs4(U"\U0001F3E0") << QByteArray("\\u-10180?\\u-8224?");
        QTest::newRow("tab") << "a\tb" << QByteArray("a\\tab b");
        QTest::newRow("tab before a digit") << "\t5" << QByteArray("\\tab 5");
        QTest::newRow("line break") << "a\nb" << QByteArray("a\\par b");
        QTest::newRow("control characters dropped") << QStringLiteral("a\x01\rb\x7f") << QByteArray("ab");
        QTest::newRow("DEL is not above 127, 128 is") << QString(QChar(0x80)) << QByteArray("\\u128?");
    }
    void escape()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(rtfEscape(text), expected);
    }

    // Whatever the lines hold, the document reads back to the same lines,
    // headings bold navy and the body in the automatic colour.
    void roundTrip_data()
    {
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<int>("indent");
        QTest::newRow("export") << 12 << 0;
        QTest::newRow("print") << 12 << 50;
        QTest::newRow("screen size") << 8 << 0;
    }
    void roundTrip()
    {
        QFETCH(int, pointSize);
        QFETCH(int, indent);
        const SummaryLines lines = {
            {SummaryLine::Style::Heading, QString::fromUtf8("Generalità del professionista.")},
            {SummaryLine::Style::Body, QString()},
            {SummaryLine::Style::Body, QString::fromUtf8("Società/Studio: \t\t\t\t\tStudio {Rossi} \\ Bianchi")},
            {SummaryLine::Style::Body, QString::fromUtf8("Piano: \t\t\t\t\t\t3°")},
            {SummaryLine::Style::Body, QString::fromUtf8("Canone: \t\t12,00   Euro €")},
            {SummaryLine::Style::Body, QString::fromUtf8("Età dell'edificio: \t\t\t\t\t49 anni")},
            {SummaryLine::Style::Body, QStringLiteral("1234\t5678")},
            {SummaryLine::Style::Body, QString::fromUcs4(U"Casa \U0001F3E0 ok")},
            {SummaryLine::Style::Heading, QStringLiteral("Risultati della stima.")},
            {SummaryLine::Style::Body, QString()},
        };
        const QByteArray rtf = writeRtf(lines, pointSize, indent);
        QVERIFY(rtf.startsWith("{\\rtf1"));
        for (char c : rtf)
            QVERIFY(static_cast<unsigned char>(c) < 128);

        const ReadBack r = readRtf(rtf);
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QVERIFY(r.balanced);
        QCOMPARE(r.uc, 1);
        QCOMPARE(r.fonts, QStringList{QStringLiteral("Arial")});
        QCOMPARE(r.colours.size(), 2);
        QCOMPARE(r.colours[1], QColor(0, 0, 128));
        QCOMPARE(r.fontSize, pointSize * 2);
        QCOMPARE(r.leftIndent, indent * 20);
        QCOMPARE(r.paragraphs.size(), lines.size());
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(r.paragraphs[i].text, lines[i].text);
            if (lines[i].text.isEmpty())
                continue;
            const bool heading = lines[i].style == SummaryLine::Style::Heading;
            QCOMPARE(r.paragraphs[i].bold, heading);
            QCOMPARE(r.paragraphs[i].colour, heading ? 1 : 0);
        }
    }

    // A summary built from text a user typed cannot break out of its group:
    // "}" or "\" in a value never closes the heading or starts a word.
    void hostileTextStaysText()
    {
        const QString nasty = QStringLiteral("}}{\\rtf1\\b\\cf1 x}\\par\\");
        const SummaryLines lines = {{SummaryLine::Style::Heading, nasty}, {SummaryLine::Style::Body, nasty}};
        const ReadBack r = readRtf(writeRtf(lines, 12));
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QVERIFY(r.balanced);
        QCOMPARE(r.paragraphs.size(), 2);
        QCOMPARE(r.paragraphs[0].text, nasty);
        QCOMPARE(r.paragraphs[1].text, nasty);
        QVERIFY(r.paragraphs[0].bold);
        QVERIFY(!r.paragraphs[1].bold);
        QCOMPARE(r.paragraphs[1].colour, 0);
    }

    void emptyDocument()
    {
        const ReadBack r = readRtf(writeRtf({}, 12));
        QVERIFY(r.balanced);
        QVERIFY(r.paragraphs.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
