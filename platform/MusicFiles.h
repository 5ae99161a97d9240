// What the describing of a music folder needs from the file system beyond reading and writing
// whole files: one look at an entry, links to song files, and a lock on a catalogue folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class TEntryKind { Missing, Regular, Folder, Other };

// One look at a path, following links: its kind, and for a regular file its size and
// modification time (nanoseconds since the epoch; only compared, never shown).
struct TEntryFacts {
    TEntryKind Kind = TEntryKind::Missing;
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
};
TEntryFacts LookAt(const std::string& path);

// One entry of a folder: its name as the system's file calls of this program take it (the file
// system's bytes on POSIX; the ANSI code page on Windows, where a name that code page cannot
// spell is given by its short 8.3 name), and its kind, links followed.
struct TFolderEntry {
    std::string Name;
    TEntryKind Kind = TEntryKind::Missing;
    // Of a regular file, when the listing was asked for them: as LookAt gives them.
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    // On POSIX the entry's inode, and its device when it had to be looked at (a link); 0 for
    // the listed folder's own device. Both 0 on Windows.
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
};

// The entries of a folder, "." and ".." left out, in no particular order; with withFacts, the
// size and time of every regular file too (looked up relative to the open folder, cheaper than
// by whole paths). Throws EInOutError with the system's reason when the folder cannot be read.
std::vector<TFolderEntry> ListFolderEntries(const std::string& folder, bool withFacts = false);
// Throws EInOutError with the system's reason when the folder cannot be read; reads none of it.
void CheckFolderReadable(const std::string& folder);

// Makes the folder and the folders above it that are missing; throws EInOutError.
void MakeFolders(const std::string& folder);

// Removes a file, a link or an empty folder; false when it could not be removed.
bool RemoveEntry(const std::string& path);

// True when something (also a broken link) has this name.
bool EntryExists(const std::string& path);

// The path made absolute against the current folder, with "." and ".." resolved by name.
std::string AbsolutePath(const std::string& path);

// What tells a folder apart from every other on the system, whatever path leads to it (its
// device and inode on POSIX, its volume and file index on Windows); empty when it cannot be had.
std::string FolderIdentity(const std::string& path);

// True when the path itself (not followed) is a symbolic link.
bool IsLink(const std::string& path);

// Makes link lead to the existing file target: a symbolic link on POSIX; on Windows a hard link
// (same volume, no rights needed), else a symbolic link where the system lets this user make
// one. Throws EInOutError with the reason when neither can be made.
void MakeSongLink(const std::string& target, const std::string& link);

// A lock held on a folder (through a lock file in it) while the object lives; released when it
// is destroyed or the process ends, also by a crash.
class TFolderLock {
public:
    virtual ~TFolderLock() = default;
};

// Takes the lock of folder without waiting; nothing when another process holds it. Throws
// EInOutError when the lock file cannot be made.
std::unique_ptr<TFolderLock> TryLockFolder(const std::string& folder);
// Takes the lock of folder, waiting as long as another process holds it.
std::unique_ptr<TFolderLock> LockFolder(const std::string& folder);

} // namespace platform
