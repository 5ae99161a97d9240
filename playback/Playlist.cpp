#include "playback/Playlist.h"

#include "app/Main.h"
#include "catalogue/CataloguePath.h"
#include "catalogue/Detail.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "playback/OrderBuilder.h"
#include "playback/PlaylistCuts.h"
#include "playback/PlaylistExport.h"
#include "playback/PlaylistFile.h"
#include "playback/PlaylistIcons.h"
#include "playback/PlaylistImport.h"
#include "playback/PlaylistStatus.h"
#include "playback/TempPlaylist.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/Bind.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Text.h"
#include "toolkit/TreeView.h"

#include <QDragEnterEvent>
#include <QKeyEvent>

TPlaylistFrm* PlaylistFrm = nullptr;

namespace {
const char* const EmptyPlaylistWarning = "You need to drag at least one song in the playlist.";
} // namespace

std::vector<Playback::TPlaylistEntry> ListEntries(const TListView* list) {
    std::vector<Playback::TPlaylistEntry> entries;
    entries.reserve(static_cast<std::size_t>(list->RowCount()));
    for (int row = 0; row < list->RowCount(); ++row) {
        const int subItems = list->SubItemCount(row);
        entries.push_back({list->Caption(row), subItems > 0 ? list->SubItem(row, 0) : "",
                           subItems > 1 ? list->SubItem(row, 1) : ""});
    }
    return entries;
}

TPlaylistView::TPlaylistView(QWidget* parent)
    : TListView(parent, {{"Name", 212}, {"Length", 62, true}}) {
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    // Entries are always appended at the end: no place between rows to point at.
    setDropIndicatorShown(false);
}

// Every drag is taken, whatever it carries, as a copy: a move would make the song list
// that started it remove the dragged row.
void TPlaylistView::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void TPlaylistView::dragMoveEvent(QDragMoveEvent* event) {
    if (OnDragOver && !OnDragOver(event->source())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

// The window decides what the drop means; the view itself adds no rows.
void TPlaylistView::dropEvent(QDropEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
    QObject* source = event->source();
    Application()->Guarded([this, source] { emit DragDrop(source); });
}

void TPlaylistView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && Selected() >= 0) {
        emit DeleteKeyDown();
        return;
    }
    TListView::keyPressEvent(event);
}

TPlaylistFrm::TPlaylistFrm(QWidget* owner) : TForm(owner, "Playlist", 297, 302) {
    CreateControls();
    ConnectHandlers();
    FormCreate();
}

void TPlaylistFrm::CreateControls() {
    const auto imageButton = [this](const char* hint, int left, const QIcon& icon) {
        auto* button = new QToolButton(this);
        button->setGeometry(left, 3, 25, 25);
        button->setToolTip(QString::fromLatin1(hint));
        // The button shows only an image: a screen reader reads its hint.
        button->setAccessibleName(QString::fromLatin1(hint));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(true);
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
        return button;
    };
    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(0, 32, 297, 270);
    OpenBtn = imageButton("Open a playlist", 20, PlaylistIcon(piOpen));
    SaveBtn = imageButton("Save the current playlist", 46, PlaylistIcon(piSave));
    ClearBtn = imageButton("Clear current playlist", 138, PlaylistIcon(piClear));
    PlayBtn = imageButton("Play songs in playlist", 228, PlaylistIcon(piPlay));
    CloseBtn = imageButton("Close playlist dialog", 254, PlaylistIcon(piClose));
    SelectLst = new TPlaylistView(this);
    SelectLst->setGeometry(2, 34, 293, 247);
    FileList = new TListView(this, {{"", 500}});
    FileList->setGeometry(24, 312, 250, 150);
    FileList->hide();
    PlaylistBar = new TStatusBar(this, {70, 50});
    PlaylistBar->setGeometry(3, 280, 291, 19);
    SelectLst->setAccessibleName(QStringLiteral("Playlist"));
    PlaylistBar->setAccessibleName(QStringLiteral("Playlist totals"));
    for (auto* dialog : {&OpenDlg, &SaveDlg})
        dialog->DefaultExt = "PLS";
    OpenDlg.Filter = Playback::OpenPlaylistFilter;
    SaveDlg.Filter = Playback::SavePlaylistFilter;
    OpenDlg.Kind = TFileDialog::fdOpen;
    SaveDlg.Kind = TFileDialog::fdSave;
}

