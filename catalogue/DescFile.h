// Reading of description files: the whole file in one read, then its description
// lines (blank and comment lines skipped) as views into the buffer, in file order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Catalogue {

// The characters that shape the text of a description file.
inline constexpr char CarriageReturn = 13;
inline constexpr char LineFeed = 10;
inline constexpr char CtrlZ = 26;

// A line of nothing but characters with codes 0 to 32 (the empty line included).
bool IsBlankLine(std::string_view line);

// A line whose very first character is ";".
bool IsCommentLine(std::string_view line);

// The first line end at or after from: a carriage return or a line feed; end when there is
// none before it.
const char* FindLineEnd(const char* from, const char* end);

// The start of the line after one whose end is at lineEnd (before end): past that character,
// and past a line feed directly after a carriage return, which belongs to it.
inline const char* PastLineEnd(const char* lineEnd, const char* end) {
    const char* next = lineEnd + 1;
    if (*lineEnd == CarriageReturn && next < end && *next == LineFeed)
        ++next;
    return next;
}

// The description lines of a text. A carriage return, a line feed, or the pair of both in
// that order ends a line, so files written with any of the three read alike (a line feed
// before a carriage return ends an empty line). A Ctrl-Z (26) ends the text. The views point
// into the text given.
class TDescLines {
public:
    TDescLines() = default;
    explicit TDescLines(std::string_view text);

    // The next raw line, blank and comment lines included; false at the end.
    bool NextRawLine(std::string_view& line);
    // The next description line, untrimmed; false at the end.
    bool NextLine(std::string_view& line);

private:
    const char* FNext = nullptr;
    const char* FEnd = nullptr;
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

// One description file read in a single go. The file is closed again before Open
// returns, so a reader holds no file open while it walks the lines. The buffer is
// kept from one Open to the next.
class TDescFile {
public:
    // Reads the file; false when it cannot be opened or read (no exception). A path below
    // folder is opened relative to it.
    bool Open(const std::string& path, const TDescFolder* folder = nullptr);
    bool Opened() const { return FResult == TDescRead::Read; }
    // Why the last Open failed (Read when it did not).
    TDescRead Result() const { return FResult; }
    // The text as read, Ctrl-Z and what follows included.
    std::string_view Text() const { return {FBuffer.get(), FSize}; }
    TDescLines Lines() const { return TDescLines(Text()); }

private:
    TDescRead ReadAll(const std::string& path, const TDescFolder* folder);
    char* Reserve(std::size_t size);

    std::unique_ptr<char[]> FBuffer;
    std::size_t FCapacity = 0;
    std::size_t FSize = 0;
    TDescRead FResult = TDescRead::NotOpened;
};

} // namespace Catalogue
