// Play times: the time of one song from its size and bit rate, and sums of times
// with the carry of seconds into minutes and of minutes into hours.
#pragma once

#include <cstdint>

namespace Catalogue {

// Whole minutes and whole seconds of one song; both -1 when unknown.
struct TPlayTime {
    int Minutes = -1;
    int Seconds = -1;

    bool Known() const { return Seconds >= 0; }
    friend bool operator==(const TPlayTime&, const TPlayTime&) = default;
};

// The play time of a song of `size` bytes at `rate` bits per second. Its length in seconds,
// s = 8 * size / rate, is kept as an exact fraction; minutes is s / 60 and seconds is
// s - 60 * minutes, both cut toward zero, so a negative s gives negative minutes and seconds.
// The result is the same as size / (rate * 0.125) / 60 computed in extended precision.
// Unknown when rate is 0.
TPlayTime PlayTimeOf(std::int32_t size, std::int32_t rate);

// A sum of play times. The parts are 64 bits wide so that no sum of song times can
// overflow.
struct TDuration {
    std::int64_t Hours = 0;
    std::int64_t Minutes = 0;
    std::int64_t Seconds = 0;

    // Adds a known time; an unknown time adds nothing.
    void Add(const TPlayTime& time);
    void Add(const TDuration& other);
    // Whole minutes out of the seconds (seconds below 60 afterwards).
    void CarrySeconds();
    // Whole hours out of the minutes (minutes below 60 afterwards).
    void CarryMinutes();
    bool IsZero() const { return Hours == 0 && Minutes == 0 && Seconds == 0; }
    friend bool operator==(const TDuration&, const TDuration&) = default;
};

} // namespace Catalogue
