// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcadatatable.h"

#include "files/mcatable.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace brevan::ui {

using mca::Row;

namespace {

const QColor kIssueBackground(255, 218, 218);
const QColor kIssueText(150, 0, 0);
const QColor kNotApplicable(238, 238, 238);
const QColor kComputed(232, 240, 250);

bool isTextRow(Row r)
{
    return r == Row::Address || r == Row::SaleDate || r == Row::Source || r == Row::Lift;
}

} // namespace

QWidget *McaCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QWidget *w = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *edit = qobject_cast<QLineEdit *>(w); edit && index.row() < mca::kRowCount)
        edit->setMaxLength(files::mcaTextSize(Row(index.row())));
    return w;
}

QString McaCellDelegate::shownText(const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    return index.row() < mca::kRowCount ? mca::shownText(Row(index.row()), text) : text;
}

void McaCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->features & QStyleOptionViewItem::HasDisplay)
        option->text = shownText(index);
}

McaDataTable::McaDataTable(QWidget *parent) : QTableWidget(parent)
{
    setObjectName(QStringLiteral("McaDataTable"));
    setItemDelegate(new McaCellDelegate(this));
    setRowCount(mca::kRowCount + 1);
    setColumnCount(1);
    for (const mca::RowDef &d : mca::rowDefs()) {
        auto *h = new QTableWidgetItem(QString::fromUtf8(d.label));
        h->setToolTip(QString::fromUtf8(d.hint));
        h->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setVerticalHeaderItem(tableRow(d.row), h);
    }
    auto *commercial = new QTableWidgetItem(QStringLiteral("Superficie commerciale (m²)"));
    commercial->setToolTip(QStringLiteral("Superficie principale più le secondarie per i loro rapporti mercantili."));
    commercial->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = commercial->font();
    bold.setBold(true);
    commercial->setFont(bold);
    setVerticalHeaderItem(kCommercialRow, commercial);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setDefaultSectionSize(118);
    horizontalHeader()->setMinimumSectionSize(104);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setAlternatingRowColors(false);
    setWordWrap(false);
    makeColumn(0);
    retitle();

    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_filling || item->row() >= mca::kRowCount)
            return;
        if (item->row() == tableRow(Row::Lift)) {
            m_filling = true;
            item->setText(item->checkState() == Qt::Checked ? QStringLiteral("sì") : QStringLiteral("no"));
            m_filling = false;
        }
        Q_EMIT edited(item->column());
    });
}

