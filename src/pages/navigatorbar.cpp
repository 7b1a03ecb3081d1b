// SPDX-License-Identifier: GPL-2.0-or-later
#include "navigatorbar.h"

#include "messages.h"
#include "pagekit.h"
#include "tablemodel.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

#include <iterator>

namespace brevan::ui {

namespace {

const char *objectNameOf(NavigatorBar::Button b)
{
    switch (b) {
    case NavigatorBar::First: return "navFirst";
    case NavigatorBar::Prior: return "navPrior";
    case NavigatorBar::Next: return "navNext";
    case NavigatorBar::Last: return "navLast";
    case NavigatorBar::Delete: return "navDelete";
    case NavigatorBar::Insert: return "navInsert";
    case NavigatorBar::Post: return "navPost";
    }
    return "";
}

QPolygonF triangle(double tipX, double baseX, double cy, double half)
{
    return QPolygonF({QPointF(tipX, cy), QPointF(baseX, cy - half), QPointF(baseX, cy + half)});
}

void paintGlyph(QPainter &p, NavigatorBar::Button b, const QColor &ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const double cy = 8;
    switch (b) {
    case NavigatorBar::First:
        p.drawRect(QRectF(3.5, 3.5, 2, 9));
        p.drawPolygon(triangle(6.5, 12.5, cy, 4.5));
        break;
    case NavigatorBar::Prior: p.drawPolygon(triangle(5, 11, cy, 4.5)); break;
    case NavigatorBar::Next: p.drawPolygon(triangle(11, 5, cy, 4.5)); break;
    case NavigatorBar::Last:
        p.drawPolygon(triangle(9.5, 3.5, cy, 4.5));
        p.drawRect(QRectF(10.5, 3.5, 2, 9));
        break;
    case NavigatorBar::Delete: p.drawRect(QRectF(3, 7, 10, 2.5)); break;
    case NavigatorBar::Insert:
        p.drawRect(QRectF(3, 6.75, 10, 2.5));
        p.drawRect(QRectF(6.75, 3, 2.5, 10));
        break;
    case NavigatorBar::Post: {
        QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        QPainterPath tick;
        tick.moveTo(3.5, 8.5);
        tick.lineTo(6.5, 11.5);
        tick.lineTo(12.5, 4.5);
        p.drawPath(tick);
        break;
    }
    }
}

QPixmap glyphPixmap(NavigatorBar::Button b, const QColor &ink)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paintGlyph(p, b, ink);
    return pm;
}

void drawSheet(QPainter &p, const QRectF &r, const QColor &ink)
{
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - 3, r.top());
    sheet.lineTo(r.right(), r.top() + 3);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    for (double y = r.top() + 3.5; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void paintCommand(QPainter &p, TableCommand c, bool enabled)
{
    const QColor ink = enabled ? QColor(0x20, 0x30, 0x60) : QColor(0xa0, 0xa0, 0xa0);
    const QColor folder = enabled ? QColor(0xe8, 0xc0, 0x50) : QColor(0xd8, 0xd8, 0xd8);
    const QColor red = enabled ? QColor(0xc0, 0x20, 0x20) : QColor(0xb0, 0xb0, 0xb0);
    switch (c) {
    case TableCommand::Open: {
        p.setPen(QPen(ink, 1));
        p.setBrush(folder.darker(115));
        p.drawRect(QRectF(1.5, 3.5, 12, 10));
        p.setBrush(folder);
        QPolygonF front({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)});
        p.drawPolygon(front);
        break;
    }
    case TableCommand::Browse: {
        p.setPen(QPen(ink, 1));
        p.setBrush(folder.darker(115));
        p.drawRect(QRectF(0.5, 2.5, 11, 9));
        p.setBrush(folder);
        p.drawPolygon(QPolygonF({QPointF(2.5, 5.5), QPointF(13.5, 5.5), QPointF(11.5, 11.5), QPointF(0.5, 11.5)}));
        p.setBrush(Qt::white);
        p.setPen(QPen(ink, 1.4));
        p.drawEllipse(QPointF(10.5, 9.5), 3, 3);
        p.drawLine(QPointF(12.6, 11.6), QPointF(15, 14.5));
        break;
    }
    case TableCommand::Save:
        p.setPen(QPen(ink, 1));
        p.setBrush(enabled ? QColor(0x40, 0x60, 0xa0) : QColor(0xc8, 0xc8, 0xc8));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
        break;
    case TableCommand::Clear:
        drawSheet(p, QRectF(2.5, 1.5, 10, 13), ink);
        p.setPen(QPen(red, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(14, 14));
        p.drawLine(QPointF(14, 8), QPointF(8, 14));
        break;
    case TableCommand::Copy:
        drawSheet(p, QRectF(1.5, 1.5, 8, 10), ink);
        drawSheet(p, QRectF(6.5, 4.5, 8, 10), ink);
        break;
    case TableCommand::Cut:
        p.setPen(QPen(ink, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(5, 1.5), QPointF(10.5, 11));
        p.drawLine(QPointF(11, 1.5), QPointF(5.5, 11));
        p.setPen(QPen(red, 1.5));
        p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
        break;
    case TableCommand::Paste:
        p.setPen(QPen(ink, 1));
        p.setBrush(folder.darker(130));
        p.drawRect(QRectF(1.5, 2.5, 10, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 4, 2.5));
        drawSheet(p, QRectF(7.5, 6.5, 7, 8.5), ink);
        break;
    case TableCommand::Compute:
        p.setPen(QPen(ink, 1));
        p.setBrush(enabled ? QColor(0xf0, 0xf0, 0xf0) : Qt::white);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setBrush(enabled ? QColor(0x60, 0xa0, 0x60) : QColor(0xd0, 0xd0, 0xd0));
        p.drawRect(QRectF(4.5, 3.5, 7, 3));
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col)
                p.drawRect(QRectF(4.5 + col * 2.5, 8 + row * 2.2, 1.6, 1.4));
        }
        break;
    }
}

QIcon commandIcon(TableCommand c)
{
    QIcon icon;
    for (bool enabled : {true, false}) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        paintCommand(p, c, enabled);
        p.end();
        icon.addPixmap(pm, enabled ? QIcon::Normal : QIcon::Disabled);
    }
    return icon;
}

} // namespace

