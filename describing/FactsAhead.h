// The reading of song facts ahead of the describing, on threads of their own: the songs that
// must be read are known once the music folder is scanned, so a pool reads them in the order the
// describing takes them, and waits for the disk or the network overlap. The describing itself
// stays on its thread and takes each result in its turn, so reports and progress keep their
// order.
//
// The pool starts with a thread per processor and grows, up to its size, while readings wait: songs
// in the page cache keep every processor busy with a few threads, and more would only take turns
// with the describing, which then falls behind and finishes alone; a cold disk or a network share
// gets the many readings it needs in flight.
#pragma once

#include "describing/SongFacts.h"

#include <atomic>
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
    // Reads the paths on up to threads threads; the reader must allow calls from several
    // threads.
    TFactsAhead(TSongFactsReader& reader, std::vector<std::string> paths, unsigned threads);
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
    // Starts one more thread, unless the pool is full or stopping.
    void Grow();

    TSongFactsReader& FReader;
    const std::vector<std::string> FPaths;
    std::vector<TResult> FResults;
    std::atomic<std::size_t> FNext{0};
    std::atomic<bool> FStopping{false};
    std::mutex FLock;
    std::condition_variable FDone;
    const std::size_t FMaxThreads;
    // Guards FThreads, which grows until FStopping is set.
    std::mutex FThreadsLock;
    std::vector<std::thread> FThreads;
    std::atomic<std::size_t> FThreadCount{0};
};

} // namespace Catalogue