void McaDataTable::makeColumn(int column)
{
    const bool wasFilling = m_filling;
    m_filling = true;
    for (const mca::RowDef &d : mca::rowDefs()) {
        auto *it = new QTableWidgetItem;
        const bool applies = column > 0 || d.subject;
        if (d.row == Row::Lift) {
            it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            it->setCheckState(Qt::Unchecked);
            it->setText(QStringLiteral("no"));
        } else if (!applies) {
            it->setFlags(Qt::ItemIsEnabled);
            it->setBackground(kNotApplicable);
        } else {
            it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        }
        it->setTextAlignment((isTextRow(d.row) ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        it->setToolTip(QString::fromUtf8(d.hint));
        setItem(tableRow(d.row), column, it);
    }
    auto *computed = new QTableWidgetItem;
    computed->setFlags(Qt::ItemIsEnabled);
    computed->setBackground(kComputed);
    computed->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = computed->font();
    bold.setBold(true);
    computed->setFont(bold);
    setItem(kCommercialRow, column, computed);
    if (column == 0)
        setValuationCell(0);
    m_filling = wasFilling;
}

void McaDataTable::setValuationCell(int column)
{
    QTableWidgetItem *it = cell(column, Row::SaleDate);
    if (!it)
        return;
    it->setText(m_valuation.isValid() ? mca::MonthYear{m_valuation.month(), m_valuation.year()}.text() : QString());
    it->setToolTip(QStringLiteral("Per il soggetto vale la data della stima."));
    QFont italic = it->font();
    italic.setItalic(true);
    it->setFont(italic);
}

void McaDataTable::retitle()
{
    QStringList titles;
    for (int c = 0; c < columnCount(); ++c)
        titles << mca::columnTitle(c);
    setHorizontalHeaderLabels(titles);
}

void McaDataTable::fillColumn(int column, const mca::SheetColumn &c)
{
    for (const mca::RowDef &d : mca::rowDefs()) {
        QTableWidgetItem *it = cell(column, d.row);
        if (d.row == Row::Lift) {
            it->setCheckState(c.lift ? Qt::Checked : Qt::Unchecked);
            it->setText(c.lift ? QStringLiteral("sì") : QStringLiteral("no"));
        } else if (column > 0 || d.subject) {
            it->setText(c.text(d.row));
        }
    }
}

void McaDataTable::readInto(mca::Sheet &sheet) const
{
    const auto columnOf = [this](int column) {
        mca::SheetColumn c;
        for (const mca::RowDef &d : mca::rowDefs()) {
            const QTableWidgetItem *it = cell(column, d.row);
            if (d.row == Row::Lift)
                c.lift = it->checkState() == Qt::Checked;
            else if (column > 0 || d.subject)
                c.setText(d.row, it->text());
        }
        return c;
    };
    sheet.subject = columnOf(0);
    sheet.comparables.clear();
    for (int column = 1; column < columnCount(); ++column)
        sheet.comparables.append(columnOf(column));
}

void McaDataTable::showSheet(const mca::Sheet &sheet, const QDate &valuationDate)
{
    m_filling = true;
    m_valuation = valuationDate;
    const int columns = 1 + int(sheet.comparables.size());
    const int before = columnCount();
    setColumnCount(columns);
    for (int c = before; c < columns; ++c)
        makeColumn(c);
    retitle();
    if (columns != before)
        refit();
    fillColumn(0, sheet.subject);
    for (int c = 1; c < columns; ++c)
        fillColumn(c, sheet.comparables[c - 1]);
    setValuationCell(0);
    m_filling = false;
}

void McaDataTable::setSubject(const mca::SheetColumn &subject)
{
    m_filling = true;
    fillColumn(0, subject);
    m_filling = false;
}

void McaDataTable::setValuationDate(const QDate &date)
{
    m_filling = true;
    m_valuation = date;
    setValuationCell(0);
    m_filling = false;
}

void McaDataTable::refit()
{
    // The header stretches its sections again only when the view is
    // resized: removed columns would leave the others as narrow as ten.
    horizontalHeader()->resizeSections(QHeaderView::Stretch);
}

void McaDataTable::setSubjectAddress(const QString &address)
{
    m_filling = true;
    if (QTableWidgetItem *it = cell(0, Row::Address)) {
        it->setText(address);
        it->setToolTip(QStringLiteral("Indirizzo della stima, dalla pagina della descrizione."));
    }
    m_filling = false;
}

void McaDataTable::addComparable()
{
    const int column = columnCount();
    setColumnCount(column + 1);
    makeColumn(column);
    retitle();
    refit();
    setCurrentCell(tableRow(Row::Address), column);
    Q_EMIT edited(column);
}

int McaDataTable::columnToRemove() const
{
    if (columnCount() <= 1)
        return 0;
    return currentColumn() >= 1 ? currentColumn() : columnCount() - 1;
}

bool McaDataTable::removeComparable(int column)
{
    if (column < 1 || column >= columnCount())
        return false;
    removeColumn(column);
    retitle();
    refit();
    Q_EMIT edited(column);
    return true;
}

bool McaDataTable::removeCurrentComparable()
{
    return removeComparable(columnToRemove());
}

void McaDataTable::markIssues(const QVector<mca::Issue> &issues)
{
    m_filling = true;
    for (int column = 0; column < columnCount(); ++column) {
        for (const mca::RowDef &d : mca::rowDefs()) {
            QTableWidgetItem *it = cell(column, d.row);
            const bool applies = column > 0 || d.subject;
            it->setBackground(applies || d.row == Row::Lift ? QBrush() : QBrush(kNotApplicable));
            it->setForeground(QBrush());
            if (!(column == 0 && (d.row == Row::SaleDate || d.row == Row::Address)))
                it->setToolTip(QString::fromUtf8(d.hint));
        }
    }
    for (const mca::Issue &i : issues) {
        if (i.place.kind != mca::Place::Kind::Cell || i.place.column >= columnCount())
            continue;
        QTableWidgetItem *it = cell(i.place.column, i.place.row);
        it->setBackground(kIssueBackground);
        it->setForeground(kIssueText);
        it->setToolTip(i.message);
    }
    m_filling = false;
}

void McaDataTable::showCommercialSurfaces(const QStringList &values)
{
    m_filling = true;
    for (int column = 0; column < columnCount(); ++column)
        item(kCommercialRow, column)->setText(values.value(column));
    m_filling = false;
}

} // namespace brevan::ui
