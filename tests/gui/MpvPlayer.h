// mpv as the program's player in tests: a stand-in script takes the program's one argument,
// plays it with mpv without sound output, and writes mpv's output and exit code into the
// FIFO named by TUNESTEAD_MPV_LOG.
#pragma once

#ifndef _WIN32

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        auto end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const auto candidate = std::filesystem::path(folders.substr(start, end - start)) / program;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

inline const char* const MpvPlayerScript = R"(#!/bin/sh
output=$(timeout -k 5 30 mpv --no-config --no-video --ao=null "$1" 2>&1)
code=$?
printf '%s\nexit code %s\n' "$output" "$code" > "$TUNESTEAD_MPV_LOG"
)";

#endif
