// What a player started by the program writes into a channel named by an environment variable,
// read without sleeping: the test arms a fresh channel before each play and reads it until the
// player closes it. The channel is a FIFO on POSIX and a named pipe on Windows.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

// The fake player that writes into the channel: its file name, and its path, beside the test
// executables where the helpers are built.
#ifdef _WIN32
inline const std::string FakePlayerName = "fake_player.exe";
#else
inline const std::string FakePlayerName = "fake_player";
#endif
std::string FakePlayerPath();

class TPlayerRecord {
public:
    // The channel's path goes into the environment variable name for the players to come:
    // the FIFO itself on POSIX; on Windows a pipe named after the path's file name.
    TPlayerRecord(const std::filesystem::path& fifo, const char* variable);
    ~TPlayerRecord();
    TPlayerRecord(const TPlayerRecord&) = delete;
    TPlayerRecord& operator=(const TPlayerRecord&) = delete;

    // A fresh channel, open for reading, for the next player.
    bool Arm();

    // Everything the next player writes, read until it closes the channel; waits at most
    // timeoutMs for each piece, so that a player that never comes fails instead of hanging.
    std::string Read(int timeoutMs = 30000);

    // The fake player's record of one field.
    static std::string Field(const char* kind, const std::string& bytes) {
        return std::string(kind) + " " + std::to_string(bytes.size()) + "\n" + bytes + "\n";
    }

private:
    struct TChannel;
    void Disarm();

    std::string FPath;
    const char* FVariable;
    std::optional<std::string> FOld;
    std::unique_ptr<TChannel> FChannel;
};
