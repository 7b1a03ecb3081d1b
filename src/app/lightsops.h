// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The completeness lights of the page tree: red, yellow or green for how far
// each of the twelve pages is filled in, read from the pages as they stand.
#include "valuation/completeness.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace brevan::app {

class MainWindow;

class LightsOps : public QObject {
    Q_OBJECT
public:
    explicit LightsOps(MainWindow *window, QObject *parent = nullptr);

    // The useful, conventional and commercial surface values behind the
    // surfaces page (not the texts it shows). Unset: the page's controls named
    // SupUtileImmob, SupConvenzImmob and SupCommercImmob, empty when absent.
    std::function<QStringList()> surfaceValues;
    // TableImmobConfrCompleta: 3 without comparables, 1 when all are
    // complete, 2 otherwise. Unset: the comparables page's own count.
    std::function<int()> comparablesCompleteness;

    // The pages' contents as the rules read them: texts by persisted field
    // name, ticks, pictures, surfaces and comparables.
    PageContents gatherContents() const;

public Q_SLOTS:
    // Sets the light of nodes 1 to 12; changes no field.
    void ImpostaSemaforiTreeView();

private:
    MainWindow *m_window;
};

} // namespace brevan::app
