// The About box: title, release, free physical memory and the running system's name.
#pragma once

#include "toolkit/Form.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <memory>

class TSysInfo;
class TSystemInfoLabel;

class TAboutFrm : public TForm {
    Q_OBJECT
public:
    explicit TAboutFrm(QWidget* owner);
    ~TAboutFrm() override;

    // Controls, in the order the window places them.
    QFrame* Bevel2;
    QLabel* Image1;
    QFrame* Bevel1;
    QLabel* Label1;
    QLabel* ReleaseLbl;
    QFrame* Bevel3;
    QLabel* Label5;
    TSystemInfoLabel* SystemInfoLabel2;
    QLabel* OSLbl;
    QPushButton* OKBtn;
    std::unique_ptr<TSysInfo> SystemNfo;

    void FormCreate();
    void FormActivate() override;
    void OKBtnClick();

private:
    void CreateControls();
};

extern TAboutFrm* AboutFrm;
