// Adding MP3 folders from inside the program, on real MP3 files (made with lame where it is
// installed, silent streams of the same lengths elsewhere, as under Wine): the folder
// dialog, the describing on its own thread with its progress window, Cancel, the summary, the
// root added once, the tree and totals, a refresh after songs come and go, the music folder
// untouched throughout, the added folders kept in the settings, and the offer to delete the
// program's own catalogue when its root is removed.
#include "tests/gui/CatalogueBuilder.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/LameSongs.h"

#include "app/DescribeFrm.h"
#include "app/DescribeSummary.h"
#include "catalogue/CataloguePath.h"
#include "describe/TagLibSongFacts.h"
#include "describing/CatalogueIndex.h"
#include "platform/Folders.h"
#include "toolkit/FileDialog.h"
#include "tools/SilentMp3.h"

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <map>
#include <mutex>

namespace fs = std::filesystem;

namespace {

const std::vector<std::pair<std::string, TLameSong>> Songs = {
    {"Artist One/First Album (2001)",
     {"01 - An Opening Song of Some Length.mp3", 22050, 22050 * 2, "-b 32"}},
    {"Artist One/First Album (2001)",
     {"02 - The Second Song Named at Length.mp3", 22050, 22050 * 3, "-b 32"}},
    {"Artist One/Second Album",
     {"01 - Only Song of the Second Album.mp3", 22050, 22050 * 2, "-b 32"}},
    {"Artist Two/Third Album", {"01 - First of the Third.mp3", 22050, 22050 * 1, "-b 32"}},
    {"Artist Two/Third Album", {"02 - Second of the Third.mp3", 22050, 22050 * 2, "-b 32"}},
};

// The song as a real MP3 file of its length: encoded by lame where it is installed, else a
// silent MPEG-1 stream, which the describing reads the same way.
void MakeSong(const fs::path& folder, const TLameSong& song) {
    if (LameAvailable()) {
        MakeLameSong(folder, song);
        return;
    }
    const TMp3Format format{32000, 32000, TChannelMode::cmMono};
    const auto frames = Mp3FrameCount(format, static_cast<int>(song.Seconds() * 1000));
    std::ofstream(folder / song.Name, std::ios::binary) << SilentMp3(format, frames);
}

// The description files below a catalogue, by path.
std::map<std::string, std::string> DescFiles(const fs::path& catalogue) {
    std::map<std::string, std::string> files;
    if (!fs::exists(catalogue))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(catalogue))
        if (entry.path().filename() == "descript.ion")
            files[fs::relative(entry.path(), catalogue).generic_string()] =
                TTempDir::Read(entry.path());
    return files;
}

// The reader of real songs that holds the describing at one song until the test lets it go.
class TGatedSongFacts : public Catalogue::TSongFactsReader {
public:
    explicit TGatedSongFacts(int gate) : FGate(gate) {}
    Catalogue::TSongFacts Read(const std::string& path) override {
        std::unique_lock<std::mutex> guard(FLock);
        if (++FReads == FGate) {
            FReached = true;
            FChanged.notify_all();
            FChanged.wait(guard, [this] { return FOpen; });
        }
        guard.unlock();
        return TTagLibSongFacts().Read(path);
    }
    void WaitUntilHeld() {
        std::unique_lock<std::mutex> guard(FLock);
        FChanged.wait(guard, [this] { return FReached; });
    }
    void Open() {
        const std::lock_guard<std::mutex> guard(FLock);
        FOpen = true;
        FChanged.notify_all();
    }

private:
    const int FGate;
    int FReads = 0;
    bool FReached = false;
    bool FOpen = false;
    std::mutex FLock;
    std::condition_variable FChanged;
};

