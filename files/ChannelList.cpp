// CSV text into the rows of a channel list, each judged on its own.
#include "ChannelList.h"

#include "Codec.h"
#include "CsvFields.h"
#include "CsvRowReader.h"
#include "Errors.h"
#include "Trimmed.h"
#include "VisibleText.h"

#include <algorithm>
#include <optional>

namespace zk {

using namespace csv;

namespace {

// The columns the import reads; any other with a value is named as left out.
// TStep is a tuning step, which says nothing about a stored channel.
const std::vector<std::string>& readColumns()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const char* name : {kLocation, kFrequency, kDuplex, kOffset, kTone, kRToneFreq, kCToneFreq, kDtcsCode,
                                 kDtcsPolarity, kRxDtcsCode, kCrossMode, kMode, kPower, kTStep})
            list.push_back(lowered(name));
        return list;
    }();
    return names;
}

// An older spelling in circulation, read as the current one.
constexpr const char* kOlderRxDtcsCode = "DtcsRxCode";

constexpr std::size_t kTrackedColumns = 32;

std::string quoted(const std::string& value)
{
    return "\"" + visibleText(value) + "\"";
}

[[noreturn]] void refuse(const std::string& source, const std::string& why)
{
    throw AppError(cannotImport(source) + "\n" + why);
}

// Text saved as UTF-16 has a zero byte beside most letters of its header.
bool looksLikeUtf16(std::string_view text)
{
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF")
        return true;
    return text.size() >= 2 && ((text[0] == '\0') != (text[1] == '\0'));
}

// The separator of a header that splits on something else than commas.
std::optional<char> otherSeparator(const CsvRecord& header)
{
    std::string line;
    for (const std::string& field : header.fields)
        line += field;
    for (const char separator : {';', '\t'}) {
        if (line.find(separator) == std::string::npos)
            continue;
        std::size_t begin = 0;
        for (;;) {
            const std::size_t end = std::min(line.find(separator, begin), line.size());
            const std::string name = lowered(trimmed(line.substr(begin, end - begin), " \"\t"));
            if (name == lowered(kFrequency) || name == lowered(kLocation))
                return separator;
            if (end == line.size())
                break;
            begin = end + 1;
        }
    }
    return std::nullopt;
}

void readHeader(const CsvRecord& header, bool needLocation, const std::string& source, ColumnPositions& columns,
                ChannelList& list)
{
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string given = trimmed(header.fields[i], kBlanks);
        const std::string name = lowered(given);
        if (!columns.emplace(name, i).second && !name.empty())
            problems.push_back("column " + quoted(given) + " appears twice");
        else if (!name.empty() && std::find(readColumns().begin(), readColumns().end(), name) == readColumns().end() &&
                 name != lowered(kOlderRxDtcsCode) && list.otherColumns.size() < kTrackedColumns)
            list.otherColumns.push_back(given);
    }
    if (const auto older = columns.find(lowered(kOlderRxDtcsCode)); older != columns.end())
        columns.emplace(lowered(kRxDtcsCode), older->second);
    list.hasLocation = columns.count(lowered(kLocation)) != 0;
    bool missing = false;
    for (const char* required : {kLocation, kFrequency}) {
        if ((required == kLocation && !needLocation) || columns.count(lowered(required)))
            continue;
        missing = true;
        problems.push_back(std::string("there is no column ") + quoted(required));
    }
    if (missing) {
        if (const auto separator = otherSeparator(header))
            refuse(source, source + " separates its columns with " +
                               (*separator == '\t' ? std::string("tabs") : "\"" + std::string(1, *separator) + "\"") +
                               "; the import reads comma-separated files");
    }
    if (problems.empty())
        return;
    std::string text = cannotImport(source);
    for (const std::string& problem : problems)
        text += "\nline " + std::to_string(header.line) + ": " + problem;
    throw AppError(text);
}

std::string megahertz(long long value)
{
    return megahertzText(value) + " MHz";
}

// Which bands hold the row, and what is wrong with its frequencies in any band.
void judgeFrequencies(ListRow& row)
{
    row.bands = 0;
    if (row.frequencies.empty())
        return;
    unsigned common = (1u << kBands) - 1;
    bool eachInABand = true;
    for (const RowFrequency& use : row.frequencies) {
        unsigned holding = 0;
        for (int band = 1; band <= kBands; ++band)
            if (bandHolds(band, use.value))
                holding |= 1u << (band - 1);
        common &= holding;
        if (use.sameAsReceive)
            continue;
        const std::string name = use.column == ColRx ? "RX frequency" : "TX frequency";
        if (holding == 0) {
            eachInABand = false;
            row.frequencyProblems.push_back(
                {name + " " + megahertz(use.value) + " is in none of the radio's bands (" + bandRanges() + ")",
                 name + " in none of the radio's bands"});
        } else if (use.column == ColRx && !meetsStepRule(fixedPointText(use.value, 3, 5))) {
            // A channel's first frequency keeps the editor's channel steps.
            row.frequencyProblems.push_back({name + " " + megahertz(use.value) +
                                                 " is on neither a 5 kHz nor a 6.25 kHz step",
                                             name + " on neither a 5 kHz nor a 6.25 kHz step"});
        }
    }
    if (common == 0 && eachInABand && row.frequencies.size() == 2)
        row.frequencyProblems.push_back({"RX frequency " + megahertz(row.frequencies[0].value) + " and TX frequency " +
                                             megahertz(row.frequencies[1].value) + " are in no band together",
                                         "RX and TX frequency in no band together"});
    row.bands = common;
}

} // namespace

std::string cannotImport(const std::string& source)
{
    return "Cannot import " + source + "; nothing was changed:";
}

bool bandHolds(int band, long long frequency)
{
    const Band& b = bandTable()[static_cast<std::size_t>(band - 1)];
    return b.low * kFixedPointOne <= frequency && frequency <= b.high * kFixedPointOne;
}

std::string bandRanges()
{
    std::string list;
    for (const Band& band : bandTable())
        list += (list.empty() ? "" : ", ") + std::to_string(band.low) + "-" + std::to_string(band.high);
    return list + " MHz";
}

ChannelList readChannelList(std::string_view text, const std::string& source, bool needLocation)
{
    if (looksLikeUtf16(text))
        refuse(source, source + " is UTF-16 text; save it as UTF-8 CSV (comma-separated)");
    std::vector<CsvRecord> records;
    try {
        records = readCsvRecords(text);
    } catch (const AppError& e) {
        // The reader names the line itself.
        refuse(source, e.what());
    }
    if (records.empty())
        refuse(source, "line 1: there is no header row");
    ChannelList list;
    ColumnPositions columns;
    readHeader(records.front(), needLocation, source, columns, list);
    if (records.size() == 1)
        refuse(source, source + " has no channel rows");

    std::vector<std::size_t> otherPositions;
    for (const std::string& name : list.otherColumns)
        otherPositions.push_back(columns.at(lowered(name)));
    for (std::size_t i = 1; i < records.size(); ++i) {
        ListRow row = readListRow(records[i], columns);
        judgeFrequencies(row);
        const auto& fields = records[i].fields;
        for (std::size_t c = 0; c < otherPositions.size(); ++c)
            if (otherPositions[c] < fields.size() && !trimmed(fields[otherPositions[c]], kBlanks).empty())
                row.otherFilled |= 1u << c;
        list.rows.push_back(std::move(row));
    }
    return list;
}

} // namespace zk
