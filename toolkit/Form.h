// Base of the program's windows: a fixed-size window built in code, shown modelessly or
// modally, with the activation and close events that the forms handle.
#pragma once

#include "toolkit/MessageDlg.h"

#include <QDialog>

#include <functional>
#include <string>

class TForm : public QDialog {
    Q_OBJECT
public:
    TForm(QWidget* owner, const std::string& caption, int clientWidth, int clientHeight);

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // Screen position of the window's outer corner.
    int Left() const { return x(); }
    int Top() const { return y(); }
    void SetLeft(int left) { move(left, y()); }
    void SetTop(int top) { move(x(), top); }

    // Whether the window is put in the middle of the screen each time it is shown.
    void SetScreenCentered(bool centered) { FScreenCentered = centered; }

    // Shows the window and brings it to the front, without a modal run.
    void Show();
    // Runs the window modally and returns how it ended (mrCancel for the title bar's close).
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    // Ends a modal run with this result (or hides a modeless window).
    void SetModalResult(TModalResult result);
    void Close();

    // Called each time the window becomes the active window: FormFirstActivate at the first
    // activation of each showing, then FormActivate.
    void Activate();

    // While set, ShowModal does not run a loop: it activates the form, calls the hook (which
    // plays the user's part, for instance by pressing OK) and returns the form's result.
    using TModalHook = std::function<void(TForm&)>;
    static void SetModalHook(TModalHook hook);

protected:
    virtual void FormActivate() {}
    // Work done once per showing (Show of a hidden window, or ShowModal). A window is activated
    // again whenever a message box in front of it closes or the user comes back from another
    // program; none of these repeats it.
    virtual void FormFirstActivate() {}
    // Returns false to keep the window open.
    virtual bool FormCloseQuery() { return true; }
    // Returns false to keep the window open; an error it raises is shown and keeps it open too.
    virtual bool FormClose() { return true; }

    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CenterOnScreen();

    TModalResult FModalResult = mrNone;
    bool FScreenCentered = false;
    bool FModal = false;
    bool FActivatedInShowing = false;
};
