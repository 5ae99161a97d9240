#include "platform/DescRead.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Read size for a regular file whose size the system does not tell (a file of the proc
// file system).
constexpr std::size_t ChunkSize = 64 * 1024;

// Reads an open file whose status is info into buffer.
TDescRead ReadOpenFile(int fd, const struct stat& info, TReadBuffer& buffer) {
    if (!S_ISREG(info.st_mode))
        return TDescRead::NotRegular;
    if (static_cast<std::uint64_t>(info.st_size) > MaxDescFileSize)
        return TDescRead::TooLarge;
    // A regular file is read in one call of its size; one that tells no size in chunks until
    // its end, within the same limit.
    const bool sized = info.st_size > 0;
    const auto expected = sized ? static_cast<std::size_t>(info.st_size) : 0;
    std::size_t size = 0;
    for (;;) {
        const std::size_t want = sized ? expected - size : ChunkSize;
        char* data = buffer.Reserve(size + want);
        const ssize_t got = ::read(fd, data + size, want);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return TDescRead::NotOpened;
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
        if (size > MaxDescFileSize)
            return TDescRead::TooLarge;
        if (sized && size >= expected)
            break;
    }
    buffer.SetSize(size);
    return TDescRead::Read;
}

} // namespace

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

TDescRead ReadDescFile(const std::string& path, const TDescFolder* folder, TReadBuffer& buffer) {
    buffer.SetSize(0);
    if (!AnnounceDescOpen(path))
        return TDescRead::NotOpened;
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
    const TDescRead result =
        ::fstat(fd, &info) == 0 ? ReadOpenFile(fd, info, buffer) : TDescRead::NotOpened;
    ::close(fd);
    if (result != TDescRead::Read)
        buffer.SetSize(0);
    return result;
}

std::optional<std::uint64_t> FileSizeBelow(const std::string& path, const TDescFolder& folder) {
    if (const char* below = folder.Below(path)) {
        struct stat info {};
        if (::fstatat(folder.Handle(), below, &info, 0) != 0 || S_ISDIR(info.st_mode))
            return std::nullopt;
        return static_cast<std::uint64_t>(info.st_size);
    }
    return FileSize(path);
}

} // namespace platform
