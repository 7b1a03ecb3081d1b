// SPDX-License-Identifier: GPL-2.0-or-later
#include "incomeops.h"

#include "mainwindow.h"
#include "undoops.h"
#include "widgetfields.h"


#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"
#include "pages/unitrenteditor.h"
#include "store/datafolder.h"
#include "valuation/income.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>

namespace brevan::app {

IncomeOps::IncomeOps(MainWindow *window, QObject *parent)
    : IncomeOps(window, parent, std::make_unique<WindowFields>(window))
{
}

IncomeOps::IncomeOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : IncomeWork(fields->fields, fields->notices, parent), m_window(window), m_fields(std::move(fields))
{
    ui::IncomePage *p = window->incomePage;
    surfaceDescriptions = [this] {
        const ui::TableModel *model = m_window->surfacesPage->model();
        const int column = model->fieldIndex(QStringLiteral("DescrizioneSuperficie"));
        QStringList descriptions;
        if (column < 0)
            return descriptions;
        for (int r = 0; r < model->rowCount(); ++r)
            descriptions << model->index(r, column).data(Qt::EditRole).toString();
        return descriptions;
    };
    connect(p->unitRentTableButton, &QToolButton::clicked, this, &IncomeOps::SpeedButton63Click);

    // Clicks run the same reactions as changes, so a click in a field brings
    // the figures up to date even when its text did not change.
    m_rentClickFields = {p->unitRentEdit};
    m_depositClickFields = {p->depositMonthsEdit, p->commercialRateEdit, p->legalRateEdit};
    m_incomeClickFields = {p->grossIncomeEdit, p->netIncomeEdit};
    for (int i = 0; i < kExpenseCount; ++i)
        m_incomeClickFields << p->expenseEdit(i);
    for (const auto *list : {&m_rentClickFields, &m_depositClickFields, &m_incomeClickFields})
        for (QLineEdit *e : *list)
            e->installEventFilter(this);
}

IncomeOps::~IncomeOps() = default;

bool IncomeOps::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        auto *edit = qobject_cast<QLineEdit *>(watched);
        if (m_rentClickFields.contains(edit))
            Edit14Change();
        else if (m_depositClickFields.contains(edit))
            DepositOrRateChange();
        else if (m_incomeClickFields.contains(edit))
            IncomeFieldClick();
    }
    return QObject::eventFilter(watched, event);
}

ui::UnitRentEditor *IncomeOps::unitRentEditor()
{
    // Built at its first use and kept, so it stays as the user left it.
    if (!m_rentEditor) {
        m_rentEditor = new ui::UnitRentEditor(m_window->descriptionPage, m_window);
        // What OK writes over the municipality's table can be undone.
        if (m_window->undoOps)
            connect(m_rentEditor, &ui::UnitRentEditor::aboutToWriteTable, m_window->undoOps,
                    &UndoOps::dataTableAboutToChange);
    }
    return m_rentEditor;
}

void IncomeOps::SpeedButton63Click()
{
    // Nothing is recomputed afterwards: the rent is looked up again at the
    // next zone click or change of the appraisal date.
    unitRentEditor()->exec();
}

} // namespace brevan::app
