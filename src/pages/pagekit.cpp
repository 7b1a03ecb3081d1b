// SPDX-License-Identifier: GPL-2.0-or-later
#include "pagekit.h"

#include "data/municipalities.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QCoreApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QPointer>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QStatusTipEvent>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QtMath>
#include <QStylePainter>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace brevan::ui {

namespace {

const char *const kTypedLengthProperty = "brevanTypedLength";

QLineEdit *editorOf(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e;
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->lineEdit();
    return nullptr;
}

const FieldDef &fieldOrDie(const char *fieldName)
{
    const FieldDef *f = recordField(QString::fromLatin1(fieldName));
    if (!f)
        qFatal("unknown record field %s", fieldName);
    return *f;
}

} // namespace

QFont pageFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    return f;
}

KeyFilterObject::KeyFilterObject(KeyFilter filter, QObject *parent) : QObject(parent), m_filter(filter) {}

bool KeyFilterObject::accepts(KeyFilter filter, QChar c)
{
    const ushort u = c.unicode();
    if (u == 8 || u == 127)
        return true;
    switch (filter) {
    case KeyFilter::None: return true;
    case KeyFilter::PickOnly: return false;
    case KeyFilter::Integers: return u >= '0' && u <= '9';
    case KeyFilter::Decimals: return (u >= '0' && u <= '9') || u == ',' || u == '.';
    }
    return true;
}

bool KeyFilterObject::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    // One character: one UTF-16 unit, or the two of a character beyond U+FFFF.
    if (text.isEmpty() || characterCount(text) != 1
        || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false; // navigation keys, shortcuts: not characters
    const QChar c = text.at(0);
    const ushort u = c.unicode();
    // Other control characters (Enter, Tab, Escape) are not typed text.
    if (u < 32 && u != 8)
        return false;
    if (!accepts(m_filter, c))
        return true;
    QLineEdit *edit = editorOf(qobject_cast<QWidget *>(watched));
    if (!edit)
        return false;
    if (u != 8 && u != 127) {
        const int limit = edit->property(kTypedLengthProperty).toInt();
        if (limit > 0 && characterCount(edit->text()) - characterCount(edit->selectedText()) >= limit)
            return true;
    }
    if (m_filter == KeyFilter::Decimals && c == QLatin1Char('.')) {
        edit->insert(QStringLiteral(","));
        // insert() does not emit textEdited; a typed character must.
        Q_EMIT edit->textEdited(edit->text());
        return true;
    }
    return false;
}

void installKeyFilter(QWidget *w, KeyFilter filter)
{
    QLineEdit *edit = editorOf(w);
    if (!edit)
        return;
    // An editable combo keeps the focus itself (its editor's focus proxy is the
    // combo) and hands typed keys to the editor by a direct call that skips the
    // editor's event filters: the keys a user types are filtered at the combo.
    // The editor keeps a filter for keys sent to it directly.
    for (QWidget *target : {static_cast<QWidget *>(edit), w}) {
        if (auto *old = target->findChild<KeyFilterObject *>(QString(), Qt::FindDirectChildrenOnly)) {
            target->removeEventFilter(old);
            delete old;
        }
        target->installEventFilter(new KeyFilterObject(filter, target));
        if (target == w)
            break; // a plain line edit: one filter
    }
}

KeyFilter keyFilterOf(const QWidget *w)
{
    QLineEdit *edit = editorOf(const_cast<QWidget *>(w));
    if (!edit)
        return KeyFilter::None;
    auto *f = edit->findChild<KeyFilterObject *>(QString(), Qt::FindDirectChildrenOnly);
    return f ? f->filter() : KeyFilter::None;
}

static void setTypedLength(QWidget *w, int length)
{
    if (QLineEdit *edit = editorOf(w))
        edit->setProperty(kTypedLengthProperty, length);
}

void setHint(QWidget *w, const QString &hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    const QString shortPart = bar < 0 ? hint : hint.left(bar);
    const QString longPart = bar < 0 ? hint : hint.mid(bar + 1);
    w->setToolTip(shortPart);
    w->setStatusTip(longPart);
}

