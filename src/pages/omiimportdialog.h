// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Importa quotazioni OMI": what an OMI quotation file gives one municipality,
// shown before it fills the urban zones editor or the unit-rent editor: the
// semester, the building type, the state and the year chosen, and the rows.
#include "omi/omitables.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace brevan::ui {

enum class OmiTarget { Zones, UnitRents };

class OmiImportDialog : public QDialog {
    Q_OBJECT
public:
    struct Setup {
        OmiTarget target = OmiTarget::Zones;
        const omi::Quotations *quotations = nullptr;
        QString code;         // cadastral code of the municipality
        QString municipality; // as the municipality list writes it
        QString provinceCode;
        QString fileName;     // the file the user chose
        int defaultType = omi::kTypeCivil;
        int valuationYear = 0;
        omi::TextRows existing; // the rows the editor holds now
    };

    explicit OmiImportDialog(const Setup &setup, QWidget *parent = nullptr);

    QLabel *headerLabel;
    QComboBox *typeCombo;  // "Tipologia:" (unit rents only)
    QComboBox *stateCombo; // "Stato:"
    QComboBox *yearCombo;  // "Anno:", editable
    QTableWidget *preview;
    QLabel *noteLabel;
    QPushButton *okButton;
    QPushButton *cancelButton;

    // The choices as they stand.
    omi::Options options() const;
    // The table the editor will hold after OK: its rows merged with the import.
    omi::TextRows result() const;

    // Shows the dialog modally; true for OK. While a test handler is set, no
    // window is shown: the handler gets the dialog and answers for the user.
    bool ask();
    static void setTestHandler(std::function<bool(OmiImportDialog &)> handler);

private:
    void refresh();
    void fillZones();
    void fillRents();
    // The sale ranges the import keeps and those it leaves out.
    QString salesNote() const;

    Setup m_setup;
    omi::TextRows m_result;
};

} // namespace brevan::ui
