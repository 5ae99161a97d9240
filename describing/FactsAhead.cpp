#include "describing/FactsAhead.h"

#include "platform/Errors.h"

#include <algorithm>

namespace Catalogue {

TFactsAhead::TFactsAhead(TSongFactsReader& reader, std::vector<std::string> paths, unsigned threads)
    : FReader(reader), FPaths(std::move(paths)), FResults(FPaths.size()) {
    const std::size_t count = std::min<std::size_t>(std::max(threads, 1u), FPaths.size());
    for (std::size_t i = 0; i < count; ++i)
        FThreads.emplace_back([this] { Work(); });
}

TFactsAhead::~TFactsAhead() {
    FStopping = true;
    for (auto& thread : FThreads)
        thread.join();
}

void TFactsAhead::Work() {
    for (;;) {
        const std::size_t index = FNext++;
        if (index >= FPaths.size() || FStopping)
            return;
        TResult result;
        try {
            result.Facts = FReader.Read(FPaths[index]);
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
