// A notification area, system and application object for tray icon tests: every request is
// recorded (shell calls with a copy of the record), cursor, keys and visibility are set by the
// test, and messages reach the hidden window through Send.
#pragma once

#include "components/TrayIconEnvironment.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

class TFakeIcon : public IIcon {
public:
    explicit TFakeIcon(TIconHandle image = 0) : FImage(image) {}
    void Assign(const IIcon& source) override { FImage = source.Handle(); }
    // The handle stands for the image: objects showing the same image share it.
    TIconHandle Handle() const override { return FImage; }

private:
    TIconHandle FImage;
};

class TFakePopupMenu : public ITrayPopupMenu {
public:
    explicit TFakePopupMenu(std::vector<std::string>& log) : FLog(log) {}
    void Popup(int x, int y) override {
        FLog.push_back("Popup " + std::to_string(x) + "," + std::to_string(y));
    }

private:
    std::vector<std::string>& FLog;
};

struct TShellCall {
    std::uint32_t Message;
    TNotifyIconData Data;
};

class TFakeTray : public ITrayNotificationArea, public ITraySystem, public ITrayApplication {
public:
    static constexpr TWindowHandle HiddenWindow = 0x5150;
    static constexpr TWindowHandle ApplicationWindow = 0xA990;

    // Notification area.
    bool ShellNotifyIcon(std::uint32_t message, const TNotifyIconData& data) override {
        ShellCalls.push_back({message, data});
        Log.push_back("Shell " + std::to_string(message));
        return message != NimAdd || AcceptAdd;
    }
    TWindowHandle AllocateWindow(TWindowProc wndProc) override {
        EXPECT_FALSE(WindowProc) << "a second hidden window";
        WindowProc = std::move(wndProc);
        return HiddenWindow;
    }
    void DeallocateWindow(TWindowHandle window) override {
        EXPECT_EQ(window, HiddenWindow);
        WindowProc = nullptr;
        Log.push_back("DeallocateWindow");
    }
    void DefaultHandler(TWindowHandle window, TMessage& message) override {
        EXPECT_EQ(window, HiddenWindow);
        message.Result = DefaultResult;
        Log.push_back("Default " + std::to_string(message.Msg));
    }

    // System.
    TScreenPoint GetCursorPos() override {
        ++CursorReads;
        return Cursor;
    }
    std::int16_t GetKeyState(int virtualKey) override {
        ++KeyReads;
        return KeysDown.count(virtualKey) != 0 ? std::int16_t{-128} : std::int16_t{1};
    }
    bool IsWindowVisible(TWindowHandle window) override {
        EXPECT_EQ(window, ApplicationWindow);
        return ApplicationVisible;
    }
    void ShowWindow(TWindowHandle window, int command) override {
        EXPECT_EQ(window, ApplicationWindow);
        Log.push_back("ShowWindow " + std::to_string(command));
    }

    // Application.
    std::string Title() const override { return ApplicationTitle; }
    const IIcon& Icon() const override { return ApplicationIcon; }
    TWindowHandle Handle() const override { return ApplicationWindow; }
    std::unique_ptr<IIcon> CreateIcon() const override { return std::make_unique<TFakeIcon>(); }
    void SetMinimizeHandler(const void* owner, std::function<void()> handler) override {
        MinimizeOwner = owner;
        MinimizeHandler = std::move(handler);
    }
    const void* MinimizeHandlerOwner() const override { return MinimizeOwner; }
    void SetRestoreHandler(const void* owner, std::function<void()> handler) override {
        RestoreOwner = owner;
        RestoreHandler = std::move(handler);
    }
    const void* RestoreHandlerOwner() const override { return RestoreOwner; }

    TTrayEnvironment Environment() { return {*this, *this, *this}; }

    // Delivers a message to the hidden window and returns its result.
    std::intptr_t Send(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        if (!WindowProc) {
            ADD_FAILURE() << "no hidden window";
            return -1;
        }
        TMessage message{msg, wParam, lParam, -1};
        WindowProc(message);
        return message.Result;
    }
    void SendIconMessage(std::intptr_t mouseMessage) { Send(WmTrayIconCallback, 0, mouseMessage); }

    std::vector<TShellCall> ShellCalls;
    std::vector<std::string> Log;
    bool AcceptAdd = true;
    std::intptr_t DefaultResult = 77;
    TWindowProc WindowProc;

    TScreenPoint Cursor{100, 200};
    std::set<int> KeysDown;
    bool ApplicationVisible = true;
    int CursorReads = 0;
    int KeyReads = 0;

    std::string ApplicationTitle = "MP3 Tunestead";
    TFakeIcon ApplicationIcon{501};
    const void* MinimizeOwner = nullptr;
    std::function<void()> MinimizeHandler;
    const void* RestoreOwner = nullptr;
    std::function<void()> RestoreHandler;
};