void TPlaylistFrm::ConnectHandlers() {
    Bind(OpenBtn, &QToolButton::clicked, this, [this] { OpenBtnClick(); });
    Bind(SaveBtn, &QToolButton::clicked, this, [this] { SaveBtnClick(); });
    Bind(ClearBtn, &QToolButton::clicked, this, [this] { ClearBtnClick(); });
    Bind(PlayBtn, &QToolButton::clicked, this, [this] { PlayBtnClick(); });
    Bind(CloseBtn, &QToolButton::clicked, this, [this] { CloseBtnClick(); });
    SelectLst->OnDragOver = [this](QObject* source) { return SelectLstDragOver(source); };
    connect(SelectLst, &TPlaylistView::DragDrop, this,
            [this](QObject* source) { SelectLstDragDrop(source); });
    Bind(SelectLst, &TPlaylistView::DeleteKeyDown, this,
         [this] { SelectLstKeyDown(Qt::Key_Delete); });
}

void TPlaylistFrm::FormCreate() {
    OpenDlg.InitialDir = platform::ProgramDirectory();
    SaveDlg.InitialDir = platform::ProgramDirectory();
}

bool TPlaylistFrm::SelectLstDragOver(QObject*) const {
    return true;
}

void TPlaylistFrm::Append(const Playback::TPlaylistEntry& entry) {
    if (Playback::IsAlbumHeader(entry.Caption))
        SelectLst->AddRow(entry.Caption);
    else
        SelectLst->AddRow(entry.Caption, {entry.LengthText, entry.Path});
}

void TPlaylistFrm::SelectLstDragDrop(QObject* source) {
    if (auto* list = qobject_cast<TListView*>(source)) {
        const int selected = list->Selected();
        if (selected < 0)
            return;
        const std::string caption = list->Caption(selected);
        Append({caption.size() > 4 ? caption.substr(4) : std::string(), list->SubItem(selected, 0),
                list->SubItem(selected, 1)});
        UpdateStatusBar();
    } else if (auto* tree = qobject_cast<TTreeView*>(source)) {
        const TTreeNode* node = tree->Selected();
        if (node == nullptr)
            return;
        if (!node->Data) {
            MessageDlg("You can only drag songs or albums to the playlist, not categories.",
                       mtInformation, mbOK);
            return;
        }
        Append({"* " + node->Text + " *", "", ""});
        MainFrm->FillSongList(*node->Data, "   + ", SelectLst, DetailFrm->DetailBar);
        UpdateStatusBar();
    }
}

void TPlaylistFrm::SelectLstKeyDown(int key) {
    const int selected = SelectLst->Selected();
    if (key != Qt::Key_Delete || selected < 0)
        return;
    std::vector<std::string> captions;
    for (int row = 0; row < SelectLst->RowCount(); ++row)
        captions.push_back(SelectLst->Caption(row));
    const auto action = Playback::DeleteKeyAction(captions, static_cast<std::size_t>(selected));
    for (auto position = action.Deleted.rbegin(); position != action.Deleted.rend(); ++position)
        SelectLst->DeleteRow(static_cast<int>(*position));
    if (SelectLst->RowCount() > 0) {
        SelectLst->SetSelected(action.Selected ? static_cast<int>(*action.Selected) : -1);
        UpdateStatusBar();
    } else {
        PlaylistBar->SetPanelText(0, "");
        PlaylistBar->SetPanelText(1, "");
    }
}

void TPlaylistFrm::UpdateStatusBar() {
    const auto summary = Playback::SummarizePlaylist(ListEntries(SelectLst));
    if (summary.Empty()) {
        ClearBtnClick();
        return;
    }
    PlaylistBar->SetPanelText(0, summary.SongsText());
    PlaylistBar->SetPanelText(1, summary.TimeText());
}

