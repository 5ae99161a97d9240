// Readings of the POSIX system's own texts (uname fields, /proc files) into the machine's
// facts, kept apart from the system calls so that tests can feed them any text.
#pragma once

#include "platform/SystemInfo.h"

#include <cstdint>
#include <string>

namespace platform {

// The processor type for uname's machine field: i386/i486 as such, i586/i686 as a
// Pentium, x86_64 and ia64 as the 64-bit types Windows reports for them, anything else
// as ProcessorOther.
std::uint32_t ProcessorTypeOfMachine(const std::string& machine);

// The version of a kernel release such as "6.1.0-18-amd64": major 6, minor 1, build 0
// (the third number); missing or non-numeric parts read 0.
TVersionInfo VersionOfRelease(const std::string& systemName, const std::string& release);

// The byte count of a "Name:   1234 kB" line of /proc/meminfo or /proc/self/status;
// -1 when the line is missing or unreadable. A size beyond 64 bits once counted in bytes reads as
// the largest 64-bit figure.
std::int64_t KernelSizeField(const std::string& text, const std::string& name);

// Physical memory, page file (physical plus swap) and load from /proc/meminfo; false when
// MemTotal is missing. Sums too large for 64 bits hold at the largest figure. The virtual
// figures are left as they are.
bool ReadMeminfo(const std::string& text, TMemoryStatus& status);

} // namespace platform
