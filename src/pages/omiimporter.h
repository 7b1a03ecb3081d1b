// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The "Importa OMI…" button of the urban zones editor and of the unit-rent
// editor: asks for an OMI quotation file, shows what it gives the municipality
// in the editor's header, and fills the editor's working table. The editor's
// OK then saves as it always does; its Annulla puts back the rows the working
// table held before the import.
#include "messages.h"
#include "omiimportdialog.h"

#include <QObject>

#include <functional>

class QDialog;
class QPushButton;

namespace brevan::ui {

class DescriptionPage;
class NavigatorBar;
class TableModel;

class OmiImporter : public QObject {
    Q_OBJECT
public:
    struct Place {
        QString municipality;
        QString provinceCode;
    };

    // editor: the dialog the button sits in; model: its grid's model on the
    // working table; navigator: posts a pending cell edit first; place: the
    // municipality of the editor's header.
    OmiImporter(QDialog *editor, OmiTarget target, TableModel *model, NavigatorBar *navigator,
                DescriptionPage *description, std::function<Place()> place);

    static inline const QString kCaption = QStringLiteral("Importa OMI…");
    static inline const QString kFilter = fileFilter(QStringLiteral("Quotazioni OMI (*.csv)|*.csv"));

    // Where the file dialog opens: the folder of the last OMI file chosen in
    // either editor, while it still exists; else the home folder.
    static QString lastFolder();

    // The button, made for the editor to place.
    QPushButton *button() const { return m_button; }

Q_SIGNALS:
    // The editor's OK is about to write the municipality's sale table at path.
    void aboutToWriteTable(const QString &path);

public Q_SLOTS:
    // Asks for the file, then imports it.
    void chooseFile();
    // Imports the file for the editor's municipality; true when the working
    // table was filled.
    bool importFile(const QString &path);

private:
    void editorFinished(int result);
    QString workingTable() const;

    QDialog *m_editor;
    OmiTarget m_target;
    TableModel *m_model;
    NavigatorBar *m_navigator;
    DescriptionPage *m_description;
    std::function<Place()> m_place;
    QPushButton *m_button;

    // The sale ranges of the last import, written into the municipality's
    // sale table when the editor's OK saves (Annulla drops them).
    void keepSales(const Place &place, const QString &tableName, const omi::SalePlan &plan);
    bool m_hasSales = false;
    Place m_salesPlace;
    QString m_salesTable;
    QVector<omi::PlannedSale> m_sales;

    // The working table's rows before the first import of this showing of
    // the editor, with the municipality they were for.
    bool m_saved = false;
    omi::TextRows m_before;
    Place m_beforePlace;
};

} // namespace brevan::ui
