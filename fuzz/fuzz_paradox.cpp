// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer entry for the Paradox reader: any bytes handed to it end in a
// table or in a StoreError, within bounded memory and time.
#include "legacy/paradoxtable.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!brevan::legacy::looksLikeParadoxTable(bytes))
        return 0;
    try {
        const brevan::TableData content = brevan::legacy::readParadoxBytes(bytes, QStringLiteral("fuzz.db"));
        // Every row has a value for every column.
        for (const QVariantList &row : content.rows) {
            if (row.size() != content.layout.size())
                __builtin_trap();
        }
    } catch (const brevan::StoreError &) {
    }
    return 0;
}
