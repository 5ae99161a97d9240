#include "catalogue/DescFile.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define TUNESTEAD_LINES_SSE2 1
#include <emmintrin.h>
#endif

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Catalogue {

namespace {

// Read size for files whose size the system does not tell in advance.
constexpr std::size_t ChunkSize = 64 * 1024;

} // namespace

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

char* TDescFile::Reserve(std::size_t size) {
    if (size > FCapacity) {
        std::size_t capacity = FCapacity < 4096 ? 4096 : FCapacity;
        while (capacity < size)
            capacity *= 2;
        auto grown = std::unique_ptr<char[]>(new char[capacity]);
        if (FSize > 0)
            std::memcpy(grown.get(), FBuffer.get(), FSize);
        FBuffer = std::move(grown);
        FCapacity = capacity;
    }
    return FBuffer.get();
}

bool TDescFile::Open(const std::string& path, const TDescFolder* folder) {
    FSize = 0;
    FResult = path.find('\0') == std::string::npos ? ReadAll(path, folder) : TDescRead::NotOpened;
    if (FResult != TDescRead::Read)
        FSize = 0;
    return FResult == TDescRead::Read;
}

#ifdef _WIN32

TDescFolder::TDescFolder(std::string_view directory, const TDescFolder*) : FPrefix(directory) {}

TDescFolder::~TDescFolder() = default;

const char* TDescFolder::Below(const std::string&) const {
    return nullptr;
}

TDescRead TDescFile::ReadAll(const std::string& path, const TDescFolder*) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return folder ? TDescRead::NotRegular : TDescRead::NotOpened;
    }
    LARGE_INTEGER size{};
    TDescRead result = TDescRead::Read;
    // A device or a pipe may never end: only files on a disk are read.
    if (GetFileType(file) != FILE_TYPE_DISK)
        result = TDescRead::NotRegular;
    else if (GetFileSizeEx(file, &size) == 0)
        result = TDescRead::NotOpened;
    else if (static_cast<std::uint64_t>(size.QuadPart) > MaxDescFileSize)
        result = TDescRead::TooLarge;
    const auto expected = static_cast<std::size_t>(size.QuadPart);
    while (result == TDescRead::Read && FSize < expected) {
        char* buffer = Reserve(expected);
        DWORD got = 0;
        if (!ReadFile(file, buffer + FSize, static_cast<DWORD>(expected - FSize), &got, nullptr))
            result = TDescRead::NotOpened;
        else if (got == 0)
            break;
        FSize += got;
    }
    CloseHandle(file);
    return result;
}

#else

TDescFolder::TDescFolder(std::string_view directory, const TDescFolder* parent)
    : FPrefix(directory) {
    if (FPrefix.empty() || FPrefix.find('\0') != std::string::npos)
        return;
    const char* below = parent != nullptr ? parent->Below(FPrefix) : nullptr;
#if defined(O_PATH)
    // A handle only for finding names below the folder: it needs no right to list it.
    constexpr int access = O_PATH;
#elif defined(O_SEARCH)
    constexpr int access = O_SEARCH;
#else
    constexpr int access = O_RDONLY;
#endif
    do
        FHandle =
            ::openat(below != nullptr ? parent->Handle() : AT_FDCWD,
                     below != nullptr ? below : FPrefix.c_str(), access | O_DIRECTORY | O_CLOEXEC);
    while (FHandle < 0 && errno == EINTR);
}

TDescFolder::~TDescFolder() {
    if (FHandle >= 0)
        ::close(FHandle);
}

const char* TDescFolder::Below(const std::string& path) const {
    if (FHandle < 0 || path.size() <= FPrefix.size() ||
        path.compare(0, FPrefix.size(), FPrefix) != 0)
        return nullptr;
    const char* rest = path.c_str() + FPrefix.size();
    // An absolute rest would be opened as it stands, not below the folder.
    return *rest == '/' ? nullptr : rest;
}

TDescRead TDescFile::ReadAll(const std::string& path, const TDescFolder* folder) {
    const char* below = folder != nullptr ? folder->Below(path) : nullptr;
    const int at = below != nullptr ? folder->Handle() : AT_FDCWD;
    const char* name = below != nullptr ? below : path.c_str();
    // Without a waiting writer a pipe would block the opening itself.
    int fd;
    do
        fd = ::openat(at, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return TDescRead::NotOpened;
    struct stat info {};
    TDescRead result = TDescRead::Read;
    if (::fstat(fd, &info) != 0)
        result = TDescRead::NotOpened;
    else if (!S_ISREG(info.st_mode))
        result = TDescRead::NotRegular;
    else if (static_cast<std::uint64_t>(info.st_size) > MaxDescFileSize)
        result = TDescRead::TooLarge;
    // A regular file is read in one call of its size; one that tells no size (a file of the
    // proc file system) is read in chunks until its end, within the same limit.
    const bool sized = info.st_size > 0;
    const auto expected = sized ? static_cast<std::size_t>(info.st_size) : 0;
    while (result == TDescRead::Read) {
        const std::size_t want = sized ? expected - FSize : ChunkSize;
        char* buffer = Reserve(FSize + want);
        const ssize_t got = ::read(fd, buffer + FSize, want);
        if (got < 0) {
            if (errno != EINTR)
                result = TDescRead::NotOpened;
            continue;
        }
        if (got == 0)
            break;
        FSize += static_cast<std::size_t>(got);
        if (FSize > MaxDescFileSize)
            result = TDescRead::TooLarge;
        if (sized && FSize >= expected)
            break;
    }
    ::close(fd);
    return result;
}

#endif

} // namespace Catalogue
