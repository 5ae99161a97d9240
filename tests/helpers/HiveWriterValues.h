// The key and the values that the hive_writer helper writes, shared with the tests that
// check what it left behind.
#pragma once

#include <string>

inline constexpr const char* HiveWriterKey = "SOFTWARE\\Tunestead Tests\\Writer";

// Value number i: a few kilobytes, so that each rewrite of the hive takes a while, with bytes
// that must be written as hex, quotes and backslashes.
inline std::string HiveWriterData(int i) {
    std::string data = "\"C:\\Music\\" + std::to_string(i) + "\"";
    data.append(static_cast<std::size_t>(1500 + i % 7), static_cast<char>('a' + i % 26));
    if (i % 3 == 0)
        data += std::string("\r\n\0\xff", 4);
    return data;
}
