// SPDX-License-Identifier: GPL-2.0-or-later
#include "cadastralwindow.h"

#include "files/cadastraltable.h"
#include "model/numbertext.h"
#include "pagekit.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace brevan::ui {

namespace {

constexpr int kFontPoints = 8;

struct ColumnDef {
    const char *title;
    int width;
};
// In the order of CadastralWindow::Column.
constexpr ColumnDef kColumns[] = {
    {"Descrizione", 170},
    {"Superficie (m²)", 95},
    {"Classe (DPR 138/98)", 330},
    {"Parte sotto 1,50 m (m²)", 130},
    {"Spessore muro (cm)", 115},
    {"Contributo (m²)", 95},
};

// The measures are typed as number text, no longer than they are stored.
class MeasureDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->setMaxLength(files::kCadastralMeasureSize);
        return editor;
    }
};

QLabel *wrappedLabel(const char *name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QString squareMetres(double v)
{
    return FormattaImporto(v) + QStringLiteral(" m²");
}

QTableWidgetItem *item(QTableWidget *table, int row, int column)
{
    QTableWidgetItem *i = table->item(row, column);
    if (!i) {
        i = new QTableWidgetItem;
        table->setItem(row, column, i);
    }
    return i;
}

} // namespace

CadastralWindow::CadastralWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("SuperficieCatastaleForm"));
    setWindowTitle(QStringLiteral("Superficie catastale (DPR 138/98)"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(kFontPoints);
    setFont(f);
    setMinimumSize(640, 420);
    resize(980, 560);

    auto *intro = wrappedLabel("IntroSuperficieCatastale", this);
    intro->setText(QStringLiteral(
        "Le righe della tabella delle superfici con una descrizione. La classe è proposta dal nome del vano e si "
        "può cambiare; per i vani si indica la parte più bassa di 1,50 m (che non si conta), per i muri lo spessore "
        "(senza spessore si conta tutta la superficie della riga)."));

    table = new QTableWidget(this);
    table->setObjectName(QStringLiteral("SuperficieCatastaleRighe"));
    table->setColumnCount(int(std::size(kColumns)));
    QStringList titles;
    for (const ColumnDef &c : kColumns)
        titles << QString::fromUtf8(c.title);
    table->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < int(std::size(kColumns)); ++c)
        table->setColumnWidth(c, kColumns[c].width);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(24);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    auto *measures = new MeasureDelegate(table);
    table->setItemDelegateForColumn(LowAreaColumn, measures);
    table->setItemDelegateForColumn(WallColumn, measures);

    mainLabel = wrappedLabel("SupVaniPrincipali", this);
    surfaceLabel = wrappedLabel("SuperficieCatastale", this);
    QFont big = surfaceLabel->font();
    big.setBold(true);
    big.setPointSize(kFontPoints + 3);
    surfaceLabel->setFont(big);
    detailLabel = wrappedLabel("SuperficieCatastaleDettaglio", this);
    villaLabel = wrappedLabel("RegolaVilla", this);
    issuesLabel = wrappedLabel("ProblemiSuperficieCatastale", this);
    QPalette red = issuesLabel->palette();
    red.setColor(QPalette::WindowText, QColor(0xa0, 0x10, 0x10));
    issuesLabel->setPalette(red);
    sourceLabel = wrappedLabel("FonteSuperficieCatastale", this);
    sourceLabel->setText(QStringLiteral(
        "Fonte: DPR 23 marzo 1998 n. 138, allegato C (norme tecniche per la determinazione della superficie "
        "catastale delle unità immobiliari a destinazione ordinaria), gruppo R. I vani e le parti più basse di "
        "1,50 m non si contano; le scale si contano una volta, in proiezione orizzontale; i muri interni e "
        "perimetrali fino a 50 cm di spessore, quelli in comunione al 50% fino a 25 cm (di un muro in comunione "
        "più spesso si contano 25 cm). La superficie è arrotondata al metro quadrato (da 0,50 m² per eccesso)."));
    QPalette grey = sourceLabel->palette();
    grey.setColor(QPalette::WindowText, QColor(80, 80, 80));
    sourceLabel->setPalette(grey);
    intro->setPalette(grey);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(6);
    layout->addWidget(intro);
    layout->addWidget(table, 1);
    layout->addWidget(mainLabel);
    layout->addWidget(surfaceLabel);
    layout->addWidget(detailLabel);
    layout->addWidget(villaLabel);
    layout->addWidget(issuesLabel);
    layout->addWidget(sourceLabel);

    connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *changed) {
        const int line = changed->row();
        if (line < 0 || line >= m_sheet.lines.size())
            return;
        if (changed->column() == LowAreaColumn || changed->column() == WallColumn)
            Q_EMIT choiceEdited(m_sheet.lines.at(line).row, choiceOf(line));
    });
    setSheet(CadastralSheet{}, QString());
}

bool CadastralWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Q_EMIT activated();
    return QWidget::event(event);
}

QComboBox *CadastralWindow::classCombo(int surfacesRow) const
{
    const int line = lineOf(surfacesRow);
    return line < 0 ? nullptr : qobject_cast<QComboBox *>(table->cellWidget(line, ClassColumn));
}

int CadastralWindow::lineOf(int surfacesRow) const
{
    for (int i = 0; i < m_sheet.lines.size(); ++i) {
        if (m_sheet.lines.at(i).row == surfacesRow)
            return i;
    }
    return -1;
}

