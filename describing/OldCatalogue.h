// What the last run left in a catalogue of its own, as a run compares the music folder with it:
// the index, the description files the index vouches for as they were found, and the songs of
// each album as the index holds them.
#pragma once

#include "describing/CatalogueIndex.h"
#include "describing/MusicScan.h"
#include "platform/MusicFiles.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Catalogue {

// The index of the catalogue (empty when it has none yet). Throws EInOutError when it is the
// catalogue of another music folder.
TReadIndex ReadOldIndex(const std::string& catalogue, const std::string& music);

// The sources of the old index's entries of one kind in a catalogue folder.
const std::vector<std::string_view>& Sources(const TReadIndex::TSources& in,
                                             const std::string& folderEntry);

// The description files an old index vouches for, as they were found when the run started.
class TOldFiles {
public:
    // Looks at the description file of every folder the index holds.
    void LookAt(const std::string& catalogue, const TReadIndex& index);
    // True when the description file of the folder at entry has the size and time the index
    // holds for it (a folder not looked at before is looked at now).
    bool Kept(const std::string& catalogue, const TReadIndexedFolder& old,
              const std::string& entry) const;

private:
    std::unordered_map<std::string_view, platform::TEntryFacts> FFiles;
};

// What the old index holds of an album's songs.
struct TOldAlbum {
    // The print of the songs as they are now, and whether the index holds the same for the
    // album: then every song is as the index holds it.
    std::uint64_t Print = 0;
    bool Printed = false;
    // The index's facts of each song, in the order of the songs (null for a song it does not
    // hold), once looked up; songs looked up at the start are read ahead.
    std::vector<const TReadIndexedSong*> Songs;
    bool LookedUp = false;
    bool ReadAhead = false;
};

// The album's songs compared with the index by their print.
TOldAlbum CompareAlbum(const TReadIndex& index, const TMusicAlbum& album);
// Looks each of the album's songs up in the index (whose songs are read first).
void LookUpSongs(TReadIndex& index, const TMusicAlbum& album, TOldAlbum& old);

// True when the index holds the song's facts as they are: same size and time.
bool Unchanged(const TMusicSong& song, const TReadIndexedSong* old);

} // namespace Catalogue
