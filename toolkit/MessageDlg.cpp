#include "toolkit/MessageDlg.h"

#include "toolkit/Text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace {

TMessageBoxHook& Hook() {
    static TMessageBoxHook hook;
    return hook;
}

QMessageBox::Icon QtIcon(TMsgIcon icon) {
    switch (icon) {
    case miInformation:
        return QMessageBox::Information;
    case miWarning:
        return QMessageBox::Warning;
    case miError:
        return QMessageBox::Critical;
    case miQuestion:
        return QMessageBox::Question;
    case miNone:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void SetMessageBoxHook(TMessageBoxHook hook) {
    Hook() = std::move(hook);
}

TModalResult ShowMessageBox(const TMessageBox& box) {
    if (Hook())
        return Hook()(box);

    QString text = ToQString(box.Text);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox dialog(QtIcon(box.Icon), ToQString(box.Caption), text, QMessageBox::NoButton,
                       QApplication::activeWindow());
    struct Choice {
        TMsgDlgBtn Button;
        const char* Caption;
        QMessageBox::ButtonRole Role;
        TModalResult Result;
    };
    const Choice choices[] = {{mbYes, "&Yes", QMessageBox::YesRole, mrYes},
                              {mbNo, "&No", QMessageBox::NoRole, mrNo},
                              {mbOK, "OK", QMessageBox::AcceptRole, mrOk},
                              {mbCancel, "Cancel", QMessageBox::RejectRole, mrCancel}};
    std::vector<std::pair<QAbstractButton*, TModalResult>> buttons;
    for (const auto& choice : choices) {
        if ((box.Buttons & choice.Button) == 0)
            continue;
        auto* button = dialog.addButton(QString::fromLatin1(choice.Caption), choice.Role);
        if (buttons.empty())
            dialog.setDefaultButton(button);
        buttons.emplace_back(button, choice.Result);
    }
    if (!buttons.empty())
        dialog.setEscapeButton(buttons.back().first);
    dialog.exec();
    for (const auto& [button, result] : buttons)
        if (dialog.clickedButton() == button)
            return result;
    return buttons.empty() ? mrNone : buttons.back().second;
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    static const struct {
        const char* Caption;
        TMsgIcon Icon;
    } kinds[] = {{"Warning", miWarning},
                 {"Error", miError},
                 {"Information", miInformation},
                 {"Confirm", miQuestion}};
    const auto& kind = kinds[type];
    return ShowMessageBox({kind.Caption, text, kind.Icon, buttons});
}
