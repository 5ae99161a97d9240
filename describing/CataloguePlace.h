// Where a music folder's catalogue of its own goes when the user names no place: below the
// per-user data folder, so that nothing is ever written into the music folder.
#pragma once

#include <string>

namespace Catalogue {

// The per-user data folder's "catalogues" folder, under the music folder's name, numbered
// ("Music 2", ...) when that name is already taken by another music folder's catalogue; a
// catalogue of this music folder is found again. Empty when no per-user data folder is known.
std::string DefaultCataloguePlace(const std::string& music);

} // namespace Catalogue
