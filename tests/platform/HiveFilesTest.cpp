// Hive files as users and other programs leave them: kept as symbolic links by a dotfile
// manager, made read-only, or changed by another process.
#ifndef _WIN32
#include "platform/Registry.h"
#include "platform/posix/HiveStore.h"
#include "tests/helpers/HiveWriterValues.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

using namespace platform;
namespace fs = std::filesystem;

namespace {

class HiveFiles : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(Sandbox.Folder()); }

    static LONG SetText(const char* subKey, const char* name, const std::string& data) {
        HKEY key = nullptr;
        LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &key, nullptr);
        if (result != ERROR_SUCCESS)
            return result;
        result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                                static_cast<DWORD>(data.size()));
        RegCloseKey(key);
        return result;
    }

    static std::string GetText(const char* subKey, const char* name) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "<no key>";
        DWORD size = 0;
        std::string data;
        LONG result = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
        if (result == ERROR_SUCCESS) {
            data.resize(size);
            result = RegQueryValueExA(key, name, nullptr, nullptr,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
        }
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? data.substr(0, size) : "<no value>";
    }

    // Runs the hive_writer helper to its end: another process that writes count values.
    void RunHiveWriter(const std::string& prefix, int count) {
        const std::string program = std::string(TUNESTEAD_HELPER_DIR) + "/hive_writer";
        const std::string folder = Sandbox.Folder().string();
        const std::string number = std::to_string(count);
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(folder.c_str()),
                        const_cast<char*>(prefix.c_str()), const_cast<char*>(number.c_str()),
                        nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(spawned, 0) << program;
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }

    static std::vector<std::string> Temporaries(const fs::path& folder) {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().find(".tmp-") != std::string::npos)
                found.push_back(entry.path().filename().string());
        return found;
    }

    static unsigned Mode(const fs::path& file) {
        struct stat info {};
        stat(file.c_str(), &info);
        return info.st_mode & 07777;
    }

    TRegistrySandbox Sandbox;
};

} // namespace

TEST_F(HiveFiles, AHiveThatIsALinkStaysALinkAndItsTargetIsReplaced) {
    for (const bool relative : {false, true}) {
        SCOPED_TRACE(relative ? "relative link" : "absolute link");
        TTempDir dotfiles;
        const fs::path target = dotfiles.Write("tunestead/user.reg", "REGEDIT4\n\n");
        const fs::path hive = Sandbox.HiveFile("HKEY_CURRENT_USER");
        fs::remove(hive);
        const fs::path linkText = relative ? fs::relative(target, hive.parent_path()) : target;
        ASSERT_EQ(linkText.is_relative(), relative);
        fs::create_symlink(linkText, hive);

        ASSERT_EQ(SetText("SOFTWARE\\Linked", "Player", "mpv"), ERROR_SUCCESS);
        ASSERT_EQ(SetText("SOFTWARE\\Linked", "Base", "/music"), ERROR_SUCCESS);

        EXPECT_TRUE(fs::is_symlink(hive));
        EXPECT_EQ(fs::read_symlink(hive), linkText);
        const std::string stored = TTempDir::Read(target);
        EXPECT_NE(stored.find("\"Player\"=\"mpv\""), std::string::npos) << stored;
        EXPECT_NE(stored.find("\"Base\"=\"/music\""), std::string::npos) << stored;
        EXPECT_EQ(GetText("SOFTWARE\\Linked", "Player"), "mpv");
        EXPECT_TRUE(Temporaries(Sandbox.Folder()).empty());
        EXPECT_TRUE(Temporaries(target.parent_path()).empty());
    }
}

