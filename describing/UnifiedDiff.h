// The unified diff of two versions of a text file, line by line, as a dry run shows what it
// would change.
#pragma once

#include <string>
#include <string_view>

namespace Catalogue {

// "--- oldLabel", "+++ newLabel" and the hunks with three lines of context; empty when the
// texts are equal. Lines are compared with their line ends (CR LF, CR or LF) and shown
// without them, each followed by "\n"; a last line without a line end is marked the way
// diff marks it.
std::string UnifiedDiff(std::string_view oldText, std::string_view newText,
                        std::string_view oldLabel, std::string_view newLabel);

} // namespace Catalogue
