#include "platform/ErrorKinds.h"

#include <cerrno>

namespace platform {

TErrorKind ErrorKindOf(int systemError) {
    switch (systemError) {
    case ENOENT:
        return TErrorKind::ekNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return TErrorKind::ekInvalidName;
    case EMFILE:
    case ENFILE:
        return TErrorKind::ekTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return TErrorKind::ekAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return TErrorKind::ekDiskFull;
    default:
        return TErrorKind::ekOther;
    }
}

} // namespace platform
