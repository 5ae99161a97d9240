// The kinds of file errors the program tells apart, and the one place where the system's error
// numbers (errno on POSIX, GetLastError() codes on Windows) are sorted into them.
#pragma once

namespace platform {

enum class TErrorKind {
    ekNotFound,
    ekInvalidName,
    ekTooManyOpenFiles,
    ekAccessDenied,
    ekDiskFull,
    ekEndOfFile,
    ekOther
};

// The kind of an operating-system error number.
TErrorKind ErrorKindOf(int systemError);

} // namespace platform
