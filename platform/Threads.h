// What the system tells of the calling thread's own running.
#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// How many times the calling thread has given up its processor to wait (for a disk, the
// network or a lock) since it started; nullopt where the system does not count it.
std::optional<std::uint64_t> ThreadWaits();

} // namespace platform
