// What the describing of a catalogue needs to know of one song file, and the reader that
// finds it out (the tags and the audio of the real file, or a fake in tests).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Catalogue {

struct TSongFacts {
    // The file's size in bytes.
    std::uint64_t Size = 0;
    // The length of the audio in milliseconds, when the reader could tell it.
    std::optional<std::int64_t> LengthMs;
    // The song's and the album's title from the tags, UTF-8; empty without a tag.
    std::string Title;
    std::string Album;
};

class TSongFactsReader {
public:
    virtual ~TSongFactsReader() = default;
    // The facts of the song file at path; throws EError with the reason when the file cannot
    // be read or holds no audio.
    virtual TSongFacts Read(const std::string& path) = 0;
};

} // namespace Catalogue
