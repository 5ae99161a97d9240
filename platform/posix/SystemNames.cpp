#include "platform/SystemNames.h"

#include <cstdlib>

namespace platform {

std::optional<std::string> SystemCodePageToUtf8(std::string_view) {
    return std::nullopt;
}

std::optional<std::string> Utf8ToSystemCodePage(std::string_view) {
    return std::nullopt;
}

std::string FinalPath(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return {};
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return {};
    std::string target(resolved);
    std::free(resolved);
    return target;
}

} // namespace platform
