// CSV text into a channel plan, all or nothing.
#include "Codec.h"
#include "CsvFields.h"
#include "CsvPlan.h"
#include "CsvText.h"
#include "Errors.h"
#include "Trimmed.h"
#include "VisibleText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>

namespace zk {

using namespace csv;

namespace {

// An error box or a terminal shows this many problems, then a count.
constexpr std::size_t kProblemsShown = 20;

struct Problem {
    int line;
    std::string text;
};

std::string lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string quoted(const std::string& value)
{
    return "\"" + visibleText(value) + "\"";
}

std::string megahertz(long long value)
{
    return fixedPointText(value, 3, 5) + " MHz";
}

bool inBand(const Band& band, long long frequency)
{
    return band.low * kFixedPointOne <= frequency && frequency <= band.high * kFixedPointOne;
}

// A frequency an import puts into a cell, kept until the band is known.
struct FrequencyUse {
    int line;
    int channel; // 0 when the row's Location was refused
    Column column;
    long long value;
    bool sameAsReceive = false; // a simplex TX: its RX says what is wrong
};

// One data row, its fields found through the header's column positions.
class Row {
public:
    Row(const CsvRecord& record, const std::map<std::string, std::size_t>& columns, std::vector<Problem>& problems)
        : record_(record), columns_(columns), problems_(problems)
    {
    }

    // The field without surrounding blanks; empty when the column is missing.
    std::string operator[](const char* column) const
    {
        const auto found = columns_.find(lowered(column));
        if (found == columns_.end() || found->second >= record_.fields.size())
            return std::string();
        return trimmed(record_.fields[found->second], kBlanks);
    }

    void report(const std::string& text) { problems_.push_back({record_.line, text}); }
    // 'Column "value" why', the value as the row holds it.
    void refuse(const char* column, const std::string& why)
    {
        report(column + (" " + quoted((*this)[column]) + " ") + why);
    }
    int line() const { return record_.line; }
    bool hasProblems() const { return problemsAtStart_ != problems_.size(); }

private:
    const CsvRecord& record_;
    const std::map<std::string, std::size_t>& columns_;
    std::vector<Problem>& problems_;
    std::size_t problemsAtStart_ = problems_.size();
};

std::optional<long long> frequencyField(Row& row, const char* column)
{
    const auto value = parseFixedPoint(row[column]);
    if (!value)
        row.refuse(column, "is not a frequency in MHz the radio can hold (10 Hz steps)");
    return value;
}

bool isRadioTone(const ToneSide& side)
{
    const auto& list = toneList();
    return std::find(list.begin(), list.end(), toneCell(side)) != list.end();
}

std::optional<ToneSide> ctcssField(Row& row, const char* column)
{
    // 88.5, 88.50 and 88.5000 are one tone; the list holds one decimal.
    const auto value = parseFixedPoint(row[column]);
    if (value && *value % (kFixedPointOne / 10) == 0) {
        const ToneSide side{ToneSide::Ctcss, fixedPointText(*value, 1, 1), 'N'};
        if (isRadioTone(side))
            return side;
    }
    row.refuse(column, "is not one of the radio's CTCSS tones");
    return std::nullopt;
}

std::optional<ToneSide> dcsField(Row& row, const char* column, char polarity)
{
    const std::string text = row[column];
    if (isDigits(text) && text.size() <= 3) {
        const ToneSide side{ToneSide::Dcs, std::string(3 - text.size(), '0') + text, polarity};
        if (isRadioTone(side))
            return side;
    }
    row.refuse(column, "is not one of the radio's DCS codes");
    return std::nullopt;
}

// Transmit polarity, then receive polarity; "NN" when the cell is empty.
std::string polarities(Row& row)
{
    std::string text = row[kDtcsPolarity];
    if (text.empty())
        return "NN";
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text.size() == 2 && (text[0] == 'N' || text[0] == 'R') && (text[1] == 'N' || text[1] == 'R'))
        return text;
    row.refuse(kDtcsPolarity, "is not two letters N or R");
    return "NN";
}

struct Tones {
    std::optional<ToneSide> transmit = ToneSide{};
    std::optional<ToneSide> receive = ToneSide{};
};

// One side of a Cross mode: "Tone", "DTCS" or nothing.
std::optional<ToneSide> crossSide(Row& row, const std::string& kind, const char* toneColumn, const char* codeColumn,
                                  char polarity)
{
    if (kind == "Tone")
        return ctcssField(row, toneColumn);
    if (kind == "DTCS")
        return dcsField(row, codeColumn, polarity);
    return ToneSide{};
}

Tones tonesOf(Row& row)
{
    static const std::vector<std::string> crossModes{"Tone->Tone", "Tone->DTCS", "DTCS->Tone", "DTCS->DTCS",
                                                     "->Tone",     "->DTCS",     "DTCS->",     "Tone->"};
    const std::string mode = lowered(row[kTone]);
    Tones tones;
    if (mode.empty())
        return tones;
    if (mode == "tone") {
        tones.transmit = ctcssField(row, kRToneFreq);
    } else if (mode == "tsql") {
        tones.transmit = tones.receive = ctcssField(row, kCToneFreq);
    } else if (mode == "dtcs") {
        const std::string polarity = polarities(row);
        tones.transmit = dcsField(row, kDtcsCode, polarity[0]);
        if (tones.transmit) {
            tones.receive = tones.transmit;
            tones.receive->polarity = polarity[1];
        }
    } else if (mode == "cross") {
        const std::string cross = row[kCrossMode];
        if (std::find(crossModes.begin(), crossModes.end(), cross) == crossModes.end()) {
            row.refuse(kCrossMode,
                       "is none of: Tone->Tone, Tone->DTCS, DTCS->Tone, DTCS->DTCS, ->Tone, ->DTCS, DTCS->, Tone->");
            return tones;
        }
        const auto arrow = cross.find("->");
        const std::string polarity = polarities(row);
        tones.transmit = crossSide(row, cross.substr(0, arrow), kRToneFreq, kDtcsCode, polarity[0]);
        tones.receive = crossSide(row, cross.substr(arrow + 2), kCToneFreq, kRxDtcsCode, polarity[1]);
    } else {
        row.refuse(kTone, "is none of: empty, Tone, TSQL, DTCS, Cross");
    }
    return tones;
}

std::string powerOf(Row& row)
{
    const std::string text = lowered(row[kPower]);
    if (text.empty() || text == "high")
        return "High";
    if (text == "low")
        return "Low";
    // A wattage such as "5", "5.0W" or "0.5 W".
    std::string number = text;
    if (!number.empty() && number.back() == 'w')
        number = trimmed(number.substr(0, number.size() - 1), kBlanks);
    if (const auto watts = parseFixedPoint(number))
        return static_cast<double>(*watts) / kFixedPointOne >= kHighPowerWatts ? "High" : "Low";
    row.refuse(kPower, "is neither High, Low nor a wattage");
    return std::string();
}

std::string bandwidthOf(Row& row)
{
    const std::string mode = lowered(row[kMode]);
    if (mode.empty() || mode == "fm")
        return "Wide";
    if (mode == "nfm")
        return "Narrow";
    row.refuse(kMode, "cannot be stored: FM (wide) or NFM (narrow) only");
    return std::string();
}

int channelOf(Row& row)
{
    const std::string text = row[kLocation];
    if (isDigits(text) && text.size() <= 2) {
        const int channel = std::stoi(text);
        if (channel >= 1 && channel <= kChannels)
            return channel;
    }
    row.refuse(kLocation, "is not a channel number from 1 to " + std::to_string(kChannels));
    return 0;
}

class Importer {
public:
    CsvPlan run(const std::vector<CsvRecord>& records)
    {
        if (records.empty()) {
            problems_.push_back({1, "there is no header row"});
            return plan_;
        }
        if (!readHeader(records.front()))
            return plan_;
        for (std::size_t i = 1; i < records.size(); ++i)
            readRow(records[i]);
        placeFrequencies();
        return plan_;
    }

