// Registry access for the settings: a selected root, at most one open key with its path, and
// typed reads and writes that raise ERegistryException; and its INI-style reader.
#pragma once

#include "platform/Registry.h"

#include <string>

class TRegistry {
public:
    // Root HKEY_CURRENT_USER, no open key; keys are opened with the given access.
    explicit TRegistry(platform::REGSAM access = platform::KEY_ALL_ACCESS);
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    platform::HKEY RootKey() const { return FRootKey; }
    // Selecting another root closes the open key.
    void SetRootKey(platform::HKEY rootKey);
    // The open key, or null when none is open.
    platform::HKEY CurrentKey() const { return FCurrentKey; }
    const std::string& CurrentPath() const { return FCurrentPath; }

    // A key path that begins with "\" is taken from the root; any other from the open key
    // (from the root when none is open).
    // Creates the key and closes it again; raises "Failed to create key %s" on failure.
    void CreateKey(const std::string& key);
    // Opens the key (creating it if canCreate) in place of the open one; false on failure.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();

    // Value operations on the open key; the empty name is the key's default value.
    bool ValueExists(const std::string& name) const;
    // The value's data size in bytes, or -1 when it cannot be queried.
    int GetDataSize(const std::string& name) const;
    // A text value up to its first zero byte; empty when absent or of size 0.
    std::string ReadString(const std::string& name) const;
    int ReadInteger(const std::string& name) const;
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    // True when the value was there and is gone.
    bool DeleteValue(const std::string& name);

protected:
    // The handle a key path is opened from, and the path without its leading "\".
    platform::HKEY BaseKey(const std::string& key, std::string& relative) const;
    // Makes key the open key without closing the one open before.
    void SetCurrentKey(platform::HKEY key) { FCurrentKey = key; }
    platform::REGSAM Access() const { return FAccess; }

private:
    // Reads a value into buffer (size bytes at most); gives the size read and the type.
    platform::DWORD GetData(const std::string& name, void* buffer, platform::DWORD size,
                            platform::DWORD& type) const;
    void PutData(const std::string& name, const void* buffer, platform::DWORD size,
                 platform::DWORD type);

    platform::HKEY FRootKey;
    platform::HKEY FCurrentKey = nullptr;
    std::string FCurrentPath;
    platform::REGSAM FAccess;
};

// A registry key seen as an INI file: sections are its sub keys, entries their values.
class TRegIniFile : public TRegistry {
public:
    // Opens (creating if missing) the key under rootKey; on failure no key is open and
    // sections are looked up under the root itself.
    explicit TRegIniFile(const std::string& fileName,
                         platform::HKEY rootKey = platform::HKEY_CURRENT_USER);

    const std::string& FileName() const { return FFileName; }
    using TRegistry::ReadString;
    // The entry's text, or defaultValue when the section or the entry is absent.
    std::string ReadString(const std::string& section, const std::string& entry,
                           const std::string& defaultValue);

private:
    std::string FFileName;
};
