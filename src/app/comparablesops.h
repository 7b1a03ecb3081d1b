// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The comparables page's reactions: the tool row (earlier appraisals, load,
// save, empty), the preview and the ticking of earlier appraisals, the
// normalisation of a comparable's numbers and the enabling of save and empty.
#include <QObject>
#include <QStringList>

class QListWidgetItem;

namespace brevan::ui {
class ComparablesPage;
class FolderDialog;
} // namespace brevan::ui

namespace brevan::app {

class MainWindow;

class ComparablesOps : public QObject {
    Q_OBJECT
public:
    explicit ComparablesOps(MainWindow *window, QObject *parent = nullptr);

    // The folder whose earlier appraisals are listed; empty until confirmed.
    const QString &percorsoDati() const { return m_percorsoDati; }
    // Kept for the whole run so that it opens where the user left it.
    // The folder dialog, built at its first use.
    ui::FolderDialog *folderDialog();

    // The eleven values an earlier appraisal ("Stima - *.db") contributes as
    // a comparable, in the comparables table's field order, its costs in the
    // currency in force. Throws on a file that is not a table, is damaged,
    // or lacks one of the fields.
    static QStringList contributionOf(const QString &appraisalTable);

public Q_SLOTS:
    void SpeedButton60Click();  // "&Sfoglia...": folder, then its appraisals
    void SpeedButton57Click();  // load a comparables file
    void SpeedButton58Click();  // save the working table to a file
    void SpeedButton59Click();  // empty the working table and the list
    void CheckListBox1Click();  // preview the selected appraisal
    // Imports or removes the appraisal whose check mark was just toggled.
    void CheckListBox1ClickCheck(QListWidgetItem *item);
    void DBEdit5Click();        // normalise the current comparable's numbers
    void DataSource2DataChange();
    // 3 without rows, 1 when every row is a complete comparable, 2 otherwise.
    int TableImmobConfrCompleta() const;
    // A new appraisal: no earlier appraisals listed.
    void clearPreviousAppraisals();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ui::ComparablesPage *page() const;
    void fillList(const QStringList &names);
    void reopenWorkingTable();

    MainWindow *m_window;
    ui::FolderDialog *m_folderDialog = nullptr;
    QString m_percorsoDati;
    bool m_programChange = false;
    QListWidgetItem *m_currentAtPress = nullptr;
};

} // namespace brevan::app
