#include "components/win32/TrayEnvironmentWin32.h"

#include "components/ShellNotifyRecord.h"
#include "platform/Errors.h"

#include <shellapi.h>

#include <memory>
#include <utility>

namespace {

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == NotifyIconDataSize, "the record's first form is 88 bytes");
#endif

constexpr char HiddenWindowClass[] = "TunesteadTrayWindow";

// What a hidden window's messages reach: the component's procedure and where its errors go.
struct TWindowState {
    TWindowProc Proc;
    TWindowProcErrorHandler ShowError;
};
// Kept in the window's GWLP_USERDATA. The procedure holds its own reference while it runs, so a
// window deallocated from inside its procedure frees the state only when that call returns.
using TWindowStateRef = std::shared_ptr<const TWindowState>;

HWND ToWindow(TWindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

// Messages that arrive while CreateWindowExA runs, before the state is attached, and after
// DeallocateWindow has taken it away, get the default handling.
LRESULT CALLBACK HiddenWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    const auto* stored =
        reinterpret_cast<const TWindowStateRef*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (stored == nullptr)
        return DefWindowProcA(window, msg, wParam, lParam);
    const TWindowStateRef state = *stored;
    TMessage message{msg, wParam, lParam, 0};
    try {
        state->Proc(message);
    } catch (const std::exception& error) {
        state->ShowError(error);
    }
    return message.Result;
}

// Registers the hidden windows' class the first time it is needed.
void RegisterHiddenWindowClass(HINSTANCE instance) {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HiddenWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = HiddenWindowClass;
    registered =
        RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

TWin32Icon::TWin32Icon(HICON icon) : FIcon(icon != nullptr ? CopyIcon(icon) : nullptr) {}

TWin32Icon::~TWin32Icon() {
    if (FIcon != nullptr)
        DestroyIcon(FIcon);
}

void TWin32Icon::Assign(const IIcon& source) {
    if (&source == this)
        return;
    const HICON image = reinterpret_cast<HICON>(source.Handle());
    const HICON copy = image != nullptr ? CopyIcon(image) : nullptr;
    if (FIcon != nullptr)
        DestroyIcon(FIcon);
    FIcon = copy;
}

TIconHandle TWin32Icon::Handle() const {
    return reinterpret_cast<TIconHandle>(FIcon);
}

TWin32TrayShell::TWin32TrayShell(TWindowProcErrorHandler showError)
    : FShowError(std::move(showError)) {}

bool TWin32TrayShell::ShellNotifyIcon(std::uint32_t message, const TNotifyIconData& data) {
    NOTIFYICONDATAA record =
        ToShellRecord<NOTIFYICONDATAA>(data, static_cast<std::uint32_t>(NOTIFYICONDATAA_V1_SIZE));
    return Shell_NotifyIconA(message, &record) != FALSE;
}

TWindowHandle TWin32TrayShell::AllocateWindow(TWindowProc wndProc) {
    auto stored = std::make_unique<TWindowStateRef>(
        std::make_shared<const TWindowState>(TWindowState{std::move(wndProc), FShowError}));
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterHiddenWindowClass(instance);
    // A tool window stays off the taskbar and the task switcher; no WS_VISIBLE, no caption.
    const HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, HiddenWindowClass, "", WS_POPUP, 0, 0, 0,
                                        0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        throw EOutOfResources("Cannot create shell notification icon");
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(stored.release()));
    return reinterpret_cast<TWindowHandle>(window);
}

void TWin32TrayShell::DeallocateWindow(TWindowHandle window) {
    const HWND handle = ToWindow(window);
    // Detach the state first: the messages of the destruction get the default handling.
    const std::unique_ptr<TWindowStateRef> stored(
        reinterpret_cast<TWindowStateRef*>(SetWindowLongPtrA(handle, GWLP_USERDATA, 0)));
    DestroyWindow(handle);
}

void TWin32TrayShell::DefaultHandler(TWindowHandle window, TMessage& message) {
    message.Result = DefWindowProcA(ToWindow(window), message.Msg, message.WParam, message.LParam);
}

TScreenPoint TWin32TrayShell::GetCursorPos() {
    POINT point{};
    ::GetCursorPos(&point);
    return {static_cast<int>(point.x), static_cast<int>(point.y)};
}

std::int16_t TWin32TrayShell::GetKeyState(int virtualKey) {
    return ::GetKeyState(virtualKey);
}

bool TWin32TrayShell::IsWindowVisible(TWindowHandle window) {
    return ::IsWindowVisible(ToWindow(window)) != FALSE;
}

void TWin32TrayShell::ShowWindow(TWindowHandle window, int command) {
    ::ShowWindow(ToWindow(window), command);
}
