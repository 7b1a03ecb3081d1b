// SPDX-License-Identifier: GPL-2.0-or-later
#include "messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QTreeView>

#include <algorithm>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

namespace brevan::ui {

QString fileFilter(const QString &captionsAndPatterns)
{
    const QStringList parts = captionsAndPatterns.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // Qt takes the last bracketed group of an entry as its patterns,
        // separated by blanks, and shows what stands before it.
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts.at(i) + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

namespace {

// Columns of the file list of Qt's file dialog.
enum FileListColumn { Size = 1, Modified = 3 };

// The file list of Qt's file dialog writes sizes and dates in the system's
// language, not in the application's: those two columns are written again in
// Italian (the dates in the program's short form).
class ItalianFileList : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != Size && index.column() != Modified))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QLocale italian(QLocale::Italian, QLocale::Italy);
        if (index.column() == Modified)
            return italian.toString(files->lastModified(source), QStringLiteral("dd/MM/yyyy HH:mm"));
        if (files->isDir(source))
            return QString();
        return italian.formattedDataSize(files->size(source), 1, QLocale::DataSizeTraditionalFormat);
    }
};


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
    const int answer = Messages::box(parent, kind, text)->exec();
    return kind != Messages::Shown::Confirm || answer == QMessageBox::Ok;
}

} // namespace

std::unique_ptr<QMessageBox> Messages::box(QWidget *parent, Shown::Kind kind, const QString &text, bool cancellable)
{
    struct Look {
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::StandardButton escapeButton;
    };
    Look look{QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    switch (kind) {
    case Shown::Warning: break;
    case Shown::Confirm:
        look = {QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Cancel};
        break;
    case Shown::Error: look = {QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok}; break;
    case Shown::Question:
        look = {QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
        if (cancellable) {
            look.buttons |= QMessageBox::Cancel;
            look.escapeButton = QMessageBox::Cancel;
        }
        break;
    }
    auto box = std::make_unique<QMessageBox>(look.icon, QStringLiteral("Brevan 2.0"), text, look.buttons, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(look.defaultButton);
    box->setEscapeButton(look.escapeButton);
    return box;
}

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
    switch (box(parent, Shown::Question, text, cancellable)->exec()) {
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
    QFileDialog dialog(parent);
    prepareFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withSuffix(dialog.selectedFiles().constFirst(), request.defaultSuffix);
}

void Messages::prepareFileDialog(QFileDialog &dialog, const FileDialogRequest &request)
{
    // Qt's own dialog rather than the desktop's, which speaks the system's
    // language.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(request.title);
    dialog.setDirectory(request.directory);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The commands replace a file of the same name without a question (their
    // writes are whole or nothing); each filter shows its caption only, which
    // carries the patterns as the commands quote them.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(request.filter);
    dialog.setProxyModel(new ItalianFileList(&dialog));
    if (!request.suggested.isEmpty())
        dialog.selectFile(request.suggested);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The Italian column titles are longer than the widths Qt gives them, and
    // the dialog is made wide enough to show the four columns.
    if (auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = list->header();
        for (int c = 0; c < header->count(); ++c)
            header->resizeSection(c, std::max(header->sectionSize(c), header->sectionSizeHint(c)));
    }
    dialog.resize(std::max(dialog.width(), 780), std::max(dialog.height(), 460));
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
