// The registry calls on either backend: results, sizes and types as on Windows. On POSIX the
// tests also look into the hive files; on Windows they run on the real registry in a sandbox.
#include "platform/Registry.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace platform;

namespace {

class RegistryApi : public ::testing::Test {
protected:
    HKEY Create(HKEY parent, const char* path, REGSAM access = KEY_ALL_ACCESS,
                DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                  nullptr, &key, disposition),
                  ERROR_SUCCESS)
            << path;
        return key;
    }

    static LONG Set(HKEY key, const char* name, DWORD type, const std::string& data) {
        return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                              static_cast<DWORD>(data.size()));
    }

    // The value's type and bytes, read with a buffer of exactly the reported size, which must
    // be the size that was stored.
    static std::string Get(HKEY key, const char* name, DWORD* type = nullptr) {
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExA(key, name, nullptr, type, nullptr, &size), ERROR_SUCCESS);
        std::string data(size, '\0');
        EXPECT_EQ(
            RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size),
            ERROR_SUCCESS);
        EXPECT_EQ(size, data.size());
        return data;
    }

    TRegistrySandbox Sandbox;
};

} // namespace

TEST_F(RegistryApi, KeepsTextsAndNumbersByteForByte) {
    const HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Values");
    // Each text is followed by a zero byte in memory (std::string keeps one there), which must
    // not be stored with it.
    const std::string texts[] = {"",
                                 "1234",
                                 "C:\\Player\\\"play\".exe",
                                 std::string("a\0b\r\n", 5),
                                 "Caf\xe9 \x80\xff",
                                 std::string(5000, 'x')};
    for (const auto& text : texts) {
        ASSERT_EQ(Set(key, "Text", REG_SZ, text), ERROR_SUCCESS);
        DWORD type = REG_NONE;
        EXPECT_EQ(Get(key, "Text", &type), text);
        EXPECT_EQ(type, REG_SZ);
    }
    const DWORD number = 0x0000004f;
    ASSERT_EQ(
        RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
        ERROR_SUCCESS);
    EXPECT_EQ(Get(key, "Number"), std::string("\x4f\0\0\0", 4));
#ifndef _WIN32
    EXPECT_NE(
        TTempDir::Read(Sandbox.HiveFile("HKEY_CURRENT_USER")).find("\"Number\"=dword:0000004f"),
        std::string::npos);
#endif
    RegCloseKey(key);
}