QIcon tableCommandIcon(TableCommand c)
{
    return commandIcon(c);
}

QIcon NavigatorBar::icon(Button b)
{
    QIcon icon;
    QColor ink(0x10, 0x20, 0x60);
    if (b == Delete)
        ink = QColor(0xa0, 0x10, 0x10);
    else if (b == Post)
        ink = QColor(0x10, 0x70, 0x10);
    icon.addPixmap(glyphPixmap(b, ink), QIcon::Normal);
    icon.addPixmap(glyphPixmap(b, QColor(0xa0, 0xa0, 0xa0)), QIcon::Disabled);
    return icon;
}

NavigatorBar::NavigatorBar(const QList<Entry> &buttons, QWidget *parent) : QWidget(parent)
{
    int x = 0;
    for (const Entry &e : buttons) {
        QToolButton *b = makeToolButton(QString::fromLatin1(objectNameOf(e.button)), icon(e.button), e.hint, this);
        b->setEnabled(false);
        b->move(x, 0);
        x += b->width();
        m_buttons.insert(e.button, b);
        switch (e.button) {
        case First: connect(b, &QToolButton::clicked, this, &NavigatorBar::first); break;
        case Prior: connect(b, &QToolButton::clicked, this, &NavigatorBar::prior); break;
        case Next: connect(b, &QToolButton::clicked, this, &NavigatorBar::next); break;
        case Last: connect(b, &QToolButton::clicked, this, &NavigatorBar::last); break;
        case Delete: connect(b, &QToolButton::clicked, this, &NavigatorBar::deleteCurrent); break;
        case Insert: connect(b, &QToolButton::clicked, this, &NavigatorBar::insert); break;
        case Post: connect(b, &QToolButton::clicked, this, &NavigatorBar::post); break;
        }
    }
    setFixedSize(x, 22);
    confirm = [this](const QString &question) { return Messages::confirm(window(), question); };
}

