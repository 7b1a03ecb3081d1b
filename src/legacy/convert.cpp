// SPDX-License-Identifier: GPL-2.0-or-later
#include "convert.h"

#include "cli/commandline.h"

#include "files/appraisalfiles.h"
#include "files/setsave.h"
#include "keeporiginal.h"
#include "paradoxtable.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace brevan::legacy {

namespace {

struct ProgramTable {
    const char *name;
    Layout (*layout)();
};

const ProgramTable kProgramTables[] = {
    {"stima", [] { return files::recordLayout(); }},
    {"generalità del professionista", [] { return files::appraiserLayout(); }},
    {"superfici", [] { return surfacesLayout(); }},
    {"immobili di confronto", [] { return comparablesLayout(); }},
    {"zone urbane", [] { return zonesLayout(); }},
    {"canoni di locazione", [] { return unitRentsLayout(); }},
};

const ProgramTable *programTableFor(const Layout &layout)
{
    for (const ProgramTable &t : kProgramTables) {
        if (t.layout() == layout)
            return &t;
    }
    return nullptr;
}

QString skipReason(const ConvertResult &r)
{
    switch (r.outcome) {
    case ConvertOutcome::AlreadyConverted: return QStringLiteral("già nel formato di Brevan");
    case ConvertOutcome::NotATable: return QStringLiteral("non è una tabella Paradox");
    case ConvertOutcome::OtherLayout: return QStringLiteral("tabella Paradox di struttura diversa da quelle di Brevan");
    case ConvertOutcome::Unreadable:
    case ConvertOutcome::Failed: return r.detail;
    case ConvertOutcome::Converted: break;
    }
    return {};
}

} // namespace

ConvertResult convertTable(const QString &path)
{
    ConvertResult r;
    r.path = path;
    if (!isParadoxTable(path)) {
        try {
            Table::layoutOf(path, Trust::Foreign);
            r.outcome = ConvertOutcome::AlreadyConverted;
        } catch (const std::exception &) {
            r.outcome = ConvertOutcome::NotATable;
        }
        return r;
    }
    Layout layout;
    try {
        layout = Table::layoutOf(path, Trust::Foreign);
    } catch (const std::exception &e) {
        r.outcome = ConvertOutcome::Unreadable;
        r.detail = QString::fromUtf8(e.what());
        return r;
    }
    const ProgramTable *table = programTableFor(layout);
    if (!table) {
        r.outcome = ConvertOutcome::OtherLayout;
        return r;
    }
    try {
        r.kept = keepParadoxOriginal(path);
        // Read whole into memory, then written under a temporary name and
        // renamed over the original's name.
        Table::copy(path, path, layout);
        r.outcome = ConvertOutcome::Converted;
        r.detail = QString::fromUtf8(table->name);
    } catch (const std::exception &e) {
        r.outcome = ConvertOutcome::Failed;
        r.detail = QString::fromUtf8(e.what());
    }
    return r;
}

cli::CommandInfo convertCommandInfo()
{
    cli::CommandInfo info;
    info.name = "brevan-convert";
    info.usage = QStringLiteral("Uso: brevan-convert CARTELLA...\n");
    info.description = QStringLiteral(
        "Converte nel formato di Brevan ogni tabella Paradox delle cartelle indicate che\n"
        "ha la struttura di una tabella di Brevan: stima, generalità del professionista,\n"
        "superfici, immobili di confronto, zone urbane, canoni di locazione.\n"
        "L'originale resta accanto alla tabella convertita, con il suffisso \".paradox\"\n"
        "(insieme ai suoi file .px e .mb). Le tabelle già convertite, quelle di altra\n"
        "struttura e i file che non sono tabelle restano come sono: il comando si può\n"
        "ripetere senza danno.\n");
    info.exitStatuses = QStringLiteral(
        "  0  ogni tabella è stata convertita o lasciata com'era\n"
        "  1  una tabella convertita non si è potuta scrivere\n"
        "  2  argomenti errati, una cartella inesistente o una tabella Paradox illeggibile\n");
    return info;
}

int runConvertCommand(const QStringList &arguments, QTextStream &out, QTextStream &err, bool progress)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    const auto usageError = [&](const QString &why) {
        err << "brevan-convert: " << why << "\n" << convertCommandInfo().usage << "Per l'aiuto: brevan-convert --help\n";
        err.flush();
        return int(ConvertUsage);
    };
    if (!parser.parse(QStringList{QStringLiteral("brevan-convert")} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return usageError(unknown.isEmpty() ? parser.errorText()
                                            : QStringLiteral("opzione sconosciuta: %1").arg(unknown.join(QStringLiteral(", "))));
    }
    if (parser.isSet(help)) {
        out << cli::helpText(convertCommandInfo());
        out.flush();
        return ConvertOk;
    }
    if (parser.isSet(version)) {
        out << cli::versionLine(convertCommandInfo()) << "\n";
        out.flush();
        return ConvertOk;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.isEmpty())
        return usageError(QStringLiteral("manca la cartella da convertire"));

    bool unusable = false;
    QStringList files;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        if (!QFileInfo(folder).isDir() || !dir.isReadable()) {
            err << "brevan-convert: la cartella \"" << QDir::toNativeSeparators(folder) << "\" non esiste o non si può leggere\n";
            err.flush();
            unusable = true;
            continue;
        }
        // What an interrupted conversion or save left in the folder goes
        // first, as the program clears a folder before writing into it.
        files::recoverFolder(dir.absolutePath());
        for (const QString &name : dir.entryList({QStringLiteral("*.db")}, QDir::Files, QDir::Name))
            files << dir.absoluteFilePath(name);
    }

    QVector<ConvertResult> results;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (progress) {
            out << "\r\033[K" << QStringLiteral("[%1/%2] ").arg(i + 1).arg(files.size())
                << QFileInfo(files[i]).fileName();
            out.flush();
        }
        results << convertTable(files[i]);
    }
    if (progress && !files.isEmpty()) {
        out << "\r\033[K";
        out.flush();
    }

    const auto converted = std::count_if(results.cbegin(), results.cend(), [](const ConvertResult &r) {
        return r.outcome == ConvertOutcome::Converted;
    });
    out << "Tabelle convertite: " << converted << "\n";
    for (const ConvertResult &r : results) {
        if (r.outcome != ConvertOutcome::Converted)
            continue;
        out << "  " << QDir::toNativeSeparators(r.path) << " (" << r.detail << ")";
        if (!r.kept.isEmpty())
            out << "; originale conservato come " << r.kept.join(QStringLiteral(", "));
        out << "\n";
    }
    out << "Tabelle lasciate come sono: " << results.size() - converted << "\n";
    bool failed = false;
    for (const ConvertResult &r : results) {
        if (r.outcome == ConvertOutcome::Converted)
            continue;
        out << "  " << QDir::toNativeSeparators(r.path) << ": " << skipReason(r) << "\n";
        failed = failed || r.outcome == ConvertOutcome::Failed;
        unusable = unusable || r.outcome == ConvertOutcome::Unreadable;
    }
    out.flush();
    if (failed)
        return ConvertFailed;
    return unusable ? ConvertUsage : ConvertOk;
}

} // namespace brevan::legacy