void setHint(QAction *a, const QString &hint)
{
    const int bar = hint.indexOf(QLatin1Char('|'));
    a->setToolTip(bar < 0 ? hint : hint.left(bar));
    a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

namespace {

class StatusTipForwarder : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::StatusTip)
            return false;
        auto *dialog = qobject_cast<QWidget *>(watched);
        QWidget *owner = dialog && dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
        if (!owner || owner == dialog)
            return false;
        QStatusTipEvent tip(static_cast<QStatusTipEvent *>(event)->tip());
        QCoreApplication::sendEvent(owner, &tip);
        return true;
    }
};

} // namespace

void forwardStatusTips(QWidget *dialog)
{
    dialog->installEventFilter(new StatusTipForwarder(dialog));
}

NavyGroupBox::NavyGroupBox(const QString &caption, QWidget *parent) : QGroupBox(caption, parent) {}

void NavyGroupBox::paintEvent(QPaintEvent *)
{
    // Only the caption turns navy, so the fields inside keep the normal
    // palette and font (a style sheet would reset both for every child). The
    // common style takes the option's text colour; Fusion ignores it and
    // draws with the option's window-text colour, so both are set.
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QColor navy = QColor::fromRgb(kNavy);
    option.textColor = navy;
    option.palette.setColor(QPalette::WindowText, navy);
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

QGroupBox *makeGroup(const QString &caption, QWidget *parent)
{
    return new NavyGroupBox(caption, parent);
}

QLabel *makeLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    return l;
}

void fitToText(QLabel *label)
{
    // QLabel::adjustSize lays its text out with QTextLayout; for a caption of
    // one plain line the size is the text's advance and the line height,
    // which costs a fifth as much, over the few hundred captions of the pages.
    const QString text = label->text();
    const bool oneLine = !text.contains(QLatin1Char('&')) && !text.contains(QLatin1Char('\n'));
    const bool plain = label->textFormat() == Qt::PlainText ||
                       (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(text));
    if (!oneLine || !plain || label->wordWrap() || label->margin() != 0 || label->indent() > 0 ||
        label->frameWidth() != 0 || label->contentsMargins() != QMargins() || !label->pixmap().isNull()) {
        label->adjustSize();
        return;
    }
    const QFontMetricsF metrics(label->font());
    label->resize(QSize(qCeil(metrics.horizontalAdvance(text)), qCeil(metrics.height()))
                      .expandedTo(label->minimumSize()));
}

QLabel *placeLabel(const QString &text, QWidget *parent, int x, int y)
{
    QLabel *l = makeLabel(text, parent);
    l->move(x, y);
    fitToText(l);
    return l;
}

QLineEdit *makeEdit(const QString &objectName, int typedLength, KeyFilter filter, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    setTypedLength(e, typedLength);
    installKeyFilter(e, filter);
    return e;
}

QLineEdit *makeFieldEdit(const char *fieldName, QWidget *parent)
{
    const FieldDef &f = fieldOrDie(fieldName);
    QLineEdit *e = makeEdit(QString::fromLatin1(f.name), f.typed, f.filter, parent);
    e->setProperty("brevanControl", QString::fromLatin1(f.control));
    return e;
}

QLineEdit *makeResultEdit(const QString &objectName, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    e->setReadOnly(true);
    return e;
}

namespace {

// A pick list whose size hint ignores its items, as
// QComboBox::AdjustToMinimumContentsLengthWithIcon does. Setting that policy
// on a QComboBox builds its drop-down window at once; this gives the same
// hint without it.
const char *const kPopupFitsItemsProperty = "brevanPopupFitsItems";

class FieldCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    QSize sizeHint() const override { return itemFreeHint(); }
    QSize minimumSizeHint() const override { return itemFreeHint(); }

