#include "platform/ErrorKinds.h"

#include <windows.h>

namespace platform {

TErrorKind ErrorKindOf(int systemError) {
    switch (static_cast<DWORD>(systemError)) {
    case ERROR_FILE_NOT_FOUND:
        return TErrorKind::ekNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return TErrorKind::ekInvalidName;
    case ERROR_TOO_MANY_OPEN_FILES:
        return TErrorKind::ekTooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return TErrorKind::ekAccessDenied;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return TErrorKind::ekDiskFull;
    case ERROR_HANDLE_EOF:
        return TErrorKind::ekEndOfFile;
    default:
        return TErrorKind::ekOther;
    }
}

} // namespace platform
