// SPDX-License-Identifier: GPL-2.0-or-later
#include "comparablespage.h"

#include "navigatorbar.h"
#include "pagekit.h"
#include "tablemodel.h"

#include <QDataWidgetMapper>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QResizeEvent>
#include <QToolButton>

namespace brevan::ui {

namespace {

// Geometry of the page, in pixels.
constexpr int kMargin = 7;             // left edge of the list and of the group
constexpr int kToolRowHeight = 28;
constexpr int kGroupHeight = 142;
constexpr int kFieldHeight = 21;
constexpr int kRowTop[3] = {30, 72, 114}; // top of each row's editors
constexpr int kCaptionAbove = 14;      // caption top = editor top - this
constexpr int kRowGap = 3;             // between editors of the address and cost rows
constexpr int kCoefficientLeft = 100;  // first coefficient editor, after "Caratteristiche di:"
constexpr int kCoefficientStep = 14;   // room for the "%" after each coefficient editor

struct EditorDef {
    const char *objectName;
    int typedLength;
    KeyFilter filter;
    const char *caption;
    const char *hint;
    int designWidth; // at the smallest page area (group 405 wide)
};

// In field order of the comparables table (fields 1 to 11).
const EditorDef kEditors[11] = {
    {"DBEdit1", 50, KeyFilter::None, "Indirizzo:", "|Indirizzo dell'immobile di confronto corrente.", 222},
    {"DBEdit2", 10, KeyFilter::None, "Num civico:", "|Numero civico dell'immobile di confronto corrente.", 60},
    {"DBEdit3", 2, KeyFilter::None, "Piano:", "|Piano dell'immobile di confronto corrente.", 40},
    {"DBEdit4", 10, KeyFilter::None, "Interno:", "|Interno dell'immobile di confronto corrente.", 60},
    {"DBEdit9", 10, KeyFilter::Decimals, "Sup. commerciale:",
     "|Superficie commerciale dell'immobile di confronto corrente in mq.", 128},
    {"DBEdit5", 10, KeyFilter::Decimals, "Localizzaz.",
     "|Coefficiente d'influenza % delle caratteristiche di localizzazione dell'immobile di confronto corrente.", 61},
    {"DBEdit6", 10, KeyFilter::Decimals, "Posizione",
     "|Coefficiente d'influenza % delle caratteristiche di posizione dell'immobile di confronto corrente.", 61},
    {"DBEdit7", 10, KeyFilter::Decimals, "Tipologiche",
     "|Coefficiente d'influenza % delle caratteristiche tipologiche dell'immobile di confronto corrente.", 61},
    {"DBEdit8", 10, KeyFilter::Decimals, "Produttive",
     "|Coefficiente d'influenza % delle caratteristiche produttive dell'immobile di confronto corrente.", 62},
    {"DBEdit10", 15, KeyFilter::Decimals, "Costo unitario:",
     "|Costo unitario dell'immobile di confronto corrente in Lire/mq.", 128},
    {"DBEdit11", 15, KeyFilter::Decimals, "Costo complessivo:",
     "|Costo complessivo dell'immobile di confronto corrente in Lire.", 128},
};

// Field positions (indexes into kEditors) of the three rows, left to right.
constexpr int kAddressRow[4] = {0, 1, 2, 3};
constexpr int kCoefficientRow[4] = {5, 6, 7, 8};
constexpr int kCostRow[3] = {4, 9, 10};

} // namespace

int ComparablesPage::groupWidth(int pageWidth)
{
    return pageWidth - 15;
}

QVector<int> ComparablesPage::shareSpareWidth(const QVector<int> &widths, int groupWidth, int fixedWidth)
{
    if (widths.isEmpty())
        return widths;
    int sum = 0;
    for (int w : widths)
        sum += w;
    // Integer division truncates toward zero, also when the group shrinks.
    const int share = (groupWidth - sum - fixedWidth) / int(widths.size());
    QVector<int> out = widths;
    for (int &w : out)
        w += share;
    return out;
}

ComparablesPage::ComparablesPage(QWidget *parent)
    : QWidget(parent), m_model(new TableModel(this)), m_selection(new QItemSelectionModel(m_model, this))
{
    setFont(pageFont());

    browseButton = makeToolButton(QStringLiteral("SpeedButton60"), tableCommandIcon(TableCommand::Browse),
                                  QStringLiteral("Carica immobili di confronto da stime precedenti|"
                                                 "Carica immobili di confronto da stime precedenti."),
                                  this);
    browseButton->setText(QStringLiteral("&Sfoglia..."));
    browseButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    browseButton->setFont(pageFont());
    browseButton->setFixedSize(78, 22);
    loadButton = makeToolButton(QStringLiteral("SpeedButton57"), tableCommandIcon(TableCommand::Open),
                                QStringLiteral("Carica immobili di confronto|Carica immobili di confronto."), this);
    saveButton = makeToolButton(QStringLiteral("SpeedButton58"), tableCommandIcon(TableCommand::Save),
                                QStringLiteral("Salva immobili di confronto|Salva immobili di confronto."), this);
    emptyButton = makeToolButton(QStringLiteral("SpeedButton59"), tableCommandIcon(TableCommand::Clear),
                                 QStringLiteral("Elimina immobili di confronto|Elimina immobili di confronto."), this);
    saveButton->setEnabled(false);
    emptyButton->setEnabled(false);

    navigator = new NavigatorBar(
        {{NavigatorBar::First, QStringLiteral("Seleziona il primo immobile di confronto.")},
         {NavigatorBar::Prior, QStringLiteral("Seleziona il precedente immobile di confronto.")},
         {NavigatorBar::Next, QStringLiteral("Seleziona il successivo immobile di confronto.")},
         {NavigatorBar::Last, QStringLiteral("Seleziona l'ultimo immobile di confronto.")},
         {NavigatorBar::Delete, QStringLiteral("Elimina l'immobile di confronto corrente.")},
         {NavigatorBar::Insert, QStringLiteral("Aggiungi un nuovo immobile di confronto.")},
         {NavigatorBar::Post, QStringLiteral("Applica modifica all'immobile di confronto corrente.")}},
        this);
    navigator->setObjectName(QStringLiteral("NavigatorImmConfr"));

    int x = kMargin;
    browseButton->move(x, 3);
    x += browseButton->width() + 6;
    for (QToolButton *b : {loadButton, saveButton, emptyButton}) {
        b->move(x, 3);
        x += b->width();
    }
    navigator->move(x + 12, 3);

    previousAppraisalsList = new QListWidget(this);
    previousAppraisalsList->setObjectName(QStringLiteral("CheckListBox1"));
    previousAppraisalsList->setFont(pageFont());
    previousAppraisalsList->setSelectionMode(QAbstractItemView::SingleSelection);
    setHint(previousAppraisalsList, QStringLiteral("|Lista stime precedenti."));

    comparablesGroup = makeGroup(QStringLiteral("Immobili di confronto"), this);
    comparablesGroup->setObjectName(QStringLiteral("GroupBoxImmobiliConfronto"));
    for (const EditorDef &d : kEditors) {
        QLineEdit *e = makeEdit(QString::fromLatin1(d.objectName), d.typedLength, d.filter, comparablesGroup);
        setHint(e, QString::fromUtf8(d.hint));
        e->resize(d.designWidth, kFieldHeight);
        m_editors << e;
        m_captions << makeLabel(QString::fromUtf8(d.caption), comparablesGroup);
        fitToText(m_captions.last());
    }
    addressEdit = m_editors[0];
    houseNumberEdit = m_editors[1];
    floorEdit = m_editors[2];
    internalEdit = m_editors[3];
    surfaceEdit = m_editors[4];
    localisationEdit = m_editors[5];
    positionEdit = m_editors[6];
    typologyEdit = m_editors[7];
    productiveEdit = m_editors[8];
    unitCostEdit = m_editors[9];
    totalCostEdit = m_editors[10];
    m_characteristicsLabel = placeLabel(QStringLiteral("Caratteristiche di:"), comparablesGroup, 9, 0);
    for (int i = 0; i < 4; ++i) {
        m_percentLabels << makeLabel(QStringLiteral("%"), comparablesGroup);
        fitToText(m_percentLabels.last());
    }
    // Reading order for Tab.
    const int readingOrder[] = {0, 1, 2, 3, 5, 6, 7, 8, 4, 9, 10};
    for (int i = 1; i < 11; ++i)
        setTabOrder(m_editors[readingOrder[i - 1]], m_editors[readingOrder[i]]);

    mapper = new QDataWidgetMapper(this);
    mapper->setModel(m_model);
    mapper->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    for (int i = 0; i < m_editors.size(); ++i)
        mapper->addMapping(m_editors[i], i);

    navigator->setModel(m_model, m_selection);
    navigator->commitEdits = [this] { postEdits(); };
    navigator->hasPendingEdit = [this] { return hasPendingEdit(); };
    connect(m_selection, &QItemSelectionModel::currentRowChanged, this, &ComparablesPage::showCurrentRow);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ComparablesPage::showCurrentRow);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &ComparablesPage::showCurrentRow);
    // A preview lasts until the table moves or changes; the mapper follows
    // data changes of its own row by itself.
    auto endPreview = [this] {
        if (m_previewing)
            showCurrentRow();
    };
    connect(m_model, &QAbstractItemModel::dataChanged, this, endPreview);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, endPreview);
    for (QLineEdit *e : std::as_const(m_editors)) {
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, navigator, &NavigatorBar::refresh);
        // Text typed while the table has no comparable would otherwise be lost.
        connect(e, &QLineEdit::editingFinished, this, [this] {
            if (currentRow() < 0)
                postEdits();
            navigator->refresh();
        });
    }

    resize(405 + 15, 380);
    layoutPage();
}

