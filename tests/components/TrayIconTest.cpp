#include "components/TrayIcon.h"

#include "FakeTrayEnvironment.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string ShiftText(TShiftState shift) {
    std::string text;
    const char* names[] = {"Shift", "Alt", "Ctrl", "Left", "Right", "Middle"};
    for (int flag = ssShift; flag <= ssMiddle; ++flag)
        if (shift.Contains(static_cast<TShiftFlag>(flag)))
            text += std::string(text.empty() ? "" : "+") + names[flag];
    return text;
}

const char* ButtonText(TMouseButton button) {
    return button == mbLeft ? "left" : button == mbRight ? "right" : "middle";
}

class TrayIconTest : public ::testing::Test {
protected:
    // A component with every event recorded into the fake's log.
    std::unique_ptr<TTrayIcon> Create() {
        auto icon = std::make_unique<TTrayIcon>(&Owner, Tray.Environment());
        auto& log = Tray.Log;
        icon->OnClick = [&log](TComponent*) { log.push_back("Click"); };
        icon->OnDblClick = [&log](TComponent*) { log.push_back("DblClick"); };
        icon->OnMinimize = [&log](TComponent*) { log.push_back("Minimize"); };
        icon->OnRestore = [&log](TComponent*) { log.push_back("Restore"); };
        icon->OnMouseMove = [&log](TComponent*, TShiftState shift, int x, int y) {
            log.push_back("Move " + ShiftText(shift) + " " + std::to_string(x) + "," +
                          std::to_string(y));
        };
        icon->OnMouseDown = [&log](TComponent*, TMouseButton button, TShiftState shift, int x,
                                   int y) {
            log.push_back("Down " + std::string(ButtonText(button)) + " " + ShiftText(shift) + " " +
                          std::to_string(x) + "," + std::to_string(y));
        };
        icon->OnMouseUp = [&log](TComponent*, TMouseButton button, TShiftState shift, int x,
                                 int y) {
            log.push_back("Up " + std::string(ButtonText(button)) + " " + ShiftText(shift) + " " +
                          std::to_string(x) + "," + std::to_string(y));
        };
        Tray.Log.clear();
        Tray.ShellCalls.clear();
        return icon;
    }

    TComponent Owner{nullptr};
    TFakeTray Tray;
};

TEST_F(TrayIconTest, ConstructionAddsTheIconWithTheTitleAndInstallsHandlers) {
    TTrayIcon icon(&Owner, Tray.Environment());
    ASSERT_EQ(Tray.ShellCalls.size(), 1u);
    const TShellCall& add = Tray.ShellCalls[0];
    EXPECT_EQ(add.Message, NimAdd);
    EXPECT_EQ(add.Data.cbSize, 88u);
    EXPECT_EQ(add.Data.hWnd, TFakeTray::HiddenWindow);
    EXPECT_EQ(add.Data.uID, 0u);
    EXPECT_EQ(add.Data.uFlags, NifMessage | NifIcon | NifTip);
    EXPECT_EQ(add.Data.uCallbackMessage, 0x401u);
    EXPECT_EQ(add.Data.hIcon, 501u);
    EXPECT_STREQ(add.Data.szTip, "MP3 Tunestead");
    EXPECT_EQ(icon.Hint(), "");
    EXPECT_EQ(icon.Icon().Handle(), 501u);
    EXPECT_EQ(Tray.MinimizeOwner, &icon);
    EXPECT_EQ(Tray.RestoreOwner, &icon);
    EXPECT_EQ(Owner.ComponentCount(), 1u);
}

