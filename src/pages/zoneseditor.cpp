// SPDX-License-Identifier: GPL-2.0-or-later
#include "zoneseditor.h"

#include "data/municipalities.h"
#include "legacy/keeporiginal.h"
#include "descriptionpage.h"
#include "messages.h"
#include "municipalitycombo.h"
#include "navigatorbar.h"
#include "omiimporter.h"
#include "gridcells.h"
#include "pagekit.h"
#include "store/datafolder.h"
#include "tablemodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

namespace brevan::ui {

namespace {

// The grid's columns: field of the zone table, title, pick list offered in
// its cells (a suggestion: any text up to the field's width may be typed),
// least width in pixels, and whether the cell takes decimal keys only.
struct GridColumn {
    const char *field;
    const char *title;
    const char *const *choices;
    int width;
    bool decimal = false;
};

const char *const kCentrality[] = {"Zona centrale", "Zona intermedia", "Zona periferica", nullptr};
const char *const kGrades[] = {"Scarso", "Mediocre", "Sufficiente", "Buono", "Ottimo", nullptr};

const GridColumn kColumns[] = {
    {"ZonaUrbana", "Zona urbana", nullptr, 150},
    {"CentralitaZona", "Centralità", kCentrality, 96},
    {"SaggioMedioCapitalizzaz", "Saggio medio %", nullptr, 70, true},
    {"QualificazAmbienteExt", "Qualif. ambiente", kGrades, 80},
    {"IdoneitaInsediativa", "Idoneità insediativa", kGrades, 80},
    {"PrevisMiglioramAmbientali", "Miglior. ambientali", kGrades, 80},
};

const GridColumn *columnFor(const QString &field)
{
    for (const GridColumn &c : kColumns) {
        if (field == QLatin1String(c.field))
            return &c;
    }
    return nullptr;
}

QStringList choiceList(const char *const *choices)
{
    QStringList list;
    for (; choices && *choices; ++choices)
        list << QString::fromUtf8(*choices);
    return list;
}

// Geometry of the dialog, in pixels.
constexpr int kMargin = 8;
constexpr int kGroupTop = 4;
constexpr int kGroupHeight = 62;
constexpr int kFieldTop = 34;
constexpr int kLabelTop = 17;
constexpr int kFieldHeight = 21;
constexpr int kNavigatorTop = kGroupTop + kGroupHeight + 6;
constexpr int kGridTop = kNavigatorTop + 26;
constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 80;
constexpr int kButtonTop = ZonesEditor::kHeight - kMargin - kButtonHeight;
constexpr int kGridHeight = kButtonTop - 8 - kGridTop;
constexpr int kMunicipalityListWidth = 260;
// Room beside the longest zone name, so that it does not touch the grid line.
constexpr int kNamePadding = 6;

// Every cell accepts at most its field's width; the centrality and the three
// judgments offer their scale in an editable list. The rate takes decimal
// keys as the page's rate field does: letters are dropped and "." becomes
// ",", so that the rate the page copies reads as typed.
class ZoneCellDelegate : public ListCellDelegate {
public:
    explicit ZoneCellDelegate(QObject *parent) : ListCellDelegate(parent), m_decimalKeys(new DecimalCellFilter(this)) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const auto *model = qobject_cast<const TableModel *>(index.model());
        if (!model || index.column() >= model->layout().size())
            return QStyledItemDelegate::createEditor(parent, option, index);
        const Column &field = model->layout().at(index.column());
        const GridColumn *column = columnFor(field.name);
        if (column && column->choices)
            return listEditor(parent, choiceList(column->choices), true, field.size);
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(editor))
            edit->setMaxLength(field.size);
        if (column && column->decimal)
            editor->installEventFilter(m_decimalKeys);
        return editor;
    }

private:
    DecimalCellFilter *m_decimalKeys;
};

QComboBox *locationCombo(const char *objectName, const char *recordField, Choice list, KeyFilter filter,
                         QWidget *parent)
{
    const FieldDef *f = brevan::recordField(QString::fromLatin1(recordField));
    QComboBox *c = makeCombo(QString::fromLatin1(objectName), {}, f ? f->typed : 0, filter, parent);
    c->setModel(sharedListModel(list));
    setComboText(c, QString());
    return c;
}

