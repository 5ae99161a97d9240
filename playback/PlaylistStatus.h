// The playlist editor's rules that need no window: the song count and total play time
// of its status bar, and what the Delete key removes and selects.
#pragma once

#include "catalogue/PlayTime.h"
#include "playback/PlaylistEntry.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Playback {

// The play time written in a length text such as 4'07": the two characters just before the
// first double quote are the seconds, and everything before the character that precedes them
// (the apostrophe) is the minutes. Unknown, so nothing is added, when there is no double
// quote or when those characters are not digits (two seconds digits, one to nine minutes
// digits).
Catalogue::TPlayTime ParseLengthText(std::string_view text);

// The editor's status: every entry that is not an album header is a song.
struct TPlaylistSummary {
    std::int64_t Songs = 0;
    // Seconds and minutes carried.
    Catalogue::TDuration Total;

    // No song: the editor empties its list and blanks its status bar.
    bool Empty() const { return Songs == 0; }
    // "12 song(s)".
    std::string SongsText() const;
    // "1:02:09 total play time" from one hour on, else "47:05 total play time".
    std::string TimeText() const;
};

TPlaylistSummary SummarizePlaylist(const std::vector<TPlaylistEntry>& entries);

// What the Delete key does to the editor's list.
struct TDeleteAction {
    // Positions in the list before the deletion, ascending.
    std::vector<std::size_t> Deleted;
    // Position to select in the list after the deletion; none when it is empty.
    std::optional<std::size_t> Selected;
};

// Deleting the selected entry: a header goes with the album songs that follow it; a song
// takes its album's header along when it was the album's last song.
TDeleteAction DeleteKeyAction(const std::vector<std::string>& captions, std::size_t selected);

} // namespace Playback
