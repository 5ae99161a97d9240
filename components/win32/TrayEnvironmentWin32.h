// The tray icon's notification area and system calls on Win32 (Shell_NotifyIconA and hidden
// top-level callback windows), and an icon object on HICON for the toolkit side to use.
#pragma once

#include "components/TrayIconEnvironment.h"

#include <windows.h>

#include <exception>
#include <functional>

// An icon object owning its own copy of an HICON, destroyed with the object.
class TWin32Icon : public IIcon {
public:
    // Holds a copy of icon (nullptr: no image); the caller keeps its own handle.
    explicit TWin32Icon(HICON icon = nullptr);
    ~TWin32Icon() override;
    TWin32Icon(const TWin32Icon&) = delete;
    TWin32Icon& operator=(const TWin32Icon&) = delete;

    // Takes a copy of the source's image; the source's handle must be an HICON (or 0).
    void Assign(const IIcon& source) override;
    TIconHandle Handle() const override;
    HICON Icon() const { return FIcon; }

private:
    HICON FIcon;
};

// Receives an error that a hidden window's procedure lets escape: it cannot travel on through
// the system's message dispatch, so it is handed over here (the program shows its error box).
using TWindowProcErrorHandler = std::function<void(const std::exception&)>;

// The notification area and the system calls in one object, to be combined with the
// application object of the toolkit into the tray icon's environment.
class TWin32TrayShell : public ITrayNotificationArea, public ITraySystem {
public:
    // showError receives the errors of every hidden window's procedure; it must be set and
    // must not throw.
    explicit TWin32TrayShell(TWindowProcErrorHandler showError);

    TTrayEnvironment Environment(ITrayApplication& application) {
        return {*this, *this, application};
    }

    // Shell_NotifyIconA with the record in the shell's first form.
    bool ShellNotifyIcon(std::uint32_t message, const TNotifyIconData& data) override;
    // An invisible, captionless top-level window of zero size (top-level so that it gets the
    // end-of-session broadcasts). Every message it receives once created goes to wndProc, which
    // sets the result. Throws EOutOfResources when the window cannot be created.
    TWindowHandle AllocateWindow(TWindowProc wndProc) override;
    // Destroys the window; wndProc is not called again, even when this runs inside it.
    void DeallocateWindow(TWindowHandle window) override;
    // DefWindowProcA.
    void DefaultHandler(TWindowHandle window, TMessage& message) override;

    TScreenPoint GetCursorPos() override;
    std::int16_t GetKeyState(int virtualKey) override;
    bool IsWindowVisible(TWindowHandle window) override;
    void ShowWindow(TWindowHandle window, int command) override;

private:
    TWindowProcErrorHandler FShowError;
};
