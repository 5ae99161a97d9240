// The registry interface on Windows: each call goes to advapi32, unchanged but for the size of
// a text that is stored.
#include "platform/Registry.h"

#include <vector>
#include <windows.h>

namespace platform {

LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* lpClass,
                     DWORD dwOptions, REGSAM samDesired,
                     const SECURITY_ATTRIBUTES* lpSecurityAttributes, HKEY* phkResult,
                     DWORD* lpdwDisposition) {
    auto* security = reinterpret_cast<LPSECURITY_ATTRIBUTES>(
        const_cast<SECURITY_ATTRIBUTES*>(lpSecurityAttributes));
    return ::RegCreateKeyExA(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired, security,
                             phkResult, lpdwDisposition);
}

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   HKEY* phkResult) {
    return ::RegOpenKeyExA(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}

LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                      BYTE* lpData, DWORD* lpcbData) {
    return ::RegQueryValueExA(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}

LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                    const BYTE* lpData, DWORD cbData) {
    // For a text whose last byte is not zero the system looks at the byte after the data, and
    // when that one is zero it stores it too, taking it for a forgotten terminator; a
    // std::string always has one there. A copy followed by a byte other than zero keeps the
    // stored size the one given, as the program's reads and sizes expect.
    const bool isText = dwType == REG_SZ || dwType == REG_EXPAND_SZ;
    if (!isText || lpData == nullptr || cbData == 0 || lpData[cbData - 1] == 0)
        return ::RegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData);
    std::vector<BYTE> copy(lpData, lpData + cbData);
    copy.push_back(1);
    return ::RegSetValueExA(hKey, lpValueName, Reserved, dwType, copy.data(), cbData);
}

LONG RegDeleteValueA(HKEY hKey, const char* lpValueName) {
    return ::RegDeleteValueA(hKey, lpValueName);
}

LONG RegCloseKey(HKEY hKey) {
    return ::RegCloseKey(hKey);
}

// The Windows registry never moves a hive aside, so there is nothing to report.
void SetRegistryWarningHandler(std::function<void(const std::string&)>) {}

void SetRegistryFolderForTesting(const std::filesystem::path&) {}

} // namespace platform
