#include "platform/SystemInfo.h"
#include "platform/NumberSeparators.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "platform/posix/SystemInfoParse.h"

#include <cstdlib>
#include <limits>
#include <optional>
#endif

namespace {

TEST(SystemFacts, TheRunningSystemGivesPlausibleFigures) {
    platform::ISystemFacts& facts = platform::SystemFacts();
    const platform::TMemoryStatus memory = facts.MemoryStatus();
    EXPECT_GT(memory.TotalPhys, 0);
    EXPECT_GE(memory.AvailPhys, 0);
    EXPECT_LE(memory.AvailPhys, memory.TotalPhys);
    EXPECT_LE(memory.MemoryLoad, 100u);
    EXPECT_LE(memory.AvailVirtual, memory.TotalVirtual);
    EXPECT_GT(facts.SystemDriveSize(), 0);
#ifndef _WIN32
    const platform::TVersionInfo version = facts.Version();
    EXPECT_EQ(version.PlatformId, platform::PlatformPosix);
    EXPECT_FALSE(version.SystemName.empty());
#endif
}

#ifndef _WIN32

TEST(SystemFacts, MachineNamesGiveProcessorTypes) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"i386", 386},    {"i486", 486},  {"i586", 586},  {"i686", 586},
        {"x86_64", 8664}, {"aarch64", 0}, {"riscv64", 0}, {"", 0},
    };
    for (const auto& [machine, type] : cases)
        EXPECT_EQ(platform::ProcessorTypeOfMachine(machine), type) << machine;
}

TEST(SystemFacts, KernelReleasesGiveVersions) {
    const std::tuple<const char*, std::uint32_t, std::uint32_t, std::uint32_t> cases[] = {
        {"6.1.0-18-amd64", 6, 1, 0},
        {"4.19.128-microsoft-standard", 4, 19, 128},
        {"5.15", 5, 15, 0},
        {"23.1.0", 23, 1, 0},
        {"7", 7, 0, 0},
        {"", 0, 0, 0},
        {"abc", 0, 0, 0},
    };
    for (const auto& [release, major, minor, build] : cases) {
        const platform::TVersionInfo version = platform::VersionOfRelease("Linux", release);
        EXPECT_EQ(version.MajorVersion, major) << release;
        EXPECT_EQ(version.MinorVersion, minor) << release;
        EXPECT_EQ(version.BuildNumber, build) << release;
        EXPECT_EQ(version.PlatformId, platform::PlatformPosix);
        EXPECT_EQ(version.SystemName, "Linux");
    }
}

TEST(SystemFacts, MeminfoGivesPhysicalAndPageFile) {
    const std::string text = "MemTotal:       16000000 kB\n"
                             "MemFree:         1000000 kB\n"
                             "MemAvailable:    4000000 kB\n"
                             "Buffers:          200000 kB\n"
                             "Cached:          3000000 kB\n"
                             "SwapCached:            0 kB\n"
                             "SwapTotal:       2000000 kB\n"
                             "SwapFree:        1500000 kB\n";
    platform::TMemoryStatus status;
    ASSERT_TRUE(platform::ReadMeminfo(text, status));
    EXPECT_EQ(status.TotalPhys, 16000000LL * 1024);
    EXPECT_EQ(status.AvailPhys, 4000000LL * 1024);
    EXPECT_EQ(status.TotalPageFile, 18000000LL * 1024);
    EXPECT_EQ(status.AvailPageFile, 5500000LL * 1024);
    EXPECT_EQ(status.MemoryLoad, 75u);
    EXPECT_EQ(platform::KernelSizeField(text, "SwapCached"), 0);
    EXPECT_EQ(platform::KernelSizeField(text, "Swap"), -1);
    EXPECT_EQ(platform::KernelSizeField(text, "Active"), -1);
}

