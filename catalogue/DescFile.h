// Reading of description files: the whole file in one read, then its description
// lines (blank and comment lines skipped) as views into the buffer, in file order.
#pragma once

#include "platform/DescRead.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

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

// Opening below a folder, and the limits of a reading (see platform/DescRead.h).
using platform::MaxDescFileSize;
using platform::TDescFolder;
using platform::TDescRead;

// One description file read in a single go. The file is closed again before Open
// returns, so a reader holds no file open while it walks the lines. The buffer is
// kept from one Open to the next.
class TDescFile {
public:
    // Reads the file; false when it cannot be opened or read (no exception). A path below
    // folder is opened relative to it.
    bool Open(const std::string& path, const TDescFolder* folder = nullptr);
    // Takes a file read elsewhere (its bytes and what became of the reading) and gives its own
    // buffer in return, to be used again.
    void Exchange(platform::TReadBuffer& buffer, TDescRead result) {
        std::swap(FBuffer, buffer);
        FResult = result;
    }
    bool Opened() const { return FResult == TDescRead::Read; }
    // Why the last Open failed (Read when it did not).
    TDescRead Result() const { return FResult; }
    // The text as read, Ctrl-Z and what follows included.
    std::string_view Text() const { return {FBuffer.Data(), FBuffer.Size()}; }
    TDescLines Lines() const { return TDescLines(Text()); }

private:
    platform::TReadBuffer FBuffer;
    TDescRead FResult = TDescRead::NotOpened;
};

} // namespace Catalogue
