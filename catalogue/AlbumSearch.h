// The album search: every album under a search base whose category or title holds
// the query, without regard to the case of the letters a to z.
#pragma once

#include "catalogue/DescLine.h"
#include "catalogue/ReadAhead.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Catalogue {

// One found album.
struct TSearchResult {
    // The album's description (or syntax-error text).
    std::string Album;
    // The category's description (or syntax-error text).
    std::string Category;
    // Columns 52 to 57 of the album's line, as they stand.
    std::string CdNumber;
    // The album directory: base, category file-name field, album file-name field.
    std::string Path;
};

// Called while the description files are walked, in line order.
struct TSearchEvents {
    // The syntax-error box text for the first faulty base or category line of each
    // description file in the search; the later ones of the same file are not reported.
    TSyntaxErrorHandler OnSyntaxError;
    // The base's description file cannot be opened or is refused (not a regular file, too
    // large): the box text. Nothing else follows.
    std::function<void(const std::string& message)> OnBaseFileMissing;
    // A category's description file cannot be opened or is refused: the box text. The search
    // goes on.
    std::function<void(const std::string& message)> OnCategoryFileMissing;
    // Each result as it is found.
    std::function<void(const TSearchResult& result)> OnResult;
};

struct TSearchOutcome {
    bool BaseOpened = false;
    // The base's description file.
    std::string DescPath;
    // In file order: base file, then category file.
    std::vector<TSearchResult> Results;
};

// Only the letters a to z become capitals; every other character stays.
std::string UpperAscii(std::string_view text);

// Whether upperQuery (already in capitals) occurs in text taken in capitals. An empty
// query occurs nowhere.
bool ContainsQuery(std::string_view text, std::string_view upperQuery);

// Searches the categories and albums listed under base. A category whose text holds
// the query lists all its albums; otherwise an album is listed when its own text holds
// it. The whole query, blanks included, is one piece of text. otherSpelling, when not
// empty, is the same query in another code page (what the user typed, written the way
// older single-byte catalogues write it); a text that holds either one matches. The category
// files are read ahead on other threads, which never changes the events or their order.
TSearchOutcome SearchAlbums(std::string_view base, std::string_view query,
                            const TSearchEvents& events, std::string_view otherSpelling = {},
                            const TReadAheadOptions& readAhead = {});

} // namespace Catalogue
