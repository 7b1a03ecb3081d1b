// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Calcolo delle superfici": the rooms of the unit in a grid over the working
// surfaces table, its commands and navigators, and the three computed
// surfaces below. The page fills the page area.
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;

namespace brevan::ui {

class NavigatorBar;
class TableModel;

class SurfacesPage : public QWidget {
    Q_OBJECT
public:
    explicit SurfacesPage(QWidget *parent = nullptr);
    ~SurfacesPage() override;

    // Points the grid at a surfaces table (the working one after start-up).
    bool setTableFile(const QString &path);
    TableModel *model() const { return m_model; }

    // Commands, left to right.
    QToolButton *openTableButton;   // SpeedButtonApriTabella
    QToolButton *saveTableButton;   // SpeedButtonSalvaTabella
    QToolButton *clearTableButton;  // SpeedButtonEliminaContenutoTabella
    QToolButton *copyRowButton;     // SpeedButtonCopiaElemento
    QToolButton *cutRowButton;      // SpeedButtonTagliaElemento
    QToolButton *pasteRowButton;    // SpeedButtonIncollaElemento
    QToolButton *computeButton;     // SpeedButtonCalcolaSuperfici
    // First, prior, next, last, delete, insert.
    NavigatorBar *navigator;        // NavigatorDescrSup
    // "Superficie catastale (DPR 138/98)…", after the navigators: its text
    // shows beside the icon where the tool row has room for it.
    QToolButton *cadastralButton;   // SpeedButtonSuperficieCatastale

    QTableView *grid;               // DBGridDescrSup
    QGroupBox *surfacesGroup;       // "Calcolo delle superfici"
    QLabel *usefulLabel;            // "Sup. utile:"
    QLabel *conventionalLabel;      // "Sup. convenzionale:"
    QLabel *commercialLabel;        // "Sup. commerciale:"
    QLineEdit *usefulEdit;          // Edit25
    QLineEdit *conventionalEdit;    // Edit26
    QLineEdit *commercialEdit;      // Edit27
    // The three surface values behind the shown fields (record fields 41 to
    // 43): plain number text as computed, never shown. They are what the rest
    // of the program reads and what an appraisal saves; the shown fields are
    // only their formatted copies.
    QLineEdit *usefulValueEdit;       // SupUtileImmob
    QLineEdit *conventionalValueEdit; // SupConvenzImmob
    QLineEdit *commercialValueEdit;   // SupCommercImmob

    // The resize rules, as arithmetic.
    static int descriptionColumnWidth(int gridWidth, int areaColumnWidth);
    static int groupWidth(int pageWidth);
    // The width of each surface field, from the current width of the first.
    static int surfaceFieldWidth(int currentWidth, int groupWidth);

Q_SIGNALS:
    // A mouse button was released over the grid's cells.
    void gridMouseReleased();
    // The grid's current cell moved to another column.
    void gridColumnLeft();
    // One of the three shown surface fields was clicked.
    void surfaceFieldClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutPage();

    TableModel *m_model;
    int m_areaColumnWidth = 70; // "MQ"
};

} // namespace brevan::ui
