// One registry hive in memory, and its REGEDIT4 text form: the parser and the serialiser
// of the POSIX hive files. Data are kept byte for byte; names compare without ASCII case.
#pragma once

#include "platform/Registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::hive {

struct TValue {
    std::string Name; // empty for the key's default value
    DWORD Type = REG_NONE;
    std::string Data; // the exact bytes
};

struct TKey {
    std::string Name;
    std::vector<TValue> Values;
    std::vector<TKey> SubKeys;

    TKey* FindSubKey(std::string_view name);
    const TKey* FindSubKey(std::string_view name) const;
    TValue* FindValue(std::string_view name);
    const TValue* FindValue(std::string_view name) const;
    // The sub key of that name, added if absent; created tells whether it was.
    TKey& SubKey(std::string_view name, bool& created);
};

// Key and value names compare as Windows compares them: ASCII letters without regard to case.
bool SameName(std::string_view a, std::string_view b);

// The key at the end of path below root, or null.
TKey* FindPath(TKey& root, const std::vector<std::string>& path);
const TKey* FindPath(const TKey& root, const std::vector<std::string>& path);

// Reads a hive file's text. rootName ("HKEY_CURRENT_USER", ...) is the only root its key headers
// may name. On failure gives nothing and sets error to the line and the reason.
std::optional<TKey> ParseHive(std::string_view text, std::string_view rootName, std::string& error);

// The text of a hive file: "REGEDIT4", then every key (each empty key too) with its values.
std::string SerialiseHive(const TKey& root, std::string_view rootName);

} // namespace platform::hive
