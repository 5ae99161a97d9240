#include "platform/SystemNames.h"

#include <windows.h>

namespace platform {

namespace {

std::wstring Wide(std::string_view text, UINT codePage, DWORD flags) {
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(codePage, flags, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::optional<std::string> Narrow(const std::wstring& wide, UINT codePage) {
    if (wide.empty())
        return std::string();
    BOOL lossy = FALSE;
    BOOL* lossyFlag = codePage == CP_UTF8 ? nullptr : &lossy;
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, lossyFlag);
    if (length <= 0 || lossy)
        return std::nullopt;
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

} // namespace

std::optional<std::string> SystemCodePageToUtf8(std::string_view text) {
    if (text.empty())
        return std::string();
    const std::wstring wide = Wide(text, CP_ACP, 0);
    if (wide.empty())
        return std::nullopt;
    return Narrow(wide, CP_UTF8);
}

std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8) {
    if (utf8.empty())
        return std::string();
    const std::wstring wide = Wide(utf8, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (wide.empty())
        return std::nullopt;
    return Narrow(wide, CP_ACP);
}

std::string FinalPath(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::wstring wide(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, wide.data(), static_cast<DWORD>(wide.size()),
                                             FILE_NAME_NORMALIZED);
    if (length >= wide.size()) {
        wide.resize(length);
        length = GetFinalPathNameByHandleW(file, wide.data(), static_cast<DWORD>(wide.size()),
                                           FILE_NAME_NORMALIZED);
    }
    CloseHandle(file);
    if (length == 0 || length >= wide.size())
        return {};
    wide.resize(length);
    // "\\?\C:\..." and "\\?\UNC\server\share\..." back to the names users write.
    if (wide.starts_with(L"\\\\?\\UNC\\"))
        wide = L"\\\\" + wide.substr(8);
    else if (wide.starts_with(L"\\\\?\\"))
        wide = wide.substr(4);
    const auto narrow = Narrow(wide, CP_ACP);
    return narrow ? *narrow : std::string();
}

} // namespace platform
