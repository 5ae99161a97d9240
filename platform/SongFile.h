// A song file opened for reading only and read at any offset, with the fewest system calls: one
// to open it, one to learn its kind and size, one per read. Opening for reading only matters: the
// music folder may be read-only, and a file opened for writing looks changed to programs that
// watch the folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class TSongFile {
public:
    // Opens path without waiting (a FIFO named like a song must not hold the reading up) and
    // throws EError "cannot open the file", or "not a regular file" for anything but a file.
    explicit TSongFile(const std::string& path);
    ~TSongFile();
    TSongFile(const TSongFile&) = delete;
    TSongFile& operator=(const TSongFile&) = delete;

    std::uint64_t Size() const { return FSize; }

    // Copies up to count bytes from offset on: the bytes read, 0 at the end, -1 on an error.
    std::int64_t ReadAt(std::uint64_t offset, char* to, std::size_t count);

private:
    // A file descriptor on POSIX, a HANDLE on Windows.
    std::intptr_t FHandle;
    std::uint64_t FSize = 0;
};

} // namespace platform
