// The stored settings: every value's name, kind and default in one table, and typed reads and
// writes through the settings component. A value is reached only through its descriptor here,
// so a misspelt name does not compile instead of quietly storing a new value.
#pragma once

#include "settings/RegAppC.h"

#include <functional>
#include <string>
#include <vector>

namespace Settings {

enum class TKind { String, Bool, Integer };

// A stored value: its name in the settings key and what a reading gives while it is absent.
template <typename TValue>
struct TSetting;

template <>
struct TSetting<std::string> {
    static constexpr TKind Kind = TKind::String;
    const char* Name;
    const char* Default;
};

template <>
struct TSetting<bool> {
    static constexpr TKind Kind = TKind::Bool;
    const char* Name;
    bool Default;
};

template <>
struct TSetting<int> {
    static constexpr TKind Kind = TKind::Integer;
    const char* Name;
    int Default;
};

// A list of texts stored as one value each, named by a prefix and the numbers 1, 2, ...; the
// list ends at the first number without a value, and an absent list is empty.
struct TNumberedSetting {
    static constexpr TKind Kind = TKind::String;
    const char* Prefix;
    std::string Name(int number) const { return Prefix + std::to_string(number); }
};

// The table, in the order the main window writes the values at its close.
inline constexpr TSetting<std::string> PlayerName{"PlayerName", ""};
inline constexpr TNumberedSetting RootPaths{"MP3 Files #"};
inline constexpr TSetting<std::string> SearchBase{"SearchBase", ""};
inline constexpr TSetting<bool> SortAlbums{"SortAlbums", true};
inline constexpr TSetting<bool> MinimizeTray{"MinimizeTray", true};
inline constexpr TSetting<bool> RefreshPref{"RefreshPref", true};
inline constexpr TSetting<int> TopPosition{"TopPosition", 10};
inline constexpr TSetting<int> LeftPosition{"LeftPosition", 10};
// The album time display: 1 hours, 2 minutes, 3 minutes up to MixVal and hours above.
inline constexpr TSetting<int> DispAlbumTime{"DispAlbumTime", 3};
inline constexpr TSetting<int> MixVal{"MixVal", 79};
// The play mode: 0 sequential, 1 local random, 2 full random.
inline constexpr TSetting<int> RandomPlay{"RandomPlay", 0};
// The music folders added from the program, and the catalogue of its own that describes each,
// numbered alike: "Music Folder #n" is described into "Music Catalogue #n".
inline constexpr TNumberedSetting MusicFolders{"Music Folder #"};
inline constexpr TNumberedSetting MusicCatalogues{"Music Catalogue #"};

template <typename TValue>
bool Exists(TRegApp& store, const TSetting<TValue>& setting) {
    return store.ValueExists(setting.Name);
}

// The stored value, or the setting's default when none is stored.
std::string Read(TRegApp& store, const TSetting<std::string>& setting);
bool Read(TRegApp& store, const TSetting<bool>& setting);
int Read(TRegApp& store, const TSetting<int>& setting);

void Write(TRegApp& store, const TSetting<std::string>& setting, const std::string& value);
void Write(TRegApp& store, const TSetting<bool>& setting, bool value);
void Write(TRegApp& store, const TSetting<int>& setting, int value);

// Hands each stored text of the list to add in its numbered order, each as soon as it is read,
// so that a read that fails leaves the texts before it handed over.
void ReadEach(TRegApp& store, const TNumberedSetting& setting,
              const std::function<void(const std::string&)>& add);
// The stored list in its numbered order.
std::vector<std::string> Read(TRegApp& store, const TNumberedSetting& setting);
// The stored texts from number first on, up to the first number without a value, leaving out
// the values that cannot be read as text.
std::vector<std::string> ReadReadable(TRegApp& store, const TNumberedSetting& setting, int first);
// Deletes the stored list, then stores the texts as 1, 2, ...
void Write(TRegApp& store, const TNumberedSetting& setting, const std::vector<std::string>& texts);

} // namespace Settings
