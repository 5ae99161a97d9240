// A fresh folder for one test, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>

class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // Writes a file below the folder (creating its directories) and returns its full path.
    std::filesystem::path Write(const std::string& relative, const std::string& bytes) const;
    static std::string Read(const std::filesystem::path& file);

private:
    std::filesystem::path FPath;
};
