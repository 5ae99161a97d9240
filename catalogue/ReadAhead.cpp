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

double NsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
        .count();
}

// Opens path into file (below folder when given); returns the time the reading took in
// nanoseconds.
double TimedOpen(TDescFile& file, const std::string& path, const TDescFolder* folder) {
    const auto start = std::chrono::steady_clock::now();
    file.Open(path, folder);
    return NsSince(start);
}

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
    // the time the reading itself took in nanoseconds (the listing is work, not waiting).
    double Read(TEntry& entry, std::vector<TReadAheadFile>& following) const noexcept {
        following.clear();
        double readingNs = 0;
        try {
            const auto start = std::chrono::steady_clock::now();
            entry.Result =
                platform::ReadDescFile(entry.File.Path, entry.File.Folder.get(), entry.Buffer);
            readingNs = NsSince(start);
            if (entry.Result == TDescRead::Read)
                FFollowing(entry.File, std::string_view(entry.Buffer.Data(), entry.Buffer.Size()),
                           following);
        } catch (...) {
            entry.Failed = true;
            following.clear();
        }
        return readingNs;
    }

    // With the mutex held: entry has been read; the files that follow it take their places
    // right after it.
    void Finish(TEntries::iterator entry, std::vector<TReadAheadFile>& following, double readingNs,
                std::condition_variable& work) {
        entry->State = TState::Done;
        FHeldBytes += entry->Buffer.Size();
        --FBusy;
        const auto allowed = FReadingsAtOnce;
        Note(readingNs);
        Place(std::next(entry), following, allowed, work);
        if (entry == FEntries.begin() || FBusy == 0)
            FReady.notify_all();
    }

    // With the mutex held: the files that follow a file just read take their places before
    // `before`, and threads are woken for them and for the readings at once beyond allowed.
    void Place(TEntries::iterator before, std::vector<TReadAheadFile>& following,
               std::size_t allowed, std::condition_variable& work) {
        for (auto& file : following)
            FEntries.emplace(before, std::move(file));
        Wake(work, following.size() + (FReadingsAtOnce > allowed ? FReadingsAtOnce - allowed : 0));
    }

    // The mean after a reading of readingNs, which weighs an eighth. A reading a few times too
    // slow (the thread put aside a while by the machine's load) does not start the threads on its
    // own; one eight times too slow (a disk seeking, a network's round trip) does, since a
    // reading counts at most eight times the slow reading time.
    double NextMean(double readingNs) const {
        return FMeanReadingNs + (std::min(readingNs, 8 * FSlowReadingNs) - FMeanReadingNs) / 8;
    }

    // With the mutex held: counts a reading of readingNs into the mean, which decides whether
    // the threads read.
    void Note(double readingNs) {
        FMeanReadingNs = NextMean(readingNs);
        FReadingsAtOnce = Slow() ? static_cast<std::size_t>(FThreads) : 0;
    }

    // Whether a reading of readingNs, counted into the mean, leaves the reading quick.
    bool Quick(double readingNs) const {
        return readingNs < FSlowReadingNs / 2 && NextMean(readingNs) < FSlowReadingNs;
    }

    // With lock held on the mutex: lists the files that follow the reader's file just read
    // into file, right after its entry (the first) when listed, else as the only ones listed.
    void List(std::unique_lock<std::mutex>& lock, const TDescFile& file,
              const TReadAheadFile* listed, const TReadAheadPlace& place, std::size_t allowed,
              std::condition_variable& work) {
        lock.unlock();
        FReaderFollowing.clear();
        bool complete = true;
        try {
            if (listed != nullptr) {
                FFollowing(*listed, file.Text(), FReaderFollowing);
            } else {
                TReadAheadFile self;
                self.Path = place.Path;
                self.Level = place.Level;
                self.Base = place.Base;
                FFollowing(self, file.Text(), FReaderFollowing);
            }
        } catch (...) {
            complete = false;
        }
        lock.lock();
        if (complete)
            Place(listed != nullptr ? std::next(FEntries.begin()) : FEntries.end(),
                  FReaderFollowing, allowed, work);
        else
            // Out of memory for the list: the reader goes on alone.
            FStopped = true;
    }

    // With the mutex held: the files of the reader's start.
    void Append(std::vector<TReadAheadFile>& files, std::condition_variable& work) {
        for (auto& file : files)
            FEntries.emplace_back(std::move(file));
        Wake(work, files.size());
    }

    // With lock held on the mutex: the reader's next file into file, read ahead or read now.
    bool Take(std::unique_lock<std::mutex>& lock, TDescFile& file, const TReadAheadPlace& place,
              std::condition_variable& work) {
        // Nothing listed: the files after one whose following files were left unlisted.
        if (!FStopped && FEntries.empty())
            return TakeInPlace(lock, file, place, work);
        if (FStopped || FEntries.front().File.Path != place.Path) {
            FStopped = true;
            lock.unlock();
            return file.Open(place.Path, place.Folder);
        }
        const auto front = FEntries.begin();
        // While readings are quick the reader reads its next file itself, straight into its own
        // buffer.
        if (front->State == TState::Waiting && FReadingsAtOnce == 0)
            return TakeInPlace(lock, file, place, work);
        // The reader reads its next file itself when no thread has started it.
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
            return file.Open(place.Path, folder.get());
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

    // With lock held on the mutex: reads the reader's next file into file on the reader's
    // thread; it is the first file listed, which no thread has started, or nothing is listed.
    bool TakeInPlace(std::unique_lock<std::mutex>& lock, TDescFile& file,
                     const TReadAheadPlace& place, std::condition_variable& work) {
        const bool listed = !FEntries.empty();
        const auto front = FEntries.begin();
        // No thread starts it meanwhile, and only the reader removes it.
        if (listed)
            front->State = TState::Reading;
        lock.unlock();
        double readingNs = 0;
        try {
            readingNs =
                TimedOpen(file, place.Path, listed ? front->File.Folder.get() : place.Folder);
        } catch (...) {
            // As the reading without threads would: nothing more is read ahead.
            lock.lock();
            FStopped = true;
            if (listed)
                FEntries.pop_front();
            throw;
        }
        lock.lock();
        const auto allowed = FReadingsAtOnce;
        Note(readingNs);
        // Nothing else listed: nothing is read for this queue but what this file lists.
        const bool alone = !listed || std::next(front) == FEntries.end();
        if (file.Opened() && (!alone || !Quick(readingNs)))
            List(lock, file, listed ? &front->File : nullptr, place, allowed, work);
        if (listed)
            FEntries.pop_front();
        // While readings are quick, the files that follow one are not listed: a listing costs
        // more than the reading it would spare. The reader reads on alone, without the mutex,
        // until a reading is slow.
        FAlone = !FStopped && FEntries.empty();
        return file.Opened();
    }

    // Whether the reader reads alone: nothing is listed and no thread reads for this queue.
    bool Alone() const { return FAlone; }

    // Without the mutex, while the reader reads alone: reads its next file in place; a slow
    // reading lists the files that follow it, and the threads may read those ahead.
    bool ReadAlone(std::mutex& mutex, TDescFile& file, const TReadAheadPlace& place,
                   std::condition_variable& work) {
        const double readingNs = TimedOpen(file, place.Path, place.Folder);
        if (!file.Opened() || Quick(readingNs)) {
            // Only the reader reads or writes the mean while it reads alone.
            FMeanReadingNs = NextMean(readingNs);
            return file.Opened();
        }
        std::unique_lock<std::mutex> lock(mutex);
        const auto allowed = FReadingsAtOnce;
        Note(readingNs);
        List(lock, file, nullptr, place, allowed, work);
        FAlone = !FStopped && FEntries.empty();
        return true;
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
    // The files that follow one the reader read itself; only the reader uses it.
    std::vector<TReadAheadFile> FReaderFollowing;
    // The reader reads alone (see TakeInPlace); only the reader uses it.
    bool FAlone = false;
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
    if (std::find(FQueues.begin(), FQueues.end(), queue) == FQueues.end())
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

bool TReadAhead::Open(TDescFile& file, const TReadAheadPlace& place) {
    auto& threads = TReadingThreads::Instance();
    if (FQueue->Alone())
        return FQueue->ReadAlone(threads.Mutex, file, place, threads.Work);
    std::unique_lock<std::mutex> lock(threads.Mutex);
    return FQueue->Take(lock, file, place, threads.Work);
}

} // namespace Catalogue
