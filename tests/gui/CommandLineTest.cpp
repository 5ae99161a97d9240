// The command line: which run each set of arguments asks for, and the texts it prints.
// The --print-tree run itself: the album tree and totals as the main window read them.
#include "tests/gui/CatalogueBuilder.h"

#include "app/CommandLine.h"
#include "app/PrintTree.h"

#include <sstream>

TEST(CommandLine, EachSetOfArgumentsAsksForOneRun) {
    const struct {
        std::vector<std::string> Arguments;
        TRunMode Mode;
        std::string Rejected;
        std::string PlaylistFile = "";
    } cases[] = {
        {{}, TRunMode::rmWindows, ""},
        {{"--help"}, TRunMode::rmHelp, ""},
        {{"-h"}, TRunMode::rmHelp, ""},
        {{"--version"}, TRunMode::rmVersion, ""},
        {{"--print-tree"}, TRunMode::rmPrintTree, ""},
        {{"--print-tree", "--version"}, TRunMode::rmVersion, ""},
        {{"--version", "--help"}, TRunMode::rmHelp, ""},
        {{"--help", "--bogus"}, TRunMode::rmUsageError, "--bogus"},
        {{"-x"}, TRunMode::rmUsageError, "-x"},
        {{"--Help"}, TRunMode::rmUsageError, "--Help"},
        {{"--print-tree=1"}, TRunMode::rmUsageError, "--print-tree=1"},
        {{"/music/list.m3u"}, TRunMode::rmWindows, "", "/music/list.m3u"},
        {{"list.PLS", "--print-tree"}, TRunMode::rmPrintTree, "", "list.PLS"},
        {{"a.m3u", "b.m3u"}, TRunMode::rmUsageError, "b.m3u"},
        {{""}, TRunMode::rmUsageError, ""},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const auto& argument : c.Arguments)
            joined += "[" + argument + "]";
        SCOPED_TRACE(joined);
        const TCommandLine line = ParseCommandLine(c.Arguments);
        EXPECT_EQ(line.Mode, c.Mode);
        EXPECT_EQ(line.Rejected, c.Rejected);
        if (line.Mode != TRunMode::rmUsageError) {
            EXPECT_EQ(line.PlaylistFile, c.PlaylistFile);
        }
    }
}

TEST(CommandLine, TextsNameTheVersionAndEveryOption) {
    EXPECT_EQ(VersionText(), "mp3tunestead 1.2\n");
    const std::string help = HelpText();
    for (const char* option : {"--print-tree", "--help", "--version", "PLAYLIST"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    const std::string usage = UsageErrorText("--bogus");
    EXPECT_EQ(usage.rfind("mp3tunestead: unknown option or argument '--bogus'\nUsage: ", 0), 0u);
    EXPECT_NE(usage.find("--help"), std::string::npos);
    EXPECT_EQ(usage.back(), '\n');
}

class TPrintTreeTest : public TCatalogueGuiTest {};

// Texts are printed as the windows show them: a Windows-1252 "\xE9" as UTF-8 "\u00e9".
TEST_F(TPrintTreeTest, PrintsTheSortedTreeAndTotalsOnceForEachRun) {
    Desc("music", Lines({"ROCK  Rock", "JAZZ  Jazz", "EMPTY  Empty"}));
    Desc("music/ROCK", Lines({"B  Second", "A  First"}));
    Album("music/ROCK/A", {187});
    Album("music/ROCK/B", {240});
    Desc("music/JAZZ", Lines({"BLUE  Bl\xE9u", "BAD ONE"}));
    Album("music/JAZZ/BLUE", {60});
    Desc("music/EMPTY", "");
    StartOn({Dir("music")}, true);

    const std::string expected = "Empty\n"
                                 "Jazz\n"
                                 "  " +
                                 SyntaxNode(Dir("music/JAZZ")) +
                                 "\n"
                                 "  Bl\u00e9u\n"
                                 "Rock\n"
                                 "  First\n"
                                 "  Second\n"
                                 "4 album(s)\n"
                                 "0:08:07 total play time\n";
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        std::ostringstream out;
        PrintAlbumTree(out);
        EXPECT_EQ(out.str(), expected);
    }
    // The syntax error went to the boxes, once for each reading, never into the tree's text.
    EXPECT_EQ(BoxTexts(), std::vector<std::string>(2, SyntaxBox(Dir("music/JAZZ"))));
}
