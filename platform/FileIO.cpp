#include "platform/FileIO.h"

#include "platform/ErrorKinds.h"

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

bool IsWriteDenied(int systemError) {
    return ErrorKindOf(systemError) == TErrorKind::ekAccessDenied;
}

} // namespace platform
