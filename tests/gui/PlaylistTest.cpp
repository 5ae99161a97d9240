// The playlist window: drops from the song list and the album tree, the Delete key, the
// song count and total time, and playing the list through the player.
#include "tests/gui/PlaylistFixture.h"

#include "app/Main.h"
#include "catalogue/Detail.h"
#include "playback/Playlist.h"
#include "settings/preferences.h"
#include "tests/support/SystemErrors.h"
#include "tests/support/TempDir.h"
#include "toolkit/Application.h"
#include "toolkit/ListView.h"
#include "toolkit/StatusBar.h"
#include "toolkit/TreeView.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using Playback::TPlaylistEntry;

namespace {
const std::string EmptyWarning = "You need to drag at least one song in the playlist.";

std::vector<std::string> Sorted(std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = text.find("\r\n", at);
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}
} // namespace

TEST_F(TPlaylistTest, ASongDropsAsItsDescriptionWithLengthAndPath) {
    DropSong(Node("Trio Sessions"), 1);
    EXPECT_EQ(MainFrm->ItemsLst->Caption(1), "02. Noon");
    EXPECT_EQ(Entries(), (std::vector<TPlaylistEntry>{
                             {"Noon", "4'00\"", SongPath("JAZZ/TRIO/TRIOAB02.MP3")}}));
    EXPECT_EQ(Panel(0), "1 song(s)");
    EXPECT_EQ(Panel(1), "4:00 total play time");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, AnAlbumDropsAsHeaderAndItsSongsAndTheSameAlbumTwice) {
    TTreeNode* trio = Node("Trio Sessions");
    DropSong(Node("Solo Piece"), 0);
    MainFrm->ItemsLst->SetSelected(-1);
    DetailFrm->DetailBar->SetPanelText(0, "detail");
    const std::string header = "* " + trio->Text + " *";
    const std::vector<TPlaylistEntry> album = {
        {header, "", ""},
        {"   + 01. Morning", "3'07\"", SongPath("JAZZ/TRIO/TRIOAB01.MP3")},
        {"   + 02. Noon", "4'00\"", SongPath("JAZZ/TRIO/TRIOAB02.MP3")},
        {"   + 03. Night", "0'59\"", SongPath("JAZZ/TRIO/TRIOAB03.MP3")}};

    DropNode(trio);
    auto expected =
        std::vector<TPlaylistEntry>{{"Alone", "2'30\"", SongPath("JAZZ/SOLO/SOLOXY01.MP3")}};
    expected.insert(expected.end(), album.begin(), album.end());
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(PlaylistFrm->SelectLst->SubItemCount(1), 0);
    EXPECT_EQ(Panel(0), "4 song(s)");
    EXPECT_EQ(Panel(1), "10:36 total play time");
    // The song list's summary goes to the detail window's bar, not into the playlist.
    EXPECT_EQ(DetailFrm->DetailBar->PanelText(0), "3 song(s)");
    ASSERT_EQ(MainFrm->ItemsLst->RowCount(), 1);
    EXPECT_EQ(MainFrm->ItemsLst->Caption(0), "01. Alone");

    DropNode(trio);
    expected.insert(expected.end(), album.begin(), album.end());
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(Panel(0), "7 song(s)");
    EXPECT_EQ(Panel(1), "18:42 total play time");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, AnAlbumDroppedWhileACategoryIsShownLeavesPlayDisabled) {
    ClickNode(Node("Jazz"));
    ASSERT_FALSE(MainFrm->PlayBtn->isEnabled());
    DropNode(Node("Trio Sessions"));
    ASSERT_EQ(PlaylistFrm->SelectLst->RowCount(), 4);
    // The main song list is still empty: Play and "Re&play" would play nothing.
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 0);
    EXPECT_FALSE(MainFrm->PlayBtn->isEnabled());
    EXPECT_FALSE(MainFrm->ReplayPop->isEnabled());
}

