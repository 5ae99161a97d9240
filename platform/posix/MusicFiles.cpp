#include "platform/MusicFiles.h"

#include "platform/Errors.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

TEntryFacts FactsOf(const struct stat& facts) {
    TEntryFacts result;
    if (S_ISREG(facts.st_mode))
        result.Kind = TEntryKind::Regular;
    else if (S_ISDIR(facts.st_mode))
        result.Kind = TEntryKind::Folder;
    else
        result.Kind = TEntryKind::Other;
    result.Size = static_cast<std::uint64_t>(facts.st_size);
    result.ModifiedNs =
        static_cast<std::int64_t>(facts.st_mtim.tv_sec) * 1000000000 + facts.st_mtim.tv_nsec;
    return result;
}

} // namespace

TEntryFacts LookAt(const std::string& path) {
    struct stat facts {};
    if (stat(path.c_str(), &facts) != 0)
        return {};
    return FactsOf(facts);
}

void CheckFolderReadable(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        RaiseFileError(errno);
    closedir(dir);
}

std::vector<TFolderEntry> ListFolderEntries(const std::string& folder, bool withFacts) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        RaiseFileError(errno);
    std::vector<TFolderEntry> entries;
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        TFolderEntry found;
        found.Name = entry->d_name;
        if (found.Name == "." || found.Name == "..")
            continue;
        found.Inode = entry->d_ino;
        found.Kind = entry->d_type == DT_DIR   ? TEntryKind::Folder
                     : entry->d_type == DT_REG ? TEntryKind::Regular
                                               : TEntryKind::Other;
        // A link, or a file system that does not tell, is looked at through the name; so is a
        // file whose size and time are wanted.
        const bool unknown = entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN;
        if (unknown || (withFacts && found.Kind == TEntryKind::Regular)) {
            struct stat facts {};
            const bool seen = fstatat(dirfd(dir), entry->d_name, &facts, 0) == 0;
            const auto looked = seen ? FactsOf(facts) : TEntryFacts{TEntryKind::Other, 0, 0};
            if (seen) {
                found.Device = static_cast<std::uint64_t>(facts.st_dev);
                found.Inode = static_cast<std::uint64_t>(facts.st_ino);
            }
            found.Kind = looked.Kind;
            found.Size = looked.Size;
            found.ModifiedNs = looked.ModifiedNs;
        }
        entries.push_back(std::move(found));
        errno = 0;
    }
    const int error = errno;
    closedir(dir);
    if (error != 0)
        RaiseFileError(error);
    return entries;
}

void MakeFolders(const std::string& folder) {
    // Most often the parent is there and the folder is not: one call makes it.
    if (mkdir(folder.c_str(), 0777) == 0)
        return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        RaiseFileError(error.value());
}

bool RemoveEntry(const std::string& path) {
    if (unlink(path.c_str()) == 0)
        return true;
    return errno == EISDIR || errno == EPERM ? rmdir(path.c_str()) == 0 : false;
}

bool EntryExists(const std::string& path) {
    struct stat facts {};
    return lstat(path.c_str(), &facts) == 0;
}

std::string AbsolutePath(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal().string();
}

std::string FolderIdentity(const std::string& path) {
    struct stat facts {};
    if (stat(path.c_str(), &facts) != 0)
        return {};
    return std::to_string(facts.st_dev) + ":" + std::to_string(facts.st_ino);
}

bool IsLink(const std::string& path) {
    struct stat facts {};
    return lstat(path.c_str(), &facts) == 0 && S_ISLNK(facts.st_mode);
}

void MakeSongLink(const std::string& target, const std::string& link) {
    if (symlink(target.c_str(), link.c_str()) != 0)
        RaiseFileError(errno);
}

namespace {

class TPosixFolderLock : public TFolderLock {
public:
    explicit TPosixFolderLock(int fd) : FFd(fd) {}
    ~TPosixFolderLock() override { close(FFd); }
    TPosixFolderLock(const TPosixFolderLock&) = delete;
    TPosixFolderLock& operator=(const TPosixFolderLock&) = delete;

private:
    int FFd;
};

std::unique_ptr<TFolderLock> Lock(const std::string& folder, bool wait) {
    const std::string path = folder + (folder.ends_with('/') ? "" : "/") + ".lock";
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        RaiseFileError(errno);
    int result;
    do
        result = flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK)
            return nullptr;
        RaiseFileError(error);
    }
    return std::make_unique<TPosixFolderLock>(fd);
}

} // namespace

std::unique_ptr<TFolderLock> TryLockFolder(const std::string& folder) {
    return Lock(folder, false);
}

std::unique_ptr<TFolderLock> LockFolder(const std::string& folder) {
    return Lock(folder, true);
}

} // namespace platform
