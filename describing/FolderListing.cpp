#include "describing/FolderListing.h"

#include "platform/Errors.h"

#include <algorithm>
#include <filesystem>

namespace Catalogue {

namespace fs = std::filesystem;

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
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        listing.Present.insert(name);
        if (name.front() == '.')
            continue;
        std::error_code ignored;
        if (entries->is_directory(ignored))
            listing.Folders.push_back(std::move(name));
        else if (IsSongName(name) && entries->is_regular_file(ignored))
            listing.Songs.push_back(std::move(name));
        else if (IsSongName(name))
            listing.NotRegular.push_back(std::move(name));
    }
    if (error)
        throw EInOutError(error.message(), error.value());
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
