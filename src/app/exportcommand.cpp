// SPDX-License-Identifier: GPL-2.0-or-later
#include "exportcommand.h"

#include "app/fileops.h"
#include "app/mainwindow.h"
#include "app/mcaops.h"
#include "app/omiops.h"
#include "app/periziaops.h"
#include "app/reportops.h"
#include "files/appraisalfiles.h"
#include "files/mcatable.h"
#include "files/omitable.h"
#include "files/periziatable.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "model/record.h"
#include "pages/descriptionpage.h"
#include "pages/messages.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"
#include "store/oserror.h"
#include "valuation/surfaces.h"

#include <QAction>
#include <QCommandLineParser>
#include <QDateEdit>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextStream>
#include <QToolButton>

#include <cerrno>
#include <cmath>

namespace brevan::app {

QString standardOutputFailureText(const QString &reason)
{
    return QStringLiteral("Impossibile scrivere sull'uscita standard:\n%1").arg(reason);
}

const QString kOpenAppraisalFailed = QStringLiteral(
    "Impossibile caricare da disco la stima selezionata:\nil file è danneggiato o non è un formato valido.");

namespace {

const QString kUsageLine = QStringLiteral(
    "Uso: brevan-export STIMA.db [--euro] [--text] [--json] [--rtf FILE] [--pdf FILE] [--pages ELENCO]\n"
    "                  [--perizia FILE.pdf] [--odt FILE.odt] [--privacy]\n");

QString jsonString(const QString &s)
{
    const QByteArray array = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString jsonNumber(double v)
{
    return std::isfinite(v) ? QString::number(v, 'g', QLocale::FloatingPointShortest) : QStringLiteral("null");
}

QString missingAppraisalText(const QString &path)
{
    return QStringLiteral("il file \"%1\" non esiste.").arg(QDir::toNativeSeparators(path));
}

// The summary's text for a terminal: a control character that came with the
// file (an escape sequence that would recolour or rewrite the terminal) is
// written as JSON writes it, a backslash, "u" and four hexadecimal digits;
// tabs and line ends stay.
QString terminalSafe(const QString &text)
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = (u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7f && u <= 0x9f);
        if (control)
            safe += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    return safe;
}

// Why the results could not be written to the standard output (a full
// disk, a closed pipe), in the words the system gives.
QString outputFailureText(const QTextStream &out)
{
    QString why;
    if (const auto *file = qobject_cast<const QFileDevice *>(out.device()))
        why = fileErrorText(*file);
    if (why.isEmpty())
        why = systemErrorText(EIO);
    return standardOutputFailureText(why);
}

// "1,3,9-11": the choices that include the pages named.
bool parsePages(const QString &list, report::ReportSelection *selection, QString *error)
{
    *selection = report::ReportSelection::none();
    const QStringList items = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (items.isEmpty()) {
        *error = QStringLiteral("elenco di pagine vuoto");
        return false;
    }
    for (const QString &raw : items) {
        const QString item = raw.trimmed();
        if (item.compare(QLatin1String("mca"), Qt::CaseInsensitive) == 0) {
            selection->mca = true;
            continue;
        }
        if (item.compare(QLatin1String("omi"), Qt::CaseInsensitive) == 0) {
            selection->omi = true;
            continue;
        }
        bool ok1 = false, ok2 = false;
        int first = 0, last = 0;
        if (item.contains(QLatin1Char('-'))) {
            first = item.section(QLatin1Char('-'), 0, 0).trimmed().toInt(&ok1);
            last = item.section(QLatin1Char('-'), 1).trimmed().toInt(&ok2);
        } else {
            first = last = item.toInt(&ok1);
            ok2 = ok1;
        }
        if (!ok1 || !ok2 || first < 1 || last > report::kPageCount || first > last) {
            *error = QStringLiteral("pagina non valida: \"%1\" (da 1 a %2)").arg(item).arg(report::kPageCount);
            return false;
        }
        for (int page = first; page <= last; ++page)
            (*selection)[report::choiceOfPage(page)] = true;
    }
    return true;
}

// The surfaces as the surfaces page computes them when its table holds a
// complete row; used only when the window's report commands have not been
// given the surfaces subsystem's values.
QStringList surfacesFromTable(const MainWindow &window)
{
    const QString file = window.surfacesPage->model()->tableFile();
    const Table table = Table::open(file.isEmpty() ? dataPath(kDescrSup) : file);
    const int d = table.columnIndex(QStringLiteral("DescrizioneSuperficie"));
    const int a = table.columnIndex(QStringLiteral("MqSuperficie"));
    QVector<SurfaceRow> rows;
    for (const QVariantList &r : table.rows())
        rows.append({r.value(d).toString(), r.value(a).toDouble()});
    if (countSurfaceRows(rows).complete == 0)
        return {QString(), QString(), QString()};
    const double useful = CalcolaSuperficieUtile(rows);
    return {surfaceValueText(useful), surfaceValueText(CalcolaSuperficieConvenzionale(rows, useful)),
            surfaceValueText(CalcolaSuperficieCommerciale(rows, useful))};
}

// The 149 fields in stored order, then the currency.
QString recordJson(const MainWindow &window, ReportOps &ops, const QString &appraisalFile)
{
    const report::ReportInput in = ops.collectInput();
    const QStringList surfaces = ops.surfaceValues ? ops.surfaceValues() : surfacesFromTable(window);
    // Companion file names are not held by any control: they are the names
    // stored in the appraisal that was opened.
    QHash<QString, QString> stored;
    try {
        const files::StoredRecord record(appraisalFile);
        for (const char *name : {"FotoImmob", "PlanimZonaImmob", "PlanimImmob", "SuperficiImmob", "TableNameImmobConfr"}) {
            if (record.has(QLatin1String(name)))
                stored.insert(QLatin1String(name), record.text(QLatin1String(name)));
        }
    } catch (const std::exception &) {
        // Opened once already by the open command; nothing more to add.
    }

    QStringList lines;
    for (const FieldDef &f : recordFields()) {
        const QString name = QString::fromLatin1(f.name);
        QString value;
        if (f.type == FieldType::Real) {
            value = jsonNumber(window.coefficients.value(name).value_or(0));
        } else if (f.type == FieldType::Logical) {
            value = in.tick(name) ? QStringLiteral("true") : QStringLiteral("false");
        } else if (name == QLatin1String("DataStimaImmob")) {
            value = jsonString(window.descriptionPage->dateEdit->date().toString(QStringLiteral("dd/MM/yyyy")));
        } else if (name == QLatin1String("SupUtileImmob")) {
            value = jsonString(surfaces.value(0));
        } else if (name == QLatin1String("SupConvenzImmob")) {
            value = jsonString(surfaces.value(1));
        } else if (name == QLatin1String("SupCommercImmob")) {
            value = jsonString(surfaces.value(2));
        } else if (in.texts.contains(name)) {
            value = jsonString(in.text(name));
        } else {
            value = jsonString(stored.value(name));
        }
        lines << QStringLiteral("    %1: %2").arg(jsonString(name), value);
    }
    // The market comparison, or null when the appraisal has none.
    QString mca = QStringLiteral("null");
    if (window.mcaOps && window.mcaOps->hasData()) {
        const QJsonDocument doc(files::mcaJson(window.mcaOps->sheet(), window.descriptionPage->dateEdit->date()));
        mca = QString::fromUtf8(doc.toJson(QJsonDocument::Indented)).trimmed().replace(QLatin1Char('\n'), QStringLiteral("\n  "));
    }
    // The comparison with the OMI quotations, or null when there is no band.
    QString omi = QStringLiteral("null");
    if (window.omiOps) {
        const QJsonValue value = files::omiJson(window.omiOps->outcome().value_or(omiband::Outcome{}));
        if (value.isObject())
            omi = QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Indented))
                      .trimmed()
                      .replace(QLatin1Char('\n'), QStringLiteral("\n  "));
    }
    // The report for a purpose with what it still lacks, or null when the
    // appraisal has none.
    QString perizia = QStringLiteral("null");
    if (window.periziaOps && window.periziaOps->hasData())
        perizia = QString::fromUtf8(
                      QJsonDocument(files::periziaJson(window.periziaOps->report(), window.periziaOps->facts()))
                          .toJson(QJsonDocument::Indented))
                      .trimmed()
                      .replace(QLatin1Char('\n'), QStringLiteral("\n  "));
    return QStringLiteral("{\n  \"fields\": {\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n  },\n  \"ValutaCorrente\": ")
           + jsonString(currency().ValutaCorrente) + QStringLiteral(",\n  \"mca\": ") + mca
           + QStringLiteral(",\n  \"omi\": ") + omi + QStringLiteral(",\n  \"perizia\": ") + perizia
           + QStringLiteral("\n}\n");
}

