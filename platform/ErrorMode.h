// The process error mode: no system dialog for a drive without a medium.
#pragma once

namespace platform {

// Sets the process to fail critical errors (an empty removable drive) instead of asking
// the user; it stays so for the rest of the run. Nothing to do outside Windows.
void FailCriticalErrorsSilently();

} // namespace platform
