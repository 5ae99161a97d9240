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
    auto entries = platform::ListFolderEntries(folder, use == TListingUse::Scan);
    if (use == TListingUse::Merge)
        for (const auto& entry : entries)
            listing.Present.insert(entry.Name);
    // In name order, the folders and the songs each keep it as they are taken apart. The
    // entries are sorted through pointers: a large folder's entries are not moved about.
    std::vector<platform::TFolderEntry*> sorted;
    sorted.reserve(entries.size());
    std::size_t folders = 0;
    for (auto& entry : entries) {
        sorted.push_back(&entry);
        folders += entry.Kind == platform::TEntryKind::Folder ? 1 : 0;
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* a, const auto* b) { return a->Name < b->Name; });
    listing.Folders.reserve(folders);
    listing.FolderIds.reserve(folders);
    listing.Songs.reserve(entries.size() - folders);
    listing.SongFacts.reserve(entries.size() - folders);
    for (auto* entry : sorted) {
        if (entry->Name.front() == '.')
            continue;
        if (entry->Kind == platform::TEntryKind::Folder) {
            listing.Folders.push_back(std::move(entry->Name));
            listing.FolderIds.emplace_back(entry->Device, entry->Inode);
        } else if (IsSongName(entry->Name) && entry->Kind == platform::TEntryKind::Regular) {
            listing.Songs.push_back(std::move(entry->Name));
            listing.SongFacts.push_back({entry->Kind, entry->Size, entry->ModifiedNs});
        } else if (IsSongName(entry->Name)) {
            listing.NotRegular.push_back(std::move(entry->Name));
        }
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
