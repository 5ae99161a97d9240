#include "platform/Errors.h"

#include <cerrno>
#include <climits>

#ifdef _WIN32
#include <windows.h>
#endif

std::string FormatText(const std::string& pattern, const std::string& argument) {
    const auto at = pattern.find("%s");
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + argument + pattern.substr(at + 2);
}

std::string FileErrorText(int systemError) {
#ifdef _WIN32
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
        return "File not found";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return "Invalid filename";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "Too many open files";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return "File access denied";
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return "Disk full";
    case ERROR_HANDLE_EOF:
        return "Read beyond end of file";
    default:
        break;
    }
#else
    switch (systemError) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    default:
        break;
    }
#endif
    return "I/O error " + std::to_string(systemError);
}

void RaiseFileError(int systemError) {
    throw EInOutError(FileErrorText(systemError), systemError);
}

void RaiseReadBeyondEnd() {
    constexpr int readBeyondEndCode = 100;
    throw EInOutError("Read beyond end of file", readBeyondEndCode);
}

int StrToInt(const std::string& text) {
    const auto fail = [&text]() -> int {
        throw EConvertError(FormatText("'%s' is not a valid integer value", text));
    };
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return fail();
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return fail();
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return fail();
    }
    if (negative)
        value = -value;
    if (value > INT_MAX || value < INT_MIN)
        return fail();
    return static_cast<int>(value);
}
