// Starting the player for real, with the fake player recording what it received: through
// posix_spawnp on POSIX and ShellExecuteA on Windows.
#include "platform/Launch.h"
#include "platform/Folders.h"

#include "tests/support/Environment.h"
#include "tests/support/PlayerRecord.h"
#include "tests/support/SystemErrors.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

namespace {

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
    return TPlayerRecord::Field(kind, bytes);
}

// Starts the player with the fake player's record going into a fresh channel and returns what
// the fake player wrote there, read until it closed the channel.
std::optional<std::string> LaunchAndRecord(const TTempDir& dir, const std::string& player,
                                           const std::string& parameter) {
    TPlayerRecord record(dir.Path() / "record.fifo", "TUNESTEAD_FAKE_PLAYER_LOG");
    if (!record.Arm() || !platform::ShellOpen(nullptr, player, parameter).Started)
        return std::nullopt;
    return record.Read();
}

// No started program is left as a zombie (POSIX); Windows keeps nothing of an ended process
// for its starter unless it holds a handle, which the start request does not.
bool HasNoChildLeft() {
#ifdef _WIN32
    return true;
#else
    int status = 0;
    return waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD;
#endif
}

} // namespace

TEST(Launch, PassesTheParameterAsOneUnchangedArgumentInTheCurrentDirectory) {
    TTempDir dir;
#ifdef _WIN32
    // Folder names are wide on Windows; narrow ones are only sure in ASCII.
    const auto work = dir.Path() / "work dir";
#else
    const auto work = dir.Path() / "work dir \xc3\xbc";
#endif
    fs::create_directory(work);
    TWorkingDirectory inWork(work);
    const std::string parameters[] = {
        "/mp3/PL_TEMP.M3U",
        "/mp3/My Album/01 song.mp3",
        "C:\\Program Files\\MP3 Tunestead\\PL_TEMP.M3U",
        "C:\\Users\\Ann Lee\\AppData\\Local\\MP3 Tunestead\\PL_TEMP.M3U",
        "C:\\My Music\\",
        "\\\\server\\My Share\\\\",
        "double\"quote 'single' back\\slash",
        "\"quoted whole\"",
        "back\\\"slash before quote",
        "semi;colon && echo hi | cat > out",
        "$(touch PWNED) `touch PWNED2` ${HOME}",
        "tab\there",
        "\xe4\xf6\xfc \xe9",
        "-dash --option",
        "*.mp3 ?",
        "",
#ifndef _WIN32
        // Windows command lines hold neither line breaks nor bytes outside the code page.
        "line one\nline two\r\n",
        "\xff\x80",
#endif
    };
    for (const auto& parameter : parameters) {
        const auto record = LaunchAndRecord(dir, FakePlayerPath(), parameter);
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
    TEnvironment path("PATH", platform::ExecutableDirectory());
    const auto record = LaunchAndRecord(dir, "fake_player", "/a b.mp3");
    ASSERT_TRUE(record.has_value());
    EXPECT_TRUE(record->starts_with(Field("arg", "/a b.mp3"))) << *record;
    EXPECT_TRUE(HasNoChildLeft());
}

TEST(Launch, APlayerThatCannotStartIsReportedWithTheSystemsReason) {
    TTempDir dir;
    struct TCase {
        std::string Player;
        std::string Reason;
    };
#ifdef _WIN32
    // Windows opens a document or a folder with the program registered for it, so only a
    // player that is not there cannot start.
    const TCase cases[] = {
        {"", SystemReason(SystemFileNotFound)},
        {(dir.Path() / "missing.exe").string(), SystemReason(SystemFileNotFound)},
        {"no-such-player-anywhere", SystemReason(SystemFileNotFound)},
    };
#else
    const auto notExecutable = dir.Write("player.txt", "not a program");
    const TCase cases[] = {
        {"", "No such file or directory"},
        {(dir.Path() / "missing").string(), "No such file or directory"},
        {"no-such-player-anywhere", "No such file or directory"},
        {notExecutable.string(), "Permission denied"},
        {dir.Path().string(), "Permission denied"},
    };
#endif
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
    EXPECT_EQ(directory.back(), static_cast<char>(fs::path::preferred_separator));
    EXPECT_TRUE(fs::exists(directory + FakePlayerName));
#ifndef _WIN32
    EXPECT_TRUE(fs::equivalent(directory, TUNESTEAD_HELPER_DIR));
#endif
}

TEST(Folders, UserDataDirectoryIsBelowTheUsersDataFolder) {
#ifdef _WIN32
    {
        TEnvironment data("LOCALAPPDATA", "C:\\Users\\Ann\\AppData\\Local");
        EXPECT_EQ(platform::UserDataDirectory(), "C:\\Users\\Ann\\AppData\\Local\\MP3 Tunestead\\");
    }
    TEnvironment data("LOCALAPPDATA", std::nullopt);
    EXPECT_EQ(platform::UserDataDirectory(), "");
#else
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
#endif
}
