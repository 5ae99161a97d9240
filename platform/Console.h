// The console a command-line tool writes to.
#pragma once

namespace platform {

// True when the standard error stream is a terminal (a console window on Windows), where a
// progress line that redraws itself can be shown.
bool ErrorStreamIsTerminal();

} // namespace platform
