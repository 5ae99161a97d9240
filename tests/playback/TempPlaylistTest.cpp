#include "playback/TempPlaylist.h"

#include "platform/Errors.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/SystemErrors.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace Playback;
namespace fs = std::filesystem;

namespace {

std::string Folder(const fs::path& path) {
    return path.string() + static_cast<char>(fs::path::preferred_separator);
}

} // namespace

TEST(TempPlaylist, TextIsOnePathALineEachEndedByCrLf) {
    EXPECT_EQ(TempPlaylistText({}), "");
    EXPECT_EQ(TempPlaylistText({"/a/01.mp3"}), "/a/01.mp3\r\n");
    EXPECT_EQ(TempPlaylistText({"/a/01.mp3", "/b c/\xe4\xf6.mp3"}),
              "/a/01.mp3\r\n/b c/\xe4\xf6.mp3\r\n");
}

TEST(TempPlaylist, PathIsTheFolderAndTheNameReduced) {
    using CatalogueTest::P;
    EXPECT_EQ(TempPlaylistPath(P("/opt/tunes/")), P("/opt/tunes/PL_TEMP.M3U"));
    EXPECT_EQ(TempPlaylistPath(P("/opt/tunes")), P("/opt/tunes/PL_TEMP.M3U"));
    EXPECT_EQ(TempPlaylistPath(P("/opt//tunes//")), P("/opt/tunes/PL_TEMP.M3U"));
}

TEST(TempPlaylist, WritesIntoTheProgramFolderReplacingEarlierContent) {
    TTempDir program;
    TTempDir user;
    program.Write("PL_TEMP.M3U", "an older and much longer playlist\r\n");
    const auto written = WriteTempPlaylist({"/x/1.mp3", "/x/2.mp3"}, Folder(program.Path()),
                                           Folder(user.Path() / "data"));
    EXPECT_EQ(written, (program.Path() / "PL_TEMP.M3U").string());
    EXPECT_EQ(TTempDir::Read(written), "/x/1.mp3\r\n/x/2.mp3\r\n");
    EXPECT_FALSE(fs::exists(user.Path() / "data"));

    WriteTempPlaylist({}, Folder(program.Path()), Folder(user.Path()));
    EXPECT_EQ(fs::file_size(written), 0u);
}

TEST(TempPlaylist, FallsBackToTheUserFolderWhenTheProgramFolderDeniesWriting) {
    TTempDir program;
    TTempDir user;
    // A folder in the file's place denies the writing even to root.
    fs::create_directory(program.Path() / "PL_TEMP.M3U");
    const auto userFolder = user.Path() / "share" / "mp3tunestead";
    const auto written =
        WriteTempPlaylist({"/x/1.mp3"}, Folder(program.Path()), Folder(userFolder));
    EXPECT_EQ(written, (userFolder / "PL_TEMP.M3U").string());
    EXPECT_EQ(TTempDir::Read(written), "/x/1.mp3\r\n");
}

TEST(TempPlaylist, RaisesTheProgramFolderErrorWhenNeitherFolderCanBeWritten) {
    TTempDir program;
    TTempDir user;
    fs::create_directory(program.Path() / "PL_TEMP.M3U");
    fs::create_directory(user.Path() / "PL_TEMP.M3U");
    for (const auto& fallback : {Folder(user.Path()), std::string()}) {
        try {
            WriteTempPlaylist({"/x/1.mp3"}, Folder(program.Path()), fallback);
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& error) {
            EXPECT_STREQ(error.what(), "File access denied");
        }
    }
}

TEST(TempPlaylist, OtherErrorsDoNotFallBack) {
    TTempDir program;
    TTempDir user;
    try {
        WriteTempPlaylist({"/x/1.mp3"}, Folder(program.Path() / "missing"), Folder(user.Path()));
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), MissingFolderText);
    }
    EXPECT_FALSE(fs::exists(user.Path() / "PL_TEMP.M3U"));
}

TEST(TempPlaylist, FallsBackForAWriteProtectedProgramFolder) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows folder is write-protected by its access list, which the "
                    "permission bits do not change";
#else
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into write-protected folders";
    TTempDir program;
    TTempDir user;
    fs::permissions(program.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    const auto written =
        WriteTempPlaylist({"/x/1.mp3"}, Folder(program.Path()), Folder(user.Path()));
    EXPECT_EQ(written, (user.Path() / "PL_TEMP.M3U").string());
#endif
}
