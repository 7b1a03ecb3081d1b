// SPDX-License-Identifier: GPL-2.0-or-later
#include "cadastralops.h"

#include "app/mainwindow.h"
#include "app/widgetfields.h"
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

CadastralOps::CadastralOps(MainWindow *window, QObject *parent)
    : CadastralOps(window, parent, std::make_unique<WindowFields>(window))
{
}

CadastralOps::~CadastralOps() = default;

CadastralOps::CadastralOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : CadastralWork(fields->fields, parent), m_window(window), m_windowFields(std::move(fields))
{
    surfaceRows = [this] { return m_window->surfacesOps->rows(); };
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

void CadastralOps::showSheet()
{
    if (m_cadastralWindow)
        m_cadastralWindow->setSheet(sheet(), category());
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

} // namespace brevan::app