// Restores the process-wide state the command changes, whatever way it ends.
class Sandbox {
public:
    Sandbox() : m_cwd(QDir::currentPath()) {}
    ~Sandbox()
    {
        ui::Messages::setAnswers({});
        ui::Messages::setFileAnswers({});
        AliasRegistry::setConfigFile({});
        QDir::setCurrent(m_cwd);
    }
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

private:
    QString m_cwd;
};

} // namespace

cli::CommandInfo exportCommandInfo()
{
    cli::CommandInfo info;
    info.name = "brevan-export";
    info.usage = kUsageLine;
    info.description = QStringLiteral(
        "Apre la stima come \"Apri stima...\" (senza finestre e senza toccare la cartella\n"
        "dei dati dell'utente), calcola i risultati e scrive quanto richiesto.\n");
    info.options = QStringLiteral(
        "      --text          il riepilogo della stima in testo semplice\n"
        "      --json          i 149 campi della stima, la valuta in uso, la stima MCA, il\n"
        "                      confronto con le quotazioni OMI e il rapporto di valutazione con\n"
        "                      gli elementi che mancano (JSON)\n"
        "      --rtf FILE      il riepilogo in formato Word compatibile\n"
        "      --pdf FILE      il report di stampa in PDF/A-1b\n"
        "      --pages ELENCO  le pagine del report, per esempio 1,3,9-11,mca,omi (9 e 10 vanno\n"
        "                      insieme; mca la pagina \"Stima MCA\", stampata se la stima ne ha una;\n"
        "                      omi la pagina \"Quotazioni OMI\", stampata se la stima ha una fascia OMI)\n"
        "      --perizia FILE  il rapporto di valutazione in PDF/A-1b\n"
        "      --odt FILE      il rapporto di valutazione in OpenDocument (ODT)\n"
        "      --privacy       con --perizia e --odt, la copia per la pubblicazione: i nomi delle\n"
        "                      persone fisiche sono sostituiti da \"omissis\"\n"
        "      --euro          mostra gli importi in Euro: una stima salvata in Lire è\n"
        "                      convertita dopo l'apertura (senza --euro gli importi restano\n"
        "                      nella valuta della stima)\n");
    info.exitStatuses = QStringLiteral(
        "  0  operazione riuscita\n"
        "  1  un file richiesto non si è potuto scrivere, o un altro errore\n"
        "  2  errore d'uso, o una stima che non si può aprire\n");
    return info;
}

int runExportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption euro(QStringLiteral("euro"));
    const QCommandLineOption text(QStringLiteral("text"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption rtf(QStringLiteral("rtf"), {}, QStringLiteral("FILE"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), {}, QStringLiteral("FILE"));
    const QCommandLineOption pages(QStringLiteral("pages"), {}, QStringLiteral("ELENCO"));
    const QCommandLineOption periziaPdf(QStringLiteral("perizia"), {}, QStringLiteral("FILE"));
    const QCommandLineOption periziaOdt(QStringLiteral("odt"), {}, QStringLiteral("FILE"));
    const QCommandLineOption privacy(QStringLiteral("privacy"));
    parser.addOptions({euro, text, json, rtf, pdf, pages, periziaPdf, periziaOdt, privacy});

    const auto usageError = [&](const QString &why) {
        err << "brevan-export: " << why << "\n" << kUsageLine << "Per l'aiuto: brevan-export --help\n";
        err.flush();
        return int(ExportUsage);
    };
    QString answer;
    if (const int status = cli::answerStandardOptions(arguments, exportCommandInfo(), &answer); status >= 0) {
        out << answer;
        out.flush();
        return status;
    }
    if (!parser.parse(QStringList{QStringLiteral("brevan-export")} + arguments))
        return usageError(parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(positional.isEmpty() ? QStringLiteral("manca il file della stima")
                                               : QStringLiteral("un solo file di stima per volta"));
    for (const QCommandLineOption *o : {&rtf, &pdf, &pages, &periziaPdf, &periziaOdt}) {
        if (parser.values(*o).size() > 1)
            return usageError(QStringLiteral("l'opzione --%1 va data una sola volta").arg(o->names().first()));
    }
    report::ReportSelection selection;
    if (parser.isSet(pages)) {
        if (!parser.isSet(pdf))
            return usageError(QStringLiteral("--pages vale solo con --pdf"));
        QString why;
        if (!parsePages(parser.value(pages), &selection, &why))
            return usageError(why);
    }
    if (parser.isSet(privacy) && !parser.isSet(periziaPdf) && !parser.isSet(periziaOdt))
        return usageError(QStringLiteral("--privacy vale solo con --perizia o --odt"));
    if (!parser.isSet(text) && !parser.isSet(json) && !parser.isSet(rtf) && !parser.isSet(pdf)
        && !parser.isSet(periziaPdf) && !parser.isSet(periziaOdt))
        return usageError(
            QStringLiteral("nessun risultato richiesto (--text, --json, --rtf, --pdf, --perizia o --odt)"));

    // Paths are taken against the folder the command was started in, before
    // the command moves into its own.
    const QString appraisal = QFileInfo(positional.first()).absoluteFilePath();
    const QString rtfPath = parser.isSet(rtf) ? QFileInfo(parser.value(rtf)).absoluteFilePath() : QString();
    const QString pdfPath = parser.isSet(pdf) ? QFileInfo(parser.value(pdf)).absoluteFilePath() : QString();
    const QString periziaPdfPath =
        parser.isSet(periziaPdf) ? QFileInfo(parser.value(periziaPdf)).absoluteFilePath() : QString();
    const QString periziaOdtPath =
        parser.isSet(periziaOdt) ? QFileInfo(parser.value(periziaOdt)).absoluteFilePath() : QString();

    if (!QFileInfo::exists(appraisal)) {
        err << "brevan-export: " << missingAppraisalText(appraisal) << "\n";
        err.flush();
        return ExportCannotOpen;
    }
    if (!QFileInfo(appraisal).isFile()) {
        err << kOpenAppraisalFailed << "\n";
        err.flush();
        return ExportCannotOpen;
    }

    Sandbox sandbox;
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        err << "brevan-export: impossibile creare una cartella temporanea\n";
        err.flush();
        return ExportFailed;
    }
    QDir().mkpath(scratch.filePath(QStringLiteral("program")));
    QDir::setCurrent(scratch.filePath(QStringLiteral("program")));
    AliasRegistry::setConfigFile(scratch.filePath(QStringLiteral("config/tablestore.ini")));

    bool openFailed = false;
    QString openFailure;
    bool errorShown = false;
    ui::Messages::resetForTests();
    ui::Messages::setAnswers([&](const ui::Messages::Shown &shown) {
        // The open warning, alone or followed by the reason.
        if (shown.kind == ui::Messages::Shown::Warning && shown.text.startsWith(kOpenAppraisalFailed)) {
            openFailed = true;
            openFailure = shown.text;
        } else {
            errorShown = errorShown || shown.kind == ui::Messages::Shown::Error;
            err << "brevan-export: " << shown.text << "\n";
            err.flush();
        }
        return true;
    });
    QString nextFile;
    ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return std::exchange(nextFile, QString()); });

    auto window = std::make_unique<MainWindow>();
    if (errorShown)
        return ExportFailed; // start-up failed; its error is on err already

    // The window's own report commands when it has them, so that the
    // surfaces they are given are the ones used.
    ReportOps *ops = window->findChild<ReportOps *>();
    std::unique_ptr<ReportOps> ownOps;
    if (!ops) {
        ownOps = std::make_unique<ReportOps>(window.get());
        ops = ownOps.get();
    }

    // The pictures' pixels go only into the printed outputs; the text ones
    // need to know only which pages have a picture.
    if (window->fileOps)
        window->fileOps->picturePixels =
            parser.isSet(pdf) || parser.isSet(periziaPdf) || parser.isSet(periziaOdt);
    nextFile = appraisal;
    const qsizetype requestsBefore = ui::Messages::fileRequests().size();
    window->openAction->trigger();
    if (openFailed) {
        err << openFailure << "\n";
        err.flush();
        return ExportCannotOpen;
    }
    if (ui::Messages::fileRequests().size() == requestsBefore) {
        err << "brevan-export: il comando \"Apri stima\" non è disponibile\n";
        err.flush();
        return ExportCannotOpen;
    }

    if (parser.isSet(euro) && window->euroButton->isEnabled())
        window->euroButton->click();
    window->showPageCommand(12);

    int status = ExportOk;
    try {
        if (parser.isSet(text)) {
            out << terminalSafe(window->resultsPage->summaryEdit->toPlainText()) << "\n";
            out.flush();
        }
        if (parser.isSet(json)) {
            out << recordJson(*window, *ops, appraisal);
            out.flush();
        }
        if (out.status() != QTextStream::Ok) {
            err << "brevan-export: " << outputFailureText(out) << "\n";
            err.flush();
            status = ExportCannotWrite;
        }
    } catch (const std::exception &e) {
        err << "brevan-export: " << QString::fromUtf8(e.what()) << "\n";
        err.flush();
        status = ExportFailed;
    }
    if (parser.isSet(rtf)) {
        nextFile = rtfPath;
        const qsizetype before = ui::Messages::fileRequests().size();
        const bool hadErrors = errorShown;
        // The export writes beside the target and renames over it, or says
        // why it could not: the file already there is never removed first.
        errorShown = false;
        window->resultsPage->exportButton->click();
        // A failure was said already, by the error box the export shows.
        if (ui::Messages::fileRequests().size() == before) {
            err << "brevan-export: l'esportazione in formato Word compatibile non è disponibile\n";
            status = ExportCannotWrite;
        } else if (errorShown) {
            status = ExportCannotWrite;
        }
        errorShown = errorShown || hadErrors;
        err.flush();
    }
    if (parser.isSet(pdf)) {
        QString why;
        if (!ops->writePdf(pdfPath, selection, &why)) {
            err << "brevan-export: " << why << "\n";
            err.flush();
            status = ExportCannotWrite;
        }
    }
    if ((parser.isSet(periziaPdf) || parser.isSet(periziaOdt)) && window->periziaOps) {
        report::PeriziaInput in = window->periziaOps->input();
        in.privacy = parser.isSet(privacy);
        QString why;
        if (parser.isSet(periziaPdf) && !report::writePeriziaPdf(periziaPdfPath, in, &why)) {
            err << "brevan-export: " << why << "\n";
            status = ExportCannotWrite;
        }
        if (parser.isSet(periziaOdt) && !report::writePeriziaOdt(periziaOdtPath, in, &why)) {
            err << "brevan-export: " << why << "\n";
            status = ExportCannotWrite;
        }
        err.flush();
    }
    if (status == ExportOk && errorShown)
        status = ExportFailed;
    ownOps.reset();
    window.reset();
    return status;
}

} // namespace brevan::app
