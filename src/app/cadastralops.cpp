// SPDX-License-Identifier: GPL-2.0-or-later
#include "cadastralops.h"

#include "app/mainwindow.h"
#include "app/surfacesops.h"
#include "pages/cadastralwindow.h"
#include "pages/descriptionpage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace brevan::app {

CadastralOps::CadastralOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window)
{
    connect(window->cadastralAction, &QAction::triggered, this, &CadastralOps::SuperficieCatastaleClick);
    connect(window->surfacesPage->cadastralButton, &QToolButton::clicked, this,
            &CadastralOps::SuperficieCatastaleClick);

    // A choice moves with its row and goes once the row's description changes.
    ui::TableModel *model = window->surfacesPage->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        m_choices.rowsInserted(first, last - first + 1);
        refresh();
    });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex &, int first, int last) {
        m_choices.rowsRemoved(first, last - first + 1);
        refresh();
    });
    connect(model, &QAbstractItemModel::dataChanged, this, &CadastralOps::refresh);
    connect(model, &QAbstractItemModel::modelReset, this, &CadastralOps::refresh);

    // The villa rule follows the category the user picks or types; a category
    // written by the program (an opened appraisal) is taken when the window
    // is next shown or brought to the front.
    QComboBox *category = window->descriptionPage->categoryCombo;
    connect(category, &QComboBox::currentTextChanged, this, &CadastralOps::refresh);
    if (category->lineEdit())
        connect(category->lineEdit(), &QLineEdit::textChanged, this, &CadastralOps::refresh);
}

ui::CadastralWindow *CadastralOps::window() const
{
    return m_cadastralWindow;
}

QString CadastralOps::category() const
{
    return m_window->descriptionPage->categoryCombo->currentText();
}

CadastralSheet CadastralOps::sheet() const
{
    return buildCadastralSheet(m_window->surfacesOps->rows(), m_choices, isVillaCategory(category()));
}

std::optional<double> CadastralOps::surface() const
{
    const CadastralSheet s = sheet();
    if (!s.hasSurface())
        return std::nullopt;
    return s.result.surface;
}

void CadastralOps::refresh()
{
    m_choices.prune(m_window->surfacesOps->rows());
    if (m_cadastralWindow)
        m_cadastralWindow->setSheet(sheet(), category());
}

void CadastralOps::setChoice(int surfacesRow, const CadastralChoice &choice)
{
    m_choices.set(surfacesRow, choice);
    refresh();
}

void CadastralOps::SuperficieCatastaleClick()
{
    if (!m_cadastralWindow) {
        m_cadastralWindow = new ui::CadastralWindow(m_window);
        connect(m_cadastralWindow, &ui::CadastralWindow::choiceEdited, this, &CadastralOps::setChoice);
        connect(m_cadastralWindow, &ui::CadastralWindow::activated, this, &CadastralOps::refresh);
    }
    refresh();
    m_cadastralWindow->show();
    m_cadastralWindow->raise();
    m_cadastralWindow->activateWindow();
}

void CadastralOps::showOpened(const CadastralChoices &choices)
{
    m_choices = choices;
    refresh();
}

void CadastralOps::clearForNewAppraisal()
{
    m_choices.clear();
    refresh();
}

} // namespace brevan::app
