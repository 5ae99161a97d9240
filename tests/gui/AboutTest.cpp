// The About box through the real form, and the memory label that refreshes at each paint.
#include "tests/gui/GuiFixture.h"

#include "app/About.h"
#include "app/Main.h"
#include "components/SInfolblQt.h"
#include "components/sysinfo.h"
#include "tests/components/FakeSystemFacts.h"

#include <QApplication>

TEST_F(TGuiTest, AboutBoxShowsReleaseAndRunningSystem) {
    StoreNotFirstRun();
    ASSERT_TRUE(Start());
    EXPECT_EQ(AboutFrm->Caption(), "About...");
    EXPECT_EQ(AboutFrm->size(), QSize(369, 222));
    EXPECT_EQ(AboutFrm->ReleaseLbl->text(), "Release v1.2");
    EXPECT_EQ(AboutFrm->ReleaseLbl->x(), 104);
    EXPECT_EQ(AboutFrm->ReleaseLbl->width(), 255);
    EXPECT_TRUE(AboutFrm->ReleaseLbl->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(AboutFrm->Label5->text(), "Physical memory Free : ");
    EXPECT_EQ(AboutFrm->SystemInfoLabel2->InfoType(), iMemoryFreePhysical);
    EXPECT_TRUE(AboutFrm->SystemInfoLabel2->FormattedDisplay());
    EXPECT_EQ(AboutFrm->OKBtn->geometry(), QRect(145, 188, 75, 25));
    EXPECT_TRUE(AboutFrm->OKBtn->isDefault());

    const QString running =
        QString::fromStdString("Running " + AboutFrm->SystemNfo->OperatingSystem() + " " +
                               AboutFrm->SystemNfo->WinVersion());
    std::vector<QString> shown;
    OnModal = [&shown](TForm&) {
        shown.push_back(AboutFrm->OSLbl->text());
        AboutFrm->OKBtn->click();
    };
    MainFrm->About1Click();
    MainFrm->About2->trigger();
    EXPECT_EQ(ModalForms, (std::vector<std::string>{"About...", "About..."}));
    EXPECT_EQ(shown, (std::vector<QString>{running, running}));
    EXPECT_EQ(AboutFrm->OSLbl->x(), 106);
    EXPECT_EQ(AboutFrm->OSLbl->width(), 252);
    EXPECT_EQ(AboutFrm->ModalResult(), mrOk);
    EXPECT_FALSE(AboutFrm->isVisible());
}

class TSystemInfoLabelTest : public ::testing::Test {
protected:
    TSystemInfoLabelTest() {
        Window.resize(369, 222);
        Label.setGeometry(274, 135, 40, 13);
        Facts.Memory.AvailPhys = 4215603;
        Facts.Memory.MemoryLoad = 37;
    }
    int Right() const { return Label.x() + Label.width(); }

    QWidget Window;
    TFakeSystemFacts Facts;
    TSystemInfoLabel Label{&Window, Facts};
};

TEST_F(TSystemInfoLabelTest, ShowsTheFigureKeepingItsRightEdge) {
    const struct {
        TInfoType Type;
        bool Formatted;
        std::int64_t Free;
        const char* Text;
    } cases[] = {{iMemoryFreePhysical, false, 4215603, "4215603"},
                 {iMemoryFreePhysical, true, 4215603, "4.02 MB"},
                 {iMemoryFreePhysical, true, 100000000, "95.37 MB"},
                 {iMemoryUsedPercent, true, 0, "37%"},
                 {iMemoryUsedPercent, false, 0, "37%"}};
    for (const auto& c : cases) {
        Facts.Memory.AvailPhys = c.Free;
        Label.SetFormattedDisplay(c.Formatted);
        Label.SetInfoType(c.Type);
        EXPECT_EQ(Label.text(), c.Text);
        EXPECT_EQ(Right(), 314) << c.Text;
        EXPECT_EQ(Label.width(), Label.sizeHint().width()) << c.Text;
    }
}

TEST_F(TSystemInfoLabelTest, SameDisplayReadsNothingAnotherReadsOnce) {
    Label.SetInfoType(iMemoryFreePhysical);
    const int reads = Facts.MemoryReads;
    Label.SetFormattedDisplay(false);
    EXPECT_EQ(Facts.MemoryReads, reads);
    Label.SetFormattedDisplay(true);
    EXPECT_EQ(Facts.MemoryReads, reads + 1);
    EXPECT_EQ(Label.text(), "4.02 MB");
}

TEST_F(TSystemInfoLabelTest, EachPaintReadsAgainAndPaintingComesToRest) {
    Label.SetInfoType(iMemoryFreePhysical);
    Label.SetFormattedDisplay(true);
    Window.show();
    QApplication::processEvents();

    // A new figure shows at the next paint, with the right edge in place.
    Facts.Memory.AvailPhys = 100000000;
    const int reads = Facts.MemoryReads;
    Label.repaint();
    EXPECT_GT(Facts.MemoryReads, reads);
    EXPECT_EQ(Label.text(), "95.37 MB");
    EXPECT_EQ(Right(), 314);

    // With the figure unchanged, no further paint is asked for.
    QApplication::processEvents();
    const int settled = Facts.MemoryReads;
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(Facts.MemoryReads, settled);
}
