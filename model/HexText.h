#pragma once
// Hex text: each byte as two uppercase hexadecimal digits, first byte first.
// Commands are built and replies collected in this form.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

std::string toHexText(const std::uint8_t* bytes, std::size_t count);
std::string toHexText(const std::vector<std::uint8_t>& bytes);
// Appends the hex text of the bytes to text (two digits per byte).
void appendHexText(std::string& text, const std::uint8_t* bytes, std::size_t count);

bool isHexText(std::string_view text); // even length, digits 0-9 A-F a-f only
// Pair i becomes byte i. Throws std::invalid_argument when !isHexText.
std::vector<std::uint8_t> fromHexText(std::string_view text);

} // namespace zk
