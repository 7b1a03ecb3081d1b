// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The surfaces page's commands: the three surfaces from the working surfaces
// table, the accessory-spaces judgment they feed, the enabling of the page's
// buttons, the one-row buffer and the table files.
//
// The surfaces themselves are computed by engine/surfaceswork.h, on the
// page's fields and grid.
#include "engine/surfaceswork.h"

#include <memory>

namespace brevan::app {

class MainWindow;
struct WindowFields;

class SurfacesOps : public engine::SurfacesWork {
    Q_OBJECT
public:
    explicit SurfacesOps(MainWindow *window, QObject *parent = nullptr);
    ~SurfacesOps() override;

    // The dialogs' texts, as the user sees them.
    static const QString kOpenTitle;
    static const QString kSaveTitle;
    static const QString kFilter;
    static const QString kProposedName;
    static const QString kOpenFailed;  // %1: the chosen path
    static const QString kSaveFailed;  // %1: the chosen path
    static const QString kClearQuestion;

    // The row buffer of copy, cut and paste (not the system clipboard).
    QString bufferDescription() const { return m_bufferDescription; }
    QString bufferArea() const { return m_bufferArea; }

    // Every row of the working surfaces table as the grid holds it.
    QVector<SurfaceRow> rows() const override;

public Q_SLOTS:
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
    // After "Apri tabella" (also when cancelled or failed) and after
    // "Elimina contenuto tabella" was confirmed.
    void ImpostaSemaforiTreeViewRequested();

protected:
    // Writes an open cell editor's text into the table before a scan or a row
    // command reads it.
    void commitGridEdit() override;
    void rowsCounted(const SurfaceRowCounts &counts) override;

private:
    SurfacesOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);

    // Closes an open cell editor without writing it (after commitGridEdit).
    void closeGridEditor();
    int currentRow() const;
    void reopenWorkingTable();

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    QString m_bufferDescription;
    QString m_bufferArea;
};

} // namespace brevan::app
