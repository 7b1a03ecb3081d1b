// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The cadastral surface beside the surfaces page: its window ("Superficie
// catastale (DPR 138/98)…" on the surfaces page and in "&Visualizza"), built
// at first use; the appraiser's choices, which follow the rows of the
// surfaces table; the villa rule from the description page's category; and
// the choices saved, opened and cleared with the appraisal.
#include "valuation/cadastralsheet.h"

#include <QObject>
#include <QPointer>

#include <optional>

namespace brevan::ui {
class CadastralWindow;
}

namespace brevan::app {

class MainWindow;

class CadastralOps : public QObject {
    Q_OBJECT
public:
    explicit CadastralOps(MainWindow *window, QObject *parent = nullptr);

    const CadastralChoices &choices() const { return m_choices; }
    // The rows of the surfaces table as the cadastral surface counts them now.
    CadastralSheet sheet() const;
    // The cadastral surface in m², when it can be computed and is not 0.
    std::optional<double> surface() const;
    // Null until first use.
    ui::CadastralWindow *window() const;

    // Opening: the choices read with the appraisal (none when it has none,
    // or they could not be read) replace these.
    void showOpened(const CadastralChoices &choices);
    // A new appraisal goes back to the proposals.
    void clearForNewAppraisal();

public Q_SLOTS:
    // "Superficie catastale (DPR 138/98)…": builds the window at first use,
    // brings it up to date and shows it.
    void SuperficieCatastaleClick();

private:
    QString category() const;
    // The window follows the surfaces table and the category.
    void refresh();
    void setChoice(int surfacesRow, const CadastralChoice &choice);

    MainWindow *m_window;
    QPointer<ui::CadastralWindow> m_cadastralWindow; // a child of the main window
    CadastralChoices m_choices;
};

} // namespace brevan::app
