// Builders of description lines and paths for the catalogue tests.
#pragma once

#include "catalogue/CataloguePath.h"

#include <string>
#include <string_view>
#include <vector>

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

// How the lines of a description file end: a line feed (as files made on Linux), a carriage
// return, both, or the three in turn.
enum class TLineEnds { LineFeed, CarriageReturn, Both, Mixed };

inline constexpr TLineEnds AllLineEnds[] = {TLineEnds::LineFeed, TLineEnds::CarriageReturn,
                                            TLineEnds::Both, TLineEnds::Mixed};

inline const char* LineEndsName(TLineEnds ends) {
    switch (ends) {
    case TLineEnds::LineFeed:
        return "LF";
    case TLineEnds::CarriageReturn:
        return "CR";
    case TLineEnds::Both:
        return "CR LF";
    case TLineEnds::Mixed:
        return "mixed";
    }
    return "";
}

// The lines, each followed by its line end.
inline std::string JoinLines(const std::vector<std::string>& lines, TLineEnds ends) {
    static const char* const mixed[] = {"\n", "\r", "\r\n"};
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        switch (ends) {
        case TLineEnds::LineFeed:
            text += '\n';
            break;
        case TLineEnds::CarriageReturn:
            text += '\r';
            break;
        case TLineEnds::Both:
            text += "\r\n";
            break;
        case TLineEnds::Mixed:
            text += mixed[i % 3];
            break;
        }
    }
    return text;
}

// A text written with CR LF, written again with the other line ends.
inline std::string WithLineEnds(std::string_view text, TLineEnds ends) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string_view::npos;
         start = end + 2)
        lines.emplace_back(text.substr(start, end - start));
    std::string rewritten = JoinLines(lines, ends);
    rewritten += text.substr(start);
    return rewritten;
}

} // namespace CatalogueTest
