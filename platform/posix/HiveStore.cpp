#include "platform/posix/HiveStore.h"

#include "platform/posix/XdgFolders.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform::hive {

namespace {

std::mutex StateMutex; // guards the folder override and the warnings
std::filesystem::path FolderOverride;
std::vector<std::string> PendingWarnings;
std::function<void(const std::string&)> WarningHandler;
std::set<std::string> ReportedUnmovable;
std::function<void(int)> WriteStepHook;

void QueueWarning(const std::string& text) {
    std::lock_guard guard(StateMutex);
    PendingWarnings.push_back(text);
}

void WriteStep(int step) {
    if (WriteStepHook)
        WriteStepHook(step);
}

std::filesystem::path SettingsFolder() {
    {
        std::lock_guard guard(StateMutex);
        if (!FolderOverride.empty())
            return FolderOverride;
    }
    const std::string base = xdg::UserBaseFolder(xdg::TBase::Config);
    if (base.empty())
        return {};
    return std::filesystem::path(base) / "mp3tunestead";
}

LONG ErrorFromErrno(int error, LONG otherwise) {
    return error == EACCES || error == EPERM || error == EROFS ? ERROR_ACCESS_DENIED : otherwise;
}

// The default user's profile is always there, as on Windows.
void AddPermanentKeys(const THiveFile& file, TKey& hive) {
    bool created = false;
    if (file.RootName == "HKEY_USERS")
        hive.SubKey(".DEFAULT", created);
}

TKey EmptyHive(const THiveFile& file) {
    TKey hive;
    AddPermanentKeys(file, hive);
    return hive;
}

// Reads the whole of an open file; gives 0 or the errno of the failure.
int ReadWholeFile(int fd, std::string& text) {
    text.clear();
    char buffer[16384];
    while (true) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        if (count == 0)
            return 0;
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

// The hive last read or written for each hive file, with the file's text it was parsed from or
// written as. Every call reads the file again, but a file whose bytes are those already known
// is not parsed again: a hive holding a value of megabytes takes seconds to parse, and reading
// and comparing its bytes only milliseconds. The bytes decide, not the file's size and time,
// since a rewrite of the same size within one tick of the clock keeps those.
struct TKnownHive {
    std::string Text;
    TKey Hive;
};
std::mutex KnownMutex;
std::map<std::string, TKnownHive> KnownHives;
std::atomic<std::size_t> ParseCount{0};

bool FindKnown(const std::filesystem::path& path, const std::string& text, TKey& hive) {
    std::lock_guard guard(KnownMutex);
    const auto found = KnownHives.find(path.string());
    if (found == KnownHives.end() || found->second.Text != text)
        return false;
    hive = found->second.Hive;
    return true;
}

void Remember(const std::filesystem::path& path, std::string text, const TKey& hive) {
    std::lock_guard guard(KnownMutex);
    KnownHives[path.string()] = {std::move(text), hive};
}

void Forget(const std::filesystem::path& path) {
    std::lock_guard guard(KnownMutex);
    KnownHives.erase(path.string());
}

enum class TReadOutcome { Read, Missing, Damaged, Failed };

TReadOutcome ReadHive(const THiveFile& file, TKey& hive, std::string& problem, LONG& error) {
    const int fd = open(file.Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int failure = errno;
        if (failure == ENOENT) {
            Forget(file.Path);
            return TReadOutcome::Missing;
        }
        error = ErrorFromErrno(failure, ERROR_CANTREAD);
        return TReadOutcome::Failed;
    }
    std::string text;
    const int failure = ReadWholeFile(fd, text);
    close(fd);
    if (failure != 0) {
        error = ErrorFromErrno(failure, ERROR_CANTREAD);
        return TReadOutcome::Failed;
    }
    if (FindKnown(file.Path, text, hive))
        return TReadOutcome::Read;
    ++ParseCount;
    auto parsed = ParseHive(text, file.RootName, problem);
    if (!parsed)
        return TReadOutcome::Damaged;
    hive = std::move(*parsed);
    AddPermanentKeys(file, hive);
    Remember(file.Path, std::move(text), hive);
    return TReadOutcome::Read;
}

std::string Timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Moves a hive that cannot be read to a name of its own, never over an earlier one, and tells
// the user. Runs under the hive's lock.
LONG MoveAside(const THiveFile& file, const std::string& problem) {
    const std::string base = file.Path.string() + ".damaged-" + Timestamp();
    std::string target = base;
    for (int n = 1; std::filesystem::exists(target); ++n)
        target = base + "-" + std::to_string(n);
    if (std::rename(file.Path.c_str(), target.c_str()) == 0) {
        QueueWarning("The settings file \"" + file.Path.string() +
                     "\" is damaged and could not be read (" + problem +
                     "). It has been moved to \"" + target +
                     "\"; the settings it held are not used, and the program goes on with its "
                     "defaults for them.");
        return ERROR_SUCCESS;
    }
    const std::string reason = std::strerror(errno);
    std::lock_guard guard(StateMutex);
    if (ReportedUnmovable.insert(file.Path.string()).second)
        PendingWarnings.push_back("The settings file \"" + file.Path.string() +
                                  "\" is damaged and could not be read (" + problem +
                                  "), and it could not be moved to \"" + target + "\": " + reason +
                                  ". No settings can be saved there until the file is repaired "
                                  "or removed.");
    return ERROR_BADDB;
}

// Reads the hive; a missing file reads as an empty hive. False only for a damaged file,
// whose problem is told; otherwise result is the outcome.
bool ReadUndamaged(const THiveFile& file, TKey& hive, std::string& problem, LONG& result) {
    LONG error = ERROR_SUCCESS;
    switch (ReadHive(file, hive, problem, error)) {
    case TReadOutcome::Read:
        result = ERROR_SUCCESS;
        return true;
    case TReadOutcome::Missing:
        hive = EmptyHive(file);
        result = ERROR_SUCCESS;
        return true;
    case TReadOutcome::Failed:
        result = error;
        return true;
    case TReadOutcome::Damaged:
        break;
    }
    return false;
}

// Reads the hive while its lock is held: a damaged file is moved aside.
LONG ReadLocked(const THiveFile& file, TKey& hive) {
    std::string problem;
    if (LONG result = ERROR_SUCCESS; ReadUndamaged(file, hive, problem, result))
        return result;
    if (const LONG moved = MoveAside(file, problem); moved != ERROR_SUCCESS)
        return moved;
    hive = EmptyHive(file);
    return ERROR_SUCCESS;
}

// The hive's lock: an exclusive flock on "<hive>.lock" beside it (the hive itself is replaced
// by each change, so it cannot carry the lock).
class THiveLock {
public:
    THiveLock() = default;
    THiveLock(const THiveLock&) = delete;
    THiveLock& operator=(const THiveLock&) = delete;
    ~THiveLock() {
        if (FFd >= 0)
            close(FFd);
    }

    LONG Acquire(const THiveFile& file) {
        std::error_code ignored;
        std::filesystem::create_directories(file.Path.parent_path(), ignored);
        const auto lockPath = file.Path.string() + ".lock";
        FFd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (FFd < 0)
            return ErrorFromErrno(errno, ERROR_CANTWRITE);
        while (flock(FFd, LOCK_EX) != 0)
            if (errno != EINTR)
                return ERROR_CANTWRITE;
        return ERROR_SUCCESS;
    }

private:
    int FFd = -1;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t count = write(fd, data, size);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

// Temporary files left by a copy that was stopped while writing. Only a holder of the lock
// writes one, so under the lock every one found is stale.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
    const auto prefix = target.filename().string() + ".tmp-";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), error))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            std::filesystem::remove(entry.path(), error);
}

