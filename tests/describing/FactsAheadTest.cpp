#include "describing/FactsAhead.h"

#include "platform/Threads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <thread>

using namespace Catalogue;

namespace {

// Counts the threads that read at least one song; each reading waits for another thread when
// Waiting, as a reading from a cold disk waits for it, and is pure work otherwise.
class TCountingReader : public TSongFactsReader {
public:
    explicit TCountingReader(bool waiting) : FWaiting(waiting) {}

    TSongFacts Read(const std::string&) override {
        thread_local const TCountingReader* counted = nullptr;
        if (counted != this) {
            counted = this;
            ++Threads;
        }
        if (FWaiting)
            std::async(std::launch::async, [] {}).get();
        return {};
    }

    std::atomic<unsigned> Threads{0};

private:
    const bool FWaiting;
};

unsigned ReadersFor(bool waiting) {
    TCountingReader reader(waiting);
    TFactsAhead ahead(reader, std::vector<std::string>(300, "song.mp3"), 16);
    for (std::size_t i = 0; i < 300; ++i)
        ahead.Take(i);
    return reader.Threads;
}

} // namespace

TEST(FactsAhead, ThePoolGrowsOnlyWhileReadingsWait) {
    if (!platform::ThreadWaits())
        GTEST_SKIP() << "this system does not count a thread's waits";
    const unsigned start = std::max(std::thread::hardware_concurrency(), 2u);
    // Songs in the page cache: a thread per processor keeps them all busy.
    EXPECT_LE(ReadersFor(false), start);
    // A slow disk: more readings in flight, never more than the pool's size.
    const unsigned waiting = ReadersFor(true);
    EXPECT_GT(waiting, start);
    EXPECT_LE(waiting, 16u);
}
