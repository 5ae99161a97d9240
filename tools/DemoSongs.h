// Song file names read from an album's description file, for the demo song generator.
#pragma once

#include "catalogue/DescFile.h"

#include <string>
#include <string_view>
#include <vector>

// The description lines of a description file's text, read as the program reads them: blank
// lines (only codes 0 to 32) and comments (";" in column 1) are left out.
inline std::vector<std::string> DescriptionLines(const std::string& text) {
    std::vector<std::string> lines;
    Catalogue::TDescLines reader(text);
    std::string_view line;
    while (reader.NextLine(line))
        lines.emplace_back(line);
    return lines;
}

// The file-name field: everything before the first two consecutive spaces, empty when none.
inline std::string FileNameField(const std::string& line) {
    const auto separator = line.find("  ");
    return separator == std::string::npos ? std::string() : line.substr(0, separator);
}

// True for a name that stays inside its album directory: not empty, no control character,
// no directory separator or drive colon, and not "." or "..".
inline bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 32 || c == '/' || c == '\\' || c == ':')
            return false;
    return true;
}
