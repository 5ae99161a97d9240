#include "platform/FileIO.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Writes every byte, going on after short writes and interruptions; returns 0 or errno.
int WriteAll(int fd, std::string_view bytes) {
    int injectedError = 0;
    if (const auto& fault = WriteFault()) {
        bytes = bytes.substr(0, std::min(bytes.size(), fault->BytesAccepted));
        injectedError = fault->SystemError;
    }
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return injectedError;
}

// A file that is closed when it goes out of scope (errors of that close are not wanted:
// the paths that care close it themselves).
class TDescriptor {
public:
    explicit TDescriptor(int fd) : FFd(fd) {}
    ~TDescriptor() {
        if (FFd >= 0)
            close(FFd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;

    int Get() const { return FFd; }
    // Closes the file and returns 0 or errno (a delayed write error can show up here).
    int Close() {
        const int result = close(FFd) == 0 ? 0 : errno;
        FFd = -1;
        return result;
    }

private:
    int FFd;
};

// The file a path names, following a symbolic link so that replacing the content keeps
// the link.
std::string ResolveLink(const std::string& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncDirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string directory =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    TDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.Get() < 0)
        RaiseFileError(errno);
    if (const int error = WriteAll(file.Get(), bytes))
        RaiseFileError(error);
    if (const int error = file.Close())
        RaiseFileError(error);
}

namespace {

// Reads fd to its end into bytes, straight into room for sizeHint bytes and one more, so that
// a file of the size told is neither copied nor grown, and the read that finds its end needs no
// room of its own. The size told is only a hint (a file of the proc file system tells none):
// the reading goes on to the end, within maxSize. False (and bytes empty) once more than
// maxSize bytes came.
bool ReadToEnd(int fd, std::size_t sizeHint, std::uint64_t maxSize, std::string& bytes) {
    bytes.resize(sizeHint + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(std::min<std::uint64_t>(size * 2 + 65536, maxSize) + 1);
        const ssize_t got = read(fd, bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            bytes.clear();
            RaiseFileError(error);
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
        if (size > maxSize) {
            bytes.clear();
            return false;
        }
    }
    bytes.resize(size);
    return true;
}

// Writes the bytes to a new file beside target and renames it over target, so that no reader
// ever sees it half written; durable (for a file replaced) flushes the file to the disk before
// the rename and its folder after it, and keeps the permissions of the file replaced.
void WriteBeside(const std::string& target, std::string_view bytes, bool durable) {
    // The process's number, asked once: a name taken anyway (a forked child's) is passed over.
    static const std::string process = std::to_string(getpid());
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = target + ".tmp-" + process + "-" + std::to_string(attempt);
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 99))
            RaiseFileError(errno);
    }
    TDescriptor file(fd);
    struct stat old {};
    if (durable && stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        fchmod(fd, old.st_mode & 07777);

    int error = WriteAll(fd, bytes);
    if (error == 0 && durable && fsync(fd) != 0)
        error = errno;
    if (const int closeError = file.Close(); error == 0)
        error = closeError;
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        RaiseFileError(error);
    }
    if (durable)
        SyncDirectoryOf(target);
}

} // namespace

void ReplaceFileBytes(const std::string& path, std::string_view bytes) {
    WriteBeside(ResolveLink(path), bytes, true);
}

void WriteNewFileBytes(const std::string& path, std::string_view bytes) {
    WriteBeside(path, bytes, false);
}

void SyncFileSystem(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        RaiseFileError(errno);
#ifdef __linux__
    const int result = syncfs(fd);
#else
    sync();
    const int result = 0;
#endif
    const int error = errno;
    close(fd);
    if (result != 0)
        RaiseFileError(error);
}

std::string ReadFileBytes(const std::string& path) {
    TDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        RaiseFileError(errno);
    struct stat status {};
    const bool sized = fstat(file.Get(), &status) == 0 && S_ISREG(status.st_mode);
    std::string content;
    ReadToEnd(file.Get(), sized ? static_cast<std::size_t>(status.st_size) : 0, UINT64_MAX,
              content);
    return content;
}

TFileBytes MapFileBytes(const std::string& path) {
    TDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        RaiseFileError(errno);
    struct stat status {};
    if (fstat(file.Get(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* const address = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.Get(), 0);
        if (address != MAP_FAILED)
            return {{static_cast<const char*>(address), size},
                    std::shared_ptr<const void>(
                        address, [size](const void* at) { munmap(const_cast<void*>(at), size); })};
    }
    // An empty file, one that tells no size, or one that cannot be mapped is read.
    auto content = std::make_shared<std::string>();
    ReadToEnd(file.Get(), 0, UINT64_MAX, *content);
    return {*content, content};
}

bool CanOpenForReading(const std::string& path) {
    TDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    return file.Get() >= 0 && fstat(file.Get(), &status) == 0 && !S_ISDIR(status.st_mode);
}

TRegularRead ReadRegularFile(const std::string& path, std::uint64_t maxSize, std::string& bytes) {
    bytes.clear();
    // Without a waiting writer a pipe would block the opening itself.
    int fd;
    do
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        RaiseFileError(errno);
    TDescriptor file(fd);
    struct stat status {};
    if (fstat(fd, &status) != 0)
        RaiseFileError(errno);
    if (!S_ISREG(status.st_mode))
        return TRegularRead::NotRegular;
    if (static_cast<std::uint64_t>(status.st_size) > maxSize)
        return TRegularRead::TooLarge;
    return ReadToEnd(fd, static_cast<std::size_t>(status.st_size), maxSize, bytes)
               ? TRegularRead::Read
               : TRegularRead::TooLarge;
}

TPathKind PathKindOf(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return TPathKind::Missing;
    if (S_ISREG(status.st_mode))
        return TPathKind::Regular;
    return S_ISDIR(status.st_mode) ? TPathKind::Folder : TPathKind::Other;
}

} // namespace platform
