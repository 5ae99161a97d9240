// The machine's facts that the About box shows: processor type, system version, memory
// status and the size of the system drive, behind an interface so tests can give their own.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Processor types as the system reports them; only the first three have a name of their own.
inline constexpr std::uint32_t ProcessorIntel386 = 386;
inline constexpr std::uint32_t ProcessorIntel486 = 486;
inline constexpr std::uint32_t ProcessorIntelPentium = 586;
inline constexpr std::uint32_t ProcessorIntelIA64 = 2200;
inline constexpr std::uint32_t ProcessorAmdX8664 = 8664;
// Any processor that none of the types above describes (ARM, RISC-V, ...).
inline constexpr std::uint32_t ProcessorOther = 0;

// Platform ids: the three Windows families, and the one of every POSIX system.
inline constexpr std::uint32_t PlatformWin32s = 0;
inline constexpr std::uint32_t PlatformWin32Windows = 1;
inline constexpr std::uint32_t PlatformWin32NT = 2;
inline constexpr std::uint32_t PlatformPosix = 0x100;

struct TVersionInfo {
    std::uint32_t MajorVersion = 0;
    std::uint32_t MinorVersion = 0;
    // On Windows the high 16 bits may carry the version too; the build is the low 16 bits.
    std::uint32_t BuildNumber = 0;
    std::uint32_t PlatformId = 0;
    // The system's own name where the platform id does not name it ("Linux"); empty on Windows.
    std::string SystemName;
};

// Memory figures in bytes (64-bit, so sizes of 2 GB and more stay whole) and the load in percent.
struct TMemoryStatus {
    std::uint32_t MemoryLoad = 0;
    std::int64_t TotalPhys = 0;
    std::int64_t AvailPhys = 0;
    std::int64_t TotalPageFile = 0;
    std::int64_t AvailPageFile = 0;
    std::int64_t TotalVirtual = 0;
    std::int64_t AvailVirtual = 0;
};

class ISystemFacts {
public:
    virtual ~ISystemFacts() = default;
    virtual std::uint32_t ProcessorType() = 0;
    virtual TVersionInfo Version() = 0;
    virtual TMemoryStatus MemoryStatus() = 0;
    // Total size in bytes of drive C (of the root file system "/" on POSIX); -1 when unreadable.
    virtual std::int64_t SystemDriveSize() = 0;
};

// The running system's facts, read anew at each call.
ISystemFacts& SystemFacts();

} // namespace platform
