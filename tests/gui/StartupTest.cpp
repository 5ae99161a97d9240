// Program start, the main window's settings at close, and errors reaching the error box.
#include "tests/gui/GuiFixture.h"

#include "app/Main.h"
#include "app/Status.h"
#include "catalogue/Detail.h"
#include "playback/Playlist.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/Bind.h"
#include "toolkit/ListView.h"
#include "toolkit/Metrics.h"
#include "toolkit/TreeView.h"

#include "platform/Errors.h"
#include "platform/Registry.h"

#include <QTest>

#include <algorithm>

namespace {
bool SettingsKeyExists() {
    using namespace platform;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
} // namespace

TEST_F(TGuiTest, FirstStartCreatesTheKeyAndShowsWelcomeThenPreferences) {
    ASSERT_FALSE(SettingsKeyExists());
    bool cancelEnabled = true;
    OnModal = [&cancelEnabled](TForm&) {
        cancelEnabled = PrefsFrm->CancelBtn->isEnabled();
        PrefsFrm->OKBtnClick();
    };
    ASSERT_TRUE(Start());

    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Information");
    EXPECT_EQ(Boxes[0].Text.substr(0, 27), "Welcome to MP3 Tunestead.\r\r");
    EXPECT_EQ(ModalForms, std::vector<std::string>{"Preferences"});
    EXPECT_FALSE(cancelEnabled);
    EXPECT_TRUE(PrefsFrm->CancelBtn->isEnabled());
    EXPECT_FALSE(MainFrm->FirstRun);
    EXPECT_TRUE(MainFrm->InitTmr->isActive());
    EXPECT_EQ(MainFrm->Left(), 10);
    EXPECT_EQ(MainFrm->Top(), 10);
    EXPECT_TRUE(MainFrm->SequencialRdb->isChecked());
    EXPECT_TRUE(MainFrm->MP3PlayerReg->Active());
    EXPECT_TRUE(SettingsKeyExists());
#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::exists(Registry.HiveFile("HKEY_CURRENT_USER")));
#endif
}

TEST_F(TGuiTest, WelcomeTextHasItsNineLines) {
    const std::string text = WelcomeText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 8);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_NE(text.find("\r\rHave fun and don't forget"), std::string::npos);
    EXPECT_NE(text.find("latest release on \r"), std::string::npos);
    EXPECT_EQ(text.back(), '.');
}

TEST_F(TGuiTest, WindowsAreCreatedWithTheirCaptionsAndSizes) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    EXPECT_EQ(MainFrm->Caption(), "MP3 Tunesteadv1.2");
    EXPECT_EQ(MainFrm->size(), QSize(513, 302));
    EXPECT_EQ(PlaylistFrm->Caption(), "Playlist");
    EXPECT_EQ(PlaylistFrm->size(), QSize(297, 302));
    EXPECT_EQ(DetailFrm->Caption(), "Detail...");
    EXPECT_EQ(DetailFrm->size(), QSize(306, 316));
    EXPECT_EQ(PrefsFrm->Caption(), "Preferences");
    EXPECT_EQ(PrefsFrm->size(), QSize(306, 301));
    EXPECT_EQ(StatusFrm->size(), QSize(217, 42));
    EXPECT_TRUE(Boxes.empty());
    EXPECT_TRUE(ModalForms.empty());
}

TEST_F(TGuiTest, MainWindowPlacesItsControlsAndMenus) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    const struct {
        QWidget* Control;
        QRect Place;
    } places[] = {{static_cast<QWidget*>(MainFrm->TreeLst), {3, 2, 220, 165}},
                  {MainFrm->ItemsLst, {225, 2, 274, 248}},
                  {MainFrm->GroupBox2, {3, 191, 120, 72}},
                  {MainFrm->SequencialRdb, {7, 50, 94, 17}},
                  {MainFrm->PlayBtn, {137, 202, 75, 25}},
                  {MainFrm->Button2, {137, 233, 75, 25}},
                  {MainFrm->SearchEdt, {132, 19, 292, 21}},
                  {MainFrm->SearchResLst, {6, 14, 483, 190}}};
    for (const auto& place : places)
        EXPECT_EQ(place.Control->geometry(), place.Place)
            << place.Control->metaObject()->className();
    EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
    EXPECT_EQ(MainFrm->PageControl1->currentWidget(), MainFrm->PlayTab);

    QStringList mainItems, trayItems;
    for (auto* action : MainFrm->MainPop->actions())
        mainItems << (action->isSeparator() ? QStringLiteral("-") : action->text());
    for (auto* action : MainFrm->TrayPop->actions())
        trayItems << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(mainItems.join('|'), QString::fromUtf8("&Refresh album tree|-|A&dd MP3 folder\u2026|"
                                                     "Refresh &MP3 folders|-|&Preferences|-|"
                                                     "&About|-|E&xit"));
    EXPECT_EQ(trayItems.join('|'), "Re&play|-|&About|-|&Restore|&Quit");

    MainFrm->Activate();
    EXPECT_EQ(MainFrm->ItemsLst->columnWidth(0), 274 - 68 - VerticalScrollBarWidth());
}

