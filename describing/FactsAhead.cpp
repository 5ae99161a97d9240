#include "describing/FactsAhead.h"

#include "platform/Errors.h"

#include <algorithm>

namespace Catalogue {

TFactsAhead::TFactsAhead(TSongFactsReader& reader, unsigned threads)
    : FReader(reader), FMaxThreads(std::max(threads, 1u)) {}

TFactsAhead::~TFactsAhead() {
    {
        const std::lock_guard<std::mutex> guard(FLock);
        FStopping = true;
    }
    FAdded.notify_all();
    for (auto& thread : FThreads)
        thread.join();
}

void TFactsAhead::Add(std::string path) {
    {
        const std::lock_guard<std::mutex> guard(FLock);
        FPaths.push_back(std::move(path));
        FResults.emplace_back();
    }
    FAdded.notify_one();
    // One song keeps one thread busy: a re-run that finds a single changed song starts one.
    if (FThreads.size() < FMaxThreads)
        FThreads.emplace_back([this] { Work(); });
}

void TFactsAhead::Work() {
    for (;;) {
        std::size_t index = 0;
        std::string path;
        {
            std::unique_lock<std::mutex> guard(FLock);
            FAdded.wait(guard, [&] { return FStopping || FNext < FPaths.size(); });
            if (FStopping)
                return;
            index = FNext++;
            path = FPaths[index];
        }
        TResult result;
        try {
            result.Facts = FReader.Read(path);
        } catch (const std::exception& error) {
            result.Error = error.what();
        }
        result.Done = true;
        {
            const std::lock_guard<std::mutex> guard(FLock);
            FResults[index] = std::move(result);
        }
        FDone.notify_all();
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
