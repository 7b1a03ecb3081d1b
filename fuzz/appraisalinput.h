// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One fuzz input is one appraisal file set: the record, the surfaces and
// comparables copies, and pictures (a bitmap and a JPEG), each part preceded
// by its length. The opener writes the set into a folder and opens it as
// "Apri stima..." does, in one main window kept for all inputs, then brings
// the results up to date as the results page does.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;

namespace brevan::app {
class MainWindow;
}

namespace brevan::fuzz {

enum Part { Record, Surfaces, Comparables, Photo, AreaPlan, UnitPlan, PartCount };

// The file each part is written to; the record names its companions so.
QString fileName(Part part);

// [length as 4 bytes, little-endian][bytes] for each part, in Part order.
QByteArray pack(const QList<QByteArray> &parts);
// The parts of an input: a length beyond the end takes what is left; parts
// the input does not reach are absent (empty).
QList<QByteArray> unpack(const QByteArray &input);

// Writes the present parts into the folder and removes the files of absent ones.
void writeSet(const QString &folder, const QList<QByteArray> &parts);

class Opener {
public:
    Opener();
    ~Opener();
    Opener(const Opener &) = delete;
    Opener &operator=(const Opener &) = delete;

    struct Outcome {
        bool warned = false;   // the open warning was shown
        QStringList messages;  // every box shown, in order
    };
    Outcome open(const QByteArray &input);
    app::MainWindow *window() const { return m_window.get(); }
    QString folder() const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<app::MainWindow> m_window;
    QString m_previousCurrent;
};

} // namespace brevan::fuzz
