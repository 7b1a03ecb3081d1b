// SPDX-License-Identifier: GPL-2.0-or-later
#include "incomeops.h"

#include "mainwindow.h"
#include "undoops.h"

#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"
#include "pages/unitrenteditor.h"
#include "store/datafolder.h"
#include "valuation/income.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>

namespace brevan::app {

namespace {

const QString kDepositWarning =
    QStringLiteral("Il numero delle cauzioni non può essere nullo o \nsuperare le tre mensilità previste dalla legge.");

// The deposit may be neither nil nor more than the three months the law
// allows. The comparison is on the text, as typed (one digit).
bool depositRefused(const QString &months)
{
    return months == QStringLiteral("0") || QString::compare(months, QStringLiteral("3")) > 0;
}

Zone selectedZone(const ui::LocalisationPage *page)
{
    if (page->centralZoneRadio->isChecked())
        return Zone::Centrale;
    if (page->intermediateZoneRadio->isChecked())
        return Zone::Intermedia;
    if (page->outlyingZoneRadio->isChecked())
        return Zone::Periferica;
    return Zone::None;
}

// The working unit-rent table, first row to last. A table that does not exist
// yet (no municipality chosen in any run) holds no rent.
QList<UnitRentRow> unitRentRows()
{
    QList<UnitRentRow> out;
    const QString path = dataPath(kCanoniLocazUnitari);
    if (!Table::exists(path))
        return out;
    const Table table = Table::open(path);
    const Layout &layout = table.layout();
    const int columns[4] = {table.requireColumn(QStringLiteral("Anno")), table.requireColumn(QStringLiteral("CanoneLocazMin")),
                            table.requireColumn(QStringLiteral("CanoneLocazMax")), table.requireColumn(QStringLiteral("Zona"))};
    const auto text = [&](const QVariantList &r, int i) { return valueText(layout[columns[i]], r.at(columns[i])); };
    // One pass over the table, not one query per cell.
    for (const QVariantList &r : table.rows())
        out.append({text(r, 0), text(r, 1), text(r, 2), text(r, 3)});
    return out;
}

} // namespace

IncomeOps::IncomeOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window)
{
    ui::IncomePage *p = window->incomePage;

    connect(p->unitRentEdit, &QLineEdit::textChanged, this, &IncomeOps::Edit14Change);
    for (QLineEdit *e : {p->depositMonthsEdit, p->commercialRateEdit, p->legalRateEdit})
        connect(e, &QLineEdit::textChanged, this, &IncomeOps::DepositOrRateChange);
    connect(p->grossIncomeEdit, &QLineEdit::textChanged, this, &IncomeOps::Edit31Change);
    for (int i = 0; i < kExpenseCount; ++i)
        connect(p->expenseEdit(i), &QLineEdit::textChanged, this, &IncomeOps::ExpenseChange);
    connect(p->netIncomeEdit, &QLineEdit::textChanged, this, &IncomeOps::Edit32Change);
    connect(p->unitRentTableButton, &QToolButton::clicked, this, &IncomeOps::SpeedButton63Click);

    // Clicks run the same reactions as changes, so a click in a field brings
    // the figures up to date even when its text did not change.
    m_rentClickFields = {p->unitRentEdit};
    m_depositClickFields = {p->depositMonthsEdit, p->commercialRateEdit, p->legalRateEdit};
    m_incomeClickFields = {p->grossIncomeEdit, p->netIncomeEdit};
    for (int i = 0; i < kExpenseCount; ++i)
        m_incomeClickFields << p->expenseEdit(i);
    for (const auto *list : {&m_rentClickFields, &m_depositClickFields, &m_incomeClickFields})
        for (QLineEdit *e : *list)
            e->installEventFilter(this);
}

bool IncomeOps::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        auto *edit = qobject_cast<QLineEdit *>(watched);
        if (m_rentClickFields.contains(edit))
            Edit14Change();
        else if (m_depositClickFields.contains(edit))
            DepositOrRateChange();
        else if (m_incomeClickFields.contains(edit))
            IncomeFieldClick();
    }
    return QObject::eventFilter(watched, event);
}

// A failure inside a reaction (the rent table cannot be read, a number that
// is none) ends in the error box; the window stays usable.
void IncomeOps::guarded(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, QString::fromUtf8(e.what()));
    }
}

QString IncomeOps::surface() const
{
    return commercialSurface ? commercialSurface() : QString();
}

bool IncomeOps::greenAreas() const
{
    const ui::TableModel *model = m_window->surfacesPage->model();
    const int column = model->fieldIndex(QStringLiteral("DescrizioneSuperficie"));
    if (column < 0)
        return false;
    QStringList descriptions;
    for (int r = 0; r < model->rowCount(); ++r)
        descriptions << model->index(r, column).data(Qt::EditRole).toString();
    return hasGreenAreas(descriptions);
}

