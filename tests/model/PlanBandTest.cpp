// The band a whole plan belongs to, and the channels outside a band.
#include "PlanBand.h"

#include <gtest/gtest.h>

using namespace zk;

namespace {

// Rows of (channel, RX, TX).
ChannelTable planWith(std::initializer_list<std::tuple<int, std::string, std::string>> rows, int band = 1)
{
    ChannelTable table;
    table.setBand(band);
    for (const auto& [row, rx, tx] : rows) {
        table.setCell(ColRx, row, rx);
        table.setCell(ColTx, row, tx);
    }
    return table;
}

} // namespace

TEST(PlanBand, TheFirstBandInMenuOrderThatHoldsEveryFrequencyBecomesCurrent)
{
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "450.00000", ""}, {9, "", "470.00000"}})), 4) << "4 and 5 hold it";
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "450.00000", ""}, {2, "500.00000", ""}})), 5);
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "220.00000", "260.00000"}})), 2) << "both limits belong to the band";
    EXPECT_EQ(bandHoldingPlan(ChannelTable()), 0);
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "145.00000", "abc"}})), 0);
    ChannelTable mixed = planWith({{1, "145.00000", ""}, {2, "450.00000", ""}}, 3);
    makePlanBandCurrent(mixed);
    EXPECT_EQ(mixed.band(), 3) << "no band holds it all: the band stays";
}

TEST(PlanBand, ChannelsOutsideABandAndTheNoteThatNamesThem)
{
    const ChannelTable table =
        planWith({{1, "145.00000", ""}, {3, "", "450.00000"}, {7, "145.00000", "146.5"}, {16, "450.00000", "145.00000"}});
    EXPECT_EQ(channelsOutsideBand(table, 1), (std::vector<int>{3, 16}));
    EXPECT_EQ(channelsOutsideBand(table, 4), (std::vector<int>{1, 7, 16}));
    EXPECT_EQ(outsideBandNote({3, 16}, 1), "Channels 3, 16 lie outside VHF:136-174");
    EXPECT_EQ(outsideBandNote({5}, 5), "Channel 5 lies outside UHF:440-520");
    EXPECT_EQ(outsideBandNote({}, 2), "");
}
