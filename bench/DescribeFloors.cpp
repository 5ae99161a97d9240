// The floors against which the describe benchmark measures mp3tunestead-describe on a music
// folder, each a walk of the whole tree with the fewest system calls:
//   read MUSIC  lists every folder and, for every file named .mp3, opens it, reads its first
//               64 KiB and its last 128 bytes (where the tags lie) and closes it again;
//   stat MUSIC  lists every folder and looks at every entry's facts (stat, following links).
// Names are opened and looked at relative to their open folder, so no path is resolved twice.
//   read MUSIC THREADS  reads the same with THREADS threads, while one thread lists the
//               folders and hands them every song's path: what reading in parallel can reach.
// Prints the number of song files and, for read, the bytes read.
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t HeadBytes = 64 * 1024;
constexpr std::size_t TailBytes = 128;

struct TTotals {
    long long Songs = 0;
    long long Entries = 0;
    long long Bytes = 0;
    long long Failures = 0;
};

bool IsSongName(std::string_view name) {
    if (name.size() < 4)
        return false;
    const auto extension = name.substr(name.size() - 4);
    return extension[0] == '.' && (extension[1] | 0x20) == 'm' && (extension[2] | 0x20) == 'p' &&
           extension[3] == '3';
}

// Opens the song, reads its head and its tail, and closes it again.
void ReadSong(int folder, const char* name, std::vector<char>& buffer, TTotals& totals) {
    const int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ++totals.Failures;
        return;
    }
    ++totals.Songs;
    const ssize_t head = ::pread(fd, buffer.data(), HeadBytes, 0);
    if (head > 0)
        totals.Bytes += head;
    struct stat facts {};
    if (::fstat(fd, &facts) == 0 && facts.st_size > static_cast<off_t>(TailBytes)) {
        const ssize_t tail =
            ::pread(fd, buffer.data(), TailBytes, facts.st_size - static_cast<off_t>(TailBytes));
        if (tail > 0)
            totals.Bytes += tail;
    }
    ::close(fd);
}

// The songs' paths handed from the walk to the reading threads.
class TSongQueue {
public:
    void Push(std::string path) {
        {
            const std::lock_guard lock(FMutex);
            FPaths.push_back(std::move(path));
        }
        FReady.notify_one();
    }

    void Close() {
        {
            const std::lock_guard lock(FMutex);
            FClosed = true;
        }
        FReady.notify_all();
    }

    // The next path; false once the queue is closed and empty.
    bool Pop(std::string& path) {
        std::unique_lock lock(FMutex);
        FReady.wait(lock, [&] { return FClosed || !FPaths.empty(); });
        if (FPaths.empty())
            return false;
        path = std::move(FPaths.front());
        FPaths.pop_front();
        return true;
    }

private:
    std::mutex FMutex;
    std::condition_variable FReady;
    std::deque<std::string> FPaths;
    bool FClosed = false;
};

class TFloorWalk {
public:
    // Reads the songs itself when read and no queue is given, hands them to queue otherwise.
    TFloorWalk(bool read, TSongQueue* queue) : FRead(read), FQueue(queue), FBuffer(HeadBytes) {}

    void Walk(int folder, const std::string& path) {
        DIR* listing = ::fdopendir(folder);
        if (listing == nullptr) {
            ::close(folder);
            ++FTotals.Failures;
            return;
        }
        std::vector<std::string> children;
        while (const dirent* entry = ::readdir(listing)) {
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            ++FTotals.Entries;
            bool isFolder = entry->d_type == DT_DIR;
            if (!FRead || entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
                struct stat facts {};
                if (::fstatat(::dirfd(listing), name, &facts, 0) != 0) {
                    ++FTotals.Failures;
                    continue;
                }
                isFolder = S_ISDIR(facts.st_mode);
                if (!FRead && S_ISREG(facts.st_mode) && IsSongName(name))
                    ++FTotals.Songs;
            }
            if (isFolder)
                children.emplace_back(name);
            else if (FRead && IsSongName(name) && FQueue != nullptr)
                FQueue->Push(path + "/" + name);
            else if (FRead && IsSongName(name))
                ReadSong(::dirfd(listing), name, FBuffer, FTotals);
        }
        for (const auto& child : children) {
            const int fd =
                ::openat(::dirfd(listing), child.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0)
                Walk(fd, path + "/" + child);
            else
                ++FTotals.Failures;
        }
        ::closedir(listing);
    }

    const TTotals& Totals() const { return FTotals; }

private:
    bool FRead;
    TSongQueue* FQueue;
    std::vector<char> FBuffer;
    TTotals FTotals;
};

} // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc == 3 || argc == 4 ? argv[1] : "";
    const int threads = argc == 4 ? std::atoi(argv[3]) : 1;
    if ((mode != "read" && mode != "stat") || threads < 1 || (mode == "stat" && argc == 4)) {
        std::fprintf(stderr, "Usage: %s read MUSIC [THREADS] | stat MUSIC\n", argv[0]);
        return 2;
    }
    const int music = ::open(argv[2], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (music < 0) {
        std::fprintf(stderr, "%s: %s\n", argv[2], std::strerror(errno));
        return 2;
    }
    TSongQueue queue;
    std::vector<TTotals> readerTotals(threads > 1 ? threads : 0);
    std::vector<std::thread> readers;
    for (auto& totals : readerTotals)
        readers.emplace_back([&queue, &totals] {
            std::vector<char> buffer(HeadBytes);
            std::string path;
            while (queue.Pop(path))
                ReadSong(AT_FDCWD, path.c_str(), buffer, totals);
        });
    TFloorWalk walk(mode == "read", threads > 1 ? &queue : nullptr);
    walk.Walk(music, argv[2]);
    queue.Close();
    for (auto& reader : readers)
        reader.join();
    TTotals totals = walk.Totals();
    for (const auto& reader : readerTotals) {
        totals.Songs += reader.Songs;
        totals.Bytes += reader.Bytes;
        totals.Failures += reader.Failures;
    }
    std::printf("%lld songs, %lld entries, %lld bytes read, %lld failures\n", totals.Songs,
                totals.Entries, totals.Bytes, totals.Failures);
    return totals.Failures == 0 ? 0 : 1;
}
