#include "describing/DescCodePage.h"

#include <gtest/gtest.h>

using namespace Catalogue;

TEST(DescCodePage, EncodesIntoEachCodePage) {
    const struct {
        std::string text;
        TCodePage page;
        std::string bytes;
        int unrepresentable;
    } cases[] = {
        {"Caf\xC3\xA9", TCodePage::Windows1252, "Caf\xE9", 0},
        {"Caf\xC3\xA9", TCodePage::Utf8, "Caf\xC3\xA9", 0},
        {"Caf\xC3\xA9", TCodePage::Latin1, "Caf\xE9", 0},
        {"\xE2\x82\xAC 5", TCodePage::Windows1252, "\x80 5", 0},
        {"\xE2\x82\xAC 5", TCodePage::Latin9, "\xA4 5", 0},
        {"\xE2\x82\xAC 5", TCodePage::Latin1, "? 5", 1},
        {"\xC2\xA4", TCodePage::Latin9, "?", 1},
        {"\xE2\x80\x9Cq\xE2\x80\x9D \xC5\x93", TCodePage::Windows1252, "\x93q\x94 \x9C", 0},
        {"\xE6\x97\xA5\xE6\x9C\xAC", TCodePage::Windows1252, "??", 2},
        {"\xE6\x97\xA5\xE6\x9C\xAC", TCodePage::Utf8, "\xE6\x97\xA5\xE6\x9C\xAC", 0},
        {"\xC2\x81", TCodePage::Windows1252, "?", 1},
        // Bytes that are not UTF-8: a Latin-1 file name, an overlong form, a cut sequence.
        {"Caf\xE9", TCodePage::Windows1252, "Caf?", 1},
        {"\xC0\xAF", TCodePage::Utf8, "??", 2},
        {"a\xE6\x97", TCodePage::Utf8, "a??", 2},
        {"two\r\nlines\x1A", TCodePage::Windows1252, "two  lines ", 0},
    };
    for (const auto& c : cases) {
        const auto encoded = EncodeText(c.text, c.page);
        EXPECT_EQ(encoded.Bytes, c.bytes) << c.text;
        EXPECT_EQ(encoded.Unrepresentable, c.unrepresentable) << c.text;
        EXPECT_EQ(encoded.Page, c.page) << c.text;
    }
}

TEST(DescCodePage, AutoChoosesWindows1252WhenEveryCharacterFits) {
    const struct {
        std::string text;
        TCodePage chosen;
        std::string bytes;
        int unrepresentable;
    } cases[] = {
        {"plain", TCodePage::Windows1252, "plain", 0},
        {"Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D", TCodePage::Windows1252,
         "Caf\xE9 \x80 \x93q\x94", 0},
        // One character beyond Windows-1252 makes the whole text UTF-8.
        {"Caf\xC3\xA9 \xE6\x97\xA5", TCodePage::Utf8, "Caf\xC3\xA9 \xE6\x97\xA5", 0},
        {"\xCE\x95\xCE\xBB", TCodePage::Utf8, "\xCE\x95\xCE\xBB", 0},
        {"\xC2\x81", TCodePage::Utf8, "\xC2\x81", 0},
        // Control characters and bytes that are not UTF-8 decide nothing.
        {"a\tb", TCodePage::Windows1252, "a b", 0},
        {"Caf\xE9 \xC3\xA9", TCodePage::Windows1252, "Caf? \xE9", 1},
        {"Caf\xE9 \xE6\x97\xA5", TCodePage::Utf8, "Caf? \xE6\x97\xA5", 1},
    };
    for (const auto& c : cases) {
        const auto encoded = EncodeText(c.text, TCodePage::Auto);
        EXPECT_EQ(encoded.Page, c.chosen) << c.text;
        EXPECT_EQ(encoded.Bytes, c.bytes) << c.text;
        EXPECT_EQ(encoded.Unrepresentable, c.unrepresentable) << c.text;
    }
}

TEST(DescCodePage, NamesOfCodePages) {
    EXPECT_EQ(CodePageByName("windows-1252"), TCodePage::Windows1252);
    EXPECT_EQ(CodePageByName("CP1252"), TCodePage::Windows1252);
    EXPECT_EQ(CodePageByName("ISO_8859-15"), TCodePage::Latin9);
    EXPECT_EQ(CodePageByName("utf8"), TCodePage::Utf8);
    EXPECT_EQ(CodePageByName("latin1"), TCodePage::Latin1);
    EXPECT_EQ(CodePageByName("Auto"), TCodePage::Auto);
    EXPECT_FALSE(CodePageByName("koi8-r"));
    for (const auto page : {TCodePage::Windows1252, TCodePage::Latin1, TCodePage::Latin9,
                            TCodePage::Utf8, TCodePage::Auto})
        EXPECT_EQ(CodePageByName(CodePageName(page)), page);
}