TEST_F(TrayIconTest, EmptyTitleGivesNoTipUntilAHintIsSet) {
    Tray.ApplicationTitle = "";
    auto icon = std::make_unique<TTrayIcon>(&Owner, Tray.Environment());
    EXPECT_EQ(Tray.ShellCalls.at(0).Data.uFlags, NifMessage | NifIcon);
    icon->SetHint("MP3 Discovane");
    ASSERT_EQ(Tray.ShellCalls.size(), 2u);
    EXPECT_EQ(Tray.ShellCalls[1].Message, NimModify);
    EXPECT_EQ(Tray.ShellCalls[1].Data.uFlags, NifMessage | NifIcon | NifTip);
    EXPECT_STREQ(Tray.ShellCalls[1].Data.szTip, "MP3 Discovane");
}

TEST_F(TrayIconTest, HintChangesReachTheShellOnlyWhenTheTextChanges) {
    auto icon = Create();
    icon->SetHint("MP3 Discovane");
    icon->SetHint("MP3 Discovane");
    ASSERT_EQ(Tray.ShellCalls.size(), 1u);
    EXPECT_STREQ(Tray.ShellCalls[0].Data.szTip, "MP3 Discovane");

    icon->SetHint("");
    ASSERT_EQ(Tray.ShellCalls.size(), 2u);
    EXPECT_EQ(Tray.ShellCalls[1].Message, NimModify);
    EXPECT_EQ(Tray.ShellCalls[1].Data.uFlags, NifMessage | NifIcon);
    EXPECT_STREQ(Tray.ShellCalls[1].Data.szTip, "");
    EXPECT_EQ(icon->Hint(), "");
}

TEST_F(TrayIconTest, LongHintIsCutInTheTipAndKeptWhole) {
    auto icon = Create();
    std::string hint;
    for (int i = 0; i < 100; ++i)
        hint += static_cast<char>('a' + i % 26);
    icon->SetHint(hint);
    const TNotifyIconData& data = Tray.ShellCalls.at(0).Data;
    EXPECT_EQ(std::strlen(data.szTip), 63u);
    EXPECT_EQ(std::string(data.szTip), hint.substr(0, 63));
    EXPECT_EQ(icon->Hint(), hint);
}

TEST_F(TrayIconTest, AssigningAnIconCopiesItAndUpdatesTheShellAtOnce) {
    auto icon = Create();
    icon->SetIcon(icon->Icon());
    EXPECT_TRUE(Tray.ShellCalls.empty());

    auto other = std::make_unique<TFakeIcon>(777);
    icon->SetIcon(*other);
    ASSERT_EQ(Tray.ShellCalls.size(), 1u);
    EXPECT_EQ(Tray.ShellCalls[0].Message, NimModify);
    EXPECT_EQ(Tray.ShellCalls[0].Data.hIcon, 777u);
    other.reset();
    EXPECT_EQ(icon->Icon().Handle(), 777u);
}

TEST_F(TrayIconTest, LeftDoubleClickGivesOneClick) {
    auto icon = Create();
    for (std::intptr_t message : {WmLButtonDown, WmLButtonUp, WmLButtonDblClk, WmLButtonUp})
        Tray.SendIconMessage(message);
    EXPECT_EQ(Tray.Log,
              (std::vector<std::string>{"Down left Left 100,200", "Click", "Up left Left 100,200",
                                        "DblClick", "Up left Left 100,200"}));
}

TEST_F(TrayIconTest, EachMouseMessageRaisesItsEventWithKeysAndButtonFlag) {
    struct TCase {
        std::intptr_t Message;
        const char* Event;
    };
    const TCase cases[] = {
        {WmMouseMove, "Move Shift+Alt+Ctrl 100,200"},
        {WmLButtonDown, "Down left Shift+Alt+Ctrl+Left 100,200"},
        {WmRButtonDown, "Down right Shift+Alt+Ctrl+Right 100,200"},
        {WmRButtonUp, "Up right Shift+Alt+Ctrl+Right 100,200"},
        {WmMButtonDown, "Down middle Shift+Alt+Ctrl+Middle 100,200"},
        {WmMButtonUp, "Up middle Shift+Alt+Ctrl+Middle 100,200"},
        {WmRButtonDblClk, "DblClick"},
        {WmMButtonDblClk, "DblClick"},
    };
    auto icon = Create();
    Tray.KeysDown = {VkShift, VkControl, VkMenu};
    for (const TCase& c : cases) {
        Tray.Log.clear();
        EXPECT_EQ(Tray.Send(WmTrayIconCallback, 0, c.Message), 0);
        EXPECT_EQ(Tray.Log, std::vector<std::string>{c.Event}) << c.Message;
    }
}

