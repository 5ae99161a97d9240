// Playlist files that are no files: a pipe without a writer, a pipe whose writer never stops,
// a device, a huge sparse file and a folder. Each is refused at once with a message naming it,
// both when opening and when saving over it; nothing hangs and nothing fills the memory.
#include "playback/PlaylistFile.h"

#include "platform/Errors.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <thread>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

#ifndef _WIN32

namespace {

// What an action raised: the message of an EInOutError, "no error", or the failure itself.
std::string Outcome(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInOutError& error) {
        return error.what();
    } catch (const std::exception& error) {
        return std::string("other failure: ") + error.what();
    }
    return "no error";
}

// Runs the action on a thread and gives it ten seconds. An action still blocked in a pipe
// after that is freed by a writer that comes and goes (its reader then sees the end), so that a
// fault shows as a failure and never as a hung test.
std::string OutcomeWithoutHanging(const fs::path& pipe, const std::function<void()>& action) {
    auto result = std::async(std::launch::async, [&action] { return Outcome(action); });
    if (result.wait_for(std::chrono::seconds(10)) == std::future_status::ready)
        return result.get();
    const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0)
        ::close(writer);
    result.get();
    return "hung on the pipe";
}

// While it lives, the process may take at most one more gibibyte of address space, so that an
// endless reading fails with bad_alloc instead of filling the machine's memory.
class TAddressSpaceLimit {
public:
    TAddressSpaceLimit() {
        getrlimit(RLIMIT_AS, &FSaved);
        std::ifstream status("/proc/self/status");
        std::string key;
        unsigned long long kilobytes = 0;
        while (status >> key)
            if (key == "VmSize:" && status >> kilobytes)
                break;
        rlimit limited = FSaved;
        limited.rlim_cur = static_cast<rlim_t>(kilobytes * 1024 + (1ULL << 30));
        if (kilobytes > 0 &&
            (FSaved.rlim_cur == RLIM_INFINITY || limited.rlim_cur < FSaved.rlim_cur))
            setrlimit(RLIMIT_AS, &limited);
    }
    ~TAddressSpaceLimit() { setrlimit(RLIMIT_AS, &FSaved); }
    TAddressSpaceLimit(const TAddressSpaceLimit&) = delete;
    TAddressSpaceLimit& operator=(const TAddressSpaceLimit&) = delete;

private:
    rlimit FSaved{};
};

// A pipe in the file system whose writer writes until the pipe has no reader left. The pipe's
// own reading end is held open so that the writer never waits for one; the writer ends when
// that end is closed.
class TEndlessPipe {
public:
    explicit TEndlessPipe(const fs::path& path) {
        if (::mkfifo(path.c_str(), 0600) != 0)
            return;
        FReader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        FWriter = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (FReader < 0 || FWriter < 0)
            return;
        FThread = std::thread([this] {
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            const std::string chunk(4096, 'x');
            while (::write(FWriter, chunk.data(), chunk.size()) > 0 || errno == EINTR) {
            }
        });
    }
    ~TEndlessPipe() {
        if (FReader >= 0)
            ::close(FReader);
        if (FThread.joinable())
            FThread.join();
        if (FWriter >= 0)
            ::close(FWriter);
    }
    TEndlessPipe(const TEndlessPipe&) = delete;
    TEndlessPipe& operator=(const TEndlessPipe&) = delete;

    bool Writing() const { return FThread.joinable(); }

private:
    int FReader = -1;
    int FWriter = -1;
    std::thread FThread;
};

std::string NotRegular(const fs::path& path) {
    return "\"" + path.string() + "\" is not a regular file";
}

} // namespace

TEST(PlaylistFileRefusal, APipeWithoutWriterIsRefusedOnOpenAndSave) {
    TTempDir dir;
    const auto pipe = dir.Path() / "x.PLS";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    EXPECT_EQ(OutcomeWithoutHanging(pipe, [&] { Playback::LoadPlaylistFile(pipe.string()); }),
              NotRegular(pipe));
    EXPECT_EQ(OutcomeWithoutHanging(pipe, [&] { Playback::PlaylistFileExists(pipe.string()); }),
              "no error");
    EXPECT_EQ(Outcome([&] { Playback::RaiseIfNotReplaceable(pipe.string()); }), NotRegular(pipe));
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST(PlaylistFileRefusal, EndlessAndHugeFilesAreRefusedUnread) {
    TTempDir dir;
    const auto zero = dir.Path() / "zero.PLS";
    fs::create_symlink("/dev/zero", zero);
    const auto pipe = dir.Path() / "endless.PLS";
    const TEndlessPipe writer(pipe);
    ASSERT_TRUE(writer.Writing());
    const auto huge = dir.Write("huge.PLS", "");
    fs::resize_file(huge, Playback::MaxPlaylistFileSize + 1);
    const auto folder = dir.Path() / "folder.PLS";
    fs::create_directory(folder);

    const struct {
        fs::path Path;
        std::string Error;
    } cases[] = {
        {zero, NotRegular(zero)},
        {pipe, NotRegular(pipe)},
        {folder, NotRegular(folder)},
        {huge, "\"" + huge.string() + "\" is larger than 16 MiB"},
        {dir.Path() / "none.PLS", "File not found"},
    };
    const TAddressSpaceLimit limit;
    for (const auto& c : cases) {
        EXPECT_EQ(Outcome([&] { Playback::ReadPlaylistBytes(c.Path.string()); }), c.Error)
            << c.Path;
        EXPECT_EQ(Outcome([&] { Playback::LoadPlaylistFile(c.Path.string()); }), c.Error) << c.Path;
    }
    // Saving never replaces a device or a pipe; a folder or a missing file is left to the
    // writing, which reports its own error.
    EXPECT_EQ(Outcome([&] { Playback::RaiseIfNotReplaceable(zero.string()); }), NotRegular(zero));
    EXPECT_EQ(Outcome([&] { Playback::RaiseIfNotReplaceable(pipe.string()); }), NotRegular(pipe));
    EXPECT_EQ(Outcome([&] { Playback::RaiseIfNotReplaceable(huge.string()); }), "no error");
    EXPECT_EQ(Outcome([&] { Playback::RaiseIfNotReplaceable((dir.Path() / "new.PLS").string()); }),
              "no error");
}

TEST(PlaylistFileRefusal, AFileOfTheLargestSizeIsReadWhole) {
    TTempDir dir;
    const std::string record = Playback::EncodePlaylist({{"Song", "1'00\"", "/a.mp3"}});
    const auto largest = dir.Write("largest.PLS", record);
    fs::resize_file(largest, Playback::MaxPlaylistFileSize);
    const std::string bytes = Playback::ReadPlaylistBytes(largest.string());
    EXPECT_EQ(bytes.size(), Playback::MaxPlaylistFileSize);
    EXPECT_EQ(bytes.substr(0, record.size()), record);
}

#endif
