// The temporary playlist PL_TEMP.M3U through which a whole album or the playlist editor's
// list reaches the player.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Playback {

inline constexpr std::string_view TempPlaylistName = "PL_TEMP.M3U";

// The directory, the delimiter and PL_TEMP.M3U, reduced.
std::string TempPlaylistPath(std::string_view directory);

// One path a line, each followed by CR LF, the last one included; nothing else.
std::string TempPlaylistText(const std::vector<std::string>& order);

// Writes the play order to PL_TEMP.M3U in the program's folder and returns the full path
// written. When the program's folder denies the writing (a write-protected folder or
// file), the file goes to the per-user data folder instead, which is created when
// missing. Raises EInOutError with the program folder's file error when neither can be
// written.
std::string WriteTempPlaylist(const std::vector<std::string>& order);

// The same with the two folders given.
std::string WriteTempPlaylist(const std::vector<std::string>& order,
                              std::string_view programDirectory,
                              std::string_view userDataDirectory);

} // namespace Playback
