#include "platform/FileIO.h"

#include "platform/Errors.h"
#include "tests/support/TempDir.h"
#include "tests/support/WriteFaultScope.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EInOutError& error) {
        return error.what();
    }
    return "no error";
}

std::size_t EntriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

const std::string OldContent = "the old content, which must survive";

} // namespace

TEST(FileIO, WriteReplacesEarlierContent) {
    TTempDir dir;
    const auto file = dir.Write("f.txt", "a much longer earlier content").string();
    platform::WriteFileBytes(file, std::string("ab\0c", 4));
    EXPECT_EQ(platform::ReadFileBytes(file), std::string("ab\0c", 4));
}

TEST(FileIO, ReadGivesBackEveryByteWhateverTheSize) {
    TTempDir dir;
    for (const std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 65536u, 200001u}) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>(i * 7 + i / 251);
        const auto file = dir.Write("f" + std::to_string(size), content).string();
        EXPECT_EQ(platform::ReadFileBytes(file), content) << size;
    }
#ifndef _WIN32
    // A file that tells no size is read to its end all the same.
    EXPECT_TRUE(platform::ReadFileBytes("/proc/self/status").starts_with("Name:"));
#endif
}

TEST(FileIO, ReplaceWritesNewAndExistingFiles) {
    TTempDir dir;
    const auto file = (dir.Path() / "f.bin").string();
    platform::ReplaceFileBytes(file, "first");
    platform::ReplaceFileBytes(file, "second");
    EXPECT_EQ(platform::ReadFileBytes(file), "second");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(FileIO, FailedReplaceKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TTempDir dir;
    const auto file = dir.Write("f.bin", OldContent).string();
    for (const std::size_t accepted : {std::size_t{0}, std::size_t{3}, std::size_t{5000}}) {
        TWriteFaultScope diskFull(accepted);
        EXPECT_EQ(ErrorOf([&] { platform::ReplaceFileBytes(file, std::string(4000, 'x')); }),
                  "Disk full");
    }
    EXPECT_EQ(platform::ReadFileBytes(file), OldContent);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

// A new file written without waiting for the disk is whole or absent, like a replaced one, and
// the file system it lies on can then be waited for.
TEST(FileIO, NewFilesAreWholeOrAbsentAndTheirFileSystemCanBeSynced) {
    TTempDir dir;
    const auto file = (dir.Path() / "new.bin").string();
    {
        TWriteFaultScope diskFull(3);
        EXPECT_EQ(ErrorOf([&] { platform::WriteNewFileBytes(file, "content"); }), "Disk full");
    }
    EXPECT_EQ(EntriesIn(dir.Path()), 0u);
    platform::WriteNewFileBytes(file, "content");
    EXPECT_EQ(platform::ReadFileBytes(file), "content");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    EXPECT_NO_THROW(platform::SyncFileSystem(dir.Path().string()));
#ifndef _WIN32
    EXPECT_NE(ErrorOf([&] { platform::SyncFileSystem((dir.Path() / "missing").string()); }),
              "no error");
#endif
}

TEST(FileIO, ReplaceOntoAFolderFailsAndLeavesNothing) {
    TTempDir dir;
    fs::create_directory(dir.Path() / "taken");
    EXPECT_EQ(ErrorOf([&] { platform::ReplaceFileBytes((dir.Path() / "taken").string(), "x"); }),
              "File access denied");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(FileIO, MappedBytesAreTheFileAndOutliveItsReplacement) {
    TTempDir dir;
    for (const std::size_t size : {0u, 1u, 4096u, 200001u}) {
        std::string content(size, 'x');
        for (std::size_t i = 0; i < size; i += 97)
            content[i] = static_cast<char>(i);
        const auto file = dir.Write("m" + std::to_string(size), content).string();
        const auto mapped = platform::MapFileBytes(file);
        platform::ReplaceFileBytes(file, "new");
        EXPECT_EQ(mapped.Bytes, content) << size;
        EXPECT_EQ(platform::MapFileBytes(file).Bytes, "new");
    }
#ifndef _WIN32
    EXPECT_TRUE(platform::MapFileBytes("/proc/self/status").Bytes.starts_with("Name:"));
#endif
    EXPECT_EQ(ErrorOf([&] { platform::MapFileBytes((dir.Path() / "none").string()); }),
              "File not found");
}

TEST(FileIO, ReadErrorsNameTheFileError) {
    TTempDir dir;
    EXPECT_EQ(ErrorOf([&] { platform::ReadFileBytes((dir.Path() / "none").string()); }),
              "File not found");
    EXPECT_EQ(ErrorOf([&] { platform::ReadFileBytes(dir.Path().string()); }), "File access denied");
}

TEST(FileIO, ReplaceKeepsPermissionsAndSymbolicLinks) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need administrator rights or developer mode on Windows, "
                    "and its files have no permission bits to keep";
#else
    TTempDir dir;
    const auto target = dir.Write("real.PLS", OldContent);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto link = dir.Path() / "link.PLS";
    fs::create_symlink(target, link);
    platform::ReplaceFileBytes(link.string(), "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(platform::ReadFileBytes(target.string()), "new");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
}

// A real failing write: the file-size limit makes write() fail with EFBIG, as a full
// disk would fail it with ENOSPC.
TEST(FileIO, ReplaceBeyondTheFileSizeLimitKeepsTheOldFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no per-process file-size limit to make a real write fail; "
                    "the injected write faults stand in for it";
#else
    TTempDir dir;
    const auto file = dir.Write("f.bin", OldContent).string();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto error = ErrorOf([&] { platform::ReplaceFileBytes(file, std::string(5000, 'x')); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, "Disk full");
    EXPECT_EQ(platform::ReadFileBytes(file), OldContent);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
#endif
}

// The errors that send the temporary playlist to the per-user folder: only a place we may not
// write, not a place that is missing.
TEST(FileIO, WriteDeniedTellsAForbiddenPlaceFromAMissingOne) {
    TTempDir dir;
    // A folder in the file's place denies the writing even to an administrator.
    fs::create_directory(dir.Path() / "taken");
    const struct {
        fs::path Path;
        bool Denied;
    } cases[] = {
        {dir.Path() / "taken", true},
        {dir.Path() / "missing" / "file", false},
    };
    for (const auto& c : cases) {
        int code = 0;
        try {
            platform::WriteFileBytes(c.Path.string(), "x");
        } catch (const EInOutError& error) {
            code = error.ErrorCode;
        }
        ASSERT_NE(code, 0) << c.Path;
        EXPECT_EQ(platform::IsWriteDenied(code), c.Denied) << c.Path << ": " << code;
    }
}
