// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Record navigators: a row of one-button navigators (first, prior, next,
// last, delete, insert, post) on a TableModel and the current row of a
// selection model, which a grid or a one-record editor follows.
#include <QPointer>
#include <QWidget>

#include <functional>

class QAbstractItemView;
class QItemSelectionModel;
class QToolButton;

namespace brevan::ui {

class TableModel;

// Glyphs of the table commands that stand beside the navigators.
enum class TableCommand { Browse, Open, Save, Clear, Copy, Cut, Paste, Compute };
QIcon tableCommandIcon(TableCommand c);

class NavigatorBar : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Delete, Insert, Post };
    Q_ENUM(Button)
    struct Entry {
        Button button;
        QString hint;
    };

    // The buttons shown, left to right, each with its hint.
    explicit NavigatorBar(const QList<Entry> &buttons, QWidget *parent = nullptr);
    // The buttons shown, left to right, with the hints of a table's rows
    // ("Seleziona la prima riga della tabella.", ...).
    static QList<Entry> tableRowEntries(const QList<Button> &buttons);

    // Navigates the view's model (a TableModel) and current index.
    void setView(QAbstractItemView *view);
    // Navigates a model without a view (a one-record editor follows selection).
    void setModel(TableModel *model, QItemSelectionModel *selection);

    QToolButton *button(Button b) const;
    int currentRow() const;

    // Asked before a record is deleted; answers whether to go on. By default
    // the application's box with OK and Cancel.
    std::function<bool(const QString &question)> confirm;
    // Writes what an editor holds but has not written yet. Runs before every
    // move, insert and post. By default the view's open cell editor commits.
    std::function<void()> commitEdits;
    // Whether an edit is waiting to be written (enables post). By default:
    // whether the view has a cell editor open.
    std::function<bool()> hasPendingEdit;

    // The painted glyph of a navigator button.
    static QIcon icon(Button b);

public Q_SLOTS:
    void first();
    void prior();
    void next();
    void last();
    // Asks "Delete record?" and deletes the current row when confirmed.
    bool deleteCurrent();
    void insert();
    void post();
    // Drops what an open cell editor holds without writing it: the edit was
    // never posted.
    void cancelEdit();
    // Recomputes which buttons are enabled.
    void refresh();
    // Drops a row appended by insert and left untouched (the user left the
    // grid, or moved to another record).
    void dropUntouchedInsert();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bind(TableModel *model, QItemSelectionModel *selection);
    void moveTo(int row);
    void ensureCurrent();
    void onCurrentRowChanged(int current, int previous);
    void dropLeftInsert();
    void commitPending();
    bool defaultPending() const;

    QPointer<TableModel> m_model;
    QPointer<QItemSelectionModel> m_selection;
    QPointer<QAbstractItemView> m_view;
    QList<QMetaObject::Connection> m_connections;
    QHash<int, QToolButton *> m_buttons;
};

} // namespace brevan::ui
