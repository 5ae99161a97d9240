// Measures the catalogue reading, the song listing and the search through the real
// windows (offscreen) against a bare read of the same description files, and prints the
// times, their ratios and the process's peak memory. The tree reading is measured twice: with
// every file in the page cache, and with the cache emptied before each run (a start after a
// restart), on a smaller catalogue written to the disk.
//
// Two more modes serve the scripts that measure elsewhere (a network share, an accessibility
// bus):
//   tunestead_bench --generate DIR CATEGORIES ALBUMS SONGS   writes a catalogue to DIR
//   tunestead_bench --measure ROOT TARGET [REPEATS]          reads the existing catalogue at
//       ROOT into the tree and searches it, each against the bare read of the same files in
//       turn, and prints the medians, the ratios against TARGET and a line for scripts
//   tunestead_bench --refresh MUSIC [REPEATS]                adds the music folder MUSIC as
//       "Add MP3 folder..." does, then times "Refresh MP3 folders" on the unchanged folder
//       (the describing, and the reading of the tree after it) and prints the medians
#include "app/DescribeFrm.h"
#include "app/Main.h"
#include "app/Startup.h"
#include "app/Status.h"
#include "bench/BenchSupport.h"
#include "bench/GenerateCatalogue.h"
#include "describing/CataloguePlace.h"
#include "platform/Folders.h"
#include "platform/Registry.h"
#include "settings/RegAppC.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/ListView.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Text.h"
#include "toolkit/TreeView.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDeadlineTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr int Repeats = 7;
constexpr int ColdRepeats = 5;
constexpr TCatalogueShape BigCatalogue{200, 100, 15, 1};
// Written to the disk, not to a memory file system: 2,051 description files.
constexpr TCatalogueShape ColdCatalogue{50, 40, 15, 3};
// Below this folder unless TUNESTEAD_BENCH_DISK names another one on a disk.
constexpr const char* ColdFolder = "/var/tmp";
constexpr TCatalogueShape LongAlbum{1, 1, 100, 2};
// Matches the albums numbered 7 whose title goes on with "Moon": about one in sixteen
// categories holds such an album.
constexpr const char* SearchQuery = "album 7 moon";
constexpr int SearchRounds = 6;
// Ten times the categories of BigCatalogue, with only the files a search reads.
constexpr TCatalogueShape LargeSearchBase{2000, 100, 0, 1, false};

constexpr double RatioTarget = 1.3;
constexpr double ColdRatioTarget = 0.35;
constexpr double PeakTargetMiB = 64;
constexpr double SongListTargetMs = 2;

int BoxesShown = 0;

// Settings, data and program folders of the run live in the scratch folder, so that the
// user's own settings stay untouched (on POSIX; Windows has one registry).
void UsePrivateSettings(const std::filesystem::path& folder) {
#ifndef _WIN32
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
#endif
    platform::SetRegistryFolderForTesting({});
    std::filesystem::create_directories(folder / "program");
    platform::SetProgramDirectoryForTesting((folder / "program").string() + "/");
    // A player name marks a program that has run before: no welcome and no first-run dialog.
    TRegAppUserConfig key(nullptr);
    key.SetCompany("Quorlen");
    key.SetApplicationName("MP3 Discovane");
    key.SetVersion("v1.2");
    key.SetActive(true);
    key.WriteString("PlayerName", "player");
}

// Every box is answered at once, every modal window closed with OK.
void AnswerDialogs() {
    SetMessageBoxHook([](const TMessageBox& box) {
        ++BoxesShown;
        if (box.Buttons & mbOK)
            return mrOk;
        return (box.Buttons & mbYes) ? mrYes : mrCancel;
    });
    TForm::SetModalHook([](TForm& form) {
        if (&form == PrefsFrm)
            PrefsFrm->OKBtnClick();
        else
            form.SetModalResult(mrOk);
    });
}

const char* Verdict(bool met) {
    return met ? "ok" : "MISSED";
}

void PrintRatio(const char* what, const Bench::TComparedTimes& times, double target = RatioTarget) {
    std::printf("%-34s %9.2f ms\n%-34s %9.2f ms\n%-34s %9.3f   (target <= %.2f: %s)\n", what,
                times.Measured, "  bare read of the same files", times.Floor, "  ratio",
                times.Ratio(), target, Verdict(times.Ratio() <= target));
}