void TPlaylistFrm::BuildFileList(TListView* source, TListView* destination) {
    const Playback::TPlayMode mode = MainFrm->FullRandomRdb->isChecked() ? Playback::pmFullRandom
                                     : MainFrm->LocalRandomRdb->isChecked()
                                         ? Playback::pmLocalRandom
                                         : Playback::pmSequential;
    const auto order = Playback::BuildPlayOrder(ListEntries(source), mode);
    destination->Clear();
    for (const auto& path : order)
        destination->AddRow(path);
}

std::vector<std::string> TPlaylistFrm::FileListOrder() const {
    std::vector<std::string> order;
    for (int row = 0; row < FileList->RowCount(); ++row)
        order.push_back(FileList->Caption(row));
    return order;
}

void TPlaylistFrm::PlayBtnClick() {
    if (SelectLst->RowCount() == 0) {
        MessageDlg(EmptyPlaylistWarning, mtWarning, mbCancel);
        return;
    }
    BuildFileList(SelectLst, FileList);
    const std::string playlist = Playback::WriteTempPlaylist(FileListOrder());
    if (!MainFrm->StartPlayer(PrefsFrm->PlayerNameEdt->Text(), playlist))
        return;
    MainFrm->PlayedFromPlaylist = true;
    MainFrm->ReplayPop->setEnabled(true);
    if (PrefsFrm->TrayMinChk->isChecked())
        Application()->Minimize();
}

void TPlaylistFrm::ClearBtnClick() {
    SelectLst->Clear();
    PlaylistBar->SetPanelText(0, "");
    PlaylistBar->SetPanelText(1, "");
}

void TPlaylistFrm::CloseBtnClick() {
    Close();
}

void TPlaylistFrm::SaveBtnClick() {
    if (SelectLst->RowCount() == 0) {
        MessageDlg(EmptyPlaylistWarning, mtWarning, mbCancel);
        return;
    }
    if (!SaveDlg.Execute(this))
        return;
    const std::string& file = SaveDlg.FileName;
    Playback::RaiseIfNotReplaceable(file);
    const auto format = Playback::SaveFormatOf(SaveDlg.FilterIndex, file);
    const auto entries = ListEntries(SelectLst);
    // The records have fixed fields: what does not fit is cut, and only the user may accept that.
    if (format == Playback::TPlaylistFormat::Records)
        if (const auto cut = Playback::CutEntries(entries);
            !cut.empty() && ShowMessageBox({"Warning", Playback::CutEntriesWarningText(cut),
                                            miWarning, mbYes | mbNo}) != mrYes)
            return;
    if (Playback::PlaylistFileExists(file) &&
        ShowMessageBox(
            {"Warning", Playback::OverwriteQuestionText(file), miWarning, mbYes | mbNo}) != mrYes)
        return;
    if (format == Playback::TPlaylistFormat::Records)
        Playback::SavePlaylistFile(file, entries);
    else
        Playback::SaveTextPlaylist(file, format, entries);
}

void TPlaylistFrm::OpenBtnClick() {
    if (OpenDlg.Execute(this))
        OpenPlaylistFile(OpenDlg.FileName);
}

void TPlaylistFrm::OpenPlaylistFile(const std::string& file) {
    const std::string bytes = Playback::ReadPlaylistBytes(file);
    const auto format = Playback::DetectPlaylistFormat(bytes);
    if (format == Playback::TPlaylistFormat::Records) {
        const auto content = Playback::DecodePlaylist(bytes);
        ShowEntries(content.Entries);
        Playback::RaiseIfCutShort(content);
        return;
    }
    const auto imported = Playback::ImportTextPlaylist(
        bytes, format, Catalogue::DirectoryPart(file), [](const std::string& path) {
            return platform::PathKindOf(path) != platform::TPathKind::Missing;
        });
    ShowEntries(imported.Entries);
    if (const std::string report = Playback::ImportReportText(imported); !report.empty())
        MessageDlg(report, mtInformation, mbOK);
}

void TPlaylistFrm::ShowEntries(const std::vector<Playback::TPlaylistEntry>& entries) {
    SelectLst->Clear();
    for (const auto& entry : entries)
        Append(entry);
    UpdateStatusBar();
}

void OpenNamedPlaylist(const std::string& file) {
    MainFrm->Button2Click();
    Application()->Guarded([&file] { PlaylistFrm->OpenPlaylistFile(file); });
}
