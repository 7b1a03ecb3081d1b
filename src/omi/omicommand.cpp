// SPDX-License-Identifier: GPL-2.0-or-later
#include "omicommand.h"

#include "cli/commandline.h"

#include "files/setsave.h"
#include "omitables.h"
#include "quotations.h"
#include "store/datafolder.h"
#include "store/folderlock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <atomic>

namespace brevan::omi {

namespace {

const QString kProgram = QStringLiteral("brevan-omi");

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct Arguments {
    QString folder;
    Options options;
    QStringList files;
    bool help = false;
    bool version = false;
};

// Parses the arguments; false with the reason in *error.
bool parseArguments(const QStringList &arguments, Arguments *a, QString *error)
{
    const QStringList valued{QStringLiteral("--data"), QStringLiteral("--tipo"), QStringLiteral("--stato"),
                             QStringLiteral("--anno")};
    bool optionsOver = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (optionsOver || !arg.startsWith(u'-') || arg == QLatin1String("-")) {
            a->files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsOver = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            a->help = true;
            continue;
        }
        if (arg == QLatin1String("--version")) {
            a->version = true;
            continue;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = eq < 0 ? arg : arg.left(eq);
        if (!valued.contains(name)) {
            *error = QStringLiteral("opzione sconosciuta \"%1\"").arg(arg);
            return false;
        }
        QString value;
        if (eq >= 0) {
            value = arg.mid(eq + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            *error = QStringLiteral("manca il valore dell'opzione %1").arg(name);
            return false;
        }
        if (name == QLatin1String("--data")) {
            a->folder = value;
        } else if (name == QLatin1String("--tipo")) {
            bool ok = false;
            const int type = value.toInt(&ok);
            if (!ok || type < 0) {
                *error = QStringLiteral("tipologia \"%1\" non valida: indicare il codice numerico (20, 21, 1...)")
                             .arg(value);
                return false;
            }
            a->options.type = type;
        } else if (name == QLatin1String("--stato")) {
            const QString state = value.trimmed().toUpper();
            if (!states().contains(state)) {
                *error = QStringLiteral("stato \"%1\" non valido: indicare OTTIMO, NORMALE o SCADENTE").arg(value);
                return false;
            }
            a->options.state = state;
        } else {
            bool ok = false;
            const int year = value.toInt(&ok);
            if (!ok || value.size() != 4 || year < 1000) {
                *error = QStringLiteral("anno \"%1\" non valido: indicare quattro cifre").arg(value);
                return false;
            }
            a->options.year = year;
        }
    }
    if (!a->help && !a->version && a->files.isEmpty()) {
        *error = QStringLiteral("nessun file di quotazioni indicato");
        return false;
    }
    return true;
}

// A line that rewrites itself on a terminal.
class Progress {
public:
    Progress(QTextStream &err, bool enabled) : m_err(err), m_enabled(enabled) {}
    ~Progress() { done(); }

    void show(const QString &text)
    {
        if (!m_enabled)
            return;
        const QString padded = text.leftJustified(m_width);
        m_width = int(text.size());
        m_err << '\r' << padded;
        m_err.flush();
        m_shown = true;
    }
    void done()
    {
        if (!m_shown)
            return;
        m_err << '\r' << QString(m_width, u' ') << '\r';
        m_err.flush();
        m_shown = false;
        m_width = 0;
    }

private:
    QTextStream &m_err;
    bool m_enabled;
    bool m_shown = false;
    int m_width = 0;
};

QString joinShort(const QStringList &items, int most)
{
    if (items.size() <= most)
        return items.join(QStringLiteral(", "));
    return items.mid(0, most).join(QStringLiteral(", ")) + QStringLiteral(" e altri %1").arg(items.size() - most);
}

} // namespace

void requestStop()
{
    stopRequested.store(true);
}

cli::CommandInfo omiCommandInfo()
{
    cli::CommandInfo info;
    info.name = "brevan-omi";
    info.usage = QStringLiteral(
        "Uso: brevan-omi [--data CARTELLA] [--tipo CODICE] [--stato STATO] [--anno AAAA] FILE...\n");
    info.description = QStringLiteral(
        "Legge i file delle quotazioni OMI dell'Agenzia delle Entrate (QI_..._VALORI.csv e\n"
        "QI_..._ZONE.csv) e scrive nella cartella dei dati, per ogni Comune dei file, la\n"
        "tabella delle zone urbane, quella dei canoni di locazione unitari e quella delle\n"
        "quotazioni di compravendita (QuotazioniOMI...db: per semestre, zona, tipologia e\n"
        "stato, il valore minimo e massimo in euro/mq e la superficie, lorda o netta, a cui\n"
        "si riferiscono; una quotazione con il minimo oltre il massimo, pari a 0 o vuota non\n"
        "è tenuta ed è contata).\n"
        "I file si scaricano dal sito dell'Agenzia delle Entrate (Quotazioni immobiliari, area\n"
        "riservata agli utenti registrati). Fonte dei dati: Agenzia Entrate - OMI.\n");
    info.options = QStringLiteral(
        "      --data CARTELLA  la cartella dei dati (predefinita: quella registrata da Brevan)\n"
        "      --tipo CODICE    la tipologia edilizia dei canoni: 20 Abitazioni civili (predefinita),\n"
        "                       21 Abitazioni di tipo economico, 1 Ville e Villini\n"
        "      --stato STATO    lo stato conservativo: OTTIMO, NORMALE (predefinito) o SCADENTE;\n"
        "                       una zona senza quotazioni in quello stato dà quelle dello stato\n"
        "                       prevalente\n"
        "      --anno AAAA      l'anno dei canoni (predefinito: l'anno del semestre di ciascun file)\n");
    info.exitStatuses = QStringLiteral(
        "  0  importazione riuscita\n"
        "  1  righe danneggiate, o una tabella che non si è potuta scrivere\n"
        "  2  errore d'uso, o un file che non contiene quotazioni OMI (nulla è scritto)\n"
        "  3  importazione riuscita, ma le righe di Comuni non presenti nell'elenco (per\n"
        "     esempio Comuni soppressi o fusi in altri) non sono state collocate: sono\n"
        "     contate e nominate in fondo\n");
    return info;
}

int runOmiCommand(const QStringList &arguments, QTextStream &out, QTextStream &err, bool showProgress)
{
    stopRequested.store(false);
    Arguments args;
    QString error;
    if (!parseArguments(arguments, &args, &error)) {
        err << kProgram << ": " << error << "\nUsare --help per l'aiuto.\n";
        return CommandUsage;
    }
    if (args.help) {
        out << cli::helpText(omiCommandInfo());
        return CommandOk;
    }
    if (args.version) {
        out << cli::versionLine(omiCommandInfo()) << '\n';
        return CommandOk;
    }

    QString folder = args.folder;
    if (folder.isEmpty()) {
        folder = AliasRegistry::folder(kAliasBrevan);
        if (folder.isEmpty()) {
            err << kProgram << ": nessuna cartella dei dati registrata: avviare Brevan una volta "
                               "o indicare la cartella con --data.\n";
            return CommandUsage;
        }
    }
    if (!QFileInfo(folder).isDir()) {
        err << kProgram << ": la cartella dei dati \"" << QDir::toNativeSeparators(folder) << "\" non esiste.\n";
        return CommandUsage;
    }

    // The temporaries of an interrupted run go first, as the program clears
    // them when it starts; not while the program works in the folder, whose
    // own writes they may be.
    if (!FolderLock::isHeldElsewhere(folder))
        files::recoverFolder(folder);

    QElapsedTimer clock;
    clock.start();
    Progress progress(err, showProgress);

    // Every file is read before anything is written: a file that cannot be
    // used stops the command with nothing written.
    Quotations quotations;
    QStringList unusable;
    for (const QString &path : std::as_const(args.files)) {
        progress.show(QStringLiteral("Lettura di %1...").arg(QFileInfo(path).fileName()));
        try {
            QuotationFile file = readQuotationFile(path);
            if (file.kind == FileKind::Values && !file.semester.isKnown() && args.options.year <= 0) {
                unusable << QStringLiteral("Il file \"%1\" non indica il semestre delle quotazioni: indicare l'anno "
                                           "con --anno.")
                                .arg(QDir::toNativeSeparators(path));
                continue;
            }
            quotations.add(std::move(file));
        } catch (const FileError &e) {
            unusable << e.message();
        }
    }
    progress.done();
    if (!unusable.isEmpty()) {
        for (const QString &message : std::as_const(unusable))
            err << kProgram << ": " << message << '\n';
        err << kProgram << ": nessuna tabella è stata scritta.\n";
        return CommandUsage;
    }
    for (const QuotationFile &f : quotations.files()) {
        for (const Problem &p : f.problems)
            err << kProgram << ": " << p.text() << '\n';
    }
    err.flush();

    const ImportSummary s = importQuotations(quotations, folder, args.options, [&](int done, int total) {
        if (total > 0 && (done % 50 == 0 || done == total))
            progress.show(QStringLiteral("Scrittura delle tabelle: %1 di %2 comuni").arg(done).arg(total));
        return !stopRequested.load();
    });
    progress.done();
    for (const QString &failure : s.failures)
        err << kProgram << ": " << failure << '\n';
    if (s.stopped)
        err << kProgram << ": interrotto; le tabelle dei comuni non ancora scritti sono rimaste come erano.\n";

    out << "Cartella dei dati: " << QDir::toNativeSeparators(folder) << '\n';
    out << "Comuni scritti: " << s.municipalities << '\n';
    if (s.unchanged > 0)
        out << "Comuni già aggiornati, tabelle non riscritte: " << s.unchanged << '\n';
    out << "Zone: " << s.zones << '\n';
    out << "Righe di canone: " << s.rentRows << " (tipologia " << args.options.type << ", stato "
        << args.options.state << ")\n";
    out << "Righe saltate: " << s.emptyRents << " senza canone (vuoto o pari a 0), " << s.damagedRows
        << " danneggiate\n";
    out << "Quotazioni di compravendita: " << s.saleRows << " (scartate " << s.badSales
        << " con minimo oltre il massimo, pari a 0 o vuote)\n";
    if (s.droppedSales > 0)
        out << "Quotazioni di compravendita di semestri vecchi non tenute (tabella piena): " << s.droppedSales << '\n';
    if (s.zonesWithoutType > 0)
        out << "Zone senza quotazioni della tipologia " << args.options.type << ": " << s.zonesWithoutType << '\n';
    if (!s.damaged.isEmpty())
        out << "Comuni non scritti per righe danneggiate: " << s.damaged.size() << " (" << joinShort(s.damaged, 20)
            << ")\n";
    if (!s.failures.isEmpty())
        out << "Comuni non scritti per errori di scrittura: " << s.failures.size() << '\n';
    out << "Comuni non presenti nell'elenco: " << s.notFound.size();
    if (!s.notFound.isEmpty())
        out << " (" << s.notFound.join(QStringLiteral(", ")) << ')';
    out << '\n';
    if (s.notFoundRows > 0)
        out << "Righe non collocate: " << s.notFoundRows << '\n';
    out << "Tempo: " << QString::number(clock.elapsed() / 1000.0, 'f', 1).replace(u'.', u',') << " s\n";
    out << "Fonte dei dati: Agenzia Entrate - OMI\n";
    if (!s.damaged.isEmpty() || !s.failures.isEmpty() || s.stopped)
        return CommandFailed;
    return s.notFound.isEmpty() ? CommandOk : CommandUnplaced;
}

} // namespace brevan::omi
