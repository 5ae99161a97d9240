// Short names for the entries of a catalogue of its own: each song or folder of the music
// folder gets a name that a description line can carry (at most 18 bytes, no control
// character, no two blanks in a row, no trailing blank, no leading ";"), readable because it
// is made from the long name, and unique within its folder.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace Catalogue {

class TShortNames {
public:
    // Marks a name as used in the folder (an entry kept from an earlier run).
    void Reserve(std::string_view name);
    bool Taken(std::string_view name) const;
    // A new name for longName, with extension (such as ".mp3", or empty for a folder) kept
    // whole at its end; marked as used. The stem is shortened (separators and punctuation
    // dropped first, then cut on a character boundary) and, where the name is taken, ends in
    // "~2", "~3"...
    std::string Make(std::string_view longName, std::string_view extension);

private:
    // Names compared without letter case: a folder on a case-insensitive file system cannot
    // hold two names that differ only in case.
    std::unordered_set<std::string> FUsed;
};

} // namespace Catalogue
