#include "platform/SongFile.h"

#include "platform/Errors.h"

#include <windows.h>

namespace platform {

TSongFile::TSongFile(const std::string& path)
    : FHandle(reinterpret_cast<std::intptr_t>(CreateFileA(
          path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {
    const auto handle = reinterpret_cast<HANDLE>(FHandle);
    if (handle == INVALID_HANDLE_VALUE)
        throw EError("cannot open the file");
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size)) {
        CloseHandle(handle);
        throw EError("not a regular file");
    }
    FSize = static_cast<std::uint64_t>(size.QuadPart);
}

TSongFile::~TSongFile() {
    CloseHandle(reinterpret_cast<HANDLE>(FHandle));
}

std::int64_t TSongFile::ReadAt(std::uint64_t offset, char* to, std::size_t count) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    const auto part = static_cast<DWORD>(count > 0x40000000 ? 0x40000000 : count);
    if (!ReadFile(reinterpret_cast<HANDLE>(FHandle), to, part, &read, &at))
        return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return read;
}

} // namespace platform