TEST_F(TGuiTest, SettingsRoundTripThroughTheForms) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    OnModal = [](TForm&) {
        PrefsFrm->PlayerNameEdt->setText("/opt/player/play");
        for (const char* path : {"/music/b/", "/music/a/"}) {
            PrefsFrm->InsertBtnClick();
            for (int row = 0; row < PrefsFrm->MP3PathLst->RowCount(); ++row)
                if (PrefsFrm->MP3PathLst->Caption(row) == NewPathItemText)
                    PrefsFrm->MP3PathLst->SetCaptionSorted(row, path);
        }
        PrefsFrm->SearchBaseEdt->setText("/music/");
        PrefsFrm->TrayMinChk->setChecked(false);
        PrefsFrm->SortAlbumsChk->setChecked(false);
        PrefsFrm->RefreshChk->setChecked(false);
        PrefsFrm->MinRdb->setChecked(true);
        PrefsFrm->MixValEdt->setText("61");
        PrefsFrm->OKBtnClick();
    };
    MainFrm->Preferences1Click();
    MainFrm->LocalRandomRdb->setChecked(true);
    MainFrm->move(40, 30);
    ASSERT_TRUE(Exit());

    EXPECT_EQ(StoredString(Settings::PlayerName.Name), "/opt/player/play");
    EXPECT_EQ(StoredString(Settings::RootPaths.Name(1)), "/music/a/");
    EXPECT_EQ(StoredString(Settings::RootPaths.Name(2)), "/music/b/");
    EXPECT_FALSE(StoredExists(Settings::RootPaths.Name(3)));
    EXPECT_EQ(StoredString(Settings::SearchBase.Name), "/music/");
    EXPECT_EQ(StoredInteger(Settings::SortAlbums.Name), 0);
    EXPECT_EQ(StoredInteger(Settings::MinimizeTray.Name), 0);
    EXPECT_EQ(StoredInteger(Settings::RefreshPref.Name), 0);
    EXPECT_EQ(StoredInteger(Settings::TopPosition.Name), 30);
    EXPECT_EQ(StoredInteger(Settings::LeftPosition.Name), 40);
    EXPECT_EQ(StoredInteger(Settings::DispAlbumTime.Name), 2);
    EXPECT_EQ(StoredInteger(Settings::MixVal.Name), 61);
    EXPECT_EQ(StoredInteger(Settings::RandomPlay.Name), 1);

    ASSERT_TRUE(Restart());
    EXPECT_EQ(PrefsFrm->PlayerNameEdt->text(), "/opt/player/play");
    ASSERT_EQ(PrefsFrm->MP3PathLst->RowCount(), 2);
    EXPECT_EQ(PrefsFrm->MP3PathLst->Caption(0), "/music/a/");
    EXPECT_EQ(PrefsFrm->SearchBaseEdt->text(), "/music/");
    EXPECT_FALSE(PrefsFrm->TrayMinChk->isChecked());
    EXPECT_FALSE(PrefsFrm->SortAlbumsChk->isChecked());
    EXPECT_FALSE(PrefsFrm->RefreshChk->isChecked());
    EXPECT_TRUE(PrefsFrm->MinRdb->isChecked());
    EXPECT_EQ(PrefsFrm->MixValEdt->text(), "61");
    EXPECT_TRUE(MainFrm->LocalRandomRdb->isChecked());
    EXPECT_EQ(MainFrm->Left(), 40);
    EXPECT_EQ(MainFrm->Top(), 30);
}

TEST_F(TGuiTest, PathValuesAreRenumberedAtClose) {
    const struct {
        std::vector<int> Stored;
        std::vector<std::string> Paths;
        std::vector<int> Remaining;
    } cases[] = {{{1, 2, 3}, {"/one/"}, {1}}, {{1, 2, 4}, {"/one/"}, {1, 4}}, {{1, 2}, {}, {}}};
    for (const auto& c : cases) {
        for (int n = 1; n <= 4; ++n)
            DeleteStored(Settings::RootPaths.Name(n));
        StoreNotFirstRun();
        for (int n : c.Stored)
            StoreString(Settings::RootPaths.Name(n), "/stored" + std::to_string(n) + "/");
        ASSERT_TRUE(Restart());
        PrefsFrm->MP3PathLst->Clear();
        for (const auto& path : c.Paths)
            PrefsFrm->MP3PathLst->AddSorted(path);
        ASSERT_TRUE(Exit());
        std::vector<int> remaining;
        for (int n = 1; n <= 4; ++n)
            if (StoredExists(Settings::RootPaths.Name(n)))
                remaining.push_back(n);
        EXPECT_EQ(remaining, c.Remaining);
        if (!c.Paths.empty()) {
            EXPECT_EQ(StoredString(Settings::RootPaths.Name(1)), c.Paths[0]);
        }
    }
}

