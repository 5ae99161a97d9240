// The program's folders: where its executable lives and where it may keep per-user files.
#pragma once

#include <string>

namespace platform {

// The program's own folder, where it keeps PL_TEMP.M3U: the executable's folder unless a
// test has set another one.
std::string ProgramDirectory();

// The folder of the running executable with a trailing delimiter; empty when the
// system does not tell.
std::string ExecutableDirectory();

// Makes ProgramDirectory give this folder (with its trailing delimiter); empty goes back to
// the executable's folder.
void SetProgramDirectoryForTesting(const std::string& folder);

// The per-user data folder of the program with a trailing delimiter
// ($XDG_DATA_HOME/mp3tunestead/ or ~/.local/share/mp3tunestead/ on POSIX,
// %LOCALAPPDATA%\MP3 Tunestead\ on Windows); empty when no absolute home folder is known.
// It may not exist yet.
std::string UserDataDirectory();

} // namespace platform
