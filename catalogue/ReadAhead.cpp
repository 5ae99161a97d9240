#include "catalogue/ReadAhead.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>

namespace Catalogue {

namespace {

// Files held read ahead at most (being read, or read and not yet asked for), chosen among as
// many places ahead of the reader's next file.
constexpr std::size_t Window = 64;
// Bytes held read ahead beyond which no new reading starts.
constexpr std::size_t WindowBytes = 16 * 1024 * 1024;
enum class TState { Waiting, Reading, Done };

struct TEntry {
    explicit TEntry(TReadAheadFile file) : File(std::move(file)) {}

    TReadAheadFile File;
    TState State = TState::Waiting;
    TDescRead Result = TDescRead::NotOpened;
    // Reading it on a thread ran out of memory: the reader reads it again itself.
    bool Failed = false;
    platform::TReadBuffer Buffer;
};

using TEntries = std::list<TEntry>;

// The threads that read ahead for every walk: started when first needed and kept for the next
// walk, since starting them anew would cost a search in a warm cache more than its reading.
class TReadingThreads {
public:
    static TReadingThreads& Instance() {
        static TReadingThreads threads;
        return threads;
    }
    ~TReadingThreads();

    // With Mutex held: queue's files are read by at least threads threads from now on.
    void Add(TReadAhead::TQueue* queue, int threads);
    // With Mutex held: nothing more is read for queue.
    void Remove(TReadAhead::TQueue* queue);

    std::mutex Mutex;
    // Signalled when a file may be read.
    std::condition_variable Work;

private:
    TReadingThreads() = default;
    void Run();

    std::vector<TReadAhead::TQueue*> FQueues;
    std::vector<std::thread> FThreads;
    bool FStop = false;
};

} // namespace

class TReadAhead::TQueue {
public:
    TQueue(TFollowingFiles following, const TReadAheadOptions& options)
        : FFollowing(std::move(following)), FThreads(std::max(options.Threads, 0)),
          FSlowReadingNs(options.SlowReadingNs),
          FReadingsAtOnce(Slow() ? static_cast<std::size_t>(FThreads) : 0) {}

    // With the mutex held: the first waiting file within the window, for a thread, marked as
    // being read; false when there is none, the window is full or enough readings run.
    bool NextToRead(TEntries::iterator& next) {
        if (FStopped)
            return false;
        if (FBusy >= FReadingsAtOnce || !FirstWaiting(next)) {
            FFull =
                FFull || FHeld >= Window || FHeldBytes >= WindowBytes || FBusy >= FReadingsAtOnce;
            return false;
        }
        StartReading(*next);
        return true;
    }

    // With the mutex held: the first waiting file within the window; false when there is none
    // or the window is full.
    bool FirstWaiting(TEntries::iterator& next) {
        if (FHeld >= Window || FHeldBytes >= WindowBytes)
            return false;
        auto entry = FEntries.begin();
        for (std::size_t place = 0; place < Window && entry != FEntries.end(); ++place, ++entry)
            if (entry->State == TState::Waiting) {
                next = entry;
                return true;
            }
        return false;
    }

    // With the mutex held: entry is about to be read.
    void StartReading(TEntry& entry) {
        entry.State = TState::Reading;
        ++FHeld;
        ++FBusy;
        if (!FSpare.empty()) {
            entry.Buffer = std::move(FSpare.back());
            FSpare.pop_back();
        }
    }

    // Without the mutex: reads the file of entry and lists the files that follow it; returns
    // the time the reading took in nanoseconds.
    double Read(TEntry& entry, std::vector<TReadAheadFile>& following) const noexcept {
        following.clear();
        const auto start = std::chrono::steady_clock::now();
        try {
            entry.Result =
                platform::ReadDescFile(entry.File.Path, entry.File.Folder.get(), entry.Buffer);
            if (entry.Result == TDescRead::Read)
                FFollowing(entry.File, std::string_view(entry.Buffer.Data(), entry.Buffer.Size()),
                           following);
        } catch (...) {
            entry.Failed = true;
            following.clear();
        }
        return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
            .count();
    }

    // With the mutex held: entry has been read; the files that follow it take their places
    // right after it.
    void Finish(TEntries::iterator entry, std::vector<TReadAheadFile>& following, double readingNs,
                std::condition_variable& work) {
        entry->State = TState::Done;
        FMeanReadingNs += (readingNs - FMeanReadingNs) / 8;
        const auto before = FReadingsAtOnce;
        FReadingsAtOnce = Slow() ? static_cast<std::size_t>(FThreads) : 0;
        FHeldBytes += entry->Buffer.Size();
        const auto after = std::next(entry);
        for (auto& file : following)
            FEntries.emplace(after, std::move(file));
        --FBusy;
        Wake(work, following.size() + (FReadingsAtOnce > before ? FReadingsAtOnce - before : 0));
        if (entry == FEntries.begin() || FBusy == 0)
            FReady.notify_all();
    }

    // With the mutex held: the files of the reader's start.
    void Append(std::vector<TReadAheadFile>& files, std::condition_variable& work) {
        for (auto& file : files)
            FEntries.emplace_back(std::move(file));
        Wake(work, files.size());
    }

