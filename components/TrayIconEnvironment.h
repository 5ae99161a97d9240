// What the tray icon component needs from outside: the notification area with its hidden
// callback window, a few system calls, the application object, icon objects and the popup
// menu; plus the record, messages, shift state and event types it works with. The program
// implements the interfaces with its toolkit, tests with fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

class TComponent;

using TWindowHandle = std::uintptr_t;
using TIconHandle = std::uintptr_t;

// Notification-area requests and record flags.
inline constexpr std::uint32_t NimAdd = 0;
inline constexpr std::uint32_t NimModify = 1;
inline constexpr std::uint32_t NimDelete = 2;
inline constexpr std::uint32_t NifMessage = 1;
inline constexpr std::uint32_t NifIcon = 2;
inline constexpr std::uint32_t NifTip = 4;

// Window messages the hidden window handles, and the mouse messages that the icon's
// callback message carries in its LParam.
inline constexpr std::uint32_t WmQueryEndSession = 0x11;
inline constexpr std::uint32_t WmEndSession = 0x16;
inline constexpr std::uint32_t WmTrayIconCallback = 0x401;
inline constexpr std::intptr_t WmMouseMove = 0x200;
inline constexpr std::intptr_t WmLButtonDown = 0x201;
inline constexpr std::intptr_t WmLButtonUp = 0x202;
inline constexpr std::intptr_t WmLButtonDblClk = 0x203;
inline constexpr std::intptr_t WmRButtonDown = 0x204;
inline constexpr std::intptr_t WmRButtonUp = 0x205;
inline constexpr std::intptr_t WmRButtonDblClk = 0x206;
inline constexpr std::intptr_t WmMButtonDown = 0x207;
inline constexpr std::intptr_t WmMButtonUp = 0x208;
inline constexpr std::intptr_t WmMButtonDblClk = 0x209;

// Virtual keys whose state makes the shift state, and the two window show commands.
inline constexpr int VkShift = 0x10;
inline constexpr int VkControl = 0x11;
inline constexpr int VkMenu = 0x12;
inline constexpr int SwHide = 0;
inline constexpr int SwRestore = 9;

// The notification area's record in its 88-byte form (field names as the shell's).
struct TNotifyIconData {
    std::uint32_t cbSize = 0;
    TWindowHandle hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    TIconHandle hIcon = 0;
    char szTip[64] = {};
};
inline constexpr std::uint32_t NotifyIconDataSize = 88;

// A message to the hidden window; the window procedure sets Result.
struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};
using TWindowProc = std::function<void(TMessage&)>;

struct TScreenPoint {
    int X = 0;
    int Y = 0;
};

enum TShiftFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle };

// A set of shift flags.
class TShiftState {
public:
    constexpr TShiftState() = default;
    constexpr TShiftState(std::initializer_list<TShiftFlag> flags) {
        for (TShiftFlag flag : flags)
            Include(flag);
    }
    constexpr bool Contains(TShiftFlag flag) const { return (FBits & Bit(flag)) != 0; }
    constexpr TShiftState& Include(TShiftFlag flag) {
        FBits = static_cast<std::uint8_t>(FBits | Bit(flag));
        return *this;
    }
    constexpr TShiftState operator+(TShiftFlag flag) const {
        return TShiftState(*this).Include(flag);
    }
    friend constexpr bool operator==(TShiftState, TShiftState) = default;

private:
    static constexpr std::uint8_t Bit(TShiftFlag flag) {
        return static_cast<std::uint8_t>(1u << flag);
    }
    std::uint8_t FBits = 0;
};

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;

// The notification area and the hidden window that receives its callback messages.
class ITrayNotificationArea {
public:
    virtual ~ITrayNotificationArea() = default;
    // Adds (NimAdd), modifies (NimModify) or deletes (NimDelete) the icon the record
    // describes; false when the request failed.
    virtual bool ShellNotifyIcon(std::uint32_t message, const TNotifyIconData& data) = 0;
    // Creates an invisible, captionless window of zero size whose messages go to wndProc.
    virtual TWindowHandle AllocateWindow(TWindowProc wndProc) = 0;
    // Destroys the window; wndProc is not called again.
    virtual void DeallocateWindow(TWindowHandle window) = 0;
    // The system's own handling of a message the window procedure does not handle.
    virtual void DefaultHandler(TWindowHandle window, TMessage& message) = 0;
};

// The system calls for the cursor, the keyboard and the application window.
class ITraySystem {
public:
    virtual ~ITraySystem() = default;
    // The cursor position in screen coordinates, now.
    virtual TScreenPoint GetCursorPos() = 0;
    // Negative while the key is down.
    virtual std::int16_t GetKeyState(int virtualKey) = 0;
    virtual bool IsWindowVisible(TWindowHandle window) = 0;
    virtual void ShowWindow(TWindowHandle window, int command) = 0;
};

// An icon image object of the toolkit.
class IIcon {
public:
    virtual ~IIcon() = default;
    // Makes this object show the same image as source.
    virtual void Assign(const IIcon& source) = 0;
    virtual TIconHandle Handle() const = 0;
};

// The application object: title, icon, application window, and one replaceable handler
// each for "after the application was minimised" and "after it was restored".
class ITrayApplication {
public:
    virtual ~ITrayApplication() = default;
    virtual std::string Title() const = 0;
    virtual const IIcon& Icon() const = 0;
    // The window that carries the program's button on the taskbar.
    virtual TWindowHandle Handle() const = 0;
    // A new, empty icon object.
    virtual std::unique_ptr<IIcon> CreateIcon() const = 0;
    // Replaces the handler; owner identifies who installed it (nullptr with no handler).
    virtual void SetMinimizeHandler(const void* owner, std::function<void()> handler) = 0;
    virtual const void* MinimizeHandlerOwner() const = 0;
    virtual void SetRestoreHandler(const void* owner, std::function<void()> handler) = 0;
    virtual const void* RestoreHandlerOwner() const = 0;
};

class ITrayPopupMenu {
public:
    virtual ~ITrayPopupMenu() = default;
    // Raises the menu's own popup event, shows the menu with its top-left corner at x, y
    // (screen coordinates), tracking both mouse buttons, and returns when it closes.
    virtual void Popup(int x, int y) = 0;
};

struct TTrayEnvironment {
    ITrayNotificationArea& NotificationArea;
    ITraySystem& System;
    ITrayApplication& Application;
};
