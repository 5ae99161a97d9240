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
// columns.
bool HasSeparator(const char* text, std::size_t start, std::size_t lineEnd) {
    const std::size_t last =
        lineEnd < start + SeparatorStarts + 1 ? lineEnd : start + SeparatorStarts + 1;
    for (std::size_t at = start; at + 1 < last; ++at)
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

// One bit for each of the 64 bytes of the blocks that equals c.
std::uint64_t Mask64(const __m128i (&blocks)[4], char c) {
    std::uint64_t mask = 0;
    for (int k = 0; k < 4; ++k)
        mask |= Mask16(blocks[k], c) << (16 * k);
    return mask;
}

// Whether the query starts within the first `starts` bytes at "at" (64 + Length() - 1
// bytes readable there): only where the first and the last character fit is the whole
// query compared.
bool QueryIn64(const TQueryMatcher& query, const char* at, std::size_t starts,
               const __m128i (&blocks)[4]) {
    const char* lastAt = at + query.Length() - 1;
    std::uint64_t candidates = 0;
    for (int k = 0; k < 4; ++k)
        candidates |= (KeyMask16(blocks[k], query.FirstKey()) &
                       KeyMask16(Load16(lastAt + 16 * k), query.LastKey()))
                      << (16 * k);
    if (starts < 64)
        candidates &= (std::uint64_t{1} << starts) - 1;
    for (; candidates != 0; candidates &= candidates - 1)
        if (query.MatchesAt(at + std::countr_zero(candidates)))
            return true;
    return false;
}
#endif

// The walk of MayHoldSyntaxErrorsOrQuery; without a query only the syntax test counts.
bool ScanLines(std::string_view text, const TQueryMatcher* query) {
    const char* bytes = text.data();
    const std::size_t end = TextEnd(text);
    std::size_t start = 0;
    while (start < end) {
        std::size_t lineEnd = end;
#ifdef TUNESTEAD_SCAN_SSE2
        const std::size_t queryLength = query != nullptr ? query->Length() : 0;
        // Most lines end within 64 bytes: four loads tell the separator, the line's end and
        // where the query may start.
        if (start + 64 + queryLength <= end) {
            const __m128i blocks[4] = {Load16(bytes + start), Load16(bytes + start + 16),
                                       Load16(bytes + start + 32), Load16(bytes + start + 48)};
            const auto returns = Mask64(blocks, CarriageReturn);
            if (returns != 0) {
                lineEnd = start + static_cast<std::size_t>(std::countr_zero(returns));
                const auto blanks = Mask16(blocks[0], ' ') | Mask16(blocks[1], ' ') << 16;
                const auto beforeEnd = (returns & (0 - returns)) - 1;
                const auto separators = blanks & (blanks >> 1) & beforeEnd &
                                        ((std::uint64_t{1} << SeparatorStarts) - 1);
                if (MayFail(bytes, start, lineEnd, separators != 0))
                    return true;
                const auto length = lineEnd - start;
                if (queryLength != 0 && length >= queryLength &&
                    QueryIn64(*query, bytes + start, length - queryLength + 1, blocks))
                    return true;
                start = lineEnd + 1;
                if (start < end && bytes[start] == LineFeed)
                    ++start;
                continue;
            }
        }
#endif
        lineEnd = LineEndFrom(bytes, start, end);
        if (MayFail(bytes, start, lineEnd, HasSeparator(bytes, start, lineEnd)))
            return true;
        if (query != nullptr && query->FoundIn({bytes + start, lineEnd - start}))
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
