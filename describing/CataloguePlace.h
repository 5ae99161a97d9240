// Where a music folder's catalogue of its own goes when the user names no place (below the
// per-user data folder, so that nothing is ever written into the music folder), which music
// folder a catalogue describes, and its removal.
#pragma once

#include <optional>
#include <string>

namespace Catalogue {

// The per-user data folder's "catalogues" folder, under the music folder's name, numbered
// ("Music 2", ...) when that name is already taken by another music folder's catalogue; a
// catalogue of this music folder is found again. Empty when no per-user data folder is known.
std::string DefaultCataloguePlace(const std::string& music);

// The music folder's path as a catalogue records it: absolute, without trailing delimiters.
std::string MusicFolderPath(const std::string& music);

// The music folder a catalogue describes, as its index says; nothing when it has no index.
std::optional<std::string> CatalogueSource(const std::string& catalogue);

// Removes a catalogue of music's own, with its links, description files and index (the songs
// the links lead to stay as they are), when its index names music as its source; false (and
// nothing removed) otherwise. Throws EInOutError when an entry cannot be removed.
bool RemoveOwnCatalogue(const std::string& catalogue, const std::string& music);

} // namespace Catalogue
