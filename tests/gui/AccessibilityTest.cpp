// What a screen reader finds in every window, through Qt's accessibility interfaces: a name
// for every control that can be used, the playlist's image buttons named by their hints, and
// the status bars' panels as static texts named by their texts (a label announces a change of
// its text to a screen reader itself).
#include "tests/gui/CatalogueBuilder.h"

#include "app/About.h"
#include "app/DescribeFrm.h"
#include "app/DescribeSummary.h"
#include "catalogue/Detail.h"
#include "playback/Playlist.h"

#include <QAccessible>
#include <QMenu>
#include <QTabWidget>

#include <algorithm>
#include <set>

namespace {
// The roles a user acts on: each needs a name.
bool IsControl(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::ButtonMenu:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
        return true;
    default:
        return false;
    }
}

// Views whose children are their rows, cells and headers, named by their data.
bool IsView(QAccessible::Role role) {
    return role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table;
}

// Every control below the interface, as "role name"; a control without a name reads
// "role <no name> class" so that a failure says which one it is. Widgets hidden on purpose
// (the playlist's scratch list, a page not on show) are left out.
void CollectControls(QAccessibleInterface* node, std::set<std::string>& controls,
                     std::set<std::string>& unnamed) {
    const QAccessible::Role role = node->role();
    if (IsControl(role)) {
        const std::string name = node->text(QAccessible::Name).toStdString();
        const std::string className =
            node->object() ? node->object()->metaObject()->className() : "";
        controls.insert(std::to_string(role) + " " + name + " " + className);
        if (name.empty())
            unnamed.insert(std::to_string(role) + " <no name> " + className);
    }
    if (IsView(role))
        return;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (auto* widget = qobject_cast<QWidget*>(child->object()); widget && widget->isHidden())
            continue;
        if (child->role() != QAccessible::Separator)
            CollectControls(child, controls, unnamed);
    }
}

// The controls of a window (or menu) with each page of its page controls on show in turn.
void CollectWindowControls(QObject* window, std::set<std::string>& controls,
                           std::set<std::string>& unnamed) {
    const auto pageControls = window->findChildren<QTabWidget*>();
    int pages = 1;
    for (const QTabWidget* pageControl : pageControls)
        pages = std::max(pages, pageControl->count());
    for (int page = 0; page < pages; ++page) {
        for (QTabWidget* pageControl : pageControls)
            pageControl->setCurrentIndex(std::min(page, pageControl->count() - 1));
        CollectControls(QAccessible::queryAccessibleInterface(window), controls, unnamed);
    }
}
} // namespace

class TAccessibilityTest : public TCatalogueGuiTest {};

TEST_F(TAccessibilityTest, EveryControlOfEveryWindowAndMenuHasAName) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    const struct {
        const char* Window;
        QObject* Object;
        std::size_t AtLeast; // controls expected, so that a walk that finds nothing fails
    } windows[] = {
        {"main", MainFrm, 12},
        {"main menu", MainFrm->MainPop, 4},
        {"tray menu", MainFrm->TrayPop, 4},
        {"preferences", PrefsFrm, 18},
        {"playlist", PlaylistFrm, 6},
        {"detail", DetailFrm, 2},
        {"about", AboutFrm, 1},
    };
    for (const auto& window : windows) {
        SCOPED_TRACE(window.Window);
        std::set<std::string> controls;
        std::set<std::string> unnamed;
        CollectWindowControls(window.Object, controls, unnamed);
        EXPECT_GE(controls.size(), window.AtLeast);
        EXPECT_EQ(unnamed, std::set<std::string>{});
    }
}

TEST_F(TAccessibilityTest, ControlsWithoutCaptionsAreNamedForWhatTheyHold) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    const struct {
        QObject* Control;
        QAccessible::Role Role;
        const char* Name;
    } controls[] = {
        {MainFrm->TreeLst, QAccessible::Tree, "Album tree"},
        {MainFrm->ItemsLst, QAccessible::Tree, "Songs of the album"},
        {MainFrm->SearchEdt, QAccessible::EditableText, "Category/Singer - Album"},
        {MainFrm->SearchResLst, QAccessible::Tree, "Search results"},
        {PrefsFrm->PlayerNameEdt, QAccessible::EditableText, "MP3 player"},
        {PrefsFrm->MP3PathLst, QAccessible::Tree, "Root descript.ion files"},
        {PrefsFrm->SearchBaseEdt, QAccessible::EditableText, "Search base"},
        {PrefsFrm->MixValEdt, QAccessible::EditableText, "Minutes above which hours are shown"},
        {PrefsFrm->AddMusicBtn, QAccessible::Button, "Add MP3 folder\u2026"},
        {DetailFrm->DetailResLst, QAccessible::Tree, "Songs of the album"},
        {PlaylistFrm->SelectLst, QAccessible::Tree, "Playlist"},
        // The image buttons read their hints.
        {PlaylistFrm->OpenBtn, QAccessible::Button, "Open a playlist"},
        {PlaylistFrm->SaveBtn, QAccessible::Button, "Save the current playlist"},
        {PlaylistFrm->ClearBtn, QAccessible::Button, "Clear current playlist"},
        {PlaylistFrm->PlayBtn, QAccessible::Button, "Play songs in playlist"},
        {PlaylistFrm->CloseBtn, QAccessible::Button, "Close playlist dialog"},
    };
    for (const auto& control : controls) {
        SCOPED_TRACE(control.Name);
        const QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control.Control);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->role(), control.Role);
        EXPECT_EQ(node->text(QAccessible::Name).toStdString(), control.Name);
    }
}

