#include "platform/Folders.h"

namespace platform {

namespace {
std::string& ProgramDirectoryOverride() {
    static std::string folder;
    return folder;
}
} // namespace

std::string ProgramDirectory() {
    const auto& folder = ProgramDirectoryOverride();
    return folder.empty() ? ExecutableDirectory() : folder;
}

void SetProgramDirectoryForTesting(const std::string& folder) {
    ProgramDirectoryOverride() = folder;
}

} // namespace platform
