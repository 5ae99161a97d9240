#include "describing/OldCatalogue.h"

#include "catalogue/CataloguePath.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <cstring>

namespace Catalogue {

namespace {

// The path of the description file of the catalogue folder at entry ("" for the catalogue's own).
std::string DescFileAt(const std::string& catalogue, std::string_view entry) {
    std::string path;
    ComposePath(path, {catalogue, entry, DescFileName});
    return path;
}

const std::vector<std::string_view> NoSources;

// A print of the names, sizes and times of an album's songs, eight bytes at a time: a change of
// any one of them always changes it (each step is one to one), and the same songs give the same
// print on every run.
std::uint64_t SongsPrint(const TMusicAlbum& album) {
    std::uint64_t print = 0;
    const auto add = [&print](std::uint64_t word) {
        print = ((print << 5 | print >> 59) ^ word) * 0x517cc1b727220a95;
    };
    for (const auto& song : album.Songs) {
        const auto& name = song.Name;
        add(name.size());
        for (std::size_t at = 0; at < name.size(); at += sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, name.data() + at, std::min(sizeof word, name.size() - at));
            add(word);
        }
        add(song.Facts.Size);
        add(static_cast<std::uint64_t>(song.Facts.ModifiedNs));
    }
    return print;
}

} // namespace

TReadIndex ReadOldIndex(const std::string& catalogue, const std::string& music) {
    const std::string path = JoinPath(catalogue, IndexFileName);
    if (!platform::EntryExists(path))
        return {};
    auto bytes = platform::MapFileBytes(path);
    auto index = ReadIndex(bytes.Bytes, std::move(bytes.Keeper));
    if (!index.Source.empty() && index.Source != music)
        throw EInOutError(
            catalogue + ": the catalogue of " + std::string(index.Source) + ", not of " + music, 0);
    return index;
}

const std::vector<std::string_view>& Sources(const TReadIndex::TSources& in,
                                             const std::string& folderEntry) {
    const auto found = in.find(folderEntry);
    return found != in.end() ? found->second : NoSources;
}

void TOldFiles::LookAt(const std::string& catalogue, const TReadIndex& index) {
    if (index.Root)
        FFiles.emplace("", platform::LookAt(DescFileAt(catalogue, "")));
    for (const auto* folders : {&index.Categories, &index.Albums})
        for (const auto& [source, folder] : *folders)
            FFiles.emplace(folder.Entry, platform::LookAt(DescFileAt(catalogue, folder.Entry)));
}

bool TOldFiles::Kept(const std::string& catalogue, const TReadIndexedFolder& old,
                     const std::string& entry) const {
    const auto looked = FFiles.find(entry);
    const auto desc =
        looked != FFiles.end() ? looked->second : platform::LookAt(DescFileAt(catalogue, entry));
    return desc.Kind == platform::TEntryKind::Regular && desc.Size == old.DescSize &&
           desc.ModifiedNs == old.DescModifiedNs;
}

TOldAlbum CompareAlbum(const TReadIndex& index, const TMusicAlbum& album) {
    TOldAlbum old;
    old.Print = SongsPrint(album);
    const auto printed = index.AlbumSongs.find(album.Source);
    old.Printed = printed != index.AlbumSongs.end() && printed->second.Print == old.Print;
    return old;
}

void LookUpSongs(TReadIndex& index, const TMusicAlbum& album, TOldAlbum& old) {
    ReadIndexSongs(index);
    old.Songs.reserve(album.Songs.size());
    for (const auto& song : album.Songs) {
        const auto found = index.Songs.find(SongSource(album, song));
        old.Songs.push_back(found != index.Songs.end() ? &found->second : nullptr);
    }
    old.LookedUp = true;
}

bool Unchanged(const TMusicSong& song, const TReadIndexedSong* old) {
    return old != nullptr && old->Size == song.Facts.Size &&
           old->ModifiedNs == song.Facts.ModifiedNs;
}

} // namespace Catalogue
