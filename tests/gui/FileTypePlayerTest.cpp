// The first run's player proposal from the file type that opens .mp3 files, read from players
// registered in the test's registry sandbox, which takes every key written here away with it.
#include "tests/gui/GuiFixture.h"

#include "app/Main.h"
#include "platform/Registry.h"
#include "settings/preferences.h"
#include "tests/support/Environment.h"

#include <string>
#include <vector>

namespace {
const char* const UserChoice =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.mp3\\UserChoice";

struct TRegisteredValue {
    platform::HKEY Root;
    std::string Key, Name;
    platform::DWORD Type;
    std::string Data;
};

void Register(const TRegisteredValue& value) {
    using namespace platform;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(value.Root, value.Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, value.Name.c_str(), 0, value.Type,
                             reinterpret_cast<const BYTE*>(value.Data.data()),
                             static_cast<DWORD>(value.Data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TRegisteredValue Text(platform::HKEY root, const std::string& key, const std::string& name,
                      const std::string& text) {
    return {root, key, name, platform::REG_SZ, text};
}
} // namespace

TEST_F(TGuiTest, FirstRunFollowsTheMp3FileTypeBehindTheAssociationKey) {
    using platform::HKEY_CLASSES_ROOT;
    using platform::HKEY_CURRENT_USER;
    TEnvironment players("TUNESTEAD_TEST_PLAYERS", "C:\\Test Players");
    // Each step registers more, as installers and the user would, and starts a first run.
    const struct {
        const char* Step;
        std::vector<TRegisteredValue> Values;
        const char* Player;
    } steps[] = {
        {"a chosen file type that is not registered, and no extension key",
         {Text(HKEY_CURRENT_USER, UserChoice, "ProgId", "Tunestead.Missing")},
         ""},
        {"the extension's file type, its path expandable and quoted",
         {Text(HKEY_CLASSES_ROOT, ".mp3", "", "Tunestead.Test.Player"),
          {HKEY_CLASSES_ROOT, "Tunestead.Test.Player\\shell\\open\\command", "",
           platform::REG_EXPAND_SZ,
           "\"%TUNESTEAD_TEST_PLAYERS%\\old.exe.d\\Player.exe\" /Open \"%L\""}},
         "C:\\Test Players\\old.exe.d\\Player.exe"},
        {"the user's choice before the extension's file type",
         {Text(HKEY_CURRENT_USER, UserChoice, "ProgId", "Applications\\chosen.exe"),
          Text(HKEY_CLASSES_ROOT, "Applications\\chosen.exe\\shell\\open\\command", "",
               "C:\\Chosen Player\\chosen.exe \"%1\"")},
         "C:\\Chosen Player\\chosen.exe"},
        {"the association key before both",
         {Text(HKEY_CLASSES_ROOT, "MP3_auto_file\\shell\\open\\command", "",
               "C:\\PLAYER\\PLAY.EXE /ADD %1")},
         "C:\\PLAYER\\PLAY.EXE"},
    };
    bool started = false;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Step);
        for (const auto& value : step.Values)
            Register(value);
        DeleteStored(Settings::PlayerName.Name);
        Boxes.clear();
        std::string shownInDialog = "(not shown)";
        OnModal = [&shownInDialog](TForm&) {
            shownInDialog = PrefsFrm->PlayerNameEdt->text().toStdString();
            PrefsFrm->OKBtnClick();
        };
        ASSERT_TRUE(started ? Restart() : Start());
        started = true;
        EXPECT_EQ(shownInDialog, step.Player);
        ASSERT_EQ(Boxes.size(), 1u) << "the welcome box only";
        EXPECT_EQ(Boxes[0].Text, WelcomeText());
        ASSERT_TRUE(Exit());
        EXPECT_EQ(StoredString(Settings::PlayerName.Name), step.Player);
    }
}

TEST_F(TGuiTest, FileTypeValuesThatAreNoTextGiveNoPlayerAndStopNothing) {
    using platform::HKEY_CLASSES_ROOT;
    using platform::REG_BINARY;
    using platform::REG_DWORD;
    const std::string four("\x01\x00\x00\x00", 4);
    Register({platform::HKEY_CURRENT_USER, UserChoice, "ProgId", REG_BINARY, "Chosen.Type"});
    Register(Text(HKEY_CLASSES_ROOT, "Chosen.Type\\shell\\open\\command", "", "C:\\A\\a.exe"));
    Register(Text(HKEY_CLASSES_ROOT, ".mp3", "", "Numbered.Type"));
    Register({HKEY_CLASSES_ROOT, "Numbered.Type\\shell\\open\\command", "", REG_DWORD, four});
    StoreInteger(Settings::TopPosition.Name, 300);
    ASSERT_TRUE(Start());
    EXPECT_EQ(ModalForms, std::vector<std::string>{"Preferences"});
    ASSERT_EQ(Boxes.size(), 1u) << "the welcome box only";
    EXPECT_EQ(Boxes[0].Text, WelcomeText());
    EXPECT_TRUE(PrefsFrm->PlayerNameEdt->text().isEmpty());
    // The loading went on past the lookup.
    EXPECT_EQ(MainFrm->Top(), 300);
    EXPECT_TRUE(MainFrm->InitTmr->isActive());
}
