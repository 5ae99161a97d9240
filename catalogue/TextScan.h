// Fast tests over a whole text, so that the album search passes over a description file in one
// go instead of line by line: finding the query in a text (the letters a to z compared without
// case), and picking out the lines that may fail the syntax test or hold the query. Where the
// processor allows it, both look at 16 or 32 bytes at a time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Catalogue {

// Looks for one query in many texts. The query is given in capitals, and each text is compared
// as if it were in capitals too (only the letters a to z change case). An empty query is found
// nowhere.
class TQueryMatcher {
public:
    explicit TQueryMatcher(std::string_view upperQuery);
    bool FoundIn(std::string_view text) const;

    std::size_t Length() const { return FQuery.size(); }
    // True when the query starts at `at`; Length() bytes must be readable from there.
    bool MatchesAt(const char* at) const;
    // The query's first and last character with bit 5 (0x20) set. Setting that bit turns A to Z
    // into a to z, so every character that may match a query character gives the same key; a
    // few others give it too, which is why a key match is only a candidate for MatchesAt.
    char FirstKey() const { return FFirstKey; }
    char LastKey() const { return FLastKey; }

private:
    std::string FQuery;
    char FFirstKey = 0;
    char FLastKey = 0;
};

// Gives, in order, the lines of a text that need a closer look: every line that may fail the
// syntax test, and every line that may hold the query or its other spelling (an empty query
// is held by no line). Lines are split as TDescLines splits them, and the text ends at its
// first Ctrl-Z. No line that fails the test or holds a query is ever left out, but a few others
// may be given as well (a blank line, or a line where a query runs on past the line's end), so
// the caller must still check each line it gets. The text and both queries must outlive the
// sieve.
class TLineSieve {
public:
    TLineSieve(std::string_view text, const TQueryMatcher& query, const TQueryMatcher& other);
    bool NextLine(std::string_view& line);

private:
    std::string_view FText;
    const TQueryMatcher* FQuery;
    const TQueryMatcher* FOther;
    std::size_t FNext = 0;
};

// For tests: false makes the scan use 16 bytes at a time, which every processor supports, even
// on a processor that also has the 32-byte (AVX2) scan, so that one machine can test both;
// true lets the program pick the widest scan again. Returns the previous setting.
bool AllowWideScanForTesting(bool allowed);

} // namespace Catalogue
