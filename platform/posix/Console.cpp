#include "platform/Console.h"

#include <unistd.h>

namespace platform {

bool ErrorStreamIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

void UseParentConsole() {}

} // namespace platform
