#include "platform/Errors.h"

#include "platform/ErrorKinds.h"

#include <climits>

std::string FormatText(const std::string& pattern, const std::string& argument) {
    const auto at = pattern.find("%s");
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + argument + pattern.substr(at + 2);
}

std::string FileErrorText(int systemError) {
    using platform::TErrorKind;
    switch (platform::ErrorKindOf(systemError)) {
    case TErrorKind::ekNotFound:
        return "File not found";
    case TErrorKind::ekInvalidName:
        return "Invalid filename";
    case TErrorKind::ekTooManyOpenFiles:
        return "Too many open files";
    case TErrorKind::ekAccessDenied:
        return "File access denied";
    case TErrorKind::ekDiskFull:
        return "Disk full";
    case TErrorKind::ekEndOfFile:
        return "Read beyond end of file";
    case TErrorKind::ekOther:
        break;
    }
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