// Reads the tree of the one root into the main window, sorted, as a refresh does.
void ReadTree(const std::string& root) {
    PrefsFrm->MP3PathLst->Clear();
    PrefsFrm->MP3PathLst->AddSorted(root + "/");
    PrefsFrm->SortAlbumsChk->setChecked(true);
    MainFrm->ClearTree = true;
    MainFrm->InitAlbumTree2();
}

// The whole reading into the tree against the bare read, the page cache emptied before each.
bool MeasureColdTreeReading() {
    const char* disk = std::getenv("TUNESTEAD_BENCH_DISK");
    Bench::TScratchFolder scratch(disk != nullptr && *disk != 0 ? disk : ColdFolder);
    const auto root = (scratch.Path() / "catalogue").string();
    const auto written = GenerateCatalogue(root, ColdCatalogue);
    const auto files = Bench::CatalogueWalkFiles(root);
    std::printf("Cold cache: %lld files, %.1f MB below %s\n", static_cast<long long>(files.size()),
                static_cast<double>(written.Bytes) / 1e6, scratch.Path().string().c_str());
    if (!Bench::DropPageCache()) {
        std::printf("  skipped: emptying the page cache needs root rights\n");
        return true;
    }
    const auto times = Bench::CompareMedians(
        ColdRepeats, [&files] { Bench::ReadFilesBare(files); }, [&root] { ReadTree(root); },
        [] { Bench::DropPageCache(); });
    PrintRatio("InitAlbumTree2, cold cache", times, ColdRatioTarget);
    const bool complete =
        MainFrm->AlbumBar->PanelText(0) == std::to_string(written.Albums) + " album(s)";
    if (!complete)
        std::printf("  the tree is not the whole catalogue\n");
    return complete && times.Ratio() <= ColdRatioTarget;
}

// The whole reading into the tree, sorted, against opening and reading every file.
bool MeasureTreeReading(const std::string& root, const TGeneratedCatalogue& written) {
    const auto files = Bench::CatalogueWalkFiles(root);
    const auto readTree = [&root] { ReadTree(root); };
    // Hot cache: every file has been read before the timing starts.
    Bench::ReadFilesBare(files);
    readTree();
    const auto times = Bench::CompareMedians(
        Repeats, [&files] { Bench::ReadFilesBare(files); }, readTree);

    std::printf("Catalogue: %lld files, %.1f MB, %lld albums, %lld songs\n",
                static_cast<long long>(files.size()), static_cast<double>(written.Bytes) / 1e6,
                static_cast<long long>(written.Albums), static_cast<long long>(written.Songs));
    std::printf("AlbumBar: %s, %s\n", MainFrm->AlbumBar->PanelText(0).c_str(),
                MainFrm->AlbumBar->PanelText(1).c_str());
    PrintRatio("InitAlbumTree2 (sorted)", times);
    const bool complete =
        MainFrm->TreeLst->TopCount() == BigCatalogue.Categories &&
        MainFrm->AlbumBar->PanelText(0) == std::to_string(written.Albums) + " album(s)";
    if (!complete)
        std::printf("  the tree is not the whole catalogue\n");
    return complete && times.Ratio() <= RatioTarget;
}

// Listing a 100-song album into the main window's song list, as a click on it does.
bool MeasureSongList(const std::string& albumDir) {
    const auto listAlbum = [&albumDir] {
        MainFrm->ItemsLst->Clear();
        MainFrm->FillSongList(albumDir, "", MainFrm->ItemsLst, MainFrm->SongBar);
    };
    listAlbum();
    const double time = Bench::MedianMs(Repeats * 3, listAlbum);
    std::printf("%-34s %9.3f ms   (target < %.0f ms: %s)\n", "FillSongList (100 songs)", time,
                SongListTargetMs, Verdict(time < SongListTargetMs));
    std::printf("  SongBar: %s, %s\n", MainFrm->SongBar->PanelText(0).c_str(),
                MainFrm->SongBar->PanelText(1).c_str());
    return MainFrm->ItemsLst->RowCount() == LongAlbum.SongsPerAlbum && time < SongListTargetMs;
}

// Searches the base through the main window, sets aside the first search.
void PrepareSearch(const std::string& base, const std::vector<std::string>& files) {
    PrefsFrm->SearchBaseEdt->setText(ToQString(base + "/"));
    MainFrm->SearchEdt->setText(QString::fromLatin1(SearchQuery));
    Bench::ReadFilesBare(files);
    MainFrm->SearchAlbum();
}

