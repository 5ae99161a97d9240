// Playlist files: fixed 181-byte records, one for each entry of the playlist editor, and
// their saving and loading.
#pragma once

#include "playback/PlaylistEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Playback {

// Three length-prefixed strings of fixed capacity, stored exactly as laid out here.
struct TPlaylistRecord {
    static constexpr std::size_t NameCapacity = 40;
    static constexpr std::size_t LengthCapacity = 10;
    static constexpr std::size_t PathCapacity = 128;

    unsigned char NameLength = 0;
    std::array<char, NameCapacity> Name{};
    unsigned char LengthLength = 0;
    std::array<char, LengthCapacity> Length{};
    unsigned char PathLength = 0;
    std::array<char, PathCapacity> Path{};
};

inline constexpr std::size_t PlaylistRecordSize = 181;
static_assert(sizeof(TPlaylistRecord) == PlaylistRecordSize);

// The record of an entry: the caption cut to 40 characters; unless that is an album
// header, the length text cut to 10 and the path cut to 128 characters. Unused bytes,
// and the length and path of a header, are zeros.
TPlaylistRecord EncodeRecord(const TPlaylistEntry& entry);

// The entry of a record; a header gets no length text and no path. A length byte beyond
// its field's capacity (a damaged file) counts as the full capacity.
TPlaylistEntry DecodeRecord(const TPlaylistRecord& record);

// The records of all entries, one after the other.
std::string EncodePlaylist(const std::vector<TPlaylistEntry>& entries);

// What a playlist file holds.
struct TPlaylistContent {
    std::vector<TPlaylistEntry> Entries;
    // The file ended inside a record; Entries holds the records before it.
    bool CutShort = false;
};

// The entries of the whole records in the bytes, in order.
TPlaylistContent DecodePlaylist(std::string_view bytes);

// Writes the entries as a playlist file. The old file is replaced only once the new one
// is completely on the disk, so a failure (such as "Disk full") leaves it whole. Raises
// EInOutError with the file error.
void SavePlaylistFile(const std::string& path, const std::vector<TPlaylistEntry>& entries);

// The largest playlist file that is read: some 92,000 records, or as many lines of a text
// playlist, far more than a list put together by hand holds. Anything larger is not a
// playlist, and reading it would only fill the memory.
inline constexpr std::uint64_t MaxPlaylistFileSize = 16 * 1024 * 1024;

// The whole content of a playlist file. Only a regular file of at most MaxPlaylistFileSize
// bytes is read: a pipe or a device could hang the program or fill the memory. Raises
// EInOutError with the file error, or with "PATH" is not a regular file or "PATH" is
// larger than 16 MiB for a file refused unread.
std::string ReadPlaylistBytes(const std::string& path);

// Reads a playlist file of records; raises as ReadPlaylistBytes. A file that ends inside a
// record is not an error here: see RaiseIfCutShort.
TPlaylistContent LoadPlaylistFile(const std::string& path);

// Raises "PATH" is not a regular file when the path names a device, a pipe or a socket, which
// a playlist must never replace.
void RaiseIfNotReplaceable(const std::string& path);

// Raises "Read beyond end of file" for a file that ended inside a record. Called after
// the entries read before that record have been taken over.
void RaiseIfCutShort(const TPlaylistContent& content);

// A file counts as existing when it can be opened for reading.
bool PlaylistFileExists(const std::string& path);

// The text of the question before an existing file is replaced: the full path, a
// carriage return and "already exist. Overwrite ?".
std::string OverwriteQuestionText(const std::string& path);

} // namespace Playback
