// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The reactions of the page "Caratteristiche produttive": the rent looked up
// from the municipality's reference rents, the gross income, the six proposed
// expenses and the net income. The arithmetic and the texts are the income
// computations of valuation/income.h; this class reads and writes the fields.
#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;

namespace brevan::ui {
class UnitRentEditor;
}

namespace brevan::app {

class MainWindow;

class IncomeOps : public QObject {
    Q_OBJECT
public:
    explicit IncomeOps(MainWindow *window, QObject *parent = nullptr);

    // The commercial surface as plain float text, "" while it has not been
    // computed. Pointed at the surfaces work by the wiring; empty by default.
    std::function<QString()> commercialSurface;

    // The dialog behind the "..." button, created once with the window.
    // The unit-rent editor, built at its first use.
    ui::UnitRentEditor *unitRentEditor();

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
    // No municipality, or a new appraisal: the reference rents become "0" and
    // the unit rent is emptied.
    void resetUnitRent();

    // The single-item triggers of the other pages: while no conversion runs,
    // the expense is emptied and proposed afresh; during one, nothing happens
    // (the conversion converts the amount itself).
    void RiproponiSpeseAmministrazione(); // lift, heating, porter, their kinds, typological judgments
    void RiproponiSpeseManutenzione();    // exterior state of repair
    void RiproponiSpeseImposte();         // cadastral category or class

    // The page's own events.
    void Edit14Change();          // change or click of the unit rent
    void DepositOrRateChange();   // change or click of Edit17, Edit29, Edit30
    void Edit31Change();          // change of the gross income
    void ExpenseChange();         // change of any of Edit33 to Edit38
    void IncomeFieldClick();      // click of the gross, the net or an expense
    void Edit32Change();          // change of the net income
    void SpeedButton63Click();    // the unit-rent editor, modal

Q_SIGNALS:
    // A new net income: the value by income, then the value by comparison.
    void CalcolaCIValoreMercatoRequested();
    void CalcolaCDValoreMercatoRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void writeExpense(int index, const QString &text);
    template <typename Propose>
    void proposeExpense(int index, Propose propose);
    void clearIncomes();
    bool greenAreas() const;
    QString surface() const;
    void guarded(const std::function<void()> &fn);

    MainWindow *m_window;
    ui::UnitRentEditor *m_rentEditor = nullptr;
    QList<QLineEdit *> m_rentClickFields;
    QList<QLineEdit *> m_depositClickFields;
    QList<QLineEdit *> m_incomeClickFields;
};

} // namespace brevan::app
