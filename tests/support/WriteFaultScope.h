// Makes every file write fail like a full disk while a test step runs.
#pragma once

#include "platform/FileIO.h"
#include "tests/support/SystemErrors.h"

#include <cstddef>

class TWriteFaultScope {
public:
    explicit TWriteFaultScope(std::size_t bytesAccepted, int systemError = SystemDiskFull) {
        platform::SetWriteFault(platform::TWriteFault{systemError, bytesAccepted});
    }
    ~TWriteFaultScope() { platform::SetWriteFault(std::nullopt); }
    TWriteFaultScope(const TWriteFaultScope&) = delete;
    TWriteFaultScope& operator=(const TWriteFaultScope&) = delete;
};