// The file that a change replaces: the hive itself or, when the hive is a symbolic link (the
// way dotfile managers keep settings), the file the links lead to. Replacing the link itself
// would leave its target stale and turn the link into a plain file.
std::filesystem::path ReplacedFile(const std::filesystem::path& hive) {
    constexpr int MaxLinks = 40; // as many as the system follows in one path
    std::filesystem::path path = hive;
    std::error_code error;
    for (int n = 0; n < MaxLinks && std::filesystem::is_symlink(path, error); ++n) {
        const auto target = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        // A relative link is relative to its own folder; an absolute one replaces the path.
        path = path.parent_path() / target;
    }
    return path;
}

// Whether the user made the file read-only. The owner's write bit decides rather than
// access(), which lets root write everything; a rename would otherwise replace the file and
// drop its protection.
bool WriteProtected(const std::filesystem::path& file) {
    struct stat info {};
    return stat(file.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

// Writes a temporary file beside the replaced file, flushes it to disk and renames it over
// that file. A read-only file is left as it is, and the change fails.
LONG ReplaceFile(const THiveFile& file, const std::string& text) {
    static unsigned counter = 0;
    const auto target = ReplacedFile(file.Path);
    if (WriteProtected(target))
        return ERROR_ACCESS_DENIED;
    RemoveStaleTemporaries(target);
    const auto temporary =
        target.string() + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return ErrorFromErrno(errno, ERROR_CANTWRITE);
    WriteStep(1);
    const std::size_t half = text.size() / 2;
    bool written = WriteAll(fd, text.data(), half);
    WriteStep(2);
    written = written && WriteAll(fd, text.data() + half, text.size() - half);
    WriteStep(3);
    written = written && fsync(fd) == 0;
    WriteStep(4);
    written = close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return ErrorFromErrno(error, ERROR_CANTWRITE);
    }
    WriteStep(5);
    // The rename itself reaches the disk with the folder.
    const int folder = open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return ERROR_SUCCESS;
}

} // namespace

