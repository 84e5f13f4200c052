#pragma once
// Puts a channel plan into the virtual radio's memory, as a complete write
// would leave it, so a read has something known to find.
#include "ChannelTable.h"
#include "Codec.h"
#include "HexText.h"
#include "VirtualRadio.h"

#include <cstdint>

namespace zk::test {

inline std::uint16_t channelAddress(int row)
{
    return static_cast<std::uint16_t>(0x10 + 16 * (row - 1));
}

inline constexpr std::uint16_t kSettingsAddress = 0x12F;

inline void loadPlanIntoRadio(VirtualRadio& radio, const ChannelTable& plan)
{
    for (int row = 1; row <= kChannels; ++row)
        radio.writeMemory(channelAddress(row), fromHexText(encodeChannelRecord(plan, row)));
    radio.writeMemory(kSettingsAddress, fromHexText(encodeSettingsRecord(plan)));
}

} // namespace zk::test
