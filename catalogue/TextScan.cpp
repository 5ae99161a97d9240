#include "catalogue/TextScan.h"

#include "catalogue/DescFile.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define TUNESTEAD_SCAN_SSE2 1
#include <emmintrin.h>
#endif

namespace Catalogue {

namespace {

// Setting this bit makes capitals and small letters alike.
constexpr char CaseBit = 0x20;
// A separator must start within the first 19 columns to lie within the first 20.
constexpr std::size_t SeparatorStarts = 19;

char UpperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text up to its first Ctrl-Z, where the lines end.
std::size_t TextEnd(std::string_view text) {
    const void* ctrlZ = std::memchr(text.data(), CtrlZ, text.size());
    return ctrlZ ? static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - text.data())
                 : text.size();
}

// The position of the first carriage return at or after from, or end.
std::size_t LineEndFrom(const char* text, std::size_t from, std::size_t end) {
    const void* found = std::memchr(text + from, CarriageReturn, end - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text) : end;
}

// Whether the line [start, lineEnd) has two blanks in a row starting within its first 19
// columns, looking from position from on.
bool HasSeparator(const char* text, std::size_t from, std::size_t start, std::size_t lineEnd) {
    const std::size_t last =
        lineEnd < start + SeparatorStarts + 1 ? lineEnd : start + SeparatorStarts + 1;
    for (std::size_t at = from; at + 1 < last; ++at)
        if (text[at] == ' ' && text[at + 1] == ' ')
            return true;
    return false;
}

// Whether the line [start, lineEnd) may fail the syntax test.
bool MayFail(const char* text, std::size_t start, std::size_t lineEnd, bool hasSeparator) {
    return !hasSeparator && lineEnd > start && text[start] != ';';
}

#ifdef TUNESTEAD_SCAN_SSE2
__m128i Load16(const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

std::uint64_t Mask16(__m128i bytes, char c) {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
}

// One bit for each byte whose key (bit 5 set) is key.
std::uint64_t KeyMask16(__m128i bytes, char key) {
    return Mask16(_mm_or_si128(bytes, _mm_set1_epi8(CaseBit)), key);
}

// HasSeparator for a line with at least 17 bytes readable at its start: the pairs that start
// in its first 16 columns in one go, the last three columns one by one.
bool HasSeparator16(const char* text, std::size_t start, std::size_t lineEnd) {
    const std::size_t length = lineEnd - start;
    if (length < 2)
        return false;
    const __m128i blank = _mm_set1_epi8(' ');
    const auto pairs = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(Load16(text + start), blank),
                                        _mm_cmpeq_epi8(Load16(text + start + 1), blank))));
    // A pair lies within the line when it starts at most two bytes before the line's end.
    const std::uint32_t within = length > 16 ? 0xFFFFu : (1u << (length - 1)) - 1;
    return (pairs & within) != 0 || (length > 17 && HasSeparator(text, start + 16, start, lineEnd));
}

// One bit for each of the 64 bytes at "at" that is a carriage return.
std::uint64_t Returns64(const char* at) {
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k)
        mask |= Mask16(Load16(at + 16 * k), CarriageReturn) << (16 * k);
    return mask;
}
#endif

// The walk of MayHoldSyntaxErrorsOrQuery; without a query only the syntax test counts.
bool ScanLines(std::string_view text, const TQueryMatcher* query) {
    const std::size_t end = TextEnd(text);
    // One pass over the whole text finds every line that may hold the query (and a few that
    // do not, where the query would run across a line's end): those need the full walk.
    if (query != nullptr && query->FoundIn(text.substr(0, end)))
        return true;
    const char* bytes = text.data();
    std::size_t start = 0;
#ifdef TUNESTEAD_SCAN_SSE2
    // The line ends are found 64 bytes at a time; each line is tested at its start.
    for (std::size_t base = 0; base + 64 <= end; base += 64) {
        for (auto returns = Returns64(bytes + base); returns != 0; returns &= returns - 1) {
            const std::size_t lineEnd = base + static_cast<std::size_t>(std::countr_zero(returns));
            const bool separator = start + 17 <= end ? HasSeparator16(bytes, start, lineEnd)
                                                     : HasSeparator(bytes, start, start, lineEnd);
            if (MayFail(bytes, start, lineEnd, separator))
                return true;
            start = lineEnd + 1;
            if (start < end && bytes[start] == LineFeed)
                ++start;
        }
    }
#endif
    // The lines that end after the last whole block.
    while (start < end) {
        const std::size_t lineEnd = LineEndFrom(bytes, start, end);
        if (MayFail(bytes, start, lineEnd, HasSeparator(bytes, start, start, lineEnd)))
            return true;
        start = lineEnd + 1;
        if (start < end && bytes[start] == LineFeed)
            ++start;
    }
    return false;
}

} // namespace

TQueryMatcher::TQueryMatcher(std::string_view upperQuery) : FQuery(upperQuery) {
    if (FQuery.empty())
        return;
    FFirstKey = static_cast<char>(FQuery.front() | CaseBit);
    FLastKey = static_cast<char>(FQuery.back() | CaseBit);
}

bool TQueryMatcher::MatchesAt(const char* at) const {
    for (std::size_t i = 0; i < FQuery.size(); ++i)
        if (UpperChar(at[i]) != FQuery[i])
            return false;
    return true;
}

bool TQueryMatcher::FoundIn(std::string_view text) const {
    const std::size_t length = FQuery.size();
    if (length == 0 || length > text.size())
        return false;
    const char* bytes = text.data();
    const std::size_t starts = text.size() - length + 1;
    std::size_t at = 0;
#ifdef TUNESTEAD_SCAN_SSE2
    for (; at + 16 <= starts; at += 16) {
        auto candidates = KeyMask16(Load16(bytes + at), FFirstKey) &
                          KeyMask16(Load16(bytes + at + length - 1), FLastKey);
        for (; candidates != 0; candidates &= candidates - 1)
            if (MatchesAt(bytes + at + std::countr_zero(candidates)))
                return true;
    }
#endif
    for (; at < starts; ++at)
        if ((bytes[at] | CaseBit) == FFirstKey && MatchesAt(bytes + at))
            return true;
    return false;
}

bool MayHoldSyntaxErrors(std::string_view text) {
    return ScanLines(text, nullptr);
}

bool MayHoldSyntaxErrorsOrQuery(std::string_view text, const TQueryMatcher& query) {
    return ScanLines(text, &query);
}

} // namespace Catalogue
