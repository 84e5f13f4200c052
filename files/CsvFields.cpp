#include "CsvFields.h"

#include "Lists.h"

#include <algorithm>

namespace zk::csv {

namespace {

constexpr std::size_t kDecimals = 5;

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<long long> parseFixedPoint(std::string_view text)
{
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    // Four whole digits are more than any frequency, tone or wattage needs.
    if ((whole.empty() && fraction.empty()) || whole.size() > 4 || !allDigits(whole) || !allDigits(fraction))
        return std::nullopt;
    if (fraction.size() > kDecimals && fraction.find_first_not_of('0', kDecimals) != std::string_view::npos)
        return std::nullopt;
    long long value = 0;
    for (const char c : whole)
        value = value * 10 + (c - '0');
    for (std::size_t i = 0; i < kDecimals; ++i)
        value = value * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    return value;
}

std::string fixedPointText(long long value, std::size_t wholeDigits, std::size_t decimals)
{
    std::string digits = std::to_string(value);
    if (digits.size() < kDecimals + wholeDigits)
        digits = std::string(kDecimals + wholeDigits - digits.size(), '0') + digits;
    std::string fraction = digits.substr(digits.size() - kDecimals);
    fraction.resize(decimals, '0');
    return digits.substr(0, digits.size() - kDecimals) + "." + fraction;
}

std::string megahertzText(long long value)
{
    std::string fraction = std::to_string(value % kFixedPointOne);
    fraction = std::string(kDecimals - fraction.size(), '0') + fraction;
    fraction.erase(fraction.find_last_not_of('0') + 1);
    return std::to_string(value / kFixedPointOne) + (fraction.empty() ? "" : "." + fraction);
}

std::string toneCell(const ToneSide& side)
{
    switch (side.kind) {
    case ToneSide::Ctcss:
        return side.value + "HZ";
    case ToneSide::Dcs:
        return "D" + side.value + (side.polarity == 'R' ? "I" : "N");
    case ToneSide::None:
        break;
    }
    return "OFF";
}

std::optional<ToneSide> toneSideOfCell(const std::string& cell)
{
    // "0FF" with a digit zero is how the editor fills a new channel.
    if (cell.empty() || cell == "OFF" || cell == "0FF")
        return ToneSide{};
    const auto& list = toneList();
    if (std::find(list.begin(), list.end(), cell) == list.end())
        return std::nullopt;
    if (cell.front() == 'D')
        return ToneSide{ToneSide::Dcs, cell.substr(1, 3), cell.back() == 'I' ? 'R' : 'N'};
    return ToneSide{ToneSide::Ctcss, cell.substr(0, cell.size() - 2), 'N'};
}

} // namespace zk::csv
