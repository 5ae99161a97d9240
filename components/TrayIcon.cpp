#include "components/TrayIcon.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cstring>

TTrayIcon::TTrayIcon(TComponent* owner, const TTrayEnvironment& environment)
    : TComponent(owner), FEnvironment(environment) {
    // A component placed on a form in the designer is designing like its form.
    if (owner != nullptr && owner->Designing())
        SetDesigning(true);
    ITrayApplication& application = FEnvironment.Application;
    FIcon = application.CreateIcon();
    FIcon->Assign(application.Icon());
    if (Designing())
        return;

    FIconData = TNotifyIconData{};
    FIconData.cbSize = NotifyIconDataSize;
    FIconData.hWnd = FEnvironment.NotificationArea.AllocateWindow(
        [this](TMessage& message) { WndProc(message); });
    FHasWindow = true;
    FIconData.hIcon = FIcon->Handle();
    const std::string title = application.Title();
    CopyTip(title);
    FIconData.uFlags = NifMessage | NifIcon;
    if (!title.empty())
        FIconData.uFlags |= NifTip;
    FIconData.uCallbackMessage = WmTrayIconCallback;
    if (!FEnvironment.NotificationArea.ShellNotifyIcon(NimAdd, FIconData)) {
        // The destructor does not run for a constructor that throws: release the window here.
        FEnvironment.NotificationArea.DeallocateWindow(FIconData.hWnd);
        throw EOutOfResources("Cannot create shell notification icon");
    }
    application.SetMinimizeHandler(this, [this] { AppMinimize(); });
    application.SetRestoreHandler(this, [this] { AppRestore(); });
}

TTrayIcon::~TTrayIcon() {
    ITrayApplication& application = FEnvironment.Application;
    if (application.MinimizeHandlerOwner() == this)
        application.SetMinimizeHandler(nullptr, {});
    if (application.RestoreHandlerOwner() == this)
        application.SetRestoreHandler(nullptr, {});
    if (!Designing())
        FEnvironment.NotificationArea.ShellNotifyIcon(NimDelete, FIconData);
    if (FHasWindow)
        FEnvironment.NotificationArea.DeallocateWindow(FIconData.hWnd);
}

void TTrayIcon::SetHint(const std::string& text) {
    if (text == FHint)
        return;
    FHint = text;
    CopyTip(text);
    if (text.empty())
        FIconData.uFlags &= ~NifTip;
    else
        FIconData.uFlags |= NifTip;
    UpdateIcon();
}

void TTrayIcon::SetIcon(const IIcon& icon) {
    if (&icon == FIcon.get())
        return;
    FIcon->Assign(icon);
    // The own object's handle: it shows the same image and lives as long as the component.
    FIconData.hIcon = FIcon->Handle();
    UpdateIcon();
}

void TTrayIcon::ShowPopup() {
    if (FPopupMenu == nullptr)
        return;
    if (FEnvironment.System.IsWindowVisible(FEnvironment.Application.Handle()))
        return;
    const TScreenPoint cursor = FEnvironment.System.GetCursorPos();
    FPopupMenu->Popup(cursor.X, cursor.Y);
}

void TTrayIcon::Click() {
    if (OnClick)
        OnClick(this);
}

void TTrayIcon::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TTrayIcon::RemoveIcon() {
    FEnvironment.NotificationArea.ShellNotifyIcon(NimDelete, FIconData);
}

void TTrayIcon::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TTrayIcon::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WmQueryEndSession:
        message.Result = 1;
        break;
    case WmEndSession:
        if (message.WParam != 0)
            RemoveIcon();
        message.Result = 0;
        break;
    case WmTrayIconCallback:
        HandleIconMessage(message.LParam);
        message.Result = 0;
        break;
    default:
        FEnvironment.NotificationArea.DefaultHandler(FIconData.hWnd, message);
        break;
    }
}

void TTrayIcon::HandleIconMessage(std::intptr_t mouseMessage) {
    switch (mouseMessage) {
    case WmLButtonDblClk:
    case WmRButtonDblClk:
    case WmMButtonDblClk:
        DblClick();
        return;
    case WmMouseMove:
    case WmLButtonDown:
    case WmLButtonUp:
    case WmRButtonDown:
    case WmRButtonUp:
    case WmMButtonDown:
    case WmMButtonUp:
        break;
    default:
        return;
    }
    const TShiftState keys = KeyShiftState();
    const TScreenPoint cursor = FEnvironment.System.GetCursorPos();
    switch (mouseMessage) {
    case WmMouseMove:
        MouseMove(keys, cursor.X, cursor.Y);
        break;
    case WmLButtonDown:
        MouseDown(mbLeft, keys + ssLeft, cursor.X, cursor.Y);
        FPendingClick = true;
        break;
    case WmLButtonUp:
        if (FPendingClick) {
            FPendingClick = false;
            Click();
        }
        MouseUp(mbLeft, keys + ssLeft, cursor.X, cursor.Y);
        break;
    case WmRButtonDown:
        MouseDown(mbRight, keys + ssRight, cursor.X, cursor.Y);
        ShowPopup();
        break;
    case WmRButtonUp:
        MouseUp(mbRight, keys + ssRight, cursor.X, cursor.Y);
        break;
    case WmMButtonDown:
        MouseDown(mbMiddle, keys + ssMiddle, cursor.X, cursor.Y);
        break;
    case WmMButtonUp:
        MouseUp(mbMiddle, keys + ssMiddle, cursor.X, cursor.Y);
        break;
    }
}

TShiftState TTrayIcon::KeyShiftState() const {
    ITraySystem& system = FEnvironment.System;
    TShiftState shift;
    if (system.GetKeyState(VkShift) < 0)
        shift.Include(ssShift);
    if (system.GetKeyState(VkControl) < 0)
        shift.Include(ssCtrl);
    if (system.GetKeyState(VkMenu) < 0)
        shift.Include(ssAlt);
    return shift;
}

void TTrayIcon::UpdateIcon() {
    if (!Designing())
        FEnvironment.NotificationArea.ShellNotifyIcon(NimModify, FIconData);
}

void TTrayIcon::Minimize() {
    FEnvironment.System.ShowWindow(FEnvironment.Application.Handle(), SwHide);
    if (OnMinimize)
        OnMinimize(this);
}

void TTrayIcon::Restore() {
    FEnvironment.System.ShowWindow(FEnvironment.Application.Handle(), SwRestore);
    if (OnRestore)
        OnRestore(this);
}

void TTrayIcon::AppMinimize() {
    Minimize();
}

void TTrayIcon::AppRestore() {
    Restore();
}

// The tip holds at most 63 characters and a terminating zero; the rest of it is cleared.
void TTrayIcon::CopyTip(const std::string& text) {
    std::memset(FIconData.szTip, 0, sizeof(FIconData.szTip));
    std::memcpy(FIconData.szTip, text.data(), std::min(text.size(), sizeof(FIconData.szTip) - 1));
}
