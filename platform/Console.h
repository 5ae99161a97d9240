// The console a command-line tool writes to.
#pragma once

namespace platform {

// True when the standard error stream is a terminal (a console window on Windows), where a
// progress line that redraws itself can be shown.
bool ErrorStreamIsTerminal();

// A window program on Windows starts with no console: its standard output and error lead
// nowhere unless they were redirected. This connects each of the two that leads nowhere to the
// console of the program that started it (a command prompt), where there is one, so that what
// the program prints shows there. Streams that lead somewhere are kept; elsewhere the streams
// are the terminal's or the redirected ones already, and nothing changes.
void UseParentConsole();

} // namespace platform
