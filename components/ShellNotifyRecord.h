// Copies the tray icon's notification record into the shell's own record type (on Windows
// NOTIFYICONDATAA), whose fields of the same names come first and whose tip may be longer.
#pragma once

#include "components/TrayIconEnvironment.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The shell's record for the tray icon's record: cbSize is recordSize (the size of the record's
// first form as the shell counts it on this platform), the handles are converted to the shell's
// handle types, and every field that the tray icon's record does not have is zero. The tip is
// copied up to its terminating zero, at most 63 characters, so the shell always finds it
// terminated, even in a record filled without the zero.
template <typename TShellRecord>
TShellRecord ToShellRecord(const TNotifyIconData& source, std::uint32_t recordSize) {
    static_assert(sizeof(TShellRecord{}.szTip) >= sizeof(source.szTip),
                  "the shell's tip holds at least 64 characters");
    TShellRecord target{};
    target.cbSize = recordSize;
    target.hWnd = reinterpret_cast<decltype(target.hWnd)>(source.hWnd);
    target.uID = source.uID;
    target.uFlags = source.uFlags;
    target.uCallbackMessage = source.uCallbackMessage;
    target.hIcon = reinterpret_cast<decltype(target.hIcon)>(source.hIcon);
    const char* tipEnd = std::find(source.szTip, source.szTip + sizeof(source.szTip) - 1, '\0');
    std::memcpy(target.szTip, source.szTip, static_cast<std::size_t>(tipEnd - source.szTip));
    return target;
}
