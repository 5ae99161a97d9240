#include "platform/SystemInfo.h"

#include <windows.h>

namespace platform {

namespace {

// The record size the version query asks for.
static_assert(sizeof(OSVERSIONINFOA) == 148);

class TWin32SystemFacts final : public ISystemFacts {
public:
    std::uint32_t ProcessorType() override {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        return info.dwProcessorType;
    }

    TVersionInfo Version() override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof(info);
        // The answer is taken as it comes: a failed call leaves the zeroed record.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
        GetVersionExA(&info);
        TVersionInfo version;
        version.MajorVersion = info.dwMajorVersion;
        version.MinorVersion = info.dwMinorVersion;
        version.BuildNumber = info.dwBuildNumber;
        version.PlatformId = info.dwPlatformId;
        return version;
    }

    TMemoryStatus MemoryStatus() override {
        MEMORYSTATUSEX info{};
        info.dwLength = sizeof(info);
        GlobalMemoryStatusEx(&info);
        TMemoryStatus status;
        status.MemoryLoad = info.dwMemoryLoad;
        status.TotalPhys = static_cast<std::int64_t>(info.ullTotalPhys);
        status.AvailPhys = static_cast<std::int64_t>(info.ullAvailPhys);
        status.TotalPageFile = static_cast<std::int64_t>(info.ullTotalPageFile);
        status.AvailPageFile = static_cast<std::int64_t>(info.ullAvailPageFile);
        status.TotalVirtual = static_cast<std::int64_t>(info.ullTotalVirtual);
        status.AvailVirtual = static_cast<std::int64_t>(info.ullAvailVirtual);
        return status;
    }

    std::int64_t SystemDriveSize() override {
        ULARGE_INTEGER total{};
        if (!GetDiskFreeSpaceExA("C:\\", nullptr, &total, nullptr))
            return -1;
        return static_cast<std::int64_t>(total.QuadPart);
    }
};

} // namespace

ISystemFacts& SystemFacts() {
    static TWin32SystemFacts facts;
    return facts;
}

} // namespace platform
