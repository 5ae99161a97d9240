// The system-information component: facts about the machine read once at creation
// (registered owner and organisation, processor, system and version, memory, drive size)
// offered as read-only texts.
#pragma once

#include "base/Component.h"
#include "platform/SystemInfo.h"

#include <functional>
#include <string>

struct TRegisteredUser {
    std::string Organisation;
    std::string Owner;
};

// The registered organisation and owner from HKEY_LOCAL_MACHINE
// "\SOFTWARE\Microsoft\Windows", section "CurrentVersion"; "Failure" for each one that
// cannot be read. A value that is not text raises ERegistryException.
TRegisteredUser ReadRegisteredUser();

using TRegisteredUserReader = std::function<TRegisteredUser()>;

class TSysInfo : public TComponent {
public:
    explicit TSysInfo(TComponent* owner);
    // The same with other sources of the facts (tests).
    TSysInfo(TComponent* owner, platform::ISystemFacts& facts,
             const TRegisteredUserReader& readUser);
    ~TSysInfo() override;

    // The texts read at creation. Writing any of them keeps the text read: a value stored
    // with a form describes the machine it was designed on, not this one.
    const std::string& Organisation() const { return FOrganisation; }
    void SetOrganisation(const std::string&) {}
    // The registered owner; it hides TComponent::Owner(), reachable through a TComponent&.
    const std::string& Owner() const { return FOwner; }
    void SetOwner(const std::string&) {}
    const std::string& CPU() const { return FCPU; }
    void SetCPU(const std::string&) {}
    const std::string& OperatingSystem() const { return FOperatingSystem; }
    void SetOperatingSystem(const std::string&) {}
    const std::string& WinVersion() const { return FWinVersion; }
    void SetWinVersion(const std::string&) {}
    const std::string& Build() const { return FBuild; }
    void SetBuild(const std::string&) {}
    const std::string& TotalMemory() const { return FTotalMemory; }
    void SetTotalMemory(const std::string&) {}
    const std::string& DriveC() const { return FDriveC; }
    void SetDriveC(const std::string&) {}

private:
    std::string FOrganisation;
    std::string FOwner;
    std::string FCPU;
    std::string FOperatingSystem;
    std::string FWinVersion;
    std::string FBuild;
    std::string FTotalMemory;
    std::string FDriveC;
};
