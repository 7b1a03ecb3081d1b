// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The names a space of the unit can take in the surfaces table, in the order
// the grid's pick list offers them, with the part each plays in the three
// surfaces. A description counts only when it equals a name exactly.
#include <QString>
#include <QStringList>

#include <array>

namespace brevan {

struct RoomName {
    const char *name;
    bool useful;             // the whole area is useful surface
    double conventional;     // weight in the conventional surface beside the useful part, 0 when none
    double commercial;       // weight in the commercial surface beside the useful part, 0 when none
    bool commercialBySize;   // weight 0.50 or 0.25 depending on the area against the useful surface
    bool accessorySpace;     // summed by the accessory-spaces judgment
};

inline constexpr std::array<RoomName, 31> kRoomNames{{
    {"Aree verdi (quota millesimale)", false, 0.10, 0.0, false, false},
    {"Bagno", true, 0.0, 0.0, false, false},
    {"Balcone", false, 0.25, 0.0, true, true},
    {"Camera", true, 0.0, 0.0, false, false},
    {"Cantina", false, 0.25, 0.50, false, true},
    {"Cucina", true, 0.0, 0.0, false, false},
    {"Disimpegno", true, 0.0, 0.0, false, false},
    {"Dispensa", true, 0.0, 0.0, false, false},
    {"Ingresso", true, 0.0, 0.0, false, false},
    {"Lastrico solare", false, 0.25, 0.10, false, false},
    {"Loggia", true, 0.0, 0.0, false, false},
    {"Mansarda", true, 0.0, 0.0, false, false},
    {"Palestra", true, 0.0, 0.0, false, false},
    {"Piscina coperta", true, 0.0, 0.0, false, false},
    {"Portico carraio", false, 0.25, 0.0, true, false},
    {"Posto auto comune", false, 0.20, 0.0, false, false},
    {"Posto auto singolo", false, 0.50, 0.0, false, false},
    {"Ripostiglio", true, 0.0, 0.0, false, true},
    {"Sala da pranzo", true, 0.0, 0.0, false, false},
    {"Salone", true, 0.0, 0.0, false, false},
    {"Salotto", true, 0.0, 0.0, false, false},
    {"Servizio", true, 0.0, 0.0, false, false},
    {"Soffitta", true, 0.0, 0.0, false, false},
    {"Soggiorno", true, 0.0, 0.0, false, false},
    {"Stenditoio", true, 0.0, 0.0, false, true},
    {"Studio", true, 0.0, 0.0, false, false},
    {"Tramezzi e tamponature", false, 0.0, 1.00, false, false},
    {"Terrazza coperta", false, 0.25, 0.10, false, true},
    {"Terrazza scoperta", false, 0.25, 0.10, false, true},
    {"Veranda aperta", false, 0.25, 0.0, true, true},
    {"Veranda chiusa", false, 0.25, 0.0, true, true},
}};

// The 31 names in pick-list order.
inline QStringList roomNames()
{
    QStringList names;
    names.reserve(int(kRoomNames.size()));
    for (const RoomName &r : kRoomNames)
        names << QString::fromLatin1(r.name);
    return names;
}

// The row of a description, or nullptr when it names no room (case counts).
inline const RoomName *roomName(const QString &description)
{
    for (const RoomName &r : kRoomNames) {
        if (description == QLatin1String(r.name))
            return &r;
    }
    return nullptr;
}

} // namespace brevan
