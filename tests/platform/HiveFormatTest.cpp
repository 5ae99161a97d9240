#ifndef _WIN32
#include "platform/posix/HiveFormat.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform::hive;

namespace {

constexpr const char* Root = "HKEY_CURRENT_USER";

TKey ParseOrFail(const std::string& text) {
    std::string error;
    auto hive = ParseHive(text, Root, error);
    EXPECT_TRUE(hive.has_value()) << error << "\n" << text;
    return hive ? *hive : TKey{};
}

void ExpectSameKeys(const TKey& expected, const TKey& actual, const std::string& where) {
    ASSERT_EQ(expected.Name, actual.Name) << where;
    ASSERT_EQ(expected.Values.size(), actual.Values.size()) << where;
    for (std::size_t i = 0; i < expected.Values.size(); ++i) {
        const auto& a = expected.Values[i];
        const auto& b = actual.Values[i];
        EXPECT_EQ(a.Name, b.Name) << where;
        EXPECT_EQ(a.Type, b.Type) << where << " " << a.Name;
        EXPECT_EQ(a.Data, b.Data) << where << " " << a.Name;
    }
    ASSERT_EQ(expected.SubKeys.size(), actual.SubKeys.size()) << where;
    for (std::size_t i = 0; i < expected.SubKeys.size(); ++i)
        ExpectSameKeys(expected.SubKeys[i], actual.SubKeys[i],
                       where + "\\" + expected.SubKeys[i].Name);
}

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}

} // namespace

TEST(HiveFormat, WritesTheRegedit4TextOfEveryKind) {
    TKey root;
    bool created = false;
    TKey& software = root.SubKey("SOFTWARE", created);
    TKey& app = software.SubKey("Quorlen", created).SubKey("MP3 Discovane", created);
    app.Values = {{"PlayerName", REG_SZ, "C:\\Program Files\\\"Player\".exe"},
                  {"TopPosition", REG_DWORD, std::string("\x4f\0\0\0", 4)},
                  {"", REG_SZ, "default"},
                  {"Empty", REG_SZ, ""},
                  {"Lines", REG_SZ, "a\r\nb"},
                  {"Path", REG_EXPAND_SZ, "%A%"},
                  {"Blob", REG_BINARY, "\x01\xfe"},
                  {"Short", REG_DWORD, "\x01"}};
    EXPECT_EQ(SerialiseHive(root, Root),
              "REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\SOFTWARE]\n"
              "\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\Quorlen]\n"
              "\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\Quorlen\\MP3 Discovane]\n"
              "\"PlayerName\"=\"C:\\\\Program Files\\\\\\\"Player\\\".exe\"\n"
              "\"TopPosition\"=dword:0000004f\n"
              "@=\"default\"\n"
              "\"Empty\"=\"\"\n"
              "\"Lines\"=hex(1):61,0d,0a,62\n"
              "\"Path\"=hex(2):25,41,25\n"
              "\"Blob\"=hex:01,fe\n"
              "\"Short\"=hex(4):01\n"
              "\n");
}

TEST(HiveFormat, RoundTripsEveryByteAndName) {
    TKey root;
    root.Values = {{"", REG_SZ, "on the root"}};
    bool created = false;
    TKey& key = root.SubKey("Odd \"key\" [1]", created);
    key.SubKey("empty child", created).SubKey("grandchild", created);
    const std::string nonAscii = "Caf\xe9 \xc3\xa9t\xe9 \x80\xff";
    key.Values = {
        {"all bytes", REG_SZ, AllBytes()},
        {"nul", REG_SZ, std::string("a\0b", 3)},
        {"cr", REG_SZ, "a\r"},
        {"lf", REG_SZ, "\n"},
        {"tab and ctl", REG_SZ, "a\tb\x01"},
        {"quotes \"and\" \\back\\slashes\\", REG_SZ, "\"\\\"\\\\"},
        {"trailing backslash", REG_SZ, "C:\\"},
        {"empty", REG_SZ, ""},
        {nonAscii, REG_SZ, nonAscii},
        {"blanks", REG_SZ, "  both ends  "},
        {"expand", REG_EXPAND_SZ, "%PATH%"},
        {"empty binary", REG_BINARY, ""},
        {"long binary", REG_BINARY, AllBytes() + AllBytes()},
        {"dword", REG_DWORD, std::string("\xff\xff\xff\x7f", 4)},
        {"none", REG_NONE, ""},
        {"multi", 7, std::string("a\0b\0\0", 5)},
        {"tab\tname", 0x12345678, "x"},
    };
    const std::string text = SerialiseHive(root, Root);
    const TKey parsed = ParseOrFail(text);
    ExpectSameKeys(root, parsed, Root);
    EXPECT_EQ(SerialiseHive(parsed, Root), text);
}

TEST(HiveFormat, ReadsWhatRegeditWrites) {
    const TKey hive = ParseOrFail("REGEDIT4\r\n"
                                  "\r\n"
                                  "; written by hand\r\n"
                                  "[HKEY_CURRENT_USER\\Software\\A]\r\n"
                                  "\"Num\"=dword:4F\r\n"
                                  "\"Bin\"=hex:01,02,\\\r\n"
                                  "  03 , 0A\r\n"
                                  "[hkey_current_user\\SOFTWARE\\a\\B]   \r\n"
                                  "@=\"x\"  \r\n"
                                  "\"Num\"=dword:00000001\r\n"
                                  "\"num\"=dword:00000002\r\n");
    ASSERT_EQ(hive.SubKeys.size(), 1u);
    const TKey* a = FindPath(hive, {"SOFTWARE", "A"});
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->FindValue("NUM")->Data, std::string("\x4f\0\0\0", 4));
    EXPECT_EQ(a->FindValue("Bin")->Data, "\x01\x02\x03\x0a");
    const TKey* b = FindPath(hive, {"software", "a", "b"});
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->FindValue("")->Data, "x");
    ASSERT_EQ(b->Values.size(), 2u);
    EXPECT_EQ(b->FindValue("Num")->Data, std::string("\x02\0\0\0", 4));
}

TEST(HiveFormat, RefusesTextThatIsNotAWholeHive) {
    const char* damaged[] = {
        "",
        "REGEDIT",
        "Windows Registry Editor Version 5.00\n",
        "\x7f"
        "ELF",
        "REGEDIT4\n\"Name\"=\"value before any key\"\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n",
        "REGEDIT4\n[-HKEY_CURRENT_USER\\SOFTWARE]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a\\\\b]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"Name\"=\"cut sho",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"Name\"=\"x\" trailing\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"Name\"=hex:01,0",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"Name\"=hex:01,zz\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"Name\"=dword:123456789\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a]\n\"Name\"=-\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a]\nName=\"x\"\n",
    };
    for (const char* text : damaged) {
        std::string error;
        EXPECT_FALSE(ParseHive(text, Root, error).has_value()) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}
#endif