ComparablesPage::~ComparablesPage()
{
    // Closing takes the focus from an editor: nothing is written while the page goes.
    for (QLineEdit *e : std::as_const(m_editors))
        e->disconnect(this);
    mapper->clearMapping();
}

bool ComparablesPage::setTableFile(const QString &path)
{
    return m_model->setTableFile(path);
}

QVector<QLineEdit *> ComparablesPage::editors() const
{
    return m_editors;
}

int ComparablesPage::currentRow() const
{
    const QModelIndex current = m_selection->currentIndex();
    return current.isValid() && current.row() < m_model->rowCount() ? current.row() : -1;
}

void ComparablesPage::showCurrentRow()
{
    m_previewing = false;
    mapper->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    const int row = currentRow();
    if (row >= 0) {
        mapper->setCurrentIndex(row);
    } else {
        // No comparable: nothing to show, and nothing for the mapper to write into.
        mapper->setCurrentIndex(-1);
        for (QLineEdit *e : std::as_const(m_editors))
            e->clear();
    }
    navigator->refresh();
}

bool ComparablesPage::hasPendingEdit() const
{
    if (m_previewing)
        return false;
    const int row = currentRow();
    for (int i = 0; i < m_editors.size(); ++i) {
        const QString shown = m_editors[i]->text();
        if (row < 0) {
            if (!shown.isEmpty())
                return true;
        } else if (m_model->columnCount() > i
                   && shown != m_model->data(m_model->index(row, i), Qt::EditRole).toString()) {
            return true;
        }
    }
    return false;
}

