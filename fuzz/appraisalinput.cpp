// SPDX-License-Identifier: GPL-2.0-or-later
#include "appraisalinput.h"

#include "app/exportcommand.h"
#include "app/mainwindow.h"
#include "pages/messages.h"
#include "store/datafolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace brevan::fuzz {

namespace {

const char *const kNames[PartCount] = {
    "Stima - f.db", "Superfici - f.db", "ImmobConfr - f.db", "Foto - f.bmp", "PlanimZona - f.jpg", "Planim - f.bmp",
};

} // namespace

QString fileName(Part part)
{
    return QString::fromLatin1(kNames[part]);
}

QByteArray pack(const QList<QByteArray> &parts)
{
    QByteArray out;
    for (int i = 0; i < PartCount; ++i) {
        const QByteArray part = parts.value(i);
        char length[4];
        qToLittleEndian<quint32>(quint32(part.size()), length);
        out.append(length, 4);
        out.append(part);
    }
    return out;
}

QList<QByteArray> unpack(const QByteArray &input)
{
    QList<QByteArray> parts;
    qsizetype at = 0;
    for (int i = 0; i < PartCount; ++i) {
        if (at + 4 > input.size()) {
            parts << QByteArray();
            continue;
        }
        const quint32 length = qFromLittleEndian<quint32>(input.constData() + at);
        at += 4;
        const qsizetype take = std::min<qsizetype>(length, input.size() - at);
        parts << input.mid(at, take);
        at += take;
    }
    return parts;
}

void writeSet(const QString &folder, const QList<QByteArray> &parts)
{
    for (int i = 0; i < PartCount; ++i) {
        const QString path = folder + QLatin1Char('/') + fileName(Part(i));
        QFile::remove(path);
        const QByteArray part = parts.value(i);
        if (part.isEmpty() && i != Record)
            continue;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(part);
    }
}

Opener::Opener() : m_dir(std::make_unique<QTemporaryDir>()), m_previousCurrent(QDir::currentPath())
{
    QDir().mkpath(m_dir->filePath(QStringLiteral("program")));
    QDir().mkpath(folder());
    QDir::setCurrent(m_dir->filePath(QStringLiteral("program")));
    AliasRegistry::setConfigFile(m_dir->filePath(QStringLiteral("config/tablestore.ini")));
    ui::Messages::resetForTests();
    ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });
    // One input is opened over the pages the previous one left: what they
    // hold is let go, never saved over the next input.
    ui::Messages::setQuestionAnswers([](const ui::Messages::Shown &) { return ui::Answer::No; });
    const QString record = folder() + QLatin1Char('/') + fileName(Record);
    ui::Messages::setFileAnswers([record](const ui::FileDialogRequest &) { return record; });
    m_window = std::make_unique<app::MainWindow>(nullptr, app::Operations::Wired, app::Startup::Complete);
}

Opener::~Opener()
{
    m_window.reset();
    ui::Messages::setAnswers({});
    ui::Messages::setQuestionAnswers({});
    ui::Messages::setFileAnswers({});
    ui::Messages::resetForTests();
    AliasRegistry::setConfigFile({});
    QDir::setCurrent(m_previousCurrent);
}

QString Opener::folder() const
{
    return m_dir->filePath(QStringLiteral("stime"));
}

Opener::Outcome Opener::open(const QByteArray &input)
{
    writeSet(folder(), unpack(input));
    ui::Messages::resetForTests();
    m_window->openAction->trigger();
    // Opening leaves the process in the appraisal's folder; the next input
    // is written there again.
    QDir::setCurrent(m_dir->filePath(QStringLiteral("program")));
    // The results page: both values and the summary, from what was opened.
    m_window->showPageCommand(12);
    Outcome outcome;
    for (const ui::Messages::Shown &s : ui::Messages::shown()) {
        // The save question is about the previous input's pages.
        if (s.kind == ui::Messages::Shown::Question)
            continue;
        outcome.messages << s.text;
        if (s.kind == ui::Messages::Shown::Warning && s.text.startsWith(app::kOpenAppraisalFailed))
            outcome.warned = true;
    }
    return outcome;
}

} // namespace brevan::fuzz
