#include "app/Main.h"

#include "app/About.h"
#include "app/Status.h"
#include "catalogue/Detail.h"
#include "components/TrayIcon.h"
#include "components/TrayIconQt.h"
#include "platform/Errors.h"
#include "playback/Playlist.h"
#include "settings/Settings.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/Bind.h"
#include "toolkit/ListView.h"
#include "toolkit/Metrics.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Text.h"
#include "toolkit/TreeView.h"

#include <QContextMenuEvent>

TMainFrm* MainFrm = nullptr;

namespace {
const char* const CloseWithoutSettingsQuestion =
    "The settings could not be saved. Close MP3 Tunestead without saving them?";
} // namespace

TMainFrm::TMainFrm() : TForm(nullptr, "MP3 Tunestead", 513, 302) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    move(331, 195);
    CreateControls();
    CreateMenus();
    CreateComponents();
    ConnectHandlers();
    FormCreate();
}

TMainFrm::~TMainFrm() = default;

void TMainFrm::CreateComponents() {
    // The stored order: the key path is complete before Active opens the key.
    MP3PlayerReg = std::make_unique<TRegAppUserConfig>(nullptr);
    MP3PlayerReg->SetName("MP3PlayerReg");
    MP3PlayerReg->SetRootKey(rhCurrentUser);
    MP3PlayerReg->SetCompany("Quorlen");
    MP3PlayerReg->SetApplicationName("MP3 Discovane");
    MP3PlayerReg->SetVersion("v1.2");
    try {
        MP3PlayerReg->SetActive(true);
    } catch (const std::exception& error) {
        throw EError(
            FormatText(FormatText(FormatText("Error reading %s.%s: %s", "MP3PlayerReg"), "Active"),
                       error.what()));
    }

    TrayIcon1 = std::make_unique<TTrayIcon>(nullptr, TrayEnvironment(this));
    TrayIcon1->SetName("TrayIcon1");
    TrayIcon1->SetHint("MP3 Discovane");
    TrayIcon1->SetPopupMenu(new TQtTrayPopupMenu(TrayPop));
    TrayIcon1->OnDblClick = [this](TComponent*) { TrayIcon1DblClick(); };

    InitTmr = new QTimer(this);
    InitTmr->setInterval(10);
}

