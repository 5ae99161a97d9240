// Machine facts set by the test, counting how often the memory status is read.
#pragma once

#include "platform/SystemInfo.h"

class TFakeSystemFacts : public platform::ISystemFacts {
public:
    std::uint32_t ProcessorType() override { return Processor; }
    platform::TVersionInfo Version() override { return VersionInfo; }
    platform::TMemoryStatus MemoryStatus() override {
        ++MemoryReads;
        return Memory;
    }
    std::int64_t SystemDriveSize() override { return DriveSize; }

    std::uint32_t Processor = platform::ProcessorIntelPentium;
    platform::TVersionInfo VersionInfo{4, 0, 1381, platform::PlatformWin32NT, ""};
    platform::TMemoryStatus Memory;
    std::int64_t DriveSize = 247LL * 1024 * 1024;
    int MemoryReads = 0;
};
