// SPDX-License-Identifier: GPL-2.0-or-later
#include "incomework.h"

#include "engine/fields.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "store/datafolder.h"
#include "store/tablestore.h"
#include "valuation/income.h"

#include <array>

namespace brevan::engine {

namespace {

const QString kDepositWarning =
    QStringLiteral("Il numero delle cauzioni non può essere nullo o \nsuperare le tre mensilità previste dalla legge.");

// The page's fields, by name.
const QString kUnitRent = QStringLiteral("CanoneLocazUnit");
const QString kDepositMonths = QStringLiteral("NumCauzioni");
const QString kCommercialRate = QStringLiteral("SaggioCommerciale");
const QString kLegalRate = QStringLiteral("SaggioLegale");
const QString kGrossIncome = QStringLiteral("RedditoLordoAnnuo");
const QString kNetIncome = QStringLiteral("RedditoNettoAnnuo");
// The hidden reference rents: middle, lowest, highest.
const QString kMidRent = QStringLiteral("Edit39");
const QString kMinRent = QStringLiteral("Edit40");
const QString kMaxRent = QStringLiteral("Edit41");

constexpr std::array<const char *, kExpenseCount> kExpenseFields = {
    "SpeseManutenzione", "SpeseAmministraz", "AleeSfitti", "SpeseAssicurazioni", "AliquoteAmmortam", "AliquoteTasse"};

// The deposit may be neither nil nor more than the three months the law
// allows. The comparison is on the text, as typed (one digit).
bool depositRefused(const QString &months)
{
    return months == QStringLiteral("0") || QString::compare(months, QStringLiteral("3")) > 0;
}

Zone selectedZone(const Fields &f)
{
    if (f.isChecked(QStringLiteral("ZonaCentrImmob")))
        return Zone::Centrale;
    if (f.isChecked(QStringLiteral("ZonaIntermImmob")))
        return Zone::Intermedia;
    if (f.isChecked(QStringLiteral("ZonaPeriferImmob")))
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

QString expenseField(int index)
{
    return index >= 0 && index < kExpenseCount ? QString::fromLatin1(kExpenseFields[static_cast<size_t>(index)])
                                               : QString();
}

IncomeWork::IncomeWork(Fields &fields, Notices &notices, QObject *parent)
    : QObject(parent), m_fields(fields), m_notices(notices)
{
    fields.whenTextChanged(kUnitRent, this, [this] { Edit14Change(); });
    for (const QString &name : {kDepositMonths, kCommercialRate, kLegalRate})
        fields.whenTextChanged(name, this, [this] { DepositOrRateChange(); });
    fields.whenTextChanged(kGrossIncome, this, [this] { Edit31Change(); });
    for (int i = 0; i < kExpenseCount; ++i)
        fields.whenTextChanged(expenseField(i), this, [this] { ExpenseChange(); });
    fields.whenTextChanged(kNetIncome, this, [this] { Edit32Change(); });
}

// A failure inside a reaction (the rent table cannot be read, a number that
// is none) ends in the error box; the work goes on.
void IncomeWork::guarded(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const std::exception &e) {
        m_notices.error(QString::fromUtf8(e.what()));
    }
}

QString IncomeWork::surface() const
{
    return commercialSurface ? commercialSurface() : QString();
}

bool IncomeWork::greenAreas() const
{
    return surfaceDescriptions && hasGreenAreas(surfaceDescriptions());
}

void IncomeWork::SetCanoneMensileDiLocazioneUnitario()
{
    guarded([this] {
        // The reference rents are in Lire: in Euro they are converted as read.
        const double factor = rentFactor(currency());
        currency().FattoreValuta = factor;
        const RentLookup found = brevan::SetCanoneMensileDiLocazioneUnitario(
            unitRentRows(), m_fields.date(QStringLiteral("DataStimaImmob")).year(), selectedZone(m_fields), factor);
        m_fields.setText(kMidRent, found.middle);
        m_fields.setText(kMinRent, found.minimum);
        m_fields.setText(kMaxRent, found.maximum);
        m_fields.setText(kUnitRent, found.unitRent);
    });
    SetHintCanoneLocazione();
}

void IncomeWork::resetUnitRent()
{
    for (const QString &name : {kMidRent, kMinRent, kMaxRent})
        m_fields.setText(name, QStringLiteral("0"));
    m_fields.clear(kUnitRent);
}

void IncomeWork::SetHintCanoneLocazione()
{
    m_fields.setHint(kUnitRent, brevan::SetHintCanoneLocazione(m_fields.text(kMinRent), m_fields.text(kMaxRent),
                                                               currency().ValutaCorrente));
}

void IncomeWork::clearIncomes()
{
    m_fields.clear(kGrossIncome);
    m_fields.clear(kNetIncome);
    RipulisciEditSpese();
}

void IncomeWork::CalcolaRedditoLordoAnnuo()
{
    const IncomeInputs in{m_fields.text(kUnitRent), m_fields.text(kDepositMonths), m_fields.text(kCommercialRate),
                          m_fields.text(kLegalRate), surface()};
    if (const auto gross = brevan::CalcolaRedditoLordoAnnuo(in))
        m_fields.setText(kGrossIncome, *gross);
    else
        clearIncomes();
}

template <typename Propose>
void IncomeWork::proposeExpense(int index, Propose propose)
{
    ExpenseInputs in;
    in.RedditoLordoAnnuo = m_fields.text(kGrossIncome);
    in.StatoConservExt = m_fields.text(QStringLiteral("StatoConservExt"));
    in.Ascensore = m_fields.isChecked(QStringLiteral("Ascensore"));
    in.Riscaldamento = m_fields.isChecked(QStringLiteral("Riscaldamento"));
    in.RiscaldamentoTipo = m_fields.text(QStringLiteral("RiscaldamentoTipo"));
    in.Portineria = m_fields.isChecked(QStringLiteral("Portineria"));
    in.CategCatastImmob = m_fields.text(QStringLiteral("CategCatastImmob"));
    in.ClasseCatastImmob = m_fields.text(QStringLiteral("ClasseCatastImmob"));
    // Only the administration share depends on the green areas.
    in.areeVerdi = index == static_cast<int>(Expense::Amministrazione) && greenAreas();
    if (const auto text = propose(in, m_fields.text(expenseField(index))))
        m_fields.setText(expenseField(index), *text);
}

void IncomeWork::CalcolaSpeseManutenzione()
{
    proposeExpense(0, &brevan::CalcolaSpeseManutenzione);
}

void IncomeWork::CalcolaSpeseAmministrazione()
{
    proposeExpense(1, &brevan::CalcolaSpeseAmministrazione);
}

void IncomeWork::CalcolaSpeseInesigibilita()
{
    proposeExpense(2, &brevan::CalcolaSpeseInesigibilita);
}

void IncomeWork::CalcolaSpeseAssicurazioni()
{
    proposeExpense(3, &brevan::CalcolaSpeseAssicurazioni);
}

void IncomeWork::CalcolaSpeseAliquoteAmmortamento()
{
    proposeExpense(4, &brevan::CalcolaSpeseAliquoteAmmortamento);
}

void IncomeWork::CalcolaSpeseImposte()
{
    proposeExpense(5, &brevan::CalcolaSpeseImposte);
}

void IncomeWork::CalcolaSpeseComplessive()
{
    if (m_fields.text(kGrossIncome).isEmpty())
        return;
    // One at a time: each write recomputes the net income before the next.
    CalcolaSpeseManutenzione();
    CalcolaSpeseAmministrazione();
    CalcolaSpeseInesigibilita();
    CalcolaSpeseAssicurazioni();
    CalcolaSpeseAliquoteAmmortamento();
    CalcolaSpeseImposte();
}

void IncomeWork::RipulisciEditSpese()
{
    for (int i = 0; i < kExpenseCount; ++i)
        m_fields.clear(expenseField(i));
}

void IncomeWork::CalcolaRedditoNettoAnnuo()
{
    NetIncomeInputs in;
    in.income = {m_fields.text(kUnitRent), m_fields.text(kDepositMonths), m_fields.text(kCommercialRate),
                 m_fields.text(kLegalRate), QString()};
    in.RedditoLordoAnnuo = m_fields.text(kGrossIncome);
    for (int i = 0; i < kExpenseCount; ++i)
        in.expenses[static_cast<std::size_t>(i)] = m_fields.text(expenseField(i));
    const NetIncome net = brevan::CalcolaRedditoNettoAnnuo(in);
    switch (net.outcome) {
    case NetIncome::Outcome::ClearIncomes: clearIncomes(); break;
    case NetIncome::Outcome::Keep:
        // During a currency switch a net income that cannot be computed again
        // from the converted amounts is still in the old currency: it goes,
        // rather than stand as an amount of the new one.
        if (!currency().RicalcoloAttivo)
            m_fields.clear(kNetIncome);
        break;
    case NetIncome::Outcome::Write: m_fields.setText(kNetIncome, net.text); break;
    }
}

void IncomeWork::SetHintSpese()
{
    const ExpenseTexts hints = brevan::SetHintSpese(m_fields.text(kGrossIncome), currency().ValutaCorrente);
    for (int i = 0; i < kExpenseCount; ++i)
        m_fields.setHint(expenseField(i), hints[static_cast<std::size_t>(i)]);
}

void IncomeWork::SetHintRedditoLordoNetto()
{
    const IncomeHints hints = brevan::SetHintRedditoLordoNetto(currency().ValutaCorrente);
    m_fields.setHint(kGrossIncome, hints.gross);
    m_fields.setHint(kNetIncome, hints.net);
}

void IncomeWork::RiproponiSpeseAmministrazione()
{
    if (!currency().RicalcoloAttivo)
        return;
    m_fields.clear(expenseField(1));
    CalcolaSpeseAmministrazione();
}

void IncomeWork::RiproponiSpeseManutenzione()
{
    if (!currency().RicalcoloAttivo)
        return;
    m_fields.clear(expenseField(0));
    CalcolaSpeseManutenzione();
}

void IncomeWork::RiproponiSpeseImposte()
{
    if (!currency().RicalcoloAttivo)
        return;
    m_fields.clear(expenseField(5));
    CalcolaSpeseImposte();
}

void IncomeWork::Edit14Change()
{
    const QString rent = m_fields.text(kUnitRent);
    const QString middle = m_fields.text(kMidRent);
    // A rent typed over the proposed one becomes the middle reference rent, so
    // that the currency switch converts what the user typed.
    if (!rent.isEmpty() && !middle.isEmpty()) {
        const auto typed = amountIn(rent);
        const auto current = amountIn(middle);
        if (typed && FormattaImporto(current.value_or(0)) != rent)
            m_fields.setText(kMidRent, FloatToText(*typed));
    }
    SetHintCanoneLocazione();
    CalcolaRedditoLordoAnnuo();
}

void IncomeWork::DepositOrRateChange()
{
    if (const auto rent = amountIn(m_fields.text(kUnitRent)))
        m_fields.setText(kUnitRent, FormattaImporto(*rent));
    if (depositRefused(m_fields.text(kDepositMonths))) {
        m_notices.warning(kDepositWarning);
        m_fields.clear(kDepositMonths);
    }
    SetHintCanoneLocazione();
    CalcolaRedditoLordoAnnuo();
}

void IncomeWork::Edit31Change()
{
    if (currency().RicalcoloAttivo) {
        RipulisciEditSpese();
        CalcolaSpeseComplessive();
    }
    CalcolaRedditoNettoAnnuo();
}

void IncomeWork::ExpenseChange()
{
    CalcolaRedditoNettoAnnuo();
    SetHintSpese();
}

void IncomeWork::IncomeFieldClick()
{
    CalcolaRedditoNettoAnnuo();
    for (int i = 0; i < kExpenseCount; ++i) {
        const QString name = expenseField(i);
        if (const auto amount = amountIn(m_fields.text(name)))
            m_fields.setText(name, FormattaImporto(*amount));
    }
    SetHintSpese();
}

void IncomeWork::Edit32Change()
{
    Q_EMIT CalcolaCIValoreMercatoRequested();
    Q_EMIT CalcolaCDValoreMercatoRequested();
}

} // namespace brevan::engine
