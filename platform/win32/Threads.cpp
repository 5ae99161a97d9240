#include "platform/Threads.h"

namespace platform {

// Windows counts a thread's context switches only all together, waits and ends of time slices
// alike.
std::optional<std::uint64_t> ThreadWaits() {
    return std::nullopt;
}

} // namespace platform
