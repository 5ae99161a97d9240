// The preferences dialog: loading at start, the first run, the snapshot that Cancel puts back,
// the path list and the Browse buttons.
#include "tests/gui/GuiFixture.h"

#include "app/Main.h"
#include "app/Status.h"
#include "platform/Registry.h"
#include "settings/preferences.h"
#include "tests/catalogue/CatalogueLines.h"
#include "toolkit/FileDialog.h"

#include <QAccessible>
#include <QTest>

#include <filesystem>

using CatalogueTest::P;

namespace {
// The association command of the registered MP3 player, as a player's installer leaves it.
void StorePlayerAssociation(const std::string& command) {
    using namespace platform;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "MP3_auto_file\\shell\\open\\command", 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.data()),
                             static_cast<DWORD>(command.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::vector<std::string> PathEntries() {
    std::vector<std::string> entries;
    for (int row = 0; row < PrefsFrm->MP3PathLst->RowCount(); ++row)
        entries.push_back(PrefsFrm->MP3PathLst->Caption(row));
    return entries;
}

// Answers every file dialog with the given file, recording the start folders it was given.
struct TFileChoice {
    explicit TFileChoice(std::string chosen) {
        SetFileDialogHook([this, chosen](TFileDialog& dialog) {
            InitialDirs.push_back(dialog.InitialDir);
            PresetNames.push_back(dialog.FileName);
            Filters.push_back(dialog.Filter);
            dialog.FileName = chosen;
            return !chosen.empty();
        });
    }
    ~TFileChoice() { SetFileDialogHook(nullptr); }
    std::vector<std::string> InitialDirs, PresetNames, Filters;
};
} // namespace

TEST_F(TGuiTest, FirstRunTakesTheRegisteredPlayerUpToItsExtension) {
    const struct {
        const char* Command;
        const char* Player;
    } cases[] = {
        {"C:\\PLAYER\\PLAY.EXE /ADD %1", "C:\\PLAYER\\PLAY.EXE"},
        {"\"C:\\Program Files\\Player\\player.ExE\" \"%1\"",
         "C:\\Program Files\\Player\\player.ExE"},
        {"/usr/bin/mpv --player-operation-mode=pseudo-gui -- %U", "/usr/bin/mpv"},
        {"\"/opt/my player/run\" %1", "/opt/my player/run"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Command);
        StorePlayerAssociation(c.Command);
        DeleteStored(Settings::PlayerName.Name);
        std::string shownInDialog;
        OnModal = [&shownInDialog](TForm&) {
            shownInDialog = PrefsFrm->PlayerNameEdt->text().toStdString();
            PrefsFrm->OKBtnClick();
        };
        ASSERT_TRUE(Restart());
        EXPECT_EQ(shownInDialog, c.Player);
        ASSERT_TRUE(Exit());
        EXPECT_EQ(StoredString(Settings::PlayerName.Name), c.Player);
    }
}

TEST_F(TGuiTest, FirstRunWithoutAnAssociationLeavesThePlayerEmpty) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(ModalForms, std::vector<std::string>{"Preferences"});
    EXPECT_TRUE(PrefsFrm->PlayerNameEdt->text().isEmpty());
    EXPECT_TRUE(PrefsFrm->CancelBtn->isEnabled());

    // Every later opening has its Cancel button.
    bool cancelEnabled = false;
    OnModal = [&cancelEnabled](TForm&) {
        cancelEnabled = PrefsFrm->CancelBtn->isEnabled();
        PrefsFrm->CancelBtnClick();
    };
    MainFrm->Preferences1Click();
    EXPECT_TRUE(cancelEnabled);
}

TEST_F(TGuiTest, AnEmptyStoredPlayerIsNoFirstRun) {
    StorePlayerAssociation("C:\\PLAYER\\PLAY.EXE");
    StoreString(Settings::PlayerName.Name, "");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Boxes.empty());
    EXPECT_TRUE(ModalForms.empty());
    EXPECT_TRUE(PrefsFrm->PlayerNameEdt->text().isEmpty());
}

