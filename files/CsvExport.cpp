// A channel plan as CSV text: a header row and one row per channel.
#include "Codec.h"
#include "CsvFields.h"
#include "CsvPlan.h"
#include "CsvText.h"
#include "Errors.h"
#include "VisibleText.h"

#include <algorithm>
#include <optional>

namespace zk {

using namespace csv;

namespace {

// TX and RX this far apart or more are written as a split, not an offset.
constexpr long long kLargestOffset = 100 * kFixedPointOne;

std::string megahertzField(long long value)
{
    return fixedPointText(value, 1, 6);
}

// The tuning step the receive frequency (in 10 Hz units) lies on: 5 kHz
// when it can, else 6.25 kHz; 5 kHz also for one on neither, as before.
const char* stepField(long long receive)
{
    constexpr long long kFiveKilohertz = 500;
    constexpr long long kSixPointTwoFiveKilohertz = 625;
    if (receive % kFiveKilohertz != 0 && receive % kSixPointTwoFiveKilohertz == 0)
        return "6.25";
    return "5.00";
}

// The row being built, its fields set by column name.
class CsvRow {
public:
    CsvRow() : fields_(csvHeader().size()) {}

    void set(const char* column, const std::string& value)
    {
        const auto& header = csvHeader();
        fields_.at(static_cast<std::size_t>(std::find(header.begin(), header.end(), column) - header.begin())) = value;
    }
    const std::vector<std::string>& fields() const { return fields_; }

private:
    std::vector<std::string> fields_;
};

const char* crossName(const ToneSide& side)
{
    switch (side.kind) {
    case ToneSide::Ctcss:
        return "Tone";
    case ToneSide::Dcs:
        return "DTCS";
    case ToneSide::None:
        break;
    }
    return "";
}

void setTones(CsvRow& row, const ToneSide& transmit, const ToneSide& receive)
{
    const bool sameTone = transmit.kind == receive.kind && transmit.value == receive.value;
    if (transmit.kind == ToneSide::None && receive.kind == ToneSide::None)
        return;
    if (transmit.kind == ToneSide::Ctcss && receive.kind == ToneSide::None) {
        row.set(kTone, "Tone");
        row.set(kRToneFreq, transmit.value);
    } else if (transmit.kind == ToneSide::Ctcss && sameTone) {
        row.set(kTone, "TSQL");
        row.set(kCToneFreq, transmit.value);
    } else if (transmit.kind == ToneSide::Dcs && sameTone) {
        row.set(kTone, "DTCS");
        row.set(kDtcsCode, transmit.value);
        row.set(kDtcsPolarity, std::string{transmit.polarity, receive.polarity});
    } else {
        row.set(kTone, "Cross");
        row.set(kCrossMode, std::string(crossName(transmit)) + "->" + crossName(receive));
        if (transmit.kind == ToneSide::Ctcss)
            row.set(kRToneFreq, transmit.value);
        if (transmit.kind == ToneSide::Dcs)
            row.set(kDtcsCode, transmit.value);
        if (receive.kind == ToneSide::Ctcss)
            row.set(kCToneFreq, receive.value);
        if (receive.kind == ToneSide::Dcs)
            row.set(kRxDtcsCode, receive.value);
        row.set(kDtcsPolarity, std::string{transmit.kind == ToneSide::Dcs ? transmit.polarity : 'N',
                                           receive.kind == ToneSide::Dcs ? receive.polarity : 'N'});
    }
}

void setFrequencies(CsvRow& row, long long receive, std::optional<long long> transmit)
{
    row.set(kFrequency, megahertzField(receive));
    if (!transmit) {
        row.set(kDuplex, "off");
        return;
    }
    const long long offset = *transmit - receive;
    if (offset == 0)
        return;
    if (offset >= kLargestOffset || -offset >= kLargestOffset) {
        row.set(kDuplex, "split");
        row.set(kOffset, megahertzField(*transmit));
        return;
    }
    row.set(kDuplex, offset > 0 ? "+" : "-");
    row.set(kOffset, megahertzField(offset > 0 ? offset : -offset));
}

// The row of a channel, or nothing after adding to problems each cell that
// no CSV row can carry.
std::optional<CsvRow> channelRow(const ChannelTable& table, int channel, std::vector<std::string>& problems)
{
    const std::size_t before = problems.size();
    auto refuse = [&](int column) {
        problems.push_back("Channel " + std::to_string(channel) + ", " +
                           columnHeaders()[static_cast<std::size_t>(column)] + ": \"" +
                           visibleText(table.cell(column, channel)) + "\" cannot be written to a CSV file");
    };
    auto frequency = [&](int column) -> std::optional<long long> {
        const std::string& text = table.cell(column, channel);
        if (isStorableFrequency(text))
            return parseFixedPoint(text);
        if (!text.empty() || column == ColRx)
            refuse(column);
        return std::nullopt;
    };
    auto tone = [&](int column) {
        const auto side = toneSideOfCell(table.cell(column, channel));
        if (!side)
            refuse(column);
        return side.value_or(ToneSide{});
    };
    auto choice = [&](int column, const std::string& first, const std::string& second, const char* firstText,
                      const char* secondText) {
        const std::string& text = table.cell(column, channel);
        if (text == first)
            return std::string(firstText);
        if (text == second)
            return std::string(secondText);
        if (!text.empty())
            refuse(column);
        return std::string(); // an empty cell imports as the editor's default
    };
    const std::optional<long long> receive = frequency(ColRx);
    const std::optional<long long> transmit = frequency(ColTx);
    const ToneSide receiveTone = tone(ColDecode);
    const ToneSide transmitTone = tone(ColEncode);
    const std::string power = choice(ColPower, "High", "Low", "High", "Low");
    const std::string mode = choice(ColBandwidth, "Wide", "Narrow", "FM", "NFM");
    if (problems.size() != before)
        return std::nullopt;

    CsvRow row;
    row.set(kLocation, std::to_string(channel));
    row.set(kRToneFreq, "88.5");
    row.set(kCToneFreq, "88.5");
    row.set(kDtcsCode, "023");
    row.set(kDtcsPolarity, "NN");
    row.set(kRxDtcsCode, "023");
    row.set(kCrossMode, "Tone->Tone");
    row.set(kTStep, stepField(*receive));
    row.set(kOffset, megahertzField(0));
    setFrequencies(row, *receive, transmit);
    setTones(row, transmitTone, receiveTone);
    row.set(kMode, mode);
    row.set(kPower, power);
    return row;
}

} // namespace

const std::vector<std::string>& csvHeader()
{
    static const std::vector<std::string> header{
        kLocation,   kName,      kFrequency, kDuplex, kOffset, kTone,  kRToneFreq, kCToneFreq, kDtcsCode, kDtcsPolarity,
        kRxDtcsCode, kCrossMode, kMode,      kTStep,  "Skip",  kPower, "Comment",  "URCALL",   "RPT1CALL", "RPT2CALL",
        "DVCODE"};
    return header;
}

std::string writeCsvPlan(const ChannelTable& table)
{
    std::string text = csvLine(csvHeader());
    std::vector<std::string> problems;
    for (int channel = 1; channel <= kChannels; ++channel) {
        if (table.rowIsEmpty(channel))
            continue;
        if (const auto row = channelRow(table, channel, problems))
            text += csvLine(row->fields());
    }
    if (!problems.empty()) {
        std::string message = "The plan cannot be exported; nothing was written:";
        for (const std::string& problem : problems)
            message += "\n" + problem;
        throw AppError(message);
    }
    return text;
}

void exportCsvFile(const std::string& path, const ChannelTable& table)
{
    replaceFile(path, writeCsvPlan(table));
}

} // namespace zk
