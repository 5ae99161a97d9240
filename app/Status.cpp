#include "app/Status.h"

#include "app/Main.h"
#include "toolkit/Bind.h"

TStatusFrm* StatusFrm = nullptr;

TStatusFrm::TStatusFrm(QWidget* owner) : TForm(owner, "StatusFrm", 217, 42) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    move(448, 575);
    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(1, 1, 216, 41);
    Panel2 = new QFrame(Panel1);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setGeometry(4, 4, 208, 33);
    Panel2Caption = new QLabel(QStringLiteral("Reading album tree..."), Panel2);
    Panel2Caption->setAlignment(Qt::AlignCenter);
    Panel2Caption->setGeometry(1, 1, 206, 31);
    ShowedTmr = new QTimer(this);
    ShowedTmr->setInterval(10);
    Bind(ShowedTmr, &QTimer::timeout, this, [this] { ShowedTmrTimer(); });
}

void TStatusFrm::FormActivate() {
    ShowedTmr->start();
    move(MainFrm->Left() + 147, MainFrm->Top() + 129);
}

void TStatusFrm::showEvent(QShowEvent* event) {
    // A window shown without being activated (some window managers never activate a
    // borderless window) must still start its reading.
    TForm::showEvent(event);
    FormActivate();
}

void TStatusFrm::ShowedTmrTimer() {
    if (!ShowedTmr->isActive())
        return;
    ShowedTmr->stop();
    MainFrm->ClearTree = true;
    try {
        MainFrm->InitAlbumTree2();
    } catch (...) {
        // The window has no close control: it must not stay on screen after a failed reading.
        ShowedTmr->stop();
        Close();
        throw;
    }
    // The window is activated again whenever a box of the reading closes; that must not
    // start a second reading of the same showing.
    ShowedTmr->stop();
    Close();
}
