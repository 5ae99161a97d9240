// Whole-file reads and writes that report failures as EInOutError with the file error's
// text, including the replacement of a file that never leaves it half written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Creates the file or empties an existing one, then writes the bytes.
void WriteFileBytes(const std::string& path, std::string_view bytes);

// Replaces the file's content as a whole: the bytes go to a new file beside it, which
// is flushed to the disk and then renamed over the old one. When anything fails the old
// file stays as it was and no temporary file is left.
void ReplaceFileBytes(const std::string& path, std::string_view bytes);

// The whole content of a file.
std::string ReadFileBytes(const std::string& path);

// True when the file (not a folder) can be opened for reading.
bool CanOpenForReading(const std::string& path);

// True when a file error (the ErrorCode of an EInOutError) says that we may not write there:
// a write-protected folder, file or disk, or a folder in the file's place. A full disk or a
// bad name is not such an error.
bool IsWriteDenied(int systemError);

// A simulated write failure for tests: while one is set, every write of file data keeps
// the first BytesAccepted bytes and then fails with SystemError (ENOSPC on POSIX,
// ERROR_DISK_FULL on Windows, for a full disk).
struct TWriteFault {
    int SystemError = 0;
    std::size_t BytesAccepted = 0;
};
void SetWriteFault(std::optional<TWriteFault> fault);
const std::optional<TWriteFault>& WriteFault();

} // namespace platform
