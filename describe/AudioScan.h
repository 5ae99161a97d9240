// The length of the MPEG audio really held by a song file. A Xing, Info or VBRI header frame is
// trusted only when its byte count fits the file (a download cut short keeps the header of the
// whole song); otherwise libmpg123 counts the frames, reading their headers without decoding.
#pragma once

#include <cstdint>
#include <string>

class TBlockFile;

// How far into the audio the frames are counted: a second's reading from a slow disk, and over
// an hour of music at 128 kbit/s.
inline constexpr std::int64_t DefaultScanBytes = 64 * 1024 * 1024;

// The length of the file's audio in milliseconds. The search for the first frame is bounded
// (libmpg123 gives up after 64 KiB of bytes that are no MPEG audio, behind an ID3v2 tag, which
// it skips by its size), and a count of frames ends where the frames end, or after scanBytes of
// audio, beyond which the length is reckoned from the frames counted; so no file costs more
// than a bounded reading, however large. Throws EError when the file cannot be read or holds no
// MPEG audio.
std::int64_t ScanAudioLengthMs(TBlockFile& file, std::int64_t scanBytes = DefaultScanBytes);
// The same for the file at path.
std::int64_t ScanAudioLengthMs(const std::string& path, std::int64_t scanBytes = DefaultScanBytes);
