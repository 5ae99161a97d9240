#include "toolkit/StatusBar.h"

#include "toolkit/Text.h"

#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

TStatusBar::TStatusBar(QWidget* parent, std::vector<int> panelWidths) : QWidget(parent) {
    for (int width : panelWidths)
        FPanels.push_back({width, {}});
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
    auto& panel = FPanels.at(index);
    if (panel.Text == text)
        return;
    panel.Text = text;
    update();
}

void TStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    constexpr int gap = 2;
    int left = 0;
    for (std::size_t i = 0; i < FPanels.size(); ++i) {
        const bool last = i + 1 == FPanels.size();
        const int panelWidth = last ? std::max(width() - left, 0) : FPanels[i].Width - gap;
        const QRect frame(left, 2, panelWidth, height() - 2);
        qDrawShadePanel(&painter, frame, palette(), true, 1);
        painter.drawText(frame.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         ToQString(FPanels[i].Text));
        left += FPanels[i].Width;
    }
}