TEST_F(TrayIconTest, KeysAndCursorAreReadWhenTheMessageIsHandled) {
    auto icon = Create();
    Tray.SendIconMessage(WmLButtonDown);
    Tray.Cursor = {30, 40};
    Tray.KeysDown = {VkControl};
    Tray.SendIconMessage(WmLButtonUp);
    EXPECT_EQ(Tray.Log, (std::vector<std::string>{"Down left Left 100,200", "Click",
                                                  "Up left Ctrl+Left 30,40"}));
}

TEST_F(TrayIconTest, DoubleClicksAndUnknownMessagesReadNothing) {
    auto icon = Create();
    for (std::intptr_t message : {WmLButtonDblClk, WmRButtonDblClk, WmMButtonDblClk,
                                  std::intptr_t{0x20A}, std::intptr_t{0x1FF}})
        Tray.SendIconMessage(message);
    EXPECT_EQ(Tray.CursorReads, 0);
    EXPECT_EQ(Tray.KeyReads, 0);
    EXPECT_EQ(Tray.Log, (std::vector<std::string>{"DblClick", "DblClick", "DblClick"}));
}

TEST_F(TrayIconTest, LeftReleaseWithoutPressGivesNoClick) {
    auto icon = Create();
    Tray.SendIconMessage(WmLButtonUp);
    EXPECT_EQ(Tray.Log, std::vector<std::string>{"Up left Left 100,200"});
}

TEST_F(TrayIconTest, RightPressOpensTheMenuOnlyWhileTheProgramIsHidden) {
    auto icon = Create();
    TFakePopupMenu menu(Tray.Log);
    icon->SetPopupMenu(&menu);

    Tray.SendIconMessage(WmRButtonDown);
    EXPECT_EQ(Tray.Log, std::vector<std::string>{"Down right Right 100,200"});

    Tray.Log.clear();
    Tray.ApplicationVisible = false;
    Tray.Cursor = {5, 6};
    Tray.SendIconMessage(WmRButtonDown);
    EXPECT_EQ(Tray.Log, (std::vector<std::string>{"Down right Right 5,6", "Popup 5,6"}));
}

TEST_F(TrayIconTest, RightPressWithoutMenuRaisesMouseDownOnly) {
    auto icon = Create();
    Tray.ApplicationVisible = false;
    Tray.SendIconMessage(WmRButtonDown);
    EXPECT_EQ(Tray.Log, std::vector<std::string>{"Down right Right 100,200"});
}

TEST_F(TrayIconTest, SessionEndRemovesTheIconOnlyWhenItReallyEnds) {
    auto icon = Create();
    EXPECT_EQ(Tray.Send(WmQueryEndSession), 1);
    EXPECT_EQ(Tray.Send(WmEndSession, 0), 0);
    EXPECT_TRUE(Tray.ShellCalls.empty());
    EXPECT_EQ(Tray.Send(WmEndSession, 1), 0);
    ASSERT_EQ(Tray.ShellCalls.size(), 1u);
    EXPECT_EQ(Tray.ShellCalls[0].Message, NimDelete);
    EXPECT_EQ(Tray.ShellCalls[0].Data.hWnd, TFakeTray::HiddenWindow);
}

TEST_F(TrayIconTest, OtherMessagesGoToTheDefaultHandler) {
    auto icon = Create();
    EXPECT_EQ(Tray.Send(0x0001), 77);
    EXPECT_EQ(Tray.Log, std::vector<std::string>{"Default 1"});
}

