#include "platform/Threads.h"

#include <sys/resource.h>

namespace platform {

std::optional<std::uint64_t> ThreadWaits() {
#ifdef RUSAGE_THREAD
    // Voluntary context switches: a thread switched out because its time was up is not
    // counted, so a busy processor does not look like a slow disk.
    rusage usage{};
    if (getrusage(RUSAGE_THREAD, &usage) == 0)
        return static_cast<std::uint64_t>(usage.ru_nvcsw);
#endif
    return std::nullopt;
}

} // namespace platform
