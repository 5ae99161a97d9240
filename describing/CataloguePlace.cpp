#include "describing/CataloguePlace.h"

#include "catalogue/CataloguePath.h"
#include "describing/CatalogueIndex.h"
#include "describing/MusicScan.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "platform/MusicFiles.h"

namespace Catalogue {

std::string DefaultCataloguePlace(const std::string& music) {
    const std::string data = platform::UserDataDirectory();
    if (data.empty())
        return {};
    const std::string absolute = MusicFolderPath(music);
    std::string name = FolderName(absolute);
    if (name.empty())
        name = "music";
    const std::string base = JoinPath(JoinPath(data, "catalogues"), name);
    std::string candidate = base;
    for (int number = 2;; ++number) {
        const auto source = CatalogueSource(candidate);
        if (!source || *source == absolute)
            return candidate;
        candidate = base + " " + std::to_string(number);
    }
}

std::string MusicFolderPath(const std::string& music) {
    std::string path = platform::AbsolutePath(music);
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

std::optional<std::string> CatalogueSource(const std::string& catalogue) {
    const std::string path = JoinPath(catalogue, IndexFileName);
    if (platform::LookAt(path).Kind != platform::TEntryKind::Regular)
        return std::nullopt;
    try {
        return std::string(ReadIndex(platform::ReadFileBytes(path)).Source);
    } catch (const EError&) {
        return std::nullopt;
    }
}

namespace {

// Removes what the folder holds, then the folder; links are removed, never followed.
void RemoveTree(const std::string& folder) {
    for (const auto& entry : platform::ListFolderEntries(folder)) {
        const std::string path = JoinPath(folder, entry.Name);
        if (entry.Kind == platform::TEntryKind::Folder && !platform::IsLink(path))
            RemoveTree(path);
        else if (!platform::RemoveEntry(path))
            throw EInOutError(path + ": cannot remove", 0);
    }
    if (!platform::RemoveEntry(folder))
        throw EInOutError(folder + ": cannot remove", 0);
}

} // namespace

bool RemoveOwnCatalogue(const std::string& catalogue, const std::string& music) {
    const auto source = CatalogueSource(catalogue);
    if (!source || *source != MusicFolderPath(music))
        return false;
    RemoveTree(catalogue);
    return true;
}

} // namespace Catalogue
