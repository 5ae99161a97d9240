#include "describing/FactsAhead.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <stdexcept>
#include <thread>

using namespace Catalogue;

namespace {

// Facts whose title is the path; a path starting with "bad" cannot be read.
class TEchoReader : public TSongFactsReader {
public:
    TSongFacts Read(const std::string& path) override {
        ++Reads;
        {
            const std::lock_guard<std::mutex> guard(Lock);
            Threads.insert(std::this_thread::get_id());
        }
        if (path.starts_with("bad"))
            throw std::runtime_error("unreadable " + path);
        return {0, 1000, path, ""};
    }
    std::atomic<int> Reads{0};
    std::mutex Lock;
    std::set<std::thread::id> Threads;
};

} // namespace

TEST(FactsAhead, SongsHandedOverWhileOthersAreReadComeBackInTheirTurn) {
    TEchoReader reader;
    TFactsAhead ahead(reader, 4);
    // A song is read as soon as it is handed over, before the songs that follow it are known.
    ahead.Add("first");
    EXPECT_EQ(ahead.Take(0).Title, "first");
    ahead.Add("bad one");
    for (int i = 0; i < 20; ++i)
        ahead.Add("song " + std::to_string(i));
    EXPECT_THROW(ahead.Take(1), EError);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(ahead.Take(static_cast<std::size_t>(i) + 2).Title, "song " + std::to_string(i));
    EXPECT_EQ(reader.Reads, 22);
    EXPECT_LE(reader.Threads.size(), 4u);
}

TEST(FactsAhead, ThreadsStartAsSongsComeAndStopWithSongsLeft) {
    TEchoReader reader;
    {
        TFactsAhead ahead(reader, 16);
        ahead.Add("only");
        EXPECT_EQ(ahead.Take(0).Title, "only");
    }
    EXPECT_EQ(reader.Threads.size(), 1u);
    // Ended with many songs handed over and none taken: the threads stop, no more of them run
    // than asked for, and nothing waits forever.
    TEchoReader more;
    {
        TFactsAhead ahead(more, 2);
        for (int i = 0; i < 1000; ++i)
            ahead.Add("song");
    }
    EXPECT_LE(more.Threads.size(), 2u);
}
