// The columns of one channel row, each checked against what the radio can
// store.
#include "CsvRowReader.h"

#include "CsvFields.h"
#include "CsvPlan.h"
#include "Trimmed.h"
#include "VisibleText.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace zk::csv {

namespace {

bool isDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string quoted(const std::string& value)
{
    return "\"" + visibleText(value) + "\"";
}

// One data row, its fields found through the header's column positions.
class Row {
public:
    Row(const CsvRecord& record, const ColumnPositions& columns, ListRow& out)
        : record_(record), columns_(columns), out_(out)
    {
    }

    bool hasColumn(const char* column) const { return columns_.count(lowered(column)) != 0; }

    // The field without surrounding blanks; empty when the column is missing.
    std::string operator[](const char* column) const
    {
        const auto found = columns_.find(lowered(column));
        if (found == columns_.end() || found->second >= record_.fields.size())
            return std::string();
        return trimmed(record_.fields[found->second], kBlanks);
    }

    void report(const std::string& text, const std::string& kind) { out_.valueProblems.push_back({text, kind}); }
    // 'Column "value" why', the value as the row holds it.
    void refuse(const char* column, const std::string& why)
    {
        report(column + (" " + quoted((*this)[column]) + " ") + why, column + (" " + why));
    }
    bool hasProblems() const { return !out_.valueProblems.empty(); }

private:
    const CsvRecord& record_;
    const ColumnPositions& columns_;
    ListRow& out_;
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

Tones crossTones(Row& row)
{
    static const std::vector<std::string> crossModes{"Tone->Tone", "Tone->DTCS", "DTCS->Tone", "DTCS->DTCS",
                                                     "->Tone",     "->DTCS",     "DTCS->",     "Tone->"};
    Tones tones;
    if (!row.hasColumn(kCrossMode)) {
        row.report(std::string(kTone) + " \"Cross\" needs a " + kCrossMode + " column, and the file has none",
                   std::string(kTone) + " Cross without a " + kCrossMode + " column");
        return tones;
    }
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
    return tones;
}

Tones tonesOf(Row& row)
{
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
        return crossTones(row);
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

// The TX frequency, -1 for none (Duplex off), nothing when refused.
std::optional<long long> transmitOf(Row& row, std::optional<long long> receive)
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
        const std::string text = "the TX frequency, " + std::string(kFrequency) + " - " + kOffset + ", is below 0 MHz";
        row.report(text, text);
        return std::nullopt;
    }
    return transmit;
}

int channelOf(const std::string& text)
{
    if (isDigits(text) && text.size() <= 2) {
        const int channel = std::stoi(text);
        if (channel >= 1 && channel <= kChannels)
            return channel;
    }
    return 0;
}

} // namespace

std::string lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

ListRow readListRow(const CsvRecord& record, const ColumnPositions& columns)
{
    ListRow out;
    out.line = record.line;
    Row row(record, columns, out);
    out.name = row[kName];
    out.locationText = row[kLocation];
    out.location = channelOf(out.locationText);

    const std::optional<long long> receive = frequencyField(row, kFrequency);
    const std::optional<long long> transmit = transmitOf(row, receive);
    const Tones tones = tonesOf(row);
    out.cells[ColPower - 1] = powerOf(row);
    out.cells[ColBandwidth - 1] = bandwidthOf(row);
    if (tones.receive)
        out.cells[ColDecode - 1] = toneCell(*tones.receive);
    if (tones.transmit)
        out.cells[ColEncode - 1] = toneCell(*tones.transmit);
    if (receive) {
        out.frequencies.push_back({ColRx, *receive});
        out.cells[ColRx - 1] = fixedPointText(*receive, 3, 5);
    }
    if (transmit && *transmit >= 0) {
        out.frequencies.push_back({ColTx, *transmit, transmit == receive && row[kDuplex].empty()});
        out.cells[ColTx - 1] = fixedPointText(*transmit, 3, 5);
    }
    return out;
}

} // namespace zk::csv
