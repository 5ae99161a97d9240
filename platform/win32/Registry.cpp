// The registry interface on Windows: each call goes to advapi32 unchanged.
#include "platform/Registry.h"

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
    return ::RegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData);
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
