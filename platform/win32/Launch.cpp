#include "platform/Launch.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

bool ShellOpen(void* ownerWindow, const std::string& player, const std::string& parameter) {
    const HINSTANCE result = ShellExecuteA(static_cast<HWND>(ownerWindow), "open", player.c_str(),
                                           parameter.c_str(), ".", SW_SHOWNA);
    // ShellExecuteA reports success with a value above 32.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace platform
