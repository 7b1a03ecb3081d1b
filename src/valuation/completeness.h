// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// How far each of the twelve pages is filled in: red, yellow or green.
#include <QHash>
#include <QString>

#include <array>

namespace brevan {

enum class Light { Red, Yellow, Green };

// The current contents of the pages, by persisted field name: texts as shown
// (the date is not looked at), ticks as set. Missing names count as empty.
struct PageContents {
    QHash<QString, QString> texts;
    QHash<QString, bool> ticks;
    bool photo = false;    // each picture page's shown picture
    bool areaPlan = false;
    bool unitPlan = false;
    int comparableRows = 0;
    bool comparablesAllComplete = false;
};

// Lights of nodes 1 to 12, index 0 for node 1.
std::array<Light, 12> evaluateLights(const PageContents &contents);

} // namespace brevan
