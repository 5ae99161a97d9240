// Feeds arbitrary bytes to the readers of the kernel's texts (uname fields, /proc/meminfo and
// /proc/self/status): no figure is negative or beyond its whole, and the load is a percentage.
#include "platform/posix/SystemInfoParse.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace platform;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The number of up to nine leading digits of text from pos, as a version part reads it.
std::uint32_t ShortNumber(const std::string& text, std::size_t pos) {
    std::uint32_t value = 0;
    for (int digits = 0; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (++digits > 9)
            return ~0u;
        value = value * 10 + static_cast<std::uint32_t>(text[pos] - '0');
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A field name up to the first NUL, the text after it; the whole input when there is none.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto nul = input.find('\0');
    const std::string name = nul == std::string::npos ? "VmSize" : input.substr(0, nul);
    const std::string text = nul == std::string::npos ? input : input.substr(nul + 1);

    ProcessorTypeOfMachine(text);
    const TVersionInfo version = VersionOfRelease("Linux", text);
    Check(version.SystemName == "Linux");
    const std::uint32_t major = ShortNumber(text, 0);
    Check(major == ~0u || version.MajorVersion == major);

    Check(KernelSizeField(text, name) >= -1);
    TMemoryStatus status;
    if (ReadMeminfo(text, status)) {
        Check(status.TotalPhys > 0);
        Check(status.AvailPhys >= 0 && status.AvailPhys <= status.TotalPhys);
        Check(status.TotalPageFile >= status.TotalPhys);
        Check(status.AvailPageFile >= status.AvailPhys &&
              status.AvailPageFile <= status.TotalPageFile);
        Check(status.MemoryLoad <= 100);
    } else {
        Check(status.TotalPhys == 0 && status.MemoryLoad == 0);
    }
    return 0;
}
