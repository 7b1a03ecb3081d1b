// SPDX-License-Identifier: GPL-2.0-or-later
#include "unitrenteditor.h"

#include "descriptionpage.h"
#include "messages.h"
#include "municipalitycombo.h"
#include "navigatorbar.h"
#include "omiimporter.h"
#include "gridcells.h"
#include "pagekit.h"
#include "tablemodel.h"

#include "data/municipalities.h"
#include "legacy/keeporiginal.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace brevan::ui {

namespace {

constexpr int kDialogWidth = 560;
constexpr int kDialogHeight = 420;
constexpr int kMargin = 8;
constexpr int kYearWidth = 50;
constexpr int kZoneWidth = 110;
// The fixed rate, as the law gives it: the rents are converted with it both
// ways, so a rent typed in Euro shows again as typed. Not the currency
// switch's single-precision factor (kFattoreLire): the rents in the table
// must read as the Lire the OMI import writes, exactly.
constexpr double kLireToTheEuro = 1936.27;

const QStringList &zoneChoices()
{
    static const QStringList zones{QStringLiteral("Zona centrale"), QStringLiteral("Zona intermedia"),
                                   QStringLiteral("Zona periferica")};
    return zones;
}

// The zone column is picked from the three zones; the other cells are typed.
// The grid and every cell editor take the decimal key filter (DBGrid1KeyPress),
// so the zone can only be picked from its list. The rent cells show and take
// rents in the currency in force, while the table keeps Lire.
class RentDelegate : public ListCellDelegate {
public:
    RentDelegate(int zoneColumn, QList<int> rentColumns, DecimalCellFilter *filter, QObject *parent)
        : ListCellDelegate(parent), m_zoneColumn(zoneColumn), m_rentColumns(std::move(rentColumns)), m_filter(filter)
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() != m_zoneColumn) {
            QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
            editor->installEventFilter(m_filter);
            return editor;
        }
        QComboBox *combo = listEditor(parent, zoneChoices(), false);
        combo->installEventFilter(m_filter);
        return combo;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *edit = qobject_cast<QLineEdit *>(editor);
        if (edit && isRent(index))
            edit->setText(rentShown(index.data(Qt::EditRole).toString(), currency()));
        else
            ListCellDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        auto *edit = qobject_cast<QLineEdit *>(editor);
        if (!edit || !isRent(index)) {
            ListCellDelegate::setModelData(editor, model, index);
            return;
        }
        // A rent shown in Euro and left as it was keeps the Lire it came from.
        const QString stored = index.data(Qt::EditRole).toString();
        if (edit->text() != rentShown(stored, currency()))
            model->setData(index, rentStored(edit->text(), currency()), Qt::EditRole);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        ListCellDelegate::initStyleOption(option, index);
        option->text = UnitRentEditor::cellText(index);
    }

private:
    bool isRent(const QModelIndex &index) const { return m_rentColumns.contains(index.column()); }

    int m_zoneColumn;
    QList<int> m_rentColumns;
    DecimalCellFilter *m_filter;
};

QLabel *valueLabel(const QString &objectName, QWidget *parent, const QRect &geometry)
{
    auto *l = new QLabel(parent);
    l->setObjectName(objectName);
    l->setFont(pageFont());
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setGeometry(geometry);
    return l;
}

} // namespace

QString rentShown(const QString &stored, const CurrencyState &state)
{
    double lire = 0;
    if (!state.euroInForce() || !TryTextToFloat(stored, &lire))
        return stored;
    return QString::number(lire / kLireToTheEuro, 'f', 2).replace(QLatin1Char('.'), kDecimalSeparator);
}

QString rentStored(const QString &typed, const CurrencyState &state)
{
    double euro = 0;
    if (!state.euroInForce() || !TryTextToFloat(typed, &euro))
        return typed;
    // Four decimals hold the exact product of an amount in cents and the
    // rate: 6,20 Euro is 12004,874 Lire, as the OMI import writes it.
    return FloatToText(std::round(euro * kLireToTheEuro * 1e4) / 1e4);
}

