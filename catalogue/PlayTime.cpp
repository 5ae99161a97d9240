#include "catalogue/PlayTime.h"

namespace Catalogue {

TPlayTime PlayTimeOf(std::int32_t size, std::int32_t rate) {
    if (rate == 0)
        return {};
    const std::int64_t bits = 8 * static_cast<std::int64_t>(size);
    const std::int64_t magnitudeBits = bits < 0 ? -bits : bits;
    const std::int64_t magnitudeRate = rate < 0 ? -static_cast<std::int64_t>(rate) : rate;
    // Whole seconds of |s|; truncating x and then its fraction times 60 toward zero
    // is the same as splitting the whole seconds of |s| and giving both parts the sign.
    const std::int64_t wholeSeconds = magnitudeBits / magnitudeRate;
    auto minutes = static_cast<int>(wholeSeconds / 60);
    auto seconds = static_cast<int>(wholeSeconds % 60);
    if ((size < 0) != (rate < 0)) {
        minutes = -minutes;
        seconds = -seconds;
    }
    return {minutes, seconds};
}

void TDuration::Add(const TPlayTime& time) {
    if (!time.Known())
        return;
    Minutes += time.Minutes;
    Seconds += time.Seconds;
}

void TDuration::Add(const TDuration& other) {
    Hours += other.Hours;
    Minutes += other.Minutes;
    Seconds += other.Seconds;
}

void TDuration::CarrySeconds() {
    if (Seconds > 59) {
        Minutes += Seconds / 60;
        Seconds %= 60;
    }
}

void TDuration::CarryMinutes() {
    if (Minutes > 59) {
        Hours += Minutes / 60;
        Minutes %= 60;
    }
}

} // namespace Catalogue