    void showPopup() override
    {
        // Qt widens the drop-down of a pick-only list to its entries, but not
        // that of an editable one: done here, for the few short lists that ask.
        if (property(kPopupFitsItemsProperty).toBool()) {
            QAbstractItemView *list = view();
            int widest = 0;
            for (int i = 0; i < count(); ++i) {
                const QModelIndex item = model()->index(i, modelColumn(), rootModelIndex());
                widest = std::max(widest, list->sizeHintForIndex(item).width());
            }
            const int scrollBar = count() > maxVisibleItems()
                                      ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list)
                                      : 0;
            list->setMinimumWidth(widest + scrollBar + 2 * list->style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
        }
        QComboBox::showPopup();
    }

private:
    QSize itemFreeHint() const
    {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        // Qt starts the contents from an unset width of -1 for this policy.
        const int textHeight = qMax(qCeil(QFontMetricsF(fontMetrics()).height()), 14) + 2;
        const QSize contents(-1, qMax(textHeight, iconSize().height() + 2));
        return style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this);
    }
};

} // namespace

QComboBox *makeEditableCombo(QWidget *parent)
{
    // QComboBox::setEditable builds a completer and the drop-down's window for
    // every list at once; with some fifty lists on the pages that was most of
    // the start-up time. Our lists complete by their own rules, so the combo
    // gets an editor that already holds a completer (one shared, never used),
    // which keeps Qt from building one, and that completer is taken off again.
    // The drop-down is then built by Qt the first time it opens.
    static QPointer<QCompleter> placeholder;
    if (!placeholder)
        placeholder = new QCompleter(qApp); // again if an application is made anew
    auto *c = new FieldCombo(parent);
    auto *editor = new QLineEdit(c);
    editor->setCompleter(placeholder);
    c->setLineEdit(editor);
    c->setCompleter(nullptr);
    return c;
}

QComboBox *makeCombo(const QString &objectName, const QStringList &items, int typedLength, KeyFilter filter,
                     QWidget *parent)
{
    QComboBox *c = makeEditableCombo(parent);
    c->setObjectName(objectName);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentIndex(-1);
    c->lineEdit()->clear();
    setTypedLength(c, typedLength);
    installKeyFilter(c, filter);
    return c;
}

QComboBox *makeFieldCombo(const char *fieldName, QWidget *parent)
{
    const FieldDef &f = fieldOrDie(fieldName);
    QComboBox *c = makeCombo(QString::fromLatin1(f.name), {}, f.typed, f.filter, parent);
    c->setProperty("brevanControl", QString::fromLatin1(f.control));
    if (QStringListModel *shared = sharedListModel(f.choice)) {
        c->setModel(shared);
    } else {
        c->addItems(choiceItems(f.choice));
    }
    c->setCurrentIndex(-1);
    c->lineEdit()->clear();
    return c;
}

QCheckBox *makeFieldCheck(const char *fieldName, const QString &caption, QWidget *parent)
{
    const FieldDef &f = fieldOrDie(fieldName);
    auto *b = new QCheckBox(caption, parent);
    b->setObjectName(QString::fromLatin1(f.name));
    b->setProperty("brevanControl", QString::fromLatin1(f.control));
    return b;
}

QRadioButton *makeFieldRadio(const char *fieldName, const QString &caption, QWidget *parent)
{
    const FieldDef &f = fieldOrDie(fieldName);
    auto *b = new QRadioButton(caption, parent);
    b->setObjectName(QString::fromLatin1(f.name));
    b->setProperty("brevanControl", QString::fromLatin1(f.control));
    return b;
}

QToolButton *makeToolButton(const QString &objectName, const QIcon &icon, const QString &hint, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setIcon(icon);
    b->setAutoRaise(true);
    b->setFixedSize(23, 22);
    b->setFocusPolicy(Qt::NoFocus);
    setHint(b, hint);
    return b;
}

void setPopupFitsItems(QComboBox *combo)
{
    combo->setProperty(kPopupFitsItemsProperty, true);
}

