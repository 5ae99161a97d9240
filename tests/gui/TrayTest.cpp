// The tray icon in the running program: hiding after a play, coming back by "&Restore" and by
// a double-click, the tray menu only while hidden, and the Qt notification area's messages.
#include "tests/gui/GuiFixture.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "components/TrayIcon.h"
#include "components/TrayIconQt.h"
#include "settings/preferences.h"
#include "tests/components/FakeTrayEnvironment.h"
#include "tests/support/Environment.h"
#include "toolkit/Application.h"
#include "toolkit/ListView.h"

#include <cstdlib>
#include <cstring>

namespace {

// A tray menu that records where it opened and then plays the user's choice.
class TChoosingPopupMenu : public ITrayPopupMenu {
public:
    void Popup(int x, int y) override {
        Openings.push_back({x, y});
        if (Choice != nullptr)
            Choice->trigger();
    }
    std::vector<TScreenPoint> Openings;
    QAction* Choice = nullptr;
};

} // namespace

// The running program with a fake notification area (icon messages sent by the test) and the
// real main form, application object and Qt system calls behind the icon.
class TTrayTest : public TGuiTest {
protected:
    void SetUp() override {
        TGuiTest::SetUp();
        Qt.SetTrayAvailableQuery([this] { return TrayAvailable; });
        SetTrayEnvironmentForTesting(&Environment);
        SetEnvironment("TUNESTEAD_FAKE_PLAYER_LOG", (Files.Path() / "player.log").string());
        StoreNotFirstRun();
        ASSERT_TRUE(Start());
        PrefsFrm->PlayerNameEdt->setText(TUNESTEAD_HELPER_DIR "/fake_player");
        PrefsFrm->TrayMinChk->setChecked(true);
        MainFrm->ItemsLst->AddRow("01 - Song",
                                  {"3'00\"", (Files.Path() / "01 - Song.mp3").string()});
    }
    void TearDown() override {
        TGuiTest::TearDown();
        SetEnvironment("TUNESTEAD_FAKE_PLAYER_LOG", std::nullopt);
    }

    bool Hidden() const { return Application()->Minimized() && !MainFrm->isVisible(); }
    bool Shown() const {
        return !Application()->Minimized() && MainFrm->isVisible() && !MainFrm->isMinimized();
    }

    TFakeTray Shell;
    TQtTrayEnvironment Qt;
    TTrayEnvironment Environment{Shell, Qt, Qt};
    bool TrayAvailable = true;
};

TEST_F(TTrayTest, IconStandsForTheWholeRunWithTheHint) {
    ASSERT_GE(Shell.ShellCalls.size(), 2u);
    EXPECT_EQ(Shell.ShellCalls[0].Message, NimAdd);
    EXPECT_STREQ(Shell.ShellCalls[0].Data.szTip, "MP3 Tunestead");
    EXPECT_EQ(Shell.ShellCalls[1].Message, NimModify);
    EXPECT_STREQ(Shell.ShellCalls[1].Data.szTip, "MP3 Discovane");
    EXPECT_EQ(MainFrm->TrayIcon1->Hint(), "MP3 Discovane");
    auto* menu = dynamic_cast<TQtTrayPopupMenu*>(MainFrm->TrayIcon1->PopupMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->Menu(), MainFrm->TrayPop);
    EXPECT_EQ(Application()->MinimizeHandlerOwner(), MainFrm->TrayIcon1.get());
    EXPECT_EQ(Application()->RestoreHandlerOwner(), MainFrm->TrayIcon1.get());

    ASSERT_TRUE(Exit());
    DestroyForms();
    EXPECT_EQ(Shell.ShellCalls.back().Message, NimDelete);
    EXPECT_EQ(Application()->MinimizeHandlerOwner(), nullptr);
    EXPECT_EQ(Application()->RestoreHandlerOwner(), nullptr);
    EXPECT_FALSE(Shell.WindowProc);
}

TEST_F(TTrayTest, PlayHidesInTheTrayAndTheMenuRestores) {
    MainFrm->PlayBtnClick();
    ASSERT_TRUE(Hidden());
    EXPECT_TRUE(Boxes.empty());

    TChoosingPopupMenu menu;
    menu.Choice = MainFrm->RestorePop;
    MainFrm->TrayIcon1->SetPopupMenu(&menu);
    Shell.SendIconMessage(WmRButtonDown);
    Shell.SendIconMessage(WmRButtonUp);
    EXPECT_EQ(menu.Openings.size(), 1u);
    EXPECT_TRUE(Shown());

    // Shown again, the right button opens no menu.
    Shell.SendIconMessage(WmRButtonDown);
    Shell.SendIconMessage(WmRButtonUp);
    EXPECT_EQ(menu.Openings.size(), 1u);
}

TEST_F(TTrayTest, DoubleClickOnTheIconRestores) {
    MainFrm->PlayBtnClick();
    ASSERT_TRUE(Hidden());
    // What the icon's double-click brings, in the order it comes.
    for (auto message : {WmLButtonDown, WmLButtonUp, WmLButtonDblClk, WmLButtonUp})
        Shell.SendIconMessage(message);
    EXPECT_TRUE(Shown());
}

TEST_F(TTrayTest, UsersOwnMinimiseHidesToo) {
    // The window manager's minimise changes the window's state, as this does.
    MainFrm->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(Hidden());
    MainFrm->RestorePopClick();
    EXPECT_TRUE(Shown());
}

