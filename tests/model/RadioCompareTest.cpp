// The radio image and the comparisons verify and restore report.
#include "Codec.h"
#include "HexText.h"
#include "RadioCompare.h"
#include "RadioImage.h"

#include <gtest/gtest.h>

using namespace zk;

namespace {

void putRecord(RadioImage& image, std::size_t address, const std::string& hex)
{
    const std::vector<std::uint8_t> bytes = fromHexText(hex);
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(address));
}

// A radio holding exactly what writing the plan would leave.
RadioImage imageOf(const ChannelTable& plan)
{
    RadioImage image = blankImage();
    for (int row = 1; row <= kChannels; ++row)
        putRecord(image, 0x10 + 16 * static_cast<std::size_t>(row - 1), encodeChannelRecord(plan, row));
    putRecord(image, 0x12F, encodeSettingsRecord(plan));
    return image;
}

ChannelTable onePlan()
{
    ChannelTable plan;
    plan.setCell(ColRx, 2, "146.52000");
    plan.setCell(ColTx, 2, "146.52000");
    plan.setCell(ColDecode, 2, "0FF");
    plan.setCell(ColEncode, 2, "D023N");
    plan.setCell(ColPower, 2, "High");
    plan.setCell(ColBandwidth, 2, "Wide");
    plan.setSetting(4, 3);
    return plan;
}

} // namespace

TEST(RadioImage, ReadRepliesLandAtTheirAddressesAndWritesCarryWhatIsStored)
{
    RadioImage image = blankImage();
    std::string reply = "52012F40";
    for (int i = 0; i < 64; ++i)
        reply += toHexText(std::vector<std::uint8_t>{static_cast<std::uint8_t>(i)});
    storeReadReply(image, 4, reply);
    EXPECT_EQ(image[0x12E], 0xFF);
    EXPECT_EQ(image[0x12F], 0x00);
    EXPECT_EQ(image[0x16E], 63);
    EXPECT_EQ(image[0x16F], 0xFF);
    EXPECT_EQ(blockWriteData(image, 4), reply.substr(8, 32)); // the 16 settings bytes only
    EXPECT_EQ(blockWriteData(image, 0), std::string(128, 'F'));
    EXPECT_EQ(writtenAddresses().size(), 4u * 64 + 16);
    EXPECT_EQ(writtenAddresses().back(), 0x13Eu);
}

TEST(RadioCompare, OnlyWhatAReadWouldShowCounts)
{
    const ChannelTable plan = onePlan();
    RadioImage radio = imageOf(plan);
    // Bytes no cell shows: the reserved ones and the unused flag bits.
    radio[0x20 + 12] = 0x12;
    radio[0x20 + 13] |= 0x01;
    radio[0x20 + 15] = 0x00;
    radio[0x12F + 3] = 0x44;
    EXPECT_TRUE(differencesFromPlan(radio, plan).empty());
    // ... but a restore puts every one of them back, so it compares them all.
    EXPECT_EQ(differencesFromImage(radio, imageOf(plan)),
              (std::vector<std::string>{"channel 2: radio 0020651400206514FFFF13201231FF00, image "
                                        "0020651400206514FFFF1320FF30FFFF",
                                        "settings: radio 0000FF44FF00FFFFFFFF0004FFFFFFFF, image "
                                        "0000FFFFFF00FFFFFFFF0004FFFFFFFF"}));
}

TEST(RadioCompare, EveryChannelCellIsCompared)
{
    const ChannelTable plan = onePlan();
    ChannelTable held = plan;
    held.setCell(ColTx, 2, "146.40000");
    held.setCell(ColEncode, 2, "D023I");
    held.setCell(ColBandwidth, 2, "Narrow");
    EXPECT_EQ(differencesFromPlan(imageOf(held), plan),
              (std::vector<std::string>{"channel 2: TX Frequency radio 146.40000, plan 146.52000; "
                                        "QT/DQT Enc radio D023I, plan D023N; W/N radio Narrow, plan Wide"}));

    // The last channel is compared as the first.
    ChannelTable last = plan;
    last.setCell(ColRx, 16, "147.00000");
    last.setCell(ColTx, 16, "147.00000");
    last.setCell(ColDecode, 16, "0FF");
    last.setCell(ColEncode, 16, "0FF");
    last.setCell(ColPower, 16, "Low");
    last.setCell(ColBandwidth, 16, "Wide");
    held = last;
    held.setCell(ColPower, 16, "High");
    EXPECT_EQ(differencesFromPlan(imageOf(held), last),
              std::vector<std::string>{"channel 16: TX Power radio High, plan Low"});
}

TEST(RadioCompare, UnreadableFrequenciesAndSettingsAreShownAsTheyAre)
{
    const ChannelTable plan = onePlan();
    RadioImage radio = imageOf(plan);
    radio[0x20 + 1] = 0x5A;   // a non-decimal digit in channel 2's receive frequency
    radio[0x12F + 11] = 0x00; // a VOX delay no list item stands for
    radio[0x12F + 5] = 0x0A;  // nor a squelch level of 10
    EXPECT_EQ(differencesFromPlan(radio, plan),
              (std::vector<std::string>{"channel 2: RX Frequency radio 146.55A00, plan 146.52000",
                                        "setting Squelch Level: radio (none), plan 0",
                                        "setting VOX Delay Time: radio (none), plan 4"}));

    ChannelTable bad = plan;
    bad.setCell(ColEncode, 2, "88.5");
    EXPECT_THROW(differencesFromPlan(radio, bad), EncodeError);
}
