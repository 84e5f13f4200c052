#pragma once
// Conversion between the channel table and the radio's 16-byte memory
// records, handled as 32-character hex text.
#include "ChannelTable.h"
#include "Errors.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zk {

// Radio memory layout as the link addresses it: block k (0..4) uses
// characters 4k..4k+3 of this text as its address, high byte first.
inline constexpr std::string_view kBlockAddressTable = "00100050009000D0012F";
inline constexpr int kBlocks = 5;
inline constexpr int kRecordHexLength = 32;

// A frequency text is at most this long: three digits, the point, five digits.
inline constexpr std::size_t kFrequencyLength = 9;

// True for the nine-character form a record stores: three digits, a point and
// five digits, whose eight digits are the frequency in units of 10 Hz.
// Anything else ("145.5", "1.4550000") would be stored as another frequency.
bool isStorableFrequency(const std::string& text);

// A frequency text (with its point) is a multiple of 6.25 kHz or of 5 kHz:
// the steps a channel's first frequency must keep. Only called for
// storable texts.
bool meetsStepRule(const std::string& frequencyText);

// A cell or setting that has no record encoding. Raised before anything is
// built, so a malformed record never reaches a radio.
class EncodeError : public AppError {
public:
    using AppError::AppError;
};

// Sets the six channel cells of row (1..16) from a 32-digit record and runs
// the band inference on the RX frequency. A non-decimal RX digit raises
// "'%s' is not a valid floating point value" after the RX cell was written.
void decodeChannelRecord(ChannelTable& table, std::string_view record, int row);

// Sets each of c1..c5 whose stored byte is in range, from the first 24
// digits of a settings record; the others keep their selection.
void decodeSettingsRecord(ChannelTable& table, std::string_view record);

// The 32-digit record of a channel row (1..16). Throws EncodeError naming
// the channel and the column when a cell has no encoding.
std::string encodeChannelRecord(const ChannelTable& table, int row);

// The 32-digit settings record. Throws EncodeError naming the setting when
// a list has no item chosen.
std::string encodeSettingsRecord(const ChannelTable& table);

// Makes current the first band (in table order) whose limits contain the
// frequency text read in MHz; a frequency in no band changes nothing.
// Throws "'%s' is not a valid floating point value" for a non-number.
void inferBand(ChannelTable& table, const std::string& frequencyText);

// Small conversions, most significant digit first.
std::string toBinaryText(unsigned value, int digits);  // zero-padded, 8 or 16
char octalDigitOfBits(std::string_view threeBits);     // "000".."111" -> '0'..'7'
std::string bitsOfOctalDigit(char digit);              // '0'..'7' -> "000".."111"
std::string hexOfBinary16(std::string_view sixteenBits); // -> 4 uppercase digits

} // namespace zk