TEST_F(TGuiTest, StoredValuesSelectTheControls) {
    StoreNotFirstRun();
    StoreString(Settings::RootPaths.Name(1), "/d/b/");
    StoreString(Settings::RootPaths.Name(2), "/c/a/");
    StoreString(Settings::RootPaths.Name(4), "/after/a/gap/");
    StoreInteger(Settings::RandomPlay.Name, 5);
    StoreInteger(Settings::DispAlbumTime.Name, 0);
    ASSERT_TRUE(Start());
    EXPECT_EQ(PathEntries(), (std::vector<std::string>{"/c/a/", "/d/b/"}));
    EXPECT_TRUE(MainFrm->FullRandomRdb->isChecked());
    EXPECT_FALSE(PrefsFrm->HourRdb->isChecked() || PrefsFrm->MinRdb->isChecked() ||
                 PrefsFrm->MixRdb->isChecked());
    EXPECT_EQ(PrefsFrm->MixValEdt->text(), "79");
    EXPECT_TRUE(PrefsFrm->SortAlbumsChk->isChecked());
    EXPECT_TRUE(PrefsFrm->TrayMinChk->isChecked());
    EXPECT_TRUE(PrefsFrm->RefreshChk->isChecked());

    ASSERT_TRUE(Exit());
    EXPECT_EQ(StoredString(Settings::RootPaths.Name(1)), "/c/a/");
    EXPECT_EQ(StoredString(Settings::RootPaths.Name(2)), "/d/b/");
    EXPECT_EQ(StoredString(Settings::RootPaths.Name(4)), "/after/a/gap/");
    EXPECT_EQ(StoredInteger(Settings::RandomPlay.Name), 2);
}

TEST_F(TGuiTest, AStoredValueOfTheWrongKindStopsTheLoadingThere) {
    StoreNotFirstRun();
    StoreString(Settings::SortAlbums.Name, "yes");
    StoreInteger(Settings::TopPosition.Name, 300);
    ASSERT_TRUE(Start());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "MP3 Tunestead");
    EXPECT_EQ(Boxes[0].Text, "Invalid data type for 'SortAlbums'.");
    // What comes after the failing read keeps its design state.
    EXPECT_FALSE(PrefsFrm->TrayMinChk->isChecked());
    EXPECT_EQ(MainFrm->Top(), 195);
    EXPECT_TRUE(MainFrm->SequencialRdb->isChecked());
    EXPECT_TRUE(PrefsFrm->MixValEdt->text().isEmpty());
    EXPECT_FALSE(MainFrm->InitTmr->isActive());
}

TEST_F(TGuiTest, CancelPutsBackWhatTheDialogHeldAtActivation) {
    StoreNotFirstRun();
    StoreString(Settings::RootPaths.Name(1), "/one/");
    StoreString(Settings::RootPaths.Name(2), "/two/");
    StoreString(Settings::RootPaths.Name(3), "/three/");
    ASSERT_TRUE(Start());
    OnModal = [](TForm&) {
        PrefsFrm->MP3PathLst->SetSelected(0);
        PrefsFrm->DeleteBtnClick();
        PrefsFrm->MP3PathLst->SetSelected(0);
        PrefsFrm->DeleteBtnClick();
        PrefsFrm->SortAlbumsChk->setChecked(false);
        PrefsFrm->HourRdb->setChecked(true);
        PrefsFrm->MixValEdt->setText("0042");
        PrefsFrm->PlayerNameEdt->setText("other");
        PrefsFrm->CancelBtnClick();
    };
    MainFrm->Preferences1Click();
    EXPECT_EQ(PathEntries(), (std::vector<std::string>{"/one/", "/three/", "/two/"}));
    EXPECT_TRUE(PrefsFrm->SortAlbumsChk->isChecked());
    EXPECT_TRUE(PrefsFrm->MixRdb->isChecked());
    EXPECT_EQ(PrefsFrm->MixValEdt->text(), "79");
    EXPECT_EQ(PrefsFrm->PlayerNameEdt->text(), "player");
    EXPECT_FALSE(PrefsFrm->SavedPaths.has_value());
    EXPECT_FALSE(StatusFrm->isVisible());
}

TEST_F(TGuiTest, TitleBarCloseKeepsTheChangesAndRereadsNothing) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    OnModal = [](TForm& form) {
        PrefsFrm->SortAlbumsChk->setChecked(false);
        form.close();
    };
    MainFrm->Preferences1Click();
    EXPECT_FALSE(PrefsFrm->SortAlbumsChk->isChecked());
    EXPECT_FALSE(StatusFrm->isVisible());
    // The snapshot of that activation is replaced by the next one, not leaked or reused.
    OnModal = [](TForm&) { PrefsFrm->CancelBtnClick(); };
    MainFrm->Preferences1Click();
    EXPECT_FALSE(PrefsFrm->SortAlbumsChk->isChecked());
}