// The mode bits decide, not access(): the tests run as root too, whom access() lets write
// everything.
TEST_F(HiveFiles, AHiveMadeReadOnlyIsNotWritten) {
    const fs::path hive = Sandbox.HiveFile("HKEY_CURRENT_USER");
    ASSERT_EQ(SetText("SOFTWARE\\Kept", "Player", "mpv"), ERROR_SUCCESS);
    for (const unsigned mode : {0444u, 0464u, 0400u}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(chmod(hive.c_str(), mode), 0);
        const std::string before = TTempDir::Read(hive);

        EXPECT_EQ(SetText("SOFTWARE\\Kept", "Player", "vlc"), ERROR_ACCESS_DENIED);
        EXPECT_EQ(SetText("SOFTWARE\\New", "Player", "vlc"), ERROR_ACCESS_DENIED);
        EXPECT_EQ(TTempDir::Read(hive), before);
        EXPECT_EQ(Mode(hive), mode);
        EXPECT_EQ(GetText("SOFTWARE\\Kept", "Player"), "mpv");
        // Storing what is stored already writes nothing, and so succeeds.
        EXPECT_EQ(SetText("SOFTWARE\\Kept", "Player", "mpv"), ERROR_SUCCESS);
        EXPECT_TRUE(Temporaries(Sandbox.Folder()).empty());
    }

    // The target of a link is protected the same way.
    TTempDir dotfiles;
    const fs::path target = dotfiles.Write("user.reg", TTempDir::Read(hive));
    ASSERT_EQ(chmod(target.c_str(), 0444), 0);
    fs::remove(hive);
    fs::create_symlink(target, hive);
    EXPECT_EQ(SetText("SOFTWARE\\Kept", "Player", "vlc"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Mode(target), 0444u);

    // Once the user allows it again, the hive is written.
    ASSERT_EQ(chmod(target.c_str(), 0644), 0);
    EXPECT_EQ(SetText("SOFTWARE\\Kept", "Player", "vlc"), ERROR_SUCCESS);
    EXPECT_EQ(GetText("SOFTWARE\\Kept", "Player"), "vlc");
}

TEST_F(HiveFiles, AnUnchangedHiveIsNotParsedAgainButEveryChangeOnDiskIsSeen) {
    const fs::path hive = Sandbox.HiveFile("HKEY_CURRENT_USER");
    ASSERT_EQ(SetText("SOFTWARE\\Cache", "Big", std::string(1 << 20, 'b')), ERROR_SUCCESS);
    const std::size_t parses = hive::HiveParsesForTesting();
    for (const std::string player : {"mpv", "vlc", "mplayer"}) {
        ASSERT_EQ(SetText("SOFTWARE\\Cache", "Player", player), ERROR_SUCCESS);
        EXPECT_EQ(GetText("SOFTWARE\\Cache", "Player"), player);
    }
    EXPECT_EQ(hive::HiveParsesForTesting(), parses);

    // Another process replaces the file with one of its own.
    RunHiveWriter("w", 3);
    EXPECT_EQ(GetText(HiveWriterKey, "w2"), HiveWriterData(2));
    EXPECT_EQ(GetText("SOFTWARE\\Cache", "Player"), "mplayer");
    EXPECT_GT(hive::HiveParsesForTesting(), parses);

    // Edits in place that keep the file, its size and its time to the second: one a
    // nanosecond later, one within the same tick of the clock, so its time is unchanged.
    const struct {
        const char* Before;
        const char* After;
        long Nanoseconds;
    } edits[] = {{"\"mplayer\"", "\"xplayer\"", 1}, {"\"xplayer\"", "\"yplayer\"", 0}};
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.After);
        struct stat before {};
        ASSERT_EQ(stat(hive.c_str(), &before), 0);
        std::string text = TTempDir::Read(hive);
        const auto at = text.find(edit.Before);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 9, edit.After);
        Sandbox.Write("mp3tunestead/HKEY_CURRENT_USER.reg", text);
        timespec times[2] = {before.st_atim, before.st_mtim};
        times[1].tv_nsec = (before.st_mtim.tv_nsec + edit.Nanoseconds) % 1000000000;
        ASSERT_EQ(utimensat(AT_FDCWD, hive.c_str(), times, 0), 0);
        struct stat after {};
        ASSERT_EQ(stat(hive.c_str(), &after), 0);
        ASSERT_EQ(after.st_ino, before.st_ino);
        ASSERT_EQ(after.st_size, before.st_size);
        ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        ASSERT_EQ(after.st_mtim.tv_nsec == before.st_mtim.tv_nsec, edit.Nanoseconds == 0);
        EXPECT_EQ(GetText("SOFTWARE\\Cache", "Player"), std::string(edit.After, 1, 7));
    }
}
#endif
