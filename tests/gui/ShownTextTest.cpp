// Texts as the windows show them: Windows-1252 descriptions and settings whose last letter is
// also a UTF-8 lead byte show whole, a UTF-8 description cut at column 50 without its broken
// last character, and the preferences give back what they were given, byte for byte.
#include "tests/gui/CatalogueBuilder.h"

#include "catalogue/Detail.h"
#include "toolkit/Text.h"

#include <QLineEdit>

#include <algorithm>

namespace {

// The text a list shows in a row's column, as UTF-8.
std::string Shown(const TListView* list, int row, int column = 0) {
    return list->topLevelItem(row)->text(column).toStdString();
}

std::vector<std::string> ShownCaptions(const TListView* list) {
    std::vector<std::string> captions;
    for (int row = 0; row < list->RowCount(); ++row)
        captions.push_back(Shown(list, row));
    return captions;
}

std::string Shown(const TTreeNode* node) {
    const auto* model = static_cast<const TTreeModel*>(MainFrm->TreeLst->model());
    return model->data(model->IndexOf(node), Qt::DisplayRole).toString().toStdString();
}

// "Été " and 39 letters: 45 bytes of UTF-8.
const std::string Accented = "\xC3\x89t\xC3\xA9 " + std::string(39, 'a');

} // namespace

class TShownTextTest : public TCatalogueGuiTest {
protected:
    // Category "Café" (Windows-1252) with album "Zoë" (Windows-1252) of five songs, and an
    // album whose UTF-8 description column 50 cuts inside its last character.
    void SetUp() override {
        TCatalogueGuiTest::SetUp();
        Desc("music", Lines({"CAT  Caf\xE9"}));
        Desc("music/CAT", Lines({"A1  Zo\xEB", "A2  " + Accented + "\xC3"}));
        // "S5.MP3", two blanks and 42 bytes up to column 50: the last is the lead byte of "é".
        Desc(
            "music/CAT/A1",
            Lines({TimedSong("S1.MP3", "Caf\xE9", 61), TimedSong("S2.MP3", "Zo\xEB", 62),
                   TimedSong("S3.MP3", "Citt\xE0", 63), TimedSong("S4.MP3", "Bail\xF3", 64),
                   TimedSong("S5.MP3", "\xC3\x89t\xC3\xA9 " + std::string(35, 'a') + "\xC3", 65)}));
        StoreString(Settings::SearchBase.Name, Dir("music"));
        StartOn({Dir("music")});
        FirstReading();
    }

    const std::vector<std::string> SongCaptions = {"01. Caf\xC3\xA9", "02. Zo\xC3\xAB",
                                                   "03. Citt\xC3\xA0", "04. Bail\xC3\xB3",
                                                   "05. \xC3\x89t\xC3\xA9 " + std::string(35, 'a')};
};

TEST_F(TShownTextTest, TheTreeAndTheSongListShowEveryLetter) {
    EXPECT_EQ(Shown(Node(0)), "Caf\xC3\xA9");
    EXPECT_EQ(Shown(Node(0, 0)), "Zo\xC3\xAB");
    EXPECT_EQ(Shown(Node(0, 1)), Accented);
    Click(Node(0, 0));
    EXPECT_EQ(ShownCaptions(MainFrm->ItemsLst), SongCaptions);
    // The rows keep the file's bytes: only the cut character is left out.
    EXPECT_EQ(MainFrm->ItemsLst->Caption(0), "01. Caf\xE9");
    EXPECT_EQ(MainFrm->ItemsLst->Caption(4), "05. \xC3\x89t\xC3\xA9 " + std::string(35, 'a'));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TShownTextTest, SearchResultsAndTheDetailWindowShowEveryLetter) {
    MainFrm->PageControl1->setCurrentWidget(MainFrm->SearchTab);
    MainFrm->SearchEdt->setText(QString::fromUtf8("caf"));
    QTest::mouseClick(MainFrm->Button1, Qt::LeftButton);
    ASSERT_EQ(MainFrm->SearchResLst->RowCount(), 2);
    EXPECT_EQ(Shown(MainFrm->SearchResLst, 0), "Zo\xC3\xAB");
    EXPECT_EQ(Shown(MainFrm->SearchResLst, 0, 1), "Caf\xC3\xA9");
    EXPECT_EQ(Shown(MainFrm->SearchResLst, 1), Accented);
    EXPECT_EQ(Shown(MainFrm->SearchResLst, 1, 1), "Caf\xC3\xA9");

    std::vector<std::string> detail;
    OnModal = [&detail](TForm&) {
        detail = ShownCaptions(DetailFrm->DetailResLst);
        QTest::mouseClick(DetailFrm->OKBtn, Qt::LeftButton);
    };
    const QRect place =
        MainFrm->SearchResLst->visualItemRect(MainFrm->SearchResLst->topLevelItem(0));
    QTest::mouseDClick(MainFrm->SearchResLst->viewport(), Qt::LeftButton, {}, place.center());
    EXPECT_EQ(ModalForms, std::vector<std::string>{"Detail..."});
    EXPECT_EQ(detail, SongCaptions);
    EXPECT_TRUE(Boxes.empty());
}

