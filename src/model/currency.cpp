// SPDX-License-Identifier: GPL-2.0-or-later
#include "currency.h"

namespace brevan {

CurrencyState &currency()
{
    static CurrencyState state;
    return state;
}

} // namespace brevan
