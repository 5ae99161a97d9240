#include "catalogue/PlayTimeText.h"

#include "catalogue/DescLine.h"

namespace Catalogue {

namespace {

constexpr const char* TotalSuffix = " total play time";

// The two-digit part of a total; after a carry it is always below 60.
std::string TwoDigits(std::int64_t value) {
    if (value >= 0 && value <= 99)
        return dec2str(static_cast<std::int32_t>(value), 2, '0');
    return std::to_string(value);
}

} // namespace

std::string LengthText(const TPlayTime& time) {
    if (!time.Known())
        return "Unknown";
    return std::to_string(time.Minutes) + "'" + dec2str(time.Seconds, 2, '0') + "\"";
}

std::string MinutesFormText(std::int64_t minutes, std::int64_t seconds) {
    return std::to_string(minutes) + ":" + TwoDigits(seconds) + TotalSuffix;
}

std::string HoursFormText(const TDuration& duration) {
    return std::to_string(duration.Hours) + ":" + TwoDigits(duration.Minutes) + ":" +
           TwoDigits(duration.Seconds) + TotalSuffix;
}

std::string SongListTotalText(TDuration total, TDisplayFormat format, int mixThreshold) {
    total.CarrySeconds();
    if (format == dfHours || (format == dfMixed && total.Minutes > mixThreshold))
        total.CarryMinutes();
    if (total.IsZero())
        return "Unknown play time";
    if (total.Hours == 0)
        return MinutesFormText(total.Minutes, total.Seconds);
    return HoursFormText(total);
}

std::string CatalogueTotalText(TDuration total) {
    total.CarrySeconds();
    total.CarryMinutes();
    return HoursFormText(total);
}

std::string SongCountText(std::int64_t songs) {
    return std::to_string(songs) + " song(s)";
}

std::string AlbumCountText(std::int64_t albums) {
    return std::to_string(albums) + " album(s)";
}

} // namespace Catalogue
