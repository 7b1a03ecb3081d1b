// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Imposta zone urbane per il Comune selezionato" (TAddZonaUrbanaForm): the
// urban zones of one municipality, edited on the working zone table and
// written to the municipality's own zone table by OK.
#include <QDialog>

class QComboBox;
class QPushButton;
class QTableView;

namespace brevan::ui {

class DescriptionPage;
class MunicipalityCombo;
class NavigatorBar;
class OmiImporter;
class TableModel;

class ZonesEditor : public QDialog {
    Q_OBJECT
public:
    // The dialog takes over the description page's municipality each time it
    // is shown.
    explicit ZonesEditor(DescriptionPage *description, QWidget *parent = nullptr);
    ~ZonesEditor() override;

    static constexpr int kWidth = 632;
    static constexpr int kHeight = 352;
    // Columns of the zone table layout shown in the grid, left to right.
    static constexpr int kFirstShownColumn = 2; // ZonaUrbana

    // Group "Ubicazione del fabbricato": the dialog's own lists, sharing the
    // program's municipality and province models but not their selection.
    QComboBox *municipalityCombo; // "Comune:"
    QComboBox *postalCodeCombo;   // "C.A.P."
    QComboBox *provinceCombo;     // "Provincia:"
    QComboBox *provinceCodeCombo; // "Sigla:"
    MunicipalityCombo *municipalityTypeAhead;

    QTableView *grid;
    NavigatorBar *navigator;
    QPushButton *okButton;     // "&OK"
    QPushButton *cancelButton; // "&Annulla"
    OmiImporter *omiImporter;  // its button "Importa OMI…" beside OK

    TableModel *model() const { return m_model; }

    // The zone table the OK would write now: "ZonaUrbana" + municipality +
    // postal code + province code + ".db".
    QString targetTableName() const;

public Q_SLOTS:
    // The dialog's "Comune:" was chosen or typed: the postal code and the
    // province follow, and the working zone table is reloaded for it.
    void municipalityChosen(int index);
    void OKClick();
    void AnnullaClick();
    // Annulla, Escape: closes without writing the municipality's zone table.
    void reject() override;

Q_SIGNALS:
    // OK has written the zone table (or had nothing to write) and reopened
    // the working zone table: the localisation page's zone fields are due for
    // clearing and its zone list for rebuilding.
    void zonesConfirmed();
    // OK is about to write the municipality's zone table at path.
    void aboutToWriteTable(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void takeOverDescriptionSelection();
    void openWorkingTable();
    // Reloads the working zone table for the municipality in the header.
    void reloadWorkingTable();
    void commitPendingEdit();
    // The zone name column as wide as the rest of the grid or as its longest
    // name, whichever is wider.
    void fitNameColumn();

    DescriptionPage *m_description;
    TableModel *m_model;
};

} // namespace brevan::ui
