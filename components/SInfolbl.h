// The memory figure of the system-information label: which figure, its text, and the
// size text with units. The label widget asks this class for its caption at each paint.
#pragma once

#include "platform/NumberSeparators.h"
#include "platform/SystemInfo.h"

#include <cstdint>
#include <string>

// Which figure of the memory status the label shows.
enum TInfoType : std::uint8_t {
    iMemoryUsedPercent,
    iMemoryTotalPhysical,
    iMemoryFreePhysical,
    iMaxSizePageFile,
    iSizeFreePageFile,
    iTotalVirtual,
    iAvailableVirtual
};

// A byte count as kilobytes with two decimals, switching to megabytes and then gigabytes
// only while the figure is more than 1024 of its unit: 1048576 gives "1,024.00 KB",
// 4215603 "4.02 MB" (with "." and "," as separators).
std::string FormatMemorySize(std::int64_t bytes, const platform::TNumberSeparators& separators);

// The same with the user's own separators.
std::string FormatMemorySize(std::int64_t bytes);

class TSystemInfoText {
public:
    // Starts as iMemoryUsedPercent with the plain display and an empty caption; nothing
    // is read until the first SetInfoType.
    explicit TSystemInfoText(
        platform::ISystemFacts& facts = platform::SystemFacts(),
        platform::TNumberSeparators separators = platform::UserNumberSeparators());

    TInfoType InfoType() const { return FInfoType; }
    // Reads the memory status again and rebuilds the caption for the figure.
    void SetInfoType(TInfoType value);

    bool FormattedDisplay() const { return FFormattedDisplay; }
    // A change rebuilds the caption (reading the memory status); the same value does nothing.
    void SetFormattedDisplay(bool value);

    const std::string& Caption() const { return FCaption; }
    const platform::TMemoryStatus& MemoryStatus() const { return FMemoryStatus; }

private:
    std::string SizeText(std::int64_t bytes) const;

    platform::ISystemFacts& FFacts;
    platform::TNumberSeparators FSeparators;
    TInfoType FInfoType = iMemoryUsedPercent;
    bool FFormattedDisplay = false;
    platform::TMemoryStatus FMemoryStatus;
    std::string FCaption;
};
