// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Every message box and file dialog goes through here, so tests can answer
// them and read their texts instead of blocking on a modal window.
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QFileDialog;
class QMessageBox;
class QWidget;

namespace brevan::ui {

// A file dialog's filter written as the program's commands quote it,
// "caption|patterns|caption|patterns" with the patterns of one entry joined by
// ";" ("Stima Brevan (*.db)|Stima*.db"), turned into Qt's form. The dialog
// shows each caption exactly as written and lists the files its patterns match.
QString fileFilter(const QString &captionsAndPatterns);

struct FileDialogRequest {
    QString title;
    QString filter;    // Qt form, as fileFilter() makes it
    QString directory; // initial folder
    QString suggested; // proposed name (save dialogs)
    bool save = false;
    // Added to a chosen name that has no extension ("db" gives "name.db").
    QString defaultSuffix;
};

enum class Answer { Yes, No, Cancel };

class Messages {
public:
    // A warning with OK.
    static void warning(QWidget *parent, const QString &text);
    // A warning with OK and Cancel; true for OK.
    static bool confirm(QWidget *parent, const QString &text);
    // The application's error box for failures that an operation does not
    // handle itself.
    static void error(QWidget *parent, const QString &text);
    // A question with "Sì" and "No", and "Annulla" when cancellable; closing
    // the box answers Annulla, or No when it has no Annulla.
    static Answer question(QWidget *parent, const QString &text, bool cancellable);
    // A file dialog; the empty string when cancelled.
    static QString fileName(QWidget *parent, const FileDialogRequest &request);
    // Sets up the dialog that fileName() shows: Qt's own dialog, in Italian
    // whatever the system's language (sizes and dates of the file list too),
    // its columns wide enough for their titles.
    static void prepareFileDialog(QFileDialog &dialog, const FileDialogRequest &request);
    // A note in the status bar of the main window that from belongs to.
    static void note(QWidget *from, const QString &text);

    // Test seam. While a handler is set, no window is shown: boxes are
    // recorded and answered by the handler.
    struct Shown {
        enum Kind { Warning, Confirm, Error, Question } kind;
        QString text;
    };
    static void setAnswers(std::function<bool(const Shown &)> handler);
    // Answers questions; without it a question is answered Yes when the
    // handler above returns true, else No.
    static void setQuestionAnswers(std::function<Answer(const Shown &)> handler);
    static void setFileAnswers(std::function<QString(const FileDialogRequest &)> handler);
    static void resetForTests();
    static const QList<Shown> &shown();
    static const QList<FileDialogRequest> &fileRequests();

    // The box that warning(), confirm(), error() and question() show: the
    // program's title, the kind's icon and buttons, and the text shown exactly
    // as it is written, so a file name holding "<b>" is not taken as markup.
    static std::unique_ptr<QMessageBox> box(QWidget *parent, Shown::Kind kind, const QString &text,
                                            bool cancellable = false);
};

} // namespace brevan::ui
