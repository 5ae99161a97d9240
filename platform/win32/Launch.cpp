#include "platform/Launch.h"

#include "platform/CommandLine.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

namespace {

// The system's text for an error code, without its closing line break.
std::string SystemMessage(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? std::string(buffer, length) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Error " + std::to_string(code);
    return text;
}

} // namespace

TStartResult ShellOpen(void* ownerWindow, const std::string& player, const std::string& parameter) {
    if (player.empty())
        return {false, SystemMessage(ERROR_FILE_NOT_FOUND)};
    // The player splits its command line into arguments, and a path often holds blanks
    // ("Program Files", the per-user data folder): quoted, it reaches the player whole.
    const std::string commandLine = QuoteCommandLineArgument(parameter);
    SetLastError(ERROR_SUCCESS);
    const HINSTANCE result = ShellExecuteA(static_cast<HWND>(ownerWindow), "open", player.c_str(),
                                           commandLine.c_str(), ".", SW_SHOWNA);
    // ShellExecuteA reports success with a value above 32; below, the value is the error
    // (the low ones are the system's error codes, which GetLastError also gives).
    const auto code = reinterpret_cast<INT_PTR>(result);
    if (code > 32)
        return {true, {}};
    const DWORD error = GetLastError();
    return {false, SystemMessage(error != ERROR_SUCCESS ? error : static_cast<DWORD>(code))};
}

} // namespace platform
