#include "components/TrayIconQt.h"

#include "toolkit/Application.h"
#include "toolkit/MessageDlg.h"
#include "toolkit/Text.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <cstring>
#include <set>

namespace {

std::set<const TQtIcon*>& LivingIcons() {
    static std::set<const TQtIcon*> icons;
    return icons;
}

const TTrayEnvironment*& TestingEnvironment() {
    static const TTrayEnvironment* environment = nullptr;
    return environment;
}

bool& TrayIconsShown() {
    static bool shown = true;
    return shown;
}

QWidget* MainForm() {
    return Application() != nullptr ? Application()->MainForm() : nullptr;
}

} // namespace

TQtIcon::TQtIcon(QIcon image) : FImage(std::move(image)) {
    LivingIcons().insert(this);
}

TQtIcon::~TQtIcon() {
    LivingIcons().erase(this);
}

void TQtIcon::Assign(const IIcon& source) {
    const TQtIcon* icon = FromHandle(source.Handle());
    FImage = icon != nullptr ? icon->FImage : QIcon();
}

TIconHandle TQtIcon::Handle() const {
    return reinterpret_cast<TIconHandle>(this);
}

const TQtIcon* TQtIcon::FromHandle(TIconHandle handle) {
    const auto* icon = reinterpret_cast<const TQtIcon*>(handle);
    return LivingIcons().count(icon) != 0 ? icon : nullptr;
}

std::vector<std::intptr_t> MouseMessagesFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {WmLButtonDown, WmLButtonUp};
    case QSystemTrayIcon::DoubleClick:
        return {WmLButtonDblClk, WmLButtonUp};
    case QSystemTrayIcon::Context:
        return {WmRButtonDown, WmRButtonUp};
    case QSystemTrayIcon::MiddleClick:
        return {WmMButtonDown, WmMButtonUp};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

TQtTrayEnvironment::TQtTrayEnvironment(QObject* parent) : QObject(parent) {}

TQtTrayEnvironment::~TQtTrayEnvironment() = default;

bool TQtTrayEnvironment::ShellNotifyIcon(std::uint32_t message, const TNotifyIconData& data) {
    const TIconKey key{data.hWnd, data.uID};
    const auto found = FIcons.find(key);
    switch (message) {
    case NimAdd: {
        if (found != FIcons.end())
            return false;
        auto* icon = new QSystemTrayIcon(this);
        FIcons[key] = {icon, data.uCallbackMessage};
        Apply(*icon, data);
        QObject::connect(
            icon, &QSystemTrayIcon::activated, this,
            [this, key](QSystemTrayIcon::ActivationReason reason) { Activated(key, reason); });
        // Without a notification area there is nothing to show; the program goes on.
        if (TrayIconsShown())
            icon->show();
        return true;
    }
    case NimModify:
        if (found == FIcons.end())
            return false;
        if ((data.uFlags & NifMessage) != 0)
            found->second.CallbackMessage = data.uCallbackMessage;
        Apply(*found->second.Icon, data);
        return true;
    case NimDelete:
        if (found == FIcons.end())
            return false;
        found->second.Icon->hide();
        // Deleted later: the removal may come from inside the icon's own activation.
        found->second.Icon->deleteLater();
        FIcons.erase(found);
        return true;
    default:
        return false;
    }
}

void TQtTrayEnvironment::Apply(QSystemTrayIcon& icon, const TNotifyIconData& data) const {
    if ((data.uFlags & NifIcon) != 0) {
        const TQtIcon* image = TQtIcon::FromHandle(data.hIcon);
        icon.setIcon(image != nullptr ? image->Image() : QIcon());
    }
    // The tip field is at most 63 characters and a zero; nothing beyond it is read.
    const std::string tip(data.szTip, strnlen(data.szTip, sizeof(data.szTip)));
    icon.setToolTip((data.uFlags & NifTip) != 0 ? ToQString(tip) : QString());
}

void TQtTrayEnvironment::Activated(TIconKey key, QSystemTrayIcon::ActivationReason reason) {
    QPointer<TQtTrayEnvironment> self(this);
    for (std::intptr_t mouseMessage : MouseMessagesFor(reason)) {
        // Each message looks its icon and window up again: a handler of the one before
        // (the tray menu's "&Quit", say) may have removed either.
        if (self.isNull())
            return;
        const auto icon = FIcons.find(key);
        const auto window = FWindows.find(key.first);
        if (icon == FIcons.end() || window == FWindows.end())
            return;
        TWindowProc wndProc = window->second;
        TMessage message{icon->second.CallbackMessage, key.second, mouseMessage, 0};
        Application()->Guarded([&] { wndProc(message); });
    }
}

