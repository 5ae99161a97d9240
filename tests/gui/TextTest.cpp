// How the program's bytes are shown: UTF-8 and Windows-1252 texts, every byte of a text that
// is not UTF-8 throughout a letter of its own.
#include "toolkit/Text.h"

#include <gtest/gtest.h>

TEST(Text, ShowsUtf8AndWindows1252Whole) {
    const struct {
        std::string Bytes;
        std::string Shown;
    } cases[] = {
        {"Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC", "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC"},
        // Windows-1252: euro sign, curly quotes, e acute, a dash.
        {"\x80 \x93Hi\x94 Caf\xE9 \x96",
         "\xE2\x82\xAC \xE2\x80\x9CHi\xE2\x80\x9D Caf\xC3\xA9 \xE2\x80\x93"},
        // A last letter that is also a UTF-8 lead byte is a letter all the same.
        {"Caf\xE9", "Caf\xC3\xA9"},
        {"Zo\xEB", "Zo\xC3\xAB"},
        {"Citt\xE0", "Citt\xC3\xA0"},
        {"Adi\xF3", "Adi\xC3\xB3"},
        {"/musique/Caf\xE9", "/musique/Caf\xC3\xA9"},
        // Bytes that end like a cut UTF-8 character are single-byte letters here: only the
        // description reader, which knows where column 50 is, leaves a cut character out.
        {"Caf\xC3", "Caf\xC3\x83"},
        {"\xE6\x97\xA5\xE6\x9C", "\xC3\xA6\xE2\x80\x94\xC2\xA5\xC3\xA6\xC5\x93"},
        {"x\xF0\x9F", "x\xC3\xB0\xC5\xB8"},
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