TEST_F(RegistryApi, QueriesFollowTheWindowsSizeRules) {
    const HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Sizes");
    ASSERT_EQ(Set(key, "Name", REG_EXPAND_SZ, "12345"), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, "Empty", REG_SZ, ""), ERROR_SUCCESS);

    DWORD type = REG_NONE;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(size, 5u);

    BYTE small[4] = {};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 5u);

    BYTE big[16] = {};
    size = sizeof big;
    EXPECT_EQ(RegQueryValueExA(key, "NAME", nullptr, nullptr, big, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::memcmp(big, "12345", 5), 0);

    size = 99;
    EXPECT_EQ(RegQueryValueExA(key, "Empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(RegQueryValueExA(key, "Empty", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);

    EXPECT_EQ(RegQueryValueExA(key, "Absent", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, big, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryApi, DeletingAValueRemovesItAndAnAbsentOneIsHarmless) {
    const HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Delete");
    ASSERT_EQ(Set(key, "Gone", REG_SZ, "x"), ERROR_SUCCESS);
    ASSERT_EQ(Set(key, "", REG_SZ, "default"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key, "GONE"), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "Gone", nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
#ifndef _WIN32
    const auto before = TTempDir::Read(Sandbox.HiveFile("HKEY_CURRENT_USER"));
#endif
    EXPECT_EQ(RegDeleteValueA(key, "Gone"), ERROR_FILE_NOT_FOUND);
#ifndef _WIN32
    EXPECT_EQ(TTempDir::Read(Sandbox.HiveFile("HKEY_CURRENT_USER")), before);
#endif
    EXPECT_EQ(Get(key, ""), "default");
    RegCloseKey(key);
}

TEST_F(RegistryApi, KeysNestAtBackslashesAndCompareWithoutCase) {
    DWORD disposition = 0;
    HKEY deep = Create(HKEY_CURRENT_USER, "SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2", KEY_ALL_ACCESS,
                       &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(Set(deep, "PlayerName", REG_SZ, "p"), ERROR_SUCCESS);
    RegCloseKey(deep);

    HKEY again = Create(HKEY_CURRENT_USER, "software\\QUORLEN\\mp3 discovane\\V1.2\\",
                        KEY_ALL_ACCESS, &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(Get(again, "playername"), "p");

    HKEY middle = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quorlen", 0, KEY_READ, &middle),
              ERROR_SUCCESS);
    HKEY child = nullptr;
    ASSERT_EQ(RegOpenKeyExA(middle, "MP3 Discovane\\v1.2", 0, KEY_READ, &child), ERROR_SUCCESS);
    EXPECT_EQ(Get(child, "PlayerName"), "p");
#ifndef _WIN32
    const auto text = TTempDir::Read(Sandbox.HiveFile("HKEY_CURRENT_USER"));
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2]\n"),
              std::string::npos);
    EXPECT_EQ(text.find("software"), std::string::npos);
#endif
    for (HKEY key : {again, middle, child})
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryApi, OpeningFailsAsOnWindows) {
    HKEY key = reinterpret_cast<HKEY>(this);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "MP3_auto_file\\shell\\open\\command", 0,
                            KEY_ALL_ACCESS, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
#ifndef _WIN32
    EXPECT_FALSE(std::filesystem::exists(Sandbox.Folder())) << "a failed open wrote nothing";
#endif

    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "\\SOFTWARE", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    // An empty name between two backslashes and a missing result pointer are refused by the
    // hives; on Windows the system's registry decides (Wine creates the key for the first and
    // writes through the null pointer for the second).
#ifndef _WIN32
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "a\\\\b", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "a", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
#endif
}

TEST_F(RegistryApi, TheDefaultUserProfileIsAlwaysThere) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_USERS, ".DEFAULT", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    // On Windows the profile is the real one, which tests only read.
#ifndef _WIN32
    key = Create(HKEY_USERS, ".default\\SOFTWARE\\X");
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExA(HKEY_USERS, ".DEFAULT\\SOFTWARE\\X", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_NE(TTempDir::Read(Sandbox.HiveFile("HKEY_USERS")).find("[HKEY_USERS\\.DEFAULT]"),
              std::string::npos);
#endif
}

TEST_F(RegistryApi, AClosedHandleIsInvalidAndAReadHandleCannotWrite) {
    const HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Handles");
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Set(key, "x", REG_SZ, "y"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(key, "x", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegDeleteValueA(nullptr, "x"), ERROR_INVALID_HANDLE);

    HKEY reader = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Handles", 0, KEY_READ, &reader),
              ERROR_SUCCESS);
    EXPECT_EQ(Set(reader, "x", REG_SZ, "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueA(reader, "x"), ERROR_ACCESS_DENIED);
    // Windows refuses a child of a handle without KEY_CREATE_SUB_KEY too, but Wine creates it.
#ifndef _WIN32
    HKEY child = nullptr;
    EXPECT_EQ(
        RegCreateKeyExA(reader, "New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
        ERROR_ACCESS_DENIED);
#endif
    RegCloseKey(reader);
}

TEST_F(RegistryApi, TwoHandlesOnOneKeyKeepEachOthersValues) {
    const HKEY first = Create(HKEY_CURRENT_USER, "SOFTWARE\\Shared");
    const HKEY second = Create(HKEY_CURRENT_USER, "SOFTWARE\\SHARED");
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(Set(first, ("A" + std::to_string(i)).c_str(), REG_SZ, "first"), ERROR_SUCCESS);
        ASSERT_EQ(Set(second, ("B" + std::to_string(i)).c_str(), REG_SZ, "second"), ERROR_SUCCESS);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Get(second, ("A" + std::to_string(i)).c_str()), "first");
        EXPECT_EQ(Get(first, ("B" + std::to_string(i)).c_str()), "second");
    }
    RegCloseKey(first);
    RegCloseKey(second);
}

TEST_F(RegistryApi, FollowsTheConfigurationFolderOfTheMoment) {
#ifdef _WIN32
    GTEST_SKIP() << "the Windows registry is kept by the system, not in a folder of the program";
#endif
    TTempDir other;
    const HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Here");
    ASSERT_EQ(Set(key, "x", REG_SZ, "1"), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(std::filesystem::exists(Sandbox.HiveFile("HKEY_CURRENT_USER")));

    SetRegistryFolderForTesting(other.Path());
    HKEY missing = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Here", 0, KEY_READ, &missing),
              ERROR_FILE_NOT_FOUND);
    SetRegistryFolderForTesting({});
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Here", 0, KEY_READ, &missing),
              ERROR_SUCCESS);
    RegCloseKey(missing);
}

// What a test writes below HKEY_CURRENT_USER is gone with its sandbox and never reaches the
// user's own settings.
TEST(RegistrySandbox, KeepsWritesAwayFromTheUsersSettings) {
    const std::string path =
        "SOFTWARE\\Tunestead Tests\\Sandbox " + std::to_string(std::random_device()());
    std::string sandboxKey;
    {
        TRegistrySandbox sandbox;
        sandboxKey = sandbox.KeyPath();
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const char data[] = "x";
        EXPECT_EQ(RegSetValueExA(key, "Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), 1),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
#ifdef _WIN32
    ASSERT_FALSE(sandboxKey.empty());
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, sandboxKey.c_str(), 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
#endif
}
