// SPDX-License-Identifier: GPL-2.0-or-later
#include "surfacespage.h"

#include "gridcells.h"
#include "navigatorbar.h"
#include "pagekit.h"
#include "tablemodel.h"
#include "valuation/roomnames.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QResizeEvent>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

namespace brevan::ui {

namespace {

// Geometry of the page, in pixels.
constexpr int kMargin = 7;            // left edge of the grid and of the group
constexpr int kToolRowHeight = 28;
constexpr int kGroupHeight = 62;
constexpr int kLowerPanelHeight = kGroupHeight + 6;
constexpr int kFieldLeft = 9;         // first surface field inside the group
constexpr int kLabelTop = 17;
constexpr int kFieldTop = 32;
constexpr int kFieldHeight = 21;
constexpr int kDesignGroupWidth = 405; // the group at the smallest page area

// The description column offers the room names as a pick list; the grid and
// every cell editor take the decimal key filter, so a description can only be
// picked from the list.
class RoomNameDelegate : public ListCellDelegate {
public:
    RoomNameDelegate(DecimalCellFilter *filter, QObject *parent) : ListCellDelegate(parent), m_filter(filter) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() != 0) {
            QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
            editor->installEventFilter(m_filter);
            return editor;
        }
        QComboBox *combo = listEditor(parent, roomNames(), true, 50);
        combo->setMaxVisibleItems(16);
        combo->installEventFilter(m_filter);
        combo->lineEdit()->installEventFilter(m_filter);
        return combo;
    }

private:
    DecimalCellFilter *m_filter;
};

QToolButton *commandButton(const char *name, TableCommand c, const char *hint, QWidget *parent)
{
    return makeToolButton(QString::fromLatin1(name), tableCommandIcon(c), QString::fromUtf8(hint), parent);
}

// A floor plan: the unit's outline, its rooms and a balcony.
QIcon cadastralIcon()
{
    QIcon icon;
    for (bool enabled : {true, false}) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor ink = enabled ? QColor(0x20, 0x30, 0x60) : QColor(0xa0, 0xa0, 0xa0);
        p.setPen(QPen(ink, 1.4));
        p.setBrush(enabled ? QColor(0xf4, 0xe8, 0xc8) : QColor(0xf0, 0xf0, 0xf0));
        p.drawRect(QRectF(1.5, 1.5, 13, 10));
        p.setPen(QPen(ink, 1));
        p.drawLine(QPointF(8, 1.5), QPointF(8, 8));
        p.drawLine(QPointF(1.5, 6.5), QPointF(5.5, 6.5));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(enabled ? QColor(0x30, 0x80, 0x30) : QColor(0xc0, 0xc0, 0xc0), 1, Qt::DashLine));
        p.drawRect(QRectF(4.5, 11.5, 7, 3));
        p.end();
        icon.addPixmap(pm, enabled ? QIcon::Normal : QIcon::Disabled);
    }
    return icon;
}

} // namespace

int SurfacesPage::descriptionColumnWidth(int gridWidth, int areaColumnWidth)
{
    return gridWidth - areaColumnWidth - 22;
}

int SurfacesPage::groupWidth(int pageWidth)
{
    return pageWidth - 15;
}

int SurfacesPage::surfaceFieldWidth(int currentWidth, int groupWidth)
{
    // Integer division truncates toward zero, also when the group shrinks.
    return currentWidth + (groupWidth - 22 - 3 * currentWidth) / 3;
}