// Names repeat in the municipality list: the position is set, not looked up
// by text. No reaction runs.
void setComboPosition(QComboBox *combo, int index, const QString &text)
{
    const QSignalBlocker block(combo);
    const QSignalBlocker blockEdit(combo->lineEdit());
    combo->setCurrentIndex(index < combo->count() ? index : -1);
    combo->lineEdit()->setText(text);
}

QLabel *labelAbove(const QString &caption, QWidget *field, QWidget *parent)
{
    QLabel *label = placeLabel(caption, parent, field->x(), kLabelTop);
    label->setBuddy(field);
    return label;
}

} // namespace

ZonesEditor::ZonesEditor(DescriptionPage *description, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_description(description),
      m_model(new TableModel(this))
{
    setObjectName(QStringLiteral("TAddZonaUrbanaForm"));
    setWindowTitle(QStringLiteral("Imposta zone urbane per il Comune selezionato"));
    setFont(pageFont());
    setFixedSize(kWidth, kHeight);
    setModal(true);
    // The navigator's long hints go to the main window's status bar.
    forwardStatusTips(this);

    QGroupBox *group = makeGroup(QStringLiteral("Ubicazione del fabbricato"), this);
    group->setGeometry(kMargin, kGroupTop, kWidth - 2 * kMargin, kGroupHeight);
    municipalityCombo = locationCombo("ComboBoxComune", "ComuneImmob", Choice::Comuni, KeyFilter::None, group);
    postalCodeCombo = locationCombo("ComboBoxCAP", "CAPImmob", Choice::CAP, KeyFilter::Integers, group);
    provinceCombo = locationCombo("ComboBoxProvincia", "ProvinciaImmob", Choice::Province, KeyFilter::None, group);
    provinceCodeCombo =
        locationCombo("ComboBoxSigla", "SiglaProvinciaImmob", Choice::SigleProvince, KeyFilter::None, group);
    municipalityCombo->setGeometry(10, kFieldTop, 270, kFieldHeight);
    postalCodeCombo->setGeometry(290, kFieldTop, 70, kFieldHeight);
    provinceCombo->setGeometry(370, kFieldTop, 160, kFieldHeight);
    provinceCodeCombo->setGeometry(540, kFieldTop, 56, kFieldHeight);
    labelAbove(QStringLiteral("Comune:"), municipalityCombo, group);
    labelAbove(QStringLiteral("C.A.P."), postalCodeCombo, group);
    labelAbove(QStringLiteral("Provincia:"), provinceCombo, group);
    labelAbove(QStringLiteral("Sigla:"), provinceCodeCombo, group);
    municipalityTypeAhead = MunicipalityCombo::attach(municipalityCombo);
    municipalityTypeAhead->setPopupMinimumWidth(kMunicipalityListWidth);
    connect(municipalityTypeAhead, &MunicipalityCombo::chosen, this, &ZonesEditor::municipalityChosen);

    using Nav = NavigatorBar;
    navigator = new NavigatorBar(
        Nav::tableRowEntries({Nav::First, Nav::Prior, Nav::Next, Nav::Last, Nav::Insert, Nav::Delete, Nav::Post}), this);
    navigator->setObjectName(QStringLiteral("DBNavigatorZonaUrbana"));
    navigator->move(kMargin, kNavigatorTop);

    grid = makeTableGrid(QStringLiteral("DBGridZonaUrbana"), m_model, this);
    grid->setItemDelegate(new ZoneCellDelegate(grid));
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setStretchLastSection(false);
    grid->setGeometry(kMargin, kGridTop, kWidth - 2 * kMargin, kGridHeight);
    navigator->setView(grid);

    // Titles, alignment, hidden columns and widths belong to the layout the
    // model reads from the file, so they are set again whenever it is reopened.
    connect(m_model, &TableModel::modelReset, this, [this] {
        const Layout &layout = m_model->layout();
        // Every column but the zone name as wide as its title or its design
        // width; the zone name takes the rest of the grid, or what its names need.
        const QFontMetrics metrics(grid->horizontalHeader()->font());
        for (int c = 0; c < layout.size(); ++c) {
            const GridColumn *column = columnFor(layout.at(c).name);
            grid->setColumnHidden(c, column == nullptr);
            if (!column)
                continue;
            const QString title = QString::fromUtf8(column->title);
            m_model->setHeaderData(c, Qt::Horizontal, title);
            if (column == &kColumns[0])
                continue;
            grid->setColumnWidth(c, std::max(column->width, metrics.horizontalAdvance(title) + 12));
            m_model->setColumnAlignment(c, Qt::AlignCenter);
        }
        fitNameColumn();
    });
    connect(m_model, &TableModel::dataChanged, this, &ZonesEditor::fitNameColumn);
    connect(m_model, &TableModel::failed, this, [this](const QString &message) { Messages::error(this, message); });

    // A row inserted and left untouched goes when the user leaves the grid.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        const auto inGrid = [this](QWidget *w) { return w && (w == grid || grid->isAncestorOf(w)); };
        if (inGrid(old) && now && !inGrid(now))
            navigator->dropUntouchedInsert();
    });

    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setObjectName(QStringLiteral("BitBtnOK"));
    cancelButton = new QPushButton(QStringLiteral("&Annulla"), this);
    cancelButton->setObjectName(QStringLiteral("BitBtnAnnulla"));
    // Enter finishes a cell in the grid; it must not also write the table.
    for (QPushButton *b : {okButton, cancelButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    // A click on Annulla must not take the focus from a cell being edited:
    // losing it would write the edit that Annulla drops.
    cancelButton->setFocusPolicy(Qt::TabFocus);
    cancelButton->setGeometry(kWidth - kMargin - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight);
    okButton->setGeometry(cancelButton->x() - 8 - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight);
    connect(okButton, &QPushButton::clicked, this, &ZonesEditor::OKClick);
    connect(cancelButton, &QPushButton::clicked, this, &ZonesEditor::AnnullaClick);

    omiImporter = new OmiImporter(this, OmiTarget::Zones, m_model, navigator, m_description, [this] {
        return OmiImporter::Place{municipalityCombo->currentText(), provinceCodeCombo->currentText()};
    });
    omiImporter->button()->setGeometry(kMargin, kButtonTop, 110, kButtonHeight);
    connect(omiImporter, &OmiImporter::aboutToWriteTable, this, &ZonesEditor::aboutToWriteTable);
}

void ZonesEditor::fitNameColumn()
{
    const int nameColumn = m_model->fieldIndex(QString::fromLatin1(kColumns[0].field));
    if (nameColumn < 0)
        return;
    const int inner = grid->width() - 2 * grid->frameWidth()
                      - grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    int used = 0;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (c != nameColumn && !grid->isColumnHidden(c))
            used += grid->columnWidth(c);
    }
    // The names, of up to 30 characters, show whole: wider than the rest of
    // the grid, the column brings a scroll bar rather than cut them. The
    // margins are those a cell draws its text within, and the tip for cut
    // text measures.
    const QFontMetrics metrics(grid->font());
    const int margin = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    int names = QFontMetrics(grid->horizontalHeader()->font()).horizontalAdvance(QString::fromUtf8(kColumns[0].title));
    for (int r = 0; r < m_model->rowCount(); ++r)
        names = std::max(names, metrics.horizontalAdvance(m_model->index(r, nameColumn).data().toString()));
    grid->setColumnWidth(nameColumn, std::max({kColumns[0].width / 2, inner - used, names + margin + kNamePadding}));
}

