#include "platform/ErrorMode.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

void FailCriticalErrorsSilently() {
#ifdef _WIN32
    SetErrorMode(SEM_FAILCRITICALERRORS);
#endif
}

} // namespace platform