    // With lock held on the mutex: the reader's next file into file, read ahead or read now.
    bool Take(std::unique_lock<std::mutex>& lock, TDescFile& file, const std::string& path,
              std::condition_variable& work) {
        if (FStopped || FEntries.empty() || FEntries.front().File.Path != path) {
            FStopped = true;
            lock.unlock();
            return file.Open(path);
        }
        // The reader reads its next file itself when no thread has started it.
        const auto front = FEntries.begin();
        if (front->State == TState::Waiting) {
            StartReading(*front);
            lock.unlock();
            std::vector<TReadAheadFile> following;
            const double readingNs = Read(*front, following);
            lock.lock();
            Finish(front, following, readingNs, work);
        } else {
            FReady.wait(lock, [&front] { return front->State == TState::Done; });
        }
        --FHeld;
        FHeldBytes -= front->Buffer.Size();
        if (front->Failed) {
            FStopped = true;
            const auto folder = std::move(front->File.Folder);
            FEntries.pop_front();
            lock.unlock();
            return file.Open(path, folder.get());
        }
        file.Exchange(front->Buffer, front->Result);
        if (FSpare.size() < Window)
            FSpare.push_back(std::move(front->Buffer));
        FEntries.pop_front();
        // Threads that stopped at a full window go on once half of it is free again, in one go
        // rather than one file at a time.
        if (FFull && FHeld <= Window / 2 && FHeldBytes < WindowBytes / 2) {
            FFull = false;
            Wake(work, FReadingsAtOnce);
        }
        return file.Opened();
    }

    // With lock held on the mutex: waits until no thread reads for this queue any more.
    void WaitIdle(std::unique_lock<std::mutex>& lock) {
        FStopped = true;
        FReady.wait(lock, [this] { return FBusy == 0; });
    }

    int Threads() const { return FThreads; }

private:
    bool Slow() const { return FMeanReadingNs >= FSlowReadingNs; }

    // With the mutex held: wakes as many threads as may start one of files new readings.
    void Wake(std::condition_variable& work, std::size_t files) const {
        const auto free = FReadingsAtOnce > FBusy ? FReadingsAtOnce - FBusy : 0;
        for (std::size_t i = std::min(files, free); i > 0; --i)
            work.notify_one();
    }

    const TFollowingFiles FFollowing;
    const int FThreads;
    const double FSlowReadingNs;
    // The mean time of the latest readings, each weighing an eighth.
    double FMeanReadingNs = 0;
    std::size_t FReadingsAtOnce;
    // The files in the reader's order: the first is its next.
    TEntries FEntries;
    // Buffers of files the reader has taken, for the next readings.
    std::vector<platform::TReadBuffer> FSpare;
    std::size_t FHeld = 0;
    std::size_t FHeldBytes = 0;
    // Files being read.
    std::size_t FBusy = 0;
    // A thread found no file it could start for the window or the readings at once.
    bool FFull = false;
    // The reader asked for a file out of the expected order, or is done: nothing more is
    // read ahead.
    bool FStopped = false;
    // Signalled when a file has been read.
    std::condition_variable FReady;
};

namespace {

TReadingThreads::~TReadingThreads() {
    {
        const std::lock_guard<std::mutex> lock(Mutex);
        FStop = true;
    }
    Work.notify_all();
    for (auto& thread : FThreads)
        thread.join();
}

void TReadingThreads::Add(TReadAhead::TQueue* queue, int threads) {
    FQueues.push_back(queue);
    while (FThreads.size() < static_cast<std::size_t>(threads))
        FThreads.emplace_back([this] { Run(); });
}

void TReadingThreads::Remove(TReadAhead::TQueue* queue) {
    FQueues.erase(std::remove(FQueues.begin(), FQueues.end(), queue), FQueues.end());
}

void TReadingThreads::Run() {
    std::vector<TReadAheadFile> following;
    std::unique_lock<std::mutex> lock(Mutex);
    while (!FStop) {
        TReadAhead::TQueue* queue = nullptr;
        TEntries::iterator entry;
        for (auto* candidate : FQueues)
            if (candidate->NextToRead(entry)) {
                queue = candidate;
                break;
            }
        if (queue == nullptr) {
            Work.wait(lock);
            continue;
        }
        lock.unlock();
        const double readingNs = queue->Read(*entry, following);
        lock.lock();
        queue->Finish(entry, following, readingNs, Work);
    }
}

} // namespace

TReadAhead::TReadAhead(TFollowingFiles following, const TReadAheadOptions& options)
    : FQueue(std::make_unique<TQueue>(std::move(following), options)) {}

TReadAhead::~TReadAhead() {
    auto& threads = TReadingThreads::Instance();
    std::unique_lock<std::mutex> lock(threads.Mutex);
    threads.Remove(FQueue.get());
    FQueue->WaitIdle(lock);
}

void TReadAhead::Start(std::vector<TReadAheadFile> files) {
    auto& threads = TReadingThreads::Instance();
    const std::lock_guard<std::mutex> lock(threads.Mutex);
    if (FQueue->Threads() > 0)
        threads.Add(FQueue.get(), FQueue->Threads());
    FQueue->Append(files, threads.Work);
}

bool TReadAhead::Open(TDescFile& file, const std::string& path) {
    auto& threads = TReadingThreads::Instance();
    std::unique_lock<std::mutex> lock(threads.Mutex);
    return FQueue->Take(lock, file, path, threads.Work);
}

} // namespace Catalogue
