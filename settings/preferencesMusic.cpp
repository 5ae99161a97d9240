// The preferences' part in adding MP3 folders: the button that adds one, the added music
// folders kept with the settings, and the offer to delete the program's own catalogue of a
// music folder whose root the user removes.
#include "settings/preferences.h"

#include "app/Main.h"
#include "catalogue/CataloguePath.h"
#include "describing/CataloguePlace.h"
#include "describing/MusicCatalogue.h"
#include "settings/Settings.h"
#include "toolkit/Application.h"

#include <QPainter>

#include <algorithm>

namespace {

// A root's path without its trailing delimiters, so that "/a/b/" and "/a/b" are one root.
std::string RootKey(std::string root) {
    while (root.size() > 1 && (root.back() == '/' || root.back() == '\\'))
        root.pop_back();
    return root;
}

bool ListsRoot(const std::vector<std::string>& roots, const std::string& root) {
    return std::any_of(roots.begin(), roots.end(),
                       [&](const std::string& listed) { return RootKey(listed) == RootKey(root); });
}

std::vector<std::string> Rows(const TListView* list) {
    std::vector<std::string> rows;
    for (int row = 0; row < list->RowCount(); ++row)
        rows.push_back(list->Caption(row));
    return rows;
}

} // namespace

void TPathListView::SetEmptyHint(const std::string& text) {
    FEmptyHint = QString::fromStdString(text);
    setAccessibleDescription(FEmptyHint);
}

void TPathListView::paintEvent(QPaintEvent* event) {
    TListView::paintEvent(event);
    if (RowCount() > 0 || FEmptyHint.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(palette().placeholderText().color());
    painter.drawText(viewport()->rect().adjusted(6, 4, -6, -4), Qt::AlignCenter | Qt::TextWordWrap,
                     FEmptyHint);
}

void TPrefsFrm::LoadMusicFolders() {
    auto& reg = *MainFrm->MP3PlayerReg;
    const auto music = Settings::Read(reg, Settings::MusicFolders);
    const auto catalogues = Settings::Read(reg, Settings::MusicCatalogues);
    MusicFolders.clear();
    for (std::size_t i = 0; i < music.size() && i < catalogues.size(); ++i)
        MusicFolders.push_back({music[i], catalogues[i]});
}

void TPrefsFrm::AddMusicBtnClick() {
    MainFrm->AddMusicFolder(this);
}

void TPrefsFrm::AddDescribedFolder(const Catalogue::TMusicFolder& folder) {
    if (std::find(MusicFolders.begin(), MusicFolders.end(), folder) == MusicFolders.end())
        MusicFolders.push_back(folder);
    const std::string root = RootKey(folder.Catalogue) + Catalogue::PathDelimiter;
    if (!ListsRoot(Rows(MP3PathLst), root))
        MP3PathLst->AddSorted(root);
    if (SavedPaths && !ListsRoot(*SavedPaths, root))
        SavedPaths->push_back(root);
}

void TPrefsFrm::ForgetRemovedFolders() {
    if (!SavedPaths)
        return;
    const auto rows = Rows(MP3PathLst);
    std::vector<Catalogue::TMusicFolder> removed;
    std::erase_if(MusicFolders, [&](const Catalogue::TMusicFolder& folder) {
        const bool gone =
            ListsRoot(*SavedPaths, folder.Catalogue) && !ListsRoot(rows, folder.Catalogue);
        if (gone)
            removed.push_back(folder);
        return gone;
    });
    for (const auto& folder : removed) {
        if (Catalogue::CatalogueSource(folder.Catalogue) !=
            Catalogue::MusicFolderPath(folder.Music))
            continue;
        const std::string question = "Delete the catalogue that MP3 Tunestead made for " +
                                     folder.Music + "?\r\r" + folder.Catalogue +
                                     "\r\rThe MP3 files themselves stay as they are.";
        if (ShowMessageBox({Application()->Title(), question, miQuestion, mbYes | mbNo}) != mrYes)
            continue;
        try {
            Catalogue::RemoveOwnCatalogue(folder.Catalogue, folder.Music);
        } catch (const std::exception& error) {
            Application()->ShowException(error);
        }
    }
}
