// SPDX-License-Identifier: GPL-2.0-or-later
// The parts of benchmarks/export.sh that run inside a process of their own:
//   bench_export make FOLDER   saves "Stima Foto.db" in FOLDER: a full
//                              appraisal with three 4000 × 3000 photographs,
//                              18 rooms and 6 comparables
//   bench_export bare FILE     a bare QCoreApplication that opens the same
//                              SQLite file and reads its row (the yardstick)
//   bench_export undo FILE     opens FILE in the main window and times one
//                              undo and one redo of a field edit, with the
//                              recomputation they trigger (medians)
#include "photograph.h"

#include "app/application.h"
#include "app/fileops.h"
#include "app/mainwindow.h"
#include "app/undoops.h"
#include "model/record.h"
#include "pages/comparablespage.h"
#include "pages/incomepage.h"
#include "pages/messages.h"
#include "pages/picturepage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace brevan;

namespace {

// The data folder and configuration of a run, apart from the user's.
struct Sandbox {
    QTemporaryDir dir;
    Sandbox()
    {
        QDir().mkpath(dir.filePath(QStringLiteral("program")));
        QDir::setCurrent(dir.filePath(QStringLiteral("program")));
        AliasRegistry::setConfigFile(dir.filePath(QStringLiteral("config/tablestore.ini")));
        ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });
    }
    ~Sandbox()
    {
        ui::Messages::setAnswers({});
        ui::Messages::setFileAnswers({});
        AliasRegistry::setConfigFile({});
    }
};

// A value of the kind the field's control takes.
QString sampleText(const FieldDef &f)
{
    if (f.choice != Choice::None) {
        const QStringList items = choiceItems(f.choice);
        return items.size() > 1 ? items.at(1) : QString();
    }
    switch (f.filter) {
    case KeyFilter::Integers:
        return QStringLiteral("3");
    case KeyFilter::Decimals:
        return QStringLiteral("5,5");
    default:
        return QStringLiteral("Testo %1").arg(f.number);
    }
}

int make(const QString &folder)
{
    Sandbox sandbox;
    auto window = std::make_unique<app::MainWindow>(nullptr, app::Operations::None);
    app::FileOps ops(window.get());
    const QHash<QString, QString> place{{QStringLiteral("ComuneImmob"), QStringLiteral("Pavia")},
                                        {QStringLiteral("CAPImmob"), QStringLiteral("27100")},
                                        {QStringLiteral("ProvinciaImmob"), QStringLiteral("Pavia")},
                                        {QStringLiteral("SiglaProvinciaImmob"), QStringLiteral("PV")}};
    for (const FieldDef &f : recordFields()) {
        if (f.open != OpenRole::Restore || !*f.control || f.choice == Choice::Comuni || f.choice == Choice::CAP
            || f.choice == Choice::ZoneUrbane || f.choice == Choice::Province || f.choice == Choice::SigleProvince)
            continue;
        const QString name = QString::fromLatin1(f.name);
        if (f.type == FieldType::Logical)
            ops.showField(name, f.number % 3 == 0);
        else if (name != QLatin1String("DataStimaImmob"))
            ops.showField(name, sampleText(f));
    }
    for (auto it = place.cbegin(); it != place.cend(); ++it)
        ops.showField(it.key(), it.value());
    window->photoPage->setPicture(bench::photograph(1));
    window->areaPlanPage->setPicture(bench::photograph(2));
    window->unitPlanPage->setPicture(bench::photograph(3));
    ui::TableModel *surfaces = window->surfacesPage->model();
    for (int row = 0; row < 18; ++row) {
        surfaces->setData(surfaces->index(row, 0), QStringLiteral("Camera %1").arg(row + 1));
        surfaces->setData(surfaces->index(row, 1), 10.5 + row);
    }
    ui::TableModel *comparables = window->comparablesPage->model();
    for (int i = 0; i < 6; ++i) {
        const int row = comparables->appendRow();
        const QStringList texts{QStringLiteral("Via Verdi"), QString::number(i + 1), QStringLiteral("2"),
                                QStringLiteral("4"), QString::number(80 + 5 * i), QStringLiteral("10,5"),
                                QStringLiteral("-2"), QStringLiteral("3"), QStringLiteral("1"),
                                QStringLiteral("1.500"), QString::number(120000 + 7000 * i)};
        for (int c = 0; c < texts.size(); ++c)
            comparables->setData(comparables->index(row, c), texts.at(c));
    }
    QDir().mkpath(folder);
    const QString table = QDir(folder).absoluteFilePath(QStringLiteral("Stima Foto.db"));
    ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return table; });
    ops.FileSave1Execute();
    const bool ok = ui::Messages::shown().isEmpty() && Table::exists(table);
    std::printf("%s\n", ok ? qPrintable(table) : "SAVE FAILED");
    return ok ? 0 : 1;
}

int bare(const QString &file)
{
    const Table table = Table::open(file, Trust::Foreign, false);
    const auto rows = table.rows();
    std::printf("%lld rows, %lld columns\n", static_cast<long long>(rows.size()),
                static_cast<long long>(table.layout().size()));
    return rows.isEmpty() ? 1 : 0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int undo(const QString &file)
{
    Sandbox sandbox;
    auto window = std::make_unique<app::MainWindow>(nullptr, app::Operations::Wired);
    ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return file; });
    window->openAction->trigger();
    window->undoOps->startAfresh();
    QLineEdit *rent = window->incomePage->unitRentEdit;
    std::vector<double> records, undos, redos;
    for (int i = 0; i < 31; ++i) {
        rent->setText(QString::number(6 + i % 5) + QStringLiteral(",25"));
        QElapsedTimer t;
        t.start();
        window->undoOps->recordNow();
        records.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        window->undoAction->trigger();
        undos.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        window->redoAction->trigger();
        redos.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("a field edit taken as a step: median %.2f ms\n", median(records));
    std::printf("undo of a field edit: median %.2f ms; redo: median %.2f ms (31 runs)\n", median(undos),
                median(redos));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString arg = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode == QLatin1String("bare")) {
        QCoreApplication app(argc, argv);
        return bare(arg);
    }
    if (mode == QLatin1String("make") || mode == QLatin1String("undo")) {
        QApplication app(argc, argv);
        app::setUpApplication(app);
        return mode == QLatin1String("make") ? make(arg) : undo(QFileInfo(arg).absoluteFilePath());
    }
    std::fprintf(stderr, "uso: bench_export make CARTELLA | bare FILE | undo FILE\n");
    return 2;
}
