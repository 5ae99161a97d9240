#include "describing/DescribeJob.h"

#include "describing/CataloguePlace.h"
#include "describing/MusicCatalogue.h"
#include "platform/MusicFiles.h"

namespace Catalogue {

namespace {
const char* const EmptyFolderText =
    "the folder is empty (a share that is not mounted?): its catalogue is left as it was";

// True for a folder that can be listed and holds nothing.
bool EmptyFolder(const std::string& folder) {
    try {
        return platform::ListFolderEntries(folder).empty();
    } catch (const std::exception&) {
        return false;
    }
}
} // namespace

TDescribeJob::TDescribeJob(std::vector<TMusicFolder> folders,
                           const TSongFactsReaderFactory& newReader, unsigned readThreads,
                           std::function<void()> onChange, std::function<void()> onEnd)
    : FFolders(std::move(folders)), FOnChange(std::move(onChange)), FOnEnd(std::move(onEnd)) {
    FProgress.MusicTotal = FFolders.size();
    FThread = std::thread([this, newReader, readThreads] { Run(newReader, readThreads); });
}

TDescribeJob::~TDescribeJob() {
    FStop = true;
    Wait();
}

void TDescribeJob::Wait() {
    if (FThread.joinable())
        FThread.join();
}

TDescribeProgress TDescribeJob::Progress() const {
    const std::lock_guard<std::mutex> guard(FLock);
    return FProgress;
}

TDescribeOutcome TDescribeJob::Outcome() const {
    const std::lock_guard<std::mutex> guard(FLock);
    return FOutcome;
}

void TDescribeJob::Changed() {
    if (FOnChange)
        FOnChange();
}

void TDescribeJob::Run(const TSongFactsReaderFactory& newReader, unsigned readThreads) {
    TDescribeOptions options;
    options.Prune = true;
    options.ReadThreads = readThreads;
    std::size_t songsBefore = 0;
    TDescribeEvents events;
    events.OnProblem = [this](const TProblem& problem) {
        const std::lock_guard<std::mutex> guard(FLock);
        FOutcome.Details.push_back(problem.Path + ": " + problem.Message);
    };
    events.OnAlbum = [this](const std::string& folder) {
        {
            const std::lock_guard<std::mutex> guard(FLock);
            FProgress.Folder = folder;
        }
        Changed();
    };
    events.OnProgress = [this](std::size_t done, std::size_t total) {
        {
            const std::lock_guard<std::mutex> guard(FLock);
            FProgress.FoldersDone = done;
            FProgress.FoldersTotal = total;
        }
        Changed();
    };
    events.OnSongs = [this, &songsBefore](std::size_t songs) {
        {
            const std::lock_guard<std::mutex> guard(FLock);
            FProgress.Songs = songsBefore + songs;
        }
        Changed();
    };
    events.Cancelled = [this] { return FStop.load(); };
    try {
        const auto reader = newReader();
        for (const auto& folder : FFolders) {
            if (FStop) {
                const std::lock_guard<std::mutex> guard(FLock);
                FOutcome.Stopped = true;
                break;
            }
            {
                const std::lock_guard<std::mutex> guard(FLock);
                FProgress.Music = folder.Music;
                FProgress.FoldersDone = 0;
                FProgress.FoldersTotal = 0;
                FProgress.Folder.clear();
            }
            Changed();
            try {
                // An empty music folder with a catalogue is most likely a share not mounted:
                // pruning would drop every entry and the user's edits with them.
                if (EmptyFolder(folder.Music) && CatalogueSource(folder.Catalogue)) {
                    const std::lock_guard<std::mutex> guard(FLock);
                    FOutcome.Details.push_back(folder.Music + ": " + EmptyFolderText);
                    ++FProgress.MusicDone;
                    continue;
                }
                const auto summary =
                    DescribeMusicFolder(folder.Music, folder.Catalogue, *reader, options, events);
                const std::lock_guard<std::mutex> guard(FLock);
                if (summary.Stopped)
                    FOutcome.Stopped = true;
                else
                    FOutcome.Described.push_back(folder);
                FOutcome.Songs += summary.SongsDescribed;
                FOutcome.Albums += summary.AlbumsDescribed;
                FOutcome.SongsRead += summary.SongsRead;
                songsBefore += static_cast<std::size_t>(summary.SongsDescribed);
                ++FProgress.MusicDone;
            } catch (const std::exception& error) {
                const std::lock_guard<std::mutex> guard(FLock);
                FOutcome.Details.push_back(error.what());
                ++FProgress.MusicDone;
            }
        }
    } catch (const std::exception& error) {
        const std::lock_guard<std::mutex> guard(FLock);
        FOutcome.Details.push_back(error.what());
    }
    if (FOnEnd)
        FOnEnd();
}

} // namespace Catalogue
