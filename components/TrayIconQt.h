// The tray icon's environment on Qt: the notification area on QSystemTrayIcon with its hidden
// callback windows, the cursor, keys and main form, the application object, icon objects over
// QIcon and the popup menu over QMenu.
#pragma once

#include "components/TrayIconEnvironment.h"

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class QMenu;

// An icon object over a QIcon. Its handle names the object for as long as it lives.
class TQtIcon : public IIcon {
public:
    explicit TQtIcon(QIcon image = {});
    ~TQtIcon() override;
    TQtIcon(const TQtIcon&) = delete;
    TQtIcon& operator=(const TQtIcon&) = delete;

    // Takes the image of another icon object of ours; any other kind leaves no image.
    void Assign(const IIcon& source) override;
    TIconHandle Handle() const override;

    const QIcon& Image() const { return FImage; }
    void SetImage(const QIcon& image) { FImage = image; }

    // The living icon object with this handle, or nullptr.
    static const TQtIcon* FromHandle(TIconHandle handle);

private:
    QIcon FImage;
};

// The mouse messages that one activation of the icon makes, in the order Windows sends them
// to the callback window (a double-click ends with the release, as there).
std::vector<std::intptr_t> MouseMessagesFor(QSystemTrayIcon::ActivationReason reason);

class TQtTrayEnvironment : public QObject,
                           public ITrayNotificationArea,
                           public ITraySystem,
                           public ITrayApplication {
    Q_OBJECT
public:
    // The window that stands for the application window: the main form.
    static constexpr TWindowHandle ApplicationWindow = 1;

    explicit TQtTrayEnvironment(QObject* parent = nullptr);
    ~TQtTrayEnvironment() override;

    TTrayEnvironment Environment() { return {*this, *this, *this}; }

    // Notification area. An icon is known by its hidden window and id, as in the record.
    bool ShellNotifyIcon(std::uint32_t message, const TNotifyIconData& data) override;
    TWindowHandle AllocateWindow(TWindowProc wndProc) override;
    void DeallocateWindow(TWindowHandle window) override;
    void DefaultHandler(TWindowHandle window, TMessage& message) override;

    // System.
    TScreenPoint GetCursorPos() override;
    std::int16_t GetKeyState(int virtualKey) override;
    bool IsWindowVisible(TWindowHandle window) override;
    // SwHide hides the main form where the desktop has a notification area to come back
    // from; elsewhere the form stays minimised in the taskbar and the user is told once.
    // SwRestore shows it normal, raised and active.
    void ShowWindow(TWindowHandle window, int command) override;

    // Application.
    std::string Title() const override;
    const IIcon& Icon() const override;
    TWindowHandle Handle() const override { return ApplicationWindow; }
    std::unique_ptr<IIcon> CreateIcon() const override;
    void SetMinimizeHandler(const void* owner, std::function<void()> handler) override;
    const void* MinimizeHandlerOwner() const override;
    void SetRestoreHandler(const void* owner, std::function<void()> handler) override;
    const void* RestoreHandlerOwner() const override;

    // How to learn whether the desktop has a notification area, asked at each hiding
    // (QSystemTrayIcon::isSystemTrayAvailable unless replaced).
    void SetTrayAvailableQuery(std::function<bool()> query) { FTrayAvailable = std::move(query); }

    // The icon added for this window and id, or nullptr.
    QSystemTrayIcon* TrayIconFor(TWindowHandle window, std::uint32_t id) const;

private:
    struct TShellIcon {
        QSystemTrayIcon* Icon;
        std::uint32_t CallbackMessage;
    };
    using TIconKey = std::pair<TWindowHandle, std::uint32_t>;

    void Apply(QSystemTrayIcon& icon, const TNotifyIconData& data) const;
    void Activated(TIconKey key, QSystemTrayIcon::ActivationReason reason);
    void TellNoNotificationArea();

    std::map<TWindowHandle, TWindowProc> FWindows;
    TWindowHandle FNextWindow = 0x100;
    std::map<TIconKey, TShellIcon> FIcons;
    mutable TQtIcon FApplicationIcon;
    bool FToldNoNotificationArea = false;
    std::function<bool()> FTrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
};

// The tray menu: Popup raises the menu's aboutToShow and shows it at the point (QMenu::exec
// does both), returning when it closes. It lives as a child of the menu.
class TQtTrayPopupMenu : public QObject, public ITrayPopupMenu {
    Q_OBJECT
public:
    explicit TQtTrayPopupMenu(QMenu* menu);
    void Popup(int x, int y) override;
    QMenu* Menu() const { return FMenu; }

private:
    QMenu* FMenu;
};

// The environment the main window's tray icon is built on: the one installed for tests, or
// else a new Qt environment that owner keeps (and destroys with itself).
TTrayEnvironment TrayEnvironment(QObject* owner);

// Whether the icons that Qt environments add are shown in the notification area (they are
// unless a run that shows nothing turns this off).
void SetTrayIconsShown(bool shown);

// Makes TrayEnvironment hand out this environment (nullptr: the Qt one again). The caller
// keeps it alive while tray icons use it.
void SetTrayEnvironmentForTesting(const TTrayEnvironment* environment);
