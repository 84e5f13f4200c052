#include "Codec.h"
#include "VisibleText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

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

// The record field of a frequency text: its eight digits, least significant
// pair first.
std::string storedFrequency(const std::string& text)
{
    const std::string digits = text.substr(0, 3) + text.substr(4);
    return digits.substr(6, 2) + digits.substr(4, 2) + digits.substr(2, 2) + digits.substr(0, 2);
}

// A tone word as a record stores it: low byte first.
std::string storedWord(std::uint16_t word)
{
    char text[5];
    std::snprintf(text, sizeof text, "%02X%02X", word & 0xFF, word >> 8);
    return text;
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

// A radio may hold a channel right on a band's edge; both edges belong to
// the band, and one step beyond them does not.
TEST(Codec, BandInferenceIncludesBothLimits)
{
    const struct {
        const char* rx;
        int band; // 0: no band, the current one stays
    } cases[] = {
        {"136.00000", 1}, {"174.00000", 1}, {"220.00000", 2}, {"260.00000", 2}, {"340.00000", 3},
        {"390.00000", 3}, {"400.00000", 4}, {"490.00000", 4}, {"440.00000", 4}, {"520.00000", 5},
        {"135.99999", 0}, {"174.00001", 0}, {"219.99999", 0}, {"260.00001", 0}, {"339.99999", 0},
        {"390.00001", 0}, {"399.99999", 0}, {"490.00001", 5}, {"520.00001", 0},
    };
    for (const auto& c : cases) {
        // Start from a band the frequency cannot give, so a miss shows.
        const int start = c.band == 2 ? 3 : 2;
        ChannelTable t;
        t.setBand(start);
        decodeChannelRecord(t, recordWithTones(storedFrequency(c.rx), "FFFF", "FFFF"), 1);
        ASSERT_EQ(t.cell(ColRx, 1), c.rx);
        EXPECT_EQ(t.band(), c.band == 0 ? start : c.band) << c.rx;
    }
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

TEST(Codec, EveryListToneIsStoredAsItsOwnWordAndRoundTrips)
{
    // Worked out apart from the list: a CTCSS tone is its frequency in tenths
    // of a hertz; a DCS code is its octal value with 0x2000 for normal and
    // 0xA000 for inverted polarity.
    const std::uint16_t ctcss[] = {
        0x029E, 0x02B5, 0x02CF, 0x02E8, 0x0302, 0x031D, 0x0339, 0x0356, 0x0375, 0x0393, 0x03B4, 0x03CE, 0x03E8,
        0x040B, 0x0430, 0x0455, 0x047C, 0x04A4, 0x04CE, 0x04F9, 0x0526, 0x0555, 0x0585, 0x05B6, 0x05EA, 0x061F,
        0x0656, 0x068F, 0x06CA, 0x0707, 0x0746, 0x0788, 0x07F3, 0x083B, 0x0885, 0x08D1, 0x0920, 0x0972, 0x09C7};
    const std::uint16_t dcsOctal[] = { // a leading 0 makes these octal
        0023, 0025, 0026, 0031, 0032, 0043, 0047, 0051, 0054, 0065, 0071, 0072, 0073, 0074, 0114, 0115, 0116,
        0125, 0131, 0132, 0134, 0143, 0152, 0155, 0156, 0162, 0165, 0172, 0174, 0205, 0223, 0226, 0243, 0244,
        0245, 0251, 0261, 0263, 0265, 0271, 0306, 0311, 0315, 0331, 0343, 0346, 0351, 0364, 0365, 0371, 0411,
        0412, 0413, 0423, 0431, 0432, 0445, 0464, 0465, 0466, 0503, 0506, 0516, 0532, 0546, 0565, 0606, 0612,
        0624, 0627, 0631, 0632, 0654, 0662, 0664, 0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754};
    std::vector<std::uint16_t> words{0xFFFF};
    words.insert(words.end(), std::begin(ctcss), std::end(ctcss));
    for (const unsigned polarity : {0x2000u, 0xA000u})
        for (const std::uint16_t code : dcsOctal)
            words.push_back(static_cast<std::uint16_t>(polarity | code));

    const auto& tones = toneList();
    ASSERT_EQ(tones.size(), words.size());
    for (std::size_t i = 0; i < tones.size(); ++i) {
        ChannelTable t;
        setRow(t, 1, "145.00000", "145.00000", tones[i], tones[i], "", "");
        const std::string record = encodeChannelRecord(t, 1);
        EXPECT_EQ(record.substr(16, 4), storedWord(words[i])) << "item " << i << " " << tones[i];
        EXPECT_EQ(record.substr(20, 4), storedWord(words[i])) << "item " << i << " " << tones[i];
        ChannelTable back;
        decodeChannelRecord(back, record, 1);
        EXPECT_EQ(back.cell(ColDecode, 1), tones[i]);
        EXPECT_EQ(back.cell(ColEncode, 1), tones[i]);
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
