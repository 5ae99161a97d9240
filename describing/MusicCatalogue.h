// The describing of a music folder in any layout into a catalogue of its own, kept apart from
// the music: real folders for the categories and albums with their description files, and for
// each song an entry of at most 18 characters that leads to the real file (a link). Nothing is
// ever written into the music folder, which may be read-only.
#pragma once

#include "describing/DescribeWalk.h"

#include <string>

namespace Catalogue {

// Describes music into the catalogue folder (made when missing). Entries keep their names from
// run to run; a song whose size and time are unchanged is not opened again; --prune removes
// only the catalogue's own entries of songs and folders that are gone. Only one run at a time
// works on a catalogue: a second one waits (events.OnBusy tells). Throws EInOutError when
// music cannot be read, the catalogue cannot be made, or it belongs to another music folder.
TDescribeSummary DescribeMusicFolder(const std::string& music, const std::string& catalogue,
                                     TSongFactsReader& reader, const TDescribeOptions& options,
                                     const TDescribeEvents& events);

} // namespace Catalogue
