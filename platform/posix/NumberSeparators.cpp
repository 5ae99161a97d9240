#include "platform/NumberSeparators.h"

#include <clocale>
#include <locale.h>

namespace platform {

TNumberSeparators UserNumberSeparators() {
    // The numeric locale the environment names (LC_ALL, LC_NUMERIC, LANG), loaded for
    // this thread only so that the program's own locale stays as it is.
    const locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0))
        return {};
    const locale_t previous = uselocale(user);
    const lconv* conventions = localeconv();
    TNumberSeparators result;
    const std::string decimal = conventions->decimal_point;
    const std::string thousands = conventions->thousands_sep;
    const std::string grouping = conventions->grouping;
    uselocale(previous);
    freelocale(user);
    if (decimal.empty() || thousands.empty() || grouping.empty() || grouping[0] <= 0)
        return result;
    result.Decimal = decimal;
    result.Thousands = thousands;
    return result;
}

} // namespace platform