SurfacesPage::SurfacesPage(QWidget *parent) : QWidget(parent), m_model(new TableModel(this))
{
    setObjectName(QStringLiteral("TabSheet6"));
    setFont(pageFont());

    openTableButton = commandButton("SpeedButtonApriTabella", TableCommand::Open,
                                    "Apri tabella|Apri una tabella esistente.", this);
    saveTableButton = commandButton("SpeedButtonSalvaTabella", TableCommand::Save,
                                    "Salva tabella|Salva la tabella su disco come nuovo file.", this);
    clearTableButton = commandButton("SpeedButtonEliminaContenutoTabella", TableCommand::Clear,
                                     "Elimina contenuto tabella|Elimina il contenuto della tabella.", this);
    copyRowButton = commandButton("SpeedButtonCopiaElemento", TableCommand::Copy,
                                  "Copia elemento|Copia l'elemento selezionato e lo inserisce negli appunti.", this);
    cutRowButton = commandButton("SpeedButtonTagliaElemento", TableCommand::Cut,
                                 "Taglia elemento|Taglia l'elemento selezionato e lo inserisce negli appunti.", this);
    pasteRowButton = commandButton("SpeedButtonIncollaElemento", TableCommand::Paste,
                                   "Incolla elemento|Incolla il contenuto degli appunti nell'elemento selezionato.",
                                   this);
    computeButton = commandButton("SpeedButtonCalcolaSuperfici", TableCommand::Compute,
                                  "Calcola superfici|Calcola le superfici utile, convenzionale e commerciale.", this);
    for (QToolButton *b : {saveTableButton, clearTableButton, copyRowButton, cutRowButton, pasteRowButton,
                           computeButton})
        b->setEnabled(false);

    using Nav = NavigatorBar;
    navigator = new NavigatorBar(
        Nav::tableRowEntries({Nav::First, Nav::Prior, Nav::Next, Nav::Last, Nav::Delete, Nav::Insert}), this);
    navigator->setObjectName(QStringLiteral("NavigatorDescrSup"));

    int x = kMargin;
    for (QToolButton *b : {openTableButton, saveTableButton, clearTableButton}) {
        b->move(x, 3);
        x += b->width();
    }
    x += 6;
    for (QToolButton *b : {copyRowButton, cutRowButton, pasteRowButton}) {
        b->move(x, 3);
        x += b->width();
    }
    x += 6;
    computeButton->move(x, 3);
    x += computeButton->width() + 12;
    navigator->move(x, 3);
    cadastralButton = makeToolButton(
        QStringLiteral("SpeedButtonSuperficieCatastale"), cadastralIcon(),
        QStringLiteral("Superficie catastale (DPR 138/98)…|Calcola la superficie catastale dell'unità secondo il DPR "
                       "23 marzo 1998 n. 138, allegato C."),
        this);
    cadastralButton->setText(QStringLiteral("Superficie catastale (DPR 138/98)…"));
    cadastralButton->move(navigator->x() + navigator->width() + 12, 3);

    m_model->setColumnTitles({QStringLiteral("Descrizione Superficie"), QStringLiteral("MQ")});
    m_model->setColumnAlignment(1, Qt::AlignCenter);

    grid = makeTableGrid(QStringLiteral("DBGridDescrSup"), m_model, this);
    auto *keys = new DecimalCellFilter(grid);
    grid->installEventFilter(keys);
    grid->setItemDelegate(new RoomNameDelegate(keys, grid));
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->horizontalHeader()->setMinimumSectionSize(20);
    navigator->setView(grid);
    // A reopened table keeps the area column as the user left it; the view
    // gives the columns default widths when the model resets.
    connect(m_model, &TableModel::modelAboutToBeReset, this, [this] {
        if (m_model->columnCount() > 1 && grid->columnWidth(1) > 0)
            m_areaColumnWidth = grid->columnWidth(1);
    });
    connect(m_model, &TableModel::modelReset, this, [this] {
        grid->setColumnWidth(1, m_areaColumnWidth);
        layoutPage();
    });

    // Ctrl+Delete in the grid deletes the current row, after the same question.
    auto *deleteRow = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), grid);
    deleteRow->setContext(Qt::WidgetShortcut);
    connect(deleteRow, &QShortcut::activated, navigator, &NavigatorBar::deleteCurrent);
    // A row inserted and left untouched goes when the user leaves the grid.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const auto inGrid = [this](QWidget *w) { return w && (w == grid || grid->isAncestorOf(w)); };
        if (inGrid(old) && now && !inGrid(now))
            navigator->dropUntouchedInsert();
    });

    surfacesGroup = makeGroup(QStringLiteral("Calcolo delle superfici"), this);
    surfacesGroup->setObjectName(QStringLiteral("GroupBoxCalcoloSuperfici"));
    const int fieldWidth = surfaceFieldWidth(0, kDesignGroupWidth);
    usefulLabel = placeLabel(QStringLiteral("Sup. utile:"), surfacesGroup, kFieldLeft, kLabelTop);
    conventionalLabel = placeLabel(QStringLiteral("Sup. convenzionale:"), surfacesGroup, kFieldLeft, kLabelTop);
    commercialLabel = placeLabel(QStringLiteral("Sup. commerciale:"), surfacesGroup, kFieldLeft, kLabelTop);
    usefulEdit = makeResultEdit(QStringLiteral("Edit25"), surfacesGroup);
    conventionalEdit = makeResultEdit(QStringLiteral("Edit26"), surfacesGroup);
    commercialEdit = makeResultEdit(QStringLiteral("Edit27"), surfacesGroup);
    usefulEdit->setGeometry(kFieldLeft, kFieldTop, fieldWidth, kFieldHeight);
    conventionalEdit->setGeometry(fieldWidth + 11, kFieldTop, fieldWidth, kFieldHeight);
    commercialEdit->setGeometry(2 * fieldWidth + 13, kFieldTop, fieldWidth, kFieldHeight);
    conventionalLabel->move(conventionalEdit->x(), kLabelTop);
    commercialLabel->move(commercialEdit->x(), kLabelTop);
    surfacesGroup->resize(kDesignGroupWidth, kGroupHeight);

    // Hidden holders of the values; no length limit, the store cuts on saving.
    usefulValueEdit = new QLineEdit(this);
    usefulValueEdit->setObjectName(QStringLiteral("SupUtileImmob"));
    conventionalValueEdit = new QLineEdit(this);
    conventionalValueEdit->setObjectName(QStringLiteral("SupConvenzImmob"));
    commercialValueEdit = new QLineEdit(this);
    commercialValueEdit->setObjectName(QStringLiteral("SupCommercImmob"));
    for (QLineEdit *e : {usefulValueEdit, conventionalValueEdit, commercialValueEdit}) {
        e->hide();
        e->setFocusPolicy(Qt::NoFocus);
    }

    grid->viewport()->installEventFilter(this);
    for (QLineEdit *e : {usefulEdit, conventionalEdit, commercialEdit})
        e->installEventFilter(this);
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                if (previous.isValid() && current.isValid() && current.column() != previous.column())
                    Q_EMIT gridColumnLeft();
            });

    grid->setColumnWidth(1, m_areaColumnWidth);
    resize(kDesignGroupWidth + 15, 380);
    layoutPage();
}

