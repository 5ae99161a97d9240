// Captions of playlist records as they come back: whole, except a UTF-8 character that the end
// of a full name field cut.
#include "playback/PlaylistFile.h"

#include <gtest/gtest.h>

using namespace Playback;

TEST(PlaylistCaption, OnlyAFullNameFieldLosesACutUtf8Character) {
    const std::string ascii39(39, 'a');
    const std::string accented = "01. \xC3\x89t\xC3\xA9 " + std::string(28, 'a');
    const struct {
        std::string saved;
        std::string loaded;
    } cases[] = {
        {"01. Caf\xE9", "01. Caf\xE9"},
        {"01. Zo\xEB", "01. Zo\xEB"},
        {"01. Caf\xC3\xA9", "01. Caf\xC3\xA9"},
        // Cut at byte 40 inside "é", and inside a three-byte character.
        {ascii39 + "\xC3\xA9", ascii39},
        {accented + "\xE6\x97\xA5", accented},
        // Windows-1252 text that is not UTF-8 before its last letter keeps it.
        {"\xE9t\xE9" + std::string(36, 'a') + "\xE9", "\xE9t\xE9" + std::string(36, 'a') + "\xE9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        const auto loaded = DecodePlaylist(EncodePlaylist({{c.saved, "1'00\"", "/a.mp3"}}));
        ASSERT_EQ(loaded.Entries.size(), 1u);
        EXPECT_EQ(loaded.Entries[0].Caption, c.loaded);
    }
}
