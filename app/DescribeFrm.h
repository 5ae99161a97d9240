// The window that stands while MP3 folders are described on a thread of their own: the music
// folder, the folders of songs done and to do, the songs described and the folder being read,
// and a Cancel button that stops the run at its next song. The program's other windows stay
// usable meanwhile.
#pragma once

#include "describing/DescribeJob.h"
#include "toolkit/Form.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <atomic>
#include <functional>
#include <memory>

class TDescribeFrm : public TForm {
    Q_OBJECT
public:
    // A window over owner with the given caption; nothing runs before Start.
    TDescribeFrm(QWidget* owner, const std::string& caption);
    ~TDescribeFrm() override;

    QLabel* MusicLbl;
    QLabel* FoldersLbl;
    QLabel* SongsLbl;
    QLabel* ReadingLbl;
    QProgressBar* FoldersBar;
    QPushButton* CancelBtn;

    // Shows the window and starts describing the folders; onEnd is called on this window's
    // thread once the run has ended, with what it did.
    void Start(std::vector<Catalogue::TMusicFolder> folders,
               std::function<void(const Catalogue::TDescribeOutcome&)> onEnd);
    void CancelBtnClick();
    // Waits for the run's end and hands its outcome over, as the end does when the window's
    // thread comes back to its message loop.
    void WaitForEnd();
    bool Running() const { return FJob != nullptr; }
    // Puts a progress into the window's texts and bar.
    void ShowProgress(const Catalogue::TDescribeProgress& progress);

    // How the songs are read: the reader of real MP3 files unless a test sets another, and how
    // many songs are read at once.
    static void SetReaderForTesting(Catalogue::TSongFactsReaderFactory newReader,
                                    unsigned readThreads);

    // The texts of the window for a progress.
    static std::string MusicText(const Catalogue::TDescribeProgress& progress);
    static std::string FoldersText(const Catalogue::TDescribeProgress& progress);
    static std::string SongsText(const Catalogue::TDescribeProgress& progress);
    static std::string ReadingText(const Catalogue::TDescribeProgress& progress);

protected:
    bool FormCloseQuery() override;

private:
    void ShowJobProgress();
    void Ended();

    std::unique_ptr<Catalogue::TDescribeJob> FJob;
    std::function<void(const Catalogue::TDescribeOutcome&)> FOnEnd;
    // A change already posted to the window's thread and not yet shown.
    std::atomic<bool> FChangePosted{false};
};
