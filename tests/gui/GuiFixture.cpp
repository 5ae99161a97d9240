#include "tests/gui/GuiFixture.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "components/TrayIconQt.h"
#include "platform/Folders.h"
#include "settings/RegAppC.h"
#include "settings/preferences.h"
#include "tests/components/FakeTrayEnvironment.h"
#include "tests/support/Environment.h"

#include <memory>

namespace {
// The variable that names the folder of the per-user data folders.
#ifdef _WIN32
constexpr const char* DataHomeVariable = "LOCALAPPDATA";
#else
constexpr const char* DataHomeVariable = "XDG_DATA_HOME";
#endif

std::unique_ptr<TRegAppUserConfig> SettingsKey() {
    auto key = std::make_unique<TRegAppUserConfig>(nullptr);
    key->SetCompany("Quorlen");
    key->SetApplicationName("MP3 Discovane");
    key->SetVersion("v1.2");
    key->SetActive(true);
    return key;
}

// Window tests never reach the desktop's notification area: the tray icon gets a fake one.
struct TDefaultTray {
    TFakeTray Tray;
    TTrayEnvironment Environment = Tray.Environment();
};
std::unique_ptr<TDefaultTray> DefaultTray;

TModalResult DefaultAnswer(const TMessageBox& box) {
    if (box.Buttons & mbOK)
        return mrOk;
    if (box.Buttons & mbYes)
        return mrYes;
    return mrCancel;
}
} // namespace

void TGuiTest::SetUp() {
    DefaultTray = std::make_unique<TDefaultTray>();
    SetTrayEnvironmentForTesting(&DefaultTray->Environment);
    // The program's folder (PL_TEMP.M3U) and the per-user data folder are the test's own.
    std::filesystem::create_directories(ProgramFolder());
    platform::SetProgramDirectoryForTesting((ProgramFolder() / "").string());
    FOldDataHome = GetEnvironment(DataHomeVariable);
    SetEnvironment(DataHomeVariable, (Files.Path() / "data").string());
    // No desktop-wide player association from the machine running the tests.
    for (const char* name : {"XDG_DATA_DIRS", "XDG_CONFIG_DIRS"}) {
        if (const auto value = GetEnvironment(name))
            FOldEnvironment.emplace_back(name, *value);
        SetEnvironment(name, (Files.Path() / "no-desktop").string());
    }
    InstallRegistryWarningBox();
    SetMessageBoxHook([this](const TMessageBox& box) {
        Boxes.push_back(box);
        if (Answers.empty())
            return DefaultAnswer(box);
        const auto answer = Answers.front();
        Answers.pop_front();
        return answer;
    });
    TForm::SetModalHook([this](TForm& form) {
        ModalForms.push_back(form.Caption());
        if (OnModal)
            OnModal(form);
        else if (&form == PrefsFrm)
            PrefsFrm->OKBtnClick();
        else
            form.SetModalResult(mrOk);
    });
}

void TGuiTest::TearDown() {
    DestroyForms();
    SetTrayEnvironmentForTesting(nullptr);
    DefaultTray.reset();
    platform::SetProgramDirectoryForTesting({});
    SetEnvironment(DataHomeVariable, FOldDataHome);
    SetEnvironment("XDG_DATA_DIRS", std::nullopt);
    SetEnvironment("XDG_CONFIG_DIRS", std::nullopt);
    for (const auto& [name, value] : FOldEnvironment)
        SetEnvironment(name.c_str(), value);
    TForm::SetModalHook(nullptr);
    SetMessageBoxHook(nullptr);
}

void TGuiTest::StoreString(const std::string& name, const std::string& value) {
    SettingsKey()->WriteString(name, value);
}

void TGuiTest::StoreInteger(const std::string& name, int value) {
    SettingsKey()->WriteInteger(name, value);
}

void TGuiTest::StoreBool(const std::string& name, bool value) {
    SettingsKey()->WriteBool(name, value);
}

void TGuiTest::DeleteStored(const std::string& name) {
    SettingsKey()->DeleteValue(name);
}

bool TGuiTest::StoredExists(const std::string& name) {
    return SettingsKey()->ValueExists(name);
}

std::string TGuiTest::StoredString(const std::string& name) {
    return SettingsKey()->ReadString(name);
}

int TGuiTest::StoredInteger(const std::string& name) {
    return SettingsKey()->ReadInteger(name);
}

bool TGuiTest::Start() {
    if (!CreateForms())
        return false;
    MainFrm->show();
    return true;
}

bool TGuiTest::Exit() {
    MainFrm->Exit1Click();
    return !MainFrm->isVisible();
}

bool TGuiTest::Restart() {
    DestroyForms();
    return Start();
}
