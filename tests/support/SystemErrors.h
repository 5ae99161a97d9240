// The system's own numbers for the file errors that tests provoke or inject: GetLastError()
// codes on Windows, errno values elsewhere, as FileErrorText and RaiseFileError take them.
#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>

inline constexpr int SystemFileNotFound = 2; // ERROR_FILE_NOT_FOUND
inline constexpr int SystemAccessDenied = 5; // ERROR_ACCESS_DENIED
inline constexpr int SystemDiskFull = 112;   // ERROR_DISK_FULL
#else
#include <cerrno>
#include <cstring>
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

// The system's own text for one of those numbers, as the program quotes it in its boxes.
inline std::string SystemReason(int code) {
#ifdef _WIN32
    char buffer[512] = {};
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
    while (length > 0 &&
           (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' || buffer[length - 1] == ' '))
        --length;
    return std::string(buffer, length);
#else
    return std::strerror(code);
#endif
}
