// SPDX-License-Identifier: GPL-2.0-or-later
#include "income.h"

#include "model/numbertext.h"
#include "model/record.h"

#include <cmath>

namespace brevan {

namespace {

constexpr int kFirstExpenseField = 101; // SpeseManutenzione

struct JudgmentRow {
    const char *text;
    double value;
};

// By the judgment of the exterior state of repair.
constexpr JudgmentRow kManutenzione[] = {
    {"Scarso", 0.06}, {"Mediocre", 0.0503}, {"Sufficiente", 0.04}, {"Buono", 0.035}, {"Ottimo", 0.03},
};

// The administration rules are evaluated in order and every rule that holds
// replaces the share, so the last one that holds wins.
enum class Need { Any, Yes, No };
struct AdministrationRule {
    Need lift;
    Need heating;
    const char *heatingType; // nullptr: any
    Need green;
    Need porter;
    double share;
};
constexpr AdministrationRule kAmministrazione[] = {
    {Need::No, Need::No, nullptr, Need::Any, Need::Any, 0.005},
    {Need::Any, Need::Yes, "Pompa di calore", Need::Any, Need::Any, 0.005},
    {Need::Yes, Need::Any, nullptr, Need::Any, Need::Any, 0.01},
    {Need::Any, Need::Yes, "Centralizzato", Need::Any, Need::Any, 0.02},
    {Need::Yes, Need::Yes, "Centralizzato", Need::Any, Need::Any, 0.03},
    {Need::Yes, Need::Yes, "Centralizzato", Need::Yes, Need::Any, 0.035},
    {Need::Yes, Need::Yes, "Centralizzato", Need::Yes, Need::Yes, 0.04},
};

// Category as chosen, class exactly as typed; "A/4" has no class "4".
struct TaxRow {
    const char *category;
    const char *cadastralClass;
    double share;
};
constexpr TaxRow kImposte[] = {
    {"A/2", "4", 0.30}, {"A/2", "3", 0.295}, {"A/2", "2", 0.29}, {"A/2", "1", 0.285},
    {"A/3", "4", 0.28}, {"A/3", "3", 0.27},  {"A/3", "2", 0.26}, {"A/3", "1", 0.25},
    {"A/4", "3", 0.26}, {"A/4", "2", 0.25},  {"A/4", "1", 0.24},
};

// The largest usual incidence of each expense, for its hint.
struct ExpenseHintRow {
    const char *item;
    double share;
};
constexpr ExpenseHintRow kExpenseHints[kExpenseCount] = {
    {"Spese di manutenzione ordinaria e straordinaria", 0.06},
    {"Spese per servizi e amministrazione", 0.04},
    {"Alee per sfitti e inesigibilità", 0.02},
    {"Spese per assicurazioni", 0.025},
    {"Aliquote di ammortamento", 0.05},
    {"Aliquote per imposte e tasse", 0.3},
};

bool meets(Need need, bool value)
{
    return need == Need::Any || (need == Need::Yes) == value;
}

double administrationShare(const ExpenseInputs &in)
{
    double share = 0;
    for (const AdministrationRule &r : kAmministrazione) {
        const bool typeOk = !r.heatingType || in.RiscaldamentoTipo == QString::fromUtf8(r.heatingType);
        if (meets(r.lift, in.Ascensore) && meets(r.heating, in.Riscaldamento) && typeOk
            && meets(r.green, in.areeVerdi) && meets(r.porter, in.Portineria))
            share = r.share;
    }
    return share;
}

double maintenanceShare(const QString &judgment)
{
    for (const JudgmentRow &row : kManutenzione) {
        if (judgment == QString::fromUtf8(row.text))
            return row.value;
    }
    return 0;
}

double taxShare(const QString &category, const QString &cadastralClass)
{
    for (const TaxRow &row : kImposte) {
        if (category == QString::fromUtf8(row.category) && cadastralClass == QString::fromUtf8(row.cadastralClass))
            return row.share;
    }
    return 0;
}

// A missing rent or plainly unreadable text counts as 0, which means no rent.
double rentIn(const QString &text)
{
    return plainNumberIn(text).value_or(0);
}

std::optional<QString> proposeInto(Expense e, const ExpenseInputs &in, const QString &current)
{
    if (!current.isEmpty())
        return std::nullopt;
    return proposedExpense(e, in);
}

} // namespace

double rentFactor(const CurrencyState &state)
{
    return state.euroInForce() ? kFattoreEuro : 1.0;
}

RentLookup SetCanoneMensileDiLocazioneUnitario(const QList<UnitRentRow> &rows, int year, Zone zone, double factor)
{
    RentLookup out;
    if (zone == Zone::None)
        return out;
    const QString yearText = QString::number(year);
    const QString zoneText = zoneCaption(zone);
    double minimum = 0;
    double maximum = 0;
    for (const UnitRentRow &row : rows) {
        if (row.Anno == yearText && row.Zona == zoneText) {
            minimum = rentIn(row.CanoneLocazMin);
            maximum = rentIn(row.CanoneLocazMax);
        }
    }
    if (minimum == 0 || maximum == 0)
        return out;
    const double middle = std::trunc((minimum + maximum) / 2);
    out.middle = FloatToText(middle * factor);
    out.minimum = FloatToText(minimum * factor);
    out.maximum = FloatToText(maximum * factor);
    out.unitRent = FormattaImporto(middle * factor);
    return out;
}

QString SetHintCanoneLocazione(const QString &minimum, const QString &maximum, const QString &ValutaCorrente)
{
    const QString zero = QStringLiteral("0");
    if (minimum != zero && maximum != zero) {
        const auto lo = plainNumberIn(minimum);
        const auto hi = plainNumberIn(maximum);
        if (lo && hi)
            return QStringLiteral("|Canone mensile di locazione unitario variabile fra un minimo di ") + FormattaImporto(*lo)
                + ValutaCorrente + QStringLiteral(" e un massimo di ") + FormattaImporto(*hi) + ValutaCorrente
                + QStringLiteral(".");
    }
    return QStringLiteral("|Canone mensile di locazione unitario in") + ValutaCorrente + QStringLiteral(".");
}

std::optional<QString> CalcolaRedditoLordoAnnuo(const IncomeInputs &in)
{
    const auto u = amountIn(in.CanoneLocazUnit);
    const auto n = amountIn(in.NumCauzioni);
    const auto rc = amountIn(in.SaggioCommerciale);
    const auto rl = amountIn(in.SaggioLegale);
    const auto s = in.SupCommercImmob.isEmpty() ? std::nullopt : plainNumberIn(in.SupCommercImmob);
    if (!u || !n || !rc || !rl || !s)
        return std::nullopt;
    const double monthly = *u * *s;
    const double depositYield = monthly * *n * *rc / 100;
    const double legalInterest = monthly * *n * *rl / 100;
    // Twelve rents paid in advance, each earning the commercial rate for the
    // months left in the year: 1 + 2 + … + 12 = 78 months in all.
    const double rents = monthly * (*rc * 78 / 1200 + 12);
    return FormattaImporto(rents + depositYield - legalInterest);
}

QString expenseName(Expense e)
{
    return QString::fromLatin1(recordFields()[static_cast<std::size_t>(kFirstExpenseField - 1 + static_cast<int>(e))].name);
}

bool hasGreenAreas(const QStringList &DescrizioneSuperficie)
{
    return DescrizioneSuperficie.contains(kAreeVerdi);
}

double expensePercentage(Expense e, const ExpenseInputs &in)
{
    switch (e) {
    case Expense::Manutenzione: return maintenanceShare(in.StatoConservExt);
    case Expense::Amministrazione: return administrationShare(in);
    case Expense::Imposte: return taxShare(in.CategCatastImmob, in.ClasseCatastImmob);
    // Proposed as 0 for the user to type.
    case Expense::Inesigibilita:
    case Expense::Assicurazioni:
    case Expense::Ammortamento: break;
    }
    return 0;
}

QString proposedExpense(Expense e, const ExpenseInputs &in)
{
    const double gross = amountIn(in.RedditoLordoAnnuo).value_or(0);
    return FormattaImporto(gross * expensePercentage(e, in));
}

std::optional<QString> CalcolaSpeseManutenzione(const ExpenseInputs &in, const QString &current)
{
    return proposeInto(Expense::Manutenzione, in, current);
}

std::optional<QString> CalcolaSpeseAmministrazione(const ExpenseInputs &in, const QString &current)
{
    return proposeInto(Expense::Amministrazione, in, current);
}

std::optional<QString> CalcolaSpeseInesigibilita(const ExpenseInputs &in, const QString &current)
{
    return proposeInto(Expense::Inesigibilita, in, current);
}

std::optional<QString> CalcolaSpeseAssicurazioni(const ExpenseInputs &in, const QString &current)
{
    return proposeInto(Expense::Assicurazioni, in, current);
}

std::optional<QString> CalcolaSpeseAliquoteAmmortamento(const ExpenseInputs &in, const QString &current)
{
    return proposeInto(Expense::Ammortamento, in, current);
}

std::optional<QString> CalcolaSpeseImposte(const ExpenseInputs &in, const QString &current)
{
    return proposeInto(Expense::Imposte, in, current);
}

ExpenseTexts CalcolaSpeseComplessive(const ExpenseInputs &in, const ExpenseTexts &current)
{
    ExpenseTexts out = current;
    if (in.RedditoLordoAnnuo.isEmpty())
        return out;
    for (int i = 0; i < kExpenseCount; ++i) {
        const auto idx = static_cast<std::size_t>(i);
        if (const auto text = proposeInto(static_cast<Expense>(i), in, current[idx]))
            out[idx] = *text;
    }
    return out;
}

NetIncome CalcolaRedditoNettoAnnuo(const NetIncomeInputs &in)
{
    const IncomeInputs &inc = in.income;
    if (!amountIn(inc.CanoneLocazUnit) || !amountIn(inc.NumCauzioni) || !amountIn(inc.SaggioCommerciale)
        || !amountIn(inc.SaggioLegale))
        return {NetIncome::Outcome::ClearIncomes, {}};
    const auto gross = amountIn(in.RedditoLordoAnnuo);
    if (!gross)
        return {};
    long double net = *gross;
    for (const QString &expense : in.expenses) {
        const auto amount = amountIn(expense);
        if (!amount)
            return {};
        net -= *amount;
    }
    return {NetIncome::Outcome::Write, FormattaImporto(static_cast<double>(net))};
}

ExpenseTexts SetHintSpese(const QString &RedditoLordoAnnuo, const QString &ValutaCorrente)
{
    ExpenseTexts out;
    const auto gross = amountIn(RedditoLordoAnnuo);
    for (int i = 0; i < kExpenseCount; ++i) {
        const ExpenseHintRow &row = kExpenseHints[i];
        const QString item = QString::fromUtf8(row.item);
        out[static_cast<std::size_t>(i)] = gross
            ? QStringLiteral("|") + item + QStringLiteral(": l'incidenza massima è di circa ")
                + FormattaImporto(*gross * row.share) + ValutaCorrente + QStringLiteral(".")
            : QStringLiteral("|") + item + QStringLiteral(" in") + ValutaCorrente + QStringLiteral(".");
    }
    return out;
}

IncomeHints SetHintRedditoLordoNetto(const QString &ValutaCorrente)
{
    return {
        QStringLiteral("|Reddito lordo annuo in") + ValutaCorrente + QStringLiteral("."),
        QStringLiteral("|Reddito netto annuo in") + ValutaCorrente + QStringLiteral("."),
    };
}

} // namespace brevan
