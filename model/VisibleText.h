#pragma once
// Text from a file made safe to print: a cell could otherwise retitle or
// garble the user's terminal with escape sequences.
#include <string>
#include <string_view>

namespace zk {

// Control characters become visible escapes ("\t", "\r", "\n", "\x1B",
// "\u009B" for the eight-bit ones), and so do bytes that are not UTF-8;
// everything else, other languages' letters included, stays as it is.
std::string visibleText(std::string_view text);

} // namespace zk
