// The "Detail..." window: the songs of an album found by the search, listed as the main
// window lists them.
#pragma once

#include "toolkit/Form.h"

#include <QFrame>
#include <QPushButton>

class TListView;
class TStatusBar;

class TDetailFrm : public TForm {
    Q_OBJECT
public:
    explicit TDetailFrm(QWidget* owner);

    QFrame* Panel1;
    TListView* DetailResLst;
    TStatusBar* DetailBar;
    QPushButton* OKBtn;

    void OKBtnClick();
};

extern TDetailFrm* DetailFrm;