    // Sorted by line once run() is done.
    const std::vector<Problem>& problems() const { return problems_; }

private:
    bool readHeader(const CsvRecord& header)
    {
        for (std::size_t i = 0; i < header.fields.size(); ++i) {
            const std::string given = trimmed(header.fields[i], kBlanks);
            const std::string name = lowered(given);
            if (!columns_.emplace(name, i).second && !name.empty())
                problems_.push_back({header.line, "column " + quoted(given) + " appears twice"});
        }
        for (const char* required : {kLocation, kFrequency})
            if (!columns_.count(lowered(required)))
                problems_.push_back({header.line, std::string("there is no column ") + quoted(required)});
        return problems_.empty();
    }

    void readRow(const CsvRecord& record)
    {
        Row row(record, columns_, problems_);
        const int channel = channelOf(row);
        if (channel != 0) {
            int& seen = lineOfChannel_[static_cast<std::size_t>(channel - 1)];
            if (seen != 0) {
                row.report("channel " + std::to_string(channel) + " is also on line " + std::to_string(seen));
            } else {
                seen = row.line();
            }
        }
        const std::optional<long long> receive = frequencyField(row, kFrequency);
        const std::optional<long long> transmit = transmitOf(row, receive);
        const Tones tones = tonesOf(row);
        const std::string power = powerOf(row);
        const std::string bandwidth = bandwidthOf(row);

        if (receive)
            uses_.push_back({row.line(), channel, ColRx, *receive});
        if (transmit && *transmit >= 0)
            uses_.push_back({row.line(), channel, ColTx, *transmit, transmit == receive && row[kDuplex].empty()});
        if (channel == 0 || row.hasProblems())
            return;
        auto& cells = plan_.channels[static_cast<std::size_t>(channel - 1)];
        cells[ColDecode - 1] = toneCell(*tones.receive);
        cells[ColEncode - 1] = toneCell(*tones.transmit);
        cells[ColPower - 1] = power;
        cells[ColBandwidth - 1] = bandwidth;
    }

