#include "settings/Registry.h"

#include "platform/Errors.h"

#include <cstring>

using namespace platform;

namespace {

[[noreturn]] void RaiseRegistryError(const char* pattern, const std::string& argument) {
    throw ERegistryException(FormatText(pattern, argument));
}

} // namespace

TRegistry::TRegistry(REGSAM access) : FRootKey(HKEY_CURRENT_USER), FAccess(access) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY rootKey) {
    if (rootKey == FRootKey)
        return;
    FRootKey = rootKey;
    CloseKey();
}

HKEY TRegistry::BaseKey(const std::string& key, std::string& relative) const {
    const bool fromRoot = !key.empty() && key[0] == '\\';
    relative = fromRoot ? key.substr(1) : key;
    return fromRoot || FCurrentKey == nullptr ? FRootKey : FCurrentKey;
}

void TRegistry::CreateKey(const std::string& key) {
    std::string relative;
    const HKEY base = BaseKey(key, relative);
    HKEY created = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &created, &disposition) != ERROR_SUCCESS)
        RaiseRegistryError("Failed to create key %s", key);
    RegCloseKey(created);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string relative;
    const HKEY base = BaseKey(key, relative);
    const bool fromOpenKey = FCurrentKey != nullptr && base == FCurrentKey;
    HKEY opened = nullptr;
    DWORD disposition = 0;
    const LONG result =
        !canCreate || relative.empty()
            ? RegOpenKeyExA(base, relative.c_str(), 0, FAccess, &opened)
            : RegCreateKeyExA(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess,
                              nullptr, &opened, &disposition);
    if (result != ERROR_SUCCESS)
        return false;
    std::string path = relative;
    if (fromOpenKey)
        path = relative.empty() ? FCurrentPath : FCurrentPath + "\\" + relative;
    CloseKey();
    FCurrentKey = opened;
    FCurrentPath = path;
    return true;
}

void TRegistry::CloseKey() {
    if (FCurrentKey == nullptr)
        return;
    RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
    FCurrentPath.clear();
}

bool TRegistry::ValueExists(const std::string& name) const {
    return GetDataSize(name) >= 0;
}

int TRegistry::GetDataSize(const std::string& name) const {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return -1;
    return static_cast<int>(size);
}

DWORD TRegistry::GetData(const std::string& name, void* buffer, DWORD size, DWORD& type) const {
    type = REG_NONE;
    if (RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS)
        RaiseRegistryError("Failed to get data for '%s'", name);
    return size;
}

void TRegistry::PutData(const std::string& name, const void* buffer, DWORD size, DWORD type) {
    if (RegSetValueExA(FCurrentKey, name.c_str(), 0, type, static_cast<const BYTE*>(buffer),
                       size) != ERROR_SUCCESS)
        RaiseRegistryError("Failed to set data for '%s'", name);
}

std::string TRegistry::ReadString(const std::string& name) const {
    const int size = GetDataSize(name);
    if (size <= 0)
        return "";
    std::string text(static_cast<std::size_t>(size), '\0');
    DWORD type = REG_NONE;
    const DWORD read = GetData(name, text.data(), static_cast<DWORD>(size), type);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        RaiseRegistryError("Invalid data type for '%s'", name);
    text.resize(read);
    return text.substr(0, text.find('\0'));
}

int TRegistry::ReadInteger(const std::string& name) const {
    unsigned char bytes[4] = {};
    DWORD type = REG_NONE;
    GetData(name, bytes, sizeof bytes, type);
    if (type != REG_DWORD)
        RaiseRegistryError("Invalid data type for '%s'", name);
    const auto value =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return static_cast<int>(value);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    PutData(name, value.data(), static_cast<DWORD>(value.size()), REG_SZ);
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    PutData(name, bytes, sizeof bytes, REG_DWORD);
}

bool TRegistry::DeleteValue(const std::string& name) {
    return RegDeleteValueA(FCurrentKey, name.c_str()) == ERROR_SUCCESS;
}

TRegIniFile::TRegIniFile(const std::string& fileName, HKEY rootKey) : FFileName(fileName) {
    SetRootKey(rootKey);
    OpenKey(fileName, true);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& entry,
                                    const std::string& defaultValue) {
    std::string relative;
    const HKEY base = BaseKey(section, relative);
    HKEY sectionKey = nullptr;
    if (RegOpenKeyExA(base, relative.c_str(), 0, Access(), &sectionKey) != ERROR_SUCCESS)
        return defaultValue;
    // The section becomes the open key for the read; the key open before stays open.
    const HKEY openKey = CurrentKey();
    SetCurrentKey(sectionKey);
    struct TRestore {
        TRegIniFile& Owner;
        HKEY Previous;
        HKEY Section;
        ~TRestore() {
            Owner.SetCurrentKey(Previous);
            RegCloseKey(Section);
        }
    } restore{*this, openKey, sectionKey};
    return ValueExists(entry) ? TRegistry::ReadString(entry) : defaultValue;
}
