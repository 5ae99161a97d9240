#include "app/PrintTree.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "components/TrayIconQt.h"
#include "toolkit/Application.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Text.h"
#include "toolkit/TreeView.h"

#include <algorithm>
#include <iostream>

namespace {
// The box's text on one line each, as the user would have read it.
void WriteBox(std::ostream& out, const TMessageBox& box) {
    std::string text = box.Text;
    std::replace(text.begin(), text.end(), '\r', '\n');
    out << box.Caption << ": " << text << '\n';
}

TModalResult DefaultAnswer(TMsgDlgButtons buttons) {
    if (buttons & mbOK)
        return mrOk;
    if (buttons & mbYes)
        return mrYes;
    return mrCancel;
}
} // namespace

namespace {
// A text as the windows show it, in UTF-8.
std::string Shown(const std::string& bytes) {
    return ToQString(bytes).toStdString();
}
} // namespace

void PrintAlbumTree(std::ostream& out) {
    MainFrm->ClearTree = true;
    MainFrm->InitAlbumTree2();
    for (int top = 0; top < MainFrm->TreeLst->TopCount(); ++top) {
        const TTreeNode* category = MainFrm->TreeLst->Top(top);
        out << Shown(category->Text) << '\n';
        for (const auto& album : category->Children)
            out << "  " << Shown(album->Text) << '\n';
    }
    out << Shown(MainFrm->AlbumBar->PanelText(0)) << '\n'
        << Shown(MainFrm->AlbumBar->PanelText(1)) << '\n';
}

void ShowNothing() {
    SetMessageBoxHook([](const TMessageBox& box) {
        WriteBox(std::cerr, box);
        return DefaultAnswer(box.Buttons);
    });
    TForm::SetModalHook([](TForm& form) { form.SetModalResult(mrCancel); });
    SetTrayIconsShown(false);
}

int RunPrintTree(int& argc, char** argv) {
    // Nothing is shown, so no display is needed: the offscreen platform is used whatever the
    // environment names. A -platform argument still wins, so that a run can prove the
    // program's windows come up on a real one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    SetUpApplication(application);
    ShowNothing();
    if (!CreateForms())
        return 1;
    int exitCode = 0;
    try {
        PrintAlbumTree(std::cout);
    } catch (const std::exception& error) {
        application.ShowException(error);
        exitCode = 1;
    }
    DestroyForms();
    return exitCode;
}