QToolButton *NavigatorBar::button(Button b) const
{
    return m_buttons.value(b, nullptr);
}

QList<NavigatorBar::Entry> NavigatorBar::tableRowEntries(const QList<Button> &buttons)
{
    // Indexed by Button.
    static const char *const hints[] = {
        "Seleziona la prima riga della tabella.",   "Seleziona la riga precedente della tabella.",
        "Seleziona la riga successiva della tabella.", "Seleziona l'ultima riga della tabella.",
        "Elimina la riga selezionata dalla tabella.", "Aggiungi una nuova riga alla tabella.",
        "Applica la modifica alla casella selezionata.",
    };
    static_assert(std::size(hints) == Post + 1);
    QList<Entry> entries;
    for (Button b : buttons)
        entries.append({b, QString::fromUtf8(hints[b])});
    return entries;
}

void NavigatorBar::setView(QAbstractItemView *view)
{
    if (m_view && m_view->viewport())
        m_view->viewport()->removeEventFilter(this);
    m_view = view;
    // Cell editors are children of the viewport: their coming and going
    // changes whether an edit is pending.
    if (view)
        view->viewport()->installEventFilter(this);
    bind(view ? qobject_cast<TableModel *>(view->model()) : nullptr, view ? view->selectionModel() : nullptr);
}

void NavigatorBar::setModel(TableModel *model, QItemSelectionModel *selection)
{
    if (m_view && m_view->viewport())
        m_view->viewport()->removeEventFilter(this);
    m_view = nullptr;
    bind(model, selection);
}

void NavigatorBar::bind(TableModel *model, QItemSelectionModel *selection)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_model = model;
    m_selection = selection;
    if (model && selection) {
        m_connections << connect(selection, &QItemSelectionModel::currentRowChanged, this,
                                 [this](const QModelIndex &current, const QModelIndex &previous) {
                                     onCurrentRowChanged(current.row(), previous.row());
                                 });
        auto settle = [this] {
            ensureCurrent();
            refresh();
        };
        m_connections << connect(model, &QAbstractItemModel::modelReset, this, settle);
        m_connections << connect(model, &QAbstractItemModel::rowsInserted, this, settle);
        m_connections << connect(model, &QAbstractItemModel::rowsRemoved, this, settle);
        m_connections << connect(model, &QAbstractItemModel::dataChanged, this, &NavigatorBar::refresh);
        ensureCurrent();
    }
    refresh();
}

int NavigatorBar::currentRow() const
{
    if (!m_selection)
        return -1;
    const QModelIndex current = m_selection->currentIndex();
    return current.isValid() ? current.row() : -1;
}

// A table with rows always has a current one, as a cursor on a table does.
void NavigatorBar::ensureCurrent()
{
    if (!m_model || !m_selection)
        return;
    if (m_model->rowCount() > 0 && currentRow() < 0)
        moveTo(0);
}

