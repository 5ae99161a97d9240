#include "app/DescribeFrm.h"

#include "catalogue/CataloguePath.h"
#include "describe/TagLibSongFacts.h"
#include "toolkit/Bind.h"
#include "toolkit/Controls.h"
#include "toolkit/Text.h"

#include <QMetaObject>

#include <algorithm>

namespace {

// Songs read at once: many reads keep a disk's or a share's queue full.
constexpr unsigned DefaultReadThreads = 16;

struct TReading {
    Catalogue::TSongFactsReaderFactory NewReader;
    unsigned Threads = DefaultReadThreads;
};

TReading& Reading() {
    static TReading reading;
    return reading;
}

std::unique_ptr<Catalogue::TSongFactsReader> NewSongReader() {
    if (Reading().NewReader)
        return Reading().NewReader();
    return std::make_unique<TTagLibSongFacts>();
}

QLabel* PathLabel(QWidget* parent, int left, int top, int width) {
    auto* label = new QLabel(parent);
    label->setGeometry(left, top, width, 17);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TDescribeFrm::TDescribeFrm(QWidget* owner, const std::string& caption)
    : TForm(owner, caption, 380, 132) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    SetScreenCentered(true);
    MusicLbl = PathLabel(this, 10, 8, 360);
    FoldersLbl = PathLabel(this, 10, 28, 360);
    SongsLbl = PathLabel(this, 10, 48, 360);
    ReadingLbl = PathLabel(this, 10, 68, 360);
    FoldersBar = new QProgressBar(this);
    FoldersBar->setGeometry(10, 95, 270, 21);
    FoldersBar->setAccessibleName(QStringLiteral("Folders done"));
    CancelBtn = NewButton(this, "Cancel", 295, 94, 75, 25);
    Bind(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

TDescribeFrm::~TDescribeFrm() {
    // The run must not call into a window that is gone.
    FJob.reset();
}

void TDescribeFrm::SetReaderForTesting(Catalogue::TSongFactsReaderFactory newReader,
                                       unsigned readThreads) {
    Reading().NewReader = std::move(newReader);
    Reading().Threads = readThreads == 0 ? DefaultReadThreads : readThreads;
}

std::string TDescribeFrm::MusicText(const Catalogue::TDescribeProgress& progress) {
    const std::size_t number = std::min(progress.MusicDone + 1, progress.MusicTotal);
    return "Music folder " + std::to_string(number) + " of " + std::to_string(progress.MusicTotal) +
           ": " + progress.Music;
}

std::string TDescribeFrm::FoldersText(const Catalogue::TDescribeProgress& progress) {
    return "Folders: " + std::to_string(progress.FoldersDone) + " done, " +
           std::to_string(progress.FoldersTotal - progress.FoldersDone) + " to do";
}

std::string TDescribeFrm::SongsText(const Catalogue::TDescribeProgress& progress) {
    return "Songs described: " + std::to_string(progress.Songs);
}

std::string TDescribeFrm::ReadingText(const Catalogue::TDescribeProgress& progress) {
    std::string folder = progress.Folder;
    // The folder below the music folder says enough; the music folder stands above.
    if (folder.size() > progress.Music.size() && folder.starts_with(progress.Music))
        folder = folder.substr(progress.Music.size() + 1);
    // Shown with the system's own delimiter, whichever the describing joined it with.
    std::replace(folder.begin(), folder.end(), '/', Catalogue::PathDelimiter);
    return "Reading: " + folder;
}

void TDescribeFrm::Start(std::vector<Catalogue::TMusicFolder> folders,
                         std::function<void(const Catalogue::TDescribeOutcome&)> onEnd) {
    FOnEnd = std::move(onEnd);
    CancelBtn->setEnabled(true);
    Catalogue::TDescribeProgress start;
    start.MusicTotal = folders.size();
    if (!folders.empty())
        start.Music = folders.front().Music;
    ShowProgress(start);
    FoldersBar->setRange(0, 0);
    Show();
    // The run's calls come on its own thread: each is carried over to this window's thread,
    // a change only while none waits to be shown, so a fast run does not flood the queue.
    FJob = std::make_unique<Catalogue::TDescribeJob>(
        std::move(folders), NewSongReader, Reading().Threads,
        [this] {
            if (!FChangePosted.exchange(true))
                QMetaObject::invokeMethod(
                    this, [this] { ShowJobProgress(); }, Qt::QueuedConnection);
        },
        [this] {
            QMetaObject::invokeMethod(
                this, [this] { Ended(); }, Qt::QueuedConnection);
        });
}

void TDescribeFrm::ShowJobProgress() {
    FChangePosted = false;
    if (FJob)
        ShowProgress(FJob->Progress());
}

void TDescribeFrm::ShowProgress(const Catalogue::TDescribeProgress& progress) {
    MusicLbl->setText(ToQString(MusicText(progress)));
    FoldersLbl->setText(ToQString(FoldersText(progress)));
    SongsLbl->setText(ToQString(SongsText(progress)));
    ReadingLbl->setText(ToQString(ReadingText(progress)));
    FoldersBar->setRange(0, static_cast<int>(progress.FoldersTotal));
    FoldersBar->setValue(static_cast<int>(progress.FoldersDone));
}

void TDescribeFrm::CancelBtnClick() {
    if (FJob)
        FJob->Stop();
    CancelBtn->setEnabled(false);
}

bool TDescribeFrm::FormCloseQuery() {
    // Closing the window while it runs stops the run, which then closes it.
    if (!FJob)
        return true;
    CancelBtnClick();
    return false;
}

void TDescribeFrm::WaitForEnd() {
    if (!FJob)
        return;
    FJob->Wait();
    Ended();
}

void TDescribeFrm::Ended() {
    if (!FJob)
        return;
    ShowJobProgress();
    FJob->Wait();
    const auto outcome = FJob->Outcome();
    FJob.reset();
    hide();
    if (FOnEnd)
        FOnEnd(outcome);
}
