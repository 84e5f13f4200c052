#pragma once
// Puts a channel plan into the virtual radio's memory, as a complete write
// would leave it, so a read has something known to find.
#include "ChannelTable.h"
#include "Codec.h"
#include "HexText.h"
#include "VirtualRadio.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zk::test {

inline std::uint16_t channelAddress(int row)
{
    return static_cast<std::uint16_t>(0x10 + 16 * (row - 1));
}

inline constexpr std::uint16_t kSettingsAddress = 0x12F;

// Four channels spread over the four blocks, tones of every kind, and all
// five settings away from their first item.
inline ChannelTable sampleRadioPlan()
{
    ChannelTable t;
    const char* rows[][7] = {
        {"1", "146.25000", "146.25000", "67.0HZ", "67.0HZ", "High", "Wide"},
        {"6", "145.50000", "145.50000", "D023N", "OFF", "Low", "Narrow"},
        {"11", "438.51250", "430.51250", "OFF", "D754I", "High", "Narrow"},
        {"16", "461.42500", "146.25000", "88.5HZ", "D023I", "Low", "Wide"},
    };
    for (const auto& row : rows)
        for (int c = 1; c < kColumns; ++c)
            t.setCell(c, std::stoi(row[0]), row[c]);
    t.setSetting(0, 2);
    t.setSetting(1, 40);
    t.setSetting(2, 9);
    t.setSetting(3, 1);
    t.setSetting(4, 8);
    return t;
}

inline void loadPlanIntoRadio(VirtualRadio& radio, const ChannelTable& plan)
{
    for (int row = 1; row <= kChannels; ++row)
        radio.writeMemory(channelAddress(row), fromHexText(encodeChannelRecord(plan, row)));
    radio.writeMemory(kSettingsAddress, fromHexText(encodeSettingsRecord(plan)));
}

// One more radio on its own pseudo-terminal, started, falling silent after
// `answers` commands when given.
inline VirtualRadio& addRadio(std::vector<std::unique_ptr<VirtualRadio>>& radios, int answers = RadioFaults::kOff)
{
    radios.push_back(std::make_unique<VirtualRadio>());
    RadioFaults faults;
    faults.silentAfter = answers;
    radios.back()->setFaults(faults);
    radios.back()->start();
    return *radios.back();
}

} // namespace zk::test