// Overrides reached through the application's handlers.
class TCountingTrayIcon : public TTrayIcon {
public:
    using TTrayIcon::TTrayIcon;
    void Minimize() override { ++Minimized; }
    int Minimized = 0;
};

TEST_F(TrayIconTest, ApplicationMinimiseAndRestoreHideAndShowTheWindowThenRaiseEvents) {
    auto icon = Create();
    Tray.MinimizeHandler();
    Tray.RestoreHandler();
    EXPECT_EQ(Tray.Log,
              (std::vector<std::string>{"ShowWindow 0", "Minimize", "ShowWindow 9", "Restore"}));
}

TEST_F(TrayIconTest, ApplicationHandlersHonourOverrides) {
    TCountingTrayIcon counting(nullptr, Tray.Environment());
    Tray.MinimizeHandler();
    EXPECT_EQ(counting.Minimized, 1);
    EXPECT_EQ(Tray.Log, std::vector<std::string>{"Shell 0"});
}

TEST_F(TrayIconTest, RefusedIconRaisesAndLeavesNothingBehind) {
    Tray.AcceptAdd = false;
    try {
        TTrayIcon icon(&Owner, Tray.Environment());
        FAIL() << "no error";
    } catch (const EOutOfResources& error) {
        EXPECT_STREQ(error.what(), "Cannot create shell notification icon");
    }
    EXPECT_EQ(Tray.MinimizeOwner, nullptr);
    EXPECT_FALSE(Tray.MinimizeHandler);
    EXPECT_EQ(Tray.RestoreOwner, nullptr);
    EXPECT_FALSE(Tray.WindowProc);
    EXPECT_EQ(Owner.ComponentCount(), 0u);
}

TEST_F(TrayIconTest, DestructionRemovesTheIconAndCutsEveryLink) {
    auto icon = Create();
    icon->SetHint("MP3 Discovane");
    Tray.Log.clear();
    icon.reset();
    EXPECT_EQ(Tray.Log, (std::vector<std::string>{"Shell 2", "DeallocateWindow"}));
    EXPECT_STREQ(Tray.ShellCalls.back().Data.szTip, "MP3 Discovane");
    EXPECT_EQ(Tray.MinimizeOwner, nullptr);
    EXPECT_FALSE(Tray.MinimizeHandler);
    EXPECT_EQ(Tray.RestoreOwner, nullptr);
    EXPECT_FALSE(Tray.RestoreHandler);
    EXPECT_EQ(Owner.ComponentCount(), 0u);
}

TEST_F(TrayIconTest, DestructionLeavesHandlersInstalledByOthers) {
    auto icon = Create();
    int calls = 0;
    Tray.SetMinimizeHandler(&calls, [&calls] { ++calls; });
    icon.reset();
    EXPECT_EQ(Tray.MinimizeOwner, &calls);
    Tray.MinimizeHandler();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Tray.RestoreOwner, nullptr);
}

TEST_F(TrayIconTest, DestroyingTheOwnerDestroysTheComponent) {
    auto owner = std::make_unique<TComponent>(nullptr);
    new TTrayIcon(owner.get(), Tray.Environment());
    owner.reset();
    EXPECT_EQ(Tray.ShellCalls.back().Message, NimDelete);
    EXPECT_FALSE(Tray.WindowProc);
}

TEST_F(TrayIconTest, InDesignStateOnlyPropertiesAreKept) {
    Owner.SetDesigning(true);
    {
        TTrayIcon icon(&Owner, Tray.Environment());
        EXPECT_TRUE(icon.Designing());
        icon.SetHint("MP3 Discovane");
        EXPECT_EQ(icon.Hint(), "MP3 Discovane");
        EXPECT_EQ(icon.Icon().Handle(), 501u);
        EXPECT_FALSE(Tray.WindowProc);
        EXPECT_EQ(Tray.MinimizeOwner, nullptr);
    }
    EXPECT_TRUE(Tray.ShellCalls.empty());
}

} // namespace
