// Builders of description lines and paths for the catalogue tests.
#pragma once

#include "catalogue/CataloguePath.h"

#include <string>
#include <string_view>

namespace CatalogueTest {

// A path written with "/" in the platform's delimiter.
inline std::string P(std::string_view path) {
    std::string text(path);
    for (auto& c : text)
        if (c == '/')
            c = Catalogue::PathDelimiter;
    return text;
}

inline std::string PadTo(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

inline std::string RightAligned(std::string_view value, std::size_t width) {
    std::string text(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

// A song line: name, two blanks, description up to column 51, the size field
// (columns 52 to 61), a blank, and the rate field (columns 63 to 68).
inline std::string SongLine(std::string_view name, std::string_view description,
                            std::string_view size, std::string_view rate) {
    return PadTo(std::string(name) + "  " + std::string(description), 51) + RightAligned(size, 10) +
           " " + RightAligned(rate, 6);
}

// A song of the given whole seconds at 128000 bits per second.
inline std::string TimedSong(std::string_view name, std::string_view description, int seconds) {
    return SongLine(name, description, std::to_string(seconds * 16000 + 8000), "128000");
}

} // namespace CatalogueTest
