// The writing side of a description line: the name, two blanks and the description up to
// column 50, and on song lines the size (columns 52 to 61) and the bit rate (63 to 68); and
// the bit rate that makes the play-time rule give a song's true length.
#pragma once

#include "describing/DescCodePage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Catalogue {

// The longest file-name field the syntax test lets through.
inline constexpr std::size_t MaxNameLength = 18;
// The largest bit rate the six columns of the rate field hold.
inline constexpr std::int32_t MaxBitRate = 999999;

enum class TNameFault {
    None,
    // Longer than 18 bytes: the separator would fall outside the first 20 columns.
    TooLong,
    // A name no line can carry: empty, a control character (a line end would split the
    // line), two blanks in a row or a trailing blank (the separator would be found inside
    // or before the name), or a ";" first (the line would be a comment).
    Unwritable,
};

TNameFault CheckName(std::string_view name);

// The numbers of a song line: the file's size in bytes and a bit rate in bits per second.
struct TSongNumbers {
    std::int32_t Size = 0;
    std::int32_t Rate = 0;
    friend bool operator==(const TSongNumbers&, const TSongNumbers&) = default;
};

struct TLaidOutLine {
    std::string Text;
    // The description did not fit before column 51 and was cut.
    bool Cut = false;
};

// A line for name (which must pass CheckName) with the encoded description, cut at column 50
// on a character boundary; trailing blanks are left out. With numbers the line is padded to
// column 51 and carries both fields right-aligned, column 62 blank.
TLaidOutLine LayOutLine(std::string_view name, std::string_view description, TCodePage page,
                        const std::optional<TSongNumbers>& numbers);

struct TTitleLine {
    std::string Text;
    bool Cut = false;
    // Characters written as "?" (EncodeText).
    int Unrepresentable = 0;
};

// A line for name with a UTF-8 title: the title in the code page (EncodeText), laid out by
// LayOutLine. Auto keeps Windows-1252 only for a field that the program reads back as it was
// written; one that it would read as UTF-8 (bytes that happen to be well-formed UTF-8, or a
// last letter at column 50 that looks like a cut UTF-8 character) is written in UTF-8.
TTitleLine LayOutTitle(std::string_view name, std::string_view title, TCodePage page,
                       const std::optional<TSongNumbers>& numbers);

// The line with columns 52 to 68 holding numbers; columns 1 to 51 and anything after column
// 68 stay as they were (a shorter line is padded with blanks).
std::string WithNumbers(std::string_view line, const TSongNumbers& numbers);

// The numbers of a song of size bytes lasting lengthMs milliseconds: a bit rate for which
// 8 * size / rate, floored, is the song's whole seconds, as near the middle of that second as
// the rate field allows. Nothing when the size does not fit 32 bits or no rate from 1 to
// 999999 gives that second.
std::optional<TSongNumbers> ChooseNumbers(std::uint64_t size, std::int64_t lengthMs);

} // namespace Catalogue
