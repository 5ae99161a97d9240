// Whole-text tests that let the search pass over a description file in one go: the query
// (letters a to z folded) in a text, and lines that may fail the syntax test. Both look at
// 16 bytes at a time where the processor allows it.
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

// False when every line of the text (up to a Ctrl-Z) is empty, a comment or passes the
// syntax test, so that walking its lines would report no syntax error. True when some
// line may fail; a blank line without two blanks in a row counts as one that may.
bool MayHoldSyntaxErrors(std::string_view text);

// MayHoldSyntaxErrors, or some line holds the query.
bool MayHoldSyntaxErrorsOrQuery(std::string_view text, const TQueryMatcher& query);

} // namespace Catalogue
