#include "tests/support/RegistrySandbox.h"

#include "platform/Registry.h"

#include <cstdlib>
#include <memory>

namespace {

void SetConfigHome(const char* value) {
#ifdef _WIN32
    (void)value;
#else
    if (value != nullptr)
        setenv("XDG_CONFIG_HOME", value, 1);
    else
        unsetenv("XDG_CONFIG_HOME");
#endif
}

} // namespace

TRegistrySandbox::TRegistrySandbox() : FWarnings(std::make_shared<std::vector<std::string>>()) {
    if (const char* old = std::getenv("XDG_CONFIG_HOME"))
        FOldConfigHome = old;
    SetConfigHome(FTemp.Path().string().c_str());
    platform::SetRegistryFolderForTesting({});
    platform::SetRegistryWarningHandler(
        [warnings = FWarnings](const std::string& text) { warnings->push_back(text); });
}

TRegistrySandbox::~TRegistrySandbox() {
    // Warnings of later tests go nowhere rather than waiting for a handler.
    platform::SetRegistryWarningHandler([](const std::string&) {});
    SetConfigHome(FOldConfigHome ? FOldConfigHome->c_str() : nullptr);
}

std::filesystem::path TRegistrySandbox::HiveFile(const std::string& rootName) const {
    return Folder() / (rootName + ".reg");
}
