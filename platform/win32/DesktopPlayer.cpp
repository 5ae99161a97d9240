#include "platform/DesktopPlayer.h"

namespace platform {

// Windows keeps its player association in the registry, which is read instead.
std::optional<std::string> DesktopPlayerCommand() {
    return std::nullopt;
}

} // namespace platform
