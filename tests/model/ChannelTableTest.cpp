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
    // Typed out in full: a tone that differs in one digit from the one other
    // radios use would pass any check on a few items.
    const std::vector<std::string> expected{
        "OFF", "67.0HZ", "69.3HZ", "71.9HZ", "74.4HZ", "77.0HZ", "79.7HZ", "82.5HZ", "85.4HZ", "88.5HZ",
        "91.5HZ", "94.8HZ", "97.4HZ", "100.0HZ", "103.5HZ", "107.2HZ", "110.9HZ", "114.8HZ", "118.8HZ", "123.0HZ",
        "127.3HZ", "131.8HZ", "136.5HZ", "141.3HZ", "146.2HZ", "151.4HZ", "156.7HZ", "162.2HZ", "167.9HZ", "173.8HZ",
        "179.9HZ", "186.2HZ", "192.8HZ", "203.5HZ", "210.7HZ", "218.1HZ", "225.7HZ", "233.6HZ", "241.8HZ", "250.3HZ",
        "D023N", "D025N", "D026N", "D031N", "D032N", "D043N", "D047N", "D051N", "D054N", "D065N", "D071N", "D072N",
        "D073N", "D074N", "D114N", "D115N", "D116N", "D125N", "D131N", "D132N", "D134N", "D143N", "D152N", "D155N",
        "D156N", "D162N", "D165N", "D172N", "D174N", "D205N", "D223N", "D226N", "D243N", "D244N", "D245N", "D251N",
        "D261N", "D263N", "D265N", "D271N", "D306N", "D311N", "D315N", "D331N", "D343N", "D346N", "D351N", "D364N",
        "D365N", "D371N", "D411N", "D412N", "D413N", "D423N", "D431N", "D432N", "D445N", "D464N", "D465N", "D466N",
        "D503N", "D506N", "D516N", "D532N", "D546N", "D565N", "D606N", "D612N", "D624N", "D627N", "D631N", "D632N",
        "D654N", "D662N", "D664N", "D703N", "D712N", "D723N", "D731N", "D732N", "D734N", "D743N", "D754N",
        "D023I", "D025I", "D026I", "D031I", "D032I", "D043I", "D047I", "D051I", "D054I", "D065I", "D071I", "D072I",
        "D073I", "D074I", "D114I", "D115I", "D116I", "D125I", "D131I", "D132I", "D134I", "D143I", "D152I", "D155I",
        "D156I", "D162I", "D165I", "D172I", "D174I", "D205I", "D223I", "D226I", "D243I", "D244I", "D245I", "D251I",
        "D261I", "D263I", "D265I", "D271I", "D306I", "D311I", "D315I", "D331I", "D343I", "D346I", "D351I", "D364I",
        "D365I", "D371I", "D411I", "D412I", "D413I", "D423I", "D431I", "D432I", "D445I", "D464I", "D465I", "D466I",
        "D503I", "D506I", "D516I", "D532I", "D546I", "D565I", "D606I", "D612I", "D624I", "D627I", "D631I", "D632I",
        "D654I", "D662I", "D664I", "D703I", "D712I", "D723I", "D731I", "D732I", "D734I", "D743I", "D754I",
    };
    ASSERT_EQ(expected.size(), 206u);
    const auto& tones = toneList();
    ASSERT_EQ(tones.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(tones[i], expected[i]) << "item " << i;
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
