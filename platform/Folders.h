// The program's folders: where its executable lives and where it may keep per-user files.
#pragma once

#include <string>

namespace platform {

// The folder of the running executable with a trailing delimiter; empty when the
// system does not tell.
std::string ProgramDirectory();

// The per-user data folder of the program with a trailing delimiter
// ($XDG_DATA_HOME/mp3tunestead/ or ~/.local/share/mp3tunestead/ on POSIX,
// %LOCALAPPDATA%\MP3 Tunestead\ on Windows); empty when no home is known. It may not
// exist yet.
std::string UserDataDirectory();

} // namespace platform