TWindowHandle TQtTrayEnvironment::AllocateWindow(TWindowProc wndProc) {
    const TWindowHandle window = FNextWindow++;
    FWindows[window] = std::move(wndProc);
    return window;
}

void TQtTrayEnvironment::DeallocateWindow(TWindowHandle window) {
    FWindows.erase(window);
}

void TQtTrayEnvironment::DefaultHandler(TWindowHandle, TMessage& message) {
    message.Result = 0;
}

TScreenPoint TQtTrayEnvironment::GetCursorPos() {
    const QPoint cursor = QCursor::pos();
    return {cursor.x(), cursor.y()};
}

std::int16_t TQtTrayEnvironment::GetKeyState(int virtualKey) {
    Qt::KeyboardModifier modifier;
    switch (virtualKey) {
    case VkShift:
        modifier = Qt::ShiftModifier;
        break;
    case VkControl:
        modifier = Qt::ControlModifier;
        break;
    case VkMenu:
        modifier = Qt::AltModifier;
        break;
    default:
        return 0;
    }
    // The high bit set means "down", as the system reports it.
    return QGuiApplication::queryKeyboardModifiers().testFlag(modifier) ? std::int16_t{-128}
                                                                        : std::int16_t{0};
}

bool TQtTrayEnvironment::IsWindowVisible(TWindowHandle window) {
    QWidget* form = window == ApplicationWindow ? MainForm() : nullptr;
    return form != nullptr && form->isVisible();
}

void TQtTrayEnvironment::ShowWindow(TWindowHandle window, int command) {
    QWidget* form = window == ApplicationWindow ? MainForm() : nullptr;
    if (form == nullptr)
        return;
    switch (command) {
    case SwHide:
        if (FTrayAvailable())
            form->hide();
        else
            TellNoNotificationArea();
        break;
    case SwRestore:
        form->showNormal();
        form->raise();
        form->activateWindow();
        break;
    default:
        break;
    }
}

// A hidden window could only come back through the icon, which this desktop cannot show:
// the window stays minimised in the taskbar instead, and the user learns why once a run.
void TQtTrayEnvironment::TellNoNotificationArea() {
    if (FToldNoNotificationArea)
        return;
    FToldNoNotificationArea = true;
    MessageDlg("This desktop has no notification area, so MP3 Tunestead cannot hide there.\r"
               "When minimised, it stays in the taskbar.",
               mtInformation, mbOK);
}

std::string TQtTrayEnvironment::Title() const {
    return Application() != nullptr ? Application()->Title() : std::string();
}

const IIcon& TQtTrayEnvironment::Icon() const {
    FApplicationIcon.SetImage(Application() != nullptr ? Application()->Icon() : QIcon());
    return FApplicationIcon;
}

std::unique_ptr<IIcon> TQtTrayEnvironment::CreateIcon() const {
    return std::make_unique<TQtIcon>();
}

void TQtTrayEnvironment::SetMinimizeHandler(const void* owner, std::function<void()> handler) {
    if (Application() != nullptr)
        Application()->SetMinimizeHandler(owner, std::move(handler));
}

const void* TQtTrayEnvironment::MinimizeHandlerOwner() const {
    return Application() != nullptr ? Application()->MinimizeHandlerOwner() : nullptr;
}

void TQtTrayEnvironment::SetRestoreHandler(const void* owner, std::function<void()> handler) {
    if (Application() != nullptr)
        Application()->SetRestoreHandler(owner, std::move(handler));
}

const void* TQtTrayEnvironment::RestoreHandlerOwner() const {
    return Application() != nullptr ? Application()->RestoreHandlerOwner() : nullptr;
}

QSystemTrayIcon* TQtTrayEnvironment::TrayIconFor(TWindowHandle window, std::uint32_t id) const {
    const auto found = FIcons.find({window, id});
    return found != FIcons.end() ? found->second.Icon : nullptr;
}

TQtTrayPopupMenu::TQtTrayPopupMenu(QMenu* menu) : QObject(menu), FMenu(menu) {}

void TQtTrayPopupMenu::Popup(int x, int y) {
    FMenu->exec(QPoint(x, y));
}

TTrayEnvironment TrayEnvironment(QObject* owner) {
    if (TestingEnvironment() != nullptr)
        return *TestingEnvironment();
    return (new TQtTrayEnvironment(owner))->Environment();
}

void SetTrayEnvironmentForTesting(const TTrayEnvironment* environment) {
    TestingEnvironment() = environment;
}

void SetTrayIconsShown(bool shown) {
    TrayIconsShown() = shown;
}
