#include "describing/FolderListing.h"

#include "platform/Errors.h"
#include "platform/MusicFiles.h"

#include <algorithm>

namespace Catalogue {

bool IsSongName(std::string_view name) {
    if (name.size() <= SongExtension.size())
        return false;
    const auto extension = name.substr(name.size() - SongExtension.size());
    return std::equal(extension.begin(), extension.end(), SongExtension.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; });
}

// The listing of a folder; throws EInOutError naming the folder when it cannot be read.
TListing ListFolder(const std::string& folder, bool withSongFacts) {
    TListing listing;
    std::vector<std::pair<std::string, platform::TEntryFacts>> songs;
    for (auto& entry : platform::ListFolderEntries(folder, withSongFacts)) {
        listing.Present.insert(entry.Name);
        if (entry.Name.front() == '.')
            continue;
        if (entry.Kind == platform::TEntryKind::Folder)
            listing.Folders.push_back(std::move(entry.Name));
        else if (IsSongName(entry.Name) && entry.Kind == platform::TEntryKind::Regular)
            songs.emplace_back(std::move(entry.Name),
                               platform::TEntryFacts{entry.Kind, entry.Size, entry.ModifiedNs});
        else if (IsSongName(entry.Name))
            listing.NotRegular.push_back(std::move(entry.Name));
    }
    std::sort(listing.Folders.begin(), listing.Folders.end());
    std::sort(songs.begin(), songs.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [name, facts] : songs) {
        listing.Songs.push_back(std::move(name));
        listing.SongFacts.push_back(facts);
    }
    return listing;
}

bool HoldsSongs(const std::string& folder) {
    try {
        return !ListFolder(folder).Songs.empty();
    } catch (const EError&) {
        return false;
    }
}

} // namespace Catalogue
