#include "platform/Errors.h"
#include "tests/support/SystemErrors.h"

#include <gtest/gtest.h>

#include <climits>

TEST(StrToInt, AcceptsWholeDecimalNumbers) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"79", 79},
                 {"-5", -5},
                 {"+12", 12},
                 {"  42", 42},
                 {"007", 7},
                 {"2147483647", INT_MAX},
                 {"-2147483648", INT_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RejectsEverythingElseWithTheExactMessage) {
    for (const char* text : {"", "abc", "12 ", "1.5", "-", " ", "2147483648", "-2147483649",
                             "99999999999999999999", "1e3"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(FileErrorText, NamesTheCommonFileErrors) {
    EXPECT_EQ(FileErrorText(SystemFileNotFound), "File not found");
    EXPECT_EQ(FileErrorText(SystemAccessDenied), "File access denied");
    EXPECT_EQ(FileErrorText(SystemDiskFull), "Disk full");
    EXPECT_EQ(FileErrorText(-7), "I/O error -7");
    EXPECT_THROW(RaiseReadBeyondEnd(), EInOutError);
}
