#include "PlanBand.h"

#include "Errors.h"
#include "Lists.h"

#include <optional>

namespace zk {

namespace {

std::optional<double> megahertz(const std::string& text)
{
    try {
        return parseDecimal(text);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

const Band& bandAt(int band)
{
    return bandTable()[static_cast<std::size_t>(band - 1)];
}

bool holds(const Band& band, const std::string& frequency)
{
    const std::optional<double> mhz = megahertz(frequency);
    return mhz && band.low <= *mhz && *mhz <= band.high;
}

// Every frequency of the channel lies in band (an empty cell is none).
bool channelFits(const ChannelTable& table, int row, const Band& band)
{
    for (const int column : {int{ColRx}, int{ColTx}}) {
        const std::string& text = table.cell(column, row);
        if (!text.empty() && !holds(band, text))
            return false;
    }
    return true;
}

} // namespace

int bandHoldingPlan(const ChannelTable& table)
{
    bool anyFrequency = false;
    for (int r = 1; r <= kChannels; ++r)
        anyFrequency = anyFrequency || !table.rowIsEmpty(r);
    if (!anyFrequency)
        return 0;
    for (int b = 1; b <= kBands; ++b)
        if (channelsOutsideBand(table, b).empty())
            return b;
    return 0;
}

std::vector<int> channelsOutsideBand(const ChannelTable& table, int band)
{
    std::vector<int> outside;
    for (int r = 1; r <= kChannels; ++r)
        if (!channelFits(table, r, bandAt(band)))
            outside.push_back(r);
    return outside;
}

void makePlanBandCurrent(ChannelTable& table)
{
    if (const int band = bandHoldingPlan(table); band != 0)
        table.setBand(band);
}

std::string outsideBandNote(const std::vector<int>& channels, int band)
{
    if (channels.empty())
        return {};
    std::string note = channels.size() == 1 ? "Channel " : "Channels ";
    for (std::size_t i = 0; i < channels.size(); ++i)
        note += (i > 0 ? ", " : "") + std::to_string(channels[i]);
    note += channels.size() == 1 ? " lies outside " : " lie outside ";
    return note + bandAt(band).caption;
}

} // namespace zk
