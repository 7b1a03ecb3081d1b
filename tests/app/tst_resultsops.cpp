// SPDX-License-Identifier: GPL-2.0-or-later
// The results page's operations on the real main window: the summary on
// screen, the export to a rich-text file and the print.
#include "../support/appfixture.h"
#include "app/application.h"
#include "app/resultsops.h"
#include "model/currency.h"
#include "model/record.h"
#include "pages/pagekit.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"
#include "store/tablestore.h"
#include "valuation/roomnames.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

using namespace brevan;
using brevan::app::MainWindow;
using brevan::app::ResultsOps;
using brevan::ui::FileDialogRequest;
using brevan::ui::Messages;

namespace {

QLineEdit *edit(MainWindow *w, const char *name)
{
    auto *e = w->pages->findChild<QLineEdit *>(QLatin1String(name));
    if (!e)
        qFatal("no %s", name);
    return e;
}

// Types into a field as the user does.
void type(MainWindow *w, const char *name, const QString &text)
{
    QLineEdit *e = edit(w, name);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

void fillAppraiser(MainWindow *w)
{
    type(w, "CognomeProfess", QStringLiteral("Rossi"));
    type(w, "NomeProfess", QStringLiteral("Mario"));
    // Written by the program: braces, a backslash and accents, which typing
    // might refuse on a keyboard but a pasted text brings in.
    edit(w, "SocietaProfess")->setText(QString::fromUtf8("Studio {Rossi} \\ Città"));
    w->setNodeLight(1, art::NodeImage::Yellow);
}

QTextBlock blockWithText(QTextDocument *doc, const QString &text)
{
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.text() == text)
            return b;
    }
    return {};
}

// Every field of the appraisal filled, every page lit, every room name in
// the surfaces table and one typed description, one comparable: each line
// of every section of the summary is written. Written by the program, with
// no reaction wired.
void fillEverything(MainWindow *w)
{
    for (const FieldDef &f : recordFields()) {
        QWidget *c = w->pages->findChild<QWidget *>(QString::fromLatin1(f.name));
        if (auto *e = qobject_cast<QLineEdit *>(c))
            e->setText(QStringLiteral("X"));
        else if (auto *combo = qobject_cast<QComboBox *>(c))
            ui::setComboText(combo, QStringLiteral("X"));
        else if (auto *b = qobject_cast<QAbstractButton *>(c))
            b->setChecked(true);
    }
    for (int n = 1; n <= MainWindow::kPageNodes; ++n)
        w->setNodeLight(n, art::NodeImage::Green);
    {
        Table surfaces = Table::open(dataPath(kDescrSup));
        surfaces.clear();
        for (const RoomName &room : kRoomNames)
            surfaces.append({QString::fromUtf8(room.name), 1.0});
        surfaces.append({QStringLiteral("Terrazzino lato cortile"), 2.0});
    }
    {
        Table comparables = Table::open(dataPath(kImmConfr));
        QVariantList row;
        for (int c = 0; c < comparables.layout().size(); ++c)
            row << QStringLiteral("X");
        comparables.append(row);
    }
    for (QLineEdit *e : {w->surfacesPage->usefulEdit, w->surfacesPage->conventionalEdit,
                         w->surfacesPage->commercialEdit})
        e->setText(QStringLiteral("1,00  mq"));
}

// Lines of the value tables that are not labelled values: a plant and its kind.
bool isPlantLine(const QString &line)
{
    return line.startsWith(QStringLiteral(" - Ascensore\t")) || line.startsWith(QStringLiteral(" - Riscaldamento\t"));
}

