#include "describing/FactsAhead.h"

#include "platform/Errors.h"
#include "platform/Threads.h"

#include <algorithm>

namespace Catalogue {

TFactsAhead::TFactsAhead(TSongFactsReader& reader, std::vector<std::string> paths, unsigned threads)
    : FReader(reader), FPaths(std::move(paths)), FResults(FPaths.size()),
      FMaxThreads(std::min<std::size_t>(std::max(threads, 1u), FPaths.size())) {
    // Where waits are not counted the pool cannot tell a slow disk: it starts full.
    std::size_t start = FMaxThreads;
    if (platform::ThreadWaits())
        start = std::min<std::size_t>(std::max(std::thread::hardware_concurrency(), 2u), start);
    for (std::size_t i = 0; i < start; ++i)
        Grow();
}

TFactsAhead::~TFactsAhead() {
    {
        const std::lock_guard<std::mutex> guard(FThreadsLock);
        FStopping = true;
    }
    for (auto& thread : FThreads)
        thread.join();
}

void TFactsAhead::Grow() {
    const std::lock_guard<std::mutex> guard(FThreadsLock);
    if (FStopping || FThreads.size() >= FMaxThreads)
        return;
    FThreads.emplace_back([this] { Work(); });
    ++FThreadCount;
}

void TFactsAhead::Work() {
    // Readings of this thread that waited, one after the other.
    int waitedInRow = 0;
    for (;;) {
        const std::size_t index = FNext++;
        if (index >= FPaths.size() || FStopping)
            return;
        // Two readings in a row that waited (the songs were not in the page cache) ask for
        // another thread, while the pool is not full; a single wait may be for a lock of the
        // system's own.
        const bool growing = FThreadCount < FMaxThreads;
        const auto waitsBefore = growing ? platform::ThreadWaits() : std::nullopt;
        TResult result;
        try {
            result.Facts = FReader.Read(FPaths[index]);
        } catch (const std::exception& error) {
            result.Error = error.what();
        }
        const bool waited = growing && waitsBefore && platform::ThreadWaits() > waitsBefore;
        result.Done = true;
        {
            const std::lock_guard<std::mutex> guard(FLock);
            FResults[index] = std::move(result);
        }
        FDone.notify_all();
        waitedInRow = waited ? waitedInRow + 1 : 0;
        if (waitedInRow == 2) {
            waitedInRow = 0;
            Grow();
        }
    }
}

TSongFacts TFactsAhead::Take(std::size_t index) {
    std::unique_lock<std::mutex> guard(FLock);
    FDone.wait(guard, [&] { return FResults[index].Done; });
    TResult result = std::move(FResults[index]);
    if (!result.Facts)
        throw EError(result.Error);
    return std::move(*result.Facts);
}

} // namespace Catalogue
