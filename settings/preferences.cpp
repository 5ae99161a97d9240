#include "settings/preferences.h"

#include "app/Main.h"
#include "catalogue/CataloguePath.h"
#include "platform/Collate.h"
#include "platform/DesktopPlayer.h"
#include "platform/Errors.h"
#include "platform/Registry.h"
#include "settings/PlayerLookup.h"
#include "settings/Registry.h"
#include "settings/Settings.h"
#include "toolkit/Application.h"
#include "toolkit/Bind.h"
#include "toolkit/FileDialog.h"
#include "toolkit/Text.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

TPrefsFrm* PrefsFrm = nullptr;

namespace {
const char* const PlayerAssociationKey = "MP3_auto_file\\shell\\open\\command";
const char* const DescriptionFilter = "MP3 Player description|descript.ion";
#ifdef _WIN32
const char* const PlayerFilter = "Executables|*.exe";
#else
const char* const PlayerFilter = "Executables|*";
#endif

// Another program's association is only read: its keys are opened for reading, as a user
// may not change them, and a value that is no text counts as absent.
std::optional<std::string> ReadAssociationText(platform::HKEY root, const std::string& key,
                                               const std::string& name) {
    TRegistry association(platform::KEY_READ);
    association.SetRootKey(root);
    if (!association.OpenKey(key, false) || !association.ValueExists(name))
        return std::nullopt;
    try {
        return association.ReadString(name);
    } catch (const ERegistryException&) {
        return std::nullopt;
    }
}

std::optional<std::string> EnvironmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}
} // namespace

std::string WelcomeText() {
    return "Welcome to MP3 Tunestead.\r"
           "\r"
           "Before using this program, you need to configure some path to your files.\r"
           "Don't forget to check for the program menu (right click anywhere).\r"
           "Please report any bugs, comments or suggestions to tunestead-bugs@example.org\r"
           "\r"
           "Have fun and don't forget to check the html informations and manual\r"
           "provided with the program. You can always get the latest release on \r"
           "https://example.org/mp3tunestead.";
}

TPathListView::TPathListView(QWidget* parent) : TListView(parent, {{"", 215}}) {
    setHeaderHidden(true);
    SetCaptionsEditable(true);
    connect(
        this, &QTreeWidget::itemChanged, this, [this] { Sort(); }, Qt::QueuedConnection);
}

void TPathListView::AddSorted(const std::string& text) {
    AddRow(text);
    Sort();
}

void TPathListView::SetCaptionSorted(int row, const std::string& text) {
    SetCaption(row, text);
    Sort();
}

void TPathListView::Sort() {
    std::vector<std::string> captions;
    for (int row = 0; row < RowCount(); ++row)
        captions.push_back(Caption(row));
    std::vector<const std::string*> texts;
    for (const auto& caption : captions)
        texts.push_back(&caption);
    const auto order = platform::TextOrder(texts);
    bool inOrder = true;
    for (std::size_t i = 0; i < order.size(); ++i)
        inOrder = inOrder && order[i] == i;
    if (inOrder)
        return;
    const int selected = Selected();
    int newSelected = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        SetCaption(static_cast<int>(i), captions[order[i]]);
        if (static_cast<int>(order[i]) == selected)
            newSelected = static_cast<int>(i);
    }
    SetSelected(newSelected);
}

TPrefsFrm::TPrefsFrm(QWidget* owner) : TForm(owner, "Preferences", 306, 301) {
    // The first run shows this dialog from within its creation, so the program-wide
    // reference must already name it.
    PrefsFrm = this;
    CreateControls();
    ConnectHandlers();
    Application()->Guarded([this] { FormCreate(); });
}

