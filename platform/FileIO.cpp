#include "platform/FileIO.h"

namespace platform {

namespace {
std::optional<TWriteFault>& CurrentWriteFault() {
    static std::optional<TWriteFault> fault;
    return fault;
}
} // namespace

void SetWriteFault(std::optional<TWriteFault> fault) {
    CurrentWriteFault() = fault;
}

const std::optional<TWriteFault>& WriteFault() {
    return CurrentWriteFault();
}

} // namespace platform
