// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two market values and the currency switch behind the window: the work
// of engine/valuework.h on the pages' controls and window->coefficients, with
// the status bar's note, the comparables' grid, the hints of its cost editors
// and the two buttons of the switch.
#include "engine/valuework.h"

#include <memory>

class QToolButton;

namespace brevan::app {

class MainWindow;
struct WindowFields;

class ValueOps : public engine::ValueWork {
    Q_OBJECT
public:
    explicit ValueOps(MainWindow *window, QObject *parent = nullptr);
    ~ValueOps() override;

    // The rows of the working comparables table as its grid holds them.
    QList<ComparableRow> comparables() const override;

public Q_SLOTS:
    void SetHintImmobiliConfronto() override;
    // The click of "Conversione in Lire" (window->lireButton) or "Conversione
    // in Euro" (window->euroButton): the button decides the direction.
    void SpeedButtonLireEuroClick(QToolButton *clicked);
    void ConvertiValutaImmobiliConfronto(double factor) override;

protected:
    void currencySwitched(bool toEuro) override;
    bool resultsShown() const override;
    void showComparisonNote(const QString &note) override;

private:
    ValueOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    QString m_comparisonNote;
};

} // namespace brevan::app