class TAddMusicFolderTest : public TCatalogueGuiTest {
protected:
    void SetUp() override {
        TCatalogueGuiTest::SetUp();
        for (const auto& [folder, song] : Songs) {
            fs::create_directories(Music() / folder);
            MakeSong(Music() / folder, song);
        }
        SetFileDialogHook([this](TFileDialog& dialog) {
            EXPECT_EQ(dialog.Kind, TFileDialog::fdFolder);
            dialog.FileName = Music().string();
            return true;
        });
        OnModal = [this](TForm& form) {
            if (auto* summary = dynamic_cast<TDescribeSummaryFrm*>(&form)) {
                Summaries.push_back(summary->SummaryLbl->text().toStdString());
                Details.push_back(summary->DetailsLst->toPlainText().toStdString());
            }
            form.SetModalResult(mrOk);
        };
    }
    void TearDown() override {
        SetFileDialogHook(nullptr);
        TDescribeFrm::SetReaderForTesting(nullptr, 0);
        TCatalogueGuiTest::TearDown();
    }

    fs::path Music() const { return Files.Path() / "Music"; }
    static fs::path CatalogueFolder() {
        return fs::path(platform::UserDataDirectory()) / "catalogues" / "Music";
    }
    static std::string Root() { return CatalogueFolder().string() + Catalogue::PathDelimiter; }

    // Runs a describing started by a command to its end, and reads the tree as it asks.
    void Finish() {
        ASSERT_NE(MainFrm->DescribeFrm, nullptr);
        MainFrm->DescribeFrm->WaitForEnd();
        if (StatusFrm->isVisible())
            StatusFrm->ShowedTmrTimer();
    }

    std::vector<std::string> Roots() const {
        std::vector<std::string> roots;
        for (int row = 0; row < PrefsFrm->MP3PathLst->RowCount(); ++row)
            roots.push_back(PrefsFrm->MP3PathLst->Caption(row));
        return roots;
    }

    std::vector<std::string> Summaries;
    std::vector<std::string> Details;
};

TEST_F(TAddMusicFolderTest, AFolderIsDescribedWithProgressAddedOnceAndItsAlbumsPlayable) {
    StartOn({}, true);
    FirstReading();
    const auto before = Snapshot(Music());

    MainFrm->AddMP3Folder1Click();
    ASSERT_NE(MainFrm->DescribeFrm, nullptr);
    TDescribeFrm* progress = MainFrm->DescribeFrm;
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->Caption(), "Add MP3 folder");
    EXPECT_FALSE(MainFrm->AddMP3Folder1->isEnabled());
    // The main window answers meanwhile.
    MainFrm->PageControl1->setCurrentWidget(MainFrm->SearchTab);
    MainFrm->PageControl1->setCurrentWidget(MainFrm->PlayTab);
    progress->WaitForEnd();
    EXPECT_EQ(progress->FoldersLbl->text().toStdString(), "Folders: 3 done, 0 to do");
    EXPECT_EQ(progress->SongsLbl->text().toStdString(), "Songs described: 5");
    EXPECT_EQ(progress->MusicLbl->text().toStdString(), "Music folder 1 of 1: " + Music().string());
    EXPECT_FALSE(progress->isVisible());
    StatusFrm->ShowedTmrTimer();

    ASSERT_EQ(Summaries.size(), 1u);
    // Titles longer than a line holds are named in the details, one line each.
    EXPECT_EQ(Summaries[0], "Songs described: 5 (5 read from their files)\nAlbums described: 3\n"
                            "Problems: 3");
    EXPECT_EQ(std::count(Details[0].begin(), Details[0].end(), '\n'), 2);
    EXPECT_NE(Details[0].find((Music() / "Artist One/Second Album/01 - Only Song of the Second "
                                         "Album.mp3: description cut at column 50")
                                  .string()),
              std::string::npos)
        << Details[0];
    EXPECT_EQ(ModalForms.back(), "MP3 folders described");
    EXPECT_EQ(Roots(), std::vector<std::string>{Root()});
    EXPECT_EQ(TreeText(), "Artist One{First Album (2001)|Second Album}; Artist Two{Third Album}");
    EXPECT_EQ(BarText(MainFrm->AlbumBar), "3 album(s) | 0:00:10 total play time");
    Click(Node(0, 0));
    EXPECT_EQ(Rows(MainFrm->ItemsLst).size(), 2u);
    EXPECT_EQ(BarText(MainFrm->SongBar), "2 song(s) | 0:05 total play time");
    EXPECT_TRUE(MainFrm->PlayBtn->isEnabled());

    // The same folder again: described again, its root still listed once.
    MainFrm->AddMP3Folder1Click();
    Finish();
    EXPECT_EQ(Summaries.back(), "Songs described: 5 (0 read from their files)\n"
                                "Albums described: 3\nProblems: 0");
    EXPECT_EQ(Roots(), std::vector<std::string>{Root()});
    EXPECT_EQ(PrefsFrm->MusicFolders.size(), 1u);
    EXPECT_EQ(Snapshot(Music()), before);

    // The added folder is kept with the settings, beside the roots.
    ASSERT_TRUE(Exit());
    EXPECT_EQ(StoredString("Music Folder #1"), Music().string());
    EXPECT_EQ(StoredString("Music Catalogue #1"), CatalogueFolder().string());
    EXPECT_EQ(StoredString("MP3 Files #1"), Root());
    EXPECT_FALSE(StoredExists("Music Folder #2"));
}

