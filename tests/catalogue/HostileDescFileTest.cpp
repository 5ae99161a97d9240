// Description files that never end or are far too large: a device, a pipe with a writer that
// never stops, a huge sparse file, a folder. Each is refused at once, without reading it.
#include "catalogue/AlbumSearch.h"
#include "catalogue/CatalogueMessages.h"
#include "catalogue/CatalogueWalk.h"
#include "catalogue/DescFile.h"
#include "catalogue/SongList.h"
#include "describing/DescCheck.h"
#include "tests/catalogue/CatalogueLines.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Catalogue;
using CatalogueTest::P;

namespace {

#ifndef _WIN32

// A pipe in the file system with a writer thread that writes until the pipe has no reader
// left. The pipe's own reading end is held open so that the writer never waits for one; the
// writer ends when that end is closed, so the test cannot hang on it.
class TEndlessPipe {
public:
    explicit TEndlessPipe(const std::filesystem::path& path) {
        if (::mkfifo(path.c_str(), 0600) != 0)
            return;
        FReader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        FWriter = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (FReader < 0 || FWriter < 0)
            return;
        FThread = std::thread([this] {
            // A write without a reader fails with EPIPE instead of ending the process.
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            const std::string chunk(4096, 'x');
            while (::write(FWriter, chunk.data(), chunk.size()) > 0 || errno == EINTR) {
            }
        });
    }
    ~TEndlessPipe() {
        if (FReader >= 0)
            ::close(FReader);
        if (FThread.joinable())
            FThread.join();
        if (FWriter >= 0)
            ::close(FWriter);
    }
    TEndlessPipe(const TEndlessPipe&) = delete;
    TEndlessPipe& operator=(const TEndlessPipe&) = delete;

    bool Writing() const { return FThread.joinable(); }

private:
    int FReader = -1;
    int FWriter = -1;
    std::thread FThread;
};

#endif

} // namespace

TEST(HostileDescFile, EndlessAndHugeFilesAreRefusedUnread) {
#ifdef _WIN32
    GTEST_SKIP() << "devices, pipes and sparse files are made with POSIX calls";
#else
    TTempDir dir;
    const auto zero = dir.Path() / "zero" / "descript.ion";
    std::filesystem::create_directories(zero.parent_path());
    std::filesystem::create_symlink("/dev/zero", zero);
    const auto pipe = dir.Path() / "pipe" / "descript.ion";
    std::filesystem::create_directories(pipe.parent_path());
    const TEndlessPipe writer(pipe);
    ASSERT_TRUE(writer.Writing());
    const auto huge = dir.Write("huge/descript.ion", "");
    std::filesystem::resize_file(huge, MaxDescFileSize + 1);
    const auto folder = dir.Path() / "folder" / "descript.ion";
    std::filesystem::create_directories(folder);
    const auto largest = dir.Write("largest/descript.ion", "A  Album\r\n");
    std::filesystem::resize_file(largest, MaxDescFileSize);

    const struct {
        std::filesystem::path path;
        TDescRead result;
    } cases[] = {
        {zero, TDescRead::NotRegular},
        {pipe, TDescRead::NotRegular},
        {huge, TDescRead::TooLarge},
        {folder, TDescRead::NotRegular},
        {dir.Path() / "none" / "descript.ion", TDescRead::NotOpened},
    };
    TDescFile file;
    for (const auto& c : cases) {
        EXPECT_FALSE(file.Open(c.path.string())) << c.path;
        EXPECT_EQ(file.Result(), c.result) << c.path;
        EXPECT_EQ(file.Text(), "") << c.path;
    }
    // A file of exactly the largest size is read whole.
    ASSERT_TRUE(file.Open(largest.string()));
    EXPECT_EQ(file.Result(), TDescRead::Read);
    EXPECT_EQ(file.Text().size(), MaxDescFileSize);
    EXPECT_EQ(file.Text().substr(0, 10), "A  Album\r\n");
#endif
}

TEST(HostileDescFile, RefusalTexts) {
    EXPECT_EQ(RefusedFileMessage("/m/descript.ion", TDescRead::NotRegular),
              "\"/m/descript.ion\" is not a regular file.");
    EXPECT_EQ(RefusedFileMessage("/m/descript.ion", TDescRead::TooLarge),
              "\"/m/descript.ion\" is larger than 64 MiB.");
    EXPECT_EQ(CategoryFileNotReadMessage("/m/descript.ion", TDescRead::NotOpened),
              CategoryFileMissingMessage("/m/descript.ion"));
    EXPECT_EQ(DescFileNotReadMessage("/m/descript.ion", TDescRead::NotOpened),
              DescFileMissingMessage("/m/descript.ion"));
}

// Every reader names a refused file where it would say that the file is missing, and goes on
// as it does for a missing one.
TEST(HostileDescFile, ReadersNameTheRefusedFile) {
    TTempDir dir;
    const auto root = dir.Path().string();
    dir.Write("descript.ion", "FOLDER  Folder\r\nHUGE  Huge\r\nFINE  Fine\r\n");
    std::filesystem::create_directories(dir.Path() / "FOLDER" / "descript.ion");
    const auto huge = dir.Write("HUGE/descript.ion", "");
    std::filesystem::resize_file(huge, MaxDescFileSize + 1);
    dir.Write("FINE/descript.ion", "ALBUM  Album\r\n");
    std::filesystem::create_directories(dir.Path() / "FINE" / "ALBUM" / "descript.ion");
    const auto folderDesc = root + P("/FOLDER/descript.ion");
    const auto hugeDesc = root + P("/HUGE/descript.ion");

    std::vector<std::string> boxes;
    TCatalogueWalkEvents walk;
    walk.OnCategoryFileMissing = [&](const std::string& text) { boxes.push_back(text); };
    EXPECT_EQ(WalkCatalogue({root}, walk).Albums, 1);
    EXPECT_EQ(boxes,
              (std::vector<std::string>{RefusedFileMessage(folderDesc, TDescRead::NotRegular),
                                        RefusedFileMessage(hugeDesc, TDescRead::TooLarge)}));

    boxes.clear();
    TSearchEvents search;
    search.OnCategoryFileMissing = [&](const std::string& text) { boxes.push_back(text); };
    EXPECT_EQ(SearchAlbums(root, "album", search).Results.size(), 1u);
    EXPECT_EQ(boxes.size(), 2u);
    boxes.clear();
    search.OnBaseFileMissing = [&](const std::string& text) { boxes.push_back(text); };
    EXPECT_FALSE(SearchAlbums(root + P("/FOLDER"), "album", search).BaseOpened);
    EXPECT_EQ(boxes,
              (std::vector<std::string>{RefusedFileMessage(folderDesc, TDescRead::NotRegular)}));

    const auto listing = ListSongs(root + P("/FINE/ALBUM"), "");
    EXPECT_FALSE(listing.Opened);
    EXPECT_EQ(listing.Result, TDescRead::NotRegular);

    std::vector<std::string> problems;
    CheckCatalogue(root, [&](const std::string& problem) { problems.push_back(problem); });
    EXPECT_EQ(problems, (std::vector<std::string>{
                            root + P("/FOLDER") + ": description file is not a regular file",
                            root + P("/HUGE") + ": description file is larger than 64 MiB",
                            root + P("/FINE/ALBUM") + ": description file is not a regular file",
                        }));
}
