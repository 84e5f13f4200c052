#include "Trimmed.h"

namespace zk {

std::string trimmed(std::string_view text, std::string_view around)
{
    const auto first = text.find_first_not_of(around);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(around) - first + 1));
}

} // namespace zk
