// The POSIX hives under stress: damaged files, two writing processes, and writers killed at
// any moment.
#ifndef _WIN32
#include "platform/Registry.h"
#include "tests/helpers/HiveWriterValues.h"
#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace platform;

namespace {

std::vector<std::filesystem::path> FilesStartingWith(const std::filesystem::path& folder,
                                                     const std::string& prefix) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            found.push_back(entry.path());
    return found;
}

// A running hive_writer whose progress bytes come through a pipe.
class TWriterProcess {
public:
    explicit TWriterProcess(const std::vector<std::string>& arguments) {
        int fds[2];
        if (pipe(fds) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        const std::string program = std::string(TUNESTEAD_HELPER_DIR) + "/hive_writer";
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        const int spawned =
            posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        FOutput = fds[0];
        if (spawned != 0)
            throw std::runtime_error("cannot start " + program);
    }
    ~TWriterProcess() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            Wait();
        }
        close(FOutput);
    }
    TWriterProcess(const TWriterProcess&) = delete;
    TWriterProcess& operator=(const TWriterProcess&) = delete;

    // Blocks until the writer has reported count finished writes (fewer if it ends first).
    int AwaitWrites(int count) {
        int seen = 0;
        char byte = 0;
        while (seen < count && read(FOutput, &byte, 1) == 1)
            ++seen;
        return seen;
    }
    void Kill() { kill(FPid, SIGKILL); }
    int Wait() {
        int status = 0;
        waitpid(FPid, &status, 0);
        FPid = 0;
        return status;
    }

private:
    pid_t FPid = 0;
    int FOutput = -1;
};

class HiveSafety : public ::testing::Test {
protected:
    std::string WriterFolder() const { return Sandbox.Folder().string(); }

    // How many values "<prefix>0", "<prefix>1", ... the writer's key holds, checking that each
    // has its exact data and that none follows a missing one. No key yet holds none.
    int CompleteValues(const std::string& prefix, int upTo) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, HiveWriterKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return 0;
        int present = 0;
        for (int i = 0; i < upTo; ++i) {
            const std::string name = prefix + std::to_string(i);
            DWORD size = 0;
            if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size) !=
                ERROR_SUCCESS)
                continue;
            EXPECT_EQ(present, i) << name << " follows a missing value";
            std::string data(size, '\0');
            RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(data.data()), &size);
            EXPECT_EQ(data, HiveWriterData(i)) << name;
            ++present;
        }
        RegCloseKey(key);
        return present;
    }

    void ExpectHiveWhole() {
        EXPECT_TRUE(Sandbox.Warnings().empty()) << Sandbox.Warnings().front();
        if (std::filesystem::exists(Sandbox.Folder())) {
            EXPECT_TRUE(
                FilesStartingWith(Sandbox.Folder(), "HKEY_CURRENT_USER.reg.damaged").empty());
        }
    }

    TRegistrySandbox Sandbox;
};

} // namespace

TEST_F(HiveSafety, ADamagedHiveIsMovedAsideAndReported) {
    const auto hive = Sandbox.HiveFile("HKEY_CURRENT_USER");
    Sandbox.Write("mp3tunestead/HKEY_CURRENT_USER.reg",
                  "REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE]\n\"cut\"=\"half a li");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);

    const auto moved = FilesStartingWith(Sandbox.Folder(), "HKEY_CURRENT_USER.reg.damaged-");
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(TTempDir::Read(moved[0]),
              "REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE]\n\"cut\"=\"half a li");
    ASSERT_EQ(Sandbox.Warnings().size(), 1u);
    EXPECT_NE(Sandbox.Warnings()[0].find('"' + hive.string() + '"'), std::string::npos);
    EXPECT_NE(Sandbox.Warnings()[0].find('"' + moved[0].string() + '"'), std::string::npos);

    // The next write starts a new hive; the damaged copy stays as it was.
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(TTempDir::Read(hive), "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE]\n\n");
    EXPECT_EQ(Sandbox.Warnings().size(), 1u);

    // A second damage in the same second keeps both damaged copies.
    Sandbox.Write("mp3tunestead/HKEY_CURRENT_USER.reg", "garbage");
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(FilesStartingWith(Sandbox.Folder(), "HKEY_CURRENT_USER.reg.damaged-").size(), 2u);
    EXPECT_EQ(Sandbox.Warnings().size(), 2u);
}

TEST_F(HiveSafety, WarningsWaitForTheirHandler) {
    SetRegistryWarningHandler(nullptr);
    Sandbox.Write("mp3tunestead/HKEY_LOCAL_MACHINE.reg", "not a hive");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    std::vector<std::string> received;
    SetRegistryWarningHandler([&](const std::string& text) { received.push_back(text); });
    ASSERT_EQ(received.size(), 1u);
    EXPECT_NE(received[0].find("HKEY_LOCAL_MACHINE.reg"), std::string::npos);
}

TEST_F(HiveSafety, TwoWritingProcessesLoseNothing) {
    TWriterProcess first({WriterFolder(), "a", "40"});
    TWriterProcess second({WriterFolder(), "b", "40"});
    EXPECT_EQ(first.AwaitWrites(40), 40);
    EXPECT_EQ(second.AwaitWrites(40), 40);
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_EQ(CompleteValues("a", 40), 40);
    EXPECT_EQ(CompleteValues("b", 40), 40);
    ExpectHiveWhole();
}

TEST_F(HiveSafety, AWriterKilledAtAnyMomentLeavesAWholeHive) {
    for (const int reported : {0, 1, 2, 3, 5, 8, 13, 21, 34}) {
        SCOPED_TRACE(reported);
        TWriterProcess writer({WriterFolder(), "k" + std::to_string(reported) + "-", "40"});
        ASSERT_EQ(writer.AwaitWrites(reported), reported);
        writer.Kill();
        writer.Wait();
        const int present = CompleteValues("k" + std::to_string(reported) + "-", 40);
        EXPECT_GE(present, reported);
        ExpectHiveWhole();
    }
}

TEST_F(HiveSafety, AWriterKilledAtEachStepOfAReplacementLeavesTheOldOrTheNewHive) {
    // Write 0 is the creation of the key, write w > 0 the value "s<w - 1>".
    for (int write = 0; write <= 2; ++write) {
        for (int step = 1; step <= 5; ++step) {
            SCOPED_TRACE("write " + std::to_string(write) + ", step " + std::to_string(step));
            const std::string prefix = "s" + std::to_string(write) + std::to_string(step) + "-";
            TWriterProcess writer(
                {WriterFolder(), prefix, "3", std::to_string(write), std::to_string(step)});
            writer.AwaitWrites(3);
            const int status = writer.Wait();
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
            const int done = step == 5 ? write : write - 1;
            if (write == 0 && step < 5 &&
                !std::filesystem::exists(Sandbox.HiveFile("HKEY_CURRENT_USER")))
                continue;
            EXPECT_EQ(CompleteValues(prefix, 3), std::max(done, 0));
            ExpectHiveWhole();
        }
    }
    // The next write clears the temporary files that the killed writers left.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\After", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(FilesStartingWith(Sandbox.Folder(), "HKEY_CURRENT_USER.reg.tmp-").empty());
}
#endif
