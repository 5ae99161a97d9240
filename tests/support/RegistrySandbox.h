// Points the POSIX registry at a fresh folder for one test and collects the registry's warnings,
// so that no test touches the user's own settings. On Windows it only collects the warnings.
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

    // The folder that stands for $XDG_CONFIG_HOME, and the hives' folder inside it.
    const std::filesystem::path& ConfigHome() const { return FTemp.Path(); }
    std::filesystem::path Folder() const { return FTemp.Path() / "mp3tunestead"; }
    // The hive file of a root, e.g. HiveFile("HKEY_CURRENT_USER").
    std::filesystem::path HiveFile(const std::string& rootName) const;

    // Writes a file below ConfigHome() (e.g. "mp3tunestead/HKEY_USERS.reg").
    void Write(const std::string& relative, const std::string& bytes) const {
        FTemp.Write(relative, bytes);
    }

    // The warnings handed to the program since the sandbox was made.
    const std::vector<std::string>& Warnings() const { return *FWarnings; }

private:
    TTempDir FTemp;
    std::optional<std::string> FOldConfigHome;
    std::shared_ptr<std::vector<std::string>> FWarnings;
};
