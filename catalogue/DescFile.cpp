#include "catalogue/DescFile.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define TUNESTEAD_LINES_SSE2 1
#include <emmintrin.h>
#endif

namespace Catalogue {

bool IsBlankLine(std::string_view line) {
    for (const char c : line)
        if (static_cast<unsigned char>(c) > 32)
            return false;
    return true;
}

bool IsCommentLine(std::string_view line) {
    return !line.empty() && line.front() == ';';
}

TDescLines::TDescLines(std::string_view text)
    : FNext(text.data()), FEnd(text.data() + text.size()) {}

namespace {

// The first of c1 and c2 (and of c3, when it is another character) at or after from; end when
// there is none before it. One pass for all of them, 16 bytes at a time where the processor
// allows it: a search for each alone would pass again and again over a file that has none of
// one.
const char* FindFirstOf(const char* from, const char* end, char c1, char c2, char c3) {
#ifdef TUNESTEAD_LINES_SSE2
    const __m128i first = _mm_set1_epi8(c1);
    const __m128i second = _mm_set1_epi8(c2);
    const __m128i third = _mm_set1_epi8(c3);
    for (; end - from >= 16; from += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const auto found = static_cast<std::uint32_t>(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, first), _mm_cmpeq_epi8(bytes, second)),
                         _mm_cmpeq_epi8(bytes, third))));
        if (found != 0)
            return from + std::countr_zero(found);
    }
#endif
    while (from < end && *from != c1 && *from != c2 && *from != c3)
        ++from;
    return from;
}

} // namespace

const char* FindLineEnd(const char* from, const char* end) {
    return FindFirstOf(from, end, CarriageReturn, LineFeed, LineFeed);
}

bool TDescLines::NextRawLine(std::string_view& line) {
    if (FNext >= FEnd)
        return false;
    // The text's end at its first Ctrl-Z is found on the way, in the same pass as the lines'.
    const char* stop = FindFirstOf(FNext, FEnd, CarriageReturn, LineFeed, CtrlZ);
    if (stop < FEnd && *stop == CtrlZ) {
        FEnd = stop;
        if (stop == FNext)
            return false;
    }
    line = std::string_view(FNext, static_cast<std::size_t>(stop - FNext));
    FNext = stop < FEnd ? PastLineEnd(stop, FEnd) : FEnd;
    return true;
}

bool TDescLines::NextLine(std::string_view& line) {
    while (NextRawLine(line))
        if (!IsBlankLine(line) && !IsCommentLine(line))
            return true;
    return false;
}

bool TDescFile::Open(const std::string& path, const TDescFolder* folder) {
    FResult = platform::ReadDescFile(path, folder, FBuffer);
    return FResult == TDescRead::Read;
}

} // namespace Catalogue
