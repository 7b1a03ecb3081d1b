// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The Stimatrix worked example of tst_mca (three sales, the subject and the
// parameters) typed into a market comparison sheet as a user types it.
#include "valuation/mcasheet.h"

namespace fixtures {

inline brevan::mca::Sheet mcaExampleSheet()
{
    using brevan::mca::Row;
    brevan::mca::Sheet s = brevan::mca::Sheet::blank();
    const auto column = [](const char *date, const char *price, const char *main, const char *balconies,
                           const char *floor, const char *state, const char *baths) {
        brevan::mca::SheetColumn c;
        c.setText(Row::SaleDate, QString::fromLatin1(date));
        c.setText(Row::Price, QString::fromLatin1(price));
        c.setText(Row::MainSurface, QString::fromLatin1(main));
        c.setText(Row::Balconies, QString::fromLatin1(balconies));
        c.setText(Row::Floor, QString::fromLatin1(floor));
        c.setText(Row::Maintenance, QString::fromLatin1(state));
        c.setText(Row::Bathrooms, QString::fromLatin1(baths));
        return c;
    };
    s.subject = column("", "", "117,10", "11,00", "3", "2", "1");
    s.comparables = {column("09/2023", "260.000,00", "120,40", "12,00", "4", "1", "1"),
                     column("11/2023", "295.000,00", "131,00", "11,30", "2", "2", "2"),
                     column("09/2023", "310.000,00", "138,50", "13,00", "4", "2", "2")};
    s.setParam(brevan::mca::Param::AnnualChange, QStringLiteral("-2"));
    s.setParam(brevan::mca::Param::FloorRatio, QStringLiteral("0,5"));
    s.setParam(brevan::mca::Param::MaintenanceStep, QStringLiteral("12.000"));
    s.setParam(brevan::mca::Param::BathroomCost, QStringLiteral("10.000"));
    s.setParam(brevan::mca::Param::BathroomAge, QStringLiteral("8"));
    s.setParam(brevan::mca::Param::BathroomLife, QStringLiteral("10"));
    return s;
}

} // namespace fixtures
