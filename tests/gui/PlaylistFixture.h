// A started program with a small catalogue read into its album tree, the fake player as
// its player and the playlist window shown: the ground of the playlist window tests.
#pragma once

#include "tests/gui/GuiFixture.h"
#include "tests/support/PlayerRecord.h"

#include "playback/PlaylistEntry.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct TTreeNode;

class TPlaylistTest : public TGuiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path Catalogue() const { return Files.Path() / "mp3"; }
    std::filesystem::path TempPlaylist() const { return ProgramFolder() / "PL_TEMP.M3U"; }
    std::string SongPath(const std::string& relative) const;

    // The album or category node whose text begins with the given text.
    TTreeNode* Node(const std::string& textStart) const;
    // Selects the node and clicks it, as the user does before a drag.
    void ClickNode(TTreeNode* node);
    // Drags the node from the album tree onto the playlist.
    void DropNode(TTreeNode* node);
    // Selects the album's song in the song list and drags it onto the playlist.
    void DropSong(TTreeNode* album, int row);

    std::vector<Playback::TPlaylistEntry> Entries() const;
    std::vector<std::string> Captions() const;
    std::string Panel(int index) const;

    // The file dialogs answer with this name; nullopt: the user cancels.
    std::optional<std::string> ChosenFile;
    // The file type the user picks in the dialogs, from 1 as in their filters.
    int ChosenFilter = 1;
    std::vector<std::string> DialogsShown;

    // The arguments of the next start of the fake player; nullopt when none came.
    std::optional<std::vector<std::string>> PlayerArguments();

    std::optional<TPlayerRecord> Player;
};
