#include "platform/NumberSeparators.h"

#include <windows.h>

namespace platform {

namespace {

// One of the user's locale texts; empty when the system does not give it.
std::string UserLocaleText(LCTYPE item) {
    char buffer[16] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof(buffer)) == 0)
        return {};
    return buffer;
}

} // namespace

TNumberSeparators UserNumberSeparators() {
    TNumberSeparators result;
    const std::string decimal = UserLocaleText(LOCALE_SDECIMAL);
    const std::string thousands = UserLocaleText(LOCALE_STHOUSAND);
    if (decimal.empty() || thousands.empty())
        return result;
    result.Decimal = decimal;
    result.Thousands = thousands;
    return result;
}

} // namespace platform