void ComparablesPage::postEdits()
{
    // What a preview shows belongs to no comparable.
    if (m_previewing || !m_model->isOpen())
        return;
    if (currentRow() >= 0) {
        mapper->submit();
        navigator->refresh();
        return;
    }
    QStringList texts;
    bool any = false;
    for (QLineEdit *e : std::as_const(m_editors)) {
        texts << e->text();
        any = any || !e->text().isEmpty();
    }
    if (!any)
        return;
    // Adding the row moves the editors onto it (still blank): write what was typed.
    const int row = m_model->appendRow();
    if (row < 0)
        return;
    for (int i = 0; i < texts.size(); ++i)
        m_model->setData(m_model->index(row, i), texts.at(i));
    m_selection->setCurrentIndex(m_model->index(row, 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    showCurrentRow();
}

void ComparablesPage::showPreview(const QStringList &texts)
{
    // The mapper cannot be pointed at no row (setCurrentIndex(-1) is
    // ignored), so it stops writing on focus changes instead; postEdits()
    // leaves the table alone meanwhile.
    m_previewing = true;
    mapper->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    for (int i = 0; i < m_editors.size(); ++i)
        m_editors[i]->setText(texts.value(i));
    navigator->refresh();
}

bool ComparablesPage::eventFilter(QObject *watched, QEvent *event)
{
    if (m_previewing && event->type() == QEvent::KeyPress && m_editors.contains(qobject_cast<QLineEdit *>(watched))) {
        // Typing edits the current comparable, never the preview's texts.
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool typed = !key->text().isEmpty() && key->text().at(0).unicode() >= 32
                           && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (typed || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete
            || key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut))
            showCurrentRow();
    }
    return QWidget::eventFilter(watched, event);
}

QStringList ComparablesPage::rowTexts(int row) const
{
    QStringList out;
    for (int column = 0; column < m_editors.size(); ++column)
        out << m_model->data(m_model->index(row, column), Qt::EditRole).toString();
    return out;
}

bool ComparablesPage::isCompleteComparable(const QStringList &fields)
{
    // CdCarattLocalizzaz, CdCarattPosizione, CdCarattTipologiche,
    // CdCarattProduttive, CostoUnitario.
    for (int column : {5, 6, 7, 8, 9}) {
        if (fields.value(column).isEmpty())
            return false;
    }
    return true;
}

int ComparablesPage::completeness() const
{
    // The model holds every row: reading them moves no cursor, so the
    // current comparable and the editors stay as they are.
    const int rows = m_model->rowCount();
    if (rows == 0)
        return 3;
    int complete = 0;
    for (int row = 0; row < rows; ++row) {
        if (isCompleteComparable(rowTexts(row)))
            ++complete;
    }
    return complete == rows ? 1 : 2;
}

void ComparablesPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPage();
}

