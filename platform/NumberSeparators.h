// The user's decimal and thousands separators, as the user's regional settings give them.
#pragma once

#include <string>

namespace platform {

struct TNumberSeparators {
    std::string Decimal = ".";
    std::string Thousands = ",";
};

// Read anew at each call. Where the user's settings give no digit grouping (the "C"
// locale, or a locale that cannot be loaded) both separators are "." and ",".
TNumberSeparators UserNumberSeparators();

} // namespace platform
