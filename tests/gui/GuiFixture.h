// A started program for one test: its own settings folder and files, every message box and
// modal window answered by the test, and the windows destroyed afterwards.
#pragma once

#include "settings/Settings.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempDir.h"
#include "toolkit/Form.h"
#include "toolkit/MessageDlg.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TGuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stored settings, as a program run before this one left them.
    void StoreString(const std::string& name, const std::string& value);
    void StoreInteger(const std::string& name, int value);
    void StoreBool(const std::string& name, bool value);
    // A player name marks that the program has run before: no welcome, no first-run dialog.
    void StoreNotFirstRun() { StoreString(Settings::PlayerName.Name, "player"); }

    void DeleteStored(const std::string& name);

    // What the settings key holds now.
    bool StoredExists(const std::string& name);
    std::string StoredString(const std::string& name);
    int StoredInteger(const std::string& name);

    // Creates the six windows as the program start does; false when the start failed.
    bool Start();
    // Closes the main window as "E&xit" does; true when it closed.
    bool Exit();
    // Runs a second program start on the same settings.
    bool Restart();

    // The boxes shown so far, and how they are answered (by default: OK, Cancel, Yes).
    std::vector<TMessageBox> Boxes;
    std::deque<TModalResult> Answers;
    // The captions of the windows shown modally so far.
    std::vector<std::string> ModalForms;
    // Plays the user's part in a modal window; by default OK is pressed.
    std::function<void(TForm&)> OnModal;

    // The program's own folder during the test, where PL_TEMP.M3U is written.
    std::filesystem::path ProgramFolder() const { return Files.Path() / "program"; }

    TRegistrySandbox Registry;
    TTempDir Files;

private:
    std::optional<std::string> FOldDataHome;
    std::vector<std::pair<std::string, std::string>> FOldEnvironment;
};
