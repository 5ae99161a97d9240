#include "toolkit/Controls.h"

#include <QMouseEvent>

namespace {
template <typename Control>
Control* Place(Control* control, int left, int top, int width, int height) {
    control->setGeometry(left, top, width, height);
    return control;
}
} // namespace

QPushButton* NewButton(QWidget* parent, const char* caption, int left, int top, int width,
                       int height) {
    return Place(new QPushButton(QString::fromLatin1(caption), parent), left, top, width, height);
}

QRadioButton* NewRadioButton(QWidget* parent, const char* caption, int left, int top, int width,
                             int height) {
    return Place(new QRadioButton(QString::fromLatin1(caption), parent), left, top, width, height);
}

QCheckBox* NewCheckBox(QWidget* parent, const char* caption, int left, int top, int width,
                       int height) {
    return Place(new QCheckBox(QString::fromLatin1(caption), parent), left, top, width, height);
}

QGroupBox* NewGroupBox(QWidget* parent, const char* caption, int left, int top, int width,
                       int height) {
    return Place(new QGroupBox(QString::fromLatin1(caption), parent), left, top, width, height);
}

TEdit* NewEdit(QWidget* parent, int left, int top, int width, int height) {
    return Place(new TEdit(parent), left, top, width, height);
}

QLabel* NewLabel(QWidget* parent, const char* caption, int left, int top) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TCaptionLabel::TCaptionLabel(const char* caption, QAbstractButton* button, QWidget* parent)
    : QLabel(QString::fromLatin1(caption), parent), FButton(button) {}

void TCaptionLabel::mousePressEvent(QMouseEvent* event) {
    // Taking the press makes the release come here too.
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

void TCaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    if (FButton->isEnabled()) {
        FButton->setFocus(Qt::MouseFocusReason);
        FButton->click();
    }
}

QLabel* NewCaptionLabel(QWidget* parent, QAbstractButton* button, const char* caption, int left,
                        int top, int width, int height) {
    return Place(new TCaptionLabel(caption, button, parent), left, top, width, height);
}
