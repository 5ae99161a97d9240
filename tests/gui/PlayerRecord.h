// What a player started by the program writes into a FIFO, read without sleeping: the
// test arms a fresh FIFO before each play and reads it until the player closes it.
#pragma once

#ifndef _WIN32

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class TPlayerRecord {
public:
    // The FIFO's path goes into the environment variable name for the players to come.
    TPlayerRecord(std::filesystem::path fifo, const char* variable)
        : FFifo(std::move(fifo)), FVariable(variable) {
        if (const char* old = std::getenv(variable))
            FOld = old;
        setenv(variable, FFifo.c_str(), 1);
    }
    ~TPlayerRecord() {
        Disarm();
        if (FOld)
            setenv(FVariable, FOld->c_str(), 1);
        else
            unsetenv(FVariable);
    }
    TPlayerRecord(const TPlayerRecord&) = delete;
    TPlayerRecord& operator=(const TPlayerRecord&) = delete;

    // A fresh FIFO, open for reading, for the next player.
    bool Arm() {
        Disarm();
        std::filesystem::remove(FFifo);
        if (mkfifo(FFifo.c_str(), 0600) != 0)
            return false;
        FReader = open(FFifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        return FReader >= 0;
    }

    // Everything the next player writes, read until it closes the FIFO; waits at most
    // timeoutMs for each piece, so that a player that never comes fails instead of hanging.
    std::string Read(int timeoutMs = 30000) {
        std::string record;
        pollfd waiting{FReader, POLLIN, 0};
        while (FReader >= 0 && poll(&waiting, 1, timeoutMs) > 0) {
            char buffer[4096];
            const ssize_t got = read(FReader, buffer, sizeof buffer);
            if (got > 0)
                record.append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EAGAIN)
                break;
        }
        Disarm();
        return record;
    }

    // The fake player's record of one field.
    static std::string Field(const char* kind, const std::string& bytes) {
        return std::string(kind) + " " + std::to_string(bytes.size()) + "\n" + bytes + "\n";
    }

private:
    void Disarm() {
        if (FReader >= 0)
            close(FReader);
        FReader = -1;
    }

    std::filesystem::path FFifo;
    const char* FVariable;
    std::optional<std::string> FOld;
    int FReader = -1;
};

#endif
