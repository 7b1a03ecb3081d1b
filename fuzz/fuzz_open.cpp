// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target: each input is an appraisal file set (see
// appraisalinput.h), opened as "Apri stima..." opens it and carried through
// to the results. Any crash, sanitizer report, leak or hang is a finding.
#include "appraisalinput.h"

#include "app/application.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>

namespace {

// Inputs beyond this are not appraisals anyone keeps; the file sets the
// program writes are a few hundred kilobytes.
constexpr size_t kMaxInput = 4 * 1024 * 1024;

brevan::fuzz::Opener *opener = nullptr;

// The program's own log lines (a refused file, a failed save) say nothing
// the fuzzer needs and slow every run.
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "fuzz_open";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    brevan::app::setUpApplication(app);
    // Kept for the life of the process, as the program keeps its window.
    opener = new brevan::fuzz::Opener;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > kMaxInput)
        return -1;
    opener->open(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