TEST_F(TPlaylistTest, ACategoryOrNothingSelectedChangesNothing) {
    DropSong(Node("Solo Piece"), 0);
    const auto before = Entries();

    DropNode(Node("Jazz"));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Information");
    EXPECT_EQ(Boxes[0].Text, "You can only drag songs or albums to the playlist, not categories.");
    EXPECT_EQ(Boxes[0].Icon, miInformation);
    EXPECT_EQ(Boxes[0].Buttons, static_cast<TMsgDlgButtons>(mbOK));

    MainFrm->TreeLst->clearSelection();
    PlaylistFrm->SelectLstDragDrop(MainFrm->TreeLst);
    ClickNode(Node("Trio Sessions"));
    MainFrm->ItemsLst->SetSelected(-1);
    PlaylistFrm->SelectLstDragDrop(MainFrm->ItemsLst);
    PlaylistFrm->SelectLstDragDrop(nullptr);
    EXPECT_EQ(Entries(), before);
    EXPECT_EQ(Panel(0), "1 song(s)");
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(TPlaylistTest, AnAlbumWithoutDescriptionFileLeavesNoEntry) {
    DropNode(Node("Lost Tapes"));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Information");
    // The lone header is emptied by the status refresh that follows.
    EXPECT_EQ(PlaylistFrm->SelectLst->RowCount(), 0);
    EXPECT_EQ(Panel(0), "");

    DropSong(Node("Solo Piece"), 0);
    DropNode(Node("Lost Tapes"));
    EXPECT_EQ(Captions(),
              (std::vector<std::string>{"Alone", "* " + Node("Lost Tapes")->Text + " *"}));
    EXPECT_EQ(Panel(0), "1 song(s)");
}

TEST_F(TPlaylistTest, AnAlbumOfFaultyLinesShowsOneBoxAtEachDrop) {
    Files.Write("mp3/JAZZ/TRIO/descript.ion",
                Joined({"ONE single blanks", "TWO single blanks", "THREE single blanks"}));
    const std::string error = "<" + SongPath("JAZZ/TRIO/descript.ion") + " : syntax error>";
    for (const std::size_t drop : {1u, 2u}) {
        DropNode(Node("Trio Sessions"));
        ASSERT_EQ(Boxes.size(), drop);
        EXPECT_EQ(Boxes.back().Caption, "Error");
        EXPECT_EQ(PlaylistFrm->SelectLst->RowCount(), static_cast<int>(drop * 4));
        EXPECT_EQ(Captions().back(), "   + 03. " + error);
    }
}

TEST_F(TPlaylistTest, ADropEventIsAcceptedAsACopyWhateverItCarries) {
    auto* view = PlaylistFrm->SelectLst;
    ClickNode(Node("Trio Sessions"));
    MainFrm->ItemsLst->SetSelected(0);
    // What the song list itself hands to a drag: its own item data.
    std::unique_ptr<QMimeData> songs(MainFrm->ItemsLst->model()->mimeData(
        MainFrm->ItemsLst->selectionModel()->selectedIndexes()));
    ASSERT_NE(songs, nullptr);
    QMimeData foreign;
    foreign.setText("/somewhere/else.mp3");
    QSignalSpy drops(view, &TPlaylistView::DragDrop);

    for (QMimeData* data : {songs.get(), &foreign}) {
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                              Qt::ShiftModifier);
        QCoreApplication::sendEvent(view->viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDragMoveEvent move(QPoint(20, 40), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                            Qt::ShiftModifier);
        QCoreApplication::sendEvent(view->viewport(), &move);
        EXPECT_TRUE(move.isAccepted());
        EXPECT_EQ(move.dropAction(), Qt::CopyAction);
        // Shift proposes a move; a move would make the song list remove the dragged row.
        QDropEvent drop(QPointF(20, 40), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                        Qt::ShiftModifier);
        ASSERT_EQ(drop.proposedAction(), Qt::MoveAction);
        QCoreApplication::sendEvent(view->viewport(), &drop);
        EXPECT_TRUE(drop.isAccepted());
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
        // Outside a running drag there is no source, so the window adds nothing; the view
        // must not insert the carried rows by itself either.
        EXPECT_EQ(drop.source(), nullptr);
    }
    ASSERT_EQ(drops.count(), 2);
    EXPECT_EQ(drops[0][0].value<QObject*>(), nullptr);
    EXPECT_EQ(view->RowCount(), 0);
    EXPECT_EQ(MainFrm->ItemsLst->RowCount(), 3);
    EXPECT_TRUE(view->acceptDrops());
    EXPECT_FALSE(view->showDropIndicator());
    EXPECT_TRUE(PlaylistFrm->SelectLstDragOver(MainFrm->TreeLst));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, TheSongListAndTheTreeStartDragsWithTheirSelection) {
    ClickNode(Node("Trio Sessions"));
    MainFrm->ItemsLst->SetSelected(2);
    EXPECT_TRUE(MainFrm->ItemsLst->dragEnabled());
    const auto songIndexes = MainFrm->ItemsLst->selectionModel()->selectedIndexes();
    ASSERT_FALSE(songIndexes.isEmpty());
    EXPECT_TRUE(songIndexes[0].flags() & Qt::ItemIsDragEnabled);

    EXPECT_TRUE(MainFrm->TreeLst->dragEnabled());
    const auto node = MainFrm->TreeLst->currentIndex();
    EXPECT_TRUE(node.flags() & Qt::ItemIsDragEnabled);
    std::unique_ptr<QMimeData> data(MainFrm->TreeLst->model()->mimeData({node}));
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->formats().isEmpty());
}

