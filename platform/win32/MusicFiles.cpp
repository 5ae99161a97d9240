#include "platform/MusicFiles.h"

#include "platform/Errors.h"

#include <windows.h>

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif

namespace platform {

namespace {

// A file time in nanoseconds (from 100-nanosecond ticks; compared only, so the epoch does not
// matter).
std::int64_t TicksNs(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime) *
           100;
}

} // namespace

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
    result.ModifiedNs = TicksNs(facts.ftLastWriteTime);
    return result;
}

namespace {

// Starts the search of the folder's entries; INVALID_HANDLE_VALUE for a folder without any.
HANDLE FindFirstEntry(const std::string& folder, WIN32_FIND_DATAA& found) {
    const std::string pattern =
        folder + (folder.ends_with('\\') || folder.ends_with('/') ? "" : "\\") + "*";
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            RaiseFileError(static_cast<int>(error));
    }
    return search;
}

} // namespace

void CheckFolderReadable(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstEntry(folder, found);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

std::vector<TFolderEntry> ListFolderEntries(const std::string& folder, bool withFacts) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstEntry(folder, found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    std::vector<TFolderEntry> entries;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        // "?" stands for a letter the ANSI code page cannot spell: the short name can be
        // opened instead.
        if (name.find('?') != std::string::npos && found.cAlternateFileName[0] != '\0')
            name = found.cAlternateFileName;
        TEntryKind kind = TEntryKind::Regular;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            kind = TEntryKind::Folder;
        else if (found.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
            kind = TEntryKind::Other;
        if (name.find('?') != std::string::npos)
            kind = TEntryKind::Other;
        // The search gives the size and time with the name: no look of its own is needed.
        TFolderEntry entry{std::move(name), kind, 0, 0, 0, 0};
        if (withFacts && kind == TEntryKind::Regular) {
            entry.Size =
                (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            entry.ModifiedNs = TicksNs(found.ftLastWriteTime);
        }
        entries.push_back(std::move(entry));
    } while (FindNextFileA(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES)
        RaiseFileError(static_cast<int>(error));
    return entries;
}

void MakeFolders(const std::string& folder) {
    if (CreateDirectoryA(folder.c_str(), nullptr))
        return;
    DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS)
        return;
    const auto delimiter = folder.find_last_of("\\/");
    if (error == ERROR_PATH_NOT_FOUND && delimiter != std::string::npos && delimiter > 0) {
        MakeFolders(folder.substr(0, delimiter));
        if (CreateDirectoryA(folder.c_str(), nullptr))
            return;
        error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS)
            return;
    }
    RaiseFileError(static_cast<int>(error));
}

bool RemoveEntry(const std::string& path) {
    return DeleteFileA(path.c_str()) || RemoveDirectoryA(path.c_str());
}

bool EntryExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string AbsolutePath(const std::string& path) {
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::string full(size, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    full.resize(length < size ? length : 0);
    return full.empty() ? path : full;
}

std::string FolderIdentity(const std::string& path) {
    // The volume and file index of the folder, whatever link or path leads to it.
    const HANDLE folder =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION facts{};
    const bool known = GetFileInformationByHandle(folder, &facts) != 0;
    CloseHandle(folder);
    if (!known)
        return {};
    return std::to_string(facts.dwVolumeSerialNumber) + ":" +
           std::to_string((static_cast<std::uint64_t>(facts.nFileIndexHigh) << 32) |
                          facts.nFileIndexLow);
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
