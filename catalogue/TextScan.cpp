#include "catalogue/TextScan.h"

#include "catalogue/DescFile.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define TUNESTEAD_SCAN_SSE2 1
#include <emmintrin.h>
// Where the compiler can build code for a processor feature on its own, the scan also comes
// for AVX2, chosen when the program runs.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define TUNESTEAD_SCAN_AVX2 1
#include <immintrin.h>
#endif
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

// The position of the first line end (carriage return or line feed) at or after from, or end.
std::size_t LineEndFrom(const char* text, std::size_t from, std::size_t end) {
    return static_cast<std::size_t>(FindLineEnd(text + from, text + end) - text);
}

// The start of the line after the one ending at lineEnd: past its line end, a carriage
// return with the line feed directly after it counting as one. A last line that no line end
// closes ends at end, where nothing may be read.
std::size_t LineAfter(const char* text, std::size_t lineEnd, std::size_t end) {
    if (lineEnd >= end)
        return end;
    return static_cast<std::size_t>(PastLineEnd(text + lineEnd, text + end) - text);
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

// 64 bytes of a text, 16 at a time: which of them are a given character, or have a given key.
class TSse2Block {
public:
    explicit TSse2Block(const char* at)
        : FBytes{Load16(at), Load16(at + 16), Load16(at + 32), Load16(at + 48)} {}

    // One bit for each byte that is c.
    std::uint64_t Mask(char c) const {
        return Mask16(FBytes[0], c) | Mask16(FBytes[1], c) << 16 | Mask16(FBytes[2], c) << 32 |
               Mask16(FBytes[3], c) << 48;
    }
    std::uint64_t KeyMask(char key) const {
        return KeyMask16(FBytes[0], key) | KeyMask16(FBytes[1], key) << 16 |
               KeyMask16(FBytes[2], key) << 32 | KeyMask16(FBytes[3], key) << 48;
    }

private:
    __m128i FBytes[4];
};

#ifdef TUNESTEAD_SCAN_AVX2
// TSse2Block with 32 bytes at a time, for processors that have AVX2.
class TAvx2Block {
public:
    [[gnu::target("avx2")]] explicit TAvx2Block(const char* at)
        : FBytes{Load32(at), Load32(at + 32)} {}

    [[gnu::target("avx2")]] std::uint64_t Mask(char c) const {
        return Mask32(FBytes[0], c) | Mask32(FBytes[1], c) << 32;
    }
    [[gnu::target("avx2")]] std::uint64_t KeyMask(char key) const {
        const __m256i caseBit = _mm256_set1_epi8(CaseBit);
        return Mask32(_mm256_or_si256(FBytes[0], caseBit), key) |
               Mask32(_mm256_or_si256(FBytes[1], caseBit), key) << 32;
    }

private:
    [[gnu::target("avx2")]] static __m256i Load32(const char* at) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    [[gnu::target("avx2")]] static std::uint64_t Mask32(__m256i bytes, char c) {
        return static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(c))));
    }

    __m256i FBytes[2];
};
#endif

// Whether the query starts at one of the 64 places of block, which starts at "at" (with the
// query's length - 1 bytes after it readable): only where its first and last characters fit
// is the whole query compared.
template <class TBlock>
bool QueryIn64(const TQueryMatcher& query, const char* at, const TBlock& block) {
    std::uint64_t candidates =
        block.KeyMask(query.FirstKey()) & TBlock(at + query.Length() - 1).KeyMask(query.LastKey());
    for (; candidates != 0; candidates &= candidates - 1)
        if (query.MatchesAt(at + std::countr_zero(candidates)))
            return true;
    return false;
}
#endif

