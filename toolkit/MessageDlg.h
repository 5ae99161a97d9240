// Every message box of the program goes through here: exact captions, icons and buttons,
// and one hook through which tests record and answer each box without a modal loop.
#pragma once

#include <functional>
#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };
using TMsgDlgButtons = unsigned;

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

enum TMsgIcon { miNone, miInformation, miWarning, miError, miQuestion };

struct TMessageBox {
    std::string Caption;
    std::string Text; // lines separated by a carriage return
    TMsgIcon Icon = miNone;
    TMsgDlgButtons Buttons = mbOK;
};

// The toolkit's message dialog: caption "Warning", "Error", "Information" or
// "Confirm" by kind, with the matching icon.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// A box with a caption of the caller's choosing (the system's own message box).
TModalResult ShowMessageBox(const TMessageBox& box);

// While a hook is set, no box is shown: the hook gets each box and its answer is the result.
using TMessageBoxHook = std::function<TModalResult(const TMessageBox&)>;
void SetMessageBoxHook(TMessageBoxHook hook);
