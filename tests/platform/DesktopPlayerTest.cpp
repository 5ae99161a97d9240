#ifndef _WIN32

#include "platform/DesktopPlayer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

namespace {

// Points the home, the desktop's folder settings and PATH into a temporary folder and
// restores them afterwards.
class DesktopPlayerTest : public ::testing::Test {
protected:
    DesktopPlayerTest() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME",
                                 "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP", "PATH"}) {
            const char* value = std::getenv(name);
            FSaved[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
        }
        const std::string root = FTemp.Path().string();
        setenv("HOME", (root + "/home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root + "/xdg").c_str(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        setenv("XDG_DATA_DIRS", (root + "/share1:" + root + "/share2").c_str(), 1);
        setenv("PATH", (root + "/nothing:" + root + "/bin").c_str(), 1);
        unsetenv("XDG_CURRENT_DESKTOP");
    }
    ~DesktopPlayerTest() override {
        for (const auto& [name, value] : FSaved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }

    std::string Root() const { return FTemp.Path().string(); }
    void Write(const std::string& relative, const std::string& text) {
        FTemp.Write(relative, text);
    }
    void Defaults(const std::string& list, const std::string& ids) {
        Write(list, "[Default Applications]\naudio/mpeg=" + ids + "\n");
    }
    void Desktop(const std::string& relative, const std::string& exec,
                 const std::string& more = "") {
        Write(relative, "[Desktop Entry]\nType=Application\nExec=" + exec + "\n" + more);
    }
    std::string Program(const std::string& name) {
        const auto file = FTemp.Write("bin/" + name, "#!/bin/sh\n");
        std::filesystem::permissions(file, std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        return file.string();
    }

private:
    TTempDir FTemp;
    std::map<std::string, std::optional<std::string>> FSaved;
};

TEST_F(DesktopPlayerTest, TakesTheDefaultOfTheMimeAppsList) {
    Write("config/mimeapps.list", "# players\n[Added Associations]\naudio/mpeg=other.desktop;\n"
                                  "[Default Applications]\naudio/mpeg3=other.desktop\n"
                                  "audio/mpeg = player.desktop;\n");
    Desktop("data/applications/player.desktop", "player %U");
    Desktop("data/applications/other.desktop", "other %U");
    const auto player = Program("player");
    Program("other");
    EXPECT_EQ(platform::DesktopPlayerCommand(), player);
}

TEST_F(DesktopPlayerTest, MoreImportantListsWin) {
    setenv("XDG_CURRENT_DESKTOP", "X-Cinnamon:GNOME", 1);
    const char* lists[] = {"config/gnome-mimeapps.list",
                           "config/mimeapps.list",
                           "xdg/mimeapps.list",
                           "data/applications/mimeapps.list",
                           "share1/applications/mimeapps.list",
                           "share2/applications/mimeapps.list"};
    for (int i = 0; i < 6; ++i) {
        const std::string name = "p" + std::to_string(i);
        Defaults(lists[i], name + ".desktop");
        Desktop("share2/applications/" + name + ".desktop", name + " %F");
        Program(name);
    }
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(platform::DesktopPlayerCommand(), Root() + "/bin/p" + std::to_string(i));
        std::filesystem::remove(Root() + "/" + lists[i]);
    }
}

TEST_F(DesktopPlayerTest, SkipsMissingAndHiddenEntriesToTheNextCandidate) {
    Defaults("config/mimeapps.list", "gone.desktop;hidden.desktop;");
    Defaults("share1/applications/mimeapps.list", "../../bin/player.desktop;kde-player.desktop");
    Desktop("data/applications/hidden.desktop", "hidden", "Hidden=true\n");
    Desktop("share1/applications/hidden.desktop", "hidden");
    Desktop("bin/player.desktop", "hidden");
    Desktop("share2/applications/kde/player.desktop", "player --flag");
    Program("hidden");
    const auto player = Program("player");
    EXPECT_EQ(platform::DesktopPlayerCommand(), player + " --flag");

    Defaults("xdg/mimeapps.list", "tried.desktop");
    Desktop("share1/applications/tried.desktop", "player", "TryExec=not-installed\n");
    EXPECT_EQ(platform::DesktopPlayerCommand(), player + " --flag");
}

TEST_F(DesktopPlayerTest, FallsBackToAddedAssociationsAndTheCache) {
    Write("share2/applications/mimeinfo.cache",
          "[MIME Cache]\naudio/mpeg=removed.desktop;cached.desktop;\n");
    Write("data/applications/mimeapps.list",
          "[Removed Associations]\naudio/mpeg=removed.desktop\n");
    Desktop("share2/applications/removed.desktop", "removed");
    Desktop("share2/applications/cached.desktop", "cached");
    Program("removed");
    const auto cached = Program("cached");
    EXPECT_EQ(platform::DesktopPlayerCommand(), cached);

    Write("xdg/mimeapps.list", "[Added Associations]\naudio/mpeg=added.desktop\n");
    Desktop("share1/applications/added.desktop", "added");
    const auto added = Program("added");
    EXPECT_EQ(platform::DesktopPlayerCommand(), added);
}

TEST_F(DesktopPlayerTest, UnquotesTheCommandAndRemovesFieldCodes) {
    const std::string player = Program("player");
    const struct {
        const char* exec;
        std::optional<std::string> command;
    } cases[] = {
        {"player --enqueue %U", player + " --enqueue"},
        {"\"player\" --icon %i %k --name=%c -x", player + " --icon --name= -x"},
        {"player \"a b\" \"say \\\\\"hi\\\\\"\" 100%% $HOME",
         player + " \"a b\" \"say \\\"hi\\\"\" 100% $HOME"},
        {"player\\s--tab\\t\"\"", player + " --tab \"\""},
        {"\"/opt/My Player/play\" %f", std::string("\"/opt/My Player/play\"")},
        {"player \"unclosed", std::nullopt},
        {"%U", std::nullopt},
    };
    Defaults("config/mimeapps.list", "player.desktop");
    for (const auto& c : cases) {
        Desktop("data/applications/player.desktop", c.exec);
        EXPECT_EQ(platform::DesktopPlayerCommand(), c.command) << c.exec;
    }
}

TEST_F(DesktopPlayerTest, GivesNothingForAnUnresolvableProgramOrNoSetup) {
    EXPECT_EQ(platform::DesktopPlayerCommand(), std::nullopt);
    Defaults("config/mimeapps.list", "player.desktop;other.desktop");
    Desktop("data/applications/player.desktop", "player %U");
    Desktop("data/applications/other.desktop", "other %U");
    Program("other");
    Write("bin/player", "not executable");
    Write("nothing/player/keep", "a folder");
    EXPECT_EQ(platform::DesktopPlayerCommand(), std::nullopt);
}

} // namespace

#endif
