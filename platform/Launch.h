// Starting the external player: the one start request of every play.
#pragma once

#include <string>

namespace platform {

// Opens `player` with `parameter` as its one argument, unchanged and never parsed by a
// shell, in the current directory, without waiting for it. On Windows this is the
// shell's "open" verb owned by `ownerWindow` (an HWND), showing the player without
// activating it. Returns false when the player could not be started; nothing is thrown.
bool ShellOpen(void* ownerWindow, const std::string& player, const std::string& parameter);

} // namespace platform
