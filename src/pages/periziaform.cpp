// SPDX-License-Identifier: GPL-2.0-or-later
#include "periziaform.h"
#include "valuation/purposereport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace brevan::ui::perizia {

namespace {
const QLocale &italian()
{
    static const QLocale locale(QLocale::Italian, QLocale::Italy);
    return locale;
}
} // namespace

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

std::optional<QDate> parseDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDate();
    for (const QString &format : {QStringLiteral("dd/MM/yyyy"), QStringLiteral("d/M/yyyy")}) {
        const QDate d = QDate::fromString(t, format);
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

QString amountText(double value)
{
    if (!std::isfinite(value))
        return {};
    QString t = italian().toString(value, 'f', 2);
    if (t.endsWith(QLatin1String(",00")))
        t.chop(3);
    return t;
}

std::optional<double> parseAmount(const QString &text)
{
    return brevan::perizia::parseAmount(text);
}

QString tickText(const std::optional<bool> &tick)
{
    return tick ? (*tick ? QStringLiteral("sì") : QStringLiteral("no")) : QString();
}

std::optional<bool> parseTick(const QString &text)
{
    if (text == u"sì")
        return true;
    if (text == QLatin1String("no"))
        return false;
    return std::nullopt;
}

ListEditor::ListEditor(const QString &objectName, const QVector<ListColumn> &columns, QWidget *parent)
    : QWidget(parent), table(new QTableWidget(0, int(columns.size()), this)),
      addButton(new QPushButton(QStringLiteral("Aggiungi"), this)),
      removeButton(new QPushButton(QStringLiteral("Rimuovi"), this)), m_columns(columns)
{
    setObjectName(objectName);
    table->setObjectName(objectName + QStringLiteral("Table"));
    addButton->setObjectName(objectName + QStringLiteral("Add"));
    removeButton->setObjectName(objectName + QStringLiteral("Remove"));
    QStringList titles;
    for (const ListColumn &c : columns)
        titles << c.title;
    table->setHorizontalHeaderLabels(titles);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(22);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(addButton);
    buttons->addWidget(removeButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table);
    layout->addLayout(buttons);

    connect(addButton, &QPushButton::clicked, this, [this] {
        addRow({});
        table->setCurrentCell(table->rowCount() - 1, 0);
        Q_EMIT edited();
    });
    connect(removeButton, &QPushButton::clicked, this, [this] {
        const int row = table->currentRow();
        if (row < 0)
            return;
        table->removeRow(row);
        Q_EMIT edited();
    });
    connect(table, &QTableWidget::itemChanged, this, [this] {
        if (!m_filling)
            Q_EMIT edited();
    });
}

void ListEditor::addRow(const QStringList &values)
{
    const QSignalBlocker block(table);
    const int row = table->rowCount();
    table->insertRow(row);
    for (int c = 0; c < m_columns.size(); ++c) {
        const QString value = values.value(c);
        const ListColumn &column = m_columns.at(c);
        if (column.type == ListColumn::Choice || column.type == ListColumn::Tick) {
            auto *combo = new QComboBox(table);
            combo->addItems(column.type == ListColumn::Tick ? QStringList{QString(), QStringLiteral("sì"), QStringLiteral("no")}
                                                            : column.choices);
            combo->setCurrentIndex(std::max(0, int(combo->findText(value))));
            connect(combo, &QComboBox::currentIndexChanged, this, [this] {
                if (!m_filling)
                    Q_EMIT edited();
            });
            table->setCellWidget(row, c, combo);
        } else {
            table->setItem(row, c, new QTableWidgetItem(value));
        }
    }
}

QVector<QStringList> ListEditor::rows() const
{
    QVector<QStringList> out;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < m_columns.size(); ++c) {
            if (auto *combo = qobject_cast<QComboBox *>(table->cellWidget(r, c)))
                row << combo->currentText();
            else
                row << (table->item(r, c) ? table->item(r, c)->text() : QString());
        }
        out << row;
    }
    return out;
}

void ListEditor::setRows(const QVector<QStringList> &rows)
{
    m_filling = true;
    table->setRowCount(0);
    for (const QStringList &row : rows)
        addRow(row);
    m_filling = false;
}

QStringList ListEditor::unreadableCells() const
{
    QStringList out;
    const QVector<QStringList> all = rows();
    for (int r = 0; r < all.size(); ++r) {
        for (int c = 0; c < m_columns.size(); ++c) {
            const QString &text = all.at(r).at(c);
            bool bad = false;
            switch (m_columns.at(c).type) {
            case ListColumn::Date:
                bad = !parseDate(text).has_value();
                break;
            case ListColumn::Amount:
                bad = !parseAmount(text).has_value();
                break;
            case ListColumn::Count: {
                bool ok = false;
                bad = !text.trimmed().isEmpty() && (text.trimmed().toInt(&ok), !ok);
                break;
            }
            default:
                break;
            }
            if (bad)
                out << QStringLiteral("riga %1, %2").arg(r + 1).arg(m_columns.at(c).title);
        }
    }
    return out;
}

} // namespace brevan::ui::perizia
