// The registry interface the program uses: the advapi32 ANSI calls with their Windows types,
// constants, result codes and size rules. Win32 forwards to the real calls; POSIX keeps one
// REGEDIT4 hive file per root in the user's configuration folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// The constants below share their names with macros of <windows.h>; a file that needs both
// includes this header first.
#if defined(_WIN32) && defined(HKEY_CURRENT_USER)
#error "include platform/Registry.h before <windows.h>"
#endif

#ifdef _WIN32
struct HKEY__;
#endif

namespace platform {

#ifdef _WIN32
// The very types of <windows.h>, so that handles and sizes pass to the real calls unchanged.
using HKEY = ::HKEY__*;
using LONG = long;
using DWORD = unsigned long;
#else
struct TRegistryKeyHandle;
using HKEY = TRegistryKeyHandle*;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
#endif
using BYTE = unsigned char;
using REGSAM = DWORD;
struct SECURITY_ATTRIBUTES;

namespace detail {
inline HKEY PredefinedKey(std::uintptr_t value) {
    return reinterpret_cast<HKEY>(value);
}
} // namespace detail

inline const HKEY HKEY_CLASSES_ROOT = detail::PredefinedKey(0x80000000u);
inline const HKEY HKEY_CURRENT_USER = detail::PredefinedKey(0x80000001u);
inline const HKEY HKEY_LOCAL_MACHINE = detail::PredefinedKey(0x80000002u);
inline const HKEY HKEY_USERS = detail::PredefinedKey(0x80000003u);

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_BAD_PATHNAME = 161;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_CANTWRITE = 1013;
inline constexpr LONG ERROR_KEY_DELETED = 1018;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* lpClass,
                     DWORD dwOptions, REGSAM samDesired,
                     const SECURITY_ATTRIBUTES* lpSecurityAttributes, HKEY* phkResult,
                     DWORD* lpdwDisposition);
LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   HKEY* phkResult);
LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                      BYTE* lpData, DWORD* lpcbData);
LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                    const BYTE* lpData, DWORD cbData);
LONG RegDeleteValueA(HKEY hKey, const char* lpValueName);
LONG RegCloseKey(HKEY hKey);

// Receives the registry's warnings for the user (a damaged settings file that was moved aside).
// Warnings raised before a handler is set are kept and handed to it when it is set.
void SetRegistryWarningHandler(std::function<void(const std::string&)> handler);

// Where the POSIX hives live instead of "$XDG_CONFIG_HOME/mp3tunestead" (or
// "~/.config/mp3tunestead"); an empty path goes back to that. Does nothing on Windows.
void SetRegistryFolderForTesting(const std::filesystem::path& folder);

} // namespace platform
