// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The yearly income of the unit: the unit rent proposed from the
// municipality's reference rents, the gross income, the six expenses proposed
// as shares of it, and the net income that the capitalisation capitalises.
// Amounts stay as the page shows them (number text); nothing here is truncated
// except the middle reference rent.
#include "coefficients.h"
#include "model/currency.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace brevan {

// One row of the unit-rent table layout; rents in Lire per m² per month.
struct UnitRentRow {
    QString Anno;
    QString CanoneLocazMin;
    QString CanoneLocazMax;
    QString Zona;
};

// What the rent lookup writes.
struct RentLookup {
    QString middle = QStringLiteral("0");  // Edit39, plain float text
    QString minimum = QStringLiteral("0"); // Edit40
    QString maximum = QStringLiteral("0"); // Edit41
    QString unitRent;                      // Edit14, "" when no rent was found
    bool operator==(const RentLookup &) const = default;
};

// The factor the reference rents are multiplied by: 1 in Lire, the Euro
// factor in Euro, since the table holds Lire.
double rentFactor(const CurrencyState &currency);

// The last row with this year and the zone's caption wins; a rent text that
// is empty or not a plain number counts as 0, and a 0 minimum or maximum
// means no rent.
RentLookup SetCanoneMensileDiLocazioneUnitario(const QList<UnitRentRow> &rows, int year, Zone zone, double factor);

// Long hint of Edit14, from the hidden minimum and maximum (Edit40, Edit41).
QString SetHintCanoneLocazione(const QString &minimum, const QString &maximum, const QString &ValutaCorrente);

struct IncomeInputs {
    QString CanoneLocazUnit;   // Edit14
    QString NumCauzioni;       // Edit17
    QString SaggioCommerciale; // Edit29, percent
    QString SaggioLegale;      // Edit30, percent
    QString SupCommercImmob;   // plain float text
};

// The gross annual income text, or nullopt when an input is missing (or holds
// no number): then the gross and net incomes and the six expenses are emptied.
std::optional<QString> CalcolaRedditoLordoAnnuo(const IncomeInputs &in);

// The six expenses, Edit33 to Edit38 in this order.
enum class Expense { Manutenzione, Amministrazione, Inesigibilita, Assicurazioni, Ammortamento, Imposte };
inline constexpr int kExpenseCount = 6;
using ExpenseTexts = std::array<QString, kExpenseCount>;

// Persisted name of each expense (SpeseManutenzione … AliquoteTasse), from the record.
QString expenseName(Expense e);

struct ExpenseInputs {
    QString RedditoLordoAnnuo; // Edit31; empty gives amounts of 0
    QString StatoConservExt;
    bool Ascensore = false;
    bool Riscaldamento = false;
    QString RiscaldamentoTipo;
    bool areeVerdi = false; // the surfaces table has a row kAreeVerdi
    bool Portineria = false;
    QString CategCatastImmob;
    QString ClasseCatastImmob;
};

inline const QString kAreeVerdi = QStringLiteral("Aree verdi (quota millesimale)");
// Whether the surfaces table's descriptions include the green-areas row.
bool hasGreenAreas(const QStringList &DescrizioneSuperficie);

// Share of the gross income proposed for an expense.
double expensePercentage(Expense e, const ExpenseInputs &in);
// FormattaImporto(gross × share).
QString proposedExpense(Expense e, const ExpenseInputs &in);

// The named proposals: the text to write, or nullopt when the field already
// holds text (a proposal never replaces what is there).
std::optional<QString> CalcolaSpeseManutenzione(const ExpenseInputs &in, const QString &current);
std::optional<QString> CalcolaSpeseAmministrazione(const ExpenseInputs &in, const QString &current);
std::optional<QString> CalcolaSpeseInesigibilita(const ExpenseInputs &in, const QString &current);
std::optional<QString> CalcolaSpeseAssicurazioni(const ExpenseInputs &in, const QString &current);
std::optional<QString> CalcolaSpeseAliquoteAmmortamento(const ExpenseInputs &in, const QString &current);
std::optional<QString> CalcolaSpeseImposte(const ExpenseInputs &in, const QString &current);

// All six in order: the fields' texts afterwards. With an empty gross income
// nothing is proposed and the texts come back as they were.
ExpenseTexts CalcolaSpeseComplessive(const ExpenseInputs &in, const ExpenseTexts &current);

struct NetIncomeInputs {
    IncomeInputs income; // its surface is not read here
    QString RedditoLordoAnnuo;
    ExpenseTexts expenses;
};

struct NetIncome {
    enum class Outcome {
        ClearIncomes, // an income input is missing: empty gross, net and the six expenses
        Keep,         // the gross income or an expense is empty: the net keeps its text
        Write,
    };
    Outcome outcome = Outcome::Keep;
    QString text;
    bool operator==(const NetIncome &) const = default;
};

// Gross less the six expenses, subtracted in order in extended precision.
NetIncome CalcolaRedditoNettoAnnuo(const NetIncomeInputs &in);

// Long hints of the six expense fields, from the gross income text.
ExpenseTexts SetHintSpese(const QString &RedditoLordoAnnuo, const QString &ValutaCorrente);

struct IncomeHints {
    QString gross; // Edit31
    QString net;   // Edit32
};
IncomeHints SetHintRedditoLordoNetto(const QString &ValutaCorrente);

} // namespace brevan
