#include "describing/MusicScan.h"

#include "catalogue/CataloguePath.h"
#include "describing/FolderListing.h"
#include "platform/Errors.h"

#include <atomic>
#include <cctype>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace Catalogue {

namespace {

std::string Below(const std::string& relative, const std::string& name) {
    if (relative.empty())
        return name;
    std::string path;
    path.reserve(relative.size() + 1 + name.size());
    path.append(relative).append(1, '/').append(name);
    return path;
}

// The device part of an identity.
std::string DeviceOf(const std::string& identity) {
    return identity.substr(0, identity.find(':'));
}

// The identity of the index-th subfolder of a listing of a folder on device.
std::string ChildIdentity(const TListing& listing, std::size_t index, const std::string& device) {
    const auto [childDevice, inode] = listing.FolderIds[index];
    // Without an inode (Windows) the system is asked; a folder reached through its parent's
    // listing lies on the parent's device.
    if (inode == 0 || device.empty())
        return {};
    return (childDevice != 0 ? std::to_string(childDevice) : device) + ":" + std::to_string(inode);
}

// True the first time a folder is met: its identity ("device:inode", or empty to ask the
// system) is not yet among visited.
bool FirstVisit(const std::string& path, std::string& identity,
                std::unordered_set<std::string>& visited) {
    if (identity.empty())
        identity = platform::FolderIdentity(path);
    return identity.empty() || visited.insert(identity).second;
}

// Folders listed ahead on a thread of its own, from the last category backwards, while the scan
// works from the first: the two meet in the middle, and the listing, which waits for the file
// system, is shared between two processors (or overlapped on a network share). The scan alone
// decides what is visited; a listing made ahead only saves it the listing.
class TListingsAhead {
public:
    TListingsAhead(const std::string& music, const TListing& root, const std::string& identity)
        : FMusic(music), FRoot(root), FIdentity(identity), FThread([this] { Work(); }) {}
    ~TListingsAhead() {
        FReached = FRoot.Folders.size();
        FThread.join();
    }
    TListingsAhead(const TListingsAhead&) = delete;
    TListingsAhead& operator=(const TListingsAhead&) = delete;

    // The scan starts the index-th category: what lies below it is no longer listed ahead.
    void Reached(std::size_t index) { FReached = index; }

    // The listing of the folder at relative, when it was made ahead.
    std::optional<TListing> Take(const std::string& relative) {
        const std::lock_guard<std::mutex> guard(FLock);
        const auto found = FListings.find(relative);
        if (found == FListings.end())
            return std::nullopt;
        auto listing = std::move(found->second);
        FListings.erase(found);
        return listing;
    }

private:
    void Work() {
        std::unordered_set<std::string> visited{FIdentity};
        const std::string device = DeviceOf(FIdentity);
        for (std::size_t i = FRoot.Folders.size(); i-- > 0 && i > FReached;)
            ListBelow(i, FRoot.Folders[i], ChildIdentity(FRoot, i, device), visited);
    }

    void ListBelow(std::size_t category, const std::string& relative, std::string identity,
                   std::unordered_set<std::string>& visited) {
        if (FReached >= category)
            return;
        const std::string path = JoinPath(FMusic, relative);
        if (!FirstVisit(path, identity, visited))
            return;
        TListing listing;
        try {
            listing = ListFolder(path, TListingUse::Scan);
        } catch (const std::exception&) {
            // The scan lists it again and reports why it cannot (a failure on this thread
            // would otherwise end the program).
            return;
        }
        // The folder's listing is handed over before those below it: the scan needs it first.
        std::vector<std::pair<std::string, std::string>> below;
        const std::string device = DeviceOf(identity);
        for (std::size_t i = 0; i < listing.Folders.size(); ++i)
            below.emplace_back(Below(relative, listing.Folders[i]),
                               ChildIdentity(listing, i, device));
        {
            const std::lock_guard<std::mutex> guard(FLock);
            FListings.emplace(relative, std::move(listing));
        }
        for (auto& [folder, folderIdentity] : below)
            ListBelow(category, folder, std::move(folderIdentity), visited);
    }

    const std::string& FMusic;
    const TListing& FRoot;
    const std::string FIdentity;
    std::atomic<std::size_t> FReached{0};
    std::mutex FLock;
    std::unordered_map<std::string, TListing> FListings;
    std::thread FThread;
};

class TMusicScan {
public:
    TMusicScan(const std::string& music, const TScanReport& report)
        : FMusic(music), FReport(report) {}

    std::vector<TMusicAlbum> Run();

private:
    // Lists folder (reached by relative) unless it was listed before through another path;
    // identity is the folder's "device:inode", or empty to ask the system.
    std::optional<TListing> Visit(const std::string& relative, std::string identity);
    // Adds the folder's songs as an album, taking their names from the listing.
    void AddAlbum(TListing& listing, TMusicAlbum album);
    // Scans the folders below a category folder; parts are the folder names below it.
    void ScanBelowCategory(const std::string& category, const std::string& categoryName,
                           const std::string& relative, const std::vector<std::string>& parts,
                           const std::string& identity);

