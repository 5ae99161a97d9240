#include "catalogue/Detail.h"

#include "toolkit/Bind.h"
#include "toolkit/Controls.h"
#include "toolkit/ListView.h"
#include "toolkit/StatusBar.h"

TDetailFrm* DetailFrm = nullptr;

TDetailFrm::TDetailFrm(QWidget* owner) : TForm(owner, "Detail...", 306, 316) {
    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(9, 3, 288, 280);
    DetailResLst = new TListView(this, {{"Name", 193}, {"Length", 62, true}});
    DetailResLst->setGeometry(16, 9, 274, 248);
    DetailResLst->setDragEnabled(true);
    DetailResLst->setDragDropMode(QAbstractItemView::DragOnly);
    DetailBar = new TStatusBar(this, {70, 50});
    DetailBar->setGeometry(17, 256, 272, 19);
    DetailResLst->setAccessibleName(QStringLiteral("Songs of the album"));
    DetailBar->setAccessibleName(QStringLiteral("Album totals"));
    OKBtn = NewButton(this, "OK", 113, 288, 75, 25);
    OKBtn->setDefault(true);
    Bind(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
}

void TDetailFrm::OKBtnClick() {
    SetModalResult(mrOk);
}
