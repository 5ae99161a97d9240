// The settings component on the platform registry: key paths, activation, typed values and
// their failures. Uses only the registry interface, so it runs on either backend.
#include "settings/RegAppC.h"

#include "platform/Errors.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <functional>

using namespace platform;

namespace {

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The type and size of a stored value, or -1 as size when it is absent.
std::pair<DWORD, long> Stored(HKEY root, const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    DWORD type = REG_NONE;
    DWORD size = 0;
    long result = -1;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS)
            result = static_cast<long>(size);
        RegCloseKey(key);
    }
    return {type, result};
}

std::string ErrorOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const ERegistryException& error) {
        return error.what();
    }
    return "no error";
}

class RegApp : public ::testing::Test {
protected:
    RegApp() {
        Settings.SetCompany("Tunestead Tests");
        Settings.SetApplicationName("RegApp");
        Settings.SetVersion("v1");
    }

    static constexpr const char* Path = "SOFTWARE\\Tunestead Tests\\RegApp\\v1";
    TRegistrySandbox Sandbox;
    TRegAppUserConfig Settings{nullptr};
};

} // namespace

TEST(RegAppKeyPath, IsBuiltFromThePathProperties) {
    TRegistrySandbox sandbox;
    TRegApp settings(nullptr);
    EXPECT_FALSE(settings.Active());
    EXPECT_EQ(settings.RootKey(), rhCurrentUser);
    EXPECT_EQ(settings.BuildKeyPath(), "SOFTWARE\\My Company\\My Application\\v1.0a");

    const struct {
        TRegistryHive root;
        const char *company, *application, *version, *relative, *path;
    } cases[] = {
        {rhAllUsers, "", "", "", "", ".DEFAULT\\SOFTWARE\\TESTCOMPANY\\TESTAPPLICATION\\1.0a"},
        {rhMachine, "Quorlen", "MP3 Discovane", "v1.2", "",
         "SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2"},
        {rhCurrentUser, "Q", "A", "v", "Sub\\Deeper", "SOFTWARE\\Q\\A\\v\\Sub\\Deeper"},
        {rhCurrentUser, "Two\\Levels", " A ", "v", "", "SOFTWARE\\Two\\Levels\\ A \\v"},
    };
    for (const auto& c : cases) {
        settings.SetRootKey(c.root);
        settings.SetCompany(c.company);
        settings.SetApplicationName(c.application);
        settings.SetVersion(c.version);
        settings.SetRelativePath(c.relative);
        EXPECT_EQ(settings.BuildKeyPath(), c.path);
    }
    EXPECT_FALSE(settings.Active());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Q")) << "setting properties opened a key";
}

TEST(RegAppKeyPath, ActivationCreatesTheKeyUnderItsRoot) {
    TRegistrySandbox sandbox;
    {
        TRegAppUserConfig settings(nullptr);
        settings.SetActive(true);
        EXPECT_TRUE(settings.Active());
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\My Company\\My Application\\v1.0a"));
    }
    // The other roots are the real ones on Windows, where tests only read them.
#ifndef _WIN32
    TRegApp allUsers(nullptr);
    allUsers.SetRootKey(rhAllUsers);
    allUsers.SetCompany("");
    allUsers.SetApplicationName("");
    allUsers.SetVersion("");
    allUsers.SetActive(true);
    allUsers.WriteInteger("Here", 1);
    EXPECT_TRUE(KeyExists(HKEY_USERS, ".DEFAULT\\SOFTWARE\\TESTCOMPANY\\TESTAPPLICATION\\1.0a"));
    allUsers.SetRootKey(rhMachine);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\TESTCOMPANY\\TESTAPPLICATION\\1.0a"));
#endif
}

TEST_F(RegApp, ChangingAPathPropertyWhileActiveMovesToTheNewKey) {
    Settings.SetActive(true);
    Settings.WriteString("Old", "kept");
    Settings.SetVersion("v2");
    EXPECT_TRUE(Settings.Active());
    Settings.WriteString("New", "here");
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, Path, "Old").second, 4);
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, Path, "New").second, -1);
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, "SOFTWARE\\Tunestead Tests\\RegApp\\v2", "New").second, 4);
}

TEST_F(RegApp, ValuesKeepTheirKindAndBytes) {
    Settings.SetActive(true);
    Settings.WriteBool("True", true);
    Settings.WriteBool("False", false);
    Settings.WriteInteger("Negative", -79);
    Settings.WriteString("Empty", "");
    Settings.WriteString("Text", "C:\\Player\\play.exe");
    EXPECT_EQ(Settings.ReadInteger("True"), 1);
    EXPECT_EQ(Settings.ReadInteger("False"), 0);
    EXPECT_EQ(Settings.ReadInteger("Negative"), -79);
    EXPECT_TRUE(Settings.ReadBool("Negative"));
    EXPECT_FALSE(Settings.ReadBool("False"));
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, Path, "True"), std::make_pair(REG_DWORD, 4L));
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, Path, "Empty"), std::make_pair(REG_SZ, 0L));
    EXPECT_TRUE(Settings.ValueExists("Empty"));
    EXPECT_EQ(Settings.ReadString("Empty"), "");
    EXPECT_EQ(Settings.ReadString("Text"), "C:\\Player\\play.exe");
    EXPECT_EQ(Settings.ReadString("Absent"), "");
    EXPECT_FALSE(Settings.ValueExists("Absent"));
    Settings.DeleteValue("Text");
    EXPECT_FALSE(Settings.ValueExists("Text"));
    EXPECT_NO_THROW(Settings.DeleteValue("Text"));
}

