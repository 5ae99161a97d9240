// The player proposed on the first run, taken from the association command of MP3 files.
#include "settings/PlayerLookup.h"

#include <gtest/gtest.h>

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
