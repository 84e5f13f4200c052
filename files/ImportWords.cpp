// The words of an import's summary and refusals.
#include "ImportWords.h"

#include <algorithm>
#include <map>

namespace zk {

namespace {

// An error box or a terminal shows this many problem lines, then a count.
constexpr std::size_t kProblemsShown = 20;
// A kind of problem on this many lines is told once.
constexpr std::size_t kGroupedFrom = 3;
// The line numbers a summary names per group.
constexpr std::size_t kLinesNamed = 4;

std::string counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string leftOutGroup(const std::vector<int>& lines, const char* why)
{
    const std::string list = lineRanges(lines, kLinesNamed);
    return std::to_string(lines.size()) + " " + why + " (line" + (lines.size() == 1 ? " " : "s ") + list + ")";
}

} // namespace

std::string bandName(int band)
{
    return bandTable()[static_cast<std::size_t>(band - 1)].caption;
}

int bandNamed(const std::string& text)
{
    for (int band = 1; band <= kBands; ++band) {
        const Band& b = bandTable()[static_cast<std::size_t>(band - 1)];
        if (text == std::to_string(band) || text == b.caption ||
            text == std::to_string(b.low) + "-" + std::to_string(b.high))
            return band;
    }
    return 0;
}

std::string bandCounts(const std::array<int, kBands>& counts)
{
    std::string text;
    for (int band = 1; band <= kBands; ++band) {
        const int count = counts[static_cast<std::size_t>(band - 1)];
        if (count > 0)
            text += (text.empty() ? "" : ", ") + std::to_string(count) + " in " + bandName(band);
    }
    return text;
}

std::string lineRanges(const std::vector<int>& lines, std::size_t most)
{
    std::string text;
    std::size_t items = 0;
    for (std::size_t i = 0; i < lines.size();) {
        std::size_t last = i;
        while (last + 1 < lines.size() && lines[last + 1] == lines[last] + 1)
            ++last;
        if (most != 0 && items == most)
            return text + ", ...";
        text += (text.empty() ? "" : ", ") + std::to_string(lines[i]);
        if (last > i)
            text += "-" + std::to_string(lines[last]);
        ++items;
        i = last + 1;
    }
    return text;
}

std::string importSummaryLine(const ImportSummary& summary)
{
    std::string text = "Imported " + counted(static_cast<std::size_t>(summary.channels), "channel", "channels") +
                       " into " + bandName(summary.band) + " from " +
                       counted(static_cast<std::size_t>(summary.rows), "row", "rows");
    std::vector<std::string> groups;
    if (!summary.notChosen.empty())
        groups.push_back(leftOutGroup(summary.notChosen, "not chosen"));
    if (!summary.beyondLimit.empty())
        groups.push_back(leftOutGroup(summary.beyondLimit, ("beyond the first " + std::to_string(kChannels)).c_str()));
    if (!summary.otherBand.empty())
        groups.push_back(leftOutGroup(summary.otherBand, "in other bands"));
    if (!summary.unstorable.empty())
        groups.push_back(leftOutGroup(summary.unstorable, "the radio cannot store"));
    for (std::size_t i = 0; i < groups.size(); ++i)
        text += (i == 0 ? "; left out: " : ", ") + groups[i];
    text += ".";
    if (!summary.unstoredColumns.empty()) {
        text += " Not stored in the radio: ";
        for (std::size_t i = 0; i < summary.unstoredColumns.size(); ++i)
            text += (i == 0 ? "" : ", ") + summary.unstoredColumns[i];
        text += ".";
    }
    return text;
}

std::string problemLines(const std::vector<Problem>& problems, const ImportWording& wording)
{
    std::vector<Problem> sorted = problems;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Problem& a, const Problem& b) { return a.line < b.line; });
    std::map<std::string, std::vector<int>> linesOfKind;
    for (const Problem& problem : sorted) {
        std::vector<int>& lines = linesOfKind[problem.kind];
        if (lines.empty() || lines.back() != problem.line)
            lines.push_back(problem.line);
    }
    std::vector<std::string> entries;
    std::map<std::string, bool> told;
    for (const Problem& problem : sorted) {
        const std::vector<int>& lines = linesOfKind[problem.kind];
        if (wording.allProblems || lines.size() < kGroupedFrom) {
            entries.push_back("line " + std::to_string(problem.line) + ": " + problem.text);
        } else if (!told[problem.kind]) {
            told[problem.kind] = true;
            entries.push_back(problem.kind + ": lines " + lineRanges(lines));
        }
    }
    std::string text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!wording.allProblems && i == kProblemsShown) {
            text += "\n... and " + std::to_string(entries.size() - kProblemsShown) + " more problems" + wording.showAll;
            break;
        }
        text += "\n" + entries[i];
    }
    return text;
}

} // namespace zk
