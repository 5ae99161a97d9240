// The program-wide application object: title, icon, the window that carries the taskbar
// button, minimise and restore with one replaceable handler each, and the error box for
// errors that an event handler lets escape.
#pragma once

#include <QApplication>
#include <QIcon>
#include <QPointer>

#include <exception>
#include <functional>
#include <string>

class QWidget;

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title);
    QIcon Icon() const { return windowIcon(); }

    // The first form created; closing it ends the program. It carries the taskbar button.
    QWidget* MainForm() const { return FMainForm; }
    void SetMainForm(QWidget* form);

    bool Minimized() const { return FMinimized; }
    // Minimises the main form (if not minimised already), then calls the minimise handler.
    void Minimize();
    // Brings the main form back (if minimised), gives focus back, then calls the restore
    // handler.
    void Restore();

    // One replaceable handler each for "after the application was minimised" and "after it
    // was restored", with the owner that installed it (nullptr with no handler), so that an
    // owner going away takes back only a handler that is still its own.
    void SetMinimizeHandler(const void* owner, std::function<void()> handler);
    const void* MinimizeHandlerOwner() const { return FMinimizeOwner; }
    void SetRestoreHandler(const void* owner, std::function<void()> handler);
    const void* RestoreHandlerOwner() const { return FRestoreOwner; }

    // Shows the error box: the title as caption, an error icon, OK, the message and ".".
    void ShowException(const std::exception& error);

    // Runs a handler; an error it raises goes to the error box and the program goes on.
    template <typename Handler>
    void Guarded(Handler&& handler) {
        try {
            handler();
        } catch (const std::exception& error) {
            ShowException(error);
        }
    }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::string FTitle;
    QWidget* FMainForm = nullptr;
    QPointer<QWidget> FFocusBeforeMinimize;
    bool FMinimized = false;
    std::function<void()> FOnMinimize;
    const void* FMinimizeOwner = nullptr;
    std::function<void()> FOnRestore;
    const void* FRestoreOwner = nullptr;
};

// The one application object of the run.
TApplication* Application();