struct TDeleteCase {
    const char* Name;
    std::vector<std::string> Before;
    int Selected;
    std::vector<std::string> After;
    int SelectedAfter;
};

TEST_F(TPlaylistTest, DeleteRemovesTheEntryAndWhatBelongsToIt) {
    const std::vector<std::string> list = {
        "* T *", "   + 01. Morning", "   + 02. Noon", "   + 03. Night", "Alone",
        "* H *", "   + 01. Half"};
    const TDeleteCase cases[] = {
        {"a header takes its songs and nothing after them",
         list,
         0,
         {"Alone", "* H *", "   + 01. Half"},
         0},
        {"one of several songs leaves the header",
         list,
         2,
         {"* T *", "   + 01. Morning", "   + 03. Night", "Alone", "* H *", "   + 01. Half"},
         2},
        {"the last entry, an album's only song, takes its header; the new last is selected",
         list,
         6,
         {"* T *", "   + 01. Morning", "   + 02. Noon", "   + 03. Night", "Alone"},
         4},
        {"an only song followed by a single song",
         {"* T *", "   + 01. Morning", "Alone"},
         1,
         {"Alone"},
         0},
        {"a single song between albums",
         list,
         4,
         {"* T *", "   + 01. Morning", "   + 02. Noon", "   + 03. Night", "* H *", "   + 01. Half"},
         4},
        {"the last header",
         list,
         5,
         {"* T *", "   + 01. Morning", "   + 02. Noon", "   + 03. Night", "Alone"},
         4},
        {"a header followed by a header",
         {"* T *", "* H *", "   + 01. Half"},
         0,
         {"* H *", "   + 01. Half"},
         0},
    };
    auto* view = PlaylistFrm->SelectLst;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        view->Clear();
        for (const auto& caption : c.Before) {
            if (Playback::IsAlbumHeader(caption))
                view->AddRow(caption);
            else
                view->AddRow(caption, {"1'00\"", "/x/" + caption});
        }
        view->SetSelected(c.Selected);
        QTest::keyClick(view, Qt::Key_Delete);
        EXPECT_EQ(Captions(), c.After);
        EXPECT_EQ(view->Selected(), c.SelectedAfter);
        const auto songs = std::count_if(c.After.begin(), c.After.end(), [](const auto& caption) {
            return !Playback::IsAlbumHeader(caption);
        });
        EXPECT_EQ(Panel(0), std::to_string(songs) + " song(s)");
        EXPECT_EQ(Panel(1), std::to_string(songs) + ":00 total play time");
    }
}

