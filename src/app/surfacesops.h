// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The surfaces page's commands: the three surfaces from the working surfaces
// table, the accessory-spaces judgment they feed, the enabling of the page's
// buttons, the one-row buffer and the table files.
//
// The three surface values (record fields 41 to 43) are held as plain number
// text in the page's hidden fields usefulValueEdit, conventionalValueEdit and
// commercialValueEdit (objectNames SupUtileImmob, SupConvenzImmob,
// SupCommercImmob); the accessors below read and write them.
#include <QObject>
#include <QString>
#include <QVector>

#include "valuation/surfaces.h"

namespace brevan::app {

class MainWindow;

class SurfacesOps : public QObject {
    Q_OBJECT
public:
    explicit SurfacesOps(MainWindow *window, QObject *parent = nullptr);

    // The dialogs' texts, as the user sees them.
    static const QString kOpenTitle;
    static const QString kSaveTitle;
    static const QString kFilter;
    static const QString kProposedName;
    static const QString kOpenFailed;  // %1: the chosen path
    static const QString kSaveFailed;  // %1: the chosen path
    static const QString kClearQuestion;

    QString usefulValue() const;
    QString conventionalValue() const;
    QString commercialValue() const;
    // Writes a value and its shown field (empty value: both empty). Opening
    // an appraisal restores the values through these.
    void setUsefulValue(const QString &value);
    void setConventionalValue(const QString &value);
    void setCommercialValue(const QString &value);

    // The row buffer of copy, cut and paste (not the system clipboard).
    QString bufferDescription() const { return m_bufferDescription; }
    QString bufferArea() const { return m_bufferArea; }

    // Every row of the working surfaces table, first to last.
    QVector<SurfaceRow> rows() const;

public Q_SLOTS:
    void CalcolaSuperficieUtile();
    void CalcolaSuperficieConvenzionale();
    void CalcolaSuperficieCommerciale();
    void ValutaDimensioneSpaziCopertiScoperti();
    // "Calcola superfici": the three in order.
    void SpeedButtonCalcolaSuperficiClick();
    void AttivaSpeedButtonCalcolaSuperfici();

    void SpeedButtonApriTabellaClick();
    void SpeedButtonSalvaTabellaClick();
    void SpeedButtonEliminaContenutoTabellaClick();
    void SpeedButtonCopiaElementoClick();
    void SpeedButtonTagliaElementoClick();
    void SpeedButtonIncollaElementoClick();
    // Mouse released over the grid: copy and cut follow the current row, then
    // the enabling rule.
    void DBGridDescrSupMouseUp();

Q_SIGNALS:
    // At the end of the commercial surface, after the accessory spaces.
    void CalcolaRedditoLordoAnnuoRequested();
    // After "Apri tabella" (also when cancelled or failed) and after
    // "Elimina contenuto tabella" was confirmed.
    void ImpostaSemaforiTreeViewRequested();

private:
    // Writes an open cell editor's text into the table before a scan or a row
    // command reads it.
    void commitGridEdit();
    // Closes an open cell editor without writing it (after commitGridEdit).
    void closeGridEditor();
    int currentRow() const;
    // Reads a value for a computation; false (after the error box) when it is
    // not a number.
    bool readValue(const QString &text, double &value);
    void reopenWorkingTable();
    void setValue(int which, const QString &value);

    MainWindow *m_window;
    QString m_bufferDescription;
    QString m_bufferArea;
};

} // namespace brevan::app