// Where the value after a line's first run of tabs begins.
int valueStart(const QString &line)
{
    int i = int(line.indexOf(QLatin1Char('\t')));
    while (i >= 0 && i < line.size() && line.at(i) == QLatin1Char('\t'))
        ++i;
    return i;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfInfo(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestResultsOps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void cleanup() { currency().reset(); }

    // The hidden compute button: both values are asked for, in order, before
    // the summary is written; focus returns to the page tree.
    void computeButtonOrder()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        ResultsOps ops(w);
        fillAppraiser(w);
        QTextEdit *summary = w->resultsPage->summaryEdit;
        QStringList calls;
        connect(&ops, &ResultsOps::CalcolaCIValoreMercatoRequested, this, [&] {
            calls << QStringLiteral("CI") + (summary->toPlainText().isEmpty() ? QString() : QStringLiteral("+summary"));
        });
        connect(&ops, &ResultsOps::CalcolaCDValoreMercatoRequested, this, [&] {
            calls << QStringLiteral("CD") + (summary->toPlainText().isEmpty() ? QString() : QStringLiteral("+summary"));
        });
        edit(w, "CognomeProfess")->setFocus();
        w->resultsPage->computeButton->click();
        QCOMPARE(calls, (QStringList{QStringLiteral("CI"), QStringLiteral("CD")}));
        QVERIFY(summary->toPlainText().startsWith(QStringLiteral("Generalità del professionista.")));
        QVERIFY(summary->isEnabled());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->tree));
    }

    // The screen form on the page: Arial 8 pt, headings bold navy, body in
    // the window text colour, tab stops every half inch.
    void screenSummaryStyle()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        fillAppraiser(w);
        ops.CalcolaRiepilogoInformazioni();
        QTextEdit *summary = w->resultsPage->summaryEdit;
        QTextDocument *doc = summary->document();

        const QTextBlock heading = blockWithText(doc, QStringLiteral("Generalità del professionista."));
        QVERIFY(heading.isValid());
        const QTextCharFormat hf = heading.begin().fragment().charFormat();
        QCOMPARE(hf.fontWeight(), int(QFont::Bold));
        QCOMPARE(hf.foreground().color(), QColor(0, 0, 128));
        QCOMPARE(hf.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
        QCOMPARE(hf.fontPointSize(), 8.0);

        const QTextBlock body = blockWithText(doc, QStringLiteral("Cognome e Nome: \t\t\tRossi Mario"));
        QVERIFY(body.isValid());
        const QTextCharFormat bf = body.begin().fragment().charFormat();
        QCOMPARE(bf.fontWeight(), int(QFont::Normal));
        QCOMPARE(bf.foreground().style(), Qt::NoBrush); // drawn in the palette's text colour
        QCOMPARE(bf.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
        QCOMPARE(bf.fontPointSize(), 8.0);
        QVERIFY(blockWithText(doc, QString::fromUtf8("Società/Studio: \t\t\tStudio {Rossi} \\ Città")).isValid());
        QCOMPARE(body.blockFormat().leftMargin(), 0.0);
        QCOMPARE(doc->defaultTextOption().tabStopDistance(), summary->logicalDpiX() / 2.0);

        // Every build starts from an empty document.
        ops.CalcolaRiepilogoInformazioni();
        QCOMPARE(summary->toPlainText().count(QStringLiteral("Generalità del professionista.")), 1);
    }

    // Every labelled value of the screen summary stands in its column, two
    // inches from the left, two and a half for the productive
    // characteristics, the comparison parameters and the rate, with the font
    // the program ships (Liberation Sans for Arial), whatever each label
    // measures against the half-inch stops; no label reaches its column.
    void screenValuesLineUp()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        fillEverything(w);
        ops.CalcolaRiepilogoInformazioni();
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().value(0).text));
        QTextEdit *summary = w->resultsPage->summaryEdit;
        QTextDocument *doc = summary->document();
        const QFontInfo font(doc->defaultFont());
        QCOMPARE(font.family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(font.pointSize(), 8);

        const qreal inch = summary->logicalDpiX();
        const QFontMetricsF metrics(doc->defaultFont());
        qreal column = 0;
        int checked = 0;
        QStringList misplaced;
        QStringList overlong;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            const QString text = b.text();
            if (b.charFormat().fontWeight() == QFont::Bold)
                column = text == QStringLiteral("Parametri di confronto.")
                                 || text == QStringLiteral("Caratteristiche produttive.")
                             ? 2.5 * inch
                             : 2 * inch;
            if (!text.contains(QLatin1Char('\t')) || isPlantLine(text))
                continue;
            const int at = valueStart(text);
            doc->documentLayout()->blockBoundingRect(b); // laid out now
            const QTextLine line = b.layout()->lineForTextPosition(at);
            QVERIFY2(line.isValid(), qPrintable(text));
            const qreal x = line.cursorToX(at);
            ++checked;
            // A label that reaches past the column puts its value at the
            // first stop after it: there is nowhere else for it.
            const QString label = text.left(text.indexOf(QLatin1Char('\t')));
            qreal expected = column;
            if (metrics.horizontalAdvance(label) >= column) {
                overlong << label;
                expected = (std::floor(metrics.horizontalAdvance(label) / (inch / 2)) + 1) * (inch / 2);
            }
            if (qAbs(x - expected) > 0.5)
                misplaced << QStringLiteral("%1 at %2, not %3").arg(text.left(text.indexOf(QLatin1Char('\t'))))
                                 .arg(x)
                                 .arg(column);
        }
        QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced.join(QStringLiteral("; "))));
        QVERIFY2(overlong.isEmpty(), qPrintable(overlong.join(QStringLiteral("; "))));
        // Every labelled line of every section: appraiser 12, unit 15, rooms 32,
        // surfaces 3, localisation 11, position 6, type 6, income 12, the
        // comparable 7, the parameters 2 + 5 + 21, the rate 2, the results 4.
        QCOMPARE(checked, 138);
    }

    // The print form indents its paragraphs by 50 pt, but counts the tab
    // stops from the margin, as the exported file does: every labelled value
    // of the printout stands 4 inches from the margin, every label 50 pt.
    void printedValuesLineUp()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        fillEverything(w);
        const QString pdf = f.path(QStringLiteral("allineamento.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(20, 30, 20, 30), QPageLayout::Millimeter);
        ops.setPrinterForTests(&printer);
        w->resultsPage->printButton->click();
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().value(0).text));
        const QRectF paint = printer.pageLayout().paintRectPoints();
        const double left = paint.left();

        // The printed words, line by line: pdftotext lists them by blocks, so
        // they are sorted by page, height and place on the line.
        QProcess bbox;
        bbox.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(bbox.waitForFinished(60000));
        const QString html = QString::fromUtf8(bbox.readAllStandardOutput());
        struct Word {
            QString text;
            int page;
            double x, y;
        };
        QList<Word> all;
        const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
        const QStringList pages = html.split(QStringLiteral("<page "));
        for (int page = 1; page < pages.size(); ++page) {
            for (auto it = word.globalMatch(pages.at(page)); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                const double top = m.captured(2).toDouble();
                // A line at a page's edge is painted on both pages and clipped
                // away on one: only what lies inside the print area shows.
                if (top < paint.top() - 1 || m.captured(3).toDouble() > paint.bottom() + 1)
                    continue;
                all.append({m.captured(4), page, m.captured(1).toDouble(), top});
            }
        }
        std::sort(all.begin(), all.end(), [](const Word &a, const Word &b) {
            if (a.page != b.page)
                return a.page < b.page;
            if (qAbs(a.y - b.y) > 2)
                return a.y < b.y;
            return a.x < b.x;
        });
        QList<QList<Word>> printed;
        for (const Word &printedWord : all) {
            if (printed.isEmpty() || printed.last().first().page != printedWord.page
                || qAbs(printed.last().first().y - printedWord.y) > 2)
                printed.append(QList<Word>());
            printed.last().append(printedWord);
        }

        QList<report::SummaryLine> written;
        for (const report::SummaryLine &l : ops.buffer())
            if (!l.text.trimmed().isEmpty())
                written << l;
        QCOMPARE(printed.size(), written.size());
        int checked = 0;
        QStringList misplaced;
        for (int i = 0; i < written.size(); ++i) {
            const QString &text = written.at(i).text;
            const QList<Word> &words = printed.at(i);
            if (!text.startsWith(QLatin1Char(' ')))
                QVERIFY2(qAbs(words.first().x - (left + 50)) < 0.6, qPrintable(text));
            if (!text.contains(QLatin1Char('\t')) || isPlantLine(text))
                continue;
            const int labelWords = int(text.left(text.indexOf(QLatin1Char('\t'))).simplified().split(QLatin1Char(' ')).size());
            QVERIFY2(words.size() > labelWords, qPrintable(text));
            const double x = words.at(labelWords).x;
            ++checked;
            if (qAbs(x - (left + 4 * 72)) > 0.6)
                misplaced << QStringLiteral("%1 at %2").arg(text.left(text.indexOf(QLatin1Char('\t')))).arg(x - left);
        }
        QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced.join(QStringLiteral("; "))));
        // As on screen, less the two titles of the parameters, which carry no
        // tabs in print.
        QCOMPARE(checked, 136);
    }

    // The summary reads the working tables and the pages as they are now.
    void tablesAndPages()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        {
            Table surfaces = Table::open(dataPath(kDescrSup));
            const QVector<qint64> ids = surfaces.rowIds();
            surfaces.setText(ids[0], QStringLiteral("DescrizioneSuperficie"), QStringLiteral("Cucina"));
            surfaces.setReal(ids[0], QStringLiteral("MqSuperficie"), 12.5);
            surfaces.setText(ids[1], QStringLiteral("DescrizioneSuperficie"), QStringLiteral("Camera"));
            Table comparables = Table::open(dataPath(kImmConfr));
            comparables.append({QStringLiteral("Via Po"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"),
                                QStringLiteral("95")});
            comparables.append({QStringLiteral("Via Tevere"), QStringLiteral("8"), QStringLiteral("2"), QString(),
                                QStringLiteral("70")});
        }
        w->surfacesPage->model()->reload();
        w->surfacesPage->usefulEdit->setText(QStringLiteral("12,5  mq"));
        w->surfacesPage->conventionalEdit->setText(QStringLiteral("15  mq"));
        w->surfacesPage->commercialEdit->setText(QStringLiteral("14  mq"));
        w->setNodeLight(6, art::NodeImage::Green);
        w->setNodeLight(11, art::NodeImage::Yellow);
        w->setNodeLight(2, art::NodeImage::Yellow);
        w->pages->findChild<QDateEdit *>(QStringLiteral("DataStimaImmob"))->setDate(QDate(2024, 3, 5));
        ui::setComboText(w->pages->findChild<QComboBox *>(QStringLiteral("AnnoCostruzImmob")), QStringLiteral("1975"));
        ui::setComboText(w->pages->findChild<QComboBox *>(QStringLiteral("PianoImmob")), QStringLiteral("3"));

        ops.CalcolaRiepilogoInformazioni();
        const QString text = w->resultsPage->summaryEdit->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("\nCucina\t\t\t\t12,50\tmq\n")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Camera")));
        QVERIFY(text.contains(QStringLiteral("Superficie convenzionale: \t\t15,00\tmq")));
        QVERIFY(text.contains(QStringLiteral("\nVia Po 3, Piano 1, Interno 2\n")));
        QVERIFY(text.contains(QStringLiteral(" - Superficie commerciale:\t\t95  mq")));
        QVERIFY(!text.contains(QStringLiteral("Via Tevere")));
        QVERIFY(text.contains(QStringLiteral("Data della stima: \t\t\t5 marzo 2024")));
        QVERIFY(text.contains(QStringLiteral("Piano: \t\t\t\t3°")));

        // The surfaces subsystem's values, when it provides them, come first.
        ops.surfaceValues = [] {
            return QStringList{QStringLiteral("20  mq"), QStringLiteral("21  mq"), QStringLiteral("22  mq")};
        };
        ops.CalcolaRiepilogoInformazioni();
        QVERIFY(w->resultsPage->summaryEdit->toPlainText().contains(QStringLiteral("Superficie utile: \t\t\t20,00\tmq")));
    }

    // A table that cannot be read ends in the error box; the page stays usable.
    void unreadableTable()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        w->setNodeLight(11, art::NodeImage::Yellow);
        QFile::remove(dataPath(kImmConfr));
        QFile junk(dataPath(kImmConfr));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a table");
        junk.close();
        ops.CalcolaRiepilogoInformazioni();
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Shown::Error);
        QVERIFY(!Messages::shown().first().text.isEmpty());
        QVERIFY(w->resultsPage->summaryEdit->isEnabled());
    }

    // With Euro in force the summary's amounts name the Euro.
    void euroSummary()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        currency().setEuro();
        w->resultsPage->comparisonUnitEdit->setText(QStringLiteral("619,75"));
        w->resultsPage->comparisonTotalEdit->setText(QStringLiteral("49.580,00"));
        ops.CalcolaRiepilogoInformazioni();
        const QString text = w->resultsPage->summaryEdit->toPlainText();
        QVERIFY(text.endsWith(QStringLiteral(" - Valore complessivo: \t\t49.580,00   Euro\n")));
        QVERIFY(text.contains(QStringLiteral(" - Valore unitario: \t\t\t619,75   Euro/mq\n")));
        QVERIFY(!text.contains(QStringLiteral("Lire")));
    }

    // The export: the dialog as described, a whole RTF file with the texts.
    void exportWritesRtf()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        fillAppraiser(w);
        edit(w, "EMailProfess")->setText(QStringLiteral("old"));
        const QString target = f.path(QStringLiteral("Risultati stima.rtf"));
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("previous content");
        }
        Messages::setFileAnswers([&](const FileDialogRequest &) { return target; });
        w->resultsPage->exportButton->click();

        QCOMPARE(Messages::fileRequests().size(), 1);
        const FileDialogRequest r = Messages::fileRequests().first();
        QCOMPARE(r.title, QStringLiteral("Esporta stima in formato Word compatibile"));
        QCOMPARE(r.suggested, QStringLiteral("Risultati stima.rtf"));
        QCOMPARE(r.filter, QStringLiteral("Risultati stima (*.rtf) (*.rtf)"));
        QVERIFY(r.save);
        QVERIFY(Messages::shown().isEmpty()); // replaced without a question

        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.trimmed().endsWith('}'));
        QVERIFY(rtf.contains("{\\b\\cf1 Generalit\\u224? del professionista.}\\par"));
        QVERIFY(rtf.contains("Cognome e Nome: \\tab \\tab \\tab \\tab \\tab Rossi Mario\\par"));
        QVERIFY(rtf.contains("Studio \\{Rossi\\} \\\\ Citt\\u224?"));
        QVERIFY(rtf.contains("\\fs24"));
        QVERIFY(!rtf.contains("previous content"));
        QCOMPARE(ops.bufferForm(), report::SummaryForm::Export);
        QCOMPARE(filesIn(QFileInfo(target).absolutePath()).filter(QStringLiteral(".rtf")).size(), 1);
    }

    void exportCancelled()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        fillAppraiser(w);
        const QString folder = f.path(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(folder));
        Messages::setFileAnswers([](const FileDialogRequest &) { return QString(); });
        w->resultsPage->exportButton->click();
        QCOMPARE(Messages::fileRequests().size(), 1);
        QVERIFY(filesIn(folder).isEmpty());
        QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("Risultati stima.rtf"))));
        QVERIFY(Messages::shown().isEmpty());
        // The export form was built all the same.
        QCOMPARE(ops.bufferForm(), report::SummaryForm::Export);
        QVERIFY(!ops.buffer().isEmpty());
        QCOMPARE(ops.buffer().first().text, QStringLiteral("Generalità del professionista."));
    }

    // A file that cannot be written: the error box, nothing half-written,
    // an earlier file left as it was.
    void exportFails_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only folder") << "readonly";
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("folder under a file") << "underfile";
        QTest::newRow("target is a folder") << "folder";
    }
    void exportFails()
    {
        QFETCH(QString, kind);
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        fillAppraiser(w);
        const QString folder = f.path(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(folder));
        QString target = folder + QStringLiteral("/Risultati stima.rtf");
        if (kind == QLatin1String("readonly")) {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("previous content");
            old.close();
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            QFile::setPermissions(target, QFile::ReadOwner);
            if (QFileInfo(folder).isWritable()) {
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user writes into read-only folders (root)");
            }
        } else if (kind == QLatin1String("missing")) {
            target = folder + QStringLiteral("/nessuna/Risultati stima.rtf");
        } else if (kind == QLatin1String("underfile")) {
            QFile plain(folder + QStringLiteral("/file"));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            plain.close();
            target = folder + QStringLiteral("/file/Risultati stima.rtf");
        } else {
            QVERIFY(QDir().mkpath(target));
        }
        const QStringList before = filesIn(folder);
        Messages::setFileAnswers([&](const FileDialogRequest &) { return target; });
        w->resultsPage->exportButton->click();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Shown::Error);
        QVERIFY(Messages::shown().first().text.contains(QDir::toNativeSeparators(target)));
        QCOMPARE(filesIn(folder), before);
        if (kind == QLatin1String("readonly")) {
            QFile old(target);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("previous content"));
        }
        if (kind == QLatin1String("folder"))
            QVERIFY(QFileInfo(target).isDir());
    }

    // The print, on a PDF printer given through the seam: one job titled
    // "Brevan 2.0", 12 pt, indented 50 pt, the floor without "°", no page
    // numbers, as many pages as the text needs.
    void printToPdf()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        ResultsOps ops(w);
        fillAppraiser(w);
        w->setNodeLight(2, art::NodeImage::Yellow);
        ui::setComboText(w->pages->findChild<QComboBox *>(QStringLiteral("PianoImmob")), QStringLiteral("3"));
        {
            // Enough comparables to need more than one page.
            Table comparables = Table::open(dataPath(kImmConfr));
            for (int i = 1; i <= 12; ++i)
                comparables.append({QStringLiteral("Via Po"), QString::number(i), QStringLiteral("1"),
                                    QStringLiteral("2"), QStringLiteral("95"), QStringLiteral("20,00"),
                                    QStringLiteral("15,00"), QStringLiteral("22,00"), QStringLiteral("18,00"),
                                    QStringLiteral("1.500,00"), QStringLiteral("142.500,00")});
        }
        w->setNodeLight(11, art::NodeImage::Green);

        const QString pdf = f.path(QStringLiteral("stampa.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        ops.setPrinterForTests(&printer);
        w->resultsPage->printButton->click();

        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().value(0).text));
        QCOMPARE(printer.docName(), QStringLiteral("Brevan 2.0"));
        QCOMPARE(ops.bufferForm(), report::SummaryForm::Print);
        QVERIFY(QFileInfo(pdf).size() > 0);

        const QString info = pdfInfo(pdf);
        // The job is "Brevan 2.0"; the PDF file is PDF/A-1b, titled after the unit.
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Stima dell'unità immobiliare"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Author:\\s+Mario Rossi"))), qPrintable(info));
        const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        QVERIFY(pages.hasMatch());
        QVERIFY(pages.captured(1).toInt() >= 2);

        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Generalità del professionista.")));
        QVERIFY(text.contains(QStringLiteral("Rossi Mario")));
        QVERIFY(text.contains(QStringLiteral("Via Po 12, Piano 1, Interno 2")));
        QVERIFY(text.contains(QStringLiteral("Parametri di confronto.")));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("Piano:\\s+3\\s*\\n"))));
        QVERIFY(!text.contains(QStringLiteral("3°")));
        // No page numbers: no line holds a number alone.
        const QRegularExpressionMatch number =
            QRegularExpression(QStringLiteral("^[ \\f]*\\d+[ ]*$"), QRegularExpression::MultilineOption).match(text);
        QVERIFY2(!number.hasMatch(), qPrintable(number.captured(0)));

        // The indent: the headings start 50 pt right of the printable area.
        QProcess bbox;
        bbox.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                                 QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
        QVERIFY(bbox.waitForFinished(30000));
        const QString html = QString::fromUtf8(bbox.readAllStandardOutput());
        const QRegularExpressionMatch first =
            QRegularExpression(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">Generalit"))
                .match(html);
        QVERIFY2(first.hasMatch(), qPrintable(html.left(2000)));
        const double left = printer.pageLayout().paintRectPoints().left();
        QVERIFY2(qAbs(first.captured(1).toDouble() - (left + 50)) < 2.0, qPrintable(first.captured(1)));
        // 12 pt text: the word box is about 12 pt high.
        const double height = first.captured(3).toDouble() - first.captured(2).toDouble();
        QVERIFY2(height > 10 && height < 16, qPrintable(QString::number(height)));
    }
};

QTEST_MAIN(TestResultsOps)
#include "tst_resultsops.moc"
