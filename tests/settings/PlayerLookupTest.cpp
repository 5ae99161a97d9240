// The player proposed on the first run, taken from the association command of MP3 files or
// from the file type that opens them.
#include "settings/PlayerLookup.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

TEST(PlayerLookup, TakesTheProgramOfTheAssociationCommand) {
    const struct {
        const char* Command;
        const char* Player;
    } cases[] = {
        {"C:\\PLAYER\\PLAY.EXE /ADD %1", "C:\\PLAYER\\PLAY.EXE"},
        {"c:\\player\\play.Exe", "c:\\player\\play.Exe"},
        // A quoted path, as old-style associations write it: the quotes go, blanks inside stay.
        {"\"C:\\Program Files\\Player\\player.exe\" \"%1\"",
         "C:\\Program Files\\Player\\player.exe"},
        {"  \"C:\\Player\\player.EXE\" /play \"%L\"", "C:\\Player\\player.EXE"},
        // Only the first ".exe" counts, even inside a folder name.
        {"\"C:\\old.exe.d\\player.exe\" %1", "C:\\old.exe"},
        // Without ".exe": the first word, from inside its quotes.
        {"/usr/bin/mpv --player-operation-mode=pseudo-gui -- %U", "/usr/bin/mpv"},
        {"\"/opt/my player/run\" %1", "/opt/my player/run"},
        {"\"/opt/unclosed player", "/opt/unclosed player"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Command);
        EXPECT_EQ(PlayerFromCommand(c.Command), c.Player);
    }
}

