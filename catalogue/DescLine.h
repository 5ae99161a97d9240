// The fields of a description line: file name, description (with the syntax test),
// CD number and play time; and dec2str, the decimal text with leading pad characters.
#pragma once

#include "catalogue/PlayTime.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace Catalogue {

// Receives the text of the syntax-error box for a line that fails the syntax test.
using TSyntaxErrorHandler = std::function<void(const std::string& message)>;

// The file-name field: everything before the first two blanks in a row; empty when the line
// has no two blanks in a row. It does not apply the syntax test.
std::string_view ExtractDir(std::string_view line);

// The description field of a line that passes the syntax test.
struct TDescField {
    bool SyntaxError = false;
    // The text that follows the first two blanks in a row, up to column 50, without its
    // trailing blanks; empty on a syntax error. When column 50 cuts a UTF-8 text in the middle
    // of a character, the text ends before that character.
    std::string_view Text;
};

// Syntax test: the first 20 characters of the line contain two consecutive blanks.
bool PassesSyntaxTest(std::string_view line);

// The description field, after the syntax test.
TDescField ParseDescription(std::string_view line);

// The description of a line held by the description file descPath. On a syntax
// error, onSyntaxError (when set) receives the box text first, and the result is the
// syntax-error text for that file.
std::string ExtractDesc(std::string_view line, std::string_view descPath,
                        const TSyntaxErrorHandler& onSyntaxError);

// Columns 52 to 57 of a category line as they stand (shorter or empty when the line
// ends sooner).
std::string_view CdNumberField(std::string_view line);

// A numeric field of a song line: blanks before, an optional sign and decimal digits,
// trailing blanks removed; nothing for an empty field, any other character or a value
// beyond 32 bits.
std::optional<std::int32_t> ParseNumberField(std::string_view field);

// The play time of a song line: from the size (columns 52 to 61) and the bit rate
// (columns 63 to 68). Unknown for a line shorter than 52 characters, for a size or
// rate that is not a 32-bit number, for a rate of 0, and for a negative size or rate.
TPlayTime ExtractTime(std::string_view line);

// The decimal text of value, preceded by as many pad characters as make it width
// characters long; a longer text is returned unchanged.
std::string dec2str(std::int32_t value, int width, char pad);

} // namespace Catalogue
