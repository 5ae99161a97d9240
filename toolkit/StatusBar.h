// A status bar of fixed-width panels without a size grip; the last panel takes the rest.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

class TStatusBar : public QWidget {
    Q_OBJECT
public:
    TStatusBar(QWidget* parent, std::vector<int> panelWidths);

    const std::string& PanelText(int index) const { return FPanels.at(index).Text; }
    void SetPanelText(int index, const std::string& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct TPanel {
        int Width;
        std::string Text;
    };
    std::vector<TPanel> FPanels;
};