TEST(PlayerLookup, TakesTheProgramPathOfAFileTypesOpenCommand) {
    const struct {
        const char* Command;
        const char* Player;
    } cases[] = {
        // A quoted path ends at its closing quotation mark, whatever ".exe" lies inside it.
        {"\"C:\\old.exe.d\\player.exe\" %1", "C:\\old.exe.d\\player.exe"},
        {"  \"C:\\Program Files\\VLC\\vlc.exe\" --started-from-file \"%1\"",
         "C:\\Program Files\\VLC\\vlc.exe"},
        {"\"%ProgramFiles%\\Player\\play\" /open \"%L\"", "%ProgramFiles%\\Player\\play"},
        {"\"C:\\unclosed player.exe", "C:\\unclosed player.exe"},
        // An unquoted path may hold blanks: it ends after ".exe".
        {"C:\\Program Files\\Player\\Player.EXE /play %1", "C:\\Program Files\\Player\\Player.EXE"},
        {"\"\" %1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Command);
        EXPECT_EQ(ProgramOfOpenCommand(c.Command), c.Player);
    }
}

TEST(PlayerLookup, ExpandsTheVariablesThatAreSet) {
    const auto variable = [](const std::string& name) -> std::optional<std::string> {
        if (name == "ProgramFiles")
            return "C:\\Program Files";
        if (name == "ProgramFiles(x86)")
            return "C:\\Program Files (x86)";
        if (name == "PCT")
            return "100%";
        if (name == "EMPTY")
            return "";
        return std::nullopt;
    };
    const struct {
        const char* Text;
        const char* Expanded;
    } cases[] = {
        {"%ProgramFiles%\\Player\\play.exe", "C:\\Program Files\\Player\\play.exe"},
        {"%ProgramFiles(x86)%\\a;%ProgramFiles%\\b",
         "C:\\Program Files (x86)\\a;C:\\Program Files\\b"},
        {"%UNSET%\\play.exe", "%UNSET%\\play.exe"},
        {"C:\\%EMPTY%play.exe", "C:\\play.exe"},
        // A value is not expanded again.
        {"%PCT%PCT%", "100%PCT%"},
        {"50%\\play.exe", "50%\\play.exe"},
        {"a%%b", "a%%b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ExpandVariables(c.Text, variable), c.Expanded);
    }
}

namespace {
const char* const UserChoice =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.mp3\\UserChoice";

// A registry holding only the given text values, each named by root, key path and value name.
struct TFakeAssociations {
    struct TValue {
        platform::HKEY Root;
        std::string Key, Name, Text;
    };
    std::vector<TValue> Values;

    std::optional<std::string> Read(platform::HKEY root, const std::string& key,
                                    const std::string& name) const {
        for (const auto& value : Values)
            if (value.Root == root && value.Key == key && value.Name == name)
                return value.Text;
        return std::nullopt;
    }
};
} // namespace

TEST(PlayerLookup, FollowsTheUsersChoiceThenTheExtensionToAnOpenCommand) {
    using platform::HKEY_CLASSES_ROOT;
    using platform::HKEY_CURRENT_USER;
    const TFakeAssociations::TValue choiceVlc{HKEY_CURRENT_USER, UserChoice, "ProgId", "VLC.mp3"};
    const TFakeAssociations::TValue vlc{HKEY_CLASSES_ROOT, "VLC.mp3\\shell\\open\\command", "",
                                        "\"C:\\VLC\\vlc.exe\" --started-from-file \"%1\""};
    const TFakeAssociations::TValue extensionWmp{HKEY_CLASSES_ROOT, ".mp3", "", "WMP11.mp3"};
    const TFakeAssociations::TValue wmp{
        HKEY_CLASSES_ROOT, "WMP11.mp3\\shell\\open\\command", "",
        "\"%ProgramFiles%\\Windows Media Player\\wmplayer.exe\" /prefetch:6 /Open \"%L\""};
    const struct {
        const char* Case;
        std::vector<TFakeAssociations::TValue> Values;
        const char* Player;
    } cases[] = {
        {"the user's choice first", {choiceVlc, vlc, extensionWmp, wmp}, "C:\\VLC\\vlc.exe"},
        {"no choice: the extension's file type, its variables expanded",
         {vlc, extensionWmp, wmp},
         "C:\\Program Files\\Windows Media Player\\wmplayer.exe"},
        {"a chosen file type without a command gives way",
         {choiceVlc, extensionWmp, wmp},
         "C:\\Program Files\\Windows Media Player\\wmplayer.exe"},
        {"a chosen file type with an empty command gives way",
         {choiceVlc, {HKEY_CLASSES_ROOT, vlc.Key, "", ""}, extensionWmp, wmp},
         "C:\\Program Files\\Windows Media Player\\wmplayer.exe"},
        {"an empty choice counts as none",
         {{HKEY_CURRENT_USER, UserChoice, "ProgId", ""}, extensionWmp, wmp},
         "C:\\Program Files\\Windows Media Player\\wmplayer.exe"},
        {"the choice is the user's, not a file type's value",
         {{HKEY_CLASSES_ROOT, UserChoice, "ProgId", "VLC.mp3"}, vlc},
         ""},
        {"an application registered by its program's name",
         {{HKEY_CURRENT_USER, UserChoice, "ProgId", "Applications\\foobar2000.exe"},
          {HKEY_CLASSES_ROOT, "Applications\\foobar2000.exe\\shell\\open\\command", "",
           "D:\\Apps\\foobar2000\\foobar2000.exe /play \"%1\""}},
         "D:\\Apps\\foobar2000\\foobar2000.exe"},
        {"the extension names a file type without a command", {extensionWmp}, ""},
        {"the extension names no file type", {{HKEY_CLASSES_ROOT, ".mp3", "", ""}, wmp}, ""},
        {"nothing registered", {}, ""},
        {"a command only in the default verb's place",
         {extensionWmp, {HKEY_CLASSES_ROOT, "WMP11.mp3\\shell\\play\\command", "", "play.exe"}},
         ""},
    };
    const auto variable = [](const std::string& name) -> std::optional<std::string> {
        return name == "ProgramFiles" ? std::optional<std::string>("C:\\Program Files")
                                      : std::nullopt;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        const TFakeAssociations registry{c.Values};
        const auto read = [&registry](platform::HKEY root, const std::string& key,
                                      const std::string& name) {
            return registry.Read(root, key, name);
        };
        EXPECT_EQ(PlayerOfFileType(read, variable), c.Player);
    }
}
