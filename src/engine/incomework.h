// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The reactions of the page "Caratteristiche produttive": the rent looked up
// from the municipality's reference rents, the gross income, the six proposed
// expenses and the net income. The arithmetic and the texts are the income
// computations of valuation/income.h; this class reads and writes the fields.
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace brevan::engine {

class Fields;
class Notices;

class IncomeWork : public QObject {
    Q_OBJECT
public:
    // Watches the page's fields from now on.
    IncomeWork(Fields &fields, Notices &notices, QObject *parent = nullptr);

    // The commercial surface as plain float text, "" while it has not been
    // computed. Pointed at the surfaces work by the wiring; empty by default.
    std::function<QString()> commercialSurface;
    // The descriptions of the surfaces table's rows; none by default.
    std::function<QStringList()> surfaceDescriptions;

public Q_SLOTS:
    void SetCanoneMensileDiLocazioneUnitario();
    void SetHintCanoneLocazione();
    void CalcolaRedditoLordoAnnuo();
    void CalcolaSpeseComplessive();
    void CalcolaSpeseManutenzione();
    void CalcolaSpeseAmministrazione();
    void CalcolaSpeseInesigibilita();
    void CalcolaSpeseAssicurazioni();
    void CalcolaSpeseAliquoteAmmortamento();
    void CalcolaSpeseImposte();
    void RipulisciEditSpese();
    void CalcolaRedditoNettoAnnuo();
    void SetHintSpese();
    void SetHintRedditoLordoNetto();
    void resetUnitRent();
    void RiproponiSpeseAmministrazione();
    void RiproponiSpeseManutenzione();
    void RiproponiSpeseImposte();

    void Edit14Change();        // change or click of the unit rent
    void DepositOrRateChange(); // change or click of Edit17, Edit29, Edit30
    void Edit31Change();        // change of the gross income
    void ExpenseChange();       // change of any of Edit33 to Edit38
    void IncomeFieldClick();    // click of the gross, the net or an expense
    void Edit32Change();        // change of the net income

Q_SIGNALS:
    // A new net income: the value by income, then the value by comparison.
    void CalcolaCIValoreMercatoRequested();
    void CalcolaCDValoreMercatoRequested();

private:
    template <typename Propose>
    void proposeExpense(int index, Propose propose);
    void clearIncomes();
    bool greenAreas() const;
    QString surface() const;
    void guarded(const std::function<void()> &fn);

    Fields &m_fields;
    Notices &m_notices;
};

// The six expense fields, in the page's order.
QString expenseField(int index);

} // namespace brevan::engine
