// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What each purpose requires of the report, item by item, with the rule it
// comes from and the field that satisfies it; and what a report still lacks.
#include "valuation/purposereport.h"

namespace brevan::perizia {

struct Requirement {
    Section section;
    const char16_t *item; // as the list "Mancano:" names it
    const char16_t *rule; // where the purpose's rules ask for it
    const char *field;    // the field that satisfies it (the window leads there)
    bool (*met)(const Report &, const AppraisalFacts &);
};

// The items a purpose requires, in the order of its sections.
const QVector<Requirement> &requirements(Purpose purpose);

struct MissingItem {
    Section section;
    QString item;
    QString rule;
    QString field;
};
// The items the report's purpose requires and the report lacks, in order.
QVector<MissingItem> missingItems(const Report &report, const AppraisalFacts &facts);

// One light per section: true when nothing the purpose requires is missing there.
std::array<bool, kSectionCount> sectionLights(const QVector<MissingItem> &missing);

// The lines under "Elementi non indicati" on the report's first page: the
// item and its rule, "Dati catastali (art. 173-bis, n. 1, disp. att. c.p.c.)".
QStringList missingLines(const QVector<MissingItem> &missing);

} // namespace brevan::perizia
