#include "components/sysinfo.h"

#include "components/RootRegIniFile.h"
#include "platform/Registry.h"

namespace {

std::string ProcessorName(std::uint32_t processorType) {
    switch (processorType) {
    case platform::ProcessorIntel386:
        return "Intel 386";
    case platform::ProcessorIntel486:
        return "Intel 486";
    case platform::ProcessorIntelPentium:
        return "Intel Pentium";
    default:
        return "";
    }
}

// The Windows family for its platform id; a POSIX system goes by its own name.
std::string SystemName(const platform::TVersionInfo& version) {
    switch (version.PlatformId) {
    case platform::PlatformWin32s:
        return "Windows 3.1";
    case platform::PlatformWin32Windows:
        return "Windows 95";
    case platform::PlatformWin32NT:
        return "Windows NT";
    case platform::PlatformPosix:
        return version.SystemName;
    default:
        return "";
    }
}

} // namespace

TRegisteredUser ReadRegisteredUser() {
    TRootRegIniFile reader("\\SOFTWARE\\Microsoft\\Windows", platform::HKEY_LOCAL_MACHINE);
    TRegisteredUser user;
    user.Organisation = reader.ReadString("CurrentVersion", "RegisteredOrganization", "Failure");
    user.Owner = reader.ReadString("CurrentVersion", "RegisteredOwner", "Failure");
    return user;
}

TSysInfo::TSysInfo(TComponent* owner)
    : TSysInfo(owner, platform::SystemFacts(), ReadRegisteredUser) {}

TSysInfo::TSysInfo(TComponent* owner, platform::ISystemFacts& facts,
                   const TRegisteredUserReader& readUser)
    : TComponent(owner) {
    const TRegisteredUser user = readUser();
    FOrganisation = user.Organisation;
    FOwner = user.Owner;

    FCPU = ProcessorName(facts.ProcessorType());

    const platform::TVersionInfo version = facts.Version();
    FOperatingSystem = SystemName(version);
    FWinVersion = std::to_string(version.MajorVersion) + "." + std::to_string(version.MinorVersion);
    FBuild = std::to_string(version.BuildNumber & 0xFFFFu);

    // Sizes are 64-bit counts, so memory and drives of 2 GB and more read whole.
    FTotalMemory = std::to_string(facts.MemoryStatus().TotalPhys / 1024) + " KB";

    const std::int64_t driveSize = facts.SystemDriveSize();
    if (driveSize >= 0)
        FDriveC = std::to_string(driveSize / 1024 / 1024) + " MB";
}

TSysInfo::~TSysInfo() = default;
