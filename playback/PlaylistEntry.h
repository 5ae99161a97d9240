// One row that the play commands and the playlist editor work on, and the tests that
// tell album headers and album songs from single songs.
#pragma once

#include <string>
#include <string_view>

namespace Playback {

// A song row of the main window's song list or an entry of the playlist editor.
struct TPlaylistEntry {
    std::string Caption;
    // Sub-item 1: the length text (3'07" or Unknown); empty for an album header.
    std::string LengthText;
    // Sub-item 2: the song file's full path; empty for an album header.
    std::string Path;

    friend bool operator==(const TPlaylistEntry&, const TPlaylistEntry&) = default;
};

// An album header: "* " + the album's name + " *".
inline bool IsAlbumHeader(std::string_view caption) {
    return caption.starts_with("* ");
}

// A song that came with its album: "   + " + number + ". " + description.
inline bool IsAlbumSong(std::string_view caption) {
    return caption.starts_with("   + ");
}

} // namespace Playback
