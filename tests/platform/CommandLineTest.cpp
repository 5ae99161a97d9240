#include "platform/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLineArgument, IsQuotedOnlyWhenSplittingWouldChangeIt) {
    const struct {
        const char* Argument;
        const char* Written;
    } cases[] = {
        {"C:\\Music\\PL_TEMP.M3U", "C:\\Music\\PL_TEMP.M3U"},
        {"/mp3/a;b&c|d*e?.mp3", "/mp3/a;b&c|d*e?.mp3"},
        {"", "\"\""},
        {"C:\\Program Files\\Tunes\\PL_TEMP.M3U", "\"C:\\Program Files\\Tunes\\PL_TEMP.M3U\""},
        {"tab\there", "\"tab\there\""},
        {"line\nbreak", "\"line\nbreak\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"a\"b", "\"a\\\"b\""},
        // Backslashes are doubled only before a quote, including the closing one.
        {"C:\\My Music\\", "\"C:\\My Music\\\\\""},
        {"x\\\\ y\\\\", "\"x\\\\ y\\\\\\\\\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
        {"\\\\server\\share\\my song.mp3", "\"\\\\server\\share\\my song.mp3\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::QuoteCommandLineArgument(c.Argument), c.Written) << c.Argument;
}
