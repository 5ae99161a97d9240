// Text playlists of other players: which reader a file goes to, M3U and text PLS read as the
// common players write them, and the two written forms.
#include "playback/TextPlaylist.h"

#include "playback/PlaylistFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Playback::TPlaylistFormat;
using Playback::TTextEntry;

namespace {

// A record whose bytes beyond the used lengths are not zero, as the earlier program left them:
// only the three length bytes are what the format promises.
std::string RecordWithGarbage(const std::string& name, const std::string& length,
                              const std::string& path) {
    std::string record(Playback::PlaylistRecordSize, 'g');
    record[0] = static_cast<char>(name.size());
    record.replace(1, name.size(), name);
    record[41] = static_cast<char>(length.size());
    record.replace(42, length.size(), length);
    record[52] = static_cast<char>(path.size());
    record.replace(53, path.size(), path);
    return record;
}

} // namespace

// A file of records is never taken for text, and a text file never for records.
TEST(TextPlaylist, TheContentTellsTheFormat) {
    const std::string song = Playback::EncodePlaylist({{"Song", "3'07\"", "/m/a.mp3"}});
    const std::string album = Playback::EncodePlaylist({{"* Album *", "", ""},
                                                        {"   + 01. One", "1'00\"", "/m/1.mp3"},
                                                        {"Single", "Unknown", "/s.mp3"}});
    // A caption of 35 characters gives the length byte "#": this record starts with "#EXTM3U".
    const std::string hashName =
        Playback::EncodePlaylist({{"EXTM3U" + std::string(29, 'x'), "1'00\"", "/m/a.mp3"}});
    ASSERT_TRUE(hashName.starts_with("#EXTM3U"));
    // A caption of 10 characters gives a line feed as length byte, then "[playlist]".
    const std::string pls = Playback::EncodePlaylist({{"[playlist]", "1'00\"", "/m/a.mp3"}});
    // A text of exactly one record's size with a line feed where a length byte would stand.
    std::string recordSized = "#EXTM3U\n#EXTINF:61,A title of twenty-four\n";
    recordSized += std::string(Playback::PlaylistRecordSize - recordSized.size() - 1, 'p') + "\n";
    ASSERT_EQ(recordSized[41], '\n');

    const struct {
        const char* Name;
        std::string Bytes;
        TPlaylistFormat Format;
    } cases[] = {
        {"empty file", "", TPlaylistFormat::Records},
        {"one song record", song, TPlaylistFormat::Records},
        {"album records", album, TPlaylistFormat::Records},
        {"records with garbage in unused bytes",
         RecordWithGarbage("Song", "3'07\"", "/a.mp3") + RecordWithGarbage("* A *", "", ""),
         TPlaylistFormat::Records},
        {"record that starts with #EXTM3U", hashName, TPlaylistFormat::Records},
        {"record that holds [playlist]", pls, TPlaylistFormat::Records},
        {"records cut short", song + song.substr(0, 100), TPlaylistFormat::Records},
        {"damaged length bytes", std::string(1, '\xC8') + song.substr(1), TPlaylistFormat::Records},
        {"extended M3U", "#EXTM3U\n#EXTINF:1,a\n/a.mp3\n", TPlaylistFormat::M3u},
        {"extended M3U, CR LF", "#EXTM3U\r\n/a.mp3\r\n", TPlaylistFormat::M3u},
        {"byte-order mark", "\xEF\xBB\xBF#EXTM3U\n/a.mp3\n", TPlaylistFormat::M3u},
        {"plain list of paths", "/m/a.mp3\n/m/b.mp3", TPlaylistFormat::M3u},
        {"Windows paths", "C:\\Music\\a.mp3\r\n", TPlaylistFormat::M3u},
        {"Windows-1252 text", "#EXTM3U\n#EXTINF:1,Caf\xE9\n/a.mp3\n", TPlaylistFormat::M3u},
        {"text ending in Ctrl-Z", "/a.mp3\r\n\x1A", TPlaylistFormat::M3u},
        {"text of a record's size", recordSized, TPlaylistFormat::M3u},
        {"damaged M3U with a zero byte", std::string("#EXTM3U\n/a.mp3\n\0\n", 17),
         TPlaylistFormat::M3u},
        {"text PLS", "[playlist]\nFile1=/a.mp3\n", TPlaylistFormat::PlsText},
        {"text PLS, other case", "[Playlist]\r\nFile1=/a.mp3\r\n", TPlaylistFormat::PlsText},
        {"text PLS after a mark and a blank line", "\xEF\xBB\xBF\r\n[playlist]\nFile1=/a\n",
         TPlaylistFormat::PlsText},
        {"binary that is no text", std::string("\x01\x02\x03", 3), TPlaylistFormat::Records},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Playback::DetectPlaylistFormat(c.Bytes), c.Format) << c.Name;
}

