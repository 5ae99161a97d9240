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
    // The device (0: the listed folder's) and inode of each subfolder, in the order of Folders,
    // where the system tells them.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> FolderIds;
    std::vector<std::string> Songs;
    // The size and time of each song, in the order of Songs, when the listing was asked for
    // them.
    std::vector<platform::TEntryFacts> SongFacts;
    // Song names of entries that are no regular file (a pipe, a device, a broken link).
    std::vector<std::string> NotRegular;
    // Every name in the folder (for a merge).
    std::unordered_set<std::string> Present;
};

// True for a name ending in ".mp3" in any letter case, with something before it.
bool IsSongName(std::string_view name);

// A file or folder name as the text of a description (UTF-8, as tags arrive): on Windows the
// names come in the ANSI code page, elsewhere they are taken as they are.
std::string NameText(std::string_view name);

enum class TListingUse {
    // For a merge into the folder's description file: every name Present.
    Merge,
    // For a scan of songs: their sizes and times in SongFacts, Present left empty.
    Scan,
};

// The listing of a folder; throws EInOutError with the system's reason when it cannot be read.
TListing ListFolder(const std::string& folder, TListingUse use = TListingUse::Merge);

// True when the folder can be listed and holds a song file of its own.
bool HoldsSongs(const std::string& folder);

} // namespace Catalogue
