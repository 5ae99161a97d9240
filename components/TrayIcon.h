// The tray icon component: one icon in the notification area for the component's life,
// mouse activity on it turned into events, a popup menu while the program is hidden, and
// the application's minimise and restore hiding and showing its taskbar button.
#pragma once

#include "base/Component.h"
#include "components/TrayIconEnvironment.h"

#include <functional>
#include <memory>
#include <string>

class TTrayIcon : public TComponent {
public:
    // Puts the icon in the notification area with the application's title as its tip and
    // installs the application's minimise and restore handlers. A component created by a
    // designing owner only keeps its properties. Throws EOutOfResources "Cannot create shell
    // notification icon" when the notification area refuses the icon.
    TTrayIcon(TComponent* owner, const TTrayEnvironment& environment);
    // Removes the icon, destroys the hidden window and takes back the application's handlers
    // where they are still this component's, so nothing reaches a destroyed component.
    ~TTrayIcon() override;

    const std::string& Hint() const { return FHint; }
    virtual void SetHint(const std::string& text);
    IIcon& Icon() const { return *FIcon; }
    // Copies the icon into the component's own icon object; the caller keeps its object.
    virtual void SetIcon(const IIcon& icon);
    ITrayPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(ITrayPopupMenu* menu) { FPopupMenu = menu; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMinimize;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnRestore;

    virtual void ShowPopup();
    virtual void Click();
    virtual void DblClick();
    virtual void RemoveIcon();
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // The hidden window's procedure: the end of the session and the icon's callback message.
    virtual void WndProc(TMessage& message);
    virtual void UpdateIcon();
    virtual void Minimize();
    virtual void Restore();

    // The application's minimise and restore handlers; they call Minimize and Restore.
    void AppMinimize();
    void AppRestore();

private:
    void HandleIconMessage(std::intptr_t mouseMessage);
    TShiftState KeyShiftState() const;
    void CopyTip(const std::string& text);

    TTrayEnvironment FEnvironment;
    TNotifyIconData FIconData{};
    std::unique_ptr<IIcon> FIcon;
    std::string FHint;
    ITrayPopupMenu* FPopupMenu = nullptr;
    bool FPendingClick = false;
    bool FHasWindow = false;
};