ZonesEditor::~ZonesEditor()
{
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

QString ZonesEditor::targetTableName() const
{
    return municipalityTableName(MunicipalityTable::Zones, municipalityCombo->currentText(),
                                 postalCodeCombo->currentText(), provinceCodeCombo->currentText());
}

void ZonesEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    takeOverDescriptionSelection();
    // The rows shown, and written by OK, are those of the municipality in the
    // header. The working table may hold another's: the description page's
    // municipality was set without its cascade (an appraisal opened, text
    // pasted), or this dialog last changed its own and was cancelled.
    if (holdsMunicipalityRows(MunicipalityTable::Zones, targetTableName()))
        openWorkingTable();
    else
        reloadWorkingTable();
}

void ZonesEditor::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    // The description page rebuilds the working zone table on a municipality
    // change: the dialog holds the file only while it is on screen.
    m_model->close();
}

void ZonesEditor::takeOverDescriptionSelection()
{
    if (!m_description)
        return;
    const MunicipalityList &list = offeredMunicipalities();
    const int i = m_description->municipalityCombo->currentIndex();
    const bool known = i >= 0 && i < list.size();
    // A name typed on the description page that is in no list has no
    // position; its zones were loaded under the name as typed, so it is kept.
    setComboPosition(municipalityCombo, i,
                     known ? list.names.at(i) : m_description->municipalityCombo->currentText());
    const int postal = m_description->postalCodeCombo->currentIndex();
    setComboPosition(postalCodeCombo, postal,
                     postal >= 0 ? postalCodeCombo->itemText(postal) : m_description->postalCodeCombo->currentText());
    // Without a position the page's own texts stand: those of an opened
    // appraisal whose municipality has ceased name its tables as before (a
    // typed name has had them emptied by the cascade).
    setComboText(provinceCombo, known ? list.provinces.at(i) : m_description->provinceCombo->currentText());
    setComboText(provinceCodeCombo, known ? list.provinceCodes.at(i) : m_description->provinceCodeCombo->currentText());
}

