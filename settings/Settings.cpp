#include "settings/Settings.h"

#include "platform/Errors.h"

namespace Settings {

std::string Read(TRegApp& store, const TSetting<std::string>& setting) {
    return Exists(store, setting) ? store.ReadString(setting.Name) : setting.Default;
}

bool Read(TRegApp& store, const TSetting<bool>& setting) {
    return Exists(store, setting) ? store.ReadBool(setting.Name) : setting.Default;
}

int Read(TRegApp& store, const TSetting<int>& setting) {
    return Exists(store, setting) ? store.ReadInteger(setting.Name) : setting.Default;
}

void Write(TRegApp& store, const TSetting<std::string>& setting, const std::string& value) {
    store.WriteString(setting.Name, value);
}

void Write(TRegApp& store, const TSetting<bool>& setting, bool value) {
    store.WriteBool(setting.Name, value);
}

void Write(TRegApp& store, const TSetting<int>& setting, int value) {
    store.WriteInteger(setting.Name, value);
}

void ReadEach(TRegApp& store, const TNumberedSetting& setting,
              const std::function<void(const std::string&)>& add) {
    for (int n = 1; store.ValueExists(setting.Name(n)); ++n)
        add(store.ReadString(setting.Name(n)));
}

std::vector<std::string> Read(TRegApp& store, const TNumberedSetting& setting) {
    std::vector<std::string> texts;
    ReadEach(store, setting, [&texts](const std::string& text) { texts.push_back(text); });
    return texts;
}

std::vector<std::string> ReadReadable(TRegApp& store, const TNumberedSetting& setting, int first) {
    std::vector<std::string> texts;
    for (int n = first; store.ValueExists(setting.Name(n)); ++n) {
        try {
            texts.push_back(store.ReadString(setting.Name(n)));
        } catch (const ERegistryException&) {
            // A value of another kind holds no text to keep.
        }
    }
    return texts;
}

void Write(TRegApp& store, const TNumberedSetting& setting, const std::vector<std::string>& texts) {
    for (int n = 1; store.ValueExists(setting.Name(n)); ++n)
        store.DeleteValue(setting.Name(n));
    for (std::size_t i = 0; i < texts.size(); ++i)
        store.WriteString(setting.Name(static_cast<int>(i) + 1), texts[i]);
}

} // namespace Settings
