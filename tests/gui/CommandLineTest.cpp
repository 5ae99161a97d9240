// The command line: which run each set of arguments asks for, and the texts it prints.
// The --print-tree run itself: the album tree and totals as the main window read them.
#include "tests/gui/CatalogueBuilder.h"

#include "app/CommandLine.h"
#include "app/PrintTree.h"
#include "app/Startup.h"
#include "components/TrayIconQt.h"

#include <QSystemTrayIcon>

#include <sstream>

TEST(CommandLine, EachSetOfArgumentsAsksForOneRun) {
    const struct {
        std::vector<std::string> Arguments;
        TRunMode Mode;
        std::string Rejected;
        std::string PlaylistFile;
    } cases[] = {
        {{}, TRunMode::rmWindows, "", ""},
        {{"--help"}, TRunMode::rmHelp, "", ""},
        {{"-h"}, TRunMode::rmHelp, "", ""},
        {{"--version"}, TRunMode::rmVersion, "", ""},
        {{"--print-tree"}, TRunMode::rmPrintTree, "", ""},
        {{"--print-tree", "--version"}, TRunMode::rmVersion, "", ""},
        {{"--version", "--help"}, TRunMode::rmHelp, "", ""},
        {{"--help", "--bogus"}, TRunMode::rmUsageError, "--bogus", ""},
        {{"-x"}, TRunMode::rmUsageError, "-x", ""},
        {{"-"}, TRunMode::rmUsageError, "-", ""},
        {{"--Help"}, TRunMode::rmUsageError, "--Help", ""},
        {{"--print-tree=1"}, TRunMode::rmUsageError, "--print-tree=1", ""},
        {{""}, TRunMode::rmUsageError, "", ""},
        // A file the desktop opens with the program, or dropped on it; one only.
        {{"/music/list.m3u"}, TRunMode::rmWindows, "", "/music/list.m3u"},
        {{"C:\\Music\\Mix.pls", "--print-tree"}, TRunMode::rmPrintTree, "", "C:\\Music\\Mix.pls"},
        {{"a.m3u", "b.m3u"}, TRunMode::rmUsageError, "b.m3u", ""},
        // Qt's options with their values, in both spellings, are the application object's:
        // a value is never taken for a file.
        {{"-platform", "offscreen"}, TRunMode::rmWindows, "", ""},
        {{"--platform", "xcb", "--print-tree"}, TRunMode::rmPrintTree, "", ""},
        {{"-style", "Windows", "-stylesheet", "a.qss", "-reverse", "--version"},
         TRunMode::rmVersion,
         "",
         ""},
        {{"-style=Fusion", "--stylesheet=a.qss", "-qmljsdebugger=port:1"},
         TRunMode::rmWindows,
         "",
         ""},
        {{"-display", ":0", "-geometry", "640x480", "-qwindowgeometry", "640x480+0+0"},
         TRunMode::rmWindows,
         "",
         ""},
        {{"-platformtheme", "gtk3", "-qwindowtitle", "Songs", "-qwindowicon", "a.png", "list.m3u"},
         TRunMode::rmWindows,
         "",
         "list.m3u"},
        // The desktop's session restore: its id is let through and not used.
        {{"-session", "10d8f3c2a1000166_1234"}, TRunMode::rmWindows, "", ""},
        {{"--session", "10d8f3c2a1000166_1234", "list.m3u"}, TRunMode::rmWindows, "", "list.m3u"},
        {{"-session"}, TRunMode::rmWindows, "", ""},
        // Only the forms Qt takes itself.
        {{"-platform=offscreen"}, TRunMode::rmUsageError, "-platform=offscreen", ""},
        {{"-Reverse"}, TRunMode::rmUsageError, "-Reverse", ""},
        {{"---reverse"}, TRunMode::rmUsageError, "---reverse", ""},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const auto& argument : c.Arguments)
            joined += "[" + argument + "]";
        SCOPED_TRACE(joined);
        const TCommandLine line = ParseCommandLine(c.Arguments);
        EXPECT_EQ(line.Mode, c.Mode);
        EXPECT_EQ(line.Rejected, c.Rejected);
        EXPECT_EQ(line.PlaylistFile, c.PlaylistFile);
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

// The help names where the settings are on the system it runs on, and not the other's.
TEST(CommandLine, TheHelpNamesThisSystemsSettingsLocation) {
#ifdef _WIN32
    const char* const here = "\nHKEY_CURRENT_USER\\SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2.\n";
    const char* const elsewhere = ".config";
#else
    const char* const here = " $XDG_CONFIG_HOME/mp3tunestead/ (default ~/.config).\n";
    const char* const elsewhere = "registry";
#endif
    const std::string help = HelpText();
    EXPECT_NE(help.find(here), std::string::npos) << help;
    EXPECT_EQ(help.find(elsewhere), std::string::npos) << help;
}

// Where the program has no console (Windows), a command line it does not understand is told in
// a box: the same lines as on the terminal.
TEST_F(TGuiTest, TheUsageErrorBoxTellsTheArgumentAndWhereTheHelpIs) {
    ShowUsageErrorBox("--bogus");
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Caption, "MP3 Tunestead");
    EXPECT_EQ(Boxes[0].Text, "mp3tunestead: unknown option or argument '--bogus'\r"
                             "Usage: mp3tunestead [--print-tree] [--help] [--version] [PLAYLIST]\r"
                             "Try 'mp3tunestead --help' for more information.");
    EXPECT_EQ(Boxes[0].Icon, miError);
    EXPECT_EQ(Boxes[0].Buttons, TMsgDlgButtons(mbOK));
}

class TPrintTreeTest : public TCatalogueGuiTest {
protected:
    void TearDown() override {
        SetTrayIconsShown(true);
        TCatalogueGuiTest::TearDown();
    }
};

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

// A run that shows nothing puts no icon in the desktop's notification area: the main window's
// tray icon is made on the real Qt environment and never shown.
TEST_F(TPrintTreeTest, ARunThatShowsNothingShowsNoTrayIcon) {
    Desc("music", Lines({"ROCK  Rock"}));
    SetTrayEnvironmentForTesting(nullptr);
    ShowNothing();
    StartOn({Dir("music")});
    const auto icons = MainFrm->findChildren<QSystemTrayIcon*>();
    ASSERT_EQ(icons.size(), 1);
    EXPECT_FALSE(icons[0]->isVisible());
}