UnitRentEditor::UnitRentEditor(DescriptionPage *description, QWidget *parent)
    : QDialog(parent), m_description(description), m_model(new TableModel(this))
{
    setObjectName(QStringLiteral("AddCanoneLocazioneForm"));
    setWindowTitle(kCaption);
    setFont(pageFont());
    setModal(true);
    // The navigator's long hints go to the main window's status bar.
    forwardStatusTips(this);
    // Fixed size, no title-bar buttons: the dialog ends through OK or Annulla.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kDialogWidth, kDialogHeight);

    QGroupBox *place = makeGroup(QStringLiteral("Ubicazione del fabbricato"), this);
    place->setGeometry(kMargin, kMargin, kDialogWidth - 2 * kMargin, 66);
    placeLabel(QStringLiteral("Comune:"), place, 10, 18);
    // The unit's municipality list: the one list every page shares, with its
    // typed length and the type-ahead below.
    municipalityCombo = makeFieldCombo("ComuneImmob", place);
    municipalityCombo->setObjectName(QStringLiteral("ComboBox1"));
    municipalityCombo->setGeometry(10, 34, 220, 21);
    placeLabel(QStringLiteral("C.A.P."), place, 240, 18);
    postalCodeLabel = valueLabel(QStringLiteral("LabelCAP"), place, {240, 34, 60, 21});
    placeLabel(QStringLiteral("Provincia:"), place, 310, 18);
    provinceLabel = valueLabel(QStringLiteral("LabelProvincia"), place, {310, 34, 150, 21});
    placeLabel(QStringLiteral("Sigla:"), place, 470, 18);
    provinceCodeLabel = valueLabel(QStringLiteral("LabelSigla"), place, {470, 34, 64, 21});

    MunicipalityCombo *typeAhead = MunicipalityCombo::attach(municipalityCombo);
    connect(typeAhead, &MunicipalityCombo::chosen, this, &UnitRentEditor::ComboBox1Change);

    using Nav = NavigatorBar;
    navigator = new NavigatorBar(
        Nav::tableRowEntries({Nav::First, Nav::Prior, Nav::Next, Nav::Last, Nav::Insert, Nav::Delete, Nav::Post}), this);
    navigator->setObjectName(QStringLiteral("DBNavigator1"));
    navigator->move(kMargin, place->geometry().bottom() + 8);

    grid = makeTableGrid(QStringLiteral("DBGrid1"), m_model, this);
    auto *keys = new DecimalCellFilter(grid);
    grid->installEventFilter(keys);
    grid->horizontalHeader()->setStretchLastSection(true);
    const int gridTop = navigator->geometry().bottom() + 6;
    grid->setGeometry(kMargin, gridTop, kDialogWidth - 2 * kMargin, kDialogHeight - gridTop - 44);
    navigator->setView(grid);

    const Layout &layout = unitRentsLayout();
    int zoneColumn = -1;
    QList<int> rentColumns;
    for (int c = 0; c < layout.size(); ++c) {
        if (layout.at(c).name == QLatin1String("Zona"))
            zoneColumn = c;
        else if (layout.at(c).name.startsWith(QLatin1String("CanoneLocaz")))
            rentColumns << c;
        m_model->setColumnAlignment(c, Qt::AlignCenter);
    }
    grid->setItemDelegate(new RentDelegate(zoneColumn, rentColumns, keys, grid));
    setRentTitles();
    connect(m_model, &TableModel::modelReset, this, &UnitRentEditor::restoreColumnOrder);
    connect(m_model, &TableModel::failed, this, [this](const QString &message) { Messages::error(this, message); });

    // Ctrl+Delete in the grid deletes the current row, after the question.
    auto *deleteRow = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), grid);
    deleteRow->setContext(Qt::WidgetShortcut);
    connect(deleteRow, &QShortcut::activated, navigator, &NavigatorBar::deleteCurrent);
    // A row inserted and left untouched goes when the user leaves the grid.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const auto inGrid = [this](QWidget *w) { return w && (w == grid || grid->isAncestorOf(w)); };
        if (inGrid(old) && now && !inGrid(now))
            navigator->dropUntouchedInsert();
    });

    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("Button1"));
    cancelButton = new QPushButton(QStringLiteral("&Annulla"), this);
    cancelButton->setObjectName(QStringLiteral("Button2"));
    okButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    // A click on Annulla must not take the focus from a cell being edited:
    // losing it would write the edit that Annulla drops.
    cancelButton->setFocusPolicy(Qt::TabFocus);
    cancelButton->setGeometry(kDialogWidth - kMargin - 80, kDialogHeight - 34, 80, 25);
    okButton->setGeometry(cancelButton->x() - 88, kDialogHeight - 34, 80, 25);
    connect(okButton, &QPushButton::clicked, this, &UnitRentEditor::Button1Click);
    connect(cancelButton, &QPushButton::clicked, this, &UnitRentEditor::Button2Click);

    omiImporter = new OmiImporter(this, OmiTarget::UnitRents, m_model, navigator, m_description, [this] {
        return OmiImporter::Place{municipalityCombo->currentText(), provinceCodeLabel->text()};
    });
    omiImporter->button()->setGeometry(kMargin, kDialogHeight - 34, 110, 25);
    connect(omiImporter, &OmiImporter::aboutToWriteTable, this, &UnitRentEditor::aboutToWriteTable);
}

