// Playlists of other players taken into the playlist editor: M3U, M3U8 and text PLS.
#pragma once

#include "playback/PlaylistEntry.h"
#include "playback/TextPlaylist.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Playback {

// The open dialog's file types: the program's own records, M3U and M3U8, text PLS and all
// files. Whatever is chosen, the content tells how a file is read.
inline constexpr const char* OpenPlaylistFilter =
    "MP3 Playlist|*.PLS|M3U playlist (*.m3u, *.m3u8)|*.m3u;*.m3u8;*.M3U;*.M3U8|"
    "PLS playlist (*.pls, text)|*.pls|All files|*.*";

// Where an entry of a text playlist leads.
struct TLocation {
    enum TKind { lkFile, lkStream };
    TKind Kind = lkFile;
    // The file's path in UTF-8, for lkFile.
    std::string Path;

    friend bool operator==(const TLocation&, const TLocation&) = default;
};

// The path rules a location is read by: Windows' drive letters and backslashes, or POSIX.
enum class TPathStyle { psPosix, psWindows };

#ifdef _WIN32
inline constexpr TPathStyle SystemPathStyle = TPathStyle::psWindows;
#else
inline constexpr TPathStyle SystemPathStyle = TPathStyle::psPosix;
#endif

// The place an entry names, read against the playlist's folder (its path with the trailing
// delimiter): a relative path is joined to the folder; a file:// URL gives its path (percent
// escapes decoded); any other URL (http://, rtsp://, ...) is a stream. On Windows "/" counts
// as "\", and a path beginning with "\" lies on the folder's drive; on POSIX a relative path
// written with "\" alone (by a player on Windows) has its "\" read as "/".
TLocation ResolveLocation(std::string_view location, std::string_view folder,
                          TPathStyle style = SystemPathStyle);

// What a text playlist gives the editor.
struct TImportedPlaylist {
    // Single songs: the title as caption, else the file's name (one that begins with "* " loses
    // the blanks after its star, so that it is not taken for an album header); the length text of
    // the seconds, else "Unknown"; the path as the system names it.
    std::vector<TPlaylistEntry> Entries;
    // Entries kept whose files were not found.
    std::size_t Missing = 0;
    // Stream URLs, which the editor cannot hold, left out.
    std::size_t Streams = 0;
};

// The entries of a text playlist (format M3u or PlsText) of the folder, their locations read
// by the style's rules; exists tells whether a file is there.
TImportedPlaylist ImportTextPlaylist(std::string_view bytes, TPlaylistFormat format,
                                     std::string_view folder,
                                     const std::function<bool(const std::string&)>& exists,
                                     TPathStyle style = SystemPathStyle);

// The information given once a playlist has been taken in: how many of its files were not
// found and how many streams were left out; empty when all went well.
std::string ImportReportText(const TImportedPlaylist& imported);

} // namespace Playback
