#include "components/SInfolblQt.h"

#include "toolkit/Text.h"

TSystemInfoLabel::TSystemInfoLabel(QWidget* parent, platform::ISystemFacts& facts)
    : QLabel(parent), FText(facts) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TSystemInfoLabel::SetInfoType(TInfoType value) {
    FText.SetInfoType(value);
    ShowCaption();
}

void TSystemInfoLabel::SetFormattedDisplay(bool value) {
    if (value == FText.FormattedDisplay())
        return;
    FText.SetFormattedDisplay(value);
    ShowCaption();
}

// The figure is read again before each paint. Only a changed text is set, which sizes the
// label and paints it once more; an unchanged figure lets the painting come to rest.
void TSystemInfoLabel::paintEvent(QPaintEvent* event) {
    SetInfoType(FText.InfoType());
    QLabel::paintEvent(event);
}

void TSystemInfoLabel::ShowCaption() {
    const QString caption = ToQString(FText.Caption());
    if (caption == text())
        return;
    const int right = x() + width();
    setText(caption);
    const QSize size = sizeHint();
    setGeometry(right - size.width(), y(), size.width(), size.height());
}
