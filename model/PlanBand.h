#pragma once
// Which band a whole plan belongs to: the one a plan opened from a file
// makes current, and the channels that lie outside the band in force.
#include "ChannelTable.h"

#include <string>
#include <vector>

namespace zk {

// The first band, in menu order, whose limits hold every RX and TX frequency
// of the table's channels; 0 when the table has no frequency or no band holds
// them all. A frequency cell that is not a number lies in no band.
int bandHoldingPlan(const ChannelTable& table);

// Channels (1..16) with a frequency outside band, in channel order.
std::vector<int> channelsOutsideBand(const ChannelTable& table, int band);

// Makes bandHoldingPlan current, if there is one; the band stays otherwise.
void makePlanBandCurrent(ChannelTable& table);

// "Channels 3, 7 lie outside VHF:136-174", "Channel 3 lies outside ..."; empty
// for no channels.
std::string outsideBandNote(const std::vector<int>& channels, int band);

} // namespace zk
