// Starting the external player: the one start request of every play.
#pragma once

#include <string>

namespace platform {

// The outcome of a start request.
struct TStartResult {
    bool Started = false;
    // Why the player did not start, in the system's words; empty when it started.
    std::string Reason;
};

// Opens `player` with `parameter` as its one argument, unchanged and never parsed by a
// shell, in the current directory, without waiting for it. On Windows this is the
// shell's "open" verb owned by `ownerWindow` (an HWND), showing the player without
// activating it. Nothing is thrown: a player that cannot start is told in the result.
TStartResult ShellOpen(void* ownerWindow, const std::string& player, const std::string& parameter);

} // namespace platform
