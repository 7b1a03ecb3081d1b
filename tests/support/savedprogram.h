// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The running program with every operation wired, saving to and opening from
// a folder of appraisals as the user does through the file dialogs, which
// the seam answers with the names queued in files. Questions are answered No.
#include "appfixture.h"

#include <QAction>
#include <QStringList>

struct SavedProgram {
    AppFixture app{brevan::app::Operations::Wired};
    QStringList files;
    QString appraisals;

    explicit SavedProgram(const QString &where = {})
        : appraisals(where.isEmpty() ? app.path(QStringLiteral("stime")) : where)
    {
        using brevan::ui::Messages;
        Messages::setFileAnswers([this](const brevan::ui::FileDialogRequest &) {
            return files.isEmpty() ? QString() : files.takeFirst();
        });
        Messages::setQuestionAnswers([](const Messages::Shown &) { return brevan::ui::Answer::No; });
        QDir().mkpath(appraisals);
    }
    brevan::app::MainWindow *w() const { return app.window.get(); }
    QString folder() const { return appraisals; }
    QString inFolder(const QString &name) const { return appraisals + QLatin1Char('/') + name; }
    void save(const QString &name)
    {
        files << inFolder(name);
        w()->saveAction->trigger();
    }
    void open(const QString &name)
    {
        files << inFolder(name);
        w()->openAction->trigger();
    }
    void newAppraisal()
    {
        app.answer = true;
        w()->newAction->trigger();
    }
    // The boxes shown, questions and confirmations left out.
    QStringList warnings() const
    {
        using brevan::ui::Messages;
        QStringList out;
        for (const Messages::Shown &s : Messages::shown()) {
            if (s.kind != Messages::Shown::Confirm && s.kind != Messages::Shown::Question)
                out << s.text;
        }
        return out;
    }
};