void setComboText(QComboBox *combo, const QString &text)
{
    const QSignalBlocker blockCombo(combo);
    const QSignalBlocker blockEdit(combo->lineEdit());
    const int i = combo->findText(text, Qt::MatchExactly);
    combo->setCurrentIndex(i);
    if (combo->lineEdit())
        combo->lineEdit()->setText(text);
}

namespace {
const MunicipalityList *offeredList = nullptr;
QStringListModel *municipalityNames = nullptr;
QStringListModel *municipalityPostalCodes = nullptr;
} // namespace

const MunicipalityList &offeredMunicipalities()
{
    return offeredList ? *offeredList : municipalities();
}

void offerMunicipalitiesAt(const QDate &date)
{
    const MunicipalityList &from = offeredMunicipalities();
    const MunicipalityList &to = municipalitiesAt(date);
    if (&from == &to)
        return;
    offeredList = &to;
    if (!municipalityNames && !municipalityPostalCodes)
        return; // the lists are built from the new one when first asked for

    // Every pick list on the two models, with its text and the row it shows.
    struct Shown {
        QPointer<QComboBox> combo;
        QString text;
        int row;
        bool blocked;
        bool editBlocked;
    };
    std::vector<Shown> shown;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *w : widgets) {
        auto *combo = qobject_cast<QComboBox *>(w);
        if (!combo || !combo->model()
            || (combo->model() != municipalityNames && combo->model() != municipalityPostalCodes))
            continue;
        const int index = combo->currentIndex();
        int row = -1;
        if (index >= 0 && index < from.size()) {
            row = rowWithCadastralCode(to, from.cadastralCodes.at(index));
            // A municipality made anew under its old name takes a new code
            // ("Sovizzo" of 2024): the same name in the same province.
            if (row < 0)
                row = municipalityRow(to, from.names.at(index), from.provinceCodes.at(index));
        }
        QLineEdit *edit = combo->lineEdit();
        shown.push_back({combo, combo->currentText(), row, combo->blockSignals(true),
                         edit ? edit->blockSignals(true) : false});
    }
    if (municipalityNames)
        municipalityNames->setStringList(to.names);
    if (municipalityPostalCodes)
        municipalityPostalCodes->setStringList(to.postalCodes);
    for (const Shown &s : shown) {
        if (!s.combo)
            continue;
        s.combo->setCurrentIndex(s.row);
        if (QLineEdit *edit = s.combo->lineEdit()) {
            edit->setText(s.text);
            edit->blockSignals(s.editBlocked);
        }
        s.combo->blockSignals(s.blocked);
    }
}

QStringListModel *sharedListModel(Choice list)
{
    QStringListModel *&names = municipalityNames;
    QStringListModel *&postal = municipalityPostalCodes;
    static QStringListModel *provinceNames = nullptr;
    static QStringListModel *provinceCodes = nullptr;
    switch (list) {
    case Choice::Comuni:
        if (!names)
            names = new QStringListModel(offeredMunicipalities().names, qApp);
        return names;
    case Choice::CAP:
        if (!postal)
            postal = new QStringListModel(offeredMunicipalities().postalCodes, qApp);
        return postal;
    case Choice::Province:
        if (!provinceNames)
            provinceNames = new QStringListModel(brevan::provinceNames(), qApp);
        return provinceNames;
    case Choice::SigleProvince:
        if (!provinceCodes)
            provinceCodes = new QStringListModel(brevan::provinceCodes(), qApp);
        return provinceCodes;
    default:
        return nullptr;
    }
}

QPoint centredPanelOffset(const QSize &page, const QSize &panel)
{
    // Integer division truncates toward zero, also for negative spare room.
    return {(page.width() - panel.width()) / 2, (page.height() - panel.height()) / 2};
}

CentredPage::CentredPage(QWidget *parent) : QWidget(parent), m_panel(new QWidget(this))
{
    m_panel->setFixedSize(kCentredPanelWidth, kCentredPanelHeight);
    m_panel->setFont(pageFont());
}

void CentredPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_panel->move(centredPanelOffset(event->size()));
}

} // namespace brevan::ui
