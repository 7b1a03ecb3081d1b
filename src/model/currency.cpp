#include "currency.h"

namespace brevan {

CurrencyState &currency()
{
    static CurrencyState state;
    return state;
}

} // namespace brevan
