#pragma once
// Text without the characters around it. What counts as "around" is the
// caller's choice, because a user's value and a line of a system file differ.
#include <string>
#include <string_view>

namespace zk {

// Spaces and tabs: what a typed, pasted or imported value may carry around
// it. A line end is part of such a value and stays.
inline constexpr std::string_view kBlanks = " \t";
// Blanks and line ends: what a one-line file of the system (sysfs, /proc)
// carries around its text.
inline constexpr std::string_view kBlanksAndLineEnds = " \t\r\n";

// text without leading and trailing characters of `around`.
std::string trimmed(std::string_view text, std::string_view around);

} // namespace zk