TEST_F(TAddMusicFolderTest, CancelStopsAtTheNextSongLeavesFilesWholeAndTheNextRunCompletes) {
    StartOn({}, true);
    FirstReading();
    // Songs read one at a time, the fourth held until Cancel has been pressed.
    TGatedSongFacts gated(4);
    struct TForward : Catalogue::TSongFactsReader {
        explicit TForward(TGatedSongFacts& to) : To(to) {}
        Catalogue::TSongFacts Read(const std::string& path) override { return To.Read(path); }
        TGatedSongFacts& To;
    };
    TDescribeFrm::SetReaderForTesting([&] { return std::make_unique<TForward>(gated); }, 1);

    MainFrm->AddMP3Folder1Click();
    TDescribeFrm* progress = MainFrm->DescribeFrm;
    ASSERT_NE(progress, nullptr);
    gated.WaitUntilHeld();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(progress->SongsLbl->text().toStdString(), "Songs described: 3");
    EXPECT_EQ(progress->FoldersLbl->text().toStdString(), "Folders: 2 done, 1 to do");
    EXPECT_EQ(progress->ReadingLbl->text().toStdString(),
              "Reading: " + (fs::path("Artist Two") / "Third Album").string());
    QTest::mouseClick(progress->CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(progress->CancelBtn->isEnabled());
    gated.Open();
    Finish();

    // The held song was the last one described: the album it began stays undescribed, the
    // albums done have their files, and nothing is added to the roots.
    ASSERT_EQ(Summaries.size(), 1u);
    EXPECT_EQ(ModalForms.back(), "Describing stopped");
    EXPECT_NE(Summaries[0].find("Songs described: 4 "), std::string::npos) << Summaries[0];
    EXPECT_EQ(Roots(), std::vector<std::string>{});
    EXPECT_TRUE(PrefsFrm->MusicFolders.empty());
    const auto stopped = DescFiles(CatalogueFolder());
    EXPECT_TRUE(fs::exists(CatalogueFolder() / std::string(Catalogue::IndexFileName)));

    TDescribeFrm::SetReaderForTesting(nullptr, 0);
    MainFrm->AddMP3Folder1Click();
    Finish();
    EXPECT_EQ(Summaries.back(), "Songs described: 5 (1 read from their files)\n"
                                "Albums described: 3\nProblems: 0");
    const auto finished = DescFiles(CatalogueFolder());
    EXPECT_EQ(finished.size(), 6u);
    EXPECT_LT(stopped.size(), finished.size());
    for (const auto& [file, bytes] : stopped)
        EXPECT_EQ(bytes, finished.at(file)) << file;
    EXPECT_EQ(Roots(), std::vector<std::string>{Root()});
    EXPECT_EQ(TreeText(), "Artist One{First Album (2001)|Second Album}; Artist Two{Third Album}");
}

TEST_F(TAddMusicFolderTest, RefreshTakesInANewSongAndDropsOneGone) {
    StartOn({}, true);
    FirstReading();
    MainFrm->AddMP3Folder1Click();
    Finish();
    MakeSong(Music() / "Artist Two/Third Album",
             {"03 - A Third Song Added Later On.mp3", 22050, 22050 * 4, "-b 32"});
    fs::remove(Music() / "Artist One/First Album (2001)/01 - An Opening Song of Some Length.mp3");
    const auto before = Snapshot(Music());

    MainFrm->RefreshMP3Folders1Click();
    ASSERT_NE(MainFrm->DescribeFrm, nullptr);
    EXPECT_EQ(MainFrm->DescribeFrm->Caption(), "Refresh MP3 folders");
    Finish();
    EXPECT_EQ(Summaries.back(), "Songs described: 5 (1 read from their files)\n"
                                "Albums described: 3\nProblems: 1");
    EXPECT_EQ(TreeText(), "Artist One{First Album (2001)|Second Album}; Artist Two{Third Album}");
    EXPECT_EQ(BarText(MainFrm->AlbumBar), "3 album(s) | 0:00:12 total play time");
    Click(Node(0, 0));
    ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 1);
    EXPECT_NE(MainFrm->ItemsLst->Caption(0).find("02 - The Second Song"), std::string::npos);
    Click(Node(1, 0));
    ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 3);
    EXPECT_NE(MainFrm->ItemsLst->Caption(2).find("03 - A Third Song"), std::string::npos);
    EXPECT_EQ(Snapshot(Music()), before);
    EXPECT_EQ(Roots(), std::vector<std::string>{Root()});

    // Refreshed after a restart from the folders kept in the settings.
    ASSERT_TRUE(Exit());
    ASSERT_TRUE(Restart());
    ASSERT_EQ(PrefsFrm->MusicFolders.size(), 1u);
    MainFrm->RefreshMP3Folders1Click();
    Finish();
    EXPECT_EQ(Summaries.back(), "Songs described: 5 (0 read from their files)\n"
                                "Albums described: 3\nProblems: 0");
}

