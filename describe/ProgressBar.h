// A one-line progress bar on the error stream, drawn only when that is a terminal.
#pragma once

#include <cstddef>

class TProgressBar {
public:
    TProgressBar();
    // Redraws the bar when its text would change.
    void Show(std::size_t done, std::size_t total);
    // Takes the bar off the line, so that a message can be written there.
    void Clear();

private:
    bool FEnabled;
    bool FShown = false;
    std::size_t FLastPermille = static_cast<std::size_t>(-1);
};
