// The reading of song facts ahead of the describing, on threads of their own: the songs that
// must be read are known once the music folder is scanned, so a pool reads them in the order the
// describing takes them, and waits for the disk or the network overlap. The describing itself
// stays on its thread and takes each result in its turn, so reports and progress keep their
// order.
#pragma once

#include "describing/SongFacts.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace Catalogue {

class TFactsAhead {
public:
    // Starts threads readers on the paths; the reader must allow calls from several threads.
    // They read at most ahead songs beyond the one the describing takes next: enough to keep a
    // disk or a share busy, and they leave the processor to the describing when it falls behind.
    TFactsAhead(TSongFactsReader& reader, std::vector<std::string> paths, unsigned threads,
                std::size_t ahead = 64);
    // Stops the reading (songs not started are not read) and waits for the threads.
    ~TFactsAhead();
    TFactsAhead(const TFactsAhead&) = delete;
    TFactsAhead& operator=(const TFactsAhead&) = delete;

    // The facts of the index-th path, waiting for them; throws EError with the reader's reason
    // when it could not read the song.
    TSongFacts Take(std::size_t index);

private:
    struct TResult {
        std::optional<TSongFacts> Facts;
        std::string Error;
        bool Done = false;
    };
    void Work();

    TSongFactsReader& FReader;
    const std::vector<std::string> FPaths;
    std::vector<TResult> FResults;
    const std::size_t FAhead;
    std::size_t FNext = 0;
    // The index the describing takes next.
    std::size_t FTaking = 0;
    bool FStopping = false;
    std::mutex FLock;
    std::condition_variable FDone;
    std::condition_variable FRoom;
    std::vector<std::thread> FThreads;
};

} // namespace Catalogue
