#include "platform/DescRead.h"

#include <windows.h>

namespace platform {

namespace {

// Reads an open file into buffer: only a file on a disk, since a device or a pipe may never end.
TDescRead ReadOpenFile(HANDLE file, TReadBuffer& buffer) {
    if (GetFileType(file) != FILE_TYPE_DISK)
        return TDescRead::NotRegular;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) == 0)
        return TDescRead::NotOpened;
    if (static_cast<std::uint64_t>(size.QuadPart) > MaxDescFileSize)
        return TDescRead::TooLarge;
    const auto expected = static_cast<std::size_t>(size.QuadPart);
    char* data = buffer.Reserve(expected);
    std::size_t read = 0;
    while (read < expected) {
        DWORD got = 0;
        if (!ReadFile(file, data + read, static_cast<DWORD>(expected - read), &got, nullptr))
            return TDescRead::NotOpened;
        if (got == 0)
            break;
        read += got;
    }
    buffer.SetSize(read);
    return TDescRead::Read;
}

} // namespace

// Windows opens every path whole.
TDescFolder::TDescFolder(std::string_view directory, const TDescFolder*) : FPrefix(directory) {}

TDescFolder::~TDescFolder() = default;

const char* TDescFolder::Below(const std::string&) const {
    return nullptr;
}

TDescRead ReadDescFile(const std::string& path, const TDescFolder*, TReadBuffer& buffer) {
    buffer.SetSize(0);
    if (!AnnounceDescOpen(path))
        return TDescRead::NotOpened;
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // A folder cannot be opened as a file: it is refused as the POSIX side refuses it.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return folder ? TDescRead::NotRegular : TDescRead::NotOpened;
    }
    const TDescRead result = ReadOpenFile(file, buffer);
    CloseHandle(file);
    if (result != TDescRead::Read)
        buffer.SetSize(0);
    return result;
}

std::optional<std::uint64_t> FileSizeBelow(const std::string& path, const TDescFolder&) {
    return FileSize(path);
}

} // namespace platform