// The start of the first line at or after from (a line start) that may fail the syntax test
// or, with a query, may hold it; the text's size when none does. The text ends at its first
// Ctrl-Z. TBlock tells about 64 bytes at a time (unused where there is no SSE2).
template <class TBlock>
std::size_t ScanLinesWith(std::string_view text, std::size_t from, const TQueryMatcher* query) {
    const std::size_t end = text.size();
    const char* bytes = text.data();
    std::size_t start = from;
#ifdef TUNESTEAD_SCAN_SSE2
    // One pass, 64 bytes at a time: where the query may start, where the lines end (each
    // carriage return, and each line feed that no carriage return directly precedes: one bit
    // for each line, so that the walk over a block's lines never waits on the line before),
    // and each line's syntax test at its start. A block that may hold the query gives the line
    // that holds the block's start, which the query cannot start before; a place where it
    // may hold the query across a line's end is a false alarm that only costs a closer
    // look.
    const std::size_t tail = query != nullptr ? query->Length() - 1 : 0;
    std::uint64_t returnBefore = 0;
    for (std::size_t base = from; base + 64 + tail <= end; base += 64) {
        const TBlock block(bytes + base);
        if (query != nullptr && QueryIn64(*query, bytes + base, block))
            return start;
        const std::uint64_t returns = block.Mask(CarriageReturn);
        const std::uint64_t feeds = block.Mask(LineFeed);
        // A line feed right after a carriage return ends no line of its own.
        std::uint64_t ends = returns | (feeds & ~(returns << 1 | returnBefore));
        returnBefore = returns >> 63;
        for (; ends != 0; ends &= ends - 1) {
            const std::size_t lineEnd = base + static_cast<std::size_t>(std::countr_zero(ends));
            const bool separator = start + 17 <= end ? HasSeparator16(bytes, start, lineEnd)
                                                     : HasSeparator(bytes, start, start, lineEnd);
            if (MayFail(bytes, start, lineEnd, separator))
                return start;
            start = LineAfter(bytes, lineEnd, end);
        }
    }
#endif
    // The lines the blocks did not finish, one by one.
    while (start < end) {
        const std::size_t lineEnd = LineEndFrom(bytes, start, end);
        if (MayFail(bytes, start, lineEnd, HasSeparator(bytes, start, start, lineEnd)) ||
            (query != nullptr && query->FoundIn(text.substr(start, lineEnd - start))))
            return start;
        start = LineAfter(bytes, lineEnd, end);
    }
    return end;
}

#ifdef TUNESTEAD_SCAN_AVX2
// The whole scan compiled for AVX2, the helpers it calls included.
[[gnu::target("avx2"), gnu::flatten]] std::size_t
ScanLinesAvx2(std::string_view text, std::size_t from, const TQueryMatcher* query) {
    return ScanLinesWith<TAvx2Block>(text, from, query);
}
#endif

// Whether the scan may use the processor's wider registers where it has them.
bool WideScanAllowed = true;

std::size_t ScanLines(std::string_view text, std::size_t from, const TQueryMatcher* query) {
#ifdef TUNESTEAD_SCAN_AVX2
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    if (hasAvx2 && WideScanAllowed)
        return ScanLinesAvx2(text, from, query);
#endif
#ifdef TUNESTEAD_SCAN_SSE2
    return ScanLinesWith<TSse2Block>(text, from, query);
#else
    return ScanLinesWith<void>(text, from, query);
#endif
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

bool AllowWideScanForTesting(bool allowed) {
    const bool before = WideScanAllowed;
    WideScanAllowed = allowed;
    return before;
}

TLineSieve::TLineSieve(std::string_view text, const TQueryMatcher& query,
                       const TQueryMatcher& other)
    : FText(text.substr(0, TextEnd(text))), FQuery(query.Length() > 0 ? &query : nullptr),
      FOther(other.Length() > 0 ? &other : nullptr) {}

bool TLineSieve::NextLine(std::string_view& line) {
    if (FNext >= FText.size())
        return false;
    std::size_t at = ScanLines(FText, FNext, FQuery);
    if (FOther != nullptr) {
        const std::size_t otherAt = ScanLines(FText, FNext, FOther);
        at = otherAt < at ? otherAt : at;
    }
    if (at >= FText.size()) {
        FNext = FText.size();
        return false;
    }
    const std::size_t lineEnd = LineEndFrom(FText.data(), at, FText.size());
    line = FText.substr(at, lineEnd - at);
    FNext = LineAfter(FText.data(), lineEnd, FText.size());
    return true;
}

} // namespace Catalogue
