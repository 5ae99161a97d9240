#include "tests/support/RegistrySandbox.h"

#include "platform/Registry.h"

#include <cstdlib>
#include <memory>
#include <random>
#include <stdexcept>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifdef _WIN32
constexpr const char* SandboxParent = "Software\\MP3 Tunestead tests";

// Makes a fresh key below the real HKEY_CURRENT_USER and lets it stand for that root in this
// process, and its subkey "Classes" for HKEY_CLASSES_ROOT, so that file associations written
// by a test stay in the sandbox too; gives the two keys' handles and the sandbox's path.
std::pair<HKEY, HKEY> EnterKey(std::string& path) {
    std::random_device device;
    path = std::string(SandboxParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(device());
    HKEY key = nullptr;
    HKEY classes = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS ||
        disposition != REG_CREATED_NEW_KEY ||
        ::RegCreateKeyExA(key, "Classes", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &classes, nullptr) != ERROR_SUCCESS ||
        RegOverridePredefKey(HKEY_CURRENT_USER, key) != 0 ||
        RegOverridePredefKey(HKEY_CLASSES_ROOT, classes) != 0)
        throw std::runtime_error("cannot make the registry sandbox " + path);
    return {key, classes};
}

// Gives HKEY_CURRENT_USER and HKEY_CLASSES_ROOT back and removes the sandbox key with
// everything in it, and its parent when no other run has a key there.
void LeaveKey(std::pair<HKEY, HKEY> keys, const std::string& path) {
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(keys.second);
    RegCloseKey(keys.first);
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
    const auto keys = EnterKey(FKeyPath);
    FKey = keys.first;
    FClassesKey = keys.second;
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
    LeaveKey({static_cast<HKEY>(FKey), static_cast<HKEY>(FClassesKey)}, FKeyPath);
#else
    SetConfigHome(FOldConfigHome ? FOldConfigHome->c_str() : nullptr);
#endif
}

std::filesystem::path TRegistrySandbox::HiveFile(const std::string& rootName) const {
    return Folder() / (rootName + ".reg");
}
