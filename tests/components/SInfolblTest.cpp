#include "components/SInfolbl.h"

#include "FakeSystemFacts.h"

#include <gtest/gtest.h>

namespace {

const platform::TNumberSeparators English{".", ","};
const platform::TNumberSeparators German{",", "."};

TEST(FormatMemorySize, ScalesOnlyPastAThousandAndTwentyFour) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0.00 KB"},
        {500, "0.49 KB"},
        {524288, "512.00 KB"},
        {1048576, "1,024.00 KB"},
        {1049600, "1.00 MB"},
        {4215603, "4.02 MB"},
        {100000000, "95.37 MB"},
        {1073741824, "1,024.00 MB"},
        {2000000000, "1.86 GB"},
        // Halves round up, also where the binary value is exact.
        {128, "0.13 KB"},
        {5, "0.00 KB"},
        {6, "0.01 KB"},
        // Past 32 bits.
        {5LL << 40, "5,120.00 GB"},
        {1234567LL << 30, "1,234,567.00 GB"},
        {INT64_MAX, "8,589,934,592.00 GB"},
        {-2048, "-2.00 KB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatMemorySize(bytes, English), text) << bytes;
}

TEST(FormatMemorySize, UsesTheGivenSeparators) {
    EXPECT_EQ(FormatMemorySize(4215603, German), "4,02 MB");
    EXPECT_EQ(FormatMemorySize(1048576, German), "1.024,00 KB");
    EXPECT_EQ(FormatMemorySize(1048576, {"\xC2\xB7", "\xE2\x80\xAF"}), "1\xE2\x80\xAF"
                                                                       "024\xC2\xB7"
                                                                       "00 KB");
}

class SystemInfoTextTest : public ::testing::Test {
protected:
    SystemInfoTextTest() { Facts.Memory = {37, 1000, 2000, 3000, 4000, 5000, 4215603}; }
    TFakeSystemFacts Facts;
    TSystemInfoText Text{Facts, English};
};

TEST_F(SystemInfoTextTest, StartsAsUsedPercentWithoutReading) {
    EXPECT_EQ(Text.InfoType(), iMemoryUsedPercent);
    EXPECT_FALSE(Text.FormattedDisplay());
    EXPECT_EQ(Text.Caption(), "");
    EXPECT_EQ(Facts.MemoryReads, 0);
}

TEST_F(SystemInfoTextTest, EachTypeShowsItsFigure) {
    const std::tuple<TInfoType, const char*, const char*> cases[] = {
        {iMemoryUsedPercent, "37%", "37%"},        {iMemoryTotalPhysical, "1000", "0.98 KB"},
        {iMemoryFreePhysical, "2000", "1.95 KB"},  {iMaxSizePageFile, "3000", "2.93 KB"},
        {iSizeFreePageFile, "4000", "3.91 KB"},    {iTotalVirtual, "5000", "4.88 KB"},
        {iAvailableVirtual, "4215603", "4.02 MB"},
    };
    for (const auto& [type, plain, formatted] : cases) {
        Text.SetFormattedDisplay(false);
        Text.SetInfoType(type);
        EXPECT_EQ(Text.Caption(), plain) << int(type);
        Text.SetFormattedDisplay(true);
        EXPECT_EQ(Text.Caption(), formatted) << int(type);
    }
}

TEST_F(SystemInfoTextTest, EverySetInfoTypeReadsTheFigureAgain) {
    Text.SetInfoType(iMemoryFreePhysical);
    Facts.Memory.AvailPhys = 3000000000;
    Text.SetInfoType(Text.InfoType());
    EXPECT_EQ(Text.Caption(), "3000000000");
    EXPECT_EQ(Facts.MemoryReads, 2);
    EXPECT_EQ(Text.MemoryStatus().AvailPhys, 3000000000);
}

TEST_F(SystemInfoTextTest, SameFormattedDisplayReadsNothing) {
    Text.SetInfoType(iMemoryFreePhysical);
    Text.SetFormattedDisplay(false);
    EXPECT_EQ(Facts.MemoryReads, 1);
    Text.SetFormattedDisplay(true);
    Text.SetFormattedDisplay(true);
    EXPECT_EQ(Facts.MemoryReads, 2);
}

} // namespace
