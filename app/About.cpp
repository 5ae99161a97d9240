#include "app/About.h"

TAboutFrm* AboutFrm = nullptr;

TAboutFrm::TAboutFrm(QWidget* owner) : TForm(owner, "About...", 369, 222) {
    SetScreenCentered(true);
}
