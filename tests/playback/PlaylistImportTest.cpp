// Playlists of other players taken into the editor, and the editor's list written for them:
// where each entry leads, what becomes of it, and the round trip through both text forms.
#include "playback/PlaylistImport.h"
#include "playback/PlaylistExport.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using Playback::TLocation;
using Playback::TPathStyle;
using Playback::TPlaylistEntry;
using Playback::TPlaylistFormat;

TEST(PlaylistImport, LocationsAreReadAgainstThePlaylistsFolder) {
    constexpr auto posix = TPathStyle::psPosix;
    constexpr auto windows = TPathStyle::psWindows;
    const struct {
        const char* Location;
        const char* Folder;
        TPathStyle Style;
        TLocation Expected;
    } cases[] = {
        {"/m/a.mp3", "/lists/", posix, {TLocation::lkFile, "/m/a.mp3"}},
        {"a.mp3", "/lists/", posix, {TLocation::lkFile, "/lists/a.mp3"}},
        {"./sub/a.mp3", "/lists/", posix, {TLocation::lkFile, "/lists/sub/a.mp3"}},
        {"../m/a.mp3", "/lists/", posix, {TLocation::lkFile, "/lists/../m/a.mp3"}},
        {"Album\\01.mp3", "/lists/", posix, {TLocation::lkFile, "/lists/Album/01.mp3"}},
        {"file:///m/Caf%C3%A9%20Song.mp3",
         "/lists/",
         posix,
         {TLocation::lkFile, "/m/Caf\xC3\xA9 Song.mp3"}},
        {"file://localhost/m/a.mp3", "/lists/", posix, {TLocation::lkFile, "/m/a.mp3"}},
        {"FILE:///m/100%.mp3", "/lists/", posix, {TLocation::lkFile, "/m/100%.mp3"}},
        {"http://radio.example/stream", "/lists/", posix, {TLocation::lkStream, ""}},
        {"https://x/y.mp3", "/lists/", posix, {TLocation::lkStream, ""}},
        {"rtsp://x/y", "/lists/", posix, {TLocation::lkStream, ""}},
        {"C:\\Music\\a.mp3", "C:\\Lists\\", windows, {TLocation::lkFile, "C:\\Music\\a.mp3"}},
        {"C:/Music/a.mp3", "C:\\Lists\\", windows, {TLocation::lkFile, "C:\\Music\\a.mp3"}},
        {"Album\\01.mp3", "D:\\Lists\\", windows, {TLocation::lkFile, "D:\\Lists\\Album\\01.mp3"}},
        {"\\Music\\a.mp3", "D:\\Lists\\", windows, {TLocation::lkFile, "D:\\Music\\a.mp3"}},
        {"Album/01.mp3", "D:\\Lists/", windows, {TLocation::lkFile, "D:\\Lists\\Album\\01.mp3"}},
        {"\\\\server\\share\\a.mp3",
         "D:\\Lists\\",
         windows,
         {TLocation::lkFile, "\\\\server\\share\\a.mp3"}},
        {"file:///C:/Music/My%20Song.mp3",
         "D:\\Lists\\",
         windows,
         {TLocation::lkFile, "C:\\Music\\My Song.mp3"}},
        {"file://server/share/a.mp3",
         "D:\\Lists\\",
         windows,
         {TLocation::lkFile, "\\\\server\\share\\a.mp3"}},
        {"mms://x/y", "D:\\Lists\\", windows, {TLocation::lkStream, ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Playback::ResolveLocation(c.Location, c.Folder, c.Style), c.Expected)
            << c.Location;
}

TEST(PlaylistImport, EntriesBecomeSingleSongsAndMissingFilesAreCounted) {
    const std::set<std::string> present = {"/lists/a.mp3", "/m/b.mp3"};
    const auto exists = [&present](const std::string& path) { return present.contains(path); };
    const std::string m3u = "#EXTM3U\r\n#EXTINF:187,Title A\r\na.mp3\r\n"
                            "/m/b.mp3\r\n"
                            "#EXTINF:3600,Gone\r\nfile:///m/gone.mp3\r\n"
                            "#EXTINF:-1,Radio\r\nhttp://radio/x\r\n"
                            "http://radio/y\r\n"
                            "#EXTINF:5,* Intro *\r\n/m/b.mp3\r\n"
                            "#EXTINF:6,*  Outro\r\n/m/b.mp3\r\n";
    const auto imported = Playback::ImportTextPlaylist(m3u, TPlaylistFormat::M3u, "/lists/", exists,
                                                       TPathStyle::psPosix);
    EXPECT_EQ(imported.Entries, (std::vector<TPlaylistEntry>{
                                    {"Title A", "3'07\"", "/lists/a.mp3"},
                                    {"b.mp3", "Unknown", "/m/b.mp3"},
                                    {"Gone", "60'00\"", "/m/gone.mp3"},
                                    // Never taken for an album header.
                                    {"*Intro *", "0'05\"", "/m/b.mp3"},
                                    {"*Outro", "0'06\"", "/m/b.mp3"},
                                }));
    EXPECT_EQ(imported.Missing, 1u);
    EXPECT_EQ(imported.Streams, 2u);
    EXPECT_EQ(Playback::ImportReportText(imported),
              "1 file(s) of the playlist were not found. They are kept in the list.\r"
              "2 stream(s) (http:// and other addresses) were left out: the playlist holds only "
              "files.");
    EXPECT_EQ(Playback::ImportReportText({{}, 0, 1}),
              "1 stream(s) (http:// and other addresses) were left out: the playlist holds only "
              "files.");
    EXPECT_EQ(Playback::ImportReportText({{}, 0, 0}), "");
}

TEST(PlaylistExport, SongsAreWrittenWithTheirTitlesAndSeconds) {
    const std::vector<TPlaylistEntry> list = {
        {"* Album *", "", ""},
        {"   + 01. First", "3'07\"", "/m/Album/01.mp3"},
        {"   + 02. Second", "Unknown", "/m/Album/02.mp3"},
        {"Caf\xE9 single", "61'05\"", "/m/single.mp3"},
        {"Damaged record without a path", "1'00\"", ""},
    };
    EXPECT_EQ(Playback::ExportEntries(list, ""), (std::vector<Playback::TTextEntry>{
                                                     {"/m/Album/01.mp3", "01. First", 187},
                                                     {"/m/Album/02.mp3", "02. Second", -1},
                                                     {"/m/single.mp3", "Caf\xC3\xA9 single", 3665},
                                                 }));
}

TEST(PlaylistExport, BothTextFormsGiveTheSameSingleSongsBack) {
    const std::vector<TPlaylistEntry> list = {
        {"One", "3'07\"", "/m/one.mp3"},
        {"Two, with a comma", "Unknown", "/m/two.mp3"},
        {"Three", "0'09\"", "/m/Dir with blanks/three.mp3"},
        {"Long", "125'00\"", "/m/long.mp3"},
    };
    const auto exported = Playback::ExportEntries(list, "");
    const auto exists = [](const std::string&) { return true; };
    for (const auto& text : {Playback::WriteM3u(exported), Playback::WritePlsText(exported)}) {
        const auto imported = Playback::ImportTextPlaylist(
            text, Playback::DetectPlaylistFormat(text), "/elsewhere/", exists, TPathStyle::psPosix);
        EXPECT_EQ(imported.Entries, list) << text;
        EXPECT_EQ(imported.Missing + imported.Streams, 0u);
    }
}

TEST(PlaylistExport, LinksOfTheCatalogueAreWrittenAsTheRealFiles) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need administrator rights or developer mode on Windows";
#else
    TTempDir dir;
    const auto real = dir.Write("Music/Artist/Album (2001)/01 - A Long Song Title.mp3", "mp3");
    const auto links = dir.Path() / "catalogues" / "Music" / "ARTIST" / "ALBUM";
    std::filesystem::create_directories(links);
    std::filesystem::create_symlink(real, links / "01ALONGS.MP3");
    const auto elsewhere = dir.Path() / "other.mp3";
    std::filesystem::create_symlink(real, elsewhere);
    const std::string linkFolder = (dir.Path() / "catalogues").string() + "/";

    const auto exported =
        Playback::ExportEntries({{"Song", "1'00\"", (links / "01ALONGS.MP3").string()},
                                 {"Other", "1'00\"", elsewhere.string()},
                                 {"Broken", "1'00\"", (links / "GONE.MP3").string()}},
                                linkFolder);
    ASSERT_EQ(exported.size(), 3u);
    EXPECT_EQ(exported[0].Location, std::filesystem::canonical(real).string());
    // Only the describe tool's links are followed; any other path stays as the list names it.
    EXPECT_EQ(exported[1].Location, elsewhere.string());
    EXPECT_EQ(exported[2].Location, (links / "GONE.MP3").string());
#endif
}

TEST(PlaylistExport, TheChosenFileTypeTellsTheFormat) {
    const struct {
        int Filter;
        const char* Path;
        TPlaylistFormat Format;
    } cases[] = {
        {1, "/l/a.PLS", TPlaylistFormat::Records},  {1, "/l/a.m3u8", TPlaylistFormat::Records},
        {2, "/l/a.m3u8", TPlaylistFormat::M3u},     {3, "/l/a.pls", TPlaylistFormat::PlsText},
        {4, "/l/a.M3U", TPlaylistFormat::M3u},      {4, "/l/a.m3u8", TPlaylistFormat::M3u},
        {4, "/l/a.pls", TPlaylistFormat::Records},  {4, "/l/a", TPlaylistFormat::Records},
        {0, "/l/a.m3u8", TPlaylistFormat::Records},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Playback::SaveFormatOf(c.Filter, c.Path), c.Format) << c.Filter << c.Path;
}