void IncomeOps::SetCanoneMensileDiLocazioneUnitario()
{
    guarded([this] {
        ui::IncomePage *p = m_window->incomePage;
        // The reference rents are in Lire: in Euro they are converted as read.
        const double factor = rentFactor(currency());
        currency().FattoreValuta = factor;
        const RentLookup found = brevan::SetCanoneMensileDiLocazioneUnitario(
            unitRentRows(), m_window->descriptionPage->dateEdit->date().year(),
            selectedZone(m_window->localisationPage), factor);
        p->midRentEdit->setText(found.middle);
        p->minRentEdit->setText(found.minimum);
        p->maxRentEdit->setText(found.maximum);
        p->unitRentEdit->setText(found.unitRent);
    });
    SetHintCanoneLocazione();
}

void IncomeOps::resetUnitRent()
{
    ui::IncomePage *p = m_window->incomePage;
    for (QLineEdit *e : {p->midRentEdit, p->minRentEdit, p->maxRentEdit})
        e->setText(QStringLiteral("0"));
    p->unitRentEdit->clear();
}

void IncomeOps::SetHintCanoneLocazione()
{
    ui::IncomePage *p = m_window->incomePage;
    ui::setHint(p->unitRentEdit, brevan::SetHintCanoneLocazione(p->minRentEdit->text(), p->maxRentEdit->text(),
                                                                 currency().ValutaCorrente));
}

void IncomeOps::clearIncomes()
{
    ui::IncomePage *p = m_window->incomePage;
    p->grossIncomeEdit->clear();
    p->netIncomeEdit->clear();
    RipulisciEditSpese();
}

void IncomeOps::CalcolaRedditoLordoAnnuo()
{
    ui::IncomePage *p = m_window->incomePage;
    const IncomeInputs in{p->unitRentEdit->text(), p->depositMonthsEdit->text(), p->commercialRateEdit->text(),
                          p->legalRateEdit->text(), surface()};
    if (const auto gross = brevan::CalcolaRedditoLordoAnnuo(in))
        p->grossIncomeEdit->setText(*gross);
    else
        clearIncomes();
}

void IncomeOps::writeExpense(int index, const QString &text)
{
    m_window->incomePage->expenseEdit(index)->setText(text);
}

template <typename Propose>
void IncomeOps::proposeExpense(int index, Propose propose)
{
    ui::IncomePage *p = m_window->incomePage;
    const ui::TypologyPage *t = m_window->typologyPage;
    const ui::DescriptionPage *d = m_window->descriptionPage;
    ExpenseInputs in;
    in.RedditoLordoAnnuo = p->grossIncomeEdit->text();
    in.StatoConservExt = t->repairOutsideCombo->currentText();
    in.Ascensore = t->liftCheck->isChecked();
    in.Riscaldamento = t->heatingCheck->isChecked();
    in.RiscaldamentoTipo = t->heatingKindCombo->currentText();
    in.Portineria = t->porterCheck->isChecked();
    in.CategCatastImmob = d->categoryCombo->currentText();
    in.ClasseCatastImmob = d->classEdit->text();
    // Only the administration share depends on the green areas.
    in.areeVerdi = index == static_cast<int>(Expense::Amministrazione) && greenAreas();
    if (const auto text = propose(in, p->expenseEdit(index)->text()))
        writeExpense(index, *text);
}

void IncomeOps::CalcolaSpeseManutenzione()
{
    proposeExpense(0, &brevan::CalcolaSpeseManutenzione);
}

void IncomeOps::CalcolaSpeseAmministrazione()
{
    proposeExpense(1, &brevan::CalcolaSpeseAmministrazione);
}

void IncomeOps::CalcolaSpeseInesigibilita()
{
    proposeExpense(2, &brevan::CalcolaSpeseInesigibilita);
}

void IncomeOps::CalcolaSpeseAssicurazioni()
{
    proposeExpense(3, &brevan::CalcolaSpeseAssicurazioni);
}

void IncomeOps::CalcolaSpeseAliquoteAmmortamento()
{
    proposeExpense(4, &brevan::CalcolaSpeseAliquoteAmmortamento);
}

void IncomeOps::CalcolaSpeseImposte()
{
    proposeExpense(5, &brevan::CalcolaSpeseImposte);
}

void IncomeOps::CalcolaSpeseComplessive()
{
    if (m_window->incomePage->grossIncomeEdit->text().isEmpty())
        return;
    // One at a time: each write recomputes the net income before the next.
    CalcolaSpeseManutenzione();
    CalcolaSpeseAmministrazione();
    CalcolaSpeseInesigibilita();
    CalcolaSpeseAssicurazioni();
    CalcolaSpeseAliquoteAmmortamento();
    CalcolaSpeseImposte();
}

void IncomeOps::RipulisciEditSpese()
{
    for (int i = 0; i < kExpenseCount; ++i)
        m_window->incomePage->expenseEdit(i)->clear();
}

