// The POSIX hive files: where they live, reading them, and changing them safely. Every change
// re-reads the file under a lock and replaces it atomically, so that two running copies lose
// nothing and an interrupted write leaves the old or the new file whole. A file whose bytes are
// those last read or written is not parsed again.
#pragma once

#include "platform/Registry.h"
#include "platform/posix/HiveFormat.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace platform::hive {

inline constexpr LONG ERROR_PATH_NOT_FOUND = 3;
inline constexpr LONG ERROR_BADDB = 1009;
inline constexpr LONG ERROR_CANTREAD = 1012;

struct THiveFile {
    std::filesystem::path Path; // ".../mp3tunestead/HKEY_CURRENT_USER.reg"
    std::string RootName;       // "HKEY_CURRENT_USER"
};

// The hive file of a root name in the current settings folder; its path is empty when no
// settings folder is known (no absolute home), and loading or changing it then fails with
// ERROR_PATH_NOT_FOUND.
THiveFile HiveFileOf(const std::string& rootName);

void SetFolderOverride(const std::filesystem::path& folder);

// Reads the hive as it is stored now; a missing file is an empty hive. A damaged file is moved
// aside and reported, and the hive then reads as empty.
LONG LoadHive(const THiveFile& file, TKey& hive);

// Applies change to the stored hive under the hive's lock. When change succeeds and says that it
// changed something, the file is replaced by the new hive; a hive that is a symbolic link keeps
// the link and has its target replaced. A file the user made read-only is not replaced: the
// change fails with ERROR_ACCESS_DENIED.
LONG ChangeHive(const THiveFile& file,
                const std::function<LONG(TKey& hive, bool& changed)>& change);

// Warnings for the user: queued until a handler is set, handed out by DeliverWarnings.
void SetWarningHandler(std::function<void(const std::string&)> handler);
void DeliverWarnings();

// Called at each step of a file replacement (1 temporary file created, 2 half written, 3 all
// written, 4 flushed to disk, 5 renamed over the hive), so that a test can stop there.
void SetWriteStepHookForTesting(std::function<void(int step)> hook);

// How many times a hive file's text has been parsed since the program started.
std::size_t HiveParsesForTesting();

} // namespace platform::hive