void TMainFrm::ConnectHandlers() {
    Bind(InitTmr, &QTimer::timeout, this, [this] { InitTmrTimer(); });
    Bind(Refreshalbumtree1, &QAction::triggered, this, [this] { Refreshalbumtree1Click(); });
    Bind(AddMP3Folder1, &QAction::triggered, this, [this] { AddMP3Folder1Click(); });
    Bind(RefreshMP3Folders1, &QAction::triggered, this, [this] { RefreshMP3Folders1Click(); });
    Bind(Preferences1, &QAction::triggered, this, [this] { Preferences1Click(); });
    Bind(About1, &QAction::triggered, this, [this] { About1Click(); });
    Bind(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    Bind(ReplayPop, &QAction::triggered, this, [this] { ReplayPopClick(); });
    Bind(About2, &QAction::triggered, this, [this] { About1Click(); });
    Bind(RestorePop, &QAction::triggered, this, [this] { RestorePopClick(); });
    Bind(Quit1, &QAction::triggered, this, [this] { Exit1Click(); });

    Bind(TreeLst, &TTreeView::NodeClicked, this, [this] { TreeLstClick(); });
    Bind(TreeLst, &TTreeView::KeyReleased, this, [this] { TreeLstKeyUp(0); });
    Bind(TreeLst, &TTreeView::NodeDoubleClicked, this, [this] { TreeLstDblClick(); });
    Bind(ItemsLst, &TListView::DblClick, this, [this] { ItemsLstDblClick(); });
    Bind(PlayBtn, &QPushButton::clicked, this, [this] { PlayBtnClick(); });
    Bind(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    Bind(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Bind(SearchResLst, &TListView::DblClick, this, [this] { SearchResLstDblClick(); });

    // Enter presses the default button of the page on show: in the query box it searches, once.
    PlayBtn->setDefault(true);
    QObject::connect(PageControl1, &QTabWidget::currentChanged, this, [this](int page) {
        PlayBtn->setDefault(page == 0);
        Button1->setDefault(page == 1);
    });
}

void TMainFrm::FormCreate() {
    SetCaption(Caption() + MP3PlayerReg->Version());
}

void TMainFrm::FormActivate() {
    const int scrollBar = VerticalScrollBarWidth();
    ItemsLst->SetColumnWidth(0, ItemsLst->width() - 68 - scrollBar);
    if (DetailFrm != nullptr)
        DetailFrm->DetailResLst->SetColumnWidth(0,
                                                DetailFrm->DetailResLst->width() - 68 - scrollBar);
    if (PlaylistFrm != nullptr)
        PlaylistFrm->SelectLst->SetColumnWidth(0, PlaylistFrm->SelectLst->width() - 68 - scrollBar);
}

void TMainFrm::InitTmrTimer() {
    if (!InitTmr->isActive())
        return;
    InitTmr->stop();
    InitAlbumTree();
}

void TMainFrm::Exit1Click() {
    Close();
}

void TMainFrm::About1Click() {
    AboutFrm->ShowModal();
}

void TMainFrm::Preferences1Click() {
    if (PrefsFrm->ShowModal() == mrOk && PrefsFrm->RefreshChk->isChecked())
        StatusFrm->Show();
}

void TMainFrm::Refreshalbumtree1Click() {
    InitAlbumTree();
}

void TMainFrm::RestorePopClick() {
    Application()->Restore();
}

void TMainFrm::TrayIcon1DblClick() {
    Application()->Restore();
}

bool TMainFrm::FormClose() {
    try {
        WriteSettings();
    } catch (const ERegistryException& error) {
        // Settings that cannot be written (a full disk, a read-only settings folder) must not
        // keep the program from ending: the user may close without them. A threshold that is
        // not a number is no such case, since the user can correct it.
        Application()->ShowException(error);
        return ShowMessageBox({Application()->Title(), CloseWithoutSettingsQuestion, miQuestion,
                               mbYes | mbNo}) == mrYes;
    }
    return true;
}

void TMainFrm::WriteSettings() {
    auto& reg = *MP3PlayerReg;
    auto* prefs = PrefsFrm;
    Settings::Write(reg, Settings::PlayerName, prefs->PlayerNameEdt->Text());
    Settings::Write(reg, Settings::RootPaths, prefs->RootsToStore());
    Settings::Write(reg, Settings::SearchBase, prefs->SearchBaseEdt->Text());
    Settings::Write(reg, Settings::SortAlbums, prefs->SortAlbumsChk->isChecked());
    Settings::Write(reg, Settings::MinimizeTray, prefs->TrayMinChk->isChecked());
    Settings::Write(reg, Settings::RefreshPref, prefs->RefreshChk->isChecked());
    Settings::Write(reg, Settings::TopPosition, Top());
    Settings::Write(reg, Settings::LeftPosition, Left());
    if (prefs->HourRdb->isChecked())
        Settings::Write(reg, Settings::DispAlbumTime, 1);
    else if (prefs->MinRdb->isChecked())
        Settings::Write(reg, Settings::DispAlbumTime, 2);
    else if (prefs->MixRdb->isChecked())
        Settings::Write(reg, Settings::DispAlbumTime, 3);
    Settings::Write(reg, Settings::MixVal, StrToInt(prefs->MixValEdt->Text()));
    Settings::Write(reg, Settings::RandomPlay,
                    SequencialRdb->isChecked()    ? 0
                    : LocalRandomRdb->isChecked() ? 1
                                                  : 2);
    std::vector<std::string> music, catalogues;
    for (const auto& folder : prefs->MusicFolders) {
        music.push_back(folder.Music);
        catalogues.push_back(folder.Catalogue);
    }
    Settings::Write(reg, Settings::MusicFolders, music);
    Settings::Write(reg, Settings::MusicCatalogues, catalogues);
}

void TMainFrm::contextMenuEvent(QContextMenuEvent* event) {
    MainPop->popup(event->globalPos());
}
