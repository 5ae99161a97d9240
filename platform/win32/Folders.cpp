#include "platform/Folders.h"

#include <cstdlib>
#include <vector>
#include <windows.h>

namespace platform {

std::string ExecutableDirectory() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            const std::string path(buffer.data(), length);
            return path.substr(0, path.find_last_of("\\:") + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string UserDataDirectory() {
    const char* localAppData = std::getenv("LOCALAPPDATA");
    if (localAppData == nullptr || localAppData[0] == '\0')
        return {};
    return std::string(localAppData) + "\\MP3 Tunestead\\";
}

} // namespace platform
