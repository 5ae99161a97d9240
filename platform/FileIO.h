// Whole-file reads and writes that report failures as EInOutError with the file error's
// text, including the replacement of a file that never leaves it half written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

// Writes a file that does not exist yet the same way, but without waiting for the disk: no
// reader sees it half written, yet a crash may leave it empty until SyncFileSystem has
// returned. For many new files at once, which one SyncFileSystem makes durable far faster than
// a flush of each.
void WriteNewFileBytes(const std::string& path, std::string_view bytes);

// Waits until what was written to the file system that holds path is on the disk.
void SyncFileSystem(const std::string& path);

// The whole content of a file.
std::string ReadFileBytes(const std::string& path);

// A file's bytes for reading and what keeps them: mapped into memory where the system allows
// it, so that only the pages looked at are read in and none is copied; read whole elsewhere.
// The file must not shrink while the bytes are in use. A file replaced through
// ReplaceFileBytes never does: the new file takes its name and the old one stays whole.
struct TFileBytes {
    std::string_view Bytes;
    std::shared_ptr<const void> Keeper;
};
TFileBytes MapFileBytes(const std::string& path);

// True when the file (not a folder) can be opened for reading. A pipe is opened without
// waiting for a writer.
bool CanOpenForReading(const std::string& path);

// What became of the reading of a file that must be a regular file.
enum class TRegularRead {
    Read,
    // A folder, a device, a pipe or a socket: something that may never end is not read.
    NotRegular,
    // Larger than the limit.
    TooLarge,
};

// Reads the whole file into bytes when it is a regular file of at most maxSize bytes; bytes
// is empty otherwise. A pipe is opened without waiting for a writer. Raises EInOutError with
// the file error when the file cannot be opened or read.
TRegularRead ReadRegularFile(const std::string& path, std::uint64_t maxSize, std::string& bytes);

// What a path names, its symbolic links followed; found without opening it for reading.
enum class TPathKind { Missing, Regular, Folder, Other };
TPathKind PathKindOf(const std::string& path);

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
