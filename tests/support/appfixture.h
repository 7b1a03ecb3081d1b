// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Starts the real main window with its configuration, data folder and current
// folder in a temporary directory, and answers message boxes through the seam.
#include "app/application.h"
#include "app/mainwindow.h"
#include "pages/messages.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

class AppFixture {
public:
    // Subsystem tests build the operations they examine themselves; the
    // end-to-end tests start the window with every operation wired.
    explicit AppFixture(brevan::app::Operations operations = brevan::app::Operations::None,
                        brevan::app::Startup startup = brevan::app::Startup::Complete)
    {
        // What the program sets up before its window: Italian locale and Qt's
        // Italian translations, so tests see what users see.
        if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
            brevan::app::setUpApplication(*app);
        m_cwd = QDir::currentPath();
        QDir().mkpath(m_dir.filePath("program"));
        QDir::setCurrent(m_dir.filePath("program"));
        brevan::AliasRegistry::setConfigFile(m_dir.filePath("config/tablestore.ini"));
        brevan::ui::Messages::resetForTests();
        brevan::ui::Messages::setAnswers([this](const brevan::ui::Messages::Shown &) { return answer; });
        window = std::make_unique<brevan::app::MainWindow>(nullptr, operations, startup);
    }
    ~AppFixture()
    {
        window.reset();
        brevan::ui::Messages::setAnswers({});
        brevan::ui::Messages::setFileAnswers({});
        brevan::ui::Messages::setQuestionAnswers({});
        brevan::AliasRegistry::setConfigFile({});
        QDir::setCurrent(m_cwd);
    }
    QString dataFolder() const { return m_dir.filePath("program/Dati"); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    bool answer = true;
    std::unique_ptr<brevan::app::MainWindow> window;

private:
    QTemporaryDir m_dir;
    QString m_cwd;
};
