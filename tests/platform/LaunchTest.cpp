#include "platform/Launch.h"
#include "platform/Folders.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string FakePlayer = std::string(TUNESTEAD_HELPER_DIR) + "/fake_player";

// Sets an environment variable for one test and restores it afterwards.
class TEnvironment {
public:
    TEnvironment(const char* name, const std::optional<std::string>& value) : FName(name) {
        if (const char* old = std::getenv(name))
            FOld = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~TEnvironment() {
        if (FOld)
            setenv(FName, FOld->c_str(), 1);
        else
            unsetenv(FName);
    }
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};

// Runs the current directory elsewhere for one test.
class TWorkingDirectory {
public:
    explicit TWorkingDirectory(const fs::path& path) : FOld(fs::current_path()) {
        fs::current_path(path);
    }
    ~TWorkingDirectory() { fs::current_path(FOld); }
    TWorkingDirectory(const TWorkingDirectory&) = delete;
    TWorkingDirectory& operator=(const TWorkingDirectory&) = delete;

private:
    fs::path FOld;
};

std::string Field(const char* kind, const std::string& bytes) {
    return std::string(kind) + " " + std::to_string(bytes.size()) + "\n" + bytes + "\n";
}

// Starts the player with the fake player's record going into a FIFO and returns what the
// fake player wrote there, read until it closed the FIFO. The wait is bounded so that a
// player that never comes fails the test instead of hanging it.
std::optional<std::string> LaunchAndRecord(const TTempDir& dir, const std::string& player,
                                           const std::string& parameter) {
    const auto fifo = dir.Path() / "record.fifo";
    fs::remove(fifo);
    if (mkfifo(fifo.c_str(), 0600) != 0)
        return std::nullopt;
    const int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    TEnvironment log("TUNESTEAD_FAKE_PLAYER_LOG", fifo.string());
    if (!platform::ShellOpen(nullptr, player, parameter).Started) {
        close(fd);
        return std::nullopt;
    }
    std::string record;
    pollfd waiting{fd, POLLIN, 0};
    while (poll(&waiting, 1, 30000) > 0) {
        char buffer[4096];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0)
            record.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EAGAIN)
            break;
    }
    close(fd);
    return record;
}

bool HasNoChildLeft() {
    int status = 0;
    return waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD;
}

} // namespace

TEST(Launch, PassesTheParameterAsOneUnchangedArgumentInTheCurrentDirectory) {
    TTempDir dir;
    const auto work = dir.Path() / "work dir \xc3\xbc";
    fs::create_directory(work);
    TWorkingDirectory inWork(work);
    const std::string parameters[] = {
        "/mp3/PL_TEMP.M3U",
        "/mp3/My Album/01 song.mp3",
        "double\"quote 'single' back\\slash",
        "semi;colon && echo hi | cat > out",
        "$(touch PWNED) `touch PWNED2` ${HOME}",
        "line one\nline two\r\n",
        "\xe4\xf6\xfc \xff\x80",
        "-dash --option",
        "*.mp3 ?",
        "",
    };
    for (const auto& parameter : parameters) {
        const auto record = LaunchAndRecord(dir, FakePlayer, parameter);
        ASSERT_TRUE(record.has_value()) << parameter;
        EXPECT_EQ(*record, Field("arg", parameter) + Field("cwd", work.string())) << parameter;
    }
    EXPECT_FALSE(fs::exists(work / "PWNED"));
    EXPECT_FALSE(fs::exists(work / "PWNED2"));
    EXPECT_FALSE(fs::exists(work / "out"));
    EXPECT_TRUE(HasNoChildLeft());
}

TEST(Launch, FindsAPlayerNamedWithoutFolderOnThePath) {
    TTempDir dir;
    TEnvironment path("PATH", std::string(TUNESTEAD_HELPER_DIR));
    const auto record = LaunchAndRecord(dir, "fake_player", "/a b.mp3");
    ASSERT_TRUE(record.has_value());
    EXPECT_TRUE(record->starts_with(Field("arg", "/a b.mp3"))) << *record;
    EXPECT_TRUE(HasNoChildLeft());
}

TEST(Launch, APlayerThatCannotStartIsReportedWithTheSystemsReason) {
    TTempDir dir;
    const auto notExecutable = dir.Write("player.txt", "not a program");
    const struct {
        std::string Player;
        std::string Reason;
    } cases[] = {
        {"", "No such file or directory"},
        {(dir.Path() / "missing").string(), "No such file or directory"},
        {"no-such-player-anywhere", "No such file or directory"},
        {notExecutable.string(), "Permission denied"},
        {dir.Path().string(), "Permission denied"},
    };
    for (const auto& item : cases) {
        const auto result = platform::ShellOpen(nullptr, item.Player, "/a.mp3");
        EXPECT_FALSE(result.Started) << item.Player;
        EXPECT_EQ(result.Reason, item.Reason) << item.Player;
    }
    EXPECT_TRUE(HasNoChildLeft());
}

TEST(Folders, ProgramDirectoryIsTheExecutablesFolderWithADelimiter) {
    const auto directory = platform::ProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '/');
    EXPECT_TRUE(fs::equivalent(directory, TUNESTEAD_HELPER_DIR));
}

TEST(Folders, UserDataDirectoryFollowsXdgDataHomeThenHome) {
    TEnvironment home("HOME", "/home/tester");
    {
        TEnvironment data("XDG_DATA_HOME", "/data/tester");
        EXPECT_EQ(platform::UserDataDirectory(), "/data/tester/mp3tunestead/");
    }
    for (const auto& ignored : {std::optional<std::string>("relative/data"),
                                std::optional<std::string>(""), std::optional<std::string>()}) {
        TEnvironment data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(platform::UserDataDirectory(), "/home/tester/.local/share/mp3tunestead/");
    }
}

#endif
