// The index a catalogue of its own keeps of the music folder it describes: which catalogue
// entry stands for which folder and song, so that every run gives an entry the name it had
// (the user's edited descriptions stay attached), and the facts of every song with the size
// and time they were read at, so that an unchanged song is never opened again.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Catalogue {

// The index file's name inside the catalogue folder.
inline constexpr std::string_view IndexFileName = ".mp3tunestead-index";

// Entries are paths relative to the catalogue folder with "/" between their names: the entry
// of the folder that holds an entry ("" at the top), an entry's last name, and the entry of a
// name in a folder.
std::string_view EntryParent(std::string_view entry);
std::string EntryLeaf(std::string_view entry);
std::string EntryChild(const std::string& parent, const std::string& name);

// A song's facts in the index; TText is std::string in an index being made and std::string_view
// in one read from its text.
template <typename TText>
struct TBasicIndexedSong {
    // The song's entry: its path relative to the catalogue folder.
    TText Entry;
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::optional<std::int64_t> LengthMs;
    TText Title;
    TText Album;
    friend bool operator==(const TBasicIndexedSong&, const TBasicIndexedSong&) = default;
};

template <typename TText>
struct TBasicIndexedFolder {
    // The category's or album's entry: its path relative to the catalogue folder.
    TText Entry;
    // The size and time of its description file as the run that wrote the index left it: while
    // they and what the folder holds are unchanged, the folder needs no work.
    std::uint64_t DescSize = 0;
    std::int64_t DescModifiedNs = 0;
    friend bool operator==(const TBasicIndexedFolder&, const TBasicIndexedFolder&) = default;
};

// What an album's songs were when its description file was last written with all of them: a
// print of their names, sizes and times, and the first album tag among them. While the print
// is the same, none of its songs needs to be looked up.
template <typename TText>
struct TBasicAlbumSongs {
    std::uint64_t Print = 0;
    TText TagAlbum;
    friend bool operator==(const TBasicAlbumSongs&, const TBasicAlbumSongs&) = default;
};

using TIndexedSong = TBasicIndexedSong<std::string>;
using TIndexedFolder = TBasicIndexedFolder<std::string>;
using TReadIndexedSong = TBasicIndexedSong<std::string_view>;
using TReadIndexedFolder = TBasicIndexedFolder<std::string_view>;
using TAlbumSongs = TBasicAlbumSongs<std::string>;
using TReadAlbumSongs = TBasicAlbumSongs<std::string_view>;

// An index: TText is std::string in one being made and std::string_view in one read.
template <typename TText>
struct TBasicCatalogueIndex {
    // The music folder described.
    TText Source;
    // The catalogue folder's own description file (its entry is empty), once written whole.
    std::optional<TBasicIndexedFolder<TText>> Root;
    // Keyed by the path relative to the music folder ("" for the music folder itself): a re-run
    // looks up what it finds, so they are hashed.
    std::unordered_map<TText, TBasicIndexedFolder<TText>> Categories;
    std::unordered_map<TText, TBasicIndexedFolder<TText>> Albums;
    std::unordered_map<TText, TBasicIndexedSong<TText>> Songs;
    // Keyed by the album's path, for the albums whose songs were all described.
    std::unordered_map<TText, TBasicAlbumSongs<TText>> AlbumSongs;
    friend bool operator==(const TBasicCatalogueIndex&, const TBasicCatalogueIndex&) = default;
};

using TCatalogueIndex = TBasicCatalogueIndex<std::string>;

// The index as read from its text. Every name and title is a view of that text, which it keeps:
// copying them all would cost more than the rest of the reading. The songs are read only when
// asked for (ReadIndexSongs): on a re-run, albums whose songs have the print they had need none.
struct TReadIndex : TBasicCatalogueIndex<std::string_view> {
    bool SongsRead = false;
    // The sources (keys) of the categories, albums and songs whose entries lie in each catalogue
    // folder, by the folder's entry.
    using TSources = std::unordered_map<std::string_view, std::vector<std::string_view>>;
    TSources CategoriesIn;
    TSources AlbumsIn;
    TSources SongsIn;
    // What the views show: the text and what keeps it, and the fields that held escapes with
    // them undone (a deque, whose strings stay where they are as it grows).
    std::string_view Text;
    std::shared_ptr<const void> Keeper;
    std::deque<std::string> Unescaped;
    // Where the songs' lines begin (they come last): only the text before them is read until
    // the songs are asked for.
    std::size_t SongsFrom = 0;
};

// An entry of a read index as an entry of an index being made.
TIndexedSong Owned(const TReadIndexedSong& song);
TIndexedFolder Owned(const TReadIndexedFolder& folder);
TAlbumSongs Owned(const TReadAlbumSongs& songs);

// The index as text: one entry a line in the order of the keys, fields split by tabs, tabs, line
// ends and backslashes inside a field escaped.
std::string WriteIndex(const TCatalogueIndex& index);
// The index of the text (kept alive by keeper) without its songs; a line it cannot read is
// left out (its entry is then made anew).
TReadIndex ReadIndex(std::string_view text, std::shared_ptr<const void> keeper);
TReadIndex ReadIndex(std::string text);
// Reads the songs of the index (once).
void ReadIndexSongs(TReadIndex& index);

} // namespace Catalogue