TEST(SystemFacts, OldKernelsWithoutMemAvailableCountCaches) {
    const std::string text = "MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 250 kB\n";
    platform::TMemoryStatus status;
    ASSERT_TRUE(platform::ReadMeminfo(text, status));
    EXPECT_EQ(status.AvailPhys, 400 * 1024);
    EXPECT_EQ(status.TotalPageFile, 1000 * 1024);
    EXPECT_EQ(status.MemoryLoad, 60u);
    EXPECT_FALSE(platform::ReadMeminfo("MemFree: 100 kB\n", status));
    EXPECT_FALSE(platform::ReadMeminfo("MemTotal: many kB\n", status));
}

TEST(SystemFacts, HugeOrDamagedMeminfoFiguresNeitherWrapNorLeaveTheirRange) {
    constexpr std::int64_t Largest = std::numeric_limits<std::int64_t>::max();
    struct TCase {
        const char* Text;
        std::int64_t TotalPhys, AvailPhys, TotalPageFile, AvailPageFile;
        std::uint32_t Load;
    };
    const TCase cases[] = {
        // Byte counts beyond 64 bits once multiplied by 1024.
        {"MemTotal: 9223372036854775807 kB\nMemAvailable: 0 kB\n", Largest, 0, Largest, 0, 100},
        {"MemTotal: 9007199254740992 kB\nMemAvailable: 9007199254740992 kB\n", Largest, Largest,
         Largest, Largest, 0},
        // Figures that fit but whose load cannot be multiplied by 100 directly.
        {"MemTotal: 9000000000000000 kB\nMemAvailable: 2250000000000000 kB\n", 9216000000000000000,
         2304000000000000000, 9216000000000000000, 2304000000000000000, 75},
        // Just small enough to be multiplied by 100, but not to have half the total added.
        {"MemTotal: 92233720368547758\nMemAvailable: 0\n", 92233720368547758, 0, 92233720368547758,
         0, 100},
        // Swap that would carry the page file beyond 64 bits.
        {"MemTotal: 8000000000000000 kB\nMemAvailable: 8000000000000000 kB\n"
         "SwapTotal: 8000000000000000 kB\nSwapFree: 8000000000000000 kB\n",
         8192000000000000000, 8192000000000000000, Largest, Largest, 0},
        // An old kernel's caches adding up beyond 64 bits.
        {"MemTotal: 9000000000000000 kB\nMemFree: 8000000000000000 kB\n"
         "Buffers: 8000000000000000 kB\nCached: 8000000000000000 kB\n",
         9216000000000000000, 9216000000000000000, 9216000000000000000, 9216000000000000000, 0},
        // Damaged lines that are not sizes count as missing.
        {"MemTotal: 1000 kB\nMemAvailable: 99999999999999999999999 kB\nMemFree: 100 kB\n"
         "SwapTotal: -7 kB\nSwapFree: x kB\n",
         1024000, 102400, 1024000, 102400, 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        platform::TMemoryStatus status;
        ASSERT_TRUE(platform::ReadMeminfo(c.Text, status));
        EXPECT_EQ(status.TotalPhys, c.TotalPhys);
        EXPECT_EQ(status.AvailPhys, c.AvailPhys);
        EXPECT_EQ(status.TotalPageFile, c.TotalPageFile);
        EXPECT_EQ(status.AvailPageFile, c.AvailPageFile);
        EXPECT_EQ(status.MemoryLoad, c.Load);
    }
    platform::TMemoryStatus status;
    EXPECT_FALSE(platform::ReadMeminfo("MemTotal: 99999999999999999999999 kB\n", status));
    EXPECT_FALSE(platform::ReadMeminfo("MemTotal: -1 kB\n", status));
}

// Sets or clears an environment variable for the life of the object.
class TScopedEnvironment {
public:
    TScopedEnvironment(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name))
            FOld = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~TScopedEnvironment() {
        if (FOld)
            setenv(FName, FOld->c_str(), 1);
        else
            unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

TEST(NumberSeparators, LocaleWithoutGroupingFallsBackToPointAndComma) {
    for (const char* locale : {"C", "no_such_locale.UTF-8"}) {
        TScopedEnvironment all("LC_ALL", locale);
        const platform::TNumberSeparators separators = platform::UserNumberSeparators();
        EXPECT_EQ(separators.Decimal, ".") << locale;
        EXPECT_EQ(separators.Thousands, ",") << locale;
    }
}

#endif

} // namespace
