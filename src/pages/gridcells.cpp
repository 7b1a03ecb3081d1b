// SPDX-License-Identifier: GPL-2.0-or-later
#include "gridcells.h"

#include "pagekit.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QToolTip>

namespace brevan::ui {

bool DecimalCellFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text.size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false; // navigation keys and shortcuts are not typed characters
    const ushort u = text.at(0).unicode();
    if (u < 32 || u == 127 || (u >= '0' && u <= '9') || u == ',')
        return false;
    if (u == '.') {
        QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, key->modifiers(), QStringLiteral(","), key->isAutoRepeat(),
                        ushort(key->count()));
        QCoreApplication::sendEvent(watched, &comma);
    }
    return true;
}

QComboBox *ListCellDelegate::listEditor(QWidget *parent, const QStringList &items, bool editable, int maxLength) const
{
    QComboBox *combo = editable ? makeEditableCombo(parent) : new QComboBox(parent);
    combo->setFont(pageFont());
    if (editable) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (maxLength > 0)
            combo->lineEdit()->setMaxLength(maxLength);
    }
    combo->addItems(items);
    connect(combo, &QComboBox::activated, this,
            [this, combo] { Q_EMIT const_cast<ListCellDelegate *>(this)->commitData(combo); });
    return combo;
}

void ListCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (!combo) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QString text = index.data(Qt::EditRole).toString();
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
    if (combo->isEditable())
        combo->setEditText(text);
}

void ListCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (!combo) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (combo->isEditable() || combo->currentIndex() >= 0)
        model->setData(index, combo->currentText(), Qt::EditRole);
}

namespace {

// Shows a cell's whole text as a tip when the column is too narrow for it,
// as a zone name read from the official quotations often is; a cell that
// shows all of its text has no tip.
class CutTextTips : public QObject {
public:
    explicit CutTextTips(QTableView *grid) : QObject(grid), m_grid(grid) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = m_grid->indexAt(help->pos());
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect cell = m_grid->visualRect(index);
        // The style's text margins on both sides of the cell.
        const int margin = 2 * (m_grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_grid) + 1);
        if (index.isValid() && !text.isEmpty() &&
            m_grid->fontMetrics().horizontalAdvance(text) + margin > cell.width())
            QToolTip::showText(help->globalPos(), text, m_grid->viewport(), cell);
        else
            QToolTip::hideText();
        return true;
    }

private:
    QTableView *m_grid;
};

} // namespace

QTableView *makeTableGrid(const QString &objectName, QAbstractItemModel *model, QWidget *parent)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(objectName);
    grid->setFont(pageFont());
    grid->setModel(model);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid->setTabKeyNavigation(true);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(pageFont()).height() + 6);
    grid->horizontalHeader()->setFont(pageFont());
    grid->horizontalHeader()->setHighlightSections(false);
    grid->viewport()->installEventFilter(new CutTextTips(grid));
    return grid;
}

} // namespace brevan::ui
