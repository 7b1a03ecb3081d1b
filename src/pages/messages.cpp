#include "messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

namespace brevan::ui {

namespace {

struct Seam {
    std::function<bool(const Messages::Shown &)> answers;
    std::function<QString(const FileDialogRequest &)> files;
    QList<Messages::Shown> shown;
    QList<FileDialogRequest> fileRequests;
};

Seam &seam()
{
    static Seam s;
    return s;
}

bool show(QWidget *parent, Messages::Shown::Kind kind, const QString &text)
{
    if (seam().answers) {
        seam().shown.append({kind, text});
        return seam().answers(seam().shown.last());
    }
    const QString title = QStringLiteral("Brevan 2.0");
    switch (kind) {
    case Messages::Shown::Warning:
        QMessageBox::warning(parent, title, text, QMessageBox::Ok);
        return true;
    case Messages::Shown::Confirm:
        return QMessageBox::warning(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
               == QMessageBox::Ok;
    case Messages::Shown::Error:
        QMessageBox::critical(parent, title, text, QMessageBox::Ok);
        return true;
    }
    return false;
}

} // namespace

void Messages::warning(QWidget *parent, const QString &text)
{
    show(parent, Shown::Warning, text);
}

bool Messages::confirm(QWidget *parent, const QString &text)
{
    return show(parent, Shown::Confirm, text);
}

void Messages::error(QWidget *parent, const QString &text)
{
    show(parent, Shown::Error, text);
}

namespace {

QString withSuffix(const QString &chosen, const QString &suffix)
{
    if (chosen.isEmpty() || suffix.isEmpty() || !QFileInfo(chosen).suffix().isEmpty())
        return chosen;
    return chosen + QLatin1Char('.') + suffix;
}

} // namespace

QString Messages::fileName(QWidget *parent, const FileDialogRequest &request)
{
    if (seam().files) {
        seam().fileRequests.append(request);
        return withSuffix(seam().files(request), request.defaultSuffix);
    }
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The commands replace a file of the same name without a question (their
    // writes are whole or nothing); the filter shows its caption only.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!request.suggested.isEmpty())
        dialog.selectFile(request.suggested);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withSuffix(dialog.selectedFiles().constFirst(), request.defaultSuffix);
}

void Messages::note(QWidget *from, const QString &text)
{
    for (QWidget *w = from; w; w = w->parentWidget()) {
        if (auto *main = qobject_cast<QMainWindow *>(w)) {
            main->statusBar()->showMessage(text);
            return;
        }
    }
}

void Messages::setAnswers(std::function<bool(const Shown &)> handler)
{
    seam().answers = std::move(handler);
}

void Messages::setFileAnswers(std::function<QString(const FileDialogRequest &)> handler)
{
    seam().files = std::move(handler);
}

void Messages::resetForTests()
{
    seam().shown.clear();
    seam().fileRequests.clear();
}

const QList<Messages::Shown> &Messages::shown()
{
    return seam().shown;
}

const QList<FileDialogRequest> &Messages::fileRequests()
{
    return seam().fileRequests;
}

} // namespace brevan::ui
