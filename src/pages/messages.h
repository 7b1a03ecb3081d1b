#pragma once
// Every message box and file dialog goes through here, so tests can answer
// them and read their texts instead of blocking on a modal window.
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace brevan::ui {

struct FileDialogRequest {
    QString title;
    QString filter;    // Qt form: "Stima Brevan (Stima*.db)"
    QString directory; // initial folder
    QString suggested; // proposed name (save dialogs)
    bool save = false;
    // Added to a chosen name that has no extension ("db" gives "name.db").
    QString defaultSuffix;
};

class Messages {
public:
    // A warning with OK.
    static void warning(QWidget *parent, const QString &text);
    // A warning with OK and Cancel; true for OK.
    static bool confirm(QWidget *parent, const QString &text);
    // The application's error box for failures that an operation does not
    // handle itself.
    static void error(QWidget *parent, const QString &text);
    // A file dialog; the empty string when cancelled.
    static QString fileName(QWidget *parent, const FileDialogRequest &request);
    // A note in the status bar of the main window that from belongs to.
    static void note(QWidget *from, const QString &text);

    // Test seam. While a handler is set, no window is shown: boxes are
    // recorded and answered by the handler.
    struct Shown {
        enum Kind { Warning, Confirm, Error } kind;
        QString text;
    };
    static void setAnswers(std::function<bool(const Shown &)> handler);
    static void setFileAnswers(std::function<QString(const FileDialogRequest &)> handler);
    static void resetForTests();
    static const QList<Shown> &shown();
    static const QList<FileDialogRequest> &fileRequests();
};

} // namespace brevan::ui