TEST_F(TTrayTest, RestoreWhileShownDoesNothing) {
    int restores = 0;
    MainFrm->TrayIcon1->OnRestore = [&restores](TComponent*) { ++restores; };
    MainFrm->move(60, 50);
    MainFrm->RestorePop->trigger();
    Shell.SendIconMessage(WmLButtonDblClk);
    EXPECT_EQ(restores, 0);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(MainFrm->pos(), QPoint(60, 50));

    MainFrm->PlayBtnClick();
    MainFrm->RestorePop->trigger();
    EXPECT_EQ(restores, 1);
}

TEST_F(TTrayTest, WithoutANotificationAreaTheWindowStaysInTheTaskbar) {
    TrayAvailable = false;
    MainFrm->PlayBtnClick();
    EXPECT_TRUE(Application()->Minimized());
    EXPECT_TRUE(MainFrm->isVisible());
    EXPECT_TRUE(MainFrm->isMinimized());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Information");
    EXPECT_NE(Boxes[0].Text.find("taskbar"), std::string::npos);

    // The taskbar button brings it back; a second play says nothing more.
    MainFrm->showNormal();
    EXPECT_TRUE(Shown());
    MainFrm->PlayBtnClick();
    EXPECT_TRUE(MainFrm->isVisible());
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST(TQtTrayTest, ActivationsBecomeTheMouseMessagesWindowsSends) {
    const struct {
        QSystemTrayIcon::ActivationReason Reason;
        std::vector<std::intptr_t> Messages;
    } cases[] = {{QSystemTrayIcon::Trigger, {WmLButtonDown, WmLButtonUp}},
                 {QSystemTrayIcon::DoubleClick, {WmLButtonDblClk, WmLButtonUp}},
                 {QSystemTrayIcon::Context, {WmRButtonDown, WmRButtonUp}},
                 {QSystemTrayIcon::MiddleClick, {WmMButtonDown, WmMButtonUp}},
                 {QSystemTrayIcon::Unknown, {}}};

    TQtTrayEnvironment tray;
    std::vector<TMessage> received;
    const TWindowHandle window =
        tray.AllocateWindow([&received](TMessage& message) { received.push_back(message); });
    TNotifyIconData data;
    data.hWnd = window;
    data.uID = 3;
    data.uFlags = NifMessage | NifIcon;
    data.uCallbackMessage = WmTrayIconCallback;
    ASSERT_TRUE(tray.ShellNotifyIcon(NimAdd, data));
    QSystemTrayIcon* icon = tray.TrayIconFor(window, 3);
    ASSERT_NE(icon, nullptr);

    for (const auto& c : cases) {
        received.clear();
        emit icon->activated(c.Reason);
        ASSERT_EQ(received.size(), c.Messages.size()) << c.Reason;
        for (std::size_t i = 0; i < received.size(); ++i) {
            EXPECT_EQ(received[i].Msg, WmTrayIconCallback);
            EXPECT_EQ(received[i].WParam, 3u);
            EXPECT_EQ(received[i].LParam, c.Messages[i]);
        }
    }

    // A window given back hears nothing more.
    tray.DeallocateWindow(window);
    received.clear();
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(received.empty());
}

TEST(TQtTrayTest, RecordsAddChangeAndRemoveTheIcon) {
    TQtTrayEnvironment tray;
    const TWindowHandle window = tray.AllocateWindow([](TMessage&) {});
    TQtIcon image(QIcon(QPixmap(16, 16)));
    TNotifyIconData data;
    data.hWnd = window;
    data.uFlags = NifMessage | NifIcon | NifTip;
    data.hIcon = image.Handle();
    std::memcpy(data.szTip, "MP3 Tunestead", 14);

    EXPECT_FALSE(tray.ShellNotifyIcon(NimModify, data));
    ASSERT_TRUE(tray.ShellNotifyIcon(NimAdd, data));
    EXPECT_FALSE(tray.ShellNotifyIcon(NimAdd, data));
    QSystemTrayIcon* icon = tray.TrayIconFor(window, 0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), "MP3 Tunestead");
    EXPECT_FALSE(icon->icon().isNull());

    // Without NIF_TIP the tip is empty; an icon object that no longer lives shows nothing.
    TNotifyIconData changed = data;
    changed.uFlags = NifMessage | NifIcon;
    changed.hIcon = std::make_unique<TQtIcon>(QIcon(QPixmap(16, 16)))->Handle();
    ASSERT_TRUE(tray.ShellNotifyIcon(NimModify, changed));
    EXPECT_EQ(icon->toolTip(), "");
    EXPECT_TRUE(icon->icon().isNull());

    ASSERT_TRUE(tray.ShellNotifyIcon(NimDelete, data));
    EXPECT_EQ(tray.TrayIconFor(window, 0), nullptr);
    EXPECT_FALSE(tray.ShellNotifyIcon(NimDelete, data));
}

TEST(TQtTrayTest, IconObjectsCopyOnlyTheirOwnKind) {
    TQtIcon source(QIcon(QPixmap(16, 16)));
    TQtIcon copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Image().cacheKey(), source.Image().cacheKey());
    EXPECT_EQ(TQtIcon::FromHandle(copy.Handle()), &copy);
    copy.Assign(TFakeIcon(source.Handle() + 1));
    EXPECT_TRUE(copy.Image().isNull());
}
