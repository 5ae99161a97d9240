// Reading ahead: while a reader walks the description files one after the other, a few threads
// read the files it will open next, so that waiting for the disk (after a restart, when nothing
// is cached) or for a network share overlaps instead of adding up. The reader stays sequential
// and single-threaded: it asks for each file in its own order and receives exactly what its own
// reading would have given. Only files the reader is certain to open are read: those it names
// at the start, and those that a file already read names as the next ones (a category's album
// files once the category file is read). A window bounds how many files are held read ahead.
#pragma once

#include "catalogue/DescFile.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Catalogue {

// A description file that a reader will open.
struct TReadAheadFile {
    std::string Path;
    // The folder it is opened relative to (none: the whole path).
    std::shared_ptr<const TDescFolder> Folder;
    // The reader's own marks: the level of the file in the catalogue and the path its lines'
    // names are joined to.
    int Level = 0;
    std::string Base;
};

// The reader's next file as it knows it: its path and the reader's own marks for it (see
// TReadAheadFile), from which the files that follow it are listed when no file read before
// listed it.
struct TReadAheadPlace {
    const std::string& Path;
    int Level = 0;
    std::string_view Base;
    // A folder it may be opened relative to, when it is read where nothing listed it.
    const TDescFolder* Folder = nullptr;
};

// The files a reader opens right after file, in its order, given the text read from file.
// Called on the reading threads, so it must depend on nothing but its arguments.
using TFollowingFiles = std::function<void(const TReadAheadFile& file, std::string_view text,
                                           std::vector<TReadAheadFile>& following)>;

// How a reader reads ahead.
struct TReadAheadOptions {
    // Threads reading at once; 0 reads every file only when the reader asks for it.
    int Threads = 32;
    // While files come from the cache, the reader reads each one itself when it needs it:
    // handing a file over from another thread costs more than reading it, and so does listing
    // the files that follow one, which is left out while every reading is quick. Once readings
    // take this long on average (a disk after a restart, a network share), the threads read
    // ahead; 0 has them read ahead from the first file.
    double SlowReadingNs = 50'000;
};

// The reading ahead of one reader's walk. Every file is read on the first thread free for it, or
// by the reader itself when it asks for a file that no thread has started yet. The mean time of
// the latest readings decides whether the threads read at all. While the reading is quick and
// nothing else is listed, the reader reads on alone, files unlisted; the first slow reading
// lists the files that follow the file just read, from the reader's own marks for it.
class TReadAhead {
public:
    TReadAhead(TFollowingFiles following, const TReadAheadOptions& options);
    // Waits for the readings still under way; the files not yet asked for are dropped.
    ~TReadAhead();
    TReadAhead(const TReadAhead&) = delete;
    TReadAhead& operator=(const TReadAhead&) = delete;

    // Lets the threads read for this reader, starting with files, those the reader opens first
    // in its order; with none, the first file is read when the reader asks for it and lists the
    // files that follow it from the reader's marks.
    void Start(std::vector<TReadAheadFile> files);

    // The reader's next file into file; false when it was not read (file.Result() says why).
    // A path out of the expected order is read there and then, and nothing more is read ahead.
    bool Open(TDescFile& file, const TReadAheadPlace& place);

    // The state shared with the reading threads.
    class TQueue;

private:
    std::unique_ptr<TQueue> FQueue;
};

} // namespace Catalogue