QString UnitRentEditor::cellText(const QModelIndex &index)
{
    const auto *model = qobject_cast<const TableModel *>(index.model());
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!model || index.column() >= model->layout().size()
        || !model->layout().at(index.column()).name.startsWith(QLatin1String("CanoneLocaz")))
        return text;
    return rentShown(index.data(Qt::EditRole).toString(), currency());
}

QStringList UnitRentEditor::shownFields() const
{
    QStringList out;
    const QHeaderView *header = grid->horizontalHeader();
    const Layout &layout = unitRentsLayout();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && logical < layout.size())
            out << layout.at(logical).name;
    }
    return out;
}

UnitRentEditor::~UnitRentEditor()
{
    // The base classes' destructors still move the focus, and the grid is
    // gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void UnitRentEditor::restoreColumnOrder()
{
    // The table keeps Anno, CanoneLocazMin, CanoneLocazMax, Zona; the grid
    // shows the zone second, beside the year it qualifies.
    const int zone = m_model->fieldIndex(QStringLiteral("Zona"));
    if (zone < 0)
        return;
    QHeaderView *header = grid->horizontalHeader();
    header->moveSection(header->visualIndex(zone), 1);
    // The two rent titles are the long ones: they share what the year and the
    // zone leave.
    const int year = m_model->fieldIndex(QStringLiteral("Anno"));
    const int rents = (grid->viewport()->width() - kYearWidth - kZoneWidth) / 2;
    grid->setColumnWidth(year, kYearWidth);
    grid->setColumnWidth(zone, kZoneWidth);
    for (const char *field : {"CanoneLocazMin", "CanoneLocazMax"})
        grid->setColumnWidth(m_model->fieldIndex(QLatin1String(field)), std::max(rents, 60));
}

void UnitRentEditor::setRentTitles()
{
    const QString &v = currency().ValutaCorrente;
    QStringList titles;
    for (const Column &c : unitRentsLayout()) {
        if (c.name == QLatin1String("Anno"))
            titles << QStringLiteral("Anno");
        else if (c.name == QLatin1String("Zona"))
            titles << QStringLiteral("Centralità");
        else if (c.name == QLatin1String("CanoneLocazMin"))
            titles << QStringLiteral("Canone di locaz. minimo (") + v + QStringLiteral("/mq)");
        else
            titles << QStringLiteral("Canone di locaz. massimo (") + v + QStringLiteral("/mq)");
    }
    m_model->setColumnTitles(titles);
}

void UnitRentEditor::showPlace(int index)
{
    const MunicipalityList &list = offeredMunicipalities();
    const bool known = index >= 0 && index < list.size();
    postalCodeLabel->setText(known ? list.postalCodes.at(index) : QString());
    provinceLabel->setText(known ? list.provinces.at(index) : QString());
    provinceCodeLabel->setText(known ? list.provinceCodes.at(index) : QString());
}

QString UnitRentEditor::targetTableName() const
{
    return municipalityTableName(MunicipalityTable::UnitRents, municipalityCombo->currentText(),
                                 postalCodeLabel->text(), provinceCodeLabel->text());
}

void UnitRentEditor::openWorkingTable()
{
    try {
        const QString working = dataPath(kCanoniLocazUnitari);
        if (m_model->tableFile() != working)
            m_model->setTableFile(working);
        else
            m_model->reload();
    } catch (const std::exception &e) {
        Messages::error(this, QString::fromUtf8(e.what()));
    }
}

void UnitRentEditor::reloadWorkingTable()
{
    // The working table is rebuilt under the model: let go of the file first.
    m_model->close();
    try {
        reloadForMunicipality(MunicipalityTable::UnitRents, municipalityCombo->currentText(), postalCodeLabel->text(),
                              provinceCodeLabel->text());
    } catch (const std::exception &e) {
        Messages::error(this, QString::fromUtf8(e.what()));
    }
    // Reopened all the same: after a failed copy it shows the 11 empty rows.
    openWorkingTable();
}

void UnitRentEditor::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void UnitRentEditor::FormShow()
{
    // The dialog opens on the description page's municipality.
    const QString name = m_description->municipalityCombo->currentText();
    int index = m_description->municipalityCombo->currentIndex();
    if (index < 0 || m_description->municipalityCombo->itemText(index) != name) {
        // The row of that name in the page's province: a name of the past
        // may be another province's name today ("Calliano").
        index = municipalityRow(offeredMunicipalities(), name, m_description->provinceCodeCombo->currentText(),
                                Qt::CaseInsensitive);
    }
    setComboText(municipalityCombo, name);
    showPlace(index);
    // The postal code the description page shows (one town may have several).
    postalCodeLabel->setText(m_description->postalCodeCombo->currentText());
    if (index < 0) {
        provinceLabel->setText(m_description->provinceCombo->currentText());
        provinceCodeLabel->setText(m_description->provinceCodeCombo->currentText());
    }
    setRentTitles();
    // The rows shown, and written by OK, are those of the municipality in the
    // header. The working table may hold another's (the description page's
    // municipality was set without its cascade, or this dialog last changed
    // its own and was cancelled), or be missing before any municipality was
    // ever chosen.
    bool held = false;
    try {
        held = holdsMunicipalityRows(MunicipalityTable::UnitRents, targetTableName())
               && Table::exists(dataPath(kCanoniLocazUnitari));
    } catch (const std::exception &) {
        held = false; // no data folder: the reload says why
    }
    if (held)
        openWorkingTable();
    else
        reloadWorkingTable();
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void UnitRentEditor::ComboBox1Change(int index)
{
    showPlace(index);
    reloadWorkingTable();
}

void UnitRentEditor::Button1Click()
{
    // A cell still being typed belongs to what OK saves.
    navigator->post();
    const QString name = targetTableName();
    try {
        m_model->close();
        if (name != kCanoniLocazUnitari) {
            Q_EMIT aboutToWriteTable(dataPath(name));
            const QStringList kept = legacy::keepParadoxOriginal(dataPath(name));
            Table::copy(dataPath(kCanoniLocazUnitari), dataPath(name), unitRentsLayout());
            if (!kept.isEmpty())
                Messages::note(this, legacy::keptOriginalsNote(kept));
        }
    } catch (const std::exception &e) {
        // The dialog stays open on the rows as they are, to try again or leave.
        m_model->reload();
        Messages::error(this, QString::fromUtf8(e.what()));
        return;
    }
    m_model->reload();
    accept();
}

void UnitRentEditor::Button2Click()
{
    reject();
}

void UnitRentEditor::reject()
{
    // Only what the grid has posted stays in the working table: a cell still
    // being edited is dropped before the dialog hides (hiding would write it).
    navigator->cancelEdit();
    navigator->dropUntouchedInsert();
    QDialog::reject();
}

} // namespace brevan::ui
