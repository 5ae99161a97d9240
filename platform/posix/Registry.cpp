// The registry interface on POSIX: key handles over the hive files, with the results, types and
// size rules of the Windows calls.
#include "platform/Registry.h"

#include "platform/posix/HiveStore.h"

#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {

namespace {

using hive::THiveFile;
using hive::TKey;

struct TOpenKey {
    THiveFile File;
    std::vector<std::string> Path; // names as stored, below the root
    REGSAM Access = 0;
};

std::mutex ApiMutex; // one call at a time: the handle table, and one change per hive
std::map<std::uintptr_t, TOpenKey> OpenKeys;
std::uintptr_t NextHandle = 0x1000;

// Hands the warnings that a call raised to the program once the call has let go of its lock.
class TCall {
public:
    TCall() : FGuard(ApiMutex) {}
    TCall(const TCall&) = delete;
    TCall& operator=(const TCall&) = delete;
    ~TCall() {
        FGuard.unlock();
        hive::DeliverWarnings();
    }

private:
    std::unique_lock<std::mutex> FGuard;
};

std::optional<std::string> PredefinedRootName(HKEY key) {
    if (key == HKEY_CLASSES_ROOT)
        return "HKEY_CLASSES_ROOT";
    if (key == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (key == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    if (key == HKEY_USERS)
        return "HKEY_USERS";
    return std::nullopt;
}

std::optional<TOpenKey> Resolve(HKEY key) {
    if (auto root = PredefinedRootName(key))
        return TOpenKey{hive::HiveFileOf(*root), {}, KEY_ALL_ACCESS};
    const auto found = OpenKeys.find(reinterpret_cast<std::uintptr_t>(key));
    if (found == OpenKeys.end())
        return std::nullopt;
    return found->second;
}

HKEY AddHandle(TOpenKey key) {
    const auto handle = NextHandle;
    NextHandle += 4;
    OpenKeys.emplace(handle, std::move(key));
    return reinterpret_cast<HKEY>(handle);
}

bool HasLineBreak(const char* name) {
    return std::strpbrk(name, "\r\n") != nullptr;
}

// Splits a sub key path at its backslashes. A path that begins with a backslash or holds an
// empty name is refused; one trailing backslash is allowed.
LONG SplitSubKey(const char* subKey, std::vector<std::string>& names) {
    names.clear();
    if (subKey == nullptr || subKey[0] == '\0')
        return ERROR_SUCCESS;
    if (HasLineBreak(subKey))
        return ERROR_INVALID_PARAMETER;
    std::string_view rest(subKey);
    if (rest.back() == '\\')
        rest.remove_suffix(1);
    while (true) {
        const auto end = rest.find('\\');
        const auto name = rest.substr(0, end);
        if (name.empty())
            return ERROR_BAD_PATHNAME;
        names.emplace_back(name);
        if (end == std::string_view::npos)
            return ERROR_SUCCESS;
        rest.remove_prefix(end + 1);
    }
}

std::vector<std::string> Joined(const std::vector<std::string>& base,
                                const std::vector<std::string>& names) {
    auto path = base;
    path.insert(path.end(), names.begin(), names.end());
    return path;
}

// The names along path as the hive stores them, so that a handle keeps the stored spelling.
std::vector<std::string> StoredNames(const TKey& root, const std::vector<std::string>& path) {
    std::vector<std::string> stored;
    const TKey* key = &root;
    for (const auto& name : path) {
        key = key->FindSubKey(name);
        stored.push_back(key->Name);
    }
    return stored;
}

const char* NameOrDefault(const char* name) {
    return name == nullptr ? "" : name;
}

// What creating and opening a key begin with: the result cleared, the parent key resolved
// and the sub key's path split into names.
LONG BeginKeyCall(HKEY hKey, const char* lpSubKey, HKEY* phkResult, std::optional<TOpenKey>& parent,
                  std::vector<std::string>& names) {
    if (phkResult == nullptr)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    parent = Resolve(hKey);
    if (!parent)
        return ERROR_INVALID_HANDLE;
    return SplitSubKey(lpSubKey, names);
}

// What the value calls begin with: the handle resolved to its key, which must have been opened
// with the access that the call needs.
LONG ResolveWithAccess(HKEY hKey, REGSAM needed, std::optional<TOpenKey>& key) {
    key = Resolve(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    if ((key->Access & needed) == 0)
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

// The key as stored now: its hive loaded into stored, and found pointing at the key in it. A key
// deleted since its handle was opened gives ERROR_KEY_DELETED.
LONG LoadKey(const TOpenKey& key, TKey& stored, const TKey*& found) {
    if (const LONG loaded = hive::LoadHive(key.File, stored); loaded != ERROR_SUCCESS)
        return loaded;
    found = hive::FindPath(stored, key.Path);
    return found == nullptr ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

// Applies change to the key under its hive's lock, as the hive holds it at that moment.
LONG ChangeKey(const TOpenKey& key,
               const std::function<LONG(TKey& target, bool& changed)>& change) {
    return hive::ChangeHive(key.File, [&](TKey& root, bool& changed) {
        TKey* target = hive::FindPath(root, key.Path);
        if (target == nullptr)
            return ERROR_KEY_DELETED;
        return change(*target, changed);
    });
}

} // namespace

LONG RegCreateKeyExA(HKEY hKey, const char* lpSubKey, DWORD, char*, DWORD, REGSAM samDesired,
                     const SECURITY_ATTRIBUTES*, HKEY* phkResult, DWORD* lpdwDisposition) {
    TCall call;
    std::optional<TOpenKey> parent;
    std::vector<std::string> names;
    if (const LONG begun = BeginKeyCall(hKey, lpSubKey, phkResult, parent, names);
        begun != ERROR_SUCCESS)
        return begun;
    const auto path = Joined(parent->Path, names);

    TKey stored;
    bool createdAny = false;
    LONG result = hive::LoadHive(parent->File, stored);
    if (result == ERROR_SUCCESS && hive::FindPath(stored, path) == nullptr) {
        result = hive::ChangeHive(parent->File, [&](TKey& root, bool& changed) {
            TKey* key = hive::FindPath(root, parent->Path);
            if (key == nullptr)
                return ERROR_KEY_DELETED;
            for (const auto& name : names) {
                if (key->FindSubKey(name) == nullptr && (parent->Access & KEY_CREATE_SUB_KEY) == 0)
                    return ERROR_ACCESS_DENIED;
                bool created = false;
                key = &key->SubKey(name, created);
                changed = changed || created;
            }
            createdAny = changed;
            stored = root;
            return ERROR_SUCCESS;
        });
    }
    if (result != ERROR_SUCCESS)
        return result;
    if (lpdwDisposition != nullptr)
        *lpdwDisposition = createdAny ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *phkResult = AddHandle({parent->File, StoredNames(stored, path), samDesired});
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExA(HKEY hKey, const char* lpSubKey, DWORD, REGSAM samDesired, HKEY* phkResult) {
    TCall call;
    std::optional<TOpenKey> parent;
    std::vector<std::string> names;
    if (const LONG begun = BeginKeyCall(hKey, lpSubKey, phkResult, parent, names);
        begun != ERROR_SUCCESS)
        return begun;
    TKey stored;
    const TKey* parentKey = nullptr;
    if (const LONG loaded = LoadKey(*parent, stored, parentKey); loaded != ERROR_SUCCESS)
        return loaded;
    const auto path = Joined(parent->Path, names);
    if (hive::FindPath(stored, path) == nullptr)
        return ERROR_FILE_NOT_FOUND;
    *phkResult = AddHandle({parent->File, StoredNames(stored, path), samDesired});
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                      BYTE* lpData, DWORD* lpcbData) {
    TCall call;
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr))
        return ERROR_INVALID_PARAMETER;
    std::optional<TOpenKey> key;
    if (const LONG resolved = ResolveWithAccess(hKey, KEY_QUERY_VALUE, key);
        resolved != ERROR_SUCCESS)
        return resolved;
    TKey stored;
    const TKey* found = nullptr;
    if (const LONG loaded = LoadKey(*key, stored, found); loaded != ERROR_SUCCESS)
        return loaded;
    const auto* value = found->FindValue(NameOrDefault(lpValueName));
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    if (lpType != nullptr)
        *lpType = value->Type;
    const auto size = static_cast<DWORD>(value->Data.size());
    if (lpData == nullptr) {
        if (lpcbData != nullptr)
            *lpcbData = size;
        return ERROR_SUCCESS;
    }
    const DWORD room = *lpcbData;
    *lpcbData = size;
    if (room < size)
        return ERROR_MORE_DATA;
    std::memcpy(lpData, value->Data.data(), size);
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY hKey, const char* lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    TCall call;
    std::optional<TOpenKey> key;
    if (const LONG resolved = ResolveWithAccess(hKey, KEY_SET_VALUE, key);
        resolved != ERROR_SUCCESS)
        return resolved;
    const char* name = NameOrDefault(lpValueName);
    if ((lpData == nullptr && cbData > 0) || HasLineBreak(name))
        return ERROR_INVALID_PARAMETER;
    const std::string data(reinterpret_cast<const char*>(lpData), lpData == nullptr ? 0 : cbData);

    // Storing what is already stored changes nothing, and needs no write.
    TKey stored;
    if (const TKey* found = nullptr; LoadKey(*key, stored, found) == ERROR_SUCCESS)
        if (const auto* value = found->FindValue(name))
            if (value->Type == dwType && value->Data == data)
                return ERROR_SUCCESS;

    return ChangeKey(*key, [&](TKey& target, bool& changed) {
        if (auto* value = target.FindValue(name)) {
            value->Type = dwType;
            value->Data = data;
        } else {
            target.Values.push_back({name, dwType, data});
        }
        changed = true;
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValueA(HKEY hKey, const char* lpValueName) {
    TCall call;
    std::optional<TOpenKey> key;
    if (const LONG resolved = ResolveWithAccess(hKey, KEY_SET_VALUE, key);
        resolved != ERROR_SUCCESS)
        return resolved;
    const char* name = NameOrDefault(lpValueName);
    TKey stored;
    const TKey* found = nullptr;
    if (const LONG loaded = LoadKey(*key, stored, found); loaded != ERROR_SUCCESS)
        return loaded;
    if (found->FindValue(name) == nullptr)
        return ERROR_FILE_NOT_FOUND;
    return ChangeKey(*key, [&](TKey& target, bool& changed) {
        auto& values = target.Values;
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (hive::SameName(it->Name, name)) {
                values.erase(it);
                changed = true;
                return ERROR_SUCCESS;
            }
        }
        return ERROR_FILE_NOT_FOUND;
    });
}

LONG RegCloseKey(HKEY hKey) {
    TCall call;
    if (PredefinedRootName(hKey))
        return ERROR_SUCCESS;
    return OpenKeys.erase(reinterpret_cast<std::uintptr_t>(hKey)) == 1 ? ERROR_SUCCESS
                                                                       : ERROR_INVALID_HANDLE;
}

void SetRegistryWarningHandler(std::function<void(const std::string&)> handler) {
    hive::SetWarningHandler(std::move(handler));
}

void SetRegistryFolderForTesting(const std::filesystem::path& folder) {
    hive::SetFolderOverride(folder);
}

} // namespace platform
