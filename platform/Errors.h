// The program's error kinds. Each carries the exact text that the user sees;
// the application object shows it in the error box.
#pragma once

#include <stdexcept>
#include <string>

// Base of every error the program raises itself.
class EError : public std::runtime_error {
public:
    explicit EError(const std::string& message) : std::runtime_error(message) {}
};

// A text that should have been a whole decimal number.
class EConvertError : public EError {
public:
    using EError::EError;
};

// A file operation failed; the message names the file error ("File not found", ...).
class EInOutError : public EError {
public:
    EInOutError(const std::string& message, int code) : EError(message), ErrorCode(code) {}
    int ErrorCode;
};

// A settings (registry) operation failed.
class ERegistryException : public EError {
public:
    using EError::EError;
};

// A system resource could not be had (for instance the notification-area icon).
class EOutOfResources : public EError {
public:
    using EError::EError;
};

// Replaces the first "%s" of a message pattern by the argument.
std::string FormatText(const std::string& pattern, const std::string& argument);

// The file-error text for an operating-system error number (errno on POSIX,
// GetLastError() on Windows), such as "File not found" or "File access denied".
std::string FileErrorText(int systemError);

// Throws EInOutError for the operating-system error number.
[[noreturn]] void RaiseFileError(int systemError);

// Throws the EInOutError "Read beyond end of file" (a record cut short).
[[noreturn]] void RaiseReadBeyondEnd();

// Whole signed 32-bit decimal number with optional leading blanks and sign;
// anything else raises "'%s' is not a valid integer value".
int StrToInt(const std::string& text);