void TPrefsFrm::ConnectHandlers() {
    Bind(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    Bind(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
    Bind(InsertBtn, &QPushButton::clicked, this, [this] { InsertBtnClick(); });
    Bind(DeleteBtn, &QPushButton::clicked, this, [this] { DeleteBtnClick(); });
    Bind(BrowsePlayBtn, &QPushButton::clicked, this, [this] { BrowsePlayBtnClick(); });
    Bind(BrowseMP3Btn, &QPushButton::clicked, this, [this] { BrowseMP3BtnClick(); });
    Bind(BrowseSearchBtn, &QPushButton::clicked, this, [this] { BrowseSearchBtnClick(); });
    Bind(AddMusicBtn, &QPushButton::clicked, this, [this] { AddMusicBtnClick(); });
}

void TPrefsFrm::FormCreate() {
    MainFrm->FirstRun = false;
    LoadSettings();
    if (MainFrm->FirstRun) {
        MessageDlg(WelcomeText(), mtInformation, mbOK);
        CancelBtn->setEnabled(false);
        ShowModal();
        CancelBtn->setEnabled(true);
        MainFrm->FirstRun = false;
    }
    MainFrm->InitTmr->start();
}

void TPrefsFrm::LoadSettings() {
    auto& reg = *MainFrm->MP3PlayerReg;
    if (Settings::Exists(reg, Settings::PlayerName)) {
        PlayerNameEdt->SetText(Settings::Read(reg, Settings::PlayerName));
    } else {
        MainFrm->FirstRun = true;
        PlayerNameEdt->clear();
        LookUpPlayer();
    }
    LoadRoots();
    SearchBaseEdt->SetText(Settings::Read(reg, Settings::SearchBase));
    SortAlbumsChk->setChecked(Settings::Read(reg, Settings::SortAlbums));
    TrayMinChk->setChecked(Settings::Read(reg, Settings::MinimizeTray));
    RefreshChk->setChecked(Settings::Read(reg, Settings::RefreshPref));
    MainFrm->SetTop(Settings::Read(reg, Settings::TopPosition));
    MainFrm->SetLeft(Settings::Read(reg, Settings::LeftPosition));
    const int playMode = Settings::Read(reg, Settings::RandomPlay);
    if (playMode == 0)
        MainFrm->SequencialRdb->setChecked(true);
    else if (playMode == 1)
        MainFrm->LocalRandomRdb->setChecked(true);
    else
        MainFrm->FullRandomRdb->setChecked(true);
    SelectTimeFormat(Settings::Read(reg, Settings::DispAlbumTime));
    MixValEdt->SetText(std::to_string(Settings::Read(reg, Settings::MixVal)));
    LoadMusicFolders();
}

void TPrefsFrm::LoadRoots() {
    auto& reg = *MainFrm->MP3PlayerReg;
    // Each root is listed as soon as it is read, so a value that cannot be read ends the
    // loading with the roots before it listed.
    StoredRootsLoaded = 0;
    Settings::ReadEach(reg, Settings::RootPaths, [this](const std::string& root) {
        MP3PathLst->AddSorted(root);
        ++StoredRootsLoaded;
    });
    if (StoredRootsLoaded == 0)
        MP3PathLst->Clear();
    AllStoredRootsLoaded = true;
}

std::vector<std::string> TPrefsFrm::RootsToStore() const {
    std::vector<std::string> roots;
    for (int row = 0; row < MP3PathLst->RowCount(); ++row)
        roots.push_back(MP3PathLst->Caption(row));
    if (AllStoredRootsLoaded)
        return roots;
    // The loading stopped before the end of the stored list (at a damaged value, or before
    // the list): the roots it never reached are kept after the listed ones. A value that
    // cannot be read as a root was reported at start and is left out.
    const auto unloaded =
        Settings::ReadReadable(*MainFrm->MP3PlayerReg, Settings::RootPaths, StoredRootsLoaded + 1);
    for (const auto& root : unloaded)
        if (std::find(roots.begin(), roots.end(), root) == roots.end())
            roots.push_back(root);
    return roots;
}

void TPrefsFrm::LookUpPlayer() {
    TRegistry lookup;
    lookup.SetRootKey(platform::HKEY_CLASSES_ROOT);
    if (lookup.OpenKey(PlayerAssociationKey, false)) {
        PlayerNameEdt->SetText(PlayerFromCommand(lookup.ReadString("")));
        return;
    }
    if (auto player = PlayerOfFileType(ReadAssociationText, EnvironmentVariable); !player.empty()) {
        PlayerNameEdt->SetText(player);
        return;
    }
    if (const auto command = platform::DesktopPlayerCommand())
        PlayerNameEdt->SetText(PlayerFromCommand(*command));
}

void TPrefsFrm::SelectTimeFormat(int format) {
    QRadioButton* buttons[] = {HourRdb, MinRdb, MixRdb};
    if (format >= 1 && format <= 3) {
        buttons[format - 1]->setChecked(true);
        return;
    }
    // No format: none of the three buttons stays selected.
    for (auto* button : buttons)
        button->setAutoExclusive(false);
    for (auto* button : buttons)
        button->setChecked(false);
    for (auto* button : buttons)
        button->setAutoExclusive(true);
}

void TPrefsFrm::FormFirstActivate() {
    PageControl1->setCurrentWidget(TabSheet1);
    PlayerNameEdt->setFocus();
    // A new user's first step: adding the music.
    if (MainFrm->FirstRun)
        AddMusicBtn->setFocus();
    SavedPlayerName = PlayerNameEdt->Text();
    SavedSearchBase = SearchBaseEdt->Text();
    SavedTrayMin = TrayMinChk->isChecked();
    SavedSortAlbums = SortAlbumsChk->isChecked();
    SavedRefresh = RefreshChk->isChecked();
    if (HourRdb->isChecked())
        SavedTimeFormat = 1;
    if (MinRdb->isChecked())
        SavedTimeFormat = 2;
    if (MixRdb->isChecked())
        SavedTimeFormat = 3;
    // The path list is taken before the threshold is converted, so the snapshot always
    // belongs to this showing, even when the conversion fails.
    SavedPaths.emplace();
    for (int row = 0; row < MP3PathLst->RowCount(); ++row)
        SavedPaths->push_back(MP3PathLst->Caption(row));
    const std::string mixText = MixValEdt->Text();
    SavedMixValText = mixText;
    SavedMixVal = StrToInt(mixText);
    SavedMixValText.reset();
}

void TPrefsFrm::OKBtnClick() {
    ForgetRemovedFolders();
    SavedPaths.reset();
    SetModalResult(mrOk);
}

void TPrefsFrm::CancelBtnClick() {
    PlayerNameEdt->SetText(SavedPlayerName);
    SearchBaseEdt->SetText(SavedSearchBase);
    TrayMinChk->setChecked(SavedTrayMin);
    RefreshChk->setChecked(SavedRefresh);
    SortAlbumsChk->setChecked(SavedSortAlbums);
    if (SavedTimeFormat >= 1 && SavedTimeFormat <= 3)
        SelectTimeFormat(SavedTimeFormat);
    MixValEdt->SetText(SavedMixValText ? *SavedMixValText : std::to_string(SavedMixVal));
    MP3PathLst->Clear();
    if (SavedPaths)
        for (const auto& path : *SavedPaths)
            MP3PathLst->AddSorted(path);
    SavedPaths.reset();
    SetModalResult(mrCancel);
}

void TPrefsFrm::InsertBtnClick() {
    MP3PathLst->AddSorted(NewPathItemText);
    MP3PathLst->setFocus();
}

void TPrefsFrm::DeleteBtnClick() {
    const int selected = MP3PathLst->Selected();
    if (selected >= 0)
        MP3PathLst->DeleteRow(selected);
    else
        MessageDlg("You must first select the item to delete...", mtInformation, mbOK);
    MP3PathLst->setFocus();
}

void TPrefsFrm::BrowsePlayBtnClick() {
    TFileDialog dialog;
    dialog.InitialDir = std::string(Catalogue::DirectoryPart(PlayerNameEdt->Text()));
    dialog.Filter = PlayerFilter;
    if (dialog.Execute(this))
        PlayerNameEdt->SetText(dialog.FileName);
    PlayerNameEdt->setFocus();
}

void TPrefsFrm::BrowseMP3BtnClick() {
    const int selected = MP3PathLst->Selected();
    if (selected < 0) {
        MessageDlg("You must first insert/select an item before clicking the browse button...",
                   mtInformation, mbOK);
    } else {
        TFileDialog dialog;
        dialog.InitialDir = MP3PathLst->Caption(selected);
        dialog.FileName = "descript.ion";
        dialog.Filter = DescriptionFilter;
        if (dialog.Execute(this))
            MP3PathLst->SetCaptionSorted(selected,
                                         std::string(Catalogue::DirectoryPart(dialog.FileName)));
    }
    MP3PathLst->setFocus();
}

void TPrefsFrm::BrowseSearchBtnClick() {
    TFileDialog dialog;
    dialog.InitialDir = SearchBaseEdt->Text();
    dialog.FileName = "descript.ion";
    dialog.Filter = DescriptionFilter;
    if (dialog.Execute(this))
        SearchBaseEdt->SetText(std::string(Catalogue::DirectoryPart(dialog.FileName)));
    SearchBaseEdt->setFocus();
}
