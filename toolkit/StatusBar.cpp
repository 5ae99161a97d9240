#include "toolkit/StatusBar.h"

#include "toolkit/Text.h"

#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

TStatusPanel::TStatusPanel(QWidget* parent) : QLabel(parent) {
    // Texts such as "<...descript.ion : syntax error>" are shown as they are, never as markup.
    setTextFormat(Qt::PlainText);
}

void TStatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    painter.drawText(rect().adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
}

TStatusBar::TStatusBar(QWidget* parent, std::vector<int> panelWidths) : QWidget(parent) {
    for (int width : panelWidths)
        FPanels.push_back({width, {}, new TStatusPanel(this)});
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
    auto& panel = FPanels.at(index);
    if (panel.Text == text)
        return;
    panel.Text = text;
    panel.Label->setText(ToQString(text));
}

// The panels sit 2 pixels below the bar's top, with a 2-pixel gap after each fixed one.
void TStatusBar::resizeEvent(QResizeEvent*) {
    constexpr int gap = 2;
    int left = 0;
    for (std::size_t i = 0; i < FPanels.size(); ++i) {
        const bool last = i + 1 == FPanels.size();
        const int panelWidth = last ? std::max(width() - left, 0) : FPanels[i].Width - gap;
        FPanels[i].Label->setGeometry(left, 2, panelWidth, std::max(height() - 2, 0));
        left += FPanels[i].Width;
    }
}