TEST_F(TPlaylistTest, DeletingTheLastSongBlanksTheBarAndOtherKeysDoNothing) {
    auto* list = PlaylistFrm->SelectLst;
    DropNode(Node("Solo Piece"));
    ASSERT_EQ(list->RowCount(), 2);
    list->SetSelected(1);
    for (const auto key : {Qt::Key_Backspace, Qt::Key_Insert, Qt::Key_Escape, Qt::Key_F2,
                           Qt::Key_Space, Qt::Key_X}) {
        QTest::keyClick(list, key);
        EXPECT_EQ(list->RowCount(), 2) << key;
    }
    list->SetSelected(-1);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->RowCount(), 2);
    EXPECT_EQ(Panel(0), "1 song(s)");

    list->SetSelected(1);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->RowCount(), 0);
    EXPECT_EQ(Panel(0), "");
    EXPECT_EQ(Panel(1), "");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, TotalsCarryIntoHoursAndUnknownLengthsCountAsSongs) {
    DropNode(Node("Nearly An Hour"));
    EXPECT_EQ(Panel(0), "2 song(s)");
    EXPECT_EQ(Panel(1), "59:59 total play time");
    DropNode(Node("One Second"));
    EXPECT_EQ(Panel(0), "3 song(s)");
    EXPECT_EQ(Panel(1), "1:00:00 total play time");

    PlaylistFrm->ClearBtn->click();
    DropNode(Node("Unknown Lengths"));
    EXPECT_EQ(Entries()[1].LengthText, "Unknown");
    EXPECT_EQ(Panel(0), "2 song(s)");
    EXPECT_EQ(Panel(1), "0:00 total play time");
}

TEST_F(TPlaylistTest, AListOfHeadersOnlyIsEmptiedAtTheNextRefresh) {
    auto* list = PlaylistFrm->SelectLst;
    list->AddRow("* One *");
    list->AddRow("* Two *");
    PlaylistFrm->PlaylistBar->SetPanelText(0, "stale");
    PlaylistFrm->UpdateStatusBar();
    EXPECT_EQ(list->RowCount(), 0);
    EXPECT_EQ(Panel(0), "");
    EXPECT_EQ(Panel(1), "");
}

TEST_F(TPlaylistTest, PlayWritesTheSongsInEachModeAndStartsThePlayer) {
    DropNode(Node("Trio Sessions"));
    DropSong(Node("Solo Piece"), 0);
    const std::vector<std::string> sequential = {
        SongPath("JAZZ/TRIO/TRIOAB01.MP3"), SongPath("JAZZ/TRIO/TRIOAB02.MP3"),
        SongPath("JAZZ/TRIO/TRIOAB03.MP3"), SongPath("JAZZ/SOLO/SOLOXY01.MP3")};
    // A category click leaves the tray's "Re&play" disabled; the playlist's Play enables it.
    ClickNode(Node("Jazz"));
    ASSERT_FALSE(MainFrm->ReplayPop->isEnabled());

    for (QRadioButton* mode :
         {MainFrm->SequencialRdb, MainFrm->LocalRandomRdb, MainFrm->FullRandomRdb}) {
        SCOPED_TRACE(mode->text().toStdString());
        mode->setChecked(true);
        MainFrm->PlayedFromPlaylist = false;
        PlaylistFrm->PlayBtn->click();
        const auto arguments = PlayerArguments();
        ASSERT_TRUE(arguments.has_value());
        EXPECT_EQ(*arguments, std::vector<std::string>{TempPlaylist().string()});
        // One path a line, each ending in CR LF, headers skipped, nothing else.
        const auto text = TTempDir::Read(TempPlaylist());
        const auto lines = TextLines(text);
        EXPECT_EQ(text, Joined(lines));
        if (mode == MainFrm->SequencialRdb) {
            EXPECT_EQ(lines, sequential);
        } else {
            EXPECT_EQ(Sorted(lines), Sorted(sequential));
        }
        // The trio's files share a key, the solo song is a run of its own.
        if (mode == MainFrm->LocalRandomRdb) {
            EXPECT_EQ(lines.back(), sequential.back());
        }
        EXPECT_TRUE(MainFrm->PlayedFromPlaylist);
        EXPECT_TRUE(MainFrm->ReplayPop->isEnabled());
        EXPECT_FALSE(Application()->Minimized());
    }
    EXPECT_EQ(PlaylistFrm->FileList->RowCount(), 4);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TPlaylistTest, PlayMinimisesWhenThePreferenceSaysSo) {
    DropSong(Node("Solo Piece"), 0);
    PrefsFrm->TrayMinChk->setChecked(true);
    PlaylistFrm->PlayBtn->click();
    ASSERT_TRUE(PlayerArguments().has_value());
    EXPECT_TRUE(Application()->Minimized());
    Application()->Restore();
}

