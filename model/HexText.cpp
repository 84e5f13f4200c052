#include "HexText.h"

#include <stdexcept>

namespace zk {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

void appendHexText(std::string& text, const std::uint8_t* bytes, std::size_t count)
{
    text.reserve(text.size() + 2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        text.push_back(kDigits[bytes[i] >> 4]);
        text.push_back(kDigits[bytes[i] & 0x0F]);
    }
}

std::string toHexText(const std::uint8_t* bytes, std::size_t count)
{
    std::string text;
    appendHexText(text, bytes, count);
    return text;
}

std::string toHexText(const std::vector<std::uint8_t>& bytes)
{
    return toHexText(bytes.data(), bytes.size());
}

bool isHexText(std::string_view text)
{
    if (text.size() % 2 != 0)
        return false;
    for (char c : text)
        if (hexValue(c) < 0)
            return false;
    return true;
}

std::vector<std::uint8_t> fromHexText(std::string_view text)
{
    if (!isHexText(text))
        throw std::invalid_argument("not hex text");
    std::vector<std::uint8_t> bytes(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(hexValue(text[2 * i]) * 16 + hexValue(text[2 * i + 1]));
    return bytes;
}

} // namespace zk
