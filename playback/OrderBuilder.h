// The play order of a list of songs under the three play modes, on plain lists and with
// an exchangeable source of random numbers.
#pragma once

#include "playback/PlaylistEntry.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace Playback {

enum TPlayMode {
    pmSequential,  // the list's order
    pmLocalRandom, // shuffled within runs of neighbouring songs with the same key
    pmFullRandom,  // shuffled as a whole
};

// Uniform random integers.
class TRandomSource {
public:
    virtual ~TRandomSource() = default;
    // Starts the sequence afresh from the seed.
    virtual void Randomize(std::uint32_t seed) = 0;
    // A number from 0 to bound - 1, each equally likely; bound is at least 1.
    virtual int Random(int bound) = 0;
};

// The program's random source.
class TStdRandom final : public TRandomSource {
public:
    void Randomize(std::uint32_t seed) override { FEngine.seed(seed); }
    int Random(int bound) override;

private:
    std::mt19937 FEngine;
};

// The milliseconds since midnight UTC: ((h * 60 + m) * 60 + s) * 1000 + ms.
std::uint32_t TimeOfDaySeed(std::chrono::system_clock::time_point now);

// The key that groups neighbouring songs under local random play: the file name (the
// text after the path's last delimiter, at most 255 characters) without its last six
// characters; empty for a name of six characters or fewer.
std::string LocalRandomKey(std::string_view path);

// The paths of the rows in play order. Album headers are skipped. The random source is
// reseeded from the current time of day at every call, in every mode.
std::vector<std::string> BuildPlayOrder(const std::vector<TPlaylistEntry>& rows, TPlayMode mode,
                                        TRandomSource& random);

// The same with the program's own random source.
std::vector<std::string> BuildPlayOrder(const std::vector<TPlaylistEntry>& rows, TPlayMode mode);

} // namespace Playback
