// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// TAddCanoneLocazioneForm: the unit rents of one municipality (year, zone,
// lowest and highest monthly rent per m², kept in Lire) edited in a grid over
// the working unit-rent table, and saved as the municipality's own table on
// OK. With the program in Euro the grid shows and takes the rents in Euro.
#include <QDialog>

class QComboBox;
class QLabel;
class QModelIndex;
class QPushButton;
class QTableView;

namespace brevan {
struct CurrencyState;
}

namespace brevan::ui {

// A rent of the unit-rent table (Lire, as the table keeps them) as a cell
// shows it in the currency in force: in Euro, to the cent. Text that holds
// no number is shown as it is.
QString rentShown(const QString &stored, const CurrencyState &state);
// What the table keeps for a rent typed in the currency in force: in Euro,
// the amount in Lire at 1936,27. Text that holds no number is kept as typed.
QString rentStored(const QString &typed, const CurrencyState &state);

class DescriptionPage;
class NavigatorBar;
class OmiImporter;
class TableModel;

class UnitRentEditor : public QDialog {
    Q_OBJECT
public:
    // The lists follow those of the description page, whose municipality the
    // dialog opens on.
    explicit UnitRentEditor(DescriptionPage *description, QWidget *parent = nullptr);
    // Lets go of the application's focus changes before the widgets go.
    ~UnitRentEditor() override;

    static inline const QString kCaption =
        QStringLiteral("Imposta canone mensile di locazione unitario per il Comune selezionato");

    QComboBox *municipalityCombo; // ComboBox1
    QLabel *postalCodeLabel;      // "C.A.P."
    QLabel *provinceLabel;        // "Provincia:"
    QLabel *provinceCodeLabel;    // "Sigla:"
    QTableView *grid;             // DBGrid1
    NavigatorBar *navigator;
    QPushButton *okButton;        // Button1 "&OK"
    QPushButton *cancelButton;    // Button2 "&Annulla"
    OmiImporter *omiImporter;     // its button "Importa OMI…" beside OK

    TableModel *model() const { return m_model; }

    // The text a cell of the grid shows: the rents in the currency in force.
    static QString cellText(const QModelIndex &index);
    // The grid's columns in the order shown: Anno, Zona, CanoneLocazMin, CanoneLocazMax.
    QStringList shownFields() const;
    // The unit-rent table OK would write now: "CanoniLocazUnitari" +
    // municipality + postal code + province code + ".db".
    QString targetTableName() const;

Q_SIGNALS:
    // OK is about to write the municipality's unit-rent table at path.
    void aboutToWriteTable(const QString &path);

public Q_SLOTS:
    void FormShow();
    // The user chose the municipality at index of the list (-1: typed text
    // that names none).
    void ComboBox1Change(int index);
    void Button1Click();
    void Button2Click();
    // Annulla, Escape: closes without writing the municipality table.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showPlace(int index);
    void setRentTitles();
    void openWorkingTable();
    // Reloads the working unit-rent table for the municipality in the header.
    void reloadWorkingTable();
    void restoreColumnOrder();

    DescriptionPage *m_description;
    TableModel *m_model;
};

} // namespace brevan::ui
