// A status bar of fixed-width panels without a size grip; the last panel takes the rest.
// Each panel is a label of its own, so that a screen reader reads its text (a static text
// named by it) and hears when it changes; it is painted as the bar's sunken panel.
#pragma once

#include <QLabel>
#include <QWidget>

#include <string>
#include <vector>

class TStatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit TStatusPanel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TStatusBar : public QWidget {
    Q_OBJECT
public:
    TStatusBar(QWidget* parent, std::vector<int> panelWidths);

    const std::string& PanelText(int index) const { return FPanels.at(index).Text; }
    void SetPanelText(int index, const std::string& text);
    TStatusPanel* Panel(int index) const { return FPanels.at(index).Label; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TPanel {
        int Width;
        std::string Text;
        TStatusPanel* Label;
    };
    std::vector<TPanel> FPanels;
};
