// The text playlists that other players read and write: M3U (a path a line, with #EXTINF
// lines before them) and the INI form of PLS. The kind of a playlist file is told by its
// content, never by its extension, since the program's own files of records carry ".PLS" too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Playback {

enum class TPlaylistFormat { Records, M3u, PlsText };

// The format of a playlist file's bytes:
// - a file that starts with "[playlist]" (after a byte-order mark and blank space) is a text
//   PLS; a record never starts so, since "[" is beyond a caption's length byte;
// - a file of text lines (no control character but tab, CR and LF, and a Ctrl-Z at its very
//   end) is M3U. A file of records never is: the length byte of every record's length text
//   (0 to 10) is a control character for any length text shorter than 9 characters;
// - a file that starts with "#EXTM3U" is M3U too unless it is a whole number of records
//   whose length bytes all fit their fields (a damaged M3U is still M3U);
// - anything else, the empty file included, is a file of records.
TPlaylistFormat DetectPlaylistFormat(std::string_view bytes);

// One entry of a text playlist, its texts in UTF-8.
struct TTextEntry {
    // A path or a URL, as written.
    std::string Location;
    // Empty when the playlist gives none.
    std::string Title;
    // Negative when unknown.
    long long Seconds = -1;

    friend bool operator==(const TTextEntry&, const TTextEntry&) = default;
};

// The entries of an M3U file, extended or plain: lines end at CR LF, LF or CR; each line is
// UTF-8, or else Windows-1252; a #EXTINF line gives the seconds and the title of the entry on
// the next line that is not a comment; other comments and blank lines are skipped.
std::vector<TTextEntry> ReadM3u(std::string_view bytes);

// The entries of a text PLS: the FileN, TitleN and LengthN keys of its [playlist] section,
// in the order of N; a number without FileN gives no entry.
std::vector<TTextEntry> ReadPlsText(std::string_view bytes);

// An extended M3U in UTF-8: #EXTM3U, then #EXTINF:<seconds>,<title> and the location for each
// entry, every line ending in LF.
std::string WriteM3u(const std::vector<TTextEntry>& entries);

// A text PLS in UTF-8: [playlist], FileN, TitleN and LengthN for each entry, NumberOfEntries
// and Version=2.
std::string WritePlsText(const std::vector<TTextEntry>& entries);

} // namespace Playback
