#include "Codec.h"
#include "VisibleText.h"

#include <gtest/gtest.h>

using namespace zk;

namespace {

// A record's tone field as its word would be stored (low byte first).
std::string recordWithTones(const std::string& rx, const std::string& decodeWord, const std::string& encodeWord,
                            const std::string& flags = "FF")
{
    return rx + "FFFFFFFF" + decodeWord + encodeWord + "FF" + flags + "FFFF";
}

void setRow(ChannelTable& t, int row, const std::string& rx, const std::string& tx, const std::string& dec,
            const std::string& enc, const std::string& power, const std::string& width)
{
    t.setCell(ColRx, row, rx);
    t.setCell(ColTx, row, tx);
    t.setCell(ColDecode, row, dec);
    t.setCell(ColEncode, row, enc);
    t.setCell(ColPower, row, power);
    t.setCell(ColBandwidth, row, width);
}

} // namespace

TEST(Codec, SmallConversions)
{
    EXPECT_EQ(toBinaryText(0x029E, 16), "0000001010011110");
    EXPECT_EQ(toBinaryText(0x30, 8), "00110000");
    EXPECT_EQ(octalDigitOfBits("000"), '0');
    EXPECT_EQ(octalDigitOfBits("111"), '7');
    EXPECT_EQ(bitsOfOctalDigit('5'), "101");
    EXPECT_EQ(hexOfBinary16("1010000000010011"), "A013");
}

TEST(Codec, EmptyRowIsAllFAndBack)
{
    ChannelTable t;
    EXPECT_EQ(encodeChannelRecord(t, 1), std::string(32, 'F'));
    setRow(t, 2, "145.00000", "145.00000", "OFF", "OFF", "High", "Wide");
    decodeChannelRecord(t, std::string(32, 'F'), 2);
    for (int c = 1; c < kColumns; ++c)
        EXPECT_TRUE(t.cell(c, 2).empty()) << c;
}

TEST(Codec, FrequencyDigitsAreStoredLeastSignificantPairFirst)
{
    ChannelTable t;
    setRow(t, 1, "461.42500", "146.25000", "", "", "", "");
    EXPECT_EQ(encodeChannelRecord(t, 1).substr(0, 16), "0025144600506214");

    ChannelTable u;
    u.setBand(4);
    decodeChannelRecord(u, recordWithTones("00506214", "FFFF", "FFFF"), 1);
    EXPECT_EQ(u.cell(ColRx, 1), "146.25000");
    EXPECT_EQ(u.band(), 1); // inferred, and nothing was cleared
}

// A hand-edited "145.5" once went to the radio as 000.01455 MHz and
// "1.4550000" as 145.50000: only the radio's own form is encoded now, and
// a frequency outside every band still is, as a radio may hold one.
TEST(Codec, OnlyThreeDigitsAPointAndFiveDigitsAreAFrequency)
{
    for (const char* text : {"145.5", "14.5", "1.4550000", "145.500000", "0145.5000", "145,50000", "+45.50000",
                             "145.5000 ", "14550000."}) {
        ChannelTable t;
        setRow(t, 3, "145.00000", text, "", "", "", "");
        EXPECT_THROW(encodeChannelRecord(t, 3), EncodeError) << text;
    }
    ChannelTable t;
    setRow(t, 1, "999.99999", "000.00000", "", "", "", "");
    EXPECT_EQ(encodeChannelRecord(t, 1).substr(0, 16), "9999999900000000");
}

TEST(Codec, AThreeCharacterToneIsOnlyOffOrZeroFf)
{
    for (const char* text : {"XYZ", "off", "OF0", "1HZ", "D1N", "\x1b]0"}) {
        ChannelTable t;
        setRow(t, 2, "145.00000", "145.00000", "OFF", text, "", "");
        EXPECT_THROW(encodeChannelRecord(t, 2), EncodeError) << text;
    }
}

TEST(Codec, RefusalsShowControlCharactersEscaped)
{
    ChannelTable t;
    setRow(t, 4, "145.00000", "", "\x1b]0;owned\a", "", "", "");
    try {
        encodeChannelRecord(t, 4);
        FAIL();
    } catch (const EncodeError& e) {
        EXPECT_EQ(std::string(e.what()), "Channel 4, " + columnHeaders()[ColDecode] +
                                             ": \"\\x1B]0;owned\\x07\" cannot be stored in the radio");
    }
    EXPECT_EQ(visibleText("a\tb\r\n\x7f\xc2\x9b[2J\xff\xc3\xa9\xe2\x82\xac"),
              "a\\tb\\r\\n\\x7F\\u009B[2J\\xFF\xc3\xa9\xe2\x82\xac");
}