TEST(TextPlaylist, M3uIsReadAsPlayersWriteIt) {
    const struct {
        const char* Name;
        std::string Bytes;
        std::vector<TTextEntry> Entries;
    } cases[] = {
        {"plain list, LF, no last line end",
         "/m/a.mp3\n/m/b.mp3",
         {{"/m/a.mp3", "", -1}, {"/m/b.mp3", "", -1}}},
        {"extended, CR LF, Windows-1252 title (Winamp)",
         "#EXTM3U\r\n#EXTINF:245,Bj\xF6rk - J\xF3ga\r\nC:\\Music\\J\xF3ga.mp3\r\n",
         {{"C:\\Music\\J\xC3\xB3ga.mp3", "Bj\xC3\xB6rk - J\xC3\xB3ga", 245}}},
        {"UTF-8 with a byte-order mark (M3U8)",
         "\xEF\xBB\xBF#EXTM3U\n#EXTINF:61,Caf\xC3\xA9\n\xE6\x97\xA5.mp3\n",
         {{"\xE6\x97\xA5.mp3", "Caf\xC3\xA9", 61}}},
        {"file URLs and unknown length (VLC, Audacious)",
         "#EXTM3U\n#EXTINF:-1,Live\nfile:///m/Live%20Set.mp3\n",
         {{"file:///m/Live%20Set.mp3", "Live", -1}}},
        {"comments between info and path; blank lines",
         "#EXTM3U\n\n#EXTINF:30,Thirty\n#EXTALB:Album\n#EXTGRP:Group\n\n  rel/a.mp3  \n",
         {{"rel/a.mp3", "Thirty", 30}}},
        {"info applies to one entry only",
         "#EXTINF:10,Ten\na.mp3\nb.mp3\n",
         {{"a.mp3", "Ten", 10}, {"b.mp3", "", -1}}},
        {"attributes with commas in quotes, fractional seconds",
         "#EXTM3U\n#EXTINF:12.7 tvg-name=\"a, b\" group=\"x\",The Title\nhttp://radio/x\n",
         {{"http://radio/x", "The Title", 12}}},
        {"title holding commas",
         "#EXTINF:5,One, Two, Three\nx.mp3\n",
         {{"x.mp3", "One, Two, Three", 5}}},
        {"damaged info line",
         "#EXTINF:abc\nx.mp3\n#EXTINF:\ny.mp3\n",
         {{"x.mp3", "", -1}, {"y.mp3", "", -1}}},
        {"lone CR line ends (old Mac)",
         "#EXTM3U\r#EXTINF:7,Seven\ra.mp3\r",
         {{"a.mp3", "Seven", 7}}},
        {"only comments", "#EXTM3U\n#EXTINF:1,x\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Playback::ReadM3u(c.Bytes), c.Entries) << c.Name;
}

TEST(TextPlaylist, TextPlsIsReadInTheOrderOfItsNumbers) {
    const struct {
        const char* Name;
        std::string Bytes;
        std::vector<TTextEntry> Entries;
    } cases[] = {
        {"as written by common players",
         "[playlist]\nFile1=/m/a.mp3\nTitle1=A\nLength1=61\nFile2=http://s/x\nTitle2=Radio\n"
         "Length2=-1\nNumberOfEntries=2\nVersion=2\n",
         {{"/m/a.mp3", "A", 61}, {"http://s/x", "Radio", -1}}},
        {"keys out of order, any case, CR LF, blanks",
         "[Playlist]\r\nnumberofentries=2\r\ntitle2 = Second\r\nFILE2=b.mp3\r\nfile1=a.mp3\r\n"
         "length1= 5\r\n",
         {{"a.mp3", "", 5}, {"b.mp3", "Second", -1}}},
        {"a number without a file gives nothing",
         "[playlist]\nTitle1=Lost\nFile3=c.mp3\n",
         {{"c.mp3", "", -1}}},
        {"other sections are ignored",
         "[other]\nFile1=no.mp3\n[playlist]\nFile1=yes.mp3\n[more]\nFile2=no.mp3\n",
         {{"yes.mp3", "", -1}}},
        {"Windows-1252 title",
         "[playlist]\nFile1=a.mp3\nTitle1=Caf\xE9\n",
         {{"a.mp3", "Caf\xC3\xA9", -1}}},
        {"numbers beyond nine keep their order",
         "[playlist]\nFile10=j.mp3\nFile2=b.mp3\nFile1=a.mp3\n",
         {{"a.mp3", "", -1}, {"b.mp3", "", -1}, {"j.mp3", "", -1}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Playback::ReadPlsText(c.Bytes), c.Entries) << c.Name;
}

TEST(TextPlaylist, WrittenFormsAreReadBack) {
    const std::vector<TTextEntry> entries = {
        {"/m/Caf\xC3\xA9/01 - One.mp3", "One, with a comma", 187},
        {"/m/two.mp3", "Tw\xC3\xB6", -1},
    };
    const std::string m3u = Playback::WriteM3u(entries);
    EXPECT_EQ(m3u, "#EXTM3U\n#EXTINF:187,One, with a comma\n/m/Caf\xC3\xA9/01 - One.mp3\n"
                   "#EXTINF:-1,Tw\xC3\xB6\n/m/two.mp3\n");
    const std::string pls = Playback::WritePlsText(entries);
    EXPECT_EQ(pls, "[playlist]\nFile1=/m/Caf\xC3\xA9/01 - One.mp3\nTitle1=One, with a comma\n"
                   "Length1=187\nFile2=/m/two.mp3\nTitle2=Tw\xC3\xB6\nLength2=-1\n"
                   "NumberOfEntries=2\nVersion=2\n");
    EXPECT_EQ(Playback::DetectPlaylistFormat(m3u), TPlaylistFormat::M3u);
    EXPECT_EQ(Playback::DetectPlaylistFormat(pls), TPlaylistFormat::PlsText);
    EXPECT_EQ(Playback::ReadM3u(m3u), entries);
    EXPECT_EQ(Playback::ReadPlsText(pls), entries);
    // A line break in a title would start a new line of the playlist.
    EXPECT_EQ(Playback::WriteM3u({{"/a.mp3", "two\r\nlines", 1}}),
              "#EXTM3U\n#EXTINF:1,two  lines\n/a.mp3\n");
}