THiveFile HiveFileOf(const std::string& rootName) {
    const auto folder = SettingsFolder();
    if (folder.empty())
        return {{}, rootName};
    return {folder / (rootName + ".reg"), rootName};
}

void SetFolderOverride(const std::filesystem::path& folder) {
    std::lock_guard guard(StateMutex);
    FolderOverride = folder;
}

LONG LoadHive(const THiveFile& file, TKey& hive) {
    if (file.Path.empty())
        return ERROR_PATH_NOT_FOUND;
    std::string problem;
    if (LONG result = ERROR_SUCCESS; ReadUndamaged(file, hive, problem, result))
        return result;
    // Another copy may be replacing the file right now: decide under the lock.
    THiveLock lock;
    if (const LONG locked = lock.Acquire(file); locked != ERROR_SUCCESS)
        return locked;
    return ReadLocked(file, hive);
}

LONG ChangeHive(const THiveFile& file,
                const std::function<LONG(TKey& hive, bool& changed)>& change) {
    if (file.Path.empty())
        return ERROR_PATH_NOT_FOUND;
    THiveLock lock;
    if (const LONG locked = lock.Acquire(file); locked != ERROR_SUCCESS)
        return locked;
    TKey hive;
    if (const LONG read = ReadLocked(file, hive); read != ERROR_SUCCESS)
        return read;
    bool changed = false;
    if (const LONG result = change(hive, changed); result != ERROR_SUCCESS || !changed)
        return result;
    std::string text = SerialiseHive(hive, file.RootName);
    if (const LONG written = ReplaceFile(file, text); written != ERROR_SUCCESS)
        return written;
    // The new file holds what it was written from; the next call need not parse it.
    Remember(file.Path, std::move(text), hive);
    return ERROR_SUCCESS;
}

void SetWarningHandler(std::function<void(const std::string&)> handler) {
    {
        std::lock_guard guard(StateMutex);
        WarningHandler = std::move(handler);
    }
    DeliverWarnings();
}

void DeliverWarnings() {
    std::vector<std::string> warnings;
    std::function<void(const std::string&)> handler;
    {
        std::lock_guard guard(StateMutex);
        if (!WarningHandler)
            return;
        warnings.swap(PendingWarnings);
        handler = WarningHandler;
    }
    for (const auto& warning : warnings)
        handler(warning);
}

void SetWriteStepHookForTesting(std::function<void(int step)> hook) {
    WriteStepHook = std::move(hook);
}

std::size_t HiveParsesForTesting() {
    return ParseCount;
}

} // namespace platform::hive
