// The entries that a playlist file cannot hold whole, found before saving so that the user
// is told which songs a reopened list would no longer find.
#pragma once

#include "playback/PlaylistEntry.h"

#include <cstddef>
#include <string>
#include <vector>

namespace Playback {

// An entry that its record would cut, and which of its parts are too long.
struct TCutEntry {
    std::string Caption; // the whole caption, as the playlist editor shows it
    bool Name = false;
    bool Length = false;
    bool Path = false;

    friend bool operator==(const TCutEntry&, const TCutEntry&) = default;
};

// The entries, in order, with a caption, length text or path longer than its record field.
// An album header is cut only by its caption: its record holds no length and no path.
std::vector<TCutEntry> CutEntries(const std::vector<TPlaylistEntry>& entries);

// How many cut entries the warning names; the rest are counted.
inline constexpr std::size_t CutEntriesNamed = 10;

// The warning before entries are saved cut: one line for each named entry with its cut
// parts, "and N more" for the rest, and the question whether to save anyway.
std::string CutEntriesWarningText(const std::vector<TCutEntry>& cut);

} // namespace Playback
