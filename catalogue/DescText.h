// The raw lines of a description file as they stand on disk, each with its own line end, so
// that a file can be rewritten line by line with every untouched byte kept.
#pragma once

#include <string_view>
#include <vector>

namespace Catalogue {

// The line end every written line gets.
inline constexpr std::string_view WrittenLineEnd = "\r\n";

struct TRawLine {
    std::string_view Text;
    // CR LF, CR, LF, or empty for a last line without one.
    std::string_view End;
};

// The lines of a text and what follows them.
struct TRawText {
    std::vector<TRawLine> Lines;
    // A Ctrl-Z and everything after it (the readers stop there), or empty.
    std::string_view Tail;
};

// Splits text into lines ending at CR LF, CR or LF, up to the first Ctrl-Z.
TRawText SplitRawLines(std::string_view text);

} // namespace Catalogue