// Settings whose last letter is a UTF-8 lead byte in Windows-1252 (a root "D:\Musique\Café" on
// Windows), and the same in UTF-8.
class TShownSettingsTest : public TGuiTest {
protected:
    const std::string Player = "/opt/lecteur/Zo\xEB";
    const std::string Base = "/musique/Citt\xE0";
    const std::vector<std::string> Roots = {"/a/Caf\xE9", "/b/Caf\xC3\xA9"};

    void SetUp() override {
        TGuiTest::SetUp();
        StoreString(Settings::PlayerName.Name, Player);
        StoreString(Settings::SearchBase.Name, Base);
        for (std::size_t i = 0; i < Roots.size(); ++i)
            StoreString(Settings::RootPaths.Name(i + 1), Roots[i]);
        StoreInteger(Settings::MixVal.Name, 95);
        ASSERT_TRUE(Start());
    }

    // What a box shows, as UTF-8.
    static std::string Shown(const QLineEdit* box) { return box->text().toStdString(); }

    // The user puts the cursor at the end of a box and types.
    static void TypeAtEnd(QWidget* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, text);
    }
};

TEST_F(TShownSettingsTest, EveryBoxAndTheRootListShowWholeAndGiveBackTheirBytes) {
    EXPECT_EQ(Shown(PrefsFrm->PlayerNameEdt), "/opt/lecteur/Zo\xC3\xAB");
    EXPECT_EQ(Shown(PrefsFrm->SearchBaseEdt), "/musique/Citt\xC3\xA0");
    EXPECT_EQ(Shown(PrefsFrm->MixValEdt), "95");
    ASSERT_EQ(PrefsFrm->MP3PathLst->RowCount(), 2);
    EXPECT_EQ(::Shown(PrefsFrm->MP3PathLst, 0), "/a/Caf\xC3\xA9");
    EXPECT_EQ(::Shown(PrefsFrm->MP3PathLst, 1), "/b/Caf\xC3\xA9");

    // Opened and closed with OK, nothing typed: every value comes back byte for byte.
    OnModal = [](TForm&) { QTest::mouseClick(PrefsFrm->OKBtn, Qt::LeftButton); };
    MainFrm->Preferences1Click();
    EXPECT_EQ(PrefsFrm->PlayerNameEdt->Text(), Player);
    EXPECT_EQ(PrefsFrm->SearchBaseEdt->Text(), Base);
    EXPECT_EQ(PrefsFrm->MP3PathLst->Caption(0), Roots[0]);
    EXPECT_EQ(PrefsFrm->MP3PathLst->Caption(1), Roots[1]);
    ASSERT_TRUE(Exit());
    EXPECT_EQ(StoredString(Settings::PlayerName.Name), Player);
    EXPECT_EQ(StoredString(Settings::SearchBase.Name), Base);
    EXPECT_EQ(StoredString(Settings::RootPaths.Name(1)), Roots[0]);
    EXPECT_EQ(StoredString(Settings::RootPaths.Name(2)), Roots[1]);
    EXPECT_EQ(StoredInteger(Settings::MixVal.Name), 95);
}

TEST_F(TShownSettingsTest, AnEditedValueKeepsItsLastLetter) {
    OnModal = [this](TForm&) {
        TypeAtEnd(PrefsFrm->PlayerNameEdt, QStringLiteral("2"));
        TypeAtEnd(PrefsFrm->SearchBaseEdt, QStringLiteral("/"));
        // The first root edited in place: F2 opens its editor, Enter closes it.
        auto* list = PrefsFrm->MP3PathLst;
        list->setFocus();
        list->SetSelected(0);
        QTest::keyClick(list, Qt::Key_F2);
        auto* editor = list->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        TypeAtEnd(editor, QStringLiteral("/x"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The view takes the edited text over by a queued call once the key has been handled
        // (delivered alone: the start-up timer must not fire inside the dialog).
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QTest::mouseClick(PrefsFrm->OKBtn, Qt::LeftButton);
    };
    MainFrm->Preferences1Click();
    ASSERT_TRUE(Exit());
    // Typed text is stored in the system's encoding: compare what it shows.
    EXPECT_EQ(ToQString(StoredString(Settings::PlayerName.Name)).toStdString(),
              "/opt/lecteur/Zo\xC3\xAB"
              "2");
    EXPECT_EQ(ToQString(StoredString(Settings::SearchBase.Name)).toStdString(),
              "/musique/Citt\xC3\xA0/");
    std::vector<std::string> roots;
    for (std::size_t i = 1; i <= 2; ++i)
        roots.push_back(ToQString(StoredString(Settings::RootPaths.Name(i))).toStdString());
    std::sort(roots.begin(), roots.end());
    EXPECT_EQ(roots, (std::vector<std::string>{"/a/Caf\xC3\xA9/x", "/b/Caf\xC3\xA9"}));
}
