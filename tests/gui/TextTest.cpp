// How the program's bytes are shown: UTF-8 and Windows-1252 description files, and a UTF-8
// character cut short at the end of a description.
#include "toolkit/Text.h"

#include <gtest/gtest.h>

TEST(Text, ShowsUtf8AndWindows1252AndDropsACutCharacter) {
    const struct {
        std::string Bytes;
        std::string Shown;
    } cases[] = {
        {"Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC", "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC"},
        // Windows-1252: euro sign, curly quotes, e acute, a dash.
        {"\x80 \x93Hi\x94 Caf\xE9 \x96",
         "\xE2\x82\xAC \xE2\x80\x9CHi\xE2\x80\x9D Caf\xC3\xA9 \xE2\x80\x93"},
        // Cut in the middle of the last character: two of three bytes, one of two, one of four.
        {"\xE6\x97\xA5\xE6\x9C", "\xE6\x97\xA5"},
        {"Caf\xC3", "Caf"},
        {"x\xF0\x9F", "x"},
        // A cut character after bytes that are not UTF-8 either: the whole text is single-byte.
        {"\xE9t\xE9 \xC3", "\xC3\xA9t\xC3\xA9 \xC3\x83"},
        {"", ""},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(item.Bytes);
        EXPECT_EQ(ToQString(item.Bytes).toStdString(), item.Shown);
    }
}

TEST(Text, ATypedQueryIsAlsoSpelledInTheOtherEncoding) {
#ifdef _WIN32
    // Typed text goes to the ANSI code page; the other spelling is UTF-8.
    EXPECT_EQ(OtherSpelling(QString::fromUtf8("\xC3\x89t\xC3\xA9")), "\xC3\x89t\xC3\xA9");
    EXPECT_EQ(OtherSpelling(QString::fromUtf8("\xE6\x97\xA5")), "\xE6\x97\xA5");
#else
    // Typed text stays UTF-8; the other spelling is Windows-1252, when it can write the text.
    EXPECT_EQ(OtherSpelling(QString::fromUtf8("\xE2\x82\xAC \xC3\x89t\xC3\xA9")), "\x80 \xC9t\xE9");
    EXPECT_EQ(OtherSpelling(QString::fromUtf8("\xE6\x97\xA5")), "");
#endif
    EXPECT_EQ(OtherSpelling(QStringLiteral("plain")), "");
}
