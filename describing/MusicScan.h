// The scan of a music folder in any layout: every folder that holds song files becomes one
// album. The music folder's own songs and a first-level folder's own songs are albums of their
// own; the levels below a first-level folder (the category) fold into the album's title
// ("Artist - Album"), and a disc folder ("CD1", "CD 2", "Disc 1") makes the title end in
// "(CD 1)". Links to folders are followed, each folder at most once, so a link back up the tree
// never loops.
#pragma once

#include "platform/MusicFiles.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Catalogue {

struct TMusicSong {
    std::string Name;
    platform::TEntryFacts Facts;
};

struct TMusicAlbum {
    // The folder's path relative to the music folder ("" for the music folder itself).
    std::string Source;
    // The category folder's path relative to the music folder ("" for the music folder, whose
    // own songs make the album of a category of their own) and the category's name.
    std::string Category;
    std::string CategoryName;
    // The title is Prefix, then the album's name (or its tag), then Suffix: "Artist - " +
    // "Album" + " (CD 1)".
    std::string Prefix;
    std::string Name;
    std::string Suffix;
    // " CD1" for a disc folder, kept at the end of the album's short name; empty otherwise.
    std::string DiscMark;
    std::vector<TMusicSong> Songs;
};

// The song's path relative to the music folder.
std::string SongSource(const TMusicAlbum& album, const TMusicSong& song);

enum class TScanProblem { FolderUnreadable, NotRegular };
using TScanReport =
    std::function<void(TScanProblem problem, const std::string& path, const std::string& why)>;

// The albums below music, categories in name order and each category's albums in the name
// order of their paths. Throws EInOutError when music itself cannot be read.
std::vector<TMusicAlbum> ScanMusicFolder(const std::string& music, const TScanReport& report);

// The disc number of a folder named "CD1", "CD 2", "cd-3", "Disc 1", "Disk 02"...; 0 for any
// other name.
int DiscNumber(std::string_view name);

// The last name of a folder's path, trailing delimiters left out.
std::string FolderName(std::string_view path);

} // namespace Catalogue
