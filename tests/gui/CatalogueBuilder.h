// Catalogues written into a window test's folder, and a fixture that starts the program on
// them, reads the album tree as the progress window does and shows what the windows hold.
#pragma once

#include "tests/catalogue/CatalogueLines.h"
#include "tests/gui/GuiFixture.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "app/Status.h"
#include "settings/preferences.h"
#include "toolkit/Application.h"
#include "toolkit/ListView.h"
#include "toolkit/StatusBar.h"
#include "toolkit/TreeView.h"

#include <QTest>

#include <initializer_list>
#include <string>
#include <vector>

using CatalogueTest::AllLineEnds;
using CatalogueTest::LineEndsName;
using CatalogueTest::P;
using CatalogueTest::PadTo;
using CatalogueTest::TimedSong;

// The lines of a description file, each followed by CR LF.
inline std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

class TCatalogueGuiTest : public TGuiTest {
protected:
    void TearDown() override {
        // The application object outlives the test: leave it restored for the next one.
        if (Application()->Minimized() && MainFrm != nullptr)
            Application()->Restore();
        TGuiTest::TearDown();
    }

    // A folder below the test's folder, with its trailing delimiter.
    std::string Dir(const std::string& relative) const {
        return (Files.Path() / P(relative)).string() + P("/");
    }

    // Writes a description file: relative is the folder below the test's folder. The text is
    // given with CR LF and written with LineEnds.
    void Desc(const std::string& relative, const std::string& text) const {
        Files.Write(relative + "/descript.ion", CatalogueTest::WithLineEnds(text, LineEnds));
    }

    // How the description files written from now on end their lines.
    CatalogueTest::TLineEnds LineEnds = CatalogueTest::TLineEnds::Both;

    // An album folder holding songs of the given whole seconds, named S01.MP3, ...
    void Album(const std::string& relative, std::initializer_list<int> seconds) const {
        std::string text;
        int number = 0;
        for (const int length : seconds) {
            const std::string name =
                "S" + std::string(number < 9 ? "0" : "") + std::to_string(number + 1) + ".MP3";
            text += TimedSong(name, "Song " + std::to_string(++number), length) + "\r\n";
        }
        Desc(relative, text);
    }

    // Starts the program on these roots (not sorted unless asked) with the player given.
    void StartOn(const std::vector<std::string>& roots, bool sorted = false,
                 const std::string& player = "player") {
        StoreString(Settings::PlayerName.Name, player);
        for (std::size_t i = 0; i < roots.size(); ++i)
            StoreString(Settings::RootPaths.Name(i + 1), roots[i]);
        StoreBool(Settings::SortAlbums.Name, sorted);
        StoreBool(Settings::MinimizeTray.Name, false);
        ASSERT_TRUE(Start());
    }

    // Closes the windows of the last start without saving anything, for a next StartOn.
    void StopForms() {
        if (Application()->Minimized() && MainFrm != nullptr)
            Application()->Restore();
        DestroyForms();
        Boxes.clear();
        ModalForms.clear();
    }

    // The first reading: the start-up timer shows the progress window, whose tick reads.
    void FirstReading() {
        MainFrm->InitTmrTimer();
        StatusFrm->ShowedTmrTimer();
    }

    // A later reading, as "&Refresh album tree" starts it.
    void Refresh() {
        MainFrm->Refreshalbumtree1Click();
        StatusFrm->ShowedTmrTimer();
    }

    // The tree as text: categories separated by "; ", each with its albums in braces.
    static std::string TreeText() {
        std::string text;
        for (int i = 0; i < MainFrm->TreeLst->TopCount(); ++i) {
            const TTreeNode* category = MainFrm->TreeLst->Top(i);
            text += (i > 0 ? "; " : "") + category->Text + "{";
            for (std::size_t j = 0; j < category->Children.size(); ++j)
                text += (j > 0 ? "|" : "") + category->Children[j]->Text;
            text += "}";
        }
        return text;
    }

    static TTreeNode* Node(int category, int album = -1) {
        TTreeNode* node = MainFrm->TreeLst->Top(category);
        return album < 0 ? node : node->Children.at(static_cast<std::size_t>(album)).get();
    }

    // A real mouse click on a node (its category is expanded first so that it can be seen).
    static void Click(const TTreeNode* node) {
        MainFrm->PageControl1->setCurrentWidget(MainFrm->PlayTab);
        MainFrm->TreeLst->Select(node);
        const QRect place = MainFrm->TreeLst->visualRect(MainFrm->TreeLst->currentIndex());
        QTest::mouseClick(MainFrm->TreeLst->viewport(), Qt::LeftButton, {}, place.center());
    }

    // A row as caption and sub-items joined by " | ".
    static std::string Row(const TListView* list, int row) {
        std::string text = list->Caption(row);
        for (int i = 0; i < list->SubItemCount(row); ++i)
            text += " | " + list->SubItem(row, i);
        return text;
    }

    static std::vector<std::string> Rows(const TListView* list) {
        std::vector<std::string> rows;
        for (int row = 0; row < list->RowCount(); ++row)
            rows.push_back(Row(list, row));
        return rows;
    }

    static std::string BarText(const TStatusBar* bar) {
        return bar->PanelText(0) + " | " + bar->PanelText(1);
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : Boxes)
            texts.push_back(box.Text);
        return texts;
    }

    // The box texts of the catalogue readers for the description file of the folder dir.
    static std::string SyntaxBox(const std::string& dir) {
        return "Syntax error in file \"" + dir +
               "descript.ion\".\rYou must separate the filename and the description with TWO "
               "spaces.";
    }
    static std::string SyntaxNode(const std::string& dir) {
        return "<" + dir + "descript.ion : syntax error>";
    }
};