TEST_F(TGuiTest, UnknownTimeFormatSurvivesAClose) {
    StoreNotFirstRun();
    StoreInteger(Settings::DispAlbumTime.Name, 7);
    ASSERT_TRUE(Start());
    EXPECT_FALSE(PrefsFrm->HourRdb->isChecked());
    EXPECT_FALSE(PrefsFrm->MinRdb->isChecked());
    EXPECT_FALSE(PrefsFrm->MixRdb->isChecked());
    ASSERT_TRUE(Exit());
    EXPECT_EQ(StoredInteger(Settings::DispAlbumTime.Name), 7);
}

TEST_F(TGuiTest, ThresholdThatIsNoNumberKeepsTheWindowOpen) {
    StoreNotFirstRun();
    StoreInteger(Settings::RandomPlay.Name, 2);
    ASSERT_TRUE(Start());
    MainFrm->SequencialRdb->setChecked(true);
    PrefsFrm->MixValEdt->setText("abc");
    EXPECT_FALSE(Exit());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "MP3 Tunestead");
    EXPECT_EQ(Boxes[0].Text, "'abc' is not a valid integer value.");
    EXPECT_EQ(Boxes[0].Icon, miError);
    EXPECT_TRUE(StoredExists(Settings::DispAlbumTime.Name));
    EXPECT_EQ(StoredInteger(Settings::RandomPlay.Name), 2);

    PrefsFrm->MixValEdt->setText("12");
    EXPECT_TRUE(Exit());
    EXPECT_EQ(StoredInteger(Settings::RandomPlay.Name), 0);
}

#ifndef _WIN32
// Settings writes and the creation of the key are made to fail through the settings files,
// which only POSIX has.
TEST_F(TGuiTest, SettingsThatCannotBeWrittenAtCloseLetTheUserCloseWithoutThem) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    // A hive that cannot be replaced: every settings write fails from here on.
    const auto hive = Registry.HiveFile("HKEY_CURRENT_USER");
    std::filesystem::remove(hive);
    std::filesystem::create_directory(hive);
    const TMessageBox question{
        "MP3 Tunestead",
        "The settings could not be saved. Close MP3 Tunestead without saving them?", miQuestion,
        mbYes | mbNo};

    Answers = {mrOk, mrNo};
    EXPECT_FALSE(Exit());
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].Text, "Failed to set data for 'PlayerName'.");
    EXPECT_EQ(Boxes[0].Icon, miError);
    EXPECT_EQ(Boxes[1].Caption, question.Caption);
    EXPECT_EQ(Boxes[1].Text, question.Text);
    EXPECT_EQ(Boxes[1].Icon, question.Icon);
    EXPECT_EQ(Boxes[1].Buttons, question.Buttons);

    // The title bar's close asks the same; Yes ends the program.
    Answers = {mrOk, mrYes};
    EXPECT_TRUE(MainFrm->close());
    EXPECT_FALSE(MainFrm->isVisible());
    ASSERT_EQ(Boxes.size(), 4u);
    EXPECT_EQ(Boxes[3].Text, question.Text);
}

TEST_F(TGuiTest, StartFailsWhenTheSettingsKeyCannotBeCreated) {
    platform::SetRegistryFolderForTesting(Files.Write("not-a-folder", "x"));
    EXPECT_FALSE(Start());
    platform::SetRegistryFolderForTesting({});
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Application Error");
    EXPECT_EQ(Boxes[0].Text, "Error reading MP3PlayerReg.Active: Failed to create key "
                             "SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2.");
}

#endif

TEST_F(TGuiTest, ErrorInAnEventHandlerReachesTheErrorBox) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    QPushButton button;
    Bind(&button, &QPushButton::clicked, &button, [] { throw EConvertError("bound failure"); });
    QTest::mouseClick(&button, Qt::LeftButton);

    // An error escaping an event override goes through the application object's notify.
    struct TFailingWidget : QWidget {
        void mousePressEvent(QMouseEvent*) override { throw EInOutError("File not found", 2); }
    } widget;
    QTest::mouseClick(&widget, Qt::LeftButton);

    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[0].Text, "bound failure.");
    EXPECT_EQ(Boxes[1].Text, "File not found.");
    for (const auto& box : Boxes) {
        EXPECT_EQ(box.Caption, "MP3 Tunestead");
        EXPECT_EQ(box.Buttons, static_cast<TMsgDlgButtons>(mbOK));
    }
}
