#include "describing/UnifiedDiff.h"

#include "catalogue/DescText.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Catalogue {

namespace {

constexpr std::size_t Context = 3;
// Above this many cells the middle part of the two files is shown as removed and added as a
// whole rather than matched line by line.
constexpr std::size_t MaxTableCells = 4'000'000;

struct TLine {
    std::string_view Text;
    std::string_view End;
    bool operator==(const TLine& other) const { return Text == other.Text && End == other.End; }
};

enum class TEdit : char { Same = ' ', Removed = '-', Added = '+' };

struct TStep {
    TEdit Edit;
    const TLine* Line;
};

std::vector<TLine> LinesOf(std::string_view text) {
    // Everything from a Ctrl-Z on is shown as one more line, so a change there still shows.
    const auto raw = SplitRawLines(text);
    std::vector<TLine> lines;
    lines.reserve(raw.Lines.size() + 1);
    for (const auto& line : raw.Lines)
        lines.push_back({line.Text, line.End});
    if (!raw.Tail.empty())
        lines.push_back({raw.Tail, {}});
    return lines;
}

// The edit script: common start and end, and a longest common subsequence of the middle.
std::vector<TStep> EditScript(const std::vector<TLine>& a, const std::vector<TLine>& b) {
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const std::size_t n = a.size() - prefix - suffix;
    const std::size_t m = b.size() - prefix - suffix;

    std::vector<TStep> steps;
    for (std::size_t i = 0; i < prefix; ++i)
        steps.push_back({TEdit::Same, &a[i]});
    if ((n + 1) * (m + 1) <= MaxTableCells) {
        // common[i][j]: the longest common subsequence of a's middle from i and b's from j.
        std::vector<std::uint32_t> common((n + 1) * (m + 1), 0);
        const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
            return common[i * (m + 1) + j];
        };
        for (std::size_t i = n; i-- > 0;)
            for (std::size_t j = m; j-- > 0;)
                at(i, j) = a[prefix + i] == b[prefix + j] ? at(i + 1, j + 1) + 1
                                                          : std::max(at(i + 1, j), at(i, j + 1));
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && a[prefix + i] == b[prefix + j]) {
                steps.push_back({TEdit::Same, &a[prefix + i]});
                ++i;
                ++j;
            } else if (j < m && (i == n || at(i, j + 1) >= at(i + 1, j))) {
                steps.push_back({TEdit::Added, &b[prefix + j++]});
            } else {
                steps.push_back({TEdit::Removed, &a[prefix + i++]});
            }
        }
        // Removals before additions inside each run of changes, as diff shows them.
        for (auto run = steps.begin() + static_cast<std::ptrdiff_t>(prefix); run != steps.end();) {
            auto stop = std::find_if(run, steps.end(),
                                     [](const TStep& step) { return step.Edit == TEdit::Same; });
            std::stable_partition(run, stop,
                                  [](const TStep& step) { return step.Edit == TEdit::Removed; });
            run = stop == steps.end() ? stop : stop + 1;
        }
    } else {
        for (std::size_t i = 0; i < n; ++i)
            steps.push_back({TEdit::Removed, &a[prefix + i]});
        for (std::size_t j = 0; j < m; ++j)
            steps.push_back({TEdit::Added, &b[prefix + j]});
    }
    for (std::size_t i = a.size() - suffix; i < a.size(); ++i)
        steps.push_back({TEdit::Same, &a[i]});
    return steps;
}

std::string Range(std::size_t start, std::size_t count) {
    // An empty range names the line before it.
    return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
}

} // namespace

std::string UnifiedDiff(std::string_view oldText, std::string_view newText,
                        std::string_view oldLabel, std::string_view newLabel) {
    if (oldText == newText)
        return {};
    const auto a = LinesOf(oldText);
    const auto b = LinesOf(newText);
    const auto steps = EditScript(a, b);

    std::string diff;
    diff.append("--- ").append(oldLabel).append("\n+++ ").append(newLabel).append("\n");
    // Line numbers before each step, in the old and the new text.
    std::vector<std::size_t> oldAt(steps.size() + 1, 0);
    std::vector<std::size_t> newAt(steps.size() + 1, 0);
    for (std::size_t k = 0; k < steps.size(); ++k) {
        oldAt[k + 1] = oldAt[k] + (steps[k].Edit != TEdit::Added ? 1 : 0);
        newAt[k + 1] = newAt[k] + (steps[k].Edit != TEdit::Removed ? 1 : 0);
    }
    std::size_t k = 0;
    while (k < steps.size()) {
        if (steps[k].Edit == TEdit::Same) {
            ++k;
            continue;
        }
        // A hunk: changes closer than twice the context share one.
        const std::size_t start = k > Context ? k - Context : 0;
        std::size_t stop = k;
        std::size_t sameRun = 0;
        for (std::size_t s = k; s < steps.size(); ++s) {
            if (steps[s].Edit == TEdit::Same) {
                if (++sameRun > 2 * Context)
                    break;
            } else {
                sameRun = 0;
                stop = s + 1;
            }
        }
        const std::size_t end = std::min(steps.size(), stop + Context);
        diff.append("@@ -")
            .append(Range(oldAt[start], oldAt[end] - oldAt[start]))
            .append(" +")
            .append(Range(newAt[start], newAt[end] - newAt[start]))
            .append(" @@\n");
        for (std::size_t s = start; s < end; ++s) {
            diff += static_cast<char>(steps[s].Edit);
            diff.append(steps[s].Line->Text).append("\n");
            if (steps[s].Line->End.empty())
                diff.append("\\ No newline at end of file\n");
        }
        k = end;
    }
    return diff;
}

} // namespace Catalogue
