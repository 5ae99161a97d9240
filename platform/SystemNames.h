// Texts and file names as other programs read them: the conversion between the system's
// single-byte code page and UTF-8, and the file that a path finally leads to.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Where the system hands texts and file names to the program in a single-byte code page of
// its own (Windows: the ANSI code page), the text in UTF-8; nothing where file names are
// plain bytes (POSIX).
std::optional<std::string> SystemCodePageToUtf8(std::string_view text);

// UTF-8 in that code page; nothing where there is none, or when a character does not fit.
std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8);

// The file a path leads to, every link on the way followed (symbolic links; on Windows also
// junctions and short names); empty when it leads nowhere.
std::string FinalPath(const std::string& path);

} // namespace platform
