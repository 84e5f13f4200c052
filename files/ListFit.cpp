// Choosing the rows of a channel list that fit the radio.
#include "ListFit.h"

#include "Errors.h"
#include "Trimmed.h"

#include <algorithm>
#include <set>

namespace zk {

namespace {

// The bands a row is in, as the band menu shows them: "UHF:400-490 and UHF:440-520".
std::string bandsOf(const ListRow& row)
{
    std::string text;
    for (int band = 1; band <= kBands; ++band)
        if (row.inBand(band))
            text += (text.empty() ? "" : " and ") + bandName(band);
    return text;
}

// Rows into channels 1, 2, 3 ... and the summary of what was taken.
ListImport fill(const ChannelList& list, const std::vector<std::size_t>& taken, int band)
{
    ListImport result;
    result.plan.band = band;
    unsigned filled = 0;
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const ListRow& row = list.rows[taken[i]];
        result.plan.channels[i] = row.cells;
        filled |= row.otherFilled;
    }
    ImportSummary& summary = result.summary;
    summary.channels = static_cast<int>(taken.size());
    summary.band = band;
    summary.rows = static_cast<int>(list.rows.size());
    for (std::size_t c = 0; c < list.otherColumns.size(); ++c)
        if ((filled >> c & 1u) != 0)
            summary.unstoredColumns.push_back(list.otherColumns[c]);
    return result;
}

[[noreturn]] void refuse(const std::string& source, const std::string& why, const std::vector<Problem>& problems,
                         const ImportWording& wording)
{
    throw AppError(cannotImport(source) + "\n" + why + problemLines(problems, wording));
}

int parseLine(const std::string& text, const std::string& whole)
{
    const std::string digits = trimmed(text, kBlanks);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        throw AppError("\"" + whole + "\" is not a list of line numbers such as 2-17 or 3,5,9-12");
    return std::stoi(digits);
}

} // namespace

std::array<int, kBands> storableRowsPerBand(const ChannelList& list)
{
    std::array<int, kBands> counts{};
    for (const ListRow& row : list.rows)
        for (int band = 1; band <= kBands; ++band)
            if (row.storable() && row.inBand(band))
                ++counts[static_cast<std::size_t>(band - 1)];
    return counts;
}

int fullestBand(const ChannelList& list)
{
    const auto counts = storableRowsPerBand(list);
    const auto most = std::max_element(counts.begin(), counts.end());
    return *most == 0 ? 0 : static_cast<int>(most - counts.begin()) + 1;
}

std::vector<std::size_t> firstRowsOfBand(const ChannelList& list, int band)
{
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < list.rows.size() && rows.size() < kChannels; ++i)
        if (list.rows[i].storable() && list.rows[i].inBand(band))
            rows.push_back(i);
    return rows;
}

std::string whyLeftOut(const ListRow& row, int band)
{
    if (!row.storable()) {
        std::string text;
        for (const auto* problems : {&row.valueProblems, &row.frequencyProblems})
            for (const RowProblem& problem : *problems)
                text += (text.empty() ? "" : "; ") + problem.text;
        return text;
    }
    if (row.inBand(band))
        return std::string();
    return "in " + bandsOf(row) + ", not " + bandName(band);
}

std::vector<Problem> rowProblems(const ChannelList& list, const std::vector<std::size_t>& rows)
{
    std::vector<Problem> problems;
    for (const std::size_t i : rows) {
        const ListRow& row = list.rows[i];
        for (const auto* found : {&row.valueProblems, &row.frequencyProblems})
            for (const RowProblem& problem : *found)
                problems.push_back({row.line, problem.text, problem.kind});
    }
    return problems;
}

std::optional<CsvPlan> planAsItIs(const ChannelList& list, int band)
{
    if (list.rows.empty() || list.rows.size() > kChannels || !list.hasLocation)
        return std::nullopt;
    unsigned common = (1u << kBands) - 1;
    std::set<int> locations;
    for (const ListRow& row : list.rows) {
        if (!row.storable() || row.location == 0 || !locations.insert(row.location).second)
            return std::nullopt;
        common &= row.bands;
    }
    if (band == 0) {
        while (band < kBands && (common >> band & 1u) == 0)
            ++band;
        ++band;
    }
    if (band > kBands || (common >> (band - 1) & 1u) == 0)
        return std::nullopt;
    CsvPlan plan;
    plan.band = band;
    for (const ListRow& row : list.rows)
        plan.channels[static_cast<std::size_t>(row.location - 1)] = row.cells;
    return plan;
}

