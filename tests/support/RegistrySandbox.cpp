#include "tests/support/RegistrySandbox.h"

#include "platform/Registry.h"

#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
constexpr const char* SandboxParent = "Software\\MP3 Tunestead tests";

// Makes a fresh key below the real HKEY_CURRENT_USER and lets it stand for that root in this
// process; gives the key's handle and path.
HKEY EnterKey(std::string& path) {
    std::random_device device;
    path = std::string(SandboxParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(device());
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS ||
        disposition != REG_CREATED_NEW_KEY || RegOverridePredefKey(HKEY_CURRENT_USER, key) != 0)
        throw std::runtime_error("cannot make the registry sandbox " + path);
    return key;
}

// Gives HKEY_CURRENT_USER back to the user and removes the sandbox key with everything in it,
// and its parent when no other run has a key there.
void LeaveKey(HKEY key, const std::string& path) {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, SandboxParent);
}
#else
void SetConfigHome(const char* value) {
    if (value != nullptr)
        setenv("XDG_CONFIG_HOME", value, 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
#endif

} // namespace

TRegistrySandbox::TRegistrySandbox() : FWarnings(std::make_shared<std::vector<std::string>>()) {
#ifdef _WIN32
    FKey = EnterKey(FKeyPath);
#else
    if (const char* old = std::getenv("XDG_CONFIG_HOME"))
        FOldConfigHome = old;
    SetConfigHome(FTemp.Path().string().c_str());
    platform::SetRegistryFolderForTesting({});
#endif
    platform::SetRegistryWarningHandler(
        [warnings = FWarnings](const std::string& text) { warnings->push_back(text); });
}

TRegistrySandbox::~TRegistrySandbox() {
    // Warnings of later tests go nowhere rather than waiting for a handler.
    platform::SetRegistryWarningHandler([](const std::string&) {});
#ifdef _WIN32
    LeaveKey(static_cast<HKEY>(FKey), FKeyPath);
#else
    SetConfigHome(FOldConfigHome ? FOldConfigHome->c_str() : nullptr);
#endif
}

std::filesystem::path TRegistrySandbox::HiveFile(const std::string& rootName) const {
    return Folder() / (rootName + ".reg");
}