TEST_F(TPlaylistTest, APlayerThatDoesNotStartIsReportedAndNothingHides) {
    DropSong(Node("Solo Piece"), 0);
    PrefsFrm->TrayMinChk->setChecked(true);
    const std::string missing = (Files.Path() / "gone").string();
    PrefsFrm->PlayerNameEdt->SetText(missing);
    PlaylistFrm->PlayBtn->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Error");
    EXPECT_EQ(Boxes[0].Text, "The MP3 player \"" + missing + "\" could not be started.\r" +
                                 SystemReason(SystemFileNotFound));
    EXPECT_FALSE(Application()->Minimized());
    EXPECT_FALSE(MainFrm->PlayedFromPlaylist);
}

TEST_F(TPlaylistTest, PlayAndReplayOfAnEmptyListWarnAndStartNothing) {
    const std::string earlier = "earlier\r\n";
    Files.Write("program/PL_TEMP.M3U", earlier);
    PlaylistFrm->PlayBtn->click();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "Warning");
    EXPECT_EQ(Boxes[0].Text, EmptyWarning);
    EXPECT_EQ(Boxes[0].Icon, miWarning);
    EXPECT_EQ(Boxes[0].Buttons, static_cast<TMsgDlgButtons>(mbCancel));
    EXPECT_EQ(TTempDir::Read(TempPlaylist()), earlier);
    EXPECT_FALSE(MainFrm->PlayedFromPlaylist);

    DropSong(Node("Solo Piece"), 0);
    PlaylistFrm->PlayBtn->click();
    ASSERT_TRUE(PlayerArguments().has_value());
    PlaylistFrm->ClearBtn->click();
    ASSERT_TRUE(MainFrm->ReplayPop->isEnabled());
    MainFrm->ReplayPop->trigger();
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1].Text, EmptyWarning);
    EXPECT_TRUE(MainFrm->PlayedFromPlaylist);
    EXPECT_EQ(TTempDir::Read(TempPlaylist()), SongPath("JAZZ/SOLO/SOLOXY01.MP3") + "\r\n");

    // The player was started once only: the next start is the only record.
    DropSong(Node("Solo Piece"), 0);
    MainFrm->ReplayPop->trigger();
    EXPECT_EQ(PlayerArguments(), std::vector<std::string>{TempPlaylist().string()});
}

TEST_F(TPlaylistTest, ClearAndCloseKeepWhatTheyShould) {
    DropNode(Node("Trio Sessions"));
    PlaylistFrm->PlayBtn->click();
    ASSERT_TRUE(PlayerArguments().has_value());
    const auto written = TTempDir::Read(TempPlaylist());

    PlaylistFrm->CloseBtn->click();
    EXPECT_FALSE(PlaylistFrm->isVisible());
    EXPECT_EQ(PlaylistFrm->SelectLst->RowCount(), 4);
    MainFrm->Button2->click();
    EXPECT_TRUE(PlaylistFrm->isVisible());
    EXPECT_EQ(Panel(0), "3 song(s)");

    // The window's own close box hides it too.
    PlaylistFrm->close();
    EXPECT_FALSE(PlaylistFrm->isVisible());
    MainFrm->Button2->click();
    EXPECT_EQ(PlaylistFrm->SelectLst->RowCount(), 4);

    PlaylistFrm->ClearBtn->click();
    EXPECT_EQ(PlaylistFrm->SelectLst->RowCount(), 0);
    EXPECT_EQ(Panel(0), "");
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(PlaylistFrm->FileList->RowCount(), 3);
    EXPECT_EQ(TTempDir::Read(TempPlaylist()), written);
    EXPECT_TRUE(MainFrm->PlayedFromPlaylist);
}
