// Song file names read from an album's description file, for the demo song generator.
#pragma once

#include <string>
#include <vector>

// The description lines of a description file's text: a carriage return ends a line and a line
// feed right after it is skipped (a line feed alone does not end a line); Ctrl-Z ends the text.
// Blank lines (only codes 0 to 32) and comments (";" in column 1) are left out.
inline std::vector<std::string> DescriptionLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    auto keep = [&lines](const std::string& candidate) {
        bool blank = true;
        for (const char c : candidate)
            if (static_cast<unsigned char>(c) > 32)
                blank = false;
        if (!blank && candidate.front() != ';')
            lines.push_back(candidate);
    };
    for (std::size_t i = 0; i < text.size() && text[i] != '\x1A'; ++i) {
        if (text[i] != '\r') {
            line += text[i];
            continue;
        }
        keep(line);
        line.clear();
        if (i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    keep(line);
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
