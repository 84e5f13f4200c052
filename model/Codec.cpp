#include "Codec.h"

#include "HexText.h"
#include "VisibleText.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace zk {

namespace {

constexpr std::string_view kNoFrequency = "FFFFFFFF";

std::string reversePairs(std::string_view eightDigits)
{
    return std::string(eightDigits.substr(6, 2)) + std::string(eightDigits.substr(4, 2)) +
           std::string(eightDigits.substr(2, 2)) + std::string(eightDigits.substr(0, 2));
}

// The first `needed` digits of a record, in upper case as the link forms
// them, so lower-case text from elsewhere reads the same.
std::string checkedRecord(std::string_view record, std::size_t needed)
{
    if (record.size() < needed || !isHexText(record.substr(0, needed)))
        throw AppError("'" + visibleText(record) + "' is not a memory record");
    std::string upper(record.substr(0, needed));
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string decodeFrequency(std::string_view field)
{
    if (field == kNoFrequency)
        return std::string();
    const std::string d = reversePairs(field);
    return d.substr(0, 3) + "." + d.substr(3);
}

std::string decodeTone(std::string_view field, bool frequencyEmpty)
{
    const std::string word = std::string(field.substr(2, 2)) + std::string(field.substr(0, 2));
    if (word == "FFFF" || word == "0000")
        return frequencyEmpty ? std::string() : std::string("OFF");
    const unsigned value = static_cast<unsigned>(std::stoul(word, nullptr, 16));
    const std::string bits = toBinaryText(value, 16);
    const std::string prefix = bits.substr(0, 3);
    if (prefix == "001" || prefix == "101") {
        std::string text = "D";
        text += octalDigitOfBits(bits.substr(7, 3));
        text += octalDigitOfBits(bits.substr(10, 3));
        text += octalDigitOfBits(bits.substr(13, 3));
        text += prefix == "001" ? "N" : "I";
        return text;
    }
    const std::string s = std::to_string(value);
    return s.substr(0, s.size() - 1) + "." + s.substr(s.size() - 1) + "HZ";
}

const std::string& headerOf(int column)
{
    return columnHeaders()[static_cast<std::size_t>(column)];
}

[[noreturn]] void refuseCell(const ChannelTable& table, int column, int row)
{
    throw EncodeError("Channel " + std::to_string(row) + ", " + headerOf(column) + ": \"" +
                      visibleText(table.cell(column, row)) + "\" cannot be stored in the radio");
}

std::string encodeFrequency(const ChannelTable& table, int column, int row)
{
    const std::string& text = table.cell(column, row);
    if (text.empty())
        return std::string(kNoFrequency);
    if (!isStorableFrequency(text))
        refuseCell(table, column, row);
    return reversePairs(text.substr(0, 3) + text.substr(4));
}

std::string removeAll(std::string text, std::string_view what)
{
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what))
        text.erase(at, what.size());
    return text;
}

std::string encodeToneWord(const ChannelTable& table, int column, int row)
{
    const std::string& text = table.cell(column, row);
    if (text.empty() || text == "OFF" || text == "0FF") // "0FF" as the editor writes it
        return "FFFF";
    if (text.find("HZ") != std::string::npos) {
        const std::string digits = removeAll(removeAll(text, "HZ"), ".");
        const bool decimal = !digits.empty() && digits.size() <= 9 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!decimal)
            refuseCell(table, column, row);
        const unsigned long tenths = std::stoul(digits);
        // "0" + at least two hex digits must make exactly one 16-bit word.
        if (tenths < 0x100 || tenths > 0xFFF)
            refuseCell(table, column, row);
        return hexOfBinary16(toBinaryText(static_cast<unsigned>(tenths), 16));
    }
    std::string prefix;
    if (text.find('N') != std::string::npos)
        prefix = "0010000";
    else if (text.find('I') != std::string::npos)
        prefix = "1010000";
    else
        refuseCell(table, column, row);
    if (text.size() < 4)
        refuseCell(table, column, row);
    std::string bits = prefix;
    for (std::size_t i = 1; i <= 3; ++i) {
        if (text[i] < '0' || text[i] > '7')
            refuseCell(table, column, row);
        bits += bitsOfOctalDigit(text[i]);
    }
    return hexOfBinary16(bits);
}

std::string encodeTone(const ChannelTable& table, int column, int row)
{
    const std::string word = encodeToneWord(table, column, row);
    return word.substr(2, 2) + word.substr(0, 2); // low byte first
}

int choiceIndex(const ChannelTable& table, int column, int row, const std::vector<std::string>& list)
{
    const std::string& text = table.cell(column, row);
    if (text.empty())
        return -1;
    const auto found = std::find(list.begin(), list.end(), text);
    if (found == list.end())
        refuseCell(table, column, row);
    return static_cast<int>(found - list.begin());
}

std::string settingName(int setting)
{
    std::string label = settingLabel(setting);
    while (!label.empty() && (label.back() == ' ' || label.back() == ':'))
        label.pop_back();
    return label;
}

} // namespace

bool isStorableFrequency(const std::string& text)
{
    if (text.size() != kFrequencyLength || text[3] != '.')
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 3)
            continue;
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    return true;
}

