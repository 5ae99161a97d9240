#include "describing/CataloguePlace.h"

#include "catalogue/CataloguePath.h"
#include "describing/MusicCatalogue.h"
#include "describing/MusicScan.h"
#include "platform/Folders.h"

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

} // namespace Catalogue