TEST_F(RegApp, ReadsOfTheWrongKindFailWithTheirMessages) {
    Settings.WriteString("Four", "1234");
    Settings.WriteString("Five", "12345");
    Settings.WriteInteger("Number", 7);
    const struct {
        std::function<void()> read;
        const char* message;
    } cases[] = {
        {[&] { Settings.ReadInteger("Four"); }, "Invalid data type for 'Four'"},
        {[&] { Settings.ReadInteger("Five"); }, "Failed to get data for 'Five'"},
        {[&] { Settings.ReadBool("Absent"); }, "Failed to get data for 'Absent'"},
        {[&] { Settings.ReadString("Number"); }, "Invalid data type for 'Number'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.read), c.message);
        EXPECT_FALSE(Settings.Active()) << c.message;
    }
}

TEST_F(RegApp, AnInactiveComponentOpensTheKeyForOneOperation) {
    Settings.WriteString("Name", "value");
    EXPECT_FALSE(Settings.Active());
    EXPECT_EQ(Settings.ReadString("Name"), "value");
    EXPECT_TRUE(Settings.ValueExists("Name"));
    EXPECT_FALSE(Settings.Active());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Path));
}

TEST_F(RegApp, TwoComponentsOnOneKeyKeepEachOthersValues) {
    TRegAppUserConfig other(nullptr);
    other.SetCompany("Tunestead Tests");
    other.SetApplicationName("RegApp");
    other.SetVersion("v1");
    Settings.SetActive(true);
    other.SetActive(true);
    Settings.WriteInteger("TopPosition", 10);
    other.WriteInteger("LeftPosition", 20);
    Settings.WriteString("PlayerName", "p");
    EXPECT_EQ(other.ReadInteger("TopPosition"), 10);
    EXPECT_EQ(Settings.ReadInteger("LeftPosition"), 20);
    EXPECT_EQ(other.ReadString("PlayerName"), "p");
}

TEST_F(RegApp, IsDestroyedWithItsOwner) {
    auto* owner = new TComponent(nullptr);
    auto* owned = new TRegAppUserConfig(owner);
    owned->SetActive(true);
    owned->WriteBool("Owned", true);
    delete owner;
    EXPECT_EQ(Stored(HKEY_CURRENT_USER, "SOFTWARE\\My Company\\My Application\\v1.0a", "Owned"),
              std::make_pair(REG_DWORD, 4L));
}

// Settings that cannot be stored: the hives' folder is taken by a plain file.
TEST_F(RegApp, FailuresToStoreAreReported) {
#ifdef _WIN32
    GTEST_SKIP() << "makes the settings unwritable through the POSIX hives' folder; the "
                    "Windows registry below HKEY_CURRENT_USER cannot be made so without "
                    "changing its permissions";
#endif
    Sandbox.Write("mp3tunestead", "a file where the folder belongs");
    EXPECT_EQ(ErrorOf([&] { Settings.SetActive(true); }),
              "Failed to create key SOFTWARE\\Tunestead Tests\\RegApp\\v1");
    EXPECT_FALSE(Settings.Active());
    EXPECT_EQ(ErrorOf([&] { Settings.WriteString("PlayerName", "p"); }),
              "Failed to create key SOFTWARE\\Tunestead Tests\\RegApp\\v1");
}

TEST_F(RegApp, AFailedWriteIsReportedAndTheKeyStaysOpen) {
#ifdef _WIN32
    GTEST_SKIP() << "makes the settings unwritable through the POSIX hives' folder; the "
                    "Windows registry below HKEY_CURRENT_USER cannot be made so without "
                    "changing its permissions";
#endif
    Settings.SetActive(true);
    std::filesystem::rename(Sandbox.Folder(), Sandbox.ConfigHome() / "moved");
    Sandbox.Write("mp3tunestead", "a file where the folder belongs");
    EXPECT_EQ(ErrorOf([&] { Settings.WriteBool("SortAlbums", true); }),
              "Failed to set data for 'SortAlbums'");
    EXPECT_EQ(ErrorOf([&] { Settings.WriteString("PlayerName", ""); }),
              "Failed to set data for 'PlayerName'");
    EXPECT_TRUE(Settings.Active());
}

// A property set to the value it holds reopens nothing: a key removed behind the component's
// back is not created again.
TEST_F(RegApp, SettingAPropertyToItsValueReopensNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "removes the key behind the component's back by emptying the POSIX hive "
                    "file; the registry interface has no call that deletes a key";
#endif
    Settings.SetActive(true);
    Sandbox.Write("mp3tunestead/HKEY_CURRENT_USER.reg", "REGEDIT4\n");
    Settings.SetVersion("v1");
    Settings.SetRootKey(rhCurrentUser);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Path));
    Settings.SetRelativePath("Sub");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(Path) + "\\Sub"));
}
