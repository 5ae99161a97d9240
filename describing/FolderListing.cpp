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
TListing ListFolder(const std::string& folder) {
    TListing listing;
    for (auto& entry : platform::ListFolderEntries(folder)) {
        listing.Present.insert(entry.Name);
        if (entry.Name.front() == '.')
            continue;
        if (entry.Kind == platform::TEntryKind::Folder)
            listing.Folders.push_back(std::move(entry.Name));
        else if (IsSongName(entry.Name) && entry.Kind == platform::TEntryKind::Regular)
            listing.Songs.push_back(std::move(entry.Name));
        else if (IsSongName(entry.Name))
            listing.NotRegular.push_back(std::move(entry.Name));
    }
    std::sort(listing.Folders.begin(), listing.Folders.end());
    std::sort(listing.Songs.begin(), listing.Songs.end());
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
