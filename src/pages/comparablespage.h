// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Immobili di confronto": the tool row, the navigators and the one-record
// editors over the working comparables table, and the list of earlier
// appraisals. The page fills the page area.
#include <QStringList>
#include <QVector>
#include <QWidget>

class QDataWidgetMapper;
class QGroupBox;
class QItemSelectionModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

namespace brevan::ui {

class NavigatorBar;
class TableModel;

class ComparablesPage : public QWidget {
    Q_OBJECT
public:
    explicit ComparablesPage(QWidget *parent = nullptr);
    ~ComparablesPage() override;

    // Points the editors at a comparables table (the working one after start-up).
    bool setTableFile(const QString &path);
    TableModel *model() const { return m_model; }
    // The current comparable: the navigators move it, the editors follow it.
    QItemSelectionModel *selection() const { return m_selection; }
    int currentRow() const;

    // Writes what the editors hold into the current comparable. Typing into
    // the editors of an empty table adds the comparable, as a table cursor
    // does when a record is edited with none there.
    void postEdits();
    // Whether an editor holds text its comparable does not have yet.
    bool hasPendingEdit() const;

    // Shows texts in the eleven editors without writing them anywhere (an
    // earlier appraisal's contribution, or nothing). The editors go back to
    // the current comparable as soon as the table's cursor or data change, or
    // the user starts typing into one of them.
    void showPreview(const QStringList &texts);
    bool isPreviewing() const { return m_previewing; }

    // A row is a complete comparable when its four coefficients and its unit
    // cost are filled in.
    static bool isCompleteComparable(const QStringList &fields);
    // The completeness of the table without moving the current comparable:
    // 3 without rows, 1 when every row is complete, 2 otherwise.
    int completeness() const;
    // Fields 1 to 11 of a row as the table holds them.
    QStringList rowTexts(int row) const;

    QToolButton *browseButton;      // SpeedButton60 "&Sfoglia..."
    QToolButton *loadButton;        // SpeedButton57
    QToolButton *saveButton;        // SpeedButton58
    QToolButton *emptyButton;       // SpeedButton59
    // First, prior, next, last, delete, insert, post.
    NavigatorBar *navigator;        // NavigatorImmConfr
    QListWidget *previousAppraisalsList; // CheckListBox1

    QGroupBox *comparablesGroup;    // "Immobili di confronto"
    QLineEdit *addressEdit;         // DBEdit1, IndirizzoImmob
    QLineEdit *houseNumberEdit;     // DBEdit2, NumCivicoImmob
    QLineEdit *floorEdit;           // DBEdit3, PianoImmob
    QLineEdit *internalEdit;        // DBEdit4, InternoImmob
    QLineEdit *localisationEdit;    // DBEdit5, CdCarattLocalizzaz
    QLineEdit *positionEdit;        // DBEdit6, CdCarattPosizione
    QLineEdit *typologyEdit;        // DBEdit7, CdCarattTipologiche
    QLineEdit *productiveEdit;      // DBEdit8, CdCarattProduttive
    QLineEdit *surfaceEdit;         // DBEdit9, SupCommercImmob
    QLineEdit *unitCostEdit;        // DBEdit10, CostoUnitario
    QLineEdit *totalCostEdit;       // DBEdit11, CostoComplessivo
    // The eleven editors in field order of the table (fields 1 to 11).
    QVector<QLineEdit *> editors() const;

    QDataWidgetMapper *mapper;

    // The resize rule: each row of fields shares the spare width equally.
    static int groupWidth(int pageWidth);
    static QVector<int> shareSpareWidth(const QVector<int> &widths, int groupWidth, int fixedWidth);
    static constexpr int kAddressRowFixed = 23;
    static constexpr int kCoefficientRowFixed = 160;
    static constexpr int kCostRowFixed = 21;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutPage();
    void showCurrentRow();

    TableModel *m_model;
    QItemSelectionModel *m_selection;
    QVector<QLineEdit *> m_editors;
    QVector<QLabel *> m_captions;      // above each editor, in editors() order
    QVector<QLabel *> m_percentLabels; // after each coefficient editor
    QLabel *m_characteristicsLabel;
    bool m_previewing = false;
};

} // namespace brevan::ui
