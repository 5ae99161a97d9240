// Feeds arbitrary texts and queries to the search's line sieve, with the wide scan allowed
// and not: every line that fails the syntax test or holds a query is given, and what is given
// is raw lines of the text, in order.
#include "catalogue/AlbumSearch.h"
#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "catalogue/TextScan.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace Catalogue;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool Same(std::string_view a, std::string_view b) {
    return a.data() == b.data() && a.size() == b.size();
}

bool Holds(std::string_view line, const std::string& upperQuery) {
    return !upperQuery.empty() && UpperAscii(line).find(upperQuery) != std::string::npos;
}

bool Fails(std::string_view line) {
    return !line.empty() && !IsCommentLine(line) && !PassesSyntaxTest(line);
}

// Takes a length byte and that many bytes from the front of input.
std::string TakeQuery(std::string_view& input) {
    if (input.empty())
        return {};
    const std::size_t length = static_cast<unsigned char>(input.front()) % 16;
    input.remove_prefix(1);
    const std::string query(input.substr(0, length));
    input.remove_prefix(query.size());
    return UpperAscii(query);
}

// The raw lines of the text, each with whether the sieve must give it.
struct TRawLine {
    std::string_view Line;
    bool Needed;
};

std::vector<TRawLine> RawLines(std::string_view text, const std::string& query,
                               const std::string& other) {
    std::vector<TRawLine> raw;
    TDescLines walk(text);
    std::string_view line;
    while (walk.NextRawLine(line))
        raw.push_back({line, Fails(line) || Holds(line, query) || Holds(line, other)});
    return raw;
}

void CheckSieve(std::string_view text, const std::vector<TRawLine>& raw, const std::string& query,
                const std::string& other) {
    const TQueryMatcher queryMatcher(query);
    const TQueryMatcher otherMatcher(other);
    TLineSieve sieve(text, queryMatcher, otherMatcher);
    std::size_t r = 0;
    std::string_view line;
    while (sieve.NextLine(line)) {
        // Given lines are raw lines, in order; those passed over needed no closer look.
        for (; r < raw.size() && !Same(raw[r].Line, line); ++r)
            Check(!raw[r].Needed);
        Check(r < raw.size());
        ++r;
    }
    for (; r < raw.size(); ++r)
        Check(!raw[r].Needed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string query = TakeQuery(input);
    const std::string other = TakeQuery(input);
    // The text ends where the fuzzer's buffer ends, so that a read past it is caught.
    const std::string_view text = input;
    const auto raw = RawLines(text, query, other);
    for (const bool wide : {false, true}) {
        const bool before = AllowWideScanForTesting(wide);
        CheckSieve(text, raw, query, other);
        AllowWideScanForTesting(before);
    }
    return 0;
}
