#include "ChannelTable.h"
#include "Errors.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zk;

TEST(ChannelTable, NewTableHasHeadersNumbersAndEmptyChannels)
{
    ChannelTable table;
    const std::vector<std::string> headers{"Channel", "RX Frequency", "TX Frequency", "QT/DQT Dec",
                                           "QT/DQT Enc", "TX Power", "W/N"};
    for (int c = 0; c < kColumns; ++c)
        EXPECT_EQ(table.cell(c, 0), headers[static_cast<std::size_t>(c)]);
    for (int r = 1; r < kRows; ++r) {
        EXPECT_EQ(table.cell(0, r), std::to_string(r));
        for (int c = 1; c < kColumns; ++c)
            EXPECT_TRUE(table.cell(c, r).empty());
        EXPECT_TRUE(table.rowIsEmpty(r));
    }
    for (int s = 0; s < kSettings; ++s)
        EXPECT_EQ(table.setting(s), 0);
    EXPECT_EQ(table.band(), 1);
    EXPECT_EQ(table.lowLimit(), 136);
    EXPECT_EQ(table.highLimit(), 174);
}

TEST(ChannelTable, SettingsShowTheirFirstItemsAndOutOfRangeMeansNoSelection)
{
    EXPECT_EQ(settingsList(0)[0], "OFF");
    EXPECT_EQ(settingsList(1)[0], "0FF");
    EXPECT_EQ(settingsList(1).size(), 41u);
    EXPECT_EQ(settingsList(1)[40], "600");
    EXPECT_EQ(settingsList(2)[0], "0");
    EXPECT_EQ(settingsList(3)[0], "OFF");
    EXPECT_EQ(settingsList(4)[0], "1");
    EXPECT_EQ(settingsList(4)[8], "9");

    ChannelTable table;
    table.setSetting(4, 8);
    EXPECT_EQ(table.setting(4), 8);
    table.setSetting(4, 9);
    EXPECT_EQ(table.setting(4), ChannelTable::kNoSelection);
    table.setSetting(0, -1);
    EXPECT_EQ(table.setting(0), ChannelTable::kNoSelection);
    table.resetSettings();
    EXPECT_EQ(table.setting(0), 0);
    EXPECT_EQ(table.setting(4), 0);
}

TEST(ChannelTable, ToneListHas206ItemsInOrder)
{
    const auto& tones = toneList();
    ASSERT_EQ(tones.size(), 206u);
    EXPECT_EQ(tones[0], "OFF");
    EXPECT_EQ(tones[1], "67.0HZ");
    EXPECT_EQ(tones[39], "250.3HZ");
    EXPECT_EQ(tones[40], "D023N");
    EXPECT_EQ(tones[122], "D754N");
    EXPECT_EQ(tones[123], "D023I");
    EXPECT_EQ(tones[205], "D754I");
}

TEST(ChannelTable, ClearChannelsKeepsNumbersHeadersSettingsAndBand)
{
    ChannelTable table;
    table.setCell(ColRx, 3, "145.00000");
    table.setCell(ColPower, 16, "High");
    table.setSetting(2, 5);
    table.setBand(4);
    table.clearChannels();
    EXPECT_TRUE(table.cell(ColRx, 3).empty());
    EXPECT_TRUE(table.cell(ColPower, 16).empty());
    EXPECT_EQ(table.cell(0, 3), "3");
    EXPECT_EQ(table.cell(1, 0), "RX Frequency");
    EXPECT_EQ(table.setting(2), 5);
    EXPECT_EQ(table.band(), 4);
}

TEST(ChannelTable, BandsOverlapAndTellTheListener)
{
    struct Recorder : ChannelTableListener {
        std::vector<int> bands;
        int cells = 0;
        void cellChanged(int, int) override { ++cells; }
        void settingChanged(int) override {}
        void bandChanged(int band) override { bands.push_back(band); }
    } recorder;
    ChannelTable table;
    table.setListener(&recorder);
    table.setBand(5);
    EXPECT_EQ(table.lowLimit(), 440);
    EXPECT_EQ(table.highLimit(), 520);
    table.setBand(4);
    EXPECT_EQ(table.highLimit(), 490);
    table.setCell(ColRx, 1, "450.00000");
    table.setCell(ColRx, 1, "450.00000"); // unchanged: no notice
    EXPECT_EQ(recorder.bands, (std::vector<int>{5, 4}));
    EXPECT_EQ(recorder.cells, 1);
}

TEST(Errors, NumbersAreReadWholeAndIgnoreTheLocale)
{
    EXPECT_EQ(parseInteger("-1"), -1);
    EXPECT_EQ(parseInteger(" 12 "), 12);
    EXPECT_THROW(parseInteger("1x"), AppError);
    EXPECT_THROW(parseInteger(""), AppError);
    EXPECT_THROW(parseInteger("99999999999"), AppError);
    EXPECT_DOUBLE_EQ(parseDecimal("145.50000"), 145.5);
    EXPECT_DOUBLE_EQ(parseDecimal("0136.0000"), 136.0);
    try {
        parseDecimal("146.2A000");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "'146.2A000' is not a valid floating point value");
    }
    EXPECT_THROW(parseDecimal("1.2.3"), AppError);
    EXPECT_THROW(parseDecimal("."), AppError);
    EXPECT_THROW(parseDecimal("1e5"), AppError);
}
