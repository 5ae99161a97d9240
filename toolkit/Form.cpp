#include "toolkit/Form.h"

#include "toolkit/Application.h"
#include "toolkit/Text.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {
TForm::TModalHook& ModalHook() {
    static TForm::TModalHook hook;
    return hook;
}
} // namespace

TForm::TForm(QWidget* owner, const std::string& caption, int clientWidth, int clientHeight)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(ToQString(caption));
    setFixedSize(clientWidth, clientHeight);
    setSizeGripEnabled(false);
}

std::string TForm::Caption() const {
    return FromQString(windowTitle());
}

void TForm::SetCaption(const std::string& caption) {
    setWindowTitle(ToQString(caption));
}

void TForm::SetModalHook(TModalHook hook) {
    ModalHook() = std::move(hook);
}

void TForm::CenterOnScreen() {
    if (const auto* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void TForm::Show() {
    if (!isVisible())
        FActivatedInShowing = false;
    if (FScreenCentered)
        CenterOnScreen();
    show();
    raise();
    activateWindow();
}

TModalResult TForm::ShowModal() {
    FModalResult = mrNone;
    FModal = true;
    FActivatedInShowing = false;
    if (FScreenCentered)
        CenterOnScreen();
    if (ModalHook()) {
        Activate();
        ModalHook()(*this);
    } else {
        exec();
    }
    FModal = false;
    hide();
    if (FModalResult == mrNone)
        FModalResult = mrCancel;
    return FModalResult;
}

void TForm::SetModalResult(TModalResult result) {
    FModalResult = result;
    if (FModal && isVisible())
        done(static_cast<int>(result));
    else if (!FModal)
        hide();
}

void TForm::Close() {
    close();
}

void TForm::Activate() {
    // Marked before the call, so that the reactivation after an error box it raises is no
    // first activation.
    if (!FActivatedInShowing) {
        FActivatedInShowing = true;
        Application()->Guarded([this] { FormFirstActivate(); });
    }
    Application()->Guarded([this] { FormActivate(); });
}

bool TForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Activate();
    return QDialog::event(event);
}

void TForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    bool closes = false;
    try {
        closes = FormClose();
    } catch (const std::exception& error) {
        // A close that fails keeps the window open; the user sees why.
        Application()->ShowException(error);
    }
    if (!closes) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TForm::keyPressEvent(QKeyEvent* event) {
    // Escape cancels nothing in these windows.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
