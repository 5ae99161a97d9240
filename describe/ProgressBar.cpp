#include "describe/ProgressBar.h"

#include "platform/Console.h"

#include <cstdio>
#include <string>

namespace {
constexpr std::size_t BarWidth = 40;
}

TProgressBar::TProgressBar() : FEnabled(platform::ErrorStreamIsTerminal()) {}

void TProgressBar::Show(std::size_t done, std::size_t total) {
    if (!FEnabled || total == 0)
        return;
    const std::size_t permille = done * 1000 / total;
    if (permille == FLastPermille && done != total)
        return;
    FLastPermille = permille;
    const std::size_t filled = done * BarWidth / total;
    std::string line = "\r[" + std::string(filled, '#') + std::string(BarWidth - filled, ' ') +
                       "] " + std::to_string(done) + "/" + std::to_string(total) + " albums";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    FShown = true;
}

void TProgressBar::Clear() {
    if (!FShown)
        return;
    std::fputs("\r\033[K", stderr);
    FShown = false;
    FLastPermille = static_cast<std::size_t>(-1);
}