TEST(Codec, ToneWordsOfEveryKind)
{
    struct Case {
        const char* text;
        const char* stored;
    };
    const Case cases[] = {{"67.0HZ", "9E02"},  {"100.0HZ", "E803"}, {"250.3HZ", "C709"}, {"D023N", "1320"},
                          {"D023I", "13A0"},   {"D754N", "EC21"},   {"D754I", "ECA1"},   {"OFF", "FFFF"},
                          {"0FF", "FFFF"},     {"", "FFFF"}};
    for (const Case& c : cases) {
        ChannelTable t;
        setRow(t, 1, "145.00000", "145.00000", c.text, c.text, "", "");
        const std::string record = encodeChannelRecord(t, 1);
        EXPECT_EQ(record.substr(16, 4), c.stored) << c.text;
        EXPECT_EQ(record.substr(20, 4), c.stored) << c.text;
        ChannelTable back;
        decodeChannelRecord(back, record, 1);
        const std::string expected = (std::string(c.text).size() == 3 || std::string(c.text).empty()) ? "OFF" : c.text;
        EXPECT_EQ(back.cell(ColDecode, 1), expected);
        EXPECT_EQ(back.cell(ColEncode, 1), expected);
    }
}

TEST(Codec, NoToneFollowsItsFrequencyCell)
{
    ChannelTable t;
    // RX set, TX empty: decode tone "OFF", encode tone empty; 0000 counts as no tone.
    decodeChannelRecord(t, recordWithTones("00000045", "0000", "FFFF"), 1);
    EXPECT_EQ(t.cell(ColDecode, 1), "OFF");
    EXPECT_EQ(t.cell(ColEncode, 1), "");
    decodeChannelRecord(t, "FFFFFFFF00000045FFFF0000FFFFFFFF", 2);
    EXPECT_EQ(t.cell(ColDecode, 2), "");
    EXPECT_EQ(t.cell(ColEncode, 2), "OFF");
}

TEST(Codec, ToneWordsOutsideTheListDecodeAsComputed)
{
    ChannelTable t;
    // 0x0005 is CTCSS 0.5 Hz; 0x3FFF has bits 001 with code 777.
    decodeChannelRecord(t, recordWithTones("00000045", "0500", "FF3F"), 1);
    EXPECT_EQ(t.cell(ColDecode, 1), ".5HZ");
    EXPECT_EQ(t.cell(ColEncode, 1), "D777N"); // only FFFF and 0000 follow the TX cell
}

TEST(Codec, FlagsByte)
{
    ChannelTable t;
    setRow(t, 1, "145.00000", "", "OFF", "OFF", "High", "Wide");
    EXPECT_EQ(encodeChannelRecord(t, 1).substr(24, 8), "FF30FFFF");
    setRow(t, 1, "145.00000", "", "OFF", "OFF", "Low", "Narrow");
    EXPECT_EQ(encodeChannelRecord(t, 1).substr(26, 2), "00");
    setRow(t, 1, "145.00000", "", "OFF", "OFF", "High", "");
    const std::string record = encodeChannelRecord(t, 1);
    EXPECT_EQ(record.substr(26, 2), "FF");
    decodeChannelRecord(t, record, 1);
    EXPECT_EQ(t.cell(ColPower, 1), "");
    EXPECT_EQ(t.cell(ColBandwidth, 1), "");
    decodeChannelRecord(t, recordWithTones("00000045", "FFFF", "FFFF", "10"), 1);
    EXPECT_EQ(t.cell(ColPower, 1), "Low");
    EXPECT_EQ(t.cell(ColBandwidth, 1), "Wide");
}

TEST(Codec, BandInference)
{
    ChannelTable t;
    decodeChannelRecord(t, recordWithTones("00000045", "FFFF", "FFFF"), 1);
    EXPECT_EQ(t.band(), 4); // 450 lies in bands 4 and 5; 4 is tested first
    decodeChannelRecord(t, recordWithTones("00000050", "FFFF", "FFFF"), 2);
    EXPECT_EQ(t.band(), 5);
    decodeChannelRecord(t, recordWithTones("00000020", "FFFF", "FFFF"), 3);
    EXPECT_EQ(t.band(), 5); // 200 MHz is in no band
    EXPECT_EQ(t.cell(ColRx, 1), "450.00000");
}