TEST_F(TAddMusicFolderTest, RemovingTheRootOffersToDeleteOnlyTheProgramsOwnCatalogue) {
    for (const TModalResult answer : {mrNo, mrYes}) {
        SCOPED_TRACE(answer == mrYes ? "yes" : "no");
        StartOn({}, true);
        FirstReading();
        MainFrm->AddMP3Folder1Click();
        Finish();
        const auto before = Snapshot(Music());
        Boxes.clear();
        Answers = {answer};
        OnModal = [](TForm& form) {
            if (&form != PrefsFrm)
                return;
            PrefsFrm->MP3PathLst->SetSelected(0);
            PrefsFrm->DeleteBtnClick();
            PrefsFrm->OKBtnClick();
        };
        MainFrm->Preferences1Click();
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].Text, "Delete the catalogue that MP3 Tunestead made for " +
                                     Music().string() + "?\r\r" + CatalogueFolder().string() +
                                     "\r\rThe MP3 files themselves stay as they are.");
        EXPECT_EQ(Boxes[0].Buttons, mbYes | mbNo);
        EXPECT_EQ(fs::exists(CatalogueFolder()), answer == mrNo);
        EXPECT_TRUE(PrefsFrm->MusicFolders.empty());
        EXPECT_EQ(Snapshot(Music()), before);
        StopForms();
    }
    // A root the program did not make is removed without a question.
    StartOn({Dir("other")}, true);
    Boxes.clear();
    OnModal = [](TForm&) {
        PrefsFrm->MP3PathLst->SetSelected(0);
        PrefsFrm->DeleteBtnClick();
        PrefsFrm->OKBtnClick();
    };
    MainFrm->Preferences1Click();
    EXPECT_EQ(Boxes.size(), 0u);
}

