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

// Whether the query starts at one of the 64 places at "at" (the 64 bytes given as blocks,
// and the query's length - 1 bytes after them readable): only where its first and last
// characters fit is the whole query compared.
bool QueryIn64(const TQueryMatcher& query, const char* at, const __m128i (&blocks)[4]) {
    const char* lastAt = at + query.Length() - 1;
    std::uint64_t candidates = 0;
    for (int k = 0; k < 4; ++k)
        candidates |= (KeyMask16(blocks[k], query.FirstKey()) &
                       KeyMask16(Load16(lastAt + 16 * k), query.LastKey()))
                      << (16 * k);
    for (; candidates != 0; candidates &= candidates - 1)
        if (query.MatchesAt(at + std::countr_zero(candidates)))
            return true;
    return false;
}
#endif

// The walk of MayHoldSyntaxErrorsOrQuery; without a query only the syntax test counts.
bool ScanLines(std::string_view text, const TQueryMatcher* query) {
    const std::size_t end = TextEnd(text);
    const char* bytes = text.data();
    const std::size_t queryLength = query != nullptr ? query->Length() : 0;
    std::size_t start = 0;
    std::size_t base = 0;
#ifdef TUNESTEAD_SCAN_SSE2
    // One pass, 64 bytes at a time: where the query may start (a place it may hold the query
    // across a line's end is a false alarm that only costs the full walk), where the lines
    // end, and each line's syntax test at its start.
    const std::size_t tail = queryLength > 0 ? queryLength - 1 : 0;
    for (; base + 64 + tail <= end; base += 64) {
        const __m128i blocks[4] = {Load16(bytes + base), Load16(bytes + base + 16),
                                   Load16(bytes + base + 32), Load16(bytes + base + 48)};
        if (query != nullptr && QueryIn64(*query, bytes + base, blocks))
            return true;
        std::uint64_t returns = 0;
        for (int k = 0; k < 4; ++k)
            returns |= Mask16(blocks[k], CarriageReturn) << (16 * k);
        for (; returns != 0; returns &= returns - 1) {
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
    // What the blocks did not cover: the query from there on, and the lines that end there.
    if (query != nullptr && query->FoundIn(text.substr(base, end - base)))
        return true;
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
