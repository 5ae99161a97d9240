#include "catalogue/DescFile.h"

#include <bit>
#include <cstdint>
#include <cstring>

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

TDescLines::TDescLines(std::string_view text) : FNext(text.data()), FEnd(text.data()) {
    if (text.empty())
        return;
    const void* ctrlZ = std::memchr(text.data(), CtrlZ, text.size());
    FEnd = ctrlZ ? static_cast<const char*>(ctrlZ) : text.data() + text.size();
}

const char* FindLineEnd(const char* from, const char* end) {
    // One pass for both characters, 16 bytes at a time where the processor allows it: a
    // search for each alone would pass again and again over a file that has none of one.
#ifdef TUNESTEAD_LINES_SSE2
    const __m128i returns = _mm_set1_epi8(CarriageReturn);
    const __m128i feeds = _mm_set1_epi8(LineFeed);
    for (; end - from >= 16; from += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const auto ends = static_cast<std::uint32_t>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, returns), _mm_cmpeq_epi8(bytes, feeds))));
        if (ends != 0)
            return from + std::countr_zero(ends);
    }
#endif
    while (from < end && *from != CarriageReturn && *from != LineFeed)
        ++from;
    return from;
}

bool TDescLines::NextRawLine(std::string_view& line) {
    if (FNext >= FEnd)
        return false;
    const char* stop = FindLineEnd(FNext, FEnd);
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
