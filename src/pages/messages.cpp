#include "messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace brevan::ui {

namespace {

struct Seam {
    std::function<bool(const Messages::Shown &)> answers;
    std::function<Answer(const Messages::Shown &)> questions;
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
    case Messages::Shown::Question:
        break; // Messages::question
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

Answer Messages::question(QWidget *parent, const QString &text, bool cancellable)
{
    if (seam().questions || seam().answers) {
        seam().shown.append({Shown::Question, text});
        if (seam().questions)
            return seam().questions(seam().shown.last());
        return seam().answers(seam().shown.last()) ? Answer::Yes : Answer::No;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (cancellable)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Brevan 2.0"), text, buttons, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(cancellable ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return cancellable ? Answer::Cancel : Answer::No;
    }
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

void Messages::setAnswers(std::function<bool(const Shown &)> handler)
{
    seam().answers = std::move(handler);
}

void Messages::setQuestionAnswers(std::function<Answer(const Shown &)> handler)
{
    seam().questions = std::move(handler);
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
