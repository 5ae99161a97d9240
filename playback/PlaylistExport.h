// The playlist editor's list written for other players: M3U8 or a text PLS.
#pragma once

#include "playback/PlaylistEntry.h"
#include "playback/TextPlaylist.h"

#include <string>
#include <string_view>
#include <vector>

namespace Playback {

// The folder below which the describe tool keeps its catalogues of links to the real song
// files (in the per-user data folder), with its trailing delimiter; empty when there is no
// per-user data folder.
std::string CatalogueLinkFolder();

// The songs of the list as text playlist entries; album headers and entries without a path
// are left out. The title is
// the caption in UTF-8, without the indentation and plus sign of an album's song; the seconds
// come from the length text (-1 for "Unknown"); the location is the path in UTF-8, as the
// system names the file: a path below linkFolder leads through the describe tool's links and
// is written as the real file it leads to, so that the list plays without this program.
std::vector<TTextEntry> ExportEntries(const std::vector<TPlaylistEntry>& entries,
                                      std::string_view linkFolder);

// The save dialog's file types, in the order of its filter: the program's own records, M3U8,
// text PLS, and all files, which are written as M3U8 when the name ends in ".m3u" or ".m3u8"
// and as records otherwise.
inline constexpr const char* SavePlaylistFilter =
    "MP3 Playlist|*.PLS|M3U playlist (*.m3u8)|*.m3u8|PLS playlist (*.pls, text)|*.pls|"
    "All files|*.*";
TPlaylistFormat SaveFormatOf(int filterIndex, std::string_view path);

// Writes the list as an M3U8 or text PLS file (format M3u or PlsText), replacing the file
// as the program's own playlists are replaced. Raises EInOutError with the file error.
void SaveTextPlaylist(const std::string& path, TPlaylistFormat format,
                      const std::vector<TPlaylistEntry>& entries);

} // namespace Playback
