// A stored root or setting that cannot be read: the roots before it are listed and read, and
// no stored root is lost at the next close.
#include "app/PrintTree.h"
#include "tests/gui/CatalogueBuilder.h"

#include <sstream>

class TDamagedRootTest : public TCatalogueGuiTest {
protected:
    // The roots stored now, in their numbered order.
    std::vector<std::string> StoredRoots() {
        std::vector<std::string> roots;
        for (int n = 1; StoredExists(Settings::RootPaths.Name(n)); ++n)
            roots.push_back(StoredString(Settings::RootPaths.Name(n)));
        return roots;
    }

    // The loading stopped before the threshold, so the close stores the roots and then fails
    // on the empty threshold: the window stays open.
    void CloseAfterDamage() {
        const std::size_t before = Boxes.size();
        EXPECT_FALSE(Exit());
        ASSERT_EQ(Boxes.size(), before + 1);
        EXPECT_EQ(Boxes.back().Text, "'' is not a valid integer value.");
    }
};

TEST_F(TDamagedRootTest, TheRootsBeforeADamagedOneAreListedReadAndStoredAgain) {
    Desc("good", Lines({"CAT  Cat"}));
    Desc("good/CAT", Lines({"A  Album"}));
    Album("good/CAT/A", {60});
    StoreNotFirstRun();
    StoreString(Settings::RootPaths.Name(1), Dir("good"));
    StoreInteger(Settings::RootPaths.Name(2), 7);
    ASSERT_TRUE(Start());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Invalid data type for 'MP3 Files #2'."});
    ASSERT_EQ(PrefsFrm->MP3PathLst->RowCount(), 1);
    EXPECT_EQ(PrefsFrm->MP3PathLst->Caption(0), Dir("good"));

    Refresh();
    EXPECT_EQ(TreeText(), "Cat{Album}");
    std::ostringstream printed;
    PrintAlbumTree(printed);
    EXPECT_EQ(printed.str(), "Cat\n  Album\n1 album(s)\n0:01:00 total play time\n");

    CloseAfterDamage();
    EXPECT_EQ(StoredRoots(), std::vector<std::string>{Dir("good")});
}

TEST_F(TDamagedRootTest, TheCloseKeepsTheStoredRootsThatTheLoadingDidNotReach) {
    const struct {
        const char* Damaged;
        std::vector<std::string> AddedByUser;
        std::vector<std::string> Stored;
    } cases[] = {
        {"MP3 Files #2", {}, {"/one/", "/three/"}},
        {"MP3 Files #2", {"/new/", "/three/"}, {"/new/", "/one/", "/three/"}},
        {"MP3 Files #1", {}, {"/two/", "/three/"}},
        // Loading ends before the list: every root is left to the close.
        {"PlayerName", {"/new/"}, {"/new/", "/one/", "/two/", "/three/"}},
    };
    bool started = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Damaged) + " and " + std::to_string(c.AddedByUser.size()));
        StoreNotFirstRun();
        StoreString(Settings::RootPaths.Name(1), "/one/");
        StoreString(Settings::RootPaths.Name(2), "/two/");
        StoreString(Settings::RootPaths.Name(3), "/three/");
        StoreInteger(c.Damaged, 2);
        ASSERT_TRUE(started ? Restart() : Start());
        started = true;
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].Text, "Invalid data type for '" + std::string(c.Damaged) + "'.");
        for (const auto& root : c.AddedByUser)
            PrefsFrm->MP3PathLst->AddSorted(root);
        Boxes.clear();
        CloseAfterDamage();
        EXPECT_EQ(StoredRoots(), c.Stored);
        Boxes.clear();
    }
}
