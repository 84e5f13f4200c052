// The checks of what a radio holds, against the virtual radio: a plan or an
// image that matches, one line per difference otherwise, and a plan no
// record can store refused before anything is sent.
#include "EngineOnRadio.h"
#include "Codec.h"
#include "RadioChecks.h"
#include "RadioMemory.h"

using namespace zk;

namespace {

using RadioChecks = test::EngineOnRadio;

TEST_F(RadioChecks, APlanTheRadioHoldsMatchesAndAChangedCellIsNamed)
{
    ChannelTable plan = test::sampleRadioPlan();
    test::loadPlanIntoRadio(radio, plan);
    table.setCell(ColRx, 1, "150.00000"); // the engine's table is not what is checked

    CheckResult check = verifyAgainstPlan(engine, plan, recorder());
    EXPECT_EQ(check.transfer.outcome, TransferOutcome::Succeeded);
    EXPECT_TRUE(check.differences.empty());
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(table.cell(ColRx, 1), "150.00000");

    plan.setCell(ColRx, 6, "146.00000");
    plan.setCell(ColBandwidth, 6, "Wide");
    check = verifyAgainstPlan(engine, plan, nullptr);
    EXPECT_EQ(check.differences,
              (std::vector<std::string>{"channel 6: RX Frequency radio 145.50000, plan 146.00000; "
                                        "W/N radio Narrow, plan Wide"}));
}

TEST_F(RadioChecks, APlanNoRecordCanStoreIsRefusedBeforeAnythingIsSent)
{
    ChannelTable plan;
    plan.setCell(ColBandwidth, 1, "Medium"); // no such item
    EXPECT_THROW(verifyAgainstPlan(engine, plan, nullptr), EncodeError);
    pumpEventsFor(100);
    EXPECT_TRUE(radio.received().empty());
}

TEST_F(RadioChecks, AnImageIsComparedByteForByte)
{
    test::loadPlanIntoRadio(radio, test::sampleRadioPlan());
    RadioImage image{};
    const RadioImage memory = radio.memory();
    std::copy(memory.begin(), memory.end(), image.begin());

    CheckResult check = verifyAgainstImage(engine, image, nullptr);
    EXPECT_EQ(check.transfer.outcome, TransferOutcome::Succeeded);
    EXPECT_TRUE(check.differences.empty());

    radio.writeMemory(test::channelAddress(3), std::vector<std::uint8_t>(16, 0xAB));
    std::fill_n(image.begin() + test::channelAddress(3), 16, 0xCD);
    radio.writeMemory(test::kSettingsAddress, std::vector<std::uint8_t>(16, 0x33));
    std::fill_n(image.begin() + test::kSettingsAddress, 16, 0x44);
    check = verifyAgainstImage(engine, image, nullptr);
    EXPECT_EQ(check.differences,
              (std::vector<std::string>{
                  "channel 3: radio ABABABABABABABABABABABABABABABAB, image CDCDCDCDCDCDCDCDCDCDCDCDCDCDCDCD",
                  "settings: radio 33333333333333333333333333333333, image 44444444444444444444444444444444",
              }));
}

TEST_F(RadioChecks, ASilentRadioGivesTheFailedReadAndNoDifferences)
{
    RadioFaults faults;
    faults.silentAfter = 0;
    radio.setFaults(faults);
    const CheckResult check = verifyAgainstImage(engine, blankImage(), nullptr);
    EXPECT_EQ(check.transfer.outcome, TransferOutcome::Failed);
    EXPECT_TRUE(check.differences.empty());
}

} // namespace
