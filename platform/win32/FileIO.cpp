#include "platform/FileIO.h"

#include "platform/Errors.h"

#include <algorithm>
#include <windows.h>

namespace platform {

namespace {

// Writes every byte; returns 0 or the system error.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
    DWORD injectedError = 0;
    if (const auto& fault = WriteFault()) {
        bytes = bytes.substr(0, std::min(bytes.size(), fault->BytesAccepted));
        injectedError = static_cast<DWORD>(fault->SystemError);
    }
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return GetLastError();
        bytes.remove_prefix(written);
    }
    return injectedError;
}

// A file handle that is closed when it goes out of scope.
class THandle {
public:
    explicit THandle(HANDLE handle) : FHandle(handle) {}
    ~THandle() {
        if (FHandle != INVALID_HANDLE_VALUE)
            CloseHandle(FHandle);
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;

    HANDLE Get() const { return FHandle; }
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }
    DWORD Close() {
        const DWORD result = CloseHandle(FHandle) ? 0 : GetLastError();
        FHandle = INVALID_HANDLE_VALUE;
        return result;
    }

private:
    HANDLE FHandle;
};

[[noreturn]] void RaiseError(DWORD error) {
    RaiseFileError(static_cast<int>(error));
}

} // namespace

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    THandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        RaiseError(GetLastError());
    if (const DWORD error = WriteAll(file.Get(), bytes))
        RaiseError(error);
    if (const DWORD error = file.Close())
        RaiseError(error);
}

void ReplaceFileBytes(const std::string& path, std::string_view bytes) {
    std::string temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary =
            path + ".tmp-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt);
        handle = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS || attempt == 99)
                RaiseError(error);
        }
    }
    THandle file(handle);
    DWORD error = WriteAll(file.Get(), bytes);
    if (error == 0 && !FlushFileBuffers(file.Get()))
        error = GetLastError();
    if (const DWORD closeError = file.Close(); error == 0)
        error = closeError;
    if (error == 0 && !MoveFileExA(temporary.c_str(), path.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != 0) {
        DeleteFileA(temporary.c_str());
        RaiseError(error);
    }
}

// A new file is flushed as it is written, like a replaced one: no call waits for a whole volume
// without administrator rights, so there is nothing left to wait for at the end.
void WriteNewFileBytes(const std::string& path, std::string_view bytes) {
    ReplaceFileBytes(path, bytes);
}

void SyncFileSystem(const std::string&) {}

std::string ReadFileBytes(const std::string& path) {
    THandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        RaiseError(GetLastError());
    // The bytes are read straight into a string of the file's size and a byte more, so that
    // the read that finds the end needs no room of its own: a large file is neither copied nor
    // grown.
    LARGE_INTEGER size{};
    const bool sized = GetFileSizeEx(file.Get(), &size) != 0 && size.QuadPart >= 0;
    std::string content(sized ? static_cast<std::size_t>(size.QuadPart) + 1 : 4096, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == content.size())
            content.resize(content.size() * 2);
        const DWORD room =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - filled, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.Get(), content.data() + filled, room, &got, nullptr))
            RaiseError(GetLastError());
        if (got == 0) {
            content.resize(filled);
            return content;
        }
        filled += got;
    }
}

TFileBytes MapFileBytes(const std::string& path) {
    // A file mapped into memory cannot be replaced by a rename while it stays mapped: it is
    // read whole instead.
    auto content = std::make_shared<const std::string>(ReadFileBytes(path));
    return {*content, content};
}

bool CanOpenForReading(const std::string& path) {
    THandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

TRegularRead ReadRegularFile(const std::string& path, std::uint64_t maxSize, std::string& bytes) {
    bytes.clear();
    THandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        // A folder cannot be opened as a file: it is refused as the POSIX side refuses it.
        if (PathKindOf(path) == TPathKind::Folder)
            return TRegularRead::NotRegular;
        RaiseError(error);
    }
    // Only a file on a disk: a device or a pipe may never end.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        return TRegularRead::NotRegular;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        RaiseError(GetLastError());
    if (static_cast<std::uint64_t>(size.QuadPart) > maxSize)
        return TRegularRead::TooLarge;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t read = 0;
    while (read < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + read, static_cast<DWORD>(bytes.size() - read),
                      &got, nullptr)) {
            const DWORD error = GetLastError();
            bytes.clear();
            RaiseError(error);
        }
        if (got == 0)
            break;
        read += got;
    }
    bytes.resize(read);
    return TRegularRead::Read;
}

TPathKind PathKindOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return TPathKind::Missing;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return TPathKind::Folder;
    // A device name such as CON or NUL has attributes too: only a file on a disk is regular.
    THandle file(CreateFileA(path.c_str(), 0,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return TPathKind::Regular;
    return GetFileType(file.Get()) == FILE_TYPE_DISK ? TPathKind::Regular : TPathKind::Other;
}

} // namespace platform
