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

// The play time of size bytes at rate bits per second: with s = 8 * size / rate as an
// exact fraction, minutes = s / 60 and seconds = (s - 60 * minutes), each truncated
// toward zero. A negative s therefore gives negative minutes and seconds. This is
// the exact result of the computation x = size / (rate * 0.125) / 60 in extended
// precision. Unknown when rate is 0.
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
