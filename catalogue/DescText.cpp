#include "catalogue/DescText.h"

#include "catalogue/DescFile.h"

namespace Catalogue {

TRawText SplitRawLines(std::string_view text) {
    TRawText result;
    const auto ctrlZ = text.find(CtrlZ);
    if (ctrlZ != std::string_view::npos) {
        result.Tail = text.substr(ctrlZ);
        text = text.substr(0, ctrlZ);
    }
    while (!text.empty()) {
        const auto stop = text.find_first_of("\r\n");
        if (stop == std::string_view::npos) {
            result.Lines.push_back({text, {}});
            break;
        }
        const std::size_t endLength =
            text[stop] == CarriageReturn && stop + 1 < text.size() && text[stop + 1] == LineFeed
                ? 2
                : 1;
        result.Lines.push_back({text.substr(0, stop), text.substr(stop, endLength)});
        text.remove_prefix(stop + endLength);
    }
    return result;
}

} // namespace Catalogue
