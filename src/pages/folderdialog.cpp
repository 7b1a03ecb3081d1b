// SPDX-License-Identifier: GPL-2.0-or-later
#include "folderdialog.h"

#include "pagekit.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

namespace brevan::ui {

namespace {

constexpr int kShownWhole = 55;  // longest path shown as it is
constexpr int kShownEnds = 25;   // characters kept at each end of a longer one
const QString kEllipsis = QStringLiteral(" ... ");

// Fixed geometry of the dialog, in pixels.
constexpr int kWidth = 330;
constexpr int kHeight = 300;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

} // namespace

QString FolderDialog::shortenedPath(const QString &path)
{
    if (path.size() <= kShownWhole)
        return path;
    return path.left(kShownEnds) + kEllipsis + path.right(kShownEnds);
}

FolderDialog::FolderDialog(QWidget *parent) : QDialog(parent), m_model(new QFileSystemModel(this))
{
    setObjectName(QStringLiteral("CercaDirDatiForm"));
    setWindowTitle(QStringLiteral("Specifica cartella immobili di confronto"));
    setFont(pageFont());
    setFixedSize(kWidth, kHeight);
    setModal(true);

    const int innerWidth = kWidth - 2 * kMargin;
    const int listWidth = innerWidth - kButtonWidth - kMargin;

    pathPanel = new QLabel(this);
    pathPanel->setObjectName(QStringLiteral("PanelPercorso"));
    pathPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pathPanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pathPanel->setTextFormat(Qt::PlainText);
    pathPanel->setGeometry(kMargin, kMargin, innerWidth, 21);

    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);

    directoryList = new QTreeView(this);
    directoryList->setObjectName(QStringLiteral("DirectoryListBox1"));
    directoryList->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        directoryList->hideColumn(column);
    directoryList->header()->hide();
    directoryList->setSelectionMode(QAbstractItemView::SingleSelection);
    directoryList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    directoryList->setGeometry(kMargin, kMargin + 21 + 6, listWidth, kHeight - 2 * kMargin - 21 - 6 - 21 - 6);
    directoryList->viewport()->installEventFilter(this);
    // The model reads folders in the background: once the ones on the way
    // are in, bring the current folder into view.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this] {
        if (directoryList->currentIndex().isValid())
            directoryList->scrollTo(directoryList->currentIndex());
    });
    // Moving with the keyboard changes the list's folder too: the panel follows.
    connect(directoryList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderDialog::ElaboraPercorsoDati);

    driveSelector = new QComboBox(this);
    driveSelector->setObjectName(QStringLiteral("DriveComboBox1"));
    driveSelector->setGeometry(kMargin, kHeight - kMargin - 21, listWidth, 21);
    fillDrives();
    connect(driveSelector, &QComboBox::activated, this, &FolderDialog::driveChosen);

    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("BitBtnOK"));
    okButton->setDefault(true);
    okButton->setGeometry(kWidth - kMargin - kButtonWidth, kMargin + 21 + 6, kButtonWidth, kButtonHeight);
    cancelButton = new QPushButton(QStringLiteral("&Annulla"), this);
    cancelButton->setObjectName(QStringLiteral("BitBtnAnnulla"));
    cancelButton->setGeometry(kWidth - kMargin - kButtonWidth, kMargin + 21 + 6 + kButtonHeight + 6, kButtonWidth,
                              kButtonHeight);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void FolderDialog::fillDrives()
{
    driveSelector->clear();
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    roots.sort();
    for (const QString &root : std::as_const(roots))
        driveSelector->addItem(QDir::toNativeSeparators(root), root);
}

void FolderDialog::selectDriveOf(const QString &folder)
{
    const QString root = QStorageInfo(folder).rootPath();
    int at = driveSelector->findData(root);
    if (at < 0 && !root.isEmpty()) {
        // A volume mounted since the list was made.
        driveSelector->addItem(QDir::toNativeSeparators(root), root);
        at = driveSelector->count() - 1;
    }
    driveSelector->setCurrentIndex(at);
    const QString top = root.isEmpty() ? QDir::rootPath() : root;
    m_model->setRootPath(top);
    directoryList->setRootIndex(m_model->index(top));
}

void FolderDialog::driveChosen(int index)
{
    const QString root = driveSelector->itemData(index).toString();
    if (root.isEmpty())
        return;
    setListFolder(root);
    ElaboraPercorsoDati();
}

QString FolderDialog::listFolder() const
{
    const QModelIndex current = directoryList->currentIndex();
    if (current.isValid())
        return m_model->filePath(current);
    // The drive's own folder is the list's root, not one of its items.
    const QModelIndex root = directoryList->rootIndex();
    return root.isValid() ? m_model->filePath(root) : QDir::rootPath();
}

void FolderDialog::setListFolder(const QString &folder)
{
    const QString path = QDir(folder).absolutePath();
    selectDriveOf(path);
    const QModelIndex index = m_model->index(path);
    if (index.isValid() && index != directoryList->rootIndex()) {
        directoryList->setCurrentIndex(index);
        directoryList->expand(index);
        directoryList->scrollTo(index);
    } else {
        directoryList->setCurrentIndex({});
    }
}

void FolderDialog::ElaboraPercorsoDati()
{
    m_choice = listFolder();
    pathPanel->setText(shortenedPath(QDir::toNativeSeparators(m_choice)));
}

QString FolderDialog::choose()
{
    if (!m_used) {
        m_used = true;
        setListFolder(QDir::currentPath());
    }
    ElaboraPercorsoDati();
    const int result = runModal ? runModal(*this) : exec();
    return result == QDialog::Accepted ? m_choice : QString();
}

void FolderDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ElaboraPercorsoDati();
}

bool FolderDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == directoryList->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // The press has already made the folder under the mouse current.
        ElaboraPercorsoDati();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace brevan::ui
