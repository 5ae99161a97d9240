// UTF-8 in description files: well-formed text, and a character that the end of a field cuts
// short, as against the last letter of a single-byte code page.
#include "catalogue/Utf8.h"
#include "catalogue/DescLine.h"

#include <gtest/gtest.h>

using namespace Catalogue;

TEST(Utf8, WellFormedTextAndCutCharacters) {
    const struct {
        std::string text;
        bool utf8;
        // Where a character cut short by the end starts (the size when none is).
        std::size_t cutStart;
    } cases[] = {
        {"", true, 0},
        {"Caf\xC3\xA9", true, 5},
        {"\xE6\x97\xA5\xF0\x9F\x8E\xB5", true, 7},
        // One of two bytes, two of three, three of four, one of four.
        {"Caf\xC3", false, 3},
        {"\xE6\x97\xA5\xE6\x9C", false, 3},
        {"x\xF0\x9F\x8E", false, 1},
        {"x\xF0", false, 1},
        // Leads whose next byte is limited (E0, ED, F0, F4) are cuts when alone.
        {"x\xE0", false, 1},
        {"x\xED", false, 1},
        {"x\xF4", false, 1},
        // Windows-1252 letters that no further byte makes a character: bytes C0 and C1 lead
        // only overlong forms, F5 to FF lead none.
        {"Caf\xC0", false, 4},
        {"Caf\xC1", false, 4},
        {"\xF5", false, 1},
        {"\xFF", false, 1},
        // A sequence that can no longer become a character: overlong, surrogate, too high.
        {"x\xE0\x80", false, 3},
        {"x\xED\xA0", false, 3},
        {"x\xF4\x90", false, 3},
        // Continuation bytes without a lead, and a complete character followed by one.
        {"x\x80\x80\x80", false, 4},
        {"\xC3\xA9\x80", false, 3},
        {"\xC0\xAF", false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsUtf8(c.text), c.utf8);
        EXPECT_EQ(CutCharacterStart(c.text), c.cutStart);
    }
}

TEST(Utf8, TheDescriptionFieldDropsOnlyACharacterThatColumn50Cuts) {
    // "X", two blanks, then the field: columns 4 to 50, 47 bytes.
    const std::string ascii46(46, 'a');
    const std::string accented = "\xC3\xA9t\xC3\xA9 " + std::string(39, 'a');
    const struct {
        std::string line;
        std::string description;
    } cases[] = {
        // Not cut: a last letter in Windows-1252 is kept, whatever it looks like in UTF-8.
        {"X  Caf\xE9", "Caf\xE9"},
        {"X  Zo\xEB", "Zo\xEB"},
        {"X  Citt\xE0", "Citt\xE0"},
        {"X  Adi\xF3", "Adi\xF3"},
        {"X  Caf\xC3", "Caf\xC3"},
        // Column 50 cuts a UTF-8 text inside its last character: that character goes.
        {"X  " + ascii46 + "\xC3", ascii46},
        // Plain ASCII and then a Windows-1252 letter at column 50 are the same bytes as a cut
        // UTF-8 text: the letter goes too (the describe tool writes such a field in UTF-8).
        {"X  " + ascii46 + "\xE9 ", ascii46},
        {"X  " + ascii46 + "\xC3\xA9 12345", ascii46},
        {"X  " + accented + "\xE6\x97", accented},
        {"X  " + std::string(43, 'a') + " \xF0\x9F\x8E", std::string(43, 'a')},
        // Column 50 ends a character, or the text before is not UTF-8: kept whole.
        {"X  " + std::string(45, 'a') + "\xC3\xA9", std::string(45, 'a') + "\xC3\xA9"},
        {"X  \xE9t\xE9" + std::string(43, 'a') + "\xE9",
         "\xE9t\xE9" + std::string(43, 'a') + "\xE9"},
        {"X  " + ascii46 + "\xFF", ascii46 + "\xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ParseDescription(c.line).Text, c.description);
    }
}
