// CSV text into a channel plan, all or nothing, the rows placed by their
// Location.
#include "ChannelList.h"
#include "Codec.h"
#include "CsvFields.h"
#include "CsvPlan.h"
#include "Errors.h"
#include "ListFit.h"
#include "VisibleText.h"

#include <algorithm>

namespace zk {

using namespace csv;

namespace {

std::string megahertz(long long value)
{
    return megahertzText(value) + " MHz";
}

// The first band, in menu order, that holds every frequency; failing that
// the one holding the most of them, and the others are refused.
int bandOfMostFrequencies(const ChannelList& list)
{
    int best = 0;
    std::size_t bestCount = 0;
    for (int band = 1; band <= kBands; ++band) {
        std::size_t count = 0;
        for (const ListRow& row : list.rows)
            for (const RowFrequency& use : row.frequencies)
                count += bandHolds(band, use.value) ? 1 : 0;
        if (count > bestCount) {
            best = band;
            bestCount = count;
        }
    }
    return best;
}

void locationProblems(const ListRow& row, std::array<int, kChannels>& lineOfChannel, std::vector<Problem>& problems)
{
    if (row.location == 0) {
        const std::string& text = row.locationText;
        const bool above = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos &&
                           text.find_first_not_of('0') != std::string::npos &&
                           (text.size() - text.find_first_not_of('0') > 2 || std::stoi(text) > kChannels);
        problems.push_back({row.line,
                            std::string(kLocation) + " \"" + visibleText(text) +
                                "\" is not a channel number from 1 to " + std::to_string(kChannels),
                            std::string(kLocation) +
                                (above ? " above " + std::to_string(kChannels)
                                       : " not a channel number from 1 to " + std::to_string(kChannels))});
        return;
    }
    int& seen = lineOfChannel[static_cast<std::size_t>(row.location - 1)];
    if (seen != 0) {
        problems.push_back({row.line,
                            "channel " + std::to_string(row.location) + " is also on line " + std::to_string(seen),
                            std::string(kLocation) + " already used on an earlier line"});
    } else {
        seen = row.line;
    }
}

// What is wrong with the row's frequencies when band must hold them all
// (band 0: no frequency of the list is in any band).
void frequencyProblems(const ListRow& row, int band, std::vector<Problem>& problems)
{
    const Band& limits = bandTable()[static_cast<std::size_t>(std::max(band, 1) - 1)];
    const std::string range = std::to_string(limits.low) + "-" + std::to_string(limits.high) + " MHz";
    for (const RowFrequency& use : row.frequencies) {
        if (use.sameAsReceive)
            continue;
        const std::string name = use.column == ColRx ? "RX frequency" : "TX frequency";
        bool anyBand = false;
        for (int b = 1; b <= kBands; ++b)
            anyBand = anyBand || bandHolds(b, use.value);
        if (!anyBand) {
            problems.push_back({row.line,
                                name + " " + megahertz(use.value) + " is in none of the radio's bands (" +
                                    bandRanges() + ")",
                                name + " in none of the radio's bands"});
        } else if (!bandHolds(band, use.value)) {
            problems.push_back({row.line,
                                name + " " + megahertz(use.value) + " is outside " + range +
                                    ", the band of the other frequencies",
                                name + " outside " + range + ", the band of the other frequencies"});
        } else if (use.column == ColRx && !meetsStepRule(fixedPointText(use.value, 3, 5))) {
            // A channel's first frequency keeps the editor's channel steps.
            problems.push_back({row.line, name + " " + megahertz(use.value) +
                                              " is on neither a 5 kHz nor a 6.25 kHz step",
                                name + " on neither a 5 kHz nor a 6.25 kHz step"});
        }
    }
}

// The list's first problem when it is too long or spans bands: how many
// rows, where they lie, and what the radio holds.
std::string lengthOrBandCause(const ChannelList& list, const std::string& source, const ImportWording& wording)
{
    std::array<int, kBands> counts{};
    unsigned common = (1u << kBands) - 1;
    bool anyBand = false;
    for (const ListRow& row : list.rows) {
        if (row.bands == 0)
            continue;
        anyBand = true;
        common &= row.bands;
        for (int band = 1; band <= kBands; ++band)
            if (row.inBand(band))
                ++counts[static_cast<std::size_t>(band - 1)];
    }
    const bool severalBands = anyBand && common == 0;
    if (list.rows.size() <= kChannels && !severalBands)
        return std::string();
    const std::string rows = std::to_string(list.rows.size());
    std::string where = bandCounts(counts);
    if (where.rfind(rows + " in ", 0) == 0 && where.find(',') == std::string::npos)
        where = where.substr(rows.size()); // " in VHF:136-174": all in one band
    else if (!where.empty())
        where = ": " + where;
    return "\n" + source + " has " + rows + " rows" + where + "; the radio holds " + std::to_string(kChannels) +
           " channels in one band (" + wording.chooseRows + ")";
}

} // namespace

ListImport importAsItIs(const ChannelList& list, const std::string& source, const ImportWording& wording)
{
    std::vector<Problem> problems;
    std::array<int, kChannels> lineOfChannel{};
    const int band = bandOfMostFrequencies(list);
    for (const ListRow& row : list.rows) {
        locationProblems(row, lineOfChannel, problems);
        for (const RowProblem& problem : row.valueProblems)
            problems.push_back({row.line, problem.text, problem.kind});
        frequencyProblems(row, band, problems);
    }
    const std::string cause = lengthOrBandCause(list, source, wording);
    if (!cause.empty() || !problems.empty())
        throw AppError(cannotImport(source) + cause + problemLines(problems, wording));
    // Every row is storable and in band: the fit takes the list as it is.
    return fitRows(list, source, band, wording);
}

CsvPlan readCsvPlan(std::string_view text, const std::string& source, const ImportWording& wording)
{
    return importAsItIs(readChannelList(text, source, true), source, wording).plan;
}

void applyCsvPlan(const CsvPlan& plan, ChannelTable& table)
{
    for (int row = 1; row <= kChannels; ++row)
        for (int column = 1; column < kColumns; ++column)
            table.setCell(column, row,
                          plan.channels[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column - 1)]);
    if (plan.band != 0)
        table.setBand(plan.band);
}

std::string csvSource(const std::string& path)
{
    return "\"" + visibleText(fullPath(path)) + "\"";
}

CsvPlan importCsvFile(const std::string& path)
{
    return readCsvPlan(readRegularFile(path, kCsvFileKind), csvSource(path));
}

} // namespace zk
