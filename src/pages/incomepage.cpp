// SPDX-License-Identifier: GPL-2.0-or-later
#include "incomepage.h"

#include "model/currency.h"

#include <iterator>

namespace brevan::ui {

namespace {

// Geometry of the panel, in pixels: both groups span the panel, and every
// field starts at one column so the two groups read as one form.
constexpr int kGroupLeft = 8;
constexpr int kGroupWidth = kCentredPanelWidth - 2 * kGroupLeft;
constexpr int kLabelLeft = 10;
constexpr int kFieldLeft = 252;
constexpr int kRowTop = 20;
constexpr int kRowPitch = 25;
constexpr int kEditHeight = 21;
constexpr int kAmountWidth = 118;
constexpr int kRateWidth = 50;
constexpr int kMonthsWidth = 22;

constexpr int kProductiveTop = 8;
constexpr int kProductiveRows = 4;
constexpr int kIncomeRows = 8;
constexpr int groupHeight(int rows) { return kRowTop + rows * kRowPitch + 4; }
constexpr int kIncomeTop = kProductiveTop + groupHeight(kProductiveRows) + 6;

// The expenses in their fixed order: field and the item text of its hint.
struct ExpenseRow {
    const char *field;
    const char *caption;
    const char *item;
};
constexpr ExpenseRow kExpenses[6] = {
    {"SpeseManutenzione", "Spese di manutenzione ordinaria e straordinaria:",
     "Spese di manutenzione ordinaria e straordinaria"},
    {"SpeseAmministraz", "Spese per servizi e amministrazione:", "Spese per servizi e amministrazione"},
    {"AleeSfitti", "Alee per sfitti e inesigibilità:", "Alee per sfitti e inesigibilità"},
    {"SpeseAssicurazioni", "Spese per assicurazioni:", "Spese per assicurazioni"},
    {"AliquoteAmmortam", "Aliquote di ammortamento:", "Aliquote di ammortamento"},
    {"AliquoteTasse", "Aliquote per imposte e tasse:", "Aliquote per imposte e tasse"},
};

int rowTop(int row) { return kRowTop + row * kRowPitch; }

// A caption left of the field column, centred on the field's row.
QLabel *rowLabel(const QString &caption, QWidget *group, int row)
{
    QLabel *l = makeLabel(caption, group);
    fitToText(l);
    l->move(kLabelLeft, rowTop(row) + (kEditHeight - l->height()) / 2);
    return l;
}

QLineEdit *rowField(const char *fieldName, const QString &caption, QWidget *group, int row, int width)
{
    QLineEdit *e = makeFieldEdit(fieldName, group);
    e->setGeometry(kFieldLeft, rowTop(row), width, kEditHeight);
    QLabel *l = rowLabel(caption, group, row);
    l->setBuddy(e);
    return e;
}

QLabel *percentLabel(QLineEdit *rate, QWidget *group)
{
    QLabel *l = makeLabel(QStringLiteral("%"), group);
    fitToText(l);
    l->move(rate->geometry().right() + 5, rate->y() + (kEditHeight - l->height()) / 2);
    return l;
}

QLineEdit *hiddenEdit(const QString &objectName, const QString &text, QWidget *parent)
{
    QLineEdit *e = makeEdit(objectName, 0, KeyFilter::None, parent);
    e->setText(text);
    e->hide();
    return e;
}

} // namespace

IncomePage::IncomePage(QWidget *parent) : CentredPage(parent)
{
    setWindowTitle(QStringLiteral("Caratteristiche produttive"));
    QWidget *p = panel();

    productiveGroup = makeGroup(QStringLiteral("Caratteristiche produttive"), p);
    productiveGroup->setGeometry(kGroupLeft, kProductiveTop, kGroupWidth, groupHeight(kProductiveRows));

    unitRentEdit = rowField("CanoneLocazUnit", QStringLiteral("Canone mensile di locazione unitario:"),
                            productiveGroup, 0, kAmountWidth);
    // Shown once a municipality is chosen: only then is there a table of rents to edit.
    unitRentTableButton = makeToolButton(
        QStringLiteral("SpeedButton63"), QIcon(),
        QStringLiteral("|Imposta canone mensile di locazione unitario per il Comune selezionato."), productiveGroup);
    unitRentTableButton->setText(QStringLiteral("..."));
    unitRentTableButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    unitRentTableButton->setFont(pageFont());
    unitRentTableButton->move(unitRentEdit->geometry().right() + 3, rowTop(0) - (22 - kEditHeight) / 2);
    unitRentTableButton->hide();

    depositMonthsEdit = rowField("NumCauzioni", QStringLiteral("Numero delle mensilità richieste in cauzione:"),
                                 productiveGroup, 1, kMonthsWidth);
    depositMonthsEdit->setAlignment(Qt::AlignCenter);
    commercialRateEdit = rowField("SaggioCommerciale", QStringLiteral("Saggio d'interesse commerciale:"),
                                  productiveGroup, 2, kRateWidth);
    percentLabel(commercialRateEdit, productiveGroup);
    legalRateEdit = rowField("SaggioLegale", QStringLiteral("Saggio d'interesse legale:"), productiveGroup, 3,
                             kRateWidth);
    percentLabel(legalRateEdit, productiveGroup);

    midRentEdit = hiddenEdit(QStringLiteral("Edit39"), QStringLiteral("0"), productiveGroup);
    minRentEdit = hiddenEdit(QStringLiteral("Edit40"), QStringLiteral("0"), productiveGroup);
    maxRentEdit = hiddenEdit(QStringLiteral("Edit41"), QStringLiteral("0"), productiveGroup);

    incomeGroup = makeGroup(QStringLiteral("Redditi e spese annui"), p);
    incomeGroup->setGeometry(kGroupLeft, kIncomeTop, kGroupWidth, groupHeight(kIncomeRows));

    grossIncomeEdit =
        rowField("RedditoLordoAnnuo", QStringLiteral("Reddito lordo annuo:"), incomeGroup, 0, kAmountWidth);
    grossIncomeEdit->setReadOnly(true);
    QLineEdit **expenses[6] = {&maintenanceEdit,  &administrationEdit, &vacancyEdit,
                               &insuranceEdit,    &depreciationEdit,   &taxesEdit};
    for (int i = 0; i < 6; ++i) {
        *expenses[i] = rowField(kExpenses[i].field, QString::fromUtf8(kExpenses[i].caption), incomeGroup, i + 1,
                                kAmountWidth);
        expenseShadowEdits[i] = hiddenEdit(QStringLiteral("Edit%1").arg(43 + i), QString(), incomeGroup);
    }
    netIncomeEdit =
        rowField("RedditoNettoAnnuo", QStringLiteral("Reddito netto annuo:"), incomeGroup, 7, kAmountWidth);
    netIncomeEdit->setReadOnly(true);

    // Amounts read from the right, like figures on paper.
    for (QLineEdit *e : {unitRentEdit, commercialRateEdit, legalRateEdit, grossIncomeEdit, netIncomeEdit})
        e->setAlignment(Qt::AlignRight);
    for (int i = 0; i < 6; ++i)
        expenseEdit(i)->setAlignment(Qt::AlignRight);

    // The hints that name the currency, as they read while nothing has been
    // entered; the valuation rewrites them as values arrive.
    const QString &v = currency().ValutaCorrente;
    setHint(unitRentEdit, QStringLiteral("|Canone mensile di locazione unitario in") + v + QLatin1Char('.'));
    setHint(grossIncomeEdit, QStringLiteral("|Reddito lordo annuo in") + v + QLatin1Char('.'));
    setHint(netIncomeEdit, QStringLiteral("|Reddito netto annuo in") + v + QLatin1Char('.'));
    for (int i = 0; i < 6; ++i)
        setHint(expenseEdit(i),
                QLatin1Char('|') + QString::fromUtf8(kExpenses[i].item) + QStringLiteral(" in") + v + QLatin1Char('.'));

    // Tab order follows the rows, top to bottom.
    QWidget *order[] = {unitRentEdit,     depositMonthsEdit, commercialRateEdit, legalRateEdit,
                        grossIncomeEdit,  maintenanceEdit,   administrationEdit, vacancyEdit,
                        insuranceEdit,    depreciationEdit,  taxesEdit,          netIncomeEdit};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QLineEdit *IncomePage::expenseEdit(int i) const
{
    QLineEdit *const all[6] = {maintenanceEdit, administrationEdit, vacancyEdit,
                               insuranceEdit,   depreciationEdit,   taxesEdit};
    return (i >= 0 && i < 6) ? all[i] : nullptr;
}

} // namespace brevan::ui
