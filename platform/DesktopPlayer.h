// The desktop's default MP3 player on POSIX desktops, offered on the first run when the
// system has no registered player association.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The command of the desktop's default application for "audio/mpeg": its program resolved
// to a full path, then its fixed arguments, separated by single blanks, with the file
// placeholders removed; the program and each argument holding a blank or a quotation mark
// are written in quotation marks (with \" inside). Nothing when no usable application is
// set up or its program cannot be found, and always on Windows.
std::optional<std::string> DesktopPlayerCommand();

} // namespace platform
