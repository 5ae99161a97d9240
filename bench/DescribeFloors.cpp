// The floors against which the describe benchmark measures mp3tunestead-describe on a music
// folder, each a walk of the whole tree with the fewest system calls:
//   read MUSIC  lists every folder and, for every file named .mp3, opens it, reads its first
//               64 KiB and its last 128 bytes (where the tags lie) and closes it again;
//   stat MUSIC  lists every folder and looks at every entry's facts (stat, following links).
// Names are opened and looked at relative to their open folder, so no path is resolved twice.
// Prints the number of song files and, for read, the bytes read.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
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

class TFloorWalk {
public:
    explicit TFloorWalk(bool read) : FRead(read), FBuffer(HeadBytes) {}

    void Walk(int folder) {
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
            else if (FRead && IsSongName(name))
                ReadSong(::dirfd(listing), name);
        }
        for (const auto& child : children) {
            const int fd =
                ::openat(::dirfd(listing), child.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0)
                Walk(fd);
            else
                ++FTotals.Failures;
        }
        ::closedir(listing);
    }

    const TTotals& Totals() const { return FTotals; }

private:
    void ReadSong(int folder, const char* name) {
        const int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            ++FTotals.Failures;
            return;
        }
        ++FTotals.Songs;
        const ssize_t head = ::pread(fd, FBuffer.data(), HeadBytes, 0);
        if (head > 0)
            FTotals.Bytes += head;
        struct stat facts {};
        if (::fstat(fd, &facts) == 0 && facts.st_size > static_cast<off_t>(TailBytes)) {
            const ssize_t tail = ::pread(fd, FBuffer.data(), TailBytes,
                                         facts.st_size - static_cast<off_t>(TailBytes));
            if (tail > 0)
                FTotals.Bytes += tail;
        }
        ::close(fd);
    }

    bool FRead;
    std::vector<char> FBuffer;
    TTotals FTotals;
};

} // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc == 3 ? argv[1] : "";
    if (mode != "read" && mode != "stat") {
        std::fprintf(stderr, "Usage: %s read|stat MUSIC\n", argv[0]);
        return 2;
    }
    const int music = ::open(argv[2], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (music < 0) {
        std::fprintf(stderr, "%s: %s\n", argv[2], std::strerror(errno));
        return 2;
    }
    TFloorWalk walk(mode == "read");
    walk.Walk(music);
    const auto& totals = walk.Totals();
    std::printf("%lld songs, %lld entries, %lld bytes read, %lld failures\n", totals.Songs,
                totals.Entries, totals.Bytes, totals.Failures);
    return totals.Failures == 0 ? 0 : 1;
}