TEST_F(TGuiTest, ThresholdThatIsNoNumberAtActivationStillGivesAWorkingSnapshot) {
    StoreNotFirstRun();
    StoreString(Settings::RootPaths.Name(1), "/kept/");
    ASSERT_TRUE(Start());
    PrefsFrm->MixValEdt->setText("abc");
    OnModal = [](TForm&) {
        PrefsFrm->MP3PathLst->SetSelected(0);
        PrefsFrm->DeleteBtnClick();
        PrefsFrm->MixValEdt->setText("12");
        PrefsFrm->CancelBtnClick();
    };
    MainFrm->Preferences1Click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "'abc' is not a valid integer value.");
    EXPECT_EQ(ModalForms, std::vector<std::string>{"Preferences"});
    EXPECT_EQ(PathEntries(), std::vector<std::string>{"/kept/"});
    EXPECT_EQ(PrefsFrm->MixValEdt->text(), "abc");
}

TEST_F(TGuiTest, ThresholdThatIsNoNumberIsReportedOncePerShowing) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    PrefsFrm->MixValEdt->setText("abc");
    // The box's close and each click back into the dialog activate it again.
    OnModal = [](TForm& form) {
        form.Activate();
        form.Activate();
        PrefsFrm->MixValEdt->setText("12");
        PrefsFrm->OKBtnClick();
    };
    MainFrm->Preferences1Click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "'abc' is not a valid integer value.");
    EXPECT_EQ(PrefsFrm->MixValEdt->text(), "12");

    // A later showing looks at the threshold afresh.
    PrefsFrm->MixValEdt->setText("x");
    OnModal = [](TForm& form) {
        form.Activate();
        PrefsFrm->CancelBtnClick();
    };
    MainFrm->Preferences1Click();
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1].Text, "'x' is not a valid integer value.");
}

TEST_F(TGuiTest, CancelUndoesEditsMadeBeforeASwitchToAnotherProgram) {
    StoreNotFirstRun();
    StoreString(Settings::RootPaths.Name(1), "/one/");
    ASSERT_TRUE(Start());
    OnModal = [](TForm& form) {
        PrefsFrm->SortAlbumsChk->setChecked(false);
        PrefsFrm->MixValEdt->setText("33");
        PrefsFrm->MP3PathLst->SetSelected(0);
        PrefsFrm->DeleteBtnClick();
        PrefsFrm->PageControl1->setCurrentWidget(PrefsFrm->TabSheet2);
        form.Activate();
        EXPECT_EQ(PrefsFrm->PageControl1->currentWidget(), PrefsFrm->TabSheet2);
        PrefsFrm->PlayerNameEdt->setText("other");
        PrefsFrm->CancelBtnClick();
    };
    MainFrm->Preferences1Click();
    EXPECT_TRUE(PrefsFrm->SortAlbumsChk->isChecked());
    EXPECT_EQ(PrefsFrm->MixValEdt->text(), "79");
    EXPECT_EQ(PathEntries(), std::vector<std::string>{"/one/"});
    EXPECT_EQ(PrefsFrm->PlayerNameEdt->text(), "player");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TGuiTest, PathListInsertDeleteAndBrowse) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    PrefsFrm->InsertBtnClick();
    PrefsFrm->InsertBtnClick();
    EXPECT_EQ(PathEntries(), std::vector<std::string>(2, NewPathItemText));
    EXPECT_EQ(PrefsFrm->MP3PathLst->Selected(), -1);

    PrefsFrm->DeleteBtnClick();
    PrefsFrm->BrowseMP3BtnClick();
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].Text, "You must first select the item to delete...");
    EXPECT_EQ(Boxes[1].Text,
              "You must first insert/select an item before clicking the browse button...");
    for (const auto& box : Boxes) {
        EXPECT_EQ(box.Caption, "Information");
        EXPECT_EQ(box.Buttons, static_cast<TMsgDlgButtons>(mbOK));
    }

    TFileChoice choice(P("/E/MUSIC/ROCK/descript.ion"));
    PrefsFrm->MP3PathLst->SetSelected(1);
    PrefsFrm->BrowseMP3BtnClick();
    EXPECT_EQ(PathEntries(), (std::vector<std::string>{P("/E/MUSIC/ROCK/"), NewPathItemText}));
    EXPECT_EQ(choice.InitialDirs, std::vector<std::string>{NewPathItemText});
    EXPECT_EQ(choice.PresetNames, std::vector<std::string>{"descript.ion"});
    EXPECT_EQ(choice.Filters, std::vector<std::string>{"MP3 Player description|descript.ion"});
}

