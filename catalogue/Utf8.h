// UTF-8 as description files may hold it: well-formed characters, and a character that the end
// of a field cuts short.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace Catalogue {

struct TUtf8Character {
    char32_t Code = 0;
    std::size_t Length = 0;
};

// The well-formed UTF-8 character at the start of text, or nothing for a byte that does not
// begin one (overlong forms, surrogates and codes beyond U+10FFFF included).
std::optional<TUtf8Character> DecodeUtf8(std::string_view text);

// Text is well-formed UTF-8 from start to end.
bool IsUtf8(std::string_view text);

// Where a UTF-8 character starts that the end of text cuts short: a lead byte and fewer
// continuation bytes than it announces, which more bytes would make a well-formed character.
// The size of text when it ends otherwise.
std::size_t CutCharacterStart(std::string_view text);

// A field of fixed width that was filled to its end: without a UTF-8 character that the end
// cuts short, when the field is UTF-8 before it (it was written in UTF-8 and cut there, the
// rest of the character is gone); whole otherwise, since its last byte may be an accented
// letter of a single-byte code page, which is a UTF-8 lead byte too.
std::string_view WithoutCutCharacter(std::string_view field);

} // namespace Catalogue