// The search through the main window against reading the base file and its category files,
// in SearchRounds rounds: a search takes about a millisecond, so the ratio of one round swings
// with the machine's moment, and the median of the rounds decides.
bool MeasureSearch(const std::string& base, const char* what) {
    const auto files = Bench::SearchWalkFiles(base);
    PrepareSearch(base, files);
    std::vector<double> ratios;
    Bench::TComparedTimes last;
    for (int round = 0; round < SearchRounds; ++round) {
        last = Bench::CompareMedians(
            Repeats * 7, [&files] { Bench::ReadFilesBare(files); }, [] { MainFrm->SearchAlbum(); });
        ratios.push_back(last.Ratio());
    }
    std::printf("Search \"%s\" %s: %d result(s) in %lld files\n", SearchQuery, what,
                MainFrm->SearchResLst->RowCount(), static_cast<long long>(files.size()));
    PrintRatio("SearchAlbum (last round)", last);
    std::printf("  ratios of %d rounds:", SearchRounds);
    for (const double ratio : ratios)
        std::printf(" %.3f", ratio);
    const double median = Bench::Median(ratios);
    std::sort(ratios.begin(), ratios.end());
    std::printf("\n  spread %.3f to %.3f, median %.3f   (target <= %.2f: %s)\n", ratios.front(),
                ratios.back(), median, RatioTarget, Verdict(median <= RatioTarget));
    return MainFrm->SearchResLst->RowCount() > 0 && median <= RatioTarget;
}

// What a search costs whatever the base holds: a search of a base file without categories,
// against reading that one file.
void MeasureSearchFixedCost(const std::filesystem::path& folder) {
    const auto base = (folder / "empty-base").string();
    GenerateCatalogue(base, {0, 0, 0, 1});
    const std::vector<std::string> files{base + "/descript.ion"};
    PrepareSearch(base, files);
    const auto times = Bench::CompareMedians(
        Repeats * 7, [&files] { Bench::ReadFilesBare(files); }, [] { MainFrm->SearchAlbum(); });
    std::printf("%-34s %9.1f us\n%-34s %9.1f us\n", "SearchAlbum of an empty base",
                times.Measured * 1000, "  bare read of its one file", times.Floor * 1000);
}

