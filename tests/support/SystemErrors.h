// The system's own numbers for the file errors that tests provoke or inject: GetLastError()
// codes on Windows, errno values elsewhere, as FileErrorText and RaiseFileError take them.
#pragma once

#ifdef _WIN32
inline constexpr int SystemFileNotFound = 2; // ERROR_FILE_NOT_FOUND
inline constexpr int SystemAccessDenied = 5; // ERROR_ACCESS_DENIED
inline constexpr int SystemDiskFull = 112;   // ERROR_DISK_FULL
#else
#include <cerrno>
inline constexpr int SystemFileNotFound = ENOENT;
inline constexpr int SystemAccessDenied = EACCES;
inline constexpr int SystemDiskFull = ENOSPC;
#endif

// The text of a file operation in a folder that does not exist: Windows tells a missing
// folder (ERROR_PATH_NOT_FOUND) from a missing file, POSIX does not (ENOENT for both).
#ifdef _WIN32
inline constexpr const char* MissingFolderText = "Invalid filename";
#else
inline constexpr const char* MissingFolderText = "File not found";
#endif
