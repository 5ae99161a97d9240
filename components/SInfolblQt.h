// The system-information label: a text label that shows one figure of the memory status and
// reads it again each time it is painted.
#pragma once

#include "components/SInfolbl.h"

#include <QLabel>

class TSystemInfoLabel : public QLabel {
    Q_OBJECT
public:
    // Starts as iMemoryUsedPercent with the plain display and no text; sizes itself to its
    // text, keeping its right edge where it is.
    explicit TSystemInfoLabel(QWidget* parent,
                              platform::ISystemFacts& facts = platform::SystemFacts());

    TInfoType InfoType() const { return FText.InfoType(); }
    // Reads the memory status again and shows the figure.
    void SetInfoType(TInfoType value);
    bool FormattedDisplay() const { return FText.FormattedDisplay(); }
    // A change shows the figure anew (reading the memory status); the same value does nothing.
    void SetFormattedDisplay(bool value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowCaption();

    TSystemInfoText FText;
};
