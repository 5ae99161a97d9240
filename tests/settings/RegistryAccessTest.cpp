// The registry accessor and its INI-style reader on the platform registry.
#include "settings/Registry.h"

#include "platform/Errors.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr const char* Base = "SOFTWARE\\Tunestead Tests\\Access";

class RegistryAccess : public ::testing::Test {
protected:
    TRegistrySandbox Sandbox;
    TRegistry Registry;
};

} // namespace

TEST_F(RegistryAccess, OpensKeysFromTheOpenKeyOrFromTheRoot) {
    EXPECT_EQ(Registry.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(Registry.CurrentKey(), nullptr);
    ASSERT_TRUE(Registry.OpenKey(Base, true));
    EXPECT_EQ(Registry.CurrentPath(), Base);
    ASSERT_TRUE(Registry.OpenKey("Child\\Grandchild", true));
    EXPECT_EQ(Registry.CurrentPath(), std::string(Base) + "\\Child\\Grandchild");
    const HKEY grandchild = Registry.CurrentKey();

    // A missing key leaves the open one as it was.
    EXPECT_FALSE(Registry.OpenKey("Missing", false));
    EXPECT_EQ(Registry.CurrentKey(), grandchild);

    ASSERT_TRUE(Registry.OpenKey("\\SOFTWARE", false));
    EXPECT_EQ(Registry.CurrentPath(), "SOFTWARE");
    EXPECT_EQ(RegCloseKey(grandchild), ERROR_INVALID_HANDLE) << "the replaced key was closed";

    Registry.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_EQ(Registry.CurrentPath(), "SOFTWARE");
    Registry.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Registry.CurrentKey(), nullptr);
    EXPECT_EQ(Registry.CurrentPath(), "");
    EXPECT_FALSE(Registry.OpenKey(Base, false)) << "looked in HKEY_CURRENT_USER";
}

TEST_F(RegistryAccess, CreateKeyLeavesNoKeyOpen) {
    Registry.CreateKey(Base);
    EXPECT_EQ(Registry.CurrentKey(), nullptr);
    EXPECT_TRUE(Registry.OpenKey(Base, false));
    EXPECT_EQ(Registry.GetDataSize("Absent"), -1);
    Registry.WriteString("Text", "abc");
    EXPECT_EQ(Registry.GetDataSize("Text"), 3);
    EXPECT_TRUE(Registry.DeleteValue("Text"));
    EXPECT_FALSE(Registry.DeleteValue("Text"));
}

TEST_F(RegistryAccess, WithoutAnOpenKeyValuesAreAbsentAndWritesFail) {
    EXPECT_FALSE(Registry.ValueExists("x"));
    EXPECT_EQ(Registry.ReadString("x"), "");
    EXPECT_FALSE(Registry.DeleteValue("x"));
    EXPECT_THROW(Registry.ReadInteger("x"), ERegistryException);
    EXPECT_THROW(Registry.WriteInteger("x", 1), ERegistryException);
}

#ifndef _WIN32
TEST_F(RegistryAccess, AReadOnlySettingsFileFailsWritesWithTheRegistryError) {
    ASSERT_TRUE(Registry.OpenKey(Base, true));
    Registry.WriteString("Player", "mpv");
    std::filesystem::permissions(Sandbox.HiveFile("HKEY_CURRENT_USER"),
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::group_read |
                                     std::filesystem::perms::others_read);
    try {
        Registry.WriteString("Player", "vlc");
        ADD_FAILURE() << "the write succeeded";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Player'");
    }
    EXPECT_EQ(Registry.ReadString("Player"), "mpv");
}
#endif

TEST_F(RegistryAccess, ReadStringStopsAtTheFirstZeroByte) {
    ASSERT_TRUE(Registry.OpenKey(Base, true));
    const char data[] = "before\0after";
    ASSERT_EQ(RegSetValueExA(Registry.CurrentKey(), "Zero", 0, REG_EXPAND_SZ,
                             reinterpret_cast<const BYTE*>(data), sizeof data - 1),
              ERROR_SUCCESS);
    EXPECT_EQ(Registry.ReadString("Zero"), "before");
    const BYTE bytes[] = {1, 2};
    ASSERT_EQ(RegSetValueExA(Registry.CurrentKey(), "Binary", 0, REG_BINARY, bytes, 2),
              ERROR_SUCCESS);
    EXPECT_THROW(Registry.ReadString("Binary"), ERegistryException);
    ASSERT_EQ(RegSetValueExA(Registry.CurrentKey(), "Nothing", 0, REG_BINARY, nullptr, 0),
              ERROR_SUCCESS);
    EXPECT_EQ(Registry.ReadString("Nothing"), "");
}

TEST_F(RegistryAccess, IniFileReadsEntriesOfSections) {
    ASSERT_TRUE(Registry.OpenKey(std::string(Base) + "\\Section", true));
    Registry.WriteString("Text", "value");
    Registry.WriteString("Empty", "");
    Registry.WriteInteger("Number", 1);
    Registry.CloseKey();

    TRegIniFile ini(Base);
    EXPECT_EQ(ini.CurrentPath(), Base);
    EXPECT_EQ(ini.ReadString("Section", "Text", "Failure"), "value");
    EXPECT_EQ(ini.ReadString("section", "EMPTY", "Failure"), "");
    EXPECT_EQ(ini.ReadString("Section", "Absent", "Failure"), "Failure");
    EXPECT_EQ(ini.ReadString("Missing", "Text", "Failure"), "Failure");
    try {
        ini.ReadString("Section", "Number", "Failure");
        ADD_FAILURE() << "a number read as text";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'Number'");
    }
    EXPECT_EQ(ini.CurrentPath(), Base) << "the section replaced the open key";
}
