#include "catalogue/SyntaxReports.h"

#include "catalogue/CatalogueMessages.h"

namespace Catalogue {

void TSyntaxReports::Report(std::string_view descPath) {
    if (!FReported.emplace(descPath).second)
        return;
    if (FHandler)
        FHandler(SyntaxErrorMessage(descPath));
}

std::string TSyntaxReports::Describe(std::string_view line, std::string_view descPath) {
    const auto field = ParseDescription(line);
    if (!field.SyntaxError)
        return std::string(field.Text);
    Report(descPath);
    return SyntaxErrorText(descPath);
}

} // namespace Catalogue
