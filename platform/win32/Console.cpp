#include "platform/Console.h"

#include <windows.h>

#include <cstdio>

namespace platform {

bool ErrorStreamIsTerminal() {
    // A console handle answers GetConsoleMode; a pipe or a file does not.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

namespace {
// A redirected stream has a file, pipe or console handle; one that leads nowhere has none.
bool LeadsSomewhere(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}
} // namespace

void UseParentConsole() {
    const bool output = LeadsSomewhere(STD_OUTPUT_HANDLE);
    const bool error = LeadsSomewhere(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!output)
        std::freopen("CONOUT$", "w", stdout);
    if (!error)
        std::freopen("CONOUT$", "w", stderr);
}

} // namespace platform
