#include "components/ShellNotifyRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

struct TFakeWindow;
struct TFakeIconImage;

// The shell's record as the Windows headers declare it: handles are pointers, the tip is
// longer than the tray icon's, and further fields follow.
struct TFakeShellRecord {
    std::uint32_t cbSize;
    TFakeWindow* hWnd;
    unsigned uID;
    unsigned uFlags;
    unsigned uCallbackMessage;
    TFakeIconImage* hIcon;
    char szTip[128];
    std::uint32_t dwState;
    char szInfo[256];
};

TNotifyIconData RecordWithTip(const std::string& tip) {
    TNotifyIconData data;
    std::memcpy(data.szTip, tip.data(), std::min(tip.size(), sizeof(data.szTip)));
    return data;
}

TEST(ShellNotifyRecordTest, CopiesEveryFieldAndLeavesTheRestZero) {
    TNotifyIconData data = RecordWithTip("MP3 Discovane");
    data.cbSize = NotifyIconDataSize;
    data.hWnd = 0x5150;
    data.uID = 7;
    data.uFlags = NifMessage | NifIcon | NifTip;
    data.uCallbackMessage = WmTrayIconCallback;
    data.hIcon = 0xC0DE;

    const auto record = ToShellRecord<TFakeShellRecord>(data, 104);

    EXPECT_EQ(record.cbSize, 104u);
    EXPECT_EQ(reinterpret_cast<TWindowHandle>(record.hWnd), TWindowHandle{0x5150});
    EXPECT_EQ(record.uID, 7u);
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 0x401u);
    EXPECT_EQ(reinterpret_cast<TIconHandle>(record.hIcon), TIconHandle{0xC0DE});
    EXPECT_STREQ(record.szTip, "MP3 Discovane");
    EXPECT_EQ(record.dwState, 0u);
    EXPECT_EQ(record.szInfo[0], '\0');
}

// The shell's tip: the text up to its zero, at most 63 characters, and zeros after it.
TEST(ShellNotifyRecordTest, TipIsTerminatedAndCutTo63Characters) {
    const std::string long63(63, 'a');
    const struct {
        std::string Source;
        std::string Expected;
    } cases[] = {
        {"", ""},
        {"MP3 Tunestead", "MP3 Tunestead"},
        {long63, long63},
        // A record filled without a terminating zero still gives a terminated tip.
        {std::string(64, 'b'), std::string(63, 'b')},
        // Whatever follows the zero in the source stays out of the shell's record.
        {std::string("ab\0stale text", 13), "ab"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Expected);
        const auto record =
            ToShellRecord<TFakeShellRecord>(RecordWithTip(test.Source), NotifyIconDataSize);
        EXPECT_EQ(std::string(record.szTip), test.Expected);
        for (std::size_t i = test.Expected.size(); i < sizeof(record.szTip); ++i)
            ASSERT_EQ(record.szTip[i], '\0') << "at " << i;
    }
}

} // namespace