TEST_F(TAccessibilityTest, TheDescribingWindowsAreNamedAndReadOut) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    TDescribeFrm progress(MainFrm, "Add MP3 folder");
    Catalogue::TDescribeOutcome outcome;
    outcome.Songs = 3;
    outcome.Details = {"/m/a.mp3: cannot read song: damaged"};
    TDescribeSummaryFrm summary(MainFrm, outcome);
    progress.show();
    summary.show();
    const struct {
        const char* Window;
        QObject* Object;
        std::size_t AtLeast;
    } windows[] = {{"progress", &progress, 1}, {"summary", &summary, 3}};
    for (const auto& window : windows) {
        SCOPED_TRACE(window.Window);
        std::set<std::string> controls;
        std::set<std::string> unnamed;
        CollectWindowControls(window.Object, controls, unnamed);
        EXPECT_GE(controls.size(), window.AtLeast);
        EXPECT_EQ(unnamed, std::set<std::string>{});
    }
    // The counts are static texts read by their texts; the details list is named.
    progress.SongsLbl->setText(QStringLiteral("Songs described: 7"));
    const QAccessibleInterface* songs = QAccessible::queryAccessibleInterface(progress.SongsLbl);
    EXPECT_EQ(songs->role(), QAccessible::StaticText);
    EXPECT_EQ(songs->text(QAccessible::Name).toStdString(), "Songs described: 7");
    const QAccessibleInterface* details = QAccessible::queryAccessibleInterface(summary.DetailsLst);
    EXPECT_EQ(details->text(QAccessible::Name).toStdString(), "Problems");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(progress.FoldersBar)
                  ->text(QAccessible::Name)
                  .toStdString(),
              "Folders done");
}

TEST_F(TAccessibilityTest, StatusPanelsAreStaticTextsNamedByTheirTexts) {
    Desc("music", Lines({"ROCK  Rock"}));
    Desc("music/ROCK", Lines({"ALB1  First"}));
    Album("music/ROCK/ALB1", {187, 60});
    StartOn({Dir("music")});
    FirstReading();

    const struct {
        const char* Which;
        TStatusBar* Bar;
        const char* Name;
    } bars[] = {{"album", MainFrm->AlbumBar, "Album tree totals"},
                {"song", MainFrm->SongBar, "Album totals"},
                {"detail", DetailFrm->DetailBar, "Album totals"},
                {"playlist", PlaylistFrm->PlaylistBar, "Playlist totals"}};
    for (const auto& bar : bars) {
        SCOPED_TRACE(bar.Which);
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(bar.Bar);
        EXPECT_EQ(node->text(QAccessible::Name).toStdString(), bar.Name);
        ASSERT_EQ(node->childCount(), 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(node->child(i)->role(), QAccessible::StaticText);
            EXPECT_EQ(node->child(i)->object(), bar.Bar->Panel(i));
        }
    }
    const auto songBarName = [](int panel) {
        return QAccessible::queryAccessibleInterface(MainFrm->SongBar)
            ->child(panel)
            ->text(QAccessible::Name)
            .toStdString();
    };
    QAccessibleInterface* albumBar = QAccessible::queryAccessibleInterface(MainFrm->AlbumBar);
    EXPECT_EQ(albumBar->child(0)->text(QAccessible::Name).toStdString(), "1 album(s)");
    EXPECT_EQ(albumBar->child(1)->text(QAccessible::Name).toStdString(), "0:04:07 total play time");

    // Listing the album changes the song bar's panels, and with them their names.
    EXPECT_EQ(songBarName(0), "");
    Click(Node(0, 0));
    EXPECT_EQ(songBarName(0), "2 song(s)");
    EXPECT_EQ(songBarName(1), MainFrm->SongBar->PanelText(1));
    EXPECT_NE(songBarName(1), "");
}
