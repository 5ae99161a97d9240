#include "describing/FolderListing.h"

#include "platform/Errors.h"
#include "platform/MusicFiles.h"
#include "platform/SystemNames.h"

#include <algorithm>

namespace Catalogue {

bool IsSongName(std::string_view name) {
    if (name.size() <= SongExtension.size())
        return false;
    const auto extension = name.substr(name.size() - SongExtension.size());
    return std::equal(extension.begin(), extension.end(), SongExtension.begin(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; });
}

std::string NameText(std::string_view name) {
    return platform::SystemCodePageToUtf8(name).value_or(std::string(name));
}

// The listing of a folder; throws EInOutError naming the folder when it cannot be read.
TListing ListFolder(const std::string& folder, TListingUse use) {
    TListing listing;
    std::vector<std::pair<std::string, platform::TEntryFacts>> songs;
    std::vector<std::pair<std::string, std::pair<std::uint64_t, std::uint64_t>>> folders;
    for (auto& entry : platform::ListFolderEntries(folder, use == TListingUse::Scan)) {
        if (use == TListingUse::Merge)
            listing.Present.insert(entry.Name);
        if (entry.Name.front() == '.')
            continue;
        if (entry.Kind == platform::TEntryKind::Folder)
            folders.emplace_back(std::move(entry.Name), std::pair{entry.Device, entry.Inode});
        else if (IsSongName(entry.Name) && entry.Kind == platform::TEntryKind::Regular)
            songs.emplace_back(std::move(entry.Name),
                               platform::TEntryFacts{entry.Kind, entry.Size, entry.ModifiedNs});
        else if (IsSongName(entry.Name))
            listing.NotRegular.push_back(std::move(entry.Name));
    }
    const auto byName = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::sort(folders.begin(), folders.end(), byName);
    listing.Folders.reserve(folders.size());
    listing.FolderIds.reserve(folders.size());
    for (auto& [name, id] : folders) {
        listing.Folders.push_back(std::move(name));
        listing.FolderIds.push_back(id);
    }
    std::sort(songs.begin(), songs.end(), byName);
    listing.Songs.reserve(songs.size());
    listing.SongFacts.reserve(songs.size());
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