SurfacesPage::~SurfacesPage()
{
    // Closing moves the focus out of the grid: nothing is dropped while the page goes.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

bool SurfacesPage::setTableFile(const QString &path)
{
    return m_model->setTableFile(path);
}

bool SurfacesPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == grid->viewport())
            Q_EMIT gridMouseReleased();
        else if (watched == usefulEdit || watched == conventionalEdit || watched == commercialEdit)
            Q_EMIT surfaceFieldClicked();
    }
    return QWidget::eventFilter(watched, event);
}

void SurfacesPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPage();
}

void SurfacesPage::layoutPage()
{
    const int w = width();
    const int h = height();
    // The cadastral surface's button shows its text only where the tool row
    // holds it whole; nothing else on the row moves.
    const int room = groupWidth(w) + kMargin - cadastralButton->x();
    cadastralButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const int withText = cadastralButton->sizeHint().width();
    const bool text = withText <= room;
    cadastralButton->setToolButtonStyle(text ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    cadastralButton->setFixedSize(text ? withText : 23, 22);
    const int gridTop = kToolRowHeight;
    const int gridHeight = std::max(0, h - gridTop - kLowerPanelHeight);
    grid->setGeometry(kMargin, gridTop, std::max(0, groupWidth(w)), gridHeight);
    // The description column first, then the lower panel.
    grid->setColumnWidth(0, std::max(20, descriptionColumnWidth(grid->width(), grid->columnWidth(1))));

    const int g = groupWidth(w);
    surfacesGroup->setGeometry(kMargin, gridTop + gridHeight + 2, std::max(0, g), kGroupHeight);
    const int field = std::max(0, surfaceFieldWidth(usefulEdit->width(), g));
    usefulEdit->setGeometry(kFieldLeft, kFieldTop, field, kFieldHeight);
    conventionalEdit->setGeometry(field + 11, kFieldTop, field, kFieldHeight);
    commercialEdit->setGeometry(2 * field + 13, kFieldTop, field, kFieldHeight);
    conventionalLabel->move(conventionalEdit->x(), kLabelTop);
    commercialLabel->move(commercialEdit->x(), kLabelTop);
}

} // namespace brevan::ui
