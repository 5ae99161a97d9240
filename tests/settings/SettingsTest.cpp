// The settings table read and written through the settings component: defaults while a value
// is absent, typed round trips, and the numbered list of roots.
#include "settings/Settings.h"

#include "tests/support/RegistrySandbox.h"

#include <gtest/gtest.h>

namespace {

class SettingsTable : public ::testing::Test {
protected:
    SettingsTable() {
        Store.SetCompany("Tunestead Tests");
        Store.SetApplicationName("Settings");
        Store.SetVersion("v1");
    }

    TRegistrySandbox Sandbox;
    TRegAppUserConfig Store{nullptr};
};

} // namespace

TEST_F(SettingsTable, AnEmptyKeyReadsAsTheDefaults) {
    EXPECT_FALSE(Settings::Exists(Store, Settings::PlayerName));
    EXPECT_EQ(Settings::Read(Store, Settings::PlayerName), "");
    EXPECT_EQ(Settings::Read(Store, Settings::SearchBase), "");
    for (const auto* setting :
         {&Settings::SortAlbums, &Settings::MinimizeTray, &Settings::RefreshPref})
        EXPECT_TRUE(Settings::Read(Store, *setting)) << setting->Name;
    const struct {
        const Settings::TSetting<int>& Setting;
        int Default;
    } integers[] = {{Settings::TopPosition, 10},
                    {Settings::LeftPosition, 10},
                    {Settings::DispAlbumTime, 3},
                    {Settings::MixVal, 79},
                    {Settings::RandomPlay, 0}};
    for (const auto& c : integers)
        EXPECT_EQ(Settings::Read(Store, c.Setting), c.Default) << c.Setting.Name;
    EXPECT_TRUE(Settings::Read(Store, Settings::RootPaths).empty());
}

TEST_F(SettingsTable, StoredValuesReadBackInTheirKind) {
    Settings::Write(Store, Settings::PlayerName, "/opt/player");
    Settings::Write(Store, Settings::SortAlbums, false);
    Settings::Write(Store, Settings::MixVal, -5);
    EXPECT_TRUE(Settings::Exists(Store, Settings::PlayerName));
    EXPECT_EQ(Settings::Read(Store, Settings::PlayerName), "/opt/player");
    EXPECT_FALSE(Settings::Read(Store, Settings::SortAlbums));
    EXPECT_EQ(Settings::Read(Store, Settings::MixVal), -5);
    // A flag is stored as the integer 0 or 1.
    EXPECT_EQ(Store.ReadInteger(Settings::SortAlbums.Name), 0);
}

TEST_F(SettingsTable, RootListIsNumberedFromOneAndEndsAtTheFirstGap) {
    EXPECT_EQ(Settings::RootPaths.Name(1), "MP3 Files #1");
    EXPECT_EQ(Settings::RootPaths.Name(12), "MP3 Files #12");

    Settings::Write(Store, Settings::RootPaths, {"/a/", "/b/", "/c/"});
    EXPECT_EQ(Settings::Read(Store, Settings::RootPaths),
              (std::vector<std::string>{"/a/", "/b/", "/c/"}));

    // A shorter list leaves nothing of the longer one behind.
    Settings::Write(Store, Settings::RootPaths, {"/z/"});
    EXPECT_EQ(Settings::Read(Store, Settings::RootPaths), std::vector<std::string>{"/z/"});
    EXPECT_FALSE(Store.ValueExists(Settings::RootPaths.Name(2)));

    Store.WriteString(Settings::RootPaths.Name(3), "/after/a/gap/");
    EXPECT_EQ(Settings::Read(Store, Settings::RootPaths), std::vector<std::string>{"/z/"});
}