TEST_F(TGuiTest, BrowseButtonsForPlayerAndSearchBase) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    PrefsFrm->PlayerNameEdt->setText(QString::fromStdString(P("/usr/local/bin/oldplayer")));
    PrefsFrm->SearchBaseEdt->setText(QString::fromStdString(P("/music/base/")));
    {
        TFileChoice choice(P("/opt/new player/play"));
        PrefsFrm->BrowsePlayBtnClick();
        PrefsFrm->BrowseSearchBtnClick();
        EXPECT_EQ(choice.InitialDirs,
                  (std::vector<std::string>{P("/usr/local/bin/"), P("/music/base/")}));
    }
    EXPECT_EQ(PrefsFrm->PlayerNameEdt->text().toStdString(), P("/opt/new player/play"));
    EXPECT_EQ(PrefsFrm->SearchBaseEdt->text().toStdString(), P("/opt/new player/"));

    TFileChoice cancelled("");
    PrefsFrm->BrowsePlayBtnClick();
    EXPECT_EQ(PrefsFrm->PlayerNameEdt->text().toStdString(), P("/opt/new player/play"));
}

TEST_F(TGuiTest, ConfirmedPreferencesRereadOnlyWithTheRefreshOption) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    for (bool refresh : {false, true}) {
        StatusFrm->hide();
        OnModal = [refresh](TForm&) {
            PrefsFrm->RefreshChk->setChecked(refresh);
            PrefsFrm->OKBtnClick();
        };
        MainFrm->Preferences1Click();
        EXPECT_EQ(StatusFrm->isVisible(), refresh);
    }
}

#ifndef _WIN32
// The settings file is POSIX's stand-in for the registry, which no user edits by hand.
TEST_F(TGuiTest, DamagedSettingsFileIsReportedAndKeptAside) {
    Registry.Write("mp3tunestead/HKEY_CURRENT_USER.reg",
                   "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\x\r\n\"\x01");
    ASSERT_TRUE(Start());
    ASSERT_FALSE(Boxes.empty());
    EXPECT_EQ(Boxes[0].Caption, "Warning");
    EXPECT_NE(Boxes[0].Text.find("damaged"), std::string::npos) << Boxes[0].Text;
    bool keptAside = false;
    for (const auto& entry : std::filesystem::directory_iterator(Registry.Folder()))
        keptAside =
            keptAside || entry.path().filename().string().find(".damaged-") != std::string::npos;
    EXPECT_TRUE(keptAside);
    // The program goes on as on a first run.
    EXPECT_EQ(ModalForms, std::vector<std::string>{"Preferences"});
}
#endif

TEST_F(TGuiTest, SettingsInOtherCodePagesSurviveARunByteForByte) {
    const std::string player = "/opt/lecteur/\xE9t\xE9/play";
    const std::string base = "/musique/caf\xE9/";
    StoreString(Settings::PlayerName.Name, player);
    StoreString(Settings::SearchBase.Name, base);
    ASSERT_TRUE(Start());
    EXPECT_EQ(PrefsFrm->PlayerNameEdt->Text(), player);
    ASSERT_TRUE(Exit());
    EXPECT_EQ(StoredString(Settings::PlayerName.Name), player);
    EXPECT_EQ(StoredString(Settings::SearchBase.Name), base);
}

TEST_F(TGuiTest, TheMinutesLabelBelongsToTheMixedFormatButton) {
    StoreNotFirstRun();
    StoreInteger(Settings::DispAlbumTime.Name, 1);
    ASSERT_TRUE(Start());
    PrefsFrm->show();
    PrefsFrm->PageControl1->setCurrentWidget(PrefsFrm->TabSheet2);
    ASSERT_TRUE(PrefsFrm->HourRdb->isChecked());
    const auto spokenName = [] {
        return QAccessible::queryAccessibleInterface(PrefsFrm->MixRdb)
            ->text(QAccessible::Name)
            .toStdString();
    };
    EXPECT_EQ(spokenName(), "hh:mm:ss if more than 79 minutes");

    // A right click is no click; a left click selects the button, as its caption would.
    QTest::mouseClick(PrefsFrm->MixUnitLbl, Qt::RightButton);
    EXPECT_TRUE(PrefsFrm->HourRdb->isChecked());
    QTest::mouseClick(PrefsFrm->MixUnitLbl, Qt::LeftButton);
    EXPECT_TRUE(PrefsFrm->MixRdb->isChecked());
    EXPECT_FALSE(PrefsFrm->HourRdb->isChecked());

    // The name follows the number as it is typed.
    PrefsFrm->MixValEdt->selectAll();
    QTest::keyClicks(PrefsFrm->MixValEdt, "120");
    EXPECT_EQ(spokenName(), "hh:mm:ss if more than 120 minutes");
    PrefsFrm->hide();
}
