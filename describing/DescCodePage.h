// The code pages a description file can be written in: the text of a description (UTF-8,
// as tags and Linux file names arrive) turned into the bytes of one code page, or of the one
// of two that suits each description (auto).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Catalogue {

// Auto writes each text in Windows-1252 when every character has a place there, the code page
// older catalogues are written in, and in UTF-8 otherwise; the program shows both.
enum class TCodePage { Windows1252, Latin1, Latin9, Utf8, Auto };

// The code page of a name such as "auto", "windows-1252", "cp1252", "iso-8859-1", "latin1",
// "iso-8859-15", "latin9" or "utf-8" (letter case and "-"/"_" do not matter).
std::optional<TCodePage> CodePageByName(std::string_view name);

// The canonical name: auto, windows-1252, iso-8859-1, iso-8859-15 or utf-8.
std::string_view CodePageName(TCodePage page);

struct TEncodedText {
    std::string Bytes;
    // The code page Bytes are in: the one asked for, or for auto the one chosen.
    TCodePage Page = TCodePage::Utf8;
    // Characters the code page cannot hold (and bytes that are not UTF-8), each written
    // as "?".
    int Unrepresentable = 0;
};

// The UTF-8 text in the code page. Control characters (codes below 32) become blanks: a
// line end or Ctrl-Z inside a description would break the line apart. With auto, bytes that
// are not UTF-8 do not decide the code page: they are written as "?" in either.
TEncodedText EncodeText(std::string_view utf8, TCodePage page);

// The length of the longest start of encoded text that has at most width bytes and does
// not end inside a character (only UTF-8 has characters of more than one byte). The page is
// the one the text is in (TEncodedText::Page); auto cuts text that is UTF-8 throughout as
// UTF-8, as the program reads it.
std::size_t CharacterBoundary(std::string_view encoded, std::size_t width, TCodePage page);

} // namespace Catalogue
