#include "toolkit/FileDialog.h"

#include "toolkit/Text.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
TFileDialogHook& Hook() {
    static TFileDialogHook hook;
    return hook;
}

// "Executables|*.exe|All|*.*" becomes "Executables (*.exe);;All (*.*)". The dialog shows only
// the descriptions, as the system's own dialogs do, so a description may name its patterns.
QStringList QtFilters(const std::string& filter) {
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(';', ' ') +
                       QLatin1Char(')');
    return filters;
}

// The extension of a filter's pattern when it is a single "*.ext" ("" for "*.*" or several).
std::string FilterExtension(const std::string& filter, int index) {
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    const qsizetype at = 2 * (static_cast<qsizetype>(index) - 1) + 1;
    if (index < 1 || at >= parts.size())
        return {};
    const QString pattern = parts[at];
    if (!pattern.startsWith(QStringLiteral("*.")) || pattern.contains(QLatin1Char(';')) ||
        pattern == QStringLiteral("*.*"))
        return {};
    return FromQString(pattern.mid(2));
}
} // namespace

void SetFileDialogHook(TFileDialogHook hook) {
    Hook() = std::move(hook);
}

bool TFileDialog::Execute(QWidget* parent) {
    bool confirmed = false;
    if (Hook()) {
        confirmed = Hook()(*this);
    } else if (Kind == fdFolder) {
        const QString folder = QFileDialog::getExistingDirectory(parent, {}, ToQString(InitialDir));
        confirmed = !folder.isEmpty();
        if (confirmed)
            FileName = FromQString(QDir::toNativeSeparators(folder));
    } else {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(Kind == fdSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(Kind == fdSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDirectory(ToQString(InitialDir));
        const QStringList filters = QtFilters(Filter);
        dialog.setNameFilters(filters);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (FilterIndex >= 1 && FilterIndex <= filters.size())
            dialog.selectNameFilter(filters[FilterIndex - 1]);
        if (!FileName.empty())
            dialog.selectFile(ToQString(FileName));
        confirmed = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        if (confirmed) {
            FileName = FromQString(dialog.selectedFiles().first());
            FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        }
    }
    if (confirmed && !DefaultExt.empty()) {
        const std::string extension = FilterExtension(Filter, FilterIndex);
        // A name typed without an extension gets the default one (an existing file opens as it is).
        const QFileInfo chosen(ToQString(FileName));
        if (chosen.suffix().isEmpty() && (Kind == fdSave || !chosen.exists()))
            FileName += "." + (extension.empty() ? DefaultExt : extension);
    }
    return confirmed;
}
