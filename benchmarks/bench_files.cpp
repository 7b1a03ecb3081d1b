// SPDX-License-Identifier: GPL-2.0-or-later
// Times saving and opening a full appraisal through the real main window:
// three 1600 × 1200 pictures, 36 surface rows and 20 complete comparables.
#include "app/application.h"
#include "app/fileops.h"
#include "app/mainwindow.h"
#include "app/unsavedwork.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/messages.h"
#include "pages/picturepage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace brevan;

namespace {

template <typename Fn>
double medianMs(int runs, Fn &&fn)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn();
        t.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// A photograph-like picture: gradients and shapes, so the file is not trivial.
QImage picture(int seed)
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 1600, 1200);
    g.setColorAt(0, QColor::fromHsv(seed * 70 % 360, 200, 220));
    g.setColorAt(1, QColor::fromHsv((seed * 70 + 150) % 360, 120, 90));
    p.fillRect(image.rect(), g);
    for (int i = 0; i < 60; ++i)
        p.fillRect(QRect((i * 97 + seed * 13) % 1500, (i * 53) % 1100, 90, 70), QColor::fromHsv(i * 6, 180, 200));
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app::setUpApplication(app);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("program")));
    QDir().mkpath(dir.filePath(QStringLiteral("appraisals")));
    QDir::setCurrent(dir.filePath(QStringLiteral("program")));
    AliasRegistry::setConfigFile(dir.filePath(QStringLiteral("config/tablestore.ini")));
    ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });

    auto window = std::make_unique<app::MainWindow>(nullptr, app::Operations::None);
    app::FileOps ops(window.get());

    window->descriptionPage->addressEdit->setText(QStringLiteral("Via Roma"));
    window->descriptionPage->houseNumberEdit->setText(QStringLiteral("12/A"));
    window->photoPage->setPicture(picture(1));
    window->areaPlanPage->setPicture(picture(2));
    window->unitPlanPage->setPicture(picture(3));
    ui::TableModel *surfaces = window->surfacesPage->model();
    for (int row = 0; row < 36; ++row) {
        surfaces->setData(surfaces->index(row, 0), QStringLiteral("Camera %1").arg(row + 1));
        surfaces->setData(surfaces->index(row, 1), 10.0 + row);
    }
    ui::TableModel *comparables = window->comparablesPage->model();
    for (int i = 0; i < 20; ++i) {
        const int row = comparables->appendRow();
        const QStringList texts{QStringLiteral("Via Verdi"), QString::number(i + 1), QStringLiteral("2"),
                                QStringLiteral("4"), QStringLiteral("80"), QStringLiteral("10,5"),
                                QStringLiteral("-2"), QStringLiteral("3"), QStringLiteral("1"),
                                QStringLiteral("1.500.000"), QStringLiteral("120.000.000")};
        for (int c = 0; c < texts.size(); ++c)
            comparables->setData(comparables->index(row, c), texts.at(c));
    }

    const QString table = dir.filePath(QStringLiteral("appraisals/Stima - bench.db"));
    ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return table; });

    const int runs = 15;
    const double save = medianMs(runs, [&] { ops.FileSave1Execute(); });
    const double open = medianMs(runs, [&] { ops.FileOpen1Execute(); });
    // The recovery copy: what the user-interface thread spends (gathering
    // the pages' contents), and the whole copy written in the background.
    app::UnsavedWork work(window.get(), &ops);
    work.offerRecovery();
    int edits = 0;
    std::vector<double> gather, whole;
    for (int i = 0; i < runs; ++i) {
        window->descriptionPage->internalNumberEdit->setText(QString::number(++edits));
        QElapsedTimer timer;
        timer.start();
        work.writeCopy();
        gather.push_back(timer.nsecsElapsed() / 1e6);
        work.waitForCopy();
        whole.push_back(timer.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
    }
    std::sort(gather.begin(), gather.end());
    std::sort(whole.begin(), whole.end());
    const bool copied = QFileInfo::exists(dir.filePath(QStringLiteral("program/Dati/Recupero/Stima - Recupero.db")));

    const bool ok = copied && ui::Messages::shown().isEmpty() && window->photoPage->hasPicture()
                    && window->surfacesPage->model()->rowCount() == 36
                    && window->comparablesPage->model()->rowCount() == 20;
    std::printf("save full appraisal (3 pictures 1600x1200, 36 surfaces, 20 comparables): median %.1f ms\n", save);
    std::printf("open full appraisal: median %.1f ms\n", open);
    std::printf("recovery copy: median %.1f ms on the user-interface thread, %.1f ms in all\n",
                gather[gather.size() / 2], whole[whole.size() / 2]);
    std::printf("%s\n", ok ? "round trip complete" : "ROUND TRIP INCOMPLETE");
    ui::Messages::setFileAnswers({});
    ui::Messages::setAnswers({});
    window.reset();
    AliasRegistry::setConfigFile({});
    return ok ? 0 : 1;
}
