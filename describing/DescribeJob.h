// The describing of several music folders, one after the other, on a thread of its own, as the
// program runs it: a window asks for the progress whenever it is told of a change, may stop the
// run, and takes the outcome once the run has ended.
#pragma once

#include "describing/DescribeWalk.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Catalogue {

// A music folder and the catalogue of its own that describes it.
struct TMusicFolder {
    std::string Music;
    std::string Catalogue;
    friend bool operator==(const TMusicFolder&, const TMusicFolder&) = default;
};

struct TDescribeProgress {
    // Music folders finished, and in all; the one being described.
    std::size_t MusicDone = 0;
    std::size_t MusicTotal = 0;
    std::string Music;
    // Folders of songs (albums) of that music folder done, and in all.
    std::size_t FoldersDone = 0;
    std::size_t FoldersTotal = 0;
    // Songs described so far in the whole run.
    std::size_t Songs = 0;
    // The folder of songs being read.
    std::string Folder;
};

struct TDescribeOutcome {
    // The music folders described to the end.
    std::vector<TMusicFolder> Described;
    int Songs = 0;
    int Albums = 0;
    int SongsRead = 0;
    // One line per problem and per music folder that could not be described.
    std::vector<std::string> Details;
    bool Stopped = false;
};

using TSongFactsReaderFactory = std::function<std::unique_ptr<TSongFactsReader>()>;

class TDescribeJob {
public:
    // Starts describing the folders (old entries of songs gone are pruned). onChange and onEnd
    // are called on the job's thread: onChange after each change of the progress, onEnd once,
    // last.
    TDescribeJob(std::vector<TMusicFolder> folders, const TSongFactsReaderFactory& newReader,
                 unsigned readThreads, std::function<void()> onChange, std::function<void()> onEnd);
    // Stops the run and waits for it.
    ~TDescribeJob();
    TDescribeJob(const TDescribeJob&) = delete;
    TDescribeJob& operator=(const TDescribeJob&) = delete;

    // Asks the run to stop before its next album or song.
    void Stop() { FStop = true; }
    bool Stopping() const { return FStop; }
    // Waits for the run's end.
    void Wait();

    TDescribeProgress Progress() const;
    // What the run did; complete once onEnd has been called.
    TDescribeOutcome Outcome() const;

private:
    void Run(const TSongFactsReaderFactory& newReader, unsigned readThreads);
    void Changed();

    const std::vector<TMusicFolder> FFolders;
    std::function<void()> FOnChange;
    std::function<void()> FOnEnd;
    std::atomic<bool> FStop{false};
    mutable std::mutex FLock;
    TDescribeProgress FProgress;
    TDescribeOutcome FOutcome;
    std::thread FThread;
};

} // namespace Catalogue
