#include "RadioCompare.h"

#include "Codec.h"

#include <algorithm>
#include <string_view>

namespace zk {

namespace {

constexpr int kSettingsBlock = 4;
constexpr std::string_view kNoFrequency = "FFFFFFFF";

std::string shown(const std::string& text)
{
    return text.empty() ? "empty" : text;
}

// The cells a read would put into a row. A receive frequency with a
// non-decimal digit cannot be read into a band; such a record is decoded with
// a plain frequency in its place (the tones still see a frequency there), and
// the cell then shows the digits as they are.
ChannelTable decodedRow(const std::string& record, int row)
{
    ChannelTable table;
    try {
        decodeChannelRecord(table, record, row);
    } catch (const AppError&) {
        const std::string receive = table.cell(ColRx, row);
        std::string readable = record;
        readable.replace(0, kNoFrequency.size(), "00000000");
        decodeChannelRecord(table, readable, row);
        table.setCell(ColRx, row, receive);
    }
    return table;
}

// "Squelch Level      :" -> "Squelch Level"
std::string settingName(int setting)
{
    std::string name = settingLabel(setting);
    while (!name.empty() && (name.back() == ':' || name.back() == ' '))
        name.pop_back();
    return name;
}

// The settings a read would choose; a stored value out of range leaves
// nothing chosen, so it never passes for the first item.
ChannelTable decodedSettings(const std::string& record)
{
    ChannelTable table;
    for (int s = 0; s < kSettings; ++s)
        table.setSetting(s, ChannelTable::kNoSelection);
    decodeSettingsRecord(table, record);
    return table;
}

} // namespace

std::vector<std::string> encodePlan(const ChannelTable& plan)
{
    std::vector<std::string> records;
    for (int row = 1; row <= kChannels; ++row)
        records.push_back(encodeChannelRecord(plan, row));
    records.push_back(encodeSettingsRecord(plan));
    return records;
}

std::vector<std::string> differencesFromPlan(const RadioImage& radio, const ChannelTable& plan)
{
    const std::vector<std::string> planned = encodePlan(plan);
    std::vector<std::string> lines;
    for (int row = 1; row <= kChannels; ++row) {
        const ChannelTable inRadio = decodedRow(channelRecordOf(radio, row), row);
        const ChannelTable inPlan = decodedRow(planned[static_cast<std::size_t>(row - 1)], row);
        std::string line;
        for (int column = ColRx; column <= ColBandwidth; ++column) {
            const std::string& r = inRadio.cell(column, row);
            const std::string& p = inPlan.cell(column, row);
            if (r == p)
                continue;
            line += (line.empty() ? "channel " + std::to_string(row) + ": " : std::string("; ")) +
                    columnHeaders()[static_cast<std::size_t>(column)] + " radio " + shown(r) + ", plan " + shown(p);
        }
        if (!line.empty())
            lines.push_back(line);
    }
    const ChannelTable radioSettings = decodedSettings(settingsRecordOf(radio));
    const ChannelTable planSettings = decodedSettings(planned.back());
    for (int s = 0; s < kSettings; ++s) {
        if (radioSettings.setting(s) != planSettings.setting(s))
            lines.push_back("setting " + settingName(s) + ": radio " + settingItem(radioSettings, s) + ", plan " +
                            settingItem(planSettings, s));
    }
    return lines;
}

std::vector<std::string> differencesFromImage(const RadioImage& radio, const RadioImage& expected)
{
    std::vector<std::string> lines;
    for (int row = 1; row <= kChannels; ++row) {
        const std::string r = channelRecordOf(radio, row);
        const std::string e = channelRecordOf(expected, row);
        if (r != e)
            lines.push_back("channel " + std::to_string(row) + ": radio " + r + ", image " + e);
    }
    const std::string r = blockWriteData(radio, kSettingsBlock);
    const std::string e = blockWriteData(expected, kSettingsBlock);
    if (r != e)
        lines.push_back("settings: radio " + r + ", image " + e);
    return lines;
}

} // namespace zk
