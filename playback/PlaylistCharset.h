// The character sets of text playlists: UTF-8, and Windows-1252 for the older ones that
// players on Windows wrote.
#pragma once

#include <string>
#include <string_view>

namespace Playback {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// beyond U+10FFFF).
bool IsUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8; its five unassigned bytes become U+FFFD.
std::string Windows1252ToUtf8(std::string_view bytes);

// A line read from a text playlist as UTF-8: as it is when it is UTF-8, else taken as
// Windows-1252.
std::string LineToUtf8(std::string_view line);

} // namespace Playback
