#include "platform/MusicFiles.h"

#include "platform/Errors.h"

#include <filesystem>
#include <windows.h>

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif

namespace platform {

TEntryFacts LookAt(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA facts{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &facts))
        return {};
    TEntryFacts result;
    if (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        result.Kind = TEntryKind::Folder;
    else if (facts.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
        result.Kind = TEntryKind::Other;
    else
        result.Kind = TEntryKind::Regular;
    result.Size = (static_cast<std::uint64_t>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    // 100-nanosecond ticks: compared only, so their epoch does not matter.
    result.ModifiedNs =
        static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(facts.ftLastWriteTime.dwHighDateTime) << 32) |
            facts.ftLastWriteTime.dwLowDateTime) *
        100;
    return result;
}

std::string FolderIdentity(const std::string& path) {
    std::error_code error;
    const auto resolved = std::filesystem::canonical(path, error);
    return error ? std::string() : resolved.string();
}

bool IsLink(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void MakeSongLink(const std::string& target, const std::string& link) {
    if (CreateHardLinkA(link.c_str(), target.c_str(), nullptr))
        return;
    const DWORD hardLinkError = GetLastError();
    if (CreateSymbolicLinkA(link.c_str(), target.c_str(),
                            SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
        return;
    RaiseFileError(static_cast<int>(hardLinkError));
}

namespace {

class TWin32FolderLock : public TFolderLock {
public:
    explicit TWin32FolderLock(HANDLE file) : FFile(file) {}
    ~TWin32FolderLock() override { CloseHandle(FFile); }
    TWin32FolderLock(const TWin32FolderLock&) = delete;
    TWin32FolderLock& operator=(const TWin32FolderLock&) = delete;

private:
    HANDLE FFile;
};

std::unique_ptr<TFolderLock> Lock(const std::string& folder, bool wait) {
    const std::string path =
        folder + (folder.ends_with('\\') || folder.ends_with('/') ? "" : "\\") + ".lock";
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        RaiseFileError(static_cast<int>(GetLastError()));
    OVERLAPPED whole{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!LockFileEx(file, flags, 0, MAXDWORD, MAXDWORD, &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
            return nullptr;
        RaiseFileError(static_cast<int>(error));
    }
    return std::make_unique<TWin32FolderLock>(file);
}

} // namespace

std::unique_ptr<TFolderLock> TryLockFolder(const std::string& folder) {
    return Lock(folder, false);
}

std::unique_ptr<TFolderLock> LockFolder(const std::string& folder) {
    return Lock(folder, true);
}

} // namespace platform
