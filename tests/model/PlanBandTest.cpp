// The band a whole plan belongs to, and the channels outside a band.
#include "PlanBand.h"

#include <gtest/gtest.h>

using namespace zk;

namespace {

ChannelTable planWith(std::initializer_list<std::tuple<int, std::string, std::string>> rows)
{
    ChannelTable table;
    for (const auto& [row, rx, tx] : rows) {
        table.setCell(ColRx, row, rx);
        table.setCell(ColTx, row, tx);
    }
    return table;
}

} // namespace

TEST(PlanBand, TheFirstBandInMenuOrderThatHoldsEveryFrequency)
{
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "145.00000", "145.60000"}})), 1);
    // 450 lies in bands 4 and 5: the first one wins.
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "450.00000", ""}, {9, "", "470.00000"}})), 4);
    // 500 is only in band 5, so the 450 channel goes along with it.
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "450.00000", ""}, {2, "500.00000", "500.00000"}})), 5);
    // Both limits belong to the band.
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "220.00000", "260.00000"}})), 2);
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "340.00000", "390.00000"}})), 3);
}

TEST(PlanBand, NoBandForAnEmptyPlanAMixedOneOrAFrequencyThatIsNoNumber)
{
    EXPECT_EQ(bandHoldingPlan(ChannelTable()), 0);
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "145.00000", ""}, {2, "450.00000", ""}})), 0);
    EXPECT_EQ(bandHoldingPlan(planWith({{1, "145.00000", "abc"}})), 0);
    EXPECT_EQ(bandHoldingPlan(planWith({{3, "600.00000", ""}})), 0);
}

TEST(PlanBand, MakingThePlansBandCurrentKeepsTheBandWhenNoneHoldsItAll)
{
    ChannelTable uhf = planWith({{4, "446.00625", "446.00625"}});
    uhf.setBand(1);
    makePlanBandCurrent(uhf);
    EXPECT_EQ(uhf.band(), 4);
    EXPECT_EQ(uhf.cell(ColRx, 4), "446.00625") << "nothing else changes";

    ChannelTable mixed = planWith({{1, "145.00000", ""}, {2, "450.00000", ""}});
    mixed.setBand(3);
    makePlanBandCurrent(mixed);
    EXPECT_EQ(mixed.band(), 3);
}

TEST(PlanBand, ChannelsOutsideABandAndTheNoteThatNamesThem)
{
    const ChannelTable table = planWith({{1, "145.00000", ""}, {3, "", "450.00000"}, {7, "145.00000", "146.5"},
                                         {16, "450.00000", "145.00000"}});
    EXPECT_EQ(channelsOutsideBand(table, 1), (std::vector<int>{3, 16}));
    EXPECT_EQ(channelsOutsideBand(table, 4), (std::vector<int>{1, 7, 16}));
    EXPECT_EQ(outsideBandNote({3, 16}, 1), "Channels 3, 16 lie outside VHF:136-174");
    EXPECT_EQ(outsideBandNote({5}, 5), "Channel 5 lies outside UHF:440-520");
    EXPECT_EQ(outsideBandNote({}, 2), "");
}