void ComparablesPage::layoutPage()
{
    const int w = width();
    const int h = height();
    const int g = groupWidth(w);
    const int groupTop = std::max(kToolRowHeight + 40, h - kGroupHeight - 4);
    previousAppraisalsList->setGeometry(kMargin, kToolRowHeight, std::max(0, g), groupTop - kToolRowHeight - 4);
    comparablesGroup->setGeometry(kMargin, groupTop, std::max(0, g), kGroupHeight);

    auto currentWidths = [this](const int *fields, int n) {
        QVector<int> widths;
        for (int i = 0; i < n; ++i)
            widths << m_editors[fields[i]]->width();
        return widths;
    };
    auto place = [this](int field, int x, int top, int width) {
        m_editors[field]->setGeometry(x, top, std::max(0, width), kFieldHeight);
        m_captions[field]->move(x, top - kCaptionAbove);
    };

    const QVector<int> address = shareSpareWidth(currentWidths(kAddressRow, 4), g, kAddressRowFixed);
    int x = kMargin;
    for (int i = 0; i < 4; ++i) {
        place(kAddressRow[i], x, kRowTop[0], address[i]);
        x += std::max(0, address[i]) + kRowGap;
    }

    const QVector<int> coefficients = shareSpareWidth(currentWidths(kCoefficientRow, 4), g, kCoefficientRowFixed);
    m_characteristicsLabel->move(kMargin + 2, kRowTop[1] + (kFieldHeight - m_characteristicsLabel->height()) / 2);
    x = kCoefficientLeft;
    for (int i = 0; i < 4; ++i) {
        place(kCoefficientRow[i], x, kRowTop[1], coefficients[i]);
        const int right = x + std::max(0, coefficients[i]);
        m_percentLabels[i]->move(right + 2, kRowTop[1] + (kFieldHeight - m_percentLabels[i]->height()) / 2);
        x = right + kCoefficientStep;
    }

    const QVector<int> costs = shareSpareWidth(currentWidths(kCostRow, 3), g, kCostRowFixed);
    x = kMargin;
    for (int i = 0; i < 3; ++i) {
        place(kCostRow[i], x, kRowTop[2], costs[i]);
        x += std::max(0, costs[i]) + kRowGap;
    }
}

} // namespace brevan::ui