void IncomeOps::CalcolaRedditoNettoAnnuo()
{
    ui::IncomePage *p = m_window->incomePage;
    NetIncomeInputs in;
    in.income = {p->unitRentEdit->text(), p->depositMonthsEdit->text(), p->commercialRateEdit->text(),
                 p->legalRateEdit->text(), QString()};
    in.RedditoLordoAnnuo = p->grossIncomeEdit->text();
    for (int i = 0; i < kExpenseCount; ++i)
        in.expenses[static_cast<std::size_t>(i)] = p->expenseEdit(i)->text();
    const NetIncome net = brevan::CalcolaRedditoNettoAnnuo(in);
    switch (net.outcome) {
    case NetIncome::Outcome::ClearIncomes: clearIncomes(); break;
    case NetIncome::Outcome::Keep:
        // During a currency switch a net income that cannot be computed again
        // from the converted amounts is still in the old currency: it goes,
        // rather than stand as an amount of the new one.
        if (!currency().RicalcoloAttivo)
            p->netIncomeEdit->clear();
        break;
    case NetIncome::Outcome::Write: p->netIncomeEdit->setText(net.text); break;
    }
}

void IncomeOps::SetHintSpese()
{
    ui::IncomePage *p = m_window->incomePage;
    const ExpenseTexts hints = brevan::SetHintSpese(p->grossIncomeEdit->text(), currency().ValutaCorrente);
    for (int i = 0; i < kExpenseCount; ++i)
        ui::setHint(p->expenseEdit(i), hints[static_cast<std::size_t>(i)]);
}

void IncomeOps::SetHintRedditoLordoNetto()
{
    ui::IncomePage *p = m_window->incomePage;
    const IncomeHints hints = brevan::SetHintRedditoLordoNetto(currency().ValutaCorrente);
    ui::setHint(p->grossIncomeEdit, hints.gross);
    ui::setHint(p->netIncomeEdit, hints.net);
}

void IncomeOps::RiproponiSpeseAmministrazione()
{
    if (!currency().RicalcoloAttivo)
        return;
    m_window->incomePage->administrationEdit->clear();
    CalcolaSpeseAmministrazione();
}

void IncomeOps::RiproponiSpeseManutenzione()
{
    if (!currency().RicalcoloAttivo)
        return;
    m_window->incomePage->maintenanceEdit->clear();
    CalcolaSpeseManutenzione();
}

void IncomeOps::RiproponiSpeseImposte()
{
    if (!currency().RicalcoloAttivo)
        return;
    m_window->incomePage->taxesEdit->clear();
    CalcolaSpeseImposte();
}

void IncomeOps::Edit14Change()
{
    ui::IncomePage *p = m_window->incomePage;
    const QString rent = p->unitRentEdit->text();
    const QString middle = p->midRentEdit->text();
    // A rent typed over the proposed one becomes the middle reference rent, so
    // that the currency switch converts what the user typed.
    if (!rent.isEmpty() && !middle.isEmpty()) {
        const auto typed = amountIn(rent);
        const auto current = amountIn(middle);
        if (typed && FormattaImporto(current.value_or(0)) != rent)
            p->midRentEdit->setText(FloatToText(*typed));
    }
    SetHintCanoneLocazione();
    CalcolaRedditoLordoAnnuo();
}

void IncomeOps::DepositOrRateChange()
{
    ui::IncomePage *p = m_window->incomePage;
    if (const auto rent = amountIn(p->unitRentEdit->text()))
        p->unitRentEdit->setText(FormattaImporto(*rent));
    if (depositRefused(p->depositMonthsEdit->text())) {
        ui::Messages::warning(m_window, kDepositWarning);
        p->depositMonthsEdit->clear();
    }
    SetHintCanoneLocazione();
    CalcolaRedditoLordoAnnuo();
}

void IncomeOps::Edit31Change()
{
    if (currency().RicalcoloAttivo) {
        RipulisciEditSpese();
        CalcolaSpeseComplessive();
    }
    CalcolaRedditoNettoAnnuo();
}

void IncomeOps::ExpenseChange()
{
    CalcolaRedditoNettoAnnuo();
    SetHintSpese();
}

void IncomeOps::IncomeFieldClick()
{
    CalcolaRedditoNettoAnnuo();
    ui::IncomePage *p = m_window->incomePage;
    for (int i = 0; i < kExpenseCount; ++i) {
        QLineEdit *e = p->expenseEdit(i);
        if (const auto amount = amountIn(e->text()))
            e->setText(FormattaImporto(*amount));
    }
    SetHintSpese();
}

void IncomeOps::Edit32Change()
{
    Q_EMIT CalcolaCIValoreMercatoRequested();
    Q_EMIT CalcolaCDValoreMercatoRequested();
}

ui::UnitRentEditor *IncomeOps::unitRentEditor()
{
    // Built at its first use and kept, so it stays as the user left it.
    if (!m_rentEditor) {
        m_rentEditor = new ui::UnitRentEditor(m_window->descriptionPage, m_window);
        // What OK writes over the municipality's table can be undone.
        if (m_window->undoOps)
            connect(m_rentEditor, &ui::UnitRentEditor::aboutToWriteTable, m_window->undoOps,
                    &UndoOps::dataTableAboutToChange);
    }
    return m_rentEditor;
}

void IncomeOps::SpeedButton63Click()
{
    // Nothing is recomputed afterwards: the rent is looked up again at the
    // next zone click or change of the appraisal date.
    unitRentEditor()->exec();
}

} // namespace brevan::app
