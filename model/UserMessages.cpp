#include "UserMessages.h"

#include <cctype>

namespace zk {

std::string errorBoxText(const std::string& text)
{
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        return text + ".";
    return text;
}

std::string applicationTitle(const std::string& programPath)
{
    std::string name = programPath.substr(programPath.find_last_of('/') + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    for (std::size_t i = 1; i < name.size(); ++i)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

} // namespace zk
