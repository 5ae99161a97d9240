#include "components/sysinfo.h"

#include "FakeSystemFacts.h"
#include "platform/Errors.h"
#include "settings/Registry.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

TRegisteredUser Registered() {
    return {"Quorlen", "Ada"};
}

TEST(SysInfo, ReadsEveryFactAtCreation) {
    TFakeSystemFacts facts;
    facts.Memory.TotalPhys = 48564LL * 1024 + 1023;
    TSysInfo info(nullptr, facts, Registered);
    EXPECT_EQ(info.Organisation(), "Quorlen");
    EXPECT_EQ(info.Owner(), "Ada");
    EXPECT_EQ(info.CPU(), "Intel Pentium");
    EXPECT_EQ(info.OperatingSystem(), "Windows NT");
    EXPECT_EQ(info.WinVersion(), "4.0");
    EXPECT_EQ(info.Build(), "1381");
    EXPECT_EQ(info.TotalMemory(), "48564 KB");
    EXPECT_EQ(info.DriveC(), "247 MB");
}

TEST(SysInfo, ProcessorNames) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {386, "Intel 386"}, {486, "Intel 486"}, {586, "Intel Pentium"},
        {8664, ""},         {4000, ""},         {0, ""}};
    for (const auto& [type, name] : cases) {
        TFakeSystemFacts facts;
        facts.Processor = type;
        EXPECT_EQ(TSysInfo(nullptr, facts, Registered).CPU(), name) << type;
    }
}

TEST(SysInfo, SystemNames) {
    const std::tuple<std::uint32_t, const char*, const char*> cases[] = {
        {0, "", "Windows 3.1"}, {1, "", "Windows 95"},
        {2, "", "Windows NT"},  {3, "", ""},
        {3, "Linux", ""},       {platform::PlatformPosix, "Linux", "Linux"},
    };
    for (const auto& [platformId, systemName, expected] : cases) {
        TFakeSystemFacts facts;
        facts.VersionInfo.PlatformId = platformId;
        facts.VersionInfo.SystemName = systemName;
        EXPECT_EQ(TSysInfo(nullptr, facts, Registered).OperatingSystem(), expected) << platformId;
    }
}

TEST(SysInfo, BuildIsTheLowSixteenBits) {
    TFakeSystemFacts facts;
    facts.VersionInfo = {4, 10, 0x040003B6, platform::PlatformWin32Windows, ""};
    TSysInfo info(nullptr, facts, Registered);
    EXPECT_EQ(info.Build(), "950");
    EXPECT_EQ(info.WinVersion(), "4.10");
}

TEST(SysInfo, SizesOfTwoGigabytesAndMoreReadWhole) {
    TFakeSystemFacts facts;
    facts.Memory.TotalPhys = 8LL << 30;
    facts.DriveSize = 500LL << 30;
    TSysInfo info(nullptr, facts, Registered);
    EXPECT_EQ(info.TotalMemory(), "8388608 KB");
    EXPECT_EQ(info.DriveC(), "512000 MB");
}

TEST(SysInfo, UnreadableDriveLeavesDriveCEmpty) {
    TFakeSystemFacts facts;
    facts.DriveSize = -1;
    EXPECT_EQ(TSysInfo(nullptr, facts, Registered).DriveC(), "");
}

TEST(SysInfo, WritesAreIgnored) {
    TFakeSystemFacts facts;
    TSysInfo info(nullptr, facts, Registered);
    info.SetCPU("Intel 486");
    info.SetOwner("Someone");
    info.SetOrganisation("Elsewhere");
    info.SetOperatingSystem("Windows 95");
    info.SetWinVersion("9.9");
    info.SetBuild("1");
    info.SetTotalMemory("1 KB");
    info.SetDriveC("1 MB");
    EXPECT_EQ(info.CPU(), "Intel Pentium");
    EXPECT_EQ(info.Owner(), "Ada");
    EXPECT_EQ(info.Organisation(), "Quorlen");
    EXPECT_EQ(info.OperatingSystem(), "Windows NT");
    EXPECT_EQ(info.WinVersion(), "4.0");
    EXPECT_EQ(info.Build(), "1381");
    EXPECT_EQ(info.TotalMemory(), "0 KB");
    EXPECT_EQ(info.DriveC(), "247 MB");
}

TEST(SysInfo, RegistryErrorEndsCreationBeforeTheMachineIsRead) {
    TFakeSystemFacts facts;
    TComponent owner(nullptr);
    const auto failing = []() -> TRegisteredUser {
        throw ERegistryException("Invalid data type for 'RegisteredOwner'");
    };
    EXPECT_THROW(TSysInfo(&owner, facts, failing), ERegistryException);
    EXPECT_EQ(facts.MemoryReads, 0);
    EXPECT_EQ(owner.ComponentCount(), 0u);
}

TEST(SysInfo, RegisteredUserComesFromTheMachineKey) {
#ifdef _WIN32
    GTEST_SKIP() << "writes the registered owner below HKEY_LOCAL_MACHINE, which needs "
                    "administrator rights and has no sandbox on Windows";
#endif
    TRegistrySandbox sandbox;
    EXPECT_EQ(ReadRegisteredUser().Organisation, "Failure");
    {
        TRegistry writer;
        writer.SetRootKey(platform::HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(writer.OpenKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true));
        writer.WriteString("RegisteredOwner", "Ann");
    }
    TRegisteredUser user = ReadRegisteredUser();
    EXPECT_EQ(user.Owner, "Ann");
    EXPECT_EQ(user.Organisation, "Failure");
    {
        TRegistry writer;
        writer.SetRootKey(platform::HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(writer.OpenKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false));
        writer.WriteInteger("RegisteredOrganization", 7);
    }
    EXPECT_THROW(ReadRegisteredUser(), ERegistryException);
}

} // namespace