void NavigatorBar::moveTo(int row)
{
    if (!m_model || !m_selection || row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex current = m_selection->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    const QModelIndex target = m_model->index(row, column);
    if (m_view) {
        m_view->setCurrentIndex(target);
        m_view->scrollTo(target);
    } else {
        m_selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

void NavigatorBar::onCurrentRowChanged(int current, int previous)
{
    if (m_model && previous >= 0 && previous != current && previous == m_model->untouchedNewRow()) {
        // Not from inside the selection change: the view is still handling it.
        QMetaObject::invokeMethod(this, &NavigatorBar::dropLeftInsert, Qt::QueuedConnection);
    }
    refresh();
}

void NavigatorBar::dropUntouchedInsert()
{
    if (m_model)
        m_model->discardUntouchedNewRow();
}

void NavigatorBar::dropLeftInsert()
{
    // By the time this runs the user may have come back to the new record.
    if (m_model && m_model->untouchedNewRow() >= 0 && m_model->untouchedNewRow() != currentRow())
        m_model->discardUntouchedNewRow();
}

// The view listens to its delegate's signals: asking through them commits
// and closes an open cell editor as leaving the cell would.
static void endCellEdit(QAbstractItemView *view, const QModelIndex &index, bool commit)
{
    QWidget *editor = view->indexWidget(index);
    QAbstractItemDelegate *delegate = view->itemDelegateForIndex(index);
    if (!editor || !delegate)
        return;
    if (commit) {
        Q_EMIT delegate->commitData(editor);
        // A failed write makes the model re-read the file, which closes every editor.
        if (view->indexWidget(index) != editor)
            return;
    }
    Q_EMIT delegate->closeEditor(editor, commit ? QAbstractItemDelegate::NoHint
                                                : QAbstractItemDelegate::RevertModelCache);
}

void NavigatorBar::commitPending()
{
    if (commitEdits)
        commitEdits();
    else if (m_view && m_selection)
        endCellEdit(m_view, m_selection->currentIndex(), true);
}

bool NavigatorBar::defaultPending() const
{
    return m_view && m_selection && m_view->indexWidget(m_selection->currentIndex()) != nullptr;
}

void NavigatorBar::first()
{
    commitPending();
    moveTo(0);
}

void NavigatorBar::prior()
{
    commitPending();
    moveTo(currentRow() - 1);
}

void NavigatorBar::next()
{
    commitPending();
    moveTo(currentRow() + 1);
}

void NavigatorBar::last()
{
    commitPending();
    if (m_model)
        moveTo(m_model->rowCount() - 1);
}

bool NavigatorBar::deleteCurrent()
{
    const int row = currentRow();
    if (!m_model || row < 0)
        return false;
    if (confirm && !confirm(QStringLiteral("Delete record?")))
        return false;
    // The row may have gone while the question was open.
    if (row >= m_model->rowCount())
        return false;
    const QModelIndex current = m_selection->currentIndex();
    if (m_view)
        endCellEdit(m_view, current, false);
    const int column = current.isValid() ? current.column() : 0;
    if (!m_model->removeRow(row))
        return false;
    // The record that took its place becomes current, or the new last one.
    const int count = m_model->rowCount();
    if (count > 0) {
        const QModelIndex target = m_model->index(std::min(row, count - 1), column);
        if (m_view)
            m_view->setCurrentIndex(target);
        else
            m_selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    refresh();
    return true;
}

void NavigatorBar::insert()
{
    commitPending();
    if (!m_model)
        return;
    const int row = m_model->appendRow();
    if (row >= 0)
        moveTo(row);
}

void NavigatorBar::post()
{
    commitPending();
    refresh();
}

void NavigatorBar::cancelEdit()
{
    if (m_view && m_selection)
        endCellEdit(m_view, m_selection->currentIndex(), false);
    refresh();
}

void NavigatorBar::refresh()
{
    const bool bound = m_model && m_selection && m_model->isOpen();
    const int count = bound ? m_model->rowCount() : 0;
    const int row = bound ? currentRow() : -1;
    auto enable = [this](Button b, bool on) {
        if (QToolButton *tb = button(b))
            tb->setEnabled(on);
    };
    enable(First, row > 0);
    enable(Prior, row > 0);
    enable(Next, row >= 0 && row < count - 1);
    enable(Last, row >= 0 && row < count - 1);
    enable(Delete, row >= 0);
    enable(Insert, bound);
    enable(Post, bound && (hasPendingEdit ? hasPendingEdit() : defaultPending()));
}

bool NavigatorBar::eventFilter(QObject *watched, QEvent *event)
{
    if (m_view && watched == m_view->viewport()
        && (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved)) {
        // The editor is not yet registered with the view when it is parented.
        QMetaObject::invokeMethod(this, &NavigatorBar::refresh, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace brevan::ui