void ZonesEditor::openWorkingTable()
{
    try {
        m_model->setTableFile(dataPath(kZonaUrbana));
    } catch (const std::exception &e) {
        Messages::error(this, QString::fromUtf8(e.what()));
    }
    if (m_model->rowCount() > 0) {
        grid->setCurrentIndex(m_model->index(0, kFirstShownColumn));
        grid->scrollToTop();
    }
}

void ZonesEditor::municipalityChosen(int index)
{
    const MunicipalityList &list = offeredMunicipalities();
    const bool known = index >= 0 && index < list.size();
    setComboText(postalCodeCombo, known ? list.postalCodes.at(index) : QString());
    setComboText(provinceCombo, known ? list.provinces.at(index) : QString());
    setComboText(provinceCodeCombo, known ? list.provinceCodes.at(index) : QString());
    reloadWorkingTable();
}

void ZonesEditor::reloadWorkingTable()
{
    // The working table is rebuilt under the model: let go of the file first.
    m_model->close();
    QString failure;
    try {
        reloadForMunicipality(MunicipalityTable::Zones, municipalityCombo->currentText(),
                              postalCodeCombo->currentText(), provinceCodeCombo->currentText());
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    // Reopened all the same: after a failed copy it shows the 11 empty rows.
    openWorkingTable();
    if (!failure.isEmpty())
        Messages::error(this, failure);
}

void ZonesEditor::commitPendingEdit()
{
    // An edit still open in a cell is posted, as the navigator's post button does.
    if (m_model->isOpen())
        navigator->post();
}

void ZonesEditor::OKClick()
{
    commitPendingEdit();
    m_model->close();
    QString failure;
    try {
        const QString name = targetTableName();
        // With no municipality, postal code and province code the name is the
        // working table's own: there is nothing to write.
        if (name != kZonaUrbana) {
            Q_EMIT aboutToWriteTable(dataPath(name));
            const QStringList kept = legacy::keepParadoxOriginal(dataPath(name));
            Table::copy(dataPath(kZonaUrbana), dataPath(name), zonesLayout());
            if (!kept.isEmpty())
                Messages::note(this, legacy::keptOriginalsNote(kept));
        }
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    openWorkingTable();
    if (!failure.isEmpty()) {
        Messages::error(this, failure);
        return;
    }
    Q_EMIT zonesConfirmed();
    accept();
}

void ZonesEditor::AnnullaClick()
{
    reject();
}

void ZonesEditor::reject()
{
    // Only what the grid has posted stays in the working table: a cell still
    // being edited is dropped before the dialog hides (hiding would write it).
    navigator->cancelEdit();
    QDialog::reject();
}

} // namespace brevan::ui