TEST_F(TAddMusicFolderTest, AFirstRunLeadsToTheButtonThatAddsTheMusic) {
    bool focused = false;
    OnModal = [&](TForm& form) {
        if (&form == PrefsFrm) {
            focused = PrefsFrm->focusWidget() == PrefsFrm->AddMusicBtn;
            EXPECT_FALSE(PrefsFrm->MP3PathLst->accessibleDescription().isEmpty());
            QTest::mouseClick(PrefsFrm->AddMusicBtn, Qt::LeftButton);
            ASSERT_NE(MainFrm->DescribeFrm, nullptr);
            EXPECT_EQ(MainFrm->DescribeFrm->parentWidget(), PrefsFrm);
            MainFrm->DescribeFrm->WaitForEnd();
            EXPECT_EQ(Roots(), std::vector<std::string>{Root()});
            PrefsFrm->OKBtnClick();
            return;
        }
        if (auto* summary = dynamic_cast<TDescribeSummaryFrm*>(&form))
            Summaries.push_back(summary->SummaryLbl->text().toStdString());
        form.SetModalResult(mrOk);
    };
    ASSERT_TRUE(Start());
    EXPECT_TRUE(focused);
    EXPECT_EQ(Summaries.size(), 1u);
    FirstReading();
    EXPECT_EQ(TreeText(), "Artist One{First Album (2001)|Second Album}; Artist Two{Third Album}");
}

// A path written with "/" as the progress window shows it, with the system's own delimiter.
std::string Shown(std::string path) {
    std::replace(path.begin(), path.end(), '/', Catalogue::PathDelimiter);
    return path;
}

TEST(DescribeWindowTexts, SayWhereTheRunIs) {
    Catalogue::TDescribeProgress progress;
    progress.MusicDone = 1;
    progress.MusicTotal = 3;
    progress.Music = "/home/user/Music";
    progress.FoldersDone = 12;
    progress.FoldersTotal = 30;
    progress.Songs = 140;
    progress.Folder = "/home/user/Music/Pink Floyd/The Wall/CD1";
    EXPECT_EQ(TDescribeFrm::MusicText(progress), "Music folder 2 of 3: /home/user/Music");
    EXPECT_EQ(TDescribeFrm::FoldersText(progress), "Folders: 12 done, 18 to do");
    EXPECT_EQ(TDescribeFrm::SongsText(progress), "Songs described: 140");
    EXPECT_EQ(TDescribeFrm::ReadingText(progress), "Reading: " + Shown("Pink Floyd/The Wall/CD1"));
    progress.MusicDone = 3;
    EXPECT_EQ(TDescribeFrm::MusicText(progress), "Music folder 3 of 3: /home/user/Music");
    progress.Folder = "/home/user/Music";
    EXPECT_EQ(TDescribeFrm::ReadingText(progress), "Reading: " + Shown("/home/user/Music"));

    Catalogue::TDescribeOutcome outcome;
    outcome.Songs = 4;
    outcome.Albums = 2;
    outcome.SongsRead = 1;
    outcome.Details = {"/m/a.mp3: cannot read song: damaged"};
    outcome.Stopped = true;
    EXPECT_EQ(TDescribeSummaryFrm::CaptionOf(outcome), "Describing stopped");
    EXPECT_EQ(TDescribeSummaryFrm::SummaryText(outcome),
              "Stopped before the end. The next run goes on from there.\n"
              "Songs described: 4 (1 read from their files)\nAlbums described: 2\nProblems: 1");
}

} // namespace
