// The index a catalogue of its own keeps of the music folder it describes: which catalogue
// entry stands for which folder and song, so that every run gives an entry the name it had
// (the user's edited descriptions stay attached), and the facts of every song with the size
// and time they were read at, so that an unchanged song is never opened again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Catalogue {

// The index file's name inside the catalogue folder.
inline constexpr std::string_view IndexFileName = ".mp3tunestead-index";

struct TIndexedSong {
    // The song's entry: its path relative to the catalogue folder.
    std::string Entry;
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::optional<std::int64_t> LengthMs;
    std::string Title;
    std::string Album;
    friend bool operator==(const TIndexedSong&, const TIndexedSong&) = default;
};

struct TIndexedFolder {
    // The category's or album's entry: its path relative to the catalogue folder.
    std::string Entry;
    // The size and time of its description file as the run that wrote the index left it: while
    // they and what the folder holds are unchanged, the folder needs no work.
    std::uint64_t DescSize = 0;
    std::int64_t DescModifiedNs = 0;
    friend bool operator==(const TIndexedFolder&, const TIndexedFolder&) = default;
};

struct TCatalogueIndex {
    // The music folder described.
    std::string Source;
    // Keyed by the path relative to the music folder ("" for the music folder itself): a re-run
    // looks up every song it finds, so they are hashed.
    std::unordered_map<std::string, TIndexedFolder> Categories;
    std::unordered_map<std::string, TIndexedFolder> Albums;
    std::unordered_map<std::string, TIndexedSong> Songs;
    friend bool operator==(const TCatalogueIndex&, const TCatalogueIndex&) = default;
};

// The index as text: one entry a line in the order of the keys, fields split by tabs, tabs, line
// ends and backslashes inside a field escaped.
std::string WriteIndex(const TCatalogueIndex& index);
// The index of the text; a line it cannot read is left out (its entry is then made anew).
TCatalogueIndex ReadIndex(std::string_view text);

} // namespace Catalogue
