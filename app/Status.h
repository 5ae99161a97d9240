// The small borderless "Reading album tree..." window. Showing it starts a reading of the
// whole catalogue once it is on screen; it hides itself when the reading is done.
#pragma once

#include "toolkit/Form.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>

class TStatusFrm : public TForm {
    Q_OBJECT
public:
    explicit TStatusFrm(QWidget* owner);

    QFrame* Panel1;
    QFrame* Panel2;
    QLabel* Panel2Caption;
    QTimer* ShowedTmr;

    void FormActivate() override;
    void ShowedTmrTimer();

protected:
    void showEvent(QShowEvent* event) override;
};

extern TStatusFrm* StatusFrm;
