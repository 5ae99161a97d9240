#include "platform/Console.h"

#include <windows.h>

namespace platform {

bool ErrorStreamIsTerminal() {
    // A console handle answers GetConsoleMode; a pipe or a file does not.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

} // namespace platform
