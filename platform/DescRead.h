// Reading of whole description files: a handle on a folder below which files are opened by
// their path relative to it, and the reading of one file into a buffer kept from file to file.
// Only regular files up to a generous size are read, so that a device, a pipe or a huge file
// named like a description file can neither hang the reading nor fill the memory. Safe to use
// from several threads at once, each with its own buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The largest description file that is read. The largest real ones hold a few hundred
// kilobytes (a category of 10,000 albums about 700 KB); anything beyond this is not a
// description file, and reading it would only fill the memory.
inline constexpr std::uint64_t MaxDescFileSize = 64 * 1024 * 1024;

// What became of the reading of a description file.
enum class TDescRead {
    Read,
    // There is no such file, or it cannot be opened or read.
    NotOpened,
    // A folder, a device, a pipe or a socket: something that may never end is not read.
    NotRegular,
    // Larger than MaxDescFileSize.
    TooLarge,
};

// The bytes of one file; its storage grows as needed and is kept for the next file.
class TReadBuffer {
public:
    // Room for at least size bytes; the bytes held so far stay.
    char* Reserve(std::size_t size);
    const char* Data() const { return FData.get(); }
    std::size_t Size() const { return FSize; }
    void SetSize(std::size_t size) { FSize = size; }

private:
    std::unique_ptr<char[]> FData;
    std::size_t FCapacity = 0;
    std::size_t FSize = 0;
};

// A folder below which description files are opened by their path relative to it, so
// that the system walks only the part below the folder for each of them instead of the
// whole path from its start. Where the system has no such opening (or the folder cannot be
// opened) every path is opened whole, with the same result.
class TDescFolder {
public:
    // directory: the folder's path with its trailing delimiter, as the paths below it begin;
    // opened relative to parent when it lies below that.
    explicit TDescFolder(std::string_view directory, const TDescFolder* parent = nullptr);
    ~TDescFolder();
    TDescFolder(const TDescFolder&) = delete;
    TDescFolder& operator=(const TDescFolder&) = delete;

    // The part of path below the folder, or nullptr when the folder is not open or path does
    // not begin with it.
    const char* Below(const std::string& path) const;
    int Handle() const { return FHandle; }

private:
    std::string FPrefix;
    int FHandle = -1;
};

// Reads the whole file into buffer, whose size is then what was read (0 unless Read). A path
// below folder is opened relative to it; a path holding a zero byte is not opened at all.
TDescRead ReadDescFile(const std::string& path, const TDescFolder* folder, TReadBuffer& buffer);

// The size of the file at path, opened whole; nothing for a file whose size cannot be had.
std::optional<std::uint64_t> FileSize(const std::string& path);

// The size of the file at path (not a folder), found relative to folder when below it; nothing
// when there is no such file.
std::optional<std::uint64_t> FileSizeBelow(const std::string& path, const TDescFolder& folder);

// For tests: hook receives the path of every description file about to be opened, on the
// thread that opens it; an empty hook ends that. Set it only while no file is being read.
void SetDescOpenHook(std::function<void(const std::string& path)> hook);

// For the backends: whether path may be opened (it holds no zero byte), telling the hook.
bool AnnounceDescOpen(const std::string& path);

} // namespace platform
