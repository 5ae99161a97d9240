#include "platform/SystemInfo.h"
#include "platform/posix/SystemInfoParse.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::int64_t LargestFigure = std::numeric_limits<std::int64_t>::max();

// The sum and product of non-negative figures, held at the largest figure rather than
// overflowing: a damaged or absurd kernel text must not wrap round to a small or negative size.
std::int64_t SaturatedSum(std::int64_t a, std::int64_t b) {
    return a > LargestFigure - b ? LargestFigure : a + b;
}

std::int64_t SaturatedProduct(std::int64_t a, std::int64_t b) {
    return b != 0 && a > LargestFigure / b ? LargestFigure : a * b;
}

// part of whole in percent, rounded to nearest, for 0 <= part <= whole and whole > 0. Figures
// too large for 100 times part plus half of whole are halved together first, which leaves
// the percentage.
std::uint32_t Percentage(std::int64_t part, std::int64_t whole) {
    while (whole > LargestFigure / 101) {
        part /= 2;
        whole /= 2;
    }
    return static_cast<std::uint32_t>((part * 100 + whole / 2) / whole);
}

// Leading decimal digits of text from pos, advancing pos past them; 0 when there are none.
std::uint32_t ReadNumber(const std::string& text, std::size_t& pos) {
    std::uint32_t value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + static_cast<std::uint32_t>(text[pos] - '0');
        ++pos;
    }
    return value;
}

std::string ReadWholeFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The user address space: the process's limit when it has one, otherwise what the
// kernel gives a process of this word size (128 TiB on 64-bit, 3 GiB on 32-bit).
std::int64_t AddressSpaceSize() {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        return static_cast<std::int64_t>(limit.rlim_cur);
    return sizeof(void*) >= 8 ? std::int64_t{1} << 47 : std::int64_t{3} << 30;
}

// Physical figures for systems without /proc/meminfo.
void ReadPhysicalBySysconf(TMemoryStatus& status) {
    const long pageSize = sysconf(_SC_PAGESIZE);
    const long pages = sysconf(_SC_PHYS_PAGES);
    if (pageSize <= 0 || pages <= 0)
        return;
    status.TotalPhys = SaturatedProduct(pages, pageSize);
    status.AvailPhys = status.TotalPhys;
#ifdef _SC_AVPHYS_PAGES
    const long freePages = sysconf(_SC_AVPHYS_PAGES);
    if (freePages >= 0)
        status.AvailPhys = std::min(SaturatedProduct(freePages, pageSize), status.TotalPhys);
#endif
    status.TotalPageFile = status.TotalPhys;
    status.AvailPageFile = status.AvailPhys;
    status.MemoryLoad = Percentage(status.TotalPhys - status.AvailPhys, status.TotalPhys);
}

class TPosixSystemFacts final : public ISystemFacts {
public:
    std::uint32_t ProcessorType() override {
        utsname name{};
        if (uname(&name) != 0)
            return ProcessorOther;
        return ProcessorTypeOfMachine(name.machine);
    }

    TVersionInfo Version() override {
        utsname name{};
        if (uname(&name) != 0)
            return VersionOfRelease("", "");
        return VersionOfRelease(name.sysname, name.release);
    }

    TMemoryStatus MemoryStatus() override {
        TMemoryStatus status;
        if (!ReadMeminfo(ReadWholeFile("/proc/meminfo"), status))
            ReadPhysicalBySysconf(status);
        status.TotalVirtual = AddressSpaceSize();
        const std::int64_t used = KernelSizeField(ReadWholeFile("/proc/self/status"), "VmSize");
        status.AvailVirtual =
            used < 0 ? status.TotalVirtual : std::max<std::int64_t>(0, status.TotalVirtual - used);
        return status;
    }

    std::int64_t SystemDriveSize() override {
        struct statvfs info {};
        if (statvfs("/", &info) != 0)
            return -1;
        const auto unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
        return static_cast<std::int64_t>(info.f_blocks) * static_cast<std::int64_t>(unit);
    }
};

} // namespace

std::uint32_t ProcessorTypeOfMachine(const std::string& machine) {
    if (machine == "i386")
        return ProcessorIntel386;
    if (machine == "i486")
        return ProcessorIntel486;
    if (machine == "i586" || machine == "i686")
        return ProcessorIntelPentium;
    if (machine == "x86_64" || machine == "amd64")
        return ProcessorAmdX8664;
    if (machine == "ia64")
        return ProcessorIntelIA64;
    return ProcessorOther;
}

TVersionInfo VersionOfRelease(const std::string& systemName, const std::string& release) {
    TVersionInfo version;
    version.PlatformId = PlatformPosix;
    version.SystemName = systemName;
    std::size_t pos = 0;
    version.MajorVersion = ReadNumber(release, pos);
    if (pos < release.size() && release[pos] == '.') {
        version.MinorVersion = ReadNumber(release, ++pos);
        if (pos < release.size() && release[pos] == '.')
            version.BuildNumber = ReadNumber(release, ++pos);
    }
    return version;
}

std::int64_t KernelSizeField(const std::string& text, const std::string& name) {
    const std::string key = name + ":";
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::istringstream fields(line.substr(key.size()));
        std::int64_t value = -1;
        std::string unit;
        if (!(fields >> value) || value < 0)
            return -1;
        fields >> unit;
        return unit == "kB" ? SaturatedProduct(value, 1024) : value;
    }
    return -1;
}

bool ReadMeminfo(const std::string& text, TMemoryStatus& status) {
    const std::int64_t total = KernelSizeField(text, "MemTotal");
    if (total <= 0)
        return false;
    std::int64_t avail = KernelSizeField(text, "MemAvailable");
    if (avail < 0) {
        // Kernels before 3.14 give no estimate: free memory plus what the caches could yield.
        avail = 0;
        for (const char* field : {"MemFree", "Buffers", "Cached"})
            avail = SaturatedSum(avail, std::max<std::int64_t>(0, KernelSizeField(text, field)));
    }
    avail = std::min(avail, total);
    const std::int64_t swapTotal = std::max<std::int64_t>(0, KernelSizeField(text, "SwapTotal"));
    const std::int64_t swapFree =
        std::min(swapTotal, std::max<std::int64_t>(0, KernelSizeField(text, "SwapFree")));
    status.TotalPhys = total;
    status.AvailPhys = avail;
    status.TotalPageFile = SaturatedSum(total, swapTotal);
    status.AvailPageFile = SaturatedSum(avail, swapFree);
    status.MemoryLoad = Percentage(total - avail, total);
    return true;
}

ISystemFacts& SystemFacts() {
    static TPosixSystemFacts facts;
    return facts;
}

} // namespace platform
