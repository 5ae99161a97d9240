#include "app/About.h"

#include "app/AboutPicture.h"
#include "app/Main.h"
#include "components/SInfolblQt.h"
#include "components/sysinfo.h"
#include "toolkit/Bind.h"
#include "toolkit/Controls.h"
#include "toolkit/Text.h"

TAboutFrm* AboutFrm = nullptr;

namespace {

QFrame* NewBevel(QWidget* parent, QFrame::Shape shape, int left, int top, int width, int height) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameShape(shape);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(left, top, width, height);
    return bevel;
}

// A label that keeps its box and centres its text in it, whatever the text's width.
void CentreIn(QLabel* label, int left, int width) {
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(left, label->y(), width, label->sizeHint().height());
}

// The title in a bold face of the flared-serif kind, falling back to any bold serif.
QFont TitleFont() {
    QFont font;
    font.setFamilies({QStringLiteral("URW Bookman"), QStringLiteral("Bookman Old Style"),
                      QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(17);
    font.setBold(true);
    return font;
}

} // namespace

TAboutFrm::TAboutFrm(QWidget* owner) : TForm(owner, "About...", 369, 222) {
    SetScreenCentered(true);
    CreateControls();
    SystemNfo = std::make_unique<TSysInfo>(nullptr);
    SystemNfo->SetName("SystemNfo");
    Bind(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    FormCreate();
}

TAboutFrm::~TAboutFrm() = default;

void TAboutFrm::CreateControls() {
    Bevel2 = NewBevel(this, QFrame::Box, 7, 10, 89, 101);
    Image1 = new QLabel(this);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(AboutPicture());
    Image1->setGeometry(11, 14, 80, 78);
    Bevel1 = NewBevel(this, QFrame::Box, 103, 10, 258, 167);

    // The title's face is wider or narrower than the one it was laid out for: it is centred
    // over the text frame, where the original lines it up.
    Label1 = new QLabel(QStringLiteral("MP3 Tunestead"), this);
    Label1->setFont(TitleFont());
    Label1->setStyleSheet(QStringLiteral("color: black"));
    Label1->move(173, 22);
    CentreIn(Label1, 104, 255);

    ReleaseLbl = NewLabel(this, "Release", 104, 46);
    CentreIn(ReleaseLbl, 104, 255);
    Bevel3 = NewBevel(this, QFrame::HLine, 113, 123, 239, 3);
    Label5 = NewLabel(this, "Physical memory Free : ", 149, 135);

    SystemInfoLabel2 = new TSystemInfoLabel(this);
    SystemInfoLabel2->setGeometry(274, 135, 40, Label5->height());
    SystemInfoLabel2->SetInfoType(iMemoryFreePhysical);
    SystemInfoLabel2->SetFormattedDisplay(true);

    OSLbl = NewLabel(this, "", 106, 156);
    CentreIn(OSLbl, 106, 252);
    OKBtn = NewButton(this, "OK", 145, 188, 75, 25);
    OKBtn->setDefault(true);
}

void TAboutFrm::FormCreate() {
    ReleaseLbl->setText(ReleaseLbl->text() + QStringLiteral(" ") +
                        ToQString(MainFrm->MP3PlayerReg->Version()));
    CentreIn(ReleaseLbl, 104, 255);
}

void TAboutFrm::FormActivate() {
    OSLbl->setText(
        ToQString("Running " + SystemNfo->OperatingSystem() + " " + SystemNfo->WinVersion()));
    CentreIn(OSLbl, 106, 252);
}

void TAboutFrm::OKBtnClick() {
    SetModalResult(mrOk);
}
