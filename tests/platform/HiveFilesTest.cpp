// Hive files as users and their tools arrange them: kept as symbolic links by a dotfile
// manager, or made read-only.
#ifndef _WIN32
#include "platform/Registry.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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
        std::string data(64, '\0');
        DWORD size = static_cast<DWORD>(data.size());
        const LONG result = RegQueryValueExA(key, name, nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(data.data()), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? data.substr(0, size) : "<no value>";
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
#endif