bool meetsStepRule(const std::string& frequencyText)
{
    // The digits without the point are the frequency in units of 10 Hz.
    long long tensOfHertz = 0;
    for (const char c : frequencyText)
        if (std::isdigit(static_cast<unsigned char>(c)))
            tensOfHertz = tensOfHertz * 10 + (c - '0');
    return tensOfHertz % 625 == 0 || tensOfHertz % 500 == 0;
}

std::string toBinaryText(unsigned value, int digits)
{
    std::string bits(static_cast<std::size_t>(digits), '0');
    for (int i = 0; i < digits; ++i)
        if (value & (1u << (digits - 1 - i)))
            bits[static_cast<std::size_t>(i)] = '1';
    return bits;
}

char octalDigitOfBits(std::string_view threeBits)
{
    if (threeBits.size() != 3)
        throw std::invalid_argument("three bits expected");
    int value = 0;
    for (char c : threeBits)
        value = value * 2 + (c == '1' ? 1 : 0);
    return static_cast<char>('0' + value);
}

std::string bitsOfOctalDigit(char digit)
{
    if (digit < '0' || digit > '7')
        throw std::invalid_argument("octal digit expected");
    return toBinaryText(static_cast<unsigned>(digit - '0'), 3);
}

std::string hexOfBinary16(std::string_view sixteenBits)
{
    if (sixteenBits.size() != 16)
        throw std::invalid_argument("sixteen bits expected");
    unsigned value = 0;
    for (char c : sixteenBits)
        value = value * 2 + (c == '1' ? 1u : 0u);
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)};
    return toHexText(bytes, 2);
}

void inferBand(ChannelTable& table, const std::string& frequencyText)
{
    const double mhz = parseDecimal(frequencyText);
    for (int b = 0; b < kBands; ++b) {
        const Band& band = bandTable()[static_cast<std::size_t>(b)];
        if (band.low <= mhz && mhz <= band.high) {
            table.setBand(b + 1);
            return;
        }
    }
}

void decodeChannelRecord(ChannelTable& table, std::string_view text, int row)
{
    const std::string checked = checkedRecord(text, kRecordHexLength);
    const std::string_view record = checked;
    const std::string rx = decodeFrequency(record.substr(0, 8));
    table.setCell(ColRx, row, rx);
    if (!rx.empty())
        inferBand(table, rx);
    const std::string tx = decodeFrequency(record.substr(8, 8));
    table.setCell(ColTx, row, tx);
    table.setCell(ColDecode, row, decodeTone(record.substr(16, 4), rx.empty()));
    table.setCell(ColEncode, row, decodeTone(record.substr(20, 4), tx.empty()));
    const std::string_view flags = record.substr(26, 2);
    if (flags == "FF") {
        table.setCell(ColPower, row, std::string());
        table.setCell(ColBandwidth, row, std::string());
    } else {
        const std::string bits = toBinaryText(fromHexText(flags)[0], 8);
        table.setCell(ColPower, row, bits[2] == '1' ? "High" : "Low");
        table.setCell(ColBandwidth, row, bits[3] == '1' ? "Wide" : "Narrow");
    }
}

void decodeSettingsRecord(ChannelTable& table, std::string_view record)
{
    const std::vector<std::uint8_t> bytes = fromHexText(checkedRecord(record, 24));
    // Byte of each list c1..c4; c5 stores the number it shows.
    const int positions[] = {0, 1, 5, 10};
    for (int s = 0; s < 4; ++s) {
        const int value = bytes[static_cast<std::size_t>(positions[s])];
        if (value < static_cast<int>(settingsList(s).size()))
            table.setSetting(s, value);
    }
    const int delay = bytes[11];
    if (delay >= 1 && delay <= static_cast<int>(settingsList(4).size()))
        table.setSetting(4, delay - 1);
}

std::string encodeChannelRecord(const ChannelTable& table, int row)
{
    std::string record = encodeFrequency(table, ColRx, row) + encodeFrequency(table, ColTx, row) +
                         encodeTone(table, ColDecode, row) + encodeTone(table, ColEncode, row) + "FF";
    const int power = choiceIndex(table, ColPower, row, powerList());
    const int bandwidth = choiceIndex(table, ColBandwidth, row, bandwidthList());
    if (power < 0 || bandwidth < 0) {
        record += "FF";
    } else {
        const std::uint8_t flags = static_cast<std::uint8_t>(power * 32 + bandwidth * 16);
        record += toHexText(&flags, 1);
    }
    return record + "FFFF";
}

std::string encodeSettingsRecord(const ChannelTable& table)
{
    std::uint8_t values[kSettings];
    for (int s = 0; s < kSettings; ++s) {
        const int index = table.setting(s);
        if (index < 0)
            throw EncodeError("Setting \"" + settingName(s) + "\" has no item chosen and cannot be stored in the radio");
        values[s] = static_cast<std::uint8_t>(s == 4 ? index + 1 : index);
    }
    auto hex = [&](int s) { return toHexText(&values[s], 1); };
    return hex(0) + hex(1) + "FFFFFF" + hex(2) + "FFFFFFFF" + hex(3) + hex(4) + "FFFFFFFF";
}

} // namespace zk
