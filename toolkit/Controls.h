// Creates standard controls at a fixed place inside their parent, as the layouts list them.
#pragma once

#include "toolkit/Edit.h"
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

QPushButton* NewButton(QWidget* parent, const char* caption, int left, int top, int width,
                       int height);
QRadioButton* NewRadioButton(QWidget* parent, const char* caption, int left, int top, int width,
                             int height);
QCheckBox* NewCheckBox(QWidget* parent, const char* caption, int left, int top, int width,
                       int height);
QGroupBox* NewGroupBox(QWidget* parent, const char* caption, int left, int top, int width,
                       int height);
TEdit* NewEdit(QWidget* parent, int left, int top, int width, int height);
QLabel* NewLabel(QWidget* parent, const char* caption, int left, int top);

// The end of a button's caption, placed as a label of its own after a control that sits inside
// the caption: clicking it clicks the button, as a click on the caption does.
class TCaptionLabel : public QLabel {
public:
    TCaptionLabel(const char* caption, QAbstractButton* button, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QAbstractButton* FButton;
};

QLabel* NewCaptionLabel(QWidget* parent, QAbstractButton* button, const char* caption, int left,
                        int top, int width, int height);
