// What one folder of a music collection holds, as the describing sees it: its subfolders, its
// song files and the song-named entries that are not files.
#pragma once

#include "platform/MusicFiles.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace Catalogue {

inline constexpr std::string_view SongExtension = ".mp3";

struct TListing {
    // Subfolders and song files that are not hidden, in name order.
    std::vector<std::string> Folders;
    std::vector<std::string> Songs;
    // The size and time of each song, in the order of Songs, when the listing was asked for
    // them.
    std::vector<platform::TEntryFacts> SongFacts;
    // Song names of entries that are no regular file (a pipe, a device, a broken link).
    std::vector<std::string> NotRegular;
    // Every name in the folder.
    std::unordered_set<std::string> Present;
};

// True for a name ending in ".mp3" in any letter case, with something before it.
bool IsSongName(std::string_view name);

// The listing of a folder, with the songs' sizes and times when asked; throws EInOutError with
// the system's reason when it cannot be read.
TListing ListFolder(const std::string& folder, bool withSongFacts = false);

// True when the folder can be listed and holds a song file of its own.
bool HoldsSongs(const std::string& folder);

} // namespace Catalogue
