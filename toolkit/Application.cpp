#include "toolkit/Application.h"

#include "toolkit/MessageDlg.h"
#include "toolkit/Text.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindowStateChangeEvent>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TApplication* Application() {
    return qobject_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetTitle(const std::string& title) {
    // Only the name: Qt would add a display name to every window's caption.
    FTitle = title;
    setApplicationName(ToQString(title));
}

void TApplication::SetMainForm(QWidget* form) {
    if (FMainForm != nullptr)
        FMainForm->removeEventFilter(this);
    FMainForm = form;
    // The minimised state is the main form's: another form starts out shown.
    FMinimized = false;
    FFocusBeforeMinimize = nullptr;
    if (FMainForm != nullptr)
        FMainForm->installEventFilter(this);
}

void TApplication::Minimize() {
    if (FMinimized || FMainForm == nullptr)
        return;
    FMinimized = true;
    FFocusBeforeMinimize = focusWidget();
    if (!FMainForm->isMinimized())
        FMainForm->showMinimized();
    if (FOnMinimize)
        FOnMinimize();
}

void TApplication::Restore() {
    if (!FMinimized || FMainForm == nullptr)
        return;
    FMinimized = false;
    FMainForm->showNormal();
    FMainForm->raise();
    FMainForm->activateWindow();
    if (FFocusBeforeMinimize != nullptr && FMainForm->isAncestorOf(FFocusBeforeMinimize))
        FFocusBeforeMinimize->setFocus();
    FFocusBeforeMinimize = nullptr;
    if (FOnRestore)
        FOnRestore();
}

void TApplication::SetMinimizeHandler(const void* owner, std::function<void()> handler) {
    FMinimizeOwner = owner;
    FOnMinimize = std::move(handler);
}

void TApplication::SetRestoreHandler(const void* owner, std::function<void()> handler) {
    FRestoreOwner = owner;
    FOnRestore = std::move(handler);
}

bool TApplication::eventFilter(QObject* watched, QEvent* event) {
    // The user's own minimise or restore of the main form counts as the application's.
    if (watched == FMainForm && event->type() == QEvent::WindowStateChange) {
        if (FMainForm->isMinimized() && !FMinimized)
            Minimize();
        else if (!FMainForm->isMinimized() && FMinimized && FMainForm->isVisible())
            Restore();
    }
    return QApplication::eventFilter(watched, event);
}

void TApplication::ShowException(const std::exception& error) {
    ShowMessageBox({FTitle, std::string(error.what()) + ".", miError, mbOK});
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
        return true;
    }
}