ListImport fitRows(const ChannelList& list, const std::string& source, int band, const ImportWording& wording)
{
    const auto counts = storableRowsPerBand(list);
    if (band == 0)
        band = fullestBand(list);
    if (band == 0) {
        std::vector<std::size_t> all(list.rows.size());
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = i;
        refuse(source,
               (list.rows.size() == 1 ? std::string("its only row")
                                      : "not one of its " + std::to_string(list.rows.size()) + " rows") +
                   " can be stored in the radio (bands " + bandRanges() + "):",
               rowProblems(list, all), wording);
    }
    if (counts[static_cast<std::size_t>(band - 1)] == 0)
        refuse(source, "no row the radio can store is in " + bandName(band) + "; the rows that can be stored: " +
                           (bandCounts(counts).empty() ? std::string("none") : bandCounts(counts)),
               {}, wording);

    const std::vector<std::size_t> taken = firstRowsOfBand(list, band);
    ListImport result = fill(list, taken, band);
    if (const auto asItIs = planAsItIs(list, band))
        result.plan = *asItIs;
    std::size_t ofBand = 0;
    for (const ListRow& row : list.rows) {
        if (!row.storable())
            result.summary.unstorable.push_back(row.line);
        else if (!row.inBand(band))
            result.summary.otherBand.push_back(row.line);
        else if (++ofBand > kChannels)
            result.summary.beyondLimit.push_back(row.line);
    }
    return result;
}

ListImport pickRows(const ChannelList& list, const std::string& source, const std::vector<int>& lines, int band,
                    const ImportWording& wording)
{
    const std::set<int> wanted(lines.begin(), lines.end());
    std::vector<std::size_t> taken;
    std::vector<int> notChosen;
    std::set<int> found;
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
        if (wanted.count(list.rows[i].line) != 0) {
            taken.push_back(i);
            found.insert(list.rows[i].line);
        } else {
            notChosen.push_back(list.rows[i].line);
        }
    }
    std::vector<int> unknown;
    std::set_difference(wanted.begin(), wanted.end(), found.begin(), found.end(), std::back_inserter(unknown));
    if (!unknown.empty())
        refuse(source, "no channel row starts on line" + std::string(unknown.size() == 1 ? " " : "s ") +
                           lineRanges(unknown, 4) + "; the rows are on lines " + [&] {
                               std::vector<int> rows;
                               for (const ListRow& row : list.rows)
                                   rows.push_back(row.line);
                               return lineRanges(rows, 4);
                           }(),
               {}, wording);
    if (taken.empty())
        refuse(source, "no rows were chosen", {}, wording);
    if (taken.size() > kChannels)
        refuse(source, std::to_string(taken.size()) + " rows were chosen; the radio holds " +
                           std::to_string(kChannels) + " channels",
               {}, wording);
    std::vector<std::size_t> unstorable;
    unsigned common = (1u << kBands) - 1;
    for (const std::size_t i : taken) {
        if (!list.rows[i].storable())
            unstorable.push_back(i);
        common &= list.rows[i].bands;
    }
    if (!unstorable.empty())
        refuse(source, std::to_string(unstorable.size()) + " of the chosen rows cannot be stored in the radio:",
               rowProblems(list, unstorable), wording);
    if (band == 0 && common != 0) {
        while ((common >> band & 1u) == 0)
            ++band;
        ++band;
    }
    if (band == 0 || (common >> (band - 1) & 1u) == 0) {
        std::vector<Problem> outside;
        for (const std::size_t i : taken)
            if (band == 0 || !list.rows[i].inBand(band))
                outside.push_back({list.rows[i].line, "in " + bandsOf(list.rows[i]), "in " + bandsOf(list.rows[i])});
        refuse(source, band == 0 ? "the chosen rows are in no band together:"
                                 : "not all the chosen rows are in " + bandName(band) + ":",
               outside, wording);
    }
    ListImport result = fill(list, taken, band);
    if (taken.size() == list.rows.size())
        if (const auto asItIs = planAsItIs(list, band))
            result.plan = *asItIs;
    result.summary.notChosen = notChosen;
    return result;
}

std::vector<int> parseLineList(const std::string& text)
{
    std::vector<int> lines;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = std::min(text.find(',', begin), text.size());
        const std::string item = text.substr(begin, end - begin);
        const std::size_t dash = item.find('-');
        const int first = parseLine(item.substr(0, dash), text);
        const int last = dash == std::string::npos ? first : parseLine(item.substr(dash + 1), text);
        if (last < first || last - first > 100000)
            throw AppError("\"" + text + "\" is not a list of line numbers such as 2-17 or 3,5,9-12");
        for (int line = first; line <= last; ++line)
            lines.push_back(line);
        if (end == text.size())
            return lines;
        begin = end + 1;
    }
}

} // namespace zk
