#pragma once
// What the CSV import and export share: column names, frequencies in units
// of 10 Hz, and one side (transmit or receive) of a channel's tones.
#include <optional>
#include <string>
#include <string_view>

namespace zk::csv {

inline constexpr const char* kLocation = "Location";
inline constexpr const char* kName = "Name";
inline constexpr const char* kFrequency = "Frequency";
inline constexpr const char* kDuplex = "Duplex";
inline constexpr const char* kOffset = "Offset";
inline constexpr const char* kTone = "Tone";
inline constexpr const char* kRToneFreq = "rToneFreq";
inline constexpr const char* kCToneFreq = "cToneFreq";
inline constexpr const char* kDtcsCode = "DtcsCode";
inline constexpr const char* kDtcsPolarity = "DtcsPolarity";
inline constexpr const char* kRxDtcsCode = "RxDtcsCode";
inline constexpr const char* kCrossMode = "CrossMode";
inline constexpr const char* kMode = "Mode";
inline constexpr const char* kTStep = "TStep";
inline constexpr const char* kPower = "Power";

// Decimal numbers are counted in hundred-thousandths: for MHz that is 10 Hz,
// the finest step the radio stores.
inline constexpr long long kFixedPointOne = 100000;

// "146.52", "146.520000", "0.6", "88.5": the number, or nothing when the
// text is not digits with an optional point or has more than five decimals
// that are not 0.
std::optional<long long> parseFixedPoint(std::string_view text);
// At least wholeDigits digits (zero-padded), a point and the decimals:
// (14652000, 3, 5) is "146.52000", the frequency cell's form.
std::string fixedPointText(long long value, std::size_t wholeDigits, std::size_t decimals);
// As a user types it: no leading zeros, no trailing ones, no point for a
// whole number. 5329000 is "53.29", 44600000 is "446".
std::string megahertzText(long long value);

// One direction's tone: none, a CTCSS tone in Hz ("88.5"), or a DCS code
// ("023") with its polarity 'N' (normal) or 'R' (reversed).
struct ToneSide {
    enum Kind { None, Ctcss, Dcs } kind = None;
    std::string value;
    char polarity = 'N';
};

// The tone cell for a side ("OFF", "88.5HZ", "D023I").
std::string toneCell(const ToneSide& side);
// The side a tone cell holds; nothing for a text outside the editor's list.
std::optional<ToneSide> toneSideOfCell(const std::string& cell);

} // namespace zk::csv
