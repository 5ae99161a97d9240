#include "toolkit/FileDialog.h"

#include "toolkit/Text.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {
TFileDialogHook& Hook() {
    static TFileDialogHook hook;
    return hook;
}

// "Executables|*.exe|All|*.*" becomes "Executables (*.exe);;All (*.*)".
QStringList QtFilters(const std::string& filter) {
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(';', ' ') +
                       QLatin1Char(')');
    return filters;
}
} // namespace

void SetFileDialogHook(TFileDialogHook hook) {
    Hook() = std::move(hook);
}

bool TFileDialog::Execute(QWidget* parent) {
    bool confirmed = false;
    if (Hook()) {
        confirmed = Hook()(*this);
    } else {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(Kind == fdSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(Kind == fdSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDirectory(ToQString(InitialDir));
        dialog.setNameFilters(QtFilters(Filter));
        if (!DefaultExt.empty())
            dialog.setDefaultSuffix(ToQString(DefaultExt));
        if (!FileName.empty())
            dialog.selectFile(ToQString(FileName));
        confirmed = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        if (confirmed)
            FileName = FromQString(dialog.selectedFiles().first());
    }
    if (confirmed && !DefaultExt.empty()) {
        // A name typed without an extension gets the default one (an existing file opens as it is).
        const QFileInfo chosen(ToQString(FileName));
        if (chosen.suffix().isEmpty() && (Kind == fdSave || !chosen.exists()))
            FileName += "." + DefaultExt;
    }
    return confirmed;
}
