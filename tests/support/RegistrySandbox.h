// Keeps each test's registry writes away from the user's own settings and collects the
// registry's warnings. On POSIX it points the hives at a fresh folder. On Windows it makes a
// fresh key HKEY_CURRENT_USER\Software\MP3 Tunestead tests\<process>-<random> stand for
// HKEY_CURRENT_USER in this process (and its subkey Classes for HKEY_CLASSES_ROOT), and
// deletes it at the end; HKEY_LOCAL_MACHINE and HKEY_USERS stay the real ones there, so
// Windows tests only read them.
// One sandbox at a time.
#pragma once

#include "tests/support/TempDir.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TRegistrySandbox {
public:
    TRegistrySandbox();
    ~TRegistrySandbox();
    TRegistrySandbox(const TRegistrySandbox&) = delete;
    TRegistrySandbox& operator=(const TRegistrySandbox&) = delete;

    // The folder that stands for $XDG_CONFIG_HOME, and the hives' folder inside it (POSIX).
    const std::filesystem::path& ConfigHome() const { return FTemp.Path(); }
    std::filesystem::path Folder() const { return FTemp.Path() / "mp3tunestead"; }
    // The hive file of a root, e.g. HiveFile("HKEY_CURRENT_USER") (POSIX).
    std::filesystem::path HiveFile(const std::string& rootName) const;

    // Writes a file below ConfigHome() (e.g. "mp3tunestead/HKEY_USERS.reg").
    void Write(const std::string& relative, const std::string& bytes) const {
        FTemp.Write(relative, bytes);
    }

    // The warnings handed to the program since the sandbox was made.
    const std::vector<std::string>& Warnings() const { return *FWarnings; }

    // The sandbox key below the real HKEY_CURRENT_USER (Windows; empty elsewhere).
    const std::string& KeyPath() const { return FKeyPath; }

private:
    TTempDir FTemp;
    std::optional<std::string> FOldConfigHome;
    std::shared_ptr<std::vector<std::string>> FWarnings;
    std::string FKeyPath;
    void* FKey = nullptr;
    void* FClassesKey = nullptr;
};
