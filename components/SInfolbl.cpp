#include "components/SInfolbl.h"

#include <string>
#include <utility>

namespace {

// The whole part with a separator between groups of three digits.
std::string GroupThousands(std::uint64_t whole, const std::string& separator) {
    std::string digits = std::to_string(whole);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += digits[i];
    }
    return text;
}

// bytes / divisor with two decimals, rounded half away from zero. Done on integers so that
// halves such as 0.125 KB (128 bytes) round up rather than to the even neighbour.
std::string ScaledText(std::int64_t bytes, std::uint64_t divisor,
                       const platform::TNumberSeparators& separators) {
    const bool negative = bytes < 0;
    const std::uint64_t magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(bytes)
                                             : static_cast<std::uint64_t>(bytes);
    std::uint64_t hundredths = magnitude / divisor * 100;
    const std::uint64_t rest = magnitude % divisor * 100;
    hundredths += rest / divisor;
    if (rest % divisor * 2 >= divisor)
        ++hundredths;
    const std::uint64_t cents = hundredths % 100;
    std::string text = negative && hundredths != 0 ? "-" : "";
    text += GroupThousands(hundredths / 100, separators.Thousands);
    text += separators.Decimal;
    text += static_cast<char>('0' + cents / 10);
    text += static_cast<char>('0' + cents % 10);
    return text;
}

} // namespace

std::string FormatMemorySize(std::int64_t bytes, const platform::TNumberSeparators& separators) {
    constexpr std::int64_t Kilo = 1024;
    // More than 1024 KB means more than 1024 * 1024 bytes, exactly; likewise for MB.
    if (bytes > Kilo * Kilo * Kilo)
        return ScaledText(bytes, Kilo * Kilo * Kilo, separators) + " GB";
    if (bytes > Kilo * Kilo)
        return ScaledText(bytes, Kilo * Kilo, separators) + " MB";
    return ScaledText(bytes, Kilo, separators) + " KB";
}

std::string FormatMemorySize(std::int64_t bytes) {
    return FormatMemorySize(bytes, platform::UserNumberSeparators());
}

TSystemInfoText::TSystemInfoText(platform::ISystemFacts& facts,
                                 platform::TNumberSeparators separators)
    : FFacts(facts), FSeparators(std::move(separators)) {}

void TSystemInfoText::SetInfoType(TInfoType value) {
    FInfoType = value;
    FMemoryStatus = FFacts.MemoryStatus();
    switch (FInfoType) {
    case iMemoryUsedPercent:
        FCaption = std::to_string(FMemoryStatus.MemoryLoad) + "%";
        break;
    case iMemoryTotalPhysical:
        FCaption = SizeText(FMemoryStatus.TotalPhys);
        break;
    case iMemoryFreePhysical:
        FCaption = SizeText(FMemoryStatus.AvailPhys);
        break;
    case iMaxSizePageFile:
        FCaption = SizeText(FMemoryStatus.TotalPageFile);
        break;
    case iSizeFreePageFile:
        FCaption = SizeText(FMemoryStatus.AvailPageFile);
        break;
    case iTotalVirtual:
        FCaption = SizeText(FMemoryStatus.TotalVirtual);
        break;
    case iAvailableVirtual:
        FCaption = SizeText(FMemoryStatus.AvailVirtual);
        break;
    }
}

void TSystemInfoText::SetFormattedDisplay(bool value) {
    if (value == FFormattedDisplay)
        return;
    FFormattedDisplay = value;
    SetInfoType(FInfoType);
}

std::string TSystemInfoText::SizeText(std::int64_t bytes) const {
    return FFormattedDisplay ? FormatMemorySize(bytes, FSeparators) : std::to_string(bytes);
}
