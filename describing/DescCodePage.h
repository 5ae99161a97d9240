// The code pages a description file can be written in: the text of a description (UTF-8,
// as tags and Linux file names arrive) turned into the bytes of one code page.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Catalogue {

enum class TCodePage { Windows1252, Latin1, Latin9, Utf8 };

// The code page of a name such as "windows-1252", "cp1252", "iso-8859-1", "latin1",
// "iso-8859-15", "latin9" or "utf-8" (letter case and "-"/"_" do not matter).
std::optional<TCodePage> CodePageByName(std::string_view name);

// The canonical name: windows-1252, iso-8859-1, iso-8859-15 or utf-8.
std::string_view CodePageName(TCodePage page);

struct TEncodedText {
    std::string Bytes;
    // Characters the code page cannot hold (and bytes that are not UTF-8), each written
    // as "?".
    int Unrepresentable = 0;
};

// The UTF-8 text in the code page. Control characters (codes below 32) become blanks: a
// line end or Ctrl-Z inside a description would break the line apart.
TEncodedText EncodeText(std::string_view utf8, TCodePage page);

// The length of the longest start of encoded text that has at most width bytes and does
// not end inside a character (only UTF-8 has characters of more than one byte).
std::size_t CharacterBoundary(std::string_view encoded, std::size_t width, TCodePage page);

} // namespace Catalogue
