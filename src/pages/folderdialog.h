// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// TCercaDirDatiForm: picks the folder whose earlier appraisals the
// comparables page lists. Built once and kept, so the directory list stays
// where the user left it between uses.
#include <QDialog>

#include <functional>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace brevan::ui {

class FolderDialog : public QDialog {
    Q_OBJECT
public:
    explicit FolderDialog(QWidget *parent = nullptr);

    // Shows the dialog modally and returns the confirmed folder, or the empty
    // string when the user cancelled. The first use starts at the process's
    // current folder.
    QString choose();

    // The folder the dialog would confirm now (set by ElaboraPercorsoDati).
    QString choice() const { return m_choice; }
    // The directory list's current folder.
    QString listFolder() const;
    // Moves the directory list (and the drive selector) to a folder.
    void setListFolder(const QString &folder);

    // A path of more than 55 characters as its first 25, " ... " and its last 25.
    static QString shortenedPath(const QString &path);

    QLabel *pathPanel;          // the sunken one-line panel on top
    QTreeView *directoryList;   // DirectoryListBox1
    QComboBox *driveSelector;   // DriveComboBox1: the mounted volumes
    QPushButton *okButton;      // "&OK"
    QPushButton *cancelButton;  // "&Annulla"

    // Test seam: when set, choose() calls it instead of running the modal
    // loop; it acts on the dialog and returns Accepted or Rejected.
    std::function<int(FolderDialog &)> runModal;

public Q_SLOTS:
    // Takes the directory list's current folder as the choice and shows it.
    void ElaboraPercorsoDati();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillDrives();
    void driveChosen(int index);
    void selectDriveOf(const QString &folder);

    QFileSystemModel *m_model;
    QString m_choice;
    bool m_used = false;
};

} // namespace brevan::ui
