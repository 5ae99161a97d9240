// The reading of song facts ahead of the describing, on threads of their own: the songs that
// must be read are handed over as the scan of the music folder finds them, so a pool reads them
// in the order the describing takes them, and waits for the disk or the network overlap with
// the scan and with each other. The describing itself stays on its thread and takes each
// result in its turn, so reports and progress keep their order.
#pragma once

#include "describing/SongFacts.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace Catalogue {

class TFactsAhead {
public:
    // Reads on up to threads threads, each started when a song is handed over while fewer run;
    // the reader must allow calls from several threads.
    TFactsAhead(TSongFactsReader& reader, unsigned threads);
    // Stops the reading (songs not started are not read) and waits for the threads.
    ~TFactsAhead();
    TFactsAhead(const TFactsAhead&) = delete;
    TFactsAhead& operator=(const TFactsAhead&) = delete;

    // Hands over the next song to read.
    void Add(std::string path);
    // The facts of the index-th song handed over, waiting for them; throws EError with the
    // reader's reason when it could not read the song.
    TSongFacts Take(std::size_t index);

private:
    struct TResult {
        std::optional<TSongFacts> Facts;
        std::string Error;
        bool Done = false;
    };
    void Work();

    TSongFactsReader& FReader;
    const unsigned FMaxThreads;
    std::mutex FLock;
    // A song was handed over, or the reading stops.
    std::condition_variable FAdded;
    // A song was read.
    std::condition_variable FDone;
    std::deque<std::string> FPaths;
    std::deque<TResult> FResults;
    std::size_t FNext = 0;
    bool FStopping = false;
    std::vector<std::thread> FThreads;
};

} // namespace Catalogue
