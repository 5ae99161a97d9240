// The About box: title, release, free physical memory and the running system's name.
#pragma once

#include "toolkit/Form.h"

class TAboutFrm : public TForm {
    Q_OBJECT
public:
    explicit TAboutFrm(QWidget* owner);
};

extern TAboutFrm* AboutFrm;
