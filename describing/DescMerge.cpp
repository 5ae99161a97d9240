#include "describing/DescMerge.h"

#include "catalogue/DescFile.h"
#include "catalogue/DescLine.h"
#include "catalogue/DescText.h"

#include <unordered_map>

namespace Catalogue {

namespace {

// The line's numbers differ from those the entry needs: another size, or a play time that
// is unknown or not the entry's.
bool NeedsRefresh(std::string_view line, const TSongNumbers& numbers) {
    const auto time = ExtractTime(line);
    if (!time.Known() || time != PlayTimeOf(numbers.Size, numbers.Rate))
        return true;
    return ParseNumberField(line.substr(51, 10)) != numbers.Size;
}

} // namespace

TMergeResult MergeDescFile(const TMergeInput& input) {
    TMergeResult result;
    std::unordered_map<std::string_view, std::size_t> byName;
    for (std::size_t i = 0; i < input.Found.size(); ++i)
        byName.emplace(input.Found[i].Name, i);
    std::vector<bool> listed(input.Found.size(), false);

    const auto raw = SplitRawLines(input.Existing.value_or(std::string_view{}));
    std::string& text = result.Text;
    text.reserve(input.Existing ? input.Existing->size() : 0);
    for (const auto& line : raw.Lines) {
        if (IsBlankLine(line.Text) || IsCommentLine(line.Text) || !PassesSyntaxTest(line.Text)) {
            text.append(line.Text).append(line.End);
            continue;
        }
        const auto name = ExtractDir(line.Text);
        const auto found = byName.find(name);
        if (found == byName.end() || listed[found->second]) {
            if (found == byName.end() && input.Prune &&
                !input.Present.contains(std::string(name))) {
                ++result.Pruned;
                continue;
            }
            text.append(line.Text).append(line.End);
            continue;
        }
        listed[found->second] = true;
        const auto& numbers = input.Found[found->second].Numbers;
        if (numbers && NeedsRefresh(line.Text, *numbers)) {
            text.append(WithNumbers(line.Text, *numbers)).append(line.End);
            ++result.Refreshed;
        } else {
            text.append(line.Text).append(line.End);
        }
    }
    // A last line without its line end gets one before new lines follow it.
    bool unterminated = !raw.Lines.empty() && raw.Lines.back().End.empty();
    for (std::size_t i = 0; i < input.Found.size(); ++i) {
        if (listed[i])
            continue;
        if (unterminated) {
            text.append(WrittenLineEnd);
            unterminated = false;
        }
        text.append(input.Found[i].NewLine).append(WrittenLineEnd);
        result.Added.push_back(i);
    }
    text.append(raw.Tail);
    return result;
}

} // namespace Catalogue
