// Whole-text tests that let the search pass over a description file in one go: the query
// (letters a to z folded) in a text, and the lines that may fail the syntax test or hold the
// query. Both look at 16 (or 32) bytes at a time where the processor allows it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Catalogue {

// Finds one query, already in capitals, in many texts taken in capitals (only a to z are
// folded). An empty query occurs nowhere.
class TQueryMatcher {
public:
    explicit TQueryMatcher(std::string_view upperQuery);
    bool FoundIn(std::string_view text) const;

    std::size_t Length() const { return FQuery.size(); }
    // Whether the query starts at "at"; Length() bytes must be readable there.
    bool MatchesAt(const char* at) const;
    // The first and the last character with bit 5 set: every character that the query's
    // character matches gives the same key (and a few others do too).
    char FirstKey() const { return FFirstKey; }
    char LastKey() const { return FLastKey; }

private:
    std::string FQuery;
    char FFirstKey = 0;
    char FLastKey = 0;
};

// The raw lines of a text (up to its first Ctrl-Z, as TDescLines gives them) that need a
// closer look, in order: every line that may fail the syntax test, and every line that may
// hold the query or the other spelling of it (an empty one holds nothing). A line that
// fails the test or holds a query is never left out; a few others may be given too (a blank
// line without two blanks in a row, a query across a line's end), so the caller judges each
// line given as it would judge any other. The text and the queries must outlive the sieve.
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

// Lets the tests run the scan that every processor runs on one that has a wider one; returns
// the setting before.
bool AllowWideScanForTesting(bool allowed);

} // namespace Catalogue