// The tree reading and the search of an existing catalogue against the bare read of the same
// files, each run in turn repeats times; for catalogues the benchmark does not write itself.
int MeasureExisting(const std::string& root, double target, int repeats) {
    // The accessibility bridge connects to its bus through the event loop: once it is asked for,
    // the measuring starts when it is on, as it is a moment after the program's start.
    if (!qEnvironmentVariableIsEmpty("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) {
        const QDeadlineTimer deadline(5000);
        while (!QAccessible::isActive() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const auto files = Bench::CatalogueWalkFiles(root);
    const auto searchFiles = Bench::SearchWalkFiles(root);
    std::printf("Catalogue at %s: %lld files, %lld of them searched\n", root.c_str(),
                static_cast<long long>(files.size()), static_cast<long long>(searchFiles.size()));
    const auto tree = Bench::CompareMedians(
        repeats, [&files] { Bench::ReadFilesBare(files); }, [&root] { ReadTree(root); });
    std::printf("AlbumBar: %s, %s\n", MainFrm->AlbumBar->PanelText(0).c_str(),
                MainFrm->AlbumBar->PanelText(1).c_str());
    PrintRatio("InitAlbumTree2 (sorted)", tree, target);
    PrefsFrm->SearchBaseEdt->setText(ToQString(root + "/"));
    MainFrm->SearchEdt->setText(QString::fromLatin1(SearchQuery));
    const auto search = Bench::CompareMedians(
        repeats, [&searchFiles] { Bench::ReadFilesBare(searchFiles); },
        [] { MainFrm->SearchAlbum(); });
    std::printf("Search \"%s\": %d result(s)\n", SearchQuery, MainFrm->SearchResLst->RowCount());
    PrintRatio("SearchAlbum", search, target);
    std::printf("result tree_ms=%.2f tree_floor_ms=%.2f search_ms=%.3f search_floor_ms=%.3f "
                "accessibility=%s\n",
                tree.Measured, tree.Floor, search.Measured, search.Floor,
                QAccessible::isActive() ? "on" : "off");
    return tree.Ratio() <= target && search.Ratio() <= target && BoxesShown == 0 ? 0 : 1;
}

// Adds music as the program does, then times refreshes of the unchanged folder through the
// main window: the describing on its thread until its end, and the tree reading that follows.
int MeasureRefresh(const std::string& music, int repeats) {
    PrefsFrm->MusicFolders = {{music, Catalogue::DefaultCataloguePlace(music)}};
    const auto refresh = [] {
        MainFrm->RefreshMP3Folders1Click();
        MainFrm->DescribeFrm->WaitForEnd();
    };
    const double first = Bench::MedianMs(1, refresh);
    StatusFrm->ShowedTmrTimer();
    std::printf("First describing of %s: %.0f ms; %s, %s\n", music.c_str(), first,
                MainFrm->AlbumBar->PanelText(0).c_str(), MainFrm->AlbumBar->PanelText(1).c_str());
    const double describing = Bench::MedianMs(repeats, refresh);
    const double reading = Bench::MedianMs(repeats, [] {
        StatusFrm->Show();
        StatusFrm->ShowedTmrTimer();
    });
    std::printf("Refresh MP3 folders, unchanged      %9.2f ms (median of %d)\n"
                "  then the tree read again          %9.2f ms\n"
                "result refresh_ms=%.2f tree_ms=%.2f\n",
                describing, repeats, reading, describing, reading);
    return BoxesShown == 0 ? 0 : 1;
}

int Run(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "--generate") {
        const TCatalogueShape shape{std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), 1};
        const auto written = GenerateCatalogue(argv[2], shape);
        std::printf("Catalogue written to %s: %lld files, %.1f MB, %lld albums\n", argv[2],
                    static_cast<long long>(written.Files), static_cast<double>(written.Bytes) / 1e6,
                    static_cast<long long>(written.Albums));
        return 0;
    }
    const bool measure = argc >= 4 && std::string(argv[1]) == "--measure";
    const bool refresh = argc >= 3 && std::string(argv[1]) == "--refresh";
    Bench::TScratchFolder scratch;
    UsePrivateSettings(scratch.Path());
    TApplication application(argc, argv);
    SetUpApplication(application);
    AnswerDialogs();
    if (refresh) {
        if (!CreateForms())
            return 2;
        MainFrm->show();
        const int result = MeasureRefresh(argv[2], argc >= 4 ? std::atoi(argv[3]) : Repeats);
        DestroyForms();
        return result;
    }
    if (measure) {
        if (!CreateForms())
            return 2;
        MainFrm->show();
        const int result =
            MeasureExisting(argv[2], std::atof(argv[3]), argc >= 5 ? std::atoi(argv[4]) : Repeats);
        DestroyForms();
        return result;
    }

    const auto root = (scratch.Path() / "catalogue").string();
    const auto albumRoot = scratch.Path() / "long-album";
    TGeneratedCatalogue written;
    const double generation = Bench::MedianMs(1, [&] {
        written = GenerateCatalogue(root, BigCatalogue);
        GenerateCatalogue(albumRoot, LongAlbum);
    });
    std::printf("Catalogue written in %.1f s below %s\n", generation / 1000,
                scratch.Path().string().c_str());
    const auto albumDir = (albumRoot / "CAT00001" / "ALBUM000001").string();

    if (!CreateForms())
        return 2;
    MainFrm->show();
    bool met = MeasureTreeReading(root, written);
    met = MeasureSongList(albumDir) && met;
    met = MeasureSearch(root, "(200 categories)") && met;
    const auto largeBase = scratch.Path() / "large-search-base";
    GenerateCatalogue(largeBase, LargeSearchBase);
    met = MeasureSearch(largeBase.string(), "(2,000 categories)") && met;
    MeasureSearchFixedCost(scratch.Path());
    met = MeasureColdTreeReading() && met;
    const double peak = Bench::PeakMemoryMiB();
    std::printf("%-34s %9.1f MiB (target <= %.0f MiB: %s)\n", "Peak memory (VmHWM)", peak,
                PeakTargetMiB, Verdict(peak <= PeakTargetMiB));
    if (BoxesShown > 0)
        std::printf("Message boxes shown: %d (none expected)\n", BoxesShown);
    met = met && peak <= PeakTargetMiB && BoxesShown == 0;
    DestroyForms();
    SetMessageBoxHook(nullptr);
    TForm::SetModalHook(nullptr);
    return met ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tunestead_bench: %s\n", error.what());
        return 2;
    }
}
