// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The pieces of the window "Rapporto di valutazione": the texts of its fields
// (dates "gg/mm/aaaa", amounts as Italians write them, ticks "sì"/"no"), and
// the editor of a list (cadastral rows, owners, leases, encumbrances…), a
// table whose rows the user adds and removes.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <optional>

class QTableWidget;
class QPushButton;

namespace brevan::ui::perizia {

// "12/03/2026"; the empty text for a date not given.
QString dateText(const QDate &date);
// The date a text names; invalid for the empty text, nothing for a text that
// is no date.
std::optional<QDate> parseDate(const QString &text);
// "1.234,5" for 1234.5, up to two decimals; the empty text for NaN.
QString amountText(double value);
// The number a text names ("1.234,50", "1234.5", "1234,5"); NaN for the
// empty text, nothing for a text that is no number.
std::optional<double> parseAmount(const QString &text);
// "sì", "no" or "".
QString tickText(const std::optional<bool> &tick);
std::optional<bool> parseTick(const QString &text);

struct ListColumn {
    enum Type { Text, Date, Amount, Tick, Choice, Count };
    QString title;
    Type type = Text;
    QStringList choices; // Choice: the labels offered
};

// A list of rows in a table with "Aggiungi" and "Rimuovi"; each row's values
// are the texts of its cells.
class ListEditor : public QWidget {
    Q_OBJECT
public:
    ListEditor(const QString &objectName, const QVector<ListColumn> &columns, QWidget *parent = nullptr);

    QVector<QStringList> rows() const;
    void setRows(const QVector<QStringList> &rows);
    // The columns whose cell texts cannot be read (a date or amount that is
    // none), as "row r, column title".
    QStringList unreadableCells() const;

    QTableWidget *table;
    QPushButton *addButton;
    QPushButton *removeButton;

Q_SIGNALS:
    void edited();

private:
    void addRow(const QStringList &values);
    QVector<ListColumn> m_columns;
    bool m_filling = false;
};

} // namespace brevan::ui::perizia
