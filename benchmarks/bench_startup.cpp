// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up to the first paint of the shown main window. With "bare" it shows a
// plain QMainWindow instead, the yardstick for the ratio. Run both through
// startup.sh, which starts each many times as a fresh process and reports
// medians of the time from launch to first paint and of the peak memory then.
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/workplace.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QMap>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

// Peak resident memory of this process so far, in KB (VmHWM).
long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

qint64 epochNowNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Moment {
    qint64 epochNs = 0;
    long peakKb = 0;
    void note()
    {
        epochNs = epochNowNs();
        peakKb = peakResidentKb();
    }
};

// Notes the moment of the window's first paint; for the bare window that
// ends the run.
class FirstPaint : public QObject {
public:
    Moment moment;
    bool quitOnPaint = true;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (moment.epochNs == 0 && (e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest)) {
            moment.note();
            if (quitOnPaint)
                QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer timer;
    timer.start();
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication app(argc, argv);
    QTemporaryDir dir;
    FirstPaint paint;
    Moment complete;
    std::unique_ptr<QMainWindow> window;
    if (bare) {
        window = std::make_unique<QMainWindow>();
        window->resize(640, 480);
    } else {
        // As the program starts: the window shows with its start page and
        // builds the other pages after its first paint. The run ends when
        // the window is complete, so both moments are measured.
        brevan::app::setUpApplication(app);
        QDir::setCurrent(dir.path());
        brevan::AliasRegistry::setConfigFile(dir.filePath(QStringLiteral("tablestore.ini")));
        // main() first asks whether another program works in the data folder.
        if (brevan::app::handOverToRunningProgram())
            return 1;
        auto *main = new brevan::app::MainWindow(nullptr, brevan::app::Operations::Wired,
                                                 brevan::app::Startup::Deferred);
        paint.quitOnPaint = false;
        QObject::connect(main, &brevan::app::MainWindow::startupCompleted, &app, [&] {
            complete.note();
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        });
        window.reset(main);
    }
    window->installEventFilter(&paint);
    window->show();
    app.exec();
    if (bare)
        complete = paint.moment;
    // The milliseconds are in-process; the epoch times let startup.sh count
    // from the launch, loading the libraries included.
    std::printf("%s: %.1f ms to first paint; first-paint-epoch-ns %lld peak-rss-kb %ld; "
                "complete-epoch-ns %lld complete-peak-rss-kb %ld\n",
                bare ? "bare" : "brevan", (paint.moment.epochNs - epochNowNs()) / 1e6 + timer.nsecsElapsed() / 1e6,
                static_cast<long long>(paint.moment.epochNs), paint.moment.peakKb,
                static_cast<long long>(complete.epochNs), complete.peakKb);
    // BREVAN_BENCH_MAPS=1 lists where the resident memory is, by mapping.
    if (qEnvironmentVariableIsSet("BREVAN_BENCH_MAPS")) {
        QFile maps(QStringLiteral("/proc/self/smaps"));
        if (maps.open(QIODevice::ReadOnly)) {
            QMap<QByteArray, long> residentKb;
            QByteArray mapping;
            for (const QByteArray &line : maps.readAll().split('\n')) {
                const QList<QByteArray> parts = line.simplified().split(' ');
                if (parts.size() >= 5 && parts[0].contains('-') && !parts[0].endsWith(':'))
                    mapping = parts.size() >= 6 ? parts[5] : QByteArrayLiteral("[anonymous]");
                else if (parts.size() >= 2 && parts[0] == "Rss:")
                    residentKb[mapping] += parts[1].toLong();
            }
            for (auto it = residentKb.cbegin(); it != residentKb.cend(); ++it)
                std::printf("%8ld KB %s\n", it.value(), it.key().constData());
        }
    }
    return 0;
}
