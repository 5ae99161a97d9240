// The length of the MPEG audio really held by a song file, found by counting its frames with
// libmpg123 (a scan of the frame headers, without decoding). A Xing, Info or VBRI header frame
// is not trusted for the length: a file cut short keeps the header of the whole song, and a
// file without one would only be estimated from its first frame.
#pragma once

#include <cstdint>
#include <string>

// The length of the file's audio in milliseconds. The search for the first frame is bounded
// (libmpg123 gives up after 64 KiB of bytes that are no MPEG audio, behind an ID3v2 tag, which
// it skips by its size), so a large file that holds no audio costs little. Throws EError when
// the file cannot be read or holds no MPEG audio.
std::int64_t ScanAudioLengthMs(const std::string& path);