    std::string Path(const std::string& relative) const {
        return relative.empty() ? FMusic : JoinPath(FMusic, relative);
    }

    const std::string& FMusic;
    const TScanReport& FReport;
    std::unordered_set<std::string> FVisited;
    std::vector<TMusicAlbum> FAlbums;
    std::unique_ptr<TListingsAhead> FAhead;
};

std::optional<TListing> TMusicScan::Visit(const std::string& relative, std::string identity) {
    const std::string path = Path(relative);
    // A folder met again (through a link back up the tree, or to a folder described
    // elsewhere) has its songs in the catalogue already.
    if (!FirstVisit(path, identity, FVisited))
        return std::nullopt;
    try {
        auto listing = FAhead ? FAhead->Take(relative) : std::nullopt;
        if (!listing)
            listing = ListFolder(path, TListingUse::Scan);
        for (const auto& name : listing->NotRegular)
            FReport(TScanProblem::NotRegular, JoinPath(path, name),
                    "not a regular file, not described");
        return listing;
    } catch (const EError& error) {
        if (relative.empty())
            throw;
        FReport(TScanProblem::FolderUnreadable, path,
                std::string("cannot read folder: ") + error.what());
        return std::nullopt;
    }
}

void TMusicScan::AddAlbum(TListing& listing, TMusicAlbum album) {
    album.Songs.reserve(listing.Songs.size());
    for (std::size_t i = 0; i < listing.Songs.size(); ++i)
        album.Songs.push_back({std::move(listing.Songs[i]), listing.SongFacts[i]});
    if (!album.Songs.empty())
        FAlbums.push_back(std::move(album));
}

void TMusicScan::ScanBelowCategory(const std::string& category, const std::string& categoryName,
                                   const std::string& relative,
                                   const std::vector<std::string>& parts,
                                   const std::string& identity) {
    auto listing = Visit(relative, identity);
    if (!listing)
        return;
    TMusicAlbum album;
    album.Source = relative;
    album.Category = category;
    album.CategoryName = categoryName;
    if (parts.empty()) {
        album.Name = categoryName;
    } else {
        // The last part that is not a disc names the album; the parts before it lead to it,
        // the discs after it follow it.
        std::size_t nameAt = parts.size();
        while (nameAt > 0 && DiscNumber(parts[nameAt - 1]) > 0)
            --nameAt;
        if (nameAt == 0)
            nameAt = 1;
        for (std::size_t i = 0; i + 1 < nameAt; ++i)
            album.Prefix += parts[i] + " - ";
        album.Name = parts[nameAt - 1];
        for (std::size_t i = nameAt; i < parts.size(); ++i) {
            const int disc = DiscNumber(parts[i]);
            album.Suffix += " (CD " + std::to_string(disc) + ")";
            album.DiscMark += " CD" + std::to_string(disc);
        }
    }
    AddAlbum(*listing, std::move(album));
    for (std::size_t i = 0; i < listing->Folders.size(); ++i) {
        auto below = parts;
        below.push_back(listing->Folders[i]);
        ScanBelowCategory(category, categoryName, Below(relative, listing->Folders[i]), below,
                          ChildIdentity(*listing, i, DeviceOf(identity)));
    }
}

std::vector<TMusicAlbum> TMusicScan::Run() {
    const std::string identity = platform::FolderIdentity(FMusic);
    auto root = Visit("", identity);
    TMusicAlbum loose;
    loose.Name = loose.CategoryName = FolderName(FMusic);
    AddAlbum(*root, std::move(loose));
    if (root->Folders.size() > 1)
        FAhead = std::make_unique<TListingsAhead>(FMusic, *root, identity);
    for (std::size_t i = 0; i < root->Folders.size(); ++i) {
        if (FAhead)
            FAhead->Reached(i);
        ScanBelowCategory(root->Folders[i], root->Folders[i], root->Folders[i], {},
                          ChildIdentity(*root, i, DeviceOf(identity)));
    }
    FAhead.reset();
    return std::move(FAlbums);
}

} // namespace

std::string SongSource(const TMusicAlbum& album, const TMusicSong& song) {
    return Below(album.Source, song.Name);
}

int DiscNumber(std::string_view name) {
    std::string word;
    std::size_t i = 0;
    while (i < name.size() && std::isalpha(static_cast<unsigned char>(name[i])))
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(name[i++])));
    if (word != "cd" && word != "disc" && word != "disk")
        return 0;
    while (i < name.size() && (name[i] == ' ' || name[i] == '-' || name[i] == '_'))
        ++i;
    if (i == name.size() || name.size() - i > 3)
        return 0;
    int number = 0;
    for (; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

std::string FolderName(std::string_view path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.remove_suffix(1);
    const auto slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::vector<TMusicAlbum> ScanMusicFolder(const std::string& music, const TScanReport& report) {
    return TMusicScan(music, report).Run();
}

} // namespace Catalogue
