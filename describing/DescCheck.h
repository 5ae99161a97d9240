// The check of a catalogue through the program's own readers: every line that fails the
// syntax test, every missing description file, every song line without a play time and
// every song whose file is gone or no longer has the size its line gives; and every song file
// and folder of song files below the root that no line reaches.
#pragma once

#include "catalogue/ReadAhead.h"

#include <functional>
#include <string>

namespace Catalogue {

// Receives one problem as "file:line: message" (or "folder: message").
using TCheckSink = std::function<void(const std::string& problem)>;

// Checks the catalogue below root and returns the number of problems found. The description
// files are read ahead on other threads, which never changes the problems or their order.
int CheckCatalogue(const std::string& root, const TCheckSink& report,
                   const TReadAheadOptions& readAhead = {});

} // namespace Catalogue
