// The reading of the whole catalogue: every root, category and album description
// file in file order, reported through events, with the running totals.
#pragma once

#include "catalogue/DescLine.h"
#include "catalogue/PlayTime.h"
#include "catalogue/ReadAhead.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Catalogue {

// The totals over all roots read so far.
struct TCatalogueTotals {
    // Every line of every category file that could be opened.
    std::int64_t Albums = 0;
    // Seconds and minutes carried after each root.
    TDuration Time;

    // "12 album(s)".
    std::string AlbumCountText() const;
    // "1:05:09 total play time".
    std::string TotalText() const;
};

// The views handed to the events are valid only during the call.
struct TCatalogueWalkEvents {
    // The syntax-error box text for the first faulty root or category line of each
    // description file in the reading, before its node event. Later faulty lines of the same
    // file are not reported again; their nodes carry the syntax-error text all the same.
    TSyntaxErrorHandler OnSyntaxError;
    // A category: the text of its root-file line (description or syntax-error text; for
    // an empty description the file-name field, or the trimmed line when that is empty too).
    std::function<void(std::string_view text)> OnCategory;
    // The description file of the last category cannot be opened, or is refused (not a
    // regular file, too large): the box text.
    std::function<void(const std::string& message)> OnCategoryFileMissing;
    // An album of the last category: its text (chosen as a category's), its directory path
    // and its play time.
    std::function<void(std::string_view text, std::string_view path, const TDuration& time)>
        OnAlbum;
    // A root has been read: the running totals.
    std::function<void(const TCatalogueTotals& totals)> OnRootDone;
};

// Reads the roots in order. A root whose description file cannot be opened is
// skipped without any event. Every description file is read once, read ahead on other threads
// (which never changes the events or their order), and closed before it is handed over.
// Returns the totals of the whole catalogue.
TCatalogueTotals WalkCatalogue(const std::vector<std::string>& roots,
                               const TCatalogueWalkEvents& events,
                               const TReadAheadOptions& readAhead = {});

} // namespace Catalogue