CadastralChoice CadastralWindow::choiceOf(int line) const
{
    const CadastralLine &l = m_sheet.lines.at(line);
    CadastralChoice c;
    c.description = l.description;
    const auto *combo = qobject_cast<QComboBox *>(table->cellWidget(line, ClassColumn));
    const CadastralClass cls = combo ? CadastralClass(combo->currentData().toInt()) : l.cls;
    if (cls != proposedCadastralClass(l.description))
        c.cls = cls;
    // A measure the class does not take is not kept.
    if (cadastralClassTakesLowArea(cls))
        c.lowArea = item(table, line, LowAreaColumn)->text().trimmed();
    if (cadastralClassTakesWallThickness(cls))
        c.wallThickness = item(table, line, WallColumn)->text().trimmed();
    return c;
}

void CadastralWindow::setSheet(const CadastralSheet &sheet, const QString &category)
{
    bool sameRows = sheet.lines.size() == m_sheet.lines.size();
    for (qsizetype i = 0; sameRows && i < sheet.lines.size(); ++i)
        sameRows = sheet.lines.at(i).row == m_sheet.lines.at(i).row
                   && sheet.lines.at(i).description == m_sheet.lines.at(i).description;
    m_sheet = sheet;
    if (!sameRows)
        rebuild();
    for (int i = 0; i < m_sheet.lines.size(); ++i)
        fillLine(i);
    showTotals(category);
}

void CadastralWindow::rebuild()
{
    const QSignalBlocker block(table);
    table->setRowCount(0);
    table->setRowCount(int(m_sheet.lines.size()));
    for (int i = 0; i < m_sheet.lines.size(); ++i) {
        const CadastralLine &l = m_sheet.lines.at(i);
        auto *combo = new QComboBox;
        combo->setObjectName(QStringLiteral("ClasseCatastale%1").arg(l.row + 1));
        for (const CadastralClassInfo &info : cadastralClasses())
            combo->addItem(QString::fromUtf8(info.label), int(info.cls));
        setHint(combo, QStringLiteral("|Proposta dal nome del vano: %1.")
                           .arg(cadastralClassLabel(proposedCadastralClass(l.description))));
        const int surfacesRow = l.row;
        connect(combo, &QComboBox::activated, this, [this, surfacesRow] {
            const int line = lineOf(surfacesRow);
            if (line >= 0)
                Q_EMIT choiceEdited(surfacesRow, choiceOf(line));
        });
        table->setCellWidget(i, ClassColumn, combo);
        table->setVerticalHeaderItem(i, new QTableWidgetItem(QString::number(l.row + 1)));
    }
}

void CadastralWindow::fillLine(int line)
{
    const QSignalBlocker block(table);
    const CadastralLine &l = m_sheet.lines.at(line);
    const Qt::ItemFlags readOnly = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const auto shown = [&](int column, const QString &text, bool editable) {
        QTableWidgetItem *i = item(table, line, column);
        i->setText(text);
        i->setFlags(editable ? readOnly | Qt::ItemIsEditable : readOnly);
        i->setBackground(editable ? QBrush() : QBrush(QColor(0xf0, 0xf0, 0xf0)));
        if (column != DescriptionColumn && column != ClassColumn)
            i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    shown(DescriptionColumn, l.description, false);
    shown(AreaColumn, FormattaImporto(l.area), false);
    const bool low = cadastralClassTakesLowArea(l.cls);
    const bool wall = cadastralClassTakesWallThickness(l.cls);
    shown(LowAreaColumn, low ? l.lowArea : QString(), low);
    shown(WallColumn, wall ? l.wallThickness : QString(), wall);
    shown(ContributionColumn, FormattaImporto(l.contribution), false);
    if (auto *combo = qobject_cast<QComboBox *>(table->cellWidget(line, ClassColumn))) {
        const QSignalBlocker blockCombo(combo);
        combo->setCurrentIndex(combo->findData(int(l.cls)));
        // The appraiser's class stands out from the proposed ones.
        QFont font = combo->font();
        font.setBold(!l.proposed);
        combo->setFont(font);
    }
}

void CadastralWindow::showTotals(const QString &category)
{
    const CadastralResult &r = m_sheet.result;
    mainLabel->setText(QStringLiteral("Superficie dei vani principali e degli accessori diretti (con i muri): %1")
                           .arg(squareMetres(r.mainSurface)));
    if (!m_sheet.issues.isEmpty()) {
        surfaceLabel->setText(QStringLiteral("Superficie catastale: —"));
        detailLabel->clear();
    } else {
        surfaceLabel->setText(QStringLiteral("Superficie catastale: %1 m²").arg(qint64(r.surface)));
        detailLabel->setText(QStringLiteral("Somma dei contributi: %1, arrotondata al metro quadrato.")
                                 .arg(squareMetres(r.exact)));
    }
    const QString c = category.trimmed();
    if (m_sheet.villa)
        villaLabel->setText(QStringLiteral("Categoria %1 (gruppo R/2): parchi, giardini e corti contano solo per la "
                                           "parte oltre cinque volte la superficie dei vani principali.")
                                .arg(c));
    else if (c.isEmpty())
        villaLabel->setText(QStringLiteral("Categoria catastale non indicata nella descrizione dell'unità: parchi e "
                                           "giardini contano come area scoperta."));
    else
        villaLabel->setText(QStringLiteral("Categoria %1: parchi e giardini contano come area scoperta.").arg(c));
    issuesLabel->setText(m_sheet.issues.join(QLatin1Char('\n')));
    issuesLabel->setVisible(!m_sheet.issues.isEmpty());
}

} // namespace brevan::ui