TEST(Codec, NonDecimalRxDigitFailsAfterWritingTheRxCell)
{
    ChannelTable t;
    t.setCell(ColTx, 1, "keep");
    try {
        decodeChannelRecord(t, recordWithTones("00A01446", "FFFF", "FFFF"), 1);
        FAIL();
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "'461.4A000' is not a valid floating point value");
    }
    EXPECT_EQ(t.cell(ColRx, 1), "461.4A000");
    EXPECT_EQ(t.cell(ColTx, 1), "keep");
    // A TX field with such digits decodes without complaint.
    decodeChannelRecord(t, "FFFFFFFF00A01446FFFFFFFFFFFFFFFF", 2);
    EXPECT_EQ(t.cell(ColTx, 2), "461.4A000");
}

TEST(Codec, CellsWithoutAnEncodingAreRefusedWithChannelAndColumn)
{
    const struct {
        int column;
        const char* text;
    } bad[] = {{ColRx, "1"},           {ColRx, "1234.567890"}, {ColRx, "14A.00000"}, {ColTx, "."},
               {ColDecode, "88.5"},    {ColDecode, "2.5HZ"},   {ColDecode, "500.0HZ"}, {ColDecode, "x.yHZ"},
               {ColEncode, "D089N"},   {ColEncode, "DN"},      {ColPower, "Medium"},   {ColBandwidth, "wide"}};
    for (const auto& b : bad) {
        ChannelTable t;
        setRow(t, 7, "145.00000", "145.00000", "OFF", "OFF", "High", "Wide");
        t.setCell(b.column, 7, b.text);
        try {
            encodeChannelRecord(t, 7);
            ADD_FAILURE() << b.text;
        } catch (const EncodeError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Channel 7, " + columnHeaders()[static_cast<std::size_t>(b.column)] + ": \"" + b.text +
                          "\" cannot be stored in the radio");
        }
    }
}

TEST(Codec, SettingsRecord)
{
    ChannelTable t;
    EXPECT_EQ(encodeSettingsRecord(t), "0000FFFFFF00FFFFFFFF0001FFFFFFFF");
    t.setSetting(0, 2);
    t.setSetting(1, 40);
    t.setSetting(2, 9);
    t.setSetting(3, 1);
    t.setSetting(4, 8);
    const std::string record = encodeSettingsRecord(t);
    EXPECT_EQ(record, "0228FFFFFF09FFFFFFFF0109FFFFFFFF");
    ChannelTable back;
    decodeSettingsRecord(back, record);
    for (int s = 0; s < kSettings; ++s)
        EXPECT_EQ(back.setting(s), t.setting(s));

    // Out-of-range bytes leave their lists alone.
    decodeSettingsRecord(back, "0329FFFFFF0AFFFFFFFF020AFFFFFFFF");
    for (int s = 0; s < kSettings; ++s)
        EXPECT_EQ(back.setting(s), t.setting(s)) << s;
    decodeSettingsRecord(back, "0000FFFFFF00FFFFFFFF0000FFFFFFFF");
    EXPECT_EQ(back.setting(4), 8); // VOX delay byte 0 is out of range
    EXPECT_EQ(back.setting(2), 0);

    t.setSetting(1, -1);
    try {
        encodeSettingsRecord(t);
        FAIL();
    } catch (const EncodeError& e) {
        EXPECT_STREQ(e.what(), "Setting \"Time Out Timer(TOT)\" has no item chosen and cannot be stored in the radio");
    }
}

TEST(Codec, EveryListToneRoundTrips)
{
    for (const std::string& tone : toneList()) {
        ChannelTable t;
        setRow(t, 1, "145.00000", "", tone, "", "", "");
        ChannelTable back;
        decodeChannelRecord(back, encodeChannelRecord(t, 1), 1);
        EXPECT_EQ(back.cell(ColDecode, 1), tone);
    }
}

TEST(Codec, LowerCaseRecordsReadAsUpperCase)
{
    ChannelTable t;
    decodeChannelRecord(t, "00506214ffffffff9e02ffffff30ffff", 1);
    EXPECT_EQ(t.cell(ColRx, 1), "146.25000");
    EXPECT_EQ(t.cell(ColTx, 1), "");
    EXPECT_EQ(t.cell(ColDecode, 1), "67.0HZ");
    EXPECT_EQ(t.cell(ColPower, 1), "High");
    EXPECT_THROW(decodeChannelRecord(t, "0050621", 1), AppError);
}
