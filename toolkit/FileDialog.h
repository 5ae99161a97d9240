// The common open and save file dialogs and the folder dialog, with a hook through which tests
// choose the file or folder.
#pragma once

#include <functional>
#include <string>

class QWidget;

struct TFileDialog {
    // fdFolder chooses an existing folder: FileName is then its full path.
    enum TKind { fdOpen, fdSave, fdFolder };
    TKind Kind = fdOpen;
    std::string InitialDir;
    std::string FileName;   // preset name; the chosen full path after Execute
    std::string Filter;     // "Description|pattern|Description|pattern"
    std::string DefaultExt; // added when the user types a name without an extension
    // The filter shown first, from 1; after Execute the one the user chose. While DefaultExt
    // is set, a name typed without an extension gets the chosen filter's extension when its
    // pattern is a single "*.ext", else DefaultExt.
    int FilterIndex = 1;

    // Runs the dialog; true when the user confirmed a file.
    bool Execute(QWidget* parent);
};

// While set, Execute shows nothing: the hook gets the dialog, may set FileName, and answers.
using TFileDialogHook = std::function<bool(TFileDialog&)>;
void SetFileDialogHook(TFileDialogHook hook);