    // The TX frequency, -1 for none (Duplex off), nothing when refused.
    static std::optional<long long> transmitOf(Row& row, std::optional<long long> receive)
    {
        const std::string duplex = lowered(row[kDuplex]);
        if (duplex.empty())
            return receive;
        if (duplex == "off")
            return -1;
        if (duplex == "split")
            return frequencyField(row, kOffset);
        if (duplex != "+" && duplex != "-") {
            row.refuse(kDuplex, "is none of: empty, +, -, split, off");
            return std::nullopt;
        }
        const std::optional<long long> offset = frequencyField(row, kOffset);
        if (!receive || !offset)
            return std::nullopt;
        const long long transmit = duplex == "+" ? *receive + *offset : *receive - *offset;
        if (transmit < 0) {
            row.report("the TX frequency, " + std::string(kFrequency) + " - " + std::string(kOffset) +
                       ", is below 0 MHz");
            return std::nullopt;
        }
        return transmit;
    }

    // The first band, in menu order, that holds every frequency; failing
    // that the one holding the most of them, and the others are refused.
    int chooseBand() const
    {
        int best = 0;
        std::size_t bestCount = 0;
        for (int b = 0; b < kBands; ++b) {
            const Band& band = bandTable()[static_cast<std::size_t>(b)];
            const auto count = static_cast<std::size_t>(std::count_if(
                uses_.begin(), uses_.end(), [&](const FrequencyUse& use) { return inBand(band, use.value); }));
            if (count > bestCount) {
                best = b + 1;
                bestCount = count;
            }
        }
        return best;
    }

    void placeFrequencies()
    {
        plan_.band = chooseBand();
        for (const FrequencyUse& use : uses_) {
            if (use.sameAsReceive) {
                place(use);
                continue;
            }
            const char* name = use.column == ColRx ? "RX frequency " : "TX frequency ";
            const bool anyBand = std::any_of(bandTable().begin(), bandTable().end(),
                                             [&](const Band& band) { return inBand(band, use.value); });
            if (!anyBand) {
                problems_.push_back({use.line, name + megahertz(use.value) + " is in none of the radio's bands (" +
                                                   bandList() + ")"});
                continue;
            }
            const Band& band = bandTable()[static_cast<std::size_t>(plan_.band - 1)];
            if (!inBand(band, use.value)) {
                problems_.push_back({use.line, name + megahertz(use.value) + " is outside " +
                                                   std::to_string(band.low) + "-" + std::to_string(band.high) +
                                                   " MHz, the band of the other frequencies"});
                continue;
            }
            // A channel's first frequency keeps the editor's channel steps.
            if (use.column == ColRx && !meetsStepRule(fixedPointText(use.value, 3, 5))) {
                problems_.push_back(
                    {use.line, name + megahertz(use.value) + " is on neither a 5 kHz nor a 6.25 kHz step"});
                continue;
            }
            place(use);
        }
        // A refused frequency leaves a channel half filled; the plan is
        // thrown away then, so that does not matter.
        std::stable_sort(problems_.begin(), problems_.end(),
                         [](const Problem& a, const Problem& b) { return a.line < b.line; });
    }

    void place(const FrequencyUse& use)
    {
        if (use.channel != 0)
            plan_.channels[static_cast<std::size_t>(use.channel - 1)][use.column - 1] = fixedPointText(use.value, 3, 5);
    }

    static std::string bandList()
    {
        std::string list;
        for (const Band& band : bandTable())
            list += (list.empty() ? "" : ", ") + std::to_string(band.low) + "-" + std::to_string(band.high);
        return list + " MHz";
    }

    std::map<std::string, std::size_t> columns_;
    std::array<int, kChannels> lineOfChannel_{};
    std::vector<FrequencyUse> uses_;
    std::vector<Problem> problems_;
    CsvPlan plan_;
};

[[noreturn]] void refuseImport(const std::string& source, const std::vector<Problem>& problems)
{
    std::string text = "Cannot import " + source + "; nothing was changed:";
    for (std::size_t i = 0; i < problems.size() && i < kProblemsShown; ++i)
        text += "\nline " + std::to_string(problems[i].line) + ": " + problems[i].text;
    if (problems.size() > kProblemsShown)
        text += "\n... and " + std::to_string(problems.size() - kProblemsShown) + " more problems";
    throw AppError(text);
}

} // namespace

CsvPlan readCsvPlan(std::string_view text, const std::string& source)
{
    std::vector<CsvRecord> records;
    try {
        records = readCsvRecords(text);
    } catch (const AppError& e) {
        // The reader names the line itself.
        throw AppError("Cannot import " + source + "; nothing was changed:\n" + e.what());
    }
    Importer importer;
    CsvPlan plan = importer.run(records);
    if (!importer.problems().empty())
        refuseImport(source, importer.problems());
    return plan;
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

CsvPlan importCsvFile(const std::string& path)
{
    return readCsvPlan(readRegularFile(path, kCsvFileKind), "\"" + visibleText(fullPath(path)) + "\"");
}

} // namespace zk
