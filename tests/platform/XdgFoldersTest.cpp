#ifndef _WIN32
#include "platform/posix/XdgFolders.h"

#include <gtest/gtest.h>

using platform::xdg::ChooseUserBaseFolder;
using platform::xdg::TBase;

TEST(XdgFolders, UserBaseFolderFallsBackToAbsoluteFoldersOnly) {
    const struct {
        TBase Base;
        const char* Xdg;
        const char* Home;
        const char* Passwd;
        const char* Expected;
    } cases[] = {
        {TBase::Config, "/x/config", "/home/a", "/pw", "/x/config"},
        {TBase::Data, "/x/data/", "/home/a", "/pw", "/x/data"},
        {TBase::Config, "relative/config", "/home/a", "/pw", "/home/a/.config"},
        {TBase::Data, "", "/home/a/", "/pw", "/home/a/.local/share"},
        {TBase::Data, nullptr, "/home/a", "/pw", "/home/a/.local/share"},
        {TBase::Config, nullptr, "relative/home", "/pw", "/pw/.config"},
        {TBase::Config, nullptr, "", "/pw", "/pw/.config"},
        {TBase::Data, nullptr, nullptr, "/pw", "/pw/.local/share"},
        {TBase::Config, nullptr, nullptr, "/", "/.config"},
        {TBase::Config, nullptr, nullptr, "", ""},
        {TBase::Data, "data", "home", "pw", ""},
    };
    for (const auto& c : cases) {
        int passwdReads = 0;
        const auto passwd = [&] {
            ++passwdReads;
            return std::string(c.Passwd);
        };
        EXPECT_EQ(ChooseUserBaseFolder(c.Base, c.Xdg, c.Home, passwd), c.Expected)
            << (c.Xdg ? c.Xdg : "(unset)") << " " << (c.Home ? c.Home : "(unset)");
        // The passwd entry is read only when neither variable is an absolute path.
        const bool decided =
            (c.Xdg != nullptr && c.Xdg[0] == '/') || (c.Home != nullptr && c.Home[0] == '/');
        EXPECT_EQ(passwdReads, decided ? 0 : 1) << c.Expected;
    }
}
#endif
