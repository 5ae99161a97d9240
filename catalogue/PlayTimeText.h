// The texts in which play times and counts are shown: a song's length, the total
// play time of a song list or of the catalogue, and the counts of songs and albums.
#pragma once

#include "catalogue/PlayTime.h"

#include <cstdint>
#include <string>

namespace Catalogue {

// When the hours of a song list's total are split off (values as stored in DispAlbumTime).
enum TDisplayFormat {
    dfNone = 0,    // never
    dfHours = 1,   // from 60 minutes on
    dfMinutes = 2, // never
    dfMixed = 3,   // when the minutes exceed the threshold
};

// Minutes, apostrophe, two-digit seconds and a double quote (3'07"); "Unknown" for an
// unknown time. The minutes are never split into hours.
std::string LengthText(const TPlayTime& time);

// 7:07 total play time (minutes not padded, may exceed 59).
std::string MinutesFormText(std::int64_t minutes, std::int64_t seconds);

// 1:01:00 total play time (hours not padded).
std::string HoursFormText(const TDuration& duration);

// The total of a song list: seconds carried into minutes, hours split off as the
// format says, then "Unknown play time" when everything is 0, the minutes form when
// no hours were split off, and the hours form otherwise.
std::string SongListTotalText(TDuration total, TDisplayFormat format, int mixThreshold);

// The catalogue total: seconds and minutes carried, always the hours form.
std::string CatalogueTotalText(TDuration total);

// "3 song(s)".
std::string SongCountText(std::int64_t songs);

// "12 album(s)".
std::string AlbumCountText(std::int64_t albums);

} // namespace Catalogue
